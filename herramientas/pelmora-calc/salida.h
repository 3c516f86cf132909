// What pelmora-calc writes: text or bytes to a stream, and the calculation
// in the format asked for.
#pragma once

#include "calculo/calculo.h"
#include "opciones.h"

#include <QByteArray>
#include <QString>
#include <cstdio>

namespace pelmora {

void escribir(FILE *f, const QByteArray &b);
void escribir(FILE *f, const QString &texto); // as UTF-8

// Flushes standard output: the exit code, kSalidaEscritura (after the
// reason on standard error) when not all of it went out.
int terminarSalida();

// The calculation read from ruta in a format: the report or the JSON export.
QByteArray generar(Formato formato, const Calculo &calc, const QString &ruta);

} // namespace pelmora
