// The cost model: the rules that derive fields, the option groups, the
// results and the services, and what the model announces.
#include "archivos/archivo.h"
#include "calculo/calculo.h"
#include "calculo/campos.h"
#include "entrada/numeros.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace pelmora;

namespace {

// Records what the model announces, as a window would see it.
struct Registro {
    explicit Registro(Calculo &c)
    {
        QObject::connect(&c, &Calculo::campoCambiado, &receptor,
                         [this](Col col, Seccion s, int i) { campos.emplace_back(col, s, i); });
        QObject::connect(&c, &Calculo::titulosCambiados, &receptor, [this] { ++titulos; });
        QObject::connect(&c, &Calculo::resultadosCambiados, &receptor, [this] { ++resultados; });
    }
    QObject receptor; // the connections end with the record
    std::vector<std::tuple<Col, Seccion, int>> campos;
    int titulos = 0, resultados = 0;
    bool tocado(Col c, Seccion s, int i) const
    {
        return std::find(campos.begin(), campos.end(), std::make_tuple(c, s, i)) != campos.end();
    }
};

class Modelo : public ::testing::Test {
protected:
    void SetUp() override { fijarSeparadores(QLocale(QLocale::Spanish, QLocale::Spain)); }
    Columna &S() { return c.columnaParaPruebas(Col::S); }
    Columna &O() { return c.columnaParaPruebas(Col::O); }
    // Sets an entry of a column and recalculates as a commit would.
    void poner(Seccion s, int i, const Valor &v, Col col = Col::S)
    {
        c.columnaParaPruebas(col)(s, i) = v;
        c.Recalcular(s, col, i);
    }
    double n(Seccion s, int i, Col col = Col::S) { return c.columna(col)(s, i).n(); }
    QString t(Seccion s, int i, Col col = Col::S) { return c.textoMostrado(col, s, i); }
    bool entrada(Seccion s, int i) { return c.estado(Col::S, s, i).entrada; }
    Calculo c;
};

} // namespace

TEST_F(Modelo, IniciarTablasDejaLosMinimos)
{
    poner(kCar, Car::Plazas, Valor(55.0));
    c.IniciarTablas();
    EXPECT_EQ(c.columnaS()(kCar, Car::Descripcion).texto(), "A");
    EXPECT_TRUE(c.columnaS()(kCar, Car::Categoria).esTexto());
    EXPECT_TRUE(c.columnaS()(kCar, Car::Categoria).texto().isEmpty());
    EXPECT_EQ(n(kCar, Car::Plazas), 10.0);
    EXPECT_EQ(n(kF1, F1::PrecioAutocar), 6000.0);
    EXPECT_EQ(n(kCar, Car::KmAnuales), 5000.0);
    EXPECT_TRUE(c.columnaS()(kF1, F1::CompraAutocar).booleano());
    EXPECT_EQ(n(kServ, Serv::base(0)), 0.0);
    EXPECT_TRUE(c.columnaS()(kServ, Serv::base(0)).esNumero());
    EXPECT_TRUE(c.columnaS()(kRes, Res::Totales).vacio());
    EXPECT_TRUE(c.columnaS()(kCar, Car::KmFacturados).vacio());
    EXPECT_FALSE(c.HayCambios());
}

TEST_F(Modelo, RepartoDeKilometrosYHoras)
{
    poner(kCar, Car::KmAnuales, Valor(100000.0));
    poner(kCar, Car::PctKmFacturados, Valor(33.3));
    EXPECT_EQ(n(kCar, Car::KmFacturados), 33300.0);
    EXPECT_EQ(t(kCar, Car::PctKmNoFacturados), "66,7");
    EXPECT_EQ(n(kCar, Car::KmNoFacturados), 66700.0);
    poner(kCar, Car::KmAnuales, Valor(120001.0));
    EXPECT_EQ(n(kCar, Car::KmFacturados), 39960.0);
    EXPECT_EQ(n(kCar, Car::KmNoFacturados), 80041.0);
    poner(kCar, Car::HorasAnuales, Valor(2000.0));
    poner(kCar, Car::PctHorasFacturadas, Valor(75.0));
    EXPECT_EQ(n(kCar, Car::HorasFacturadas), 1500.0);
    EXPECT_EQ(n(kCar, Car::HorasNoFacturadas), 500.0);
}

TEST_F(Modelo, ViajerosYProduccion)
{
    S()(kCar, Car::Plazas) = Valor(55.0);
    S()(kCar, Car::KmAnuales) = Valor(100000.0);
    S()(kCar, Car::PctKmConViajeros) = Valor(80.0);
    poner(kCar, Car::PctOcupacion, Valor(60.0));
    EXPECT_EQ(n(kCar, Car::KmConViajeros), 80000.0);
    EXPECT_EQ(n(kCar, Car::ViajerosPorVehiculo), 32.4);
    EXPECT_EQ(n(kCar, Car::ViajerosKm), 2592000.0);
    EXPECT_EQ(t(kCar, Car::ViajerosKm), "2.592.000");
}

TEST_F(Modelo, ValorResidualYCapitalFinanciado)
{
    S()(kF1, F1::PctResidualAutocar) = Valor(10.0);
    S()(kF1, F1::PctFinanciadoAutocar) = Valor(125.0);
    poner(kF1, F1::PrecioAutocar, Valor(150000.0));
    EXPECT_EQ(n(kF1, F1::ResidualAutocar), 15000.0);
    EXPECT_EQ(n(kF1, F1::FinanciadoAutocar), 187500.0);
    EXPECT_EQ(t(kF1, F1::FinanciadoAutocar), "187.500,00");
}

TEST_F(Modelo, DietasYPlus)
{
    S()(kF2, F2::PlusAnual) = Valor(1500.0);
    S()(kF2, F2::DiasDieta) = Valor(220.0);
    poner(kF2, F2::DietaDiaria, Valor(30.0));
    EXPECT_EQ(n(kF2, F2::DietaAnual), 6600.0);
    EXPECT_EQ(n(kF2, F2::DietasYPlus), 8100.0);
}

TEST_F(Modelo, CarburanteSinIva)
{
    S()(kVar, Var::Descuento) = Valor(0.05);
    S()(kVar, Var::PctIva) = Valor(21.0);
    poner(kVar, Var::PrecioCarburante, Valor(1.2));
    EXPECT_EQ(n(kVar, Var::PctDescuento), 4.2);
    EXPECT_NEAR(n(kVar, Var::PrecioSinIva), 0.950413223, 1e-9);
    EXPECT_EQ(t(kVar, Var::PrecioSinIva), "0,9504");
    EXPECT_EQ(n(kVar, Var::IvaCarburante), 0.1996);
    // A price of 0 gives a discount percentage of 0 and no failure.
    S()(kVar, Var::Descuento) = Valor(0.0);
    poner(kVar, Var::PrecioCarburante, Valor(0.0));
    EXPECT_EQ(n(kVar, Var::PctDescuento), 0.0);
}

TEST_F(Modelo, BajarElPrecioAnulaUnDescuentoExcesivo)
{
    S()(kVar, Var::PctIva) = Valor(21.0);
    poner(kVar, Var::PrecioCarburante, Valor(1.0));
    poner(kVar, Var::Descuento, Valor(0.5));
    EXPECT_EQ(n(kVar, Var::PctDescuento), 50.0);
    poner(kVar, Var::PrecioCarburante, Valor(0.8)); // 0.5 is 62.5 % of 0.8
    EXPECT_EQ(n(kVar, Var::Descuento), 0.0);
    EXPECT_EQ(n(kVar, Var::PctDescuento), 0.0);
    EXPECT_NEAR(n(kVar, Var::PrecioSinIva), 0.8 / 1.21, 1e-12);
}

TEST_F(Modelo, SumasDeSegurosYVacios)
{
    for (int i = F2::SeguroObligatorio; i <= F2::OtrosSeguros; ++i)
        S()(kF2, i) = Valor();
    poner(kF2, F2::SeguroObligatorio, Valor());
    EXPECT_EQ(t(kF2, F2::Seguros), "");
    poner(kF2, F2::SeguroViajeros, Valor(100.5));
    EXPECT_EQ(n(kF2, F2::Seguros), 100.5);
    // In "Total" mode a change of an item changes nothing else.
    c.cambiarOpcion(Col::S, kF2, F2::SegurosDesglosados, 2);
    poner(kF2, F2::DefensaYReclamacion, Valor(50.0));
    EXPECT_EQ(n(kF2, F2::Seguros), 100.5);
}

TEST_F(Modelo, KilometrosCruzanSecciones)
{
    S()(kF2, F2::PlusPorKm) = Valor(0.02);
    S()(kVar, Var::ReparacionesPorKm) = Valor(0.1);
    Registro r(c);
    poner(kCar, Car::KmAnuales, Valor(100000.0));
    EXPECT_EQ(n(kF2, F2::PlusAnual), 2000.0);
    EXPECT_EQ(n(kVar, Var::Reparaciones), 10000.0);
    EXPECT_TRUE(r.tocado(Col::S, kF2, F2::PlusAnual));
    EXPECT_TRUE(r.tocado(Col::S, kF2, F2::DietasYPlus));
    EXPECT_FALSE(r.tocado(Col::O, kF2, F2::PlusAnual)); // only the same column
    // With per-diems as a total the bonus boxes stay as they are.
    c.cambiarOpcion(Col::S, kF2, F2::DietasDesglosadas, 2);
    r.campos.clear();
    poner(kCar, Car::KmAnuales, Valor(50000.0));
    EXPECT_EQ(n(kF2, F2::PlusAnual), 2000.0);
    EXPECT_FALSE(r.tocado(Col::S, kF2, F2::DietasYPlus));
    EXPECT_EQ(n(kVar, Var::Reparaciones), 5000.0);
}

TEST_F(Modelo, TitulosSiguenLaDescripcionDelUsuario)
{
    Registro r(c);
    poner(kCar, Car::Descripcion, Valor("Autocar de 55 plazas"));
    EXPECT_EQ(c.descripcionTitulos(), "Autocar de 55 plazas");
    poner(kCar, Car::Descripcion, Valor("Otro"), Col::O); // the reference column retitles with the user's
    EXPECT_EQ(c.descripcionTitulos(), "Autocar de 55 plazas");
    EXPECT_EQ(r.titulos, 2);
}

TEST_F(Modelo, FinanciacionHabilitaPeriodoEInteres)
{
    S()(kF1, F1::PeriodoAutocar) = Valor(5.0);
    poner(kF1, F1::PctFinanciadoAutocar, Valor(0.0));
    EXPECT_FALSE(entrada(kF1, F1::PeriodoAutocar));
    EXPECT_EQ(t(kF1, F1::PeriodoAutocar), "");
    EXPECT_EQ(n(kF1, F1::PeriodoAutocar), 5.0); // the value stays
    poner(kF1, F1::PctFinanciadoAutocar, Valor(50.0));
    EXPECT_TRUE(entrada(kF1, F1::InteresAutocar));
    EXPECT_EQ(t(kF1, F1::PeriodoAutocar), "5,0");
}

TEST_F(Modelo, EquiposAuxiliares)
{
    using namespace F1;
    poner(kF1, PrecioEquipos, Valor(0.0));
    for (int i : {VidaEquipos, PctResidualEquipos, PctFinanciadoEquipos, PeriodoEquipos, InteresEquipos})
        EXPECT_FALSE(entrada(kF1, i)) << i;
    S()(kF1, PctFinanciadoEquipos) = Valor(0.0);
    poner(kF1, PrecioEquipos, Valor(5000.0));
    for (int i : {VidaEquipos, PctResidualEquipos, PctFinanciadoEquipos})
        EXPECT_TRUE(entrada(kF1, i)) << i;
    for (int i : {PeriodoEquipos, InteresEquipos})
        EXPECT_FALSE(entrada(kF1, i)) << i;
}

TEST_F(Modelo, NeumaticosDeReferenciaSinRuedasSeVacian)
{
    O()(kVar, Var::PrecioDireccional) = Valor(400.0);
    poner(kVar, Var::NeumaticosDireccionales, Valor(0.0), Col::O);
    EXPECT_EQ(t(kVar, Var::PrecioDireccional, Col::O), "");
    EXPECT_EQ(n(kVar, Var::PrecioDireccional, Col::O), 400.0);
    poner(kVar, Var::NeumaticosMotrices, Valor(0.0));
    EXPECT_FALSE(entrada(kVar, Var::PrecioMotriz));
}

TEST_F(Modelo, DesglosadoYTotal)
{
    using namespace F2;
    for (int i = SeguroObligatorio; i <= OtrosSeguros; ++i)
        S()(kF2, i) = Valor(100.0 * i);
    c.Recalcular(kF2, Col::S, SeguroObligatorio);
    const double suma = n(kF2, Seguros);
    c.cambiarOpcion(Col::S, kF2, SegurosDesglosados, 2);
    EXPECT_FALSE(c.columnaS()(kF2, SegurosDesglosados).booleano());
    EXPECT_EQ(t(kF2, SeguroViajeros), "");
    EXPECT_TRUE(entrada(kF2, Seguros));
    EXPECT_EQ(n(kF2, Seguros), suma);
    S()(kF2, Seguros) = Valor(1.0); // a total typed in "Total" mode
    c.cambiarOpcion(Col::S, kF2, SegurosDesglosados, 1);
    EXPECT_EQ(n(kF2, Seguros), suma);
    EXPECT_FALSE(entrada(kF2, Seguros));
    EXPECT_EQ(t(kF2, SeguroViajeros), "1.200,00");
    // Per-diems with a daily amount of 0: days stay disabled.
    S()(kF2, DietaDiaria) = Valor(0.0);
    c.cambiarOpcion(Col::S, kF2, DietasDesglosadas, 2);
    EXPECT_FALSE(entrada(kF2, DietaAnual));
    c.cambiarOpcion(Col::S, kF2, DietasDesglosadas, 1);
    EXPECT_TRUE(entrada(kF2, DietaDiaria));
    EXPECT_FALSE(entrada(kF2, DiasDieta));
    EXPECT_EQ(t(kF2, DiasDieta), "");
}

// A group of the reference column switched to "Total" blanks the boxes of
// its items (their values stay); its total and the other groups still show.
struct GrupoDeReferencia {
    int opcion;
    std::vector<int> vacios;
    int total;
};

void PrintTo(const GrupoDeReferencia &g, std::ostream *os) { *os << "opción " << g.opcion; }

class GruposDeReferencia : public Modelo, public ::testing::WithParamInterface<GrupoDeReferencia> {};

TEST_P(GruposDeReferencia, EnTotalSusFilasQuedanEnBlanco)
{
    const GrupoDeReferencia &g = GetParam();
    for (int i = F2::Sueldo; i <= F2::Fiscales; ++i)
        if (campo(kF2, i).tipo != TipoCampo::Opcion)
            O()(kF2, i) = Valor(1000.0 + i);
    auto esperar = [&](bool enTotal) {
        for (int i = F2::Sueldo; i <= F2::Fiscales; ++i) {
            if (campo(kF2, i).tipo == TipoCampo::Opcion)
                continue;
            const bool vacio = enTotal && std::find(g.vacios.begin(), g.vacios.end(), i) != g.vacios.end();
            EXPECT_EQ(t(kF2, i, Col::O).isEmpty(), vacio) << i;
            EXPECT_EQ(n(kF2, i, Col::O), 1000.0 + i) << i;
        }
    };
    c.cambiarOpcion(Col::O, kF2, g.opcion, 1); // item by item: nothing blanked
    esperar(false);
    c.cambiarOpcion(Col::O, kF2, g.opcion, 2);
    esperar(true);
    EXPECT_FALSE(t(kF2, g.total, Col::O).isEmpty());
    EXPECT_TRUE(c.columnaO()(kF2, g.opcion).booleano()); // the reference data keeps its option
}

INSTANTIATE_TEST_SUITE_P(
    Modelo, GruposDeReferencia,
    ::testing::Values(
        GrupoDeReferencia{F2::DietasDesglosadas,
                          {F2::DietaDiaria, F2::DiasDieta, F2::DietaAnual, F2::PlusPorKm, F2::PlusAnual},
                          F2::DietasYPlus},
        GrupoDeReferencia{F2::SegurosDesglosados,
                          {F2::SeguroObligatorio, F2::ResponsabilidadCivil, F2::SeguroViajeros,
                           F2::DefensaYReclamacion, F2::SeguroConductor, F2::SeguroIncendios, F2::DanosPropios,
                           F2::OtrosSeguros},
                          F2::Seguros},
        GrupoDeReferencia{F2::FiscalesDesglosados,
                          {F2::Visados, F2::Itv, F2::Iae, F2::Ivtm, F2::Tacografo, F2::TasasAutocar,
                           F2::TasasViajeros, F2::OtrosFiscales},
                          F2::Fiscales}));

TEST_F(Modelo, ComentarioDeCostesIndirectos)
{
    S()(kInd, Ind::Total) = Valor(12000.0);
    c.cambiarOpcion(Col::S, kInd, Ind::Desglosado, 2);
    // Direct costs as the results give them for the minimums.
    const double directos = n(kRes, Res::Directos);
    ASSERT_GT(directos, 0.0);
    const QString pct = FormatearNumero(Valor(*Redondear(100 * 12000.0 / directos, 1)), 1, true);
    EXPECT_EQ(c.comentario(Col::S),
              "Los  Costes  Indirectos  anuales  representan  el\r\n" + pct + "  %\r\nde  los  Costes  Directos.");
    c.cambiarOpcion(Col::S, kInd, Ind::Desglosado, 1);
    EXPECT_TRUE(c.comentario(Col::S).isEmpty());
    // "Desglosado" never writes the comment.
    c.redactarComentario(Col::S);
    EXPECT_TRUE(c.comentario(Col::S).isEmpty());
}

TEST_F(Modelo, ComentarioConCostesDirectosCero)
{
    // Nothing but the indirect total costs anything.
    S()(kF1, F1::CompraAutocar) = Valor(false);
    S()(kF1, F1::AlquilerAutocar) = Valor(0.0);
    S()(kF1, F1::CompraEquipos) = Valor(false);
    S()(kF1, F1::AlquilerEquipos) = Valor(0.0);
    S()(kVar, Var::Consumo) = Valor(0.0);
    S()(kInd, Ind::Total) = Valor(500.0);
    c.cambiarOpcion(Col::S, kInd, Ind::Desglosado, 2);
    EXPECT_EQ(n(kRes, Res::Directos), 0.0);
    EXPECT_TRUE(c.comentario(Col::S).contains("\r\n0,0  %\r\n"));
}

// The results of a column from the minimums, with 1.000 billed km, 20 billed
// hours and 900 passenger-km, and a few entries more. Worked out by hand:
// the coach (6.000 over 0,1 years) costs 60.000 a year, nothing else does.
struct CasoResultados {
    const char *nombre;
    std::vector<std::tuple<Seccion, int, Valor>> entradas;
    std::vector<std::pair<int, double>> esperado; // slot, figure
};

void PrintTo(const CasoResultados &c, std::ostream *os) { *os << c.nombre; }

class Resultados : public Modelo, public ::testing::WithParamInterface<CasoResultados> {};

TEST_P(Resultados, DeUnaColumna)
{
    S()(kCar, Car::KmFacturados) = Valor(1000.0);
    S()(kCar, Car::HorasFacturadas) = Valor(20.0);
    S()(kCar, Car::ViajerosKm) = Valor(900.0);
    for (const auto &[s, i, v] : GetParam().entradas)
        S()(s, i) = v;
    c.Actualizar();
    for (const auto &[slot, cifra] : GetParam().esperado)
        EXPECT_EQ(n(kRes, slot), cifra) << slot;
}

INSTANTIATE_TEST_SUITE_P(
    Modelo, Resultados,
    ::testing::Values(
        // C1 = 60.000 / 900 = 66,66666... to four decimals.
        CasoResultados{"autocar",
                       {},
                       {{Res::Amortizacion, 60000.0}, {Res::Totales, 60000.0}, {Res::C1, 66.6667}, {Res::C2, 0.0},
                        {Res::C3, 3000.0}, {Res::C4, 60.0}, {Res::C5, 3000.0}}},
        // Tolls are kilometre costs: C2 = 5.000 / 1.000, C5 = 65.000 / 20.
        CasoResultados{"peajes",
                       {{kVar, Var::Peajes, 5000.0}},
                       {{Res::Kilometricos, 5000.0}, {Res::Totales, 65000.0}, {Res::C1, 72.2222}, {Res::C2, 5.0},
                        {Res::C3, 3000.0}, {Res::C4, 65.0}, {Res::C5, 3250.0}}},
        // Indirect costs count in C3: (60.000 + 1.000) / 20.
        CasoResultados{"indirectos",
                       {{kVar, Var::Peajes, 5000.0}, {kInd, Ind::Estructura, 1000.0}, {kInd, Ind::Total, 1000.0}},
                       {{Res::Estructura, 1000.0}, {Res::Indirectos, 1000.0}, {Res::Totales, 66000.0},
                        {Res::C1, 73.3333}, {Res::C2, 5.0}, {Res::C3, 3050.0}, {Res::C4, 66.0}, {Res::C5, 3300.0}}},
        // Two trailing tyres of 300 for 60.000 km: 50 a year over 5.000 km,
        // and 600 less to amortise (5.400 over 0,1 years).
        CasoResultados{"neumaticos de arrastre",
                       {{kVar, Var::NeumaticosArrastre, 2.0}, {kVar, Var::PrecioArrastre, 300.0},
                        {kVar, Var::DuracionArrastre, 60000.0}},
                       {{Res::Neumaticos, 50.0}, {Res::Amortizacion, 54000.0}, {Res::Totales, 54050.0},
                        {Res::C1, 60.0556}, {Res::C2, 0.05}, {Res::C3, 2700.0}, {Res::C4, 54.05}, {Res::C5, 2702.5}}},
        // Rented: the two rents are the amortisation, nothing is financed.
        CasoResultados{"alquilado",
                       {{kF1, F1::CompraAutocar, false}, {kF1, F1::AlquilerAutocar, 24000.0},
                        {kF1, F1::CompraEquipos, false}, {kF1, F1::AlquilerEquipos, 1200.0}},
                       {{Res::Amortizacion, 25200.0}, {Res::Financiacion, 0.0}, {Res::Totales, 25200.0},
                        {Res::C1, 28.0}, {Res::C3, 1260.0}, {Res::C4, 25.2}}},
        // Tyres worth more than the coach: no amortisation, never a negative one.
        CasoResultados{"neumaticos mas caros que el autocar",
                       {{kF1, F1::VidaAutocar, 5.0}, {kF1, F1::ResidualAutocar, 1000.0},
                        {kVar, Var::NeumaticosDireccionales, 6.0}, {kVar, Var::PrecioDireccional, 1000.0}},
                       {{Res::Amortizacion, 0.0}}},
        // (6.000 - 1.000 - 6 × 100) over 5 years.
        CasoResultados{"neumaticos descontados",
                       {{kF1, F1::VidaAutocar, 5.0}, {kF1, F1::ResidualAutocar, 1000.0},
                        {kVar, Var::NeumaticosDireccionales, 6.0}, {kVar, Var::PrecioDireccional, 100.0}},
                       {{Res::Amortizacion, 880.0}}}),
    [](const auto &info) {
        std::string n = info.param.nombre;
        std::replace(n.begin(), n.end(), ' ', '_');
        return n;
    });

TEST_F(Modelo, FinanciacionPorAnualidades)
{
    S()(kF1, F1::VidaAutocar) = Valor(10.0);
    S()(kF1, F1::FinanciadoAutocar) = Valor(100000.0);
    S()(kF1, F1::PeriodoAutocar) = Valor(5.0);
    S()(kF1, F1::InteresAutocar) = Valor(6.0);
    S()(kF1, F1::FinanciadoEquipos) = Valor(0.0);
    c.Actualizar();
    const double q = std::pow(1.06, 5.0);
    const double cuota = 100000.0 * 0.06 * q / (q - 1);
    EXPECT_EQ(n(kRes, Res::Financiacion), *Redondear((cuota * 5 - 100000.0) / 10.0, 2));
}

TEST_F(Modelo, CostesUnitariosEnBlancoSinDivisor)
{
    S()(kCar, Car::ViajerosKm) = Valor(0.0);
    S()(kCar, Car::KmFacturados) = Valor(0.0);
    S()(kCar, Car::HorasFacturadas) = Valor(1000.0);
    c.Actualizar();
    for (int n : {Res::ViajerosKm, Res::C1, Res::KmFacturados, Res::C2, Res::C4})
        EXPECT_TRUE(c.columnaS()(kRes, n).vacio()) << n;
    for (int n : {Res::HorasFacturadas, Res::C3, Res::C5})
        EXPECT_FALSE(c.columnaS()(kRes, n).vacio()) << n;
    EXPECT_EQ(c.columnaS()(kRes, Res::cuota(Res::Totales)).n(), 100.0);
    // Shares add up from the slots; the labels show them with one decimal.
    EXPECT_EQ(c.textoMostrado(Col::S, kRes, Res::cuota(Res::Totales)), "100,0");
}

TEST_F(Modelo, IndirectosEnTotalCuentanPorElTotal)
{
    S()(kInd, Ind::Estructura) = Valor(1000.0);
    S()(kInd, Ind::Total) = Valor(5000.0);
    c.cambiarOpcion(Col::S, kInd, Ind::Desglosado, 2);
    c.Actualizar();
    EXPECT_EQ(n(kRes, Res::Indirectos), 5000.0);
    EXPECT_EQ(n(kRes, Res::Totales), n(kRes, Res::Directos) + 5000.0);
}

TEST_F(Modelo, CosteDeUnServicio)
{
    S()(kRes, Res::C2) = Valor(0.8);
    S()(kRes, Res::C3) = Valor(20.0);
    S()(kRes, Res::C4) = Valor(1.25);
    S()(kRes, Res::C5) = Valor(40.0);
    S()(kServ, Serv::campo(0, Serv::Propios)) = Valor(500.0);
    S()(kServ, Serv::campo(0, Serv::Km)) = Valor(200.0);
    S()(kServ, Serv::campo(0, Serv::Horas)) = Valor(0.0);
    // CalcularServicio through Revisar with the results fixed above.
    S()(kCar, Car::KmFacturados) = Valor(10000.0);
    S()(kCar, Car::HorasFacturadas) = Valor(100.0);
    S()(kRes, Res::C1) = Valor(0.05);
    c.Revisar();
    EXPECT_EQ(n(kServ, Serv::campo(0, Serv::PrecioKm)), 750.0);
    EXPECT_TRUE(S()(kServ, Serv::campo(0, Serv::PrecioKmYHoras)).vacio());
    EXPECT_TRUE(S()(kServ, Serv::campo(0, Serv::PrecioHoras)).vacio());
    EXPECT_EQ(n(kServ, Serv::C1), 0.05);
    // Own costs with neither kilometres nor hours show no cost at all.
    S()(kServ, Serv::campo(1, Serv::Propios)) = Valor(300.0);
    c.Revisar();
    for (Serv::Fila f : {Serv::PrecioKmYHoras, Serv::PrecioKm, Serv::PrecioHoras})
        EXPECT_TRUE(S()(kServ, Serv::campo(1, f)).vacio()) << f;
}

TEST_F(Modelo, CadaServicioSeRevaloraAlCambiarSusKilometrosOSusHoras)
{
    // C2 = 5, C3 = 3.000, C4 = 65 and C5 = 3.250, as in the results above.
    S()(kCar, Car::KmFacturados) = Valor(1000.0);
    S()(kCar, Car::HorasFacturadas) = Valor(20.0);
    S()(kVar, Var::Peajes) = Valor(5000.0);
    c.Actualizar();
    constexpr double kBlanco = std::numeric_limits<double>::quiet_NaN();
    // Commits to service 2, and its prices by kilometres and hours (own +
    // km × C2 + hours × C3), by kilometres (own + km × C4) and by hours
    // (own + hours × C5) after each; blank without kilometres or hours.
    const struct {
        Serv::Fila fila;
        double valor, kmYHoras, km, horas;
    } pasos[] = {
        {Serv::Propios, 100.0, kBlanco, kBlanco, kBlanco},
        {Serv::Km, 10.0, kBlanco, 750.0, kBlanco},
        {Serv::Horas, 2.0, 6150.0, 750.0, 6600.0},
        {Serv::Horas, 3.0, 9150.0, 750.0, 9850.0},
        {Serv::Km, 20.0, 9200.0, 1400.0, 9850.0},
    };
    for (const auto &p : pasos) {
        SCOPED_TRACE(std::to_string(p.fila) + " = " + std::to_string(p.valor));
        const int i = Serv::campo(1, p.fila);
        ASSERT_FALSE(c.ConfirmarCampo(kServ, i, Valor(p.valor), c.columnaS()(kServ, i)).rechazado);
        const std::pair<Serv::Fila, double> precios[] = {
            {Serv::PrecioKmYHoras, p.kmYHoras}, {Serv::PrecioKm, p.km}, {Serv::PrecioHoras, p.horas}};
        for (const auto &[fila, precio] : precios) {
            const Valor &v = c.columnaS()(kServ, Serv::campo(1, fila));
            if (std::isnan(precio))
                EXPECT_TRUE(v.vacio()) << fila;
            else
                EXPECT_EQ(v.n(), precio) << fila;
        }
        for (int k : {0, 2, 3, 4}) // the other services are not touched
            EXPECT_TRUE(c.columnaS()(kServ, Serv::campo(k, Serv::PrecioKm)).vacio()) << k;
    }
}

TEST_F(Modelo, RevisarAnulaServiciosPorEncimaDelTotal)
{
    S()(kCar, Car::KmFacturados) = Valor(1000.0);
    S()(kCar, Car::HorasFacturadas) = Valor(50.0);
    S()(kServ, Serv::campo(1, Serv::Km)) = Valor(1000.0); // equal: kept
    S()(kServ, Serv::campo(2, Serv::Km)) = Valor(1000.5);
    S()(kServ, Serv::campo(2, Serv::Horas)) = Valor(60.0);
    c.Revisar();
    EXPECT_EQ(n(kServ, Serv::campo(1, Serv::Km)), 1000.0);
    EXPECT_EQ(n(kServ, Serv::campo(2, Serv::Km)), 0.0);
    EXPECT_EQ(n(kServ, Serv::campo(2, Serv::Horas)), 0.0);
    EXPECT_TRUE(S()(kServ, Serv::C1).vacio() == S()(kRes, Res::C1).esCero());
}

TEST_F(Modelo, UnCambioDeServicioRecalculaResultadosYSoloEseServicio)
{
    S()(kCar, Car::KmAnuales) = Valor(100000.0);
    S()(kCar, Car::PctKmFacturados) = Valor(50.0);
    c.Recalcular(kCar, Col::S, Car::KmAnuales);
    S()(kCar, Car::HorasAnuales) = Valor(2000.0);
    c.Recalcular(kCar, Col::S, Car::HorasAnuales);
    Registro r(c);
    poner(kServ, Serv::campo(2, Serv::Km), Valor(100.0));
    EXPECT_EQ(r.resultados, 1);
    for (int i = Serv::C1; i <= tamano(kServ); ++i) {
        const bool esperado = i >= Serv::base(2) && Serv::servicio(i) == 2 && Serv::fila(i) >= Serv::PrecioKmYHoras;
        EXPECT_EQ(r.tocado(Col::S, kServ, i), esperado) << i;
    }
    EXPECT_FALSE(c.columnaS()(kServ, Serv::campo(2, Serv::PrecioKm)).vacio());
}

TEST_F(Modelo, HayCambiosComparaLasEntradasGuardadas)
{
    EXPECT_FALSE(c.HayCambios());
    poner(kCar, Car::KmFacturados, Valor(1.0)); // derived: not stored
    O()(kCar, Car::Plazas) = Valor(99.0);
    EXPECT_FALSE(c.HayCambios());
    S()(kCar, Car::Plazas) = Valor(55.0);
    EXPECT_TRUE(c.HayCambios());
    S()(kCar, Car::Plazas) = Valor(10.0); // the old value typed back
    EXPECT_FALSE(c.HayCambios());
    c.grabadaParaPruebas()(kServ, Serv::base(0)) = Valor();
    S()(kServ, Serv::base(0)) = Valor(0.0); // an empty entry equals 0
    EXPECT_FALSE(c.HayCambios());
}

TEST_F(Modelo, UnPrecioQueNoEsNumeroNoTocaElDescuento)
{
    // Only an edited file can hold a text here; the comparison cannot be
    // made, so the discount stays as it was.
    S()(kVar, Var::Descuento) = Valor(0.09);
    poner(kVar, Var::PrecioCarburante, Valor("abc"));
    EXPECT_EQ(n(kVar, Var::Descuento), 0.09);
    poner(kVar, Var::PrecioCarburante, Valor(QString()));
    EXPECT_EQ(n(kVar, Var::Descuento), 0.09);
    poner(kVar, Var::PrecioCarburante, Valor(0.1)); // a real price below the discount resets it
    EXPECT_EQ(n(kVar, Var::Descuento), 0.0);
}

TEST_F(Modelo, UnServicioConTextoEnLosKilometrosNoSeToca)
{
    // Only an edited file can hold this: the comparisons cannot be made,
    // so the entry and the costs that depend on it stay as they were.
    S()(kCar, Car::KmFacturados) = Valor(-5.0);
    S()(kServ, Serv::campo(1, Serv::Km)) = Valor(QString());
    S()(kServ, Serv::campo(1, Serv::PrecioKm)) = Valor(123.0);
    S()(kServ, Serv::campo(1, Serv::PrecioKmYHoras)) = Valor(77.0);
    c.Revisar();
    EXPECT_TRUE(S()(kServ, Serv::campo(1, Serv::Km)).esTexto());
    EXPECT_EQ(n(kServ, Serv::campo(1, Serv::PrecioKmYHoras)), 77.0); // km and hours: the test fails
    EXPECT_EQ(n(kServ, Serv::campo(1, Serv::PrecioKm)), 123.0);      // km only: the test fails
    EXPECT_TRUE(S()(kServ, Serv::campo(1, Serv::PrecioHoras)).vacio()); // hours only: 0 hours, no cost
}

TEST_F(Modelo, CadaCambioDejaLosResultadosAlDiaUnaVez)
{
    Registro r(c);
    c.ConfirmarCampo(kF2, F2::Sueldo, Valor(41000.0), c.columnaS()(kF2, F2::Sueldo));
    EXPECT_EQ(n(kRes, Res::Personal), 41000.0);
    EXPECT_EQ(n(kRes, Res::Amortizacion), 60000.0); // the minimums: 6.000 over 0,1 years
    c.cambiarOpcion(Col::S, kF1, F1::CompraAutocar, 2); // rented, for a rent of 0
    EXPECT_EQ(n(kRes, Res::Amortizacion), 0.0);
    EXPECT_EQ(r.resultados, 2);
    // A calculation opened: results once, at the end of the replay.
    r.resultados = 0;
    ASSERT_EQ(AbrirArchivo(c, QStringLiteral(PELMORA_DATOS "/Vededizaviro/Autocar Estandar 39 a 55 plazas.obs")),
              ErrorArchivo::Ninguno);
    EXPECT_EQ(r.resultados, 1);
    EXPECT_GT(n(kRes, Res::Totales), 0.0);
}

TEST_F(Modelo, UnaCopiaNoAvisaALasVistasDelOriginal)
{
    Registro r(c);
    const std::unique_ptr<Calculo> copia = c.clonar();
    copia->ConfirmarCampo(kCar, Car::Plazas, Valor(55.0), Valor(10.0));
    EXPECT_TRUE(r.campos.empty());
    EXPECT_EQ(r.resultados, 0);
    EXPECT_EQ(n(kCar, Car::Plazas), 10.0);
    EXPECT_EQ(copia->columnaS()(kCar, Car::Plazas).n(), 55.0);
    EXPECT_TRUE(copia->HayCambios());
    EXPECT_FALSE(c.HayCambios());
}

namespace {

// Two copies of the user column: the first difference, if any.
::testing::AssertionResult mismaColumnaS(const EntradasUsuario &a, const EntradasUsuario &b)
{
    if (a.comentario != b.comentario)
        return ::testing::AssertionFailure() << "comentario";
    for (const DatosSeccion &d : kSecciones) {
        for (int i = 1; i <= d.tamano; ++i) {
            const auto &ea = a.campos[ord(d.seccion)][i], &eb = b.campos[ord(d.seccion)][i];
            if (a.columna(d.seccion, i) != b.columna(d.seccion, i) || ea.vacio != eb.vacio || ea.entrada != eb.entrada)
                return ::testing::AssertionFailure() << datosSeccion(d.seccion).codigo << " " << i;
        }
    }
    return ::testing::AssertionSuccess();
}

struct CambioDeshecho {
    const char *nombre;
    std::function<void(Calculo &)> antes; // what leads up to it
    std::function<void(Calculo &)> cambio;
};

void confirmar(Calculo &c, Seccion s, int i, const Valor &v) { c.ConfirmarCampo(s, i, v, c.columnaS()(s, i)); }

const CambioDeshecho kCambiosDeshechos[] = {
    {"precio que anula el descuento",
     [](Calculo &c) {
         confirmar(c, kVar, Var::PrecioCarburante, Valor(1.0));
         confirmar(c, kVar, Var::Descuento, Valor(0.5));
     },
     [](Calculo &c) { confirmar(c, kVar, Var::PrecioCarburante, Valor(0.8)); }},
    {"seguros desglosados tras un total tecleado",
     [](Calculo &c) {
         c.cambiarOpcion(Col::S, kF2, F2::SegurosDesglosados, 2);
         confirmar(c, kF2, F2::Seguros, Valor(1.0));
     },
     [](Calculo &c) { c.cambiarOpcion(Col::S, kF2, F2::SegurosDesglosados, 1); }},
    {"indirectos en total", [](Calculo &) {}, [](Calculo &c) { c.cambiarOpcion(Col::S, kInd, Ind::Desglosado, 2); }},
    {"equipos sin precio", [](Calculo &) {}, [](Calculo &c) { confirmar(c, kF1, F1::PrecioEquipos, Valor(0.0)); }},
    {"kilometros de un servicio", [](Calculo &c) { confirmar(c, kServ, Serv::campo(2, Serv::Propios), Valor(900.0)); },
     [](Calculo &c) { confirmar(c, kServ, Serv::campo(2, Serv::Km), Valor(1500.0)); }},
    {"descripcion", [](Calculo &) {}, [](Calculo &c) { confirmar(c, kCar, Car::Descripcion, Valor("Otro autocar")); }},
};

} // namespace

// A change undone and done again: the user column comes back exactly (boxes'
// looks and comment too), announced box by box, with the figures a load of
// the same entries gives once the service is reviewed; the saved copy and
// the date stay.
TEST(Deshacer, RestaurarEntradasDevuelveLaColumnaTalCual)
{
    fijarSeparadores(QLocale(QLocale::Spanish, QLocale::Spain));
    for (const CambioDeshecho &k : kCambiosDeshechos) {
        SCOPED_TRACE(k.nombre);
        Calculo c;
        ASSERT_EQ(AbrirArchivo(c, QStringLiteral(PELMORA_DATOS "/Vededizaviro/Autocar Estandar 39 a 55 plazas.obs")),
                  ErrorArchivo::Ninguno);
        k.antes(c);
        const EntradasUsuario antes = c.entradasUsuario();
        int empezados = 0, terminados = 0;
        QObject::connect(&c, &Calculo::cambioEmpezado, [&] { ++empezados; });
        QObject::connect(&c, &Calculo::cambioTerminado, [&] { ++terminados; });
        k.cambio(c);
        EXPECT_EQ(empezados, 1);
        EXPECT_EQ(terminados, 1);
        const EntradasUsuario despues = c.entradasUsuario();
        EXPECT_FALSE(Calculo::mismasEntradas(antes.columna, despues.columna));
        c.marcarGrabado(QDate(2030, 1, 2));

        Registro r(c);
        c.restaurarEntradas(antes);
        EXPECT_TRUE(mismaColumnaS(c.entradasUsuario(), antes));
        EXPECT_EQ(empezados, 1);
        EXPECT_EQ(r.resultados, 1);
        EXPECT_TRUE(r.tocado(Col::S, kVar, Var::Descuento) && r.tocado(Col::S, kServ, Serv::C1));
        EXPECT_EQ(c.columnaS().Fecha, QDate(2030, 1, 2));
        EXPECT_TRUE(c.HayCambios());
        EXPECT_EQ(c.descripcionTitulos(), antes.columna(kCar, Car::Descripcion).texto());
        c.Revisar(); // the service, as its form brings it up to date
        Calculo cargado;
        cargado.cargarColumnas(c.columnaS(), c.columnaO());
        for (const DatosSeccion &d : kSecciones)
            for (int i = 1; i <= d.tamano; ++i)
                EXPECT_EQ(cargado.columnaS()(d.seccion, i), c.columnaS()(d.seccion, i)) << d.codigo << " " << i;

        c.restaurarEntradas(despues);
        EXPECT_TRUE(mismaColumnaS(c.entradasUsuario(), despues));
        EXPECT_FALSE(c.HayCambios());
    }
}
