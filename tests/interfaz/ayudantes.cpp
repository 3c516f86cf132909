#include "ayudantes.h"

#include "archivos/archivo.h"
#include "entrada/numeros.h"
#include "interfaz/dialogos/dialogos.h"
#include "interfaz/formularios/campo.h"
#include "interfaz/formularios/formulario.h"
#include "interfaz/soporte/rutas.h"
#include "interfaz/soporte/twips.h"
#include "interfaz/ventana/areasecciones.h"
#include "interfaz/ventana/ventanaprincipal.h"

#include <QDir>
#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QtTest>

namespace pelmora::prueba {

CapturaMensajes::CapturaMensajes()
    : ambito_(interceptorMensajes, [this](const QString &t, const QString &ti) { append({t, ti}); })
{
}

QStringList CapturaMensajes::textos() const
{
    QStringList r;
    for (const Mensaje &m : *this)
        r << m.texto;
    return r;
}

QStringList CapturaMensajes::titulos() const
{
    QStringList r;
    for (const Mensaje &m : *this)
        r << m.titulo;
    return r;
}

RespuestasPregunta::RespuestasPregunta()
    : ambito_(interceptorPregunta, [this](const QString &titulo) {
          preguntas << titulo;
          return respuestas.isEmpty() ? PreguntaGrabar::Cancelar : respuestas.takeFirst();
      })
{
}

bool EntornoVentana::prepararCarpeta()
{
    fijarDatosPrograma();
    fijarPuntosPorPulgada(96);
    // The settings (the recent files) go to the scratch folder, never the user's.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, carpeta_.filePath(QStringLiteral("ajustes")));
    return carpeta_.isValid() && copiarReferencia(carpeta_.path());
}

void EntornoVentana::reiniciar()
{
    fijarPuntosPorPulgada(96);
    fijarCarpetaPrograma(carpeta_.path());
    mensajes_.clear();
    pregunta_.preguntas.clear();
    pregunta_.respuestas.clear();
}

void EntornoVentana::terminar() { fijarCarpetaPrograma(QString()); }

void teclear(QLineEdit *caja, const QString &texto, Qt::Key fin)
{
    if (!caja->hasFocus())
        caja->setFocus(Qt::MouseFocusReason);
    caja->selectAll();
    QTest::keyClicks(caja, texto);
    if (fin != Qt::Key_unknown)
        QTest::keyClick(caja, fin);
}

CampoTexto *caja(const QWidget *w, Seccion s, int i, Col c)
{
    return w ? w->findChild<CampoTexto *>(CampoTexto::nombreArray(c, s) + QStringLiteral("(%1)").arg(i)) : nullptr;
}

int formulariosConstruidos(const VentanaPrincipal &w)
{
    return static_cast<int>(w.area()->lienzo()->findChildren<FormularioBase *>(Qt::FindDirectChildrenOnly).size());
}

AccionArchivo accionSobre(Calculo &c, const QString &modo)
{
    if (modo == QLatin1String("abrir"))
        return [&c](const QString &ruta) { return AbrirArchivo(c, ruta); };
    return [&c](const QString &ruta) { return GrabarCalculo(c, ruta); };
}

DialogoTipoVehiculo *elector(VentanaPrincipal &w)
{
    return w.findChild<DialogoTipoVehiculo *>(QStringLiteral("frmTipoVeh"));
}

bool abrirCategoria(VentanaPrincipal &w, int k)
{
    w.nuevoCalculo();
    DialogoTipoVehiculo *d = elector(w);
    if (!d || !d->isVisible())
        return false;
    auto *boton = d->findChild<QPushButton *>(QStringLiteral("cmbVehiculos(%1)").arg(k));
    if (!boton)
        return false;
    boton->click();
    return w.calculoAbierto();
}

void fijarEspanol()
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    fijarSeparadores(QLocale());
}

bool mostrarActiva(QWidget &w)
{
    w.show();
    w.activateWindow();
    return QTest::qWaitForWindowActive(&w);
}

QAction *accion(const VentanaPrincipal &w, const char *nombre) { return w.accion(QLatin1String(nombre)); }

QString referencia(int k)
{
    return QStringLiteral(PELMORA_BIN "/Vededizaviro/") + QString::fromUtf8(kCategorias[k].archivo);
}

bool abrirReferencia(Calculo &c, int k) { return AbrirArchivo(c, referencia(k)) == ErrorArchivo::Ninguno; }

bool copiarCalculo(int k, const QString &destino)
{
    QFile::remove(destino);
    return QFile::copy(referencia(k), destino);
}

bool copiarReferencia(const QString &carpeta, const QString &omitir)
{
    const QString destino = carpeta + QStringLiteral("/Vededizaviro/");
    if (!QDir().mkpath(destino))
        return false;
    for (const CategoriaAutocar &c : kCategorias) {
        const QString n = QString::fromUtf8(c.archivo);
        if (n == omitir)
            continue;
        QFile::remove(destino + n);
        if (!QFile::copy(QStringLiteral(PELMORA_BIN "/Vededizaviro/") + n, destino + n))
            return false;
    }
    return true;
}

} // namespace pelmora::prueba
