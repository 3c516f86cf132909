#include "interfaz/soporte/medidas.h"

#include <QApplication>
#include <QStyle>

namespace pelmora {

QSize DelegadoMedido::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    constexpr qsizetype kRecordadas = 8192;
    constexpr auto kPropias = QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::HasCheckIndicator |
                              QStyleOptionViewItem::WrapText;
    if (index.data(Qt::SizeHintRole).isValid())
        return QStyledItemDelegate::sizeHint(option, index);
    QStyleOptionViewItem opcion = option;
    initStyleOption(&opcion, index);
    if (opcion.features & kPropias)
        return QStyledItemDelegate::sizeHint(option, index);
    const QStyle *estilo = opcion.widget ? opcion.widget->style() : QApplication::style();
    if (estilo != estilo_ || opcion.font != letra_ || medidas_.size() >= kRecordadas) {
        medidas_.clear();
        estilo_ = estilo;
        letra_ = opcion.font;
    }
    const Clave clave{opcion.text, int(opcion.features)};
    if (const auto k = medidas_.constFind(clave); k != medidas_.cend())
        return *k;
    return *medidas_.insert(clave, QStyledItemDelegate::sizeHint(option, index));
}

} // namespace pelmora
