#include "calculo/catalogo.h"

namespace pelmora {

namespace {

// One row per field, indexed from 1: decimals, maximum length, kind, limits,
// stored flag, caption and tool tip of the user-column box.
const CampoInfo kCaracteristicas[] = {
    {},  // index 0 is not used
    {-1, 45, TipoCampo::Entrada, Limite::Texto, 1, 0, true, "Descripción", "Descripción del tipo de autocar"},  // 1
    {0, 3, TipoCampo::Entrada, Limite::Numero, 10, 200, true, "Número de plazas incluido el conductor", "Número de plazas del autocar incluida la del conductor"},  // 2
    {1, 4, TipoCampo::Entrada, Limite::Numero, 4.0, 18.0, true, "Longitud (metros)", "Longitud total del autocar en metros"},  // 3
    {0, 1, TipoCampo::Entrada, Limite::Numero, 2, 4, true, "Número de ejes", "Número total de ejes del autocar"},  // 4
    {0, 3, TipoCampo::Entrada, Limite::Numero, 100, 999, true, "Potencia (C.V.)", "Potencia del autocar en C.V."},  // 5
    {0, 6, TipoCampo::Entrada, Limite::Numero, 0, 28000, true, "Masa Máxima Autorizada (kg)", "M.M.A. del autocar en kilogramos"},  // 6
    {-1, 10, TipoCampo::Entrada, Limite::Texto, 0, 0, true, "Categoría del autocar", "Categoría del autocar"},  // 7
    {-1, 45, TipoCampo::Entrada, Limite::Texto, 0, 0, true, "Descripción", "Descripción del tipo de explotación del autocar"},  // 8
    {0, 7, TipoCampo::Entrada, Limite::Numero, 5000, 400000, true, "Kilómetros recorridos anualmente", "Kilómetros totales anuales recorridos por el autocar"},  // 9
    {1, 5, TipoCampo::Entrada, Limite::Numero, 20.0, 100.0, true, "Kilómetros facturados de los recorridos al año", "Porcentaje de los kilómetros anuales recorridos que son facturados"},  // 10
    {0, 7, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "", ""},  // 11
    {1, 5, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros no facturados de los recorridos al año", ""},  // 12
    {0, 7, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "", ""},  // 13
    {0, 5, TipoCampo::Entrada, Limite::Numero, 100, 5500, true, "Horas trabajadas anualmente", "Horas anuales en las que el autocar realiza alguna actividad"},  // 14
    {1, 5, TipoCampo::Entrada, Limite::Numero, 20.0, 100.0, true, "Horas facturadas de las trabajadas al año", "Porcentaje de las horas anuales trabajadas que son facturadas"},  // 15
    {0, 5, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "", ""},  // 16
    {1, 5, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Horas no facturadas de las trabajadas al año", ""},  // 17
    {0, 5, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "", ""},  // 18
    {1, 5, TipoCampo::Entrada, Limite::Numero, 20.0, 100.0, true, "Kilómetros con viajeros de los recorridos al año", "Porcentaje de los kilómetros recorridos anualmente que son realizados con algún viajero"},  // 19
    {0, 7, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "", ""},  // 20
    {1, 5, TipoCampo::Entrada, Limite::Numero, 10.0, 100.0, true, "Ocupación media de las plazas en los kilómetros recorridos con viajeros", "Porcentaje medio de ocupación de las plazas del autocar en los kilómetros recorridos con algún viajero"},  // 21
    {1, 5, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "viajeros por vehículo", ""},  // 22
    {0, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Producción anual (viajeros - kilómetro)", ""},  // 23
};

const CampoInfo kCostesFijos1[] = {
    {},  // index 0 is not used
    {0, 0, TipoCampo::Opcion, Limite::Booleano, 0, 0, true, "Forma de adquisición", ""},  // 1
    {2, 10, TipoCampo::Entrada, Limite::Numero, 6000.00, 600000.00, true, "Precio de adquisición sin IVA (Euros)", "Precio sin IVA de adquisición del autocar (euros)"},  // 2
    {1, 4, TipoCampo::Entrada, Limite::Numero, 0.1, 30.0, true, "Vida útil (años)", "Número de años desde la compra hasta la venta o baja del autocar"},  // 3
    {1, 4, TipoCampo::Entrada, Limite::Numero, 0.0, 80.0, true, "Valor residual sobre precio de adquisición (%)", "Precio sin IVA de venta del autocar al final de su vida útil, expresado en % del precio de adquisición"},  // 4
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Valor residual sin IVA (Euros)", ""},  // 5
    {1, 5, TipoCampo::Entrada, Limite::Numero, 0.0, 125.0, true, "Capital a financiar", "Capital invertido en el autocar que se financia, expresado en % del valor de adquisición"},  // 6
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Capital a financiar", ""},  // 7
    {1, 4, TipoCampo::Entrada, Limite::Numero, 0.1, 30.0, true, "Periodo de financiación (años)", "Número de años de la financiación del autocar"},  // 8
    {3, 6, TipoCampo::Entrada, Limite::Numero, 0.1, 25.0, true, "Interés anual de la financiación (%)", "Interés anual de la financiación del autocar (%)"},  // 9
    {2, 10, TipoCampo::Entrada, Limite::Numero, 0.00, 60000.00, true, "Coste anual sin IVA (Euros)", "Coste anual sin IVA del alquiler o similar del autocar (euros)"},  // 10
    {0, 0, TipoCampo::Opcion, Limite::Booleano, 0, 0, true, "Forma de adquisición", ""},  // 11
    {2, 10, TipoCampo::Entrada, Limite::Numero, 0.00, 300000.00, true, "Precio de adquisición sin IVA (Euros)", "Precio sin IVA de adquisición de los equipos auxiliares (euros)"},  // 12
    {1, 4, TipoCampo::Entrada, Limite::Numero, 0.1, 30.0, true, "Vida útil (años)", "Número de años desde la compra hasta la venta o baja de los equipos auxiliares"},  // 13
    {1, 4, TipoCampo::Entrada, Limite::Numero, 0.0, 80.0, true, "Valor residual sobre precio de adquisición (%)", "Precio sin IVA de venta de los equipos auxiliares al final de su vida útil, expresado en % del precio de adquisición"},  // 14
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Valor residual sin IVA (Euros)", ""},  // 15
    {1, 5, TipoCampo::Entrada, Limite::Numero, 0.0, 125.0, true, "Capital a financiar", "Capital invertido en los equipos auxiliares que se financia, expresado en % del valor de adquisición"},  // 16
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Capital a financiar", ""},  // 17
    {1, 4, TipoCampo::Entrada, Limite::Numero, 0.1, 30.0, true, "Periodo de financiación (años)", "Número de años de la financiación de los equipos auxiliares"},  // 18
    {3, 6, TipoCampo::Entrada, Limite::Numero, 0.1, 25.0, true, "Interés anual de la financiación (%)", "Interés anual de la financiación de los equipos auxiliares (%)"},  // 19
    {2, 10, TipoCampo::Entrada, Limite::Numero, 0.00, 60000.00, true, "Coste anual sin IVA (Euros)", "Coste anual sin IVA del alquiler o similar de los equipos auxiliares (euros)"},  // 20
};

const CampoInfo kCostesFijos2[] = {
    {},  // index 0 is not used
    {2, 10, TipoCampo::Entrada, Limite::Numero, 0.00, 150000.00, true, "Coste total anual del sueldo del personal de a bordo, incluidos costes de empresa (Seguridad Social y otros)", "Coste anual para la empresa del sueldo del personal de a bordo del autocar (euros)"},  // 1
    {0, 0, TipoCampo::Opcion, Limite::Booleano, 0, 0, true, "", ""},  // 2
    {2, 6, TipoCampo::Entrada, Limite::Numero, 0.00, 200.00, true, "Dieta total diaria del personal de a bordo (Euros / día)", "Coste para la empresa de la dieta diaria del personal de a bordo (euros / día)"},  // 3
    {0, 3, TipoCampo::Entrada, Limite::Numero, 0, 366, true, "Número de días con dieta al año", "Número de días al año en los que el personal de a bordo percibe la dieta anterior"},  // 4
    {2, 9, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Dieta total anual (Euros)", ""},  // 5
    {4, 6, TipoCampo::Entrada, Limite::Numero, 0.0000, 0.5000, true, "Plus de actividad anual del personal de a bordo", "Coste para la empresa del plus de actividad que percibe el personal de a bordo por kilómetro recorrido anualmente (euros / kilómetro)"},  // 6
    {2, 9, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Euros", ""},  // 7
    {2, 9, TipoCampo::Conmutable, Limite::Numero, 0.00, 273200.00, true, "Dietas y plus de actividad anuales del personal de a bordo (Euros)", "Coste anual para la empresa de las dietas y plus de actividad que percibe el personal de a bordo (euros)"},  // 8
    {0, 0, TipoCampo::Opcion, Limite::Booleano, 0, 0, true, "", ""},  // 9
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 10000.00, true, "Seguro obligatorio del autocar", "Coste anual del seguro obligatorio del autocar (euros)"},  // 10
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 15000.00, true, "Responsabilidad civil", "Coste anual del seguro de responsabilidad civil ilimitada del autocar (euros)"},  // 11
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 10000.00, true, "Seguro obligatorio de viajeros", "Coste anual del seguro obligatorio de viajeros (euros)"},  // 12
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 5000.00, true, "Defensa y reclamación de daños", "Coste anual del seguro de defensa y reclamación de daños (euros)"},  // 13
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 1500.00, true, "Seguro de accidentes del conductor", "Coste anual del seguro de accidentes del conductor (euros)"},  // 14
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 5000.00, true, "Seguro de incendios", "Coste anual del seguro de incendios del autocar (euros)"},  // 15
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 15000.00, true, "Daños propios (todo riesgo)", "Coste anual del seguro de daños propios (euros)"},  // 16
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 5000.00, true, "Otros", "Coste anuales de otros seguros (euros)"},  // 17
    {2, 9, TipoCampo::Conmutable, Limite::Numero, 0.00, 66500.00, true, "Coste total anual", "Coste anual de los seguros (euros)"},  // 18
    {0, 0, TipoCampo::Opcion, Limite::Booleano, 0, 0, true, "", ""},  // 19
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 1500.00, true, "Visados", "Coste anual de los visados (euros)"},  // 20
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 1500.00, true, "Inspección Técnica de Vehículos (I.T.V.)", "Coste anual de la Inspección Técnica de Vehículos (euros)"},  // 21
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 2000.00, true, "Impuesto de Actividades Económicas (I.A.E.) repercutible a este autocar", "Coste anual del Impuesto de Actividades Económicas repercutible a este autocar (euros)"},  // 22
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 2000.00, true, "Impuesto de Vehículos de Tracción Mecánica (I.V.T.M.)", "Coste anual del Impuesto de Vehículos de Tracción Mecánica (euros)"},  // 23
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 1500.00, true, "Revisión tacógrafo", "Coste anual de la revisión del tacógrafo (euros)"},  // 24
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 6000.00, true, "Tasas de estación del autocar", "Coste anual de las tasas de estación de este autocar (euros)"},  // 25
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 6000.00, true, "Tasas de estación de los viajeros del autocar", "Coste anual de las tasas de estación de los viajeros de este autocar (euros)"},  // 26
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 30000.00, true, "Otros", "Coste anual de otros costes fiscales (euros)"},  // 27
    {2, 9, TipoCampo::Conmutable, Limite::Numero, 0.00, 50500.00, true, "Coste total anual", "Costes fiscales anuales (euros)"},  // 28
};

const CampoInfo kCostesVariables[] = {
    {},  // index 0 is not used
    {4, 6, TipoCampo::Entrada, Limite::Numero, 0.3000, 2.0000, true, "Precio del carburante con IVA", "Precio con IVA, antes de restar el descuento, al que se compra el carburante del autocar (euros / litro)"},  // 1
    {1, 4, TipoCampo::Derivado, Limite::Numero, 0.0, 60.0, false, "Descuento", ""},  // 2
    {4, 6, TipoCampo::Entrada, Limite::Numero, 0.0000, 2.0000, true, "Descuento", "Descuento conseguido en el precio del carburante del autocar (Euros / litro)"},  // 3
    {1, 4, TipoCampo::Entrada, Limite::Numero, 0.0, 30.0, true, "IVA aplicado al carburante", "IVA aplicado al carburante del autocar (%)"},  // 4
    {4, 6, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "", ""},  // 5
    {4, 6, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Precio de adquisición sin IVA", ""},  // 6
    {1, 4, TipoCampo::Entrada, Limite::Numero, 3.0, 80.0, true, "Consumo medio del autocar", "Consumo medio de carburante del autocar (litros / 100 km)"},  // 7
    {0, 1, TipoCampo::Entrada, Limite::Numero, 0, 6, true, "Direccionales", "Número de neumáticos de los ejes direccionales del autocar"},  // 8
    {2, 8, TipoCampo::Entrada, Limite::Numero, 30.00, 2000.00, true, "Direccionales", "Precio sin IVA de sustitución de un neumático direccional del autocar (euros)"},  // 9
    {0, 7, TipoCampo::Entrada, Limite::Numero, 10000, 300000, true, "Direccionales", "Duración media de los neumáticos direccionales del autocar (kilómetros)"},  // 10
    {0, 1, TipoCampo::Entrada, Limite::Numero, 0, 6, true, "Motrices", "Número de neumáticos de los ejes tractores del autocar"},  // 11
    {2, 8, TipoCampo::Entrada, Limite::Numero, 30.00, 2000.00, true, "Motrices", "Precio sin IVA de sustitución de un neumático motriz del autocar (euros)"},  // 12
    {0, 7, TipoCampo::Entrada, Limite::Numero, 10000, 300000, true, "Motrices", "Duración media de los neumáticos motrices del autocar (kilómetros)"},  // 13
    {0, 1, TipoCampo::Entrada, Limite::Numero, 0, 6, true, "Arrastre", "Número de neumáticos de los ejes no direccionales y no tractores del autocar"},  // 14
    {2, 8, TipoCampo::Entrada, Limite::Numero, 30.00, 2000.00, true, "Arrastre", "Precio sin IVA de sustitución de un neumático de arrastre del autocar (euros)"},  // 15
    {0, 7, TipoCampo::Entrada, Limite::Numero, 10000, 300000, true, "Arrastre", "Duración media de los neumáticos de arrastre del autocar (kilómetros)"},  // 16
    {4, 6, TipoCampo::Entrada, Limite::Numero, 0.0000, 0.6000, true, "Reparaciones y conservación", "Coste kilómetrico sin IVA de las reparaciones y conservación del autocar (euros / kilómetro)"},  // 17
    {2, 9, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "", ""},  // 18
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 30000.00, true, "Coste anual sin IVA en peajes (Euros)", "Coste anual sin IVA de los peajes (euros)"},  // 19
};

const CampoInfo kCostesIndirectos[] = {
    {},  // index 0 is not used
    {0, 0, TipoCampo::Opcion, Limite::Booleano, 0, 0, true, "", ""},  // 1
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 30000.00, true, "Coste anual de estructura de empresa (gestión, administración, ...) repercutible a este autocar", "Coste anual de estructura de la empresa a repercutir sobre este autocar (euros)"},  // 2
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 30000.00, true, "Coste anual de comercialización repercutible a este autocar", "Coste anual de comercialización a repercutir sobre este autocar (euros)"},  // 3
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 30000.00, true, "Otros costes indirectos anuales repercutibles a este autocar", "Otros costes indirectos anuales de la empresa a repercutir sobre este autocar (euros)"},  // 4
    {2, 10, TipoCampo::Conmutable, Limite::Numero, 0.00, 90000.00, true, "Costes Indirectos anuales repercutibles a este autocar", "Coste indirectos anuales a repercutir sobre este autocar (euros)"},  // 5
};

const CampoInfo kServicio[] = {
    {},  // index 0 is not used
    {4, 7, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Coste unitario por viajero-kilómetro", ""},  // 1
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 60000.00, true, "Costes repercutidos únicamente a este servicio (Euros)", "Costes repercutidos únicamente a este servicio (euros)"},  // 2
    {1, 9, TipoCampo::Entrada, Limite::Numero, 0.0, 400000.0, true, "Kilómetros facturados a este servicio", "Kilómetros facturados a este servicio"},  // 3
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 5500.00, true, "Horas facturadas a este servicio", "Horas facturadas a este servicio"},  // 4
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros y horas", ""},  // 5
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros", ""},  // 6
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Horas", ""},  // 7
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 60000.00, true, "Costes repercutidos únicamente a este servicio (Euros)", "Costes repercutibles únicamente a este servicio (euros)"},  // 8
    {1, 9, TipoCampo::Entrada, Limite::Numero, 0.0, 400000.0, true, "Kilómetros facturados a este servicio", "Kilómetros facturados a este servicio"},  // 9
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 5500.00, true, "Horas facturadas a este servicio", "Horas facturadas a este servicio"},  // 10
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros y horas", ""},  // 11
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros", ""},  // 12
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Horas", ""},  // 13
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 60000.00, true, "Costes repercutidos únicamente a este servicio (Euros)", "Costes repercutibles únicamente a este servicio (euros)"},  // 14
    {1, 9, TipoCampo::Entrada, Limite::Numero, 0.0, 400000.0, true, "Kilómetros facturados a este servicio", "Kilómetros facturados a este servicio"},  // 15
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 5500.00, true, "Horas facturadas a este servicio", "Horas facturadas a este servicio"},  // 16
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros y horas", ""},  // 17
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros", ""},  // 18
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Horas", ""},  // 19
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 60000.00, true, "Costes repercutidos únicamente a este servicio (Euros)", "Costes repercutibles únicamente a este servicio (euros)"},  // 20
    {1, 9, TipoCampo::Entrada, Limite::Numero, 0.0, 400000.0, true, "Kilómetros facturados a este servicio", "Kilómetros facturados a este servicio"},  // 21
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 5500.00, true, "Horas facturadas a este servicio", "Horas facturadas a este servicio"},  // 22
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros y horas", ""},  // 23
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros", ""},  // 24
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Horas", ""},  // 25
    {2, 9, TipoCampo::Entrada, Limite::Numero, 0.00, 60000.00, true, "Costes repercutidos únicamente a este servicio (Euros)", "Costes repercutibles únicamente a este servicio (euros)"},  // 26
    {1, 9, TipoCampo::Entrada, Limite::Numero, 0.0, 400000.0, true, "Kilómetros facturados a este servicio", "Kilómetros facturados a este servicio"},  // 27
    {2, 8, TipoCampo::Entrada, Limite::Numero, 0.00, 5500.00, true, "Horas facturadas a este servicio", "Horas facturadas a este servicio"},  // 28
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros y horas", ""},  // 29
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Kilómetros", ""},  // 30
    {2, 10, TipoCampo::Derivado, Limite::Ninguno, 0, 0, false, "Horas", ""},  // 31
};

const CampoInfo *const kTablas[kNumSecciones] = {
    kCaracteristicas, kCostesFijos1, kCostesFijos2, kCostesVariables, kCostesIndirectos, nullptr, kServicio};

} // namespace

const CampoInfo &campo(Seccion s, int i)
{
    static const CampoInfo vacio{};
    const CampoInfo *tabla = kTablas[ord(s)];
    if (!tabla || i < 1 || i > tamano(s))
        return vacio;
    return tabla[i];
}

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
