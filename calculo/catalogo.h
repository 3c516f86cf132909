// The field catalogue: for every section and index its caption, decimals,
// maximum length, kind, limits, whether it is stored and its tool tip; the
// words the forms show around each box and read out for it; the captions of
// the option pairs and of the two columns.
#pragma once

#include "calculo/columna.h"

#include <QString>

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
    const char *etiqueta = ""; // caption of the row the box stands in (UTF-8), alike for every box of the row
    const char *ayuda = "";    // tool tip of the user-column box, or of an option pair's frame (UTF-8)
    const char *columna = "";  // heading over the box's column (its unit, or the service), if any
    const char *bloque = "";   // the frame that tells the row from another of the same caption, if any

    bool esTexto() const { return decimales < 0; }
    bool tieneCaja() const { return tipo != TipoCampo::Opcion; }
};

namespace detalle {
extern const CampoInfo *const kTablasCampos[kNumSecciones]; // null for the results
extern const CampoInfo kCampoNinguno;
} // namespace detalle

// Catalogue entry of a field; the results use decimalesResultado().
inline const CampoInfo &campo(Seccion s, int i)
{
    const CampoInfo *tabla = detalle::kTablasCampos[ord(s)];
    if (!tabla || i < 1 || i > tamano(s))
        return detalle::kCampoNinguno;
    return tabla[i];
}

// What a box is called when read out: the caption of its row, then the
// heading of its column and its frame when it has them, comma-separated
// ("Capital a financiar, Euros, Equipos auxiliares"). Every box of a form
// has its own. The coach is what every caption speaks of unless it says
// otherwise; only the auxiliary equipment names its frame.
QString nombreCampo(Seccion s, int i);

// An option pair: the caption of its group as it is read out, and the
// captions of its buttons (the first one stands for true).
struct OpcionInfo {
    const char *grupo = "";
    const char *primera = "";
    const char *segunda = "";
};
// Empty captions for a field that is no option pair.
const OpcionInfo &opcion(Seccion s, int i);

// "Cálculo Personalizado" or "Vededizaviro de Costes" (UTF-8), the titles
// of the two columns.
const char *tituloDeColumna(Col c);

// Display decimals of result slot n (1..48).
int decimalesResultado(int n);

// Decimals of field i of a section, the results included.
int decimales(Seccion s, int i);

} // namespace pelmora
