// Four faults of the cost model, each case here failing before its mend: a
// calculation saved with item sums that binary fractions cannot hold
// exactly came back "modified" when opened; a discount of exactly 60 % of
// the price was reset when the same price was entered again; financing
// without interest gave a negative cost; a tyre row without tyres and
// without a life made the whole tyre cost 0.
#include "archivos/archivo.h"
#include "calculo/campos.h"
#include "entrada/numeros.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace pelmora;

namespace {

class Arreglos : public ::testing::Test {
protected:
    void SetUp() override { fijarSeparadores(QLocale(QLocale::Spanish, QLocale::Spain)); }
};

} // namespace

TEST_F(Arreglos, UnCalculoRecienAbiertoNoCuentaComoModificado)
{
    QTemporaryDir dir;
    Calculo c;
    ASSERT_EQ(AbrirArchivo(c, QStringLiteral(PELMORA_DATOS "/Vededizaviro/Autocar Estandar 39 a 55 plazas.obs")),
              ErrorArchivo::Ninguno);
    // Items whose sum is not exact in binary floating point.
    c.ConfirmarCampo(kF2, F2::SeguroObligatorio, Valor(100.10), c.columnaS()(kF2, F2::SeguroObligatorio));
    for (int i = 11; i <= 17; ++i)
        c.ConfirmarCampo(kF2, i, Valor(i == 11 ? 200.20 : 0.0), c.columnaS()(kF2, i));
    ASSERT_EQ(c.columnaS()(kF2, F2::Seguros).n(), 100.10 + 200.20);
    ASSERT_NE(c.columnaS()(kF2, F2::Seguros).n(), 300.3);
    const QString f = dir.filePath("seguros.clc");
    ASSERT_EQ(GrabarCalculo(c, f), ErrorArchivo::Ninguno);
    Calculo d;
    ASSERT_EQ(AbrirArchivo(d, f), ErrorArchivo::Ninguno);
    EXPECT_FALSE(d.HayCambios());
}

TEST_F(Arreglos, UnDescuentoAceptadoSobreviveAlCambioDePrecio)
{
    Calculo c;
    c.columnaParaPruebas(Col::S)(kVar, Var::PrecioCarburante) = Valor(0.3165);
    const Validacion v = c.ConfirmarCampo(kVar, Var::Descuento, Valor(0.1899), Valor(0.0));
    ASSERT_FALSE(v.rechazado); // exactly 60 % of the price
    c.ConfirmarCampo(kVar, Var::PrecioCarburante, Valor(0.3165), Valor(0.3165)); // the price entered again
    EXPECT_EQ(c.columnaS()(kVar, Var::Descuento).n(), 0.1899);
    EXPECT_EQ(c.columnaS()(kVar, Var::PctDescuento).n(), 60.0);
    // Above the maximum share it still falls to the minimum one.
    c.ConfirmarCampo(kVar, Var::PrecioCarburante, Valor(0.3), Valor(0.3165));
    EXPECT_EQ(c.columnaS()(kVar, Var::Descuento).n(), 0.0);
}

TEST_F(Arreglos, FinanciacionSinInteresNoDaCosteNegativo)
{
    Calculo c;
    Columna &S = c.columnaParaPruebas(Col::S);
    S(kF1, F1::VidaAutocar) = Valor(10.0);
    S(kF1, F1::FinanciadoAutocar) = Valor(100000.0);
    S(kF1, F1::PeriodoAutocar) = Valor(5.0);
    S(kF1, F1::InteresAutocar) = Valor(0.0); // no interest: the instalment cannot be worked out
    S(kF1, F1::VidaEquipos) = Valor(5.0);
    S(kF1, F1::FinanciadoEquipos) = Valor(10000.0);
    S(kF1, F1::PeriodoEquipos) = Valor(2.0);
    S(kF1, F1::InteresEquipos) = Valor(5.0);
    c.Actualizar();
    const double q = 1.05 * 1.05;
    const double cuota = 10000.0 * 0.05 * q / (q - 1);
    EXPECT_EQ(S(kRes, Res::Financiacion).n(), *Redondear((cuota * 2 - 10000.0) / 5.0, 2));
    // A period of 0 neither.
    S(kF1, F1::InteresAutocar) = Valor(5.0);
    S(kF1, F1::PeriodoAutocar) = Valor(0.0);
    S(kF1, F1::FinanciadoEquipos) = Valor(0.0);
    c.Actualizar();
    EXPECT_EQ(S(kRes, Res::Financiacion).n(), 0.0);
}

TEST_F(Arreglos, UnaFilaSinNeumaticosNoBorraElCoste)
{
    Calculo c;
    Columna &S = c.columnaParaPruebas(Col::S);
    S(kCar, Car::KmAnuales) = Valor(100000.0);
    S(kVar, Var::NeumaticosDireccionales) = Valor(2.0);
    S(kVar, Var::PrecioDireccional) = Valor(400.0);
    S(kVar, Var::DuracionDireccional) = Valor(100000.0);
    S(kVar, Var::NeumaticosMotrices) = Valor(4.0);
    S(kVar, Var::PrecioMotriz) = Valor(500.0);
    S(kVar, Var::DuracionMotriz) = Valor(80000.0);
    S(kVar, Var::NeumaticosArrastre) = Valor(0.0);
    S(kVar, Var::DuracionArrastre) = Valor(); // no life for the row without tyres
    c.Actualizar();
    EXPECT_EQ(S(kRes, Res::Neumaticos).n(), *Redondear((2 * 400.0 / 100000.0 + 4 * 500.0 / 80000.0) * 100000.0, 2));
    // A row with tyres and no life still makes the whole cost fail.
    S(kVar, Var::DuracionMotriz) = Valor(0.0);
    c.Actualizar();
    EXPECT_EQ(S(kRes, Res::Neumaticos).n(), 0.0);
}
