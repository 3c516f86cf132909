// Which formulas read which field: the rules run when one field of a
// section gets a value (a commit, an option switch, the replay of a load),
// in their fixed order, one routine per section. The results are not
// recomputed here: each public change does that once, at its end.
#include "calculo/calculo.h"

#include "calculo/formulas.h"

namespace pelmora {

void Calculo::Recalcular(Seccion s, Col c, int i)
{
    aplicarReglas(s, c, i);
    Actualizar();
}

void Calculo::aplicarReglas(Seccion s, Col c, int i)
{
    switch (s) {
    case Seccion::Caracteristicas:
        reglasCaracteristicas(c, i);
        break;
    case Seccion::CostesFijos1:
        reglasCostesFijos1(c, i);
        break;
    case Seccion::CostesFijos2:
        reglasCostesFijos2(c, i);
        break;
    case Seccion::CostesVariables:
        reglasCostesVariables(c, i);
        break;
    case Seccion::CostesIndirectos:
        reglasCostesIndirectos(c, i);
        break;
    case Seccion::Servicio:
        reglasServicio(i);
        break;
    case Seccion::Resultados:
        break;
    }
}

namespace {

void calcularViajeros(Formulas &f)
{
    f.CalcularViajeros(Car::Plazas, Car::KmAnuales, Car::PctKmConViajeros, Car::KmConViajeros, Car::PctOcupacion,
                       Car::ViajerosPorVehiculo, Car::ViajerosKm);
}

void repartirKilometros(Formulas &f)
{
    f.RepartirPorcentaje(Car::KmAnuales, Car::PctKmFacturados, Car::KmFacturados, Car::PctKmNoFacturados,
                         Car::KmNoFacturados);
}

void calcularPlus(Formulas &personal, Num km)
{
    personal.CalcularPlusActividad(km, F2::PlusPorKm, F2::PlusAnual, F2::DietaAnual, F2::DietasYPlus,
                                   F2::DietasDesglosadas);
}

void calcularCarburante(Formulas &f)
{
    f.CalcularCarburante(Var::PrecioCarburante, Var::PctDescuento, Var::Descuento, Var::PctIva, Var::IvaCarburante,
                         Var::PrecioSinIva);
}

} // namespace

void Calculo::reglasCaracteristicas(Col c, int i)
{
    Formulas f(*this, c, kCar);
    switch (i) {
    case Car::Descripcion:
        retitular();
        break;
    case Car::Plazas:
    case Car::PctKmConViajeros:
    case Car::PctOcupacion:
        calcularViajeros(f);
        break;
    case Car::KmAnuales: {
        // The only figure that reaches into other sections: the activity
        // bonus and the repairs of the same column.
        repartirKilometros(f);
        calcularViajeros(f);
        const Num km(columna(c)(kCar, Car::KmAnuales));
        if (verdadero(columna(c)(kF2, F2::DietasDesglosadas))) {
            Formulas personal(*this, c, kF2);
            calcularPlus(personal, km);
        }
        Formulas(*this, c, kVar).CalcularReparaciones(km, Var::ReparacionesPorKm, Var::Reparaciones);
        break;
    }
    case Car::PctKmFacturados:
        repartirKilometros(f);
        break;
    case Car::HorasAnuales:
    case Car::PctHorasFacturadas:
        f.RepartirPorcentaje(Car::HorasAnuales, Car::PctHorasFacturadas, Car::HorasFacturadas,
                             Car::PctHorasNoFacturadas, Car::HorasNoFacturadas);
        break;
    default:
        break;
    }
}

void Calculo::reglasCostesFijos1(Col c, int i)
{
    using namespace F1;
    Formulas f(*this, c, kF1);
    const bool esS = c == Col::S;
    // The equipment's financing years and interest need a price and a
    // financed share; the coach's price is never 0.
    auto habilitarFinanciacionEquipos = [&] {
        if (esS)
            f.HabilitarCampos({PrecioEquipos, PctFinanciadoEquipos}, {PeriodoEquipos, InteresEquipos});
    };
    switch (i) {
    case PrecioAutocar:
        f.AplicarPorcentaje(PrecioAutocar, PctResidualAutocar, ResidualAutocar);
        f.AplicarPorcentaje(PctFinanciadoAutocar, PrecioAutocar, FinanciadoAutocar);
        break;
    case PctResidualAutocar:
        f.AplicarPorcentaje(PrecioAutocar, PctResidualAutocar, ResidualAutocar);
        break;
    case PctFinanciadoAutocar:
        if (esS)
            f.HabilitarCampos({PctFinanciadoAutocar}, {PeriodoAutocar, InteresAutocar});
        f.AplicarPorcentaje(PctFinanciadoAutocar, PrecioAutocar, FinanciadoAutocar);
        break;
    case PrecioEquipos:
        if (esS)
            f.HabilitarCampos({PrecioEquipos}, {VidaEquipos, PctResidualEquipos, PctFinanciadoEquipos});
        habilitarFinanciacionEquipos();
        f.AplicarPorcentaje(PrecioEquipos, PctResidualEquipos, ResidualEquipos);
        f.AplicarPorcentaje(PctFinanciadoEquipos, PrecioEquipos, FinanciadoEquipos);
        break;
    case PctResidualEquipos:
        f.AplicarPorcentaje(PrecioEquipos, PctResidualEquipos, ResidualEquipos);
        break;
    case PctFinanciadoEquipos:
        habilitarFinanciacionEquipos();
        f.AplicarPorcentaje(PctFinanciadoEquipos, PrecioEquipos, FinanciadoEquipos);
        break;
    default:
        break;
    }
}

void Calculo::reglasCostesFijos2(Col c, int i)
{
    using namespace F2;
    const Columna &R = columna(c);
    Formulas f(*this, c, kF2);
    // Each group derives its total only while it is entered item by item.
    const bool dietas = verdadero(R(kF2, DietasDesglosadas));
    if (i == DietaDiaria && dietas) {
        if (c == Col::S)
            f.HabilitarCampos({DietaDiaria}, {DiasDieta});
        f.CalcularDietas(DietaDiaria, DiasDieta, DietaAnual, PlusAnual, DietasYPlus);
    } else if (i == DiasDieta && dietas) {
        f.CalcularDietas(DietaDiaria, DiasDieta, DietaAnual, PlusAnual, DietasYPlus);
    } else if (i == PlusPorKm && dietas) {
        calcularPlus(f, Num(R(kCar, Car::KmAnuales)));
    } else if (i >= SeguroObligatorio && i <= OtrosSeguros && verdadero(R(kF2, SegurosDesglosados))) {
        f.SumarCampos(Seguros, SeguroObligatorio, ResponsabilidadCivil,
                      {SeguroViajeros, DefensaYReclamacion, SeguroConductor, SeguroIncendios, DanosPropios,
                       OtrosSeguros});
    } else if (i >= Visados && i <= OtrosFiscales && verdadero(R(kF2, FiscalesDesglosados))) {
        f.SumarCampos(Fiscales, Visados, Itv, {Iae, Ivtm, Tacografo, TasasAutocar, TasasViajeros, OtrosFiscales});
    }
}

void Calculo::reglasCostesVariables(Col c, int i)
{
    const Columna &R = columna(c);
    Formulas f(*this, c, kVar);
    if (i == Var::PrecioCarburante) {
        // A discount above the allowed share of the new price (or below
        // a minimum share) falls to the minimum share of the price. The
        // comparison is the one the entry check of the discount makes.
        const double min2 = Minimos()(kVar, Var::PctDescuento).n();
        const Num precio(R(kVar, Var::PrecioCarburante)), descuento(R(kVar, Var::Descuento));
        const auto posicion = precio.ok() && descuento.ok() ? compararDescuento(*descuento, *precio) : std::nullopt;
        if (posicion == PosicionDescuento::PorEncima || (min2 > 0 && posicion == PosicionDescuento::PorDebajo))
            f.poner(Var::Descuento, Num(*precio * min2 / 100));
        calcularCarburante(f);
    } else if (i == Var::Descuento || i == Var::PctIva) {
        calcularCarburante(f);
    } else if (Var::esNeumaticos(i)) {
        // Price and life of a tyre row only with tyres: the user's boxes
        // are disabled, the reference column's blanked.
        const int n = Var::filaNeumaticos(i);
        if (c == Col::S) {
            f.HabilitarCampos({n}, {n + 1, n + 2});
        } else if (R(kVar, n).esCero()) {
            vaciar(c, kVar, n + 1);
            vaciar(c, kVar, n + 2);
        }
    } else if (i == Var::ReparacionesPorKm) {
        f.CalcularReparaciones(Num(R(kCar, Car::KmAnuales)), Var::ReparacionesPorKm, Var::Reparaciones);
    }
}

void Calculo::reglasCostesIndirectos(Col c, int i)
{
    // The total's comment ("Total" mode) is written with the results.
    if (i >= Ind::Estructura && i <= Ind::Otros && verdadero(columna(c)(kInd, Ind::Desglosado)))
        Formulas(*this, c, kInd).SumarCampos(Ind::Total, Ind::Estructura, Ind::Comercializacion, {Ind::Otros});
}

void Calculo::reglasServicio(int i)
{
    // Own costs, kilometres or hours of a service: its three prices. The
    // unit costs they read are current, as every change ends with the results.
    if (i >= Serv::base(0) && Serv::fila(i) <= Serv::Horas)
        Formulas(*this, Col::S, kServ).CalcularServicio(Serv::servicio(i));
}

// ---------------------------------------------------------------------------
// Option pairs.

void Calculo::fijarOpcion(Col c, Seccion s, int indice, bool valor) { col(c)(s, indice) = Valor(valor); }

void Calculo::cambiarOpcion(Col c, Seccion s, int indice, int boton)
{
    emit cambioEmpezado(s, indice);
    aplicarOpcion(c, s, indice, boton);
    Actualizar();
    emit cambioTerminado();
}

void Calculo::aplicarOpcion(Col c, Seccion s, int indice, int boton)
{
    const bool primero = boton == 1;
    if (s == kF1)
        fijarOpcion(c, s, indice, primero);
    else if (!cambiarGrupo(c, s, indice, primero))
        return;
    if (!cargando_)
        emit opcionCambiada(c, s, indice);
}

bool Calculo::cambiarGrupo(Col c, Seccion s, int indice, bool primero)
{
    // The items entered one by one (primero) and what a total blanks.
    std::vector<int> editables, vaciados;
    int total = 0;
    if (s == kF2 && indice == F2::DietasDesglosadas) {
        editables = e_.columnaS(kF2, F2::DietaDiaria).esCero()
                        ? std::vector<int>{F2::DietaDiaria, F2::PlusPorKm}
                        : std::vector<int>{F2::DietaDiaria, F2::DiasDieta, F2::PlusPorKm};
        vaciados = {F2::DietaDiaria, F2::DiasDieta, F2::PlusPorKm, F2::DietaAnual, F2::PlusAnual};
        total = F2::DietasYPlus;
    } else if (s == kF2 && (indice == F2::SegurosDesglosados || indice == F2::FiscalesDesglosados)) {
        // The eight items follow the option, the total comes after them.
        for (int k = indice + 1; k <= indice + 8; ++k)
            editables.push_back(k);
        vaciados = editables;
        total = indice + 9;
    } else if (s == kInd && indice == Ind::Desglosado) {
        editables = {Ind::Estructura, Ind::Comercializacion, Ind::Otros};
        vaciados = editables;
        total = Ind::Total;
    } else {
        return false;
    }
    if (c == Col::O) {
        // The reference column follows its data; a total blanks its items
        // (the indirect costs' comment takes their place instead).
        if (!primero && s == kF2)
            for (int i : vaciados)
                vaciar(c, s, i);
        return true;
    }
    fijarOpcion(c, s, indice, primero);
    if (primero) {
        if (s == kInd) {
            e_.comentarios[static_cast<int>(Col::S)].clear();
            if (!cargando_)
                emit comentarioCambiado(Col::S);
        }
        aspecto(c, s, total, false);
        for (int i : editables) {
            aspecto(c, s, i, true);
            mostrar(c, s, i);
            aplicarReglas(s, c, i);
        }
    } else {
        for (int i : vaciados) {
            aspecto(c, s, i, false);
            vaciar(c, s, i);
        }
        aspecto(c, s, total, true);
    }
    return true;
}

} // namespace pelmora
