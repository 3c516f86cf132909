// The register's list as other programs read it: CSV rows through the
// program's one CSV writer, and JSON lines.
#pragma once

#include "archivos/csv.h"
#include "registro/registro.h"

namespace pelmora {

FilaCsv cabeceraCsvRegistro();
FilaCsv filaCsvRegistro(const FilaRegistro &f, const QDate &hoy);
// {"Numero", "Fecha" (aaaa-mm-dd), "Cliente", "Viaje", "Total" (euros), "Estado", "Emitido"}
QByteArray filaJsonRegistro(const FilaRegistro &f, const QDate &hoy);

} // namespace pelmora
