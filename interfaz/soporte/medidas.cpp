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
    // A cell with a plain text and nothing else of its own (no icon, check
    // box, font or size) measures as its text does in the view's font.
    const QVariant texto = index.data(Qt::DisplayRole);
    const bool sencilla = texto.typeId() == QMetaType::QString && !(option.features & kPropias) &&
                          !index.data(Qt::DecorationRole).isValid() && !index.data(Qt::CheckStateRole).isValid() &&
                          !index.data(Qt::FontRole).isValid() && !index.data(Qt::SizeHintRole).isValid();
    if (!sencilla)
        return QStyledItemDelegate::sizeHint(option, index);
    const QStyle *estilo = option.widget ? option.widget->style() : QApplication::style();
    if (estilo != estilo_ || option.font != letra_ || medidas_.size() >= kRecordadas) {
        medidas_.clear();
        estilo_ = estilo;
        letra_ = option.font;
    }
    const Clave clave{texto.toString(), int(option.features)};
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
