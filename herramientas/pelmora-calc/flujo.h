// Files handed to worker threads as they are found, their outputs taken
// back in the order they were handed, with a bounded number in flight.
#pragma once

#include <QByteArray>
#include <QString>
#include <QThread>
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

    // Hands one more file (regular: as the walk saw it); delivers the
    // outputs that are ready, and waits for the oldest when too many are
    // in flight.
    void anadir(const QString &ruta, bool regular);
    // Delivers every output left; the threads end.
    void terminar();

private:
    struct Puesto {
        QString ruta;
        bool regular;
        std::optional<Hecho> hecho;
    };
    void trabajar();
    void entregarListos(std::unique_lock<std::mutex> &cerrojo);
    bool loteListo() const;

    Trabajo trabajo_;
    Entrega entrega_;
    std::mutex mutex_;
    std::condition_variable hayTrabajo_, hayHecho_;
    std::deque<Puesto> puestos_;   // in the order handed, the oldest first
    std::deque<qint64> pendientes_; // numbers of the files no thread took yet
    qint64 primero_ = 0;            // number of puestos_.front()
    bool fin_ = false;
    std::vector<std::unique_ptr<QThread>> hilos_;
};

} // namespace pelmora
