// frmSensibilidad: which entries of the open calculation move a figure of
// its costs most. A tornado chart and a table beside it, for the figure and
// the percentage chosen in the window; they follow the calculation as its
// fields change, and print or export to PDF and CSV.
#pragma once

#include "analisis/sensibilidad.h"
#include "interfaz/analisis/dialogoanalisis.h"
#include "interfaz/impresion/hojaimpresa.h"

#include <QFont>
#include <QHash>
#include <QPoint>
#include <QTableWidget>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QScrollArea;
class QSplitter;
class QSpinBox;

namespace pelmora {

class GraficoTornado;

// The table of a sensitivity for the figure n, in the sensitivity's order:
// caption, section, unit, value, the values tried, the figure at each side
// ("no posible" for a refused side), its swing and the refused sides'
// messages.
TablaTexto tablaSensibilidad(const Sensibilidad &s, int n);

// The window's table, with the options its cells are measured in.
class TablaSensibilidad : public QTableWidget {
    Q_OBJECT
public:
    using QTableWidget::QTableWidget;
    QStyleOptionViewItem opcionCeldas() const;
};

class VentanaSensibilidad : public DialogoAnalisis {
    Q_OBJECT
public:
    // nombre gives the name of the calculation's document (for printing and
    // the files proposed).
    VentanaSensibilidad(const Calculo &calculo, std::function<QString()> nombre, QWidget *padre);
    ~VentanaSensibilidad() override;

    const Sensibilidad &sensibilidad() const { return s_; }
    int cifra() const;
    double porcentaje() const;
    void elegirCifra(int n);
    void elegirPorcentaje(int p);

    GraficoTornado *grafico() const { return grafico_; }
    QTableWidget *tabla() const { return tabla_; }
    // How many times the sensitivity has been worked out.
    int veces() const { return veces_; }

    // The printed pages: the chart, then the table.
    QList<QWidget *> paginas() const override;

protected:
    QString documento() const override;
    // The sensitivity in the order of the figure shown.
    QByteArray csv() const override;

private:
    QHBoxLayout *crearControles();
    QSplitter *crearGraficoYTabla();
    // Works the sensitivity out again on the next turn of the event loop
    // (once, however many changes come before it).
    void programar();
    void calcular();
    // The chart and the table from s_ for the figure chosen.
    void mostrar();
    // The widths the cells ask for: those given, or all of them after
    // the rows, the columns or the font changed (then true: every column
    // takes its width again).
    bool medirCeldas(const std::vector<QPoint> &celdas);
    // The width a column's contents ask for.
    int anchoContenido(int columna) const;
    // The widest a column of the table is made to fit its contents.
    int anchoMaximo(int columna) const;
    QString titulo() const;
    QString subtitulo() const;

    const Calculo &calculo_;
    std::function<QString()> nombre_;
    Sensibilidad s_;
    QTimer temporizador_;
    mutable QFont letraCabecera_;
    mutable QHash<QString, int> anchosCabecera_;
    QFont letraCeldas_;
    QHash<QString, int> anchosTexto_;            // in letraCeldas_
    std::vector<std::vector<int>> anchosCeldas_; // [column][row]
    int veces_ = 0;

    QComboBox *cboCifra_ = nullptr;
    QSpinBox *spnPorcentaje_ = nullptr;
    QLineEdit *lblBase_ = nullptr; // the figure as it is, to read and copy
    QScrollArea *desplazamiento_ = nullptr;
    GraficoTornado *grafico_ = nullptr;
    TablaSensibilidad *tabla_ = nullptr;
};

} // namespace pelmora
