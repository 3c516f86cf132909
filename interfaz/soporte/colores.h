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

// The red of a warning's text that reads on the background given: dark red
// on a light background, a light red on a dark one (a desktop's dark theme).
QColor rojoAviso(const QColor &fondo);
// The style sheet of a warning's text on a widget's own background.
QString estiloAviso(const QWidget *w);

} // namespace pelmora
