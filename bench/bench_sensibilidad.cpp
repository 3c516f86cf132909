// The sensitivity of a calculation, which a window recomputes whenever a
// field changes, beside its unit of work: one value committed on a copy.
#include "analisis/sensibilidad.h"
#include "archivos/archivo.h"
#include "entrada/numeros.h"

#include <benchmark/benchmark.h>

using namespace pelmora;

namespace {

const Calculo &calculo()
{
    static const Calculo *c = [] {
        fijarSeparadores(QLocale(QLocale::Spanish, QLocale::Spain));
        auto *r = new Calculo;
        if (AbrirArchivo(*r, QString::fromUtf8(PELMORA_DATOS "/Vededizaviro/Autocar Estandar 39 a 55 plazas.obs")) !=
            ErrorArchivo::Ninguno)
            std::abort();
        return r;
    }();
    return *c;
}

// Baseline: the fuel price raised by 10 % on a copy.
void BM_Base_UnaConfirmacionEnCopia(benchmark::State &state)
{
    const Calculo &c = calculo();
    const Valor anterior = c.columnaS()(kVar, Var::PrecioCarburante);
    for (auto _ : state) {
        auto copia = c.clonar();
        benchmark::DoNotOptimize(copia->ConfirmarCampo(kVar, Var::PrecioCarburante, Valor(1.595), anterior));
    }
}
BENCHMARK(BM_Base_UnaConfirmacionEnCopia)->Unit(benchmark::kMicrosecond);

// Every entry at both sides, sorted.
void BM_Sensibilidad(benchmark::State &state)
{
    const Calculo &c = calculo();
    for (auto _ : state) {
        const Sensibilidad s = calcularSensibilidad(c);
        benchmark::DoNotOptimize(s.entradas.data());
    }
    state.counters["confirmaciones"] = double(2 * camposSensibles(c).size());
}
BENCHMARK(BM_Sensibilidad)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
