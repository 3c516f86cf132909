#include "archivos/windows1252.h"

namespace pelmora {

QString desdeWindows1252(const QByteArray &b)
{
    QString s;
    s.reserve(b.size());
    for (const char ch : b)
        s += caracterWindows1252(static_cast<unsigned char>(ch));
    return s;
}

QByteArray aWindows1252(const QString &s, bool *perdida)
{
    QByteArray b;
    b.reserve(s.size());
    bool perdio = false;
    for (const QChar c : s) {
        const int byte = byteWindows1252(c.unicode());
        b += byte >= 0 ? static_cast<char>(byte) : '?';
        perdio = perdio || byte < 0;
    }
    if (perdida)
        *perdida = perdio;
    return b;
}

} // namespace pelmora
