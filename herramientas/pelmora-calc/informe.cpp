#include "informe.h"

#include "calculo/campos.h"
#include "entrada/fechas.h"
#include "entrada/numeros.h"
#include "tabla.h"

#include <algorithm>

namespace pelmora {

namespace {

const char *const kTituloS = tituloDeColumna(Col::S);
const char *const kTituloO = tituloDeColumna(Col::O);

QString tituloColumna(const char *base, const QDate &fecha)
{
    QString t = QString::fromUtf8(base);
    if (fecha.isValid())
        t += QStringLiteral(" (") + textoFecha(fecha) + QLatin1Char(')');
    return t;
}

// The captions over both columns, each with its date.
QStringList grupos(const Calculo &calc)
{
    const QDate fechaS = calc.fechaTituloS().isValid() ? calc.fechaTituloS() : calc.columnaS().Fecha;
    const QDate fechaO = calc.fechaTituloO().isValid() ? calc.fechaTituloO() : calc.columnaO().Fecha;
    return {tituloColumna(kTituloS, fechaS), tituloColumna(kTituloO, fechaO)};
}

// Result slot n of a column as the results form shows it.
QString resultado(const Columna &c, int n)
{
    return FormatearNumero(c(Seccion::Resultados, n), decimalesResultado(n), true);
}

// A figure followed by its unit; nothing when the figure is blank.
QString conUnidad(const QString &cifra, const char *unidad, int anchoUnidad)
{
    if (cifra.isEmpty())
        return QString();
    return cifra + QLatin1Char(' ') + QString::fromUtf8(unidad).leftJustified(anchoUnidad);
}

QString cabecera(const Calculo &calc, const QString &ruta)
{
    auto texto = [&](int i) {
        return textoVisible(FormatearNumero(calc.columnaS()(Seccion::Caracteristicas, i), -1, false));
    };
    QString r = QStringLiteral("Archivo: ") + textoVisible(ruta) + QLatin1Char('\n');
    r += QStringLiteral("Autocar: ") + texto(Car::Descripcion) + QLatin1Char('\n');
    if (const QString categoria = texto(Car::Categoria); !categoria.isEmpty())
        r += QStringLiteral("Categoría: ") + categoria + QLatin1Char('\n');
    if (const QString explotacion = texto(Car::Explotacion); !explotacion.isEmpty())
        r += QStringLiteral("Explotación: ") + explotacion + QLatin1Char('\n');
    return r;
}

// Amounts 1 to 13, then the subtotals and the total, each with its share.
QString costesAnuales(const Calculo &calc)
{
    static const char *const kFilas[Res::Totales] = {
        "Amortización del autocar", "Financiación del autocar", "Personal de a bordo",
        "Dietas del personal de a bordo", "Seguros del autocar", "Costes fiscales",
        "Combustible", "Neumáticos", "Reparaciones y conservación", "Peajes",
        "Costes de estructura", "Costes de comercialización", "Otros costes indirectos",
        "- Costes Temporales", "- Costes Kilométricos", "Costes Directos",
        "Costes Indirectos", "Costes Totales repercutibles a todos los servicios"};
    Tabla t;
    t.grupos = grupos(calc);
    t.columnasPorGrupo = 2;
    const QString euros = QStringLiteral("Euros (€)"), pct = QStringLiteral("%");
    t.cabeceras = {euros, pct, euros, pct};
    for (int n = Res::Amortizacion; n <= Res::Totales; ++n) {
        if (n == Res::Temporales)
            t.filas.push_back({QString()});
        QStringList fila = {QString::fromUtf8(kFilas[n - 1])};
        for (Col col : {Col::S, Col::O}) {
            const Columna &c = calc.columna(col);
            // Indirect costs entered as one total: the results form hides
            // the three breakdown rows of that column.
            const bool oculta = n >= Res::Estructura && n <= Res::OtrosIndirectos &&
                                c(Seccion::CostesIndirectos, Ind::Desglosado).esFalso();
            fila << (oculta ? QString() : resultado(c, n)) << (oculta ? QString() : resultado(c, Res::cuota(n)));
        }
        t.filas.push_back(fila);
    }
    return QStringLiteral("\nCostes Anuales\n\n") + componer(t);
}

// As on the results form, the reference column shows no
// passenger-kilometres and no C1.
QString actividadYUnitarios(const Calculo &calc)
{
    struct Fila {
        int slot;
        const char *titulo;
        const char *unidad;
    };
    static const Fila kFilas[] = {
        {Res::ViajerosKm, "Viajeros-Kilometro anuales", "viajeros-km"},
        {Res::KmAnuales, "Kilometraje anual", "km"},
        {Res::KmFacturados, "Kilometraje anual facturado", "km"},
        {Res::HorasAnuales, "Horas anuales", "horas"},
        {Res::HorasFacturadas, "Horas anuales facturadas", "horas"},
        {0, "", ""},
        {Res::C1, "C1 = coste unitario por viajero-kilómetro", "€/viajero-km"},
        {Res::C2, "C2 = coste unitario por kilómetro (costes kilométricos)", "€/km"},
        {Res::C3, "C3 = coste unitario por hora (costes temporales e indirectos)", "€/hora"},
        {Res::C4, "C4 = coste unitario por kilómetro (costes totales)", "€/km"},
        {Res::C5, "C5 = coste unitario por hora (costes totales)", "€/hora"},
    };
    int anchoUnidad = 0;
    for (const auto &f : kFilas)
        anchoUnidad = std::max(anchoUnidad, int(QString::fromUtf8(f.unidad).size()));
    Tabla t;
    t.grupos = grupos(calc);
    for (const auto &f : kFilas) {
        if (f.slot == 0) {
            t.filas.push_back({QString()});
            continue;
        }
        QStringList fila = {QString::fromUtf8(f.titulo)};
        for (Col col : {Col::S, Col::O}) {
            const bool oculta = col == Col::O && (f.slot == Res::ViajerosKm || f.slot == Res::C1);
            fila << (oculta ? QString() : conUnidad(resultado(calc.columna(col), f.slot), f.unidad, anchoUnidad));
        }
        t.filas.push_back(fila);
    }
    return QStringLiteral("\nActividad anual y costes unitarios\n\n") + componer(t);
}

// The services of the user column, as the service form shows them.
QString servicios(const Calculo &calc)
{
    auto campo = [&](int i) {
        return FormatearNumero(calc.columnaS()(Seccion::Servicio, i), decimales(Seccion::Servicio, i), false);
    };
    QString r = QStringLiteral("\nCoste de un servicio concreto (") + QString::fromUtf8(kTituloS) +
                QStringLiteral(")\n\n");
    Tabla c1;
    c1.filas.push_back(
        {QStringLiteral("Coste unitario por viajero-kilómetro"), conUnidad(campo(Serv::C1), "€/viajero-km", 0)});
    r += componer(c1) + QLatin1Char('\n');

    Tabla t;
    for (int k = 1; k <= Serv::kServicios; ++k)
        t.cabeceras << QStringLiteral("Servicio %1").arg(k);
    struct Fila {
        int fila; // -1: a heading
        const char *titulo;
    };
    static const Fila kFilas[] = {
        {Serv::Propios, "Costes repercutidos únicamente a este servicio (Euros)"},
        {Serv::Km, "Kilómetros facturados a este servicio"},
        {Serv::Horas, "Horas facturadas a este servicio"},
        {-1, "COSTE DEL SERVICIO según el tipo de facturación (Euros):"},
        {Serv::PrecioKmYHoras, "  Kilómetros y horas"},
        {Serv::PrecioKm, "  Kilómetros"},
        {Serv::PrecioHoras, "  Horas"},
    };
    for (const auto &f : kFilas) {
        QStringList fila = {QString::fromUtf8(f.titulo)};
        if (f.fila >= 0)
            for (int k = 0; k < Serv::kServicios; ++k)
                fila << campo(Serv::campo(k, static_cast<Serv::Fila>(f.fila)));
        t.filas.push_back(fila);
    }
    return r + componer(t);
}

} // namespace

QString textoVisible(const QString &texto)
{
    auto control = [](char16_t c) { return (c < 0x20 && c != u'\t' && c != u'\n') || (c >= 0x7F && c <= 0x9F); };
    if (std::none_of(texto.cbegin(), texto.cend(), [&](QChar c) { return control(c.unicode()); }))
        return texto;
    QString r;
    for (const QChar c : texto)
        r += control(c.unicode()) ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0')) : QString(c);
    return r;
}

QString informe(const Calculo &calc, const QString &ruta)
{
    return cabecera(calc, ruta) + costesAnuales(calc) + actividadYUnitarios(calc) + servicios(calc);
}

} // namespace pelmora
