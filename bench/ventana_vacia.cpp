// The baseline for the start-up benchmark: a bare main window, built with
// the same compiler flags as the program, at about the program's window size.
// With --con-menu it also has a one-item menu bar, so that it loads fonts
// and the style's menu-bar icon as any window with a menu does. With
// --menus-completos it has a menu bar like Pelmora's: the same seven menus,
// submenus, items and shortcuts, none of them doing anything.
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

namespace {

// Pelmora's menus: a caption starting with '>' opens a submenu whose items
// follow up to "<"; "-" is a separator.
const char *const kMenus[][16] = {
    {"Cálculo", "Nuevo Cálculo", "Cerrar Cálculo", "-", "Salir"},
    {"Archivo", "Abrir ...", "Guardar ...", "Guardar como..."},
    {"Formularios", "Características Técnicas y de Explotación", ">Costes repercutidos a todos los servicios",
     "Amortización y Financiación", "Personal, Seguros y Costes Fiscales", "Costes Variables", "Costes Indirectos",
     "Resultados", "<", "Coste de un servicio concreto"},
    {"Imprimir", "Características Técnicas y de Explotación", ">Costes repercutidos a todos los servicios",
     "Amortización y Financiación", "Personal, Seguros y Costes Fiscales", "Costes Variables", "Costes Indirectos",
     "Resultados", "<", "Costes de un servicio concreto", "Todos los formularios", "-", "Exportar a PDF...",
     "Vista preliminar..."},
    {"Edición", "Cortar", "Copiar", "Pegar"},
    {"Ayuda", "Contenido", "-", "Acerca de ..."},
    {"Vededizaviro de Costes", "Acuerdos"},
};

void menusCompletos(QMenuBar *barra)
{
    for (const auto &m : kMenus) {
        QMenu *menu = barra->addMenu(QString::fromUtf8(m[0]));
        QMenu *donde = menu;
        for (int k = 1; k < 16 && m[k]; ++k) {
            const QString t = QString::fromUtf8(m[k]);
            if (t == QLatin1String("-"))
                donde->addSeparator();
            else if (t.startsWith(QLatin1Char('>')))
                donde = donde->addMenu(t.mid(1));
            else if (t == QLatin1String("<"))
                donde = menu;
            else
                donde->addAction(t);
        }
    }
    const char *const atajos[][2] = {{"Cortar", "Ctrl+X"}, {"Copiar", "Ctrl+C"}, {"Pegar", "Ctrl+V"}};
    for (QAction *a : barra->actions().at(4)->menu()->actions())
        for (const auto &[texto, atajo] : atajos)
            if (a->text() == QString::fromUtf8(texto))
                a->setShortcut(QKeySequence(QLatin1String(atajo)));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow ventana;
    ventana.setWindowTitle(QStringLiteral("Ventana"));
    if (app.arguments().contains(QStringLiteral("--con-menu")))
        ventana.menuBar()->addMenu(QStringLiteral("Archivo"))->addAction(QStringLiteral("Salir"), &app,
                                                                          &QApplication::quit);
    if (app.arguments().contains(QStringLiteral("--menus-completos")))
        menusCompletos(ventana.menuBar());
    // --alto-pantalla: as tall as the screen's work area, as Pelmora's
    // window is (the same pixels to fill on the first frame).
    if (app.arguments().contains(QStringLiteral("--alto-pantalla")))
        ventana.resize(800, ventana.screen()->availableGeometry().height());
    else
        ventana.resize(800, 600);
    ventana.show();
    return app.exec();
}
