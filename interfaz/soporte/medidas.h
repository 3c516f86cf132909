// Item views that measure each text once: a table whose columns follow their
// contents measures every cell of a column whenever one of them changes, the
// style measures a cell's text again to place it each time it paints it, and
// laying a text out is most of that work.
#pragma once

#include <QFont>
#include <QHash>
#include <QLineEdit>
#include <QProxyStyle>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <memory>

namespace pelmora {

class DelegadoMedido : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // What QStyledItemDelegate gives; measured once per text, font and
    // style (cells with an icon, a check box, wrapped text, a font or a size
    // of their own are measured every time).
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    struct Clave {
        QString texto;
        int rasgos; // QStyleOptionViewItem::features
        bool operator==(const Clave &) const = default;
        friend size_t qHash(const Clave &c, size_t semilla) { return qHashMulti(semilla, c.texto, c.rasgos); }
    };
    mutable QHash<Clave, QSize> medidas_;
    mutable QFont letra_;
    mutable const QStyle *estilo_ = nullptr;
};

// A style with the places of the parts of plain cells (no icon, check box
// or wrapped text) remembered, and their texts drawn from layouts kept per
// text, font and place: what it gives and draws is what its base style does.
class EstiloMedido : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;
    ~EstiloMedido() override;
    QRect subElementRect(SubElement elemento, const QStyleOption *opcion, const QWidget *widget) const override;
    void drawControl(ControlElement elemento, const QStyleOption *opcion, QPainter *p,
                     const QWidget *widget = nullptr) const override;

private:
    struct TextoCelda;
    struct ClaveTexto {
        QString texto;
        QFont letra;
        QSize caja; // of the text, within the cell's margins
        int alineacion, direccion, recorte;
        bool operator==(const ClaveTexto &) const = default;
        friend size_t qHash(const ClaveTexto &c, size_t semilla)
        {
            return qHashMulti(semilla, c.texto, c.letra, c.caja.width(), c.caja.height(), c.alineacion, c.direccion,
                              c.recorte);
        }
    };
    // The text of a plain cell laid out as the base style lays it out to
    // draw it in caja; null where it would not draw it on one line.
    const TextoCelda *textoCelda(const QStyleOptionViewItem &celda, const QRect &caja) const;

    struct Clave {
        int elemento;
        QRect rect;
        QString texto;
        QFont letra;
        int rasgos, alineacion, direccion;
        bool operator==(const Clave &) const = default;
        friend size_t qHash(const Clave &c, size_t semilla)
        {
            return qHashMulti(semilla, c.elemento, c.rect, c.texto, c.letra, c.rasgos, c.alineacion, c.direccion);
        }
    };
    mutable QHash<Clave, QRect> rects_;
    mutable QHash<ClaveTexto, std::shared_ptr<const TextoCelda>> textos_;
};

// A line of text that reads as a label and can be selected and copied: a
// read-only line edit with neither frame nor background, in the colour of
// a label's text. For a text that changes often: a selectable label lays
// its text out as a document at each change, a line edit as one line.
class TextoSeleccionable : public QLineEdit {
    Q_OBJECT
public:
    explicit TextoSeleccionable(QWidget *parent = nullptr);

protected:
    void changeEvent(QEvent *e) override;

private:
    // No base, and text in the window's text colour, in every group.
    void colorear();
    bool coloreando_ = false;
};

// Texts drawn as QPainter::drawText(caja, banderas, texto) draws them, from
// layouts kept per text, font and direction: laying a text out is most of
// drawing it, and the same texts come back each time a widget is painted.
// Texts with flags other than their alignment are drawn by the painter.
class TextosDispuestos {
public:
    TextosDispuestos();
    ~TextosDispuestos();
    void dibujar(QPainter &p, const QRectF &caja, int banderas, const QString &texto);

private:
    struct Dispuesto;
    struct Clave {
        QString texto;
        QFont letra;
        int direccion;
        bool operator==(const Clave &) const = default;
        friend size_t qHash(const Clave &c, size_t semilla)
        {
            return qHashMulti(semilla, c.texto, c.letra, c.direccion);
        }
    };
    const Dispuesto &dispuesto(const QString &texto, const QFont &letra, Qt::LayoutDirection direccion);
    QHash<Clave, std::shared_ptr<const Dispuesto>> dispuestos_;
};

// FormatearNumero(Valor(x), decimales, true), remembered per value, places
// and separators (per thread): a chart and a table of the same figures
// write most of them again at every change of the calculation.
QString cifraEscrita(double x, int decimales);

} // namespace pelmora
