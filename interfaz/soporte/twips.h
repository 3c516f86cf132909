// Window geometry is designed in twips (1/1440 inch); this is the one place
// that turns twips into pixels, from the screen's logical DPI.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace pelmora {

// Pixels per inch used for every conversion (the primary screen's logical
// DPI, 96 when there is no screen). Tests may fix it.
double puntosPorPulgada();
void fijarPuntosPorPulgada(double dpi);

int tw(double twips);          // twips to pixels, rounded
double aTwips(int pixeles);    // pixels to twips
inline QRect twRect(double left, double top, double width, double height)
{
    return QRect(tw(left), tw(top), tw(width), tw(height));
}
inline QSize twSize(double width, double height) { return QSize(tw(width), tw(height)); }
inline QPoint twPoint(double left, double top) { return QPoint(tw(left), tw(top)); }

// The windows laid out on the twip grid keep their text at the grid's size,
// whatever the desktop's default: a larger one would outgrow the boxes.
constexpr double kPuntosRejilla = 8.0;
// Puts w (and what it holds) at the grid's size; the family stays the desktop's.
void letraDeRejilla(QWidget *w);

} // namespace pelmora
