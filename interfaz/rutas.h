// Where the program finds its files: everything hangs from the program's
// own folder (the folder of the executable).
#pragma once

#include <QString>

namespace pelmora {

// The program's folder, without a trailing separator.
QString carpetaPrograma();
// Replaces the program's folder (tests point it at a scratch copy);
// an empty text goes back to the executable's folder.
void fijarCarpetaPrograma(const QString &carpeta);

// Folder of the reference data: "<program folder>/Vededizaviro".
QString carpetaReferencia();
// Path of a reference data file: "<program folder>/Vededizaviro/<archivo>".
QString rutaReferencia(const QString &archivo);

} // namespace pelmora
