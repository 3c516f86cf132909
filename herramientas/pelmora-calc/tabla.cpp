#include "tabla.h"

#include <algorithm>
#include <utility>

namespace pelmora {

namespace {

constexpr int kHueco = 3; // blanks between columns

QString sinBlancosFinales(QString l)
{
    while (l.endsWith(QLatin1Char(' ')))
        l.chop(1);
    return l + QLatin1Char('\n');
}

// The first figure column of group g and how many it spans.
std::pair<int, int> rangoGrupo(const Tabla &t, int g)
{
    if (t.tamanosGrupos.empty())
        return {g * t.columnasPorGrupo, t.columnasPorGrupo};
    int primera = 0;
    for (int k = 0; k < g && k < int(t.tamanosGrupos.size()); ++k)
        primera += t.tamanosGrupos[size_t(k)];
    return {primera, g < int(t.tamanosGrupos.size()) ? t.tamanosGrupos[size_t(g)] : 0};
}

// Widths of the caption column and of each figure column.
struct Anchos {
    int titulo = 0;
    std::vector<int> columnas;

    // The width of the columns [primera, primera + cuantas) and the gaps
    // between them.
    int grupo(std::pair<int, int> rango) const
    {
        const auto [primera, cuantas] = rango;
        int total = 0;
        for (int j = primera; j < primera + cuantas && j < int(columnas.size()); ++j)
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
        const int primera = rangoGrupo(t, g).first;
        const int falta = int(t.grupos[g].size()) - a.grupo(rangoGrupo(t, g));
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
            const QString celda = j < celdas.size() ? celdas[j] : QString();
            l += j < t.columnasIzquierda ? celda.leftJustified(a.columnas[size_t(j)])
                                         : celda.rightJustified(a.columnas[size_t(j)]);
        }
        return sinBlancosFinales(l);
    };

    QString r;
    if (!t.grupos.isEmpty()) {
        QString l(a.titulo, QLatin1Char(' '));
        for (int g = 0; g < t.grupos.size(); ++g)
            l += QString(kHueco, QLatin1Char(' ')) + t.grupos[g].rightJustified(a.grupo(rangoGrupo(t, g)));
        r += sinBlancosFinales(l);
    }
    if (!t.cabeceras.isEmpty())
        r += linea(QString(), t.cabeceras);
    for (const auto &f : t.filas)
        r += linea(f.value(0), f.mid(1));
    return r;
}

} // namespace pelmora
