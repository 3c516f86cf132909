#include "interfaz/soporte/marcos.h"

#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

#include <cmath>
#include <map>
#include <optional>
#include <span>
#include <tuple>
#include <vector>

namespace pelmora {

namespace {

// Fusion keeps this much of its picture unstretched on each side.
constexpr int kBorde = 6;
// Wide enough for both borders and an inside.
constexpr int kAnchoTira = 2 * kBorde + 4;
// Rows of device pixels the painter blends in one go: from 96 rows up it
// hands a blend in pieces to other threads and waits for them, which costs
// more than the blend (every tall side of a frame was one).
constexpr int kFilasSeguidas = 95;

// Fills r as one fill clipped to bands of at most kFilasSeguidas device
// rows, each blended at once (the clip only leaves out what the other bands
// fill, so the pixels are those of filling at once); in one go when the
// painter is not on whole device pixels.
void rellenarEnFranjas(QPainter *p, const QRect &r, const QColor &color)
{
    const QPaintDevice *d = p->device();
    const double escala = d ? d->devicePixelRatio() : 1.0;
    const int filas = escala == std::round(escala) ? kFilasSeguidas / int(escala) : 0;
    if (filas < 1 || r.height() <= filas || p->transform().type() > QTransform::TxTranslate) {
        p->fillRect(r, color);
        return;
    }
    for (int y = r.top(); y <= r.bottom(); y += filas) {
        p->save();
        p->setClipRect(QRect(r.left(), y, r.width(), std::min(filas, r.bottom() + 1 - y)), Qt::IntersectClip);
        p->fillRect(r, color);
        p->restore();
    }
}

// What a strip of the frame tells: where it starts and its inside's tint
// (invalid when the inside is not one even colour); and the strip itself,
// whose sides are the frame's sides at any width.
struct Marco {
    int arriba = 0;
    QColor tinte;
    QImage tira;
};

// A pixel as stored (premultiplied).
QRgb guardado(const QImage &im, int x, int y) { return reinterpret_cast<const QRgb *>(im.constScanLine(y))[x]; }

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
            // As the group box draws its frame; in bands the painter blends
            // at once (the clip leaves the pixels as drawing it whole).
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            for (int y = 0; y < alto; y += kFilasSeguidas) {
                p.setClipRect(QRect(0, y, kAnchoTira, std::min(kFilasSeguidas, alto - y)));
                estilo->drawPrimitive(QStyle::PE_FrameGroupBox, &muestra, &p, w);
            }
        }
        int y = 0;
        while (y < alto && qAlpha(tira.pixel(kAnchoTira / 2, y)) == 0)
            ++y;
        m.arriba = std::max(0, y - 1);
        // The inside as drawn over nothing: its colour as stored, if even
        // and if it reads back exactly as a colour.
        const QRect dentro = QRect(0, m.arriba, kAnchoTira, alto - m.arriba).adjusted(kBorde, kBorde, -kBorde, -kBorde);
        if (y < alto && !dentro.isEmpty()) {
            const QRgb tinte = guardado(tira, dentro.left(), dentro.top());
            bool parejo = qPremultiply(qUnpremultiply(tinte)) == tinte;
            for (int fy = dentro.top(); parejo && fy <= dentro.bottom(); ++fy)
                for (int fx = dentro.left(); parejo && fx <= dentro.right(); ++fx)
                    parejo = guardado(tira, fx, fy) == tinte;
            if (parejo)
                m.tinte = QColor::fromRgba(qUnpremultiply(tinte));
        }
        m.tira = std::move(tira);
    }
    return medidos.emplace(clave, m).first->second;
}

// The colour the painter leaves where it lays the tint over an opaque colour.
QRgb tenido(QRgb fondo, const QColor &tinte)
{
    static std::map<std::pair<QRgb, QRgb>, QRgb> hechos;
    const std::pair<QRgb, QRgb> clave{fondo, tinte.rgba()};
    if (auto it = hechos.find(clave); it != hechos.end())
        return it->second;
    QImage muestra(16, 1, QImage::Format_ARGB32_Premultiplied);
    muestra.fill(fondo);
    {
        QPainter p(&muestra);
        p.fillRect(muestra.rect(), tinte);
    }
    return hechos.emplace(clave, reinterpret_cast<const QRgb *>(muestra.constScanLine(0))[8]).first->second;
}

// The one opaque colour under a widget before it paints, when it is known:
// its own background, when it fills it with an opaque colour. (What its
// parent left there is not: a widget drawn alone, as by grab(), is drawn
// over its own background instead.)
std::optional<QRgb> fondoPropio(const QWidget *w)
{
    if (!w || !w->autoFillBackground())
        return std::nullopt;
    const QBrush &b = w->palette().brush(w->backgroundRole());
    if (b.style() != Qt::SolidPattern || b.color().alpha() != 255)
        return std::nullopt;
    return b.color().rgba();
}

// The one colour, opaque, of every pixel of r in im (a picture of 32-bit
// pixels), if there is one: the stored pixel.
std::optional<QRgb> colorParejo(const QImage &im, const QRect &r)
{
    const bool formato = im.format() == QImage::Format_RGB32 || im.format() == QImage::Format_ARGB32_Premultiplied;
    if (!formato || r.isEmpty() || !im.rect().contains(r))
        return std::nullopt;
    const QRgb c = reinterpret_cast<const QRgb *>(im.constScanLine(r.top()))[r.left()];
    if (qAlpha(c) != 255)
        return std::nullopt;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const QRgb *fila = reinterpret_cast<const QRgb *>(im.constScanLine(y));
        for (int x = r.left(); x <= r.right(); ++x)
            if (fila[x] != c)
                return std::nullopt;
    }
    return c;
}

// What a line edit's panel is drawn from: its size, state and frame, every
// colour of its palette, and the colour and kind of picture under it.
// Empty when a brush of the palette is not one plain colour.
std::vector<quint32> claveCampo(const QStyleOptionFrame &o, QImage::Format formato, QRgb fondo)
{
    std::vector<quint32> clave{quint32(o.rect.width()), quint32(o.rect.height()), quint32(o.state.toInt()),
                               quint32(o.direction), quint32(o.lineWidth), quint32(o.midLineWidth),
                               quint32(o.features.toInt()), quint32(o.frameShape), quint32(formato), fondo};
    for (int g = 0; g < QPalette::NColorGroups; ++g)
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const QBrush &b = o.palette.brush(QPalette::ColorGroup(g), QPalette::ColorRole(r));
            if (b.style() != Qt::SolidPattern && b.style() != Qt::NoBrush)
                return {};
            clave.push_back(b.color().rgba());
        }
    return clave;
}

class EstiloMarcos : public QProxyStyle {
public:
    EstiloMarcos() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    void drawPrimitive(PrimitiveElement e, const QStyleOption *o, QPainter *p, const QWidget *w) const override
    {
        if (e == PE_PanelLineEdit && campoCopiado(o, p, w))
            return;
        if (e != PE_FrameGroupBox || !mismosPixeles(p)) {
            QProxyStyle::drawPrimitive(e, o, p, w);
            return;
        }
        const Marco m = medirMarco(baseStyle(), o, w);
        const QRect dentro = o->rect.adjusted(kBorde, m.arriba + kBorde, -kBorde, -kBorde);
        if (!m.tinte.isValid() || dentro.isEmpty()) {
            QProxyStyle::drawPrimitive(e, o, p, w);
            return;
        }
        // The border in four bands around the inside, each a plain
        // rectangle to clip to: the painter drops the stretched inside at
        // once, where a clip with a hole would test it line by line.
        const QRect &r = o->rect;
        const QRect bandas[] = {QRect(r.left(), r.top(), r.width(), dentro.top() - r.top()),
                                QRect(r.left(), dentro.bottom() + 1, r.width(), r.bottom() - dentro.bottom()),
                                QRect(r.left(), dentro.top(), dentro.left() - r.left(), dentro.height()),
                                QRect(dentro.right() + 1, dentro.top(), r.right() - dentro.right(), dentro.height())};
        // The sides are the strip's, copied where they can be: drawn, each
        // would be one tall stretched picture, which the painter hands in
        // pieces to other threads and waits for.
        const bool copiarLados = copiaExacta(p) && m.tira.height() == r.height();
        for (const QRect &banda : copiarLados ? std::span(bandas, 2) : std::span(bandas)) {
            p->save();
            p->setClipRect(banda, Qt::IntersectClip);
            QProxyStyle::drawPrimitive(e, o, p, w);
            p->restore();
        }
        if (copiarLados) {
            // Copied pixel for pixel, smoothing has nothing to do; without
            // it the painter copies at once.
            p->save();
            p->setRenderHint(QPainter::SmoothPixmapTransform, false);
            const int y = dentro.top() - r.top();
            p->drawImage(bandas[2].topLeft(), m.tira, QRect(0, y, kBorde, dentro.height()));
            p->drawImage(bandas[3].topLeft(), m.tira, QRect(kAnchoTira - kBorde, y, kBorde, dentro.height()));
            p->restore();
        }
        // Over a known opaque colour the tinted inside is one opaque colour
        // too, filled at once; else the tint is laid over what is there.
        const std::optional<QRgb> fondo = fondoPropio(w);
        rellenarEnFranjas(p, dentro, fondo ? QColor::fromRgb(tenido(*fondo, m.tinte)) : m.tinte);
    }

private:
    // A line edit's panel, Fusion's rounded and anti-aliased edge around
    // its base, is drawn anew for every box at every paint: most of the
    // painting of a form. Over one opaque colour it comes out the same for
    // every box of one size, state and palette, so it is drawn once over
    // that colour and copied (on screen the box's parent has just filled
    // what is under it). False when drawn some other way: over anything but
    // one colour, or not plainly onto a picture.
    bool campoCopiado(const QStyleOption *o, QPainter *p, const QWidget *w) const
    {
        const auto *panel = qstyleoption_cast<const QStyleOptionFrame *>(o);
        QPaintEngine *motor = p->paintEngine();
        if (!panel || !plano(p) || !motor || !motor->paintDevice() || motor->paintDevice()->devType() != QInternal::Image)
            return false;
        const QImage &destino = *static_cast<const QImage *>(motor->paintDevice());
        const QPoint origen(int(p->deviceTransform().dx()), int(p->deviceTransform().dy()));
        const std::optional<QRgb> fondo = colorParejo(destino, o->rect.translated(origen));
        if (!fondo)
            return false;
        std::vector<quint32> clave = claveCampo(*panel, destino.format(), *fondo);
        if (clave.empty())
            return false;
        if (campos_.size() >= 64)
            campos_.clear();
        auto [it, nuevo] = campos_.try_emplace(std::move(clave));
        if (nuevo) {
            QImage &im = it->second;
            im = QImage(o->rect.size(), destino.format());
            im.fill(*fondo);
            QStyleOptionFrame copia(*panel);
            copia.rect = im.rect();
            QPainter q(&im);
            QProxyStyle::drawPrimitive(PE_PanelLineEdit, &copia, &q, w);
        }
        p->drawImage(o->rect.topLeft(), it->second);
        return true;
    }

    // Drawn one device pixel a pixel, on whole pixels, laid plainly over,
    // with a fresh painter's hints, by the painter that draws on pictures.
    static bool plano(const QPainter *p)
    {
        static const QPainter::RenderHints frescas = [] {
            QImage im(1, 1, QImage::Format_ARGB32_Premultiplied);
            return QPainter(&im).renderHints();
        }();
        const QPaintDevice *d = p->device();
        const QTransform &t = p->deviceTransform();
        const QPaintEngine *motor = p->paintEngine();
        return d && d->devicePixelRatio() == 1.0 && t.type() <= QTransform::TxTranslate && t.dx() == std::round(t.dx())
               && t.dy() == std::round(t.dy()) && p->opacity() == 1.0
               && p->compositionMode() == QPainter::CompositionMode_SourceOver && p->renderHints() == frescas && motor
               && motor->type() == QPaintEngine::Raster;
    }

    mutable std::map<std::vector<quint32>, QImage> campos_;

    // The inside and the border meet on whole device pixels: no scaling
    // other than by a whole factor, no rotation.
    static bool mismosPixeles(const QPainter *p)
    {
        const QPaintDevice *d = p->device();
        const double escala = d ? d->devicePixelRatio() : 1.0;
        return p->transform().type() <= QTransform::TxTranslate && escala == std::round(escala);
    }

    // A picture drawn over what is there gives the pixels copying it, as
    // drawn over nothing, gives: one device pixel a pixel, on whole pixels,
    // laid plainly over, within one rectangle at most, and stretched as the
    // strip was (smoothly, as the group box has it).
    static bool copiaExacta(const QPainter *p)
    {
        const QPaintDevice *d = p->device();
        const QTransform &t = p->deviceTransform();
        const QPaintEngine *motor = p->paintEngine();
        return d && d->devicePixelRatio() == 1.0 && t.type() <= QTransform::TxTranslate && t.dx() == std::round(t.dx())
               && t.dy() == std::round(t.dy()) && p->opacity() == 1.0
               && p->compositionMode() == QPainter::CompositionMode_SourceOver
               && p->testRenderHint(QPainter::SmoothPixmapTransform) && !p->testRenderHint(QPainter::Antialiasing) && motor
               && motor->type() == QPaintEngine::Raster && motor->systemClip().rectCount() <= 1
               && (!p->hasClipping() || p->clipRegion().rectCount() <= 1);
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

void ponerEstiloMarcos(QWidget *w)
{
    if (QStyle *estilo = estiloMarcos())
        w->setStyle(estilo);
}

} // namespace pelmora
