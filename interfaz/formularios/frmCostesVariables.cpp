// frmCostesVariables: fuel, tyres, repairs and tolls.
#include "calculo/campos.h"
#include "interfaz/formularios/rejilla.h"
#include "interfaz/soporte/twips.h"

#include <QGroupBox>
#include <algorithm>

namespace pelmora {

namespace {

using namespace medidas;

class FrmCostesVariables : public FormularioBase {
public:
    FrmCostesVariables(Calculo &c, QWidget *parent) : FormularioBase(c, Seccion::CostesVariables, parent)
    {
        construirColumnas([this](Col c) { return columna(c); });
    }

private:
    int columna(Col c)
    {
        Pila pila;
        QGroupBox *marco = frameColumna(c);

        QGroupBox *carburante = crearMarco(marco, QString(), QStringLiteral("Carburante"));
        Rejilla r(*this, c, carburante, kAnchoSub, {anchoCaja(5), anchoCaja(8)});
        r.subtitulo(QStringLiteral("Precio de adquisición"));
        r.cabecerasDe({{0, Var::PctDescuento}, {1, Var::Descuento}});
        r.fila(Var::PrecioCarburante);
        r.fila({{0, Var::PctDescuento}, {1, Var::Descuento}});
        r.fila({{0, Var::PctIva}, {1, Var::IvaCarburante}});
        r.fila(Var::PrecioSinIva);
        r.cabecerasDe({{1, Var::Consumo}}, 1800);
        r.fila(Var::Consumo);
        pila.poner(carburante, r.alto());

        QGroupBox *neumaticos = crearMarco(marco, QString(), textoCampo(Var::NeumaticosDireccionales, &CampoInfo::bloque));
        Rejilla n(*this, c, neumaticos, kAnchoSub, {anchoCaja(2), 1560, 1500});
        n.cabecerasDe({{0, Var::NeumaticosDireccionales}, {1, Var::PrecioDireccional}, {2, Var::DuracionDireccional}});
        for (int i : Var::kFilasNeumaticos)
            n.fila({{0, i}, {1, i + 1}, {2, i + 2}});
        pila.poner(neumaticos, n.alto());

        // The frame's title is the caption of its only row.
        QGroupBox *reparaciones = crearMarco(marco, QString(), textoCampo(Var::Reparaciones, &CampoInfo::etiqueta));
        Rejilla rc(*this, c, reparaciones, kAnchoSub, {1740, 1740});
        rc.cabecerasDe({{0, Var::ReparacionesPorKm}, {1, Var::Reparaciones}});
        rc.fila(QString(), {{0, Var::ReparacionesPorKm}, {1, Var::Reparaciones}});
        pila.poner(reparaciones, rc.alto());

        QGroupBox *peajes = crearMarco(marco, QString(), QStringLiteral("Peajes"));
        Rejilla p(*this, c, peajes, kAnchoSub, {anchoCaja(10)});
        p.fila(Var::Peajes);
        pila.poner(peajes, p.alto());
        return pila.alto();
    }
};

} // namespace

FormularioBase *crearCostesVariables(Calculo &calculo, QWidget *parent) { return new FrmCostesVariables(calculo, parent); }

} // namespace pelmora
