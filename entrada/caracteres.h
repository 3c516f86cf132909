// The 8-bit character set (Windows-1252) that the texts of a calculation
// are kept in: which characters it holds and the byte of each.
#pragma once

#include <QChar>
#include <QString>

namespace pelmora {

// The byte of a code point in the set, or -1 when the set has none.
int byteWindows1252(char32_t u);

// The character of a byte of the set. Bytes 0x80..0x9F that the set leaves
// undefined stand for the C1 control code of the same number.
QChar caracterWindows1252(unsigned char b);

// The characters of a text that the set cannot hold, each once, in the
// order they first appear (a character outside the 16-bit range counts as
// one). Empty when the whole text can be stored.
QString caracteresNoGrabables(const QString &texto);

} // namespace pelmora
