// The number rules: rounding, display, the editing text, reading typed text
// and the key filter, each as a table of cases worked out by hand.
#include "archivos/csv.h"
#include "entrada/numeros.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstring>
#include <clocale>
#include <cmath>
#include <limits>
#include <random>
#include <string>

using namespace pelmora;

namespace {

// Every case runs under each C library locale a user may have: the
// program's conversions must not follow it (QCoreApplication sets it from
// the environment, which makes printf and strtod write and expect a comma).
class Numeros : public ::testing::TestWithParam<const char *> {
protected:
    void SetUp() override
    {
        ASSERT_NE(std::setlocale(LC_ALL, GetParam()), nullptr)
            << GetParam() << " no está generado (herramientas/dependencias.sh lo genera)";
        fijarSeparadores(QLocale(QLocale::Spanish, QLocale::Spain));
    }
    void TearDown() override
    {
        std::setlocale(LC_ALL, "C");
        fijarSeparadores(QLocale(QLocale::Spanish, QLocale::Spain));
    }
};

INSTANTIATE_TEST_SUITE_P(Locales, Numeros,
                         ::testing::Values("C", "C.UTF-8", "en_US.UTF-8", "es_ES.UTF-8", "ca_ES.UTF-8",
                                           "de_DE.UTF-8", "fr_FR.UTF-8"),
                         [](const auto &info) {
                             std::string n = info.param;
                             for (char &c : n)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return n;
                         });


// Rounding as it was first written: x * 10^n written with 15 significant
// digits, the integer part read back, one more when the next digit is 5 or
// more. The program's rounding must give the very same doubles.
std::optional<double> redondearPorTexto(double x, int n)
{
    if (!std::isfinite(x) || n < 0)
        return std::nullopt;
    const double p = std::pow(10.0, n);
    const double y = x * p;
    if (!std::isfinite(y) || std::fabs(y) > 7.9228162514264337593543950335e28)
        return std::nullopt;
    if (y == 0.0)
        return 0.0;
    char buf[64];
    const char *fin = std::to_chars(buf, buf + sizeof buf, std::fabs(y), std::chars_format::scientific, 14).ptr;
    const std::string digitos = std::string(1, buf[0]) + std::string(buf + 2, 14);
    int exponente = 0;
    std::from_chars(buf + 17 + (buf[17] == '+'), fin, exponente);
    std::string entero = "0";
    bool subir = exponente == -1 && digitos[0] >= '5';
    if (exponente >= 14) {
        entero = digitos + std::string(exponente - 14, '0');
        subir = false;
    } else if (exponente >= 0) {
        entero = digitos.substr(0, exponente + 1);
        subir = digitos[exponente + 1] >= '5';
    }
    double magnitud = 0.0;
    std::from_chars(entero.data(), entero.data() + entero.size(), magnitud);
    const double r = (subir ? magnitud + 1.0 : magnitud) / p;
    if (r == 0.0)
        return 0.0;
    return x < 0 ? -r : r;
}

QString fmt(const Valor &v, int d, bool cero = false) { return FormatearNumero(v, d, cero); }

} // namespace

TEST_P(Numeros, RedondearMitadLejosDeCeroTrasQuinceCifras)
{
    const struct {
        double x;
        int decimales;
        double esperado;
    } casos[] = {
        {2.675, 2, 2.68}, // 267.5 once taken to 15 digits
        {1.005, 2, 1.01},
        {-0.125, 2, -0.13},
        {0.125, 2, 0.13},
        {123.456, 0, 123.0},
        {2.5, 0, 3.0},
        {-2.5, 0, -3.0},
        {0.0, 3, 0.0},
        {39960.333, 0, 39960.0},
        {0.950413223140496, 4, 0.9504},
        // Large values keep every integer digit.
        {123456789012.345, 2, 123456789012.35},
        {1e20, 2, 1e20},
        // Below a tenth of the last unit nothing is left to round up.
        {0.005, 1, 0.0},
        {0.009, 1, 0.0},
        {-0.005, 1, 0.0},
        {0.0009, 2, 0.0},
        {0.0000001, 0, 0.0},
        // From half the last unit up, one unit.
        {0.05, 1, 0.1},
        {0.049, 1, 0.0},
        {0.5, 0, 1.0},
    };
    for (const auto &c : casos)
        EXPECT_EQ(*Redondear(c.x, c.decimales), c.esperado) << c.x << " a " << c.decimales;
}

// Millions of values of every kind against the rounding written out as
// text: amounts in cents, any magnitude, the doubles on either side of
// each half unit and of each power of ten, and arbitrary bit patterns.
TEST(RedondearComoPorTexto, MismosDoblesEnMillonesDeValores)
{
    std::mt19937_64 azar(20261207);
    long distintos = 0;
    long probados = 0;
    const auto probar = [&](double x, int n) {
        ++probados;
        const auto a = Redondear(x, n);
        const auto b = redondearPorTexto(x, n);
        const bool igual = a.has_value() == b.has_value() &&
                           (!a || std::memcmp(&*a, &*b, sizeof(double)) == 0);
        if (!igual && ++distintos <= 10)
            ADD_FAILURE() << std::hexfloat << x << " a " << n << ": " << a.value_or(-1) << " frente a "
                          << b.value_or(-1);
    };
    const auto cerca = [&](double x, int n) {
        double arriba = x;
        double abajo = x;
        for (int k = 0; k < 4; ++k, arriba = std::nextafter(arriba, HUGE_VAL), abajo = std::nextafter(abajo, 0.0)) {
            probar(arriba, n);
            probar(abajo, n);
            probar(-arriba, n);
        }
    };
    std::uniform_int_distribution<long long> centimos(0, 100000000000LL);
    std::uniform_real_distribution<double> exponente(-8.0, 30.0);
    std::uniform_int_distribution<int> decimales(0, 6);
    std::uniform_int_distribution<std::uint64_t> bits;
    for (int i = 0; i < 150000; ++i) {
        const int n = decimales(azar);
        const long long c = centimos(azar) >> (i % 40);
        probar(static_cast<double>(c) / 100.0, n);
        probar(static_cast<double>(c) / std::pow(10.0, n + 1), n);
        probar(std::pow(10.0, exponente(azar)), n);
        // Half a unit of the n-th decimal, of the 15th digit, and the powers of ten.
        cerca((static_cast<double>(c % 1000000000) + 0.5) / std::pow(10.0, n), n);
        const double quince = 1e14 + static_cast<double>(bits(azar) % 900000000000000ULL);
        cerca((quince + 0.5) * std::pow(10.0, std::floor(exponente(azar)) - 14 - n), n);
        cerca(std::pow(10.0, i % 36 - 8), n);
        double d = 0.0;
        const std::uint64_t b = bits(azar);
        std::memcpy(&d, &b, sizeof d);
        probar(d, n);
    }
    EXPECT_GE(probados, 6000000);
    EXPECT_EQ(distintos, 0);
}

// The quick fixed and shortest forms write what std::to_chars writes, on
// the cases that decide between its branches and on millions of others:
// amounts at any number of decimals and near their halves, integers with
// trailing zeros (where the exponent form is shorter), tiny and huge
// magnitudes and arbitrary bit patterns.
TEST(EscribirComoToChars, FijoYCortoIgualesEnMillonesDeValores)
{
    long distintos = 0;
    const auto probar = [&](double x, int n) {
        char a[400], b[400];
        const auto fa = escribirFijo(a, a + sizeof a, x, n), fb = std::to_chars(b, b + sizeof b, x, std::chars_format::fixed, n);
        const auto ca = escribirCorto(a + 200, a + sizeof a, x), cb = std::to_chars(b + 200, b + sizeof b, x);
        const std::string fijo(a, fa.ptr), fijoEsperado(b, fb.ptr);
        const std::string corto(a + 200, ca.ptr), cortoEsperado(b + 200, cb.ptr);
        if ((fijo != fijoEsperado || corto != cortoEsperado) && ++distintos <= 10)
            ADD_FAILURE() << std::hexfloat << x << " a " << n << ": " << fijo << " / " << corto << " frente a "
                          << fijoEsperado << " / " << cortoEsperado;
    };
    const double casos[] = {0.0, -0.0, 0.05, 0.125, 2.5, 0.0001, 0.001, 1000000, 1e15, 1e16, 123456.5, 1e-7,
                            1125899906842623.0, 1125899906842624.0, 14943.369999999999, 1e100, 5e-324, 273200};
    for (const double x : casos)
        for (int n = 0; n <= 6; ++n)
            probar(x, n), probar(-x, n);
    std::mt19937_64 azar(20261207);
    std::uniform_int_distribution<long long> cifras(0, 100000000000LL);
    std::uniform_int_distribution<int> decimales(0, 6), ceros(0, 12);
    std::uniform_real_distribution<double> exponente(-12.0, 20.0);
    std::uniform_int_distribution<std::uint64_t> bits;
    for (int i = 0; i < 300000; ++i) {
        const int n = decimales(azar);
        const double c = double(cifras(azar) >> (i % 37));
        probar(c / std::pow(10.0, decimales(azar)), n);
        probar((c + 0.5) / std::pow(10.0, n), n);
        probar(std::nextafter(c / std::pow(10.0, n), HUGE_VAL), n);
        probar(double(cifras(azar) % 1000) * std::pow(10.0, ceros(azar)), n);
        probar(std::pow(10.0, exponente(azar)), n);
        double d = 0.0;
        const std::uint64_t b = bits(azar);
        std::memcpy(&d, &b, sizeof d);
        probar(d, n);
    }
    EXPECT_EQ(distintos, 0);
}

TEST_P(Numeros, RedondearFallaAlDesbordar)
{
    EXPECT_FALSE(Redondear(1e300, 2).has_value());
    EXPECT_FALSE(Redondear(1e27, 4).has_value());
    EXPECT_FALSE(Redondear(std::numeric_limits<double>::infinity(), 0).has_value());
    EXPECT_TRUE(Redondear(1e24, 4).has_value());
}

// The number a box reads back from its own display, computed without the
// texts, against the texts themselves: grouped, with either separator.
TEST_P(Numeros, NumeroMostradoEsElQueSeLeeDeLaCaja)
{
    std::mt19937_64 azar(7);
    std::uniform_real_distribution<double> exponente(-6.0, 16.0);
    const double especiales[] = {0.0, -0.0, -0.004, 0.005, -0.5, 2.675, 1e300, -1e300, HUGE_VAL, NAN, 999999.995};
    for (const QLocale &l : {QLocale(QLocale::Spanish, QLocale::Spain), QLocale(QLocale::English, QLocale::UnitedStates)}) {
        fijarSeparadores(l);
        int distintos = 0;
        for (int k = 0; k < 20000; ++k) {
            const int n = k % 5;
            const double x = k < int(std::size(especiales)) ? especiales[k]
                                                            : (k % 2 ? -1 : 1) * std::pow(10.0, exponente(azar));
            QString texto = FormatearNumero(Valor(x), n, true);
            texto.remove(separadorMiles());
            const double esperado = LeerCampo(texto, n).n(), obtenido = numeroMostrado(x, n);
            if (std::memcmp(&esperado, &obtenido, sizeof(double)) != 0 && ++distintos <= 5)
                ADD_FAILURE() << x << " a " << n << ": " << obtenido << " frente a " << esperado;
        }
    }
}

TEST_P(Numeros, SeparadorDecimalSegunLaConfiguracionRegional)
{
    EXPECT_EQ(SeparadorDecimal(QLocale(QLocale::Spanish, QLocale::Spain)), QLatin1Char(','));
    EXPECT_EQ(SeparadorDecimal(QLocale(QLocale::English, QLocale::UnitedStates)), QLatin1Char('.'));
}

TEST_P(Numeros, FormatoEspanolAgrupaCadaTresCifras)
{
    const struct {
        Valor valor;
        int decimales;
        bool mostrarCero;
        const char *texto;
    } casos[] = {
        {1234567.891, 2, false, "1.234.567,89"},
        {12345.0, 0, false, "12.345"},
        {1234.0, 0, false, "1.234"},
        {-1234.5, 1, false, "-1.234,5"},
        {7.0, 3, false, "7,000"},
        {0.25, 2, false, "0,25"},
        {273200.0, 2, false, "273.200,00"},
        {2.675, 2, false, "2,68"},
        {123456789012.0, 0, false, "123.456.789.012"},
        // Zero and empty.
        {0.0, 2, false, ""},
        {0.0, 0, true, "0"},
        {0.0, 1, true, "0,0"},
        {Valor(), 2, true, ""},
        {0.004, 2, false, "0,00"}, // only an exact zero is blanked
        {-0.004, 2, false, "0,00"},
        {Valor("0"), -1, false, "0"}, // free text shows as it is
        {Valor("  texto "), -1, false, "  texto "},
    };
    for (const auto &c : casos)
        EXPECT_EQ(fmt(c.valor, c.decimales, c.mostrarCero), QString::fromUtf8(c.texto)) << c.texto;
}

TEST_P(Numeros, FormatoInglesUsaPuntoYComa)
{
    fijarSeparadores(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(fmt(1234567.891, 2), "1,234,567.89");
    EXPECT_EQ(fmt(-1234.5, 1), "-1,234.5");
    EXPECT_EQ(textoEdicion(Valor(12.5), 1), "12.5");
    EXPECT_EQ(LeerCampo("12.5", 1).numero(), 12.5);
}

TEST_P(Numeros, TextoDeEdicionSinGruposNiCerosFinales)
{
    EXPECT_EQ(textoEdicion(Valor(1234567.5), 2), "1234567,5");
    EXPECT_EQ(textoEdicion(Valor(150000.0), 2), "150000");
    EXPECT_EQ(textoEdicion(Valor(0.0), 2), "");
    EXPECT_EQ(textoEdicion(Valor(), 2), "");
    EXPECT_EQ(textoEdicion(Valor(0.1 + 0.2), 2), "0,3"); // 15 significant digits
    EXPECT_EQ(textoEdicion(Valor("Autocar"), -1), "Autocar");
}

TEST_P(Numeros, LeerCampoTomaElNumeroDelPrincipio)
{
    const struct {
        const char *texto;
        int decimales;
        double numero;
    } casos[] = {
        {"12,5", 1, 12.5},
        {"", 2, 0.0},
        {"abc", 2, 0.0},
        {"1 2,5x7", 2, 12.5}, // blanks skipped, reading stops at the x
        {"1.234,5", 2, 1.234}, // the comma becomes a second point, which stops it
        {"-3", 0, -3.0},
        {"+12,5", 1, 12.5}, // a leading sign, either
        {"+", 1, 0.0},
        {"+-3", 0, 0.0},
        {"1e3", 0, 1000.0},
    };
    for (const auto &c : casos)
        EXPECT_EQ(LeerCampo(QString::fromUtf8(c.texto), c.decimales).numero(), c.numero) << c.texto;
    EXPECT_EQ(LeerCampo("  Autocar 55  ", -1).texto(), "Autocar 55");
}

TEST_P(Numeros, NumeroPlanoParaElArchivo)
{
    const std::pair<double, const char *> casos[] = {
        {12.5, "12.5"},         {0.5, "0.5"},
        {-0.0025, "-0.0025"},   {300.29999999999995, "300.3"},
        {150000, "150000"},     {1e20, "100000000000000000000"},
        {1.5e-7, "0.00000015"}, {0.0, "0"},
    };
    for (const auto &[x, texto] : casos)
        EXPECT_EQ(numeroPlano(x), texto) << texto;
}

// The character filter of a field: the text before, the caret and the
// selection, the key, the field's decimals and length; whether the key goes
// in and the text after (the selection always goes).
TEST_P(Numeros, FiltroDeTeclas)
{
    const struct {
        const char *texto;
        int cursor;
        char tecla;
        int decimales, longitud;
        bool aceptada;
        const char *despues;
        int inicioSeleccion = 0, largoSeleccion = 0;
    } casos[] = {
        // Two decimals, length 10: seven integer digits before a separator.
        {"123456", 6, '7', 2, 10, true, "1234567"},
        {"1234567", 7, '8', 2, 10, false, "1234567"},
        // With a separator the integer part is full at six digits.
        {"123456,5", 0, '1', 2, 10, false, "123456,5"},
        {"12345,5", 0, '1', 2, 10, true, "112345,5"},
        // After the separator two decimals at most, right after it too.
        {"12,34", 5, '5', 2, 10, false, "12,34"},
        {"12,34", 3, '5', 2, 10, false, "12,34"},
        {"12,3", 4, '4', 2, 10, true, "12,34"},
        {"12,3", 3, '5', 2, 10, true, "12,53"},
        {"12,34", 2, '5', 2, 10, true, "125,34"}, // before it: the integer part
        // Whole numbers: a digit goes in while the digits are fewer than the
        // length less one for every three digits (room for the separators).
        {"12345", 5, '6', 0, 7, true, "123456"},
        {"123456", 6, '7', 0, 7, false, "123456"},
        {"12", 2, '3', 0, 3, true, "123"},
        {"123", 3, '4', 0, 3, false, "123"},
        {"", 0, '4', 0, 1, true, "4"},
        {"4", 1, '2', 0, 1, false, "4"},    // 1 digit of 1
        {"123", 3, '4', 0, 5, true, "1234"},
        {"1234", 4, '5', 0, 5, false, "1234"},  // 4 digits of 5 - 1
        {"12345", 5, '6', 0, 6, false, "12345"}, // 5 digits of 6 - 1
        {"1234", 4, '5', 0, 6, true, "12345"},
        {"12", 2, ',', 0, 3, false, "12"}, // no separator in a whole number
        // The separator: at most as many digits after it as decimals.
        {"123", 0, ',', 2, 10, false, "123"},
        {"123", 1, ',', 2, 10, true, "1,23"},
        {"1,2", 3, ',', 2, 10, false, "1,2"},
        {"12", 2, '.', 2, 10, false, "12"}, // not the separator here
        {"12", 2, '-', 2, 10, false, "12"},
        {"12", 2, 'a', 2, 10, false, "12"},
        {"Auto", 4, 'x', -1, 45, true, "Autox"},
        // The selection goes first, whatever happens to the key.
        {"12345", 1, 'a', 2, 10, false, "145", 1, 2},
        {"1234567", 0, '9', 2, 10, true, "9", 0, 7},
    };
    for (const auto &c : casos) {
        const EstadoTexto antes{QString::fromUtf8(c.texto), c.cursor, c.inicioSeleccion, c.largoSeleccion};
        const ResultadoTecla r = FiltrarTeclaNumero(antes, QLatin1Char(c.tecla), c.decimales, c.longitud);
        EXPECT_EQ(r.aceptada, c.aceptada) << c.texto << " + " << c.tecla << " en " << c.cursor;
        EXPECT_EQ(r.estado.texto, QString::fromUtf8(c.despues)) << c.texto << " + " << c.tecla;
    }
}

// What the C library's locale would change if the conversions followed it:
// decimals typed, read from a file, written to CSV, and the grouping of
// each regional setting the program takes its separators from.
TEST_P(Numeros, ConversionesIgualesEnCualquierLocale)
{
    const struct {
        const char *texto;
        int decimales;
        double numero;
    } lecturas[] = {
        {"12,5", 1, 12.5}, {"13,2", 1, 13.2},     {"0,09", 2, 0.09},         {"0,0925", 4, 0.0925},
        {"30,5", 1, 30.5}, {"-7,125", 3, -7.125}, {"12,", 1, 12.0},          {",5", 1, 0.5},
        {"1e-999", 2, 0.0}, {"-1e999", 2, -std::numeric_limits<double>::infinity()},
        {"1e999", 2, std::numeric_limits<double>::infinity()}, {"0,00000e999", 2, 0.0},
    };
    for (const auto &c : lecturas)
        EXPECT_EQ(LeerCampo(QString::fromUtf8(c.texto), c.decimales).numero(), c.numero) << c.texto;
    EXPECT_EQ(valorInicial("157537.64"), 157537.64);
    EXPECT_EQ(numeroCsv(157537.64, 2, QLatin1Char(',')), "157537,64");
    EXPECT_EQ(numeroCsv(0.052, 4, QLatin1Char('.')), "0.0520");
    EXPECT_EQ(numeroCsv(-0.004, 2, QLatin1Char(',')), "0,00");
    EXPECT_EQ(numeroCsv(-26713.0, 2, QLatin1Char(',')), "-26713,00");

    const struct {
        QLocale locale;
        const char *total, *c1, *porcentaje;
    } regiones[] = {
        {QLocale::c(), "157,537.64", "0.0520", "100.0"},
        {QLocale(QLocale::English, QLocale::UnitedStates), "157,537.64", "0.0520", "100.0"},
        {QLocale(QLocale::Spanish, QLocale::Spain), "157.537,64", "0,0520", "100,0"},
        {QLocale(QLocale::Catalan, QLocale::Spain), "157.537,64", "0,0520", "100,0"},
        {QLocale(QLocale::German, QLocale::Germany), "157.537,64", "0,0520", "100,0"},
        {QLocale(QLocale::French, QLocale::France), "157\u202f537,64", "0,0520", "100,0"},
    };
    for (const auto &r : regiones) {
        fijarSeparadores(r.locale);
        EXPECT_EQ(fmt(157537.64, 2), QString::fromUtf8(r.total)) << r.locale.name().toStdString();
        EXPECT_EQ(fmt(0.052, 4), QString::fromUtf8(r.c1)) << r.locale.name().toStdString();
        EXPECT_EQ(fmt(100.0, 1), QString::fromUtf8(r.porcentaje)) << r.locale.name().toStdString();
        EXPECT_EQ(LeerCampo(textoEdicion(Valor(12.5), 1), 1).numero(), 12.5) << r.locale.name().toStdString();
    }
}
