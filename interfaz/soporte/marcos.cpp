#include "interfaz/soporte/marcos.h"

#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

#include <map>
#include <tuple>

namespace pelmora {

namespace {

// Fusion keeps this much of its picture unstretched on each side.
constexpr int kBorde = 6;
// Wide enough for both borders and an inside.
constexpr int kAnchoTira = 2 * kBorde + 4;
// Rows the painter blends at once without handing them to other threads
// (it shares out spans of 96 rows or more).
constexpr int kAltoBanda = 64;
// The least inside drawn from a strip: there the style stretches every
// piece of its picture (one drawn at its size, or shrunk, would be blended
// with another rounding). Smaller boxes are drawn by the style itself.
constexpr QSize kMinimoDentro(128, 64);

// A strip of the frame as the style draws it for a box of one height (and
// font and kind), over nothing: where the frame starts, and when its
// middle columns are alike in every row and its inside is one even colour,
// the strip itself and that colour.
struct Marco {
    int arriba = 0;
    QImage tira;  // null when the frame cannot be drawn from it
    QColor tinte; // the inside's colour
};

QRgb guardado(const QImage &im, int x, int y) { return reinterpret_cast<const QRgb *>(im.constScanLine(y))[x]; }

// Every column of the strip's middle as the first, every row of its sides
// beside the inside as the first, and the inside as tinte.
bool medioParejo(const QImage &tira, const QRect &dentro, QRgb tinte)
{
    for (int y = 0; y < tira.height(); ++y)
        for (int x = kBorde + 1; x < kAnchoTira - kBorde; ++x)
            if (guardado(tira, x, y) != guardado(tira, kBorde, y))
                return false;
    for (int y = dentro.top(); y <= dentro.bottom(); ++y)
        for (int x = 0; x < kAnchoTira; ++x)
            if (guardado(tira, x, y) != guardado(tira, x, dentro.top()))
                return false;
    if (guardado(tira, kBorde, dentro.top()) != tinte)
        return false;
    // Exact only where the colour needs no rounding to premultiply.
    return qPremultiply(qUnpremultiply(tinte)) == tinte;
}

Marco medirMarco(const QStyle *estilo, const QStyleOption *o, const QWidget *w)
{
    using Clave = std::tuple<QString, int, int, bool, bool>;
    static std::map<Clave, Marco> medidos;
    const auto *caja = qobject_cast<const QGroupBox *>(w);
    const Clave clave{estilo->name(), o->rect.height(), o->fontMetrics.height(), caja && caja->title().isEmpty(),
                      caja && caja->isCheckable()};
    if (auto it = medidos.find(clave); it != medidos.end())
        return it->second;

    Marco m;
    const int alto = o->rect.height();
    if (alto > 0) {
        QImage tira(kAnchoTira, alto, QImage::Format_ARGB32_Premultiplied);
        tira.fill(Qt::transparent);
        QStyleOption muestra(*o);
        muestra.rect = QRect(0, 0, kAnchoTira, alto);
        {
            QPainter p(&tira);
            estilo->drawPrimitive(QStyle::PE_FrameGroupBox, &muestra, &p, w);
        }
        int y = 0;
        while (y < alto && qAlpha(tira.pixel(kAnchoTira / 2, y)) == 0)
            ++y;
        m.arriba = std::max(0, y - 1);
        const QRect dentro = QRect(0, m.arriba, kAnchoTira, alto - m.arriba).adjusted(kBorde, kBorde, -kBorde, -kBorde);
        if (y < alto && !dentro.isEmpty() && medioParejo(tira, dentro, guardado(tira, kBorde, dentro.top()))) {
            m.tinte = QColor::fromRgba(qUnpremultiply(guardado(tira, kBorde, dentro.top())));
            m.tira = tira;
        }
    }
    return medidos.emplace(clave, m).first->second;
}

class EstiloMarcos : public QProxyStyle {
public:
    EstiloMarcos() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    void drawPrimitive(PrimitiveElement e, const QStyleOption *o, QPainter *p, const QWidget *w) const override
    {
        if (e != PE_FrameGroupBox || !mismosPixeles(p)) {
            QProxyStyle::drawPrimitive(e, o, p, w);
            return;
        }
        const Marco m = medirMarco(baseStyle(), o, w);
        const QRect &r = o->rect;
        const QRect dentro = r.adjusted(kBorde, m.arriba + kBorde, -kBorde, -kBorde);
        if (m.tira.isNull() || dentro.width() < kMinimoDentro.width() || dentro.height() < kMinimoDentro.height()) {
            QProxyStyle::drawPrimitive(e, o, p, w);
            return;
        }
        // The corners as they are in the strip; the edges stretched from one
        // row or column of it, as the style stretches its picture, the sides
        // in bands short enough for the painter to blend them at once (it
        // hands taller ones to its worker threads and waits for them); the
        // inside filled.
        const int alto = r.height(), ancho = r.width() - 2 * kBorde;
        const int derecha = r.right() + 1 - kBorde, abajo = r.bottom() + 1 - kBorde, y0 = r.top() + m.arriba;
        const int derechaTira = kAnchoTira - kBorde, abajoTira = alto - kBorde;
        p->drawImage(QPoint(r.left(), y0), m.tira, QRect(0, m.arriba, kBorde, kBorde));
        p->drawImage(QPoint(derecha, y0), m.tira, QRect(derechaTira, m.arriba, kBorde, kBorde));
        p->drawImage(QPoint(r.left(), abajo), m.tira, QRect(0, abajoTira, kBorde, kBorde));
        p->drawImage(QPoint(derecha, abajo), m.tira, QRect(derechaTira, abajoTira, kBorde, kBorde));
        p->drawImage(QRect(r.left() + kBorde, y0, ancho, kBorde), m.tira, QRect(kBorde, m.arriba, 1, kBorde));
        p->drawImage(QRect(r.left() + kBorde, abajo, ancho, kBorde), m.tira, QRect(kBorde, abajoTira, 1, kBorde));
        const int filaLado = m.arriba + kBorde;
        for (int y = dentro.top(), n = 0; y <= dentro.bottom(); y += n) {
            // A band of one row would be a plain copy, which rounds its
            // blend otherwise than a stretch.
            const int resto = dentro.bottom() + 1 - y;
            n = std::min(kAltoBanda, resto) - (resto == kAltoBanda + 1 ? 1 : 0);
            p->drawImage(QRect(r.left(), y, kBorde, n), m.tira, QRect(0, filaLado, kBorde, 1));
            p->drawImage(QRect(derecha, y, kBorde, n), m.tira, QRect(derechaTira, filaLado, kBorde, 1));
        }
        p->fillRect(dentro, m.tinte);
    }

private:
    // Drawn from the strip pixel for pixel: no scaling, no rotation.
    static bool mismosPixeles(const QPainter *p)
    {
        const QPaintDevice *d = p->device();
        return p->transform().type() <= QTransform::TxTranslate && (!d || d->devicePixelRatio() == 1.0);
    }
};

} // namespace

int arribaDelMarco(const QStyle *estilo, const QStyleOption *opcion, const QWidget *widget)
{
    return medirMarco(estilo, opcion, widget).arriba;
}

QStyle *estiloMarcos()
{
    // Goes with the application; the boxes that use it hold it weakly.
    static QPointer<QStyle> estilo;
    QStyle *app = QApplication::style();
    if (!app || app->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
        return nullptr;
    if (!estilo) {
        estilo = new EstiloMarcos;
        estilo->setParent(qApp);
    }
    return estilo;
}

void ponerEstiloMarcos(QGroupBox *caja)
{
    if (QStyle *estilo = estiloMarcos())
        caja->setStyle(estilo);
}

} // namespace pelmora
