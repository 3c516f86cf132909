// Shared by the files of the cost model: the truth test of an entry and the
// formula routines that write one column.
#pragma once

#include "calculo/aritmetica.h"
#include "calculo/calculo.h"
#include "calculo/campos.h"

#include <initializer_list>
#include <optional>

namespace pelmora {

// An entry taken as a condition: true for the boolean true and for a
// non-zero number, false for anything else (empty, a text).
inline bool verdadero(const Valor &v)
{
    if (v.esBooleano())
        return v.booleano();
    if (v.esNumero())
        return v.numero() != 0.0;
    return false;
}

// The formula routines. Each one writes into the value array of one column
// and shows every entry it writes.
class Formulas {
public:
    Formulas(Calculo &c, Col col, Seccion s) : c_(c), col_(col), s_(s), columna_(c.col(col)) {}

    Valor &valor(int i) { return columna_(s_, i); }
    Num num(int i) { return Num(valor(i)); }
    int dec(int i) const { return decimales(s_, i); }

    // Writes a step's result when it has one, then shows the entry.
    void poner(int i, Num x) { ponerEn(s_, i, x); }
    void ponerEn(Seccion s, int i, Num x)
    {
        if (x.ok())
            columna_(s, i) = Valor(*x);
        c_.mostrar(col_, s, i);
    }

    void HabilitarCampos(std::initializer_list<int> requisitos, std::initializer_list<int> campos)
    {
        bool ok = true;
        for (int i : requisitos)
            if (valor(i).esCero())
                ok = false;
        for (int i : campos) {
            c_.aspecto(col_, s_, i, ok);
            if (ok)
                c_.mostrar(col_, s_, i);
            else
                c_.vaciar(col_, s_, i);
        }
    }

    void RepartirPorcentaje(int a, int b, int c, int d, int e)
    {
        poner(c, entero32(redondear(num(a) * num(b) / Num(100), dec(c))));
        poner(d, Num(100) - num(b));
        poner(e, num(a) - num(c));
    }

    void CalcularViajeros(int s, int k, int p, int q, int o, int w, int z)
    {
        poner(q, entero32(redondear(num(k) * num(p) / Num(100), dec(q))));
        poner(w, redondear((num(s) - Num(1)) * num(o) / Num(100), dec(w)));
        poner(z, entero32(redondear((num(k) * num(p) / Num(100)) * ((num(s) - Num(1)) * num(o) / Num(100)), dec(z))));
    }

    void AplicarPorcentaje(int a, int b, int r) { poner(r, redondear(num(a) * num(b) / Num(100), dec(r))); }

    void CalcularDietas(int a, int b, int c, int d, int e)
    {
        poner(c, redondear(num(a) * num(b), dec(c)));
        poner(e, num(d) + num(c));
    }

    // Works on the Personal section of this column, with kilometres km.
    void CalcularPlusActividad(Num km, int a, int b, int c, int e, int f)
    {
        auto personal = [&](int i) { return Num(columna_(kF2, i)); };
        const int db = decimales(kF2, b);
        Num x = redondear(personal(a) * km, db);
        if (x.ok())
            columna_(kF2, b) = Valor(*x);
        Num t = personal(c) + personal(b);
        if (t.ok())
            columna_(kF2, e) = Valor(*t);
        if (verdadero(columna_(kF2, f))) {
            c_.mostrar(col_, kF2, b);
            c_.mostrar(col_, kF2, e);
        }
    }

    void SumarCampos(int t, int a, int b, std::initializer_list<int> lista)
    {
        Num x = num(a) + num(b);
        if (x.ok())
            valor(t) = Valor(*x);
        for (int i : lista) {
            Num y = num(t) + num(i);
            if (y.ok())
                valor(t) = Valor(*y);
        }
        c_.mostrar(col_, s_, t);
    }

    void CalcularCarburante(int p, int d, int r, int v, int a, int n)
    {
        if (!valor(p).esCero())
            poner(d, redondear(num(r) * Num(100) / num(p), dec(d)));
        else
            poner(d, Num(0));
        poner(n, (num(p) - num(r)) / (Num(1) + num(v) / Num(100)));
        poner(a, redondear((num(p) - num(r)) - num(n), dec(a)));
    }

    // Works on Costes Variables of this column, with kilometres km.
    void CalcularReparaciones(Num km, int a, int b)
    {
        ponerEn(kVar, b, redondear(Num(columna_(kVar, a)) * km, decimales(kVar, b)));
    }

    // The three prices of service k (0..4) of this column, from its own
    // costs, kilometres and hours and the unit costs C2 to C5.
    void CalcularServicio(int servicio)
    {
        const int c = Serv::campo(servicio, Serv::Propios), k = Serv::campo(servicio, Serv::Km),
                  h = Serv::campo(servicio, Serv::Horas);
        auto entrada = [&](int i) { return Num(columna_(kServ, i)); };
        auto res = [&](int n) { return Num(columna_(kRes, n)); };
        // "Above 0" of a text that is no number cannot be told: that step
        // fails and leaves its cost as it was.
        auto positivo = [](Num a) -> std::optional<bool> {
            if (!a.ok())
                return std::nullopt;
            return *a > 0;
        };
        const auto km = positivo(entrada(k));
        const auto horas = positivo(entrada(h));
        const auto ambos = km && horas ? std::optional<bool>(*km && *horas) : std::nullopt;
        auto escribe = [&](int i, std::optional<bool> hay, Num precio) {
            if (hay && *hay) {
                Num r = redondear(precio, decimales(kServ, i));
                if (r.ok())
                    columna_(kServ, i) = Valor(*r);
            } else if (hay) {
                columna_(kServ, i) = Valor();
            }
            c_.mostrar(col_, kServ, i);
        };
        escribe(Serv::campo(servicio, Serv::PrecioKmYHoras), ambos,
                entrada(c) + entrada(k) * res(Res::C2) + entrada(h) * res(Res::C3));
        escribe(Serv::campo(servicio, Serv::PrecioKm), km, entrada(c) + entrada(k) * res(Res::C4));
        escribe(Serv::campo(servicio, Serv::PrecioHoras), horas, entrada(c) + entrada(h) * res(Res::C5));
    }

private:
    Calculo &c_;
    Col col_;
    Seccion s_;
    Columna &columna_;
};


} // namespace pelmora
