#include "interfaz/ventana/ventanaprincipal.h"

#include "interfaz/dialogos/dialogos.h"
#include "interfaz/formularios/campo.h"
#include "interfaz/formularios/formulario.h"
#include "interfaz/formularios/sesionedicion.h"
#include "interfaz/soporte/ayuda.h"
#include "interfaz/soporte/colores.h"
#include "interfaz/soporte/historial.h"
#include "interfaz/soporte/rutas.h"
#include "interfaz/soporte/twips.h"
#include "interfaz/ventana/areasecciones.h"
#include "interfaz/ventana/barrasecciones.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace pelmora {

namespace {


// The section bar and the client area (twips).
constexpr int kAltoPatillas = 1095;
constexpr int kAnchoCliente = 11595;

void ponerFondo(QWidget *w, const QColor &c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    w->setPalette(p);
}

} // namespace

VentanaPrincipal::VentanaPrincipal(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(tituloPrograma());
    historial_ = std::make_unique<HistorialCambios>(calculo_);

    cliente_ = new QWidget(this);
    cliente_->setObjectName(QStringLiteral("cliente"));
    cliente_->setAutoFillBackground(true);
    // The section bar, the strips and the forms have colours of their own;
    // their texts go with them, not with the desktop's theme.
    fijarPaletaPrograma(cliente_);
    area_ = new AreaSecciones(cliente_);
    colorFondo_ = cliente_->palette().color(QPalette::Dark); // the workspace colour
    ponerFondoCliente(colorFondo_);
    setCentralWidget(cliente_);
    cliente_->installEventFilter(this);

    menus_ = std::make_unique<MenusPrincipales>(*this, menuBar());
    barra_ = new BarraSecciones(cliente_);
    connect(barra_, &BarraSecciones::seccionPedida, this, &VentanaPrincipal::MostrarSeccion);
    connect(barra_, &BarraSecciones::cerrarPedido, this, &VentanaPrincipal::cerrarCalculo);
    connect(barra_, &BarraSecciones::grabarPedido, this, &VentanaPrincipal::guardarCalculo);
    barra_->hide();
    // The bar passes the focus and the scroll keys on to the shown form;
    // the wheel over it or over the menu bar scrolls the form.
    area_->atender(barra_, true);
    area_->atender(menuBar(), false);

    colorActivo_ = kColorActivoInicial;
    barra_->resaltar(Seccion::Caracteristicas, colorActivo_);
    conectarHistorial();
    fijarMenusCalculo(EstadoMenus::SinCalculo);
    calculo_.IniciarTablas();
    situarVentana();
    colocarBandas();
}

VentanaPrincipal::~VentanaPrincipal()
{
    // The history goes first: nothing is undone any more, and its last
    // signals find no form gone.
    historial_.reset();
    // The forms observe calculo_, which goes before the widgets do.
    destruirFormularios();
}

// ---- Menus ------------------------------------------------------------------

QAction *VentanaPrincipal::accion(const QString &nombre) const { return findChild<QAction *>(nombre); }

void VentanaPrincipal::fijarMenusCalculo(EstadoMenus estado)
{
    estadoMenus_ = estado;
    menus_->fijar(estado);
    actualizarMenusHistorial();
}

void VentanaPrincipal::alAbrirMenu()
{
    FormularioBase *f = frmActiva();
    if (!calculoAbierto() || !f)
        return;
    // The field loses the focus (its entry is checked and committed) and
    // gets it back before any command of the menu runs.
    QWidget *foco = QApplication::focusWidget();
    if (foco && f->isAncestorOf(foco))
        foco->clearFocus();
    area_->DevolverFoco();
}

void VentanaPrincipal::mostrarAyudaFormulario()
{
    // A shortcut opens no menu: the field being edited is committed here.
    if (!confirmarEdicion())
        return;
    FormularioBase *f = calculoAbierto() ? frmActiva() : nullptr;
    mostrarAyuda(this, carpetaPrograma(), f ? paginaAyuda(f->seccion()) : QString());
}

// ---- The client area ----------------------------------------------------------

void VentanaPrincipal::colocarBandas()
{
    const int altoPatillas = tw(kAltoPatillas);
    barra_->setGeometry(0, 0, cliente_->width(), altoPatillas);
    area_->setGeometry(0, altoPatillas, cliente_->width(), std::max(0, cliente_->height() - altoPatillas));
}

void VentanaPrincipal::ponerFondoCliente(const QColor &c)
{
    ponerFondo(cliente_, c);
    ponerFondo(area_->lienzo(), c);
}

bool VentanaPrincipal::calculoAbierto() const { return barra_ && !barra_->isHidden(); }

FormularioBase *VentanaPrincipal::frmActiva() const { return area_->frmActiva(); }

// ---- Opening and closing a calculation --------------------------------------

FormularioBase *VentanaPrincipal::formulario(Seccion s)
{
    FormularioBase *&f = formularios_[ord(s)];
    if (!f && calculoAbierto()) {
        f = crearFormulario(s, calculo_, area_->lienzo());
        area_->acoger(f);
    }
    return f;
}

void VentanaPrincipal::CargarPatillas()
{
    if (frmActiva())
        OcultarSeccion();
    fijarMenusCalculo(EstadoMenus::ConCalculo);
    colorActivo_ = kColorActivoInicial;
    barra_->show();
    ponerFondoCliente(kColorPatillas);

    // The forms that exist are loaded again; the first one shown is built
    // now, the others once the window has been drawn (or when first asked
    // for).
    for (FormularioBase *f : formularios_)
        if (f)
            f->cargar();
    construirDespues_ = true;

    FormularioBase *f = formulario(Seccion::Caracteristicas);
    barra_->resaltar(Seccion::Caracteristicas, colorActivo_);
    aspectoMostrado(f);
    area_->abrir(f);
    historial_->vaciar();
    actualizarTitulo();
    emit calculoAbiertoCambiado(true);
}

void VentanaPrincipal::soltarFoco()
{
    // A field being edited gives up the focus while its form is still whole.
    QWidget *foco = QApplication::focusWidget();
    if (foco && area_ && area_->isAncestorOf(foco))
        foco->clearFocus();
}

void VentanaPrincipal::destruirFormularios()
{
    soltarFoco();
    for (auto &f : formularios_) {
        delete f;
        f = nullptr;
    }
}

void VentanaPrincipal::guardarFormularios()
{
    soltarFoco();
    for (FormularioBase *f : formularios_)
        if (f)
            f->hide();
}

void VentanaPrincipal::CerrarPatillas()
{
    archivoActual_.clear();
    construirDespues_ = false;
    area_->cerrar();
    // The forms stay, hidden: the next calculation fills them again instead
    // of building them anew.
    guardarFormularios();
    calculo_.IniciarTablas();
    fijarMenusCalculo(EstadoMenus::SinCalculo);
    colorActivo_ = kColorActivoInicial;
    barra_->resaltar(Seccion::Caracteristicas, colorActivo_);
    ponerFondoCliente(colorFondo_);
    barra_->hide();
    historial_->vaciar();
    actualizarTitulo();
    emit calculoAbiertoCambiado(false);
}

void VentanaPrincipal::OcultarSeccion()
{
    barra_->apagar();
    area_->ocultar();
}

void VentanaPrincipal::MostrarSeccion(Seccion s)
{
    if (!calculoAbierto())
        return;
    FormularioBase *f = formulario(s);
    OcultarSeccion();
    barra_->resaltar(s, colorActivo_);
    aspectoMostrado(f);
    area_->mostrar(f);
}

void VentanaPrincipal::aspectoMostrado(FormularioBase *f) { f->aspectoMostrado(kColorPatillas, colorActivo_); }

bool VentanaPrincipal::HayCambios() const { return calculo_.HayCambios(); }

// ---- The field being edited ---------------------------------------------------

CampoTexto *VentanaPrincipal::campoEditado() const
{
    auto *c = qobject_cast<CampoTexto *>(focusWidget());
    FormularioBase *f = frmActiva();
    if (c && c->admiteEntrada() && c->editando() && f && f->isAncestorOf(c))
        return c;
    return nullptr;
}

bool VentanaPrincipal::confirmarEdicion()
{
    // A value refused a moment ago: its message is out, the field takes
    // the focus back, and the command does not run.
    if (area_->sesion().devolviendo())
        return false;
    CampoTexto *c = campoEditado();
    // Enter's commit: the field keeps its editing text and the focus.
    return !c || c->SalirCampo(true);
}

// ---- Window placement ---------------------------------------------------------

void VentanaPrincipal::situarVentana()
{
    if (isMinimized() || isMaximized())
        return;
    QScreen *pantalla = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!pantalla)
        return;
    const QRect trabajo = pantalla->availableGeometry();
    const int extraAncho = frameGeometry().width() - width();
    const int extraAlto = frameGeometry().height() - height();
    int ancho = tw(kAnchoCliente) + tw(kAnchoPicVScroll) + extraAncho;
    int izquierda = 0;
    if (ancho < trabajo.width())
        izquierda = (trabajo.width() - ancho) / 2;
    else
        ancho = trabajo.width();
    resize(std::max(1, ancho - extraAncho), std::max(1, trabajo.height() - extraAlto));
    move(trabajo.x() + izquierda, trabajo.y());
}

void VentanaPrincipal::showEvent(QShowEvent *e)
{
    QMainWindow::showEvent(e);
    if (!situada_) {
        situada_ = true;
        // The frame's size is known once the window is on screen.
        QTimer::singleShot(0, this, [this] { situarVentana(); });
    }
}

void VentanaPrincipal::construirPendientes()
{
    if (!calculoAbierto())
        return;
    // One form an event, so that the window keeps answering meanwhile.
    for (const DatosSeccion &d : kSecciones) {
        if (!formularios_[ord(d.seccion)]) {
            // Polished now too, so that showing it later is quick.
            formulario(d.seccion)->ensurePolished();
            QTimer::singleShot(0, this, &VentanaPrincipal::construirPendientes);
            return;
        }
    }
}

bool VentanaPrincipal::eventFilter(QObject *o, QEvent *e)
{
    if (o == cliente_ && e->type() == QEvent::Resize) {
        colocarBandas();
    } else if (o == cliente_ && e->type() == QEvent::Paint && construirDespues_) {
        // The window is being drawn with the calculation open: the forms
        // not built yet follow right after this frame.
        construirDespues_ = false;
        QTimer::singleShot(0, this, &VentanaPrincipal::construirPendientes);
    } else if (e->type() == QEvent::Show && (o == frmNueva_ || o == frmTipoVeh_)) {
        // The start dialog and the category chooser come up in the middle of
        // the client area (50 from its corner when they do not fit), with
        // every calculation menu item off while they are up.
        auto *d = static_cast<QWidget *>(o);
        const QSize t = d->frameGeometry().size().expandedTo(d->size());
        int top = static_cast<int>(std::lround((cliente_->height() - t.height()) / 2.0));
        int left = static_cast<int>(std::lround((cliente_->width() - t.width()) / 2.0));
        if (top < 1)
            top = tw(50);
        if (left < 1)
            left = tw(50);
        d->move(cliente_->mapToGlobal(QPoint(left, top)));
        fijarMenusCalculo(EstadoMenus::Apagados);
    }
    return QMainWindow::eventFilter(o, e);
}

} // namespace pelmora
