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
    void ponerEn(Seccion seccion, int i, Num x)
    {
        if (x.ok())
            columna_(seccion, i) = Valor(*x);
        c_.mostrar(col_, seccion, i);
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

    // A total split by a percentage: the part, the other percentage and
    // the rest of the total.
    void RepartirPorcentaje(int total, int pct, int parte, int pctResto, int resto)
    {
        poner(parte, entero32(redondear(num(total) * num(pct) / Num(100), dec(parte))));
        poner(pctResto, Num(100) - num(pct));
        poner(resto, num(total) - num(parte));
    }

    // The kilometres with passengers, the passengers on board (the seats
    // but the driver's, by the occupancy) and the passenger-kilometres.
    void CalcularViajeros(int plazas, int km, int pctKm, int kmViajeros, int pctOcupacion, int viajeros,
                          int viajerosKm)
    {
        const Num conViajeros = num(km) * num(pctKm) / Num(100);
        const Num aBordo = (num(plazas) - Num(1)) * num(pctOcupacion) / Num(100);
        poner(kmViajeros, entero32(redondear(conViajeros, dec(kmViajeros))));
        poner(viajeros, redondear(aBordo, dec(viajeros)));
        poner(viajerosKm, entero32(redondear(conViajeros * aBordo, dec(viajerosKm))));
    }

    void AplicarPorcentaje(int cifra, int pct, int resultado)
    {
        poner(resultado, redondear(num(cifra) * num(pct) / Num(100), dec(resultado)));
    }

    void CalcularDietas(int diaria, int dias, int anual, int plus, int total)
    {
        poner(anual, redondear(num(diaria) * num(dias), dec(anual)));
        poner(total, num(plus) + num(anual));
    }

    // Works on the Personal section of this column, with kilometres km.
    void CalcularPlusActividad(Num km, int porKm, int plus, int dietas, int total, int desglosado)
    {
        auto personal = [&](int i) { return Num(columna_(kF2, i)); };
        Num x = redondear(personal(porKm) * km, decimales(kF2, plus));
        if (x.ok())
            columna_(kF2, plus) = Valor(*x);
        Num t = personal(dietas) + personal(plus);
        if (t.ok())
            columna_(kF2, total) = Valor(*t);
        if (verdadero(columna_(kF2, desglosado))) {
            c_.mostrar(col_, kF2, plus);
            c_.mostrar(col_, kF2, total);
        }
    }

    void SumarCampos(int total, int primero, int segundo, std::initializer_list<int> resto)
    {
        Num x = num(primero) + num(segundo);
        if (x.ok())
            valor(total) = Valor(*x);
        for (int i : resto) {
            Num y = num(total) + num(i);
            if (y.ok())
                valor(total) = Valor(*y);
        }
        c_.mostrar(col_, s_, total);
    }

    // The fuel: the discount as a percentage of the price, the price net
    // of discount and VAT, and the VAT in it.
    void CalcularCarburante(int precio, int pctDescuento, int descuento, int pctIva, int iva, int neto)
    {
        if (!valor(precio).esCero())
            poner(pctDescuento, redondear(num(descuento) * Num(100) / num(precio), dec(pctDescuento)));
        else
            poner(pctDescuento, Num(0));
        poner(neto, (num(precio) - num(descuento)) / (Num(1) + num(pctIva) / Num(100)));
        poner(iva, redondear((num(precio) - num(descuento)) - num(neto), dec(iva)));
    }

    // Works on Costes Variables of this column, with kilometres km.
    void CalcularReparaciones(Num km, int porKm, int anual)
    {
        ponerEn(kVar, anual, redondear(Num(columna_(kVar, porKm)) * km, decimales(kVar, anual)));
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
