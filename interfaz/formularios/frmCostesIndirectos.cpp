// frmCostesIndirectos: the indirect costs, broken down or given as a total
// with their comment.
#include "calculo/campos.h"
#include "interfaz/formularios/rejilla.h"
#include "interfaz/soporte/twips.h"

#include <QGroupBox>
#include <QLabel>

namespace pelmora {

namespace {

using namespace medidas;

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
        const bool total = calculo().columna(c)(Seccion::CostesIndirectos, Ind::Desglosado).esFalso();
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
        for (int i : {Ind::Estructura, Ind::Comercializacion, Ind::Otros})
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

        QGroupBox *forma = crearMarco(marco, QStringLiteral("Frame") + letraColumna(c) + QStringLiteral("I1"), QString());
        forma->setGeometry(twRect(1800, 300, 1935, 2 * altoCaja() + 300));
        crearPar(c, Ind::Desglosado, forma, QStringLiteral("Option") + letraColumna(c) + QLatin1Char('I'),
                 QRect(240, 120, 1560, altoCaja()), QRect(240, 180 + altoCaja(), 1560, altoCaja()));

        const int x = 4080;
        const int ancho = anchoCaja(10);
        const int anchoEtiqueta = x - kHueco - kMargen;
        nombrar(crearEtiqueta(textoCampo(Ind::Estructura, &CampoInfo::columna), marco, QRect(4380, 1320, 900, 195)), 5);
        const struct {
            int k, i, arriba, arribaCaja, alto;
        } filas[] = {{1, Ind::Estructura, 1440, 1560, 660},
                     {2, Ind::Comercializacion, 2160, 2220, 600},
                     {3, Ind::Otros, 2820, 2880, 420},
                     {4, Ind::Total, 3480, 3540, 600}};
        for (const auto &f : filas) {
            nombrar(crearEtiqueta(textoCampo(f.i, &CampoInfo::etiqueta), marco,
                                  QRect(kMargen, f.arriba, anchoEtiqueta, f.alto), Qt::AlignLeft | Qt::AlignTop),
                    f.k);
            crearCaja(c, f.i, marco, QRect(x, f.arribaCaja, ancho, altoCaja()));
        }
        nombrar(crearEtiqueta(textoCampo(Ind::Total, &CampoInfo::columna), marco, QRect(4380, 3300, 900, 195)), 7);
        etiqueta(c, 7)->hide();

        QLabel *comentario = crearEtiqueta(QStringLiteral("Comentario"), marco, QRect(4080, 180, 1500, 195),
                                           Qt::AlignCenter, true);
        nombrar(comentario, 6);
        comentario->adjustSize();
        comentario->hide();
    }

    std::array<std::array<QLabel *, 8>, 2> etiquetas_{};
};

} // namespace

FormularioBase *crearCostesIndirectos(Calculo &calculo, QWidget *parent) { return new FrmCostesIndirectos(calculo, parent); }

} // namespace pelmora
