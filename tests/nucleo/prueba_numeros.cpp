#include "entrada/numeros.h"

#include <gtest/gtest.h>

using namespace pelmora;

namespace {

class Numeros : public ::testing::Test {
protected:
    void SetUp() override { fijarSeparadores(QLocale(QLocale::Spanish, QLocale::Spain)); }
    void TearDown() override { fijarSeparadores(QLocale(QLocale::Spanish, QLocale::Spain)); }
};

QString fmt(const Valor &v, int d, bool cero = false) { return FormatearNumero(v, d, cero); }

} // namespace

TEST_F(Numeros, RedondearMitadLejosDeCeroTrasQuinceCifras)
{
    EXPECT_EQ(*Redondear(2.675, 2), 2.68);
    EXPECT_EQ(*Redondear(1.005, 2), 1.01);
    EXPECT_EQ(*Redondear(-0.125, 2), -0.13);
    EXPECT_EQ(*Redondear(0.125, 2), 0.13);
    EXPECT_EQ(*Redondear(123.456, 0), 123.0);
    EXPECT_EQ(*Redondear(2.5, 0), 3.0);
    EXPECT_EQ(*Redondear(-2.5, 0), -3.0);
    EXPECT_EQ(*Redondear(0.0, 3), 0.0);
    EXPECT_EQ(*Redondear(39960.333, 0), 39960.0);
    EXPECT_EQ(*Redondear(0.950413223140496, 4), 0.9504);
    // Large values keep every integer digit.
    EXPECT_EQ(*Redondear(123456789012.345, 2), 123456789012.35);
    EXPECT_EQ(*Redondear(1e20, 2), 1e20);
}

TEST_F(Numeros, RedondearFallaAlDesbordar)
{
    EXPECT_FALSE(Redondear(1e300, 2).has_value());
    EXPECT_FALSE(Redondear(1e27, 4).has_value());
    EXPECT_FALSE(Redondear(std::numeric_limits<double>::infinity(), 0).has_value());
    EXPECT_TRUE(Redondear(1e24, 4).has_value());
}

TEST_F(Numeros, SeparadorDecimalSegunLaConfiguracionRegional)
{
    EXPECT_EQ(SeparadorDecimal(QLocale(QLocale::Spanish, QLocale::Spain)), QLatin1Char(','));
    EXPECT_EQ(SeparadorDecimal(QLocale(QLocale::English, QLocale::UnitedStates)), QLatin1Char('.'));
}

TEST_F(Numeros, FormatoEspanolAgrupaCadaTresCifras)
{
    EXPECT_EQ(fmt(1234567.891, 2), "1.234.567,89");
    EXPECT_EQ(fmt(12345.0, 0), "12.345");
    EXPECT_EQ(fmt(1234.0, 0), "1.234");
    EXPECT_EQ(fmt(-1234.5, 1), "-1.234,5");
    EXPECT_EQ(fmt(7.0, 3), "7,000");
    EXPECT_EQ(fmt(0.25, 2), "0,25");
    EXPECT_EQ(fmt(273200.0, 2), "273.200,00");
    EXPECT_EQ(fmt(2.675, 2), "2,68");
    EXPECT_EQ(fmt(123456789012.0, 0), "123.456.789.012");
}

TEST_F(Numeros, FormatoInglesUsaPuntoYComa)
{
    fijarSeparadores(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(fmt(1234567.891, 2), "1,234,567.89");
    EXPECT_EQ(fmt(-1234.5, 1), "-1,234.5");
    EXPECT_EQ(textoEdicion(Valor(12.5), 1), "12.5");
    EXPECT_EQ(LeerCampo("12.5", 1).numero(), 12.5);
}

TEST_F(Numeros, CeroYVacio)
{
    EXPECT_EQ(fmt(0.0, 2), "");
    EXPECT_EQ(fmt(0.0, 0, true), "0");
    EXPECT_EQ(fmt(0.0, 1, true), "0,0");
    EXPECT_EQ(fmt(Valor(), 2, true), "");
    EXPECT_EQ(fmt(0.004, 2), "0,00"); // only an exact zero is blanked
    EXPECT_EQ(fmt(-0.004, 2), "0,00");
    EXPECT_EQ(fmt(Valor("0"), -1), "0"); // free text shows as it is
    EXPECT_EQ(fmt(Valor("  texto "), -1), "  texto ");
}

TEST_F(Numeros, TextoDeEdicionSinGruposNiCerosFinales)
{
    EXPECT_EQ(textoEdicion(Valor(1234567.5), 2), "1234567,5");
    EXPECT_EQ(textoEdicion(Valor(150000.0), 2), "150000");
    EXPECT_EQ(textoEdicion(Valor(0.0), 2), "");
    EXPECT_EQ(textoEdicion(Valor(), 2), "");
    EXPECT_EQ(textoEdicion(Valor(0.1 + 0.2), 2), "0,3"); // 15 significant digits
    EXPECT_EQ(textoEdicion(Valor("Autocar"), -1), "Autocar");
}

TEST_F(Numeros, LeerCampoComoVal)
{
    EXPECT_EQ(LeerCampo("12,5", 1).numero(), 12.5);
    EXPECT_EQ(LeerCampo("", 2).numero(), 0.0);
    EXPECT_EQ(LeerCampo("abc", 2).numero(), 0.0);
    EXPECT_EQ(LeerCampo("1 2,5x7", 2).numero(), 12.5);
    EXPECT_EQ(LeerCampo("1.234,5", 2).numero(), 1.234); // the comma becomes a second point, which stops it
    EXPECT_EQ(LeerCampo("-3", 0).numero(), -3.0);
    EXPECT_EQ(LeerCampo("  Autocar 55  ", -1).texto(), "Autocar 55");
}

TEST_F(Numeros, NumeroPlanoParaElArchivo)
{
    EXPECT_EQ(numeroPlano(12.5), "12.5");
    EXPECT_EQ(numeroPlano(0.5), "0.5");
    EXPECT_EQ(numeroPlano(-0.0025), "-0.0025");
    EXPECT_EQ(numeroPlano(300.29999999999995), "300.3");
    EXPECT_EQ(numeroPlano(150000), "150000");
    EXPECT_EQ(numeroPlano(1e20), "100000000000000000000");
    EXPECT_EQ(numeroPlano(1.5e-7), "0.00000015");
    EXPECT_EQ(numeroPlano(0.0), "0");
}

namespace {

struct Tecla {
    bool aceptada;
    QString texto;
};

Tecla teclear(const QString &texto, int cursor, QChar c, int d, int m, int selIni = 0, int selLen = 0)
{
    EstadoTexto e{texto, cursor, selIni, selLen};
    const ResultadoTecla r = FiltrarTeclaNumero(e, c, d, m);
    return {r.aceptada, r.estado.texto};
}

} // namespace

TEST_F(Numeros, FiltroDeCifrasConDosDecimalesYLongitudDiez)
{
    // Before a separator seven integer digits can be typed.
    EXPECT_TRUE(teclear("123456", 6, '7', 2, 10).aceptada);
    EXPECT_FALSE(teclear("1234567", 7, '8', 2, 10).aceptada);
    // With a separator: the integer part is full at six digits.
    EXPECT_FALSE(teclear("123456,5", 0, '1', 2, 10).aceptada);
    EXPECT_TRUE(teclear("12345,5", 0, '1', 2, 10).aceptada);
    // After the separator: two decimals at most.
    EXPECT_FALSE(teclear("12,34", 5, '5', 2, 10).aceptada);
    EXPECT_TRUE(teclear("12,3", 4, '4', 2, 10).aceptada);
    EXPECT_EQ(teclear("12,3", 4, '4', 2, 10).texto, "12,34");
}

TEST_F(Numeros, FiltroDeEnteros)
{
    EXPECT_TRUE(teclear("12345", 5, '6', 0, 7).aceptada);
    EXPECT_FALSE(teclear("123456", 6, '7', 0, 7).aceptada);
    EXPECT_TRUE(teclear("12", 2, '3', 0, 3).aceptada);
    EXPECT_FALSE(teclear("123", 3, '4', 0, 3).aceptada);
    EXPECT_FALSE(teclear("12", 2, ',', 0, 3).aceptada); // no separator in an integer
}

TEST_F(Numeros, FiltroDelSeparadorYOtrosCaracteres)
{
    EXPECT_FALSE(teclear("123", 0, ',', 2, 10).aceptada); // three digits follow the caret
    EXPECT_TRUE(teclear("123", 1, ',', 2, 10).aceptada);  // two follow
    EXPECT_FALSE(teclear("1,2", 3, ',', 2, 10).aceptada);
    EXPECT_FALSE(teclear("12", 2, '.', 2, 10).aceptada); // not the separator here
    EXPECT_FALSE(teclear("12", 2, '-', 2, 10).aceptada);
    EXPECT_FALSE(teclear("12", 2, 'a', 2, 10).aceptada);
    EXPECT_TRUE(teclear("Auto", 4, 'x', -1, 45).aceptada);
}

TEST_F(Numeros, FiltroBorraLaSeleccionAunqueRechace)
{
    const Tecla t = teclear("12345", 1, 'a', 2, 10, 1, 2);
    EXPECT_FALSE(t.aceptada);
    EXPECT_EQ(t.texto, "145");
    const Tecla u = teclear("1234567", 0, '9', 2, 10, 0, 7);
    EXPECT_TRUE(u.aceptada);
    EXPECT_EQ(u.texto, "9");
}
