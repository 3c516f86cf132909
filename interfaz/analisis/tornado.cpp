#include "interfaz/analisis/tornado.h"

#include "analisis/rotulos.h"
#include "calculo/catalogo.h"
#include "entrada/numeros.h"
#include "interfaz/soporte/medidas.h"

#include <QFontMetricsF>
#include <QHash>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace pelmora {

namespace {

constexpr double kMargen = 6;
constexpr double kHueco = 6;       // between a text and what it labels
constexpr double kMinimoTrazado = 80;
constexpr int kLineasEtiqueta = 3; // at most, where the chart is narrow
const QColor kPapel(Qt::white);
const QColor kTinta(Qt::black);
const QColor kFilaAlterna(242, 242, 242);
const QColor kEje(64, 64, 64);

QString textoCifra(double x, int n) { return cifraEscrita(x, decimalesResultado(n)); }

QString noPosible() { return QStringLiteral("no posible"); }

} // namespace

// The texts of charts measured in one font, kept while it stays: the same
// captions and many of the same figures come back at every change of the
// calculation, and measuring them is most of laying a chart out.
class MedidorTornado {
public:
    explicit MedidorTornado(const QFont &letra) : letra_(letra), fm_(letra), negrita_(negrita(letra)) {}
    const QFont &letra() const { return letra_; }
    const QFontMetricsF &metricas() const { return fm_; }

    double ancho(const QString &t) { return medido(anchos_, fm_, t); }
    double anchoNegrita(const QString &t) { return medido(anchosNegrita_, negrita_, t); }

    // A caption in the width given, on as many lines as it needs up to
    // lineas, broken between words; a word too long for a line, and
    // whatever the last line cannot hold, cut short with "…". The widths
    // tried change with the figures beside the captions: the pieces of
    // lines measured are kept, and a caption that fits whole is itself.
    QString etiqueta(const QString &t, double ancho, int lineas)
    {
        const Clave clave{t, ancho, lineas};
        if (const auto k = etiquetas_.constFind(clave); k != etiquetas_.cend())
            return *k;
        if (this->ancho(t) <= ancho && !t.startsWith(u' ') && !t.endsWith(u' ') && !t.contains(u"  "))
            return t;
        if (etiquetas_.size() >= kRecordados)
            etiquetas_.clear();
        return *etiquetas_.insert(clave, enLineas(t, ancho, lineas));
    }

private:
    static constexpr qsizetype kRecordados = 4096;
    struct Clave {
        QString texto;
        double ancho;
        int lineas;
        bool operator==(const Clave &) const = default;
        friend size_t qHash(const Clave &c, size_t semilla) { return qHashMulti(semilla, c.texto, c.ancho, c.lineas); }
    };

    static QFontMetricsF negrita(QFont letra)
    {
        letra.setBold(true);
        return QFontMetricsF(letra);
    }
    static double medido(QHash<QString, double> &anchos, const QFontMetricsF &fm, const QString &t)
    {
        if (const auto k = anchos.constFind(t); k != anchos.cend())
            return *k;
        if (anchos.size() >= kRecordados)
            anchos.clear();
        return *anchos.insert(t, fm.horizontalAdvance(t));
    }
    // A line as wide as ancho at most: itself when it fits.
    QString cortada(const QString &linea, double ancho)
    {
        return this->ancho(linea) <= ancho ? linea : fm_.elidedText(linea, Qt::ElideRight, ancho);
    }
    QString enLineas(const QString &t, double ancho, int lineas)
    {
        QStringList hechas;
        QString linea;
        const QStringList palabras = t.split(u' ', Qt::SkipEmptyParts);
        for (qsizetype k = 0; k < palabras.size(); ++k) {
            const QString con = linea.isEmpty() ? palabras[k] : linea + u' ' + palabras[k];
            if (linea.isEmpty() || this->ancho(con) <= ancho) {
                linea = con;
                continue;
            }
            if (hechas.size() + 1 == lineas) {
                // The last line takes the rest, cut short.
                linea = palabras.mid(k - (linea.count(u' ') + 1)).join(u' ');
                break;
            }
            hechas << cortada(linea, ancho);
            linea = palabras[k];
        }
        hechas << cortada(linea, ancho);
        return hechas.join(u'\n');
    }

    QFont letra_;
    QFontMetricsF fm_, negrita_;
    QHash<QString, double> anchos_, anchosNegrita_;
    QHash<Clave, QString> etiquetas_;
};

namespace {

// Where the texts of one row go: each side's figure beyond the end of the
// bars on its side, and a refused side's mark on its own side when that is
// free, else beyond what is there.
void rotular(BarraTornado &b, double eje, MedidorTornado &medidor, double izquierdaLibre, double derechaLibre)
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
        const double ancho = medidor.ancho(l->texto);
        if (l->barra.left() < eje && l->barra.left() == izquierda)
            l->caja = QRectF(izquierda - kHueco - ancho, b.fila.top(), ancho, alto);
        else if (l->barra.right() > eje && l->barra.right() == derecha)
            l->caja = QRectF(derecha + kHueco, b.fila.top(), ancho, alto);
        else
            l->texto.clear(); // hidden behind the other side's bar: the table has it
    }
    // Both sides reach as far on one side (the same figure, or moves under
    // a pixel): one figure there, the one that goes further.
    if (b.bajo.posible && b.alto.posible && !b.bajo.texto.isEmpty() && !b.alto.texto.isEmpty() &&
        b.bajo.caja.intersects(b.alto.caja)) {
        const bool aDerecha = b.alto.caja.left() > eje;
        const bool bajoMenos = aDerecha ? b.bajo.cifra <= b.alto.cifra : b.bajo.cifra >= b.alto.cifra;
        (bajoMenos ? b.bajo : b.alto).texto.clear();
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
        const double ancho = medidor.ancho(l->texto);
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

// What the whole chart needs at any width, whichever rows are laid out: the
// widest caption on one line and the widest figure, the span of the
// figures, and the figures as shown.
struct MedidasTornado {
    double anchoEtiquetas = 0;
    double anchoCifras = 0;
    double minimo = 0, maximo = 0;
    QString base;                               // the base figure
    std::vector<std::array<QString, 2>> cifras; // each entry's sides' figures, empty for a refused side
};

namespace {

MedidasTornado medir(const Sensibilidad &s, int n, MedidorTornado &medidor)
{
    const double base = cifra(s.base, n);
    MedidasTornado m{0, medidor.ancho(noPosible()), base, base, textoCifra(base, n), {}};
    m.cifras.resize(s.entradas.size());
    for (size_t k = 0; k < s.entradas.size(); ++k) {
        const EntradaSensibilidad &e = s.entradas[k];
        m.anchoEtiquetas = std::max(m.anchoEtiquetas, medidor.ancho(e.etiqueta));
        for (size_t lado = 0; lado < 2; ++lado) {
            const LadoSensibilidad &l = lado == 0 ? e.bajo : e.alto;
            if (!l.posible)
                continue;
            const double x = s.cifraLado(l, n);
            m.minimo = std::min(m.minimo, x);
            m.maximo = std::max(m.maximo, x);
            m.cifras[k][lado] = textoCifra(x, n);
            m.anchoCifras = std::max(m.anchoCifras, medidor.ancho(m.cifras[k][lado]));
        }
    }
    if (m.maximo - m.minimo <= 1e-9 * std::max(1.0, std::fabs(base))) {
        // Nothing moves: the axis in the middle of a span around the base.
        const double medio = std::max(1.0, std::fabs(base)) * 0.01;
        m.minimo = base - medio;
        m.maximo = base + medio;
    }
    return m;
}

// The captions' column at a width, and the lines its widest-spread caption takes.
struct ColumnaEtiquetas {
    double ancho = 0;
    int lineas = 1;     // the captions had to give way: they take up to this many lines
    int lineasUsadas = 1;
};

ColumnaEtiquetas columnaEtiquetas(const Sensibilidad &s, const MedidasTornado &m, MedidorTornado &medidor,
                                  double ancho)
{
    // The captions give way to the plot, down to a width that still reads
    // (twelve letters); then they take up to three lines.
    const double deseado = std::min(m.anchoEtiquetas, std::floor(ancho * 0.4));
    ColumnaEtiquetas c{deseado, 1, 1};
    const double resto = ancho - 2 * kMargen - c.ancho - 2 * (m.anchoCifras + 2 * kHueco);
    if (resto < kMinimoTrazado)
        c.ancho = std::max(std::min(deseado, 12 * medidor.metricas().averageCharWidth()),
                           c.ancho - (kMinimoTrazado - resto));
    if (c.ancho < deseado)
        c.lineas = kLineasEtiqueta;
    for (const EntradaSensibilidad &e : s.entradas)
        c.lineasUsadas =
            std::max(c.lineasUsadas, int(medidor.etiqueta(e.etiqueta, c.ancho, c.lineas).count(u'\n')) + 1);
    return c;
}

double altoFila(MedidorTornado &medidor, const ColumnaEtiquetas &c)
{
    return altoFilaTornado(medidor.letra()) + (c.lineasUsadas - 1) * std::ceil(medidor.metricas().lineSpacing());
}

// The rows [desde, hasta) of tramo within n rows.
std::pair<int, int> filas(TramoTornado tramo, int total)
{
    const int desde = std::clamp(tramo.desde, 0, total);
    return {desde, tramo.hasta < 0 ? total : std::clamp(tramo.hasta, desde, total)};
}

// The height of the chart at a width.
double altoTornado(const Sensibilidad &s, const MedidasTornado &m, MedidorTornado &medidor, double ancho,
                   TramoTornado tramo)
{
    const auto [desde, hasta] = filas(tramo, int(s.entradas.size()));
    const double fila = altoFila(medidor, columnaEtiquetas(s, m, medidor, ancho));
    return std::ceil(altoCabeceraTornado(medidor.letra()) + fila * double(hasta - desde) + kMargen);
}

// The legend of the two sides, and the base figure over the axis.
void cabecera(GeometriaTornado &g, const Sensibilidad &s, int n, const QString &base, double ancho,
              MedidorTornado &medidor)
{
    const QFontMetricsF &fm = medidor.metricas();
    const double linea = fm.height();
    const double lado = std::floor(linea * 0.8);
    g.muestraBajo = QRectF(kMargen, kMargen + (linea - lado) / 2, 2 * lado, lado);
    g.leyendaBajo = QStringLiteral("Entrada ") + rotuloLado(s.porcentaje, false);
    g.cajaLeyendaBajo = QRectF(g.muestraBajo.right() + kHueco, kMargen, medidor.ancho(g.leyendaBajo), linea);
    g.muestraAlto = QRectF(g.cajaLeyendaBajo.right() + 3 * kHueco, g.muestraBajo.top(), 2 * lado, lado);
    g.leyendaAlto = QStringLiteral("Entrada ") + rotuloLado(s.porcentaje, true);
    g.cajaLeyendaAlto = QRectF(g.muestraAlto.right() + kHueco, kMargen, medidor.ancho(g.leyendaAlto), linea);

    const Rotulo r = rotuloResultado(n);
    g.textoBase = nombreCifra(n) + QStringLiteral(": ") + base +
                  (r.unidad.isEmpty() ? QString() : QStringLiteral(" ") + r.unidad);
    const double anchoBase = medidor.anchoNegrita(g.textoBase);
    const double xBase = std::clamp(g.eje - anchoBase / 2, kMargen, std::max(kMargen, ancho - kMargen - anchoBase));
    g.cajaBase = QRectF(xBase, kMargen + linea + 4, anchoBase, linea);
}

GeometriaTornado disponer(const Sensibilidad &s, int n, double ancho, MedidorTornado &medidor,
                          const MedidasTornado &m, TramoTornado tramo)
{
    const auto [desde, hasta] = filas(tramo, int(s.entradas.size()));
    const double base = cifra(s.base, n);
    const ColumnaEtiquetas columna = columnaEtiquetas(s, m, medidor, ancho);
    const double alto = altoFila(medidor, columna);

    GeometriaTornado g;
    const double izquierda = kMargen + columna.ancho + kHueco + m.anchoCifras + 2 * kHueco;
    const double derecha = std::max(izquierda + 1, ancho - kMargen - m.anchoCifras - 2 * kHueco);
    auto xDe = [&](double v) { return izquierda + (v - m.minimo) / (m.maximo - m.minimo) * (derecha - izquierda); };
    g.minimo = m.minimo;
    g.maximo = m.maximo;
    g.eje = xDe(base);
    cabecera(g, s, n, m.base, ancho, medidor);

    const double arriba = altoCabeceraTornado(medidor.letra());
    g.trazado = QRectF(izquierda, arriba, derecha - izquierda, alto * double(hasta - desde));
    g.barras.reserve(size_t(hasta - desde));
    for (int k = desde; k < hasta; ++k) {
        const EntradaSensibilidad &e = s.entradas[size_t(k)];
        BarraTornado &b = g.barras.emplace_back();
        b.entrada = k;
        b.fila = QRectF(0, arriba + alto * double(k - desde), ancho, alto);
        b.etiqueta = medidor.etiqueta(e.etiqueta, columna.ancho, columna.lineas);
        b.cajaEtiqueta = QRectF(kMargen, b.fila.top(), columna.ancho, alto);
        for (size_t lado = 0; lado < 2; ++lado) {
            LadoTornado *l = lado == 0 ? &b.bajo : &b.alto;
            const LadoSensibilidad &ls = lado == 0 ? e.bajo : e.alto;
            l->posible = ls.posible;
            l->cifra = s.cifraLado(ls, n);
            if (!l->posible) {
                l->texto = noPosible();
                continue;
            }
            const double xl = xDe(l->cifra);
            const QString &texto = m.cifras[size_t(k)][lado];
            if (texto == m.base && std::fabs(xl - g.eje) < 0.5)
                continue; // it does not move the figure as shown
            // A move too small to see still shows, a pixel wide on its side.
            const double fin = xl < g.eje ? std::min(xl, g.eje - 1) : std::max(xl, g.eje + 1);
            l->barra = QRectF(QPointF(std::min(fin, g.eje), b.fila.top() + 3),
                              QPointF(std::max(fin, g.eje), b.fila.bottom() - 3));
            l->texto = texto;
        }
        rotular(b, g.eje, medidor, b.cajaEtiqueta.right() + kHueco, ancho - kMargen);
    }
    g.tamano = QSizeF(ancho, std::ceil(arriba + g.trazado.height() + kMargen));
    return g;
}

} // namespace

double altoFilaTornado(const QFont &letra) { return std::ceil(QFontMetricsF(letra).height() + 8); }

double altoCabeceraTornado(const QFont &letra) { return kMargen + 2 * QFontMetricsF(letra).height() + 10; }

GeometriaTornado disponerTornado(const Sensibilidad &s, int n, double ancho, const QFont &letra, TramoTornado tramo)
{
    MedidorTornado medidor(letra);
    return disponer(s, n, ancho, medidor, medir(s, n, medidor), tramo);
}

// ---- The widget ---------------------------------------------------------------

// What the widget keeps between layouts: the texts measured in its font, the
// measures of what it shows, the heights asked at each width and the texts
// laid out to draw them.
struct GraficoTornado::Memoria {
    std::unique_ptr<MedidorTornado> medidor;
    TextosDispuestos textos;
    std::optional<MedidasTornado> medidas;
    QHash<int, int> altos;
};

GraficoTornado::GraficoTornado(QWidget *parent) : QWidget(parent), memoria_(std::make_unique<Memoria>())
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

GraficoTornado::~GraficoTornado() = default;

void GraficoTornado::mostrar(const Sensibilidad *s, int n, TramoTornado tramo)
{
    s_ = s;
    cifra_ = n;
    tramo_ = tramo;
    memoria_->medidas.reset();
    memoria_->altos.clear();
    const GeometriaTornado antes = std::move(geometria_);
    disponer();
    setMinimumHeight(int(geometria_.tamano.height()));
    updateGeometry();
    if (geometria_ != antes)
        update();
}

const MedidasTornado &GraficoTornado::medidas() const
{
    Memoria &m = *memoria_;
    if (!m.medidor || m.medidor->letra() != font()) {
        m.medidor = std::make_unique<MedidorTornado>(font());
        m.medidas.reset();
        m.altos.clear();
    }
    if (!m.medidas)
        m.medidas = medir(*s_, cifra_, *m.medidor);
    return *m.medidas;
}

void GraficoTornado::disponer()
{
    if (s_) {
        const MedidasTornado &m = medidas();
        geometria_ = pelmora::disponer(*s_, cifra_, width(), *memoria_->medidor, m, tramo_);
    } else {
        geometria_ = GeometriaTornado();
    }
    // One line per row, its pieces appended in place.
    QString descripcion;
    if (s_) {
        descripcion.reserve(qsizetype(geometria_.barras.size()) * 80);
        for (const BarraTornado &b : geometria_.barras) {
            descripcion += s_->entradas[size_t(b.entrada)].etiqueta;
            descripcion += u": ";
            descripcion += b.bajo.texto;
            descripcion += u" / ";
            descripcion += b.alto.texto;
            descripcion += u'\n';
        }
    }
    setAccessibleDescription(descripcion);
}

int GraficoTornado::heightForWidth(int ancho) const
{
    if (!s_)
        return 0;
    const MedidasTornado &m = medidas();
    if (const auto k = memoria_->altos.constFind(ancho); k != memoria_->altos.cend())
        return *k;
    return *memoria_->altos.insert(ancho, int(altoTornado(*s_, m, *memoria_->medidor, ancho, tramo_)));
}

QSize GraficoTornado::sizeHint() const { return QSize(560, std::max(200, heightForWidth(560))); }

void GraficoTornado::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    disponer();
}

void GraficoTornado::changeEvent(QEvent *e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::FontChange && s_) {
        disponer();
        update();
    }
}

void GraficoTornado::paintEvent(QPaintEvent *e)
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
    TextosDispuestos &textos = memoria_->textos;
    p.fillRect(g.muestraBajo, kColorBajo);
    p.fillRect(g.muestraAlto, kColorAlto);
    p.setPen(kTinta);
    textos.dibujar(p, g.cajaLeyendaBajo, Qt::AlignLeft | Qt::AlignVCenter, g.leyendaBajo);
    textos.dibujar(p, g.cajaLeyendaAlto, Qt::AlignLeft | Qt::AlignVCenter, g.leyendaAlto);
    QFont negrita = font();
    negrita.setBold(true);
    p.setFont(negrita);
    textos.dibujar(p, g.cajaBase, Qt::AlignCenter, g.textoBase);
    p.setFont(font());

    // Only the rows in the area to paint: laying their texts out is most of
    // the painting, and the chart is mostly scrolled out of view.
    const QRectF area(e->rect());
    for (size_t k = 0; k < g.barras.size(); ++k) {
        const BarraTornado &b = g.barras[k];
        if (!b.fila.intersects(area))
            continue;
        if (k % 2 == 1)
            p.fillRect(b.fila, kFilaAlterna);
        p.setPen(kTinta);
        textos.dibujar(p, b.cajaEtiqueta, Qt::AlignRight | Qt::AlignVCenter, b.etiqueta);
        // The longer bar first, so that a shorter one on the same side shows over it.
        const bool bajoPrimero = b.bajo.barra.width() >= b.alto.barra.width();
        for (const LadoTornado *l : bajoPrimero ? std::array{&b.bajo, &b.alto} : std::array{&b.alto, &b.bajo})
            if (!l->barra.isEmpty())
                p.fillRect(l->barra, l == &b.bajo ? kColorBajo : kColorAlto);
        for (const LadoTornado *l : {&b.bajo, &b.alto}) {
            if (l->texto.isEmpty())
                continue;
            p.setPen(l->posible ? kTinta : kColorNoPosible);
            textos.dibujar(p, l->caja, Qt::AlignCenter, l->texto);
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
