// The stacked bar chart of the cost structure of several calculations: one
// bar per calculation, its cost items stacked in the colours of the pies
// (tarta.h), either as shares of the total or as amounts, with a legend.
#pragma once

#include "analisis/sensibilidad.h"
#include "interfaz/formularios/tarta.h"

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <vector>

namespace pelmora {

// One calculation as a bar: its name and its result slots.
struct ColumnaBarras {
    QString nombre;
    ResultadosColumna resultados;
};

struct SegmentoBarra {
    int porcion = 0;  // index into kPorcionesTarta
    double valor = 0; // percent of the total, or euros a year
    QColor color;
    QRectF caja;
    QString texto;    // the share, when there is room for it inside
    QColor colorTexto;
};

struct BarraApilada {
    QString nombre;
    QRectF cajaNombre;
    QString total; // the total annual cost, over the bar
    QRectF cajaTotal;
    std::vector<SegmentoBarra> segmentos; // bottom up, in the pies' order
};

struct MarcaEje {
    double y = 0;
    QString texto;
    QRectF caja;
};

struct ElementoLeyenda {
    QRectF muestra;
    QRectF caja;
    QString texto;
    QColor color;
};

struct GeometriaBarras {
    QSizeF tamano;
    QRectF trazado;
    QString unidad;
    QRectF cajaUnidad;
    std::vector<MarcaEje> marcas;
    std::vector<BarraApilada> barras;
    std::vector<ElementoLeyenda> leyenda;
};

// The chart of the columns in a rectangle of the given size; importes:
// euros a year instead of shares of the total.
GeometriaBarras disponerBarras(const std::vector<ColumnaBarras> &columnas, bool importes, QSizeF tamano,
                               const QFont &letra);

// The chart as a widget (picEstructura), black on white whatever the
// desktop's colours.
class GraficoBarras : public QWidget {
    Q_OBJECT
public:
    explicit GraficoBarras(QWidget *parent = nullptr);
    void mostrar(std::vector<ColumnaBarras> columnas, bool importes);
    const GeometriaBarras &geometria() const { return geometria_; }
    QSize sizeHint() const override { return QSize(720, 360); }
    QSize minimumSizeHint() const override { return QSize(360, 220); }

protected:
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    void disponer();

    std::vector<ColumnaBarras> columnas_;
    bool importes_ = false;
    GeometriaBarras geometria_;
};

} // namespace pelmora
