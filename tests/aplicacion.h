// The application object the core tests need for QProcess and Qt SQL,
// made once on first use.
#pragma once

#include <QCoreApplication>

namespace pelmora::prueba {

inline void asegurarAplicacion()
{
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char nombre[] = "pruebas_nucleo";
        static char *argv[] = {nombre, nullptr};
        static QCoreApplication app(argc, argv);
    }
}

} // namespace pelmora::prueba
