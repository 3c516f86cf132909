// The printed quote: one or two A4 pages drawn as text and lines (vector in
// a PDF), black on white whatever the desktop's colours.
#include "interfaz/presupuestos/dialogospresupuesto.h"
#include "interfaz/presupuestos/presupuestos.h"

#include "entrada/numeros.h"
#include "interfaz/dialogos/mensaje.h"
#include "interfaz/impresion/hojaimpresa.h"
#include "interfaz/impresion/impresion.h"

#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QSvgRenderer>
#include <QWidget>

namespace pelmora {

namespace {

constexpr int kMargen = 24;
constexpr int kAlturaPie = 28;

QString fecha(const QDate &d) { return d.toString(QStringLiteral("dd/MM/yyyy")); }
QString euros(Centimos c) { return textoImporte(c) + QStringLiteral(" €"); }
QString tasa(int t) { return textoDecimal(t, 2, separadorDecimal()) + QStringLiteral(" %"); }

// The blocks of a quote, each a title and lines of text.
struct Bloque {
    QString titulo;
    QString texto;
};

// One page: which parts of the quote it draws.
class HojaPresupuesto : public QWidget {
public:
    HojaPresupuesto(const Presupuesto &p, int pagina, int paginas, bool conPrecio, std::vector<Bloque> bloques)
        : p_(p), pagina_(pagina), paginas_(paginas), conPrecio_(conPrecio), bloques_(std::move(bloques))
    {
        setObjectName(QStringLiteral("hojaPresupuesto%1").arg(pagina));
        resize(kAnchoHoja, kAltoHoja);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter g(this);
        g.fillRect(rect(), Qt::white);
        g.setPen(Qt::black);
        int y = cabecera(g);
        if (conPrecio_)
            y = precio(g, y);
        for (const Bloque &b : bloques_)
            y = bloque(g, y, b);
        QFont f = font();
        f.setPointSizeF(8);
        g.setFont(f);
        g.drawText(QRect(kMargen, height() - kAlturaPie, width() - 2 * kMargen, kAlturaPie), Qt::AlignCenter,
                   QStringLiteral("Presupuesto %1 · %2 · Página %3 de %4")
                       .arg(p_.numero(), fecha(p_.fecha))
                       .arg(pagina_)
                       .arg(paginas_));
    }

private:
    int cabecera(QPainter &g)
    {
        int x = kMargen;
        const QRect caja(kMargen, kMargen, 160, 70);
        if (!p_.empresa.logo.isEmpty()) {
            QSvgRenderer svg(p_.empresa.logo);
            if (svg.isValid()) {
                QSizeF s = svg.defaultSize().scaled(caja.size(), Qt::KeepAspectRatio);
                svg.render(&g, QRectF(caja.topLeft(), s));
                x += int(s.width()) + 12;
            } else if (QImage i = QImage::fromData(p_.empresa.logo); !i.isNull()) {
                i = i.scaled(caja.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
                g.drawImage(caja.topLeft(), i);
                x += i.width() + 12;
            }
        }
        QFont f = font();
        f.setPointSizeF(13);
        f.setBold(true);
        g.setFont(f);
        g.drawText(QPoint(x, kMargen + 16), p_.empresa.nombre);
        f.setPointSizeF(9);
        f.setBold(false);
        g.setFont(f);
        const QStringList datos = {p_.empresa.nif.isEmpty() ? QString() : QStringLiteral("NIF ") + p_.empresa.nif,
                                   p_.empresa.direccion,
                                   QStringList({p_.empresa.telefono, p_.empresa.correo}).join(QStringLiteral("   "))};
        g.drawText(QRect(x, kMargen + 22, width() - x - kMargen, 60), Qt::AlignLeft | Qt::AlignTop,
                   datos.join(u'\n').trimmed());
        f.setPointSizeF(15);
        f.setBold(true);
        g.setFont(f);
        const int y = kMargen + 100;
        g.drawText(QRect(kMargen, y, width() - 2 * kMargen, 26), Qt::AlignLeft,
                   QStringLiteral("PRESUPUESTO %1").arg(p_.numero()));
        f.setPointSizeF(9);
        f.setBold(false);
        g.setFont(f);
        g.drawText(QRect(kMargen, y, width() - 2 * kMargen, 26), Qt::AlignRight,
                   QStringLiteral("Fecha: %1     Válido hasta: %2").arg(fecha(p_.fecha), fecha(p_.caduca())));
        g.drawLine(kMargen, y + 30, width() - kMargen, y + 30);
        return y + 40;
    }

    int precio(QPainter &g, int y)
    {
        y = bloque(g, y, {QStringLiteral("Cliente"),
                          QStringList({p_.cliente.nombre,
                                       p_.cliente.nif.isEmpty() ? QString() : QStringLiteral("NIF ") + p_.cliente.nif,
                                       p_.cliente.direccion, p_.cliente.contacto})
                              .join(u'\n').trimmed()});
        QStringList viaje = {p_.viaje.descripcion};
        if (!p_.viaje.origen.isEmpty() || !p_.viaje.destino.isEmpty())
            viaje << QStringLiteral("Origen: %1     Destino: %2").arg(p_.viaje.origen, p_.viaje.destino);
        if (!p_.viaje.fechas.isEmpty())
            viaje << QStringLiteral("Fechas: ") + p_.viaje.fechas;
        viaje << QStringLiteral("Pasajeros: %1").arg(p_.viaje.pasajeros);
        y = bloque(g, y, {QStringLiteral("Viaje"), viaje.join(u'\n').trimmed()});
        const std::vector<std::pair<QString, Centimos>> lineas = {
            {QStringLiteral("Servicio de autocar: %1 km, %2 horas")
                 .arg(textoDecimal(qRound64(p_.km * 10), 1, separadorDecimal()),
                      textoDecimal(qRound64(p_.horas * 100), 2, separadorDecimal())),
             p_.precio.sinIva},
            {QStringLiteral("Base imponible"), p_.precio.sinIva},
            {QStringLiteral("IVA (%1)").arg(tasa(p_.iva)), p_.precio.iva},
            {QStringLiteral("TOTAL"), p_.precio.total},
        };
        y = titulo(g, y, QStringLiteral("Precio"));
        QFont f = font();
        f.setPointSizeF(10);
        for (size_t k = 0; k < lineas.size(); ++k) {
            f.setBold(k + 1 == lineas.size());
            g.setFont(f);
            if (k == 1)
                g.drawLine(width() / 2, y, width() - kMargen, y);
            const QRect r(kMargen + 8, y + 2, width() - 2 * kMargen - 8, 20);
            g.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, lineas[k].first);
            g.drawText(r, Qt::AlignRight | Qt::AlignVCenter, euros(lineas[k].second));
            y += 22;
        }
        return y + 12;
    }

    int titulo(QPainter &g, int y, const QString &t)
    {
        QFont f = font();
        f.setPointSizeF(10);
        f.setBold(true);
        g.setFont(f);
        g.drawText(QPoint(kMargen, y + 14), t);
        return y + 20;
    }

    int bloque(QPainter &g, int y, const Bloque &b)
    {
        if (b.texto.isEmpty())
            return y;
        y = titulo(g, y, b.titulo);
        QFont f = font();
        f.setPointSizeF(9);
        g.setFont(f);
        const QRect r(kMargen + 8, y, width() - 2 * kMargen - 8, height());
        const QRect usado = g.boundingRect(r, Qt::AlignLeft | Qt::TextWordWrap, b.texto);
        g.drawText(r, Qt::AlignLeft | Qt::TextWordWrap, b.texto);
        return y + usado.height() + 14;
    }

    Presupuesto p_;
    int pagina_, paginas_;
    bool conPrecio_;
    std::vector<Bloque> bloques_;
};

// The height the conditions and notes take at the page's width.
int altoBloques(const std::vector<Bloque> &bloques)
{
    QFont f = QApplication::font();
    f.setPointSizeF(9);
    const QFontMetrics m(f);
    int alto = 0;
    for (const Bloque &b : bloques)
        if (!b.texto.isEmpty())
            alto += 34 + m.boundingRect(QRect(0, 0, kAnchoHoja - 2 * kMargen - 8, 100000),
                                        Qt::AlignLeft | Qt::TextWordWrap, b.texto).height();
    return alto;
}

} // namespace

bool logoValido(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return false;
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return !QImage::fromData(bytes, "PNG").isNull();
    return QSvgRenderer(bytes).isValid();
}

QString nombreDocumentoPresupuesto(const Presupuesto &p) { return QStringLiteral("Presupuesto ") + p.numero(); }

QList<QWidget *> paginasPresupuesto(const Presupuesto &p)
{
    const std::vector<Bloque> bloques = {{QStringLiteral("Condiciones"), p.condiciones.trimmed()},
                                         {QStringLiteral("Notas"), p.notas.trimmed()}};
    // The first page holds the header, client, trip and price in about 560
    // pixels; what does not fit under them goes on a second page.
    const bool dos = altoBloques(bloques) > kAltoHoja - 600 - kAlturaPie;
    if (!dos)
        return {new HojaPresupuesto(p, 1, 1, true, bloques)};
    return {new HojaPresupuesto(p, 1, 2, true, {}), new HojaPresupuesto(p, 2, 2, false, bloques)};
}

bool emitirPresupuesto(QWidget *padre, Registro &r, const Presupuesto &p, SalidaPresupuesto salida)
{
    const QList<QWidget *> paginas = paginasPresupuesto(p);
    const QString documento = nombreDocumentoPresupuesto(p);
    bool hecho = false;
    switch (salida) {
    case SalidaPresupuesto::Imprimir: hecho = imprimirFormularios(paginas, documento); break;
    case SalidaPresupuesto::Pdf: hecho = exportarAPdf(padre, paginas, documento, QString()); break;
    case SalidaPresupuesto::Vista: hecho = mostrarVistaPreliminar(padre, paginas, documento); break;
    }
    qDeleteAll(paginas);
    if (hecho && !p.emitido) {
        if (const ErrorRegistro e = r.marcarEmitido(p.id); e != ErrorRegistro::Ninguno)
            MostrarMensaje(r.mensaje(e), QStringLiteral("Error"), padre);
    }
    return hecho;
}

QString rutaRegistro() { return interceptorRutaRegistro ? interceptorRutaRegistro() : Registro::rutaUsuario(); }

bool abrirRegistroDeVentana(QWidget *padre, Registro &r)
{
    const QString ruta = rutaRegistro();
    ErrorRegistro e = r.abrir(ruta);
    if (e == ErrorRegistro::Danado || e == ErrorRegistro::Ajeno) {
        const QString texto = r.mensaje(e) +
                              QStringLiteral("\n\n¿Guardarlo aparte con otro nombre y empezar un registro nuevo?");
        const bool si = interceptorApartarRegistro
                            ? interceptorApartarRegistro(texto)
                            : QMessageBox::question(padre, QStringLiteral("Registro de presupuestos"), texto,
                                                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
                                  QMessageBox::Yes;
        if (!si)
            return false;
        const QString apartado = Registro::apartar(ruta);
        if (apartado.isEmpty()) {
            MostrarMensaje(QStringLiteral("No se pudo cambiar el nombre de %1.").arg(ruta), QStringLiteral("Error"),
                           padre);
            return false;
        }
        MostrarMensaje(QStringLiteral("El registro anterior se ha guardado como %1.").arg(apartado),
                       QStringLiteral("Registro de presupuestos"), padre);
        e = r.abrir(ruta);
    }
    if (e != ErrorRegistro::Ninguno) {
        MostrarMensaje(r.mensaje(e), QStringLiteral("Error"), padre);
        return false;
    }
    return true;
}

} // namespace pelmora
