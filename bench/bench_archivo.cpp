// Opening a reference file, reading and writing calculation files and
// recomputing the results, each beside a baseline that only reads the file
// and splits its lines, the least any reader has to do.
#include "archivos/archivo.h"
#include "calculo/calculo.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <cstdlib>

using namespace pelmora;

namespace {

QString rutaReferencia()
{
    return QString::fromUtf8(PELMORA_DATOS "/Vededizaviro/Autocar Estandar mas 55 plazas.obs");
}

QByteArray bytesReferencia()
{
    QFile f(rutaReferencia());
    if (!f.open(QIODevice::ReadOnly))
        std::abort();
    return f.readAll();
}

// Baseline: the file's bytes read and split into lines.
void BM_Base_LeerYPartirLineas(benchmark::State &state)
{
    const QString ruta = rutaReferencia();
    for (auto _ : state) {
        QFile f(ruta);
        if (!f.open(QIODevice::ReadOnly)) {
            state.SkipWithError("no se puede abrir el archivo de referencia");
            return;
        }
        const QByteArray b = f.readAll();
        const QList<QByteArray> lineas = b.split('\n');
        benchmark::DoNotOptimize(lineas.size());
    }
}
BENCHMARK(BM_Base_LeerYPartirLineas);

// Baseline without the file system: the bytes already in memory.
void BM_Base_PartirLineas(benchmark::State &state)
{
    const QByteArray b = bytesReferencia();
    for (auto _ : state) {
        const QList<QByteArray> lineas = b.split('\n');
        benchmark::DoNotOptimize(lineas.size());
    }
}
BENCHMARK(BM_Base_PartirLineas);

// Opening as the program does: read, replay every stored field of both
// columns, results and service.
void BM_AbrirArchivo(benchmark::State &state)
{
    const QString ruta = rutaReferencia();
    Calculo c;
    for (auto _ : state) {
        if (AbrirArchivo(c, ruta) != ErrorArchivo::Ninguno) {
            state.SkipWithError("AbrirArchivo falló");
            return;
        }
        benchmark::DoNotOptimize(c.columnaS()(Seccion::Resultados, 18));
    }
}
BENCHMARK(BM_AbrirArchivo);

// Opening into a calculation just built, as a new window would.
void BM_AbrirArchivo_CalculoNuevo(benchmark::State &state)
{
    const QString ruta = rutaReferencia();
    for (auto _ : state) {
        Calculo c;
        if (AbrirArchivo(c, ruta) != ErrorArchivo::Ninguno) {
            state.SkipWithError("AbrirArchivo falló");
            return;
        }
        benchmark::DoNotOptimize(c.columnaS()(Seccion::Resultados, 18));
    }
}
BENCHMARK(BM_AbrirArchivo_CalculoNuevo);

// The 48 result slots of both columns.
void BM_Actualizar(benchmark::State &state)
{
    Calculo c;
    if (AbrirArchivo(c, rutaReferencia()) != ErrorArchivo::Ninguno) {
        state.SkipWithError("AbrirArchivo falló");
        return;
    }
    for (auto _ : state) {
        c.Actualizar();
        benchmark::DoNotOptimize(c.columnaO()(Seccion::Resultados, 48));
    }
}
BENCHMARK(BM_Actualizar);

// Results and then the service, as the service form does when shown.
void BM_ActualizarYRevisar(benchmark::State &state)
{
    Calculo c;
    if (AbrirArchivo(c, rutaReferencia()) != ErrorArchivo::Ninguno) {
        state.SkipWithError("AbrirArchivo falló");
        return;
    }
    for (auto _ : state) {
        c.Actualizar();
        c.Revisar();
        benchmark::DoNotOptimize(c.columnaS()(Seccion::Servicio, 7));
    }
}
BENCHMARK(BM_ActualizarYRevisar);

// Parsing only, from bytes in memory.
void BM_LeerCalculo(benchmark::State &state)
{
    const QByteArray b = bytesReferencia();
    Columna s, o;
    for (auto _ : state) {
        if (leerCalculo(b, s, o) != ErrorArchivo::Ninguno) {
            state.SkipWithError("leerCalculo falló");
            return;
        }
        benchmark::DoNotOptimize(s.Fecha);
    }
}
BENCHMARK(BM_LeerCalculo);

// Writing the bytes of a file, in memory.
void BM_EscribirCalculo(benchmark::State &state)
{
    Columna s, o;
    if (leerCalculo(bytesReferencia(), s, o) != ErrorArchivo::Ninguno) {
        state.SkipWithError("leerCalculo falló");
        return;
    }
    for (auto _ : state) {
        const QByteArray b = escribirCalculo(s, o);
        benchmark::DoNotOptimize(b.size());
    }
}
BENCHMARK(BM_EscribirCalculo);

} // namespace

BENCHMARK_MAIN();
