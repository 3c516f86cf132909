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
    if (verdadero(R(kF1, F1::CompraAutocar))) {
        if (R(kF1, F1::PrecioAutocar).n() > 0 && R(kF1, F1::VidaAutocar).n() > 0) {
            Num neumaticos(0.0);
            for (int fila : Var::kFilasNeumaticos)
                neumaticos = neumaticos + n(kVar, fila) * n(kVar, fila + 1);
            const Num x = (n(kF1, F1::PrecioAutocar) - n(kF1, F1::ResidualAutocar) - neumaticos) /
                          n(kF1, F1::VidaAutocar);
            if (x.ok() && *x > 0)
                a = a + x;
        }
    } else {
        const Num suma = a + n(kF1, F1::AlquilerAutocar);
        if (suma.ok())
            a = suma;
    }
    if (verdadero(R(kF1, F1::CompraEquipos))) {
        if (R(kF1, F1::PrecioEquipos).n() > 0 && R(kF1, F1::VidaEquipos).n() > 0) {
            const Num y = (n(kF1, F1::PrecioEquipos) - n(kF1, F1::ResidualEquipos)) / n(kF1, F1::VidaEquipos);
            if (y.ok() && *y > 0)
                a = a + y;
        }
    } else {
        const Num suma = a + n(kF1, F1::AlquilerEquipos);
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
    if (verdadero(R(kF1, F1::CompraAutocar)) && R(kF1, F1::FinanciadoAutocar).n() > 0 &&
        R(kF1, F1::VidaAutocar).n() > 0) {
        const Num parte = costeFinanciado(n(F1::FinanciadoAutocar), n(F1::InteresAutocar), n(F1::PeriodoAutocar),
                                          n(F1::VidaAutocar));
        if (parte.ok())
            f = f + parte;
    }
    if (verdadero(R(kF1, F1::CompraEquipos)) && R(kF1, F1::FinanciadoEquipos).n() > 0 &&
        R(kF1, F1::VidaEquipos).n() > 0) {
        const Num parte = costeFinanciado(n(F1::FinanciadoEquipos), n(F1::InteresEquipos), n(F1::PeriodoEquipos),
                                          n(F1::VidaEquipos));
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
    for (int n : Var::kFilasNeumaticos) {
        if (R(kVar, n).esCero())
            continue;
        w = w + Num(R(kVar, n)) * Num(R(kVar, n + 1)) / Num(R(kVar, n + 2));
    }
    if (!w.ok())
        w = Num(0.0);
    const Num r = redondear(w * Num(R(kCar, Car::KmAnuales)), 2);
    return r.ok() ? *r : 0.0;
}

// The result slots of one column, written only where a step succeeds.
class Ranuras {
public:
    explicit Ranuras(Columna &R) : R_(R) {}
    Valor &operator[](int n) { return R_(kRes, n); }
    Num num(int n) { return Num((*this)[n]); }
    void poner(int n, Num x)
    {
        if (x.ok())
            (*this)[n] = Valor(*x);
    }

private:
    Columna &R_;
};

// Slots 1 to 38: the thirteen items, their subtotals and their shares.
void calcularImportes(const Columna &R, Ranuras &slot)
{
    using namespace Res;
    slot[Amortizacion] = Valor(CosteAmortizacion(R));
    slot[Financiacion] = Valor(CosteFinanciacion(R));
    slot[Personal] = R(kF2, F2::Sueldo);
    slot[Dietas] = R(kF2, F2::DietasYPlus);
    slot[Seguros] = R(kF2, F2::Seguros);
    slot[Fiscales] = R(kF2, F2::Fiscales);
    slot.poner(Combustible, redondear((Num(R(kVar, Var::PrecioSinIva)) * Num(R(kVar, Var::Consumo))) *
                                          Num(R(kCar, Car::KmAnuales)) / Num(100),
                                      2));
    slot[Neumaticos] = Valor(CosteNeumaticos(R));
    slot[Reparaciones] = R(kVar, Var::Reparaciones);
    slot[Peajes] = R(kVar, Var::Peajes);
    slot[Estructura] = R(kInd, Ind::Estructura);
    slot[Comercializacion] = R(kInd, Ind::Comercializacion);
    slot[OtrosIndirectos] = R(kInd, Ind::Otros);

    auto num = [&](int n) { return slot.num(n); };
    slot.poner(Temporales, num(Amortizacion) + num(Financiacion) + num(Personal) + num(Dietas) + num(Seguros) +
                               num(Fiscales));
    slot.poner(Kilometricos, num(Combustible) + num(Neumaticos) + num(Reparaciones) + num(Peajes));
    slot.poner(Directos, num(Temporales) + num(Kilometricos));
    slot[Indirectos] = R(kInd, Ind::Total);
    slot.poner(Totales, num(Directos) + num(Indirectos));

    // The shares, in the order their labels are written.
    static const int orden[] = {Totales,     Directos, Temporales, Amortizacion,  Financiacion,     Personal,
                                Dietas,      Seguros,  Fiscales,   Kilometricos,  Combustible,      Neumaticos,
                                Reparaciones, Peajes,  Indirectos, Estructura,    Comercializacion, OtrosIndirectos};
    for (int n : orden)
        slot.poner(cuota(n), redondear(num(n) * Num(100) / num(Totales), decimalesResultado(cuota(n))));
}

// Slots 39 to 48: the activity and the unit costs, blank without a divisor.
void calcularUnitarios(const Columna &R, Ranuras &slot)
{
    using namespace Res;
    auto num = [&](int n) { return slot.num(n); };
    slot[ViajerosKm] = R(kCar, Car::ViajerosKm);
    if (slot[ViajerosKm].esCero()) {
        slot[ViajerosKm] = Valor();
        slot[C1] = Valor();
    } else {
        slot.poner(C1, redondear(num(Totales) / num(ViajerosKm), 4));
    }

    slot[KmAnuales] = R(kCar, Car::KmAnuales);
    slot[KmFacturados] = R(kCar, Car::KmFacturados);
    slot[HorasAnuales] = R(kCar, Car::HorasAnuales);
    slot[HorasFacturadas] = R(kCar, Car::HorasFacturadas);
    if (slot[KmFacturados].esCero()) {
        slot[KmFacturados] = Valor();
        slot[C2] = Valor();
        slot[C4] = Valor();
    } else {
        slot.poner(C2, redondear(num(Kilometricos) / num(KmFacturados), 3));
        slot.poner(C4, redondear(num(Totales) / num(KmFacturados), 3));
    }
    if (slot[HorasFacturadas].esCero()) {
        slot[HorasFacturadas] = Valor();
        slot[C3] = Valor();
        slot[C5] = Valor();
    } else {
        slot.poner(C3, redondear((num(Temporales) + num(Indirectos)) / num(HorasFacturadas), 3));
        slot.poner(C5, redondear(num(Totales) / num(HorasFacturadas), 3));
    }
}

} // namespace

void Calculo::calcularResultados(Col c)
{
    Columna &R = col(c);
    Ranuras slot(R);
    calcularImportes(R, slot);
    calcularUnitarios(R, slot);
}

void Calculo::Actualizar()
{
    calcularResultados(Col::S);
    if (ensayos_) {
        emit resultadosCambiados();
        return;
    }
    calcularResultados(Col::O);
    redactarComentario(Col::S);
    redactarComentario(Col::O);
    emit resultadosCambiados();
}

void Calculo::redactarComentario(Col c)
{
    const Columna &R = columna(c);
    if (!R(kInd, Ind::Desglosado).esFalso())
        return;
    Num p = redondear(Num(100) * Num(R(kInd, Ind::Total)) / Num(R(kRes, Res::Directos)), 1);
    const double pct = p.ok() ? *p : 0.0;
    e_.comentarios[static_cast<int>(c)] = QStringLiteral("Los  Costes  Indirectos  anuales  representan  el") +
                                       QStringLiteral("\r\n") + FormatearNumero(Valor(pct), 1, true) +
                                       QStringLiteral("  %") + QStringLiteral("\r\n") +
                                       QStringLiteral("de  los  Costes  Directos.");
    if (!cargando_)
        emit comentarioCambiado(c);
}

void Calculo::Revisar()
{
    // a > b, false when either is a text that is no number (the comparison
    // cannot be made and the step is skipped).
    auto mayor = [](const Valor &a, const Valor &b) {
        const Num x(a), y(b);
        return x.ok() && y.ok() && *x > *y;
    };
    Columna &S = e_.columnaS;
    if (S(kRes, Res::C1).esCero()) {
        S(kServ, Serv::C1) = Valor();
    } else {
        const Num r = redondear(Num(S(kRes, Res::C1)), decimales(kServ, Serv::C1));
        if (r.ok())
            S(kServ, Serv::C1) = Valor(*r);
    }
    mostrar(Col::S, kServ, Serv::C1);
    // Billed kilometres, then hours, above the year's total go back to 0.
    for (int k = 0; k < Serv::kServicios; ++k) {
        const int i = Serv::campo(k, Serv::Km);
        if (mayor(S(kServ, i), S(kCar, Car::KmFacturados)))
            S(kServ, i) = Valor(0.0);
        mostrar(Col::S, kServ, i);
    }
    for (int k = 0; k < Serv::kServicios; ++k) {
        const int i = Serv::campo(k, Serv::Horas);
        if (mayor(S(kServ, i), S(kCar, Car::HorasFacturadas)))
            S(kServ, i) = Valor(0.0);
        mostrar(Col::S, kServ, i);
    }
    Formulas f(*this, Col::S, kServ);
    for (int k = 0; k < Serv::kServicios; ++k)
        f.CalcularServicio(k);
}

} // namespace pelmora
