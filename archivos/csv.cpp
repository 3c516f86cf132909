#include "archivos/csv.h"

#include "entrada/numeros.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace pelmora {

FormatoCsv formatoCsv(QChar separadorDecimal)
{
    if (separadorDecimal == QLatin1Char(','))
        return {QLatin1Char(';'), QLatin1Char(',')};
    return {QLatin1Char(','), QLatin1Char('.')};
}

FormatoCsv formatoCsv() { return formatoCsv(separadorDecimal()); }

QString numeroCsv(double x, int decimales, QChar decimal)
{
    if (!std::isfinite(x))
        return QString();
    decimales = std::max(decimales, 0);
    const double r = Redondear(x, decimales).value_or(x);
    char buf[400];
    // Redondear never gives -0: a figure that rounds to zero is written as 0.
    const auto [fin, error] = std::to_chars(buf, buf + sizeof buf, r, std::chars_format::fixed, decimales);
    if (error != std::errc())
        return QString();
    QString t = QString::fromLatin1(buf, fin - buf);
    t.replace(QLatin1Char('.'), decimal);
    return t;
}

CeldaCsv CeldaCsv::numero(double x, int decimales)
{
    CeldaCsv c;
    c.tipo_ = Tipo::Numero;
    c.numero_ = x;
    c.decimales_ = decimales;
    return c;
}

CeldaCsv CeldaCsv::valor(const Valor &v, int decimales)
{
    switch (v.tipo()) {
    case Valor::Tipo::Vacio: return {};
    case Valor::Tipo::Texto: return CeldaCsv(v.texto());
    case Valor::Tipo::Booleano: return CeldaCsv(v.booleano() ? QStringLiteral("Sí") : QStringLiteral("No"));
    case Valor::Tipo::Numero: return numero(v.numero(), decimales);
    }
    return {};
}

QString CeldaCsv::texto(const FormatoCsv &f) const
{
    switch (tipo_) {
    case Tipo::Vacia: return QString();
    case Tipo::Numero: return numeroCsv(numero_, decimales_, f.decimal);
    case Tipo::Texto: break;
    }
    auto blanco = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    // A spreadsheet takes a cell that starts like a formula for one (a live
    // link, a sum, a command): such a text goes in quoted, after a single
    // quote, which makes the spreadsheet show it as text.
    const bool formula = !texto_.isEmpty() && QStringView(u"=+-@\t\r").contains(texto_.front());
    const bool comillas = formula || texto_.contains(f.separador) || texto_.contains(QLatin1Char('"')) ||
                          texto_.contains(QLatin1Char('\r')) || texto_.contains(QLatin1Char('\n')) ||
                          (!texto_.isEmpty() && (blanco(texto_.front()) || blanco(texto_.back())));
    if (!comillas)
        return texto_;
    QString t = texto_;
    t.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + (formula ? QStringLiteral("'") : QString()) + t + QLatin1Char('"');
}

QByteArray inicioCsv() { return QByteArrayLiteral("\xEF\xBB\xBF"); }

QByteArray lineaCsv(const FilaCsv &fila, const FormatoCsv &f)
{
    QString l;
    for (size_t k = 0; k < fila.size(); ++k) {
        if (k > 0)
            l += f.separador;
        l += fila[k].texto(f);
    }
    l += QStringLiteral("\r\n");
    return l.toUtf8();
}

QByteArray documentoCsv(const std::vector<FilaCsv> &filas, const FormatoCsv &f)
{
    QByteArray r = inicioCsv();
    for (const FilaCsv &fila : filas)
        r += lineaCsv(fila, f);
    return r;
}

} // namespace pelmora
