#include "calculo/columna.h"

#include "calculo/catalogo.h"

namespace pelmora {

Columna::Columna()
{
    for (const DatosSeccion &d : kSecciones)
        secciones[ord(d.seccion)].assign(d.tamano + 1, Valor());
}

const std::vector<int> &ListaGrabada(Seccion s)
{
    static const std::array<std::vector<int>, kNumSecciones> listas = [] {
        std::array<std::vector<int>, kNumSecciones> l;
        for (const DatosSeccion &d : kSecciones)
            for (int i = 1; i <= d.tamano; ++i)
                if (campo(d.seccion, i).grabado)
                    l[ord(d.seccion)].push_back(i);
        return l;
    }();
    return listas[ord(s)];
}

} // namespace pelmora
