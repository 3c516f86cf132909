// pelmora-calc: opens a calculation file as the program does and prints its
// results as a readable report, or every entry of both columns as JSON.
//
// Exit codes: 0 done, 1 the output could not be written, 2 the file cannot
// be read (the reason goes to standard error), 64 wrong usage (the usage
// text goes to standard error).

#include "archivos/archivo.h"
#include "archivos/json.h"
#include "calculo/calculo.h"
#include "calculo/catalogo.h"
#include "entrada/numeros.h"

#include <QCoreApplication>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace pelmora;

namespace {

constexpr int kSalidaBien = 0;
constexpr int kSalidaEscritura = 1;
constexpr int kSalidaArchivo = 2;
constexpr int kSalidaUso = 64;

const char *const kUso = "Uso: pelmora-calc [--json] ARCHIVO\n"
                         "     pelmora-calc --help\n";

const char *const kAyuda =
    "Uso: pelmora-calc [--json] ARCHIVO\n"
    "\n"
    "Abre un cálculo de Pelmora (un archivo .clc, o un archivo de datos de\n"
    "referencia .obs) igual que lo abre el programa: lee las entradas grabadas,\n"
    "vuelve a calcular todos los campos, los resultados y el coste de los\n"
    "servicios, y escribe un informe en la salida estándar.\n"
    "\n"
    "El informe muestra, para las dos columnas (\"Cálculo Personalizado\" y\n"
    "\"Vededizaviro de Costes\", cada una con su fecha), los trece costes anuales\n"
    "del autocar con su porcentaje, los costes temporales, kilométricos,\n"
    "directos, indirectos y totales, la actividad anual y los costes unitarios\n"
    "C1 a C5; después, el coste de los cinco servicios del cálculo personalizado.\n"
    "Las cifras se escriben con los separadores de la configuración regional\n"
    "(variables LC_ALL, LC_NUMERIC y LANG).\n"
    "\n"
    "Opciones:\n"
    "  --json      escribe en su lugar todas las entradas de las dos columnas en\n"
    "              JSON (UTF-8): por columna las siete secciones como listas que\n"
    "              empiezan por la entrada 1 y la fecha (aaaa-mm-dd). Los números\n"
    "              llevan punto decimal y su precisión completa; una entrada\n"
    "              vacía es null.\n"
    "  -h, --help  muestra esta ayuda y termina.\n"
    "  --          lo que sigue es el nombre del archivo, aunque empiece por -.\n"
    "\n"
    "Códigos de salida:\n"
    "  0   correcto.\n"
    "  1   no se pudo escribir la salida.\n"
    "  2   el archivo no se puede leer; el motivo (\"Archivo no encontrado.\",\n"
    "      \"Archivo en mal estado.\", ...) se escribe en la salida de error.\n"
    "  64  uso incorrecto: falta el archivo, sobra un argumento o la opción no\n"
    "      existe.\n";

void escribir(FILE *f, const QByteArray &b)
{
    std::fwrite(b.constData(), 1, size_t(b.size()), f);
}

void escribir(FILE *f, const QString &texto)
{
    escribir(f, texto.toUtf8());
}

// ---------------------------------------------------------------------------
// Tables of text: a caption column on the left, figures right-aligned in
// columns, optionally grouped under a title that spans several columns.

struct Tabla {
    QStringList grupos;        // titles over each group of columns (may be empty)
    int columnasPorGrupo = 1;
    QStringList cabeceras;     // one per figure column (may be empty)
    std::vector<QStringList> filas; // caption, then one text per figure column
};

constexpr int kHueco = 3; // blanks between columns

QString componer(const Tabla &t)
{
    int columnas = int(t.cabeceras.size());
    for (const auto &f : t.filas)
        columnas = std::max(columnas, int(f.size()) - 1);

    int anchoTitulo = 0;
    for (const auto &f : t.filas)
        if (!f.isEmpty())
            anchoTitulo = std::max(anchoTitulo, int(f[0].size()));

    std::vector<int> ancho(size_t(std::max(columnas, 0)), 0);
    for (int j = 0; j < columnas; ++j) {
        if (j < t.cabeceras.size())
            ancho[size_t(j)] = int(t.cabeceras[j].size());
        for (const auto &f : t.filas)
            if (j + 1 < f.size())
                ancho[size_t(j)] = std::max(ancho[size_t(j)], int(f[j + 1].size()));
    }
    auto anchoGrupo = [&](int g) {
        const int primera = g * t.columnasPorGrupo;
        int total = 0;
        for (int j = primera; j < primera + t.columnasPorGrupo && j < columnas; ++j)
            total += ancho[size_t(j)] + (j > primera ? kHueco : 0);
        return total;
    };
    // A group title wider than its columns widens the group's first column.
    for (int g = 0; g < t.grupos.size(); ++g) {
        const int primera = g * t.columnasPorGrupo;
        const int falta = int(t.grupos[g].size()) - anchoGrupo(g);
        if (falta > 0 && primera < columnas)
            ancho[size_t(primera)] += falta;
    }

    auto sinBlancosFinales = [](QString l) {
        while (l.endsWith(' '))
            l.chop(1);
        return l + '\n';
    };
    auto linea = [&](const QString &titulo, const QStringList &celdas) {
        QString l = titulo.leftJustified(anchoTitulo);
        for (int j = 0; j < columnas; ++j) {
            l += QString(kHueco, ' ');
            l += (j < celdas.size() ? celdas[j] : QString()).rightJustified(ancho[size_t(j)]);
        }
        return sinBlancosFinales(l);
    };

    QString r;
    if (!t.grupos.isEmpty()) {
        QString l(anchoTitulo, ' ');
        for (int g = 0; g < t.grupos.size(); ++g)
            l += QString(kHueco, ' ') + t.grupos[g].rightJustified(anchoGrupo(g));
        r += sinBlancosFinales(l);
    }
    if (!t.cabeceras.isEmpty())
        r += linea(QString(), t.cabeceras);
    for (const auto &f : t.filas)
        r += linea(f.value(0), f.mid(1));
    return r;
}

// ---------------------------------------------------------------------------
// The report.

const char *const kTituloS = "Cálculo Personalizado";
const char *const kTituloO = "Vededizaviro de Costes";

QString tituloColumna(const char *base, const QDate &fecha)
{
    QString t = QString::fromUtf8(base);
    if (fecha.isValid())
        t += " (" + QLocale().toString(fecha, QLocale::ShortFormat) + ")";
    return t;
}

// Result slot n of a column as the results form shows it.
QString resultado(const Columna &c, int n)
{
    return FormatearNumero(c(Seccion::Resultados, n), decimalesResultado(n), true);
}

// A figure followed by its unit; nothing when the figure is blank.
QString conUnidad(const QString &cifra, const char *unidad, int anchoUnidad)
{
    if (cifra.isEmpty())
        return QString();
    return cifra + ' ' + QString::fromUtf8(unidad).leftJustified(anchoUnidad);
}

QString informe(const Calculo &calc, const QString &ruta)
{
    const Columna *cols[2] = {&calc.columnaS(), &calc.columnaO()};
    const QDate fechaS = calc.fechaTituloS().isValid() ? calc.fechaTituloS() : calc.columnaS().Fecha;
    const QDate fechaO = calc.fechaTituloO().isValid() ? calc.fechaTituloO() : calc.columnaO().Fecha;
    const QStringList grupos = {tituloColumna(kTituloS, fechaS), tituloColumna(kTituloO, fechaO)};

    QString r;
    r += "Archivo: " + ruta + '\n';
    r += "Autocar: " + FormatearNumero(calc.columnaS()(Seccion::Caracteristicas, 1), -1, false) + '\n';
    const QString categoria = FormatearNumero(calc.columnaS()(Seccion::Caracteristicas, 7), -1, false);
    if (!categoria.isEmpty())
        r += QString::fromUtf8("Categoría: ") + categoria + '\n';
    const QString explotacion = FormatearNumero(calc.columnaS()(Seccion::Caracteristicas, 8), -1, false);
    if (!explotacion.isEmpty())
        r += QString::fromUtf8("Explotación: ") + explotacion + '\n';

    // Annual costs: rows 1 to 13, then the subtotals and the total, each
    // with its share (slot + 20).
    {
        static const char *const kFilas[18] = {
            "Amortización del autocar", "Financiación del autocar", "Personal de a bordo",
            "Dietas del personal de a bordo", "Seguros del autocar", "Costes fiscales",
            "Combustible", "Neumáticos", "Reparaciones y conservación", "Peajes",
            "Costes de estructura", "Costes de comercialización", "Otros costes indirectos",
            "- Costes Temporales", "- Costes Kilométricos", "Costes Directos",
            "Costes Indirectos", "Costes Totales repercutibles a todos los servicios"};
        Tabla t;
        t.grupos = grupos;
        t.columnasPorGrupo = 2;
        t.cabeceras = {QString::fromUtf8("Euros (€)"), "%", QString::fromUtf8("Euros (€)"), "%"};
        for (int n = 1; n <= 18; ++n) {
            if (n == 14)
                t.filas.push_back({QString()});
            QStringList fila = {QString::fromUtf8(kFilas[n - 1])};
            for (const Columna *c : cols) {
                // Indirect costs entered as one total: the results form
                // hides the three breakdown rows of that column.
                const bool oculta = n >= 11 && n <= 13 && (*c)(Seccion::CostesIndirectos, 1).esFalso();
                fila << (oculta ? QString() : resultado(*c, n))
                     << (oculta ? QString() : resultado(*c, n + 20));
            }
            t.filas.push_back(fila);
        }
        r += "\nCostes Anuales\n\n" + componer(t);
    }

    // Activity and unit costs. As on the results form, the reference column
    // shows no passenger-kilometres and no C1.
    {
        struct Fila { int slot; const char *titulo; const char *unidad; };
        static const Fila kFilas[] = {
            {39, "Viajeros-Kilometro anuales", "viajeros-km"},
            {41, "Kilometraje anual", "km"},
            {42, "Kilometraje anual facturado", "km"},
            {43, "Horas anuales", "horas"},
            {44, "Horas anuales facturadas", "horas"},
            {0, "", ""},
            {40, "C1 = coste unitario por viajero-kilómetro", "€/viajero-km"},
            {45, "C2 = coste unitario por kilómetro (costes kilométricos)", "€/km"},
            {46, "C3 = coste unitario por hora (costes temporales e indirectos)", "€/hora"},
            {47, "C4 = coste unitario por kilómetro (costes totales)", "€/km"},
            {48, "C5 = coste unitario por hora (costes totales)", "€/hora"},
        };
        int anchoUnidad = 0;
        for (const auto &f : kFilas)
            anchoUnidad = std::max(anchoUnidad, int(QString::fromUtf8(f.unidad).size()));
        Tabla t;
        t.grupos = grupos;
        for (const auto &f : kFilas) {
            if (f.slot == 0) {
                t.filas.push_back({QString()});
                continue;
            }
            QStringList fila = {QString::fromUtf8(f.titulo)};
            for (int k = 0; k < 2; ++k) {
                const bool oculta = k == 1 && (f.slot == 39 || f.slot == 40);
                fila << (oculta ? QString() : conUnidad(resultado(*cols[k], f.slot), f.unidad, anchoUnidad));
            }
            t.filas.push_back(fila);
        }
        r += "\nActividad anual y costes unitarios\n\n" + componer(t);
    }

    // Services of the user column, as the service form shows them.
    {
        const Columna &s = calc.columnaS();
        auto campo = [&](int i) {
            return FormatearNumero(s(Seccion::Servicio, i), decimales(Seccion::Servicio, i), false);
        };
        r += "\nCoste de un servicio concreto (" + QString::fromUtf8(kTituloS) + ")\n\n";
        Tabla c1;
        c1.filas.push_back({QString::fromUtf8("Coste unitario por viajero-kilómetro"),
                            conUnidad(campo(1), "€/viajero-km", 0)});
        r += componer(c1) + '\n';

        Tabla t;
        for (int k = 1; k <= 5; ++k)
            t.cabeceras << QString("Servicio %1").arg(k);
        struct Fila { int desplazamiento; const char *titulo; };
        static const Fila kFilas[] = {
            {0, "Costes repercutidos únicamente a este servicio (Euros)"},
            {1, "Kilómetros facturados a este servicio"},
            {2, "Horas facturadas a este servicio"},
            {-1, "COSTE DEL SERVICIO según el tipo de facturación (Euros):"},
            {3, "  Kilómetros y horas"},
            {4, "  Kilómetros"},
            {5, "  Horas"},
        };
        for (const auto &f : kFilas) {
            QStringList fila = {QString::fromUtf8(f.titulo)};
            if (f.desplazamiento >= 0)
                for (int k = 0; k < 5; ++k)
                    fila << campo(2 + 6 * k + f.desplazamiento);
            t.filas.push_back(fila);
        }
        r += componer(t);
    }
    return r;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    FijarSeparadores();

    bool json = false;
    bool soloArchivos = false;
    QStringList archivos;
    const QStringList args = app.arguments();
    for (int k = 1; k < args.size(); ++k) {
        const QString &a = args[k];
        if (!soloArchivos && (a == "-h" || a == "--help")) {
            escribir(stdout, QString::fromUtf8(kAyuda));
            return kSalidaBien;
        }
        if (!soloArchivos && a == "--json") {
            json = true;
        } else if (!soloArchivos && a == "--") {
            soloArchivos = true;
        } else if (!soloArchivos && a.startsWith('-') && a != "-") {
            escribir(stderr, QString::fromUtf8("pelmora-calc: opción desconocida: ") + a + '\n');
            escribir(stderr, QString::fromUtf8(kUso));
            return kSalidaUso;
        } else {
            archivos << a;
        }
    }
    if (archivos.size() != 1) {
        escribir(stderr, archivos.isEmpty()
                     ? QString::fromUtf8("pelmora-calc: falta el archivo del cálculo\n")
                     : QString::fromUtf8("pelmora-calc: sobran argumentos; se lee un solo archivo\n"));
        escribir(stderr, QString::fromUtf8(kUso));
        return kSalidaUso;
    }

    const QString ruta = archivos.front();
    Calculo calculo;
    const ErrorArchivo err = AbrirArchivo(calculo, ruta);
    if (err != ErrorArchivo::Ninguno) {
        escribir(stderr, mensajeErrorArchivo(err) + '\n');
        return kSalidaArchivo;
    }

    escribir(stdout, json ? CalculoJson(calculo) : informe(calculo, ruta).toUtf8());
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return kSalidaEscritura;
    return kSalidaBien;
}
