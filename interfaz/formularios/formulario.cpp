#include "interfaz/formularios/formulario.h"

#include "entrada/fechas.h"
#include "interfaz/formularios/sesionedicion.h"
#include "interfaz/soporte/colores.h"
#include "interfaz/soporte/marcos.h"
#include "interfaz/soporte/twips.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHash>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <algorithm>
#include <functional>

namespace pelmora {

using namespace medidas;

namespace {

const QString kTituloS = QString::fromUtf8(tituloDeColumna(Col::S));
const QString kTituloO = QString::fromUtf8(tituloDeColumna(Col::O));

QString conFecha(const QString &titulo, const QDate &fecha)
{
    if (!fecha.isValid())
        return titulo;
    return titulo + QStringLiteral(" (") + textoFecha(fecha) + QStringLiteral(")");
}

// Twips rounded up to whole pixels' worth of 15.
int redondearTwips(double t) { return static_cast<int>((t + 14) / 15) * 15; }

// The forms ask for the same few measures of the same font many times over
// while they are built (every row's caption, every box): each is taken
// once, in pixels, keyed by the font, the style and what is measured.
int medida(const QFont &letra, const QString &que, const std::function<int()> &medir)
{
    static QHash<QString, int> medidas;
    const QString clave = letra.key() + QLatin1Char('|') + QApplication::style()->name() + QLatin1Char('|') + que;
    auto it = medidas.constFind(clave);
    if (it == medidas.constEnd())
        it = medidas.insert(clave, medir());
    return *it;
}

} // namespace

// ---------------------------------------------------------------------------

FormularioBase::FormularioBase(Calculo &calculo, Seccion seccion, QWidget *parent)
    : QWidget(parent), titulo_(QString::fromUtf8(datosSeccion(seccion).tituloFormulario)), calculo_(calculo),
      seccion_(seccion)
{
    // The form's backgrounds are the program's own: so are its text colours.
    fijarPaletaPrograma(this);
    setObjectName(QLatin1String(datosSeccion(seccion).formulario));
    letraDeRejilla(this);
    cajas_[0].assign(tamano(seccion) + 1, nullptr);
    cajas_[1].assign(tamano(seccion) + 1, nullptr);

    // Height of a box: what the style needs for one line of the bold font.
    QFont negrita = font();
    negrita.setBold(true);
    const int alto = medida(negrita, QStringLiteral("caja"), [&negrita] {
        QLineEdit muestra;
        muestra.setFont(negrita);
        return muestra.sizeHint().height();
    });
    altoCaja_ = std::max(285, redondearTwips(aTwips(alto)));

    // The connections go with the form.
    connect(&calculo, &Calculo::campoCambiado, this, &FormularioBase::campoCambiado);
    connect(&calculo, &Calculo::opcionCambiada, this, &FormularioBase::opcionCambiada);
    connect(&calculo, &Calculo::titulosCambiados, this, &FormularioBase::titulosCambiados);
    connect(&calculo, &Calculo::comentarioCambiado, this, &FormularioBase::comentarioCambiado);
    connect(&calculo, &Calculo::resultadosCambiados, this, &FormularioBase::resultadosCambiados);
    connect(&calculo, &Calculo::columnasCargadas, this, &FormularioBase::cargar);
}

FormularioBase::~FormularioBase()
{
    // A field being edited is committed while the form is still whole.
    QWidget *foco = QApplication::focusWidget();
    if (foco && isAncestorOf(foco))
        foco->clearFocus();
}

CampoTexto *FormularioBase::caja(Col c, int i) const
{
    const auto &v = cajas_[static_cast<int>(c)];
    if (i < 1 || i >= static_cast<int>(v.size()))
        return nullptr;
    return v[i];
}

QRadioButton *FormularioBase::boton(Col c, int indice, int b) const
{
    auto it = pares_.find({static_cast<int>(c), indice});
    if (it == pares_.end() || b < 1 || b > 2)
        return nullptr;
    return it->second[b - 1];
}

int FormularioBase::anchoCaja(int caracteres) const
{
    QFont negrita = font();
    negrita.setBold(true);
    // Digits of the bold font plus the frame and the margins of the box.
    const QString digitos(caracteres, QLatin1Char('0'));
    const int px =
        medida(negrita, QStringLiteral("ancho|") + digitos, [&] { return QFontMetrics(negrita).horizontalAdvance(digitos); });
    return redondearTwips(aTwips(px + 14));
}

int FormularioBase::altoTexto(const QString &texto, int ancho, bool negrita) const
{
    QFont f = font();
    f.setBold(negrita);
    const int px = tw(ancho);
    const int alto = medida(f, QStringLiteral("alto|%1|").arg(px) + texto, [&] {
        return QFontMetrics(f).boundingRect(QRect(0, 0, px, 100000), Qt::TextWordWrap, texto).height();
    });
    return redondearTwips(aTwips(alto));
}

QGroupBox *FormularioBase::crearMarco(QWidget *padre, const QString &nombre, const QString &titulo)
{
    auto *g = new QGroupBox(titulo, padre);
    ponerEstiloMarcos(g);
    if (!nombre.isEmpty())
        g->setObjectName(nombre);
    g->setProperty("Tag", titulo);
    return g;
}

CampoTexto *FormularioBase::crearCaja(Col c, int i, QWidget *padre, const QRect &t)
{
    auto *caja = new CampoTexto(calculo(), c, seccion(), i, padre);
    ponerEstiloMarcos(caja);
    caja->setGeometry(twRect(t.x(), t.y(), t.width(), t.height()));
    cajas_[static_cast<int>(c)][i] = caja;
    connect(caja, &CampoTexto::enfocado, this, &FormularioBase::controlConFoco);
    connect(caja, &CampoTexto::teclaScroll, this, &FormularioBase::teclaScroll);
    return caja;
}

QLabel *FormularioBase::crearEtiqueta(const QString &texto, QWidget *padre, const QRect &t, Qt::Alignment a,
                                      bool negrita)
{
    auto *l = new QLabel(texto, padre);
    l->setGeometry(twRect(t.x(), t.y(), t.width(), t.height()));
    l->setAlignment(a);
    l->setWordWrap(true);
    if (negrita) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

void FormularioBase::crearMarcos(bool conReferencia, int anchoS)
{
    frame1_ = crearMarco(this, QStringLiteral("Frame1"), titulo_);
    // Coloured as shown before anything goes in: a palette set later is
    // handed down to every box and label (most of the work of showing the
    // form when it opens).
    aspectoMostrado(kColorPatillas, kColorActivoInicial);
    frameCol_[0] = crearMarco(frame1_, QStringLiteral("FrameS"), kTituloS);
    frameCol_[0]->resize(twSize(anchoS, 1000));
    if (conReferencia) {
        frameCol_[1] = crearMarco(frame1_, QStringLiteral("FrameO"), kTituloO);
        frameCol_[1]->resize(twSize(kAnchoColumna, 1000));
    }
}

void FormularioBase::ajustarTamano(int alto)
{
    int derecha = 0;
    for (int k = 0; k < 2; ++k) {
        QGroupBox *g = frameCol_[k];
        if (!g)
            continue;
        const int izquierda = k == 0 ? kIzquierdaS : kIzquierdaO;
        const int ancho = static_cast<int>(aTwips(g->width()) + 0.5);
        g->setGeometry(twRect(izquierda, kArribaColumnas, ancho, alto));
        derecha = std::max(derecha, izquierda + ancho);
    }
    const int ancho = std::max(kAnchoFormulario, derecha + kMargen);
    frame1_->setGeometry(twRect(0, 0, ancho, kArribaColumnas + alto + kMargen));
    setFixedSize(frame1_->size());
}

void FormularioBase::construirColumnas(const std::function<int(Col)> &columna)
{
    crearMarcos(true);
    // The reference column is built first: the boxes of the user column
    // come after its boxes, which never take the focus, in the Tab order.
    const int altoO = columna(Col::O);
    const int altoS = columna(Col::S);
    ajustarTamano(std::max(altoS, altoO));
    cargar();
}

void FormularioBase::crearPar(Col c, int indice, QWidget *marco, const QString &base, const QRect &t1, const QRect &t2)
{
    const OpcionInfo &info = opcion(seccion(), indice);
    const char *ayuda = campo(seccion(), indice).ayuda;
    if (c == Col::S && *ayuda)
        marco->setToolTip(QString::fromUtf8(ayuda));
    std::array<QRadioButton *, 2> b{};
    for (int k = 0; k < 2; ++k) {
        const QRect &t = k == 0 ? t1 : t2;
        const QString texto = QString::fromUtf8(k == 0 ? info.primera : info.segunda);
        b[k] = new QRadioButton(texto, marco);
        b[k]->setObjectName(base + QStringLiteral("(%1)").arg(k + 1));
        // Read out with its group ("Seguros: Total") and, in the reference
        // column, with the column.
        b[k]->setAccessibleName(QString::fromUtf8(info.grupo) + QStringLiteral(": ") + texto +
                                (c == Col::O ? QStringLiteral(", ") + kTituloO : QString()));
        b[k]->setGeometry(twRect(t.x(), t.y(), t.width(), t.height()));
        // The reference column follows its data; the user cannot change it.
        b[k]->setEnabled(c == Col::S);
        if (c == Col::O) {
            // Greyed, yet readable on the form's lavender (4.5:1 and more).
            QPalette p = b[k]->palette();
            for (auto r : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
                p.setColor(QPalette::Disabled, r, QColor(70, 70, 70));
            b[k]->setPalette(p);
        }
        conectarPar(c, indice, b[k], k + 1);
        seguirFoco(b[k]);
    }
    pares_[{static_cast<int>(c), indice}] = b;
}

void FormularioBase::conectarPar(Col c, int indice, QRadioButton *b, int boton)
{
    // An activation that began while a refused value was taking the focus
    // back asked for that focus change: it is cancelled with it, however it
    // completes (a shortcut or an assistive tool presses the button and
    // releases it later).
    connect(b, &QAbstractButton::pressed, this,
            [this, b] { anulada_ = SesionEdicion::de(this).devolviendo() ? b : nullptr; });
    connect(b, &QRadioButton::clicked, this, [this, c, indice, boton, b] {
        if (anulada_ == b) {
            anulada_ = nullptr;
            ponerOpcion(c, indice);
            return;
        }
        const bool primero = !calculo().columna(c)(seccion(), indice).esFalso();
        if (primero == (boton == 1))
            return;
        calculo().cambiarOpcion(c, seccion(), indice, boton);
    });
}

void FormularioBase::ponerOpcion(Col c, int indice)
{
    const bool primero = !calculo().columna(c)(seccion(), indice).esFalso();
    auto it = pares_.find({static_cast<int>(c), indice});
    if (it != pares_.end()) {
        it->second[0]->setChecked(primero);
        it->second[1]->setChecked(!primero);
    }
    mostrarOpcion(c, indice, primero);
}

void FormularioBase::cargar()
{
    titulosCambiados();
    for (int k = 0; k < 2; ++k)
        for (CampoTexto *caja : cajas_[k])
            if (caja)
                caja->mostrar();
    for (const auto &par : pares_)
        ponerOpcion(static_cast<Col>(par.first.first), par.first.second);
    comentarioCambiado(Col::S);
    comentarioCambiado(Col::O);
    resultadosCambiados();
}

void FormularioBase::hideEvent(QHideEvent *e)
{
    // Another section is shown: the field being edited is committed now,
    // before anything reads the calculation.
    if (!e->spontaneous()) {
        auto *c = qobject_cast<CampoTexto *>(QApplication::focusWidget());
        if (c && c->editando() && isAncestorOf(c))
            c->SalirCampo(false);
    }
    QWidget::hideEvent(e);
}

void FormularioBase::campoCambiado(Col c, Seccion s, int i)
{
    if (s != seccion())
        return;
    if (CampoTexto *b = caja(c, i))
        b->mostrar();
}

void FormularioBase::opcionCambiada(Col c, Seccion s, int indice)
{
    if (s == seccion())
        ponerOpcion(c, indice);
}

void FormularioBase::titulosCambiados()
{
    const QString d = calculo().descripcionTitulos();
    frame1_->setTitle(d.isEmpty() ? titulo_ : titulo_ + QStringLiteral("     (") + d + QStringLiteral(")"));
    frameCol_[0]->setTitle(conFecha(kTituloS, calculo().fechaTituloS()));
    if (frameCol_[1])
        frameCol_[1]->setTitle(conFecha(kTituloO, calculo().fechaTituloO()));
}

void FormularioBase::aspectoMostrado(const QColor &fondo, const QColor &marco)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, fondo);
    setPalette(p);
    if (frame1_) {
        frame1_->setAutoFillBackground(true);
        QPalette m = frame1_->palette();
        m.setColor(QPalette::Window, marco);
        frame1_->setPalette(m);
    }
}

void FormularioBase::seguirFoco(QWidget *w) { w->installEventFilter(this); }

void FormularioBase::controlConFoco(QWidget *w)
{
    if (SesionEdicion::de(this).devolviendo())
        return;
    controlActivo_ = w;
    emit controlEnfocado(w);
}

bool FormularioBase::eventFilter(QObject *o, QEvent *e)
{
    if (e->type() == QEvent::FocusIn) {
        if (auto *w = qobject_cast<QWidget *>(o))
            controlConFoco(w);
    } else if (e->type() == QEvent::KeyPress && !qobject_cast<QRadioButton *>(o)) {
        // Legend swatches and pies: the keys scroll the form.
        const int k = static_cast<QKeyEvent *>(e)->key();
        if (k == Qt::Key_Up || k == Qt::Key_Down || k == Qt::Key_PageUp || k == Qt::Key_PageDown) {
            emit teclaScroll(k);
            return true;
        }
    }
    return QWidget::eventFilter(o, e);
}

QString letraColumna(Col c) { return c == Col::S ? QStringLiteral("S") : QStringLiteral("O"); }

FormularioBase *crearFormulario(Seccion seccion, Calculo &calculo, QWidget *parent)
{
    using Fabrica = FormularioBase *(*)(Calculo &, QWidget *);
    static constexpr Fabrica kFabricas[kNumSecciones] = {crearCaracteristicas, crearCostesFijos1, crearCostesFijos2,
                                                         crearCostesVariables, crearCostesIndirectos, crearResultados,
                                                         crearServicio};
    return kFabricas[ord(seccion)](calculo, parent);
}

} // namespace pelmora
