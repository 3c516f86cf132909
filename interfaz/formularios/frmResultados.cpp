// The results form: annual costs and shares of both columns, unit costs,
// the explanation of each unit cost, the legend and the two pies.
#include "calculo/campos.h"
#include "interfaz/formularios/formulario.h"
#include "interfaz/formularios/tarta.h"
#include "interfaz/soporte/twips.h"

#include <QGroupBox>
#include <QLabel>
#include <algorithm>

namespace pelmora {

namespace {

using namespace medidas;

constexpr int kAltoFila = 240;
constexpr int kAltoFrame1 = 15840;
constexpr int kIzquierda4 = 180;
constexpr int kAncho4 = 3675;
constexpr int kAnchoColumnaR = 3435;
constexpr std::array<int, 2> kIzquierdaColumnaR = {4020, 7620};

// A row of amounts: its caption in the left frame, its slot (the share is
// Res::cuota(slot)), where it stands and how it is drawn.
struct FilaCoste {
    int slot;
    const char *etiqueta;
    int arriba;
    int sangria;
    bool negrita;
};
const FilaCoste kFilas[] = {
    {Res::Totales, "Costes Totales repercutibles a todos los servicios", 780, 0, true},
    {Res::Directos, "Costes Directos", 1200, 0, true},
    {Res::Temporales, "- Costes Temporales", 1500, 120, true},
    {Res::Amortizacion, "Amortización del autocar", 1740, 360, false},
    {Res::Financiacion, "Financiación del autocar", 1980, 360, false},
    {Res::Personal, "Personal de a bordo", 2220, 360, false},
    {Res::Dietas, "Dietas del personal de a bordo", 2460, 360, false},
    {Res::Seguros, "Seguros del autocar", 2700, 360, false},
    {Res::Fiscales, "Costes fiscales", 2940, 360, false},
    {Res::Kilometricos, "- Costes Kilométricos", 3240, 120, true},
    {Res::Combustible, "Combustible", 3480, 360, false},
    {Res::Neumaticos, "Neumáticos", 3720, 360, false},
    {Res::Reparaciones, "Reparaciones y conservación", 3960, 360, false},
    {Res::Peajes, "Peajes", 4200, 360, false},
    {Res::Indirectos, "Costes Indirectos", 4500, 0, true},
    {Res::Estructura, "Costes de estructura", 4740, 360, false},
    {Res::Comercializacion, "Costes de comercialización", 4980, 360, false},
    {Res::OtrosIndirectos, "Otros costes indirectos", 5220, 360, false},
};

// The unit costs: slot, caption, unit, row top, colour.
struct CosteUnitario {
    int slot;
    const char *nombre;
    const char *cifra; // as read out
    const char *unidad;
    int arriba;
    QColor color;
};
const CosteUnitario kUnitarios[] = {
    {Res::C1, "C1 = ", "C1", "€/viajero-km", 9180, QColor(192, 64, 0)},
    {Res::C2, "C2 = ", "C2", "€/km", 11160, QColor(0, 0, 255)},
    {Res::C3, "C3 = ", "C3", "€/hora", 11400, QColor(0, 0, 255)},
    {Res::C4, "C4 = ", "C4", "€/km", 12360, QColor(0, 128, 0)},
    {Res::C5, "C5 = ", "C5", "€/hora", 13800, QColor(128, 128, 0)},
};

// The explanation of the unit costs in the left frame: title, lines and
// lines with a hanging name ("C2 =" and its text).
struct Explicacion {
    const char *titulo;
    int arriba;
    std::vector<std::pair<const char *, const char *>> lineas; // (name or null, text)
};
const Explicacion kExplicaciones[] = {
    {"Costes por viajero-kilómetro",
     8580,
     {{nullptr, "Costes = C1 * VKm"},
      {nullptr, "C1 = coste unitario por viajero-kilómetro"},
      {nullptr, "(costes totales por viajero-kilómetro)"},
      {nullptr, "VKm = viajeros-kilómetro"}}},
    {"Costes por kilómetro y hora",
     11100,
     {{nullptr, "Costes = C2 * Km + C3 * H"},
      {"C2 =", "coste unitario por kilómetro (costes kilómetricos por kilómetro facturado)"},
      {"C3 =", "coste unitario por hora (costes temporales e indirectos por hora facturada)"},
      {nullptr, "Km = kilómetros facturados"},
      {nullptr, "H = horas facturadas"}}},
    {"Costes por kilómetro",
     12300,
     {{nullptr, "Costes = C4 * Km"},
      {nullptr, "C4 = coste unitario por kilómetro"},
      {nullptr, "(costes totales por kilómetro facturado)"},
      {nullptr, "Km = kilómetros facturados"}}},
    {"Costes por hora",
     13740,
     {{nullptr, "Costes = C5 * H"},
      {nullptr, "C5 = coste unitario por hora"},
      {nullptr, "(costes totales por hora facturada)"},
      {nullptr, "H = horas facturadas"}}},
};

// The caption beside lblSR(39).
const char *const kViajerosKm = "Viajeros-Kilometro anuales";

// The activity figures beside lblSR(41) to lblSR(44).
const char *const kActividad[] = {"Kilometraje anual", "Kilometraje anual facturado", "Horas anuales",
                                  "Horas anuales facturadas"};

class FrmResultados : public FormularioBase {
public:
    FrmResultados(Calculo &c, QWidget *parent) : FormularioBase(c, Seccion::Resultados, parent)
    {
        frame1_ = crearMarco(this, QStringLiteral("Frame1"), titulo_);
        frame1_->setGeometry(twRect(0, 0, kIzquierdaColumnaR[1] + kAnchoColumnaR + kIzquierda4, kAltoFrame1));
        const int alto = kAltoFrame1 - kArribaColumnas - kMargen;
        QGroupBox *f4 = crearMarco(frame1_, QStringLiteral("Frame4"), QStringLiteral("Costes Anuales"));
        f4->setGeometry(twRect(kIzquierda4, kArribaColumnas, kAncho4, alto));
        frameCol_[0] = crearMarco(frame1_, QStringLiteral("FrameS"), QString::fromUtf8(tituloDeColumna(Col::S)));
        frameCol_[1] = crearMarco(frame1_, QStringLiteral("FrameO"), QString::fromUtf8(tituloDeColumna(Col::O)));
        for (int k = 0; k < 2; ++k)
            frameCol_[k]->setGeometry(twRect(kIzquierdaColumnaR[k], kArribaColumnas, kAnchoColumnaR, alto));
        setFixedSize(frame1_->size());

        marcoIzquierdo(f4);
        columna(Col::S);
        columna(Col::O);
        cargar();
    }

    void resultadosCambiados() override
    {
        std::array<QColor, kSectoresTarta> colores{};
        for (int k = 0; k < kSectoresTarta; ++k) {
            colores[k] = colores_[k]->palette().color(QPalette::Window);
            QPalette p = leyenda_[k]->palette();
            if (p.color(QPalette::WindowText) != colores[k]) {
                p.setColor(QPalette::WindowText, colores[k]);
                leyenda_[k]->setPalette(p);
            }
        }
        for (Col c : {Col::S, Col::O}) {
            const int ci = static_cast<int>(c);
            for (int n = 1; n <= tamano(Seccion::Resultados); ++n) {
                QLabel *l = lbl_[ci][n];
                if (!l)
                    continue;
                const QString t = calculo().textoMostrado(c, Seccion::Resultados, n);
                if (l->text() != t)
                    l->setText(t);
            }
            // Items of the indirect costs only when they are broken down.
            const bool desglosado = !calculo().columna(c)(Seccion::CostesIndirectos, Ind::Desglosado).esFalso();
            for (int n : {Res::Estructura, Res::Comercializacion, Res::OtrosIndirectos})
                for (int m : {n, Res::cuota(n)})
                    lbl_[ci][m]->setVisible(desglosado);

            std::array<Valor, kSectoresTarta> cuotas;
            for (int k = 0; k < kSectoresTarta; ++k)
                cuotas[k] = calculo().columna(c)(Seccion::Resultados, kPorcionesTarta[k].cuota);
            tartas_[ci]->dibujar(cuotas, colores);
        }
    }

    // Figure label lblSR(n) / lblOR(n).
    QLabel *etiqueta(Col c, int n) const { return lbl_[static_cast<int>(c)][n]; }

private:
    // The left frame Frame4: the captions of the amounts, the legend of the
    // pies, the activity captions and the explanation of the unit costs.
    void marcoIzquierdo(QGroupBox *f4)
    {
        const int ancho = kAncho4 - kMargen;
        for (const FilaCoste &f : kFilas) {
            const QString t = QString::fromUtf8(f.etiqueta);
            const int x = kMargen + f.sangria;
            if (f.slot == Res::Totales) // two lines, centred on its figures
                crearEtiqueta(t, f4, QRect(x, 660, ancho - x, 480), Qt::AlignLeft | Qt::AlignVCenter, true);
            else
                crearEtiqueta(t, f4, QRect(x, f.arriba, ancho - x, kAltoFila), Qt::AlignLeft | Qt::AlignVCenter,
                              f.negrita);
        }
        for (int k = 0; k < kSectoresTarta; ++k)
            lineaLeyenda(f4, k);
        for (int k = 0; k < 4; ++k)
            crearEtiqueta(QString::fromUtf8(kActividad[k]), f4,
                          QRect(kMargen, 10080 + kAltoFila * k, ancho - kMargen, kAltoFila));
        int abajo = 0;
        for (const Explicacion &e : kExplicaciones)
            abajo = explicacion(f4, e, std::max(e.arriba, abajo + 60));
    }

    // Swatch Colores(k) and its caption Leyenda(k).
    void lineaLeyenda(QGroupBox *f4, int k)
    {
        auto *muestra = new QLabel(f4);
        muestra->setObjectName(QStringLiteral("Colores(%1)").arg(k));
        muestra->setGeometry(twRect(60, 5640 + 240 * k, 255, 225));
        muestra->setFrameStyle(QFrame::Box | QFrame::Plain);
        muestra->setAutoFillBackground(true);
        QPalette p = muestra->palette();
        p.setColor(QPalette::Window, kPorcionesTarta[k].color);
        muestra->setPalette(p);
        muestra->setFocusPolicy(Qt::StrongFocus);
        // The swatch takes the focus: it is read out by its legend.
        muestra->setAccessibleName(QString::fromUtf8(kPorcionesTarta[k].leyenda));
        seguirFoco(muestra);
        colores_[k] = muestra;
        // The text stands 60 twips lower than its swatch; the swatches are
        // 225 high, not 255, so that they do not touch.
        leyenda_[k] = crearEtiqueta(QString::fromUtf8(kPorcionesTarta[k].leyenda), f4,
                                    QRect(480, 5700 + 240 * k, kAncho4 - kMargen - 480, 225));
        leyenda_[k]->setObjectName(QStringLiteral("Leyenda(%1)").arg(k));
    }

    // One box of the explanation of the unit costs, from arriba down; returns
    // where it ends (twips).
    int explicacion(QGroupBox *f4, const Explicacion &e, int arriba)
    {
        QGroupBox *caja = crearMarco(f4, QString(), QString::fromUtf8(e.titulo));
        QFont letra = caja->font();
        letra.setBold(true);
        caja->setFont(letra);
        letra.setBold(false);
        letra.setPointSizeF(letra.pointSizeF() - 1);
        const int anchoCaja = kAncho4 - 2 * 60;
        const int anchoTexto = anchoCaja - 2 * kMargen;
        int y = 240;
        for (const auto &[nombre, linea] : e.lineas) {
            const int sangria = nombre ? 420 : 0;
            QLabel *l = crearEtiqueta(QString::fromUtf8(linea), caja,
                                      QRect(kMargen + sangria, y, anchoTexto - sangria, 200), Qt::AlignLeft | Qt::AlignTop);
            l->setFont(letra);
            const int alto = static_cast<int>(aTwips(l->heightForWidth(l->width())) + 0.5);
            l->setGeometry(twRect(kMargen + sangria, y, anchoTexto - sangria, alto));
            if (nombre) {
                QLabel *n = crearEtiqueta(QString::fromUtf8(nombre), caja, QRect(kMargen, y, sangria, 200),
                                          Qt::AlignLeft | Qt::AlignTop);
                n->setFont(letra);
            }
            y += alto;
        }
        const int alto = y + 90;
        caja->setGeometry(twRect(60, arriba, anchoCaja, alto));
        return arriba + alto;
    }

    void columna(Col c)
    {
        const int ci = static_cast<int>(c);
        QGroupBox *marco = frameColumna(c);
        const QString l = c == Col::S ? QStringLiteral("S") : QStringLiteral("O");
        const QString columna = QString::fromUtf8(tituloDeColumna(c));
        // A figure is read out by its row, its column and its unit.
        auto figura = [&](int n, const QRect &r, bool negrita, const char *fila, const QString &unidad,
                          const QColor &color = QColor()) {
            QLabel *e = crearEtiqueta(QString(), marco, r, Qt::AlignRight | Qt::AlignVCenter, negrita);
            e->setWordWrap(false);
            e->setObjectName(QStringLiteral("lbl%1R(%2)").arg(l).arg(n));
            e->setAccessibleName(QString::fromUtf8(fila) + QStringLiteral(", ") + columna +
                                 (unidad.isEmpty() ? QString() : QStringLiteral(", ") + unidad));
            e->setProperty("Tag", QString::number(decimalesResultado(n)));
            if (color.isValid()) {
                QPalette p = e->palette();
                p.setColor(QPalette::WindowText, color);
                e->setPalette(p);
            }
            lbl_[ci][n] = e;
        };

        crearEtiqueta(QStringLiteral("Euros (€)"), marco, QRect(360, 360, 1155, kAltoFila), Qt::AlignRight | Qt::AlignVCenter);
        crearEtiqueta(QStringLiteral("%"), marco, QRect(2400, 360, 675, kAltoFila), Qt::AlignRight | Qt::AlignVCenter);
        for (const FilaCoste &f : kFilas) {
            figura(f.slot, QRect(360, f.arriba, 1155, kAltoFila), f.negrita, f.etiqueta, QStringLiteral("euros"));
            figura(Res::cuota(f.slot), QRect(2400, f.arriba, 675, kAltoFila), f.negrita, f.etiqueta,
                   QStringLiteral("porcentaje"));
        }

        tartas_[ci] = new Tarta(l, marco);
        tartas_[ci]->setAccessibleName(QStringLiteral("Gráfico de los costes anuales, ") +
                                       QString::fromUtf8(tituloDeColumna(c)));
        tartas_[ci]->setGeometry(twRect(60, 5640, 3315, 2715));
        seguirFoco(tartas_[ci]);

        figura(Res::ViajerosKm, QRect(360, 8640, 1155, kAltoFila), false, kViajerosKm, QString());
        QLabel *vkm = crearEtiqueta(QString::fromUtf8(kViajerosKm), marco, QRect(1575, 8520, 1740, 480));
        for (int k = 0; k < 4; ++k)
            figura(Res::KmAnuales + k, QRect(360, 10080 + kAltoFila * k, 1155, kAltoFila), false, kActividad[k], QString());

        std::vector<QWidget *> c1;
        for (const CosteUnitario &u : kUnitarios) {
            QLabel *nombre = crearEtiqueta(QString::fromUtf8(u.nombre), marco, QRect(60, u.arriba, 540, kAltoFila),
                                   Qt::AlignRight | Qt::AlignVCenter, true);
            figura(u.slot, QRect(600, u.arriba, 915, kAltoFila), true, u.cifra, QString::fromUtf8(u.unidad), u.color);
            QLabel *unidad = crearEtiqueta(QString::fromUtf8(u.unidad), marco, QRect(1575, u.arriba, 1740, kAltoFila));
            if (u.slot == Res::C1)
                c1 = {nombre, unidad};
        }
        if (c == Col::O) {
            // The reference data has no passenger figures to show.
            vkm->hide();
            for (QWidget *w : c1)
                w->hide();
            lbl_[ci][Res::ViajerosKm]->hide();
            lbl_[ci][Res::C1]->hide();
        }
    }

    std::array<std::array<QLabel *, 49>, 2> lbl_{};
    std::array<Tarta *, 2> tartas_{};
    std::array<QLabel *, kSectoresTarta> colores_{};
    std::array<QLabel *, kSectoresTarta> leyenda_{};
};

} // namespace

FormularioBase *crearResultados(Calculo &calculo, QWidget *parent) { return new FrmResultados(calculo, parent); }

} // namespace pelmora
