// Range and cross-field checks of a committed field of the user column.
#pragma once

#include "calculo/columna.h"

#include <QString>
#include <optional>

namespace pelmora {

struct Validacion {
    bool rechazado = false;
    QString mensaje;
};

// Where a fuel discount (euros per litre) stands against its allowed range
// at a fuel price: the limits of the discount percentage applied to the
// price, each bound rounded to the discount's decimals, so that a discount
// of exactly the maximum share is within it at any price. No value when a
// bound cannot be worked out. The entry check of the discount and the rule
// that follows a change of price both compare through this one function.
enum class PosicionDescuento { Dentro, PorEncima, PorDebajo };
std::optional<PosicionDescuento> compararDescuento(double descuento, double precio);

// Checks entry i of a section of the user column s (already holding the
// parsed value) against its limits and the checks that involve other fields.
Validacion ValidarCampo(Seccion seccion, const Columna &s, int i);

} // namespace pelmora
