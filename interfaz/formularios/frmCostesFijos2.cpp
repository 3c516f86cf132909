// frmCostesFijos2: the staff, the insurance and the taxes, each broken
// down or given as a total.
#include "calculo/campos.h"
#include "interfaz/formularios/rejilla.h"
#include "interfaz/soporte/twips.h"

#include <QGroupBox>
#include <algorithm>

namespace pelmora {

namespace {

using namespace medidas;

class FrmCostesFijos2 : public FormularioBase {
public:
    FrmCostesFijos2(Calculo &c, QWidget *parent) : FormularioBase(c, Seccion::CostesFijos2, parent)
    {
        construirColumnas([this](Col c) { return columna(c); });
    }

private:
    // The frame of an option pair "Desglosado" / "Total" placed in a grid.
    void parDesglose(Rejilla &r, QWidget *marco, Col c, int indice, QChar codigo)
    {
        QGroupBox *f = crearMarco(marco, QStringLiteral("Frame") + letraColumna(c) + codigo, QString());
        crearPar(c, indice, f, QStringLiteral("Option") + letraColumna(c) + codigo, QRect(240, 90, 1500, altoCaja()),
                 QRect(1920, 90, 1200, altoCaja()));
        r.bloque(f, kMargen, 3360, altoCaja() + 180);
    }

    int columna(Col c)
    {
        Pila pila;
        QGroupBox *marco = frameColumna(c);

        QGroupBox *personal = crearMarco(marco, QString(),
                                         c == Col::S ? QStringLiteral("Personal")
                                                     : QStringLiteral("Personal (costes medios nacionales)"));
        Rejilla p(*this, c, personal, kAnchoSub, {anchoCaja(6), anchoCaja(10)});
        p.fila(F2::Sueldo);
        p.subtitulo(QString::fromUtf8(opcion(seccion(), F2::DietasDesglosadas).grupo) + QLatin1Char(':'));
        parDesglose(p, personal, c, F2::DietasDesglosadas, QLatin1Char('D'));
        p.subtitulo(QStringLiteral("Dietas anuales:"));
        p.fila(F2::DietaDiaria);
        p.fila(F2::DiasDieta);
        p.fila(F2::DietaAnual);
        p.cabecerasDe({{0, F2::PlusPorKm}, {1, F2::PlusAnual}});
        p.fila({{0, F2::PlusPorKm}, {1, F2::PlusAnual}});
        p.fila(F2::DietasYPlus);
        pila.poner(personal, p.alto());

        // Insurance and taxes, each titled by its option pair, its eight
        // items and its total right after it.
        const std::pair<int, QChar> bloques[] = {{F2::SegurosDesglosados, QLatin1Char('G')},
                                                 {F2::FiscalesDesglosados, QLatin1Char('F')}};
        for (const auto &[opcion, codigo] : bloques) {
            QGroupBox *g = crearMarco(marco, QString(), QString::fromUtf8(pelmora::opcion(seccion(), opcion).grupo));
            Rejilla r(*this, c, g, kAnchoSub, {anchoCaja(10)});
            parDesglose(r, g, c, opcion, codigo);
            r.cabecerasDe({{0, opcion + 1}}, 2400);
            for (int i = opcion + 1; i <= opcion + 9; ++i)
                r.fila(i);
            pila.poner(g, r.alto());
        }
        return pila.alto();
    }
};

} // namespace

FormularioBase *crearCostesFijos2(Calculo &calculo, QWidget *parent) { return new FrmCostesFijos2(calculo, parent); }

} // namespace pelmora
