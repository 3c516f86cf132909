#include "calculo/columna.h"

namespace pelmora {

Columna::Columna()
{
    for (int s = 0; s < kNumSecciones; ++s)
        secciones[s].assign(kTamanoSeccion[s] + 1, Valor());
}

const char *nombreFormulario(Seccion s)
{
    static const char *const nombres[kNumSecciones] = {
        "frmCaracteristicas", "frmCostesFijos1", "frmCostesFijos2", "frmCostesVariables",
        "frmCostesIndirectos", "frmResultados", "frmServicio"};
    return nombres[ord(s)];
}

const char *nombreSeccion(Seccion s)
{
    static const char *const nombres[kNumSecciones] = {
        "Caracteristicas", "CostesFijos1", "CostesFijos2", "CostesVariables",
        "CostesIndirectos", "Resultados", "Servicio"};
    return nombres[ord(s)];
}

const std::vector<int> &ListaGrabada(Seccion s)
{
    static const std::vector<int> listas[kNumSecciones] = {
        {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 14, 15, 19, 21},
        {1, 2, 3, 4, 6, 8, 9, 10, 11, 12, 13, 14, 16, 18, 19, 20},
        {1, 2, 3, 4, 6, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28},
        {1, 3, 4, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 19},
        {1, 2, 3, 4, 5},
        {},
        {2, 3, 4, 8, 9, 10, 14, 15, 16, 20, 21, 22, 26, 27, 28},
    };
    return listas[ord(s)];
}

} // namespace pelmora
