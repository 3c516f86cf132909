// The fields of each section by name: every value is the field's index in
// its section (the same in both columns), named from what the field holds.
#pragma once

namespace pelmora {

// Características Técnicas y de Explotación.
namespace Car {
enum Campo : int {
    Descripcion = 1,
    Plazas = 2, // seats, the driver's included
    Longitud = 3,
    Ejes = 4,
    Potencia = 5,
    MasaMaxima = 6,
    Categoria = 7,
    Explotacion = 8, // description of how the coach is run
    KmAnuales = 9,
    PctKmFacturados = 10,
    KmFacturados = 11,
    PctKmNoFacturados = 12,
    KmNoFacturados = 13,
    HorasAnuales = 14,
    PctHorasFacturadas = 15,
    HorasFacturadas = 16,
    PctHorasNoFacturadas = 17,
    HorasNoFacturadas = 18,
    PctKmConViajeros = 19,
    KmConViajeros = 20,
    PctOcupacion = 21,
    ViajerosPorVehiculo = 22,
    ViajerosKm = 23, // annual production, passenger-kilometres
};
} // namespace Car

// Amortización y Financiación: the coach (1..10) and its auxiliary
// equipment (11..20), each bought (amortised and financed) or rented.
namespace F1 {
enum Campo : int {
    CompraAutocar = 1, // option: true when bought
    PrecioAutocar = 2,
    VidaAutocar = 3,
    PctResidualAutocar = 4,
    ResidualAutocar = 5,
    PctFinanciadoAutocar = 6,
    FinanciadoAutocar = 7,
    PeriodoAutocar = 8,
    InteresAutocar = 9,
    AlquilerAutocar = 10,
    CompraEquipos = 11, // option: true when bought
    PrecioEquipos = 12,
    VidaEquipos = 13,
    PctResidualEquipos = 14,
    ResidualEquipos = 15,
    PctFinanciadoEquipos = 16,
    FinanciadoEquipos = 17,
    PeriodoEquipos = 18,
    InteresEquipos = 19,
    AlquilerEquipos = 20,
};
} // namespace F1

// Personal, Seguros y Costes Fiscales. Each group but the salary is entered
// item by item (its option true) or as one total.
namespace F2 {
enum Campo : int {
    Sueldo = 1,
    DietasDesglosadas = 2, // option
    DietaDiaria = 3,
    DiasDieta = 4,
    DietaAnual = 5,
    PlusPorKm = 6,
    PlusAnual = 7,
    DietasYPlus = 8, // the group's total
    SegurosDesglosados = 9, // option
    SeguroObligatorio = 10,
    ResponsabilidadCivil = 11,
    SeguroViajeros = 12,
    DefensaYReclamacion = 13,
    SeguroConductor = 14,
    SeguroIncendios = 15,
    DanosPropios = 16,
    OtrosSeguros = 17,
    Seguros = 18, // the group's total
    FiscalesDesglosados = 19, // option
    Visados = 20,
    Itv = 21,
    Iae = 22,
    Ivtm = 23,
    Tacografo = 24,
    TasasAutocar = 25,
    TasasViajeros = 26,
    OtrosFiscales = 27,
    Fiscales = 28, // the group's total
};
} // namespace F2

// Costes Variables.
namespace Var {
enum Campo : int {
    PrecioCarburante = 1, // with VAT, before the discount
    PctDescuento = 2,
    Descuento = 3, // euros per litre
    PctIva = 4,
    IvaCarburante = 5,
    PrecioSinIva = 6,
    Consumo = 7,
    NeumaticosDireccionales = 8,
    PrecioDireccional = 9,
    DuracionDireccional = 10,
    NeumaticosMotrices = 11,
    PrecioMotriz = 12,
    DuracionMotriz = 13,
    NeumaticosArrastre = 14,
    PrecioArrastre = 15,
    DuracionArrastre = 16,
    ReparacionesPorKm = 17,
    Reparaciones = 18,
    Peajes = 19,
};
// The three tyre rows: number of tyres, then price and life (+1, +2).
constexpr int kFilasNeumaticos[3] = {NeumaticosDireccionales, NeumaticosMotrices, NeumaticosArrastre};
// The row (its number of tyres) of a field of the tyre rows.
constexpr int filaNeumaticos(int i) { return NeumaticosDireccionales + 3 * ((i - NeumaticosDireccionales) / 3); }
constexpr bool esNeumaticos(int i) { return i >= NeumaticosDireccionales && i <= DuracionArrastre; }
} // namespace Var

// Costes Indirectos.
namespace Ind {
enum Campo : int {
    Desglosado = 1, // option
    Estructura = 2,
    Comercializacion = 3,
    Otros = 4,
    Total = 5,
};
} // namespace Ind

// The 48 result slots of a column (19 and 20 are never used).
namespace Res {
enum Campo : int {
    Amortizacion = 1,
    Financiacion = 2,
    Personal = 3,
    Dietas = 4,
    Seguros = 5,
    Fiscales = 6,
    Combustible = 7,
    Neumaticos = 8,
    Reparaciones = 9,
    Peajes = 10,
    Estructura = 11,
    Comercializacion = 12,
    OtrosIndirectos = 13,
    Temporales = 14,
    Kilometricos = 15,
    Directos = 16,
    Indirectos = 17,
    Totales = 18,
    ViajerosKm = 39,
    C1 = 40, // per passenger-kilometre
    KmAnuales = 41,
    KmFacturados = 42,
    HorasAnuales = 43,
    HorasFacturadas = 44,
    C2 = 45, // kilometre costs per billed kilometre
    C3 = 46, // time and indirect costs per billed hour
    C4 = 47, // total cost per billed kilometre
    C5 = 48, // total cost per billed hour
};
// The share of the total (percent) of amounts 1 to 18.
constexpr int cuota(int importe) { return importe + 20; }
} // namespace Res

// Coste de un servicio concreto: C1 at the top, then five services of six
// fields each, service k (0..4) from base(k).
namespace Serv {
enum Campo : int {
    C1 = 1,
};
enum Fila : int {
    Propios = 0, // costs charged to this service only
    Km = 1,
    Horas = 2,
    PrecioKmYHoras = 3,
    PrecioKm = 4,
    PrecioHoras = 5,
};
constexpr int kServicios = 5;
constexpr int base(int k) { return 2 + 6 * k; }
constexpr int campo(int k, Fila f) { return base(k) + f; }
// The service (0..4) and the row of a field 2..31.
constexpr int servicio(int i) { return (i - 2) / 6; }
constexpr Fila fila(int i) { return static_cast<Fila>((i - 2) % 6); }
} // namespace Serv

} // namespace pelmora
