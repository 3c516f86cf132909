// The grid that lays out the rows of a section form, in twips: captions on
// the left, boxes in columns on the right; and the stack of frames inside a
// column.
#pragma once

#include "interfaz/formularios/formulario.h"

#include <QString>
#include <utility>
#include <vector>

class QLabel;
class QWidget;

namespace pelmora {

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
    // The same for (column, field index): each the heading the catalogue
    // gives the field's column.
    std::vector<QLabel *> cabecerasDe(const std::vector<std::pair<int, int>> &campos, int ancho = 0);
    // A row with boxes (column, field index); the caption is the one the
    // catalogue gives the row's fields, or the given text.
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

// Stacks frames top to bottom inside a column frame.
struct Pila {
    int y = medidas::kArribaMarco;
    void poner(QWidget *w, int alto, int ancho = medidas::kAnchoSub);
    int alto() const { return y - medidas::kEntreFilas + medidas::kMargen; }
};

} // namespace pelmora
