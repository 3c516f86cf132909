// pelmora-calc --precio and --presupuestos: the prices of each file's
// services, and the register of quotes.
#pragma once

#include "opciones.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace pelmora {

struct Precio;
class Calculo;

// MARGEN[:IVA] in percent ("12", "12,5:21"): margin and VAT in hundredths
// of a point; no value when either is not a number within its limits.
std::optional<std::pair<int, int>> leerMargenIva(const QString &texto);

// One file's priced services as one JSON line.
QByteArray preciosJson(const Calculo &calc, const QString &ruta, int margen, int iva);

// Every file named, priced, in the format asked for. Exit code 2 if a file
// could not be read.
int escribirPrecios(const Opciones &o);

// The register of quotes, read only, in the format asked for. Exit code 2
// when it cannot be read.
int listarPresupuestos(const Opciones &o);

} // namespace pelmora
