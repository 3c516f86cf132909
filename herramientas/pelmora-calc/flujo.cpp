#include "flujo.h"

#include <algorithm>

namespace pelmora {

namespace {

// Files in flight per thread: enough to keep the threads busy while the
// walk or the writing pauses, few enough that the outputs held stay small.
constexpr qsizetype kPorHilo = 64;
// Outputs done at the front before the thread that hands the files is
// woken to deliver them: once per batch, not once per file.
constexpr size_t kLote = 32;

} // namespace

Flujo::Flujo(Trabajo trabajo, Entrega entrega, int hilos) : trabajo_(std::move(trabajo)), entrega_(std::move(entrega))
{
    for (int k = 0; k < std::max(1, hilos); ++k) {
        hilos_.emplace_back(QThread::create([this] { trabajar(); }));
        hilos_.back()->start();
    }
}

Flujo::~Flujo() { terminar(); }

void Flujo::anadir(const QString &ruta, bool regular)
{
    std::unique_lock cerrojo(mutex_);
    entregarListos(cerrojo);
    while (qsizetype(puestos_.size()) >= kPorHilo * qsizetype(hilos_.size())) {
        hayHecho_.wait(cerrojo, [this] { return loteListo(); });
        entregarListos(cerrojo);
    }
    puestos_.push_back({ruta, regular, std::nullopt});
    pendientes_.push_back(primero_ + qint64(puestos_.size()) - 1);
    hayTrabajo_.notify_one();
}

void Flujo::terminar()
{
    std::unique_lock cerrojo(mutex_);
    if (fin_ && puestos_.empty())
        return;
    fin_ = true;
    hayTrabajo_.notify_all();
    while (!puestos_.empty()) {
        hayHecho_.wait(cerrojo, [this] { return loteListo(); });
        entregarListos(cerrojo);
    }
    cerrojo.unlock();
    for (const auto &h : hilos_)
        h->wait();
    hilos_.clear();
}

// The front is done, and so is the last of the first batch.
bool Flujo::loteListo() const
{
    return !puestos_.empty() && puestos_.front().hecho && puestos_[std::min(puestos_.size(), kLote) - 1].hecho;
}

// The outputs at the front that are done, delivered without the lock.
void Flujo::entregarListos(std::unique_lock<std::mutex> &cerrojo)
{
    while (!puestos_.empty() && puestos_.front().hecho) {
        const Puesto p = std::move(puestos_.front());
        puestos_.pop_front();
        ++primero_;
        cerrojo.unlock();
        entrega_(p.ruta, *p.hecho);
        cerrojo.lock();
    }
}

void Flujo::trabajar()
{
    std::unique_lock cerrojo(mutex_);
    for (;;) {
        hayTrabajo_.wait(cerrojo, [this] { return fin_ || !pendientes_.empty(); });
        if (pendientes_.empty())
            return;
        const qint64 numero = pendientes_.front();
        pendientes_.pop_front();
        const Puesto &p = puestos_[size_t(numero - primero_)];
        const QString ruta = p.ruta;
        const bool regular = p.regular;
        cerrojo.unlock();
        Hecho h = trabajo_(ruta, regular);
        cerrojo.lock();
        puestos_[size_t(numero - primero_)].hecho = std::move(h);
        if (loteListo())
            hayHecho_.notify_one();
    }
}

} // namespace pelmora
