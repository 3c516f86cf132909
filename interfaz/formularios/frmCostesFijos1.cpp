// frmCostesFijos1: amortisation and financing of the coach and of its
// auxiliary equipment, each bought or rented.
#include "calculo/campos.h"
#include "interfaz/formularios/rejilla.h"
#include "interfaz/soporte/twips.h"

#include <QGroupBox>
#include <algorithm>

namespace pelmora {

namespace {

using namespace medidas;

class FrmCostesFijos1 : public FormularioBase {
public:
    FrmCostesFijos1(Calculo &c, QWidget *parent) : FormularioBase(c, Seccion::CostesFijos1, parent)
    {
        construirColumnas([this](Col c) { return columna(c); });
    }

protected:
    void mostrarOpcion(Col c, int indice, bool compra) override
    {
        const Grupo &g = grupos_[static_cast<int>(c)][indice == F1::CompraEquipos ? 1 : 0];
        if (!g.amortizacion)
            return;
        g.anual->setVisible(!compra);
        g.amortizacion->setVisible(compra);
        g.financiacion->setVisible(compra);
    }

private:
    struct Grupo {
        QGroupBox *amortizacion = nullptr;
        QGroupBox *financiacion = nullptr;
        QGroupBox *anual = nullptr;
    };

    int columna(Col c)
    {
        Pila pila;
        for (bool equipos : {false, true}) {
            QGroupBox *g = grupo(c, equipos);
            pila.poner(g, alturaGrupo_);
        }
        return pila.alto();
    }

    QGroupBox *grupo(Col c, bool equipos)
    {
        // The equipment's fields follow the coach's in the same order.
        const int b = equipos ? F1::CompraEquipos - F1::CompraAutocar : 0;
        const QString nombre = QStringLiteral("Frame") + letraColumna(c) + (equipos ? QLatin1Char('E') : QLatin1Char('A'));
        QGroupBox *g = crearMarco(frameColumna(c), QString(),
                                  equipos ? textoCampo(F1::CompraEquipos, &CampoInfo::bloque) : QStringLiteral("Autocar"));
        Pila pila;

        QGroupBox *forma =
            crearMarco(g, nombre + QLatin1Char('C'), textoCampo(F1::CompraAutocar + b, &CampoInfo::etiqueta));
        crearPar(c, F1::CompraAutocar + b, forma,
                 QStringLiteral("Option") + letraColumna(c) + (equipos ? QLatin1Char('E') : QLatin1Char('A')),
                 QRect(240, 270, 1200, altoCaja()), QRect(1560, 270, 3000, altoCaja()));
        pila.poner(forma, 270 + altoCaja() + kEntreFilas + 30, kAnchoSubSub);

        Grupo &gr = grupos_[static_cast<int>(c)][equipos ? 1 : 0];
        gr.amortizacion = crearMarco(g, nombre + QLatin1Char('A'), QStringLiteral("Amortización"));
        Rejilla a(*this, c, gr.amortizacion, kAnchoSubSub, {anchoCaja(10)});
        a.subtitulo(QStringLiteral("Valor de adquisición:"));
        a.fila(F1::PrecioAutocar + b);
        a.fila(F1::VidaAutocar + b);
        a.subtitulo(QStringLiteral("Valor residual:"));
        a.fila(F1::PctResidualAutocar + b);
        a.fila(F1::ResidualAutocar + b);

        // The annual cost takes the place of the amortisation.
        gr.anual = crearMarco(g, nombre + QLatin1Char('T'), QStringLiteral("Coste anual (alquiler, ...)"));
        Rejilla t(*this, c, gr.anual, kAnchoSubSub, {anchoCaja(10)});
        t.fila(F1::AlquilerAutocar + b);
        gr.anual->setGeometry(twRect(kMargen, pila.y, kAnchoSubSub, t.alto()));
        pila.poner(gr.amortizacion, a.alto(), kAnchoSubSub);

        gr.financiacion = crearMarco(g, nombre + QLatin1Char('F'), QStringLiteral("Financiación"));
        Rejilla f(*this, c, gr.financiacion, kAnchoSubSub, {anchoCaja(5), anchoCaja(10)});
        f.cabecerasDe({{0, F1::PctFinanciadoAutocar + b}, {1, F1::FinanciadoAutocar + b}}, 1500);
        f.fila({{0, F1::PctFinanciadoAutocar + b}, {1, F1::FinanciadoAutocar + b}});
        f.fila(F1::PeriodoAutocar + b);
        f.fila(F1::InteresAutocar + b);
        pila.poner(gr.financiacion, f.alto(), kAnchoSubSub);

        alturaGrupo_ = pila.alto();
        return g;
    }

    std::array<std::array<Grupo, 2>, 2> grupos_{};
    int alturaGrupo_ = 0;
};

} // namespace

FormularioBase *crearCostesFijos1(Calculo &calculo, QWidget *parent) { return new FrmCostesFijos1(calculo, parent); }

} // namespace pelmora
