// The seven sections of a calculation and everything that names them: one
// row each, in section order.
#pragma once

#include <array>

namespace pelmora {

enum class Seccion {
    Caracteristicas = 0,
    CostesFijos1,
    CostesFijos2,
    CostesVariables,
    CostesIndirectos,
    Resultados,
    Servicio,
};
constexpr int kNumSecciones = 7;

constexpr int ord(Seccion s) { return static_cast<int>(s); }

// Shorthands of the sections, for the rules and the tests.
constexpr Seccion kCar = Seccion::Caracteristicas;
constexpr Seccion kF1 = Seccion::CostesFijos1;
constexpr Seccion kF2 = Seccion::CostesFijos2;
constexpr Seccion kVar = Seccion::CostesVariables;
constexpr Seccion kInd = Seccion::CostesIndirectos;
constexpr Seccion kRes = Seccion::Resultados;
constexpr Seccion kServ = Seccion::Servicio;

struct DatosSeccion {
    Seccion seccion;
    int tamano;                   // entries, numbered from 1
    const char *nombre;           // its value array: "CostesFijos1"
    const char *formulario;       // its form: "frmCostesFijos1"
    const char *codigo;           // the code in its boxes' names: "F1" of "TextSF1"
    const char *tituloFormulario; // the tag of the form's outer frame (UTF-8)
    const char *titulo;           // its section button and print item (UTF-8)
    const char *tituloMenu;       // its item of "Formularios" (UTF-8)
    const char *boton;            // its section button: "cmbCostesF1"
    const char *menu;             // its item of "Formularios": "mnuFijos1"
    const char *menuImprimir;     // its item of "Imprimir": "mnuPrintFijos1"
};

inline constexpr std::array<DatosSeccion, kNumSecciones> kSecciones = {{
    {Seccion::Caracteristicas, 23, "Caracteristicas", "frmCaracteristicas", "C",
     "Características Técnicas y de Explotación", "Características Técnicas y de Explotación",
     "Características Técnicas y de Explotación", "cmbCaracteristicas", "mnuCaracteristicas",
     "mnuPrintCaracteristicas"},
    {Seccion::CostesFijos1, 20, "CostesFijos1", "frmCostesFijos1", "F1", "Costes Fijos (1)",
     "Amortización y Financiación", "Amortización y Financiación", "cmbCostesF1", "mnuFijos1", "mnuPrintFijos1"},
    {Seccion::CostesFijos2, 28, "CostesFijos2", "frmCostesFijos2", "F2", "Costes Fijos (2)",
     "Personal, Seguros y Costes Fiscales", "Personal, Seguros y Costes Fiscales", "cmbCostesF2", "mnuFijos2",
     "mnuPrintFijos2"},
    {Seccion::CostesVariables, 19, "CostesVariables", "frmCostesVariables", "V", "Costes Variables",
     "Costes Variables", "Costes Variables", "cmbCostesV", "mnuVariables", "mnuPrintVariables"},
    {Seccion::CostesIndirectos, 5, "CostesIndirectos", "frmCostesIndirectos", "I", "Costes Indirectos",
     "Costes Indirectos", "Costes Indirectos", "cmbIndirectos", "mnuIndirectos", "mnuPrintIndirectos"},
    {Seccion::Resultados, 48, "Resultados", "frmResultados", "R", "Resultados", "Resultados", "Resultados",
     "cmbResultados", "mnuResultados", "mnuPrintResultados"},
    {Seccion::Servicio, 31, "Servicio", "frmServicio", "S", "Costes Servicio", "Costes de un servicio concreto",
     "Coste de un servicio concreto", "cmbServicio", "mnuServicio", "mnuPrintServicio"},
}};

constexpr const DatosSeccion &datosSeccion(Seccion s) { return kSecciones[ord(s)]; }
constexpr int tamano(Seccion s) { return datosSeccion(s).tamano; }

// The sections a calculation file holds, in file order.
constexpr std::array<Seccion, 6> kSeccionesGrabadas = {
    Seccion::Caracteristicas, Seccion::CostesFijos1, Seccion::CostesFijos2,
    Seccion::CostesVariables, Seccion::CostesIndirectos, Seccion::Servicio};

// Which column a procedure works on.
enum class Col { S = 0, O = 1 };

} // namespace pelmora
