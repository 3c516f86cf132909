#include "interfaz/soporte/colores.h"

#include <QStyle>
#include <QStyleFactory>
#include <QWidget>
#include <memory>

namespace pelmora {

const QPalette &paletaPrograma()
{
    static const QPalette paleta = [] {
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        QPalette p = fusion ? fusion->standardPalette() : QPalette(QColor(239, 239, 239));
        // Every role set explicitly, so that none is taken from the desktop.
        for (int g = 0; g < QPalette::NColorGroups; ++g)
            for (int r = 0; r < QPalette::NColorRoles; ++r)
                if (r != QPalette::NoRole) {
                    const auto grupo = static_cast<QPalette::ColorGroup>(g);
                    const auto rol = static_cast<QPalette::ColorRole>(r);
                    p.setBrush(grupo, rol, p.brush(grupo, rol));
                }
        return p;
    }();
    return paleta;
}

void fijarPaletaPrograma(QWidget *w) { w->setPalette(paletaPrograma()); }

QColor rojoAviso(const QColor &fondo) { return fondo.lightness() < 128 ? QColor(255, 128, 128) : QColor(192, 0, 0); }

QString estiloAviso(const QWidget *w)
{
    return QStringLiteral("color: ") + rojoAviso(w->palette().color(QPalette::Window)).name();
}

} // namespace pelmora
