#include "interfaz/soporte/historial.h"

#include <QUndoCommand>
#include <utility>

namespace pelmora {

namespace {

// One change: the user column before it and after it.
class CambioEntradas : public QUndoCommand {
public:
    CambioEntradas(Calculo &calculo, EntradasUsuario antes, EntradasUsuario despues)
        : calculo_(calculo), antes_(std::move(antes)), despues_(std::move(despues))
    {
    }
    void undo() override { calculo_.restaurarEntradas(antes_); }
    void redo() override
    {
        // Pushing the step redoes it: the calculation already holds it.
        if (std::exchange(hecho_, false))
            return;
        calculo_.restaurarEntradas(despues_);
    }

private:
    Calculo &calculo_;
    EntradasUsuario antes_, despues_;
    bool hecho_ = true;
};

} // namespace

HistorialCambios::HistorialCambios(Calculo &calculo, QObject *parent) : QObject(parent), calculo_(calculo)
{
    pila_.setUndoLimit(kPasos);
    connect(&calculo, &Calculo::cambioEmpezado, this, &HistorialCambios::empezar);
    connect(&calculo, &Calculo::cambioTerminado, this, &HistorialCambios::terminar);
}

void HistorialCambios::vaciar()
{
    pila_.clear();
    pila_.setClean();
}

void HistorialCambios::empezar()
{
    if (abiertos_++ == 0)
        antes_ = calculo_.entradasUsuario();
}

void HistorialCambios::terminar()
{
    if (abiertos_ == 0 || --abiertos_ > 0)
        return;
    EntradasUsuario despues = calculo_.entradasUsuario();
    // A refused value, or the same one committed again, is no step.
    if (Calculo::mismasEntradas(antes_.columna, despues.columna))
        return;
    pila_.push(new CambioEntradas(calculo_, std::move(antes_), std::move(despues)));
}

} // namespace pelmora
