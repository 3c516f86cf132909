#include "archivos/archivo.h"
#include "archivos/json.h"
#include "bytes.h"
#include "carpetas.h"
#include "calculo/campos.h"
#include "entrada/numeros.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstring>
#include <ctime>
#include <functional>

#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace pelmora;

namespace {

const char *const kReferencias[] = {
    "Autocar Estandar mas 55 plazas.obs",
    "Autocar Estandar 39 a 55 plazas.obs",
    "Autocar Estandar 26 a 38 plazas.obs",
    "Autocar Estandar 10 a 25 plazas.obs",
};

QString referencia(const char *nombre) { return QStringLiteral(PELMORA_DATOS "/Vededizaviro/") + QString::fromUtf8(nombre); }

using prueba::escribirBytes;
using prueba::leerBytes;

QList<QByteArray> lineas(const QByteArray &b)
{
    QList<QByteArray> l = b.split('\n');
    if (!l.isEmpty() && l.last().isEmpty())
        l.removeLast();
    for (auto &x : l)
        if (x.endsWith('\r'))
            x.chop(1);
    return l;
}

class Archivo : public ::testing::Test {
protected:
    void SetUp() override
    {
        fijarSeparadores(QLocale(QLocale::Spanish, QLocale::Spain));
        ASSERT_TRUE(dir.isValid());
    }
    QString ruta(const QString &n) const { return dir.filePath(n); }
    QTemporaryDir dir;
};

// Writes fail after `bytes` bytes while it lives, as on a full disk.
struct DiscoLleno {
    explicit DiscoLleno(qint64 bytes) : previo(limitarEscrituraParaPruebas(bytes)) {}
    ~DiscoLleno() { limitarEscrituraParaPruebas(previo); }
    qint64 previo;
};

const QDate kGrabadoEl(2026, 1, 2);

// A calculation saved at f on kGrabadoEl, with a change still to be saved.
void prepararCambio(Calculo &c, const QString &f)
{
    ASSERT_EQ(AbrirArchivo(c, referencia(kReferencias[2])), ErrorArchivo::Ninguno);
    c.hoy = [] { return kGrabadoEl; };
    ASSERT_EQ(GrabarCalculo(c, f), ErrorArchivo::Ninguno);
    c.hoy = [] { return QDate(2026, 12, 7); };
    const Valor plazas = c.columnaS()(kCar, Car::Plazas);
    ASSERT_FALSE(c.ConfirmarCampo(kCar, Car::Plazas, Valor(plazas.n() + 1), plazas).rechazado);
    ASSERT_TRUE(c.HayCambios());
}

// A failed save changed nothing: the file, the saved copy, the date and
// the folder (no temporary file left) are as they were.
void esperarNadaGrabado(const Calculo &c, const QString &f, const QByteArray &antes)
{
    EXPECT_EQ(leerBytes(f), antes);
    EXPECT_TRUE(c.HayCambios());
    EXPECT_EQ(c.columnaS().Fecha, kGrabadoEl);
    EXPECT_EQ(c.grabada().Fecha, kGrabadoEl);
    EXPECT_EQ(c.fechaTituloS(), kGrabadoEl);
    const QStringList enCarpeta =
        QDir(QFileInfo(f).absolutePath()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    EXPECT_EQ(enCarpeta, QStringList{QFileInfo(f).fileName()});
}

void esperarMismasEntradas(const Columna &a, const Columna &b)
{
    for (Seccion s : kSeccionesGrabadas)
        for (int i : ListaGrabada(s))
            EXPECT_TRUE(a(s, i) == b(s, i)) << datosSeccion(s).nombre << "(" << i << ")";
    EXPECT_EQ(a.Fecha, b.Fecha);
}

} // namespace

TEST_F(Archivo, CadaReferenciaSeAbreSinCambiosYConCifrasFinitas)
{
    double totalAnterior = 1e300;
    for (const char *nombre : kReferencias) {
        SCOPED_TRACE(nombre);
        Calculo c;
        ASSERT_EQ(AbrirArchivo(c, referencia(nombre)), ErrorArchivo::Ninguno);
        EXPECT_FALSE(c.HayCambios());
        EXPECT_TRUE(c.columnaS().Fecha.isValid());
        EXPECT_TRUE(c.columnaO().Fecha.isValid());
        for (Col col : {Col::S, Col::O}) {
            const Columna &R = c.columna(col);
            for (int n = 1; n <= 18; ++n)
                EXPECT_GE(R(Seccion::Resultados, n).n(), 0.0) << n;
            EXPECT_EQ(R(kRes, Res::cuota(Res::Totales)).n(), 100.0);
            for (int n : {40, 45, 46, 47, 48})
                EXPECT_GT(R(Seccion::Resultados, n).n(), 0.0) << n;
        }
        // Larger coaches cost more.
        const double total = c.columnaO()(kRes, Res::Totales).n();
        EXPECT_LT(total, totalAnterior);
        totalAnterior = total;
        // Every entered user figure is within its limits.
        for (Seccion s : kSeccionesGrabadas)
            for (int i : ListaGrabada(s))
                EXPECT_FALSE(ValidarCampo(s, c.columnaS(), i).rechazado) << datosSeccion(s).nombre << "(" << i << ")";
    }
}

TEST_F(Archivo, GrabarYVolverAAbrirDaLasMismas182EntradasYFechas)
{
    Calculo c;
    ASSERT_EQ(AbrirArchivo(c, referencia(kReferencias[1])), ErrorArchivo::Ninguno);
    c.hoy = [] { return QDate(2026, 12, 7); };
    c.ConfirmarCampo(kCar, Car::Descripcion, Valor("Autocar, \"especial\" ñ€"), c.columnaS()(kCar, Car::Descripcion));
    c.ConfirmarCampo(kVar, Var::Consumo, Valor(12.5), c.columnaS()(kVar, Var::Consumo));
    c.cambiarOpcion(Col::S, kF1, F1::CompraAutocar, 2);
    c.columnaParaPruebas(Col::S)(kServ, Serv::campo(4, Serv::Propios)) = Valor();
    EXPECT_TRUE(c.HayCambios());
    const QString f = ruta("uno.clc");
    ASSERT_EQ(GrabarCalculo(c, f), ErrorArchivo::Ninguno);
    EXPECT_FALSE(c.HayCambios());
    EXPECT_EQ(c.columnaS().Fecha, QDate(2026, 12, 7));
    EXPECT_EQ(c.fechaTituloS(), QDate(2026, 12, 7));

    const QByteArray bytes = leerBytes(f);
    const auto l = lineas(bytes);
    ASSERT_EQ(l.size(), 184);
    EXPECT_EQ(bytes.count("\r\n"), 184);
    EXPECT_EQ(l[14], "#FALSE#"); // line 15: how the coach is acquired
    EXPECT_EQ(l[91], "#2026-12-07#");
    EXPECT_TRUE(l[0].contains('\xf1')); // ñ in Windows-1252
    EXPECT_TRUE(l[0].contains('\x80')); // €
    EXPECT_TRUE(bytes.contains("\n12.5\r\n"));

    Calculo d;
    ASSERT_EQ(AbrirArchivo(d, f), ErrorArchivo::Ninguno);
    esperarMismasEntradas(c.columnaS(), d.columnaS());
    esperarMismasEntradas(c.columnaO(), d.columnaO());
    EXPECT_FALSE(d.HayCambios());
    EXPECT_EQ(d.textoMostrado(Col::S, kVar, Var::Consumo), "12,5");
    EXPECT_FALSE(d.columnaS()(kF1, F1::CompraAutocar).booleano());
    c.Actualizar(); // the results as the saved calculation gives them
    for (int n = 1; n <= 48; ++n)
        EXPECT_TRUE(mismoValorGuardado(c.columnaS()(Seccion::Resultados, n), d.columnaS()(Seccion::Resultados, n))) << n;

    // A column that never got a date is written with the format's empty date.
    Columna sinFecha = c.columnaS();
    sinFecha.Fecha = QDate();
    EXPECT_EQ(lineas(escribirCalculo(sinFecha, c.columnaO()))[91], "#1899-12-30#");
}

// A calculation typed and saved under one regional setting and opened under
// another holds the same values and shows them with the new separators.
TEST_F(Archivo, GrabadoEnUnLocaleYAbiertoEnOtroTieneLosMismosValores)
{
    const char *const locales[] = {"C.UTF-8", "en_US.UTF-8", "es_ES.UTF-8", "ca_ES.UTF-8", "de_DE.UTF-8",
                                   "fr_FR.UTF-8"};
    const struct {
        Seccion s;
        int i;
        const char *tecleado; // "." stands for the locale's separator
        double valor;
    } campos[] = {{kCar, Car::Longitud, "13.2", 13.2},          {kF1, F1::VidaAutocar, "12.5", 12.5},
                  {kF1, F1::PrecioAutocar, "234567.89", 234567.89}, {kF1, F1::InteresAutocar, "4.125", 4.125},
                  {kVar, Var::PrecioCarburante, "1.2345", 1.2345},  {kVar, Var::Descuento, "0.09", 0.09}};
    auto en = [](const char *locale) {
        ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr) << locale;
        fijarSeparadores(QLocale(QString::fromLatin1(locale).section('.', 0, 0)));
    };
    for (size_t k = 0; k < std::size(locales); ++k) {
        const char *otro = locales[(k + 2) % std::size(locales)];
        SCOPED_TRACE(std::string(locales[k]) + " -> " + otro);
        en(locales[k]);
        Calculo c;
        ASSERT_EQ(AbrirArchivo(c, referencia(kReferencias[2])), ErrorArchivo::Ninguno);
        for (const auto &f : campos) {
            const QString texto = QString::fromLatin1(f.tecleado).replace('.', separadorDecimal());
            c.ConfirmarCampo(f.s, f.i, LeerCampo(texto, decimales(f.s, f.i)), c.columnaS()(f.s, f.i));
            ASSERT_EQ(c.columnaS()(f.s, f.i).numero(), f.valor) << f.tecleado;
        }
        ASSERT_EQ(GrabarCalculo(c, ruta("regional.clc")), ErrorArchivo::Ninguno);
        en(otro);
        Calculo d;
        ASSERT_EQ(AbrirArchivo(d, ruta("regional.clc")), ErrorArchivo::Ninguno);
        esperarMismasEntradas(c.columnaS(), d.columnaS());
        for (const auto &f : campos)
            EXPECT_EQ(d.textoMostrado(Col::S, f.s, f.i), FormatearNumero(Valor(f.valor), decimales(f.s, f.i), false));
    }
    std::setlocale(LC_ALL, "C");
    fijarSeparadores(QLocale(QLocale::Spanish, QLocale::Spain));
}

// A reader that keeps its memory from file to file gives, for each file,
// what a new calculation gives: nothing of the one before stays (entries,
// blanked boxes, comments, the saved copy), after a failure neither.
TEST_F(Archivo, UnLectorDaLoMismoQueUnCalculoNuevoArchivoTrasArchivo)
{
    Columna s, o;
    ASSERT_EQ(leerCalculo(leerBytes(referencia(kReferencias[1])), s, o), ErrorArchivo::Ninguno);
    // Without financing, auxiliary equipment or allowances: boxes the
    // references fill stay blank.
    s(kF1, F1::PctFinanciadoAutocar) = Valor(0.0);
    s(kF1, F1::PrecioEquipos) = Valor(0.0);
    s(kF2, F2::DietaDiaria) = Valor(0.0);
    s(kCar, Car::Descripcion) = Valor(QStringLiteral("Sin financiar"));
    ASSERT_TRUE(escribirBytes(ruta("sin.clc"), escribirCalculo(s, o)));
    ASSERT_TRUE(escribirBytes(ruta("mal.clc"), leerBytes(referencia(kReferencias[0])).left(900)));
    const QString rutas[] = {referencia(kReferencias[0]), ruta("sin.clc"), referencia(kReferencias[3]),
                             ruta("mal.clc"), ruta("sin.clc"), ruta("no.clc"), referencia(kReferencias[2])};
    LectorCalculos lector;
    for (const QString &r : rutas) {
        Calculo nuevo;
        const ErrorArchivo e = AbrirArchivo(nuevo, r);
        ASSERT_EQ(lector.abrir(r), e) << r.toStdString();
        if (e != ErrorArchivo::Ninguno)
            continue;
        const Calculo &c = lector.calculo();
        EXPECT_EQ(calculoJson(c), calculoJson(nuevo)) << r.toStdString();
        esperarMismasEntradas(c.grabada(), nuevo.grabada());
        for (Col col : {Col::S, Col::O}) {
            EXPECT_EQ(c.comentario(col), nuevo.comentario(col));
            for (const DatosSeccion &d : kSecciones)
                for (int i = 1; i <= d.tamano; ++i) {
                    EXPECT_EQ(c.textoMostrado(col, d.seccion, i), nuevo.textoMostrado(col, d.seccion, i))
                        << r.toStdString() << " " << d.nombre << "(" << i << ")";
                    EXPECT_EQ(c.estado(col, d.seccion, i).entrada, nuevo.estado(col, d.seccion, i).entrada);
                }
        }
    }
}

// The one-line JSON of a fleet is the document without its line ends and
// the indentation after them, and a valid object: texts with quotes, line
// ends and controls escape theirs, so no line end of the layout is lost.
// The one-line JSON is the document without its line ends and indentation,
// also as the reference column changes one entry at a time by as little as
// the JSON can show (the line remembers the last reference columns written).
TEST_F(Archivo, LaLineaJsonEsElDocumentoSinSaltosNiSangria)
{
    const std::function<void(Columna &)> cambios[] = {
        [](Columna &) {}, // the same column again
        [](Columna &o) { o(kCar, Car::Descripcion) = Valor(QStringLiteral("Dos \"líneas\"\n  y\tun \u0085 control")); },
        [](Columna &o) { o(kCar, Car::KmAnuales) = Valor(std::nextafter(o(kCar, Car::KmAnuales).n(), HUGE_VAL)); },
        [](Columna &o) { o(kCar, Car::KmAnuales) = Valor(0.0); },
        [](Columna &o) { o(kCar, Car::KmAnuales) = Valor(-0.0); },
        [](Columna &o) { o(kCar, Car::KmAnuales) = Valor(); },
        [](Columna &o) {
            for (auto &seccion : o.secciones)
                for (Valor &v : seccion)
                    if (v.tipo() == Valor::Tipo::Booleano)
                        return void(v = Valor(!v.booleano()));
        },
        [](Columna &o) { o.Fecha = o.Fecha.addDays(1); },
    };
    Calculo c;
    for (const char *nombre : kReferencias) {
        ASSERT_EQ(AbrirArchivo(c, referencia(nombre)), ErrorArchivo::Ninguno);
        for (size_t paso = 0; paso < std::size(cambios); ++paso) {
            cambios[paso](c.columnaParaPruebas(Col::O));
            QByteArray esperada;
            const QByteArray documento = calculoJson(c);
            for (qsizetype k = 0; k < documento.size(); ++k) {
                if (documento[k] != '\n')
                    esperada += documento[k];
                else
                    while (k + 1 < documento.size() && documento[k + 1] == ' ')
                        ++k;
            }
            QByteArray linea = "{";
            anadirCalculoJsonEnLinea(linea, c);
            EXPECT_EQ(linea, esperada) << nombre << ", cambio " << paso;
            EXPECT_TRUE(QJsonDocument::fromJson(linea).isObject()) << nombre;
        }
    }
}

TEST_F(Archivo, FicherosCortosODanadosSeRechazanSinTocarElCalculo)
{
    const QByteArray buena = leerBytes(referencia(kReferencias[0]));
    ASSERT_FALSE(buena.isEmpty());
    auto l = lineas(buena);

    auto probar = [&](const QByteArray &bytes, ErrorArchivo esperado) {
        const QString f = ruta("mal.clc");
        if (!escribirBytes(f, bytes)) {
            ADD_FAILURE() << "cannot write " << f.toStdString();
            return;
        }
        Calculo c;
        const Columna antes = c.columnaS();
        EXPECT_EQ(AbrirArchivo(c, f), esperado);
        if (esperado != ErrorArchivo::Ninguno) {
            esperarMismasEntradas(antes, c.columnaS());
            EXPECT_FALSE(c.HayCambios());
        }
    };
    // One line missing.
    probar(buena.left(buena.lastIndexOf("\r\n", buena.size() - 3) + 2), ErrorArchivo::MalEstado);
    probar(QByteArray(), ErrorArchivo::MalEstado);
    // The last line without its line break is read all the same.
    probar(buena.chopped(2), ErrorArchivo::Ninguno);
    // Extra lines after line 184 are not read.
    probar(buena + "basura\r\nmas\r\n", ErrorArchivo::Ninguno);
    // Lines 92 and 184 must be dates.
    auto conLinea = [&](int n, const QByteArray &texto) {
        auto m = l;
        m[n - 1] = texto;
        return m.join("\r\n") + "\r\n";
    };
    probar(conLinea(92, "12.5"), ErrorArchivo::MalEstado);
    probar(conLinea(184, "#2026-02-30#"), ErrorArchivo::MalEstado);
    probar(conLinea(3, "doce"), ErrorArchivo::MalEstado);
    probar(conLinea(1, "\"sin cerrar"), ErrorArchivo::MalEstado);
    probar(conLinea(3, "1e999"), ErrorArchivo::MalEstado);
    // A number between -1 and 1 may come without its leading zero.
    probar(conLinea(3, ".5"), ErrorArchivo::Ninguno);
    // Each line holds the kind of its field: a number (line 2, the seats;
    // 94 the same of the reference column) or nothing, an option (line 15)
    // #TRUE# or #FALSE#; a free text (line 8) whatever it holds.
    const std::pair<int, const char *> deOtraClase[] = {
        {2, "#TRUE#"}, {2, "#false#"}, {2, "\"12\""}, {94, "#TRUE#"}, {15, ""}, {15, "1"}, {15, "\"#TRUE#\""}};
    for (const auto &[n, texto] : deOtraClase) {
        SCOPED_TRACE(std::to_string(n) + ": " + texto);
        probar(conLinea(n, texto), ErrorArchivo::MalEstado);
    }
    const std::pair<int, const char *> deSuClase[] = {{2, ""}, {94, "-3"}, {15, "#false#"}, {8, "12"}, {8, "#TRUE#"}, {8, ""}};
    for (const auto &[n, texto] : deSuClase) {
        SCOPED_TRACE(std::to_string(n) + ": " + texto);
        probar(conLinea(n, texto), ErrorArchivo::Ninguno);
    }
}

TEST_F(Archivo, CausasDeFalloAlAbrir)
{
    Calculo c;
    EXPECT_EQ(AbrirArchivo(c, ruta("no-existe.clc")), ErrorArchivo::NoEncontrado);
    EXPECT_EQ(AbrirArchivo(c, ruta("carpeta/no-existe.clc")), ErrorArchivo::CarpetaNoExiste);
    EXPECT_EQ(AbrirArchivo(c, QString()), ErrorArchivo::NombreNoValido);
    EXPECT_EQ(mensajeErrorArchivo(ErrorArchivo::NoEncontrado), "Archivo no encontrado.");
    EXPECT_EQ(mensajeErrorReferencia(ErrorArchivo::CarpetaNoExiste),
              "No existe el subdirectorio ...\\Vededizaviro.\r\n\r\n"
              "Los datos del Rizevorozev deben estar en este subdirectorio.");
}

TEST_F(Archivo, UnaGrabacionFallidaNoDaPorGuardadoNiTocaElArchivoAnterior)
{
    Calculo c;
    ASSERT_EQ(AbrirArchivo(c, referencia(kReferencias[2])), ErrorArchivo::Ninguno);
    const QString f = ruta("previo.clc");
    ASSERT_EQ(GrabarCalculo(c, f), ErrorArchivo::Ninguno);
    const QByteArray antes = leerBytes(f);
    c.columnaParaPruebas(Col::S)(kCar, Car::Plazas) = Valor(33.0);
    ASSERT_TRUE(c.HayCambios());
    // A folder that is gone, and a name that is a folder.
    EXPECT_EQ(GrabarCalculo(c, ruta("no/esta.clc")), ErrorArchivo::CarpetaNoExiste);
    ASSERT_TRUE(QDir(dir.path()).mkdir("carpeta.clc"));
    EXPECT_EQ(GrabarCalculo(c, ruta("carpeta.clc")), ErrorArchivo::AccesoDenegado);
    EXPECT_TRUE(c.HayCambios());
    EXPECT_EQ(leerBytes(f), antes);
}

TEST_F(Archivo, Windows1252IdaYVuelta)
{
    const struct {
        QString texto;
        QByteArray bytes;
    } casos[] = {
        {QString::fromUtf8("áéíóú ÁÉÍÓÚ ñÑ üÜ"), "\xe1\xe9\xed\xf3\xfa \xc1\xc9\xcd\xd3\xda \xf1\xd1 \xfc\xdc"},
        {QString::fromUtf8("€ “comillas” – ¿¡"), "\x80 \x93" "comillas\x94 \x96 \xbf\xa1"},
        {QString::fromUtf8("ÿ"), "\xff"},            // the last byte
        {QString(QChar(0x00A0)), "\xa0"},            // the no-break space, the first of the upper half
        {QString::fromUtf8("Ÿ"), "\x9f"},            // a letter of 0x80..0x9F
        {QString(QChar(0x0081)), "\x81"},            // a byte the set leaves undefined
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.texto.toStdString());
        bool perdida = true;
        EXPECT_EQ(aWindows1252(c.texto, &perdida), c.bytes);
        EXPECT_FALSE(perdida);
        EXPECT_EQ(desdeWindows1252(c.bytes), c.texto);
    }
    bool perdida = false;
    EXPECT_EQ(aWindows1252(QString::fromUtf8("a漢"), &perdida), "a?");
    EXPECT_TRUE(perdida);
}

// One line of a file, read: blanks (the no-break space among them) around
// an item go, a sign may lead a number, a text keeps what its quotes hold.
TEST_F(Archivo, ItemsDeUnaLinea)
{
    const QList<QByteArray> buenas = leerBytes(referencia(kReferencias[0])).split('\n');
    const struct {
        int linea; // 1: the description, a text; 3: the length, a number
        QByteArray texto;
        Valor valor; // empty when the file is refused
        bool leido = true;
    } casos[] = {
        {3, "+12.5", Valor(12.5)},
        {3, " +.5\t", Valor(0.5)},
        {3, "\xa0" "12\xa0", Valor(12.0)},
        {3, "-0.25", Valor(-0.25)},
        {3, "1e+2", Valor(100.0)},
        {3, "+", Valor(), false},
        {3, "++1", Valor(), false},
        {3, "+-1", Valor(), false},
        {3, "1e", Valor(), false},
        {3, "1 2", Valor(), false},
        {1, "\xa0\"\xa0\xff\xa0\"\xa0", Valor(QString::fromUtf8("\u00a0ÿ\u00a0"))},
        {1, "\"a\"\"b\"", Valor("a\"b")},
        {1, "\"a\"b", Valor(), false},
        {1, "#true#", Valor(true)}, // a free text takes what it holds
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.texto.toStdString());
        QList<QByteArray> l = buenas;
        l[c.linea - 1] = c.texto + "\r";
        Columna s, o;
        const ErrorArchivo e = leerCalculo(l.join('\n'), s, o);
        EXPECT_EQ(e, c.leido ? ErrorArchivo::Ninguno : ErrorArchivo::MalEstado);
        if (c.leido) {
            EXPECT_TRUE(s(kCar, c.linea == 1 ? Car::Descripcion : Car::Longitud) == c.valor);
        }
    }
}

// Right after a file is opened its services are within the year's billed
// kilometres and hours, and priced. The minimums as a calculation: 1.000
// billed km (20 % of 5.000), 20 billed hours (20 % of 100), 900 passenger-km
// (1.000 km with passengers, 9 × 10 % of them); 60.045 a year (the coach,
// 6.000 over 0,1 years, and fuel: 3 l per 100 km at 0,30 € over 5.000 km),
// so 60,045 a billed km and a C1 of 60.045 / 900 = 66,7167.
TEST_F(Archivo, LosServiciosSeRevisanAlAbrir)
{
    Columna s = Calculo::Minimos(), o = Calculo::Minimos();
    s(kServ, Serv::campo(0, Serv::Km)) = Valor(1500.0);  // above 1.000: back to 0
    s(kServ, Serv::campo(0, Serv::Horas)) = Valor(25.0); // above 20: back to 0
    s(kServ, Serv::campo(1, Serv::Km)) = Valor(1000.0);  // all of them: kept
    const QString f = ruta("servicios.clc");
    ASSERT_TRUE(escribirBytes(f, escribirCalculo(s, o)));
    Calculo c;
    ASSERT_EQ(AbrirArchivo(c, f), ErrorArchivo::Ninguno);
    const Columna &S = c.columnaS();
    EXPECT_EQ(S(kCar, Car::KmFacturados).n(), 1000.0);
    EXPECT_EQ(S(kCar, Car::HorasFacturadas).n(), 20.0);
    EXPECT_EQ(S(kServ, Serv::campo(0, Serv::Km)).n(), 0.0);
    EXPECT_EQ(S(kServ, Serv::campo(0, Serv::Horas)).n(), 0.0);
    EXPECT_TRUE(S(kServ, Serv::campo(0, Serv::PrecioKm)).vacio());
    EXPECT_EQ(S(kServ, Serv::campo(1, Serv::Km)).n(), 1000.0);
    EXPECT_EQ(S(kServ, Serv::campo(1, Serv::PrecioKm)).n(), 60045.0);
    EXPECT_TRUE(S(kServ, Serv::campo(1, Serv::PrecioHoras)).vacio());
    EXPECT_EQ(S(kServ, Serv::C1).n(), 66.7167);
    EXPECT_TRUE(c.HayCambios()); // the file held what the program changed
}

TEST_F(Archivo, UnRetornoDeCarroDentroDeUnTextoSeLeeComoLoQueSeGraba)
{
    // Line 99 ends in a bare LF with the CR inside the quotes.
    const QByteArray bytes = leerBytes(QStringLiteral(PELMORA_PRUEBAS "/datos/texto_con_cr.clc"));
    ASSERT_FALSE(bytes.isEmpty());
    Columna s, o;
    ASSERT_EQ(leerCalculo(bytes, s, o), ErrorArchivo::Ninguno);
    EXPECT_EQ(o(kCar, Car::Categoria).texto(), "Clase III ");
    Columna s2, o2;
    ASSERT_EQ(leerCalculo(escribirCalculo(s, o), s2, o2), ErrorArchivo::Ninguno);
    esperarMismasEntradas(o, o2);
    esperarMismasEntradas(s, s2);
}

TEST_F(Archivo, UnaEscrituraQueFallaNoTocaElArchivoNiLoDaPorGrabado)
{
    const QString f = ruta("previo.clc");
    // The write stops at the first byte, the second, half way, or one short.
    for (const int caso : {0, 1, 2, 3}) {
        SCOPED_TRACE(caso);
        Calculo c;
        ASSERT_NO_FATAL_FAILURE(prepararCambio(c, f));
        const QByteArray antes = leerBytes(f);
        const qint64 largo = escribirCalculo(c.columnaS(), c.columnaO()).size();
        const qint64 limite = caso < 2 ? caso : caso == 2 ? largo / 2 : largo - 1;
        {
            const DiscoLleno lleno(limite);
            EXPECT_EQ(GrabarCalculo(c, f), ErrorArchivo::DiscoLleno);
        }
        esperarNadaGrabado(c, f, antes);
        // A new file is not left half written either.
        {
            const DiscoLleno lleno(limite);
            EXPECT_EQ(GrabarCalculo(c, ruta("nuevo.clc")), ErrorArchivo::DiscoLleno);
        }
        EXPECT_FALSE(QFileInfo::exists(ruta("nuevo.clc")));
        // Once the disk takes it, the same save goes through whole.
        ASSERT_EQ(GrabarCalculo(c, f), ErrorArchivo::Ninguno);
        EXPECT_FALSE(c.HayCambios());
        EXPECT_EQ(leerBytes(f), escribirCalculo(c.columnaS(), c.columnaO()));
    }
}

#ifdef __linux__

namespace {

using prueba::CarpetaCerrada;
using prueba::llenar;
using prueba::Tmpfs;

} // namespace

TEST_F(Archivo, GrabarEnUnDiscoLlenoNoVaciaElArchivo)
{
    const QString montaje = ruta("disco");
    ASSERT_TRUE(QDir().mkpath(montaje));
    const Tmpfs disco(montaje);
    if (!disco.motivo.empty())
        GTEST_SKIP() << "Sin disco lleno de verdad: " << disco.motivo;
    const QString f = montaje + "/calculo.clc";
    Calculo c;
    ASSERT_NO_FATAL_FAILURE(prepararCambio(c, f));
    const QByteArray antes = leerBytes(f);
    ASSERT_FALSE(antes.isEmpty());
    ASSERT_TRUE(llenar(montaje));
    EXPECT_EQ(GrabarCalculo(c, f), ErrorArchivo::DiscoLleno);
    EXPECT_EQ(mensajeErrorArchivo(ErrorArchivo::DiscoLleno), QString::fromUtf8("El disco está lleno."));
    EXPECT_EQ(leerBytes(f), antes);
    EXPECT_TRUE(c.HayCambios());
    EXPECT_EQ(c.fechaTituloS(), kGrabadoEl);
    EXPECT_EQ(QDir(montaje).entryList(QDir::Files | QDir::Hidden), (QStringList{"calculo.clc", "relleno"}));
}

TEST_F(Archivo, UnArchivoQueSePuedeEscribirEnUnaCarpetaCerradaSeReescribeEnSuSitio)
{
    const QString carpeta = ruta("cerrada");
    ASSERT_TRUE(QDir().mkpath(carpeta));
    const QString f = carpeta + "/calculo.clc";
    Calculo c;
    ASSERT_NO_FATAL_FAILURE(prepararCambio(c, f));
    const QByteArray antes = leerBytes(f);
    const CarpetaCerrada cerrada(carpeta);
    if (!cerrada.motivo.empty())
        GTEST_SKIP() << "Sin carpeta cerrada: " << cerrada.motivo;
    ASSERT_FALSE(QFile(carpeta + "/prueba").open(QIODevice::WriteOnly)) << "la carpeta admite archivos nuevos";

    // A write that fails part-way puts the old bytes back.
    {
        const DiscoLleno lleno(700);
        EXPECT_EQ(GrabarCalculo(c, f), ErrorArchivo::DiscoLleno);
    }
    esperarNadaGrabado(c, f, antes);

    ASSERT_EQ(GrabarCalculo(c, f), ErrorArchivo::Ninguno);
    EXPECT_FALSE(c.HayCambios());
    EXPECT_EQ(c.fechaTituloS(), QDate(2026, 12, 7));
    EXPECT_EQ(leerBytes(f), escribirCalculo(c.columnaS(), c.columnaO()));
    // A shorter version leaves nothing of the longer one behind.
    c.ConfirmarCampo(kCar, Car::Descripcion, Valor("A"), c.columnaS()(kCar, Car::Descripcion));
    ASSERT_EQ(GrabarCalculo(c, f), ErrorArchivo::Ninguno);
    EXPECT_EQ(leerBytes(f), escribirCalculo(c.columnaS(), c.columnaO()));
}

TEST_F(Archivo, GrabarConservaElDuenoElGrupoYLosPermisos)
{
    const QString f = ruta("ajeno.clc");
    Calculo c;
    prepararCambio(c, f);
    const QByteArray nombre = QFile::encodeName(f);
    // Another user's file when run as root; the process's own otherwise.
    const uid_t dueno = ::geteuid() == 0 ? 65534 : ::geteuid();
    const gid_t grupo = ::geteuid() == 0 ? 65534 : ::getegid();
    ASSERT_EQ(::chown(nombre.constData(), dueno, grupo), 0) << std::strerror(errno);
    for (const mode_t permisos : {0640, 0604, 0600}) {
        SCOPED_TRACE(permisos);
        ASSERT_EQ(::chmod(nombre.constData(), permisos), 0);
        c.ConfirmarCampo(kCar, Car::Descripcion, Valor(QString::number(permisos)),
                         c.columnaS()(kCar, Car::Descripcion));
        ASSERT_EQ(GrabarCalculo(c, f), ErrorArchivo::Ninguno);
        struct stat st;
        ASSERT_EQ(::stat(nombre.constData(), &st), 0);
        EXPECT_EQ(st.st_uid, dueno);
        EXPECT_EQ(st.st_gid, grupo);
        EXPECT_EQ(st.st_mode & 07777, permisos);
        EXPECT_EQ(leerBytes(f), escribirCalculo(c.columnaS(), c.columnaO()));
    }
}

#endif

// Far from Spain the date saved is the user's local date, and a file read in
// another time zone keeps the date written. Auckland is a day ahead of UTC
// every evening in Europe; Los Angeles a day behind every morning.
TEST_F(Archivo, FechaLocalEnCualquierHusoHorario)
{
    const QByteArray antes = qgetenv("TZ");
    const auto huso = [](const char *tz) {
        qputenv("TZ", tz);
        tzset();
    };
    // Saved in, read in: between them, at any hour one local date is not UTC's.
    const char *husos[][2] = {{"Pacific/Auckland", "America/Los_Angeles"}, {"America/Los_Angeles", "Pacific/Kiritimati"},
                              {"Pacific/Kiritimati", "Etc/GMT+12"}, {"Etc/GMT+12", "Pacific/Auckland"}};
    for (const auto &[grabado, leido] : husos) {
        SCOPED_TRACE(grabado);
        huso(grabado);
        const QDate hoyAlli = QDateTime::currentDateTimeUtc().toTimeZone(QTimeZone(grabado)).date();
        Calculo c;
        ASSERT_EQ(AbrirArchivo(c, referencia(kReferencias[1])), ErrorArchivo::Ninguno);
        const QString f = ruta("huso.clc");
        ASSERT_EQ(GrabarCalculo(c, f), ErrorArchivo::Ninguno);
        EXPECT_EQ(lineas(leerBytes(f)).value(91).toStdString(), "#" + hoyAlli.toString(Qt::ISODate).toStdString() + "#");
        huso(leido);
        Calculo otro;
        ASSERT_EQ(AbrirArchivo(otro, f), ErrorArchivo::Ninguno);
        EXPECT_EQ(otro.columnaS().Fecha, hoyAlli);
        EXPECT_EQ(otro.fechaTituloS(), hoyAlli);
    }
    antes.isNull() ? qunsetenv("TZ") : qputenv("TZ", antes);
    tzset();
}
