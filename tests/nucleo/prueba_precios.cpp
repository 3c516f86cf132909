// The money rules of prices and quotes, each as a table of cases worked out
// by hand with awkward cents: the price before VAT from a margin, the VAT on
// the rounded base, the margin a typed price leaves, amounts per unit, the
// exact reading and writing of decimals, and the tax numbers.
#include "archivos/archivo.h"
#include "presupuestos/presupuesto.h"

#include <gtest/gtest.h>

using namespace pelmora;

TEST(Precios, MargenIvaYTotalAlCentimo)
{
    const struct {
        Centimos coste;
        int margen, iva;
        Centimos sinIva, importeMargen, importeIva, total;
    } casos[] = {
        {102973, 1200, 1000, 117015, 14042, 11702, 128717}, // 1170.147.. -> 1170.15; VAT 117.015 -> 117.02
        {100000, 1200, 1000, 113636, 13636, 11364, 125000},
        {1, 5000, 1000, 2, 1, 0, 2},           // VAT of 0.2 cents is nothing
        {1, 6000, 1000, 3, 2, 0, 3},           // 2.5 cents up to 3
        {5, 0, 1000, 5, 0, 1, 6},              // VAT of half a cent up to 1
        {15, 0, 2100, 15, 0, 3, 18},           // 3.15 cents down to 3
        {1005, 0, 1000, 1005, 0, 101, 1106},   // 100.5 cents up, where 10.05 * 0.1 in binary is not
        {333, 3333, 1000, 499, 166, 50, 549},  // 499.475.. down; VAT 49.9 up
        {100, 9500, 1000, 2000, 1900, 200, 2200},
        {0, 1200, 1000, 0, 0, 0, 0},
        {123456789, 1234, 0, 140835945, 17379156, 0, 140835945}, // 140835944.55..,
        {99999, 9999 - 4999, 3000, 199998, 99999, 59999, 259997}, // 50 %: VAT 59999.4
    };
    for (const auto &c : casos) {
        const std::optional<Precio> p = precioConMargen(c.coste, c.margen, c.iva);
        ASSERT_TRUE(p) << c.coste;
        EXPECT_EQ(p->coste, c.coste);
        EXPECT_EQ(p->sinIva, c.sinIva) << c.coste << " " << c.margen;
        EXPECT_EQ(p->margen, c.importeMargen) << c.coste << " " << c.margen;
        EXPECT_EQ(p->iva, c.importeIva) << c.coste << " " << c.margen;
        EXPECT_EQ(p->total, c.total) << c.coste << " " << c.margen;
        EXPECT_EQ(p->total, p->sinIva + p->iva);
    }
}

TEST(Precios, TasasFueraDeLimitesNoDanPrecio)
{
    EXPECT_FALSE(precioConMargen(1000, -1, 1000));
    EXPECT_FALSE(precioConMargen(1000, kMargenMaximo + 1, 1000));
    EXPECT_FALSE(precioConMargen(1000, 1200, -1));
    EXPECT_FALSE(precioConMargen(1000, 1200, kIvaMaximo + 1));
    EXPECT_TRUE(precioConMargen(1000, kMargenMaximo, kIvaMaximo));
    // The price of the largest cost at 95 % would pass the largest amount.
    EXPECT_FALSE(precioConMargen(kMaximoCentimos, kMargenMaximo, 1000));
    EXPECT_FALSE(precioDado(1000, kMaximoCentimos + 1, 1000));
}

TEST(Precios, MargenDeUnPrecioDado)
{
    const struct {
        Centimos coste, sinIva;
        std::optional<int> margen;
    } casos[] = {
        {102973, 117015, 1200},
        {100000, 90000, -1111},  // below cost: -11.11 %
        {1, 8, 8750},
        {1, 3, 6667},            // 66.666.. up
        {2, 3, 3333},
        {100, 100, 0},           // break-even
        {100, 0, std::nullopt},
        {100, -5, std::nullopt},
    };
    for (const auto &c : casos)
        EXPECT_EQ(margenDe(c.coste, c.sinIva), c.margen) << c.coste << " " << c.sinIva;
    const std::optional<Precio> p = precioDado(100000, 90000, 1000);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->margen, -10000);
    EXPECT_EQ(p->iva, 9000);
    EXPECT_EQ(p->total, 99000);
    // Every margin comes back from the price it gives, on a cost of some size.
    for (int m = 0; m <= kMargenMaximo; ++m)
        ASSERT_EQ(margenDe(123457, precioConMargen(123457, m, 1000)->sinIva), m) << m;
}

TEST(Precios, ImportesPorUnidadYCentimos)
{
    EXPECT_EQ(porUnidad(117015, 420.0), 279);  // 2.786..
    EXPECT_EQ(porUnidad(117015, 9.5), 12317);  // 123.1736..
    EXPECT_EQ(porUnidad(5, 2.0), 3);           // 0.025 up
    EXPECT_EQ(porUnidad(-5, 2.0), -3);
    EXPECT_EQ(porUnidad(100, 0.0), std::nullopt);
    EXPECT_EQ(porUnidad(100, -1.0), std::nullopt);
    const struct {
        double euros;
        std::optional<Centimos> c;
    } casos[] = {{2.675, 268}, {1.005, 101}, {-0.125, -13}, {1029.73, 102973}, {0.0, 0},
                 {1e300, std::nullopt}, {std::numeric_limits<double>::quiet_NaN(), std::nullopt},
                 {1e10 + 1, std::nullopt}};
    for (const auto &c : casos)
        EXPECT_EQ(centimos(c.euros), c.c) << c.euros;
}

TEST(Precios, DecimalesExactosSinConfiguracionRegional)
{
    const struct {
        const char *texto;
        int decimales;
        std::optional<qint64> valor;
    } casos[] = {
        {"12,5", 2, 1250},      {"12.5", 2, 1250},       {" 12 ", 2, 1200},     {"1.234,56", 2, 123456},
        {"1,234.56", 2, 123456}, {"-3,335", 2, -334},     {"3,334", 2, 333},     {"12,", 2, 1200},
        {",5", 2, 50},          {"1.000.000", 2, 100000000}, {"0,005", 2, 1},   {"+7", 0, 7},
        {"", 2, std::nullopt},  {"abc", 2, std::nullopt}, {"12 %", 2, std::nullopt}, {"1,5.3", 2, std::nullopt},
        {"-", 2, std::nullopt}, {"1.23.456", 2, std::nullopt}, {"1,234,56", 2, std::nullopt}, {"1e3", 2, std::nullopt}, {"１２", 2, std::nullopt},
    };
    for (const auto &c : casos)
        EXPECT_EQ(leerDecimal(QString::fromUtf8(c.texto), c.decimales), c.valor) << c.texto;
    EXPECT_EQ(textoDecimal(123456, 2, u',', QStringLiteral(".")), QStringLiteral("1.234,56"));
    EXPECT_EQ(textoDecimal(100000000, 2, u',', QStringLiteral(".")), QStringLiteral("1.000.000,00"));
    EXPECT_EQ(textoDecimal(-5, 2), QStringLiteral("-0.05"));
    EXPECT_EQ(textoDecimal(0, 2), QStringLiteral("0.00"));
    EXPECT_EQ(textoDecimal(1250, 2), QStringLiteral("12.50"));
    EXPECT_EQ(textoDecimal(7, 0), QStringLiteral("7"));
}

TEST(Precios, NifCifYNie)
{
    const struct {
        const char *nif;
        bool valido;
    } casos[] = {
        {"12345678Z", true},  {"12345678-z", true}, {"12.345.678 Z", true}, {"12345678A", false},
        {"X1234567L", true},  {"Y1234567X", true},  {"X1234567Z", false},   {"B12345674", true},
        {"B1234567D", false}, {"P1234567D", true},  {"P12345674", false},   {"Q2803000E", true},
        {"A58000001", true},  {"A58000002", false}, {"G12345674", true},    {"G1234567D", true},
        {"I12345674", false}, {"1234567Z", false},  {"", false},            {"ZZZ", false},
    };
    for (const auto &c : casos)
        EXPECT_EQ(nifValido(QString::fromUtf8(c.nif)), c.valido) << c.nif;
}

TEST(Precios, PresupuestoDelPrimerServicioDelAutocarDeReferencia)
{
    Calculo calc;
    const QString ruta = QStringLiteral(PELMORA_DATOS "/Vededizaviro/Autocar Estandar 39 a 55 plazas.obs");
    ASSERT_EQ(AbrirArchivo(calc, ruta), ErrorArchivo::Ninguno);
    const std::vector<ServicioCalculo> servicios = serviciosConCoste(calc.columnaS());
    ASSERT_EQ(servicios.size(), 3u);
    EXPECT_EQ(servicios[0].coste, 102973);
    EXPECT_EQ(servicios[1].numero, 2);
    EXPECT_FALSE(presupuestoDeCalculo(calc, ruta, 4));
    std::optional<Presupuesto> p = presupuestoDeCalculo(calc, ruta, 1);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->km, 420.0);
    EXPECT_EQ(p->horas, 9.5);
    EXPECT_EQ(p->origen.archivo, QStringLiteral("Autocar Estandar 39 a 55 plazas.obs"));
    EXPECT_EQ(p->origen.hash.size(), 64);
    EXPECT_EQ(p->origen.costeAnual, 15753764);
    EXPECT_EQ(p->origen.c[1], 0.641);
    p->margen = 1200;
    ASSERT_TRUE(recalcularPrecio(*p));
    EXPECT_EQ(p->precio.total, 128717);
    // A typed price instead of the margin sets the margin it leaves.
    p->precioObjetivo = 100000;
    ASSERT_TRUE(recalcularPrecio(*p));
    EXPECT_EQ(p->margen, -297);
    EXPECT_EQ(p->precio.total, 110000);
    EXPECT_EQ(p->estadoMostrado(QDate(2026, 1, 1)), QStringLiteral("pendiente"));
    p->fecha = QDate(2026, 1, 1);
    EXPECT_EQ(p->estadoMostrado(QDate(2026, 1, 31)), QStringLiteral("pendiente"));
    EXPECT_EQ(p->estadoMostrado(QDate(2026, 2, 1)), QStringLiteral("caducado"));
    p->estado = EstadoPresupuesto::Aceptado;
    EXPECT_EQ(p->estadoMostrado(QDate(2026, 2, 1)), QStringLiteral("aceptado"));
    p->anio = 2026;
    p->secuencia = 7;
    EXPECT_EQ(p->numero(), QStringLiteral("2026-0007"));
    const struct {
        int anio, secuencia;
        const char *numero;
    } numeros[] = {{2026, 1, "2026-0001"}, {2026, 9999, "2026-9999"}, {2026, 12345, "2026-12345"},
                   {987, 40, "0987-0040"}, {2026, 0, ""}};
    for (const auto &n : numeros)
        EXPECT_EQ(numeroPresupuesto(n.anio, n.secuencia), QLatin1String(n.numero)) << n.numero;
}
