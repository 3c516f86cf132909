#include "analisis/rotulos.h"

#include "calculo/campos.h"
#include "calculo/catalogo.h"

#include <array>
#include <iterator>
#include <vector>

namespace pelmora {

namespace {

struct Fila {
    const char *etiqueta;
    const char *unidad;
};

const char *const kEuros = "€";
const char *const kEurosAno = "€/año";

// Index 0 of every table is not used.
const Fila kCaracteristicas[] = {
    {"", ""},
    {"Descripción del autocar", ""},
    {"Plazas (incluido el conductor)", "plazas"},
    {"Longitud", "m"},
    {"Número de ejes", "ejes"},
    {"Potencia", "CV"},
    {"Masa máxima autorizada", "kg"},
    {"Categoría del autocar", ""},
    {"Descripción de la explotación", ""},
    {"Kilómetros anuales", "km"},
    {"Kilómetros facturados (%)", "%"},
    {"Kilómetros facturados", "km"},
    {"Kilómetros no facturados (%)", "%"},
    {"Kilómetros no facturados", "km"},
    {"Horas anuales", "horas"},
    {"Horas facturadas (%)", "%"},
    {"Horas facturadas", "horas"},
    {"Horas no facturadas (%)", "%"},
    {"Horas no facturadas", "horas"},
    {"Kilómetros con viajeros (%)", "%"},
    {"Kilómetros con viajeros", "km"},
    {"Ocupación media de las plazas (%)", "%"},
    {"Viajeros por vehículo", "viajeros"},
    {"Producción anual", "viajeros-km"},
};

// Costes Fijos (1): the coach, then its auxiliary equipment, alike.
const Fila kBien[] = {
    {"forma de adquisición", ""},
    {"precio de adquisición sin IVA", kEuros},
    {"vida útil", "años"},
    {"valor residual (%)", "%"},
    {"valor residual sin IVA", kEuros},
    {"capital a financiar (%)", "%"},
    {"capital a financiar", kEuros},
    {"periodo de financiación", "años"},
    {"interés anual de la financiación", "%"},
    {"coste anual sin IVA (alquiler, ...)", kEurosAno},
};

const Fila kCostesFijos2[] = {
    {"", ""},
    {"Sueldo del personal de a bordo", kEurosAno},
    {"Dietas y plus de actividad: forma de introducirlos", ""},
    {"Dieta diaria", "€/día"},
    {"Días con dieta al año", "días"},
    {"Dieta anual", kEurosAno},
    {"Plus de actividad por kilómetro", "€/km"},
    {"Plus de actividad anual", kEurosAno},
    {"Dietas y plus de actividad anuales", kEurosAno},
    {"Seguros: forma de introducirlos", ""},
    {"Seguro obligatorio del autocar", kEurosAno},
    {"Seguro de responsabilidad civil", kEurosAno},
    {"Seguro obligatorio de viajeros", kEurosAno},
    {"Seguro de defensa y reclamación de daños", kEurosAno},
    {"Seguro de accidentes del conductor", kEurosAno},
    {"Seguro de incendios", kEurosAno},
    {"Seguro de daños propios (todo riesgo)", kEurosAno},
    {"Otros seguros", kEurosAno},
    {"Seguros anuales", kEurosAno},
    {"Costes fiscales: forma de introducirlos", ""},
    {"Visados", kEurosAno},
    {"Inspección Técnica de Vehículos (I.T.V.)", kEurosAno},
    {"Impuesto de Actividades Económicas (I.A.E.)", kEurosAno},
    {"Impuesto de Vehículos de Tracción Mecánica (I.V.T.M.)", kEurosAno},
    {"Revisión del tacógrafo", kEurosAno},
    {"Tasas de estación del autocar", kEurosAno},
    {"Tasas de estación de los viajeros", kEurosAno},
    {"Otros costes fiscales", kEurosAno},
    {"Costes fiscales anuales", kEurosAno},
};

const Fila kCostesVariables[] = {
    {"", ""},
    {"Precio del carburante con IVA", "€/litro"},
    {"Descuento en el carburante (%)", "%"},
    {"Descuento en el carburante", "€/litro"},
    {"IVA del carburante (%)", "%"},
    {"IVA del carburante", "€/litro"},
    {"Precio del carburante sin IVA", "€/litro"},
    {"Consumo medio", "litros/100 km"},
    {"Neumáticos direccionales: número", "neumáticos"},
    {"Neumáticos direccionales: precio sin IVA", "€/neumático"},
    {"Neumáticos direccionales: duración media", "km"},
    {"Neumáticos motrices: número", "neumáticos"},
    {"Neumáticos motrices: precio sin IVA", "€/neumático"},
    {"Neumáticos motrices: duración media", "km"},
    {"Neumáticos de arrastre: número", "neumáticos"},
    {"Neumáticos de arrastre: precio sin IVA", "€/neumático"},
    {"Neumáticos de arrastre: duración media", "km"},
    {"Reparaciones y conservación por kilómetro", "€/km"},
    {"Reparaciones y conservación anuales", kEurosAno},
    {"Peajes anuales", kEurosAno},
};

const Fila kCostesIndirectos[] = {
    {"", ""},
    {"Costes indirectos: forma de introducirlos", ""},
    {"Costes de estructura", kEurosAno},
    {"Costes de comercialización", kEurosAno},
    {"Otros costes indirectos", kEurosAno},
    {"Costes indirectos anuales", kEurosAno},
};

// The six rows of each service.
const Fila kServicio[] = {
    {"costes propios", kEuros},
    {"kilómetros facturados", "km"},
    {"horas facturadas", "horas"},
    {"coste (kilómetros y horas)", kEuros},
    {"coste (kilómetros)", kEuros},
    {"coste (horas)", kEuros},
};

// Amounts 1 to 18, whose shares are slots 21 to 38.
const char *const kImportes[Res::Totales] = {
    "Amortización del autocar", "Financiación del autocar", "Personal de a bordo",
    "Dietas del personal de a bordo", "Seguros del autocar", "Costes fiscales",
    "Combustible", "Neumáticos", "Reparaciones y conservación", "Peajes",
    "Costes de estructura", "Costes de comercialización", "Otros costes indirectos",
    "Costes temporales", "Costes kilométricos", "Costes directos",
    "Costes indirectos", "Costes totales"};

static_assert(std::size(kCaracteristicas) == tamano(Seccion::Caracteristicas) + 1);
static_assert(std::size(kBien) * 2 == tamano(Seccion::CostesFijos1));
static_assert(std::size(kCostesFijos2) == tamano(Seccion::CostesFijos2) + 1);
static_assert(std::size(kCostesVariables) == tamano(Seccion::CostesVariables) + 1);
static_assert(std::size(kCostesIndirectos) == tamano(Seccion::CostesIndirectos) + 1);
static_assert(std::size(kServicio) * Serv::kServicios + 1 == tamano(Seccion::Servicio));

Rotulo hacer(const Fila &f) { return {QString::fromUtf8(f.etiqueta), QString::fromUtf8(f.unidad)}; }

} // namespace

Rotulo rotuloResultado(int n)
{
    using namespace Res;
    if (n >= Amortizacion && n <= Totales)
        return {QString::fromUtf8(kImportes[n - 1]), QString::fromUtf8(kEurosAno)};
    if (n >= cuota(Amortizacion) && n <= cuota(Totales))
        return {QString::fromUtf8(kImportes[n - cuota(Amortizacion)]) + QStringLiteral(" (%)"),
                QStringLiteral("%")};
    switch (n) {
    case ViajerosKm: return hacer({"Producción anual", "viajeros-km"});
    case C1: return hacer({"C1 = coste unitario por viajero-kilómetro", "€/viajero-km"});
    case KmAnuales: return hacer({"Kilometraje anual", "km"});
    case KmFacturados: return hacer({"Kilometraje anual facturado", "km"});
    case HorasAnuales: return hacer({"Horas anuales", "horas"});
    case HorasFacturadas: return hacer({"Horas anuales facturadas", "horas"});
    case C2: return hacer({"C2 = coste unitario por kilómetro (costes kilométricos)", "€/km"});
    case C3: return hacer({"C3 = coste unitario por hora (costes temporales e indirectos)", "€/hora"});
    case C4: return hacer({"C4 = coste unitario por kilómetro (costes totales)", "€/km"});
    case C5: return hacer({"C5 = coste unitario por hora (costes totales)", "€/hora"});
    default: return {};
    }
}

namespace {

Rotulo hacerRotulo(Seccion s, int i)
{
    switch (s) {
    case Seccion::Caracteristicas: return hacer(kCaracteristicas[i]);
    case Seccion::CostesFijos1: {
        const bool equipos = i > F1::AlquilerAutocar;
        Rotulo r = hacer(kBien[(i - 1) % F1::AlquilerAutocar]);
        r.etiqueta = (equipos ? QStringLiteral("Equipos auxiliares: ") : QStringLiteral("Autocar: ")) + r.etiqueta;
        return r;
    }
    case Seccion::CostesFijos2: return hacer(kCostesFijos2[i]);
    case Seccion::CostesVariables: return hacer(kCostesVariables[i]);
    case Seccion::CostesIndirectos: return hacer(kCostesIndirectos[i]);
    case Seccion::Resultados: return rotuloResultado(i);
    case Seccion::Servicio: {
        if (i == Serv::C1)
            return hacer({"Coste unitario por viajero-kilómetro", "€/viajero-km"});
        Rotulo r = hacer(kServicio[Serv::fila(i)]);
        r.etiqueta = QStringLiteral("Servicio %1: ").arg(Serv::servicio(i) + 1) + r.etiqueta;
        return r;
    }
    }
    return {};
}

} // namespace

Rotulo rotulo(Seccion s, int i)
{
    // Written once: the sensitivity and the exports ask for them at every change.
    static const auto hechos = [] {
        std::array<std::vector<Rotulo>, kNumSecciones> t;
        for (int k = 0; k < kNumSecciones; ++k) {
            t[size_t(k)].resize(size_t(tamano(Seccion(k))) + 1);
            for (int j = 1; j <= tamano(Seccion(k)); ++j)
                t[size_t(k)][size_t(j)] = hacerRotulo(Seccion(k), j);
        }
        return t;
    }();
    if (i < 1 || i > tamano(s))
        return {};
    return hechos[size_t(ord(s))][size_t(i)];
}

QString textoOpcion(Seccion s, int i, bool primera)
{
    const OpcionInfo &o = opcion(s, i);
    return QString::fromUtf8(primera ? o.primera : o.segunda);
}

} // namespace pelmora
