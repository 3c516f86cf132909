#include "interfaz/formulario.h"

namespace pelmora {

FormularioSeccion::FormularioSeccion(Calculo &calculo, Seccion seccion, QWidget *parent)
    : QWidget(parent), calculo_(calculo), seccion_(seccion)
{
}

FormularioSeccion::~FormularioSeccion() = default;

} // namespace pelmora
