// The analyses: sensitivity worked by hand and against commits typed one by
// one, the CSV writer under both conventions, the CSV of a calculation, and
// the walk of a fleet's folders.
#include "analisis/comparacion.h"
#include "analisis/exportar.h"
#include "analisis/rotulos.h"
#include "archivos/archivo.h"
#include "entrada/numeros.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

using namespace pelmora;

static void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace {

const QString kCarpetaReferencia = QStringLiteral(PELMORA_DATOS "/Vededizaviro");

class Analisis : public ::testing::Test {
protected:
    void SetUp() override { fijarSeparadores(QLocale(QLocale::Spanish, QLocale::Spain)); }
    void TearDown() override { fijarSeparadores(QLocale(QLocale::Spanish, QLocale::Spain)); }

    // A coach that makes the fuel cost easy to work out: 100.000 km a year,
    // 30 l/100 km, fuel at `precio` with 21 % VAT and no discount, so that
    // slot 7 is precio / 1,21 * 30.000. Six driven tyres.
    void preparar(double precio)
    {
        confirmar(kCar, Car::KmAnuales, 100000.0);
        confirmar(kVar, Var::Consumo, 30.0);
        confirmar(kVar, Var::PctIva, 21.0);
        confirmar(kVar, Var::PrecioCarburante, precio);
        confirmar(kVar, Var::NeumaticosMotrices, 6.0);
    }
    void confirmar(Seccion s, int i, double x)
    {
        ASSERT_FALSE(c.ConfirmarCampo(s, i, Valor(x), c.columnaS()(s, i)).rechazado) << i;
    }
    const EntradaSensibilidad *buscar(const Sensibilidad &r, Seccion s, int i)
    {
        for (const EntradaSensibilidad &e : r.entradas)
            if (e.seccion == s && e.indice == i)
                return &e;
        return nullptr;
    }
    Calculo c;
};

bool mismoEstado(const EstadoCalculo &a, const EstadoCalculo &b)
{
    for (int k = 0; k < kNumSecciones; ++k)
        if (a.columnaS.secciones[k] != b.columnaS.secciones[k] || a.columnaO.secciones[k] != b.columnaO.secciones[k] ||
            a.grabada.secciones[k] != b.grabada.secciones[k])
            return false;
    for (int col = 0; col < 2; ++col)
        for (int k = 0; k < kNumSecciones; ++k)
            for (size_t i = 0; i < a.campos[col][k].size(); ++i)
                if (a.campos[col][k][i].vacio != b.campos[col][k][i].vacio ||
                    a.campos[col][k][i].entrada != b.campos[col][k][i].entrada)
                    return false;
    return a.comentarios == b.comentarios && a.descripcionTitulos == b.descripcionTitulos;
}

} // namespace

// ---------------------------------------------------------------------------
// Sensitivity

TEST_F(Analisis, CadaLadoSeRedondeaSeLimitaOSeRechaza)
{
    const QString par = QStringLiteral("Valor mínimo = 0\r\n\r\nValor máximo = 6\r\n\r\n"
                                       "El número de neumáticos debe ser par.\r\n\r\n");
    struct Caso {
        double precio; // of the fuel, before the analysis
        int porcentaje;
        Seccion seccion;
        int indice;
        double bajo, alto;           // values tried
        double fuelBajo, fuelAlto;   // slot 7 at each side (NAN: refused)
        QString mensajeBajo, mensajeAlto;
    } casos[] = {
        // 1,21 -10 % = 1,089 and +10 % = 1,331: 0,9 and 1,1 without VAT, times 30.000.
        {1.21, 10, kVar, Var::PrecioCarburante, 1.089, 1.331, 27000.0, 33000.0, "", ""},
        // 1,9 +10 % = 2,09 is held at the maximum, 2; -10 % is 1,71.
        {1.9, 10, kVar, Var::PrecioCarburante, 1.71, 2.0, 42396.69, 49586.78, "", ""},
        // 1,2345 -15 % = 1,049325 and +15 % = 1,419675, to 4 decimals.
        {1.2345, 15, kVar, Var::PrecioCarburante, 1.0493, 1.4197, 26015.70, 35199.17, "", ""},
        // 6 tyres -10 % = 5,4, rounded to 5, is odd: refused; +10 % = 6,6,
        // rounded to 7, is held at 6, which moves nothing.
        {1.21, 10, kVar, Var::NeumaticosMotrices, 5.0, 6.0, NAN, 30000.0, par, ""},
        // Consumption 30 -25 % = 22,5; kilometres 100.000 +25 % = 125.000.
        {1.21, 25, kVar, Var::Consumo, 22.5, 37.5, 22500.0, 37500.0, "", ""},
        {1.21, 25, kCar, Car::KmAnuales, 75000.0, 125000.0, 22500.0, 37500.0, "", ""},
    };
    for (const Caso &k : casos) {
        SCOPED_TRACE(std::to_string(k.indice) + " at " + std::to_string(k.porcentaje) + " %");
        c.IniciarTablas();
        preparar(k.precio);
        const Sensibilidad r = calcularSensibilidad(c, k.porcentaje);
        const EntradaSensibilidad *e = buscar(r, k.seccion, k.indice);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->bajo.valor, k.bajo);
        EXPECT_EQ(e->alto.valor, k.alto);
        for (auto [lado, fuel, mensaje] : {std::tuple(&e->bajo, k.fuelBajo, k.mensajeBajo),
                                          std::tuple(&e->alto, k.fuelAlto, k.mensajeAlto)}) {
            EXPECT_EQ(lado->posible, !std::isnan(fuel));
            EXPECT_EQ(lado->mensaje, mensaje);
            if (lado->posible)
                EXPECT_EQ(lado->resultados[Res::Combustible - 1].n(), fuel);
            else
                EXPECT_TRUE(std::all_of(lado->resultados.begin(), lado->resultados.end(),
                                        [](const Valor &v) { return v.vacio(); }));
            // A refused side counts as the base in the swing.
            EXPECT_EQ(r.cifraLado(*lado, Res::Combustible),
                      std::isnan(fuel) ? c.columnaS()(kRes, Res::Combustible).n() : fuel);
        }
    }
}

TEST_F(Analisis, ElCalculoNoCambiaYElOrdenEsElDeLaOscilacion)
{
    ASSERT_EQ(AbrirArchivo(c, kCarpetaReferencia + "/Autocar Estandar 39 a 55 plazas.obs"), ErrorArchivo::Ninguno);
    const EstadoCalculo antes = c.estadoCalculo();
    int avisos = 0;
    QObject receptor;
    QObject::connect(&c, &Calculo::campoCambiado, &receptor, [&] { ++avisos; });
    QObject::connect(&c, &Calculo::resultadosCambiados, &receptor, [&] { ++avisos; });

    const Sensibilidad r = calcularSensibilidad(c);
    EXPECT_TRUE(mismoEstado(c.estadoCalculo(), antes));
    EXPECT_FALSE(c.HayCambios());
    EXPECT_EQ(avisos, 0);
    EXPECT_EQ(r.base, resultadosDe(c.columnaS()));

    ASSERT_GT(r.entradas.size(), 40u);
    for (size_t k = 1; k < r.entradas.size(); ++k) {
        const EntradaSensibilidad &a = r.entradas[k - 1], &b = r.entradas[k];
        ASSERT_GE(r.oscilacion(a), r.oscilacion(b)) << k;
        if (r.oscilacion(a) == r.oscilacion(b)) {
            EXPECT_LT(std::make_pair(ord(a.seccion), a.indice), std::make_pair(ord(b.seccion), b.indice)) << k;
        }
    }
    // Kilometres drive this coach's total most; the service rows move none.
    EXPECT_EQ(r.entradas.front().indice, Car::KmAnuales);
    EXPECT_EQ(r.entradas.back().seccion, kServ);
    // Sorting by another figure keeps the same entries.
    Sensibilidad porC3 = r;
    porC3.ordenar(Res::C3);
    EXPECT_EQ(porC3.entradas.size(), r.entradas.size());
    EXPECT_GE(porC3.oscilacion(porC3.entradas[0], Res::C3), porC3.oscilacion(porC3.entradas[1], Res::C3));
}

TEST_F(Analisis, SoloEntradasNumericasConCasillaDisponibleYValor)
{
    ASSERT_EQ(AbrirArchivo(c, kCarpetaReferencia + "/Autocar Estandar 39 a 55 plazas.obs"), ErrorArchivo::Ninguno);
    auto esta = [&](Seccion s, int i) {
        for (const CampoAnalizado &f : camposSensibles(c))
            if (f.seccion == s && f.indice == i)
                return true;
        return false;
    };
    const struct {
        Seccion s;
        int i;
        bool esta;
    } antes[] = {
        {kVar, Var::PrecioCarburante, true}, {kVar, Var::PctDescuento, false}, // derived, with limits
        {kCar, Car::Descripcion, false},     {kF1, F1::CompraAutocar, false},  // text, option
        {kCar, Car::KmFacturados, false},    {kF2, F2::DietaDiaria, true},
        {kF2, F2::DietasYPlus, false},       // disabled: the group is entered item by item
        {kVar, Var::PrecioArrastre, false},  // blanked without trailer tyres, 400 kept
        {kVar, Var::NeumaticosArrastre, false}, // 0
        {kServ, Serv::campo(0, Serv::Km), true},
        {kServ, Serv::campo(0, Serv::PrecioKm), false},
    };
    for (const auto &k : antes)
        EXPECT_EQ(esta(k.s, k.i), k.esta) << ord(k.s) << "(" << k.i << ")";
    // As one total, the group takes its total and no longer its items.
    c.cambiarOpcion(Col::S, kF2, F2::DietasDesglosadas, 2);
    EXPECT_TRUE(esta(kF2, F2::DietasYPlus));
    EXPECT_FALSE(esta(kF2, F2::DietaDiaria));
}

// A copy for trials commits as a plain copy does and, taken back, holds the
// calculation again: figures, boxes (the equipment's price at 0 disables
// its boxes), comments and titles; a refused value too.
TEST_F(Analisis, EnsayoComoCopiaYDeshechoComoElOriginal)
{
    ASSERT_EQ(AbrirArchivo(c, kCarpetaReferencia + "/Autocar Estandar 39 a 55 plazas.obs"), ErrorArchivo::Ninguno);
    const struct {
        Seccion s;
        int i;
        double x;
    } casos[] = {
        {kCar, Car::KmAnuales, 150000}, {kF1, F1::PrecioEquipos, 0},        {kVar, Var::NeumaticosMotrices, 5},
        {kF2, F2::DietaDiaria, 0},      {kInd, Ind::Estructura, 12345.67}, {kServ, Serv::campo(0, Serv::Km), 300},
    };
    const std::unique_ptr<Calculo> ensayo = c.clonarParaEnsayos();
    for (const auto &k : casos) {
        SCOPED_TRACE(std::to_string(ord(k.s)) + "(" + std::to_string(k.i) + ")");
        const std::unique_ptr<Calculo> copia = c.clonar();
        const Validacion v = copia->ConfirmarCampo(k.s, k.i, Valor(k.x), c.columnaS()(k.s, k.i));
        const Validacion w = ensayo->ConfirmarCampo(k.s, k.i, Valor(k.x), c.columnaS()(k.s, k.i));
        EXPECT_EQ(v.rechazado, w.rechazado);
        EXPECT_EQ(v.mensaje, w.mensaje);
        EXPECT_EQ(resultadosDe(ensayo->columnaS()), resultadosDe(copia->columnaS()));
        EXPECT_EQ(ensayo->columnaS().secciones, copia->columnaS().secciones);
        ensayo->deshacerEnsayo(c);
        EXPECT_TRUE(mismoEstado(ensayo->estadoCalculo(), c.estadoCalculo()));
    }
}

// Every side of every entry of the shipped calculations gives what typing
// the value shown into a freshly opened calculation gives.
TEST_F(Analisis, IgualQueTeclearCadaValorEnElCalculoRecienAbierto)
{
    const QStringList archivos = QDir(kCarpetaReferencia).entryList({"*.obs"}, QDir::Files, QDir::Name);
    ASSERT_EQ(archivos.size(), 4);
    for (const QLocale &idioma : {QLocale(QLocale::Spanish, QLocale::Spain), QLocale(QLocale::English)}) {
        fijarSeparadores(idioma);
        for (const QString &nombre : archivos) {
            const QString ruta = kCarpetaReferencia + '/' + nombre;
            ASSERT_EQ(AbrirArchivo(c, ruta), ErrorArchivo::Ninguno);
            const Sensibilidad r = calcularSensibilidad(c, 20);
            ASSERT_FALSE(r.entradas.empty());
            for (const EntradaSensibilidad &e : r.entradas) {
                for (const LadoSensibilidad *lado : {&e.bajo, &e.alto}) {
                    SCOPED_TRACE(nombre.toStdString() + " " + e.etiqueta.toStdString());
                    const int d = campo(e.seccion, e.indice).decimales;
                    QString tecleado = FormatearNumero(Valor(lado->valor), d, true);
                    tecleado.remove(separadorMiles());
                    Calculo fresco;
                    ASSERT_EQ(AbrirArchivo(fresco, ruta), ErrorArchivo::Ninguno);
                    const Validacion v = fresco.ConfirmarCampo(e.seccion, e.indice, LeerCampo(tecleado, d),
                                                               fresco.columnaS()(e.seccion, e.indice));
                    EXPECT_EQ(v.rechazado, !lado->posible);
                    EXPECT_EQ(v.mensaje, lado->mensaje);
                    if (!v.rechazado) {
                        EXPECT_EQ(resultadosDe(fresco.columnaS()), lado->resultados);
                    }
                }
            }
        }
    }
}

// ---------------------------------------------------------------------------
// CSV

TEST(Csv, ComillasSeparadoresYDecimales)
{
    const FormatoCsv coma = formatoCsv(QLatin1Char(',')), punto = formatoCsv(QLatin1Char('.'));
    EXPECT_EQ(coma.separador, ';');
    EXPECT_EQ(punto.separador, ',');
    EXPECT_EQ(punto.decimal, '.');
    EXPECT_EQ(formatoCsv(QChar(0x066B)).separador, ','); // any other mark: the point
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        CeldaCsv celda;
        const char *conComa, *conPunto;
    } casos[] = {
        {CeldaCsv("Autocar ñ €"), "Autocar ñ €", "Autocar ñ €"},
        {CeldaCsv("a;b"), "\"a;b\"", "a;b"},
        {CeldaCsv("a,b"), "a,b", "\"a,b\""},
        {CeldaCsv("dice \"sí\""), "\"dice \"\"sí\"\"\"", "\"dice \"\"sí\"\"\""},
        {CeldaCsv("una\r\ndos"), "\"una\r\ndos\"", "\"una\r\ndos\""},
        {CeldaCsv("solo\nLF"), "\"solo\nLF\"", "\"solo\nLF\""},
        {CeldaCsv(" delante"), "\" delante\"", "\" delante\""},
        {CeldaCsv("detrás\t"), "\"detrás\t\"", "\"detrás\t\""},
        {CeldaCsv("dentro y fuera"), "dentro y fuera", "dentro y fuera"},
        {CeldaCsv(""), "", ""},
        {CeldaCsv(), "", ""},
        {CeldaCsv::numero(1234567.891, 2), "1234567,89", "1234567.89"},
        {CeldaCsv::numero(2.675, 2), "2,68", "2.68"}, // rounded as displayed, not as stored
        {CeldaCsv::numero(-0.004, 2), "0,00", "0.00"},
        {CeldaCsv::numero(-12.5, 0), "-13", "-13"},
        {CeldaCsv::numero(0.05, 4), "0,0500", "0.0500"},
        {CeldaCsv::numero(inf, 2), "", ""},
        {CeldaCsv::valor(Valor(), 2), "", ""},
        {CeldaCsv::valor(Valor(true), 0), "Sí", "Sí"},
        {CeldaCsv::valor(Valor(QStringLiteral("12;5")), 2), "\"12;5\"", "12;5"},
        {CeldaCsv::valor(Valor(3.0), 1), "3,0", "3.0"},
        // What a spreadsheet would take for a formula is shown as text.
        {CeldaCsv("=SUM(10;20)"), "\"'=SUM(10;20)\"", "\"'=SUM(10;20)\""},
        {CeldaCsv("=HYPERLINK(\"h\"&A1)"), "\"'=HYPERLINK(\"\"h\"\"&A1)\"", "\"'=HYPERLINK(\"\"h\"\"&A1)\""},
        {CeldaCsv("=cmd|' /C calc'!A0"), "\"'=cmd|' /C calc'!A0\"", "\"'=cmd|' /C calc'!A0\""},
        {CeldaCsv("+1"), "\"'+1\"", "\"'+1\""},
        {CeldaCsv("-2-3"), "\"'-2-3\"", "\"'-2-3\""},
        {CeldaCsv("@A1"), "\"'@A1\"", "\"'@A1\""},
        {CeldaCsv("\t=1"), "\"'\t=1\"", "\"'\t=1\""},
        {CeldaCsv("\r=1"), "\"'\r=1\"", "\"'\r=1\""},
        {CeldaCsv("a=1"), "a=1", "a=1"},
        {CeldaCsv::numero(-1.5, 1), "-1,5", "-1.5"},
    };
    for (const auto &k : casos) {
        EXPECT_EQ(k.celda.texto(coma), QString::fromUtf8(k.conComa));
        EXPECT_EQ(k.celda.texto(punto), QString::fromUtf8(k.conPunto));
    }
    const QByteArray doc = documentoCsv({{"a", CeldaCsv::numero(1.5, 1)}, {CeldaCsv(), "x y"}}, coma);
    EXPECT_EQ(doc, QByteArray("\xEF\xBB\xBF" "a;1,5\r\n;x y\r\n"));
    EXPECT_EQ(lineaCsv({"é"}, punto), QByteArray("\xC3\xA9\r\n"));
}

TEST_F(Analisis, CsvDeUnCalculo)
{
    ASSERT_EQ(AbrirArchivo(c, kCarpetaReferencia + "/Autocar Estandar 39 a 55 plazas.obs"), ErrorArchivo::Ninguno);
    // Indirect costs of the user column as one total: its breakdown is not shown.
    c.cambiarOpcion(Col::S, kInd, Ind::Desglosado, 2);
    const QByteArray csv = calculoCsv(c);
    ASSERT_TRUE(csv.startsWith("\xEF\xBB\xBF"));
    ASSERT_TRUE(csv.endsWith("\r\n"));
    const QStringList lineas = QString::fromUtf8(csv.mid(3)).split("\r\n");
    // Heading, the fields of five sections, 46 result slots, 31 service fields, the end.
    ASSERT_EQ(lineas.size(), 1 + 23 + 20 + 28 + 19 + 5 + 46 + 31 + 1);
    const QStringList esperadas = {
        QString::fromUtf8("Sección;Concepto;Cálculo Personalizado;Vededizaviro de Costes;Unidad"),
        QString::fromUtf8("Características Técnicas y de Explotación;Descripción del autocar;"
                          "Autocar estándar de 39 a 55 plazas;Autocar estándar de 39 a 55 plazas;"),
        QString::fromUtf8("Características Técnicas y de Explotación;Kilómetros anuales;110000;110000;km"),
        QString::fromUtf8("Amortización y Financiación;Autocar: forma de adquisición;Compra;Compra;"),
        QString::fromUtf8("Costes Variables;Precio del carburante con IVA;1,4500;1,4500;€/litro"),
        QString::fromUtf8("Costes Indirectos;Costes indirectos: forma de introducirlos;Total;Desglosado;"),
        QString::fromUtf8("Resultados;Costes de estructura;;7500,00;€/año"),
        QString::fromUtf8("Resultados;Costes totales;157537,64;157537,64;€/año"),
        QString::fromUtf8("Resultados;C1 = coste unitario por viajero-kilómetro;0,0520;;€/viajero-km"),
        QString::fromUtf8("Costes de un servicio concreto;Servicio 1: kilómetros facturados;420,0;;km"),
    };
    for (const QString &l : esperadas)
        EXPECT_TRUE(lineas.contains(l)) << l.toStdString();
    // A blanked box is written empty: the price of trailer tyres when
    // there are none (the value is kept).
    ASSERT_TRUE(c.estado(Col::S, kVar, Var::PrecioArrastre).vacio);
    EXPECT_TRUE(
        lineas.contains(QString::fromUtf8("Costes Variables;Neumáticos de arrastre: precio sin IVA;;;€/neumático")));

    // Its rows in a comparison: the user column shows no breakdown of the
    // indirect costs (its last item neither), and no price of a service
    // priced 0.
    c.columnaParaPruebas(Col::S)(kServ, Serv::campo(1, Serv::PrecioKmYHoras)) = Valor(0.0);
    const FilaCsv cabecera = cabeceraComparacion();
    const CalculoComparado comparado = compararCalculo(c, QStringLiteral("c.clc"));
    const auto celda = [&](Col col, const char *titulo) {
        const FormatoCsv f = formatoCsv(QLatin1Char(','));
        for (size_t k = 0; k < cabecera.size(); ++k)
            if (cabecera[k].texto(f) == QString::fromUtf8(titulo))
                return filaComparacion(comparado, col)[k].texto(f);
        return QStringLiteral("sin columna");
    };
    EXPECT_EQ(celda(Col::S, "Otros costes indirectos"), "");
    EXPECT_EQ(celda(Col::O, "Otros costes indirectos"), "1400,00");
    EXPECT_EQ(celda(Col::S, "Servicio 2: coste (kilómetros y horas)"), "");
    EXPECT_NE(celda(Col::S, "Servicio 1: coste (kilómetros y horas)"), "");

    // With the point as decimal mark: "," between fields.
    fijarSeparadores(QLocale(QLocale::English));
    EXPECT_TRUE(QString::fromUtf8(calculoCsv(c)).contains(
        QString::fromUtf8("Costes Variables,Precio del carburante con IVA,1.4500,1.4500,€/litro\r\n")));
}

TEST_F(Analisis, CsvYJsonDeLaSensibilidad)
{
    preparar(1.21);
    const Sensibilidad r = calcularSensibilidad(c);
    const std::vector<FilaCsv> filas = filasSensibilidad(r);
    ASSERT_EQ(filas.size(), r.entradas.size() + 1);
    for (const FilaCsv &f : filas)
        EXPECT_EQ(f.size(), 6u + 3 * 6 + 2);
    const FormatoCsv coma = formatoCsv(QLatin1Char(','));
    EXPECT_EQ(filas[0][4].texto(coma), "Valor -10 %");
    EXPECT_EQ(filas[0][7].texto(coma), "Coste total anual -10 %");
    // The tyres: refused below, so its figures there are empty and its message is on one line.
    for (size_t k = 0; k < r.entradas.size(); ++k) {
        if (r.entradas[k].indice != Var::NeumaticosMotrices || r.entradas[k].seccion != kVar)
            continue;
        const FilaCsv &f = filas[k + 1];
        EXPECT_EQ(f[4].texto(coma), "5");
        EXPECT_EQ(f[7].texto(coma), "");               // refused
        EXPECT_EQ(f[8].texto(coma), f[6].texto(coma)); // held at 6: the total as it is
        EXPECT_EQ(f[24].texto(coma), QString::fromUtf8("Valor mínimo = 0 Valor máximo = 6 "
                                                       "El número de neumáticos debe ser par."));
        EXPECT_EQ(f[25].texto(coma), "");
    }
    const QByteArray json = sensibilidadJson(r);
    EXPECT_TRUE(json.startsWith("{\n  \"Porcentaje\": 10,\n  \"Base\": ["));
    EXPECT_TRUE(json.contains("\"Bajo\": 1.089, \"Alto\": 1.331"));
    EXPECT_TRUE(json.contains("\"ResultadosBajo\": null"));
    EXPECT_TRUE(json.contains("\"MensajeBajo\": \"Valor mínimo = 0\\r\\n\\r\\nValor máximo = 6\\r\\n"));
}

TEST(Rotulos, DistintosEnCadaSeccion)
{
    for (Seccion s : {kCar, kF1, kF2, kVar, kInd, kServ, kRes}) {
        QStringList vistos;
        for (int i = 1; i <= tamano(s); ++i) {
            const QString e = rotulo(s, i).etiqueta;
            if (s == kRes && (i == 19 || i == 20)) {
                EXPECT_TRUE(e.isEmpty());
                continue;
            }
            // Within the results, the passenger-km and the hours match the
            // characteristics' captions; within a section, none repeats.
            EXPECT_FALSE(e.isEmpty()) << ord(s) << "(" << i << ")";
            EXPECT_FALSE(vistos.contains(e)) << e.toStdString();
            vistos << e;
        }
    }
}

// Every box is named on its own within its form, and every option pair has
// its group and both captions (which the CSV also writes).
TEST(Catalogo, NombresDeCajasYDePares)
{
    for (Seccion s : {kCar, kF1, kF2, kVar, kInd, kServ}) {
        QStringList vistos;
        for (int i = 1; i <= tamano(s); ++i) {
            const OpcionInfo &o = opcion(s, i);
            const bool par = campo(s, i).tipo == TipoCampo::Opcion;
            EXPECT_EQ(*o.grupo && *o.primera && *o.segunda, par) << ord(s) << "(" << i << ")";
            EXPECT_EQ(*o.grupo || *o.primera || *o.segunda, par) << ord(s) << "(" << i << ")";
            if (par)
                continue;
            const QString n = nombreCampo(s, i);
            EXPECT_TRUE(n.startsWith(QString::fromUtf8(campo(s, i).etiqueta)) && !vistos.contains(n)) << n.toStdString();
            EXPECT_FALSE(campo(s, i).etiqueta[0] == '\0') << ord(s) << "(" << i << ")";
            vistos << n;
        }
    }
}

// The folders walked one at a time give what listing the whole tree and
// sorting every path gives: names that sort one way as folders and another
// as parts of a path, "*.clc" in any case, hidden entries and linked folders
// left out, a folder named like a calculation walked into.
TEST(Flota, RecorridoEnOrdenDeRutas)
{
    QTemporaryDir dir;
    const char *const archivos[] = {"a.clc",        "a/z.clc",    "a-b.clc",  "a-b/c.clc", "a0/x.clc",
                                    "B.CLC",        "b.clc",      "notas.txt", ".oculto.clc", ".oculta/x.clc",
                                    "d.clc/e.clc",  "a/b/c/d.clc", "a b/e.clc", "ñ.clc",    "Z/a.clc"};
    for (const char *a : archivos) {
        const QString ruta = dir.filePath(QString::fromUtf8(a));
        ASSERT_TRUE(QDir().mkpath(QFileInfo(ruta).path()));
        QFile f(ruta);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QFile::link(dir.filePath("a"), dir.filePath("enlace")));

    QStringList esperado;
    QDirIterator it(dir.path(), {QStringLiteral("*.clc")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        esperado << it.next();
    std::sort(esperado.begin(), esperado.end());

    QStringList hallado;
    EXPECT_EQ(recorrerCalculos(dir.path(), [&](const QString &r, bool) { hallado << r; }), esperado.size());
    EXPECT_EQ(hallado, esperado);
    EXPECT_EQ(esperado.size(), 12);
    // A path that is no folder is handed as it is, found or not.
    hallado.clear();
    EXPECT_EQ(recorrerCalculos(dir.filePath("falta.clc"), [&](const QString &r, bool) { hallado << r; }), 1);
    EXPECT_EQ(hallado, QStringList{dir.filePath("falta.clc")});
}

// The walk tells a plain file from a link or a pipe; a path taken for a
// plain file that is a pipe by the time it is opened is still refused, and
// opening it does not wait for a writer.
TEST(Flota, ArchivosRegularesDelRecorrido)
{
    QTemporaryDir dir;
    const QByteArray base = QFile::encodeName(dir.path()) + '/';
    QFile f(dir.filePath("a.clc"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    ASSERT_EQ(::symlink("a.clc", base + "b enlace.clc"), 0);
    ASSERT_EQ(::mkfifo(base + "c tuberia.clc", 0644), 0);
    std::map<QString, bool> regular;
    recorrerCalculos(dir.path(), [&](const QString &r, bool reg) { regular[QFileInfo(r).fileName()] = reg; });
    const std::map<QString, bool> esperado{{"a.clc", true}, {"b enlace.clc", false}, {"c tuberia.clc", false}};
    EXPECT_EQ(regular, esperado);
    LectorCalculos lector;
    EXPECT_EQ(lector.abrir(dir.filePath("c tuberia.clc"), true), ErrorArchivo::AccesoDenegado);
}
