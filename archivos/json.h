// JSON export of a calculation: both columns, every entry of every section,
// for other programs to read. Independent of the regional settings.
#pragma once

#include "calculo/calculo.h"

#include <QByteArray>
#include <QString>

namespace pelmora {

// The whole calculation as UTF-8 JSON:
//   {"ColumnaS": {"Caracteristicas": [23 values], "CostesFijos1": [20],
//     "CostesFijos2": [28], "CostesVariables": [19], "CostesIndirectos": [5],
//     "Resultados": [48], "Servicio": [31], "Fecha": "yyyy-mm-dd" or null},
//    "ColumnaO": {...}}
// Each array starts with entry 1. An empty entry is null, a number a JSON
// number in its shortest exact form, a text a string, a choice a boolean.
QByteArray calculoJson(const Calculo &c);

// The same on one line (every line end and the indentation after it left
// out) appended to r, from what follows its opening brace: to go on from
// members written before.
void anadirCalculoJsonEnLinea(QByteArray &r, const Calculo &c);

// One column, as the object held under "ColumnaS" or "ColumnaO".
// sangria: the blanks put before each of its lines but the first.
QByteArray columnaJson(const Columna &c, int sangria = 0);

// One entry as a JSON value.
QByteArray valorJson(const Valor &v);

// A double in the shortest form that reads back as the same double;
// "null" for infinities and NaN, which JSON cannot hold.
QByteArray numeroJson(double x);

// A text as a JSON string literal (quotes included), UTF-8.
QByteArray textoJson(const QString &s);

} // namespace pelmora
