// An item delegate that remembers the size each text asks for: a table whose
// columns follow their contents measures every cell of a column whenever one
// of them changes, and laying a text out is most of that work.
#pragma once

#include <QFont>
#include <QHash>
#include <QSize>
#include <QString>
#include <QStyledItemDelegate>

namespace pelmora {

class DelegadoMedido : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // What QStyledItemDelegate gives; measured once per text, font, style
    // and kind of cell (cells with an icon, a check box, wrapped text or a
    // size of their own are measured every time).
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

} // namespace pelmora
