// Window geometry is designed in twips (1/1440 inch); this is the one place
// that turns twips into pixels, from the screen's logical DPI.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

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

} // namespace pelmora
