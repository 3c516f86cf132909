// The one message dialog of the program.
#pragma once

#include "interfaz/soporte/interceptor.h"

#include <QString>

class QWidget;

namespace pelmora {

// Shows a message modally under a title and returns when it is closed.
// "Error" shows the alarm picture, "Grabar" and "Autor" the information one.
// The message belongs to the window that holds cerca (the main window for
// its forms and dialogs), or to the active window.
void MostrarMensaje(const QString &texto, const QString &titulo, QWidget *cerca = nullptr);

// While set, messages go to this function instead of a dialog.
inline Interceptor<void(const QString &texto, const QString &titulo)> interceptorMensajes;

} // namespace pelmora
