#include "interfaz/analisis/tornado.h"

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

// What the whole chart needs, whichever rows are laid out: the widest
// caption and figure, and the span of the figures.
struct Medidas {
    double anchoEtiquetas = 0;
    double anchoCifras = 0;
    double minimo = 0, maximo = 0;
};

Medidas medir(const Sensibilidad &s, int n, const QFontMetricsF &fm, double ancho)
{
    const double base = cifra(s.base, n);
    Medidas m{0, fm.horizontalAdvance(noPosible()), base, base};
    for (const EntradaSensibilidad &e : s.entradas) {
        m.anchoEtiquetas = std::max(m.anchoEtiquetas, fm.horizontalAdvance(e.etiqueta));
        for (const LadoSensibilidad *l : {&e.bajo, &e.alto}) {
            if (!l->posible)
                continue;
            const double x = s.cifraLado(*l, n);
            m.minimo = std::min(m.minimo, x);
            m.maximo = std::max(m.maximo, x);
            m.anchoCifras = std::max(m.anchoCifras, fm.horizontalAdvance(textoCifra(x, n)));
        }
    }
    if (m.maximo - m.minimo <= 1e-9 * std::max(1.0, std::fabs(base))) {
        // Nothing moves: the axis in the middle of a span around the base.
        const double medio = std::max(1.0, std::fabs(base)) * 0.01;
        m.minimo = base - medio;
        m.maximo = base + medio;
    }
    // The captions give way to the plot, down to a least width.
    m.anchoEtiquetas = std::min(m.anchoEtiquetas, std::floor(ancho * 0.4));
    const double resto = ancho - 2 * kMargen - m.anchoEtiquetas - 2 * (m.anchoCifras + 2 * kHueco);
    if (resto < kMinimoTrazado)
        m.anchoEtiquetas = std::max(40.0, m.anchoEtiquetas - (kMinimoTrazado - resto));
    return m;
}

// The legend of the two sides, and the base figure over the axis.
void cabecera(GeometriaTornado &g, const Sensibilidad &s, int n, double ancho, const QFont &letra)
{
    const QFontMetricsF fm(letra);
    const double linea = fm.height();
    const double lado = std::floor(linea * 0.8);
    g.muestraBajo = QRectF(kMargen, kMargen + (linea - lado) / 2, 2 * lado, lado);
    g.leyendaBajo = QStringLiteral("Entrada ") + rotuloLado(s.porcentaje, false);
    g.cajaLeyendaBajo = QRectF(g.muestraBajo.right() + kHueco, kMargen, fm.horizontalAdvance(g.leyendaBajo), linea);
    g.muestraAlto = QRectF(g.cajaLeyendaBajo.right() + 3 * kHueco, g.muestraBajo.top(), 2 * lado, lado);
    g.leyendaAlto = QStringLiteral("Entrada ") + rotuloLado(s.porcentaje, true);
    g.cajaLeyendaAlto = QRectF(g.muestraAlto.right() + kHueco, kMargen, fm.horizontalAdvance(g.leyendaAlto), linea);

    const Rotulo r = rotuloResultado(n);
    g.textoBase = nombreCifra(n) + QStringLiteral(": ") + textoCifra(cifra(s.base, n), n) +
                  (r.unidad.isEmpty() ? QString() : QStringLiteral(" ") + r.unidad);
    QFont negrita = letra;
    negrita.setBold(true);
    const double anchoBase = QFontMetricsF(negrita).horizontalAdvance(g.textoBase);
    const double xBase = std::clamp(g.eje - anchoBase / 2, kMargen, std::max(kMargen, ancho - kMargen - anchoBase));
    g.cajaBase = QRectF(xBase, kMargen + linea + 4, anchoBase, linea);
}

} // namespace

double altoFilaTornado(const QFont &letra) { return std::ceil(QFontMetricsF(letra).height() + 8); }

double altoCabeceraTornado(const QFont &letra) { return kMargen + 2 * QFontMetricsF(letra).height() + 10; }

namespace {

// The rows of the entries a stretch of the chart shows: [desde, hasta).
std::pair<int, int> filasTramo(const Sensibilidad &s, TramoTornado tramo)
{
    const int total = int(s.entradas.size());
    const int desde = std::clamp(tramo.desde, 0, total);
    return {desde, tramo.hasta < 0 ? total : std::clamp(tramo.hasta, desde, total)};
}

// The chart's height: the heading, the rows and the margin; no width or
// text of a row changes it.
double altoTornado(int filas, const QFont &letra)
{
    return std::ceil(altoCabeceraTornado(letra) + altoFilaTornado(letra) * double(filas) + kMargen);
}

} // namespace

GeometriaTornado disponerTornado(const Sensibilidad &s, int n, double ancho, const QFont &letra, TramoTornado tramo)
{
    const QFontMetricsF fm(letra);
    const double altoFila = altoFilaTornado(letra);
    const auto [desde, hasta] = filasTramo(s, tramo);
    const double base = cifra(s.base, n);
    const Medidas m = medir(s, n, fm, ancho);

    GeometriaTornado g;
    const double izquierda = kMargen + m.anchoEtiquetas + kHueco + m.anchoCifras + 2 * kHueco;
    const double derecha = std::max(izquierda + 1, ancho - kMargen - m.anchoCifras - 2 * kHueco);
    auto xDe = [&](double v) { return izquierda + (v - m.minimo) / (m.maximo - m.minimo) * (derecha - izquierda); };
    g.minimo = m.minimo;
    g.maximo = m.maximo;
    g.eje = xDe(base);
    cabecera(g, s, n, ancho, letra);

    const double arriba = altoCabeceraTornado(letra);
    g.trazado = QRectF(izquierda, arriba, derecha - izquierda, altoFila * double(hasta - desde));
    for (int k = desde; k < hasta; ++k) {
        const EntradaSensibilidad &e = s.entradas[size_t(k)];
        BarraTornado b;
        b.entrada = k;
        b.fila = QRectF(0, arriba + altoFila * double(k - desde), ancho, altoFila);
        b.etiqueta = fm.elidedText(e.etiqueta, Qt::ElideRight, m.anchoEtiquetas);
        b.cajaEtiqueta = QRectF(kMargen, b.fila.top(), m.anchoEtiquetas, altoFila);
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
            // A move too small to see still shows, a pixel wide on its side.
            const double fin = xl < g.eje ? std::min(xl, g.eje - 1) : std::max(xl, g.eje + 1);
            l->barra = QRectF(QPointF(std::min(fin, g.eje), b.fila.top() + 3),
                              QPointF(std::max(fin, g.eje), b.fila.bottom() - 3));
            l->texto = textoCifra(l->cifra, n);
        }
        rotular(b, g.eje, fm, b.cajaEtiqueta.right() + kHueco, ancho - kMargen);
        g.barras.push_back(std::move(b));
    }
    g.tamano = QSizeF(ancho, altoTornado(hasta - desde, letra));
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
    Q_UNUSED(ancho);
    if (!s_)
        return 0;
    const auto [desde, hasta] = filasTramo(*s_, tramo_);
    return int(altoTornado(hasta - desde, font()));
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
