// Valor: one entry of a calculation, empty, a number, a text or a yes/no choice.
#pragma once

#include <QString>
#include <optional>

namespace pelmora {

class Valor {
public:
    enum class Tipo { Vacio, Numero, Texto, Booleano };

    Valor() = default;
    Valor(double n) : tipo_(Tipo::Numero), numero_(n) {}
    Valor(int n) : tipo_(Tipo::Numero), numero_(n) {}
    Valor(bool b) : tipo_(Tipo::Booleano), booleano_(b) {}
    Valor(const QString &t) : tipo_(Tipo::Texto), texto_(t) {}
    Valor(const char *t) : tipo_(Tipo::Texto), texto_(QString::fromUtf8(t)) {}
    Valor(const Valor &) = default;
    Valor(Valor &&) noexcept = default;
    Valor &operator=(Valor &&) noexcept = default;
    // Columns are copied whole and most entries hold no text: those skip
    // the text's copy.
    Valor &operator=(const Valor &o)
    {
        tipo_ = o.tipo_;
        numero_ = o.numero_;
        booleano_ = o.booleano_;
        if (!texto_.isNull() || !o.texto_.isNull())
            texto_ = o.texto_;
        return *this;
    }

    Tipo tipo() const { return tipo_; }
    bool vacio() const { return tipo_ == Tipo::Vacio; }
    bool esNumero() const { return tipo_ == Tipo::Numero; }
    bool esTexto() const { return tipo_ == Tipo::Texto; }
    bool esBooleano() const { return tipo_ == Tipo::Booleano; }

    double numero() const { return numero_; }
    const QString &texto() const { return texto_; }
    bool booleano() const { return booleano_; }

    // The value as it takes part in arithmetic: empty is 0, true is -1,
    // a text counts only when it is a plain number. No value when it cannot.
    std::optional<double> comoNumero() const
    {
        return tipo_ == Tipo::Numero ? std::optional<double>(numero_) : comoNumeroSinSerNumero();
    }
    // Arithmetic value with a failed conversion counted as 0 (used only
    // where a comparison, not a computation, is made).
    double n() const { return comoNumero().value_or(0.0); }
    // An option entry holds "not false": anything but the boolean false.
    bool esFalso() const { return tipo_ == Tipo::Booleano && !booleano_; }
    // Zero test of the program: empty, 0 and false all count as zero.
    bool esCero() const
    {
        switch (tipo_) {
        case Tipo::Vacio: return true;
        case Tipo::Numero: return numero_ == 0.0;
        case Tipo::Booleano: return !booleano_;
        case Tipo::Texto: break;
        }
        return textoEsCero();
    }

    bool operator==(const Valor &o) const;
    bool operator!=(const Valor &o) const { return !(*this == o); }

private:
    std::optional<double> comoNumeroSinSerNumero() const;
    bool textoEsCero() const;

    Tipo tipo_ = Tipo::Vacio;
    double numero_ = 0.0;
    bool booleano_ = false;
    QString texto_;
};

// Values compared as the program compares entries: an empty entry equals 0,
// false and the empty text; numbers are equal when the forms a calculation
// file keeps of them (15 significant digits) are equal.
bool mismoValorGuardado(const Valor &a, const Valor &b);

} // namespace pelmora
