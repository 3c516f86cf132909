// Files written from the windows for other programs: where they go (the
// save dialog, or its hook) and the CSV files of the analyses and of a
// calculation, whose bytes come from the core.
#pragma once

#include "interfaz/soporte/interceptor.h"

#include <QByteArray>
#include <QString>

class QWidget;

namespace pelmora {

// A kind of file the windows export.
struct TipoExportacion {
    QString titulo;    // of the save dialog and its questions: "Exportar a PDF"
    QString dialogo;   // the save dialog's objectName
    QString filtro;    // "Documentos PDF (*.pdf)"
    QString extension; // without the dot: "pdf"
};

// The path with the extension added when it does not end with it.
QString conExtension(QString ruta, const QString &extension);

// The save dialog of an export, owned by padre, starting on propuesta (a
// path); an existing file is replaced only when the user says so. The path
// chosen, with the extension; empty when cancelled.
QString pedirRutaExportacion(QWidget *padre, const TipoExportacion &tipo, const QString &propuesta);

// "Exportar a CSV...": asks where (the save dialog or its hook, starting on
// the folder used last, or on carpetaInicial the first time), adds ".csv"
// when missing and writes the bytes whole or not at all. A failure is
// reported under "Error" and leaves an older file as it was. True when the
// file was written.
bool exportarACsv(QWidget *padre, const QByteArray &bytes, const QString &nombrePropuesto,
                  const QString &carpetaInicial);

// While set, "Exportar a CSV..." asks this function instead of showing the
// save dialog: it receives the proposed path and returns the chosen one
// (empty to cancel).
inline Interceptor<QString(const QString &propuesta)> interceptorArchivoCsv;

} // namespace pelmora
