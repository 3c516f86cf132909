// The frames of group boxes under the Fusion style. Fusion stretches a small
// translucent picture over the whole box, so a large box costs a scaled blend
// of every pixel (the most expensive drawing of a form's first frame). The
// picture's inside is one even tint: EstiloMarcos draws the picture's border
// as Fusion does and fills the inside with that tint, which gives the same
// pixels for a fraction of the work. It also draws the frame's tall parts
// (its sides and inside) in a way the painter blends at once, rather than
// handing them in pieces to other threads and waiting.
//
// The same style draws the forms' line edits: their panels (a rounded,
// anti-aliased edge around the base) are drawn once per size, state, palette
// and colour under them, and copied, with the pixels Fusion gives.
#pragma once

class QStyle;
class QStyleOption;
class QWidget;

namespace pelmora {

// How far below the top of its rectangle the style starts a group box's
// frame (below the title, in some versions): measured on a strip of the
// frame drawn by the style, once per height, font and kind of box.
int arribaDelMarco(const QStyle *estilo, const QStyleOption *opcion, const QWidget *widget);

// The style for the group boxes and line edits of the forms: a proxy of
// Fusion that draws their frames as above. Null when the application's style is not Fusion.
QStyle *estiloMarcos();
// Gives a group box or a line edit that style when there is one.
void ponerEstiloMarcos(QWidget *w);

} // namespace pelmora
