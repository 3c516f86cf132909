// The arithmetic of the main window's two scroll bars. Lengths are twips;
// every value a bar takes is a 16-bit signed integer, and a step whose
// result does not fit is skipped (the bar keeps its value).
#pragma once

#include <QPoint>
#include <QRect>
#include <optional>

namespace pelmora {

// Small step of both bars (twips).
constexpr int kPasoPequeno = 600;

// What the arithmetic needs of a bar.
struct EstadoBarra {
    int minimo = 0;
    int maximo = 0;
    int pequeno = kPasoPequeno; // an arrow's step
    int grande = 1;             // a page's step
    int valor = 0;
};

// The value itself when it fits in 16 bits, nothing otherwise.
std::optional<int> en16(long long v);

// The page step of VScroll1 for a strip PicVScroll alto twips high (1 when
// the strip is too small); nothing when beyond 16 bits (the bar keeps its
// page).
std::optional<int> paginaV(long long altoTira);
// The page step of HScroll1 for the strips' widths.
std::optional<int> paginaH(long long anchoTiraH, long long anchoTiraV);

// Max of VScroll1 for a form alto twips high; nothing when beyond 16 bits.
std::optional<int> maximoV(long long altoFormulario, long long altoTira);
// Max of HScroll1 for a form ancho twips wide.
std::optional<int> maximoH(long long anchoFormulario, long long anchoTiraV, long long anchoTiraH);

// Showing a form: the start of the page that holds the point p (the
// active control's bottom + 180, or its left + 180, never below 0), no
// further than Max.
std::optional<int> valorSituar(long long p, const EstadoBarra &b);

// The focus moved to a control: y is its bottom + 180 and alto its height.
// The new value of VScroll1, nothing when the control is already in view.
std::optional<int> valorMoverV(long long y, long long alto, const EstadoBarra &b);
// The same sideways: x is the control's left + 180.
std::optional<int> valorMoverH(long long x, const EstadoBarra &b);

// DesplazarScrollV: n clamped to [Min, Max].
int valorDesplazar(long long n, const EstadoBarra &b);

// TeclaScroll: where Up, Down, Page Up and Page Down (Qt key codes) send
// VScroll1 before clamping; nothing for any other key or on overflow.
std::optional<int> destinoTecla(int tecla, const EstadoBarra &b);
// MouseWheel: one small step per wheel event, down when the delta is
// negative (turned towards the user), up otherwise.
std::optional<int> destinoRueda(int delta, const EstadoBarra &b);

// PunteroEnVentana: the point lies in the window's rectangle, edges included.
bool PunteroEnVentana(const QRect &ventana, const QPoint &p);

} // namespace pelmora
