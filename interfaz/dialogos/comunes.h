// The small dialogs every window shares: a yes-or-no question, Qt's own
// file dialog in Spanish, and the folder each kind of file was last chosen
// in during this run.
#pragma once

#include "interfaz/soporte/interceptor.h"

#include <QFileDialog>
#include <QString>
#include <QStringList>

class QMessageBox;
class QWidget;

class QDialog;
class QDialogButtonBox;

namespace pelmora {

// The row of a dialog's two buttons: aceptar (its caption) accepts the
// dialog, "Cancelar" rejects it.
QDialogButtonBox *botonesAceptarCancelar(QDialog *d, const QString &aceptar);

// A yes-or-no question owned by padre, "No" by default and on Escape;
// nombre is its objectName. True when "Sí" was pressed.
bool preguntarSiNo(QWidget *padre, const QString &titulo, const QString &texto, const QString &nombre);

// What a file dialog asks for.
struct PeticionArchivo {
    QString titulo;
    QString nombre;  // objectName
    QString filtro;  // "Cálculos (*.clc);;Todos los archivos (*)"
    QString aceptar; // caption of the accept button
    QFileDialog::AcceptMode modo = QFileDialog::AcceptOpen;
    QFileDialog::FileMode archivos = QFileDialog::ExistingFile;
    QString sufijo; // saving: the extension added when the name has none
};

// Qt's file dialog (the same on every desktop) in Spanish, owned by padre
// and starting on inicio (a folder or a proposed path). The files chosen;
// none when cancelled. A save never asks about an existing file itself.
QStringList elegirArchivos(QWidget *padre, const PeticionArchivo &p, const QString &inicio);

// The kinds of file whose folder is remembered between dialogs.
enum class CarpetaUltima { Importacion, Csv, Pdf, Comparacion };
// The folder the last file of that kind was chosen in, or porDefecto when
// none was yet or that folder is gone.
QString carpetaUltima(CarpetaUltima k, const QString &porDefecto);
// A file of that kind was chosen: its folder is the one to start on next.
void recordarCarpeta(CarpetaUltima k, const QString &rutaArchivo);

// While set, a question is handed to this function instead of being shown;
// it answers by pressing one of its buttons (or none: "No").
inline Interceptor<void(QMessageBox &pregunta)> interceptorPreguntas;

} // namespace pelmora
