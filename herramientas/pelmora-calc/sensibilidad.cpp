// pelmora-calc --sensibilidad: the table, its JSON and its CSV.
#include "analisis.h"

#include "analisis/exportar.h"
#include "analisis/rotulos.h"
#include "archivos/archivo.h"
#include "entrada/numeros.h"
#include "informe.h"
#include "salida.h"
#include "tabla.h"

#include <QFileInfo>

namespace pelmora {

namespace {

QString figura(const Valor &v, int n) { return FormatearNumero(v, decimalesResultado(n), true); }

int salirTrasEscribir(const QByteArray &b)
{
    escribir(stdout, b);
    return terminarSalida();
}

int sensibilidad(const Opciones &o)
{
    Calculo calculo;
    if (const ErrorArchivo err = AbrirArchivo(calculo, o.archivo); err != ErrorArchivo::Ninguno) {
        escribir(stderr, mensajeErrorArchivo(err) + QLatin1Char('\n'));
        return kSalidaArchivo;
    }
    const Sensibilidad s = calcularSensibilidad(calculo, *o.sensibilidad);
    if (o.csv)
        return salirTrasEscribir(sensibilidadCsv(s));
    if (o.formato == Formato::Json)
        return salirTrasEscribir(sensibilidadJson(s));
    return salirTrasEscribir(tablaSensibilidad(s, calculo, o.archivo).toUtf8());
}

} // namespace

QString tablaSensibilidad(const Sensibilidad &s, const Calculo &calc, const QString &ruta)
{
    const QString bajo = rotuloLado(s.porcentaje, false), alto = rotuloLado(s.porcentaje, true);
    QString r = QStringLiteral("Archivo: ") + textoVisible(ruta) + QLatin1Char('\n');
    r += QStringLiteral("Autocar: ") +
         textoVisible(FormatearNumero(calc.columnaS()(kCar, Car::Descripcion), -1, false)) + QLatin1Char('\n');
    r += QStringLiteral("\nSensibilidad del Cálculo Personalizado: cada entrada ") + bajo + QStringLiteral(" y ") +
         alto + QStringLiteral(",\nde mayor a menor oscilación del coste total anual.\n\n");

    QStringList actuales;
    for (int n : kCifrasSensibilidad)
        actuales << nombreCifra(n) + QLatin1Char(' ') + figura(s.base[size_t(n - 1)], n) + QLatin1Char(' ') +
                        rotuloResultado(n).unidad;
    r += QStringLiteral("Cifras actuales: ") + actuales.join(QStringLiteral("; ")) + QStringLiteral(".\n\n");

    if (s.entradas.empty())
        return r + QStringLiteral("Ninguna entrada con valor que mover.\n");

    Tabla t;
    t.columnasIzquierda = 1;
    t.grupos << QString() << QStringLiteral("Valor");
    t.tamanosGrupos = {1, 3};
    t.cabeceras << QStringLiteral("Sección") << QStringLiteral("actual") << bajo << alto;
    for (int n : kCifrasSensibilidad) {
        t.grupos << nombreCifra(n) + QStringLiteral(" (") + rotuloResultado(n).unidad + QLatin1Char(')');
        t.tamanosGrupos.push_back(2);
        t.cabeceras << bajo << alto;
    }
    const QString rechazado = QStringLiteral("rechazado");
    QStringList rechazos;
    for (const EntradaSensibilidad &e : s.entradas) {
        const int d = campo(e.seccion, e.indice).decimales;
        auto valor = [&](double x) { return FormatearNumero(Valor(x), d, true); };
        QStringList fila = {e.etiqueta, QString::fromUtf8(datosSeccion(e.seccion).titulo), valor(e.valor),
                            valor(e.bajo.valor), valor(e.alto.valor)};
        for (int n : kCifrasSensibilidad)
            for (const LadoSensibilidad *l : {&e.bajo, &e.alto})
                fila << (l->posible ? figura(l->resultados[size_t(n - 1)], n) : rechazado);
        t.filas.push_back(fila);
        for (const LadoSensibilidad *l : {&e.bajo, &e.alto})
            if (!l->posible)
                rechazos << QStringLiteral("  ") + e.etiqueta + QStringLiteral(", ") + (l == &e.bajo ? bajo : alto) +
                                QStringLiteral(" (") + valor(l->valor) + QStringLiteral("): ") +
                                mensajeEnUnaLinea(l->mensaje) + QLatin1Char('\n');
    }
    r += componer(t);
    if (!rechazos.isEmpty())
        r += QStringLiteral("\nValores rechazados por las comprobaciones de entrada:\n") + rechazos.join(QString());
    return r;
}

std::optional<int> ejecutarAnalisis(const Opciones &o)
{
    if (o.sensibilidad)
        return sensibilidad(o);
    if (o.csv || o.archivos.size() > 1 || esCarpeta(o.archivo))
        return compararArchivos(o);
    return std::nullopt;
}

} // namespace pelmora
