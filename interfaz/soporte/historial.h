// The undo history of the open calculation: one step for each change by the
// user (a committed field, an option switch) that changed a stored entry.
// Undoing or redoing a step puts the whole user column back as it was
// before or after the change (Calculo::restaurarEntradas).
#pragma once

#include "calculo/calculo.h"

#include <QObject>
#include <QUndoStack>

namespace pelmora {

// Where a step changed the calculation: the field committed, or the first
// entry of the option pair switched.
struct LugarCambio {
    Seccion seccion = Seccion::Caracteristicas;
    int indice = 0;
};

class HistorialCambios : public QObject {
    Q_OBJECT
public:
    // Steps kept; older ones are forgotten.
    static constexpr int kPasos = 100;

    explicit HistorialCambios(Calculo &calculo, QObject *parent = nullptr);

    QUndoStack &pila() { return pila_; }
    // Where step paso of the stack (0 the oldest) changed the calculation.
    LugarCambio lugar(int paso) const;
    // A calculation was opened, created or closed: nothing to undo. Whether
    // it has unsaved changes is the calculation's to say (HayCambios), not
    // the history's: a value changed and changed back is no change.
    void vaciar() { pila_.clear(); }

private:
    void empezar(Seccion s, int indice);
    void terminar();

    Calculo &calculo_;
    QUndoStack pila_;
    int abiertos_ = 0; // changes begun and not over (one inside another)
    EntradasUsuario antes_;
    LugarCambio lugar_; // of the change begun
};

} // namespace pelmora
