#include "entrada/valor.h"

#include "entrada/numeros.h"

#include <cmath>

namespace pelmora {

std::optional<double> Valor::comoNumeroSinSerNumero() const
{
    switch (tipo_) {
    case Tipo::Vacio:
        return 0.0;
    case Tipo::Numero:
        return numero_;
    case Tipo::Booleano:
        return booleano_ ? -1.0 : 0.0;
    case Tipo::Texto: {
        bool ok = false;
        const double d = texto_.trimmed().toDouble(&ok);
        if (ok && std::isfinite(d))
            return d;
        return std::nullopt;
    }
    }
    return std::nullopt;
}

bool Valor::textoEsCero() const
{
    const auto n = comoNumeroSinSerNumero();
    return n && *n == 0.0;
}

bool Valor::operator==(const Valor &o) const
{
    if (tipo_ != o.tipo_)
        return false;
    switch (tipo_) {
    case Tipo::Vacio:
        return true;
    case Tipo::Numero:
        return numero_ == o.numero_;
    case Tipo::Booleano:
        return booleano_ == o.booleano_;
    case Tipo::Texto:
        return texto_ == o.texto_;
    }
    return false;
}

bool mismoValorGuardado(const Valor &a, const Valor &b)
{
    using T = Valor::Tipo;
    if (a.tipo() == T::Texto && b.tipo() == T::Texto)
        return a.texto() == b.texto();
    // An empty entry equals 0, false and the empty text.
    if (a.vacio() || b.vacio()) {
        const Valor &otro = a.vacio() ? b : a;
        if (otro.vacio())
            return true;
        if (otro.esTexto())
            return otro.texto().isEmpty();
        return otro.n() == 0.0;
    }
    if (a.esTexto() || b.esTexto())
        return false;
    if (a.esBooleano() && b.esBooleano())
        return a.booleano() == b.booleano();
    // Numbers (and a number against a yes/no) as the file keeps them.
    return numeroPlano(a.n()) == numeroPlano(b.n());
}

} // namespace pelmora
