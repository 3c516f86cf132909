#include "analisis/comparacion.h"

#include "archivos/archivo.h"
#include "entrada/numeros.h"


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
    LectorCalculos lector;
    return compararArchivo(ruta, lector);
}

CalculoComparado compararArchivo(const QString &ruta, LectorCalculos &lector, bool regular)
{
    if (const ErrorArchivo e = lector.abrir(ruta, regular); e != ErrorArchivo::Ninguno) {
        CalculoComparado r;
        r.ruta = ruta;
        r.error = mensajeErrorArchivo(e);
        return r;
    }
    return compararCalculo(lector.calculo(), ruta);
}

qsizetype recorrerCalculos(const QString &ruta, const std::function<void(const QString &ruta, bool regular)> &cada)
{
    if (esCarpeta(ruta))
        return recorrerCarpetaDeCalculos(ruta, cada);
    cada(ruta, false);
    return 1;
}

QStringList calculosEn(const QStringList &rutas)
{
    QStringList r;
    for (const QString &ruta : rutas)
        recorrerCalculos(ruta, [&](const QString &c, bool) { r << c; });
    return r;
}

} // namespace pelmora
