#include "interfaz/tornado.h"

#include "analisis/rotulos.h"
#include "calculo/catalogo.h"
#include "entrada/numeros.h"

#include <QFontMetricsF>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cmath>

namespace pelmora {

namespace {

constexpr double kMargen = 6;
constexpr double kHueco = 6;       // between a text and what it labels
constexpr double kMinimoTrazado = 80;
const QColor kPapel(Qt::white);
const QColor kTinta(Qt::black);
const QColor kFilaAlterna(242, 242, 242);
const QColor kEje(64, 64, 64);

QString textoCifra(double x, int n) { return FormatearNumero(Valor(x), decimalesResultado(n), true); }

QString noPosible() { return QStringLiteral("no posible"); }

// Where the texts of one row go: each side's figure beyond the end of the
// bars on its side, and a refused side's mark on its own side when that is
// free, else beyond what is there.
void rotular(BarraTornado &b, double eje, const QFontMetricsF &fm, double izquierdaLibre, double derechaLibre)
{
    const double alto = b.fila.height();
    double izquierda = eje, derecha = eje; // how far the row is taken on each side
    for (LadoTornado *l : {&b.bajo, &b.alto}) {
        if (!l->posible || l->barra.isEmpty())
            continue;
        izquierda = std::min(izquierda, l->barra.left());
        derecha = std::max(derecha, l->barra.right());
    }
    // The figure of the side that reaches furthest on each side.
    for (LadoTornado *l : {&b.bajo, &b.alto}) {
        if (!l->posible || l->barra.isEmpty())
            continue;
        const double ancho = fm.horizontalAdvance(l->texto);
        if (l->barra.left() < eje && l->barra.left() == izquierda)
            l->caja = QRectF(izquierda - kHueco - ancho, b.fila.top(), ancho, alto);
        else if (l->barra.right() > eje && l->barra.right() == derecha)
            l->caja = QRectF(derecha + kHueco, b.fila.top(), ancho, alto);
        else
            l->texto.clear(); // hidden behind the other side's bar: the table has it
    }
    double usadoIzquierda = izquierda, usadoDerecha = derecha;
    for (const LadoTornado *l : {&b.bajo, &b.alto}) {
        if (!l->posible || l->texto.isEmpty())
            continue;
        usadoIzquierda = std::min(usadoIzquierda, l->caja.left());
        usadoDerecha = std::max(usadoDerecha, l->caja.right());
    }
    for (LadoTornado *l : {&b.bajo, &b.alto}) {
        if (l->posible)
            continue;
        const double ancho = fm.horizontalAdvance(l->texto);
        const QRectF aIzquierda(usadoIzquierda - kHueco - ancho, b.fila.top(), ancho, alto);
        const QRectF aDerecha(usadoDerecha + kHueco, b.fila.top(), ancho, alto);
        const bool cabeIzquierda = aIzquierda.left() >= izquierdaLibre;
        const bool cabeDerecha = aDerecha.right() <= derechaLibre;
        const bool propioIzquierda = l == &b.bajo;
        const bool izquierdaElegida = propioIzquierda ? (cabeIzquierda || !cabeDerecha) : (!cabeDerecha && cabeIzquierda);
        l->caja = izquierdaElegida ? aIzquierda : aDerecha;
        if (izquierdaElegida)
            usadoIzquierda = l->caja.left();
        else
            usadoDerecha = l->caja.right();
    }
}

} // namespace

double altoFilaTornado(const QFont &letra) { return std::ceil(QFontMetricsF(letra).height() + 8); }

double altoCabeceraTornado(const QFont &letra) { return kMargen + 2 * QFontMetricsF(letra).height() + 10; }

GeometriaTornado disponerTornado(const Sensibilidad &s, int n, double ancho, const QFont &letra, TramoTornado tramo)
{
    const QFontMetricsF fm(letra);
    const double linea = fm.height();
    const double altoFila = altoFilaTornado(letra);
    const int total = int(s.entradas.size());
    const int desde = std::clamp(tramo.desde, 0, total);
    const int hasta = tramo.hasta < 0 ? total : std::clamp(tramo.hasta, desde, total);
    GeometriaTornado g;
    const double base = cifra(s.base, n);

    // The widest caption and the widest figure.
    double anchoEtiquetas = 0, anchoCifras = fm.horizontalAdvance(noPosible());
    double minimo = base, maximo = base;
    for (const EntradaSensibilidad &e : s.entradas) {
        anchoEtiquetas = std::max(anchoEtiquetas, fm.horizontalAdvance(e.etiqueta));
        for (const LadoSensibilidad *l : {&e.bajo, &e.alto}) {
            if (!l->posible)
                continue;
            const double x = s.cifraLado(*l, n);
            minimo = std::min(minimo, x);
            maximo = std::max(maximo, x);
            anchoCifras = std::max(anchoCifras, fm.horizontalAdvance(textoCifra(x, n)));
        }
    }
    if (maximo - minimo <= 1e-9 * std::max(1.0, std::fabs(base))) {
        // Nothing moves: the axis in the middle of a span around the base.
        const double medio = std::max(1.0, std::fabs(base)) * 0.01;
        minimo = base - medio;
        maximo = base + medio;
    }
    anchoEtiquetas = std::min(anchoEtiquetas, std::floor(ancho * 0.4));
    const double resto = ancho - 2 * kMargen - anchoEtiquetas - 2 * (anchoCifras + 2 * kHueco);
    if (resto < kMinimoTrazado)
        anchoEtiquetas = std::max(40.0, anchoEtiquetas - (kMinimoTrazado - resto));

    // The legend, then the base figure over the axis, then the rows.
    const QString bajo = rotuloLado(s.porcentaje, false), alto = rotuloLado(s.porcentaje, true);
    const double lado = std::floor(linea * 0.8);
    double x = kMargen;
    g.muestraBajo = QRectF(x, kMargen + (linea - lado) / 2, 2 * lado, lado);
    x = g.muestraBajo.right() + kHueco;
    g.leyendaBajo = QStringLiteral("Entrada ") + bajo;
    g.cajaLeyendaBajo = QRectF(x, kMargen, fm.horizontalAdvance(g.leyendaBajo), linea);
    x = g.cajaLeyendaBajo.right() + 3 * kHueco;
    g.muestraAlto = QRectF(x, g.muestraBajo.top(), 2 * lado, lado);
    x = g.muestraAlto.right() + kHueco;
    g.leyendaAlto = QStringLiteral("Entrada ") + alto;
    g.cajaLeyendaAlto = QRectF(x, kMargen, fm.horizontalAdvance(g.leyendaAlto), linea);

    const double izquierda = kMargen + anchoEtiquetas + kHueco + anchoCifras + 2 * kHueco;
    const double derecha = std::max(izquierda + 1, ancho - kMargen - anchoCifras - 2 * kHueco);
    auto xDe = [&](double v) { return izquierda + (v - minimo) / (maximo - minimo) * (derecha - izquierda); };
    g.minimo = minimo;
    g.maximo = maximo;
    g.eje = xDe(base);

    const Rotulo r = rotuloResultado(n);
    g.textoBase = nombreCifra(n) + QStringLiteral(": ") + textoCifra(base, n) +
                  (r.unidad.isEmpty() ? QString() : QStringLiteral(" ") + r.unidad);
    QFont negrita = letra;
    negrita.setBold(true);
    const double anchoBase = QFontMetricsF(negrita).horizontalAdvance(g.textoBase);
    const double xBase = std::clamp(g.eje - anchoBase / 2, kMargen, std::max(kMargen, ancho - kMargen - anchoBase));
    g.cajaBase = QRectF(xBase, kMargen + linea + 4, anchoBase, linea);

    const double arriba = altoCabeceraTornado(letra);
    g.trazado = QRectF(izquierda, arriba, derecha - izquierda, altoFila * double(hasta - desde));
    for (int k = desde; k < hasta; ++k) {
        const EntradaSensibilidad &e = s.entradas[size_t(k)];
        BarraTornado b;
        b.entrada = k;
        b.fila = QRectF(0, arriba + altoFila * double(k - desde), ancho, altoFila);
        b.etiqueta = fm.elidedText(e.etiqueta, Qt::ElideRight, anchoEtiquetas);
        b.cajaEtiqueta = QRectF(kMargen, b.fila.top(), anchoEtiquetas, altoFila);
        const double grosor = altoFila - 6;
        for (auto [l, ls] : {std::pair{&b.bajo, &e.bajo}, std::pair{&b.alto, &e.alto}}) {
            l->posible = ls->posible;
            l->cifra = s.cifraLado(*ls, n);
            if (!l->posible) {
                l->texto = noPosible();
                continue;
            }
            const double xl = xDe(l->cifra);
            if (textoCifra(l->cifra, n) == textoCifra(base, n) && std::fabs(xl - g.eje) < 0.5)
                continue; // it does not move the figure as shown
            l->barra = QRectF(QPointF(std::min(xl, g.eje), b.fila.top() + 3),
                              QPointF(std::max(xl, g.eje), b.fila.top() + 3 + grosor));
            if (l->barra.width() < 1) // a move too small to see still shows
                l->barra.setWidth(1);
            l->texto = textoCifra(l->cifra, n);
        }
        rotular(b, g.eje, fm, b.cajaEtiqueta.right() + kHueco, ancho - kMargen);
        g.barras.push_back(std::move(b));
    }
    g.tamano = QSizeF(ancho, std::ceil(arriba + g.trazado.height() + kMargen));
    return g;
}

// ---- The widget ---------------------------------------------------------------

GraficoTornado::GraficoTornado(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picTornado"));
    setAccessibleName(QStringLiteral("Gráfico de tornado"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, kPapel);
    p.setColor(QPalette::WindowText, kTinta);
    setPalette(p);
}

void GraficoTornado::mostrar(const Sensibilidad *s, int n, TramoTornado tramo)
{
    s_ = s;
    cifra_ = n;
    tramo_ = tramo;
    disponer();
    setMinimumHeight(int(geometria_.tamano.height()));
    updateGeometry();
    update();
}

void GraficoTornado::disponer()
{
    geometria_ = s_ ? disponerTornado(*s_, cifra_, width(), font(), tramo_) : GeometriaTornado();
    QString descripcion;
    if (s_)
        for (const BarraTornado &b : geometria_.barras)
            descripcion += s_->entradas[size_t(b.entrada)].etiqueta + QStringLiteral(": ") + b.bajo.texto +
                           QStringLiteral(" / ") + b.alto.texto + QLatin1Char('\n');
    setAccessibleDescription(descripcion);
}

int GraficoTornado::heightForWidth(int ancho) const
{
    return s_ ? int(disponerTornado(*s_, cifra_, ancho, font(), tramo_).tamano.height()) : 0;
}

QSize GraficoTornado::sizeHint() const { return QSize(560, std::max(200, heightForWidth(560))); }

void GraficoTornado::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    disponer();
}

void GraficoTornado::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), kPapel);
    const GeometriaTornado &g = geometria_;
    if (!s_)
        return;
    p.setFont(font());
    if (g.barras.empty()) {
        p.setPen(kTinta);
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("No hay entradas que mover."));
        return;
    }
    p.fillRect(g.muestraBajo, kColorBajo);
    p.fillRect(g.muestraAlto, kColorAlto);
    p.setPen(kTinta);
    p.drawText(g.cajaLeyendaBajo, Qt::AlignLeft | Qt::AlignVCenter, g.leyendaBajo);
    p.drawText(g.cajaLeyendaAlto, Qt::AlignLeft | Qt::AlignVCenter, g.leyendaAlto);
    QFont negrita = font();
    negrita.setBold(true);
    p.setFont(negrita);
    p.drawText(g.cajaBase, Qt::AlignCenter, g.textoBase);
    p.setFont(font());

    for (size_t k = 0; k < g.barras.size(); ++k) {
        const BarraTornado &b = g.barras[k];
        if (k % 2 == 1)
            p.fillRect(b.fila, kFilaAlterna);
        p.setPen(kTinta);
        p.drawText(b.cajaEtiqueta, Qt::AlignRight | Qt::AlignVCenter, b.etiqueta);
        // The longer bar first, so that a shorter one on the same side shows over it.
        const bool bajoPrimero = b.bajo.barra.width() >= b.alto.barra.width();
        for (const LadoTornado *l : bajoPrimero ? std::array{&b.bajo, &b.alto} : std::array{&b.alto, &b.bajo})
            if (!l->barra.isEmpty())
                p.fillRect(l->barra, l == &b.bajo ? kColorBajo : kColorAlto);
        for (const LadoTornado *l : {&b.bajo, &b.alto}) {
            if (l->texto.isEmpty())
                continue;
            p.setPen(l->posible ? kTinta : kColorNoPosible);
            p.drawText(l->caja, Qt::AlignCenter, l->texto);
        }
    }
    p.setPen(QPen(kEje, 1));
    p.drawLine(QPointF(g.eje, g.trazado.top() - 2), QPointF(g.eje, g.trazado.bottom() + 2));
}

bool GraficoTornado::event(QEvent *e)
{
    if (e->type() != QEvent::ToolTip || !s_)
        return QWidget::event(e);
    const QPoint pos = static_cast<QHelpEvent *>(e)->pos();
    const QPoint global = static_cast<QHelpEvent *>(e)->globalPos();
    for (const BarraTornado &b : geometria_.barras) {
        if (!b.fila.contains(pos))
            continue;
        const EntradaSensibilidad &en = s_->entradas[size_t(b.entrada)];
        const Rotulo r = rotulo(en.seccion, en.indice);
        const int d = decimales(en.seccion, en.indice);
        auto valor = [&](double x) {
            return FormatearNumero(Valor(x), d, true) + (r.unidad.isEmpty() ? QString() : QStringLiteral(" ") + r.unidad);
        };
        QString t = en.etiqueta + QStringLiteral(": ") + valor(en.valor);
        for (auto [lado, ls, alto] : {std::tuple{&b.bajo, &en.bajo, false}, std::tuple{&b.alto, &en.alto, true}})
            t += QLatin1Char('\n') + rotuloLado(s_->porcentaje, alto) + QStringLiteral(": ") + valor(ls->valor) +
                 QStringLiteral(" → ") + (lado->posible ? textoCifra(lado->cifra, cifra_) : noPosible());
        QToolTip::showText(global, t, this);
        return true;
    }
    QToolTip::hideText();
    e->ignore();
    return true;
}

} // namespace pelmora
