// The one message dialog of the program.
#pragma once

#include <QString>
#include <functional>

namespace pelmora {

// Shows a message modally under a title and returns when it is closed.
// "Error" shows the alarm picture, "Grabar" and "Autor" the information one.
void MostrarMensaje(const QString &texto, const QString &titulo);

// While set, messages go to this function instead of a dialog (tests and
// scripted use). Returns the previous one.
using RespuestaMensaje = std::function<void(const QString &texto, const QString &titulo)>;
RespuestaMensaje interceptarMensajes(RespuestaMensaje f);

} // namespace pelmora
