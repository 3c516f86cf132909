// The record of one column of a calculation and the section layout.
#pragma once

#include "entrada/valor.h"

#include <QDate>
#include <array>
#include <vector>

namespace pelmora {

enum class Seccion {
    Caracteristicas = 0,
    CostesFijos1,
    CostesFijos2,
    CostesVariables,
    CostesIndirectos,
    Resultados,
    Servicio,
};
constexpr int kNumSecciones = 7;

// Number of entries of each section (indices run from 1 to this number).
constexpr std::array<int, kNumSecciones> kTamanoSeccion = {23, 20, 28, 19, 5, 48, 31};

inline int tamano(Seccion s) { return kTamanoSeccion[static_cast<int>(s)]; }
inline int ord(Seccion s) { return static_cast<int>(s); }

// The sections a calculation file holds, in file order.
constexpr std::array<Seccion, 6> kSeccionesGrabadas = {
    Seccion::Caracteristicas, Seccion::CostesFijos1, Seccion::CostesFijos2,
    Seccion::CostesVariables, Seccion::CostesIndirectos, Seccion::Servicio};

// Name of the form that shows a section ("frmCaracteristicas" ...).
const char *nombreFormulario(Seccion s);
// Name of the value array of a section ("Caracteristicas" ...).
const char *nombreSeccion(Seccion s);

struct Columna {
    Columna();
    std::array<std::vector<Valor>, kNumSecciones> secciones; // index 0 unused
    QDate Fecha;

    Valor &operator()(Seccion s, int i) { return secciones[ord(s)][i]; }
    const Valor &operator()(Seccion s, int i) const { return secciones[ord(s)][i]; }
    std::vector<Valor> &seccion(Seccion s) { return secciones[ord(s)]; }
    const std::vector<Valor> &seccion(Seccion s) const { return secciones[ord(s)]; }
};

// Per stored section the indices kept in a calculation file, in file order.
const std::vector<int> &ListaGrabada(Seccion s);

// Which column a procedure works on.
enum class Col { S = 0, O = 1 };

} // namespace pelmora
