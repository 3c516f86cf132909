// The undo history of the open calculation: one step for each change by the
// user (a committed field, an option switch) that changed a stored entry.
// Undoing or redoing a step puts the whole user column back as it was
// before or after the change (Calculo::restaurarEntradas).
#pragma once

#include "calculo/calculo.h"

#include <QObject>
#include <QUndoStack>

namespace pelmora {

class HistorialCambios : public QObject {
    Q_OBJECT
public:
    // Steps kept; older ones are forgotten.
    static constexpr int kPasos = 100;

    explicit HistorialCambios(Calculo &calculo, QObject *parent = nullptr);

    QUndoStack &pila() { return pila_; }
    // A calculation was opened, created or closed: nothing to undo.
    void vaciar();
    // The calculation was saved: this is its clean point.
    void marcarGrabado() { pila_.setClean(); }

private:
    void empezar();
    void terminar();

    Calculo &calculo_;
    QUndoStack pila_;
    int abiertos_ = 0; // changes begun and not over (one inside another)
    EntradasUsuario antes_;
};

} // namespace pelmora
