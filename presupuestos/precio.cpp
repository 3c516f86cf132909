#include "presupuestos/precio.h"

#include "calculo/campos.h"
#include "entrada/numeros.h"

#include <cmath>

namespace pelmora {

namespace {

bool importeValido(Centimos c) { return c >= -kMaximoCentimos && c <= kMaximoCentimos; }

} // namespace

std::optional<Precio> precioDado(Centimos coste, Centimos sinIva, int iva)
{
    if (iva < 0 || iva > kIvaMaximo || !importeValido(coste) || !importeValido(sinIva))
        return std::nullopt;
    Precio p;
    p.coste = coste;
    p.sinIva = sinIva;
    p.margen = sinIva - coste;
    p.iva = dividirRedondeando(sinIva * iva, 10000);
    p.total = p.sinIva + p.iva;
    return p;
}

std::optional<Precio> precioConMargen(Centimos coste, int margen, int iva)
{
    if (margen < 0 || margen > kMargenMaximo || !importeValido(coste))
        return std::nullopt;
    return precioDado(coste, dividirRedondeando(coste * 10000, 10000 - margen), iva);
}

std::optional<int> margenDe(Centimos coste, Centimos sinIva)
{
    if (sinIva <= 0 || !importeValido(coste) || !importeValido(sinIva))
        return std::nullopt;
    const qint64 m = dividirRedondeando((sinIva - coste) * 10000, sinIva);
    if (m < -1'000'000'000 || m > 1'000'000'000)
        return std::nullopt;
    return int(m);
}

std::optional<Centimos> porUnidad(Centimos importe, double unidades)
{
    if (!(unidades > 0) || !std::isfinite(unidades))
        return std::nullopt;
    return centimos(double(importe) / 100.0 / unidades);
}

std::optional<Centimos> costeKmYHoras(double propios, double km, double horas, double c2, double c3)
{
    if (!(km > 0) || !(horas > 0))
        return std::nullopt;
    return centimos(propios + km * c2 + horas * c3);
}

std::vector<ServicioCalculo> serviciosConCoste(const Columna &s)
{
    std::vector<ServicioCalculo> r;
    for (int k = 0; k < Serv::kServicios; ++k) {
        const Valor &v = s(Seccion::Servicio, Serv::campo(k, Serv::PrecioKmYHoras));
        const std::optional<Centimos> c = v.esNumero() ? centimos(v.numero()) : std::nullopt;
        if (!c || *c == 0)
            continue;
        r.push_back({k + 1, *c, s(Seccion::Servicio, Serv::campo(k, Serv::Km)).n(),
                     s(Seccion::Servicio, Serv::campo(k, Serv::Horas)).n()});
    }
    return r;
}

int plazasViajeros(const Columna &s)
{
    const double p = s(Seccion::Caracteristicas, Car::Plazas).n();
    return p >= 2 && p < 1000 ? int(p) - 1 : 0;
}

std::optional<ServicioPrecio> precioServicio(const ServicioCalculo &s, int margen, int iva, int plazas)
{
    const std::optional<Precio> p = precioConMargen(s.coste, margen, iva);
    if (!p)
        return std::nullopt;
    return ServicioPrecio{s, *p, porUnidad(p->sinIva, s.km), porUnidad(p->sinIva, s.horas),
                          porUnidad(p->sinIva, plazas)};
}

} // namespace pelmora
