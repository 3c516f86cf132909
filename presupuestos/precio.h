// The price of a service from its cost: a margin on the price before VAT,
// the VAT on the rounded base, and the total, every amount to the cent.
#pragma once

#include "calculo/columna.h"
#include "presupuestos/dinero.h"

#include <optional>
#include <vector>

namespace pelmora {

// Rates in hundredths of a point: 1250 is 12,50 %.
constexpr int kMargenMaximo = 9500;      // 95 %
constexpr int kIvaMaximo = 3000;         // 30 %
constexpr int kIvaPorDefecto = 1000;     // passenger transport by road
constexpr int kValidezPorDefecto = 30;   // days

struct Precio {
    Centimos coste = 0;
    Centimos sinIva = 0;  // price before VAT
    Centimos margen = 0;  // sinIva - coste; negative below cost
    Centimos iva = 0;     // on the rounded base
    Centimos total = 0;   // sinIva + iva
    bool operator==(const Precio &) const = default;
};

// The price that leaves a margin (0..kMargenMaximo) of the price before
// VAT: coste / (1 - margen), to the cent. No value for a rate out of range.
std::optional<Precio> precioConMargen(Centimos coste, int margen, int iva);

// A price before VAT typed by the user, with its VAT and total.
std::optional<Precio> precioDado(Centimos coste, Centimos sinIva, int iva);

// The margin a price before VAT leaves, in hundredths of a point, rounded
// half away from zero; negative below cost. No value for a price of 0 or less.
std::optional<int> margenDe(Centimos coste, Centimos sinIva);

// An amount per unit (kilometre, hour, seat) to the cent; no value without units.
std::optional<Centimos> porUnidad(Centimos importe, double unidades);

// The cost of a service billed by kilometres and hours: its own costs plus
// km x C2 plus hours x C3, to the cent; no value unless both are above 0.
std::optional<Centimos> costeKmYHoras(double propios, double km, double horas, double c2, double c3);

// A service of a calculation that has a cost by kilometres and hours.
struct ServicioCalculo {
    int numero = 0; // 1 to 5
    Centimos coste = 0;
    double km = 0;
    double horas = 0;
};

// The services of the user column with a cost by kilometres and hours, in order.
std::vector<ServicioCalculo> serviciosConCoste(const Columna &s);

// The seats of the coach less the driver's (0 when unknown).
int plazasViajeros(const Columna &s);

// A priced service with its price before VAT per kilometre, hour and seat.
struct ServicioPrecio {
    ServicioCalculo servicio;
    Precio precio;
    std::optional<Centimos> porKm, porHora, porPlaza;
};
std::optional<ServicioPrecio> precioServicio(const ServicioCalculo &s, int margen, int iva, int plazas);

} // namespace pelmora
