#include "interfaz/soporte/idioma.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace pelmora {

void fijarIdiomaMensajes() { qputenv("LANGUAGE", "es"); }

bool instalarTraduccionQt()
{
    static QTranslator qtEspanol;
    if (!qtEspanol.isEmpty())
        return true;
    if (!qtEspanol.load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&qtEspanol);
}

} // namespace pelmora
