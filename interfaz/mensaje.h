// The one message dialog of the program.
#pragma once

#include "interfaz/interceptor.h"

#include <QString>

namespace pelmora {

// Shows a message modally under a title and returns when it is closed.
// "Error" shows the alarm picture, "Grabar" and "Autor" the information one.
void MostrarMensaje(const QString &texto, const QString &titulo);

// While set, messages go to this function instead of a dialog.
inline Interceptor<void(const QString &texto, const QString &titulo)> interceptorMensajes;

} // namespace pelmora
