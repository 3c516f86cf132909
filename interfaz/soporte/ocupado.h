// The busy cursor while work that can take a while runs: set on
// construction, taken away on destruction (before any message is shown).
#pragma once

#include <QApplication>
#include <QCursor>

namespace pelmora {

class CursorOcupado {
public:
    CursorOcupado() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~CursorOcupado() { QApplication::restoreOverrideCursor(); }
    CursorOcupado(const CursorOcupado &) = delete;
    CursorOcupado &operator=(const CursorOcupado &) = delete;
};

} // namespace pelmora
