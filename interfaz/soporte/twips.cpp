#include "interfaz/soporte/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace pelmora {

namespace {
double g_dpi = 0.0;
}

double puntosPorPulgada()
{
    if (g_dpi <= 0.0) {
        const QScreen *pantalla = QGuiApplication::primaryScreen();
        g_dpi = pantalla ? pantalla->logicalDotsPerInch() : 96.0;
        if (g_dpi <= 0.0)
            g_dpi = 96.0;
    }
    return g_dpi;
}

void fijarPuntosPorPulgada(double dpi) { g_dpi = dpi; }

int tw(double twips) { return static_cast<int>(std::lround(twips * puntosPorPulgada() / 1440.0)); }

double aTwips(int pixeles) { return pixeles * 1440.0 / puntosPorPulgada(); }

void letraDeRejilla(QWidget *w)
{
    QFont letra = w->font();
    letra.setPointSizeF(kPuntosRejilla);
    w->setFont(letra);
}

} // namespace pelmora
