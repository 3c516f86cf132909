// The program's own palette. The forms, the section bar and the boxes have
// background colours of their own (lavender, pale yellow, white boxes), so
// their texts must keep the colours that go with those backgrounds whatever
// the desktop's theme: a dark theme would otherwise give light text on them.
#pragma once

#include <QPalette>

class QWidget;

namespace pelmora {

// The light palette of the Fusion style, every colour of every group fixed:
// nothing of it follows the desktop.
const QPalette &paletaPrograma();

// Gives a widget, and everything it holds, the program's palette.
void fijarPaletaPrograma(QWidget *w);

} // namespace pelmora
