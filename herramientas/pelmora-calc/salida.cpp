#include "salida.h"

#include "archivos/archivo.h"
#include "archivos/json.h"
#include "informe.h"

#include <cerrno>

namespace pelmora {

namespace {

int g_errorSalida = 0; // the system's error of the first write to standard output that failed

} // namespace

void escribir(FILE *f, const QByteArray &b)
{
    if (std::fwrite(b.constData(), 1, size_t(b.size()), f) != size_t(b.size()) && f == stdout && g_errorSalida == 0)
        g_errorSalida = errno;
}

void escribir(FILE *f, const QString &texto) { escribir(f, texto.toUtf8()); }

int terminarSalida()
{
    const QString motivo = vaciarSalida(stdout, g_errorSalida);
    if (motivo.isEmpty())
        return kSalidaBien;
    escribir(stderr, QStringLiteral("pelmora-calc: no se pudo escribir la salida: ") + motivo + QLatin1Char('\n'));
    return kSalidaEscritura;
}

QByteArray generar(Formato formato, const Calculo &calc, const QString &ruta)
{
    switch (formato) {
    case Formato::Json:
        return calculoJson(calc);
    case Formato::Informe:
        break;
    }
    return informe(calc, ruta).toUtf8();
}

} // namespace pelmora
