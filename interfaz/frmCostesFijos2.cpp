// frmCostesFijos2: the staff, the insurance and the taxes, each broken
// down or given as a total.
#include "interfaz/rejilla.h"
#include "interfaz/twips.h"

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
    void parDesglose(Rejilla &r, QWidget *marco, Col c, int indice, QChar codigo, const char *ayuda)
    {
        QGroupBox *f = crearMarco(marco, QStringLiteral("Frame") + letraColumna(c) + codigo, QString());
        if (c == Col::S)
            f->setToolTip(QString::fromUtf8(ayuda));
        crearPar(c, indice, f, QStringLiteral("Option") + letraColumna(c) + codigo, QStringLiteral("Desglosado"),
                 QStringLiteral("Total"), QRect(240, 90, 1500, altoCaja()), QRect(1920, 90, 1200, altoCaja()));
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
        p.fila(1);
        p.subtitulo(QStringLiteral("Dietas y plus de actividad:"));
        parDesglose(p, personal, c, 2, QLatin1Char('D'),
                    "Elegir la forma de introducir los costes anuales de dietas y plus de actividad");
        p.subtitulo(QStringLiteral("Dietas anuales:"));
        p.fila(3);
        p.fila(4);
        p.fila(5);
        p.cabeceras({{0, QStringLiteral("Euros / km")}, {1, QStringLiteral("Euros")}});
        p.fila({{0, 6}, {1, 7}});
        p.fila(8);
        pila.poner(personal, p.alto());

        struct Bloque {
            const char *titulo;
            int opcion;
            QChar codigo;
            const char *ayuda;
        };
        const Bloque bloques[] = {
            {"Seguros", 9, QLatin1Char('G'), "Elegir la forma de introducir los costes anuales de seguros"},
            {"Costes fiscales", 19, QLatin1Char('F'), "Elegir la forma de introducir los costes fiscales anuales"},
        };
        for (const Bloque &b : bloques) {
            QGroupBox *g = crearMarco(marco, QString(), QString::fromUtf8(b.titulo));
            Rejilla r(*this, c, g, kAnchoSub, {anchoCaja(10)});
            parDesglose(r, g, c, b.opcion, b.codigo, b.ayuda);
            r.cabeceras({{0, QStringLiteral("Costes anuales (Euros)")}}, 2400);
            for (int i = b.opcion + 1; i <= b.opcion + 9; ++i)
                r.fila(i);
            pila.poner(g, r.alto());
        }
        return pila.alto();
    }
};

} // namespace

FormularioBase *crearCostesFijos2(Calculo &calculo, QWidget *parent) { return new FrmCostesFijos2(calculo, parent); }

} // namespace pelmora
