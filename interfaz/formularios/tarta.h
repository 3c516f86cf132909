// The pie chart of the cost shares of one column of the results.
#pragma once

#include "entrada/valor.h"

#include <QColor>
#include <QFrame>
#include <QSizeF>
#include <array>

class QLabel;

namespace pelmora {

constexpr int kSectoresTarta = 11;

// What each sector of the pies stands for: the result slot of its share of
// the total (its amount is 20 slots before), its legend and its colour. The
// same colours mark the cost items in every chart of the program.
struct PorcionTarta {
    int cuota;
    const char *leyenda; // UTF-8
    QColor color;
};
extern const std::array<PorcionTarta, kSectoresTarta> kPorcionesTarta;

// One sector: angles in radians, counter-clockwise from 3 o'clock; whether
// it is drawn; where its percentage label goes (twips, inside the picture).
struct SectorTarta {
    double inicio = 0;
    double fin = 0;
    bool dibujado = false;
    float izquierda = 0;
    float arriba = 0;
};

struct GeometriaTarta {
    double centroX = 0; // twips
    double centroY = 0;
    double radio = 0;
    std::array<SectorTarta, kSectoresTarta> sectores{};
};

// The pie of a picture of ancho x alto twips for eleven shares (percent),
// each label placed from the size it has now (twips).
GeometriaTarta calcularTarta(double ancho, double alto, const std::array<double, kSectoresTarta> &cuotas,
                             const std::array<QSizeF, kSectoresTarta> &etiquetas);

// The picture PictureSR / PictureOR with its labels lblPicS(k) / lblPicO(k).
class Tarta : public QFrame {
    Q_OBJECT
public:
    // letra: "S" or "O", for the names of the picture and its labels.
    Tarta(const QString &letra, QWidget *parent = nullptr);

    // Redraws the pie from the eleven share slots (empty counts as 0):
    // places each label with its current size, then re-captions it with its
    // percentage and colours it like its sector; a label whose caption
    // changed its size is placed again by its new size. The description
    // follows (describir).
    void dibujar(const std::array<Valor, kSectoresTarta> &cuotas, const std::array<QColor, kSectoresTarta> &colores);

    QLabel *etiqueta(int k) const { return etiquetas_[k]; }
    const GeometriaTarta &geometria() const { return geometria_; }

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    // Works out the pie for the shares and moves each label to where its
    // present size puts it.
    GeometriaTarta colocar(const std::array<double, kSectoresTarta> &cuotas);
    // What the pie shows, for a screen reader: each item's legend and its
    // percentage as its label reads ("Peajes: 2,1%; ...").
    void describir();

    std::array<QLabel *, kSectoresTarta> etiquetas_{};
    std::array<QColor, kSectoresTarta> colores_{};
    GeometriaTarta geometria_;
    bool hayDibujo_ = false;
};

} // namespace pelmora
