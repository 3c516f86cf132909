// The part of the main window under the section bar: the shown section
// form (frmActiva), which has no scroll bars of its own, and the two strips
// that scroll it, PicVScroll with VScroll1 and PicHScroll with HScroll1.
// The form is scrolled by moving it: by the bars, by the focus reaching a
// control out of view, by Up, Down, Page Up and Page Down, and by the wheel
// anywhere over the window. Lengths and bar values are twips.
#pragma once

#include <QPointer>
#include <QSet>
#include <QWidget>

class QScrollBar;
class QWheelEvent;

namespace pelmora {

class FormularioBase;
class SesionEdicion;

// Width of the strip PicVScroll (twips).
constexpr int kAnchoPicVScroll = 400;

class AreaSecciones : public QWidget {
    Q_OBJECT
public:
    explicit AreaSecciones(QWidget *parent = nullptr);

    // Where the section forms live ("areaSecciones").
    QWidget *lienzo() const { return lienzo_; }
    // The edit of the forms' boxes, one at a time.
    SesionEdicion &sesion() const { return *sesion_; }
    // Takes a section form in: it lives on the canvas, hidden until shown,
    // and the focus and the scroll keys of its controls scroll it.
    void acoger(FormularioBase *f);

    // A calculation is opened on f: the strips come into view, both bars
    // start at 0 (Resultados too) and f is shown at the top left.
    void abrir(FormularioBase *f);
    // The calculation is closed: no form, the strips hidden.
    void cerrar();
    // The strips are in view exactly while a calculation is open.
    bool abierta() const;

    // Shows a form in place of the one shown (the bars go to the page of
    // its active control), and hides the one shown.
    void mostrar(FormularioBase *f);
    void ocultar();
    FormularioBase *frmActiva() const { return frmActiva_; }

    // The focus back to the active control of the shown form.
    void DevolverFoco();

    // The wheel over w scrolls the shown form too (the menu bar, the
    // section bar); with teclas, w also passes the scroll keys on and gives
    // the focus back to the form (the section bar).
    void atender(QWidget *w, bool teclas);

    // The bars for a form being shown, at the page of its active control.
    void SituarScrollV(FormularioBase *f);
    void SituarScrollH(FormularioBase *f);
    // The focus moved to a control of f: scroll just enough to show it.
    void MoverScrollV(FormularioBase *f);
    void MoverScrollH(FormularioBase *f);
    // VScroll1 to n, clamped to its range.
    void DesplazarScrollV(FormularioBase *f, int n);
    // The shown form follows the bars.
    void CambiarScrollV();
    void CambioScrollH();
    // Up, Down, Page Up and Page Down scroll the shown form.
    void TeclaScroll(int tecla);
    // One wheel event over the window: one small step up or down.
    void MouseWheel(int delta);
    // The strips changed size or came into view.
    void RecolocarScrollV();
    void RecolocarScrollH();
    // The wheel of the shown form: caught on f while it is shown.
    void EngancharRueda(QWidget *f);
    void SoltarRueda(QWidget *f);
    QWidget *formularioConRueda() const { return conRueda_; }

    // The value of the vertical bar for Resultados, kept while it is not
    // shown (the horizontal one is kept too).
    int scrollVResultados() const { return scrollVResultados_; }

protected:
    void resizeEvent(QResizeEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void colocar();
    // The strips take the canvas's colour as their own (they come into view).
    void fijarColorTiras();
    void ponerRangos(FormularioBase *f);
    // A wheel event over the window: MouseWheel when the pointer is on it.
    void ruedaSobreVentana(const QWheelEvent *r);
    bool esResultados() const;

    QWidget *lienzo_ = nullptr;
    SesionEdicion *sesion_ = nullptr;
    QWidget *picVScroll_ = nullptr;
    QWidget *picHScroll_ = nullptr;
    QScrollBar *vScroll1_ = nullptr;
    QScrollBar *hScroll1_ = nullptr;
    FormularioBase *frmActiva_ = nullptr;
    QPointer<QWidget> conRueda_; // the form whose wheel is caught
    QSet<QObject *> ruedaAjena_; // other widgets whose wheel scrolls the form
    QSet<QObject *> conTeclas_;  // widgets that pass keys and the focus on
    int scrollVResultados_ = 0;
    int scrollHResultados_ = 0;
};

} // namespace pelmora
