// Start-up time: from starting the process to the first painted frame of
// the main window, for Pelmora (splash skipped with --sin-presentacion) and
// for a bare main window built with the same flags; N runs of each,
// interleaved, medians compared. Also the resident memory (VmRSS) once the
// window is up, for Pelmora with a reference calculation open and for the
// bare window. For reference, the bare window with a one-item menu bar is
// timed too (it pays for fonts and the menu bar as Pelmora does), and so is
// the bare window with a menu bar like Pelmora's, the baseline of the goals:
// Pelmora at most 1.5 times it, and at most 1.8 times with a reference
// calculation open.
//
//   pelmora_bench_arranque [N]        (N = 15 by default)
//
// Runs on the platform in QT_QPA_PLATFORM; offscreen when no display is
// set. The exit status is 1 when a goal is missed, 2 when a run failed.
#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

constexpr double kLimite = 1.5;            // Pelmora, against the bare window with its menus
constexpr double kLimiteConCalculo = 1.3;  // with a reference calculation open

long long relojNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

// One run, times in ms from the start of the process.
struct Medida {
    double aplicacion = -1; // the application object is built
    double mostrada = -1;   // the main window is shown
    double cuadro = -1;     // its first frame is painted
    long rssKb = -1;
};

Medida medir(const QString &programa, const QStringList &argumentos)
{
    QProcess p;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(PELMORA_SONDA));
    p.setProcessEnvironment(entorno);
    p.setProcessChannelMode(QProcess::SeparateChannels);
    const long long inicio = relojNs();
    p.start(programa, argumentos);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        std::fprintf(stderr, "%s no llegó a pintar la ventana\n", qPrintable(programa));
        return {};
    }
    static const QRegularExpression re(QStringLiteral(
        "SONDA aplicacion_ns=(\\d+) mostrada_ns=(\\d+) primer_cuadro_ns=(\\d+) rss_kb=(-?\\d+)"));
    const QRegularExpressionMatch m = re.match(QString::fromLocal8Bit(p.readAllStandardOutput()));
    if (!m.hasMatch()) {
        std::fprintf(stderr, "%s: sin medida (salida %d)\n%s", qPrintable(programa), p.exitCode(),
                     p.readAllStandardError().constData());
        return {};
    }
    auto ms = [&](int i) { return static_cast<double>(m.captured(i).toLongLong() - inicio) / 1e6; };
    Medida r;
    r.aplicacion = ms(1);
    r.mostrada = ms(2);
    r.cuadro = ms(3);
    r.rssKb = m.captured(4).toLong();
    return r;
}

template <typename T> T mediana(std::vector<T> v)
{
    if (v.empty())
        return T(-1);
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Serie {
    const char *nombre;
    QString programa;
    QStringList argumentos;
    std::vector<Medida> medidas;

    double med(double Medida::*campo) const
    {
        std::vector<double> v;
        for (const Medida &m : medidas)
            v.push_back(m.*campo);
        return mediana(v);
    }
    long rss() const
    {
        std::vector<long> v;
        for (const Medida &m : medidas)
            v.push_back(m.rssKb);
        return mediana(v);
    }
};

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;

    const QString pelmora = QStringLiteral(PELMORA_EJECUTABLE);
    const QString vacia = QStringLiteral(PELMORA_VENTANA_VACIA);
    const QString sinPresentacion = QStringLiteral("--sin-presentacion");
    std::vector<Serie> series{
        {"Pelmora --sin-presentacion", pelmora, {sinPresentacion}, {}},
        {"Ventana vacia (QMainWindow)", vacia, {}, {}},
        {"Pelmora con un calculo de referencia", pelmora, {sinPresentacion, QStringLiteral(PELMORA_REFERENCIA)}, {}},
        {"Ventana vacia con un menu", vacia, {QStringLiteral("--con-menu")}, {}},
        {"Ventana vacia con los menus de Pelmora", vacia, {QStringLiteral("--menus-completos")}, {}},
        {"La misma, tan alta como la pantalla", vacia,
         {QStringLiteral("--menus-completos"), QStringLiteral("--alto-pantalla")}, {}},
    };

    // One run of each first, to warm the disk cache.
    for (Serie &s : series)
        if (medir(s.programa, s.argumentos).cuadro < 0)
            return 2;
    for (int i = 0; i < n; ++i)
        for (Serie &s : series) {
            const Medida m = medir(s.programa, s.argumentos);
            if (m.cuadro < 0)
                return 2;
            s.medidas.push_back(m);
        }

    const QByteArray plataforma = qgetenv("QT_QPA_PLATFORM");
    std::printf("Arranque hasta el primer cuadro de la ventana principal: plataforma %s, %d veces, "
                "medianas en ms desde el inicio del proceso\n",
                plataforma.isEmpty() ? "por defecto" : plataforma.constData(), n);
    std::printf("  %-38s %12s %9s %13s %9s\n", "", "QApplication", "mostrada", "primer cuadro", "VmRSS kB");
    for (const Serie &s : series)
        std::printf("  %-38s %12.1f %9.1f %13.1f %9ld\n", s.nombre, s.med(&Medida::aplicacion),
                    s.med(&Medida::mostrada), s.med(&Medida::cuadro), s.rss());
    const double cuadro = series[0].med(&Medida::cuadro);
    std::printf("Razon Pelmora / ventana vacia: %.2f\n", cuadro / series[1].med(&Medida::cuadro));
    std::printf("Razon Pelmora / ventana vacia con un menu: %.2f\n", cuadro / series[3].med(&Medida::cuadro));
    const double base = series[4].med(&Medida::cuadro);
    const double razon = cuadro / base;
    const double razonCalculo = series[2].med(&Medida::cuadro) / base;
    std::printf("Razon Pelmora / ventana vacia con los mismos menus: %.2f (limite %.1f): %s\n", razon, kLimite,
                razon <= kLimite ? "dentro" : "FUERA");
    std::printf("Razon Pelmora con un calculo / ventana vacia con los mismos menus: %.2f (limite %.1f): %s\n",
                razonCalculo, kLimiteConCalculo, razonCalculo <= kLimiteConCalculo ? "dentro" : "FUERA");
    // Each round's own ratio: the machine's speed drifts from round to
    // round, and both runs of a round share it.
    std::vector<double> porVuelta;
    for (size_t i = 0; i < series[2].medidas.size(); ++i)
        porVuelta.push_back(series[2].medidas[i].cuadro / series[4].medidas[i].cuadro);
    std::printf("Mediana de las razones de cada vuelta, con un calculo / mismos menus: %.2f\n", mediana(porVuelta));
    std::printf("Razon Pelmora con un calculo / la misma ventana vacia tan alta como la pantalla: %.2f\n",
                series[2].med(&Medida::cuadro) / series[5].med(&Medida::cuadro));
    std::printf("Memoria residente: Pelmora con un calculo %ld kB, ventana vacia %ld kB (%.2f veces)\n",
                series[2].rss(), series[1].rss(),
                static_cast<double>(series[2].rss()) / static_cast<double>(series[1].rss()));
    return razon <= kLimite && razonCalculo <= kLimiteConCalculo ? 0 : 1;
}
