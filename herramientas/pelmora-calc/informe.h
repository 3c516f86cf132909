// The readable report of a calculation: both columns' annual costs, the
// activity and unit costs, and the services of the user column.
#pragma once

#include "calculo/calculo.h"

#include <QString>

namespace pelmora {

// Figures with the separators of the regional settings; dates written as
// in Spain (d/m/yy) whatever the settings, as the program shows them.
QString informe(const Calculo &calc, const QString &ruta);

// A text of a file (its name, a description) as a terminal shows it
// without acting on it: each control character (C0 but tab and line feed,
// DEL, C1) written as an escape such as \x1b.
QString textoVisible(const QString &texto);

} // namespace pelmora
