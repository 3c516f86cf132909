// The section forms with fields: Características, Costes Fijos (1) and (2),
// Costes Variables, Costes Indirectos and the service cost; and the factory.
#include "interfaz/secciones.h"
#include "interfaz/twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <algorithm>

namespace pelmora {

namespace {

using namespace medidas;

// Frames inside a column frame, and frames inside those.
constexpr int kAnchoSub = kAnchoColumna - 2 * kMargen;
constexpr int kAnchoSubSub = kAnchoSub - 2 * kMargen;

QString letra(Col c) { return c == Col::S ? QStringLiteral("S") : QStringLiteral("O"); }

// Stacks frames top to bottom inside a column frame.
struct Pila {
    int y = kArribaMarco;
    void poner(QWidget *w, int alto, int ancho = kAnchoSub)
    {
        w->setGeometry(twRect(kMargen, y, ancho, alto));
        y += alto + kEntreFilas;
    }
    int alto() const { return y - kEntreFilas + kMargen; }
};

// ---------------------------------------------------------------------------

class FrmCaracteristicas : public FormularioBase {
public:
    FrmCaracteristicas(Calculo &c, QWidget *parent) : FormularioBase(c, Seccion::Caracteristicas, parent)
    {
        crearMarcos(true);
        ajustarTamano(std::max(columna(Col::S), columna(Col::O)));
        cargar();
    }

private:
    int columna(Col c)
    {
        Pila pila;
        QGroupBox *marco = frameColumna(c);

        QGroupBox *tecnicas = crearMarco(marco, QString(), QStringLiteral("Características técnicas del autocar"));
        Rejilla t(*this, c, tecnicas, kAnchoSub, {anchoCaja(7)});
        t.filaTexto(1, 1200);
        const Fila plazas = t.fila(2);
        for (int i = 3; i <= 7; ++i)
            t.fila(i);
        pila.poner(tecnicas, t.alto());

        QGroupBox *explotacion =
            crearMarco(marco, QString(), QStringLiteral("Características de explotación del autocar"));
        Rejilla e(*this, c, explotacion, kAnchoSub, {anchoCaja(5), anchoCaja(10)});
        e.filaTexto(8, 1200);
        e.subtitulo(QStringLiteral("Kilómetros recorridos:"));
        e.fila(9);
        e.cabeceras({{0, QStringLiteral("%")}, {1, QStringLiteral("kilómetros")}});
        e.fila({{0, 10}, {1, 11}});
        e.fila({{0, 12}, {1, 13}});
        e.subtitulo(QStringLiteral("Tiempo de actividad:"));
        e.fila(14);
        e.cabeceras({{0, QStringLiteral("%")}, {1, QStringLiteral("Horas")}});
        e.fila({{0, 15}, {1, 16}});
        e.fila({{0, 17}, {1, 18}});
        QLabel *viajeros = e.subtitulo(QStringLiteral("Viajeros transportados:"));
        const auto cab1 = e.cabeceras({{0, QStringLiteral("%")}, {1, QStringLiteral("kilómetros")}});
        const Fila f19 = e.fila({{0, 19}, {1, 20}});
        const auto cab2 = e.cabeceras({{0, QStringLiteral("%")}, {1, QStringLiteral("viajeros por vehículo")}});
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

// ---------------------------------------------------------------------------

class FrmCostesFijos1 : public FormularioBase {
public:
    FrmCostesFijos1(Calculo &c, QWidget *parent) : FormularioBase(c, Seccion::CostesFijos1, parent)
    {
        crearMarcos(true);
        ajustarTamano(std::max(columna(Col::S), columna(Col::O)));
        cargar();
    }

protected:
    void mostrarOpcion(Col c, int indice, bool compra) override
    {
        const Grupo &g = grupos_[static_cast<int>(c)][indice == 11 ? 1 : 0];
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
        const int b = equipos ? 10 : 0;
        const QString nombre = QStringLiteral("Frame") + letra(c) + (equipos ? QLatin1Char('E') : QLatin1Char('A'));
        QGroupBox *g = crearMarco(frameColumna(c), QString(),
                                  equipos ? QStringLiteral("Equipos auxiliares") : QStringLiteral("Autocar"));
        Pila pila;

        QGroupBox *forma = crearMarco(g, nombre + QLatin1Char('C'), QStringLiteral("Forma de adquisición"));
        if (c == Col::S)
            forma->setToolTip(equipos ? QStringLiteral("Elegir la forma de adquisición de los equipos auxiliares")
                                      : QStringLiteral("Elegir la forma de adquisición del autocar"));
        crearPar(c, 1 + b, forma,
                 QStringLiteral("Option") + letra(c) + (equipos ? QLatin1Char('E') : QLatin1Char('A')),
                 QStringLiteral("Compra"), QStringLiteral("Otra forma (alquiler, ...)"),
                 QRect(240, 270, 1200, altoCaja()), QRect(1560, 270, 3000, altoCaja()));
        pila.poner(forma, 270 + altoCaja() + kEntreFilas + 30, kAnchoSubSub);

        Grupo &gr = grupos_[static_cast<int>(c)][equipos ? 1 : 0];
        gr.amortizacion = crearMarco(g, nombre + QLatin1Char('A'), QStringLiteral("Amortización"));
        Rejilla a(*this, c, gr.amortizacion, kAnchoSubSub, {anchoCaja(10)});
        a.subtitulo(QStringLiteral("Valor de adquisición:"));
        a.fila(2 + b);
        a.fila(3 + b);
        a.subtitulo(QStringLiteral("Valor residual:"));
        a.fila(4 + b);
        a.fila(5 + b);

        // The annual cost takes the place of the amortisation.
        gr.anual = crearMarco(g, nombre + QLatin1Char('T'), QStringLiteral("Coste anual (alquiler, ...)"));
        Rejilla t(*this, c, gr.anual, kAnchoSubSub, {anchoCaja(10)});
        t.fila(10 + b);
        gr.anual->setGeometry(twRect(kMargen, pila.y, kAnchoSubSub, t.alto()));
        pila.poner(gr.amortizacion, a.alto(), kAnchoSubSub);

        gr.financiacion = crearMarco(g, nombre + QLatin1Char('F'), QStringLiteral("Financiación"));
        Rejilla f(*this, c, gr.financiacion, kAnchoSubSub, {anchoCaja(5), anchoCaja(10)});
        f.cabeceras({{0, QStringLiteral("% sobre el precio de adquisición")}, {1, QStringLiteral("Euros")}}, 1500);
        f.fila({{0, 6 + b}, {1, 7 + b}});
        f.fila(8 + b);
        f.fila(9 + b);
        pila.poner(gr.financiacion, f.alto(), kAnchoSubSub);

        alturaGrupo_ = pila.alto();
        return g;
    }

    std::array<std::array<Grupo, 2>, 2> grupos_{};
    int alturaGrupo_ = 0;
};

// ---------------------------------------------------------------------------

class FrmCostesFijos2 : public FormularioBase {
public:
    FrmCostesFijos2(Calculo &c, QWidget *parent) : FormularioBase(c, Seccion::CostesFijos2, parent)
    {
        crearMarcos(true);
        ajustarTamano(std::max(columna(Col::S), columna(Col::O)));
        cargar();
    }

private:
    // The frame of an option pair "Desglosado" / "Total" placed in a grid.
    void parDesglose(Rejilla &r, QWidget *marco, Col c, int indice, QChar codigo, const char *ayuda)
    {
        QGroupBox *f = crearMarco(marco, QStringLiteral("Frame") + letra(c) + codigo, QString());
        if (c == Col::S)
            f->setToolTip(QString::fromUtf8(ayuda));
        crearPar(c, indice, f, QStringLiteral("Option") + letra(c) + codigo, QStringLiteral("Desglosado"),
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

// ---------------------------------------------------------------------------

class FrmCostesVariables : public FormularioBase {
public:
    FrmCostesVariables(Calculo &c, QWidget *parent) : FormularioBase(c, Seccion::CostesVariables, parent)
    {
        crearMarcos(true);
        ajustarTamano(std::max(columna(Col::S), columna(Col::O)));
        cargar();
    }

private:
    int columna(Col c)
    {
        Pila pila;
        QGroupBox *marco = frameColumna(c);

        QGroupBox *carburante = crearMarco(marco, QString(), QStringLiteral("Carburante"));
        Rejilla r(*this, c, carburante, kAnchoSub, {anchoCaja(5), anchoCaja(8)});
        r.subtitulo(QStringLiteral("Precio de adquisición"));
        r.cabeceras({{0, QStringLiteral("%")}, {1, QStringLiteral("Euros / litro")}});
        r.fila(1);
        r.fila({{0, 2}, {1, 3}});
        r.fila({{0, 4}, {1, 5}});
        r.fila(6);
        r.cabeceras({{1, QStringLiteral("litros / 100 km")}}, 1800);
        r.fila(7);
        pila.poner(carburante, r.alto());

        QGroupBox *neumaticos = crearMarco(marco, QString(), QStringLiteral("Neumáticos"));
        Rejilla n(*this, c, neumaticos, kAnchoSub, {anchoCaja(2), 1560, 1500});
        n.cabeceras({{0, QStringLiteral("Nº")},
                     {1, QStringLiteral("Precio sin IVA de un neumático (Euros / unidad)")},
                     {2, QStringLiteral("Duración media (km)")}});
        for (int i = 8; i <= 14; i += 3)
            n.fila({{0, i}, {1, i + 1}, {2, i + 2}});
        pila.poner(neumaticos, n.alto());

        QGroupBox *reparaciones = crearMarco(marco, QString(), QStringLiteral("Reparaciones y conservación"));
        Rejilla rc(*this, c, reparaciones, kAnchoSub, {1740, 1740});
        rc.cabeceras({{0, QStringLiteral("Coste kilométrico sin IVA (Euros / km)")},
                      {1, QStringLiteral("Coste anual sin IVA (Euros)")}});
        rc.fila(QString(), {{0, 17}, {1, 18}});
        pila.poner(reparaciones, rc.alto());

        QGroupBox *peajes = crearMarco(marco, QString(), QStringLiteral("Peajes"));
        Rejilla p(*this, c, peajes, kAnchoSub, {anchoCaja(10)});
        p.fila(19);
        pila.poner(peajes, p.alto());
        return pila.alto();
    }
};

// ---------------------------------------------------------------------------

class FrmCostesIndirectos : public FormularioBase {
public:
    FrmCostesIndirectos(Calculo &c, QWidget *parent) : FormularioBase(c, Seccion::CostesIndirectos, parent)
    {
        crearMarcos(true);
        columna(Col::S);
        columna(Col::O);
        ajustarTamano(4200);
        cargar();
    }

    void comentarioCambiado(Col c) override
    {
        QLabel *l = etiqueta(c, 6);
        const bool total = calculo().columna(c)(Seccion::CostesIndirectos, 1).esFalso();
        QString texto = total ? calculo().comentario(c) : QString();
        texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (l->text() != texto)
            l->setText(texto);
    }

protected:
    void mostrarOpcion(Col c, int, bool desglosado) override
    {
        QLabel *comentario = etiqueta(c, 6);
        for (int k : {1, 2, 3, 5})
            etiqueta(c, k)->setVisible(desglosado);
        for (int i : {2, 3, 4})
            caja(c, i)->setVisible(desglosado);
        if (desglosado) {
            // The comment is put away where it was designed.
            comentario->hide();
            comentario->setText(QString());
            comentario->setGeometry(twRect(4080, 180, 1500, 195));
            comentario->adjustSize();
        } else {
            // It takes the place of the three item rows.
            comentario->setGeometry(twRect(1200, 1740, 2985, 1215));
            comentarioCambiado(c);
            comentario->show();
        }
        etiqueta(c, 7)->setVisible(!desglosado);
    }

private:
    // Label k of the user column (1 to 7); the reference column's are 8 to 14.
    QLabel *etiqueta(Col c, int k) const { return etiquetas_[static_cast<int>(c)][k]; }

    void columna(Col c)
    {
        QGroupBox *marco = frameColumna(c);
        const int n = c == Col::S ? 0 : 7;
        auto &et = etiquetas_[static_cast<int>(c)];
        auto nombrar = [&](QLabel *l, int k) {
            l->setObjectName(QStringLiteral("Label%1").arg(k + n));
            et[k] = l;
        };

        QGroupBox *forma = crearMarco(marco, QStringLiteral("Frame") + letra(c) + QStringLiteral("I1"), QString());
        if (c == Col::S)
            forma->setToolTip(QStringLiteral("Elegir la forma de introducir los costes indirectos"));
        forma->setGeometry(twRect(1800, 300, 1935, 2 * altoCaja() + 300));
        crearPar(c, 1, forma, QStringLiteral("Option") + letra(c) + QLatin1Char('I'), QStringLiteral("Desglosado"),
                 QStringLiteral("Total"), QRect(240, 120, 1560, altoCaja()),
                 QRect(240, 180 + altoCaja(), 1560, altoCaja()));

        const int x = 4080;
        const int ancho = anchoCaja(10);
        const int anchoEtiqueta = x - kHueco - kMargen;
        nombrar(crearEtiqueta(QStringLiteral("Euros"), marco, QRect(4380, 1320, 900, 195)), 5);
        const struct {
            int k, i, arriba, arribaCaja, alto;
        } filas[] = {{1, 2, 1440, 1560, 660}, {2, 3, 2160, 2220, 600}, {3, 4, 2820, 2880, 420}, {4, 5, 3480, 3540, 600}};
        for (const auto &f : filas) {
            nombrar(crearEtiqueta(QString::fromUtf8(campo(Seccion::CostesIndirectos, f.i).etiqueta), marco,
                                  QRect(kMargen, f.arriba, anchoEtiqueta, f.alto), Qt::AlignLeft | Qt::AlignTop),
                    f.k);
            crearCaja(c, f.i, marco, QRect(x, f.arribaCaja, ancho, altoCaja()));
        }
        nombrar(crearEtiqueta(QStringLiteral("Euros"), marco, QRect(4380, 3300, 900, 195)), 7);
        etiqueta(c, 7)->hide();

        QLabel *comentario = crearEtiqueta(QStringLiteral("Comentario"), marco, QRect(4080, 180, 1500, 195),
                                           Qt::AlignCenter, true);
        nombrar(comentario, 6);
        comentario->adjustSize();
        comentario->hide();
    }

    std::array<std::array<QLabel *, 8>, 2> etiquetas_{};
};

// ---------------------------------------------------------------------------

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
        r1.fila({{0, 1}});
        crearEtiqueta(QStringLiteral("€/viajero-km"), c1,
                      QRect(r1.izquierdaColumna(1), arriba, 2 * columna, altoCaja()));
        pila.poner(c1, r1.alto(), kAnchoBloque);

        QGroupBox *c2 = crearMarco(marco, QString(), QStringLiteral("COSTE DEL SERVICIO (kilómetros y horas)"));
        Rejilla r2(*this, Col::S, c2, kAnchoBloque, columnas);
        std::vector<std::pair<int, QString>> servicios;
        for (int k = 0; k < 5; ++k)
            servicios.push_back({k, QStringLiteral("Servicio %1").arg(k + 1)});
        r2.cabeceras(servicios);
        auto filaServicios = [&](int desplazamiento) {
            std::vector<std::pair<int, int>> cajas;
            for (int k = 0; k < 5; ++k)
                cajas.push_back({k, 2 + 6 * k + desplazamiento});
            r2.fila(cajas);
        };
        for (int d = 0; d < 3; ++d)
            filaServicios(d);
        r2.saltar(60);
        r2.subtitulo(QStringLiteral("COSTE DEL SERVICIO según el tipo de facturación (Euros)"));
        for (int d = 3; d < 6; ++d)
            filaServicios(d);
        std::vector<std::pair<int, QString>> unidades;
        for (int k = 0; k < 5; ++k)
            unidades.push_back({k, QStringLiteral("Euros (€)")});
        r2.cabeceras(unidades);
        pila.poner(c2, r2.alto(), kAnchoBloque);

        ajustarTamano(pila.alto());

        // The derived rows have colours of their own.
        caja(Col::S, 1)->fijarColoresDerivado(QColor(192, 64, 0), QColor(255, 224, 192));
        for (int b = 2; b <= 26; b += 6) {
            caja(Col::S, b + 3)->fijarColoresDerivado(QColor(0, 0, 255), QColor(230, 250, 253));
            caja(Col::S, b + 4)->fijarColoresDerivado(QColor(0, 128, 0), QColor(223, 244, 224));
            caja(Col::S, b + 5)->fijarColoresDerivado(QColor(128, 128, 0), QColor(243, 251, 227));
        }
        cargar();
    }

    void activar() override { calculo().Revisar(); }
};

} // namespace

FormularioSeccion *CrearFormulario(Seccion seccion, Calculo &calculo, QWidget *parent)
{
    switch (seccion) {
    case Seccion::Caracteristicas:
        return new FrmCaracteristicas(calculo, parent);
    case Seccion::CostesFijos1:
        return new FrmCostesFijos1(calculo, parent);
    case Seccion::CostesFijos2:
        return new FrmCostesFijos2(calculo, parent);
    case Seccion::CostesVariables:
        return new FrmCostesVariables(calculo, parent);
    case Seccion::CostesIndirectos:
        return new FrmCostesIndirectos(calculo, parent);
    case Seccion::Resultados:
        return CrearResultados(calculo, parent);
    case Seccion::Servicio:
        return new FrmServicio(calculo, parent);
    }
    return nullptr;
}

} // namespace pelmora
