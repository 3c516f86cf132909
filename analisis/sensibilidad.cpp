#include "analisis/sensibilidad.h"

#include "analisis/rotulos.h"
#include "entrada/numeros.h"

#include <algorithm>
#include <cmath>

namespace pelmora {

namespace {

void copiarResultados(const Columna &c, ResultadosColumna &r)
{
    for (int n = 1; n <= kRanurasResultado; ++n)
        r[size_t(n - 1)] = c(Seccion::Resultados, n);
}

} // namespace

ResultadosColumna resultadosDe(const Columna &c)
{
    ResultadosColumna r;
    copiarResultados(c, r);
    return r;
}

double cifra(const ResultadosColumna &r, int n)
{
    if (n < 1 || n > kRanurasResultado)
        return 0;
    return r[size_t(n - 1)].n();
}

bool porcentajeValido(double porcentaje) { return porcentaje > 0 && porcentaje < 100; }

QString nombreCifra(int n)
{
    if (n == Res::Totales)
        return QStringLiteral("Coste total anual");
    const int cs[] = {Res::C1, Res::C2, Res::C3, Res::C4, Res::C5};
    for (int k = 0; k < 5; ++k)
        if (cs[k] == n)
            return QStringLiteral("C%1").arg(k + 1);
    return rotuloResultado(n).etiqueta;
}

QString rotuloLado(double porcentaje, bool alto)
{
    return (alto ? QStringLiteral("+") : QStringLiteral("-")) + FormatearNumero(Valor(porcentaje), -1, true) +
           QStringLiteral(" %");
}

std::vector<CampoAnalizado> camposSensibles(const Calculo &c)
{
    std::vector<CampoAnalizado> r;
    for (const DatosSeccion &d : kSecciones) {
        for (int i = 1; i <= d.tamano; ++i) {
            const CampoInfo &info = campo(d.seccion, i);
            if (info.limite != Limite::Numero ||
                (info.tipo != TipoCampo::Entrada && info.tipo != TipoCampo::Conmutable))
                continue;
            const EstadoCampo &e = c.estado(Col::S, d.seccion, i);
            if (!e.entrada || e.vacio)
                continue;
            const auto x = c.columnaS()(d.seccion, i).comoNumero();
            if (x && *x != 0 && std::isfinite(*x))
                r.push_back({d.seccion, i});
        }
    }
    return r;
}

Valor valorTecleado(Seccion s, int i, double x)
{
    const CampoInfo &info = campo(s, i);
    double r = Redondear(x, info.decimales).value_or(x);
    r = std::clamp(r, info.minimo, info.maximo);
    if (info.decimales >= 0)
        return Valor(numeroMostrado(r, info.decimales));
    // The figure as the box shows it, without the grouping that the box
    // does not let anyone type, then read as the box reads typed text.
    QString texto = FormatearNumero(Valor(r), info.decimales, true);
    texto.remove(separadorMiles());
    return LeerCampo(texto, info.decimales);
}

namespace {

// x committed in field i of a copy of the calculation, the side's figures
// read, and the copy taken back to the calculation.
void probar(const Calculo &c, Calculo &copia, Seccion s, int i, double x, LadoSensibilidad &lado)
{
    const Valor nuevo = valorTecleado(s, i, x);
    const Validacion v = copia.ConfirmarCampo(s, i, nuevo, c.columnaS()(s, i));
    lado.valor = nuevo.n();
    if (v.rechazado) {
        lado.posible = false;
        lado.mensaje = v.mensaje;
    } else {
        copiarResultados(copia.columnaS(), lado.resultados);
    }
    copia.deshacerEnsayo(c);
}

} // namespace

double Sensibilidad::cifraLado(const LadoSensibilidad &lado, int n) const
{
    return cifra(lado.posible ? lado.resultados : base, n);
}

double Sensibilidad::oscilacion(const EntradaSensibilidad &e, int n) const
{
    return std::fabs(cifraLado(e.alto, n) - cifraLado(e.bajo, n));
}

void Sensibilidad::ordenar(int n)
{
    // The keys sorted, then each entry moved into its place once: an entry
    // holds two columns of results, too heavy to move at every step of the
    // sort, and a second array of them would be as heavy to allocate.
    struct Clave {
        double oscilacion;
        int seccion, indice;
        size_t posicion;
    };
    std::vector<Clave> claves;
    claves.reserve(entradas.size());
    for (size_t k = 0; k < entradas.size(); ++k)
        claves.push_back({oscilacion(entradas[k], n), ord(entradas[k].seccion), entradas[k].indice, k});
    std::stable_sort(claves.begin(), claves.end(), [](const Clave &a, const Clave &b) {
        if (a.oscilacion != b.oscilacion)
            return a.oscilacion > b.oscilacion;
        return std::make_pair(a.seccion, a.indice) < std::make_pair(b.seccion, b.indice);
    });
    // Each cycle of the permutation followed once, through one spare entry.
    std::vector<bool> hecha(entradas.size(), false);
    for (size_t inicio = 0; inicio < claves.size(); ++inicio) {
        if (hecha[inicio] || claves[inicio].posicion == inicio)
            continue;
        EntradaSensibilidad aparte = std::move(entradas[inicio]);
        size_t k = inicio;
        for (; claves[k].posicion != inicio; k = claves[k].posicion) {
            entradas[k] = std::move(entradas[claves[k].posicion]);
            hecha[k] = true;
        }
        entradas[k] = std::move(aparte);
        hecha[k] = true;
    }
}

QString mensajeEnUnaLinea(const QString &mensaje)
{
    QStringList partes;
    for (const QString &l : mensaje.split(QLatin1Char('\n')))
        if (const QString t = l.trimmed(); !t.isEmpty())
            partes << t;
    return partes.join(QLatin1Char(' '));
}

Sensibilidad calcularSensibilidad(const Calculo &c, double porcentaje)
{
    Sensibilidad r;
    r.porcentaje = porcentaje;
    r.base = resultadosDe(c.columnaS());
    if (!porcentajeValido(porcentaje))
        return r;
    const double factor = porcentaje / 100;
    const std::vector<CampoAnalizado> campos = camposSensibles(c);
    const std::unique_ptr<Calculo> copia = c.clonarParaEnsayos();
    r.entradas.resize(campos.size());
    for (size_t k = 0; k < campos.size(); ++k) {
        EntradaSensibilidad &e = r.entradas[k];
        e.seccion = campos[k].seccion;
        e.indice = campos[k].indice;
        e.etiqueta = rotulo(e.seccion, e.indice).etiqueta;
        e.valor = c.columnaS()(e.seccion, e.indice).n();
        probar(c, *copia, e.seccion, e.indice, e.valor * (1 - factor), e.bajo);
        probar(c, *copia, e.seccion, e.indice, e.valor * (1 + factor), e.alto);
    }
    r.ordenar(Res::Totales);
    return r;
}

} // namespace pelmora
