#include "interfaz/soporte/medidas.h"

#include <QApplication>
#include <QStyle>

namespace pelmora {

namespace {

constexpr qsizetype kRecordadas = 8192;
constexpr auto kPropias =
    QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::WrapText;

} // namespace

QSize DelegadoMedido::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
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

QRect EstiloMedido::subElementRect(SubElement elemento, const QStyleOption *opcion, const QWidget *widget) const
{
    const auto *celda = qstyleoption_cast<const QStyleOptionViewItem *>(opcion);
    const bool deCelda = elemento == SE_ItemViewItemText || elemento == SE_ItemViewItemDecoration ||
                         elemento == SE_ItemViewItemCheckIndicator || elemento == SE_ItemViewItemFocusRect;
    if (!celda || !deCelda || (celda->features & kPropias))
        return QProxyStyle::subElementRect(elemento, opcion, widget);
    const Clave clave{int(elemento),           celda->rect,                  celda->text,
                      celda->font,             int(celda->features),         int(celda->displayAlignment),
                      int(celda->direction)};
    if (const auto k = rects_.constFind(clave); k != rects_.cend())
        return *k;
    if (rects_.size() >= kRecordadas)
        rects_.clear();
    return *rects_.insert(clave, QProxyStyle::subElementRect(elemento, opcion, widget));
}

} // namespace pelmora
