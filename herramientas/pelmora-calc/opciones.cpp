#include "opciones.h"

#include "referencia.h"
#include "salida.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace pelmora {

namespace {

const char *const kUso = "Uso: pelmora-calc [--json] ARCHIVO\n"
                         "     pelmora-calc --referencia-de ARCHIVO CATEGORIA\n"
                         "     pelmora-calc --help | --version\n";

const char *const kAyuda =
    "Uso: pelmora-calc [--json] ARCHIVO\n"
    "     pelmora-calc --referencia-de ARCHIVO CATEGORIA\n"
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
    "  --referencia-de ARCHIVO CATEGORIA\n"
    "              escribe en su lugar el archivo de cifras de referencia (.obs)\n"
    "              que grabaría \"Importar cifras de referencia...\" del programa\n"
    "              para esa categoría: de un .obs, sus dos columnas tal como se\n"
    "              leen; de un .clc, su columna Cálculo Personalizado (líneas 1 a\n"
    "              92) como las dos columnas. CATEGORIA es su número, las plazas\n"
    "              como las muestra el programa o su forma corta:\n"
    "                1  \"10 - 25\"    o 10-25   Autocar Estandar 10 a 25 plazas.obs\n"
    "                2  \"26-38\"      o 26-38   Autocar Estandar 26 a 38 plazas.obs\n"
    "                3  \"39-55\"      o 39-55   Autocar Estandar 39 a 55 plazas.obs\n"
    "                4  \"Más de 55\"  o 56+     Autocar Estandar mas 55 plazas.obs\n"
    "              Guardada con el nombre de su categoría en la carpeta\n"
    "              ~/.local/share/Pelmora/Vededizaviro/, ocupa el lugar de las\n"
    "              cifras que trae el programa. Si el autocar no tiene las plazas\n"
    "              de la categoría, un aviso va a la salida de error.\n"
    "  -h, --help  muestra esta ayuda y termina.\n"
    "  --version   muestra la versión y termina.\n"
    "  --          lo que sigue es el nombre del archivo, aunque empiece por -.\n"
    "\n"
    "Códigos de salida:\n"
    "  0   correcto.\n"
    "  1   no se pudo escribir la salida.\n"
    "  2   el archivo no se puede leer; el motivo (\"Archivo no encontrado.\",\n"
    "      \"Archivo en mal estado.\", ...) se escribe en la salida de error.\n"
    "  64  uso incorrecto: falta el archivo, sobra un argumento, la opción o la\n"
    "      categoría no existe.\n";

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
    const QCommandLineOption referencia = opcionReferencia();
    p.addOptions({ayuda, version, json, referencia});
    const bool bien = p.parse(argumentos);
    const QStringList conocidas = {QStringLiteral("-h"), QStringLiteral("--help"), QStringLiteral("--version"),
                                   QStringLiteral("--json"), QStringLiteral("--referencia-de")};
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
    if (p.isSet(referencia)) {
        if (const QString motivo = comprobarReferencia(archivos, p.isSet(json)); !motivo.isEmpty())
            return errorDeUso(motivo);
        Opciones o;
        o.referencia = true;
        o.archivo = archivos[0];
        o.categoria = archivos[1];
        return {o, kSalidaBien};
    }
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
