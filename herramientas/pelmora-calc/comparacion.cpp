// pelmora-calc with several files or folders, or with --csv: one report,
// JSON line or CSV row per file, read and computed in parallel.
#include "analisis.h"

#include "analisis/comparacion.h"
#include "analisis/exportar.h"
#include "archivos/archivo.h"
#include "archivos/json.h"
#include "flujo.h"
#include "informe.h"
#include "progreso.h"
#include "salida.h"

#include <cstdio>
#include <unistd.h>


namespace pelmora {

namespace {

// The JSON export on one line, with the file's name first.
QByteArray lineaJson(const QString &ruta, const Calculo *calc, const QString &error)
{
    QByteArray b = "{\"Archivo\": " + textoJson(ruta);
    if (!calc)
        return b + ", \"Error\": " + textoJson(error) + "}\n";
    b.reserve(b.size() + 4096); // a calculation's line, with room to spare
    b += ", ";
    anadirCalculoJsonEnLinea(b, *calc);
    b += '\n';
    return b;
}

Hecho procesar(const QString &ruta, bool regular, const Opciones &o, const FormatoCsv &f)
{
    // One reader per worker thread, its memory kept from file to file.
    thread_local LectorCalculos lector;
    if (o.csv) {
        const CalculoComparado c = compararArchivo(ruta, lector, regular);
        if (!c.error.isEmpty())
            return {lineaCsv(filaErrorComparacion(c), f), c.error};
        QByteArray b = lineaCsv(filaComparacion(c, Col::S), f);
        if (o.referencia)
            b += lineaCsv(filaComparacion(c, Col::O), f);
        return {b, QString()};
    }
    if (const ErrorArchivo err = lector.abrir(ruta, regular); err != ErrorArchivo::Ninguno) {
        const QString mensaje = mensajeErrorArchivo(err);
        if (o.formato == Formato::Json)
            return {lineaJson(ruta, nullptr, mensaje), mensaje};
        return {(QStringLiteral("Archivo: ") + textoVisible(ruta) + QStringLiteral("\nError: ") + mensaje +
                 QLatin1Char('\n'))
                    .toUtf8(),
                mensaje};
    }
    if (o.formato == Formato::Json)
        return {lineaJson(ruta, &lector.calculo(), QString()), QString()};
    return {informe(lector.calculo(), ruta).toUtf8(), QString()};
}

} // namespace

int compararArchivos(const Opciones &o)
{
    // Many files' outputs to a file or a pipe: in large blocks, not one
    // write every few files.
    if (::isatty(::fileno(stdout)) != 1)
        std::setvbuf(stdout, nullptr, _IOFBF, 1 << 18);
    const FormatoCsv formato = formatoCsv();
    if (o.csv)
        escribir(stdout, inicioCsv() + lineaCsv(cabeceraComparacion(), formato));
    bool fallo = false, primero = true;
    Progreso progreso;
    Flujo flujo([&](const QString &ruta, bool regular) { return procesar(ruta, regular, o, formato); },
                [&](const QString &ruta, const Hecho &h) {
                    if (!h.error.isEmpty()) {
                        fallo = true;
                        progreso.borrar();
                        escribir(stderr, textoVisible(ruta) + QStringLiteral(": ") + h.error + QLatin1Char('\n'));
                    }
                    // Reports follow one another after a blank line.
                    if (!primero && !o.csv && o.formato == Formato::Informe)
                        escribir(stdout, QByteArray("\n"));
                    escribir(stdout, h.salida);
                    primero = false;
                    progreso.hecho();
                });
    for (const QString &a : o.archivos) {
        const qsizetype hallados = recorrerCalculos(a, [&](const QString &ruta, bool regular) {
            progreso.hallado();
            flujo.anadir(ruta, regular);
        });
        if (hallados == 0) {
            progreso.borrar();
            escribir(stderr, QStringLiteral("pelmora-calc: ") + textoVisible(a) + QStringLiteral(": no hay archivos .clc\n"));
        }
    }
    flujo.terminar();
    progreso.borrar();
    if (const int salida = terminarSalida(); salida != kSalidaBien)
        return salida;
    return fallo ? kSalidaArchivo : kSalidaBien;
}

} // namespace pelmora
