#include "interfaz/formulario.h"

#include "interfaz/colores.h"

namespace pelmora {

FormularioSeccion::FormularioSeccion(Calculo &calculo, Seccion seccion, QWidget *parent)
    : QWidget(parent), calculo_(calculo), seccion_(seccion)
{
    // The form's backgrounds are the program's own: so are its text colours.
    FijarPaletaPrograma(this);
}

FormularioSeccion::~FormularioSeccion() = default;

} // namespace pelmora
