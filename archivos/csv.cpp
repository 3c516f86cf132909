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

namespace {

// The digits of numeroCsv with "." as the decimal mark, in buf; their end,
// or buf when there are none.
char *cifrasCsv(char (&buf)[400], double x, int decimales)
{
    if (!std::isfinite(x))
        return buf;
    decimales = std::max(decimales, 0);
    const double r = Redondear(x, decimales).value_or(x);
    // Redondear never gives -0: a figure that rounds to zero is written as 0.
    const auto [fin, error] = escribirFijo(buf, buf + sizeof buf, r, decimales);
    return error == std::errc() ? fin : buf;
}

} // namespace

QString numeroCsv(double x, int decimales, QChar decimal)
{
    char buf[400];
    const char *fin = cifrasCsv(buf, x, decimales);
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

void CeldaCsv::anadir(QByteArray &linea, const FormatoCsv &f, const QByteArray &decimal) const
{
    if (tipo_ != Tipo::Numero) {
        linea += texto(f).toUtf8();
        return;
    }
    char buf[400];
    const char *fin = cifrasCsv(buf, numero_, decimales_);
    const char *punto = std::find(static_cast<const char *>(buf), fin, '.');
    linea.append(buf, punto - buf);
    if (punto != fin) {
        linea += decimal;
        linea.append(punto + 1, fin - punto - 1);
    }
}

QByteArray lineaCsv(const FilaCsv &fila, const FormatoCsv &f)
{
    const QByteArray separador = QString(f.separador).toUtf8(), decimal = QString(f.decimal).toUtf8();
    QByteArray l;
    l.reserve(qsizetype(fila.size()) * 16);
    for (size_t k = 0; k < fila.size(); ++k) {
        if (k > 0)
            l += separador;
        fila[k].anadir(l, f, decimal);
    }
    l += "\r\n";
    return l;
}

QByteArray documentoCsv(const std::vector<FilaCsv> &filas, const FormatoCsv &f)
{
    QByteArray r = inicioCsv();
    for (const FilaCsv &fila : filas)
        r += lineaCsv(fila, f);
    return r;
}

} // namespace pelmora
