#include "interfaz/soporte/rutas.h"

#include "archivos/referencia.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace pelmora {

namespace {

QString g_programa;    // empty: chosen from the executable's folder
QString g_ejecutable;  // empty: QCoreApplication::applicationDirPath()
QString g_documentos;  // empty: the system's documents folder

const QString kReferencia = QStringLiteral("Vededizaviro");
const QString kCalculos = QStringLiteral("Cálculos");

// Forward slashes, no "." or "..", no trailing separator.
QString limpiar(const QString &carpeta)
{
    return carpeta.isEmpty() ? carpeta : QDir::cleanPath(QDir::fromNativeSeparators(carpeta));
}

bool tieneReferencia(const QString &carpeta)
{
    return !carpeta.isEmpty() && QFileInfo(carpeta + QLatin1Char('/') + kReferencia).isDir();
}

// The installed data folder as seen from the executable: the install tree
// can be moved (or staged under DESTDIR) as a whole.
QString datosJuntoAlEjecutable()
{
#ifdef PELMORA_DATOS_RELATIVOS
    return limpiar(carpetaEjecutable() + QLatin1Char('/') + QString::fromUtf8(PELMORA_DATOS_RELATIVOS));
#else
    return QString();
#endif
}

} // namespace

QString carpetaEjecutable()
{
    return limpiar(g_ejecutable.isEmpty() ? QCoreApplication::applicationDirPath() : g_ejecutable);
}

void fijarCarpetaEjecutable(const QString &carpeta) { g_ejecutable = carpeta; }

QString carpetaDatosInstalados()
{
#ifdef PELMORA_DATOS_INSTALADOS
    return limpiar(QString::fromUtf8(PELMORA_DATOS_INSTALADOS));
#else
    return QString();
#endif
}

QString carpetaPrograma()
{
    if (!g_programa.isEmpty())
        return limpiar(g_programa);
    const QString ejecutable = carpetaEjecutable();
    if (tieneReferencia(ejecutable))
        return ejecutable;
    for (const QString &c : {datosJuntoAlEjecutable(), carpetaDatosInstalados()})
        if (tieneReferencia(c))
            return c;
    return ejecutable;
}

void fijarCarpetaPrograma(const QString &carpeta) { g_programa = carpeta; }

QString carpetaReferencia() { return carpetaPrograma() + QLatin1Char('/') + kReferencia; }

QString rutaReferencia(const QString &archivo) { return carpetaReferencia() + QLatin1Char('/') + archivo; }

bool programaEnSuCarpeta()
{
    return !g_programa.isEmpty() || tieneReferencia(carpetaEjecutable());
}

QString carpetaDocumentos()
{
    if (!g_documentos.isEmpty())
        return limpiar(g_documentos);
    return limpiar(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

void fijarCarpetaDocumentos(const QString &carpeta) { g_documentos = carpeta; }

QString carpetaCalculos()
{
    if (programaEnSuCarpeta()) {
        const QString programa = carpetaPrograma();
        const QString junto = programa + QLatin1Char('/') + kCalculos;
        const QFileInfo f(junto);
        if (f.isDir() ? f.isWritable() : (!f.exists() && QDir(programa).mkdir(kCalculos)))
            return junto;
    }
    const QString documentos = carpetaDocumentos();
    if (documentos.isEmpty())
        return QString();
    const QString propia = documentos + QLatin1Char('/') + kCalculos;
    if (QFileInfo(propia).isDir() || QDir().mkpath(propia))
        return propia;
    return QString();
}

bool esArchivoDeReferencia(const QString &ruta)
{
    // Judged by where the file really is, links followed, however the
    // path is spelt.
    const QString real = ruta.isEmpty() ? QString() : QFileInfo(ruta).canonicalFilePath();
    for (const QString &carpeta : {carpetaReferencia(), carpetaReferenciaUsuario()}) {
        const QString referencia = carpeta.isEmpty() ? QString() : QFileInfo(carpeta).canonicalFilePath();
        if (!referencia.isEmpty() && real.startsWith(referencia + QLatin1Char('/')))
            return true;
    }
    return false;
}

} // namespace pelmora
