// Tables of text: a caption column on the left, figures right-aligned in
// columns, optionally grouped under a title that spans several columns.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace pelmora {

struct Tabla {
    QStringList grupos;             // titles over each group of columns (may be empty)
    int columnasPorGrupo = 1;
    QStringList cabeceras;          // one per figure column (may be empty)
    std::vector<QStringList> filas; // caption, then one text per figure column
    std::vector<int> tamanosGrupos; // columns under each group title; empty: columnasPorGrupo each
    int columnasIzquierda = 0;      // the first figure columns hold texts, aligned left
};

// The table as lines of text, each ended by "\n", without trailing blanks.
QString componer(const Tabla &t);

} // namespace pelmora
