// Pelmora: annual cost of a coach and price of concrete services.
//
//   pelmora [--sin-presentacion] [ARCHIVO.clc]
//   pelmora --help | --version
//
// The command line is read before anything of the window system starts, so
// that help, the version and a wrong usage (exit code 64) are answered
// without a display. With a calculation file (a double click in the file
// manager) the program opens it at once, without the splash window, as
// "Abrir ..." would; when it cannot be read the program says why and goes on
// without a calculation, on the start dialog. --sin-presentacion skips the
// splash window.
#include "entrada/numeros.h"
#include "interfaz/dialogos/dialogos.h"
#include "interfaz/soporte/rutas.h"
#include "interfaz/ventana/lineaordenes.h"
#include "interfaz/ventana/ventanaprincipal.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>

int main(int argc, char *argv[])
{
    QStringList argumentos;
    for (int i = 0; i < argc; ++i)
        argumentos << QString::fromLocal8Bit(argv[i]);
    const pelmora::LineaOrdenes linea = pelmora::leerLineaOrdenes(argumentos);
    if (linea.salida) {
        const QByteArray texto = linea.texto.toUtf8();
        std::fwrite(texto.constData(), 1, size_t(texto.size()), *linea.salida == 0 ? stdout : stderr);
        return *linea.salida;
    }

    QApplication app(argc, argv);
    pelmora::fijarDatosPrograma();
    // The program speaks Spanish whatever the system's language: so do Qt's
    // own dialogs (file chooser, print dialog) where their translation exists.
    QTranslator qtEspanol;
    if (qtEspanol.load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtEspanol);
    // Matches the installed desktop entry (window grouping, Wayland app id).
    QGuiApplication::setDesktopFileName(QStringLiteral("es.pelmora.pelmora"));
    // The program's logo, drawn once at one size: cheaper at start-up than
    // an SVG icon, which the window system would have drawn at several.
    QApplication::setWindowIcon(QIcon(pelmora::imagenPrograma(QStringLiteral("logo"), QSize(64, 64))));
    pelmora::fijarSeparadores(QLocale::system());

    if (linea.presentacion) {
        pelmora::DialogoPresentacion splash;
        splash.exec();
    }

    pelmora::VentanaPrincipal principal;
    principal.show();
    if (linea.archivo.isEmpty() || !principal.abrirArchivoInicial(linea.archivo))
        principal.mostrarNueva();
    return app.exec();
}
