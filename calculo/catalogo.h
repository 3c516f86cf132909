// The field catalogue: for every section and index its caption, decimals,
// maximum length, kind, limits, whether it is stored and its tool tip.
#pragma once

#include "calculo/columna.h"

namespace pelmora {

enum class TipoCampo { Entrada, Derivado, Conmutable, Opcion };
enum class Limite { Ninguno, Numero, Texto, Booleano };

struct CampoInfo {
    int decimales = 0;      // -1 free text, 0 integer, 1..4 decimals
    int longitud = 0;       // most characters the box accepts
    TipoCampo tipo = TipoCampo::Derivado;
    Limite limite = Limite::Ninguno;
    double minimo = 0;      // for Limite::Texto: minimum number of characters
    double maximo = 0;
    bool grabado = false;
    const char *etiqueta = ""; // caption of the row (UTF-8), may be empty
    const char *ayuda = "";    // tool tip of the user-column box (UTF-8)

    bool esTexto() const { return decimales < 0; }
    bool tieneCaja() const { return tipo != TipoCampo::Opcion; }
};

// Catalogue entry of a field; the results use decimalesResultado().
const CampoInfo &campo(Seccion s, int i);

// Display decimals of result slot n (1..48).
int decimalesResultado(int n);

// Decimals of field i of a section, the results included.
int decimales(Seccion s, int i);

} // namespace pelmora
