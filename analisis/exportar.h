// The figures of a calculation, of its sensitivity and of a comparison as
// CSV rows (written by the one CSV writer) and the sensitivity as JSON.
// A window or a command only chooses where the bytes go.
#pragma once

#include "analisis/comparacion.h"
#include "analisis/sensibilidad.h"
#include "archivos/csv.h"

#include <QByteArray>

namespace pelmora {

// An open calculation: a heading row, one row per field of every section
// (section, caption, user value, reference value, unit) as its box shows
// it, the result slots of both columns as the results form shows them
// (slots 19 and 20, which hold nothing, left out), then the services.
std::vector<FilaCsv> filasCalculo(const Calculo &c);
QByteArray calculoCsv(const Calculo &c, const FormatoCsv &f = formatoCsv());

// The sensitivity table in its order: a heading row, then per entry its
// section, caption, unit, value and the two values tried, each figure of
// kCifrasSensibilidad as it is and at each side (empty for a refused
// side), and the messages of refused sides.
std::vector<FilaCsv> filasSensibilidad(const Sensibilidad &s);
QByteArray sensibilidadCsv(const Sensibilidad &s, const FormatoCsv &f = formatoCsv());

// The sensitivity as JSON, UTF-8, independent of the regional settings:
//   {"Porcentaje": P, "Base": [48 slots], "Entradas": [{"Seccion": name of
//    the section's value array, "Indice": i, "Etiqueta": caption, "Valor": x,
//    "Bajo": x, "Alto": x, "ResultadosBajo": [48 slots] or null,
//    "ResultadosAlto": [48 slots] or null, "MensajeBajo": "",
//    "MensajeAlto": ""}, ...]}
// Slot n at index n - 1, an empty slot null, numbers at full precision.
QByteArray sensibilidadJson(const Sensibilidad &s);

// A comparison of calculations: the heading row; a row of figures of one
// column of a calculation (file, description, seats, kilometres and hours
// with the billed ones, the thirteen items, direct, indirect and total
// costs, C1 to C5, and the price by kilometres and hours of each service,
// which the reference column has none of); a row for a file that could
// not be read (its name and the reason), as wide as the others.
FilaCsv cabeceraComparacion();
FilaCsv filaComparacion(const CalculoComparado &c, Col col);
FilaCsv filaErrorComparacion(const CalculoComparado &c);

} // namespace pelmora
