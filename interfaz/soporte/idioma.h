// The program speaks Spanish only, whatever the desktop's language: so do
// the texts that Qt and the system libraries supply (standard buttons, the
// file chooser with its file types, the print dialog). Figures and dates
// keep following the regional settings where the program lets them.
#pragma once

namespace pelmora {

// Before the application object exists: Spanish as the language of messages
// (LANGUAGE), whatever the user's preference list says. Formats (LANG, LC_*)
// are left alone.
void fijarIdiomaMensajes();

// Once the application object exists: Qt's own Spanish translation, where
// it is installed. False when it could not be loaded.
bool instalarTraduccionQt();

} // namespace pelmora
