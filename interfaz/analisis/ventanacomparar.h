// frmComparar: two to eight calculations side by side (the open one, as it
// is now, and saved files), with the reference coach of the first one's
// category: a table of their costs with each difference from the first
// column as a percentage, and a stacked bar chart of their cost structure.
// Exports to CSV and PDF, and prints.
#pragma once

#include "analisis/comparacion.h"
#include "interfaz/analisis/barras.h"
#include "interfaz/analisis/dialogoanalisis.h"
#include "interfaz/impresion/hojaimpresa.h"
#include "interfaz/soporte/interceptor.h"

#include <QMetaObject>
#include <QTimer>
#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSplitter;
class QTableWidget;

namespace pelmora {

// The result slots the table compares, top down: the thirteen cost items,
// direct, indirect and total costs, C1 to C5, kilometres and hours a year.
inline constexpr int kFilasComparacion[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                            13, 16, 17, 18, 40, 45, 46, 47, 48, 41, 43};

// One column of the comparison: a heading of two lines and its figures.
struct ColumnaComparada {
    QString nombre;
    QString descripcion;
    CifrasColumna cifras;
};

// How far b is from a, in percent of a; none when either is empty or a is 0.
std::optional<double> diferenciaPorcentual(const Valor &a, const Valor &b);

// The table: the captions and their units, then one column per column given, each figure
// as the results form shows it, and under it, from the second column on,
// its difference from the first column's.
TablaTexto tablaComparacion(const std::vector<ColumnaComparada> &columnas);

class VentanaComparar : public DialogoAnalisis {
    Q_OBJECT
public:
    static constexpr int kMinimo = 2;
    static constexpr int kMaximo = 8;

    explicit VentanaComparar(QWidget *padre);

    // The calculation open in the program (null when none) and where its
    // file is (empty while it has none). While it is open and "Incluir el
    // cálculo abierto" is ticked, it is compared as it is at each moment.
    void fijarCalculoAbierto(const Calculo *c, std::function<QString()> ruta);

    // Reads the files and adds those that can be read, up to kMaximo
    // calculations; the others are named in a message with the reason.
    // True when all were added.
    bool anadirArchivos(const QStringList &rutas);
    // Row k of the list goes; moves up (-1) or down (+1).
    void quitar(int k);
    void mover(int k, int paso);

    // The calculations compared, in column order.
    std::vector<CalculoComparado> comparados() const;
    // The columns of the table and the chart: those, then the reference
    // coach of the first one (none without calculations).
    std::vector<ColumnaComparada> columnas() const;

    QListWidget *lista() const { return lstCalculos_; }
    QTableWidget *tabla() const { return grdComparacion_; }
    GraficoBarras *grafico() const { return grafico_; }
    QCheckBox *incluirAbierto() const { return chkAbierto_; }
    QComboBox *escala() const { return cboEscala_; }

    // The printed pages: the table, then the chart.
    QList<QWidget *> paginas() const override;

    void anadir(); // "Añadir...": the file dialog

protected:
    QString documento() const override;
    // A row per calculation, then the reference coach's.
    QByteArray csv() const override;

private:
    struct Elemento {
        bool abierto = false;
        CalculoComparado cifras;
    };

    QGroupBox *crearLista(QWidget *padre);
    QSplitter *crearTablaYGrafico(QWidget *padre);
    void alternarAbierto(bool incluir);
    // Quitar, Subir and Bajar on as the row chosen allows.
    void botonesLista();
    void programar();
    // The open calculation's figures again, then everything shown.
    void actualizar();
    void mostrar();
    QString nombre(const Elemento &e) const;

    std::vector<Elemento> elementos_;
    const Calculo *abierto_ = nullptr;
    std::function<QString()> rutaAbierto_;
    QList<QMetaObject::Connection> conexiones_;
    QTimer temporizador_;

    QListWidget *lstCalculos_ = nullptr;
    QCheckBox *chkAbierto_ = nullptr;
    QPushButton *cmbAnadir_ = nullptr, *cmbQuitar_ = nullptr, *cmbSubir_ = nullptr, *cmbBajar_ = nullptr;
    QLabel *lblAviso_ = nullptr;
    QTableWidget *grdComparacion_ = nullptr;
    QComboBox *cboEscala_ = nullptr;
    GraficoBarras *grafico_ = nullptr;
};

// While set, "Añadir..." asks this function instead of showing the file
// dialog: it gets the folder the dialog would start on and returns the
// files chosen (none to cancel).
inline Interceptor<QStringList(const QString &carpeta)> interceptorArchivosComparar;

} // namespace pelmora
