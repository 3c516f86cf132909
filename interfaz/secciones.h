// What the seven section forms share: the frames of both columns, the boxes
// of the fields, the option pairs, the titles, and the grid that lays out
// rows of captions and boxes in twips.
#pragma once

#include "interfaz/campo.h"
#include "interfaz/formulario.h"

#include <QPointer>
#include <QRadioButton>
#include <QString>
#include <array>
#include <map>
#include <utility>
#include <vector>

class QGroupBox;
class QLabel;

namespace pelmora {

// Layout measures of the section forms (twips).
namespace medidas {
constexpr int kMargen = 120;        // inside a frame, left and right
constexpr int kArribaMarco = 300;   // first row under a frame's caption
constexpr int kHueco = 90;          // between two boxes of a row
constexpr int kEntreFilas = 60;     // between two rows
constexpr int kAnchoColumna = 5430; // FrameS and FrameO of a data form
constexpr int kIzquierdaS = 120;
constexpr int kIzquierdaO = 5685;
constexpr int kAnchoFormulario = 11235;
constexpr int kArribaColumnas = 300;
} // namespace medidas

class FormularioBase : public FormularioSeccion {
    Q_OBJECT
public:
    FormularioBase(Calculo &calculo, Seccion seccion, QWidget *parent);
    ~FormularioBase() override;

    void cargar() override;

    // The box of field i in a column (null when the form has none).
    CampoTexto *caja(Col c, int i) const;
    QGroupBox *frame1() const { return frame1_; }
    QGroupBox *frameColumna(Col c) const { return frameCol_[static_cast<int>(c)]; }
    // The buttons of an option pair (boton 1 or 2), null when none.
    QRadioButton *boton(Col c, int indice, int boton) const;

    // Width and height of a box for a number of characters, and of the
    // font's lines (twips).
    int anchoCaja(int caracteres) const;
    int altoCaja() const { return altoCaja_; }
    int altoTexto(const QString &texto, int ancho, bool negrita = false) const;

    // What the calculation announces (its signals).
    virtual void campoCambiado(Col c, Seccion s, int i);
    virtual void opcionCambiada(Col c, Seccion s, int indice);
    virtual void titulosCambiados();
    virtual void comentarioCambiado(Col) {}
    virtual void resultadosCambiados() {}

    // Building blocks, also used by the grid.
    CampoTexto *crearCaja(Col c, int i, QWidget *padre, const QRect &twips);
    QLabel *crearEtiqueta(const QString &texto, QWidget *padre, const QRect &twips,
                          Qt::Alignment alineacion = Qt::AlignLeft | Qt::AlignVCenter, bool negrita = false);
    QGroupBox *crearMarco(QWidget *padre, const QString &nombre, const QString &titulo);

protected:
    // Frame1, FrameS and, when conReferencia, FrameO side by side.
    void crearMarcos(bool conReferencia, int anchoS = medidas::kAnchoColumna);
    // Sizes the column frames to alto twips and the form around them.
    void ajustarTamano(int alto);

    // An option pair in its frame: buttons "<base>(1)" and "<base>(2)".
    void crearPar(Col c, int indice, QWidget *marco, const QString &base, const QString &texto1,
                  const QString &texto2, const QRect &twips1, const QRect &twips2);
    // Sets the buttons of a pair from the model and shows what goes with it.
    void ponerOpcion(Col c, int indice);
    virtual void mostrarOpcion(Col, int /*indice*/, bool /*primero*/) {}

    void hideEvent(QHideEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;
    void seguirFoco(QWidget *w);
    void controlConFoco(QWidget *w);

    std::array<std::vector<CampoTexto *>, 2> cajas_;
    std::map<std::pair<int, int>, std::array<QRadioButton *, 2>> pares_;
    QGroupBox *frame1_ = nullptr;
    std::array<QGroupBox *, 2> frameCol_{};
    QString titulo_;
    // The option button whose activation a refused value cancelled.
    QPointer<QRadioButton> anulada_;

private:
    int altoCaja_ = 300;
};

// A row of a grid: its caption and its boxes.
struct Fila {
    QLabel *etiqueta = nullptr;
    std::vector<CampoTexto *> cajas;
    void ocultar() const;
};

// Lays out rows top to bottom inside a frame: the caption on the left, the
// boxes in columns whose widths are given from left to right, the last one
// ending at the frame's right margin. Everything in twips.
class Rejilla {
public:
    Rejilla(FormularioBase &f, Col c, QWidget *marco, int ancho, std::vector<int> columnas,
            int arriba = medidas::kArribaMarco);

    // A sub-heading line ("Kilómetros recorridos:").
    QLabel *subtitulo(const QString &texto);
    // A line of column headers: (column, text), right-aligned over the
    // column and widened to the left up to ancho twips when given (never
    // over another header of the line).
    std::vector<QLabel *> cabeceras(const std::vector<std::pair<int, QString>> &textos, int ancho = 0);
    // A row with boxes (column, field index); the caption is the one of the
    // first field that has one in the catalogue, or the given text.
    Fila fila(const std::vector<std::pair<int, int>> &cajas);
    Fila fila(const QString &texto, const std::vector<std::pair<int, int>> &cajas);
    // A row with one box in the last column.
    Fila fila(int indice) { return fila({{static_cast<int>(columnas_.size()) - 1, indice}}); }
    // A free-text field: a short caption and the box up to the right margin.
    Fila filaTexto(int indice, int anchoEtiqueta);
    // A widget placed at the current line (twips), then the line moves on.
    void bloque(QWidget *w, int izquierda, int ancho, int alto);
    void saltar(int twips) { y_ += twips; }

    int y() const { return y_; }
    int alto() const { return y_ + medidas::kMargen; }
    int izquierdaColumna(int k) const;
    int derechaColumna(int k) const { return izquierdaColumna(k) + columnas_[k]; }

private:
    FormularioBase &f_;
    Col c_;
    QWidget *marco_;
    int ancho_;
    std::vector<int> columnas_;
    int y_;
};

// The results form (frmResultados.cpp).
FormularioSeccion *CrearResultados(Calculo &calculo, QWidget *parent);

} // namespace pelmora
