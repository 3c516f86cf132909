#include "opciones.h"

#include "salida.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace pelmora {

namespace {

const char *const kUso = "Uso: pelmora-calc [--json] ARCHIVO\n"
                         "     pelmora-calc --help | --version\n";

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
    "(variables LC_ALL, LC_NUMERIC y LANG); las fechas, como en el programa\n"
    "(día/mes/año).\n"
    "\n"
    "Opciones:\n"
    "  --json      escribe en su lugar todas las entradas de las dos columnas en\n"
    "              JSON (UTF-8): por columna las siete secciones como listas que\n"
    "              empiezan por la entrada 1 y la fecha (aaaa-mm-dd). Los números\n"
    "              llevan punto decimal y su precisión completa; una entrada\n"
    "              vacía es null.\n"
    "  -h, --help  muestra esta ayuda y termina.\n"
    "  --version   muestra la versión y termina.\n"
    "  --          lo que sigue es el nombre del archivo, aunque empiece por -.\n"
    "\n"
    "Códigos de salida:\n"
    "  0   correcto.\n"
    "  1   no se pudo escribir la salida.\n"
    "  2   el archivo no se puede leer; el motivo (\"Archivo no encontrado.\",\n"
    "      \"Archivo en mal estado.\", ...) se escribe en la salida de error.\n"
    "  64  uso incorrecto: falta el archivo, sobra un argumento o la opción no\n"
    "      existe.\n";

LineaOrdenesCalc errorDeUso(const QString &motivo)
{
    escribir(stderr, QStringLiteral("pelmora-calc: ") + motivo + QLatin1Char('\n'));
    escribir(stderr, QString::fromUtf8(kUso));
    return {std::nullopt, kSalidaUso};
}

// The first argument before "--" that is no option of the command, as
// typed; -1 when there is none.
qsizetype primeraDesconocida(const QStringList &argumentos, const QStringList &conocidas)
{
    for (qsizetype k = 1; k < argumentos.size(); ++k) {
        const QString &a = argumentos[k];
        if (a == QLatin1String("--"))
            break;
        if (a.startsWith(QLatin1Char('-')) && a != QLatin1String("-") && !conocidas.contains(a))
            return k;
    }
    return -1;
}

} // namespace

LineaOrdenesCalc leerOpciones(const QStringList &argumentos)
{
    QCommandLineParser p;
    const QCommandLineOption ayuda(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption json(QStringLiteral("json"));
    p.addOptions({ayuda, version, json});
    const bool bien = p.parse(argumentos);
    const QStringList conocidas = {QStringLiteral("-h"), QStringLiteral("--help"), QStringLiteral("--version"),
                                   QStringLiteral("--json")};
    const qsizetype desconocida = primeraDesconocida(argumentos, conocidas);

    // The arguments are taken in order: help or the version before an
    // unknown option are answered, an unknown option before them is refused.
    auto antesDeLaDesconocida = [&](const QStringList &nombres) {
        for (qsizetype k = 1; k < argumentos.size() && argumentos[k] != QLatin1String("--"); ++k)
            if (nombres.contains(argumentos[k]))
                return desconocida < 0 || k < desconocida;
        return false;
    };
    if (antesDeLaDesconocida({QStringLiteral("-h"), QStringLiteral("--help")})) {
        escribir(stdout, QString::fromUtf8(kAyuda));
        return {std::nullopt, kSalidaBien};
    }
    if (antesDeLaDesconocida({QStringLiteral("--version")})) {
        escribir(stdout, QCoreApplication::applicationName() + QLatin1Char(' ') +
                             QCoreApplication::applicationVersion() + QLatin1Char('\n'));
        return {std::nullopt, kSalidaBien};
    }
    if (desconocida >= 0 || !bien)
        return errorDeUso(QStringLiteral("opción desconocida: ") +
                          (desconocida >= 0 ? argumentos[desconocida] : p.errorText()));

    const QStringList archivos = p.positionalArguments();
    if (archivos.isEmpty())
        return errorDeUso(QStringLiteral("falta el archivo del cálculo"));
    if (archivos.size() > 1)
        return errorDeUso(QStringLiteral("sobran argumentos; se lee un solo archivo"));
    Opciones o;
    o.formato = p.isSet(json) ? Formato::Json : Formato::Informe;
    o.archivo = archivos.front();
    return {o, kSalidaBien};
}

} // namespace pelmora
