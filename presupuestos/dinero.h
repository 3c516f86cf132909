// Money and rates as exact integers: amounts in cents, percentages in
// hundredths of a point. Read and written without the regional settings'
// help, so that no conversion depends on them.
#pragma once

#include <QChar>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace pelmora {

using Centimos = qint64;

// Largest amount a quote handles (ten thousand million euros), far above any
// coach's cost, far below what the integer arithmetic of prices can hold.
constexpr Centimos kMaximoCentimos = 1'000'000'000'000LL;

// num / den rounded half away from zero; den > 0.
qint64 dividirRedondeando(qint64 num, qint64 den);

// An amount in euros rounded half away from zero to the cent (the
// program's rounding); no value when it is not finite or out of range.
std::optional<Centimos> centimos(double euros);

// An exact decimal typed or stored as text, scaled by 10^decimales and
// rounded half away from zero past them: an optional sign, digits, and "."
// or "," as decimal mark. Digits may be grouped by threes with the other
// mark (or with one mark used more than once, and then no decimals); a lone
// mark followed by three digits is the decimal mark. No value for anything
// else or an empty text.
std::optional<qint64> leerDecimal(const QString &texto, int decimales);

// An integer scaled by 10^decimales as text: the decimal mark given, every
// decimal written, thousands grouped by `miles` when it is not empty.
QString textoDecimal(qint64 valor, int decimales, QChar decimal = QLatin1Char('.'), const QString &miles = {});

// An amount in cents as the program shows it ("1.234,56" in Spanish
// settings), and as other programs read it ("1234.56").
QString textoImporte(Centimos c);
QString importePlano(Centimos c);

} // namespace pelmora
