#include "interfaz/ventana/barrasecciones.h"

#include "interfaz/formularios/campo.h"
#include "interfaz/formularios/sesionedicion.h"
#include "interfaz/soporte/colores.h"
#include "interfaz/soporte/twips.h"

#include <QEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStringList>
#include <QStylePainter>

namespace pelmora {

namespace {

const QColor kColorTodos(223, 217, 140);

// Where the section buttons stand inside the bar or inside FrameTodos, in
// section order (twips); their names and captions come with the sections.
const QRect kBotones[kNumSecciones] = {
    {120, 180, 1575, 735},  {120, 240, 1515, 555},  {1740, 240, 1815, 555}, {3660, 240, 1035, 555},
    {4800, 240, 1095, 555}, {6000, 240, 1215, 555}, {9240, 180, 1215, 735},
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

} // namespace

BarraSecciones::BarraSecciones(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Patillas"));
    setAutoFillBackground(true);
    ponerFondo(this, kColorPatillas);
    letraDeRejilla(this);

    frameTodos_ = new QGroupBox(QStringLiteral("Costes repercutidos a todos los servicios"), this);
    frameTodos_->setObjectName(QStringLiteral("FrameTodos"));
    frameTodos_->setAutoFillBackground(true);
    ponerFondo(frameTodos_, kColorTodos);
    frameTodos_->setGeometry(twRect(1800, 120, 7335, 915));

    for (const DatosSeccion &d : kSecciones) {
        const Seccion s = d.seccion;
        QWidget *padre = repercutidaATodos(s) ? static_cast<QWidget *>(frameTodos_) : this;
        botones_[ord(s)] = crearBoton(QString::fromUtf8(d.titulo), d.boton, padre, kBotones[ord(s)]);
        connect(botones_[ord(s)], &QPushButton::clicked, this, [this, s] { emit seccionPedida(s); });
    }
    cmbCerrar_ = crearBoton(QStringLiteral("Cerrar"), "cmbCerrar", this, QRect(10920, 120, 915, 375));
    connect(cmbCerrar_, &QPushButton::clicked, this, &BarraSecciones::cerrarPedido);
    cmbGrabar_ = crearBoton(QStringLiteral("Grabar"), "cmbGrabar", this, QRect(10920, 540, 915, 375));
    connect(cmbGrabar_, &QPushButton::clicked, this, &BarraSecciones::grabarPedido);
    describir(-1);
}

void BarraSecciones::describir(int activa)
{
    // The frame and the highlight a sighted user sees, in words.
    for (const DatosSeccion &d : kSecciones) {
        QStringList partes;
        if (repercutidaATodos(d.seccion))
            partes << frameTodos_->title();
        if (ord(d.seccion) == activa)
            partes << QStringLiteral("formulario mostrado");
        const QString descripcion = partes.join(QStringLiteral("; "));
        QPushButton *b = botones_[ord(d.seccion)];
        if (b->accessibleDescription() != descripcion)
            b->setAccessibleDescription(descripcion);
    }
}

QPushButton *BarraSecciones::crearBoton(const QString &texto, const char *nombre, QWidget *padre, const QRect &t)
{
    auto *boton = new BotonPatilla(texto, padre);
    boton->setObjectName(QLatin1String(nombre));
    boton->setGeometry(twRect(t.x(), t.y(), t.width(), t.height()));
    boton->installEventFilter(this);
    return boton;
}

void BarraSecciones::resaltar(Seccion activa, const QColor &activo)
{
    const QColor normal = cmbCerrar_->palette().color(QPalette::Button);
    for (int k = 0; k < kNumSecciones; ++k)
        ponerFondo(botones_[k], k == ord(activa) ? activo : normal, QPalette::Button);
    describir(ord(activa));
}

void BarraSecciones::apagar()
{
    const QColor normal = cmbCerrar_->palette().color(QPalette::Button);
    for (QPushButton *b : botones_)
        ponerFondo(b, normal, QPalette::Button);
    describir(-1);
}

bool BarraSecciones::eventFilter(QObject *o, QEvent *e)
{
    // The press took the focus from a field whose value was refused; its
    // message took the release. The button neither acts nor stays down.
    if (e->type() == QEvent::MouseButtonPress && SesionEdicion::de(this).devolviendo() && qobject_cast<QPushButton *>(o))
        return true;
    return QWidget::eventFilter(o, e);
}

} // namespace pelmora
