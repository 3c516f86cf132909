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
#include "archivos/archivo.h"
#include "entrada/numeros.h"
#include "interfaz/dialogos/dialogos.h"
#include "interfaz/soporte/idioma.h"
#include "interfaz/soporte/rutas.h"
#include "interfaz/ventana/lineaordenes.h"
#include "interfaz/ventana/ventanaprincipal.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <cstdio>
#include <thread>
#ifdef PELMORA_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

int main(int argc, char *argv[])
{
    QStringList argumentos;
    for (int i = 0; i < argc; ++i)
        argumentos << QString::fromLocal8Bit(argv[i]);
    const pelmora::LineaOrdenes linea = pelmora::leerLineaOrdenes(argumentos);
    if (linea.salida) {
        const QByteArray texto = linea.texto.toUtf8();
        FILE *const salida = *linea.salida == 0 ? stdout : stderr;
        std::fwrite(texto.constData(), 1, size_t(texto.size()), salida);
        // Help or the version that did not go out whole is a failure.
        if (const QString motivo = pelmora::vaciarSalida(salida); !motivo.isEmpty() && salida == stdout) {
            const QByteArray aviso = ("pelmora: no se pudo escribir la salida: " + motivo + '\n').toUtf8();
            std::fwrite(aviso.constData(), 1, size_t(aviso.size()), stderr);
            return 1;
        }
        return *linea.salida;
    }

    pelmora::fijarIdiomaMensajes();
#ifdef PELMORA_FONTCONFIG
    // Reading fontconfig's configuration and font cache is the longest step
    // before the first text can be drawn; it goes on beside connecting to the
    // display and building the window, and Qt finds it done (fontconfig
    // keeps one configuration per process and is safe across threads).
    std::thread letras([] { FcInit(); });
#endif
    QApplication app(argc, argv);
    pelmora::fijarDatosPrograma();
    pelmora::instalarTraduccionQt();
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
    const int salida = app.exec();
#ifdef PELMORA_FONTCONFIG
    letras.join();
#endif
    return salida;
}
