// Printing of the section forms: each form as it looks on screen, one form
// per page, scaled to the page with its shape kept.
#pragma once

#include "archivos/archivo.h"
#include "interfaz/soporte/interceptor.h"

#include <QList>
#include <QString>

class QPagedPaintDevice;
class QPainter;
class QPrintPreviewDialog;
class QRectF;
class QWidget;

namespace pelmora {

// Paints one widget (shown or not) as it looks on screen into a page
// rectangle: as large as fits with its shape kept, centred across the top.
void pintarFormulario(QPainter &p, const QRectF &pagina, QWidget *formulario);

// Paints the widgets on a paged device (a printer, a PDF file), one per
// page, in order; only the pages of the device's page ranges when it has
// any. False when nothing could be painted on the device.
bool pintarFormularios(QPagedPaintDevice &dispositivo, const QList<QWidget *> &formularios);

// Prints the widgets as one document on the default printer. Without a
// printer, or when the job fails, tells the user and returns false.
bool imprimirFormularios(const QList<QWidget *> &formularios, const QString &documento);

// Writes the widgets to a PDF file, one per page, whole or not at all (an
// older file stays as it was when the write fails). Nothing is reported here.
ErrorArchivo grabarPdf(const QString &ruta, const QList<QWidget *> &formularios, const QString &documento);

// "Exportar a PDF...": asks where (save dialog, owned by padre, starting
// on the folder used last, or on carpetaInicial the first time), adds
// ".pdf" when missing and writes the file. Failures are reported under
// "Error". True when a file was written.
bool exportarAPdf(QWidget *padre, const QList<QWidget *> &formularios, const QString &nombrePropuesto,
                 const QString &carpetaInicial);

// "Vista preliminar...": Qt's print preview of the widgets, one per page
// (dialog owned by padre), from which the user picks a printer, the pages
// and the page set-up, and prints. True when the user printed.
bool mostrarVistaPreliminar(QWidget *padre, const QList<QWidget *> &formularios, const QString &documento);

// While set, the preview dialog is handed to this function instead of
// being run (the dialog's result says whether it printed).
inline Interceptor<void(QPrintPreviewDialog &)> interceptorVistaPreliminar;

// While set, printing writes the PDF file this function names instead of
// using the printer.
inline Interceptor<QString()> interceptorImpresion;

// While set, "Exportar a PDF..." asks this function instead of showing the
// save dialog: it receives the proposed path and returns the chosen one
// (empty to cancel).
inline Interceptor<QString(const QString &propuesta)> interceptorArchivoPdf;

} // namespace pelmora
