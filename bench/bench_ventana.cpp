// What the user waits for in the main window with a reference calculation
// open: committing a field with Enter, and switching to Resultados (the
// first time, when its form may still have to be built, and later), each
// with the window redrawn; beside them, one character typed into a field
// and the whole window redrawn. Also the seven forms exported to PDF, beside
// painting each of them once.
//
//   pelmora_bench_ventana [Google Benchmark options]
//
// Runs on the platform in QT_QPA_PLATFORM; offscreen when no display is set.
#include "interfaz/dialogos/dialogos.h"
#include "interfaz/formularios/formulario.h"
#include "interfaz/impresion/impresion.h"
#include "interfaz/ventana/ventanaprincipal.h"
#include "principal.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWindow>

#include <cstdlib>
#include <malloc.h>
#include <memory>
#include <unistd.h>

using namespace pelmora;

namespace {

// A shown main window with the reference calculation open.
std::unique_ptr<VentanaPrincipal> ventanaAbierta()
{
    auto w = std::make_unique<VentanaPrincipal>();
    w->show();
    if (!w->abrirArchivoInicial(QStringLiteral(PELMORA_REFERENCIA)))
        std::abort();
    // Until the window is on screen (a window that is not exposed paints nothing).
    QElapsedTimer reloj;
    reloj.start();
    while (!(w->windowHandle() && w->windowHandle()->isExposed()) && reloj.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    // What the window does once it is up (the forms not shown yet are built).
    reloj.restart();
    while (reloj.elapsed() < 100)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    return w;
}

void pulsar(QWidget &w, const char *boton)
{
    auto *b = w.findChild<QPushButton *>(QLatin1String(boton));
    if (!b)
        std::abort();
    b->click();
}

void tecla(QWidget *w, int k)
{
    QKeyEvent abajo(QEvent::KeyPress, k, Qt::NoModifier);
    QApplication::sendEvent(w, &abajo);
    QKeyEvent arriba(QEvent::KeyRelease, k, Qt::NoModifier);
    QApplication::sendEvent(w, &arriba);
}

// The window drawn again, as the event loop does first after a change: the
// widgets that changed are painted and the frame goes to the screen.
void redibujar() { QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest); }

// The annual kilometres of the user column, being edited.
QLineEdit *kilometros(VentanaPrincipal &w)
{
    auto *km = w.findChild<QLineEdit *>(QStringLiteral("TextSC(9)"));
    if (!km)
        std::abort();
    km->setFocus(Qt::OtherFocusReason);
    redibujar();
    return km;
}

// The annual kilometres switched between two values and committed with Enter.
void confirmarOtroValor(QLineEdit *km, bool &par)
{
    km->setText(par ? QStringLiteral("110000") : QStringLiteral("120000"));
    par = !par;
    tecla(km, Qt::Key_Return);
}

// Baseline of a commit: one character typed into the field, and its redraw.
void BM_Base_TeclaEnCampo(benchmark::State &state)
{
    auto w = ventanaAbierta();
    QLineEdit *km = kilometros(*w);
    for (auto _ : state) {
        km->setCursorPosition(0);
        tecla(km, Qt::Key_Delete);
        tecla(km, Qt::Key_1);
        redibujar();
    }
}
BENCHMARK(BM_Base_TeclaEnCampo)->Unit(benchmark::kMillisecond);

// The annual kilometres typed and committed with Enter (every box that
// depends on them follows), and the redraw.
void BM_ConfirmarConEnter(benchmark::State &state)
{
    auto w = ventanaAbierta();
    QLineEdit *km = kilometros(*w);
    bool par = false;
    for (auto _ : state) {
        confirmarOtroValor(km, par);
        redibujar();
    }
}
BENCHMARK(BM_ConfirmarConEnter)->Unit(benchmark::kMillisecond);

// Baseline of a switch: every widget of the window drawn again.
void BM_Base_RedibujarVentana(benchmark::State &state)
{
    auto w = ventanaAbierta();
    const QList<QWidget *> todos = w->findChildren<QWidget *>();
    for (auto _ : state) {
        for (QWidget *x : todos)
            x->update();
        redibujar();
    }
}
BENCHMARK(BM_Base_RedibujarVentana)->Unit(benchmark::kMillisecond);

// The first switch to Resultados after opening, and the redraw.
void BM_PrimerCambioAResultados(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto w = ventanaAbierta();
        state.ResumeTiming();
        pulsar(*w, "cmbResultados");
        redibujar();
        state.PauseTiming();
        w.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PrimerCambioAResultados)->Unit(benchmark::kMillisecond)->Iterations(20);

// The same when the user clicks at once, before the window had a moment to
// build the forms not shown yet: Resultados is built then.
void BM_PrimerCambioAResultados_SinConstruir(benchmark::State &state)
{
    auto w = ventanaAbierta();
    for (auto _ : state) {
        state.PauseTiming();
        w->CerrarPatillas();
        if (!w->abrirArchivoInicial(QStringLiteral(PELMORA_REFERENCIA)))
            std::abort();
        redibujar();
        state.ResumeTiming();
        pulsar(*w, "cmbResultados");
        redibujar();
    }
}
BENCHMARK(BM_PrimerCambioAResultados_SinConstruir)->Unit(benchmark::kMillisecond)->Iterations(20);

// Later switches from Características to Resultados, and the redraw.
void BM_CambiarAResultados(benchmark::State &state)
{
    auto w = ventanaAbierta();
    pulsar(*w, "cmbResultados");
    redibujar();
    for (auto _ : state) {
        state.PauseTiming();
        pulsar(*w, "cmbCaracteristicas");
        redibujar();
        state.ResumeTiming();
        pulsar(*w, "cmbResultados");
        redibujar();
    }
}
BENCHMARK(BM_CambiarAResultados)->Unit(benchmark::kMillisecond);

// A commit with Enter, one turn of the event loop and the redraw: with the
// sensitivity window open (it follows the change in that turn), and the
// baseline with it closed.
void confirmarYDarUnaVuelta(benchmark::State &state, bool conSensibilidad)
{
    auto w = ventanaAbierta();
    if (conSensibilidad) {
        w->mostrarSensibilidad();
        QElapsedTimer reloj;
        reloj.start();
        while (reloj.elapsed() < 200)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    QLineEdit *km = kilometros(*w);
    bool par = false;
    for (auto _ : state) {
        confirmarOtroValor(km, par);
        QCoreApplication::processEvents();
        redibujar();
    }
}

void BM_Base_ConfirmarSinSensibilidad(benchmark::State &state) { confirmarYDarUnaVuelta(state, false); }
BENCHMARK(BM_Base_ConfirmarSinSensibilidad)->Unit(benchmark::kMillisecond);

void BM_ConfirmarConSensibilidad(benchmark::State &state) { confirmarYDarUnaVuelta(state, true); }
BENCHMARK(BM_ConfirmarConSensibilidad)->Unit(benchmark::kMillisecond);

// Resident memory of the process now, in MiB.
double memoriaResidente()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> campos = f.readAll().split(' ');
    return campos.size() > 1 ? campos[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : 0;
}

// The heap's bytes in use, in MiB: what was allocated and not freed, apart
// from the memory the allocator keeps in its free lists.
double montonEnUso() { return double(mallinfo2().uordblks) / (1024.0 * 1024.0); }

// A calculation opened and closed 2,000 times, each shown and drawn: the
// memory after the first 50 (the baseline) and at the end. The heap in use
// tells a leak (it grows with the resident memory) from fragmentation (it
// does not).
void BM_AbrirYCerrar2000Veces(benchmark::State &state)
{
    auto w = ventanaAbierta();
    for (auto _ : state) {
        double tras50 = 0, montonTras50 = 0;
        for (int k = 0; k < 2000; ++k) {
            w->CerrarPatillas();
            if (!w->abrirArchivoInicial(QStringLiteral(PELMORA_REFERENCIA)))
                std::abort();
            QCoreApplication::processEvents();
            redibujar();
            if (k == 49) {
                tras50 = memoriaResidente();
                montonTras50 = montonEnUso();
            }
        }
        state.counters["RSS_tras_50_MiB"] = tras50;
        state.counters["RSS_final_MiB"] = memoriaResidente();
        state.counters["crecimiento_MiB"] = memoriaResidente() - tras50;
        state.counters["crecimiento_monton_MiB"] = montonEnUso() - montonTras50;
    }
}
BENCHMARK(BM_AbrirYCerrar2000Veces)->Unit(benchmark::kMillisecond)->Iterations(1);

// The seven forms of the open calculation.
QList<QWidget *> sieteFormularios(VentanaPrincipal &w)
{
    QList<QWidget *> r;
    for (const DatosSeccion &d : kSecciones)
        if (QWidget *f = w.formulario(d.seccion))
            r << f;
    if (r.size() != kNumSecciones)
        std::abort();
    return r;
}

// Baseline of the PDF: each of the seven forms painted once, as the screen
// shows it.
void BM_Base_PintarSieteFormularios(benchmark::State &state)
{
    auto w = ventanaAbierta();
    const QList<QWidget *> formularios = sieteFormularios(*w);
    for (auto _ : state) {
        for (QWidget *f : formularios) {
            QImage imagen(f->size(), QImage::Format_ARGB32_Premultiplied);
            f->render(&imagen);
            benchmark::DoNotOptimize(imagen.bits());
        }
    }
}
BENCHMARK(BM_Base_PintarSieteFormularios)->Unit(benchmark::kMillisecond);

// "Exportar a PDF..." of the seven forms, the file written.
void BM_PdfSieteFormularios(benchmark::State &state)
{
    auto w = ventanaAbierta();
    const QList<QWidget *> formularios = sieteFormularios(*w);
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("siete.pdf"));
    for (auto _ : state) {
        if (grabarPdf(ruta, formularios, QStringLiteral("siete")) != ErrorArchivo::Ninguno)
            std::abort();
    }
}
BENCHMARK(BM_PdfSieteFormularios)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) { return pelmora::correrBenchmarksDeVentana(argc, argv, true); }
