#include "interfaz/ventana/desplazamiento.h"

#include <Qt>

namespace pelmora {

std::optional<int> en16(long long v)
{
    if (v < -32768 || v > 32767)
        return std::nullopt;
    return static_cast<int>(v);
}

std::optional<int> paginaV(long long altoTira)
{
    const long long p = altoTira - 220;
    return p > 0 ? en16(p) : 1;
}

std::optional<int> paginaH(long long anchoTiraH, long long anchoTiraV)
{
    const long long p = anchoTiraH - anchoTiraV - 1300;
    return p > 0 ? en16(p) : 1;
}

std::optional<int> maximoV(long long altoFormulario, long long altoTira)
{
    const long long alto = altoFormulario + 360;
    return en16(alto > altoTira ? alto - altoTira : 0);
}

std::optional<int> maximoH(long long anchoFormulario, long long anchoTiraV, long long anchoTiraH)
{
    const long long ancho = anchoFormulario + 360 + anchoTiraV;
    return en16(ancho > anchoTiraH ? ancho - anchoTiraH : 0);
}

std::optional<int> valorSituar(long long p, const EstadoBarra &b)
{
    const long long pagina = b.grande > 0 ? b.grande : 1;
    // The start of the page that holds p (never below 0).
    const auto inicio = en16(p / pagina * pagina);
    if (!inicio)
        return std::nullopt;
    if (*inicio > b.maximo)
        return b.maximo;
    if (*inicio < b.minimo)
        return std::nullopt; // a value below Min is refused by the bar
    return inicio;
}

std::optional<int> valorMoverV(long long y, long long alto, const EstadoBarra &b)
{
    const auto abajo = en16(static_cast<long long>(b.valor) + b.grande);
    if (!abajo || !en16(y))
        return std::nullopt;
    if (*abajo < y) {
        // The bottom is below the page: it comes up to the page's bottom.
        const auto v = en16(y - b.grande);
        if (!v)
            return std::nullopt;
        return *v > b.maximo ? b.maximo : *v;
    }
    const auto arriba = en16(alto + b.valor);
    if (!arriba)
        return std::nullopt;
    if (y < *arriba) {
        // The top is above the page: it goes 40 twips under the page's top.
        const auto v = en16(y - alto - 220);
        if (!v)
            return std::nullopt;
        return *v < b.minimo ? b.minimo : *v;
    }
    return std::nullopt;
}

std::optional<int> valorMoverH(long long x, const EstadoBarra &b)
{
    const auto derecha = en16(static_cast<long long>(b.valor) + b.grande);
    if (!derecha || !en16(x))
        return std::nullopt;
    if (*derecha < x) {
        const auto v = en16(x - b.grande);
        if (!v)
            return std::nullopt;
        return *v > b.maximo ? b.maximo : *v;
    }
    if (x < b.valor) {
        const auto v = en16(x - 1300);
        if (!v)
            return std::nullopt;
        return *v < b.minimo ? b.minimo : *v;
    }
    return std::nullopt;
}

int valorDesplazar(long long n, const EstadoBarra &b)
{
    if (n > b.maximo)
        return b.maximo;
    if (n < b.minimo)
        return b.minimo;
    return static_cast<int>(n);
}

std::optional<int> destinoTecla(int tecla, const EstadoBarra &b)
{
    const long long v = b.valor;
    switch (tecla) {
    case Qt::Key_Down:
        return en16(v + b.pequeno);
    case Qt::Key_Up:
        return en16(v - b.pequeno);
    case Qt::Key_PageDown:
        return en16(v + b.grande);
    case Qt::Key_PageUp:
        return en16(v - b.grande);
    default:
        return std::nullopt;
    }
}

std::optional<int> destinoRueda(int delta, const EstadoBarra &b)
{
    const long long v = b.valor;
    return en16(delta < 0 ? v + b.pequeno : v - b.pequeno);
}

bool PunteroEnVentana(const QRect &ventana, const QPoint &p)
{
    return ventana.left() <= p.x() && p.x() <= ventana.right() && ventana.top() <= p.y() && p.y() <= ventana.bottom();
}

} // namespace pelmora
