#include "archivos/archivo.h"
#include "calculo/calculo.h"
#include "entrada/numeros.h"

#include <gtest/gtest.h>

using namespace pelmora;

namespace {

constexpr Seccion kCar = Seccion::Caracteristicas;
constexpr Seccion kF1 = Seccion::CostesFijos1;
constexpr Seccion kF2 = Seccion::CostesFijos2;
constexpr Seccion kVar = Seccion::CostesVariables;
constexpr Seccion kInd = Seccion::CostesIndirectos;
constexpr Seccion kRes = Seccion::Resultados;
constexpr Seccion kServ = Seccion::Servicio;

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
    // Sets an entry of a column and recalculates as a commit would.
    void poner(Seccion s, int i, const Valor &v, Col col = Col::S)
    {
        c.columnaParaPruebas(col)(s, i) = v;
        c.Recalcular(s, col, i);
    }
    double n(Seccion s, int i, Col col = Col::S) { return c.columna(col)(s, i).n(); }
    QString t(Seccion s, int i, Col col = Col::S) { return c.textoMostrado(col, s, i); }
    Calculo c;
};

} // namespace

TEST_F(Modelo, IniciarTablasDejaLosMinimos)
{
    poner(kCar, 2, Valor(55.0));
    c.IniciarTablas();
    EXPECT_EQ(c.columnaS()(kCar, 1).texto(), "A");
    EXPECT_TRUE(c.columnaS()(kCar, 7).esTexto());
    EXPECT_TRUE(c.columnaS()(kCar, 7).texto().isEmpty());
    EXPECT_EQ(n(kCar, 2), 10.0);
    EXPECT_EQ(n(kF1, 2), 6000.0);
    EXPECT_EQ(n(kCar, 9), 5000.0);
    EXPECT_TRUE(c.columnaS()(kF1, 1).booleano());
    EXPECT_EQ(n(kServ, 2), 0.0);
    EXPECT_TRUE(c.columnaS()(kServ, 2).esNumero());
    EXPECT_TRUE(c.columnaS()(kRes, 18).vacio());
    EXPECT_TRUE(c.columnaS()(kCar, 11).vacio());
    EXPECT_FALSE(c.HayCambios());
}

TEST_F(Modelo, RepartoDeKilometrosYHoras)
{
    poner(kCar, 9, Valor(100000.0));
    poner(kCar, 10, Valor(33.3));
    EXPECT_EQ(n(kCar, 11), 33300.0);
    EXPECT_EQ(t(kCar, 12), "66,7");
    EXPECT_EQ(n(kCar, 13), 66700.0);
    poner(kCar, 9, Valor(120001.0));
    EXPECT_EQ(n(kCar, 11), 39960.0);
    EXPECT_EQ(n(kCar, 13), 80041.0);
    poner(kCar, 14, Valor(2000.0));
    poner(kCar, 15, Valor(75.0));
    EXPECT_EQ(n(kCar, 16), 1500.0);
    EXPECT_EQ(n(kCar, 18), 500.0);
}

TEST_F(Modelo, ViajerosYProduccion)
{
    c.columnaParaPruebas(Col::S)(kCar, 2) = Valor(55.0);
    c.columnaParaPruebas(Col::S)(kCar, 9) = Valor(100000.0);
    c.columnaParaPruebas(Col::S)(kCar, 19) = Valor(80.0);
    poner(kCar, 21, Valor(60.0));
    EXPECT_EQ(n(kCar, 20), 80000.0);
    EXPECT_EQ(n(kCar, 22), 32.4);
    EXPECT_EQ(n(kCar, 23), 2592000.0);
    EXPECT_EQ(t(kCar, 23), "2.592.000");
}

TEST_F(Modelo, ValorResidualYCapitalFinanciado)
{
    c.columnaParaPruebas(Col::S)(kF1, 4) = Valor(10.0);
    c.columnaParaPruebas(Col::S)(kF1, 6) = Valor(125.0);
    poner(kF1, 2, Valor(150000.0));
    EXPECT_EQ(n(kF1, 5), 15000.0);
    EXPECT_EQ(n(kF1, 7), 187500.0);
    EXPECT_EQ(t(kF1, 7), "187.500,00");
}

TEST_F(Modelo, DietasYPlus)
{
    c.columnaParaPruebas(Col::S)(kF2, 7) = Valor(1500.0);
    c.columnaParaPruebas(Col::S)(kF2, 4) = Valor(220.0);
    poner(kF2, 3, Valor(30.0));
    EXPECT_EQ(n(kF2, 5), 6600.0);
    EXPECT_EQ(n(kF2, 8), 8100.0);
}

TEST_F(Modelo, CarburanteSinIva)
{
    c.columnaParaPruebas(Col::S)(kVar, 3) = Valor(0.05);
    c.columnaParaPruebas(Col::S)(kVar, 4) = Valor(21.0);
    poner(kVar, 1, Valor(1.2));
    EXPECT_EQ(n(kVar, 2), 4.2);
    EXPECT_NEAR(n(kVar, 6), 0.950413223, 1e-9);
    EXPECT_EQ(t(kVar, 6), "0,9504");
    EXPECT_EQ(n(kVar, 5), 0.1996);
    // A price of 0 gives a discount percentage of 0 and no failure.
    c.columnaParaPruebas(Col::S)(kVar, 3) = Valor(0.0);
    poner(kVar, 1, Valor(0.0));
    EXPECT_EQ(n(kVar, 2), 0.0);
}

TEST_F(Modelo, BajarElPrecioAnulaUnDescuentoExcesivo)
{
    c.columnaParaPruebas(Col::S)(kVar, 4) = Valor(21.0);
    poner(kVar, 1, Valor(1.0));
    poner(kVar, 3, Valor(0.5));
    EXPECT_EQ(n(kVar, 2), 50.0);
    poner(kVar, 1, Valor(0.8)); // 0.5 is 62.5 % of 0.8
    EXPECT_EQ(n(kVar, 3), 0.0);
    EXPECT_EQ(n(kVar, 2), 0.0);
    EXPECT_NEAR(n(kVar, 6), 0.8 / 1.21, 1e-12);
}

TEST_F(Modelo, SumasDeSegurosYVacios)
{
    for (int i = 10; i <= 17; ++i)
        c.columnaParaPruebas(Col::S)(kF2, i) = Valor();
    poner(kF2, 10, Valor());
    EXPECT_EQ(t(kF2, 18), "");
    poner(kF2, 12, Valor(100.5));
    EXPECT_EQ(n(kF2, 18), 100.5);
    // In "Total" mode a change of an item changes nothing else.
    c.cambiarOpcion(Col::S, kF2, 9, 2);
    poner(kF2, 13, Valor(50.0));
    EXPECT_EQ(n(kF2, 18), 100.5);
}

TEST_F(Modelo, KilometrosCruzanSecciones)
{
    c.columnaParaPruebas(Col::S)(kF2, 6) = Valor(0.02);
    c.columnaParaPruebas(Col::S)(kVar, 17) = Valor(0.1);
    Registro r(c);
    poner(kCar, 9, Valor(100000.0));
    EXPECT_EQ(n(kF2, 7), 2000.0);
    EXPECT_EQ(n(kVar, 18), 10000.0);
    EXPECT_TRUE(r.tocado(Col::S, kF2, 7));
    EXPECT_TRUE(r.tocado(Col::S, kF2, 8));
    EXPECT_FALSE(r.tocado(Col::O, kF2, 7)); // only the same column
    // With per-diems as a total the bonus boxes stay as they are.
    c.cambiarOpcion(Col::S, kF2, 2, 2);
    r.campos.clear();
    poner(kCar, 9, Valor(50000.0));
    EXPECT_EQ(n(kF2, 7), 2000.0);
    EXPECT_FALSE(r.tocado(Col::S, kF2, 8));
    EXPECT_EQ(n(kVar, 18), 5000.0);
}

TEST_F(Modelo, TitulosSiguenLaDescripcionDelUsuario)
{
    Registro r(c);
    poner(kCar, 1, Valor("Autocar de 55 plazas"));
    EXPECT_EQ(c.descripcionTitulos(), "Autocar de 55 plazas");
    poner(kCar, 1, Valor("Otro"), Col::O); // the reference column retitles with the user's
    EXPECT_EQ(c.descripcionTitulos(), "Autocar de 55 plazas");
    EXPECT_EQ(r.titulos, 2);
}

TEST_F(Modelo, FinanciacionHabilitaPeriodoEInteres)
{
    c.columnaParaPruebas(Col::S)(kF1, 8) = Valor(5.0);
    poner(kF1, 6, Valor(0.0));
    EXPECT_FALSE(c.estado(Col::S, kF1, 8).entrada);
    EXPECT_EQ(t(kF1, 8), "");
    EXPECT_EQ(n(kF1, 8), 5.0); // the value stays
    poner(kF1, 6, Valor(50.0));
    EXPECT_TRUE(c.estado(Col::S, kF1, 9).entrada);
    EXPECT_EQ(t(kF1, 8), "5,0");
}

TEST_F(Modelo, EquiposAuxiliares)
{
    poner(kF1, 12, Valor(0.0));
    for (int i : {13, 14, 16, 18, 19})
        EXPECT_FALSE(c.estado(Col::S, kF1, i).entrada) << i;
    c.columnaParaPruebas(Col::S)(kF1, 16) = Valor(0.0);
    poner(kF1, 12, Valor(5000.0));
    for (int i : {13, 14, 16})
        EXPECT_TRUE(c.estado(Col::S, kF1, i).entrada) << i;
    for (int i : {18, 19})
        EXPECT_FALSE(c.estado(Col::S, kF1, i).entrada) << i;
}

TEST_F(Modelo, NeumaticosDeReferenciaSinRuedasSeVacian)
{
    c.columnaParaPruebas(Col::O)(kVar, 9) = Valor(400.0);
    poner(kVar, 8, Valor(0.0), Col::O);
    EXPECT_EQ(t(kVar, 9, Col::O), "");
    EXPECT_EQ(n(kVar, 9, Col::O), 400.0);
    poner(kVar, 11, Valor(0.0));
    EXPECT_FALSE(c.estado(Col::S, kVar, 12).entrada);
}

TEST_F(Modelo, DesglosadoYTotal)
{
    for (int i = 10; i <= 17; ++i)
        c.columnaParaPruebas(Col::S)(kF2, i) = Valor(100.0 * i);
    c.Recalcular(kF2, Col::S, 10);
    const double suma = n(kF2, 18);
    c.cambiarOpcion(Col::S, kF2, 9, 2);
    EXPECT_FALSE(c.columnaS()(kF2, 9).booleano());
    EXPECT_EQ(t(kF2, 12), "");
    EXPECT_TRUE(c.estado(Col::S, kF2, 18).entrada);
    EXPECT_EQ(n(kF2, 18), suma);
    c.columnaParaPruebas(Col::S)(kF2, 18) = Valor(1.0); // a total typed in "Total" mode
    c.cambiarOpcion(Col::S, kF2, 9, 1);
    EXPECT_EQ(n(kF2, 18), suma);
    EXPECT_FALSE(c.estado(Col::S, kF2, 18).entrada);
    EXPECT_EQ(t(kF2, 12), "1.200,00");
    // Per-diems with a daily amount of 0: days stay disabled.
    c.columnaParaPruebas(Col::S)(kF2, 3) = Valor(0.0);
    c.cambiarOpcion(Col::S, kF2, 2, 2);
    EXPECT_FALSE(c.estado(Col::S, kF2, 5).entrada);
    c.cambiarOpcion(Col::S, kF2, 2, 1);
    EXPECT_TRUE(c.estado(Col::S, kF2, 3).entrada);
    EXPECT_FALSE(c.estado(Col::S, kF2, 4).entrada);
    EXPECT_EQ(t(kF2, 4), "");
}

TEST_F(Modelo, ComentarioDeCostesIndirectos)
{
    c.columnaParaPruebas(Col::S)(kInd, 5) = Valor(12000.0);
    c.cambiarOpcion(Col::S, kInd, 1, 2);
    // Direct costs as the results give them for the minimums.
    const double directos = n(kRes, 16);
    ASSERT_GT(directos, 0.0);
    const QString pct = FormatearNumero(Valor(*Redondear(100 * 12000.0 / directos, 1)), 1, true);
    EXPECT_EQ(c.comentario(Col::S),
              "Los  Costes  Indirectos  anuales  representan  el\r\n" + pct + "  %\r\nde  los  Costes  Directos.");
    c.cambiarOpcion(Col::S, kInd, 1, 1);
    EXPECT_TRUE(c.comentario(Col::S).isEmpty());
    // "Desglosado" never writes the comment.
    c.Comentario(Col::S);
    EXPECT_TRUE(c.comentario(Col::S).isEmpty());
}

TEST_F(Modelo, ComentarioConCostesDirectosCero)
{
    Columna &S = c.columnaParaPruebas(Col::S);
    // Nothing but the indirect total costs anything.
    S(kF1, 1) = Valor(false);
    S(kF1, 10) = Valor(0.0);
    S(kF1, 11) = Valor(false);
    S(kF1, 20) = Valor(0.0);
    S(kVar, 7) = Valor(0.0);
    S(kInd, 5) = Valor(500.0);
    c.cambiarOpcion(Col::S, kInd, 1, 2);
    EXPECT_EQ(n(kRes, 16), 0.0);
    EXPECT_TRUE(c.comentario(Col::S).contains("\r\n0,0  %\r\n"));
}

TEST_F(Modelo, ResultadosConAutocarAlquilado)
{
    Columna &S = c.columnaParaPruebas(Col::S);
    S(kF1, 1) = Valor(false);
    S(kF1, 10) = Valor(24000.0);
    S(kF1, 11) = Valor(false);
    S(kF1, 20) = Valor(1200.0);
    c.Actualizar();
    EXPECT_EQ(n(kRes, 1), 25200.0);
    EXPECT_EQ(n(kRes, 2), 0.0);
}

TEST_F(Modelo, AmortizacionNuncaNegativa)
{
    Columna &S = c.columnaParaPruebas(Col::S);
    S(kF1, 2) = Valor(6000.0);
    S(kF1, 3) = Valor(5.0);
    S(kF1, 5) = Valor(1000.0);
    S(kVar, 8) = Valor(6.0);
    S(kVar, 9) = Valor(1000.0); // tyres worth more than the coach
    S(kF1, 12) = Valor(0.0);
    c.Actualizar();
    EXPECT_EQ(n(kRes, 1), 0.0);
    S(kVar, 9) = Valor(100.0);
    c.Actualizar();
    EXPECT_EQ(n(kRes, 1), (6000.0 - 1000.0 - 600.0) / 5.0);
}

TEST_F(Modelo, FinanciacionPorAnualidades)
{
    Columna &S = c.columnaParaPruebas(Col::S);
    S(kF1, 3) = Valor(10.0);
    S(kF1, 7) = Valor(100000.0);
    S(kF1, 8) = Valor(5.0);
    S(kF1, 9) = Valor(6.0);
    S(kF1, 17) = Valor(0.0);
    c.Actualizar();
    const double q = std::pow(1.06, 5.0);
    const double cuota = 100000.0 * 0.06 * q / (q - 1);
    EXPECT_EQ(n(kRes, 2), *Redondear((cuota * 5 - 100000.0) / 10.0, 2));
}

TEST_F(Modelo, CostesUnitariosEnBlancoSinDivisor)
{
    c.columnaParaPruebas(Col::S)(kCar, 23) = Valor(0.0);
    c.columnaParaPruebas(Col::S)(kCar, 11) = Valor(0.0);
    c.columnaParaPruebas(Col::S)(kCar, 16) = Valor(1000.0);
    c.Actualizar();
    for (int n : {39, 40, 42, 45, 47})
        EXPECT_TRUE(c.columnaS()(kRes, n).vacio()) << n;
    for (int n : {44, 46, 48})
        EXPECT_FALSE(c.columnaS()(kRes, n).vacio()) << n;
    EXPECT_EQ(c.columnaS()(kRes, 38).n(), 100.0);
    // Shares add up from the slots; the labels show them with one decimal.
    EXPECT_EQ(c.textoMostrado(Col::S, kRes, 38), "100,0");
}

TEST_F(Modelo, IndirectosEnTotalCuentanPorElTotal)
{
    c.columnaParaPruebas(Col::S)(kInd, 2) = Valor(1000.0);
    c.columnaParaPruebas(Col::S)(kInd, 5) = Valor(5000.0);
    c.cambiarOpcion(Col::S, kInd, 1, 2);
    c.Actualizar();
    EXPECT_EQ(n(kRes, 17), 5000.0);
    EXPECT_EQ(n(kRes, 18), n(kRes, 16) + 5000.0);
}

TEST_F(Modelo, CosteDeUnServicio)
{
    Columna &S = c.columnaParaPruebas(Col::S);
    S(kRes, 45) = Valor(0.8);
    S(kRes, 46) = Valor(20.0);
    S(kRes, 47) = Valor(1.25);
    S(kRes, 48) = Valor(40.0);
    S(kServ, 2) = Valor(500.0);
    S(kServ, 3) = Valor(200.0);
    S(kServ, 4) = Valor(0.0);
    // CalcularServicio through Revisar with the results fixed above.
    S(kCar, 11) = Valor(10000.0);
    S(kCar, 16) = Valor(100.0);
    S(kRes, 40) = Valor(0.05);
    c.Revisar();
    EXPECT_EQ(n(kServ, 6), 750.0);
    EXPECT_TRUE(S(kServ, 5).vacio());
    EXPECT_TRUE(S(kServ, 7).vacio());
    EXPECT_EQ(n(kServ, 1), 0.05);
    // Own costs with neither kilometres nor hours show no cost at all.
    S(kServ, 8) = Valor(300.0);
    c.Revisar();
    for (int i : {11, 12, 13})
        EXPECT_TRUE(S(kServ, i).vacio()) << i;
}

TEST_F(Modelo, RevisarAnulaServiciosPorEncimaDelTotal)
{
    Columna &S = c.columnaParaPruebas(Col::S);
    S(kCar, 11) = Valor(1000.0);
    S(kCar, 16) = Valor(50.0);
    S(kServ, 9) = Valor(1000.0); // equal: kept
    S(kServ, 15) = Valor(1000.5);
    S(kServ, 16) = Valor(60.0);
    c.Revisar();
    EXPECT_EQ(n(kServ, 9), 1000.0);
    EXPECT_EQ(n(kServ, 15), 0.0);
    EXPECT_EQ(n(kServ, 16), 0.0);
    EXPECT_TRUE(S(kServ, 1).vacio() == S(kRes, 40).esCero());
}

TEST_F(Modelo, UnCambioDeServicioRecalculaResultadosYSoloEseServicio)
{
    c.columnaParaPruebas(Col::S)(kCar, 9) = Valor(100000.0);
    c.columnaParaPruebas(Col::S)(kCar, 10) = Valor(50.0);
    c.Recalcular(kCar, Col::S, 9);
    c.columnaParaPruebas(Col::S)(kCar, 14) = Valor(2000.0);
    c.Recalcular(kCar, Col::S, 14);
    Registro r(c);
    poner(kServ, 15, Valor(100.0));
    EXPECT_EQ(r.resultados, 1);
    for (int i = 1; i <= 31; ++i) {
        const bool esperado = i == 17 || i == 18 || i == 19;
        EXPECT_EQ(r.tocado(Col::S, kServ, i), esperado) << i;
    }
    EXPECT_FALSE(c.columnaS()(kServ, 18).vacio());
}

TEST_F(Modelo, HayCambiosComparaLasEntradasGuardadas)
{
    EXPECT_FALSE(c.HayCambios());
    poner(kCar, 11, Valor(1.0)); // derived: not stored
    c.columnaParaPruebas(Col::O)(kCar, 2) = Valor(99.0);
    EXPECT_FALSE(c.HayCambios());
    c.columnaParaPruebas(Col::S)(kCar, 2) = Valor(55.0);
    EXPECT_TRUE(c.HayCambios());
    c.columnaParaPruebas(Col::S)(kCar, 2) = Valor(10.0); // the old value typed back
    EXPECT_FALSE(c.HayCambios());
    c.grabadaParaPruebas()(kServ, 2) = Valor();
    c.columnaParaPruebas(Col::S)(kServ, 2) = Valor(0.0); // an empty entry equals 0
    EXPECT_FALSE(c.HayCambios());
}

TEST_F(Modelo, UnPrecioQueNoEsNumeroNoTocaElDescuento)
{
    // Only an edited file can hold a text here; the comparison cannot be
    // made, so the discount stays as it was.
    c.columnaParaPruebas(Col::S)(kVar, 3) = Valor(0.09);
    poner(kVar, 1, Valor("abc"));
    EXPECT_EQ(n(kVar, 3), 0.09);
    poner(kVar, 1, Valor(QString()));
    EXPECT_EQ(n(kVar, 3), 0.09);
    poner(kVar, 1, Valor(0.1)); // a real price below the discount resets it
    EXPECT_EQ(n(kVar, 3), 0.0);
}

TEST_F(Modelo, UnServicioConTextoEnLosKilometrosNoSeToca)
{
    // Only an edited file can hold this: the comparisons cannot be made,
    // so the entry and the costs that depend on it stay as they were.
    Columna &S = c.columnaParaPruebas(Col::S);
    S(kCar, 11) = Valor(-5.0);
    S(kServ, 9) = Valor(QString());
    S(kServ, 12) = Valor(123.0);
    S(kServ, 11) = Valor(77.0);
    c.Revisar();
    EXPECT_TRUE(S(kServ, 9).esTexto());
    EXPECT_EQ(n(kServ, 11), 77.0); // km and hours: the test fails
    EXPECT_EQ(n(kServ, 12), 123.0); // km only: the test fails
    EXPECT_TRUE(S(kServ, 13).vacio()); // hours only: 0 hours, no cost
}

TEST_F(Modelo, CadaCambioDejaLosResultadosAlDiaUnaVez)
{
    Registro r(c);
    c.ConfirmarCampo(kF2, 1, Valor(41000.0), c.columnaS()(kF2, 1));
    EXPECT_EQ(n(kRes, 3), 41000.0);
    EXPECT_EQ(n(kRes, 1), 60000.0); // the minimums: 6.000 over 0,1 years
    c.cambiarOpcion(Col::S, kF1, 1, 2); // rented, for a rent of 0
    EXPECT_EQ(n(kRes, 1), 0.0);
    EXPECT_EQ(r.resultados, 2);
    // A calculation opened: results once, at the end of the replay.
    r.resultados = 0;
    ASSERT_EQ(AbrirArchivo(c, QStringLiteral(PELMORA_DATOS "/Vededizaviro/Autocar Estandar 39 a 55 plazas.obs")),
              ErrorArchivo::Ninguno);
    EXPECT_EQ(r.resultados, 1);
    EXPECT_GT(n(kRes, 18), 0.0);
}

TEST_F(Modelo, UnaCopiaNoAvisaALasVistasDelOriginal)
{
    Registro r(c);
    const std::unique_ptr<Calculo> copia = c.clonar();
    copia->ConfirmarCampo(kCar, 2, Valor(55.0), Valor(10.0));
    EXPECT_TRUE(r.campos.empty());
    EXPECT_EQ(r.resultados, 0);
    EXPECT_EQ(n(kCar, 2), 10.0);
    EXPECT_EQ(copia->columnaS()(kCar, 2).n(), 55.0);
    EXPECT_TRUE(copia->HayCambios());
    EXPECT_FALSE(c.HayCambios());
}
