// A device that paints onto another painter as it is painted on: a widget
// rendered onto it reaches the target (a PDF's or a printer's painter) as
// the same commands a picture would record and play back, state by state,
// in the widget's own units, without writing them out and reading them
// back. Its measures (resolution, size) are those of a picture of the
// given size, so a widget lays itself out as when it is recorded. As with a
// picture, a widget is not clipped to its own rectangle: what it draws
// beyond it reaches the target.
#pragma once

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPicture>

namespace pelmora {

class Reenvio : public QPaintDevice {
public:
    // Onto destino, in its present coordinates.
    Reenvio(QPainter &destino, const QRect &area);
    QPaintEngine *paintEngine() const override { return &motor_; }

protected:
    int metric(PaintDeviceMetric m) const override;

private:
    class Motor : public QPaintEngine {
    public:
        explicit Motor(QPainter &destino);
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        Type type() const override { return QPaintEngine::Picture; }
        void updateState(const QPaintEngineState &e) override;
        void drawPath(const QPainterPath &c) override;
        void drawRects(const QRectF *r, int n) override;
        void drawLines(const QLineF *l, int n) override;
        void drawEllipse(const QRectF &r) override;
        void drawPoints(const QPointF *p, int n) override;
        void drawPolygon(const QPointF *p, int n, PolygonDrawMode modo) override;
        void drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &sr) override;
        void drawTiledPixmap(const QRectF &r, const QPixmap &pm, const QPointF &p) override;
        void drawImage(const QRectF &r, const QImage &im, const QRectF &sr, Qt::ImageConversionFlags f) override;
        void drawTextItem(const QPointF &p, const QTextItem &t) override;

    private:
        void alDia();
        QPainter &d_;
        const QTransform base_;
    };

    mutable Motor motor_;
    QPicture medidas_;
};

} // namespace pelmora
