// Several calculations side by side: the figures of each one that are
// compared, taken from an open calculation or read from its file. Plain
// functions, safe to run for different files at the same time.
#pragma once

#include "analisis/sensibilidad.h"
#include "archivos/archivo.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>

namespace pelmora {

// The compared figures of one column.
struct CifrasColumna {
    QString descripcion;
    Valor plazas;
    ResultadosColumna resultados;
    // The results form leaves out three figures of a column: the breakdown
    // of the indirect costs when they were entered as one total, and
    // passenger-kilometres and C1 in the reference column.
    bool indirectosDesglosados = true;
    bool referencia = false;
    // Result slot n as the results form shows it: empty where it shows none.
    Valor mostrado(int n) const;
};

// The compared figures of a column of a calculation.
CifrasColumna cifrasColumna(const Columna &c, bool referencia);

struct CalculoComparado {
    QString ruta;
    QString error; // why the file could not be read; empty when it was
    CifrasColumna usuario, referencia;
    QString categoria; // of the user column's coach
    // The price of each service billed by kilometres and hours ("Kilómetros
    // y horas"); empty for a service without one.
    std::array<Valor, Serv::kServicios> servicios;
};

// The figures of an open calculation, under the name ruta.
CalculoComparado compararCalculo(const Calculo &c, const QString &ruta);

// Opens the file as the program does and takes its figures; on failure
// only ruta and the message of the file dialog are filled in.
CalculoComparado compararArchivo(const QString &ruta);
// The same through a reader that keeps its memory from file to file.
// (regular: as LectorCalculos::abrir takes it).
CalculoComparado compararArchivo(const QString &ruta, LectorCalculos &lector, bool regular = false);

// Every calculation file a path names, handed to cada as it is found: a
// folder stands for every .clc entry under it, at any depth, in path order,
// and for each folder under it that cannot be read (recorrerCarpetaDeCalculos,
// one folder's names held at a time); anything else is taken as a file. The
// number of paths handed. cada learns whether the walk saw a regular file
// (a path given as it is, never).
qsizetype recorrerCalculos(const QString &ruta, const std::function<void(const QString &ruta, bool regular)> &cada);
// The same for several paths, gathered in the order given.
QStringList calculosEn(const QStringList &rutas);

} // namespace pelmora
