// Files handed to worker threads as they are found, their outputs taken
// back in the order they were handed, with a bounded number in flight. The
// thread that hands them is one of the workers.
#pragma once

#include <QByteArray>
#include <QString>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace pelmora {

struct Hecho {
    QByteArray salida;
    QString error; // the reason the file could not be read
};

class Flujo {
public:
    using Trabajo = std::function<Hecho(const QString &ruta, bool regular)>;
    // Called on the thread that hands the files, in their order.
    using Entrega = std::function<void(const QString &ruta, const Hecho &hecho)>;

    Flujo(Trabajo trabajo, Entrega entrega, int hilos = QThread::idealThreadCount());
    ~Flujo();

    // Hands one more file (regular: as the walk saw it). Files go to the
    // threads a few at a time, or at once while a thread waits for work;
    // each hand-off delivers the outputs that are ready, and works on the
    // oldest when too many are in flight.
    void anadir(const QString &ruta, bool regular);
    // Delivers every output left; the threads end.
    void terminar();

private:
    struct Puesto {
        QString ruta;
        bool regular;
        std::optional<Hecho> hecho;
    };
    struct Nuevo {
        QString ruta;
        bool regular;
    };
    void soltarNuevos();
    void ayudar(std::unique_lock<std::mutex> &cerrojo);
    void trabajar();
    void entregarListos(std::unique_lock<std::mutex> &cerrojo);

    Trabajo trabajo_;
    Entrega entrega_;
    std::mutex mutex_;
    std::condition_variable hayTrabajo_, hayHecho_;
    std::deque<Puesto> puestos_;   // in the order handed, the oldest first
    std::deque<qint64> pendientes_; // numbers of the files no thread took yet
    qint64 primero_ = 0;            // number of puestos_.front()
    bool fin_ = false;
    bool esperando_ = false;      // the handing thread waits for the oldest
    size_t numHilos_;
    std::vector<Nuevo> nuevos_;  // handed, not yet given to the threads
    std::vector<Puesto> listos_; // being delivered
    std::atomic<int> ociosos_ = 0; // threads waiting for work
    std::vector<std::unique_ptr<QThread>> hilos_;
};

} // namespace pelmora
