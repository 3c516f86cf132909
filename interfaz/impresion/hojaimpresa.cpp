#include "interfaz/impresion/hojaimpresa.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace pelmora {

namespace {

constexpr double kRelleno = 4;   // inside a cell, left and right
constexpr double kRellenoV = 2;  // inside a cell, above and below
constexpr int kMargen = 0;       // the page widget is the printable area already
constexpr int kEntreBloques = 12;
const QColor kPapel(Qt::white);
const QColor kTinta(Qt::black);
const QColor kFondoCabecera(225, 225, 225);
const QColor kRaya(150, 150, 150);

constexpr int kBanderasTexto = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;

QFont letraTabla(const QFont &base, bool negrita)
{
    QFont f = base;
    f.setBold(negrita);
    return f;
}

// The widest word of a text: the least a wrapped column can take.
double palabraMasAncha(const QFontMetricsF &fm, const QString &texto)
{
    double r = 0;
    for (const QString &p : QString(texto).replace(QLatin1Char('\n'), QLatin1Char(' ')).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        r = std::max(r, fm.horizontalAdvance(p));
    return r;
}

// The width of a text on one line, or of its longest line.
double anchoLineas(const QFontMetricsF &fm, const QString &texto)
{
    double r = 0;
    for (const QString &l : texto.split(QLatin1Char('\n')))
        r = std::max(r, fm.horizontalAdvance(l));
    return r;
}

void fijarPapel(QWidget *w)
{
    QPalette p = w->palette();
    for (auto g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(g, QPalette::Window, kPapel);
        p.setColor(g, QPalette::Base, kPapel);
        p.setColor(g, QPalette::WindowText, kTinta);
        p.setColor(g, QPalette::Text, kTinta);
    }
    w->setPalette(p);
}

} // namespace

// ---- Table --------------------------------------------------------------------

TablaImpresa::TablaImpresa(const TablaTexto &tabla, QWidget *parent, std::vector<double> anchos)
    : QWidget(parent), tabla_(tabla), anchosFijos_(std::move(anchos))
{
    tabla_.numerica.resize(size_t(tabla_.cabecera.size()), false);
    fijarPapel(this);
}

std::vector<double> TablaImpresa::anchos(int ancho) const
{
    const int n = int(tabla_.cabecera.size());
    if (int(anchosFijos_.size()) == n)
        return anchosFijos_;
    const QFontMetricsF fm(letraTabla(font(), false)), fmC(letraTabla(font(), true));
    std::vector<double> natural(static_cast<size_t>(n), 0), minimo(static_cast<size_t>(n), 0);
    for (int k = 0; k < n; ++k) {
        // A heading wraps at its blanks; a figure never does.
        minimo[k] = palabraMasAncha(fmC, tabla_.cabecera[k]);
        natural[k] = anchoLineas(fmC, tabla_.cabecera[k]);
        for (const QStringList &f : tabla_.filas) {
            const QString t = f.value(k);
            natural[k] = std::max(natural[k], anchoLineas(fm, t));
            minimo[k] = std::max(minimo[k], tabla_.numerica[k] ? anchoLineas(fm, t) : palabraMasAncha(fm, t));
        }
        natural[k] += 2 * kRelleno;
        minimo[k] += 2 * kRelleno;
    }
    const double suma = std::accumulate(natural.begin(), natural.end(), 0.0);
    if (suma <= ancho) {
        // Room to spare goes to every column alike.
        const double extra = (ancho - suma) / std::max(1, n);
        for (double &a : natural)
            a += extra;
        return natural;
    }
    // Too wide: the columns that can wrap give up what they have beyond
    // their least, in proportion, until it fits (or all are at their least).
    const double fijo = std::accumulate(minimo.begin(), minimo.end(), 0.0);
    const double flexible = suma - fijo;
    const double sobra = std::max(0.0, ancho - fijo);
    std::vector<double> r(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k)
        r[k] = minimo[k] + (flexible > 0 ? (natural[k] - minimo[k]) * sobra / flexible : 0);
    return r;
}

std::vector<double> TablaImpresa::altos(const std::vector<double> &anchos) const
{
    const QFontMetricsF fm(letraTabla(font(), false)), fmC(letraTabla(font(), true));
    auto alto = [&](const QStringList &fila, const QFontMetricsF &m) {
        double h = m.height();
        for (int k = 0; k < int(anchos.size()); ++k) {
            const QRectF caja(0, 0, std::max(1.0, anchos[k] - 2 * kRelleno), 1e6);
            h = std::max(h, m.boundingRect(caja, kBanderasTexto, fila.value(k)).height());
        }
        return h + 2 * kRellenoV;
    };
    std::vector<double> r = {alto(tabla_.cabecera, fmC)};
    for (const QStringList &f : tabla_.filas)
        r.push_back(alto(f, fm));
    return r;
}

int TablaImpresa::heightForWidth(int ancho) const
{
    const std::vector<double> h = altos(anchos(ancho));
    return int(std::ceil(std::accumulate(h.begin(), h.end(), 0.0))) + 1;
}

void TablaImpresa::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const std::vector<double> a = anchos(width());
    const std::vector<double> h = altos(a);
    const double total = std::accumulate(a.begin(), a.end(), 0.0);
    p.fillRect(rect(), kPapel);
    p.fillRect(QRectF(0, 0, total, h[0]), kFondoCabecera);
    double y = 0;
    for (size_t f = 0; f < h.size(); ++f) {
        const QStringList &fila = f == 0 ? tabla_.cabecera : tabla_.filas[f - 1];
        p.setFont(letraTabla(font(), f == 0));
        p.setPen(kTinta);
        double x = 0;
        for (size_t k = 0; k < a.size(); ++k) {
            const QRectF caja(x + kRelleno, y + kRellenoV, a[k] - 2 * kRelleno, h[f] - 2 * kRellenoV);
            const bool derecha = tabla_.numerica[k] && f > 0;
            p.drawText(caja, Qt::TextWordWrap | Qt::AlignTop | (derecha ? Qt::AlignRight : Qt::AlignLeft),
                       fila.value(int(k)));
            x += a[k];
        }
        y += h[f];
        p.setPen(QPen(kRaya, 0));
        p.drawLine(QPointF(0, y), QPointF(total, y));
    }
    p.drawLine(QPointF(0, 0), QPointF(total, 0));
}

// ---- Page ---------------------------------------------------------------------

HojaImpresa::HojaImpresa(const QString &titulo, const QString &subtitulo, QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_DontShowOnScreen);
    setFixedSize(kAnchoHoja, kAltoHoja);
    setAutoFillBackground(true);
    fijarPapel(this);
    QFont letra = QApplication::font();
    letra.setPointSizeF(8);
    setFont(letra);

    abajo_ = kMargen;
    auto linea = [this](const QString &texto, double puntos, bool negrita, const QString &nombre) {
        auto *l = new QLabel(texto, this);
        l->setObjectName(nombre);
        QFont f = font();
        f.setPointSizeF(puntos);
        f.setBold(negrita);
        l->setFont(f);
        l->setWordWrap(true);
        l->setGeometry(kMargen, abajo_, width() - 2 * kMargen, l->heightForWidth(width() - 2 * kMargen));
        abajo_ += l->height();
    };
    linea(titulo, 13, true, QStringLiteral("lblTituloHoja"));
    if (!subtitulo.isEmpty())
        linea(subtitulo, 9, false, QStringLiteral("lblSubtituloHoja"));
    auto *raya = new QFrame(this);
    raya->setFrameShape(QFrame::HLine);
    raya->setGeometry(kMargen, abajo_ + 3, width() - 2 * kMargen, 1);
    abajo_ += kEntreBloques;
}

void HojaImpresa::anadir(QWidget *bloque, int alto)
{
    bloque->setParent(this);
    const int ancho = width() - 2 * kMargen;
    if (alto < 0)
        alto = bloque->hasHeightForWidth() ? bloque->heightForWidth(ancho) : bloque->sizeHint().height();
    bloque->setGeometry(kMargen, abajo_, ancho, alto);
    abajo_ += alto + kEntreBloques;
}

int HojaImpresa::altoLibre() const { return height() - kMargen - abajo_; }

QList<QWidget *> paginasTabla(const QString &titulo, const QString &subtitulo, const TablaTexto &tabla,
                              HojaImpresa *primera)
{
    QList<QWidget *> paginas;
    HojaImpresa *hoja = primera ? primera : new HojaImpresa(titulo, subtitulo);
    // The columns and the rows measured once, on the page's font.
    auto *medida = new TablaImpresa(tabla, hoja);
    const std::vector<double> anchos = medida->anchos(hoja->width() - 2 * kMargen);
    const std::vector<double> altos = medida->altos(anchos);
    delete medida;

    // A page whose blocks leave no room for a row goes out as it is.
    if (primera && !tabla.filas.empty() && altos[0] + altos[1] + 1 > primera->altoLibre()) {
        paginas << primera;
        hoja = new HojaImpresa(titulo, subtitulo);
    }
    size_t fila = 0;
    for (;;) {
        TablaTexto trozo{tabla.cabecera, {}, tabla.numerica};
        double usado = altos[0] + 1;
        // At least one row a page, so that a table always ends.
        while (fila < tabla.filas.size() && (trozo.filas.empty() || usado + altos[fila + 1] <= hoja->altoLibre())) {
            usado += altos[fila + 1];
            trozo.filas.push_back(tabla.filas[fila++]);
        }
        hoja->anadir(new TablaImpresa(trozo, hoja, anchos));
        paginas << hoja;
        if (fila >= tabla.filas.size())
            return paginas;
        hoja = new HojaImpresa(titulo, subtitulo + (subtitulo.isEmpty() ? QString() : QStringLiteral(" ")) +
                                           QStringLiteral("(continuación)"));
    }
}

} // namespace pelmora
