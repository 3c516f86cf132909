// The analyses of pelmora-calc: the sensitivity of one calculation and
// the comparison of several.
#pragma once

#include "analisis/sensibilidad.h"
#include "opciones.h"

#include <QByteArray>
#include <optional>

namespace pelmora {

// What the options ask for when it is an analysis, run to its exit code;
// no value when they ask for the report or the JSON of one file.
std::optional<int> ejecutarAnalisis(const Opciones &o);

// The sensitivity of the calculation read from ruta as a Spanish table.
QString tablaSensibilidad(const Sensibilidad &s, const Calculo &calc, const QString &ruta);

// Every file named (folders expanded) in the format asked for, read and
// computed in parallel, written in order; a file that cannot be read goes
// to standard error and gets an error row. Exit code 2 if any failed.
int compararArchivos(const Opciones &o);

} // namespace pelmora
