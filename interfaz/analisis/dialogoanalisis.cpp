#include "interfaz/analisis/dialogoanalisis.h"

#include "interfaz/dialogos/dialogoarchivo.h"
#include "interfaz/impresion/exportacion.h"
#include "interfaz/impresion/impresion.h"
#include "interfaz/soporte/colores.h"
#include "interfaz/soporte/rutas.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>

namespace pelmora {

namespace {

// The pages live as long as one printing.
struct Paginas {
    QList<QWidget *> lista;
    ~Paginas() { qDeleteAll(lista); }
};

QString carpetaInicial() { return DialogoArchivo::carpetaInicial(carpetaPrograma()); }

} // namespace

DialogoAnalisis::DialogoAnalisis(const QString &nombre, const QString &titulo, QWidget *padre)
    : QDialog(padre, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                         Qt::WindowCloseButtonHint)
{
    setObjectName(nombre);
    setWindowTitle(titulo);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    // The charts are black on white: so is everything around them, on a
    // dark desktop as well.
    fijarPaletaPrograma(this);
}

QHBoxLayout *DialogoAnalisis::crearBotones()
{
    auto *fila = new QHBoxLayout;
    auto boton = [&](const QString &texto, const char *nombre, auto orden) {
        auto *b = new QPushButton(texto, this);
        b->setObjectName(QLatin1String(nombre));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, orden);
        fila->addWidget(b);
        return b;
    };
    salidas_ = {boton(QStringLiteral("&Imprimir"), "cmbImprimir", &DialogoAnalisis::imprimir),
                boton(QStringLiteral("&Vista preliminar..."), "cmbVistaPreliminar", &DialogoAnalisis::vistaPreliminar),
                boton(QStringLiteral("Exportar a &PDF..."), "cmbExportarPdf", &DialogoAnalisis::exportarPdf),
                boton(QStringLiteral("Exportar a C&SV..."), "cmbExportarCsv", &DialogoAnalisis::exportarCsv)};
    fila->addStretch(1);
    boton(QStringLiteral("Cerrar"), "cmbCerrar", [this] { close(); });
    return fila;
}

void DialogoAnalisis::dimensionar(int ancho, int alto)
{
    QScreen *s = parentWidget() && parentWidget()->screen() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QRect pantalla = s ? s->availableGeometry() : QRect(0, 0, ancho, alto);
    resize(std::min(ancho, pantalla.width() - 40), std::min(alto, pantalla.height() - 60));
}

void DialogoAnalisis::imprimir()
{
    const Paginas p{paginas()};
    imprimirFormularios(p.lista, documento());
}

void DialogoAnalisis::vistaPreliminar()
{
    const Paginas p{paginas()};
    mostrarVistaPreliminar(this, p.lista, documento());
}

void DialogoAnalisis::exportarPdf()
{
    const Paginas p{paginas()};
    exportarAPdf(this, p.lista, documento() + QStringLiteral(".pdf"), carpetaInicial());
}

void DialogoAnalisis::exportarCsv() { exportarACsv(this, csv(), documento() + QStringLiteral(".csv"), carpetaInicial()); }

} // namespace pelmora
