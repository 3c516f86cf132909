// Number display, decimal separator, rounding and parsing of typed text.
#pragma once

#include "entrada/valor.h"

#include <QChar>
#include <QLocale>
#include <QString>
#include <charconv>
#include <cmath>
#include <optional>

namespace pelmora {

// Decimal separator of a locale: the first non-digit of 1.5 written in it,
// "," when there is none.
QChar SeparadorDecimal(const QLocale &locale = QLocale());

// Takes the decimal and thousands separators from a locale for all later
// displays and parsing; called once at start-up (tests call it per locale).
void fijarSeparadores(const QLocale &locale = QLocale());
QChar separadorDecimal();
QString separadorMiles();

namespace detalle {
std::optional<double> redondearDespacio(double x, int n);
extern const double kPotenciasDeDiez[16];
} // namespace detalle

// x rounded half away from zero to n decimals, after taking x * 10^n to
// 15 significant digits. No value when x * 10^n is too large.
inline std::optional<double> Redondear(double x, int n)
{
    // Taking a = |x| * 10^n to 15 digits moves it by at most half a unit of
    // its 15th digit, less than a * 1e-14, and never past an integer (one of
    // at most 14 digits): away from the half the integer part tells at once.
    if (n >= 0 && n <= 15) {
        const double p = detalle::kPotenciasDeDiez[n];
        const double a = std::fabs(x * p);
        if (a >= 0.25 && a < 1e14) {
            const double suelo = double(static_cast<long long>(a));
            const double fraccion = a - suelo; // exact below 2^52
            const double margen = a * 1e-14;
            if (fraccion < 0.5 - margen || fraccion > 0.5 + margen) {
                const double r = (fraccion < 0.5 ? suelo : suelo + 1.0) / p;
                if (r == 0.0)
                    return 0.0;
                return x < 0 ? -r : r;
            }
        }
    }
    return detalle::redondearDespacio(x, n);
}

// x written as std::to_chars writes it in fixed form with n decimals, and
// in its shortest form that reads back as x: the same characters, the
// figures of a calculation (a few digits) without its general method.
std::to_chars_result escribirFijo(char *desde, char *hasta, double x, int n);
std::to_chars_result escribirCorto(char *desde, char *hasta, double x);

// Display text of a value with a number of decimals (-1 free text).
QString FormatearNumero(const Valor &v, int decimales, bool mostrarCero);

// The number a box holds once x is shown with n decimals (n >= 0) and that
// text, without its grouping, is read back as typed: LeerCampo of
// FormatearNumero, without building either text.
double numeroMostrado(double x, int n);

// The text a field shows while it is being edited: the value written
// plainly, no grouping, no trailing zeros, empty for 0.
QString textoEdicion(const Valor &v, int decimales);

// Parses the text of a field: free text is trimmed, a number is read from
// the start of the text ("" and non-numbers give 0).
Valor LeerCampo(const QString &texto, int decimales);

// The number a text starts with, "." as decimal mark: blanks, tabs and
// line ends are skipped anywhere, an optional sign, digits with one point,
// an optional exponent (e, E, d or D); reading stops at the first character
// that cannot go on; 0 when no digit comes first.
double valorInicial(const QString &texto);

// A number as written to a calculation file: "." as decimal separator, no
// grouping, at most 15 significant digits, never in exponent form.
QString numeroPlano(double x);

// Character filter of a field while it is typed into.
struct EstadoTexto {
    QString texto;
    int cursor = 0;          // characters before the caret
    int inicioSeleccion = 0; // selection start
    int largoSeleccion = 0;  // selection length
};
struct ResultadoTecla {
    bool aceptada = false; // the character goes into the text
    EstadoTexto estado;    // text and caret after the selection was deleted (and the character inserted when accepted)
};
ResultadoTecla FiltrarTeclaNumero(const EstadoTexto &antes, QChar caracter, int decimales, int longitudMaxima);

} // namespace pelmora
