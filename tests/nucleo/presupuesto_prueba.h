// The quotes the register tests and their child processes write: the one
// numbered i of a writer is known in full from i and the writer's name.
#pragma once

#include "presupuestos/presupuesto.h"

namespace pelmora {

inline Presupuesto presupuestoDePrueba(int i, const QString &escritor)
{
    Presupuesto p;
    p.fecha = QDate(2026, 5, 1 + i % 28);
    p.validez = 10 + i % 40;
    p.empresa = {"Autocares Prueba", "B12345674", "Calle Real 2", "975 000 000", "info@prueba.es",
                 QByteArray("\x89PNG\r\n\x1a\n-", 9)};
    p.cliente = {escritor + QStringLiteral("-%1").arg(i), "12345678Z", "Plaza Mayor 3", "Luis"};
    p.viaje = {QStringLiteral("Viaje %1").arg(i), "Soria", "Madrid", "1/6/2026", 40 + i % 10};
    p.servicio = 1 + i % 5;
    p.km = 100.5 + i;
    p.horas = 4.25;
    p.margen = i % 9500;
    p.iva = 1000;
    p.precio.coste = 10000 + 7 * i;
    p.condiciones = QStringLiteral("Condiciones %1").arg(i);
    p.notas = QString(i % 3 == 0 ? "" : "Notas");
    p.origen = {"mio.clc", QByteArray(64, 'a'), 15753764, {0.052, 0.641, std::nullopt, 1.79, 100.151}};
    recalcularPrecio(p);
    return p;
}

} // namespace pelmora
