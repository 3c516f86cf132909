// Checked arithmetic of one formula step. A step whose operation fails (a
// text that is no number, a division by zero, a result that is not finite,
// a rounding or whole-number overflow) yields no value, and the step's
// target is then left as it was.
#pragma once

#include "entrada/numeros.h"
#include "entrada/valor.h"

#include <cmath>
#include <cstdint>
#include <optional>

namespace pelmora {

struct Num {
    std::optional<double> v;
    Num() = default;
    Num(double x) : v(std::isfinite(x) ? std::optional<double>(x) : std::nullopt) {}
    explicit Num(const Valor &x) : v(x.comoNumero()) {}
    static Num falla() { return Num(); }
    bool ok() const { return v.has_value(); }
    double operator*() const { return *v; }
};

inline Num operator+(Num a, Num b) { return a.ok() && b.ok() ? Num(*a + *b) : Num(); }
inline Num operator-(Num a, Num b) { return a.ok() && b.ok() ? Num(*a - *b) : Num(); }
inline Num operator*(Num a, Num b) { return a.ok() && b.ok() ? Num(*a * *b) : Num(); }
inline Num operator/(Num a, Num b)
{
    if (!a.ok() || !b.ok() || *b == 0.0)
        return Num();
    return Num(*a / *b);
}

// a raised to a real power; fails where the result is not a real number.
inline Num potencia(Num a, Num b)
{
    if (!a.ok() || !b.ok())
        return Num();
    if (*a == 0.0 && *b < 0)
        return Num();
    if (*a < 0 && std::floor(*b) != *b)
        return Num();
    return Num(std::pow(*a, *b));
}

inline Num redondear(Num a, int decimales)
{
    if (!a.ok())
        return Num();
    const auto r = Redondear(*a, decimales);
    return r ? Num(*r) : Num();
}

// A whole-number result kept in 32 bits.
inline Num entero32(Num a)
{
    if (!a.ok() || *a < INT32_MIN || *a > INT32_MAX)
        return Num();
    return a;
}

} // namespace pelmora
