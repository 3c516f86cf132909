// The tornado chart of a sensitivity: one horizontal bar per entry, the
// largest swing of the chosen figure on top. The figure's present value is
// the axis; each side's bar runs from it to the figure after moving the
// entry by -P % or +P % (the -P % side to the left when the figure falls with
// the entry, as costs mostly do), labelled with that figure; a side the entry
// checks refused is marked "no posible" on its own side.
#pragma once

#include "analisis/sensibilidad.h"

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

namespace pelmora {

// The colours of the two sides.
inline const QColor kColorBajo(31, 119, 180);  // -P %
inline const QColor kColorAlto(255, 127, 14);  // +P %
inline const QColor kColorNoPosible(150, 0, 0);

// One side of a bar as drawn.
struct LadoTornado {
    bool posible = true;
    double cifra = 0;  // the figure after it (the base when refused)
    QRectF barra;      // from the axis to the figure; empty when it does not move or was refused
    QString texto;     // the figure, or "no posible"; empty for none
    QRectF caja;       // where that text goes
    bool operator==(const LadoTornado &) const = default;
};

struct BarraTornado {
    int entrada = 0;   // index into Sensibilidad::entradas
    QRectF fila;       // the whole row
    // The entry's caption: on up to three lines (split by "\n") where the
    // chart is narrow, cut short with "…" only when it still does not fit
    // (the tool tip over the row has it whole).
    QString etiqueta;
    QRectF cajaEtiqueta;
    LadoTornado bajo, alto;
    bool operator==(const BarraTornado &) const = default;
};

struct GeometriaTornado {
    QSizeF tamano;       // of the whole chart
    double eje = 0;      // x of the axis (the base value)
    double minimo = 0;   // the figures at the plot's left and right edges
    double maximo = 0;
    QRectF trazado;      // where the bars go
    QString textoBase;   // the figure as it is, over the axis
    QRectF cajaBase;
    QRectF muestraBajo, muestraAlto; // the legend's swatches
    QString leyendaBajo, leyendaAlto;
    QRectF cajaLeyendaBajo, cajaLeyendaAlto;
    std::vector<BarraTornado> barras; // in the sensitivity's order, top down
    bool operator==(const GeometriaTornado &) const = default;
};

// Which rows of the chart are laid out: the entries [desde, hasta) (hasta
// -1 for all), on the scale and with the columns of the whole chart, so
// that the pieces of a chart printed over several pages read alike.
struct TramoTornado {
    int desde = 0;
    int hasta = -1;
};

// Lays the chart out at a width for the figure n (a slot of
// kCifrasSensibilidad), the entries in the order they have in s (see
// Sensibilidad::ordenar), the texts measured in letra.
GeometriaTornado disponerTornado(const Sensibilidad &s, int n, double ancho, const QFont &letra,
                                 TramoTornado tramo = {});

// The height of one row of the chart (its captions on one line) and of
// everything above the rows, in letra. The chart is laid out at this height
// unless it is too narrow for its captions, as it never is on a page.
double altoFilaTornado(const QFont &letra);
double altoCabeceraTornado(const QFont &letra);

// The chart as a widget (picTornado): as tall as its rows need, the whole
// width it is given. Black on white whatever the desktop's colours.
struct MedidasTornado;

class GraficoTornado : public QWidget {
    Q_OBJECT
public:
    explicit GraficoTornado(QWidget *parent = nullptr);
    ~GraficoTornado() override;

    // What is drawn: a sensitivity (kept by reference; call again after it
    // changes) and the figure shown. Painted again only where it looks different.
    void mostrar(const Sensibilidad *s, int n, TramoTornado tramo = {});
    const GeometriaTornado &geometria() const { return geometria_; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int ancho) const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void changeEvent(QEvent *e) override;
    bool event(QEvent *e) override;

private:
    struct Memoria;
    void disponer();
    // Those of what is shown, in the present font (s_ set).
    const MedidasTornado &medidas() const;

    const Sensibilidad *s_ = nullptr;
    int cifra_ = 0;
    TramoTornado tramo_;
    GeometriaTornado geometria_;
    std::unique_ptr<Memoria> memoria_;
};

} // namespace pelmora
