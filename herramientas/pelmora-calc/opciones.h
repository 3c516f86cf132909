// The command line of pelmora-calc.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

namespace pelmora {

// Exit codes.
constexpr int kSalidaBien = 0;
constexpr int kSalidaEscritura = 1; // the output could not be written
constexpr int kSalidaArchivo = 2;   // the file cannot be read (the reason goes to standard error)
constexpr int kSalidaUso = 64;      // wrong usage (the usage text goes to standard error)

enum class Formato { Informe, Json };

struct Opciones {
    Formato formato = Formato::Informe;
    QString archivo;                    // the first file or folder named
    QStringList archivos;               // every one, in order
    std::optional<double> sensibilidad; // --sensibilidad[=P]: P
    bool csv = false;                   // --csv
    bool referencia = false;            // --referencia
    bool referenciaDe = false;          // --referencia-de: the reference file for ...
    QString categoria;                  // ... this category, instead of a report
    std::optional<std::pair<int, int>> precio; // --precio MARGEN[:IVA], hundredths of a point
    bool presupuestos = false;          // --presupuestos: the register, at archivo or the user's
};

// What the arguments ask for. With --help, --version or a wrong usage the
// answer is already written (to standard output or error) and the exit
// code comes back instead.
struct LineaOrdenesCalc {
    std::optional<Opciones> opciones;
    int salida = kSalidaBien;
};
LineaOrdenesCalc leerOpciones(const QStringList &argumentos);

} // namespace pelmora
