#include "precio.h"

#include "analisis/comparacion.h"
#include "archivos/archivo.h"
#include "archivos/csv.h"
#include "archivos/json.h"
#include "entrada/numeros.h"
#include "presupuestos/precio.h"
#include "registro/listado.h"
#include "salida.h"
#include "tabla.h"

namespace pelmora {

namespace {

QByteArray importeJson(std::optional<Centimos> c) { return c ? importePlano(*c).toLatin1() : QByteArray("null"); }

CeldaCsv celdaImporte(std::optional<Centimos> c)
{
    return c ? CeldaCsv::numero(double(*c) / 100.0, 2) : CeldaCsv();
}

QString importeTexto(std::optional<Centimos> c) { return c ? textoImporte(*c) : QString(); }

QString tasaTexto(int t) { return textoDecimal(t, 2, separadorDecimal()) + QStringLiteral(" %"); }

std::vector<ServicioPrecio> preciosDe(const Calculo &calc, int margen, int iva)
{
    std::vector<ServicioPrecio> r;
    const int plazas = plazasViajeros(calc.columnaS());
    for (const ServicioCalculo &s : serviciosConCoste(calc.columnaS()))
        if (const std::optional<ServicioPrecio> p = precioServicio(s, margen, iva, plazas))
            r.push_back(*p);
    return r;
}

QString informePrecios(const Calculo &calc, const QString &ruta, int margen, int iva)
{
    Tabla t;
    t.cabeceras = {QStringLiteral("Coste"), QStringLiteral("Precio sin IVA"), QStringLiteral("Margen"),
                   QStringLiteral("IVA"), QStringLiteral("Total"), QStringLiteral("Por km"),
                   QStringLiteral("Por hora"), QStringLiteral("Por plaza")};
    for (const ServicioPrecio &s : preciosDe(calc, margen, iva)) {
        const Precio &p = s.precio;
        t.filas.push_back({QStringLiteral("Servicio %1").arg(s.servicio.numero), textoImporte(p.coste),
                           textoImporte(p.sinIva), textoImporte(p.margen), textoImporte(p.iva),
                           textoImporte(p.total), importeTexto(s.porKm), importeTexto(s.porHora),
                           importeTexto(s.porPlaza)});
    }
    QString r = QStringLiteral("Archivo: ") + ruta + QStringLiteral("\nMargen: ") + tasaTexto(margen) +
                QStringLiteral("   IVA: ") + tasaTexto(iva) +
                QStringLiteral("   Plazas: %1\nPrecios en euros; por km, hora y plaza, el precio sin IVA.\n\n")
                    .arg(plazasViajeros(calc.columnaS()));
    return t.filas.empty() ? r + QStringLiteral("Ningún servicio tiene coste por kilómetros y horas.\n")
                           : r + componer(t);
}

QByteArray preciosCsv(const Calculo &calc, const QString &ruta, int margen, int iva, const FormatoCsv &f)
{
    QByteArray b;
    for (const ServicioPrecio &s : preciosDe(calc, margen, iva)) {
        const Precio &p = s.precio;
        b += lineaCsv({ruta, CeldaCsv::numero(s.servicio.numero, 0), celdaImporte(p.coste), celdaImporte(p.sinIva),
                       celdaImporte(p.margen), celdaImporte(p.iva), celdaImporte(p.total), celdaImporte(s.porKm),
                       celdaImporte(s.porHora), celdaImporte(s.porPlaza)},
                      f);
    }
    return b;
}

} // namespace

std::optional<std::pair<int, int>> leerMargenIva(const QString &texto)
{
    const QStringList partes = texto.split(QLatin1Char(':'));
    if (partes.size() > 2)
        return std::nullopt;
    // Two decimals at most: a rate typed with more is refused, not rounded.
    auto tasa = [](const QString &t) -> std::optional<qint64> {
        const std::optional<qint64> dos = leerDecimal(t, 2), seis = leerDecimal(t, 6);
        return dos && seis && *seis == *dos * 10000 ? dos : std::nullopt;
    };
    const std::optional<qint64> margen = tasa(partes[0]);
    const std::optional<qint64> iva = partes.size() == 2 ? tasa(partes[1]) : kIvaPorDefecto;
    if (!margen || !iva || *margen < 0 || *margen > kMargenMaximo || *iva < 0 || *iva > kIvaMaximo)
        return std::nullopt;
    return std::pair<int, int>(int(*margen), int(*iva));
}

QByteArray preciosJson(const Calculo &calc, const QString &ruta, int margen, int iva)
{
    QByteArray b = "{\"Archivo\": " + textoJson(ruta) + ", \"Margen\": " + textoDecimal(margen, 2).toLatin1() +
                   ", \"Iva\": " + textoDecimal(iva, 2).toLatin1() + ", \"Servicios\": [";
    bool primero = true;
    for (const ServicioPrecio &s : preciosDe(calc, margen, iva)) {
        const Precio &p = s.precio;
        b += (primero ? "" : ", ") + QByteArray("{\"Servicio\": ") + QByteArray::number(s.servicio.numero) +
             ", \"Coste\": " + importeJson(p.coste) + ", \"PrecioSinIva\": " + importeJson(p.sinIva) +
             ", \"ImporteMargen\": " + importeJson(p.margen) + ", \"ImporteIva\": " + importeJson(p.iva) +
             ", \"Total\": " + importeJson(p.total) + ", \"PorKm\": " + importeJson(s.porKm) +
             ", \"PorHora\": " + importeJson(s.porHora) + ", \"PorPlaza\": " + importeJson(s.porPlaza) + "}";
        primero = false;
    }
    return b + "]}\n";
}

int escribirPrecios(const Opciones &o)
{
    const auto [margen, iva] = *o.precio;
    const FormatoCsv f = formatoCsv();
    if (o.csv)
        escribir(stdout, inicioCsv() + lineaCsv({"Archivo", "Servicio", "Coste", "PrecioSinIva", "ImporteMargen",
                                                 "ImporteIva", "Total", "PorKm", "PorHora", "PorPlaza"},
                                                f));
    bool fallo = false, primero = true;
    for (const QString &ruta : calculosEn(o.archivos)) {
        Calculo calc;
        if (const ErrorArchivo err = AbrirArchivo(calc, ruta); err != ErrorArchivo::Ninguno) {
            fallo = true;
            escribir(stderr, ruta + QStringLiteral(": ") + mensajeErrorArchivo(err) + QLatin1Char('\n'));
            if (o.formato == Formato::Json)
                escribir(stdout, "{\"Archivo\": " + textoJson(ruta) + ", \"Error\": " +
                                     textoJson(mensajeErrorArchivo(err)) + "}\n");
            continue;
        }
        if (o.csv)
            escribir(stdout, preciosCsv(calc, ruta, margen, iva, f));
        else if (o.formato == Formato::Json)
            escribir(stdout, preciosJson(calc, ruta, margen, iva));
        else
            escribir(stdout, (primero ? QString() : QStringLiteral("\n")) + informePrecios(calc, ruta, margen, iva));
        primero = false;
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return kSalidaEscritura;
    return fallo ? kSalidaArchivo : kSalidaBien;
}

} // namespace pelmora

namespace pelmora {

int listarPresupuestos(const Opciones &o)
{
    Registro registro;
    const QString ruta = o.archivo.isEmpty() ? Registro::rutaUsuario() : o.archivo;
    if (const ErrorRegistro e = registro.abrir(ruta, true); e != ErrorRegistro::Ninguno) {
        escribir(stderr, QStringLiteral("pelmora-calc: ") + registro.mensaje(e) + QLatin1Char('\n'));
        return kSalidaArchivo;
    }
    const QDate hoy = QDate::currentDate();
    const std::vector<FilaRegistro> filas = registro.lista();
    if (o.csv) {
        std::vector<FilaCsv> tabla{cabeceraCsvRegistro()};
        for (const FilaRegistro &f : filas)
            tabla.push_back(filaCsvRegistro(f, hoy));
        escribir(stdout, documentoCsv(tabla, formatoCsv()));
    } else if (o.formato == Formato::Json) {
        for (const FilaRegistro &f : filas)
            escribir(stdout, filaJsonRegistro(f, hoy));
    } else {
        Tabla t;
        t.cabeceras = {QStringLiteral("Fecha"), QStringLiteral("Cliente"), QStringLiteral("Viaje"),
                       QStringLiteral("Estado"), QStringLiteral("Total")};
        t.columnasIzquierda = 4;
        for (const FilaRegistro &f : filas)
            t.filas.push_back({f.numero(), f.fecha.toString(QStringLiteral("dd/MM/yyyy")), f.cliente, f.viaje,
                               f.estadoMostrado(hoy), textoImporte(f.total)});
        escribir(stdout, filas.empty() ? QStringLiteral("No hay presupuestos en el registro.\n") : componer(t));
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return kSalidaEscritura;
    return kSalidaBien;
}

} // namespace pelmora
