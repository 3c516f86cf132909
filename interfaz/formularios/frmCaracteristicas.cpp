// frmCaracteristicas: the technical and operating features of the coach,
// in both columns.
#include "calculo/campos.h"
#include "interfaz/formularios/rejilla.h"
#include "interfaz/soporte/twips.h"

#include <QGroupBox>
#include <QLabel>
#include <algorithm>

namespace pelmora {

namespace {

using namespace medidas;

class FrmCaracteristicas : public FormularioBase {
public:
    FrmCaracteristicas(Calculo &c, QWidget *parent) : FormularioBase(c, Seccion::Caracteristicas, parent)
    {
        construirColumnas([this](Col c) { return columna(c); });
    }

private:
    int columna(Col c)
    {
        Pila pila;
        QGroupBox *marco = frameColumna(c);

        QGroupBox *tecnicas = crearMarco(marco, QString(), textoCampo(Car::Descripcion, &CampoInfo::bloque));
        Rejilla t(*this, c, tecnicas, kAnchoSub, {anchoCaja(7)});
        t.filaTexto(Car::Descripcion, 1200);
        const Fila plazas = t.fila(Car::Plazas);
        for (int i = Car::Longitud; i <= Car::Categoria; ++i)
            t.fila(i);
        pila.poner(tecnicas, t.alto());

        QGroupBox *explotacion = crearMarco(marco, QString(), textoCampo(Car::Explotacion, &CampoInfo::bloque));
        Rejilla e(*this, c, explotacion, kAnchoSub, {anchoCaja(5), anchoCaja(10)});
        e.filaTexto(Car::Explotacion, 1200);
        e.subtitulo(QStringLiteral("Kilómetros recorridos:"));
        e.fila(Car::KmAnuales);
        e.cabecerasDe({{0, Car::PctKmFacturados}, {1, Car::KmFacturados}});
        e.fila({{0, Car::PctKmFacturados}, {1, Car::KmFacturados}});
        e.fila({{0, Car::PctKmNoFacturados}, {1, Car::KmNoFacturados}});
        e.subtitulo(QStringLiteral("Tiempo de actividad:"));
        e.fila(Car::HorasAnuales);
        e.cabecerasDe({{0, Car::PctHorasFacturadas}, {1, Car::HorasFacturadas}});
        e.fila({{0, Car::PctHorasFacturadas}, {1, Car::HorasFacturadas}});
        e.fila({{0, Car::PctHorasNoFacturadas}, {1, Car::HorasNoFacturadas}});
        QLabel *viajeros = e.subtitulo(QStringLiteral("Viajeros transportados:"));
        const auto cab1 = e.cabecerasDe({{0, Car::PctKmConViajeros}, {1, Car::KmConViajeros}});
        const Fila kmViajeros = e.fila({{0, Car::PctKmConViajeros}, {1, Car::KmConViajeros}});
        const auto cab2 = e.cabecerasDe({{0, Car::PctOcupacion}, {1, Car::ViajerosPorVehiculo}});
        const Fila ocupacion = e.fila({{0, Car::PctOcupacion}, {1, Car::ViajerosPorVehiculo}});
        const Fila viajerosKm = e.fila(Car::ViajerosKm);
        pila.poner(explotacion, e.alto());

        if (c == Col::O) {
            // The reference data has no seat or passenger figures to show
            // (they are still computed).
            plazas.ocultar();
            viajeros->hide();
            for (QLabel *l : cab1)
                l->hide();
            for (QLabel *l : cab2)
                l->hide();
            kmViajeros.ocultar();
            ocupacion.ocultar();
            viajerosKm.ocultar();
        }
        return pila.alto();
    }
};

} // namespace

FormularioBase *crearCaracteristicas(Calculo &calculo, QWidget *parent) { return new FrmCaracteristicas(calculo, parent); }

} // namespace pelmora
