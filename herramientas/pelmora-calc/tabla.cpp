#include "tabla.h"

#include <algorithm>

namespace pelmora {

namespace {

constexpr int kHueco = 3; // blanks between columns

QString sinBlancosFinales(QString l)
{
    while (l.endsWith(QLatin1Char(' ')))
        l.chop(1);
    return l + QLatin1Char('\n');
}

// Widths of the caption column and of each figure column.
struct Anchos {
    int titulo = 0;
    std::vector<int> columnas;

    // The width of group g: its columns and the gaps between them.
    int grupo(int g, int porGrupo) const
    {
        const int primera = g * porGrupo;
        int total = 0;
        for (int j = primera; j < primera + porGrupo && j < int(columnas.size()); ++j)
            total += columnas[size_t(j)] + (j > primera ? kHueco : 0);
        return total;
    }
};

Anchos medir(const Tabla &t)
{
    int columnas = int(t.cabeceras.size());
    for (const auto &f : t.filas)
        columnas = std::max(columnas, int(f.size()) - 1);
    Anchos a;
    for (const auto &f : t.filas)
        if (!f.isEmpty())
            a.titulo = std::max(a.titulo, int(f[0].size()));
    a.columnas.assign(size_t(std::max(columnas, 0)), 0);
    for (int j = 0; j < columnas; ++j) {
        int &ancho = a.columnas[size_t(j)];
        if (j < t.cabeceras.size())
            ancho = int(t.cabeceras[j].size());
        for (const auto &f : t.filas)
            if (j + 1 < f.size())
                ancho = std::max(ancho, int(f[j + 1].size()));
    }
    // A group title wider than its columns widens the group's first column.
    for (int g = 0; g < t.grupos.size(); ++g) {
        const int primera = g * t.columnasPorGrupo;
        const int falta = int(t.grupos[g].size()) - a.grupo(g, t.columnasPorGrupo);
        if (falta > 0 && primera < columnas)
            a.columnas[size_t(primera)] += falta;
    }
    return a;
}

} // namespace

QString componer(const Tabla &t)
{
    const Anchos a = medir(t);
    auto linea = [&](const QString &titulo, const QStringList &celdas) {
        QString l = titulo.leftJustified(a.titulo);
        for (int j = 0; j < int(a.columnas.size()); ++j) {
            l += QString(kHueco, QLatin1Char(' '));
            l += (j < celdas.size() ? celdas[j] : QString()).rightJustified(a.columnas[size_t(j)]);
        }
        return sinBlancosFinales(l);
    };

    QString r;
    if (!t.grupos.isEmpty()) {
        QString l(a.titulo, QLatin1Char(' '));
        for (int g = 0; g < t.grupos.size(); ++g)
            l += QString(kHueco, QLatin1Char(' ')) + t.grupos[g].rightJustified(a.grupo(g, t.columnasPorGrupo));
        r += sinBlancosFinales(l);
    }
    if (!t.cabeceras.isEmpty())
        r += linea(QString(), t.cabeceras);
    for (const auto &f : t.filas)
        r += linea(f.value(0), f.mid(1));
    return r;
}

} // namespace pelmora
