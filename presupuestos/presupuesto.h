// A written quote: who it is for, the trip, the price and a record of the
// calculation it was priced from, so that it can be shown and printed
// again exactly after the calculation changes.
#pragma once

#include "calculo/calculo.h"
#include "presupuestos/precio.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <array>
#include <optional>

namespace pelmora {

// The states kept; "caducado" is shown for a pending quote past its validity.
enum class EstadoPresupuesto { Pendiente, Aceptado, Rechazado, Anulado };
QString nombreEstado(EstadoPresupuesto e); // "pendiente", "aceptado", ...
std::optional<EstadoPresupuesto> estadoDeNombre(const QString &nombre);
QString kEstadoCaducado();

// The firm's header, as it was when the quote was made.
struct Empresa {
    QString nombre, nif, direccion, telefono, correo;
    QByteArray logo; // PNG or SVG bytes; empty without a logo
    bool operator==(const Empresa &) const = default;
};

struct Cliente {
    QString nombre, nif, direccion, contacto;
    bool operator==(const Cliente &) const = default;
};

struct Viaje {
    QString descripcion, origen, destino, fechas;
    int pasajeros = 0; // the price per seat divides by them
    bool operator==(const Viaje &) const = default;
};

// What the quote was priced from.
struct OrigenCalculo {
    QString archivo;              // the calculation's file name
    QByteArray hash;              // SHA-256 of its bytes, hexadecimal
    Centimos costeAnual = 0;      // its total annual cost
    std::array<std::optional<double>, 5> c{}; // C1 to C5
    bool operator==(const OrigenCalculo &) const = default;
};

// "2026-0001"; empty for a quote not yet numbered.
QString numeroPresupuesto(int anio, int secuencia);
// The state shown on a day: a pending quote past its validity is "caducado".
QString estadoMostrado(EstadoPresupuesto e, const QDate &fecha, int validez, const QDate &hoy);

struct Presupuesto {
    qint64 id = 0;     // in the register; 0 before it is kept
    int anio = 0;      // numbered per year ...
    int secuencia = 0; // ... from 1
    QDate fecha;
    int validez = kValidezPorDefecto; // days
    EstadoPresupuesto estado = EstadoPresupuesto::Pendiente;
    bool emitido = false; // printed or exported once: kept for good
    Empresa empresa;
    Cliente cliente;
    Viaje viaje;
    int servicio = 1; // 1 to 5
    double km = 0, horas = 0;
    int margen = 0;   // hundredths of a point
    int iva = kIvaPorDefecto;
    std::optional<Centimos> precioObjetivo; // typed price before VAT, instead of the margin
    Precio precio;
    QString condiciones, notas;
    OrigenCalculo origen;

    QString numero() const; // "2026-0001"; empty before it is kept
    QDate caduca() const { return fecha.addDays(validez); }
    // The state shown on a day: a pending quote past its validity is "caducado".
    QString estadoMostrado(const QDate &hoy) const;
    bool operator==(const Presupuesto &) const = default;
};

// What the calculation gives a new quote for one of its services: the
// kilometres and hours, the cost and the record of the calculation.
// No value when the service has no cost by kilometres and hours.
std::optional<Presupuesto> presupuestoDeCalculo(const Calculo &c, const QString &archivo, int servicio);

// The price from the quote's own figures: the margin, or the target price.
// False (and nothing changed) when they cannot make one.
bool recalcularPrecio(Presupuesto &p);

// A Spanish tax number: DNI or NIE with its control letter, or CIF with its
// control digit or letter. Spaces, dots and dashes are ignored.
bool nifValido(const QString &nif);
QString nifNormalizado(const QString &nif);

} // namespace pelmora
