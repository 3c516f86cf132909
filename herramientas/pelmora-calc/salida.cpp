#include "salida.h"

#include "archivos/json.h"
#include "informe.h"

namespace pelmora {

void escribir(FILE *f, const QByteArray &b) { std::fwrite(b.constData(), 1, size_t(b.size()), f); }

void escribir(FILE *f, const QString &texto) { escribir(f, texto.toUtf8()); }

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
