#include "analisis/exportar.h"

#include "analisis/rotulos.h"
#include "archivos/json.h"

#include <algorithm>
#include <iterator>

namespace pelmora {

namespace {

const char *const kTituloS = tituloDeColumna(Col::S);
const char *const kTituloO = tituloDeColumna(Col::O);

QString titulo(Seccion s) { return QString::fromUtf8(datosSeccion(s).titulo); }

// A field of a column as its box shows it: an option as its choice, a
// blanked box empty, a figure at its decimals (0 included).
CeldaCsv celdaCampo(const Calculo &c, Col col, Seccion s, int i)
{
    const CampoInfo &info = campo(s, i);
    const Valor &v = c.columna(col)(s, i);
    if (info.tipo == TipoCampo::Opcion)
        return v.vacio() ? CeldaCsv() : CeldaCsv(textoOpcion(s, i, !v.esFalso()));
    if (c.estado(col, s, i).vacio)
        return {};
    return CeldaCsv::valor(v, info.decimales);
}

CeldaCsv celdaResultado(const Valor &v, int n) { return CeldaCsv::valor(v, decimalesResultado(n)); }

} // namespace

// ---------------------------------------------------------------------------
// One calculation

std::vector<FilaCsv> filasCalculo(const Calculo &c)
{
    std::vector<FilaCsv> filas;
    filas.push_back({"Sección", "Concepto", kTituloS, kTituloO, "Unidad"});
    for (Seccion s : {kCar, kF1, kF2, kVar, kInd}) {
        for (int i = 1; i <= tamano(s); ++i) {
            const Rotulo r = rotulo(s, i);
            filas.push_back({titulo(s), r.etiqueta, celdaCampo(c, Col::S, s, i), celdaCampo(c, Col::O, s, i),
                             r.unidad});
        }
    }
    const CifrasColumna cs = cifrasColumna(c.columnaS(), false), co = cifrasColumna(c.columnaO(), true);
    for (int n = 1; n <= kRanurasResultado; ++n) {
        const Rotulo r = rotuloResultado(n);
        if (r.etiqueta.isEmpty())
            continue;
        filas.push_back({titulo(kRes), r.etiqueta, celdaResultado(cs.mostrado(n), n),
                         celdaResultado(co.mostrado(n), n), r.unidad});
    }
    for (int i = 1; i <= tamano(kServ); ++i) {
        const Rotulo r = rotulo(kServ, i);
        filas.push_back({titulo(kServ), r.etiqueta, celdaCampo(c, Col::S, kServ, i), CeldaCsv(), r.unidad});
    }
    return filas;
}

QByteArray calculoCsv(const Calculo &c, const FormatoCsv &f) { return documentoCsv(filasCalculo(c), f); }

// ---------------------------------------------------------------------------
// Sensitivity

std::vector<FilaCsv> filasSensibilidad(const Sensibilidad &s)
{
    const QString bajo = rotuloLado(s.porcentaje, false), alto = rotuloLado(s.porcentaje, true);
    FilaCsv cabecera = {"Sección", "Entrada", "Unidad", "Valor", "Valor " + bajo, "Valor " + alto};
    for (int n : kCifrasSensibilidad) {
        const QString nombre = nombreCifra(n);
        cabecera.insert(cabecera.end(), {nombre, nombre + ' ' + bajo, nombre + ' ' + alto});
    }
    cabecera.insert(cabecera.end(), {"Mensaje " + bajo, "Mensaje " + alto});

    std::vector<FilaCsv> filas = {cabecera};
    for (const EntradaSensibilidad &e : s.entradas) {
        const int d = campo(e.seccion, e.indice).decimales;
        FilaCsv fila = {titulo(e.seccion), e.etiqueta, rotulo(e.seccion, e.indice).unidad,
                        CeldaCsv::numero(e.valor, d), CeldaCsv::numero(e.bajo.valor, d),
                        CeldaCsv::numero(e.alto.valor, d)};
        for (int n : kCifrasSensibilidad) {
            fila.push_back(celdaResultado(s.base[size_t(n - 1)], n));
            for (const LadoSensibilidad *l : {&e.bajo, &e.alto})
                fila.push_back(l->posible ? celdaResultado(l->resultados[size_t(n - 1)], n) : CeldaCsv());
        }
        fila.push_back(mensajeEnUnaLinea(e.bajo.mensaje));
        fila.push_back(mensajeEnUnaLinea(e.alto.mensaje));
        filas.push_back(std::move(fila));
    }
    return filas;
}

QByteArray sensibilidadCsv(const Sensibilidad &s, const FormatoCsv &f)
{
    return documentoCsv(filasSensibilidad(s), f);
}

namespace {

QByteArray ranurasJson(const ResultadosColumna &r)
{
    QByteArray b = "[";
    for (size_t k = 0; k < r.size(); ++k) {
        if (k > 0)
            b += ", ";
        b += valorJson(r[k]);
    }
    return b + ']';
}

} // namespace

QByteArray sensibilidadJson(const Sensibilidad &s)
{
    QByteArray b = "{\n  \"Porcentaje\": " + numeroJson(s.porcentaje) + ",\n  \"Base\": " + ranurasJson(s.base) +
                   ",\n  \"Entradas\": [";
    for (size_t k = 0; k < s.entradas.size(); ++k) {
        const EntradaSensibilidad &e = s.entradas[k];
        b += k > 0 ? ",\n    {" : "\n    {";
        b += "\"Seccion\": " + textoJson(QString::fromUtf8(datosSeccion(e.seccion).nombre));
        b += ", \"Indice\": " + QByteArray::number(e.indice);
        b += ", \"Etiqueta\": " + textoJson(e.etiqueta);
        b += ", \"Valor\": " + numeroJson(e.valor);
        b += ", \"Bajo\": " + numeroJson(e.bajo.valor);
        b += ", \"Alto\": " + numeroJson(e.alto.valor);
        b += ", \"ResultadosBajo\": " + (e.bajo.posible ? ranurasJson(e.bajo.resultados) : QByteArray("null"));
        b += ", \"ResultadosAlto\": " + (e.alto.posible ? ranurasJson(e.alto.resultados) : QByteArray("null"));
        b += ", \"MensajeBajo\": " + textoJson(e.bajo.mensaje);
        b += ", \"MensajeAlto\": " + textoJson(e.alto.mensaje);
        b += '}';
    }
    b += s.entradas.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return b;
}

// ---------------------------------------------------------------------------
// Comparison

namespace {

// The result slots of a comparison row after the seats, in column order.
constexpr int kActividad[] = {Res::KmAnuales, Res::KmFacturados, Res::HorasAnuales, Res::HorasFacturadas};
constexpr int kTotales[] = {Res::Directos, Res::Indirectos, Res::Totales};
constexpr int kUnitarios[] = {Res::C1, Res::C2, Res::C3, Res::C4, Res::C5};

std::vector<int> ranurasComparadas()
{
    std::vector<int> r(std::begin(kActividad), std::end(kActividad));
    for (int n = Res::Amortizacion; n <= Res::OtrosIndirectos; ++n)
        r.push_back(n);
    r.insert(r.end(), std::begin(kTotales), std::end(kTotales));
    r.insert(r.end(), std::begin(kUnitarios), std::end(kUnitarios));
    return r;
}

} // namespace

FilaCsv cabeceraComparacion()
{
    FilaCsv f = {"Archivo", "Descripción", "Plazas"};
    for (int n : ranurasComparadas()) {
        const Rotulo r = rotuloResultado(n);
        // C1 to C5 by their short names and units; the rest by caption.
        const bool unitario = std::find(std::begin(kUnitarios), std::end(kUnitarios), n) != std::end(kUnitarios);
        f.push_back(unitario ? nombreCifra(n) + " (" + r.unidad + ')' : r.etiqueta);
    }
    for (int k = 1; k <= Serv::kServicios; ++k)
        f.push_back(QStringLiteral("Servicio %1: coste (kilómetros y horas)").arg(k));
    return f;
}

FilaCsv filaComparacion(const CalculoComparado &c, Col col)
{
    const bool usuario = col == Col::S;
    const CifrasColumna &cifras = usuario ? c.usuario : c.referencia;
    QString descripcion = cifras.descripcion;
    if (!usuario)
        descripcion = QString::fromUtf8(kTituloO) + (descripcion.isEmpty() ? QString() : ": " + descripcion);
    FilaCsv f = {c.ruta, descripcion,
                 CeldaCsv::valor(cifras.plazas, campo(kCar, Car::Plazas).decimales)};
    for (int n : ranurasComparadas())
        f.push_back(celdaResultado(cifras.mostrado(n), n));
    for (int k = 0; k < Serv::kServicios; ++k)
        f.push_back(usuario ? CeldaCsv::valor(c.servicios[size_t(k)],
                                              decimales(kServ, Serv::campo(k, Serv::PrecioKmYHoras)))
                            : CeldaCsv());
    return f;
}

FilaCsv filaErrorComparacion(const CalculoComparado &c)
{
    FilaCsv f(cabeceraComparacion().size());
    f[0] = c.ruta;
    f[1] = c.error;
    return f;
}

} // namespace pelmora
