#include "registro/listado.h"

#include "archivos/json.h"

namespace pelmora {

FilaCsv cabeceraCsvRegistro()
{
    return {"Número", "Fecha", "Cliente", "Viaje", "Total", "Estado"};
}

FilaCsv filaCsvRegistro(const FilaRegistro &f, const QDate &hoy)
{
    return {f.numero(), f.fecha.toString(QStringLiteral("dd/MM/yyyy")), f.cliente, f.viaje,
            CeldaCsv::numero(double(f.total) / 100.0, 2), f.estadoMostrado(hoy)};
}

QByteArray filaJsonRegistro(const FilaRegistro &f, const QDate &hoy)
{
    return "{\"Numero\": " + textoJson(f.numero()) + ", \"Fecha\": " + textoJson(f.fecha.toString(Qt::ISODate)) +
           ", \"Cliente\": " + textoJson(f.cliente) + ", \"Viaje\": " + textoJson(f.viaje) +
           ", \"Total\": " + importePlano(f.total).toLatin1() + ", \"Estado\": " + textoJson(f.estadoMostrado(hoy)) +
           ", \"Emitido\": " + (f.emitido ? "true" : "false") + "}\n";
}

} // namespace pelmora
