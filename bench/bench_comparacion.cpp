// A fleet of 10,000 calculation files as one CSV table: pelmora-calc called
// once for the whole folder (files read and computed in parallel) beside
// the baseline of one pelmora-calc process per file, and the same files
// read and computed one after another in this process.
#include "analisis/comparacion.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

using namespace pelmora;

namespace {

constexpr int kArchivos = 10000;

// The folder of the fleet, made once: the four shipped calculations in
// turn, 500 files to a subfolder.
struct Flota {
    QTemporaryDir dir;
    QStringList rutas;
    Flota()
    {
        const char *const nombres[] = {"10 a 25 plazas", "26 a 38 plazas", "39 a 55 plazas", "mas 55 plazas"};
        QByteArray bytes[4];
        for (int k = 0; k < 4; ++k) {
            QFile f(QString::fromUtf8(PELMORA_DATOS "/Vededizaviro/Autocar Estandar ") + nombres[k] + ".obs");
            if (!f.open(QIODevice::ReadOnly))
                std::abort();
            bytes[k] = f.readAll();
        }
        for (int n = 0; n < kArchivos; ++n) {
            const QString sub = QStringLiteral("grupo%1").arg(n / 500, 2, 10, QLatin1Char('0'));
            QDir(dir.path()).mkpath(sub);
            const QString ruta = dir.filePath(sub + QStringLiteral("/autocar%1.clc").arg(n, 5, 10, QLatin1Char('0')));
            QFile f(ruta);
            if (!f.open(QIODevice::WriteOnly) || f.write(bytes[n % 4]) != bytes[n % 4].size())
                std::abort();
            rutas << ruta;
        }
    }
};

const Flota &flota()
{
    static const Flota f;
    return f;
}

// Runs pelmora-calc with its output thrown away; its exit status.
int ejecutar(const std::vector<std::string> &args)
{
    std::vector<char *> argv;
    static std::string programa = PELMORA_CALC;
    argv.push_back(programa.data());
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t acciones;
    posix_spawn_file_actions_init(&acciones);
    posix_spawn_file_actions_addopen(&acciones, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int r = posix_spawn(&pid, programa.c_str(), &acciones, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&acciones);
    if (r != 0)
        return -1;
    int estado = 0;
    waitpid(pid, &estado, 0);
    return WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
}

void informar(benchmark::State &state, int archivos)
{
    state.SetItemsProcessed(int64_t(state.iterations()) * archivos);
    state.counters["archivos"] = archivos;
}

// The whole folder in one call.
void BM_UnaLlamada(benchmark::State &state)
{
    const std::string carpeta = flota().dir.path().toStdString();
    for (auto _ : state)
        if (ejecutar({"--csv", carpeta}) != 0)
            state.SkipWithError("pelmora-calc falló");
    informar(state, kArchivos);
}
BENCHMARK(BM_UnaLlamada)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Baseline: one process per file, as a shell loop over the fleet would do.
void BM_Base_UnProcesoPorArchivo(benchmark::State &state)
{
    std::vector<std::string> rutas;
    for (const QString &r : flota().rutas)
        rutas.push_back(r.toStdString());
    for (auto _ : state)
        for (const std::string &r : rutas)
            if (ejecutar({"--csv", r}) != 0)
                state.SkipWithError("pelmora-calc falló");
    informar(state, kArchivos);
}
BENCHMARK(BM_Base_UnProcesoPorArchivo)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// The engine alone, on one thread: every file read and computed in turn.
void BM_MotorEnUnHilo(benchmark::State &state)
{
    const QStringList &rutas = flota().rutas;
    for (auto _ : state)
        for (const QString &r : rutas) {
            const CalculoComparado c = compararArchivo(r);
            if (!c.error.isEmpty())
                state.SkipWithError("archivo no leído");
            benchmark::DoNotOptimize(c.usuario.resultados[17]);
        }
    informar(state, kArchivos);
}
BENCHMARK(BM_MotorEnUnHilo)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

BENCHMARK_MAIN();
