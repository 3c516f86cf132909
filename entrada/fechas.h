// Dates as the program shows them: the Spanish day/month/year form, whatever
// the system's language and regional settings.
#pragma once

#include <QString>

class QDate;

namespace pelmora {

// d/M/yy ("17/5/04"); an empty text for an invalid date.
QString textoFecha(const QDate &fecha);

} // namespace pelmora
