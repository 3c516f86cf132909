#include "progreso.h"

#include "salida.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace pelmora {

namespace {

constexpr qint64 kEspera = 1000;   // ms before the line first shows
constexpr qint64 kIntervalo = 200; // ms between two updates

} // namespace

// Shown on a terminal only, and not when the output goes to a terminal as
// well: its rows are the progress there, and would break the line.
Progreso::Progreso() : terminal_(::isatty(::fileno(stderr)) == 1 && ::isatty(::fileno(stdout)) != 1)
{
    reloj_.start();
}

void Progreso::hecho()
{
    ++hechos_;
    if (!terminal_)
        return;
    const qint64 ms = reloj_.elapsed();
    if (ms < kEspera || ms - ultimo_ < kIntervalo)
        return;
    ultimo_ = ms;
    const QString linea = QStringLiteral("%1 de %2 archivos, %3 archivos/s")
                              .arg(hechos_)
                              .arg(hallados_)
                              .arg(hechos_ * 1000 / ms);
    // Blanks over what is left of a longer line before.
    const QString relleno(std::max<qsizetype>(0, largo_ - linea.size()), QLatin1Char(' '));
    escribir(stderr, QLatin1Char('\r') + linea + relleno);
    largo_ = linea.size();
}

void Progreso::borrar()
{
    if (largo_ == 0)
        return;
    escribir(stderr, QLatin1Char('\r') + QString(largo_, QLatin1Char(' ')) + QLatin1Char('\r'));
    largo_ = 0;
}

} // namespace pelmora
