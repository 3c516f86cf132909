#include "interfaz/ventana/areasecciones.h"

#include "interfaz/formularios/formulario.h"
#include "interfaz/formularios/sesionedicion.h"
#include "interfaz/soporte/twips.h"
#include "interfaz/ventana/desplazamiento.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace pelmora {

namespace {

// The height of the strip PicHScroll, and the margin of the form at bar
// values 0 (twips).
constexpr int kAltoPicHScroll = 400;
constexpr int kMargenFormulario = 180;

int twipsDe(int pixeles) { return static_cast<int>(std::lround(aTwips(pixeles))); }

EstadoBarra estadoBarra(const QScrollBar *b)
{
    EstadoBarra e;
    e.minimo = b->minimum();
    e.maximo = b->maximum();
    e.pequeno = b->singleStep();
    e.grande = b->pageStep();
    e.valor = b->value();
    return e;
}

// The active control of a form, when it still belongs to it.
QWidget *controlDe(FormularioBase *f)
{
    QWidget *c = f ? f->controlActivo() : nullptr;
    return c && f->isAncestorOf(c) ? c : nullptr;
}

// Left and top of a control in the coordinates of the form's outer frame
// (twips): its own and those of its containers, the outer frame's excluded.
QPoint posicionEnMarco(FormularioBase *f, QWidget *c)
{
    int x = 0, y = 0;
    for (QWidget *w = c; w && w->parentWidget() && w->parentWidget() != f; w = w->parentWidget()) {
        x += twipsDe(w->x());
        y += twipsDe(w->y());
    }
    return QPoint(x, y);
}

// First control of a form that takes the focus with the Tab key.
QWidget *primerControl(QWidget *form)
{
    for (QWidget *w = form->nextInFocusChain(); w && w != form; w = w->nextInFocusChain()) {
        if (form->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled()
            && w->isVisibleTo(form))
            return w;
    }
    return nullptr;
}

} // namespace

AreaSecciones::AreaSecciones(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("AreaSecciones"));
    sesion_ = new SesionEdicion(this);
    lienzo_ = new QWidget(this);
    lienzo_->setObjectName(QStringLiteral("areaSecciones"));

    picVScroll_ = new QWidget(this);
    picVScroll_->setObjectName(QStringLiteral("PicVScroll"));
    vScroll1_ = new QScrollBar(Qt::Vertical, picVScroll_);
    vScroll1_->setObjectName(QStringLiteral("VScroll1"));
    picHScroll_ = new QWidget(this);
    picHScroll_->setObjectName(QStringLiteral("PicHScroll"));
    hScroll1_ = new QScrollBar(Qt::Horizontal, picHScroll_);
    hScroll1_->setObjectName(QStringLiteral("HScroll1"));
    for (QScrollBar *b : {vScroll1_, hScroll1_}) {
        b->setRange(0, 0);
        b->setSingleStep(kPasoPequeno);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(vScroll1_, &QScrollBar::valueChanged, this, &AreaSecciones::CambiarScrollV);
    connect(hScroll1_, &QScrollBar::valueChanged, this, &AreaSecciones::CambioScrollH);
    picVScroll_->hide();
    picHScroll_->hide();

    // The strips re-place the bars when they change size or come into
    // view; they and the bars pass the focus and the scroll keys on.
    for (QWidget *w : {picVScroll_, picHScroll_, static_cast<QWidget *>(vScroll1_), static_cast<QWidget *>(hScroll1_)})
        w->installEventFilter(this);
    // The wheel over the canvas beside the form.
    atender(lienzo_, false);
}

void AreaSecciones::atender(QWidget *w, bool teclas)
{
    ruedaAjena_.insert(w);
    if (teclas)
        conTeclas_.insert(w);
    w->installEventFilter(this);
}

void AreaSecciones::acoger(FormularioBase *f)
{
    f->setParent(lienzo_);
    // The wheel is taken on the shown form itself (EngancharRueda); what a
    // form leaves goes no further up, where the canvas would take it a
    // second time.
    f->setAttribute(Qt::WA_NoMousePropagation);
    f->hide();
    // A field or an option button taking the focus comes into view (the
    // legend and the pies of the results take it without moving the form);
    // the scroll keys of the fields, the legend and the pies scroll it.
    connect(f, &FormularioBase::controlEnfocado, this, [this, f](QWidget *c) {
        if (f != frmActiva_ || !(qobject_cast<QLineEdit *>(c) || qobject_cast<QAbstractButton *>(c)))
            return;
        MoverScrollV(f);
        MoverScrollH(f);
    });
    connect(f, &FormularioBase::teclaScroll, this, [this, f](int tecla) {
        if (f == frmActiva_)
            TeclaScroll(tecla);
    });
}

void AreaSecciones::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    colocar();
}

void AreaSecciones::colocar()
{
    const int ancho = width();
    const int anchoV = tw(kAnchoPicVScroll);
    const int altoH = tw(kAltoPicHScroll);
    const int altoV = std::max(0, height() - altoH);
    picVScroll_->setGeometry(std::max(0, ancho - anchoV), 0, anchoV, altoV);
    vScroll1_->setGeometry(tw(80), 0, tw(240), altoV);
    picHScroll_->setGeometry(0, std::max(0, height() - altoH), ancho, altoH);
    hScroll1_->setGeometry(0, tw(80), std::max(0, ancho - anchoV), tw(240));
    lienzo_->setGeometry(0, 0, std::max(0, ancho - anchoV), altoV);
}

bool AreaSecciones::abierta() const { return !picVScroll_->isHidden(); }

bool AreaSecciones::esResultados() const { return frmActiva_ && frmActiva_->seccion() == Seccion::Resultados; }

void AreaSecciones::abrir(FormularioBase *f)
{
    frmActiva_ = f;
    scrollVResultados_ = 0;
    scrollHResultados_ = 0;
    f->move(tw(kMargenFormulario), tw(kMargenFormulario));
    f->show();
    f->activar();

    fijarColorTiras();
    picVScroll_->show();
    picHScroll_->show();
    colocar();
    ponerRangos(f);
    // The strips coming into view place the bars for the shown form.
    SituarScrollV(f);
    SituarScrollH(f);
    EngancharRueda(f);
    DevolverFoco();
}

void AreaSecciones::fijarColorTiras()
{
    // The strips are only in view with a calculation open, on the colour
    // the canvas has then: they keep it as their own. Following the client
    // area instead, which changes colour on every close and open, would give
    // the bars a new palette each time, and the style keeps the pictures of
    // the bars by palette: its cache would fill with them.
    const QColor c = lienzo_->palette().color(QPalette::Window);
    for (QWidget *t : {picVScroll_, picHScroll_}) {
        QPalette p = t->palette();
        p.setColor(QPalette::Window, c);
        t->setPalette(p);
    }
}

void AreaSecciones::ponerRangos(FormularioBase *f)
{
    QSignalBlocker b1(vScroll1_), b2(hScroll1_);
    vScroll1_->setMinimum(0);
    if (const auto m = maximoV(twipsDe(f->height()), twipsDe(picVScroll_->height())))
        vScroll1_->setMaximum(*m);
    vScroll1_->setValue(0);
    hScroll1_->setMinimum(0);
    if (const auto m = maximoH(twipsDe(f->width()), twipsDe(picVScroll_->width()), twipsDe(picHScroll_->width())))
        hScroll1_->setMaximum(*m);
    hScroll1_->setValue(0);
}

void AreaSecciones::cerrar()
{
    SoltarRueda(frmActiva_);
    frmActiva_ = nullptr;
    {
        QSignalBlocker b1(vScroll1_), b2(hScroll1_);
        vScroll1_->setRange(0, 0);
        hScroll1_->setRange(0, 0);
    }
    picVScroll_->hide();
    picHScroll_->hide();
}

void AreaSecciones::ocultar()
{
    SoltarRueda(frmActiva_);
    if (!frmActiva_)
        return;
    if (esResultados()) {
        scrollVResultados_ = vScroll1_->value();
        scrollHResultados_ = hScroll1_->value();
    }
    frmActiva_->hide();
}

void AreaSecciones::mostrar(FormularioBase *f)
{
    f->show();
    frmActiva_ = f;
    f->activar();
    SituarScrollV(f);
    SituarScrollH(f);
    EngancharRueda(f);
    DevolverFoco();
}

void AreaSecciones::DevolverFoco()
{
    if (!frmActiva_ || !abierta())
        return;
    QWidget *c = frmActiva_->controlActivo();
    if (!c || !frmActiva_->isAncestorOf(c) || !c->isEnabled() || !c->isVisibleTo(frmActiva_))
        c = primerControl(frmActiva_);
    if (c)
        c->setFocus(Qt::OtherFocusReason);
}

// ---- The bars ------------------------------------------------------------------

void AreaSecciones::SituarScrollV(FormularioBase *f)
{
    if (!f)
        return;
    const long long altoTira = twipsDe(picVScroll_->height());
    {
        QSignalBlocker bloqueo(vScroll1_);
        vScroll1_->setMinimum(0);
        if (const auto p = paginaV(altoTira))
            vScroll1_->setPageStep(*p);
        if (const auto m = maximoV(twipsDe(f->height()), altoTira))
            vScroll1_->setMaximum(*m);
    }
    if (f->seccion() == Seccion::Resultados) {
        vScroll1_->setValue(scrollVResultados_);
        CambiarScrollV();
        return;
    }
    // The page that holds the active control's bottom plus 180.
    long long y = 0;
    if (QWidget *c = controlDe(f))
        y = twipsDe(c->height()) + kMargenFormulario + posicionEnMarco(f, c).y();
    if (const auto v = valorSituar(y, estadoBarra(vScroll1_)))
        vScroll1_->setValue(*v);
    CambiarScrollV();
}

void AreaSecciones::SituarScrollH(FormularioBase *f)
{
    if (!f)
        return;
    const long long anchoTira = twipsDe(picHScroll_->width());
    const long long anchoV = twipsDe(picVScroll_->width());
    {
        QSignalBlocker bloqueo(hScroll1_);
        hScroll1_->setMinimum(0);
        if (const auto p = paginaH(anchoTira, anchoV))
            hScroll1_->setPageStep(*p);
        if (const auto m = maximoH(twipsDe(f->width()), anchoV, anchoTira))
            hScroll1_->setMaximum(*m);
    }
    if (f->seccion() == Seccion::Resultados) {
        hScroll1_->setValue(scrollHResultados_);
        CambioScrollH();
        return;
    }
    long long x = kMargenFormulario;
    if (QWidget *c = controlDe(f))
        x += posicionEnMarco(f, c).x();
    if (const auto v = valorSituar(x, estadoBarra(hScroll1_)))
        hScroll1_->setValue(*v);
    CambioScrollH();
}

void AreaSecciones::MoverScrollV(FormularioBase *f)
{
    QWidget *c = controlDe(f);
    if (!c || f != frmActiva_)
        return;
    const long long alto = twipsDe(c->height());
    const long long y = alto + kMargenFormulario + posicionEnMarco(f, c).y();
    if (const auto v = valorMoverV(y, alto, estadoBarra(vScroll1_)))
        vScroll1_->setValue(*v);
}

void AreaSecciones::MoverScrollH(FormularioBase *f)
{
    QWidget *c = controlDe(f);
    if (!c || f != frmActiva_)
        return;
    const long long x = kMargenFormulario + posicionEnMarco(f, c).x();
    if (const auto v = valorMoverH(x, estadoBarra(hScroll1_)))
        hScroll1_->setValue(*v);
}

void AreaSecciones::DesplazarScrollV(FormularioBase *, int n)
{
    vScroll1_->setValue(valorDesplazar(n, estadoBarra(vScroll1_)));
    if (esResultados())
        scrollVResultados_ = vScroll1_->value();
}

void AreaSecciones::TeclaScroll(int tecla)
{
    if (!frmActiva_)
        return;
    if (const auto n = destinoTecla(tecla, estadoBarra(vScroll1_)))
        DesplazarScrollV(frmActiva_, *n);
}

void AreaSecciones::MouseWheel(int delta)
{
    if (!frmActiva_)
        return;
    if (const auto n = destinoRueda(delta, estadoBarra(vScroll1_)))
        DesplazarScrollV(frmActiva_, *n);
}

void AreaSecciones::RecolocarScrollV()
{
    if (!frmActiva_ || !abierta())
        return;
    SituarScrollV(frmActiva_);
    DevolverFoco();
}

void AreaSecciones::RecolocarScrollH()
{
    if (!frmActiva_ || !abierta())
        return;
    SituarScrollH(frmActiva_);
    DevolverFoco();
}

void AreaSecciones::CambiarScrollV()
{
    if (!frmActiva_)
        return;
    frmActiva_->move(frmActiva_->x(), tw(kMargenFormulario - vScroll1_->value()));
    if (esResultados())
        scrollVResultados_ = vScroll1_->value();
}

void AreaSecciones::CambioScrollH()
{
    if (!frmActiva_)
        return;
    frmActiva_->move(tw(kMargenFormulario - hScroll1_->value()), frmActiva_->y());
    if (esResultados())
        scrollHResultados_ = hScroll1_->value();
}

// ---- The wheel -----------------------------------------------------------------

void AreaSecciones::EngancharRueda(QWidget *f)
{
    if (!f || conRueda_ == f)
        return;
    SoltarRueda(conRueda_);
    f->installEventFilter(this);
    conRueda_ = f;
}

void AreaSecciones::SoltarRueda(QWidget *f)
{
    if (!f)
        return;
    f->removeEventFilter(this);
    if (conRueda_ == f)
        conRueda_ = nullptr;
}

void AreaSecciones::ruedaSobreVentana(const QWheelEvent *r)
{
    // One small step per wheel event, only while the pointer is over the
    // window, its frame included; a sideways wheel does nothing.
    int delta = r->angleDelta().y();
    if (delta == 0)
        delta = r->pixelDelta().y();
    if (delta != 0 && PunteroEnVentana(window()->frameGeometry(), r->globalPosition().toPoint()))
        MouseWheel(delta);
}

bool AreaSecciones::eventFilter(QObject *o, QEvent *e)
{
    const QEvent::Type t = e->type();
    const bool tira = o == picVScroll_ || o == picHScroll_;
    const bool barra = o == vScroll1_ || o == hScroll1_;
    if (t == QEvent::Wheel) {
        auto *r = static_cast<QWheelEvent *>(e);
        if (o == conRueda_) {
            // The shown form: one step, and the form still gets the event.
            ruedaSobreVentana(r);
            return false;
        }
        // Anywhere else over the window (the section bar, the strips and
        // their bars, the menu bar, the canvas beside the form) the wheel
        // scrolls the shown form the same way; a scroll bar does not take
        // steps of its own.
        if (tira || barra || ruedaAjena_.contains(o)) {
            ruedaSobreVentana(r);
            r->accept();
            return true;
        }
        return QWidget::eventFilter(o, e);
    }
    if (tira && (t == QEvent::Resize || t == QEvent::Show)) {
        auto *w = static_cast<QWidget *>(o);
        if (w->isVisible() && w->width() > 0 && w->height() > 0) {
            if (o == picVScroll_) {
                vScroll1_->setGeometry(vScroll1_->x(), 0, vScroll1_->width(), w->height());
                RecolocarScrollV();
            } else {
                hScroll1_->setGeometry(0, hScroll1_->y(), std::max(0, w->width() - picVScroll_->width()),
                                       hScroll1_->height());
                RecolocarScrollH();
            }
        }
    } else if (tira || barra || conTeclas_.contains(o)) {
        if (t == QEvent::KeyPress)
            TeclaScroll(static_cast<QKeyEvent *>(e)->key()); // the key goes on
        else if (t == QEvent::FocusIn)
            DevolverFoco();
    }
    return QWidget::eventFilter(o, e);
}

} // namespace pelmora
