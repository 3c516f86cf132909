#include "interfaz/impresion.h"

#include "interfaz/mensaje.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QWidget>
#include <algorithm>

namespace pelmora {

namespace {

QString g_rutaPdf;         // printing goes to this file while set
RespuestaArchivoPdf g_respuestaPdf;
QString g_ultimaCarpetaPdf; // folder of the last PDF exported

const QString kError = QStringLiteral("Error");

QString conExtensionPdf(QString ruta)
{
    if (!ruta.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        ruta += QStringLiteral(".pdf");
    return ruta;
}

// The printers work at the screen's resolution: the forms are drawn at
// about their own size, text and lines stay vectors on the page, and the
// widgets paint many times faster than when scaled up to the device.
void prepararPdf(QPrinter &p, const QString &ruta, const QString &documento)
{
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(ruta);
    p.setPageSize(QPageSize(QPageSize::A4));
    p.setPageOrientation(QPageLayout::Portrait);
    p.setDocName(documento);
    p.setCreator(QStringLiteral("Pelmora"));
}

// The save dialog of "Exportar a PDF...". Empty when cancelled.
QString pedirRutaPdf(QWidget *padre, QString propuesta)
{
    for (;;) {
        QFileDialog d(padre, QStringLiteral("Exportar a PDF"), propuesta,
                      QStringLiteral("Documentos PDF (*.pdf)"));
        d.setObjectName(QStringLiteral("dlgExportarPdf"));
        d.setAcceptMode(QFileDialog::AcceptSave);
        d.setFileMode(QFileDialog::AnyFile);
        d.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
        d.setDefaultSuffix(QStringLiteral("pdf"));
        d.setLabelText(QFileDialog::LookIn, QStringLiteral("Buscar en:"));
        d.setLabelText(QFileDialog::FileName, QStringLiteral("Nombre del archivo:"));
        d.setLabelText(QFileDialog::FileType, QStringLiteral("Tipo:"));
        d.setLabelText(QFileDialog::Accept, QStringLiteral("Guardar"));
        d.setLabelText(QFileDialog::Reject, QStringLiteral("Cancelar"));
        if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
            return QString();
        const QString ruta = conExtensionPdf(d.selectedFiles().constFirst());
        if (!QFileInfo::exists(ruta))
            return ruta;
        // An existing file is replaced only when the user says so.
        QMessageBox q(QMessageBox::Question, QStringLiteral("Exportar a PDF"),
                      QStringLiteral("El archivo ") + QDir::toNativeSeparators(ruta)
                          + QStringLiteral(" ya existe.\n¿Quieres reemplazarlo?"),
                      QMessageBox::NoButton, padre);
        QPushButton *si = q.addButton(QStringLiteral("Sí"), QMessageBox::YesRole);
        QPushButton *no = q.addButton(QStringLiteral("No"), QMessageBox::NoRole);
        q.setDefaultButton(no);
        q.setEscapeButton(no);
        q.exec();
        if (q.clickedButton() == si)
            return ruta;
        propuesta = ruta;
    }
}

} // namespace

void PintarFormulario(QPainter &p, const QRectF &pagina, QWidget *formulario)
{
    if (!formulario)
        return;
    formulario->ensurePolished();
    const QSizeF t = formulario->size();
    if (t.isEmpty() || pagina.isEmpty())
        return;
    const double escala = std::min(pagina.width() / t.width(), pagina.height() / t.height());
    p.save();
    p.translate(pagina.left() + (pagina.width() - t.width() * escala) / 2, pagina.top());
    p.scale(escala, escala);
    formulario->render(&p, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    p.restore();
}

bool PintarFormularios(QPagedPaintDevice &dispositivo, const QList<QWidget *> &formularios)
{
    QPainter p;
    if (!p.begin(&dispositivo))
        return false;
    // The painter starts on the printable area of the first page.
    const QRectF pagina(0, 0, dispositivo.width(), dispositivo.height());
    bool primera = true;
    for (QWidget *w : formularios) {
        if (!w)
            continue;
        if (!primera && !dispositivo.newPage()) {
            p.end();
            return false;
        }
        primera = false;
        PintarFormulario(p, pagina, w);
    }
    return p.end();
}

bool GrabarPdf(const QString &ruta, const QList<QWidget *> &formularios, const QString &documento)
{
    QPrinter impresora(QPrinter::ScreenResolution);
    prepararPdf(impresora, ruta, documento);
    if (!PintarFormularios(impresora, formularios))
        return false;
    return QFileInfo(ruta).isFile() && QFileInfo(ruta).size() > 0;
}

bool ImprimirFormularios(const QList<QWidget *> &formularios, const QString &documento)
{
    if (!g_rutaPdf.isEmpty()) {
        if (GrabarPdf(g_rutaPdf, formularios, documento))
            return true;
        MostrarMensaje(QStringLiteral("No se ha podido imprimir."), kError);
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
        MostrarMensaje(QStringLiteral("No hay ninguna impresora instalada."), kError);
        return false;
    }
    QPrinter impresora(info, QPrinter::ScreenResolution);
    impresora.setDocName(documento);
    impresora.setCreator(QStringLiteral("Pelmora"));
    if (!PintarFormularios(impresora, formularios) || impresora.printerState() == QPrinter::Error) {
        MostrarMensaje(QStringLiteral("No se ha podido imprimir en la impresora ") + info.printerName()
                           + QStringLiteral("."),
                       kError);
        return false;
    }
    return true;
}

bool ExportarPdf(QWidget *padre, const QList<QWidget *> &formularios, const QString &nombrePropuesto,
                 const QString &carpetaInicial)
{
    const QString carpeta = g_ultimaCarpetaPdf.isEmpty() ? carpetaInicial : g_ultimaCarpetaPdf;
    const QString propuesta = QDir(carpeta).filePath(nombrePropuesto);
    QString ruta;
    if (g_respuestaPdf) {
        const RespuestaArchivoPdf f = g_respuestaPdf;
        ruta = f(propuesta);
    } else {
        ruta = pedirRutaPdf(padre, propuesta);
    }
    if (ruta.isEmpty())
        return false;
    ruta = conExtensionPdf(QDir::fromNativeSeparators(ruta));
    if (!GrabarPdf(ruta, formularios, QFileInfo(ruta).completeBaseName())) {
        MostrarMensaje(QStringLiteral("No se ha podido grabar el archivo PDF:\r\n") + QDir::toNativeSeparators(ruta),
                       kError);
        return false;
    }
    g_ultimaCarpetaPdf = QFileInfo(ruta).absolutePath();
    return true;
}

QString interceptarImpresion(const QString &rutaPdf)
{
    QString antes = g_rutaPdf;
    g_rutaPdf = rutaPdf;
    return antes;
}

RespuestaArchivoPdf interceptarArchivoPdf(RespuestaArchivoPdf f)
{
    RespuestaArchivoPdf antes = std::move(g_respuestaPdf);
    g_respuestaPdf = std::move(f);
    return antes;
}

} // namespace pelmora
