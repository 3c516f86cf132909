// The start of the benchmarks that need the window system: offscreen when no
// display is set, the program's data folder when asked, the separators of
// the system's settings, then Google Benchmark.
#pragma once

#include "entrada/numeros.h"
#include "interfaz/dialogos/dialogos.h"

#include "correr.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLocale>

namespace pelmora {

inline int correrBenchmarksDeVentana(int argc, char **argv, bool datosPrograma)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (datosPrograma)
        fijarDatosPrograma();
    fijarSeparadores(QLocale::system());
    return correrGoogleBenchmark(argc, argv);
}

} // namespace pelmora
