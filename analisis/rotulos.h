// Captions that stand on their own, outside the forms: every field and
// result slot named so that no two read alike (the forms lean on their
// frames and column headings for that), with its unit. Used wherever
// figures leave the windows: exports, the analysis tables and charts.
#pragma once

#include "calculo/secciones.h"

#include <QString>

namespace pelmora {

struct Rotulo {
    QString etiqueta; // empty for an index that holds nothing
    QString unidad;   // empty when the figure has none
};

// Field i of a section with boxes (Resultados gives the result slot i).
Rotulo rotulo(Seccion s, int i);

// Result slot n (1..48); slots 19 and 20 hold nothing.
Rotulo rotuloResultado(int n);

// The text of an option pair's choice, as its button shows it: "Compra" /
// "Otra forma (alquiler, ...)" for the two forms of acquisition,
// "Desglosado" / "Total" for the others.
QString textoOpcion(Seccion s, int i, bool primera);

} // namespace pelmora
