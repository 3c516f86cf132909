#include "interfaz/impresion/impresion.h"

#include "interfaz/dialogos/comunes.h"
#include "interfaz/dialogos/mensaje.h"
#include "interfaz/impresion/exportacion.h"
#include "interfaz/impresion/reenvio.h"
#include "interfaz/soporte/marcos.h"
#include "interfaz/soporte/ocupado.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QImage>
#include <QPageLayout>
#include <QPageRanges>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProxyStyle>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>
#include <algorithm>
#include <memory>

namespace pelmora {

namespace {

const QString kError = QStringLiteral("Error");

QString conExtensionPdf(const QString &ruta) { return conExtension(ruta, QStringLiteral("pdf")); }

// The PDF is laid out like a page of the printer: A4 upright, margins of
// 10 points.
void prepararPdf(QPdfWriter &p, const QString &documento)
{
    p.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                QPageLayout::Point));
    p.setTitle(documento);
    p.setCreator(QStringLiteral("Pelmora"));
}

// The save dialog of "Exportar a PDF...". Empty when cancelled.
QString pedirRutaPdf(QWidget *padre, const QString &propuesta)
{
    return pedirRutaExportacion(padre,
                                {QStringLiteral("Exportar a PDF"), QStringLiteral("dlgExportarPdf"),
                                 QStringLiteral("Documentos PDF (*.pdf)"), QStringLiteral("pdf")},
                                propuesta);
}

// Fusion draws the frame of a group box from a small translucent picture,
// which would reach the page as dozens of bitmaps per form. On paper the
// same frame is drawn as what it shows: a faint rounded outline over an
// even fainter tint. Everything else is the application's own style.
class EstiloPapel : public QProxyStyle {
public:
    explicit EstiloPapel(QStyle *base) : QProxyStyle(base) {}

    void drawPrimitive(PrimitiveElement e, const QStyleOption *o, QPainter *p, const QWidget *w) const override
    {
        if (e != PE_FrameGroupBox) {
            QProxyStyle::drawPrimitive(e, o, p, w);
            return;
        }
        QRectF marco = o->rect;
        marco.setTop(marco.top() + arribaDelMarco(baseStyle(), o, w));
        // The picture leaves its first row and column empty; its outline
        // runs along the centres of the next pixels, corners of 2 pixels,
        // with a shade just inside it.
        marco.adjust(1.5, 1.5, -0.5, -0.5);
        if (marco.width() <= 2 || marco.height() <= 2)
            return;
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        p->setPen(QPen(QColor(0x75, 0x75, 0x75, 0x32), 1));
        p->setBrush(QColor(0, 0, 0, 3));
        p->drawRoundedRect(marco, 2, 2);
        p->setPen(QPen(QColor(0, 0, 0, 4), 1));
        p->setBrush(Qt::NoBrush);
        p->drawRect(marco.adjusted(1, 1, -1, -1));
        p->restore();
    }
};

// Lends the paper style to the group boxes of a widget that use the
// application's Fusion style (or the forms' frames on it), for as long as it
// lives.
class PrestamoEstilo {
public:
    explicit PrestamoEstilo(QWidget *w)
    {
        QStyle *app = QApplication::style();
        if (!app || app->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
            return;
        QList<QGroupBox *> cajas = w->findChildren<QGroupBox *>();
        if (auto *g = qobject_cast<QGroupBox *>(w))
            cajas.prepend(g);
        for (QGroupBox *g : std::as_const(cajas)) {
            const bool propio = g->testAttribute(Qt::WA_SetStyle);
            if (propio ? g->style() != estiloMarcos() : g->style() != app)
                continue;
            if (!estilo_)
                estilo_ = std::make_unique<EstiloPapel>(QStyleFactory::create(app->name()));
            cajas_.push_back({g, propio ? g->style() : nullptr});
            g->setStyle(estilo_.get());
        }
    }
    ~PrestamoEstilo()
    {
        for (const auto &[g, antes] : cajas_)
            if (g)
                g->setStyle(antes);
    }
    PrestamoEstilo(const PrestamoEstilo &) = delete;
    PrestamoEstilo &operator=(const PrestamoEstilo &) = delete;

private:
    std::unique_ptr<EstiloPapel> estilo_;
    std::vector<std::pair<QPointer<QGroupBox>, QStyle *>> cajas_;
};

} // namespace

void pintarFormulario(QPainter &p, const QRectF &pagina, QWidget *formulario)
{
    if (!formulario)
        return;
    formulario->ensurePolished();
    const QSizeF t = formulario->size();
    if (t.isEmpty() || pagina.isEmpty())
        return;
    const double escala = std::min(pagina.width() / t.width(), pagina.height() / t.height());
    // Rendered straight onto a printer, a widget goes through a pixmap of
    // the screen's resolution. Painted onto a device that passes each
    // command on, its text and lines reach the page as they are: text and
    // vectors.
    p.save();
    p.translate(pagina.left() + (pagina.width() - t.width() * escala) / 2, pagina.top());
    p.scale(escala, escala);
    {
        const PrestamoEstilo papel(formulario);
        Reenvio reenvio(p, formulario->rect());
        QPainter pintor(&reenvio);
        formulario->render(&pintor, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
    p.restore();
}

bool pintarFormularios(QPagedPaintDevice &dispositivo, const QList<QWidget *> &formularios)
{
    QPainter p;
    if (!p.begin(&dispositivo))
        return false;
    // The painter starts on the printable area of the first page.
    const QRectF pagina(0, 0, dispositivo.width(), dispositivo.height());
    // The pages the user chose in the print dialog, all when none.
    const QPageRanges elegidas = dispositivo.pageRanges();
    int numero = 0;
    bool primera = true;
    for (QWidget *w : formularios) {
        if (!w)
            continue;
        ++numero;
        if (!elegidas.isEmpty() && !elegidas.contains(numero))
            continue;
        if (!primera && !dispositivo.newPage()) {
            p.end();
            return false;
        }
        primera = false;
        pintarFormulario(p, pagina, w);
    }
    return p.end();
}

ErrorArchivo grabarPdf(const QString &ruta, const QList<QWidget *> &formularios, const QString &documento)
{
    // The whole document is made in memory first, then written whole or not
    // at all: a failed write leaves an older file as it was.
    const CursorOcupado ocupado;
    QByteArray bytes;
    {
        QBuffer memoria(&bytes);
        if (!memoria.open(QIODevice::WriteOnly))
            return ErrorArchivo::AccesoDenegado;
        QPdfWriter pdf(&memoria);
        prepararPdf(pdf, documento);
        if (!pintarFormularios(pdf, formularios) || bytes.isEmpty())
            return ErrorArchivo::AccesoDenegado;
    }
    if (!QFileInfo(ruta).absoluteDir().exists())
        return ErrorArchivo::CarpetaNoExiste;
    return grabarBytes(ruta, bytes);
}

bool imprimirFormularios(const QList<QWidget *> &formularios, const QString &documento)
{
    if (interceptorImpresion) {
        if (grabarPdf(interceptorImpresion(), formularios, documento) == ErrorArchivo::Ninguno)
            return true;
        MostrarMensaje(QStringLiteral("No se ha podido imprimir."), kError, formularios.value(0));
        return false;
    }
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        // Without a default, the one printer there is.
        const QList<QPrinterInfo> todas = QPrinterInfo::availablePrinters();
        if (!todas.isEmpty())
            info = todas.constFirst();
    }
    if (info.isNull()) {
        MostrarMensaje(QStringLiteral("No hay ninguna impresora instalada."), kError, formularios.value(0));
        return false;
    }
    QPrinter impresora(info, QPrinter::ScreenResolution);
    impresora.setDocName(documento);
    impresora.setCreator(QStringLiteral("Pelmora"));
    bool impreso = false;
    {
        const CursorOcupado ocupado;
        impreso = pintarFormularios(impresora, formularios) && impresora.printerState() != QPrinter::Error;
    }
    if (!impreso) {
        MostrarMensaje(QStringLiteral("No se ha podido imprimir en la impresora ") + info.printerName()
                           + QStringLiteral("."),
                       kError, formularios.value(0));
        return false;
    }
    return true;
}

bool exportarAPdf(QWidget *padre, const QList<QWidget *> &formularios, const QString &nombrePropuesto,
                 const QString &carpetaInicial)
{
    const QString carpeta = carpetaUltima(CarpetaUltima::Pdf, carpetaInicial);
    const QString propuesta = QDir(carpeta).filePath(nombrePropuesto);
    QString ruta;
    if (interceptorArchivoPdf)
        ruta = interceptorArchivoPdf(propuesta);
    else
        ruta = pedirRutaPdf(padre, propuesta);
    if (ruta.isEmpty())
        return false;
    ruta = conExtensionPdf(QDir::fromNativeSeparators(ruta));
    if (const ErrorArchivo e = grabarPdf(ruta, formularios, QFileInfo(ruta).completeBaseName());
        e != ErrorArchivo::Ninguno) {
        MostrarMensaje(QStringLiteral("No se ha podido grabar el archivo PDF:\r\n") + QDir::toNativeSeparators(ruta)
                           + QStringLiteral("\r\n\r\n") + mensajeErrorArchivo(e),
                       kError, padre);
        return false;
    }
    recordarCarpeta(CarpetaUltima::Pdf, ruta);
    return true;
}

bool mostrarVistaPreliminar(QWidget *padre, const QList<QWidget *> &formularios, const QString &documento)
{
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull() && !QPrinterInfo::availablePrinters().isEmpty())
        info = QPrinterInfo::availablePrinters().constFirst();
    QPrinter impresora(info, QPrinter::HighResolution);
    impresora.setDocName(documento);
    impresora.setCreator(QStringLiteral("Pelmora"));
    QPrintPreviewDialog vista(&impresora, padre);
    vista.setObjectName(QStringLiteral("dlgVistaPreliminar"));
    vista.setWindowTitle(QStringLiteral("Vista preliminar"));
    // As large as the program's window, so that a page can be read.
    if (padre && padre->window()->isVisible())
        vista.setGeometry(padre->window()->geometry());
    else
        vista.resize(900, 1000);
    // The forms are drawn for every preview and again for the printer the
    // user chose, with the pages and the page set-up chosen there.
    QObject::connect(&vista, &QPrintPreviewDialog::paintRequested, &vista,
                     [&formularios](QPrinter *p) { pintarFormularios(*p, formularios); });
    if (interceptorVistaPreliminar)
        interceptorVistaPreliminar(vista);
    else
        vista.exec();
    if (vista.result() != QDialog::Accepted)
        return false;
    if (impresora.printerState() == QPrinter::Error) {
        MostrarMensaje(QStringLiteral("No se ha podido imprimir en la impresora ") + impresora.printerName()
                           + QStringLiteral("."),
                       kError, padre);
        return false;
    }
    return true;
}

} // namespace pelmora
