#include "referencia.h"

#include "archivos/referencia.h"
#include "calculo/campos.h"
#include "opciones.h"
#include "salida.h"

namespace pelmora {

QCommandLineOption opcionReferencia() { return QCommandLineOption(QStringLiteral("referencia-de")); }

QString comprobarReferencia(const QStringList &posicionales, bool json)
{
    if (json)
        return QStringLiteral("--referencia-de no admite --json");
    if (posicionales.size() != 2)
        return QStringLiteral("--referencia-de pide ARCHIVO y CATEGORIA");
    if (categoriaDeTexto(posicionales[1]) < 0)
        return QStringLiteral("categoría desconocida: ") + posicionales[1]
               + QStringLiteral(" (10-25, 26-38, 39-55, 56+, o de 1 a 4)");
    return QString();
}

int escribirReferencia(const QString &archivo, const QString &categoria)
{
    const int k = categoriaDeTexto(categoria);
    Columna s, o;
    if (const ErrorArchivo e = leerReferencia(archivo, s, o); e != ErrorArchivo::Ninguno) {
        escribir(stderr, mensajeErrorArchivo(e) + QLatin1Char('\n'));
        return kSalidaArchivo;
    }
    const Valor &plazas = o(Seccion::Caracteristicas, Car::Plazas);
    if (!plazasEnCategoria(k, plazas.n()))
        escribir(stderr, QStringLiteral("pelmora-calc: aviso: el autocar tiene %1 plazas, fuera de la categoría %2.\n")
                             .arg(plazas.n())
                             .arg(QString::fromUtf8(kCategorias[k].descripcion)));
    escribir(stdout, bytesReferencia(s, o));
    return terminarSalida();
}

} // namespace pelmora
