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
        t.filaTexto(1, 1200);
        const Fila plazas = t.fila(2);
        for (int i = 3; i <= 7; ++i)
            t.fila(i);
        pila.poner(tecnicas, t.alto());

        QGroupBox *explotacion = crearMarco(marco, QString(), textoCampo(Car::Explotacion, &CampoInfo::bloque));
        Rejilla e(*this, c, explotacion, kAnchoSub, {anchoCaja(5), anchoCaja(10)});
        e.filaTexto(8, 1200);
        e.subtitulo(QStringLiteral("Kilómetros recorridos:"));
        e.fila(9);
        e.cabecerasDe({{0, 10}, {1, 11}});
        e.fila({{0, 10}, {1, 11}});
        e.fila({{0, 12}, {1, 13}});
        e.subtitulo(QStringLiteral("Tiempo de actividad:"));
        e.fila(14);
        e.cabecerasDe({{0, 15}, {1, 16}});
        e.fila({{0, 15}, {1, 16}});
        e.fila({{0, 17}, {1, 18}});
        QLabel *viajeros = e.subtitulo(QStringLiteral("Viajeros transportados:"));
        const auto cab1 = e.cabecerasDe({{0, 19}, {1, 20}});
        const Fila f19 = e.fila({{0, 19}, {1, 20}});
        const auto cab2 = e.cabecerasDe({{0, 21}, {1, 22}});
        const Fila f21 = e.fila({{0, 21}, {1, 22}});
        const Fila f23 = e.fila(23);
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
            f19.ocultar();
            f21.ocultar();
            f23.ocultar();
        }
        return pila.alto();
    }
};

} // namespace

FormularioBase *crearCaracteristicas(Calculo &calculo, QWidget *parent) { return new FrmCaracteristicas(calculo, parent); }

} // namespace pelmora
