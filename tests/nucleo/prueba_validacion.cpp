#include "archivos/windows1252.h"
#include "calculo/calculo.h"
#include "entrada/numeros.h"
#include "calculo/validacion.h"

#include <gtest/gtest.h>

using namespace pelmora;

namespace {

class Validar : public ::testing::Test {
protected:
    void SetUp() override { fijarSeparadores(QLocale(QLocale::Spanish, QLocale::Spain)); }
    Validacion validar(Seccion s, int i, const Valor &v)
    {
        c.columnaParaPruebas(Col::S)(s, i) = v;
        return ValidarCampo(s, c.columnaS(), i);
    }
    Calculo c;
};

const QString kCrLf2 = QStringLiteral("\r\n\r\n");

} // namespace

TEST_F(Validar, FueraDeLimitesDaLasDosLineas)
{
    const Validacion v = validar(Seccion::Caracteristicas, 2, Valor(201.0));
    EXPECT_TRUE(v.rechazado);
    EXPECT_EQ(v.mensaje, "Valor mínimo = 10" + kCrLf2 + "Valor máximo = 200" + kCrLf2);
    EXPECT_FALSE(validar(Seccion::Caracteristicas, 2, Valor(200.0)).rechazado);
    // A zero limit reads 0, not an empty text.
    const Validacion w = validar(Seccion::CostesFijos2, 1, Valor(-1.0));
    EXPECT_EQ(w.mensaje, "Valor mínimo = 0,00" + kCrLf2 + "Valor máximo = 150.000,00" + kCrLf2);
}

TEST_F(Validar, TextoConMinimoDeCaracteres)
{
    const Validacion v = validar(Seccion::Caracteristicas, 1, Valor(QString()));
    EXPECT_TRUE(v.rechazado);
    EXPECT_EQ(v.mensaje, "El mínimo de caracteres es de 1." + kCrLf2);
    EXPECT_FALSE(validar(Seccion::Caracteristicas, 7, Valor(QString())).rechazado);
}

TEST_F(Validar, NeumaticosImparesDentroDeLimites)
{
    const Validacion v = validar(Seccion::CostesVariables, 8, Valor(3.0));
    EXPECT_TRUE(v.rechazado);
    EXPECT_EQ(v.mensaje,
              "Valor mínimo = 0" + kCrLf2 + "Valor máximo = 6" + kCrLf2 + "El número de neumáticos debe ser par." + kCrLf2);
    EXPECT_FALSE(validar(Seccion::CostesVariables, 14, Valor(4.0)).rechazado);
}

TEST_F(Validar, DescuentoFrenteAlPrecio)
{
    c.columnaParaPruebas(Col::S)(Seccion::CostesVariables, 1) = Valor(1.0);
    const Validacion v = validar(Seccion::CostesVariables, 3, Valor(0.7));
    EXPECT_TRUE(v.rechazado);
    EXPECT_TRUE(v.mensaje.endsWith("El porcentaje de descuento debe estar entre el 0,0% y el 60,0%." + kCrLf2));
    EXPECT_FALSE(validar(Seccion::CostesVariables, 3, Valor(0.6)).rechazado);
    // Without a price there is nothing to compare with.
    c.columnaParaPruebas(Col::S)(Seccion::CostesVariables, 1) = Valor(0.0);
    EXPECT_FALSE(validar(Seccion::CostesVariables, 3, Valor(0.7)).rechazado);
}

TEST_F(Validar, DescuentoDeJustoElMaximoACualquierPrecio)
{
    // Every price of 4 decimals whose 60 % has 4 decimals too, 0,301 among
    // them: that discount is accepted, kept when the price is entered
    // again, and one ten-thousandth more is refused.
    for (int k = 3000; k <= 20000; k += 5) {
        const double precio = k / 10000.0, maximo = (6 * k / 10) / 10000.0;
        SCOPED_TRACE(precio);
        c.columnaParaPruebas(Col::S)(Seccion::CostesVariables, 1) = Valor(precio);
        ASSERT_FALSE(c.ConfirmarCampo(Seccion::CostesVariables, 3, Valor(maximo), Valor(0.0)).rechazado);
        c.ConfirmarCampo(Seccion::CostesVariables, 1, Valor(precio), Valor(precio));
        ASSERT_EQ(c.columnaS()(Seccion::CostesVariables, 3).n(), maximo);
        ASSERT_TRUE(validar(Seccion::CostesVariables, 3, Valor(maximo + 0.0001)).rechazado);
    }
}

TEST_F(Validar, ServicioNoSuperaLosTotalesAnuales)
{
    c.columnaParaPruebas(Col::S)(Seccion::Caracteristicas, 11) = Valor(1000.0);
    c.columnaParaPruebas(Col::S)(Seccion::Caracteristicas, 16) = Valor(100.0);
    EXPECT_FALSE(validar(Seccion::Servicio, 9, Valor(1000.0)).rechazado);
    const Validacion km = validar(Seccion::Servicio, 9, Valor(1000.5));
    EXPECT_TRUE(km.rechazado);
    EXPECT_TRUE(km.mensaje.endsWith(
        "El número de kilómetros facturados en este servicio no puede ser mayor que el total." + kCrLf2));
    const Validacion h = validar(Seccion::Servicio, 28, Valor(101.0));
    EXPECT_TRUE(h.mensaje.endsWith(
        "El número de horas facturadas en este servicio no puede ser mayor que el total." + kCrLf2));
    EXPECT_FALSE(validar(Seccion::Servicio, 8, Valor(50000.0)).rechazado); // own costs: range only
}

TEST_F(Validar, ConfirmarRestauraElValorAnteriorYRecalcula)
{
    c.columnaParaPruebas(Col::S)(Seccion::Caracteristicas, 9) = Valor(100000.0);
    c.columnaParaPruebas(Col::S)(Seccion::Caracteristicas, 10) = Valor(50.0);
    c.Recalcular(Seccion::Caracteristicas, Col::S, 9);
    const Validacion v = c.ConfirmarCampo(Seccion::Caracteristicas, 9, Valor(500000.0), Valor(100000.0));
    EXPECT_TRUE(v.rechazado);
    EXPECT_EQ(c.columnaS()(Seccion::Caracteristicas, 9).numero(), 100000.0);
    EXPECT_EQ(c.columnaS()(Seccion::Caracteristicas, 11).numero(), 50000.0);
    const Validacion w = c.ConfirmarCampo(Seccion::Caracteristicas, 9, Valor(200000.0), Valor(100000.0));
    EXPECT_FALSE(w.rechazado);
    EXPECT_TRUE(w.mensaje.isEmpty());
    EXPECT_EQ(c.columnaS()(Seccion::Caracteristicas, 11).numero(), 100000.0);
}

TEST_F(Validar, TextoConCaracteresQueElArchivoNoGuarda)
{
    // Every character of the file's set is accepted: "€", "ñ", accents, quotes...
    QByteArray todos;
    for (int b = 0x20; b <= 0xFF; ++b)
        todos += char(b);
    const struct {
        QString texto;
        QString malos; // empty: accepted
    } casos[] = {
        {desdeWindows1252(todos), ""},
        {QString::fromUtf8("Autocar ñandú “Clase” € Š œ Ÿ"), ""},
        {QString::fromUtf8("Ω"), QString::fromUtf8("Ω")},
        // Each once, in order; an emoji (two 16-bit units) is one character.
        {QString::fromUtf8("a😀Ωb漢😀Ω"), QString::fromUtf8("😀Ω漢")},
        {QString(QChar(0xD83D)) + QString::fromUtf8("😀"), QString(QChar(0xD83D)) + QString::fromUtf8("😀")},
    };
    for (const auto &caso : casos) {
        SCOPED_TRACE(caso.texto.toStdString());
        const Validacion v = validar(Seccion::Caracteristicas, 8, Valor(caso.texto));
        EXPECT_EQ(v.rechazado, !caso.malos.isEmpty());
        if (!caso.malos.isEmpty()) {
            EXPECT_EQ(v.mensaje, "El texto contiene caracteres que no se pueden grabar: " + caso.malos + kCrLf2);
        }
    }
    // Refused as any value: the old one comes back.
    const Valor antes(QStringLiteral("Discrecional"));
    c.columnaParaPruebas(Col::S)(Seccion::Caracteristicas, 1) = antes;
    const Validacion v = c.ConfirmarCampo(Seccion::Caracteristicas, 1, Valor(QString::fromUtf8("Bus Ω")), antes);
    EXPECT_TRUE(v.rechazado);
    EXPECT_EQ(v.mensaje, QString::fromUtf8("El texto contiene caracteres que no se pueden grabar: Ω") + kCrLf2);
    EXPECT_EQ(c.columnaS()(Seccion::Caracteristicas, 1).texto(), "Discrecional");
    EXPECT_EQ(c.descripcionTitulos(), "Discrecional");
}
