// Progress of a long run on standard error, when it is a terminal and the
// run passes a second: files done of those found so far, files per second.
// The line is rewritten in place and taken away at the end.
#pragma once

#include <QElapsedTimer>
#include <QString>

namespace pelmora {

class Progreso {
public:
    Progreso();
    void hallado() { ++hallados_; }
    void hecho();
    // Takes the line away (before any other text on standard error, and at
    // the end).
    void borrar();

private:
    bool terminal_ = false;
    qint64 hallados_ = 0, hechos_ = 0;
    qint64 ultimo_ = 0; // milliseconds when the line was last written
    qsizetype largo_ = 0; // characters of the line shown; 0 when none is
    QElapsedTimer reloj_;
};

} // namespace pelmora
