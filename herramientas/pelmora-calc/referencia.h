// pelmora-calc --referencia-de ARCHIVO CATEGORIA: the reference file the
// program's "Importar cifras de referencia..." would write from ARCHIVO for
// that category, to standard output.
#pragma once

#include <QCommandLineOption>
#include <QString>
#include <QStringList>

namespace pelmora {

QCommandLineOption opcionReferencia();

// What is left of the command line with --referencia-de must be ARCHIVO and
// CATEGORIA, without --json. Empty when so, otherwise the usage error.
QString comprobarReferencia(const QStringList &posicionales, bool json);

// Reads ARCHIVO as the import does and writes the bytes of the reference
// file; returns the exit code. A coach whose seats lie outside the category
// gets a warning on standard error, as the import shows it.
int escribirReferencia(const QString &archivo, const QString &categoria);

} // namespace pelmora
