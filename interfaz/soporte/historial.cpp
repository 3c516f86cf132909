#include "interfaz/soporte/historial.h"

#include "analisis/rotulos.h"

#include <QUndoCommand>
#include <utility>

namespace pelmora {

namespace {

// The field a step is named after in "Deshacer" and "Rehacer", by the
// caption that stands on its own ("Kilómetros anuales").
QString nombreLugar(const LugarCambio &l) { return rotulo(l.seccion, l.indice).etiqueta; }

// One change: where it was, the user column before it and after it.
class CambioEntradas : public QUndoCommand {
public:
    CambioEntradas(Calculo &calculo, const LugarCambio &lugar, EntradasUsuario antes, EntradasUsuario despues)
        : QUndoCommand(nombreLugar(lugar)), calculo_(calculo), lugar_(lugar), antes_(std::move(antes)),
          despues_(std::move(despues))
    {
    }
    const LugarCambio &lugar() const { return lugar_; }
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
    LugarCambio lugar_;
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

LugarCambio HistorialCambios::lugar(int paso) const
{
    const auto *c = static_cast<const CambioEntradas *>(pila_.command(paso));
    return c ? c->lugar() : LugarCambio();
}

void HistorialCambios::empezar(Seccion s, int indice)
{
    if (abiertos_++ == 0) {
        antes_ = calculo_.entradasUsuario();
        lugar_ = {s, indice};
    }
}

void HistorialCambios::terminar()
{
    if (abiertos_ == 0 || --abiertos_ > 0)
        return;
    EntradasUsuario despues = calculo_.entradasUsuario();
    // A refused value, or the same one committed again, is no step.
    if (Calculo::mismasEntradas(antes_.columna, despues.columna))
        return;
    pila_.push(new CambioEntradas(calculo_, lugar_, std::move(antes_), std::move(despues)));
}

} // namespace pelmora
