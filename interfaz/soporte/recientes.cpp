#include "interfaz/soporte/recientes.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <cstdio>
#include <utility>

namespace pelmora {

namespace {

// The settings go with the user's data folder (~/.local/share/Pelmora):
// the program sets no organisation name of its own, which would move that
// folder, so it is named here.
const QString kOrganizacion = QStringLiteral("Pelmora");
const QString kAplicacion = QStringLiteral("Pelmora");
const QString kClave = QStringLiteral("ArchivosRecientes");

// Where a file really is; a file that has gone, by its cleaned absolute path.
QString rutaReal(const QString &ruta)
{
    const QFileInfo f(ruta);
    const QString real = f.canonicalFilePath();
    return real.isEmpty() ? QDir::cleanPath(f.absoluteFilePath()) : real;
}

// Each file once, the first place kept, at most kMaxRecientes.
QStringList depurar(const QStringList &rutas)
{
    QStringList r;
    QSet<QString> vistas;
    for (const QString &ruta : rutas) {
        if (ruta.isEmpty())
            continue;
        const QString real = rutaReal(ruta);
        if (vistas.contains(real))
            continue;
        vistas.insert(real);
        r << real;
        if (r.size() == kMaxRecientes)
            break;
    }
    return r;
}

// The settings are read and written only where their file is a regular
// file, or none yet: a pipe there would block the program for good, and
// anything else would be replaced. The odd file is left alone, and said
// once.
bool ajustesUtilizables()
{
    // Where QSettings keeps them, named without making one, which would
    // already open the file.
    const QString ruta = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') +
                         kOrganizacion + QLatin1Char('/') + kAplicacion + QStringLiteral(".conf");
    const QFileInfo info(ruta);
    if (!info.exists() || info.isFile())
        return true;
    static bool dicho = false;
    if (!std::exchange(dicho, true)) {
        const QByteArray aviso = QStringLiteral("pelmora: %1 no es un archivo normal: no se leen ni se graban los "
                                                "ajustes (archivos recientes).\n")
                                     .arg(QDir::toNativeSeparators(ruta))
                                     .toUtf8();
        std::fwrite(aviso.constData(), 1, size_t(aviso.size()), stderr);
    }
    return false;
}

void grabarLista(const QStringList &rutas)
{
    if (!ajustesUtilizables())
        return;
    QSettings ajustes(kOrganizacion, kAplicacion);
    ajustes.setValue(kClave, rutas);
}

} // namespace

QStringList archivosRecientes()
{
    if (!ajustesUtilizables())
        return {};
    const QSettings ajustes(kOrganizacion, kAplicacion);
    return depurar(ajustes.value(kClave).toStringList());
}

void anotarReciente(const QString &ruta)
{
    if (ruta.isEmpty())
        return;
    grabarLista(depurar(QStringList{ruta} + archivosRecientes()));
}

void quitarReciente(const QString &ruta)
{
    QStringList lista = archivosRecientes();
    lista.removeAll(rutaReal(ruta));
    grabarLista(lista);
}

MenuRecientes::MenuRecientes(QMenu *menu, std::function<void(const QString &)> abrir)
    : QObject(menu), menu_(menu), abrir_(std::move(abrir))
{
    menu_->setToolTipsVisible(true);
    // The list may have changed in another copy of the program meanwhile.
    connect(menu_, &QMenu::aboutToShow, this, &MenuRecientes::actualizar);
    actualizar();
}

void MenuRecientes::actualizar()
{
    menu_->clear();
    const QStringList lista = archivosRecientes();
    if (lista.isEmpty()) {
        QAction *a = menu_->addAction(QStringLiteral("Ningún cálculo reciente"));
        a->setObjectName(QStringLiteral("mnuRecienteNinguno"));
        a->setEnabled(false);
        return;
    }
    for (qsizetype k = 0; k < lista.size(); ++k) {
        const QString &ruta = lista[k];
        QString nombre = QFileInfo(ruta).fileName();
        nombre.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction *a = menu_->addAction(QStringLiteral("&%1 %2").arg(k + 1).arg(nombre));
        a->setObjectName(QStringLiteral("mnuReciente%1").arg(k + 1));
        a->setToolTip(QDir::toNativeSeparators(ruta));
        a->setStatusTip(a->toolTip());
        // Run once the menu has closed, so that messages and the forms do
        // not come up from inside it.
        connect(a, &QAction::triggered, this, [this, ruta] { abrir_(ruta); }, Qt::QueuedConnection);
    }
}

} // namespace pelmora
