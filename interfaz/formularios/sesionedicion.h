// The edit of the boxes of a window's section forms: only one box is edited
// at a time. The session remembers the value that box had when its edit
// began, knows while a commit runs (its message, and the boxes it enables
// and disables, move the focus meanwhile) and, after a refused value, which
// box is taking the focus back; until it has it, mouse and key input on its
// way to other controls of the window is dropped.
#pragma once

#include "entrada/valor.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace pelmora {

class CampoTexto;

class SesionEdicion : public QObject {
    Q_OBJECT
public:
    // The section area makes the main window's, owned by it.
    explicit SesionEdicion(QObject *duena);

    // The session of the window that holds w; a form standing on its own
    // (as the tests build them) shares one with every other such form.
    static SesionEdicion &de(const QWidget *w);

    // The value the box being edited had when its edit began.
    const Valor &valorAnterior() const { return valorAnterior_; }
    void fijarValorAnterior(const Valor &v) { valorAnterior_ = v; }

    // While one lives, a commit is running. When the last one ends, the box
    // that got the focus meanwhile (esperar) starts its edit.
    class Confirmacion {
    public:
        explicit Confirmacion(SesionEdicion &s);
        ~Confirmacion();
        Confirmacion(const Confirmacion &) = delete;
        Confirmacion &operator=(const Confirmacion &) = delete;

    private:
        SesionEdicion &s_;
    };
    bool confirmando() const { return confirmando_ > 0; }
    void esperar(CampoTexto *c) { entrarDespues_ = c; }

    // A refused value: c takes the focus back. The other controls let the
    // focus pass without acting on it until c has it (devuelto) or the
    // event loop turns.
    void devolverA(CampoTexto *c);
    void devuelto(const CampoTexto *c);
    bool devolviendo() const { return !devolver_.isNull(); }
    bool devolviendoA(const CampoTexto *c) const { return devolver_ == c; }

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    Valor valorAnterior_;
    int confirmando_ = 0;
    QPointer<CampoTexto> entrarDespues_;
    QPointer<CampoTexto> devolver_;
};

} // namespace pelmora
