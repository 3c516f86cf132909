#include "entrada/caracteres.h"

#include <QList>

namespace pelmora {

namespace {

// Code points of bytes 0x80..0x9F in Windows-1252 (a C1 control code where
// the set has no character: those bytes map to it, as the system does).
const char16_t kAltos[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

int byteWindows1252(char32_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<int>(u);
    for (int k = 0; k < 32; ++k)
        if (kAltos[k] == u)
            return 0x80 + k;
    return -1;
}

QChar caracterWindows1252(unsigned char b)
{
    return (b >= 0x80 && b <= 0x9F) ? QChar(kAltos[b - 0x80]) : QChar(b);
}

QString caracteresNoGrabables(const QString &texto)
{
    QString malos;
    QList<char32_t> vistos;
    for (qsizetype k = 0; k < texto.size(); ++k) {
        // A surrogate pair is one character; a lone surrogate is one too.
        char32_t u = texto[k].unicode();
        qsizetype largo = 1;
        if (texto[k].isHighSurrogate() && k + 1 < texto.size() && texto[k + 1].isLowSurrogate()) {
            u = QChar::surrogateToUcs4(texto[k], texto[k + 1]);
            largo = 2;
        }
        if (byteWindows1252(u) < 0 && !vistos.contains(u)) {
            vistos << u;
            malos += texto.mid(k, largo);
        }
        k += largo - 1;
    }
    return malos;
}

} // namespace pelmora
