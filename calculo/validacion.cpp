#include "calculo/validacion.h"

#include "calculo/campos.h"
#include "calculo/catalogo.h"
#include "entrada/caracteres.h"
#include "entrada/numeros.h"

#include <cmath>

namespace pelmora {

namespace {

const QString kSalto = QStringLiteral("\r\n");

bool esKmServicio(int i) { return i >= Serv::base(0) && Serv::fila(i) == Serv::Km; }
bool esHorasServicio(int i) { return i >= Serv::base(0) && Serv::fila(i) == Serv::Horas; }

} // namespace

std::optional<PosicionDescuento> compararDescuento(double descuento, double precio)
{
    const CampoInfo &pct = campo(Seccion::CostesVariables, Var::PctDescuento);
    const int decimalesDescuento = campo(Seccion::CostesVariables, Var::Descuento).decimales;
    const auto maximo = Redondear(pct.maximo * precio / 100, decimalesDescuento);
    const auto minimo = Redondear(pct.minimo * precio / 100, decimalesDescuento);
    if (!maximo || !minimo)
        return std::nullopt;
    if (descuento > *maximo)
        return PosicionDescuento::PorEncima;
    if (descuento < *minimo)
        return PosicionDescuento::PorDebajo;
    return PosicionDescuento::Dentro;
}

Validacion ValidarCampo(Seccion seccion, const Columna &s, int i)
{
    Validacion r;
    const CampoInfo &info = campo(seccion, i);
    const Valor &v = s(seccion, i);

    if (info.esTexto()) {
        const int minimo = static_cast<int>(info.minimo);
        const int largo = v.esTexto() ? static_cast<int>(v.texto().size())
                                      : static_cast<int>(FormatearNumero(v, -1, true).size());
        if (largo < minimo) {
            r.rechazado = true;
            r.mensaje = QStringLiteral("El mínimo de caracteres es de ") + QString::number(minimo) +
                        QStringLiteral(".") + kSalto + kSalto;
        }
        // The calculation file is 8-bit: a character it cannot hold would be lost.
        if (const QString malos = v.esTexto() ? caracteresNoGrabables(v.texto()) : QString(); !malos.isEmpty()) {
            r.rechazado = true;
            r.mensaje += QStringLiteral("El texto contiene caracteres que no se pueden grabar: ") + malos + kSalto +
                         kSalto;
        }
        return r;
    }
    if (info.limite != Limite::Numero)
        return r;

    const double x = v.n();
    r.rechazado = x < info.minimo || x > info.maximo;

    QString frases;
    auto falla = [&](const QString &frase) {
        r.rechazado = true;
        frases += frase + kSalto + kSalto;
    };
    if (seccion == Seccion::CostesVariables && i == Var::Descuento) {
        const CampoInfo &pct = campo(Seccion::CostesVariables, Var::PctDescuento);
        const double precio = s(Seccion::CostesVariables, Var::PrecioCarburante).n();
        if (precio > 0 && compararDescuento(x, precio).value_or(PosicionDescuento::Dentro) != PosicionDescuento::Dentro)
            falla(QStringLiteral("El porcentaje de descuento debe estar entre el ") +
                  FormatearNumero(Valor(pct.minimo), 1, true) + QStringLiteral("%") + QStringLiteral(" y el ") +
                  FormatearNumero(Valor(pct.maximo), 1, true) + QStringLiteral("%."));
    }
    if (seccion == Seccion::CostesVariables && Var::esNeumaticos(i) && i == Var::filaNeumaticos(i)) {
        if (std::fmod(std::nearbyint(x), 2.0) == 1.0)
            falla(QStringLiteral("El número de neumáticos debe ser par."));
    }
    if (seccion == Seccion::Servicio && esKmServicio(i) && x > s(Seccion::Caracteristicas, Car::KmFacturados).n())
        falla(QStringLiteral("El número de kilómetros facturados en este servicio no puede ser mayor que el total."));
    if (seccion == Seccion::Servicio && esHorasServicio(i) && x > s(Seccion::Caracteristicas, Car::HorasFacturadas).n())
        falla(QStringLiteral("El número de horas facturadas en este servicio no puede ser mayor que el total."));

    if (r.rechazado) {
        r.mensaje = QStringLiteral("Valor mínimo = ") + FormatearNumero(Valor(info.minimo), info.decimales, true) +
                    kSalto + kSalto + QStringLiteral("Valor máximo = ") +
                    FormatearNumero(Valor(info.maximo), info.decimales, true) + kSalto + kSalto + frases;
    }
    return r;
}

} // namespace pelmora
