// The results of a column (the annual cost in thirteen items, its shares and
// the unit costs) and the prices of the concrete services.
#include "calculo/calculo.h"

#include "calculo/formulas.h"

namespace pelmora {

namespace {

// Annual amortisation of a column (coach less the tyres fitted, plus the
// auxiliary equipment, or the annual rent of either).
double CosteAmortizacion(const Columna &R)
{
    auto n = [&](Seccion s, int i) { return Num(R(s, i)); };
    Num a(0.0);
    if (verdadero(R(kF1, 1))) {
        if (R(kF1, 2).n() > 0 && R(kF1, 3).n() > 0) {
            const Num neumaticos = n(kVar, 8) * n(kVar, 9) + n(kVar, 11) * n(kVar, 12) + n(kVar, 14) * n(kVar, 15);
            const Num x = (n(kF1, 2) - n(kF1, 5) - neumaticos) / n(kF1, 3);
            if (x.ok() && *x > 0)
                a = a + x;
        }
    } else {
        const Num suma = a + n(kF1, 10);
        if (suma.ok())
            a = suma;
    }
    if (verdadero(R(kF1, 11))) {
        if (R(kF1, 12).n() > 0 && R(kF1, 13).n() > 0) {
            const Num y = (n(kF1, 12) - n(kF1, 15)) / n(kF1, 13);
            if (y.ok() && *y > 0)
                a = a + y;
        }
    } else {
        const Num suma = a + n(kF1, 20);
        if (suma.ok())
            a = suma;
    }
    const Num r = redondear(a, 2);
    return r.ok() ? *r : 0.0;
}

// Interest of a financed part spread over its useful life; a part whose
// instalment cannot be worked out adds nothing.
Num costeFinanciado(Num capital, Num interes, Num periodo, Num vida)
{
    const Num i = interes / Num(100);
    const Num q = potencia(Num(1) + i, periodo);
    const Num cuota = capital * i * q / (q - Num(1));
    return (cuota * periodo - capital) / vida;
}

double CosteFinanciacion(const Columna &R)
{
    auto n = [&](int i) { return Num(R(kF1, i)); };
    Num f(0.0);
    if (verdadero(R(kF1, 1)) && R(kF1, 7).n() > 0 && R(kF1, 3).n() > 0) {
        const Num parte = costeFinanciado(n(7), n(9), n(8), n(3));
        if (parte.ok())
            f = f + parte;
    }
    if (verdadero(R(kF1, 11)) && R(kF1, 17).n() > 0 && R(kF1, 13).n() > 0) {
        const Num parte = costeFinanciado(n(17), n(19), n(18), n(13));
        if (parte.ok())
            f = f + parte;
    }
    const Num r = redondear(f, 2);
    return r.ok() ? *r : 0.0;
}

// Tyre cost per kilometre of the rows that have tyres, times the annual
// kilometres. A failed term makes the whole cost 0.
double CosteNeumaticos(const Columna &R)
{
    Num w(0.0);
    for (int n : {8, 11, 14}) {
        if (R(kVar, n).esCero())
            continue;
        w = w + Num(R(kVar, n)) * Num(R(kVar, n + 1)) / Num(R(kVar, n + 2));
    }
    if (!w.ok())
        w = Num(0.0);
    const Num r = redondear(w * Num(R(kCar, 9)), 2);
    return r.ok() ? *r : 0.0;
}

} // namespace

void Calculo::calcularResultados(Col c)
{
    Columna &R = columna(c);
    auto slot = [&](int n) -> Valor & { return R(kRes, n); };
    auto num = [&](int n) { return Num(slot(n)); };
    auto poner = [&](int n, Num x) {
        if (x.ok())
            slot(n) = Valor(*x);
    };

    slot(1) = Valor(CosteAmortizacion(R));
    slot(2) = Valor(CosteFinanciacion(R));
    slot(3) = R(kF2, 1);
    slot(4) = R(kF2, 8);
    slot(5) = R(kF2, 18);
    slot(6) = R(kF2, 28);
    poner(7, redondear((Num(R(kVar, 6)) * Num(R(kVar, 7))) * Num(R(kCar, 9)) / Num(100), 2));
    slot(8) = Valor(CosteNeumaticos(R));
    slot(9) = R(kVar, 18);
    slot(10) = R(kVar, 19);
    slot(11) = R(kInd, 2);
    slot(12) = R(kInd, 3);
    slot(13) = R(kInd, 4);

    poner(14, num(1) + num(2) + num(3) + num(4) + num(5) + num(6));
    poner(15, num(7) + num(8) + num(9) + num(10));
    poner(16, num(14) + num(15));
    slot(17) = R(kInd, 5);
    poner(18, num(16) + num(17));

    static const int orden[][2] = {{38, 18}, {36, 16}, {34, 14}, {21, 1},  {22, 2},  {23, 3},
                                   {24, 4},  {25, 5},  {26, 6},  {35, 15}, {27, 7},  {28, 8},
                                   {29, 9},  {30, 10}, {37, 17}, {31, 11}, {32, 12}, {33, 13}};
    for (const auto &p : orden)
        poner(p[0], redondear(num(p[1]) * Num(100) / num(18), decimalesResultado(p[0])));

    slot(39) = R(kCar, 23);
    if (slot(39).esCero()) {
        slot(39) = Valor();
        slot(40) = Valor();
    } else {
        poner(40, redondear(num(18) / num(39), 4));
    }

    slot(41) = R(kCar, 9);
    slot(42) = R(kCar, 11);
    slot(43) = R(kCar, 14);
    slot(44) = R(kCar, 16);
    if (slot(42).esCero()) {
        slot(42) = Valor();
        slot(45) = Valor();
        slot(47) = Valor();
    } else {
        poner(45, redondear(num(15) / num(42), 3));
        poner(47, redondear(num(18) / num(42), 3));
    }
    if (slot(44).esCero()) {
        slot(44) = Valor();
        slot(46) = Valor();
        slot(48) = Valor();
    } else {
        poner(46, redondear((num(14) + num(17)) / num(44), 3));
        poner(48, redondear(num(18) / num(44), 3));
    }
}

void Calculo::Actualizar()
{
    calcularResultados(Col::S);
    calcularResultados(Col::O);
    avisar([](ObservadorCalculo &o) { o.resultadosCambiados(); });
}

void Calculo::Revisar()
{
    // a > b, false when either is a text that is no number (the comparison
    // cannot be made and the step is skipped).
    auto mayor = [](const Valor &a, const Valor &b) {
        const Num x(a), y(b);
        return x.ok() && y.ok() && *x > *y;
    };
    Columna &S = ColumnaS;
    if (S(kRes, 40).esCero()) {
        S(kServ, 1) = Valor();
    } else {
        const Num r = redondear(Num(S(kRes, 40)), decimales(kServ, 1));
        if (r.ok())
            S(kServ, 1) = Valor(*r);
    }
    mostrar(Col::S, kServ, 1);
    for (int i : {3, 9, 15, 21, 27}) {
        if (mayor(S(kServ, i), S(kCar, 11)))
            S(kServ, i) = Valor(0.0);
        mostrar(Col::S, kServ, i);
    }
    for (int i : {4, 10, 16, 22, 28}) {
        if (mayor(S(kServ, i), S(kCar, 16)))
            S(kServ, i) = Valor(0.0);
        mostrar(Col::S, kServ, i);
    }
    Formulas f(*this, Col::S, kServ);
    for (int b : {2, 8, 14, 20, 26})
        f.CalcularServicio(b, b + 1, b + 2, b + 3, b + 4, b + 5);
}

} // namespace pelmora
