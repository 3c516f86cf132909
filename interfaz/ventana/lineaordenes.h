// The window program's command line.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace pelmora {

// The command line: pelmora [--sin-presentacion] [ARCHIVO], -h/--help and
// --version, plus Qt's own options (-platform, -style ...), which are left
// to QApplication. The file may come as a file: URL; the first one counts,
// and "--" lets it start with "-". A file is opened at once, without the
// splash window.
//
// Help, the version and a wrong usage (an unknown option, a value missing or
// one too many) end the program before any window: salida then holds the
// exit code and texto what is written, to standard output when the code is
// 0, else to standard error. The arguments are taken in order: help or the
// version before a wrong option are answered, a wrong option before them
// is refused.
constexpr int kSalidaUsoIncorrecto = 64;
struct LineaOrdenes {
    bool presentacion = true; // show the splash window
    QString archivo;          // calculation to open, empty for none
    std::optional<int> salida;
    QString texto;
};
LineaOrdenes leerLineaOrdenes(const QStringList &argumentos);

} // namespace pelmora
