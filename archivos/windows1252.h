// Texts of calculation files to and from their 8-bit character set.
#pragma once

#include "entrada/caracteres.h"

#include <QByteArray>
#include <QString>

namespace pelmora {

QString desdeWindows1252(const QByteArray &b);
// Characters the set cannot hold become "?" (and *perdida is set).
QByteArray aWindows1252(const QString &s, bool *perdida = nullptr);

} // namespace pelmora
