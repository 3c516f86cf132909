// The record of one column of a calculation.
#pragma once

#include "calculo/secciones.h"
#include "entrada/valor.h"

#include <QDate>
#include <array>
#include <vector>

namespace pelmora {

struct Columna {
    Columna();
    std::array<std::vector<Valor>, kNumSecciones> secciones; // index 0 unused
    QDate Fecha;

    Valor &operator()(Seccion s, int i) { return secciones[ord(s)][i]; }
    const Valor &operator()(Seccion s, int i) const { return secciones[ord(s)][i]; }
    std::vector<Valor> &seccion(Seccion s) { return secciones[ord(s)]; }
    const std::vector<Valor> &seccion(Seccion s) const { return secciones[ord(s)]; }
};

// Per stored section the indices kept in a calculation file, in file order
// (index order): the fields the catalogue marks as stored.
const std::vector<int> &ListaGrabada(Seccion s);

} // namespace pelmora
