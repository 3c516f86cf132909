#include "interfaz/rutas.h"

#include <QCoreApplication>
#include <QDir>

namespace pelmora {

namespace {
QString g_carpeta; // empty: the executable's folder
}

QString carpetaPrograma()
{
    QString c = g_carpeta.isEmpty() ? QCoreApplication::applicationDirPath() : g_carpeta;
    c = QDir::fromNativeSeparators(c);
    while (c.size() > 1 && c.endsWith(QLatin1Char('/')))
        c.chop(1);
    return c;
}

void fijarCarpetaPrograma(const QString &carpeta) { g_carpeta = carpeta; }

QString carpetaReferencia() { return carpetaPrograma() + QStringLiteral("/Vededizaviro"); }

QString rutaReferencia(const QString &archivo) { return carpetaReferencia() + QLatin1Char('/') + archivo; }

} // namespace pelmora
