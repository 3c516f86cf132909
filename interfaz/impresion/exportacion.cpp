#include "interfaz/impresion/exportacion.h"

#include "archivos/archivo.h"
#include "interfaz/dialogos/mensaje.h"
#include "interfaz/soporte/ocupado.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace pelmora {

namespace {

QString g_ultimaCarpetaCsv; // folder of the last CSV file exported

const TipoExportacion kCsv = {QStringLiteral("Exportar a CSV"), QStringLiteral("dlgExportarCsv"),
                              QStringLiteral("Archivos CSV (*.csv)"), QStringLiteral("csv")};

} // namespace

void rotularDialogoArchivo(QFileDialog &d, const QString &aceptar)
{
    d.setLabelText(QFileDialog::LookIn, QStringLiteral("Buscar en:"));
    d.setLabelText(QFileDialog::FileName, QStringLiteral("Nombre del archivo:"));
    d.setLabelText(QFileDialog::FileType, QStringLiteral("Tipo:"));
    d.setLabelText(QFileDialog::Accept, aceptar);
    d.setLabelText(QFileDialog::Reject, QStringLiteral("Cancelar"));
}

QString conExtension(QString ruta, const QString &extension)
{
    const QString punto = QLatin1Char('.') + extension;
    if (!ruta.endsWith(punto, Qt::CaseInsensitive))
        ruta += punto;
    return ruta;
}

QString pedirRutaExportacion(QWidget *padre, const TipoExportacion &tipo, const QString &propuesta)
{
    QString inicio = propuesta;
    for (;;) {
        QFileDialog d(padre, tipo.titulo, inicio, tipo.filtro);
        d.setObjectName(tipo.dialogo);
        d.setAcceptMode(QFileDialog::AcceptSave);
        d.setFileMode(QFileDialog::AnyFile);
        d.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
        d.setDefaultSuffix(tipo.extension);
        rotularDialogoArchivo(d, QStringLiteral("Guardar"));
        if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
            return QString();
        const QString ruta = conExtension(d.selectedFiles().constFirst(), tipo.extension);
        if (!QFileInfo::exists(ruta))
            return ruta;
        // An existing file is replaced only when the user says so.
        QMessageBox q(QMessageBox::Question, tipo.titulo,
                      QStringLiteral("El archivo ") + QDir::toNativeSeparators(ruta)
                          + QStringLiteral(" ya existe.\n¿Quieres reemplazarlo?"),
                      QMessageBox::NoButton, padre);
        QPushButton *si = q.addButton(QStringLiteral("Sí"), QMessageBox::YesRole);
        QPushButton *no = q.addButton(QStringLiteral("No"), QMessageBox::NoRole);
        q.setDefaultButton(no);
        q.setEscapeButton(no);
        q.exec();
        if (q.clickedButton() == si)
            return ruta;
        inicio = ruta;
    }
}

bool exportarACsv(QWidget *padre, const QByteArray &bytes, const QString &nombrePropuesto,
                  const QString &carpetaInicial)
{
    const QString carpeta = g_ultimaCarpetaCsv.isEmpty() ? carpetaInicial : g_ultimaCarpetaCsv;
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
    g_ultimaCarpetaCsv = QFileInfo(ruta).absolutePath();
    return true;
}

} // namespace pelmora
