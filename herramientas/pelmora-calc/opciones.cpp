#include "opciones.h"

#include "precio.h"
#include "referencia.h"
#include "salida.h"

#include "analisis/sensibilidad.h"
#include "archivos/archivo.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

namespace pelmora {

namespace {

const char *const kUso = "Uso: pelmora-calc [--json] ARCHIVO\n"
                         "     pelmora-calc --sensibilidad[=P] [--json | --csv] ARCHIVO\n"
                         "     pelmora-calc [--json | --csv [--referencia]] ARCHIVO|CARPETA...\n"
                         "     pelmora-calc --referencia-de ARCHIVO CATEGORIA\n"
                         "     pelmora-calc --precio MARGEN[:IVA] [--json | --csv] ARCHIVO|CARPETA...\n"
                         "     pelmora-calc --presupuestos [--json | --csv] [REGISTRO]\n"
                         "     pelmora-calc --help | --version\n";

const char *const kAyuda =
    "Uso: pelmora-calc [--json] ARCHIVO\n"
    "     pelmora-calc --sensibilidad[=P] [--json | --csv] ARCHIVO\n"
    "     pelmora-calc [--json | --csv [--referencia]] ARCHIVO|CARPETA...\n"
    "     pelmora-calc --referencia-de ARCHIVO CATEGORIA\n"
    "     pelmora-calc --precio MARGEN[:IVA] [--json | --csv] ARCHIVO|CARPETA...\n"
    "     pelmora-calc --presupuestos [--json | --csv] [REGISTRO]\n"
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
    "Sensibilidad (--sensibilidad): cada entrada numérica del cálculo\n"
    "personalizado que se escribe a mano, con la casilla disponible y un valor\n"
    "distinto de 0, se baja y se sube un P %, cada vez sobre el cálculo tal como\n"
    "está y como si se tecleara el valor (redondeado a los decimales de la\n"
    "casilla y dentro de sus límites). La tabla da, de mayor a menor oscilación\n"
    "del coste total anual, el valor y los dos valores probados, y el coste total\n"
    "anual y C1 a C5 con cada uno. Un valor que las comprobaciones de entrada\n"
    "rechazan figura como rechazado, con su mensaje.\n"
    "\n"
    "Varios cálculos: con varios archivos o carpetas (de una carpeta, todas sus\n"
    "entradas .clc, también las de sus subcarpetas, por orden de ruta) escribe\n"
    "el informe de cada uno, uno tras otro; con --json, un objeto por línea; con\n"
    "--csv, una tabla. Los archivos se leen y calculan en paralelo. Un archivo\n"
    "que no se puede leer escribe su motivo en la salida de error y una fila de\n"
    "error en la salida, y los demás siguen; lo mismo una subcarpeta que no se\n"
    "puede leer.\n"
    "\n"
    "Opciones:\n"
    "  --json      escribe en su lugar todas las entradas de las dos columnas en\n"
    "              JSON (UTF-8): por columna las siete secciones como listas que\n"
    "              empiezan por la entrada 1 y la fecha (aaaa-mm-dd). Los números\n"
    "              llevan punto decimal y su precisión completa; una entrada\n"
    "              vacía es null. Con varios archivos, una línea por archivo con\n"
    "              su nombre en \"Archivo\" (o su motivo en \"Error\"). Con\n"
    "              --sensibilidad: {\"Porcentaje\", \"Base\" (los 48 resultados),\n"
    "              \"Entradas\"}, cada entrada con \"Seccion\", \"Indice\", \"Etiqueta\",\n"
    "              \"Valor\", \"Bajo\", \"Alto\", \"ResultadosBajo\", \"ResultadosAlto\"\n"
    "              (null si se rechaza), \"MensajeBajo\" y \"MensajeAlto\".\n"
    "  --csv       escribe una tabla CSV (UTF-8 con BOM; \";\" entre campos y coma\n"
    "              decimal si el separador decimal es la coma, si no \",\" y\n"
    "              punto): una fila por archivo con el archivo, la descripción,\n"
    "              las plazas, los kilómetros y horas anuales y facturados, los\n"
    "              trece costes, los costes directos, indirectos y totales, C1 a\n"
    "              C5 y el coste de cada servicio facturado por kilómetros y\n"
    "              horas. Con --sensibilidad, la tabla de sensibilidad.\n"
    "  --referencia\n"
    "              con --csv, tras la fila de cada archivo otra con su columna\n"
    "              \"Vededizaviro de Costes\".\n"
    "  --sensibilidad[=P]\n"
    "              la sensibilidad de un archivo; P es mayor que 0 y menor que\n"
    "              100, con dos decimales como mucho (10 si no se da).\n"
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
    "  --precio MARGEN[:IVA]\n"
    "              el precio de cada servicio con coste por kilómetros y horas:\n"
    "              el coste, el precio sin IVA que deja un MARGEN (en % del\n"
    "              precio sin IVA, de 0 a 95), el margen, el IVA (IVA en %, de 0 a\n"
    "              30; 10 si no se da) y el total, redondeados al céntimo, y el\n"
    "              precio sin IVA por kilómetro, por hora y por plaza (las del\n"
    "              autocar menos la del conductor). Con --json, una línea por\n"
    "              archivo: {\"Archivo\", \"Margen\", \"Iva\", \"Servicios\": [{\"Servicio\",\n"
    "              \"Coste\", \"PrecioSinIva\", \"ImporteMargen\", \"ImporteIva\",\n"
    "              \"Total\", \"PorKm\", \"PorHora\", \"PorPlaza\"}]}, importes en euros.\n"
    "  --presupuestos [REGISTRO]\n"
    "              lista el registro de presupuestos (sin cambiarlo): el del\n"
    "              usuario (~/.local/share/Pelmora/presupuestos.sqlite) o el\n"
    "              archivo REGISTRO; con --json, un objeto por línea; con --csv,\n"
    "              una tabla.\n"
    "  -h, --help  muestra esta ayuda y termina.\n"
    "  --version   muestra la versión y termina.\n"
    "  --          lo que sigue son nombres de archivo, aunque empiecen por -.\n"
    "\n"
    "Códigos de salida:\n"
    "  0   correcto.\n"
    "  1   no se pudo escribir la salida.\n"
    "  2   el archivo (con varios, alguno de ellos) no se puede leer; el motivo\n"
    "      (\"Archivo no encontrado.\", \"Archivo en mal estado.\", ...) se escribe\n"
    "      en la salida de error.\n"
    "  64  uso incorrecto: falta el archivo, la opción o la categoría no existe,\n"
    "      el porcentaje no es válido o las opciones no van juntas.\n";

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
        if (a.startsWith(QLatin1Char('-')) && a != QLatin1String("-") && !conocidas.contains(a.section(u'=', 0, 0)))
            return k;
    }
    return -1;
}

// --sensibilidad[=P] has an optional value, which the parser cannot take:
// the arguments without it, the option as given, and whether it was given
// more than once.
QStringList sinSensibilidad(const QStringList &argumentos, std::optional<QString> &porcentaje, bool &repetida)
{
    const QString nombre = QStringLiteral("--sensibilidad");
    QStringList r;
    bool opciones = true;
    for (qsizetype k = 0; k < argumentos.size(); ++k) {
        const QString &a = argumentos[k];
        if (a == QLatin1String("--"))
            opciones = false;
        if (k > 0 && opciones && (a == nombre || a.startsWith(nombre + QLatin1Char('=')))) {
            repetida = repetida || porcentaje.has_value();
            porcentaje = a;
            continue;
        }
        r << a;
    }
    return r;
}

// P of --sensibilidad=P (the default without "="): digits with at most two
// decimals after a point or a comma; no value unless it is above 0 and
// below 100.
std::optional<double> leerPorcentaje(const QString &opcion)
{
    const qsizetype igual = opcion.indexOf(QLatin1Char('='));
    if (igual < 0)
        return kPorcentajeSensibilidad;
    QString t = opcion.mid(igual + 1);
    static const QRegularExpression forma(QStringLiteral("^[0-9]+([.,][0-9]{1,2})?$"));
    if (!forma.match(t).hasMatch())
        return std::nullopt;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool bien = false;
    const double p = QLocale::c().toDouble(t, &bien);
    if (!bien || !porcentajeValido(p))
        return std::nullopt;
    return p;
}

} // namespace

LineaOrdenesCalc leerOpciones(const QStringList &todos)
{
    std::optional<QString> porcentaje;
    bool repetida = false;
    const QStringList argumentos = sinSensibilidad(todos, porcentaje, repetida);
    QCommandLineParser p;
    const QCommandLineOption ayuda(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption csv(QStringLiteral("csv"));
    const QCommandLineOption referencia(QStringLiteral("referencia"));
    const QCommandLineOption referenciaDe = opcionReferencia();
    const QCommandLineOption precio(QStringLiteral("precio"), QString(), QStringLiteral("MARGEN"));
    const QCommandLineOption presupuestos(QStringLiteral("presupuestos"));
    p.addOptions({ayuda, version, json, csv, referencia, referenciaDe, precio, presupuestos});
    const bool bien = p.parse(argumentos);
    const QStringList conocidas = {QStringLiteral("-h"),         QStringLiteral("--help"),
                                   QStringLiteral("--version"),  QStringLiteral("--json"),
                                   QStringLiteral("--csv"),      QStringLiteral("--referencia"),
                                   QStringLiteral("--referencia-de"), QStringLiteral("--precio"),
                                   QStringLiteral("--presupuestos")};
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
        return {std::nullopt, terminarSalida()};
    }
    if (antesDeLaDesconocida({QStringLiteral("--version")})) {
        escribir(stdout, QCoreApplication::applicationName() + QLatin1Char(' ') +
                             QCoreApplication::applicationVersion() + QLatin1Char('\n'));
        return {std::nullopt, terminarSalida()};
    }
    if (desconocida >= 0 || !bien)
        return errorDeUso(QStringLiteral("opción desconocida: ") +
                          (desconocida >= 0 ? argumentos[desconocida] : p.errorText()));

    const QStringList archivos = p.positionalArguments();
    if (p.isSet(referenciaDe)) {
        if (p.isSet(csv) || p.isSet(referencia) || porcentaje)
            return errorDeUso(QStringLiteral("--referencia-de no va con otras opciones"));
        if (const QString motivo = comprobarReferencia(archivos, p.isSet(json)); !motivo.isEmpty())
            return errorDeUso(motivo);
        Opciones o;
        o.referenciaDe = true;
        o.archivo = archivos[0];
        o.categoria = archivos[1];
        return {o, kSalidaBien};
    }
    if (p.isSet(presupuestos)) {
        if (p.isSet(precio) || p.isSet(referencia) || porcentaje || archivos.size() > 1 || (p.isSet(csv) && p.isSet(json)))
            return errorDeUso(QStringLiteral("--presupuestos va solo, con --json o --csv y el registro"));
        Opciones o;
        o.presupuestos = true;
        o.formato = p.isSet(json) ? Formato::Json : Formato::Informe;
        o.csv = p.isSet(csv);
        o.archivo = archivos.value(0);
        return {o, kSalidaBien};
    }
    if (archivos.isEmpty())
        return errorDeUso(QStringLiteral("falta el archivo del cálculo"));
    Opciones o;
    o.formato = p.isSet(json) ? Formato::Json : Formato::Informe;
    o.archivo = archivos.front();
    o.archivos = archivos;
    o.csv = p.isSet(csv);
    o.referencia = p.isSet(referencia);
    if (o.csv && o.formato == Formato::Json)
        return errorDeUso(QStringLiteral("--csv y --json no van juntas"));
    if (o.referencia && (!o.csv || porcentaje))
        return errorDeUso(QStringLiteral("--referencia solo va con --csv, sin --sensibilidad"));
    if (repetida)
        return errorDeUso(QStringLiteral("--sensibilidad se da una sola vez"));
    if (p.isSet(precio)) {
        o.precio = leerMargenIva(p.value(precio));
        if (!o.precio)
            return errorDeUso(QStringLiteral("--precio lleva MARGEN[:IVA] en %, el margen de 0 a 95 y el IVA de 0 a "
                                             "30, con dos decimales como mucho: \"") +
                              p.value(precio) + QLatin1Char('"'));
        if (o.referencia || porcentaje)
            return errorDeUso(QStringLiteral("--precio no va con --referencia ni --sensibilidad"));
        return {o, kSalidaBien};
    }
    if (porcentaje) {
        o.sensibilidad = leerPorcentaje(*porcentaje);
        if (!o.sensibilidad)
            return errorDeUso(QStringLiteral("el porcentaje de --sensibilidad debe ser un número mayor que 0 y "
                                             "menor que 100, con dos decimales como mucho: \"") +
                              porcentaje->mid(porcentaje->indexOf(QLatin1Char('=')) + 1) + QLatin1Char('"'));
        if (archivos.size() > 1 || esCarpeta(o.archivo))
            return errorDeUso(QStringLiteral("--sensibilidad lee un solo archivo"));
    }
    return {o, kSalidaBien};
}

} // namespace pelmora
