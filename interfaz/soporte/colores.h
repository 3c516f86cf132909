// The program's own palette. The forms, the section bar and the boxes have
// background colours of their own (lavender, pale yellow, white boxes), so
// their texts must keep the colours that go with those backgrounds whatever
// the desktop's theme: a dark theme would otherwise give light text on them.
#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

class QWidget;

namespace pelmora {

// The light palette of the Fusion style, every colour of every group fixed:
// nothing of it follows the desktop.
const QPalette &paletaPrograma();

// Gives a widget, and everything it holds, the program's palette.
void fijarPaletaPrograma(QWidget *w);

// A form's colours on screen: its background (the section bar's pale
// yellow) and the frame of the section shown (lavender at first).
inline const QColor kColorPatillas(255, 255, 192);
inline const QColor kColorActivoInicial(192, 192, 255);

// The red of a warning's text that reads on the background given: dark red
// on a light background, a light red on a dark one (a desktop's dark theme).
QColor rojoAviso(const QColor &fondo);
// The style sheet of a warning's text on a widget's own background.
QString estiloAviso(const QWidget *w);

} // namespace pelmora
