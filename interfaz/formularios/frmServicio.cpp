// frmServicio: the cost of a concrete service, by passenger-kilometre and
// by kilometres and hours, for five services.
#include "calculo/campos.h"
#include "interfaz/formularios/rejilla.h"
#include "interfaz/soporte/twips.h"

#include <QGroupBox>
#include <algorithm>

namespace pelmora {

namespace {

using namespace medidas;

class FrmServicio : public FormularioBase {
public:
    FrmServicio(Calculo &c, QWidget *parent) : FormularioBase(c, Seccion::Servicio, parent)
    {
        constexpr int kAncho = kAnchoFormulario - 2 * kMargen;
        constexpr int kAnchoBloque = kAncho - 2 * kMargen;
        crearMarcos(false, kAncho);
        QGroupBox *marco = frameColumna(Col::S);
        Pila pila;
        const int columna = std::max(anchoCaja(10), 1260);
        const std::vector<int> columnas(5, columna);

        QGroupBox *c1 = crearMarco(marco, QString(), QStringLiteral("COSTE DEL SERVICIO (viajeros-kilómetro)"));
        Rejilla r1(*this, Col::S, c1, kAnchoBloque, columnas);
        const int arriba = r1.y();
        r1.fila({{0, Serv::C1}});
        crearEtiqueta(textoCampo(Serv::C1, &CampoInfo::columna), c1,
                      QRect(r1.izquierdaColumna(1), arriba, 2 * columna, altoCaja()));
        pila.poner(c1, r1.alto(), kAnchoBloque);

        QGroupBox *c2 = crearMarco(marco, QString(), QStringLiteral("COSTE DEL SERVICIO (kilómetros y horas)"));
        Rejilla r2(*this, Col::S, c2, kAnchoBloque, columnas);
        std::vector<std::pair<int, int>> servicios;
        for (int k = 0; k < 5; ++k)
            servicios.push_back({k, Serv::base(k)});
        r2.cabecerasDe(servicios);
        auto filaServicios = [&](int desplazamiento) {
            std::vector<std::pair<int, int>> cajas;
            for (int k = 0; k < 5; ++k)
                cajas.push_back({k, Serv::base(k) + desplazamiento});
            r2.fila(cajas);
        };
        for (int d = 0; d < 3; ++d)
            filaServicios(d);
        r2.saltar(60);
        r2.subtitulo(textoCampo(Serv::campo(0, Serv::PrecioKmYHoras), &CampoInfo::bloque));
        for (int d = 3; d < 6; ++d)
            filaServicios(d);
        std::vector<std::pair<int, QString>> unidades;
        for (int k = 0; k < 5; ++k)
            unidades.push_back({k, QStringLiteral("Euros (€)")});
        r2.cabeceras(unidades);
        pila.poner(c2, r2.alto(), kAnchoBloque);

        ajustarTamano(pila.alto());

        // The derived rows have colours of their own.
        caja(Col::S, Serv::C1)->fijarColoresDerivado(QColor(192, 64, 0), QColor(255, 224, 192));
        for (int k = 0; k < Serv::kServicios; ++k) {
            const auto colorear = [&](Serv::Fila f, const QColor &texto, const QColor &fondo) {
                caja(Col::S, Serv::campo(k, f))->fijarColoresDerivado(texto, fondo);
            };
            colorear(Serv::PrecioKmYHoras, QColor(0, 0, 255), QColor(230, 250, 253));
            colorear(Serv::PrecioKm, QColor(0, 128, 0), QColor(223, 244, 224));
            colorear(Serv::PrecioHoras, QColor(128, 128, 0), QColor(243, 251, 227));
        }
        cargar();
    }

    void activar() override { calculo().Revisar(); }
};

} // namespace

FormularioBase *crearServicio(Calculo &calculo, QWidget *parent) { return new FrmServicio(calculo, parent); }

} // namespace pelmora
