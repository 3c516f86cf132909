// The firm's data: its dialog and where it is kept.
#include "interfaz/presupuestos/dialogospresupuesto.h"
#include "interfaz/presupuestos/presupuestos.h"

#include "interfaz/dialogos/comunes.h"
#include "interfaz/dialogos/mensaje.h"
#include "interfaz/ventana/ventanaprincipal.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>

namespace pelmora {

namespace {

constexpr qint64 kLogoMaximo = 2 * 1024 * 1024;

QSettings ajustes() { return QSettings(QStringLiteral("Pelmora"), QStringLiteral("Pelmora")); }

} // namespace

Empresa leerEmpresa()
{
    const QSettings a = ajustes();
    auto t = [&](const char *clave) { return a.value(QLatin1String("Empresa/") + QLatin1String(clave)).toString(); };
    return {t("Nombre"), t("Nif"), t("Direccion"), t("Telefono"), t("Correo"),
            a.value(QStringLiteral("Empresa/Logo")).toByteArray()};
}

void guardarEmpresa(const Empresa &e)
{
    QSettings a = ajustes();
    a.setValue(QStringLiteral("Empresa/Nombre"), e.nombre);
    a.setValue(QStringLiteral("Empresa/Nif"), e.nif);
    a.setValue(QStringLiteral("Empresa/Direccion"), e.direccion);
    a.setValue(QStringLiteral("Empresa/Telefono"), e.telefono);
    a.setValue(QStringLiteral("Empresa/Correo"), e.correo);
    a.setValue(QStringLiteral("Empresa/Logo"), e.logo);
}

QString ultimasCondiciones() { return ajustes().value(QStringLiteral("Presupuestos/Condiciones")).toString(); }

void guardarCondiciones(const QString &texto)
{
    QSettings a = ajustes();
    a.setValue(QStringLiteral("Presupuestos/Condiciones"), texto);
}

DialogoEmpresa::DialogoEmpresa(QWidget *parent) : QDialog(parent), empresa_(leerEmpresa())
{
    setObjectName(QStringLiteral("dlgEmpresa"));
    setWindowTitle(QStringLiteral("Datos de la empresa"));
    auto *form = new QFormLayout(this);
    auto caja = [&](const char *nombre, const QString &texto, const char *rotulo) {
        auto *e = new QLineEdit(texto, this);
        e->setObjectName(QLatin1String(nombre));
        form->addRow(QString::fromUtf8(rotulo), e);
        return e;
    };
    nombre_ = caja("txtEmpresaNombre", empresa_.nombre, "Nombre:");
    nif_ = caja("txtEmpresaNif", empresa_.nif, "NIF:");
    direccion_ = caja("txtEmpresaDireccion", empresa_.direccion, "Dirección:");
    telefono_ = caja("txtEmpresaTelefono", empresa_.telefono, "Teléfono:");
    correo_ = caja("txtEmpresaCorreo", empresa_.correo, "Correo electrónico:");
    auto *filaLogo = new QHBoxLayout;
    logo_ = new QLabel(this);
    logo_->setObjectName(QStringLiteral("lblLogo"));
    auto *elegir = new QPushButton(QStringLiteral("Elegir..."), this);
    elegir->setObjectName(QStringLiteral("cmdElegirLogo"));
    auto *quitar = new QPushButton(QStringLiteral("Quitar"), this);
    quitar->setObjectName(QStringLiteral("cmdQuitarLogo"));
    filaLogo->addWidget(logo_, 1);
    filaLogo->addWidget(elegir);
    filaLogo->addWidget(quitar);
    form->addRow(QStringLiteral("Logotipo (PNG o SVG):"), filaLogo);
    mostrarLogo();
    connect(elegir, &QPushButton::clicked, this, [this] {
        // The user's pictures folder, or else home.
        QString carpeta = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        if (!QFileInfo(carpeta).isDir())
            carpeta = QDir::homePath();
        const QStringList rutas = elegirArchivos(this,
                                                 {QStringLiteral("Logotipo"), QStringLiteral("dlgLogo"),
                                                  QStringLiteral("Imágenes PNG o SVG (*.png *.svg)"),
                                                  QStringLiteral("Abrir"), QFileDialog::AcceptOpen,
                                                  QFileDialog::ExistingFile, QString()},
                                                 carpeta);
        if (!rutas.isEmpty())
            fijarLogo(rutas.constFirst());
    });
    connect(quitar, &QPushButton::clicked, this, [this] {
        empresa_.logo.clear();
        mostrarLogo();
    });
    auto *botones = botonesAceptarCancelar(this, QStringLiteral("Aceptar"));
    form->addRow(botones);
}

bool DialogoEmpresa::fijarLogo(const QString &ruta)
{
    const QString nombre = QDir::toNativeSeparators(ruta);
    QFile f(ruta);
    QByteArray b;
    QString motivo;
    if (!f.open(QIODevice::ReadOnly))
        motivo = QStringLiteral("No se puede leer el archivo %1.").arg(nombre);
    else if (f.size() > kLogoMaximo)
        motivo = QStringLiteral("El archivo %1 ocupa más de 2 MB: elija un logotipo más pequeño.").arg(nombre);
    else if (b = f.readAll(); !logoValido(b))
        motivo = QStringLiteral("El archivo %1 no es una imagen PNG o SVG válida.").arg(nombre);
    if (!motivo.isEmpty()) {
        MostrarMensaje(motivo, QStringLiteral("Error"), this);
        return false;
    }
    empresa_.logo = b;
    mostrarLogo();
    return true;
}

void DialogoEmpresa::mostrarLogo()
{
    // As it heads the quotes, on white paper.
    QPixmap vista(160, 48);
    vista.fill(Qt::white);
    QPainter g(&vista);
    const QSize s = dibujarLogo(g, empresa_.logo, vista.rect());
    g.end();
    if (s.isEmpty())
        logo_->setText(QStringLiteral("(sin logotipo)"));
    else
        logo_->setPixmap(vista.copy(QRect(QPoint(), s)));
}

void DialogoEmpresa::accept()
{
    if (!nif_->text().trimmed().isEmpty() && !nifValido(nif_->text())) {
        MostrarMensaje(QStringLiteral("El NIF de la empresa no es válido: compruebe sus cifras y su letra."),
                       QStringLiteral("Error"), this);
        nif_->setFocus();
        return;
    }
    empresa_.nombre = nombre_->text().trimmed();
    empresa_.nif = nifNormalizado(nif_->text());
    empresa_.direccion = direccion_->text().trimmed();
    empresa_.telefono = telefono_->text().trimmed();
    empresa_.correo = correo_->text().trimmed();
    guardarEmpresa(empresa_);
    QDialog::accept();
}

void abrirDatosEmpresa(VentanaPrincipal &w) { DialogoEmpresa(&w).exec(); }

} // namespace pelmora
