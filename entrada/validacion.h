// Range and cross-field checks of a committed field of the user column.
#pragma once

#include "calculo/columna.h"

#include <QString>

namespace pelmora {

struct Validacion {
    bool rechazado = false;
    QString mensaje;
};

// Checks entry i of a section of the user column s (already holding the
// parsed value) against its limits and the checks that involve other fields.
Validacion ValidarCampo(Seccion seccion, const Columna &s, int i);

} // namespace pelmora
