// Where the program finds its files.
//
// The program's folder holds the reference data (`Vededizaviro/`) and the
// help files. It is the executable's own folder when that folder holds
// `Vededizaviro/` (the build tree, a portable copy); otherwise it is the
// installed data folder (`<prefix>/share/pelmora`, looked up first relative
// to the executable, then at the path the program was built for).
//
// Calculations go to `Cálculos`: the one beside the program when the
// program runs from its own folder and that folder is writable, otherwise
// `Cálculos` in the user's documents folder, created when first needed.
// The installed reference data files are only ever read; the user's own
// (archivos/referencia.h) take their place category by category.
#pragma once

#include <QString>

namespace pelmora {

// The program's folder, without a trailing separator.
QString carpetaPrograma();
// Replaces the program's folder (tests point it at a scratch copy);
// an empty text goes back to the choice described above.
void fijarCarpetaPrograma(const QString &carpeta);

// Folder of the reference data: "<program folder>/Vededizaviro".
QString carpetaReferencia();
// Path of a reference data file: "<program folder>/Vededizaviro/<archivo>".
QString rutaReferencia(const QString &archivo);

// The executable's folder, without a trailing separator.
QString carpetaEjecutable();
// Replaces the executable's folder (tests); empty goes back to the real one.
void fijarCarpetaEjecutable(const QString &carpeta);

// The installed data folder the program was built for (absolute, empty
// when the build names none).
QString carpetaDatosInstalados();

// True when the program's folder is the executable's own folder (or was set
// with fijarCarpetaPrograma): a build tree or a portable copy.
bool programaEnSuCarpeta();

// The user's documents folder (empty when the system names none).
QString carpetaDocumentos();
// Replaces the documents folder (tests); empty goes back to the system's.
void fijarCarpetaDocumentos(const QString &carpeta);

// The folder for calculation files, chosen as described above and created
// when missing. Empty when no folder can be used.
QString carpetaCalculos();

// True for a file inside a reference data folder, the installed one or the
// user's own: a calculation opened from one is never saved over it.
bool esArchivoDeReferencia(const QString &ruta);

} // namespace pelmora
