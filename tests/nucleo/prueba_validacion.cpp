#include "archivos/windows1252.h"
#include "calculo/calculo.h"
#include "calculo/campos.h"
#include "calculo/validacion.h"
#include "entrada/numeros.h"

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
    const Validacion v = validar(kCar, Car::Plazas, Valor(201.0));
    EXPECT_TRUE(v.rechazado);
    EXPECT_EQ(v.mensaje, "Valor mínimo = 10" + kCrLf2 + "Valor máximo = 200" + kCrLf2);
    EXPECT_FALSE(validar(kCar, Car::Plazas, Valor(200.0)).rechazado);
    // A zero limit reads 0, not an empty text.
    const Validacion w = validar(kF2, F2::Sueldo, Valor(-1.0));
    EXPECT_EQ(w.mensaje, "Valor mínimo = 0,00" + kCrLf2 + "Valor máximo = 150.000,00" + kCrLf2);
}

TEST_F(Validar, TextoConMinimoDeCaracteres)
{
    const Validacion v = validar(kCar, Car::Descripcion, Valor(QString()));
    EXPECT_TRUE(v.rechazado);
    EXPECT_EQ(v.mensaje, "El mínimo de caracteres es de 1." + kCrLf2);
    EXPECT_FALSE(validar(kCar, Car::Categoria, Valor(QString())).rechazado);
}

TEST_F(Validar, NeumaticosImparesDentroDeLimites)
{
    const Validacion v = validar(kVar, Var::NeumaticosDireccionales, Valor(3.0));
    EXPECT_TRUE(v.rechazado);
    EXPECT_EQ(v.mensaje,
              "Valor mínimo = 0" + kCrLf2 + "Valor máximo = 6" + kCrLf2 + "El número de neumáticos debe ser par." + kCrLf2);
    EXPECT_FALSE(validar(kVar, Var::NeumaticosArrastre, Valor(4.0)).rechazado);
}

TEST_F(Validar, DescuentoFrenteAlPrecio)
{
    c.columnaParaPruebas(Col::S)(kVar, Var::PrecioCarburante) = Valor(1.0);
    const Validacion v = validar(kVar, Var::Descuento, Valor(0.7));
    EXPECT_TRUE(v.rechazado);
    EXPECT_TRUE(v.mensaje.endsWith("El porcentaje de descuento debe estar entre el 0,0% y el 60,0%." + kCrLf2));
    EXPECT_FALSE(validar(kVar, Var::Descuento, Valor(0.6)).rechazado);
    EXPECT_FALSE(validar(kVar, Var::Descuento, Valor(0.0)).rechazado); // exactly the minimum
    // Without a price there is nothing to compare with.
    c.columnaParaPruebas(Col::S)(kVar, Var::PrecioCarburante) = Valor(0.0);
    EXPECT_FALSE(validar(kVar, Var::Descuento, Valor(0.7)).rechazado);
}

TEST_F(Validar, DescuentoDeJustoElMaximoACualquierPrecio)
{
    // Every price of 4 decimals whose 60 % has 4 decimals too, 0,301 among
    // them: that discount is accepted, kept when the price is entered
    // again, and one ten-thousandth more is refused.
    for (int k = 3000; k <= 20000; k += 5) {
        const double precio = k / 10000.0, maximo = (6 * k / 10) / 10000.0;
        SCOPED_TRACE(precio);
        c.columnaParaPruebas(Col::S)(kVar, Var::PrecioCarburante) = Valor(precio);
        ASSERT_FALSE(c.ConfirmarCampo(kVar, Var::Descuento, Valor(maximo), Valor(0.0)).rechazado);
        c.ConfirmarCampo(kVar, Var::PrecioCarburante, Valor(precio), Valor(precio));
        ASSERT_EQ(c.columnaS()(kVar, Var::Descuento).n(), maximo);
        ASSERT_TRUE(validar(kVar, Var::Descuento, Valor(maximo + 0.0001)).rechazado);
    }
}

TEST_F(Validar, ServicioNoSuperaLosTotalesAnuales)
{
    c.columnaParaPruebas(Col::S)(kCar, Car::KmFacturados) = Valor(1000.0);
    c.columnaParaPruebas(Col::S)(kCar, Car::HorasFacturadas) = Valor(100.0);
    EXPECT_FALSE(validar(kServ, Serv::campo(1, Serv::Km), Valor(1000.0)).rechazado);
    const Validacion km = validar(kServ, Serv::campo(1, Serv::Km), Valor(1000.5));
    EXPECT_TRUE(km.rechazado);
    EXPECT_TRUE(km.mensaje.endsWith(
        "El número de kilómetros facturados en este servicio no puede ser mayor que el total." + kCrLf2));
    const Validacion h = validar(kServ, Serv::campo(4, Serv::Horas), Valor(101.0));
    EXPECT_TRUE(h.mensaje.endsWith(
        "El número de horas facturadas en este servicio no puede ser mayor que el total." + kCrLf2));
    EXPECT_FALSE(validar(kServ, Serv::campo(1, Serv::Propios), Valor(50000.0)).rechazado); // own costs: range only
}

TEST_F(Validar, ConfirmarRestauraElValorAnteriorYRecalcula)
{
    c.columnaParaPruebas(Col::S)(kCar, Car::KmAnuales) = Valor(100000.0);
    c.columnaParaPruebas(Col::S)(kCar, Car::PctKmFacturados) = Valor(50.0);
    c.Recalcular(Seccion::Caracteristicas, Col::S, 9);
    const Validacion v = c.ConfirmarCampo(kCar, Car::KmAnuales, Valor(500000.0), Valor(100000.0));
    EXPECT_TRUE(v.rechazado);
    EXPECT_EQ(c.columnaS()(kCar, Car::KmAnuales).numero(), 100000.0);
    EXPECT_EQ(c.columnaS()(kCar, Car::KmFacturados).numero(), 50000.0);
    const Validacion w = c.ConfirmarCampo(kCar, Car::KmAnuales, Valor(200000.0), Valor(100000.0));
    EXPECT_FALSE(w.rechazado);
    EXPECT_TRUE(w.mensaje.isEmpty());
    EXPECT_EQ(c.columnaS()(kCar, Car::KmFacturados).numero(), 100000.0);
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
        const Validacion v = validar(kCar, Car::Explotacion, Valor(caso.texto));
        EXPECT_EQ(v.rechazado, !caso.malos.isEmpty());
        if (!caso.malos.isEmpty()) {
            EXPECT_EQ(v.mensaje, "El texto contiene caracteres que no se pueden grabar: " + caso.malos + kCrLf2);
        }
    }
    // Refused as any value: the old one comes back.
    const Valor antes(QStringLiteral("Discrecional"));
    c.columnaParaPruebas(Col::S)(kCar, Car::Descripcion) = antes;
    const Validacion v = c.ConfirmarCampo(kCar, Car::Descripcion, Valor(QString::fromUtf8("Bus Ω")), antes);
    EXPECT_TRUE(v.rechazado);
    EXPECT_EQ(v.mensaje, QString::fromUtf8("El texto contiene caracteres que no se pueden grabar: Ω") + kCrLf2);
    EXPECT_EQ(c.columnaS()(kCar, Car::Descripcion).texto(), "Discrecional");
    EXPECT_EQ(c.descripcionTitulos(), "Discrecional");
}
