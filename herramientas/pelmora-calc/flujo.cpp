#include "flujo.h"

#include <algorithm>

namespace pelmora {

namespace {

// Files in flight per thread: enough to keep the threads busy while the
// walk or the writing pauses, few enough that the outputs held stay small.
constexpr size_t kPorHilo = 64;
// Files handed, or taken by a thread, under one lock: the lock is shared by
// every thread, and taking it once per file kept the cores waking each other.
constexpr size_t kTanda = 8;

} // namespace

Flujo::Flujo(Trabajo trabajo, Entrega entrega, int hilos)
    : trabajo_(std::move(trabajo)), entrega_(std::move(entrega)), numHilos_(size_t(std::max(1, hilos)))
{
    // The thread that hands the files is one of those that work: it takes
    // files too while many are in flight, instead of sleeping beside the
    // others and waking them to deliver.
    for (size_t k = 1; k < numHilos_; ++k) {
        hilos_.emplace_back(QThread::create([this] { trabajar(); }));
        hilos_.back()->start();
    }
}

Flujo::~Flujo() { terminar(); }

void Flujo::anadir(const QString &ruta, bool regular)
{
    nuevos_.push_back({ruta, regular});
    // Handed at once while a thread waits for work, so none idles while the
    // walk pauses; otherwise a few at a time.
    if (nuevos_.size() >= kTanda || ociosos_.load(std::memory_order_relaxed) > 0)
        soltarNuevos();
}

void Flujo::soltarNuevos()
{
    std::unique_lock cerrojo(mutex_);
    for (Nuevo &n : nuevos_) {
        puestos_.push_back({std::move(n.ruta), n.regular, std::nullopt});
        pendientes_.push_back(primero_ + qint64(puestos_.size()) - 1);
    }
    nuevos_.clear();
    hayTrabajo_.notify_all();
    entregarListos(cerrojo);
    while (puestos_.size() >= kPorHilo * numHilos_)
        ayudar(cerrojo);
}

void Flujo::terminar()
{
    if (!nuevos_.empty())
        soltarNuevos();
    std::unique_lock cerrojo(mutex_);
    if (fin_ && puestos_.empty())
        return;
    fin_ = true;
    hayTrabajo_.notify_all();
    while (!puestos_.empty())
        ayudar(cerrojo);
    cerrojo.unlock();
    for (const auto &h : hilos_)
        h->wait();
    hilos_.clear();
}

// One step of the handing thread's share: the oldest file no thread took,
// or, with none left, waiting for the oldest in flight; then what is ready
// is delivered.
void Flujo::ayudar(std::unique_lock<std::mutex> &cerrojo)
{
    if (!pendientes_.empty()) {
        const qint64 numero = pendientes_.front();
        pendientes_.pop_front();
        const Puesto &p = puestos_[size_t(numero - primero_)];
        cerrojo.unlock();
        Hecho h = trabajo_(p.ruta, p.regular);
        cerrojo.lock();
        puestos_[size_t(numero - primero_)].hecho = std::move(h);
    } else {
        esperando_ = true;
        hayHecho_.wait(cerrojo, [this] { return puestos_.front().hecho.has_value(); });
        esperando_ = false;
    }
    entregarListos(cerrojo);
}

// The outputs at the front that are done, taken under the lock and
// delivered without it.
void Flujo::entregarListos(std::unique_lock<std::mutex> &cerrojo)
{
    while (!puestos_.empty() && puestos_.front().hecho) {
        do {
            listos_.push_back(std::move(puestos_.front()));
            puestos_.pop_front();
            ++primero_;
        } while (!puestos_.empty() && puestos_.front().hecho);
        cerrojo.unlock();
        for (const Puesto &p : listos_)
            entrega_(p.ruta, *p.hecho);
        listos_.clear();
        cerrojo.lock();
    }
}

void Flujo::trabajar()
{
    // The files taken: their numbers and places. A taken file's place stays
    // where it is (a deque keeps its elements in place as its ends grow and
    // shrink, and a file is not delivered before it is done), so its path
    // is read there without copying.
    std::vector<std::pair<qint64, const Puesto *>> tomados;
    std::vector<Hecho> hechos;
    std::unique_lock cerrojo(mutex_);
    for (;;) {
        if (pendientes_.empty() && !fin_) {
            ociosos_.fetch_add(1, std::memory_order_relaxed);
            hayTrabajo_.wait(cerrojo, [this] { return fin_ || !pendientes_.empty(); });
            ociosos_.fetch_sub(1, std::memory_order_relaxed);
        }
        if (pendientes_.empty())
            return;
        // A share of what waits, so the last files are spread over the threads.
        const size_t n = std::clamp(pendientes_.size() / (2 * numHilos_), size_t(1), kTanda);
        for (size_t k = 0; k < n; ++k) {
            const qint64 numero = pendientes_.front();
            pendientes_.pop_front();
            tomados.emplace_back(numero, &puestos_[size_t(numero - primero_)]);
        }
        cerrojo.unlock();
        for (const auto &[numero, p] : tomados)
            hechos.push_back(trabajo_(p->ruta, p->regular));
        cerrojo.lock();
        for (size_t k = 0; k < tomados.size(); ++k)
            puestos_[size_t(tomados[k].first - primero_)].hecho = std::move(hechos[k]);
        tomados.clear();
        hechos.clear();
        if (esperando_ && puestos_.front().hecho)
            hayHecho_.notify_one();
    }
}

} // namespace pelmora
