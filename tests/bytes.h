// Files read and written whole by the tests, beside the program's own
// checked reader and writer.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace pelmora::prueba {

// The whole file; empty when it cannot be read.
inline QByteArray leerBytes(const QString &ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The file made to hold b alone; false when it was not written whole.
inline bool escribirBytes(const QString &ruta, const QByteArray &b)
{
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(b) == b.size();
}

} // namespace pelmora::prueba
