#include "interfaz/formularios/tarta.h"

#include "entrada/numeros.h"
#include "interfaz/soporte/twips.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <cmath>

namespace pelmora {

const std::array<PorcionTarta, kSectoresTarta> kPorcionesTarta = {{
    {21, "Amortización del autocar", QColor(0, 0, 255)},
    {22, "Financiación del autocar", QColor(255, 128, 0)},
    {23, "Personal de a bordo", QColor(0, 128, 128)},
    {24, "Dietas del personal de a bordo", QColor(192, 192, 0)},
    {25, "Seguros del autocar", QColor(128, 128, 128)},
    {26, "Costes fiscales", QColor(128, 128, 255)},
    {27, "Combustible", QColor(192, 0, 192)},
    {28, "Neumáticos", QColor(0, 192, 192)},
    {29, "Reparaciones y conservación", QColor(128, 0, 0)},
    {30, "Peajes", QColor(0, 192, 0)},
    {37, "Costes indirectos", QColor(0, 0, 0)},
}};

namespace {

constexpr double kPi = 3.1415926536;
constexpr double kVuelta = 2 * kPi;
constexpr double kCasiCero = 1e-11;
constexpr double kBorde = 38;      // twips the picture's border takes
constexpr double kMargen = 300;    // twips between the pie and the picture's edge
constexpr double kSeparacion = 50; // twips between the pie and a label
const QColor kFondo(224, 224, 224);

} // namespace

GeometriaTarta calcularTarta(double ancho, double alto, const std::array<double, kSectoresTarta> &cuotas,
                             const std::array<QSizeF, kSectoresTarta> &etiquetas)
{
    GeometriaTarta g;
    const double w = ancho - kBorde;
    const double h = alto - kBorde;
    const double diametro = std::trunc(w <= h ? w - 2 * kMargen : h - 2 * kMargen);
    g.radio = diametro / 2;
    g.centroX = w / 2;
    g.centroY = h / 2;

    double inicio = kCasiCero;
    for (int k = 0; k < kSectoresTarta; ++k) {
        double fin = inicio + cuotas[k] * kVuelta / 100;
        if (fin > kVuelta)
            fin = kVuelta;
        SectorTarta &s = g.sectores[k];
        s.inicio = inicio;
        s.fin = fin;
        s.dibujado = fin > inicio + kCasiCero;

        const double medio = (inicio + fin) / 2;
        const double c = std::cos(medio);
        const double sn = std::sin(medio);
        const double d = g.radio + kSeparacion;
        const double ancho_ = etiquetas[k].width();
        const double alto_ = etiquetas[k].height();
        double x, y;
        if (medio >= 0 && medio < kPi / 2) {
            x = g.centroX + d * c;
            y = g.centroY - alto_ - d * sn;
        } else if (medio >= kPi / 2 && medio < kPi) {
            x = g.centroX - ancho_ + d * c;
            y = g.centroY - alto_ - d * sn;
        } else if (medio >= kPi && medio < 3 * kPi / 2) {
            x = g.centroX - ancho_ + d * c;
            y = g.centroY - d * sn;
        } else {
            x = g.centroX + d * c;
            y = g.centroY - d * sn;
        }
        s.izquierda = static_cast<float>(x);
        s.arriba = static_cast<float>(y);
        inicio = fin;
    }
    return g;
}

Tarta::Tarta(const QString &letra, QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Picture%1R").arg(letra));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, kFondo);
    setPalette(p);
    setFocusPolicy(Qt::StrongFocus);
    for (int k = 0; k < kSectoresTarta; ++k) {
        auto *l = new QLabel(this);
        l->setObjectName(QStringLiteral("lblPic%1(%2)").arg(letra).arg(k));
        l->setProperty("Tag", QStringLiteral("1"));
        // A typical caption, so that the first placement is near its final one.
        l->setText(QStringLiteral("00,0%"));
        l->adjustSize();
        l->hide();
    }
    for (int k = 0; k < kSectoresTarta; ++k)
        etiquetas_[k] = findChild<QLabel *>(QStringLiteral("lblPic%1(%2)").arg(letra).arg(k));
}

GeometriaTarta Tarta::colocar(const std::array<double, kSectoresTarta> &cuotas)
{
    std::array<QSizeF, kSectoresTarta> tam{};
    for (int k = 0; k < kSectoresTarta; ++k)
        tam[k] = QSizeF(aTwips(etiquetas_[k]->width()), aTwips(etiquetas_[k]->height()));
    const int borde = frameWidth();
    const GeometriaTarta g = calcularTarta(aTwips(width()), aTwips(height()), cuotas, tam);
    for (int k = 0; k < kSectoresTarta; ++k) {
        const QPoint pos(borde + tw(g.sectores[k].izquierda), borde + tw(g.sectores[k].arriba));
        if (etiquetas_[k]->pos() != pos)
            etiquetas_[k]->move(pos);
    }
    return g;
}

void Tarta::dibujar(const std::array<Valor, kSectoresTarta> &cuotas, const std::array<QColor, kSectoresTarta> &colores)
{
    std::array<double, kSectoresTarta> x{};
    for (int k = 0; k < kSectoresTarta; ++k)
        x[k] = cuotas[k].comoNumero().value_or(0.0);
    const GeometriaTarta g = colocar(x);

    bool cambio = !hayDibujo_ || colores != colores_ || g.radio != geometria_.radio;
    for (int k = 0; k < kSectoresTarta && !cambio; ++k) {
        const SectorTarta &a = g.sectores[k];
        const SectorTarta &b = geometria_.sectores[k];
        cambio = a.inicio != b.inicio || a.fin != b.fin || a.dibujado != b.dibujado;
    }
    geometria_ = g;
    colores_ = colores;
    hayDibujo_ = true;

    bool otroTamano = false;
    for (int k = 0; k < kSectoresTarta; ++k) {
        QLabel *l = etiquetas_[k];
        const QString texto = FormatearNumero(cuotas[k], 1, true) + QStringLiteral("%");
        if (l->text() != texto) {
            const QSize antes = l->size();
            l->setText(texto);
            l->adjustSize();
            otroTamano = otroTamano || l->size() != antes;
        }
        if (l->palette().color(QPalette::WindowText) != colores[k]) {
            QPalette p = l->palette();
            p.setColor(QPalette::WindowText, colores[k]);
            l->setPalette(p);
        }
        l->show();
    }
    // A caption of another size goes where its new size puts it, as the
    // next drawing would place it.
    if (otroTamano)
        geometria_ = colocar(x);
    describir();
    if (cambio)
        update();
}

void Tarta::describir()
{
    QStringList partes;
    for (int k = 0; k < kSectoresTarta; ++k)
        partes << QString::fromUtf8(kPorcionesTarta[k].leyenda) + QStringLiteral(": ") + etiquetas_[k]->text();
    const QString descripcion = partes.join(QStringLiteral("; "));
    if (accessibleDescription() != descripcion)
        setAccessibleDescription(descripcion);
}

void Tarta::paintEvent(QPaintEvent *e)
{
    QFrame::paintEvent(e);
    if (!hayDibujo_)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int borde = frameWidth();
    p.setClipRect(contentsRect());
    p.translate(borde, borde);
    const double escala = puntosPorPulgada() / 1440.0;
    p.scale(escala, escala);
    QPen pluma(Qt::black);
    pluma.setCosmetic(true);
    pluma.setWidth(1);
    p.setPen(pluma);
    const GeometriaTarta &g = geometria_;
    const QRectF caja(g.centroX - g.radio, g.centroY - g.radio, 2 * g.radio, 2 * g.radio);
    for (int k = 0; k < kSectoresTarta; ++k) {
        const SectorTarta &s = g.sectores[k];
        if (!s.dibujado)
            continue;
        QPainterPath sector;
        sector.moveTo(g.centroX, g.centroY);
        sector.arcTo(caja, s.inicio * 180 / kPi, (s.fin - s.inicio) * 180 / kPi);
        sector.closeSubpath();
        p.setBrush(colores_[k]);
        p.drawPath(sector);
    }
}

} // namespace pelmora
