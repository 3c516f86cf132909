// The window's title and the commands "Deshacer" and "Rehacer" of the menu
// "Edición", over the calculation's undo history (historial.h).
#include "interfaz/ventana/ventanaprincipal.h"

#include "interfaz/dialogos/dialogos.h"
#include "interfaz/formularios/campo.h"
#include "interfaz/formularios/formulario.h"
#include "interfaz/formularios/sesionedicion.h"
#include "interfaz/soporte/historial.h"
#include "interfaz/ventana/areasecciones.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace pelmora {

namespace {

// "Deshacer" or "Rehacer" as built (with its Alt letter), followed by the
// name of the step it would undo or redo, when there is one.
void rotularPaso(QAction *a, const QString &paso)
{
    QString base = a->property("rotuloBase").toString();
    if (base.isEmpty()) {
        base = a->text();
        a->setProperty("rotuloBase", base);
    }
    a->setText(paso.isEmpty() ? base : base + QLatin1Char(' ') + QString(paso).replace(u'&', QStringLiteral("&&")));
}

} // namespace

void VentanaPrincipal::conectarHistorial()
{
    QUndoStack &pila = historial_->pila();
    connect(&pila, &QUndoStack::indexChanged, this, &VentanaPrincipal::actualizarMenusHistorial);
    connect(&pila, &QUndoStack::canUndoChanged, this, &VentanaPrincipal::actualizarMenusHistorial);
    connect(&pila, &QUndoStack::canRedoChanged, this, &VentanaPrincipal::actualizarMenusHistorial);
    // The field being edited may have typing to undo by the time the menu opens.
    if (auto *edicion = findChild<QMenu *>(QStringLiteral("mnuEdit")))
        connect(edicion, &QMenu::aboutToShow, this, &VentanaPrincipal::actualizarMenusHistorial);

    // The mark of unsaved changes follows every change: each ends with the
    // results, a save with the titles, and the service's review touches
    // only the service.
    connect(&calculo_, &Calculo::resultadosCambiados, this, &VentanaPrincipal::actualizarTitulo);
    connect(&calculo_, &Calculo::titulosCambiados, this, &VentanaPrincipal::actualizarTitulo);
    connect(&calculo_, &Calculo::campoCambiado, this, [this](Col c, Seccion s, int) {
        if (c == Col::S && s == Seccion::Servicio)
            actualizarTitulo();
    });
}

void VentanaPrincipal::actualizarTitulo()
{
    if (!calculoAbierto()) {
        setWindowModified(false);
        setWindowTitle(tituloPrograma());
        return;
    }
    QString nombre =
        archivoActual_.isEmpty() ? QStringLiteral("Sin nombre") : QFileInfo(archivoActual_).fileName();
    // "[*]" in a file's name is shown as it is, not as the mark.
    nombre.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(nombre + QStringLiteral("[*] — ") + tituloPrograma());
    setWindowModified(HayCambios());
}

void VentanaPrincipal::actualizarMenusHistorial()
{
    if (!mnuDeshacer_ || !mnuRehacer_) {
        mnuDeshacer_ = accion(QStringLiteral("mnuDeshacer"));
        mnuRehacer_ = accion(QStringLiteral("mnuRehacer"));
    }
    QAction *atras = mnuDeshacer_;
    QAction *adelante = mnuRehacer_;
    if (!atras || !adelante || !historial_)
        return;
    const bool activos = estadoMenus_ == EstadoMenus::ConCalculo && calculoAbierto();
    const QUndoStack &pila = historial_->pila();
    const CampoTexto *c = campoEnEdicion();
    atras->setEnabled(activos && (pila.canUndo() || (c && c->isUndoAvailable())));
    adelante->setEnabled(activos && (pila.canRedo() || (c && c->isRedoAvailable())));
    // Typing of the field being edited goes first: it has no name.
    rotularPaso(atras, activos && !(c && c->isUndoAvailable()) ? pila.undoText() : QString());
    rotularPaso(adelante, activos && !(c && c->isRedoAvailable()) ? pila.redoText() : QString());
}

void VentanaPrincipal::deshacer()
{
    if (!calculoAbierto() || area_->sesion().devolviendo())
        return;
    // Typing not committed goes first. Once the field has none left, its
    // text is the one its edit began with: nothing needs committing.
    CampoTexto *c = campoEnEdicion();
    if (c && c->isUndoAvailable())
        c->deshacerTecleo(true);
    else
        moverHistorial(true);
    actualizarMenusHistorial();
}

void VentanaPrincipal::rehacer()
{
    if (!calculoAbierto() || area_->sesion().devolviendo())
        return;
    // Typing with nothing of its own to redo is committed first, as before
    // any command; a new value is a new change and leaves nothing to redo.
    CampoTexto *c = campoEnEdicion();
    if (c && c->isRedoAvailable())
        c->deshacerTecleo(false);
    else if (!c || c->SalirCampo(true))
        moverHistorial(false);
    actualizarMenusHistorial();
}

void VentanaPrincipal::moverHistorial(bool atras)
{
    QUndoStack &pila = historial_->pila();
    if (atras ? !pila.canUndo() : !pila.canRedo())
        return;
    // The step is shown where it was made: its form comes up first (a
    // field being edited elsewhere, with nothing typed, goes as it was).
    const LugarCambio lugar = historial_->lugar(atras ? pila.index() - 1 : pila.index());
    if (!frmActiva() || frmActiva()->seccion() != lugar.seccion)
        MostrarSeccion(lugar.seccion);
    if (atras)
        pila.undo();
    else
        pila.redo();
    // The form shown brings itself up to date as when it is shown (the
    // service is reviewed), and the field being edited starts its edit
    // again with what it holds now.
    if (FormularioBase *f = frmActiva())
        f->activar();
    if (CampoTexto *c = campoEnEdicion())
        c->EntrarCampo();
    enfocarLugar(lugar);
}

void VentanaPrincipal::enfocarLugar(const LugarCambio &lugar)
{
    FormularioBase *f = frmActiva();
    if (!f || f->seccion() != lugar.seccion)
        return;
    QWidget *w = f->caja(Col::S, lugar.indice);
    if (!w) {
        const bool primero = !calculo_.columnaS()(lugar.seccion, lugar.indice).esFalso();
        w = f->boton(Col::S, lugar.indice, primero ? 1 : 2);
    }
    if (w && w->isEnabled() && w->isVisible() && !w->hasFocus())
        w->setFocus(Qt::OtherFocusReason);
}

CampoTexto *VentanaPrincipal::campoEnEdicion() const
{
    if (CampoTexto *c = campoEditado())
        return c;
    if (FormularioBase *f = frmActiva())
        for (CampoTexto *c : f->findChildren<CampoTexto *>())
            if (c->admiteEntrada() && c->editando())
                return c;
    return nullptr;
}

} // namespace pelmora
