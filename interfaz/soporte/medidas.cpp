#include "interfaz/soporte/medidas.h"

#include "entrada/numeros.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QtMath>
#include <bit>
#include <optional>
#include <vector>

namespace pelmora {

namespace {

constexpr qsizetype kRecordadas = 8192;
// Texts kept laid out (with their glyphs, a kilobyte or so each): enough
// for what a table or a chart shows in a few states.
constexpr qsizetype kDispuestos = 2048;
constexpr auto kPropias =
    QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::WrapText;

// A figure as written: the value as it is (-0 apart from 0), its places
// and the separators.
struct ClaveCifra {
    quint64 bits;
    int decimales;
    QChar decimal;
    QString miles;
    bool operator==(const ClaveCifra &) const = default;
    friend size_t qHash(const ClaveCifra &c, size_t semilla)
    {
        return qHashMulti(semilla, c.bits, c.decimales, c.decimal, c.miles);
    }
};

// A cell whose text the base style draws on one line and nothing over it.
bool textoSencillo(const QStyleOptionViewItem &celda)
{
    return !(celda.features & kPropias) && !(celda.state & (QStyle::State_HasFocus | QStyle::State_Editing)) &&
           !celda.text.isEmpty() && !celda.text.contains(QChar::LineSeparator);
}

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

// A cell's text laid out, and how far below the top of its box it goes.
struct EstiloMedido::TextoCelda {
    std::optional<QTextLayout> disposicion;
    int bajada = 0;
};

EstiloMedido::~EstiloMedido() = default;

const EstiloMedido::TextoCelda *EstiloMedido::textoCelda(const QStyleOptionViewItem &celda, const QRect &caja) const
{
    const ClaveTexto clave{celda.text,           celda.font,           caja.size(), int(celda.displayAlignment),
                           int(celda.direction), int(celda.textElideMode)};
    if (const auto k = textos_.constFind(clave); k != textos_.cend())
        return k->get();
    if (textos_.size() >= kDispuestos)
        textos_.clear();
    QTextOption opcion;
    opcion.setWrapMode(QTextOption::ManualWrap);
    opcion.setTextDirection(celda.direction);
    opcion.setAlignment(QStyle::visualAlignment(celda.direction, celda.displayAlignment));
    // Laid out as the base style does: on lines of the box's width, one under the other.
    auto disponer = [&](std::optional<QTextLayout> &l, const QString &texto) {
        l.emplace(texto, celda.font);
        l->setCacheEnabled(true);
        l->setTextOption(opcion);
        l->beginLayout();
        double alto = 0;
        for (QTextLine linea = l->createLine(); linea.isValid(); linea = l->createLine()) {
            linea.setLineWidth(caja.width());
            linea.setPosition(QPointF(0, alto));
            alto += linea.height();
        }
        l->endLayout();
    };
    auto t = std::make_shared<TextoCelda>();
    disponer(t->disposicion, celda.text);
    const QRect dispuesto = QStyle::alignedRect(Qt::LayoutDirectionAuto, celda.displayAlignment,
                                                t->disposicion->boundingRect().size().toSize(), caja);
    t->bajada = dispuesto.top() - caja.top();
    const QTextLine linea = t->disposicion->lineCount() == 1 ? t->disposicion->lineAt(0) : QTextLine();
    if (!linea.isValid() || linea.height() + dispuesto.top() <= caja.top()) {
        t.reset(); // more than a line, or none in view: the base style draws it
    } else if (linea.naturalTextWidth() > caja.width()) {
        const QString recortado = QFontMetrics(celda.font).elidedText(celda.text, celda.textElideMode, caja.width());
        disponer(t->disposicion, recortado);
    }
    return textos_.insert(clave, std::move(t))->get();
}

void EstiloMedido::drawControl(ControlElement elemento, const QStyleOption *opcion, QPainter *p,
                               const QWidget *widget) const
{
    const auto *celda = qstyleoption_cast<const QStyleOptionViewItem *>(opcion);
    if (elemento != CE_ItemViewItem || !celda || !textoSencillo(*celda))
        return QProxyStyle::drawControl(elemento, opcion, p, widget);
    const int margen = proxy()->pixelMetric(PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect caja = proxy()->subElementRect(SE_ItemViewItemText, celda, widget).adjusted(margen, 0, -margen, 0);
    const TextoCelda *texto = textoCelda(*celda, caja);
    if (!texto)
        return QProxyStyle::drawControl(elemento, opcion, p, widget);
    // The cell without its text, then the text with the pen and within the
    // bounds the base style gives it.
    QStyleOptionViewItem sinTexto(*celda);
    sinTexto.text.clear();
    QProxyStyle::drawControl(elemento, &sinTexto, p, widget);
    QPalette::ColorGroup grupo = celda->state & State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (grupo == QPalette::Normal && !(celda->state & State_Active))
        grupo = QPalette::Inactive;
    p->save();
    p->setClipRect(celda->rect);
    p->setPen(celda->palette.color(grupo, celda->state & State_Selected ? QPalette::HighlightedText : QPalette::Text));
    texto->disposicion->draw(p, QPointF(caja.x(), caja.y() + texto->bajada));
    p->restore();
}

TextoSeleccionable::TextoSeleccionable(QWidget *parent) : QLineEdit(parent)
{
    setReadOnly(true);
    setFrame(false);
    // Selected with the mouse, copied with the keys or the menu; not a stop
    // of the tab key, as a label.
    setFocusPolicy(Qt::ClickFocus);
    colorear();
}

void TextoSeleccionable::colorear()
{
    coloreando_ = true;
    QPalette p = palette();
    for (int g = 0; g < QPalette::NColorGroups; ++g) {
        const auto grupo = QPalette::ColorGroup(g);
        p.setBrush(grupo, QPalette::Base, Qt::NoBrush); // nothing to fill
        p.setBrush(grupo, QPalette::Text, p.brush(grupo, QPalette::WindowText));
    }
    setPalette(p);
    coloreando_ = false;
}

void TextoSeleccionable::changeEvent(QEvent *e)
{
    // The window's colours changed (another desktop theme): its text's follow.
    if (e->type() == QEvent::PaletteChange && !coloreando_)
        colorear();
    QLineEdit::changeEvent(e);
}

// A text laid out as the painter lays it out to draw it: its lines one
// under the other, each starting on a whole pixel, and how far down and
// across the lines reach.
struct TextosDispuestos::Dispuesto {
    std::optional<QTextLayout> disposicion;
    std::vector<double> bajos;   // the height down to the end of each line
    std::vector<double> anchos;  // the widest of the lines so far
};

TextosDispuestos::TextosDispuestos() = default;
TextosDispuestos::~TextosDispuestos() = default;

const TextosDispuestos::Dispuesto &TextosDispuestos::dispuesto(const QString &texto, const QFont &letra,
                                                                Qt::LayoutDirection direccion)
{
    const Clave clave{texto, letra, int(direccion)};
    if (const auto k = dispuestos_.constFind(clave); k != dispuestos_.cend())
        return **k;
    if (dispuestos_.size() >= kDispuestos)
        dispuestos_.clear();
    QString lineas = texto;
    for (QChar &c : lineas)
        c = c == u'\n' ? QChar(QChar::LineSeparator) : c == u'\r' || c == u'\t' ? QChar(u' ') : c;
    auto d = std::make_shared<Dispuesto>();
    QTextLayout &l = d->disposicion.emplace(lineas, letra);
    l.setCacheEnabled(true);
    QTextOption opcion;
    opcion.setTextDirection(direccion);
    opcion.setAlignment(Qt::AlignLeft);
    l.setTextOption(opcion);
    const double interlineado = QFontMetricsF(letra).leading();
    double alto = -interlineado, ancho = 0;
    l.beginLayout();
    for (QTextLine linea = l.createLine(); linea.isValid(); linea = l.createLine()) {
        linea.setLineWidth(0x01000000);
        alto = qCeil(alto + interlineado);
        linea.setPosition(QPointF(0, alto));
        alto += linea.ascent() + linea.descent();
        ancho = std::max(ancho, linea.naturalTextWidth());
        d->bajos.push_back(alto);
        d->anchos.push_back(ancho);
    }
    l.endLayout();
    return **dispuestos_.insert(clave, std::move(d));
}

void TextosDispuestos::dibujar(QPainter &p, const QRectF &caja, int banderas, const QString &texto)
{
    const QFont &letra = p.font();
    const bool propias = (banderas & ~int(Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask)) ||
                         p.layoutDirection() == Qt::RightToLeft || texto.contains(QChar(0x9c)) || letra.underline() ||
                         letra.overline() || letra.strikeOut();
    if (propias)
        return p.drawText(caja, banderas, texto);
    if (texto.isEmpty() || p.pen().style() == Qt::NoPen)
        return;
    const Dispuesto &d = dispuesto(texto, letra, p.layoutDirection());
    // The lines the painter lays out: up to the first that reaches the bottom of the box.
    size_t lineas = 0;
    while (lineas < d.bajos.size() && (lineas == 0 || d.bajos[lineas - 1] < caja.height()))
        ++lineas;
    const double alto = d.bajos[lineas - 1], ancho = d.anchos[lineas - 1];
    const QTransform &t = p.transform();
    const bool escala = t.type() <= QTransform::TxScale;
    double y = 0, x = 0;
    if (banderas & Qt::AlignBottom) {
        y = caja.height() - alto;
    } else if (banderas & Qt::AlignVCenter) {
        y = (caja.height() - alto) / 2;
        if (false && escala && t.m22() != 0)
            y = -qRound(-y * t.m22()) / t.m22();
    }
    if (banderas & Qt::AlignRight) {
        x = caja.width() - ancho;
    } else if (banderas & Qt::AlignHCenter) {
        x = (caja.width() - ancho) / 2;
        if (false && escala && t.m11() != 0)
            x = qRound(x * t.m11()) / t.m11();
    }
    const bool recortar = !caja.contains(QRectF(caja.x() + x, caja.y() + y, ancho, alto));
    if (recortar) {
        p.save();
        p.setClipRect(caja, Qt::IntersectClip);
    }
    for (size_t k = 0; k < lineas; ++k) {
        const QTextLine linea = d.disposicion->lineAt(int(k));
        const double avance = linea.horizontalAdvance();
        const double dx = banderas & Qt::AlignRight     ? caja.width() - avance
                          : banderas & Qt::AlignHCenter ? (caja.width() - avance) / 2
                                                        : 0;
        linea.draw(&p, QPointF(caja.x() + dx, caja.y() + y));
    }
    if (recortar)
        p.restore();
}

QString cifraEscrita(double x, int decimales)
{
    thread_local QHash<ClaveCifra, QString> escritas;
    const ClaveCifra clave{std::bit_cast<quint64>(x), decimales, separadorDecimal(), separadorMiles()};
    if (const auto k = escritas.constFind(clave); k != escritas.cend())
        return *k;
    if (escritas.size() >= kRecordadas)
        escritas.clear();
    return *escritas.insert(clave, FormatearNumero(Valor(x), decimales, true));
}

} // namespace pelmora
