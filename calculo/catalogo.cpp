#include "calculo/catalogo.h"

namespace pelmora {

namespace {

// Words that several boxes share: headings over their columns and the
// frames that tell rows of the same caption apart.
const char kPorcentaje[] = "%";
const char kKilometros[] = "kilómetros";
const char kEuros[] = "Euros";
const char kEurosLitro[] = "Euros / litro";
const char kCostesAnuales[] = "Costes anuales (Euros)";
const char kTecnicas[] = "Características técnicas del autocar";
const char kExplotacion[] = "Características de explotación del autocar";
const char kEquipos[] = "Equipos auxiliares";
const char kSeguros[] = "Seguros";
const char kFiscales[] = "Costes fiscales";
const char kNeumaticos[] = "Neumáticos";
const char kSegunFacturacion[] = "COSTE DEL SERVICIO según el tipo de facturación (Euros)";
const char kServicio1[] = "Servicio 1";
const char kServicio2[] = "Servicio 2";
const char kServicio3[] = "Servicio 3";
const char kServicio4[] = "Servicio 4";
const char kServicio5[] = "Servicio 5";

// One row per field, indexed from 1: decimals, maximum length, kind, limits,
// stored flag, caption of the row and tool tip, then the heading of the
// box's column and its frame where the form shows them.
const CampoInfo kCaracteristicas[] = {
    {},  // index 0 is not used
    {-1, 45, TipoCampo::Entrada, Limite::Texto, 1, 0, true, "Descripción", "Descripción del tipo de autocar", "", kTecnicas},  // 1
    {0, 3, TipoCampo::Entrada, Limite::Numero, 10, 200, true, "Número de plazas incluido el conductor", "Número de plazas del autocar incluida la del conductor"},  // 2
    {1, 4, TipoCampo::Entrada, Limite::Numero, 4.0, 18.0, true, "Longitud (metros)", "Longitud total del autocar en metros"},  // 3
    {0, 1, TipoCampo::Entrada, Limite::Numero, 2, 4, true, "Número de ejes", "Número total de ejes del autocar"},  // 4
    {0, 3, TipoCampo::Entrada, Limite::Numero, 100, 999, true, "Potencia (C.V.)", "Potencia del autocar en C.V."},  // 5
    {0, 6, TipoCampo::Entrada, Limite::Numero, 0, 28000, true, "Masa Máxima Autorizada (kg)", "M.M.A. del autocar en kilogramos"},  // 6
    {-1, 10, TipoCampo::Entrada, Limite::Texto, 0, 0, true, "Categoría del autocar", "Categoría del autocar"},  // 7
    {-1, 45, TipoCampo::Entrada, Limite::Texto, 0, 0, true, "Descripción", "Descripción del tipo de explotación del autocar", "", kExplotacion},  // 8
    {0, 7, TipoCampo::Entrada, Limite::Numero, 5000, 400000, true, "Kilómetros recorridos anualmente", "Kilómetros totales anuales recorridos por el autocar"},  // 9
    {1, 5, TipoCampo::Entrada, Limite::Numero, 20.0, 100.0, true, "Kilómetros facturados de los recorridos al año", "Porcentaje de los kilómetros anuales recorridos que son facturados", kPorcentaje},  // 10
    {0, 7, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros facturados de los recorridos al año", "", kKilometros},  // 11
    {1, 5, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros no facturados de los recorridos al año", "", kPorcentaje},  // 12
    {0, 7, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros no facturados de los recorridos al año", "", kKilometros},  // 13
    {0, 5, TipoCampo::Entrada, Limite::Numero, 100, 5500, true, "Horas trabajadas anualmente", "Horas anuales en las que el autocar realiza alguna actividad"},  // 14
    {1, 5, TipoCampo::Entrada, Limite::Numero, 20.0, 100.0, true, "Horas facturadas de las trabajadas al año", "Porcentaje de las horas anuales trabajadas que son facturadas", kPorcentaje},  // 15
    {0, 5, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Horas facturadas de las trabajadas al año", "", "Horas"},  // 16
    {1, 5, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Horas no facturadas de las trabajadas al año", "", kPorcentaje},  // 17
    {0, 5, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Horas no facturadas de las trabajadas al año", "", "Horas"},  // 18
    {1, 5, TipoCampo::Entrada, Limite::Numero, 20.0, 100.0, true, "Kilómetros con viajeros de los recorridos al año", "Porcentaje de los kilómetros recorridos anualmente que son realizados con algún viajero", kPorcentaje},  // 19
    {0, 7, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros con viajeros de los recorridos al año", "", kKilometros},  // 20
    {1, 5, TipoCampo::Entrada, Limite::Numero, 10.0, 100.0, true, "Ocupación media de las plazas en los kilómetros recorridos con viajeros", "Porcentaje medio de ocupación de las plazas del autocar en los kilómetros recorridos con algún viajero", kPorcentaje},  // 21
    {1, 5, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Ocupación media de las plazas en los kilómetros recorridos con viajeros", "", "viajeros por vehículo"},  // 22
    {0, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Producción anual (viajeros - kilómetro)", ""},  // 23
};

const CampoInfo kCostesFijos1[] = {
    {},  // index 0 is not used
    {0, 0, TipoCampo::Opcion, Limite::Booleano, 0, 0, true, "Forma de adquisición", "Elegir la forma de adquisición del autocar"},  // 1
    {2, 10, TipoCampo::Entrada, Limite::Numero, 6000.00, 600000.00, true, "Precio de adquisición sin IVA (Euros)", "Precio sin IVA de adquisición del autocar (euros)"},  // 2
    {1, 4, TipoCampo::Entrada, Limite::Numero, 0.1, 30.0, true, "Vida útil (años)", "Número de años desde la compra hasta la venta o baja del autocar"},  // 3
    {1, 4, TipoCampo::Entrada, Limite::Numero, 0.0, 80.0, true, "Valor residual sobre precio de adquisición (%)", "Precio sin IVA de venta del autocar al final de su vida útil, expresado en % del precio de adquisición"},  // 4
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Valor residual sin IVA (Euros)", ""},  // 5
    {1, 5, TipoCampo::Entrada, Limite::Numero, 0.0, 125.0, true, "Capital a financiar", "Capital invertido en el autocar que se financia, expresado en % del valor de adquisición", "% sobre el precio de adquisición"},  // 6
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Capital a financiar", "", kEuros},  // 7
    {1, 4, TipoCampo::Entrada, Limite::Numero, 0.1, 30.0, true, "Periodo de financiación (años)", "Número de años de la financiación del autocar"},  // 8
    {3, 6, TipoCampo::Entrada, Limite::Numero, 0.1, 25.0, true, "Interés anual de la financiación (%)", "Interés anual de la financiación del autocar (%)"},  // 9
    {2, 10, TipoCampo::Entrada, Limite::Numero, 0.00, 60000.00, true, "Coste anual sin IVA (Euros)", "Coste anual sin IVA del alquiler o similar del autocar (euros)"},  // 10
    {0, 0, TipoCampo::Opcion, Limite::Booleano, 0, 0, true, "Forma de adquisición", "Elegir la forma de adquisición de los equipos auxiliares", "", kEquipos},  // 11
    {2, 10, TipoCampo::Entrada, Limite::Numero, 0.00, 300000.00, true, "Precio de adquisición sin IVA (Euros)", "Precio sin IVA de adquisición de los equipos auxiliares (euros)", "", kEquipos},  // 12
    {1, 4, TipoCampo::Entrada, Limite::Numero, 0.1, 30.0, true, "Vida útil (años)", "Número de años desde la compra hasta la venta o baja de los equipos auxiliares", "", kEquipos},  // 13
    {1, 4, TipoCampo::Entrada, Limite::Numero, 0.0, 80.0, true, "Valor residual sobre precio de adquisición (%)", "Precio sin IVA de venta de los equipos auxiliares al final de su vida útil, expresado en % del precio de adquisición", "", kEquipos},  // 14
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Valor residual sin IVA (Euros)", "", "", kEquipos},  // 15
    {1, 5, TipoCampo::Entrada, Limite::Numero, 0.0, 125.0, true, "Capital a financiar", "Capital invertido en los equipos auxiliares que se financia, expresado en % del valor de adquisición", "% sobre el precio de adquisición", kEquipos},  // 16
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Capital a financiar", "", kEuros, kEquipos},  // 17
    {1, 4, TipoCampo::Entrada, Limite::Numero, 0.1, 30.0, true, "Periodo de financiación (años)", "Número de años de la financiación de los equipos auxiliares", "", kEquipos},  // 18
    {3, 6, TipoCampo::Entrada, Limite::Numero, 0.1, 25.0, true, "Interés anual de la financiación (%)", "Interés anual de la financiación de los equipos auxiliares (%)", "", kEquipos},  // 19
    {2, 10, TipoCampo::Entrada, Limite::Numero, 0.00, 60000.00, true, "Coste anual sin IVA (Euros)", "Coste anual sin IVA del alquiler o similar de los equipos auxiliares (euros)", "", kEquipos},  // 20
};

const CampoInfo kCostesFijos2[] = {
    {},  // index 0 is not used
    {2, 10, TipoCampo::Entrada, Limite::Numero, 0.00, 150000.00, true, "Coste total anual del sueldo del personal de a bordo, incluidos costes de empresa (Seguridad Social y otros)", "Coste anual para la empresa del sueldo del personal de a bordo del autocar (euros)"},  // 1
    {0, 0, TipoCampo::Opcion, Limite::Booleano, 0, 0, true, "", "Elegir la forma de introducir los costes anuales de dietas y plus de actividad"},  // 2
    {2, 6, TipoCampo::Entrada, Limite::Numero, 0.00, 200.00, true, "Dieta total diaria del personal de a bordo (Euros / día)", "Coste para la empresa de la dieta diaria del personal de a bordo (euros / día)"},  // 3
    {0, 3, TipoCampo::Entrada, Limite::Numero, 0, 366, true, "Número de días con dieta al año", "Número de días al año en los que el personal de a bordo percibe la dieta anterior"},  // 4
    {2, 9, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Dieta total anual (Euros)", ""},  // 5
    {4, 6, TipoCampo::Entrada, Limite::Numero, 0.0000, 0.5000, true, "Plus de actividad anual del personal de a bordo", "Coste para la empresa del plus de actividad que percibe el personal de a bordo por kilómetro recorrido anualmente (euros / kilómetro)", "Euros / km"},  // 6
    {2, 9, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Plus de actividad anual del personal de a bordo", "", kEuros},  // 7
    {2, 9, TipoCampo::Conmutable, Limite::Numero, 0.00, 273200.00, true, "Dietas y plus de actividad anuales del personal de a bordo (Euros)", "Coste anual para la empresa de las dietas y plus de actividad que percibe el personal de a bordo (euros)"},  // 8
    {0, 0, TipoCampo::Opcion, Limite::Booleano, 0, 0, true, "", "Elegir la forma de introducir los costes anuales de seguros"},  // 9
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 10000.00, true, "Seguro obligatorio del autocar", "Coste anual del seguro obligatorio del autocar (euros)", kCostesAnuales, kSeguros},  // 10
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 15000.00, true, "Responsabilidad civil", "Coste anual del seguro de responsabilidad civil ilimitada del autocar (euros)", kCostesAnuales, kSeguros},  // 11
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 10000.00, true, "Seguro obligatorio de viajeros", "Coste anual del seguro obligatorio de viajeros (euros)", kCostesAnuales, kSeguros},  // 12
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 5000.00, true, "Defensa y reclamación de daños", "Coste anual del seguro de defensa y reclamación de daños (euros)", kCostesAnuales, kSeguros},  // 13
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 1500.00, true, "Seguro de accidentes del conductor", "Coste anual del seguro de accidentes del conductor (euros)", kCostesAnuales, kSeguros},  // 14
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 5000.00, true, "Seguro de incendios", "Coste anual del seguro de incendios del autocar (euros)", kCostesAnuales, kSeguros},  // 15
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 15000.00, true, "Daños propios (todo riesgo)", "Coste anual del seguro de daños propios (euros)", kCostesAnuales, kSeguros},  // 16
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 5000.00, true, "Otros", "Coste anuales de otros seguros (euros)", kCostesAnuales, kSeguros},  // 17
    {2, 9, TipoCampo::Conmutable, Limite::Numero, 0.00, 66500.00, true, "Coste total anual", "Coste anual de los seguros (euros)", kCostesAnuales, kSeguros},  // 18
    {0, 0, TipoCampo::Opcion, Limite::Booleano, 0, 0, true, "", "Elegir la forma de introducir los costes fiscales anuales"},  // 19
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 1500.00, true, "Visados", "Coste anual de los visados (euros)", kCostesAnuales, kFiscales},  // 20
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 1500.00, true, "Inspección Técnica de Vehículos (I.T.V.)", "Coste anual de la Inspección Técnica de Vehículos (euros)", kCostesAnuales, kFiscales},  // 21
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 2000.00, true, "Impuesto de Actividades Económicas (I.A.E.) repercutible a este autocar", "Coste anual del Impuesto de Actividades Económicas repercutible a este autocar (euros)", kCostesAnuales, kFiscales},  // 22
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 2000.00, true, "Impuesto de Vehículos de Tracción Mecánica (I.V.T.M.)", "Coste anual del Impuesto de Vehículos de Tracción Mecánica (euros)", kCostesAnuales, kFiscales},  // 23
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 1500.00, true, "Revisión tacógrafo", "Coste anual de la revisión del tacógrafo (euros)", kCostesAnuales, kFiscales},  // 24
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 6000.00, true, "Tasas de estación del autocar", "Coste anual de las tasas de estación de este autocar (euros)", kCostesAnuales, kFiscales},  // 25
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 6000.00, true, "Tasas de estación de los viajeros del autocar", "Coste anual de las tasas de estación de los viajeros de este autocar (euros)", kCostesAnuales, kFiscales},  // 26
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 30000.00, true, "Otros", "Coste anual de otros costes fiscales (euros)", kCostesAnuales, kFiscales},  // 27
    {2, 9, TipoCampo::Conmutable, Limite::Numero, 0.00, 50500.00, true, "Coste total anual", "Costes fiscales anuales (euros)", kCostesAnuales, kFiscales},  // 28
};

const CampoInfo kCostesVariables[] = {
    {},  // index 0 is not used
    {4, 6, TipoCampo::Entrada, Limite::Numero, 0.3000, 2.0000, true, "Precio del carburante con IVA", "Precio con IVA, antes de restar el descuento, al que se compra el carburante del autocar (euros / litro)", kEurosLitro},  // 1
    {1, 4, TipoCampo::Derivado, Limite::Numero, 0.0, 60.0, false, "Descuento", "", kPorcentaje},  // 2
    {4, 6, TipoCampo::Entrada, Limite::Numero, 0.0000, 2.0000, true, "Descuento", "Descuento conseguido en el precio del carburante del autocar (Euros / litro)", kEurosLitro},  // 3
    {1, 4, TipoCampo::Entrada, Limite::Numero, 0.0, 30.0, true, "IVA aplicado al carburante", "IVA aplicado al carburante del autocar (%)", kPorcentaje},  // 4
    {4, 6, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "IVA aplicado al carburante", "", kEurosLitro},  // 5
    {4, 6, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Precio de adquisición sin IVA", "", kEurosLitro},  // 6
    {1, 4, TipoCampo::Entrada, Limite::Numero, 3.0, 80.0, true, "Consumo medio del autocar", "Consumo medio de carburante del autocar (litros / 100 km)", "litros / 100 km"},  // 7
    {0, 1, TipoCampo::Entrada, Limite::Numero, 0, 6, true, "Direccionales", "Número de neumáticos de los ejes direccionales del autocar", "Nº", kNeumaticos},  // 8
    {2, 8, TipoCampo::Entrada, Limite::Numero, 30.00, 2000.00, true, "Direccionales", "Precio sin IVA de sustitución de un neumático direccional del autocar (euros)", "Precio sin IVA de un neumático (Euros / unidad)", kNeumaticos},  // 9
    {0, 7, TipoCampo::Entrada, Limite::Numero, 10000, 300000, true, "Direccionales", "Duración media de los neumáticos direccionales del autocar (kilómetros)", "Duración media (km)", kNeumaticos},  // 10
    {0, 1, TipoCampo::Entrada, Limite::Numero, 0, 6, true, "Motrices", "Número de neumáticos de los ejes tractores del autocar", "Nº", kNeumaticos},  // 11
    {2, 8, TipoCampo::Entrada, Limite::Numero, 30.00, 2000.00, true, "Motrices", "Precio sin IVA de sustitución de un neumático motriz del autocar (euros)", "Precio sin IVA de un neumático (Euros / unidad)", kNeumaticos},  // 12
    {0, 7, TipoCampo::Entrada, Limite::Numero, 10000, 300000, true, "Motrices", "Duración media de los neumáticos motrices del autocar (kilómetros)", "Duración media (km)", kNeumaticos},  // 13
    {0, 1, TipoCampo::Entrada, Limite::Numero, 0, 6, true, "Arrastre", "Número de neumáticos de los ejes no direccionales y no tractores del autocar", "Nº", kNeumaticos},  // 14
    {2, 8, TipoCampo::Entrada, Limite::Numero, 30.00, 2000.00, true, "Arrastre", "Precio sin IVA de sustitución de un neumático de arrastre del autocar (euros)", "Precio sin IVA de un neumático (Euros / unidad)", kNeumaticos},  // 15
    {0, 7, TipoCampo::Entrada, Limite::Numero, 10000, 300000, true, "Arrastre", "Duración media de los neumáticos de arrastre del autocar (kilómetros)", "Duración media (km)", kNeumaticos},  // 16
    {4, 6, TipoCampo::Entrada, Limite::Numero, 0.0000, 0.6000, true, "Reparaciones y conservación", "Coste kilómetrico sin IVA de las reparaciones y conservación del autocar (euros / kilómetro)", "Coste kilométrico sin IVA (Euros / km)"},  // 17
    {2, 9, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Reparaciones y conservación", "", "Coste anual sin IVA (Euros)"},  // 18
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 30000.00, true, "Coste anual sin IVA en peajes (Euros)", "Coste anual sin IVA de los peajes (euros)"},  // 19
};

const CampoInfo kCostesIndirectos[] = {
    {},  // index 0 is not used
    {0, 0, TipoCampo::Opcion, Limite::Booleano, 0, 0, true, "", "Elegir la forma de introducir los costes indirectos"},  // 1
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 30000.00, true, "Coste anual de estructura de empresa (gestión, administración, ...) repercutible a este autocar", "Coste anual de estructura de la empresa a repercutir sobre este autocar (euros)", kEuros},  // 2
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 30000.00, true, "Coste anual de comercialización repercutible a este autocar", "Coste anual de comercialización a repercutir sobre este autocar (euros)", kEuros},  // 3
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 30000.00, true, "Otros costes indirectos anuales repercutibles a este autocar", "Otros costes indirectos anuales de la empresa a repercutir sobre este autocar (euros)", kEuros},  // 4
    {2, 10, TipoCampo::Conmutable, Limite::Numero, 0.00, 90000.00, true, "Costes Indirectos anuales repercutibles a este autocar", "Coste indirectos anuales a repercutir sobre este autocar (euros)", kEuros},  // 5
};

const CampoInfo kServicio[] = {
    {},  // index 0 is not used
    {4, 7, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Coste unitario por viajero-kilómetro", "", "€/viajero-km"},  // 1
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 60000.00, true, "Costes repercutidos únicamente a este servicio (Euros)", "Costes repercutidos únicamente a este servicio (euros)", kServicio1},  // 2
    {1, 9, TipoCampo::Entrada, Limite::Numero, 0.0, 400000.0, true, "Kilómetros facturados a este servicio", "Kilómetros facturados a este servicio", kServicio1},  // 3
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 5500.00, true, "Horas facturadas a este servicio", "Horas facturadas a este servicio", kServicio1},  // 4
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros y horas", "", kServicio1, kSegunFacturacion},  // 5
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros", "", kServicio1, kSegunFacturacion},  // 6
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Horas", "", kServicio1, kSegunFacturacion},  // 7
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 60000.00, true, "Costes repercutidos únicamente a este servicio (Euros)", "Costes repercutibles únicamente a este servicio (euros)", kServicio2},  // 8
    {1, 9, TipoCampo::Entrada, Limite::Numero, 0.0, 400000.0, true, "Kilómetros facturados a este servicio", "Kilómetros facturados a este servicio", kServicio2},  // 9
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 5500.00, true, "Horas facturadas a este servicio", "Horas facturadas a este servicio", kServicio2},  // 10
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros y horas", "", kServicio2, kSegunFacturacion},  // 11
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros", "", kServicio2, kSegunFacturacion},  // 12
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Horas", "", kServicio2, kSegunFacturacion},  // 13
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 60000.00, true, "Costes repercutidos únicamente a este servicio (Euros)", "Costes repercutibles únicamente a este servicio (euros)", kServicio3},  // 14
    {1, 9, TipoCampo::Entrada, Limite::Numero, 0.0, 400000.0, true, "Kilómetros facturados a este servicio", "Kilómetros facturados a este servicio", kServicio3},  // 15
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 5500.00, true, "Horas facturadas a este servicio", "Horas facturadas a este servicio", kServicio3},  // 16
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros y horas", "", kServicio3, kSegunFacturacion},  // 17
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros", "", kServicio3, kSegunFacturacion},  // 18
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Horas", "", kServicio3, kSegunFacturacion},  // 19
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 60000.00, true, "Costes repercutidos únicamente a este servicio (Euros)", "Costes repercutibles únicamente a este servicio (euros)", kServicio4},  // 20
    {1, 9, TipoCampo::Entrada, Limite::Numero, 0.0, 400000.0, true, "Kilómetros facturados a este servicio", "Kilómetros facturados a este servicio", kServicio4},  // 21
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 5500.00, true, "Horas facturadas a este servicio", "Horas facturadas a este servicio", kServicio4},  // 22
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros y horas", "", kServicio4, kSegunFacturacion},  // 23
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros", "", kServicio4, kSegunFacturacion},  // 24
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Horas", "", kServicio4, kSegunFacturacion},  // 25
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 60000.00, true, "Costes repercutidos únicamente a este servicio (Euros)", "Costes repercutibles únicamente a este servicio (euros)", kServicio5},  // 26
    {1, 9, TipoCampo::Entrada, Limite::Numero, 0.0, 400000.0, true, "Kilómetros facturados a este servicio", "Kilómetros facturados a este servicio", kServicio5},  // 27
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 5500.00, true, "Horas facturadas a este servicio", "Horas facturadas a este servicio", kServicio5},  // 28
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros y horas", "", kServicio5, kSegunFacturacion},  // 29
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros", "", kServicio5, kSegunFacturacion},  // 30
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Horas", "", kServicio5, kSegunFacturacion},  // 31
};

// The option pairs: section, field, caption of the group, its buttons.
const char kDesglosado[] = "Desglosado";
const char kTotal[] = "Total";
const char kCompra[] = "Compra";
const char kOtraForma[] = "Otra forma (alquiler, ...)";
const struct {
    Seccion seccion;
    int indice;
    OpcionInfo info;
} kOpciones[] = {
    {Seccion::CostesFijos1, 1, {"Forma de adquisición del autocar", kCompra, kOtraForma}},
    {Seccion::CostesFijos1, 11, {"Forma de adquisición de los equipos auxiliares", kCompra, kOtraForma}},
    {Seccion::CostesFijos2, 2, {"Dietas y plus de actividad", kDesglosado, kTotal}},
    {Seccion::CostesFijos2, 9, {kSeguros, kDesglosado, kTotal}},
    {Seccion::CostesFijos2, 19, {kFiscales, kDesglosado, kTotal}},
    {Seccion::CostesIndirectos, 1, {"Costes indirectos", kDesglosado, kTotal}},
};

} // namespace

const CampoInfo *const detalle::kTablasCampos[kNumSecciones] = {
    kCaracteristicas, kCostesFijos1, kCostesFijos2, kCostesVariables, kCostesIndirectos, nullptr, kServicio};
const CampoInfo detalle::kCampoNinguno{};

QString nombreCampo(Seccion s, int i)
{
    const CampoInfo &c = campo(s, i);
    QString nombre = QString::fromUtf8(c.etiqueta);
    for (const char *parte : {c.columna, c.bloque})
        if (*parte)
            nombre += QStringLiteral(", ") + QString::fromUtf8(parte);
    return nombre;
}

const OpcionInfo &opcion(Seccion s, int i)
{
    static const OpcionInfo ninguna{};
    for (const auto &o : kOpciones)
        if (o.seccion == s && o.indice == i)
            return o.info;
    return ninguna;
}

const char *tituloDeColumna(Col c) { return c == Col::S ? "Cálculo Personalizado" : "Vededizaviro de Costes"; }

int decimalesResultado(int n)
{
    if (n >= 1 && n <= 18)
        return 2;
    if (n >= 21 && n <= 38)
        return 1;
    if (n == 40)
        return 4;
    if (n >= 45 && n <= 48)
        return 3;
    return 0;
}

int decimales(Seccion s, int i)
{
    return s == Seccion::Resultados ? decimalesResultado(i) : campo(s, i).decimales;
}

} // namespace pelmora
