#include "entrada/fechas.h"

#include <QDate>

namespace pelmora {

QString textoFecha(const QDate &fecha)
{
    // A format of digits only: no locale takes part (day and month names would).
    return fecha.isValid() ? fecha.toString(QStringLiteral("d/M/yy")) : QString();
}

} // namespace pelmora
