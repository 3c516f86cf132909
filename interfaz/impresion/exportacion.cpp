#include "interfaz/impresion/exportacion.h"

#include "archivos/archivo.h"
#include "interfaz/dialogos/comunes.h"
#include "interfaz/dialogos/mensaje.h"
#include "interfaz/soporte/ocupado.h"

#include <QDir>
#include <QFileInfo>

namespace pelmora {

namespace {

const TipoExportacion kCsv = {QStringLiteral("Exportar a CSV"), QStringLiteral("dlgExportarCsv"),
                              QStringLiteral("Archivos CSV (*.csv)"), QStringLiteral("csv")};

} // namespace

QString conExtension(QString ruta, const QString &extension)
{
    const QString punto = QLatin1Char('.') + extension;
    if (!ruta.endsWith(punto, Qt::CaseInsensitive))
        ruta += punto;
    return ruta;
}

QString pedirRutaExportacion(QWidget *padre, const TipoExportacion &tipo, const QString &propuesta)
{
    const PeticionArchivo p = {tipo.titulo,          tipo.dialogo, tipo.filtro, QStringLiteral("Guardar"),
                               QFileDialog::AcceptSave, QFileDialog::AnyFile, tipo.extension};
    QString inicio = propuesta;
    for (;;) {
        const QStringList elegidos = elegirArchivos(padre, p, inicio);
        if (elegidos.isEmpty())
            return QString();
        const QString ruta = conExtension(elegidos.constFirst(), tipo.extension);
        // An existing file is replaced only when the user says so.
        if (!QFileInfo::exists(ruta)
            || preguntarSiNo(padre, tipo.titulo,
                             QStringLiteral("El archivo ") + QDir::toNativeSeparators(ruta)
                                 + QStringLiteral(" ya existe.\n¿Quieres reemplazarlo?"),
                             QStringLiteral("dlgReemplazar")))
            return ruta;
        inicio = ruta;
    }
}

bool exportarACsv(QWidget *padre, const QByteArray &bytes, const QString &nombrePropuesto,
                  const QString &carpetaInicial)
{
    const QString carpeta = carpetaUltima(CarpetaUltima::Csv, carpetaInicial);
    const QString propuesta = QDir(carpeta).filePath(nombrePropuesto);
    QString ruta = interceptorArchivoCsv ? interceptorArchivoCsv(propuesta) : pedirRutaExportacion(padre, kCsv, propuesta);
    if (ruta.isEmpty())
        return false;
    ruta = conExtension(QDir::fromNativeSeparators(ruta), kCsv.extension);
    ErrorArchivo e = ErrorArchivo::Ninguno;
    if (!QFileInfo(ruta).absoluteDir().exists())
        e = ErrorArchivo::CarpetaNoExiste;
    else {
        const CursorOcupado ocupado;
        e = grabarBytes(ruta, bytes);
    }
    if (e != ErrorArchivo::Ninguno) {
        MostrarMensaje(QStringLiteral("No se ha podido grabar el archivo CSV:\r\n") + QDir::toNativeSeparators(ruta)
                           + QStringLiteral("\r\n\r\n") + mensajeErrorArchivo(e),
                       QStringLiteral("Error"), padre);
        return false;
    }
    recordarCarpeta(CarpetaUltima::Csv, ruta);
    return true;
}

} // namespace pelmora
