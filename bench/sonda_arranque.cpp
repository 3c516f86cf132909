// Start-up probe, loaded with LD_PRELOAD into a Qt Widgets program: it
// watches the events of the application, and once the first main window
// (a QMainWindow) has painted its first frame it writes to standard output
//
//   SONDA aplicacion_ns=<A> mostrada_ns=<M> primer_cuadro_ns=<B> rss_kb=<VmRSS>
//
// (CLOCK_MONOTONIC when the application object was built, when the main
// window was first shown and at its first frame)
// and ends the process. VmRSS is read a moment later (PELMORA_SONDA_ESPERA_MS,
// 200 by default), once what the window does right after showing is done.
// The program itself is not changed: the probe hooks in when the
// application object is built.
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QMainWindow>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

long long relojNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

long memoriaResidenteKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &linea : f.readAll().split('\n'))
        if (linea.startsWith("VmRSS:"))
            return linea.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

class Sonda : public QObject {
public:
    explicit Sonda(long long aplicacion) : aplicacion_(aplicacion) {}

    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (!mostrada_ && e->type() == QEvent::Show && qobject_cast<QMainWindow *>(o))
            mostrada_ = relojNs();
        if (!visto_ && e->type() == QEvent::Paint && o->isWidgetType()
            && qobject_cast<QMainWindow *>(static_cast<QWidget *>(o)->window())) {
            visto_ = true;
            // The paint pass and the flush of the frame end before queued
            // calls run.
            QMetaObject::invokeMethod(this, [this] { primerCuadro(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void primerCuadro()
    {
        const long long t = relojNs();
        const int espera = qEnvironmentVariableIsSet("PELMORA_SONDA_ESPERA_MS")
                               ? qEnvironmentVariableIntValue("PELMORA_SONDA_ESPERA_MS")
                               : 200;
        QTimer::singleShot(espera, this, [this, t] {
            std::printf("SONDA aplicacion_ns=%lld mostrada_ns=%lld primer_cuadro_ns=%lld rss_kb=%ld\n",
                        aplicacion_, mostrada_ ? mostrada_ : t, t, memoriaResidenteKb());
            std::fflush(stdout);
            std::_Exit(0);
        });
    }

    long long aplicacion_;
    long long mostrada_ = 0;
    bool visto_ = false;
};

void instalarSonda()
{
    QCoreApplication::instance()->installEventFilter(new Sonda(relojNs()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(instalarSonda)
