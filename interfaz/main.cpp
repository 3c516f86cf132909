// Pelmora: annual cost of a coach and price of concrete services.
#include "entrada/numeros.h"
#include "interfaz/dialogos.h"
#include "interfaz/ventanaprincipal.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    pelmora::FijarDatosPrograma();
    pelmora::FijarSeparadores(QLocale::system());

    // pelmora [--sin-presentacion] [ARCHIVO.clc]
    bool presentacion = true;
    QString archivo;
    const QStringList argumentos = app.arguments();
    for (int i = 1; i < argumentos.size(); ++i) {
        const QString &a = argumentos.at(i);
        if (a == QLatin1String("--sin-presentacion"))
            presentacion = false;
        else if (archivo.isEmpty() && a.endsWith(QLatin1String(".clc"), Qt::CaseInsensitive))
            archivo = a;
    }

    if (presentacion) {
        pelmora::DialogoPresentacion splash;
        splash.exec();
    }

    pelmora::VentanaPrincipal principal;
    principal.show();
    if (archivo.isEmpty() || !principal.abrirArchivoInicial(archivo))
        principal.mostrarNueva();
    return app.exec();
}
