// pelmora-calc with several files or folders, or with --csv: one report,
// JSON line or CSV row per file, read and computed in parallel.
#include "analisis.h"

#include "analisis/exportar.h"
#include "archivos/archivo.h"
#include "archivos/json.h"
#include "informe.h"
#include "salida.h"

#include <QFileInfo>
#include <QList>
#include <QtConcurrent/QtConcurrentMap>

namespace pelmora {

namespace {

// Files handed to the threads at a time: enough to keep them busy, few
// enough that the outputs waiting to be written stay small.
constexpr qsizetype kTanda = 512;

struct Hecho {
    QByteArray salida;
    QString error; // the reason the file could not be read
};

// The JSON export on one line, with the file's name first.
QByteArray lineaJson(const QString &ruta, const Calculo *calc, const QString &error)
{
    QByteArray b = "{\"Archivo\": " + textoJson(ruta);
    if (!calc)
        return b + ", \"Error\": " + textoJson(error) + "}\n";
    // Texts escape their line ends, so every line end of the export is
    // layout: it goes with the indentation after it.
    const QByteArray json = calculoJson(*calc);
    QByteArray cuerpo;
    cuerpo.reserve(json.size());
    for (qsizetype k = 0; k < json.size(); ++k) {
        if (json[k] == '\n') {
            while (k + 1 < json.size() && json[k + 1] == ' ')
                ++k;
            continue;
        }
        cuerpo += json[k];
    }
    // cuerpo is {"ColumnaS": ..., "ColumnaO": ...}
    return b + ", " + cuerpo.mid(1) + '\n';
}

Hecho procesar(const QString &ruta, const Opciones &o, const FormatoCsv &f)
{
    if (o.csv) {
        const CalculoComparado c = compararArchivo(ruta);
        if (!c.error.isEmpty())
            return {lineaCsv(filaErrorComparacion(c), f), c.error};
        QByteArray b = lineaCsv(filaComparacion(c, Col::S), f);
        if (o.referencia)
            b += lineaCsv(filaComparacion(c, Col::O), f);
        return {b, QString()};
    }
    Calculo calc;
    if (const ErrorArchivo err = AbrirArchivo(calc, ruta); err != ErrorArchivo::Ninguno) {
        const QString mensaje = mensajeErrorArchivo(err);
        if (o.formato == Formato::Json)
            return {lineaJson(ruta, nullptr, mensaje), mensaje};
        return {(QStringLiteral("Archivo: ") + textoVisible(ruta) + QStringLiteral("\nError: ") + mensaje +
                 QLatin1Char('\n'))
                    .toUtf8(),
                mensaje};
    }
    if (o.formato == Formato::Json)
        return {lineaJson(ruta, &calc, QString()), QString()};
    return {informe(calc, ruta).toUtf8(), QString()};
}

} // namespace

int compararArchivos(const Opciones &o)
{
    QStringList rutas;
    for (const QString &a : o.archivos) {
        const QStringList dentro = calculosEn({a});
        if (dentro.isEmpty())
            escribir(stderr,
                     QStringLiteral("pelmora-calc: ") + textoVisible(a) + QStringLiteral(": no hay archivos .clc\n"));
        rutas << dentro;
    }

    const FormatoCsv formato = formatoCsv();
    if (o.csv)
        escribir(stdout, inicioCsv() + lineaCsv(cabeceraComparacion(), formato));
    bool fallo = false, primero = true;
    for (qsizetype desde = 0; desde < rutas.size(); desde += kTanda) {
        const QStringList tanda = rutas.mid(desde, kTanda);
        const QList<Hecho> hechos = QtConcurrent::blockingMapped<QList<Hecho>>(
            tanda, [&](const QString &ruta) { return procesar(ruta, o, formato); });
        for (qsizetype k = 0; k < hechos.size(); ++k) {
            if (!hechos[k].error.isEmpty()) {
                fallo = true;
                escribir(stderr, textoVisible(tanda[k]) + QStringLiteral(": ") + hechos[k].error + QLatin1Char('\n'));
            }
            // Reports follow one another after a blank line.
            if (!primero && !o.csv && o.formato == Formato::Informe)
                escribir(stdout, QByteArray("\n"));
            escribir(stdout, hechos[k].salida);
            primero = false;
        }
    }
    if (const int salida = terminarSalida(); salida != kSalidaBien)
        return salida;
    return fallo ? kSalidaArchivo : kSalidaBien;
}

} // namespace pelmora
