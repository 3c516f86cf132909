// The one CSV writer of the program: UTF-8 with a byte-order mark, CR LF
// line ends, and the conventions a spreadsheet with the same regional
// settings reads without asking: ";" between fields and the decimal comma
// where the decimal separator is a comma, otherwise "," and the point.
// Numbers carry no thousands separator; texts are quoted only when needed.
#pragma once

#include "entrada/valor.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <vector>

namespace pelmora {

struct FormatoCsv {
    QChar separador = QLatin1Char(';');
    QChar decimal = QLatin1Char(',');
};

// The convention for a decimal separator (by default the program's).
FormatoCsv formatoCsv(QChar separadorDecimal);
FormatoCsv formatoCsv();

// One cell: empty, a text, or a number written at a number of decimals.
class CeldaCsv {
public:
    CeldaCsv() = default;
    CeldaCsv(const QString &texto) : tipo_(Tipo::Texto), texto_(texto) {}
    CeldaCsv(const char *texto) : tipo_(Tipo::Texto), texto_(QString::fromUtf8(texto)) {}
    static CeldaCsv numero(double x, int decimales);
    // An entry as a figure at its decimals: empty stays empty, a text is
    // written as text, a choice as "Sí" or "No".
    static CeldaCsv valor(const Valor &v, int decimales);

    // The cell as it goes into a line, quoted where it must be.
    QString texto(const FormatoCsv &f) const;
    // The same appended to a line in UTF-8 (decimal: f.decimal in UTF-8).
    void anadir(QByteArray &linea, const FormatoCsv &f, const QByteArray &decimal) const;

private:
    enum class Tipo { Vacia, Texto, Numero };
    Tipo tipo_ = Tipo::Vacia;
    QString texto_;
    double numero_ = 0;
    int decimales_ = 0;
};

using FilaCsv = std::vector<CeldaCsv>;

// The bytes a CSV file starts with: the UTF-8 byte-order mark.
QByteArray inicioCsv();

// One line, its fields joined and ended by CR LF, as UTF-8.
QByteArray lineaCsv(const FilaCsv &fila, const FormatoCsv &f);

// A whole file: the byte-order mark, then one line per row.
QByteArray documentoCsv(const std::vector<FilaCsv> &filas, const FormatoCsv &f);

// x at a number of decimals, rounded as the program displays it, with the
// given decimal mark, no grouping and never "-0"; empty when x is not finite.
QString numeroCsv(double x, int decimales, QChar decimal);

} // namespace pelmora
