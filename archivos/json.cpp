#include "archivos/json.h"

#include <charconv>
#include <cmath>

namespace pelmora {

QByteArray numeroJson(double x)
{
    if (!std::isfinite(x))
        return QByteArrayLiteral("null");
    char buf[64];
    // Shortest round-trip form, always with "." and never grouped: to_chars
    // does not look at the C or C++ locale.
    const auto r = std::to_chars(buf, buf + sizeof buf, x);
    if (r.ec != std::errc())
        return QByteArrayLiteral("null");
    return QByteArray(buf, int(r.ptr - buf));
}

QByteArray textoJson(const QString &s)
{
    static const char hex[] = "0123456789abcdef";
    const QByteArray u = s.toUtf8();
    QByteArray r;
    r.reserve(u.size() + 2);
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
    return r;
}

QByteArray valorJson(const Valor &v)
{
    switch (v.tipo()) {
    case Valor::Tipo::Vacio: return QByteArrayLiteral("null");
    case Valor::Tipo::Numero: return numeroJson(v.numero());
    case Valor::Tipo::Texto: return textoJson(v.texto());
    case Valor::Tipo::Booleano: return v.booleano() ? QByteArrayLiteral("true") : QByteArrayLiteral("false");
    }
    return QByteArrayLiteral("null");
}

static QByteArray fechaJson(const QDate &d)
{
    if (!d.isValid())
        return QByteArrayLiteral("null");
    // yyyy-mm-dd, built by hand so no calendar or locale takes part.
    return textoJson(QString::asprintf("%04d-%02d-%02d", d.year(), d.month(), d.day()));
}

QByteArray columnaJson(const Columna &c, int sangria)
{
    const QByteArray fuera(sangria, ' ');
    const QByteArray dentro(sangria + 2, ' ');
    QByteArray r = "{\n";
    for (int k = 0; k < kNumSecciones; ++k) {
        const auto s = static_cast<Seccion>(k);
        const auto &valores = c.seccion(s);
        r += dentro;
        r += '"';
        r += datosSeccion(s).nombre; // the name of its value array
        r += '"';
        r += ": [";
        for (int i = 1; i <= tamano(s); ++i) {
            if (i > 1)
                r += ", ";
            // A record always holds every entry; a short one still gives
            // arrays of the right length.
            r += i < int(valores.size()) ? valorJson(valores[i]) : QByteArrayLiteral("null");
        }
        r += "],\n";
    }
    r += dentro;
    r += "\"Fecha\": ";
    r += fechaJson(c.Fecha);
    r += '\n';
    r += fuera;
    r += '}';
    return r;
}

QByteArray calculoJson(const Calculo &c)
{
    QByteArray r = "{\n  \"ColumnaS\": ";
    r += columnaJson(c.columnaS(), 2);
    r += ",\n  \"ColumnaO\": ";
    r += columnaJson(c.columnaO(), 2);
    r += "\n}\n";
    return r;
}

} // namespace pelmora
