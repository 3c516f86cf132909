#include "interfaz/ventana/lineaordenes.h"

#include <QCommandLineParser>
#include <QUrl>
#include <algorithm>

namespace pelmora {

namespace {

const char *const kUso = "Uso: pelmora [--sin-presentacion] [ARCHIVO]\n"
                         "     pelmora --help | --version\n";

const char *const kAyuda =
    "Uso: pelmora [--sin-presentacion] [ARCHIVO]\n"
    "     pelmora --help | --version\n"
    "\n"
    "Calcula el coste anual de un autocar de transporte de viajeros y el precio\n"
    "de servicios concretos, junto a las cifras de un autocar de referencia de\n"
    "su categoría de plazas.\n"
    "\n"
    "Con ARCHIVO (un cálculo .clc, o un archivo de cifras de referencia .obs,\n"
    "que se abre como un cálculo nuevo sin nombre; también un URL file:) abre\n"
    "ese cálculo al empezar, como \"Abrir ...\", sin la ventana de presentación.\n"
    "Si no se puede leer, dice por qué y sigue sin cálculo abierto.\n"
    "\n"
    "Opciones:\n"
    "  --sin-presentacion  empieza sin la ventana de presentación.\n"
    "  -h, --help          muestra esta ayuda y termina.\n"
    "  --version           muestra la versión y termina.\n"
    "  --                  lo que sigue es el archivo, aunque empiece por -.\n"
    "\n"
    "Las opciones del entorno gráfico Qt (-platform, -style, -reverse...) se\n"
    "pasan a Qt.\n"
    "\n"
    "Códigos de salida:\n"
    "  0   correcto.\n"
    "  64  uso incorrecto: la opción no existe, o le falta o le sobra el valor.\n";

// Every option the program knows, and whether it takes a value: its own,
// then Qt's, which QApplication takes out of the command line itself.
struct OpcionConocida {
    const char *nombre;
    bool valor;
};
constexpr OpcionConocida kOpciones[] = {
    {"h", false}, {"help", false}, {"version", false}, {"sin-presentacion", false},
    {"platform", true}, {"platformpluginpath", true}, {"platformtheme", true}, {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true}, {"qwindowtitle", true}, {"session", true},
    {"display", true}, {"geometry", true}, {"title", true}, {"icon", true}, {"name", true},
    {"style", true}, {"stylesheet", true}, {"qmljsdebugger", true}, {"dialogs", true},
    {"fontengine", true}, {"reverse", false}, {"widgetcount", false}, {"nograb", false},
    {"dograb", false}, {"sync", false}};

const OpcionConocida *buscarOpcion(const QString &nombre)
{
    for (const OpcionConocida &o : kOpciones)
        if (nombre == QLatin1String(o.nombre))
            return &o;
    return nullptr;
}

// One dash or two alike ("-platform" is Qt's spelling).
QString nombreOpcion(const QString &argumento)
{
    return argumento.mid(argumento.startsWith(QLatin1String("--")) ? 2 : 1).section(QLatin1Char('='), 0, 0);
}

LineaOrdenes terminar(int salida, const QString &texto)
{
    LineaOrdenes l;
    l.salida = salida;
    l.texto = texto;
    return l;
}

LineaOrdenes usoIncorrecto(const QString &motivo)
{
    return terminar(kSalidaUsoIncorrecto,
                    QStringLiteral("pelmora: ") + motivo + QLatin1Char('\n') + QString::fromUtf8(kUso));
}

// The first argument, before "--", that ends the program at once (help, the
// version, a wrong option), answered; nothing when there is none.
std::optional<LineaOrdenes> primeraQueTermina(const QStringList &argumentos)
{
    for (qsizetype k = 1; k < argumentos.size() && argumentos[k] != QLatin1String("--"); ++k) {
        const QString &a = argumentos[k];
        if (!a.startsWith(QLatin1Char('-')) || a == QLatin1String("-"))
            continue;
        const QString nombre = nombreOpcion(a);
        const OpcionConocida *o = buscarOpcion(nombre);
        if (!o)
            return usoIncorrecto(QStringLiteral("opción desconocida: ") + a);
        const bool conIgual = a.contains(QLatin1Char('='));
        if (!o->valor && conIgual)
            return usoIncorrecto(QStringLiteral("la opción ") + a.section(QLatin1Char('='), 0, 0) +
                                 QStringLiteral(" no lleva valor"));
        if (nombre == QLatin1String("h") || nombre == QLatin1String("help"))
            return terminar(0, QString::fromUtf8(kAyuda));
        if (nombre == QLatin1String("version"))
            return terminar(0, QStringLiteral("pelmora " PELMORA_VERSION "\n"));
        if (o->valor && !conIgual && ++k >= argumentos.size())
            return usoIncorrecto(QStringLiteral("falta el valor de ") + a);
    }
    return std::nullopt;
}

} // namespace

LineaOrdenes leerLineaOrdenes(const QStringList &argumentos)
{
    if (std::optional<LineaOrdenes> fin = primeraQueTermina(argumentos))
        return *fin;
    QCommandLineParser p;
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OpcionConocida &o : kOpciones)
        p.addOption(QCommandLineOption(QLatin1String(o.nombre), QString(),
                                       o.valor ? QStringLiteral("valor") : QString()));
    // Whatever the parser could refuse was answered above.
    if (!p.parse(argumentos))
        return usoIncorrecto(p.errorText());

    LineaOrdenes linea;
    linea.presentacion = !p.isSet(QStringLiteral("sin-presentacion"));
    const QStringList archivos = p.positionalArguments();
    const auto primero = std::find_if(archivos.begin(), archivos.end(), [](const QString &a) { return !a.isEmpty(); });
    if (primero != archivos.end()) {
        // A file manager may hand over a file: URL instead of a path.
        const QUrl url(*primero);
        linea.archivo = primero->startsWith(QLatin1String("file:"), Qt::CaseInsensitive) && url.isLocalFile()
                            ? url.toLocalFile()
                            : *primero;
        linea.presentacion = false;
    }
    return linea;
}

} // namespace pelmora
