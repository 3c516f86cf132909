// A second program writing quotes into a register: hijo_registro RUTA
// NOMBRE CUANTOS (0: until it is killed). Exit code 1 on a failed write.
#include "presupuesto_prueba.h"
#include "registro/registro.h"

#include <QCoreApplication>
#include <cstdio>

using namespace pelmora;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() != 4)
        return 64;
    Registro r;
    if (const ErrorRegistro e = r.abrir(a[1]); e != ErrorRegistro::Ninguno) {
        std::fprintf(stderr, "%s\n", qPrintable(r.mensaje(e)));
        return 1;
    }
    const int cuantos = a[3].toInt();
    for (int i = 0; cuantos == 0 || i < cuantos; ++i) {
        Presupuesto p = presupuestoDePrueba(i, a[2]);
        if (const ErrorRegistro e = r.guardarNuevo(p); e != ErrorRegistro::Ninguno) {
            std::fprintf(stderr, "%s\n", qPrintable(r.mensaje(e)));
            return 1;
        }
    }
    return 0;
}
