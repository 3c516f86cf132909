// The reference data of the four coach categories.
//
// Each category has one reference file, under the same name in two folders:
// the installed one (only ever read) and the user's own, the application
// data folder followed by "/Vededizaviro". A file in the user's folder takes
// the place of the installed one, category by category. Importing writes a
// file into the user's folder, whole or not at all; resetting removes it.
#pragma once

#include "archivos/archivo.h"

#include <QByteArray>
#include <QString>

namespace pelmora {

struct CategoriaAutocar {
    const char *plazas;      // the seat range as the category chooser shows it (UTF-8)
    const char *corta;       // the short form of the command line ("10-25", "56+")
    const char *descripcion; // "de 10 a 25 plazas" (UTF-8), for messages
    const char *archivo;     // the reference file's name in either folder
    int desde, hasta;        // seats, driver included; hasta 0: no upper bound
    int numero;              // 1 to 4, from the smallest coaches up
};

// In the chooser's order, top to bottom: the largest coaches first.
constexpr int kNumCategorias = 4;
extern const CategoriaAutocar kCategorias[kNumCategorias];

// The category whose seat range holds a number of seats (rounded; fewer
// than 10 count as the smallest category). -1 for no seats at all.
int categoriaPorPlazas(double plazas);
// True when the seats (rounded) lie in the category's range.
bool plazasEnCategoria(int k, double plazas);
// A category as typed: its number (1 to 4), its short form or the chooser's
// label, blanks, case and accents aside ("10 - 25", "más de 55", "56+").
// -1 when none.
int categoriaDeTexto(const QString &texto);

// The user's reference folder (empty when the system names no data folder).
QString carpetaReferenciaUsuario();
// The user's file of category k, present or not (empty as above).
QString rutaReferenciaUsuario(int k);
// The installed file of category k inside the installed reference folder.
QString rutaReferenciaInstalada(int k, const QString &carpetaInstalada);
// True when the user has a file of their own for category k: not when it
// is the installed file itself (the user's folder, or the file, a link to
// the installed one), where carpetaInstalada is given.
bool hayReferenciaPropia(int k, const QString &carpetaInstalada = QString());
// The file a new calculation of category k is read from: the user's own
// when there is one, otherwise the installed one (so a missing file or
// folder is reported for the installed folder, the last one looked in).
QString rutaReferenciaVigente(int k, const QString &carpetaInstalada);

// The columns of the reference file an import writes, read from a file with
// the program's own reader: from a reference file (.obs) both columns as
// read; from a calculation (any other name) its user column as both
// columns, its date included. On failure the columns are left untouched.
ErrorArchivo leerReferencia(const QString &ruta, Columna &s, Columna &o);
// The bytes of that file (184 lines, as the program writes a calculation).
QByteArray bytesReferencia(const Columna &s, const Columna &o);

// Writes the bytes of a reference file into the user's file of category k,
// whole or not at all (the folder is created when missing). Bytes that do
// not read as a calculation file are refused (MalEstado) and nothing is
// written. A link in the user's folder is replaced, never written through;
// a user's folder that is the installed one is refused (AccesoDenegado).
ErrorArchivo importarReferencia(int k, const QByteArray &bytes, const QString &carpetaInstalada);

// Removes the user's file of category k, or of every category when k is -1:
// the installed figures apply again. A category without a file of its own
// is no failure. The installed folder is never touched.
ErrorArchivo restablecerReferencia(int k, const QString &carpetaInstalada);

} // namespace pelmora
