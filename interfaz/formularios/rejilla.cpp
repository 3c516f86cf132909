#include "interfaz/formularios/rejilla.h"

#include "interfaz/soporte/twips.h"

#include <QLabel>
#include <algorithm>

namespace pelmora {

using namespace medidas;

void Fila::ocultar() const
{
    if (etiqueta)
        etiqueta->hide();
    for (CampoTexto *c : cajas)
        c->hide();
}

Rejilla::Rejilla(FormularioBase &f, Col c, QWidget *marco, int ancho, std::vector<int> columnas, int arriba)
    : f_(f), c_(c), marco_(marco), ancho_(ancho), columnas_(std::move(columnas)), y_(arriba)
{
}

int Rejilla::izquierdaColumna(int k) const
{
    int x = ancho_ - kMargen;
    for (int j = static_cast<int>(columnas_.size()) - 1; j >= k; --j) {
        x -= columnas_[j];
        if (j > k)
            x -= kHueco;
    }
    return x;
}

QLabel *Rejilla::subtitulo(const QString &texto)
{
    const int ancho = ancho_ - 2 * kMargen;
    const int alto = f_.altoTexto(texto, ancho, true);
    QLabel *l = f_.crearEtiqueta(texto, marco_, QRect(kMargen, y_, ancho, alto), Qt::AlignLeft | Qt::AlignVCenter, true);
    y_ += alto + 30;
    return l;
}

std::vector<QLabel *> Rejilla::cabeceras(const std::vector<std::pair<int, QString>> &textos, int ancho)
{
    // A header widens to the left, never over the header of a column before it.
    auto anchoCabecera = [&](int k) {
        int limite = kMargen;
        for (const auto &[j, texto] : textos)
            if (j < k)
                limite = std::max(limite, derechaColumna(j) + kHueco);
        return std::max(columnas_[k], std::min(ancho, derechaColumna(k) - limite));
    };
    int alto = 0;
    for (const auto &[k, t] : textos)
        alto = std::max(alto, f_.altoTexto(t, anchoCabecera(k)));
    std::vector<QLabel *> r;
    for (const auto &[k, t] : textos) {
        const int w = anchoCabecera(k);
        r.push_back(f_.crearEtiqueta(t, marco_, QRect(derechaColumna(k) - w, y_, w, alto),
                                     Qt::AlignRight | Qt::AlignBottom));
    }
    y_ += alto + 30;
    return r;
}

std::vector<QLabel *> Rejilla::cabecerasDe(const std::vector<std::pair<int, int>> &campos, int ancho)
{
    std::vector<std::pair<int, QString>> textos;
    for (const auto &[k, i] : campos)
        textos.emplace_back(k, f_.textoCampo(i, &CampoInfo::columna));
    return cabeceras(textos, ancho);
}

Fila Rejilla::fila(const std::vector<std::pair<int, int>> &cajas)
{
    const QString texto = cajas.empty() ? QString() : f_.textoCampo(cajas.front().second, &CampoInfo::etiqueta);
    return fila(texto, cajas);
}

Fila Rejilla::fila(const QString &texto, const std::vector<std::pair<int, int>> &cajas)
{
    struct Sitio {
        int i, x, w;
    };
    std::vector<Sitio> sitios;
    int xMin = ancho_ - kMargen;
    for (const auto &[k, i] : cajas) {
        const CampoInfo &info = campo(f_.seccion(), i);
        int w = columnas_[k];
        if (info.esTexto())
            w = std::max(w, f_.anchoCaja(info.longitud));
        const int x = derechaColumna(k) - w;
        sitios.push_back({i, x, w});
        xMin = std::min(xMin, x);
    }
    const int anchoEtiqueta = xMin - kHueco - kMargen;
    const int altoEtiqueta = texto.isEmpty() ? 0 : f_.altoTexto(texto, anchoEtiqueta);
    const int alto = std::max(f_.altoCaja(), altoEtiqueta);

    Fila r;
    if (!texto.isEmpty())
        r.etiqueta = f_.crearEtiqueta(texto, marco_, QRect(kMargen, y_, anchoEtiqueta, alto));
    const int arriba = y_ + (alto - f_.altoCaja()) / 2;
    for (const Sitio &s : sitios)
        r.cajas.push_back(f_.crearCaja(c_, s.i, marco_, QRect(s.x, arriba, s.w, f_.altoCaja())));
    y_ += alto + kEntreFilas;
    return r;
}

Fila Rejilla::filaTexto(int indice, int anchoEtiqueta)
{
    const QString texto = f_.textoCampo(indice, &CampoInfo::etiqueta);
    const int x = kMargen + anchoEtiqueta + kHueco;
    Fila r;
    r.etiqueta = f_.crearEtiqueta(texto, marco_, QRect(kMargen, y_, anchoEtiqueta, f_.altoCaja()));
    r.cajas.push_back(f_.crearCaja(c_, indice, marco_, QRect(x, y_, ancho_ - kMargen - x, f_.altoCaja())));
    y_ += f_.altoCaja() + kEntreFilas;
    return r;
}

void Rejilla::bloque(QWidget *w, int izquierda, int ancho, int alto)
{
    w->setGeometry(twRect(izquierda, y_, ancho, alto));
    y_ += alto + kEntreFilas;
}

void Pila::poner(QWidget *w, int alto, int ancho)
{
    w->setGeometry(twRect(kMargen, y, ancho, alto));
    y += alto + kEntreFilas;
}

} // namespace pelmora
