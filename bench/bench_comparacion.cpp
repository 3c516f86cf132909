// A fleet of calculation files compared in one call of pelmora-calc. The
// fleet is generated: the four shipped calculations with the description,
// the yearly kilometres and the fuel price of each file changed, 1,000 files
// to a folder. Each figure stands beside its baseline in the same run:
// - the processor time of "--csv" beside cat of the same files;
// - "--json" beside "--csv";
// - the time on the clock with every core beside one core (taskset -c 0);
// - the peak memory of each fleet size (counter pico_MiB).
// The older figures remain: one process per file, and the engine alone on
// one thread.
#include "analisis/comparacion.h"
#include "archivos/archivo.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <memory>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

using namespace pelmora;

namespace {

constexpr int kPorCarpeta = 1000;

struct Flota {
    QTemporaryDir dir;
    QStringList rutas;
    QStringList carpetas;
    explicit Flota(int archivos)
    {
        const char *const nombres[] = {"10 a 25 plazas", "26 a 38 plazas", "39 a 55 plazas", "mas 55 plazas"};
        Columna s[4], o[4];
        for (int k = 0; k < 4; ++k) {
            QFile f(QString::fromUtf8(PELMORA_DATOS "/Vededizaviro/Autocar Estandar ") + nombres[k] + ".obs");
            if (!f.open(QIODevice::ReadOnly) || leerCalculo(f.readAll(), s[k], o[k]) != ErrorArchivo::Ninguno)
                std::abort();
        }
        for (int n = 0; n < archivos; ++n) {
            const QString sub = dir.filePath(QStringLiteral("grupo%1").arg(n / kPorCarpeta, 3, 10, QLatin1Char('0')));
            if (n % kPorCarpeta == 0) {
                QDir().mkpath(sub);
                carpetas << sub;
            }
            Columna c = s[n % 4];
            c(Seccion::Caracteristicas, Car::Descripcion) = Valor(QStringLiteral("Autocar %1").arg(n));
            c(Seccion::Caracteristicas, Car::KmAnuales) =
                Valor(c(Seccion::Caracteristicas, Car::KmAnuales).n() * (0.8 + (n % 401) / 1000.0));
            c(Seccion::CostesVariables, Var::PrecioCarburante) =
                Valor(c(Seccion::CostesVariables, Var::PrecioCarburante).n() * (0.9 + (n % 211) / 1000.0));
            const QByteArray bytes = escribirCalculo(c, o[n % 4]);
            const QString ruta = sub + QStringLiteral("/autocar%1.clc").arg(n, 6, 10, QLatin1Char('0'));
            QFile f(ruta);
            if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
                std::abort();
            rutas << ruta;
        }
        // Written out now: the kernel's writing back of a fresh fleet would
        // otherwise take a core from the first runs.
        ::sync();
    }
};

const Flota &flota(int archivos)
{
    static std::map<int, std::unique_ptr<Flota>> flotas;
    auto &f = flotas[archivos];
    if (!f)
        f = std::make_unique<Flota>(archivos);
    return *f;
}

struct Medida {
    int salida = -1;
    double procesador = 0; // user and system seconds
    double pico = 0;       // peak resident memory, MiB
};

// VmHWM of a running process, MiB (0 when it cannot be read).
double picoDe(pid_t pid)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &l : f.readAll().split('\n'))
        if (l.startsWith("VmHWM:"))
            return l.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

// Runs a program with its output thrown away; its exit status, time and memory.
Medida ejecutarPrograma(const std::vector<std::string> &args)
{
    std::vector<char *> argv;
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t acciones;
    posix_spawn_file_actions_init(&acciones);
    posix_spawn_file_actions_addopen(&acciones, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int r = posix_spawnp(&pid, argv[0], &acciones, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&acciones);
    Medida m;
    if (r != 0)
        return m;
    int estado = 0;
    rusage uso{};
    // The peak memory from the child's own high-water mark, read until it
    // ends: the one the system reports at the end starts from this
    // process's own, which the spawn shares.
    while (wait4(pid, &estado, WNOHANG, &uso) == 0) {
        m.pico = std::max(m.pico, picoDe(pid));
        usleep(2000);
    }
    m.salida = WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
    m.procesador = double(uso.ru_utime.tv_sec + uso.ru_stime.tv_sec) + (uso.ru_utime.tv_usec + uso.ru_stime.tv_usec) / 1e6;
    return m;
}

int ejecutar(const std::vector<std::string> &args)
{
    std::vector<std::string> todo = {PELMORA_CALC};
    todo.insert(todo.end(), args.begin(), args.end());
    return ejecutarPrograma(todo).salida;
}

void informar(benchmark::State &state, int archivos)
{
    state.SetItemsProcessed(int64_t(state.iterations()) * archivos);
    state.counters["archivos"] = archivos;
}

// pelmora-calc over the generated fleet, timed by its processor time.
void medirCalc(benchmark::State &state, const std::vector<std::string> &opciones)
{
    const Flota &f = flota(int(state.range(0)));
    std::vector<std::string> args = {PELMORA_CALC};
    args.insert(args.end(), opciones.begin(), opciones.end());
    args.push_back(f.dir.path().toStdString());
    double pico = 0;
    for (auto _ : state) {
        const Medida m = ejecutarPrograma(args);
        if (m.salida != 0)
            state.SkipWithError("pelmora-calc falló");
        state.SetIterationTime(m.procesador);
        pico = std::max(pico, m.pico);
    }
    state.counters["pico_MiB"] = pico;
    informar(state, int(state.range(0)));
}

void BM_Flota_Csv(benchmark::State &state) { medirCalc(state, {"--csv"}); }
BENCHMARK(BM_Flota_Csv)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Flota_Json(benchmark::State &state) { medirCalc(state, {"--json"}); }
BENCHMARK(BM_Flota_Json)->Arg(10000)->UseManualTime()->Unit(benchmark::kMillisecond);

// Baseline of the processor time: cat of the same files, one call per folder.
void BM_Base_Cat(benchmark::State &state)
{
    const Flota &f = flota(int(state.range(0)));
    std::vector<std::vector<std::string>> llamadas;
    for (qsizetype desde = 0; desde < f.rutas.size(); desde += kPorCarpeta) {
        std::vector<std::string> args = {"cat"};
        for (const QString &r : f.rutas.mid(desde, kPorCarpeta))
            args.push_back(r.toStdString());
        llamadas.push_back(std::move(args));
    }
    for (auto _ : state) {
        double procesador = 0;
        for (const auto &args : llamadas) {
            const Medida m = ejecutarPrograma(args);
            if (m.salida != 0)
                state.SkipWithError("cat falló");
            procesador += m.procesador;
        }
        state.SetIterationTime(procesador);
    }
    informar(state, int(state.range(0)));
}
BENCHMARK(BM_Base_Cat)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

// The time on the clock with every core, and with one (the baseline): the
// two runs of each iteration side by side, in turns which goes first, so
// that the machine's drift between blocks of runs does not enter the ratio.
// The iteration's time is the run on every core; the counters give the
// median of each and of the ratios of the pairs.
double pared(const std::vector<std::string> &args)
{
    const auto antes = std::chrono::steady_clock::now();
    if (ejecutarPrograma(args).salida != 0)
        return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - antes).count();
}

double mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

void BM_Flota_ParedTodosFrenteAUnNucleo(benchmark::State &state)
{
    const std::string carpeta = flota(int(state.range(0))).dir.path().toStdString();
    const std::vector<std::string> todos = {PELMORA_CALC, "--csv", carpeta};
    const std::vector<std::string> uno = {"taskset", "-c", "0", PELMORA_CALC, "--csv", carpeta};
    std::vector<double> tTodos, tUno, razones;
    for (auto _ : state) {
        const bool unoPrimero = tTodos.size() % 2 == 1;
        const double a = pared(unoPrimero ? uno : todos);
        const double b = pared(unoPrimero ? todos : uno);
        const double t = unoPrimero ? b : a, u = unoPrimero ? a : b;
        if (t <= 0 || u <= 0)
            state.SkipWithError("pelmora-calc falló");
        state.SetIterationTime(t);
        tTodos.push_back(t);
        tUno.push_back(u);
        razones.push_back(u / t);
    }
    state.counters["todos_ms"] = mediana(tTodos) * 1000;
    state.counters["un_nucleo_ms"] = mediana(tUno) * 1000;
    state.counters["veces_mas_rapido"] = mediana(razones);
    informar(state, int(state.range(0)));
}
BENCHMARK(BM_Flota_ParedTodosFrenteAUnNucleo)
    ->Arg(100000)
    ->UseManualTime()
    ->Iterations(6)
    ->Unit(benchmark::kMillisecond);

// Baseline of the whole-folder call: one process per file, as a shell loop
// over the fleet would do.
void BM_Base_UnProcesoPorArchivo(benchmark::State &state)
{
    std::vector<std::string> rutas;
    for (const QString &r : flota(int(state.range(0))).rutas)
        rutas.push_back(r.toStdString());
    for (auto _ : state)
        for (const std::string &r : rutas)
            if (ejecutar({"--csv", r}) != 0)
                state.SkipWithError("pelmora-calc falló");
    informar(state, int(state.range(0)));
}
BENCHMARK(BM_Base_UnProcesoPorArchivo)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// The engine alone, on one thread: every file read and computed in turn.
void BM_MotorEnUnHilo(benchmark::State &state)
{
    const QStringList &rutas = flota(int(state.range(0))).rutas;
    for (auto _ : state)
        for (const QString &r : rutas) {
            const CalculoComparado c = compararArchivo(r);
            if (!c.error.isEmpty())
                state.SkipWithError("archivo no leído");
            benchmark::DoNotOptimize(c.usuario.resultados[17]);
        }
    informar(state, int(state.range(0)));
}
BENCHMARK(BM_MotorEnUnHilo)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

BENCHMARK_MAIN();
