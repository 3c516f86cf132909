#include "presupuestos/dinero.h"

#include "entrada/numeros.h"

#include <QRegularExpression>
#include <cmath>
#include <cstdlib>

namespace pelmora {

qint64 dividirRedondeando(qint64 num, qint64 den)
{
    const qint64 q = std::llabs(num) / den;
    const qint64 resto = std::llabs(num) % den;
    const qint64 m = resto * 2 >= den ? q + 1 : q;
    return num < 0 ? -m : m;
}

std::optional<Centimos> centimos(double euros)
{
    const std::optional<double> r = Redondear(euros, 2);
    if (!r || std::fabs(*r) > double(kMaximoCentimos) / 100.0)
        return std::nullopt;
    // r is the nearest double to a whole number of cents: the product lies
    // within a fraction of a cent of it.
    return std::llround(*r * 100.0);
}

std::optional<qint64> leerDecimal(const QString &texto, int decimales)
{
    // Plain digits with one mark, or digits grouped by threes with one mark
    // and then another mark for the decimals.
    static const QRegularExpression plano(QStringLiteral("^([-+]?)(\\d*)(?:[.,](\\d*))?$"));
    static const QRegularExpression agrupado(
        QStringLiteral("^([-+]?)(\\d{1,3}(?:([.,])\\d{3})(?:\\3\\d{3})*)(?:(?!\\3)[.,](\\d*))?$"));
    const QString t = texto.trimmed();
    QRegularExpressionMatch m = plano.match(t);
    QString entero, fraccion;
    if (m.hasMatch()) {
        entero = m.captured(2);
        fraccion = m.captured(3);
    } else if (m = agrupado.match(t); m.hasMatch()) {
        entero = m.captured(2).remove(m.captured(3));
        fraccion = m.captured(4);
    } else {
        return std::nullopt;
    }
    if ((entero.isEmpty() && fraccion.isEmpty()) || entero.size() > 15 || decimales > 6)
        return std::nullopt;
    qint64 valor = entero.isEmpty() ? 0 : entero.toLongLong();
    for (int d = 0; d < decimales; ++d)
        valor = valor * 10 + (d < fraccion.size() ? fraccion[d].unicode() - u'0' : 0);
    if (fraccion.size() > decimales && fraccion[decimales] >= u'5')
        ++valor;
    return m.captured(1) == u"-" ? -valor : valor;
}

QString textoDecimal(qint64 valor, int decimales, QChar decimal, const QString &miles)
{
    QString digitos = QString::number(std::llabs(valor));
    if (digitos.size() <= decimales)
        digitos.prepend(QString(decimales + 1 - digitos.size(), u'0'));
    QString entero = digitos.left(digitos.size() - decimales);
    if (!miles.isEmpty())
        for (qsizetype k = entero.size() - 3; k > 0; k -= 3)
            entero.insert(k, miles);
    QString r = (valor < 0 ? QStringLiteral("-") : QString()) + entero;
    if (decimales > 0)
        r += decimal + digitos.right(decimales);
    return r;
}

QString textoImporte(Centimos c) { return textoDecimal(c, 2, separadorDecimal(), separadorMiles()); }
QString importePlano(Centimos c) { return textoDecimal(c, 2); }

} // namespace pelmora
