#include "interfaz/impresion/reenvio.h"

#include <QPainterPath>

namespace pelmora {

Reenvio::Reenvio(QPainter &destino, const QRect &area) : motor_(destino) { medidas_.setBoundingRect(area); }

int Reenvio::metric(PaintDeviceMetric m) const
{
    // A picture answers these for itself.
    switch (m) {
    case PdmWidth: return medidas_.width();
    case PdmHeight: return medidas_.height();
    case PdmWidthMM: return medidas_.widthMM();
    case PdmHeightMM: return medidas_.heightMM();
    case PdmNumColors: return medidas_.colorCount();
    case PdmDepth: return medidas_.depth();
    case PdmDpiX: return medidas_.logicalDpiX();
    case PdmDpiY: return medidas_.logicalDpiY();
    case PdmPhysicalDpiX: return medidas_.physicalDpiX();
    case PdmPhysicalDpiY: return medidas_.physicalDpiY();
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
    }
    return 0;
}

Reenvio::Motor::Motor(QPainter &destino)
    : QPaintEngine(QPaintEngine::AllFeatures), d_(destino), base_(destino.worldTransform())
{
}

// The clip as it changes, after the transformation it was set under, in the
// order a picture records and plays back its changes; the rest of the state
// (which a painter restoring its state does not always announce to an
// engine like this one) is brought up to date before each drawing.
void Reenvio::Motor::updateState(const QPaintEngineState &e)
{
    const DirtyFlags f = e.state();
    if (f & (DirtyClipEnabled | DirtyClipRegion | DirtyClipPath))
        d_.setWorldTransform(e.transform() * base_);
    if (f & DirtyClipEnabled)
        d_.setClipping(e.isClipEnabled());
    if (f & DirtyClipRegion)
        d_.setClipRegion(e.clipRegion(), e.clipOperation());
    if (f & DirtyClipPath)
        d_.setClipPath(e.clipPath(), e.clipOperation());
}

void Reenvio::Motor::alDia()
{
    const QPaintEngineState &e = *state;
    if (d_.pen() != e.pen())
        d_.setPen(e.pen());
    if (d_.brush() != e.brush())
        d_.setBrush(e.brush());
    if (d_.brushOrigin() != e.brushOrigin())
        d_.setBrushOrigin(e.brushOrigin());
    if (d_.background() != e.backgroundBrush())
        d_.setBackground(e.backgroundBrush());
    if (d_.backgroundMode() != e.backgroundMode())
        d_.setBackgroundMode(e.backgroundMode());
    if (d_.font() != e.font())
        d_.setFont(e.font());
    const QTransform t = e.transform() * base_;
    if (d_.worldTransform() != t)
        d_.setWorldTransform(t);
    if (d_.renderHints() != e.renderHints()) {
        d_.setRenderHints(~QPainter::RenderHints(), false);
        d_.setRenderHints(e.renderHints());
    }
    if (d_.compositionMode() != e.compositionMode())
        d_.setCompositionMode(e.compositionMode());
    if (d_.opacity() != e.opacity())
        d_.setOpacity(e.opacity());
}

void Reenvio::Motor::drawPath(const QPainterPath &c)
{
    alDia();
    d_.drawPath(c);
}
void Reenvio::Motor::drawRects(const QRectF *r, int n)
{
    alDia();
    d_.drawRects(r, n);
}
void Reenvio::Motor::drawLines(const QLineF *l, int n)
{
    alDia();
    d_.drawLines(l, n);
}
void Reenvio::Motor::drawEllipse(const QRectF &r)
{
    alDia();
    d_.drawEllipse(r);
}
void Reenvio::Motor::drawPoints(const QPointF *p, int n)
{
    alDia();
    d_.drawPoints(p, n);
}

void Reenvio::Motor::drawPolygon(const QPointF *p, int n, PolygonDrawMode modo)
{
    alDia();
    switch (modo) {
    case PolylineMode: d_.drawPolyline(p, n); break;
    case ConvexMode: d_.drawConvexPolygon(p, n); break;
    case OddEvenMode: d_.drawPolygon(p, n, Qt::OddEvenFill); break;
    case WindingMode: d_.drawPolygon(p, n, Qt::WindingFill); break;
    }
}

void Reenvio::Motor::drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &sr)
{
    alDia();
    d_.drawPixmap(r, pm, sr);
}

void Reenvio::Motor::drawTiledPixmap(const QRectF &r, const QPixmap &pm, const QPointF &p)
{
    alDia();
    d_.drawTiledPixmap(r, pm, p);
}

void Reenvio::Motor::drawImage(const QRectF &r, const QImage &im, const QRectF &sr, Qt::ImageConversionFlags f)
{
    alDia();
    d_.drawImage(r, im, sr, f);
}

void Reenvio::Motor::drawTextItem(const QPointF &p, const QTextItem &t)
{
    alDia();
    d_.drawTextItem(p, t);
}

} // namespace pelmora
