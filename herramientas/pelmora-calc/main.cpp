// pelmora-calc: opens a calculation file as the program does and prints its
// results as a readable report, or every entry of both columns as JSON; or
// the sensitivity of one calculation, or several calculations side by side;
// or the reference file the program's import would write from a file; or
// the prices of the services; or the register of quotes.
//
// Exit codes: 0 done, 1 the output could not be written, 2 a file cannot
// be read (the reason goes to standard error), 64 wrong usage (the usage
// text goes to standard error).

#include "analisis.h"
#include "archivos/archivo.h"
#include "entrada/numeros.h"
#include "opciones.h"
#include "precio.h"
#include "referencia.h"
#include "salida.h"

#include <QCoreApplication>

using namespace pelmora;

int main(int argc, char **argv)
{
    // The arguments byte for byte: a file name need not be UTF-8.
    QStringList argumentos;
    for (int k = 0; k < argc; ++k)
        argumentos << nombreDeArchivo(argv[k]);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(PELMORA_VERSION));
    fijarSeparadores();

    const LineaOrdenesCalc linea = leerOpciones(argumentos);
    if (!linea.opciones)
        return linea.salida;
    const Opciones &o = *linea.opciones;
    if (o.referenciaDe)
        return escribirReferencia(o.archivo, o.categoria);
    if (o.precio)
        return escribirPrecios(o);
    if (o.presupuestos)
        return listarPresupuestos(o);
    if (const std::optional<int> salida = ejecutarAnalisis(o))
        return *salida;

    Calculo calculo;
    if (const ErrorArchivo err = AbrirArchivo(calculo, o.archivo); err != ErrorArchivo::Ninguno) {
        escribir(stderr, mensajeErrorArchivo(err) + QLatin1Char('\n'));
        return kSalidaArchivo;
    }
    escribir(stdout, generar(o.formato, calculo, o.archivo));
    return terminarSalida();
}
