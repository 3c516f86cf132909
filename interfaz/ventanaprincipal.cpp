#include "interfaz/ventanaprincipal.h"

#include "archivos/archivo.h"
#include "interfaz/ayuda.h"
#include "interfaz/campo.h"
#include "interfaz/colores.h"
#include "interfaz/desplazamiento.h"
#include "interfaz/dialogoarchivo.h"
#include "interfaz/dialogos.h"
#include "interfaz/formulario.h"
#include "interfaz/impresion.h"
#include "interfaz/mensaje.h"
#include "interfaz/preguntagrabar.h"
#include "interfaz/rutas.h"
#include "interfaz/twips.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace pelmora {

namespace {

VentanaPrincipal *g_principal = nullptr;

const QColor kColorPatillas(255, 255, 192);
const QColor kColorTodos(223, 217, 140);
const QColor kColorActivoInicial(192, 192, 255);

// Strips and margins, in twips.
constexpr int kAltoPatillas = 1095;
constexpr int kAnchoPicVScroll = 400;
constexpr int kAltoPicHScroll = 400;
constexpr int kAnchoCliente = 11595;
constexpr int kMargenFormulario = 180;

// The 25 items that go on and off with the calculation.
const char *const kItemsCalculo[] = {
    "mnuNuevo", "mnuCerrar", "mnuFileOpen", "mnuFileSave", "mnuFileSaveAs",
    "mnuCaracteristicas", "mnuPrintCaracteristicas",
    "mnuTodosServicios", "mnuPrintTodosServicios",
    "mnuFijos1", "mnuPrintFijos1", "mnuFijos2", "mnuPrintFijos2",
    "mnuVariables", "mnuPrintVariables", "mnuIndirectos", "mnuPrintIndirectos",
    "mnuResultados", "mnuPrintResultados",
    "mnuServicio", "mnuPrintServicio", "mnuPrintTodo",
    "mnuEditCut", "mnuEditCopy", "mnuEditPaste",
};

// Where the section buttons stand, in section order (their names and
// captions come with the sections).
struct BotonSeccion {
    int left, top, width, height; // twips, inside their container
    bool enTodos;                 // inside FrameTodos
};
const BotonSeccion kBotones[kNumSecciones] = {
    {120, 180, 1575, 735, false},  {120, 240, 1515, 555, true},  {1740, 240, 1815, 555, true},
    {3660, 240, 1035, 555, true},  {4800, 240, 1095, 555, true}, {6000, 240, 1215, 555, true},
    {9240, 180, 1215, 735, false},
};

// A command button whose caption wraps over several lines.
class BotonPatilla : public QPushButton {
public:
    BotonPatilla(const QString &texto, QWidget *parent) : QPushButton(texto, parent) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter p(this);
        QStyleOptionButton o;
        initStyleOption(&o);
        const QString texto = o.text;
        o.text.clear();
        p.drawControl(QStyle::CE_PushButton, o);
        p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        p.drawText(rect().adjusted(3, 2, -3, -2), Qt::AlignCenter | Qt::TextWordWrap, texto);
    }
};

void ponerFondo(QWidget *w, const QColor &c, QPalette::ColorRole rol = QPalette::Window)
{
    QPalette p = w->palette();
    p.setColor(rol, c);
    w->setPalette(p);
}

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

VentanaPrincipal::VentanaPrincipal(QWidget *parent) : QMainWindow(parent)
{
    if (!g_principal)
        g_principal = this;
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(tituloPrograma());

    cliente_ = new QWidget(this);
    cliente_->setObjectName(QStringLiteral("cliente"));
    cliente_->setAutoFillBackground(true);
    // The section bar, the strips and the forms have colours of their own;
    // their texts go with them, not with the desktop's theme.
    FijarPaletaPrograma(cliente_);
    area_ = new QWidget(cliente_);
    area_->setObjectName(QStringLiteral("areaSecciones"));
    colorFondo_ = cliente_->palette().color(QPalette::Dark); // the workspace colour
    ponerFondoCliente(colorFondo_);
    setCentralWidget(cliente_);
    cliente_->installEventFilter(this);

    crearMenus();
    crearPatillas();

    colorActivo_ = kColorActivoInicial;
    fijarMenusCalculo(EstadoMenus::SinCalculo);
    calculo_.IniciarTablas();
    situarVentana();
    colocarBandas();
}

VentanaPrincipal::~VentanaPrincipal()
{
    // The forms observe calculo_, which goes before the widgets do.
    destruirFormularios();
    if (g_principal == this)
        g_principal = nullptr;
}

VentanaPrincipal *VentanaPrincipal::principal() { return g_principal; }

// ---- Menus ------------------------------------------------------------------

void VentanaPrincipal::crearMenus()
{
    QMenuBar *barra = menuBar();
    auto menu = [](QWidget *padre, const char *nombre, const QString &titulo) {
        QMenu *m = new QMenu(titulo, padre);
        m->setObjectName(QLatin1String(nombre));
        m->menuAction()->setObjectName(QLatin1String(nombre));
        if (auto *mb = qobject_cast<QMenuBar *>(padre))
            mb->addMenu(m);
        else
            static_cast<QMenu *>(padre)->addMenu(m);
        return m;
    };
    auto item = [this](QMenu *m, const char *nombre, const QString &titulo, auto slot) {
        QAction *a = m->addAction(titulo);
        a->setObjectName(QLatin1String(nombre));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    auto separador = [](QMenu *m, const char *nombre) {
        QAction *a = m->addSeparator();
        a->setObjectName(QLatin1String(nombre));
    };
    auto seccion = [this](Seccion s) { return [this, s] { MostrarSeccion(s); }; };
    auto imprimir = [this](Seccion s) { return [this, s] { imprimirSeccion(s); }; };

    QMenu *calc = menu(barra, "mnuCalculo", QStringLiteral("Cálculo"));
    item(calc, "mnuNuevo", QStringLiteral("Nuevo Cálculo"), &VentanaPrincipal::nuevoCalculo);
    item(calc, "mnuCerrar", QStringLiteral("Cerrar Cálculo"), &VentanaPrincipal::cerrarCalculo);
    separador(calc, "mnuSimulacionBar1");
    item(calc, "mnuFileExit", QStringLiteral("Salir"), &QWidget::close);

    QMenu *arch = menu(barra, "mnuFile", QStringLiteral("Archivo"));
    item(arch, "mnuFileOpen", QStringLiteral("Abrir ..."), &VentanaPrincipal::abrirCalculo);
    item(arch, "mnuFileSave", QStringLiteral("Guardar ..."), &VentanaPrincipal::guardarCalculo);
    item(arch, "mnuFileSaveAs", QStringLiteral("Guardar como..."), &VentanaPrincipal::guardarCalculoComo);

    auto itemSeccion = [&](QMenu *m, Seccion s) {
        item(m, datosSeccion(s).menu, QString::fromUtf8(datosSeccion(s).tituloMenu), seccion(s));
    };
    auto itemImprimir = [&](QMenu *m, Seccion s, auto slot) {
        item(m, datosSeccion(s).menuImprimir, QString::fromUtf8(datosSeccion(s).titulo), slot);
    };
    QMenu *form = menu(barra, "mnuFormularios", QStringLiteral("Formularios"));
    itemSeccion(form, Seccion::Caracteristicas);
    QMenu *todos = menu(form, "mnuTodosServicios", QStringLiteral("Costes repercutidos a todos los servicios"));
    for (Seccion s : {Seccion::CostesFijos1, Seccion::CostesFijos2, Seccion::CostesVariables,
                      Seccion::CostesIndirectos, Seccion::Resultados})
        itemSeccion(todos, s);
    itemSeccion(form, Seccion::Servicio);

    QMenu *impr = menu(barra, "mnuImprimir", QStringLiteral("Imprimir"));
    itemImprimir(impr, Seccion::Caracteristicas, imprimir(Seccion::Caracteristicas));
    QMenu *ptodos = menu(impr, "mnuPrintTodosServicios", QStringLiteral("Costes repercutidos a todos los servicios"));
    for (Seccion s : {Seccion::CostesFijos1, Seccion::CostesFijos2, Seccion::CostesVariables,
                      Seccion::CostesIndirectos})
        itemImprimir(ptodos, s, imprimir(s));
    itemImprimir(ptodos, Seccion::Resultados, &VentanaPrincipal::imprimirResultados);
    itemImprimir(impr, Seccion::Servicio, &VentanaPrincipal::imprimirServicio);
    item(impr, "mnuPrintTodo", QStringLiteral("Todos los formularios"), &VentanaPrincipal::imprimirTodo);
    separador(impr, "mnuImprimirBar1");
    item(impr, "mnuExportarPdf", QStringLiteral("Exportar a PDF..."), &VentanaPrincipal::exportarPdf);
    item(impr, "mnuVistaPreliminar", QStringLiteral("Vista preliminar..."), &VentanaPrincipal::vistaPreliminar);

    QMenu *edic = menu(barra, "mnuEdit", QStringLiteral("Edición"));
    item(edic, "mnuEditCut", QStringLiteral("Cortar"), &VentanaPrincipal::cortar)->setShortcut(QKeySequence(QStringLiteral("Ctrl+X")));
    item(edic, "mnuEditCopy", QStringLiteral("Copiar"), &VentanaPrincipal::copiar)->setShortcut(QKeySequence(QStringLiteral("Ctrl+C")));
    item(edic, "mnuEditPaste", QStringLiteral("Pegar"), &VentanaPrincipal::pegar)->setShortcut(QKeySequence(QStringLiteral("Ctrl+V")));

    QMenu *ayuda = menu(barra, "mnuHelp", QStringLiteral("Ayuda"));
    item(ayuda, "mnuHelpContents", QStringLiteral("Contenido"), &VentanaPrincipal::ayudaContenido);
    separador(ayuda, "mnuHelpBar1");
    item(ayuda, "mnuHelpAbout", QStringLiteral("Acerca de ..."), &VentanaPrincipal::acercaDe);

    QMenu *vede = menu(barra, "mnuVededizaviro", QStringLiteral("Vededizaviro de Costes"));
    item(vede, "mnuAcuerdos", QStringLiteral("Acuerdos"), &VentanaPrincipal::ayudaAcuerdos);

    // Opening a menu commits the field being edited first; "Edición" keeps
    // the focus in the field so that its items act on its text.
    for (QMenu *m : {calc, arch, form, impr, ayuda, vede})
        connect(m, &QMenu::aboutToShow, this, &VentanaPrincipal::alAbrirMenu);
    // The wheel over the menu bar scrolls the shown section too.
    barra->installEventFilter(this);
}

QAction *VentanaPrincipal::accion(const QString &nombre) const
{
    return findChild<QAction *>(nombre);
}

void VentanaPrincipal::fijarMenusCalculo(EstadoMenus estado)
{
    for (const char *nombre : kItemsCalculo) {
        QAction *a = accion(QLatin1String(nombre));
        if (!a)
            continue;
        const bool nuevoOAbrir = qstrcmp(nombre, "mnuNuevo") == 0 || qstrcmp(nombre, "mnuFileOpen") == 0;
        switch (estado) {
        case EstadoMenus::Apagados: a->setEnabled(false); break;
        case EstadoMenus::SinCalculo: a->setEnabled(nuevoOAbrir); break;
        case EstadoMenus::ConCalculo: a->setEnabled(!nuevoOAbrir); break;
        }
    }
    // The export and the preview go with the print items.
    for (const char *nombre : {"mnuExportarPdf", "mnuVistaPreliminar"})
        if (QAction *a = accion(QLatin1String(nombre)))
            a->setEnabled(estado == EstadoMenus::ConCalculo);
}

void VentanaPrincipal::alAbrirMenu()
{
    if (!calculoAbierto() || !frmActiva_)
        return;
    // The field loses the focus (its entry is checked and committed) and
    // gets it back before any command of the menu runs.
    QWidget *foco = QApplication::focusWidget();
    if (foco && frmActiva_->isAncestorOf(foco))
        foco->clearFocus();
    DevolverFoco();
}

void VentanaPrincipal::DevolverFoco()
{
    if (!frmActiva_ || !calculoAbierto())
        return;
    QWidget *c = frmActiva_->controlActivo();
    if (!c || !frmActiva_->isAncestorOf(c) || !c->isEnabled() || !c->isVisibleTo(frmActiva_))
        c = primerControl(frmActiva_);
    if (c)
        c->setFocus(Qt::OtherFocusReason);
}

// ---- Patillas and the strips ------------------------------------------------

void VentanaPrincipal::crearPatillas()
{
    patillas_ = new QWidget(cliente_);
    patillas_->setObjectName(QStringLiteral("Patillas"));
    patillas_->setAutoFillBackground(true);
    ponerFondo(patillas_, kColorPatillas);

    frameTodos_ = new QGroupBox(QStringLiteral("Costes repercutidos a todos los servicios"), patillas_);
    frameTodos_->setObjectName(QStringLiteral("FrameTodos"));
    frameTodos_->setAutoFillBackground(true);
    ponerFondo(frameTodos_, kColorTodos);
    frameTodos_->setGeometry(twRect(1800, 120, 7335, 915));

    QFont letra = patillas_->font();
    if (letra.pointSizeF() > 8.0)
        letra.setPointSizeF(8.0);

    for (int k = 0; k < kNumSecciones; ++k) {
        const BotonSeccion &b = kBotones[k];
        QWidget *padre = b.enTodos ? static_cast<QWidget *>(frameTodos_) : patillas_;
        const DatosSeccion &d = kSecciones[k];
        auto *boton = new BotonPatilla(QString::fromUtf8(d.titulo), padre);
        boton->setObjectName(QLatin1String(d.boton));
        boton->setGeometry(twRect(b.left, b.top, b.width, b.height));
        boton->setFont(letra);
        const Seccion s = static_cast<Seccion>(k);
        connect(boton, &QPushButton::clicked, this, [this, s] { MostrarSeccion(s); });
        botones_[k] = boton;
    }
    cmbCerrar_ = new BotonPatilla(QStringLiteral("Cerrar"), patillas_);
    cmbCerrar_->setObjectName(QStringLiteral("cmbCerrar"));
    cmbCerrar_->setGeometry(twRect(10920, 120, 915, 375));
    cmbCerrar_->setFont(letra);
    connect(cmbCerrar_, &QPushButton::clicked, this, &VentanaPrincipal::cerrarCalculo);
    cmbGrabar_ = new BotonPatilla(QStringLiteral("Grabar"), patillas_);
    cmbGrabar_->setObjectName(QStringLiteral("cmbGrabar"));
    cmbGrabar_->setGeometry(twRect(10920, 540, 915, 375));
    cmbGrabar_->setFont(letra);
    connect(cmbGrabar_, &QPushButton::clicked, this, &VentanaPrincipal::guardarCalculo);
    pintarBotones(Seccion::Caracteristicas);
    for (QPushButton *b : patillas_->findChildren<QPushButton *>())
        b->installEventFilter(this);
    patillas_->hide();

    picVScroll_ = new QWidget(cliente_);
    picVScroll_->setObjectName(QStringLiteral("PicVScroll"));
    vScroll1_ = new QScrollBar(Qt::Vertical, picVScroll_);
    vScroll1_->setObjectName(QStringLiteral("VScroll1"));
    picHScroll_ = new QWidget(cliente_);
    picHScroll_->setObjectName(QStringLiteral("PicHScroll"));
    hScroll1_ = new QScrollBar(Qt::Horizontal, picHScroll_);
    hScroll1_->setObjectName(QStringLiteral("HScroll1"));
    for (QScrollBar *b : {vScroll1_, hScroll1_}) {
        b->setRange(0, 0);
        b->setSingleStep(kPasoPequeno);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(vScroll1_, &QScrollBar::valueChanged, this, &VentanaPrincipal::CambiarScrollV);
    connect(hScroll1_, &QScrollBar::valueChanged, this, &VentanaPrincipal::CambioScrollH);
    picVScroll_->hide();
    picHScroll_->hide();

    // The strips re-place the bars when they change size or come into
    // view; they and Patillas pass the focus and the scroll keys on.
    for (QWidget *w : {patillas_, picVScroll_, picHScroll_, static_cast<QWidget *>(vScroll1_),
                       static_cast<QWidget *>(hScroll1_)})
        w->installEventFilter(this);
    // The wheel over the area beside the form.
    area_->installEventFilter(this);
}

void VentanaPrincipal::colocarBandas()
{
    const int ancho = cliente_->width();
    const int alto = cliente_->height();
    const int altoPatillas = tw(kAltoPatillas);
    const int anchoV = tw(kAnchoPicVScroll);
    const int altoH = tw(kAltoPicHScroll);

    patillas_->setGeometry(0, 0, ancho, altoPatillas);
    const int altoV = std::max(0, alto - altoPatillas - altoH);
    picVScroll_->setGeometry(std::max(0, ancho - anchoV), altoPatillas, anchoV, altoV);
    vScroll1_->setGeometry(tw(80), 0, tw(240), altoV);
    picHScroll_->setGeometry(0, std::max(0, alto - altoH), ancho, altoH);
    hScroll1_->setGeometry(0, tw(80), std::max(0, ancho - anchoV), tw(240));
    area_->setGeometry(0, altoPatillas, std::max(0, ancho - anchoV), altoV);
}

void VentanaPrincipal::pintarBotones(Seccion activa)
{
    const QColor normal = cmbCerrar_->palette().color(QPalette::Button);
    for (int k = 0; k < kNumSecciones; ++k)
        ponerFondo(botones_[k], k == ord(activa) ? colorActivo_ : normal, QPalette::Button);
}

void VentanaPrincipal::ponerFondoCliente(const QColor &c)
{
    ponerFondo(cliente_, c);
    ponerFondo(area_, c);
}

bool VentanaPrincipal::calculoAbierto() const { return patillas_ && !patillas_->isHidden(); }

// ---- Opening and closing a calculation --------------------------------------

void VentanaPrincipal::CargarPatillas()
{
    try {
        if (frmActiva_)
            OcultarSeccion();
        fijarMenusCalculo(EstadoMenus::ConCalculo);
        colorActivo_ = kColorActivoInicial;
        patillas_->show();
        ponerFondoCliente(kColorPatillas);

        for (int k = 0; k < kNumSecciones; ++k) {
            const Seccion s = static_cast<Seccion>(k);
            if (!formularios_[k]) {
                FormularioBase *f = crearFormulario(s, calculo_, area_);
                if (!f)
                    throw std::runtime_error("formulario");
                if (f->objectName().isEmpty())
                    f->setObjectName(QLatin1String(datosSeccion(s).formulario));
                f->setParent(area_);
                // The wheel is taken on the shown form itself (EngancharRueda);
                // what a form leaves goes no further up, where the area
                // around it would take it a second time.
                f->setAttribute(Qt::WA_NoMousePropagation);
                f->hide();
                formularios_[k] = f;
                conectarFormulario(f);
            }
            formularios_[k]->cargar();
        }

        frmActiva_ = formularios_[ord(Seccion::Caracteristicas)];
        scrollVResultados_ = 0;
        scrollHResultados_ = 0;
        pintarBotones(Seccion::Caracteristicas);

        aspectoMostrado(frmActiva_);
        frmActiva_->move(tw(kMargenFormulario), tw(kMargenFormulario));
        frmActiva_->show();
        frmActiva_->activar();

        picVScroll_->show();
        picHScroll_->show();
        colocarBandas();
        {
            QSignalBlocker b1(vScroll1_), b2(hScroll1_);
            vScroll1_->setMinimum(0);
            if (const auto m = maximoV(twipsDe(frmActiva_->height()), twipsDe(picVScroll_->height())))
                vScroll1_->setMaximum(*m);
            vScroll1_->setValue(0);
            hScroll1_->setMinimum(0);
            if (const auto m = maximoH(twipsDe(frmActiva_->width()), twipsDe(picVScroll_->width()),
                                       twipsDe(picHScroll_->width())))
                hScroll1_->setMaximum(*m);
            hScroll1_->setValue(0);
        }
        // The strips coming into view place the bars for the shown form.
        SituarScrollV(frmActiva_);
        SituarScrollH(frmActiva_);
        EngancharRueda(frmActiva_);
        DevolverFoco();
    } catch (...) {
        CerrarPatillas();
        MostrarMensaje(mensajeErrorReferencia(ErrorArchivo::MalEstado), QStringLiteral("Error"));
    }
}

void VentanaPrincipal::conectarFormulario(FormularioBase *f)
{
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

void VentanaPrincipal::aspectoMostrado(FormularioBase *f) { f->aspectoMostrado(kColorPatillas, colorActivo_); }

void VentanaPrincipal::destruirFormularios()
{
    // A field being edited gives up the focus while its form is still whole.
    QWidget *foco = QApplication::focusWidget();
    if (foco && area_ && area_->isAncestorOf(foco))
        foco->clearFocus();
    for (auto &f : formularios_) {
        delete f;
        f = nullptr;
    }
}

void VentanaPrincipal::CerrarPatillas()
{
    archivoActual_.clear();
    SoltarRueda(frmActiva_);
    frmActiva_ = nullptr;
    destruirFormularios();
    calculo_.IniciarTablas();
    fijarMenusCalculo(EstadoMenus::SinCalculo);
    colorActivo_ = kColorActivoInicial;
    pintarBotones(Seccion::Caracteristicas);
    ponerFondoCliente(colorFondo_);
    {
        QSignalBlocker b1(vScroll1_), b2(hScroll1_);
        vScroll1_->setRange(0, 0);
        hScroll1_->setRange(0, 0);
    }
    picVScroll_->hide();
    picHScroll_->hide();
    patillas_->hide();
}

void VentanaPrincipal::OcultarSeccion()
{
    SoltarRueda(frmActiva_);
    const QColor normal = cmbCerrar_->palette().color(QPalette::Button);
    for (QPushButton *b : botones_)
        ponerFondo(b, normal, QPalette::Button);
    if (!frmActiva_)
        return;
    if (frmActiva_->seccion() == Seccion::Resultados) {
        scrollVResultados_ = vScroll1_->value();
        scrollHResultados_ = hScroll1_->value();
    }
    frmActiva_->hide();
}

void VentanaPrincipal::MostrarSeccion(Seccion s)
{
    FormularioBase *f = formularios_[ord(s)];
    if (!calculoAbierto() || !f)
        return;
    OcultarSeccion();
    ponerFondo(botones_[ord(s)], colorActivo_, QPalette::Button);
    aspectoMostrado(f);
    f->show();
    frmActiva_ = f;
    f->activar();
    SituarScrollV(f);
    SituarScrollH(f);
    EngancharRueda(f);
    DevolverFoco();
}

bool VentanaPrincipal::HayCambios() const { return calculo_.HayCambios(); }

bool VentanaPrincipal::preguntarGrabar(const QString &titulo)
{
    return PreguntarGrabar(this, titulo, [this] { return Grabar(); });
}

CampoTexto *VentanaPrincipal::campoEditado() const
{
    auto *c = qobject_cast<CampoTexto *>(focusWidget());
    if (c && c->admiteEntrada() && c->editando() && frmActiva_ && frmActiva_->isAncestorOf(c))
        return c;
    return nullptr;
}

bool VentanaPrincipal::confirmarEdicion()
{
    // A value refused a moment ago: its message is out, the field takes
    // the focus back, and the command does not run.
    if (CampoTexto::devolviendoFoco())
        return false;
    CampoTexto *c = campoEditado();
    // Enter's commit: the field keeps its editing text and the focus.
    return !c || c->SalirCampo(13);
}

void VentanaPrincipal::cerrarCalculo()
{
    if (!calculoAbierto() || !confirmarEdicion())
        return;
    if (HayCambios() && !preguntarGrabar(QStringLiteral("Cerrar")))
        return;
    CerrarPatillas();
}

void VentanaPrincipal::closeEvent(QCloseEvent *e)
{
    if (calculoAbierto()
        && (!confirmarEdicion() || (HayCambios() && !preguntarGrabar(QStringLiteral("Salir"))))) {
        e->ignore();
        return;
    }
    e->accept();
    // The modeless dialogs go with the window, so that the program ends.
    for (QDialog *d : findChildren<QDialog *>(QString(), Qt::FindDirectChildrenOnly))
        d->close();
}

// ---- Scroll bars ----------------------------------------------------------------

void VentanaPrincipal::SituarScrollV(FormularioBase *f)
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

void VentanaPrincipal::SituarScrollH(FormularioBase *f)
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

void VentanaPrincipal::MoverScrollV(FormularioBase *f)
{
    QWidget *c = controlDe(f);
    if (!c || f != frmActiva_)
        return;
    const long long alto = twipsDe(c->height());
    const long long y = alto + kMargenFormulario + posicionEnMarco(f, c).y();
    if (const auto v = valorMoverV(y, alto, estadoBarra(vScroll1_)))
        vScroll1_->setValue(*v);
}

void VentanaPrincipal::MoverScrollH(FormularioBase *f)
{
    QWidget *c = controlDe(f);
    if (!c || f != frmActiva_)
        return;
    const long long x = kMargenFormulario + posicionEnMarco(f, c).x();
    if (const auto v = valorMoverH(x, estadoBarra(hScroll1_)))
        hScroll1_->setValue(*v);
}

void VentanaPrincipal::DesplazarScrollV(FormularioBase *, int n)
{
    vScroll1_->setValue(valorDesplazar(n, estadoBarra(vScroll1_)));
    if (frmActiva_ && frmActiva_->seccion() == Seccion::Resultados)
        scrollVResultados_ = vScroll1_->value();
}

void VentanaPrincipal::TeclaScroll(int tecla)
{
    if (!frmActiva_)
        return;
    if (const auto n = destinoTecla(tecla, estadoBarra(vScroll1_)))
        DesplazarScrollV(frmActiva_, *n);
}

void VentanaPrincipal::MouseWheel(int delta)
{
    if (!frmActiva_)
        return;
    if (const auto n = destinoRueda(delta, estadoBarra(vScroll1_)))
        DesplazarScrollV(frmActiva_, *n);
}

void VentanaPrincipal::RecolocarScrollV()
{
    if (!frmActiva_ || !calculoAbierto())
        return;
    SituarScrollV(frmActiva_);
    DevolverFoco();
}

void VentanaPrincipal::RecolocarScrollH()
{
    if (!frmActiva_ || !calculoAbierto())
        return;
    SituarScrollH(frmActiva_);
    DevolverFoco();
}

void VentanaPrincipal::EngancharRueda(QWidget *f)
{
    if (!f || conRueda_ == f)
        return;
    SoltarRueda(conRueda_);
    f->installEventFilter(this);
    conRueda_ = f;
}

void VentanaPrincipal::SoltarRueda(QWidget *f)
{
    if (!f)
        return;
    f->removeEventFilter(this);
    if (conRueda_ == f)
        conRueda_ = nullptr;
}

bool VentanaPrincipal::punteroEnVentana(const QPoint &global) const
{
    return PunteroEnVentana(frameGeometry(), global);
}

void VentanaPrincipal::ruedaSobreVentana(const QWheelEvent *r)
{
    // One small step per wheel event, only while the pointer is over the
    // window; a sideways wheel does nothing.
    int delta = r->angleDelta().y();
    if (delta == 0)
        delta = r->pixelDelta().y();
    if (delta != 0 && punteroEnVentana(r->globalPosition().toPoint()))
        MouseWheel(delta);
}

void VentanaPrincipal::CambiarScrollV()
{
    if (!frmActiva_)
        return;
    frmActiva_->move(frmActiva_->x(), tw(kMargenFormulario - vScroll1_->value()));
    if (frmActiva_->seccion() == Seccion::Resultados)
        scrollVResultados_ = vScroll1_->value();
}

void VentanaPrincipal::CambioScrollH()
{
    if (!frmActiva_)
        return;
    frmActiva_->move(tw(kMargenFormulario - hScroll1_->value()), frmActiva_->y());
    if (frmActiva_->seccion() == Seccion::Resultados)
        scrollHResultados_ = hScroll1_->value();
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

void VentanaPrincipal::centrarEnCliente(QWidget *dialogo) const
{
    const QSize t = dialogo->frameGeometry().size().expandedTo(dialogo->size());
    int top = static_cast<int>(std::lround((cliente_->height() - t.height()) / 2.0));
    int left = static_cast<int>(std::lround((cliente_->width() - t.width()) / 2.0));
    if (top < 1)
        top = tw(50);
    if (left < 1)
        left = tw(50);
    dialogo->move(cliente_->mapToGlobal(QPoint(left, top)));
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

bool VentanaPrincipal::eventFilter(QObject *o, QEvent *e)
{
    const QEvent::Type t = e->type();
    if (o == cliente_) {
        if (t == QEvent::Resize)
            colocarBandas();
        return QMainWindow::eventFilter(o, e);
    }
    if (t == QEvent::MouseButtonPress && CampoTexto::devolviendoFoco()) {
        // The press took the focus from a field whose value was refused; its
        // message took the release. The button neither acts nor stays down.
        if (auto *b = qobject_cast<QPushButton *>(o); b && patillas_ && patillas_->isAncestorOf(b))
            return true;
    }
    const bool tira = o == picVScroll_ || o == picHScroll_;
    if (t == QEvent::Wheel) {
        auto *r = static_cast<QWheelEvent *>(e);
        if (o == conRueda_) {
            // The shown form: one step, and the form still gets the event.
            ruedaSobreVentana(r);
            return false;
        }
        // Anywhere else over the window (the bar of buttons, the strips and
        // their bars, the menu bar, the area beside the form) the wheel
        // scrolls the shown form the same way; a scroll bar does not take
        // steps of its own.
        if (o == area_ || o == patillas_ || tira || o == vScroll1_ || o == hScroll1_ || o == menuBar()) {
            ruedaSobreVentana(r);
            r->accept();
            return true;
        }
        return QMainWindow::eventFilter(o, e);
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
    } else if (tira || o == patillas_ || o == vScroll1_ || o == hScroll1_) {
        if (t == QEvent::KeyPress)
            TeclaScroll(static_cast<QKeyEvent *>(e)->key()); // the key goes on
        else if (t == QEvent::FocusIn)
            DevolverFoco();
    }
    return QMainWindow::eventFilter(o, e);
}

// ---- Commands ---------------------------------------------------------------------

void VentanaPrincipal::mostrarNueva()
{
    if (!frmNueva_) {
        frmNueva_ = new DialogoNueva(this);
        frmNueva_->setAttribute(Qt::WA_DeleteOnClose);
    }
    frmNueva_->show();
    frmNueva_->raise();
    frmNueva_->activateWindow();
}

void VentanaPrincipal::nuevoCalculo()
{
    if (calculoAbierto())
        return;
    if (!frmTipoVeh_) {
        frmTipoVeh_ = new DialogoTipoVehiculo(this);
        frmTipoVeh_->setAttribute(Qt::WA_DeleteOnClose);
    }
    frmTipoVeh_->show();
    frmTipoVeh_->raise();
    frmTipoVeh_->activateWindow();
}

bool VentanaPrincipal::abrirArchivoInicial(const QString &ruta)
{
    const ErrorArchivo e = AbrirArchivo(calculo_, ruta);
    if (e != ErrorArchivo::Ninguno) {
        MostrarMensaje(mensajeErrorArchivo(e), QStringLiteral("Error"));
        return false;
    }
    fijarArchivoActual(ruta);
    CargarPatillas();
    return calculoAbierto();
}

void VentanaPrincipal::fijarArchivoActual(const QString &ruta)
{
    archivoActual_ = ruta.isEmpty() || esArchivoDeReferencia(ruta) ? QString() : QFileInfo(ruta).absoluteFilePath();
}

void VentanaPrincipal::acercaDe()
{
    DialogoAcercaDe d(this);
    d.exec();
}

// ---- Open and save --------------------------------------------------------------

void VentanaPrincipal::abrirCalculo()
{
    if (calculoAbierto())
        return;
    // The dialog reads the file into the calculation before it returns.
    const QString ruta = DialogoArchivo::ejecutar(this, QStringLiteral("abrir"), calculo_, carpetaPrograma());
    if (ruta.isEmpty())
        return;
    fijarArchivoActual(ruta);
    CargarPatillas();
}

bool VentanaPrincipal::Grabar()
{
    if (archivoActual_.isEmpty())
        return GrabarComo();
    const ErrorArchivo e = GrabarCalculo(calculo_, archivoActual_);
    if (e != ErrorArchivo::Ninguno) {
        MostrarMensaje(mensajeErrorArchivo(e), QStringLiteral("Error"));
        return false;
    }
    MostrarMensaje(QStringLiteral("El archivo se ha grabado."), QStringLiteral("Grabar"));
    return true;
}

bool VentanaPrincipal::GrabarComo()
{
    // The dialog writes the file and tells the user where it went.
    const QString ruta = DialogoArchivo::ejecutar(this, QStringLiteral("grabar"), calculo_, carpetaPrograma());
    if (ruta.isEmpty())
        return false;
    fijarArchivoActual(ruta);
    return true;
}

void VentanaPrincipal::guardarCalculo()
{
    if (calculoAbierto() && confirmarEdicion())
        Grabar();
}

void VentanaPrincipal::guardarCalculoComo()
{
    if (calculoAbierto() && confirmarEdicion())
        GrabarComo();
}

// ---- Printing -------------------------------------------------------------------------

QString VentanaPrincipal::nombreDocumento() const
{
    return archivoActual_.isEmpty() ? tituloPrograma() : QFileInfo(archivoActual_).completeBaseName();
}

QList<QWidget *> VentanaPrincipal::formulariosParaImprimir(const QList<Seccion> &secciones)
{
    QList<QWidget *> lista;
    for (Seccion s : secciones) {
        FormularioBase *f = formularios_[ord(s)];
        if (!f)
            continue;
        // A form never shown is printed as it would be shown: its colours,
        // and the results and the service recomputed.
        aspectoMostrado(f);
        f->activar();
        lista << f;
    }
    return lista;
}

bool VentanaPrincipal::imprimir(const QList<Seccion> &secciones, bool enPdf, bool enVista)
{
    if (!calculoAbierto() || CampoTexto::devolviendoFoco())
        return false;
    // The field being edited shows its formatted value on paper.
    QPointer<CampoTexto> campo = campoEditado();
    const bool aceptado = !campo || campo->SalirCampo(-1);
    bool hecho = false;
    if (aceptado) {
        const QList<QWidget *> lista = formulariosParaImprimir(secciones);
        if (enVista) {
            hecho = VistaPreliminar(this, lista, nombreDocumento());
        } else if (enPdf) {
            const QString nombre = nombreDocumento() + QStringLiteral(".pdf");
            hecho = ExportarPdf(this, lista, nombre, DialogoArchivo::carpetaInicial(carpetaPrograma()));
        } else {
            hecho = ImprimirFormularios(lista, nombreDocumento());
        }
    }
    // Editing goes on in the field that still has the focus (one that lost
    // it to a message starts again when it gets it back).
    if (campo && campo->hasFocus() && !campo->editando())
        campo->EntrarCampo();
    return hecho;
}

bool VentanaPrincipal::ImprimirSeccion(Seccion s)
{
    if (s == Seccion::Resultados)
        return ImprimirResultados();
    if (s == Seccion::Servicio)
        return ImprimirServicio();
    return imprimir({s}, false);
}

bool VentanaPrincipal::ImprimirResultados() { return imprimir({Seccion::Resultados}, false); }

bool VentanaPrincipal::ImprimirServicio() { return imprimir({Seccion::Servicio}, false); }

bool VentanaPrincipal::ImprimirTodo()
{
    return imprimir({Seccion::Caracteristicas, Seccion::CostesFijos1, Seccion::CostesFijos2,
                     Seccion::CostesVariables, Seccion::CostesIndirectos, Seccion::Resultados, Seccion::Servicio},
                    false);
}

void VentanaPrincipal::imprimirSeccion(Seccion s) { ImprimirSeccion(s); }
void VentanaPrincipal::imprimirResultados() { ImprimirResultados(); }
void VentanaPrincipal::imprimirServicio() { ImprimirServicio(); }
void VentanaPrincipal::imprimirTodo() { ImprimirTodo(); }

void VentanaPrincipal::exportarPdf()
{
    imprimir({Seccion::Caracteristicas, Seccion::CostesFijos1, Seccion::CostesFijos2, Seccion::CostesVariables,
              Seccion::CostesIndirectos, Seccion::Resultados, Seccion::Servicio},
             true);
}

void VentanaPrincipal::vistaPreliminar()
{
    imprimir({Seccion::Caracteristicas, Seccion::CostesFijos1, Seccion::CostesFijos2, Seccion::CostesVariables,
              Seccion::CostesIndirectos, Seccion::Resultados, Seccion::Servicio},
             false, true);
}

// ---- Clipboard ----------------------------------------------------------------------

namespace {

// The text box that has the focus in the application, if any.
QLineEdit *cajaConFoco() { return qobject_cast<QLineEdit *>(QApplication::focusWidget()); }

} // namespace

void VentanaPrincipal::cortar()
{
    QLineEdit *caja = cajaConFoco();
    if (!caja)
        return;
    QClipboard *portapapeles = QGuiApplication::clipboard();
    portapapeles->clear();
    portapapeles->setText(caja->selectedText());
    if (!caja->isReadOnly() && caja->hasSelectedText())
        caja->insert(QString());
}

void VentanaPrincipal::copiar()
{
    QLineEdit *caja = cajaConFoco();
    if (!caja)
        return;
    QClipboard *portapapeles = QGuiApplication::clipboard();
    portapapeles->clear();
    portapapeles->setText(caja->selectedText());
}

void VentanaPrincipal::pegar()
{
    QLineEdit *caja = cajaConFoco();
    if (!caja || caja->isReadOnly())
        return;
    // Not filtered: the field checks the whole text when it is left.
    caja->insert(QGuiApplication::clipboard()->text());
}

// ---- Help -----------------------------------------------------------------------------

void VentanaPrincipal::ayudaContenido() { MostrarAyuda(this, carpetaPrograma()); }
void VentanaPrincipal::ayudaAcuerdos() { MostrarAcuerdos(this, carpetaPrograma()); }

} // namespace pelmora
