#include "analisis/comparacion.h"

#include "archivos/archivo.h"
#include "entrada/numeros.h"

#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>
#include <vector>

namespace pelmora {

CifrasColumna cifrasColumna(const Columna &c, bool referencia)
{
    CifrasColumna r;
    r.descripcion = FormatearNumero(c(Seccion::Caracteristicas, Car::Descripcion), -1, false);
    r.plazas = c(Seccion::Caracteristicas, Car::Plazas);
    r.resultados = resultadosDe(c);
    r.indirectosDesglosados = !c(Seccion::CostesIndirectos, Ind::Desglosado).esFalso();
    r.referencia = referencia;
    return r;
}

Valor CifrasColumna::mostrado(int n) const
{
    using namespace Res;
    if (n < 1 || n > kRanurasResultado)
        return Valor();
    const bool desglose = n >= Estructura && n <= OtrosIndirectos;
    const bool cuotaDesglose = n >= cuota(Estructura) && n <= cuota(OtrosIndirectos);
    if (!indirectosDesglosados && (desglose || cuotaDesglose))
        return Valor();
    if (referencia && (n == ViajerosKm || n == C1))
        return Valor();
    return resultados[size_t(n - 1)];
}

CalculoComparado compararCalculo(const Calculo &c, const QString &ruta)
{
    CalculoComparado r;
    r.ruta = ruta;
    r.usuario = cifrasColumna(c.columnaS(), false);
    r.referencia = cifrasColumna(c.columnaO(), true);
    r.categoria = FormatearNumero(c.columnaS()(Seccion::Caracteristicas, Car::Categoria), -1, false);
    for (int k = 0; k < Serv::kServicios; ++k) {
        const Valor &v = c.columnaS()(Seccion::Servicio, Serv::campo(k, Serv::PrecioKmYHoras));
        // The service form shows no price of 0.
        r.servicios[size_t(k)] = v.esCero() ? Valor() : v;
    }
    return r;
}

CalculoComparado compararArchivo(const QString &ruta)
{
    Calculo c;
    if (const ErrorArchivo e = AbrirArchivo(c, ruta); e != ErrorArchivo::Ninguno) {
        CalculoComparado r;
        r.ruta = ruta;
        r.error = mensajeErrorArchivo(e);
        return r;
    }
    return compararCalculo(c, ruta);
}

namespace {

// The calculation files of one folder, then its folders, each in path
// order: a folder's name sorts as if it ended with its "/", so that the
// walk gives the order of the whole paths.
qsizetype recorrerCarpeta(const QString &carpeta, const std::function<void(const QString &)> &cada)
{
    struct Entrada {
        QString clave;
        QString ruta;
        bool carpeta;
    };
    std::vector<Entrada> entradas;
    QDirIterator archivos(carpeta, {QStringLiteral("*.clc")}, QDir::Files);
    while (archivos.hasNext()) {
        archivos.next();
        entradas.push_back({archivos.fileName(), archivos.filePath(), false});
    }
    QDirIterator carpetas(carpeta, QDir::Dirs | QDir::NoDotAndDotDot);
    while (carpetas.hasNext()) {
        carpetas.next();
        if (!carpetas.fileInfo().isSymLink())
            entradas.push_back({carpetas.fileName() + QLatin1Char('/'), carpetas.filePath(), true});
    }
    std::sort(entradas.begin(), entradas.end(), [](const Entrada &a, const Entrada &b) { return a.clave < b.clave; });
    qsizetype n = 0;
    for (const Entrada &e : entradas) {
        if (e.carpeta) {
            n += recorrerCarpeta(e.ruta, cada);
        } else {
            cada(e.ruta);
            ++n;
        }
    }
    return n;
}

} // namespace

qsizetype recorrerCalculos(const QString &ruta, const std::function<void(const QString &)> &cada)
{
    if (QFileInfo(ruta).isDir())
        return recorrerCarpeta(ruta, cada);
    cada(ruta);
    return 1;
}

} // namespace pelmora
