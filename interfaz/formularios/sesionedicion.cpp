#include "interfaz/formularios/sesionedicion.h"

#include "interfaz/formularios/campo.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <utility>

namespace pelmora {

SesionEdicion::SesionEdicion(QObject *duena) : QObject(duena) { setObjectName(QStringLiteral("sesionEdicion")); }

SesionEdicion &SesionEdicion::de(const QWidget *w)
{
    if (auto *s = w->window()->findChild<SesionEdicion *>())
        return *s;
    static QPointer<SesionEdicion> suelta;
    if (!suelta)
        suelta = new SesionEdicion(qApp);
    return *suelta;
}

SesionEdicion::Confirmacion::Confirmacion(SesionEdicion &s) : s_(s) { ++s_.confirmando_; }

SesionEdicion::Confirmacion::~Confirmacion()
{
    if (--s_.confirmando_ > 0)
        return;
    if (const QPointer<CampoTexto> c = std::exchange(s_.entrarDespues_, nullptr))
        c->entrarTrasConfirmar();
}

void SesionEdicion::devolverA(CampoTexto *c)
{
    devolver_ = c;
    qApp->removeEventFilter(this);
    qApp->installEventFilter(this);
}

void SesionEdicion::devuelto(const CampoTexto *c)
{
    if (devolver_ == c) {
        devolver_ = nullptr;
        qApp->removeEventFilter(this);
    }
}

// While a refused value takes the focus back to its box, the mouse and key
// input on its way to another control of the same window is dropped: the
// press that asked for the focus change, and keys typed ahead into the
// control the focus passed to. The click is cancelled with the focus change.
bool SesionEdicion::eventFilter(QObject *o, QEvent *e)
{
    if (!devolver_)
        return false;
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
        break;
    default:
        return false;
    }
    auto *w = qobject_cast<QWidget *>(o);
    return w && w != devolver_ && w->window() == devolver_->window();
}

} // namespace pelmora
