#include "interfaz/analisis/barras.h"

#include "entrada/numeros.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace pelmora {

namespace {

constexpr double kMargen = 6;
constexpr double kHueco = 6;
const QColor kPapel(Qt::white);
const QColor kTinta(Qt::black);
const QColor kRejilla(215, 215, 215);

// A round step for about cinco marks up to maximo: 1, 2, 2.5 or 5 times a
// power of ten.
double pasoRedondo(double maximo)
{
    if (!(maximo > 0))
        return 1;
    const double bruto = maximo / 5;
    const double potencia = std::pow(10.0, std::floor(std::log10(bruto)));
    for (double f : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (f * potencia >= bruto)
            return f * potencia;
    return 10 * potencia;
}

// Light texts on dark colours, dark texts on light ones.
QColor textoSobre(const QColor &c)
{
    const double luz = 0.299 * c.redF() + 0.587 * c.greenF() + 0.114 * c.blueF();
    return luz < 0.5 ? QColor(Qt::white) : QColor(Qt::black);
}

// A name on at most two lines of a width: broken at a blank where it can be,
// the rest cut short with "…".
QString dosLineas(const QFontMetricsF &fm, const QString &texto, double ancho)
{
    if (fm.horizontalAdvance(texto) <= ancho)
        return texto;
    const QStringList palabras = texto.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QString primera;
    int k = 0;
    for (; k < palabras.size(); ++k) {
        const QString prueba = primera.isEmpty() ? palabras[k] : primera + QLatin1Char(' ') + palabras[k];
        if (fm.horizontalAdvance(prueba) > ancho)
            break;
        primera = prueba;
    }
    if (primera.isEmpty())
        return fm.elidedText(texto, Qt::ElideRight, ancho);
    return primera + QLatin1Char('\n') + fm.elidedText(palabras.mid(k).join(QLatin1Char(' ')), Qt::ElideRight, ancho);
}

} // namespace

namespace {

// The vertical scale: marks every paso up to tope.
struct Escala {
    double paso = 20;
    double tope = 100;
    int decimales = 0;
};

Escala escala(const std::vector<ColumnaBarras> &columnas, bool importes)
{
    // Shares end at 100 (their rounding may add up to a little more).
    if (!importes)
        return {};
    double maximo = 0;
    for (const ColumnaBarras &c : columnas) {
        double suma = 0;
        for (const PorcionTarta &p : kPorcionesTarta)
            suma += std::max(0.0, cifra(c.resultados, p.cuota - 20));
        maximo = std::max(maximo, suma);
    }
    Escala e;
    e.paso = pasoRedondo(maximo);
    e.tope = std::max(e.paso, std::ceil(maximo / e.paso - 1e-9) * e.paso);
    e.decimales = e.paso < 1 ? 1 : 0;
    return e;
}

// The legend from the top of the plot, in the order the items stack from
// the bottom.
void leyenda(GeometriaBarras &g, double x, const QFontMetricsF &fm)
{
    const double linea = fm.height(), lado = std::floor(linea * 0.8);
    for (int p = 0; p < kSectoresTarta; ++p) {
        const PorcionTarta &porcion = kPorcionesTarta[size_t(p)];
        ElementoLeyenda e;
        const double y = g.trazado.top() + (linea + 3) * p;
        e.muestra = QRectF(x, y + (linea - lado) / 2, 2 * lado, lado);
        e.texto = QString::fromUtf8(porcion.leyenda);
        e.caja = QRectF(e.muestra.right() + kHueco, y, fm.horizontalAdvance(e.texto), linea);
        e.color = porcion.color;
        g.leyenda.push_back(e);
    }
}

// One bar in its slot of the plot [izquierda, izquierda + ancho).
BarraApilada apilar(const ColumnaBarras &c, bool importes, double izquierda, double ancho, const Escala &e,
                    const QRectF &trazado, const QFontMetricsF &fm)
{
    const double linea = fm.height();
    auto yDe = [&](double v) { return trazado.bottom() - std::min(v, e.tope) / e.tope * trazado.height(); };
    const double centro = izquierda + ancho / 2;
    const double anchoBarra = std::min(ancho * 0.6, 6 * linea);
    const double x = centro - anchoBarra / 2;
    BarraApilada b;
    // Names a blank apart at least.
    const double anchoNombre = std::max(1.0, ancho - fm.horizontalAdvance(QLatin1Char(' ')) - 4);
    b.nombre = dosLineas(fm, c.nombre, anchoNombre);
    b.cajaNombre = QRectF(centro - anchoNombre / 2, trazado.bottom() + 4, anchoNombre, 2 * linea);
    double acumulado = 0;
    for (int p = 0; p < kSectoresTarta; ++p) {
        const PorcionTarta &porcion = kPorcionesTarta[size_t(p)];
        SegmentoBarra s;
        s.porcion = p;
        s.color = porcion.color;
        s.valor = std::max(0.0, cifra(c.resultados, importes ? porcion.cuota - 20 : porcion.cuota));
        s.caja = QRectF(QPointF(x, yDe(acumulado + s.valor)), QPointF(x + anchoBarra, yDe(acumulado)));
        acumulado += s.valor;
        // Its share inside, where there is room for it.
        const QString cuota = FormatearNumero(Valor(cifra(c.resultados, porcion.cuota)), 1, true) + QStringLiteral(" %");
        if (s.caja.height() >= linea && fm.horizontalAdvance(cuota) + 4 <= s.caja.width()) {
            s.texto = cuota;
            s.colorTexto = textoSobre(s.color);
        }
        b.segmentos.push_back(s);
    }
    b.total = FormatearNumero(Valor(cifra(c.resultados, Res::Totales)), 0, true) + QStringLiteral(" €");
    const double anchoTotal = fm.horizontalAdvance(b.total);
    if (anchoTotal <= ancho - 4)
        b.cajaTotal = QRectF(centro - anchoTotal / 2, yDe(acumulado) - linea - 2, anchoTotal, linea);
    else
        b.total.clear(); // the table has it
    return b;
}

} // namespace

GeometriaBarras disponerBarras(const std::vector<ColumnaBarras> &columnas, bool importes, QSizeF tamano,
                               const QFont &letra)
{
    const QFontMetricsF fm(letra);
    const double linea = fm.height();
    GeometriaBarras g;
    g.tamano = tamano;

    // The legend on the right, the marks on the left, the unit over them.
    double anchoLeyenda = 0;
    for (const PorcionTarta &p : kPorcionesTarta)
        anchoLeyenda = std::max(anchoLeyenda, fm.horizontalAdvance(QString::fromUtf8(p.leyenda)));
    anchoLeyenda += 2 * std::floor(linea * 0.8) + kHueco;
    const double xLeyenda = tamano.width() - kMargen - anchoLeyenda;
    const Escala e = escala(columnas, importes);
    double anchoMarcas = 0;
    for (double v = 0; v <= e.tope + e.paso / 2; v += e.paso)
        anchoMarcas = std::max(anchoMarcas, fm.horizontalAdvance(FormatearNumero(Valor(v), e.decimales, true)));
    g.unidad = importes ? QStringLiteral("€/año") : QStringLiteral("% del coste total anual");
    g.cajaUnidad = QRectF(kMargen, kMargen, fm.horizontalAdvance(g.unidad), linea);

    const double arriba = g.cajaUnidad.bottom() + linea + 8;        // room for the totals
    const double abajo = tamano.height() - kMargen - 2 * linea - 6; // names of two lines below
    const double izquierda = kMargen + anchoMarcas + kHueco;
    const double derecha = std::max(izquierda + 1, xLeyenda - 2 * kHueco);
    g.trazado = QRectF(QPointF(izquierda, arriba), QPointF(derecha, std::max(arriba + 1, abajo)));
    for (double v = 0; v <= e.tope + e.paso / 2; v += e.paso) {
        MarcaEje m;
        m.y = g.trazado.bottom() - v / e.tope * g.trazado.height();
        m.texto = FormatearNumero(Valor(v), e.decimales, true);
        m.caja = QRectF(kMargen, m.y - linea / 2, anchoMarcas, linea);
        g.marcas.push_back(m);
    }
    const double anchoHueco = g.trazado.width() / double(std::max<size_t>(1, columnas.size()));
    for (size_t k = 0; k < columnas.size(); ++k)
        g.barras.push_back(
            apilar(columnas[k], importes, g.trazado.left() + anchoHueco * double(k), anchoHueco, e, g.trazado, fm));
    leyenda(g, xLeyenda, fm);
    return g;
}

GraficoBarras::GraficoBarras(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picEstructura"));
    setAccessibleName(QStringLiteral("Gráfico de la estructura de costes"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, kPapel);
    p.setColor(QPalette::WindowText, kTinta);
    setPalette(p);
}

void GraficoBarras::mostrar(std::vector<ColumnaBarras> columnas, bool importes)
{
    columnas_ = std::move(columnas);
    importes_ = importes;
    disponer();
    // What the bars say, for a screen reader: each total and its items.
    QStringList descripcion;
    for (const ColumnaBarras &c : columnas_) {
        QStringList partes;
        for (const PorcionTarta &p : kPorcionesTarta)
            partes << QString::fromUtf8(p.leyenda) + QStringLiteral(" ") +
                          FormatearNumero(Valor(cifra(c.resultados, p.cuota)), 1, true) + QStringLiteral(" %");
        descripcion << c.nombre + QStringLiteral(": ") +
                           FormatearNumero(Valor(cifra(c.resultados, Res::Totales)), 0, true) +
                           QStringLiteral(" €; ") + partes.join(QStringLiteral(", "));
    }
    setAccessibleDescription(descripcion.join(QLatin1Char('\n')));
    update();
}

void GraficoBarras::disponer() { geometria_ = disponerBarras(columnas_, importes_, QSizeF(size()), font()); }

void GraficoBarras::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    disponer();
}

void GraficoBarras::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), kPapel);
    p.setFont(font());
    const GeometriaBarras &g = geometria_;
    if (g.barras.empty())
        return;
    p.setPen(kTinta);
    p.drawText(g.cajaUnidad, Qt::AlignLeft | Qt::AlignVCenter, g.unidad);
    for (const MarcaEje &m : g.marcas) {
        p.setPen(QPen(kRejilla, 0));
        p.drawLine(QPointF(g.trazado.left(), m.y), QPointF(g.trazado.right(), m.y));
        p.setPen(kTinta);
        p.drawText(m.caja, Qt::AlignRight | Qt::AlignVCenter, m.texto);
    }
    for (const BarraApilada &b : g.barras) {
        for (const SegmentoBarra &s : b.segmentos) {
            if (s.caja.height() <= 0)
                continue;
            p.fillRect(s.caja, s.color);
            if (!s.texto.isEmpty()) {
                p.setPen(s.colorTexto);
                p.drawText(s.caja, Qt::AlignCenter, s.texto);
            }
        }
        p.setPen(kTinta);
        p.drawText(b.cajaNombre, Qt::AlignHCenter | Qt::AlignTop, b.nombre);
        if (!b.total.isEmpty())
            p.drawText(b.cajaTotal, Qt::AlignCenter, b.total);
    }
    p.setPen(QPen(kTinta, 0));
    p.drawLine(g.trazado.bottomLeft(), g.trazado.bottomRight());
    for (const ElementoLeyenda &e : g.leyenda) {
        p.fillRect(e.muestra, e.color);
        p.setPen(kTinta);
        p.drawText(e.caja, Qt::AlignLeft | Qt::AlignVCenter, e.texto);
    }
}

} // namespace pelmora
