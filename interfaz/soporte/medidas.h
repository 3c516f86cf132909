// Item views that measure each text once: a table whose columns follow their
// contents measures every cell of a column whenever one of them changes, the
// style measures a cell's text again to place it each time it paints it, and
// laying a text out is most of that work.
#pragma once

#include <QFont>
#include <QHash>
#include <QProxyStyle>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStyledItemDelegate>

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
// or wrapped text) remembered: what it gives is what its base style gives.
class EstiloMedido : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;
    QRect subElementRect(SubElement elemento, const QStyleOption *opcion, const QWidget *widget) const override;

private:
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
};

} // namespace pelmora
