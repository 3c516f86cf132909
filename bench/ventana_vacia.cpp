// The baseline for the start-up benchmark: a bare main window, built with
// the same compiler flags as the program, at about the program's window size.
// With --con-menu it also has a one-item menu bar, so that it loads fonts
// and the style's menu-bar icon as any window with a menu does.
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow ventana;
    ventana.setWindowTitle(QStringLiteral("Ventana"));
    if (app.arguments().contains(QStringLiteral("--con-menu")))
        ventana.menuBar()->addMenu(QStringLiteral("Archivo"))->addAction(QStringLiteral("Salir"), &app,
                                                                          &QApplication::quit);
    ventana.resize(800, 600);
    ventana.show();
    return app.exec();
}
