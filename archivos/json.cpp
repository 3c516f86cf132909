#include "archivos/json.h"

#include "entrada/numeros.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

namespace pelmora {

namespace {

// The JSON forms below, appended to r without a text of their own: a
// standard string, whose appends stay inline.
using Salida = std::string;

QByteArray comoBytes(const Salida &r) { return QByteArray(r.data(), qsizetype(r.size())); }

void anadirNumero(Salida &r, double x)
{
    if (!std::isfinite(x)) {
        r += "null";
        return;
    }
    char buf[64];
    // Shortest round-trip form, always with "." and never grouped: to_chars
    // does not look at the C or C++ locale.
    const auto fin = escribirCorto(buf, buf + sizeof buf, x);
    if (fin.ec != std::errc())
        r += "null";
    else
        r.append(buf, fin.ptr - buf);
}

void anadirTexto(Salida &r, const QString &s)
{
    static const char hex[] = "0123456789abcdef";
    const QByteArray u = s.toUtf8();
    r += '"';
    auto escape = [&](unsigned char c) {
        r += "\\u00";
        r += hex[c >> 4];
        r += hex[c & 0xF];
    };
    for (qsizetype k = 0; k < u.size(); ++k) {
        const char ch = u[k];
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': r += "\\\""; break;
        case '\\': r += "\\\\"; break;
        case '\b': r += "\\b"; break;
        case '\f': r += "\\f"; break;
        case '\n': r += "\\n"; break;
        case '\r': r += "\\r"; break;
        case '\t': r += "\\t"; break;
        default:
            // DEL and the C1 controls (0xC2 0x80 to 0x9F in UTF-8) too, which
            // JSON allows: the text then cannot act on a terminal it goes to.
            if (c == 0xC2 && k + 1 < u.size() && static_cast<unsigned char>(u[k + 1]) <= 0x9F)
                escape(static_cast<unsigned char>(u[++k]));
            else if (c < 0x20 || c == 0x7F)
                escape(c);
            else
                r += ch; // UTF-8 bytes pass unchanged
        }
    }
    r += '"';
}

void anadirValor(Salida &r, const Valor &v)
{
    switch (v.tipo()) {
    case Valor::Tipo::Vacio: r += "null"; return;
    case Valor::Tipo::Numero: anadirNumero(r, v.numero()); return;
    case Valor::Tipo::Texto: anadirTexto(r, v.texto()); return;
    case Valor::Tipo::Booleano: r += v.booleano() ? "true" : "false"; return;
    }
    r += "null";
}

} // namespace

QByteArray numeroJson(double x)
{
    Salida r;
    anadirNumero(r, x);
    return comoBytes(r);
}

QByteArray textoJson(const QString &s)
{
    Salida r;
    r.reserve(size_t(s.size()) + 2);
    anadirTexto(r, s);
    return comoBytes(r);
}

QByteArray valorJson(const Valor &v)
{
    Salida r;
    anadirValor(r, v);
    return comoBytes(r);
}

namespace {

void anadirFecha(Salida &r, const QDate &d)
{
    if (!d.isValid()) {
        r += "null";
        return;
    }
    // yyyy-mm-dd, built by hand so no calendar or locale takes part (a
    // year of other than four digits through the C library's formatting).
    int anio = 0, mes = 0, dia = 0;
    d.getDate(&anio, &mes, &dia);
    if (anio < 0 || anio > 9999) {
        anadirTexto(r, QString::asprintf("%04d-%02d-%02d", anio, mes, dia));
        return;
    }
    const char texto[] = {'"',
                          char('0' + anio / 1000),
                          char('0' + anio / 100 % 10),
                          char('0' + anio / 10 % 10),
                          char('0' + anio % 10),
                          '-',
                          char('0' + mes / 10),
                          char('0' + mes % 10),
                          '-',
                          char('0' + dia / 10),
                          char('0' + dia % 10),
                          '"'};
    r.append(texto, sizeof texto);
}

// A piece of constant text at p; the end.
template <size_t N>
char *poner(char *p, const char (&texto)[N])
{
    std::memcpy(p, texto, N - 1);
    return p + N - 1;
}

char *ponerNumero(char *p, double x)
{
    const auto fin = std::isfinite(x) ? escribirCorto(p, p + 32, x) : std::to_chars_result{p, std::errc::invalid_argument};
    return fin.ec == std::errc() ? fin.ptr : poner(p, "null");
}

// Entries 1 to cuantos of a section, ", " between them, written through a
// pointer into room made ahead (a number takes at most 24 characters): the
// thousands of short pieces of a fleet stay out of the string's appends.
// A text goes through the string.
void anadirValores(Salida &r, const std::vector<Valor> &valores, int cuantos)
{
    constexpr size_t kPorEntrada = 40;
    static const Valor nulo;
    size_t usado = r.size();
    r.resize(usado + kPorEntrada * size_t(cuantos));
    char *p = r.data() + usado;
    for (int i = 1; i <= cuantos; ++i) {
        if (i > 1)
            p = poner(p, ", ");
        // A record always holds every entry; a short one still gives
        // arrays of the right length.
        const Valor &v = i < int(valores.size()) ? valores[size_t(i)] : nulo;
        switch (v.tipo()) {
        case Valor::Tipo::Vacio: p = poner(p, "null"); break;
        case Valor::Tipo::Numero: p = ponerNumero(p, v.numero()); break;
        case Valor::Tipo::Booleano: p = v.booleano() ? poner(p, "true") : poner(p, "false"); break;
        case Valor::Tipo::Texto:
            r.resize(size_t(p - r.data()));
            anadirTexto(r, v.texto());
            usado = r.size();
            r.resize(usado + kPorEntrada * size_t(cuantos - i));
            p = r.data() + usado;
            break;
        }
    }
    r.resize(size_t(p - r.data()));
}

// Where the layout breaks a line: the line end and the indentation of the
// column's entries and of its closing brace; both empty on one line.
struct Saltos {
    std::string dentro, fuera;
};

Saltos saltos(int sangria) { return {'\n' + std::string(size_t(sangria) + 2, ' '), '\n' + std::string(size_t(sangria), ' ')}; }

void anadirColumna(Salida &r, const Columna &c, const Saltos &s)
{
    r += '{';
    for (int k = 0; k < kNumSecciones; ++k) {
        const auto sec = static_cast<Seccion>(k);
        const auto &valores = c.seccion(sec);
        r += s.dentro;
        r += '"';
        r += datosSeccion(sec).nombre; // the name of its value array
        r += "\": [";
        anadirValores(r, valores, tamano(sec));
        r += "],";
    }
    r += s.dentro;
    r += "\"Fecha\": ";
    anadirFecha(r, c.Fecha);
    r += s.fuera;
    r += '}';
}

// Whether two values write the same JSON: equal, numbers also in sign (0
// and -0 are written differently).
bool mismaSalida(const Valor &a, const Valor &b)
{
    return a == b && (!a.esNumero() || std::signbit(a.numero()) == std::signbit(b.numero()));
}

bool mismaSalida(const Columna &a, const Columna &b)
{
    if (a.Fecha != b.Fecha)
        return false;
    for (size_t k = 0; k < a.secciones.size(); ++k)
        if (!std::equal(a.secciones[k].begin(), a.secciones[k].end(), b.secciones[k].begin(), b.secciones[k].end(),
                        [](const Valor &x, const Valor &y) { return mismaSalida(x, y); }))
            return false;
    return true;
}

// The one-line form of a column, remembered per thread for the last few
// columns written: the reference columns of a fleet's files are mostly the
// few standard ones, and comparing their values costs far less than writing
// their figures again.
void anadirColumnaRecordada(Salida &r, const Columna &c)
{
    struct Recuerdo {
        Columna columna;
        Salida json;
    };
    thread_local std::array<std::optional<Recuerdo>, 4> recuerdos;
    thread_local size_t siguiente = 0;
    for (const auto &m : recuerdos)
        if (m && mismaSalida(m->columna, c)) {
            r += m->json;
            return;
        }
    Recuerdo nuevo{c, {}};
    anadirColumna(nuevo.json, c, Saltos());
    r += nuevo.json;
    recuerdos[siguiente] = std::move(nuevo);
    siguiente = (siguiente + 1) % recuerdos.size();
}

// Both columns after the opening brace, and the closing one.
void anadirColumnas(Salida &r, const Calculo &c, const Saltos &columna, std::string_view salto)
{
    r += salto;
    r += "\"ColumnaS\": ";
    anadirColumna(r, c.columnaS(), columna);
    r += ',';
    r += salto;
    r += "\"ColumnaO\": ";
    if (salto.empty())
        anadirColumnaRecordada(r, c.columnaO());
    else
        anadirColumna(r, c.columnaO(), columna);
    r += salto.empty() ? "" : "\n";
    r += '}';
}

} // namespace

QByteArray columnaJson(const Columna &c, int sangria)
{
    Salida r;
    r.reserve(4096); // a column's figures, with room to spare
    anadirColumna(r, c, saltos(sangria));
    return comoBytes(r);
}

QByteArray calculoJson(const Calculo &c)
{
    Salida r;
    r.reserve(8192);
    r += '{';
    anadirColumnas(r, c, saltos(2), "\n  ");
    r += '\n';
    return comoBytes(r);
}

void anadirCalculoJsonEnLinea(QByteArray &r, const Calculo &c)
{
    // The line's buffer stays with the thread from one calculation to the next.
    thread_local Salida linea;
    linea.clear();
    anadirColumnas(linea, c, Saltos(), std::string_view());
    r.append(linea.data(), qsizetype(linea.size()));
}

} // namespace pelmora
