// Sensitivity of the costs to each entry of the user column: every entered
// figure moved down and up by a percentage, committed on a copy of the
// calculation exactly as if typed, and the results read back. The
// calculation itself is never changed.
#pragma once

#include "calculo/calculo.h"
#include "calculo/campos.h"

#include <QString>
#include <array>
#include <vector>

namespace pelmora {

constexpr int kRanurasResultado = 48;
// The 48 result slots of a column, slot n at [n - 1].
using ResultadosColumna = std::array<Valor, kRanurasResultado>;
ResultadosColumna resultadosDe(const Columna &c);
// Result slot n (1..48) as a number: an empty slot is 0.
double cifra(const ResultadosColumna &r, int n);

constexpr double kPorcentajeSensibilidad = 10;
// A percentage the analysis accepts: above 0 and below 100.
bool porcentajeValido(double porcentaje);

// The figures the analysis follows: the total annual cost and C1 to C5.
constexpr int kCifrasSensibilidad[] = {Res::Totales, Res::C1, Res::C2, Res::C3, Res::C4, Res::C5};
// Their short names: "Coste total anual", "C1", ... "C5".
QString nombreCifra(int n);
// The caption of a side: "-10 %" or "+10 %" (the decimal separator of the
// figures, no needless decimals).
QString rotuloLado(double porcentaje, bool alto);

struct CampoAnalizado {
    Seccion seccion;
    int indice;
};

// The entries of the user column that are moved, in section order and
// index order: numbers with limits that the user enters (or switches to
// entering), whose box takes input at the moment and is not blanked, and
// whose value is not 0.
std::vector<CampoAnalizado> camposSensibles(const Calculo &c);

// The value that goes in when x is tried in field i: rounded to the field's
// decimals, held within its limits, and read back from the text that
// typing it gives, so that it is exactly what a user typing it commits.
Valor valorTecleado(Seccion s, int i, double x);

struct LadoSensibilidad {
    double valor = 0;             // the value tried
    bool posible = true;          // false when the entry checks refused it
    QString mensaje;              // their message, as the "Error" box shows it
    ResultadosColumna resultados; // the user column after it; all empty when refused
};

struct EntradaSensibilidad {
    Seccion seccion = Seccion::Caracteristicas;
    int indice = 0;
    QString etiqueta;
    double valor = 0; // the value in the calculation
    LadoSensibilidad bajo, alto; // -P % and +P %
};

struct Sensibilidad {
    double porcentaje = kPorcentajeSensibilidad;
    ResultadosColumna base; // the user column as it is
    std::vector<EntradaSensibilidad> entradas;

    // Result slot n after one side of an entry; a refused side keeps the base.
    double cifraLado(const LadoSensibilidad &lado, int n) const;
    // How far result slot n moves between the two sides of an entry.
    double oscilacion(const EntradaSensibilidad &e, int n = Res::Totales) const;
    // Largest swing of slot n first; equal swings in section and index order.
    void ordenar(int n = Res::Totales);
};

// A message of the entry checks on one line: its lines joined by a blank.
QString mensajeEnUnaLinea(const QString &mensaje);

// Every entry of camposSensibles moved by porcentaje (which must be valid),
// sorted by the swing of the total annual cost.
Sensibilidad calcularSensibilidad(const Calculo &c, double porcentaje = kPorcentajeSensibilidad);

} // namespace pelmora
