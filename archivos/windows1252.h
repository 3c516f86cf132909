// The 8-bit character set of calculation files.
#pragma once

#include <QByteArray>
#include <QString>

namespace pelmora {

QString desdeWindows1252(const QByteArray &b);
// Characters the set cannot hold become "?" (and *perdida is set).
QByteArray aWindows1252(const QString &s, bool *perdida = nullptr);

// The characters of a text that the set cannot hold, each once, in the
// order they first appear (a character outside the 16-bit range counts as
// one). Empty when the whole text can be stored.
QString caracteresNoGrabables(const QString &texto);

} // namespace pelmora
