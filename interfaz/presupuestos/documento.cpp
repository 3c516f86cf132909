// The printed quote: A4 pages drawn as text and lines (vector in a PDF),
// black on white whatever the desktop's colours. The client, the trip, the
// price, the conditions and the notes are laid out as lines first, then
// flow onto as many pages as they take, each under the firm's header.
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
#include <QTextLayout>
#include <QWidget>

namespace pelmora {

namespace {

constexpr int kMargen = 24;
constexpr int kAlturaPie = 28;
constexpr int kAltoCabecera = kMargen + 140;                    // where the rows start on every page
constexpr int kAltoRenglones = kAltoHoja - kAltoCabecera - kAlturaPie - 8; // what they may fill
constexpr int kSangria = kMargen + 8;                           // the left edge of a block's text
constexpr int kAnchoTexto = kAnchoHoja - kSangria - kMargen;
constexpr int kAltoTitulo = 20;  // a block's title
constexpr int kAltoImporte = 22; // a line of the price

QString fecha(const QDate &d) { return d.toString(QStringLiteral("dd/MM/yyyy")); }
QString euros(Centimos c) { return textoImporte(c) + QStringLiteral(" €"); }
QString tasa(int t) { return textoDecimal(t, 2, separadorDecimal()) + QStringLiteral(" %"); }

QFont fuente(double puntos, bool negrita = false)
{
    QFont f = QApplication::font();
    f.setPointSizeF(puntos);
    f.setBold(negrita);
    return f;
}

// One row of the quote below the header, as laid out before paging.
struct Renglon {
    enum Tipo { Titulo, Texto, Importe, Hueco } tipo;
    QString texto;
    int alto = 0;
    bool conSiguiente = false; // kept on the page of the row after it
    Centimos importe = 0;      // Importe: the amount on the right
    bool negrita = false;      // Importe: the total
    bool raya = false;         // Importe: a rule above it
};

// The lines a text takes at the width of a block, its own line breaks kept;
// a word wider than the block is broken where it must.
QStringList lineas(const QString &texto, const QFont &f)
{
    QTextOption opcion;
    opcion.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QStringList r;
    for (QString parrafo : texto.split(u'\n')) {
        if (parrafo.endsWith(u'\r'))
            parrafo.chop(1);
        QTextLayout l(parrafo, f);
        l.setTextOption(opcion);
        l.beginLayout();
        const qsizetype antes = r.size();
        for (QTextLine t = l.createLine(); t.isValid(); t = l.createLine()) {
            t.setLineWidth(kAnchoTexto);
            r << parrafo.mid(t.textStart(), t.textLength());
        }
        l.endLayout();
        if (r.size() == antes)
            r << QString();
    }
    return r;
}

// A titled block of text: its title, its lines and a gap under it.
void anadirBloque(std::vector<Renglon> &r, const QString &titulo, const QString &texto)
{
    if (texto.isEmpty())
        return;
    const QFont f = fuente(9);
    const int alto = QFontMetrics(f).lineSpacing();
    r.push_back({Renglon::Titulo, titulo, kAltoTitulo, true});
    for (const QString &l : lineas(texto, f))
        r.push_back({Renglon::Texto, l, alto});
    r.push_back({Renglon::Hueco, QString(), 14});
}

// Everything under the header, in order.
std::vector<Renglon> renglones(const Presupuesto &p)
{
    std::vector<Renglon> r;
    const QString nif = p.cliente.nif.isEmpty() ? QString() : QStringLiteral("NIF ") + p.cliente.nif;
    anadirBloque(r, QStringLiteral("Cliente"),
                 QStringList({p.cliente.nombre, nif, p.cliente.direccion, p.cliente.contacto}).join(u'\n').trimmed());
    QStringList viaje = {p.viaje.descripcion};
    if (!p.viaje.origen.isEmpty() || !p.viaje.destino.isEmpty())
        viaje << QStringLiteral("Origen: %1     Destino: %2").arg(p.viaje.origen, p.viaje.destino);
    if (!p.viaje.fechas.isEmpty())
        viaje << QStringLiteral("Fechas: ") + p.viaje.fechas;
    viaje << QStringLiteral("Pasajeros: %1").arg(p.viaje.pasajeros);
    anadirBloque(r, QStringLiteral("Viaje"), viaje.join(u'\n').trimmed());
    // The price's lines stay together, under their title.
    r.push_back({Renglon::Titulo, QStringLiteral("Precio"), kAltoTitulo, true});
    const QString servicio = QStringLiteral("Servicio de autocar: %1 km, %2 horas")
                                 .arg(textoDecimal(qRound64(p.km * 10), 1, separadorDecimal()),
                                      textoDecimal(qRound64(p.horas * 100), 2, separadorDecimal()));
    r.push_back({Renglon::Importe, servicio, kAltoImporte, true, p.precio.sinIva});
    r.push_back(
        {Renglon::Importe, QStringLiteral("Base imponible"), kAltoImporte, true, p.precio.sinIva, false, true});
    r.push_back({Renglon::Importe, QStringLiteral("IVA (%1)").arg(tasa(p.iva)), kAltoImporte, true, p.precio.iva});
    r.push_back({Renglon::Importe, QStringLiteral("TOTAL"), kAltoImporte, false, p.precio.total, true});
    r.push_back({Renglon::Hueco, QString(), 12});
    anadirBloque(r, QStringLiteral("Condiciones"), p.condiciones.trimmed());
    anadirBloque(r, QStringLiteral("Notas"), p.notas.trimmed());
    return r;
}

// The rows on pages of the height given: rows kept with the next one go
// together, a gap neither starts nor ends a page, and a block that carries
// on over a page starts it with its title marked "(continuación)".
std::vector<std::vector<Renglon>> paginar(const std::vector<Renglon> &renglones, int alto)
{
    std::vector<std::vector<Renglon>> paginas(1);
    int y = 0;
    QString titulo;
    for (size_t k = 0; k < renglones.size(); ++k) {
        const Renglon &r = renglones[k];
        if (r.tipo == Renglon::Hueco && (paginas.back().empty() || y + r.alto > alto))
            continue;
        if (r.tipo == Renglon::Titulo)
            titulo = r.texto;
        int junto = 0;
        size_t j = k;
        while (j < renglones.size() && renglones[j].conSiguiente)
            junto += renglones[j++].alto;
        if (j < renglones.size())
            junto += renglones[j].alto;
        if (y + junto > alto && !paginas.back().empty()) {
            paginas.emplace_back();
            y = 0;
            if (r.tipo == Renglon::Texto) {
                paginas.back().push_back({Renglon::Titulo, titulo + QStringLiteral(" (continuación)"), kAltoTitulo});
                y += kAltoTitulo;
            }
        }
        paginas.back().push_back(r);
        y += r.alto;
    }
    return paginas;
}

// One page: the firm's header, its rows and its number.
class HojaPresupuesto : public QWidget {
public:
    HojaPresupuesto(const Presupuesto &p, int pagina, int paginas, std::vector<Renglon> renglones)
        : p_(p), pagina_(pagina), paginas_(paginas), renglones_(std::move(renglones))
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
        cabecera(g);
        int y = kAltoCabecera;
        for (const Renglon &r : renglones_)
            y = renglon(g, y, r);
        g.setFont(fuente(8));
        g.drawText(QRect(kMargen, height() - kAlturaPie, width() - 2 * kMargen, kAlturaPie), Qt::AlignCenter,
                   QStringLiteral("Presupuesto %1 · %2 · Página %3 de %4")
                       .arg(p_.numero(), fecha(p_.fecha))
                       .arg(pagina_)
                       .arg(paginas_));
    }

private:
    void cabecera(QPainter &g)
    {
        int x = kMargen;
        if (const QSize logo = dibujarLogo(g, p_.empresa.logo, QRect(kMargen, kMargen, 160, 70)); !logo.isEmpty())
            x += logo.width() + 12;
        g.setFont(fuente(13, true));
        g.drawText(QPoint(x, kMargen + 16), p_.empresa.nombre);
        g.setFont(fuente(9));
        const QStringList datos = {p_.empresa.nif.isEmpty() ? QString() : QStringLiteral("NIF ") + p_.empresa.nif,
                                   p_.empresa.direccion,
                                   QStringList({p_.empresa.telefono, p_.empresa.correo}).join(QStringLiteral("   "))};
        g.drawText(QRect(x, kMargen + 22, width() - x - kMargen, 60), Qt::AlignLeft | Qt::AlignTop,
                   datos.join(u'\n').trimmed());
        g.setFont(fuente(15, true));
        const int y = kAltoCabecera - 40;
        g.drawText(QRect(kMargen, y, width() - 2 * kMargen, 26), Qt::AlignLeft,
                   QStringLiteral("PRESUPUESTO %1").arg(p_.numero()));
        g.setFont(fuente(9));
        g.drawText(QRect(kMargen, y, width() - 2 * kMargen, 26), Qt::AlignRight,
                   QStringLiteral("Fecha: %1     Válido hasta: %2").arg(fecha(p_.fecha), fecha(p_.caduca())));
        g.drawLine(kMargen, y + 30, width() - kMargen, y + 30);
    }

    int renglon(QPainter &g, int y, const Renglon &r)
    {
        switch (r.tipo) {
        case Renglon::Titulo:
            g.setFont(fuente(10, true));
            g.drawText(QPoint(kMargen, y + 14), r.texto);
            break;
        case Renglon::Texto:
            g.setFont(fuente(9));
            g.drawText(QPoint(kSangria, y + QFontMetrics(g.font()).ascent()), r.texto);
            break;
        case Renglon::Importe: {
            g.setFont(fuente(10, r.negrita));
            if (r.raya)
                g.drawLine(width() / 2, y, width() - kMargen, y);
            const QRect c(kSangria, y + 2, kAnchoTexto, r.alto - 2);
            g.drawText(c, Qt::AlignLeft | Qt::AlignVCenter, r.texto);
            g.drawText(c, Qt::AlignRight | Qt::AlignVCenter, euros(r.importe));
            break;
        }
        case Renglon::Hueco: break;
        }
        return y + r.alto;
    }

    Presupuesto p_;
    int pagina_, paginas_;
    std::vector<Renglon> renglones_;
};

} // namespace

bool logoValido(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return false;
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return !QImage::fromData(bytes, "PNG").isNull();
    return QSvgRenderer(bytes).isValid();
}

QSize dibujarLogo(QPainter &g, const QByteArray &logo, const QRect &caja)
{
    if (logo.isEmpty())
        return {};
    if (QSvgRenderer svg(logo); svg.isValid()) {
        const QSizeF s = svg.defaultSize().scaled(caja.size(), Qt::KeepAspectRatio);
        svg.render(&g, QRectF(caja.topLeft(), s));
        return s.toSize();
    }
    QImage i = QImage::fromData(logo);
    if (i.isNull())
        return {};
    i = i.scaled(caja.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    g.drawImage(caja.topLeft(), i);
    return i.size();
}

QString nombreDocumentoPresupuesto(const Presupuesto &p) { return QStringLiteral("Presupuesto ") + p.numero(); }

QList<QWidget *> paginasPresupuesto(const Presupuesto &p)
{
    const std::vector<std::vector<Renglon>> paginas = paginar(renglones(p), kAltoRenglones);
    QList<QWidget *> hojas;
    for (size_t k = 0; k < paginas.size(); ++k)
        hojas << new HojaPresupuesto(p, int(k) + 1, int(paginas.size()), paginas[k]);
    return hojas;
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
