#include "calculo/calculo.h"

#include "calculo/formulas.h"
#include "entrada/numeros.h"

#include <algorithm>

namespace pelmora {

namespace {

Columna construirLimites(bool maximos)
{
    Columna c;
    for (int s = 0; s < kNumSecciones; ++s) {
        const Seccion sec = static_cast<Seccion>(s);
        for (int i = 1; i <= tamano(sec); ++i) {
            const CampoInfo &f = campo(sec, i);
            switch (f.limite) {
            case Limite::Ninguno:
                break;
            case Limite::Numero:
                c(sec, i) = Valor(maximos ? f.maximo : f.minimo);
                break;
            case Limite::Texto:
                c(sec, i) = Valor(maximos ? QString() : QString(static_cast<int>(f.minimo), QLatin1Char('A')));
                break;
            case Limite::Booleano:
                c(sec, i) = Valor(true);
                break;
            }
        }
    }
    return c;
}

QString comoTexto(const Valor &v) { return FormatearNumero(v, -1, true); }

} // namespace

// ---------------------------------------------------------------------------

Calculo::Calculo() { IniciarTablas(); }

const Columna &Calculo::Minimos()
{
    static const Columna m = construirLimites(false);
    return m;
}

const Columna &Calculo::Maximos()
{
    static const Columna m = construirLimites(true);
    return m;
}

void Calculo::agregarObservador(ObservadorCalculo *o)
{
    if (o && std::find(obs_.begin(), obs_.end(), o) == obs_.end())
        obs_.push_back(o);
}

void Calculo::quitarObservador(ObservadorCalculo *o) { obs_.erase(std::remove(obs_.begin(), obs_.end(), o), obs_.end()); }

void Calculo::IniciarTablas()
{
    ColumnaS = Minimos();
    ColumnaO = Minimos();
    ColumnaGrabada = Minimos();
    for (int c = 0; c < 2; ++c) {
        for (int s = 0; s < kNumSecciones; ++s) {
            const Seccion sec = static_cast<Seccion>(s);
            auto &v = estados_[c][s];
            v.assign(tamano(sec) + 1, EstadoCampo());
            if (c == static_cast<int>(Col::S)) {
                for (int i = 1; i <= tamano(sec); ++i)
                    v[i].entrada = campo(sec, i).tipo == TipoCampo::Entrada;
            }
        }
        comentario_[c].clear();
    }
    descripcionTitulos_.clear();
    fechaTituloS_ = QDate();
    fechaTituloO_ = QDate();
}

const EstadoCampo &Calculo::estado(Col c, Seccion s, int i) const
{
    static const EstadoCampo ninguno;
    const auto &v = estados_[static_cast<int>(c)][ord(s)];
    if (i < 1 || i >= static_cast<int>(v.size()))
        return ninguno;
    return v[i];
}

QString Calculo::textoMostrado(Col c, Seccion s, int i) const
{
    const Valor &v = columna(c)(s, i);
    if (s == kRes)
        return FormatearNumero(v, decimalesResultado(i), true);
    if (estado(c, s, i).vacio || !campo(s, i).tieneCaja())
        return QString();
    return FormatearNumero(v, decimales(s, i), false);
}

void Calculo::mostrar(Col c, Seccion s, int i)
{
    estados_[static_cast<int>(c)][ord(s)][i].vacio = false;
    avisar([&](ObservadorCalculo &o) { o.campoCambiado(c, s, i); });
}

void Calculo::vaciar(Col c, Seccion s, int i)
{
    estados_[static_cast<int>(c)][ord(s)][i].vacio = true;
    avisar([&](ObservadorCalculo &o) { o.campoCambiado(c, s, i); });
}

void Calculo::aspecto(Col c, Seccion s, int i, bool entrada)
{
    estados_[static_cast<int>(c)][ord(s)][i].entrada = entrada;
    avisar([&](ObservadorCalculo &o) { o.campoCambiado(c, s, i); });
}

void Calculo::retitular()
{
    descripcionTitulos_ = comoTexto(ColumnaS(kCar, 1));
    avisar([](ObservadorCalculo &o) { o.titulosCambiados(); });
}

void Calculo::fijarFechaTituloS(const QDate &d)
{
    fechaTituloS_ = d;
    avisar([](ObservadorCalculo &o) { o.titulosCambiados(); });
}

// ---------------------------------------------------------------------------
// Which formulas read which field.

void Calculo::Recalcular(Seccion s, Col c, int i)
{
    Columna &R = columna(c);
    Formulas f(*this, c, s);
    const bool esS = c == Col::S;

    switch (s) {
    case Seccion::Caracteristicas:
        switch (i) {
        case 1:
            retitular();
            break;
        case 2:
        case 19:
        case 21:
            f.CalcularViajeros(2, 9, 19, 20, 21, 22, 23);
            break;
        case 9: {
            f.RepartirPorcentaje(9, 10, 11, 12, 13);
            f.CalcularViajeros(2, 9, 19, 20, 21, 22, 23);
            const Num km(R(kCar, 9));
            if (verdadero(R(kF2, 2)))
                Formulas(*this, c, kF2).CalcularPlusActividad(km, 6, 7, 5, 8, 2);
            Formulas(*this, c, kVar).CalcularReparaciones(km, 17, 18);
            break;
        }
        case 10:
            f.RepartirPorcentaje(9, 10, 11, 12, 13);
            break;
        case 14:
        case 15:
            f.RepartirPorcentaje(14, 15, 16, 17, 18);
            break;
        default:
            break;
        }
        break;

    case Seccion::CostesFijos1:
        switch (i) {
        case 2:
            f.AplicarPorcentaje(2, 4, 5);
            f.AplicarPorcentaje(6, 2, 7);
            break;
        case 4:
            f.AplicarPorcentaje(2, 4, 5);
            break;
        case 6:
            if (esS)
                f.HabilitarCampos({6}, {8, 9});
            f.AplicarPorcentaje(6, 2, 7);
            break;
        case 12:
            if (esS) {
                f.HabilitarCampos({12}, {13, 14, 16});
                f.HabilitarCampos({12, 16}, {18, 19});
            }
            f.AplicarPorcentaje(12, 14, 15);
            f.AplicarPorcentaje(16, 12, 17);
            break;
        case 14:
            f.AplicarPorcentaje(12, 14, 15);
            break;
        case 16:
            if (esS)
                f.HabilitarCampos({12, 16}, {18, 19});
            f.AplicarPorcentaje(16, 12, 17);
            break;
        default:
            break;
        }
        break;

    case Seccion::CostesFijos2:
        if (i == 3 && verdadero(R(kF2, 2))) {
            if (esS)
                f.HabilitarCampos({3}, {4});
            f.CalcularDietas(3, 4, 5, 7, 8);
        } else if (i == 4 && verdadero(R(kF2, 2))) {
            f.CalcularDietas(3, 4, 5, 7, 8);
        } else if (i == 6 && verdadero(R(kF2, 2))) {
            f.CalcularPlusActividad(Num(R(kCar, 9)), 6, 7, 5, 8, 2);
        } else if (i >= 10 && i <= 17 && verdadero(R(kF2, 9))) {
            f.SumarCampos(18, 10, 11, {12, 13, 14, 15, 16, 17});
        } else if (i >= 20 && i <= 27 && verdadero(R(kF2, 19))) {
            f.SumarCampos(28, 20, 21, {22, 23, 24, 25, 26, 27});
        }
        break;

    case Seccion::CostesVariables:
        switch (i) {
        case 1: {
            // A discount above the allowed share of the new price (or below
            // a minimum share) falls to the minimum share of the price. The
            // comparison is the one the entry check of the discount makes.
            const double min2 = Minimos()(kVar, 2).n();
            const Num precio(R(kVar, 1)), descuento(R(kVar, 3));
            const auto posicion =
                precio.ok() && descuento.ok() ? compararDescuento(*descuento, *precio) : std::nullopt;
            if (posicion == PosicionDescuento::PorEncima || (min2 > 0 && posicion == PosicionDescuento::PorDebajo))
                f.poner(3, Num(*precio * min2 / 100));
            f.CalcularCarburante(1, 2, 3, 4, 5, 6);
            break;
        }
        case 3:
        case 4:
            f.CalcularCarburante(1, 2, 3, 4, 5, 6);
            break;
        case 8:
        case 9:
        case 10:
        case 11:
        case 12:
        case 13:
        case 14:
        case 15:
        case 16: {
            const int n = 8 + 3 * ((i - 8) / 3); // the row's number of tyres
            if (esS)
                f.HabilitarCampos({n}, {n + 1, n + 2});
            else if (R(kVar, n).esCero()) {
                vaciar(c, kVar, n + 1);
                vaciar(c, kVar, n + 2);
            }
            break;
        }
        case 17:
            f.CalcularReparaciones(Num(R(kCar, 9)), 17, 18);
            break;
        default:
            break;
        }
        break;

    case Seccion::CostesIndirectos:
        if (i >= 2 && i <= 4 && verdadero(R(kInd, 1)))
            f.SumarCampos(5, 2, 3, {4});
        else if (i == 5)
            Comentario(Col::S);
        break;

    case Seccion::Servicio:
        if (i >= 2 && i <= 30) {
            const int b = 2 + 6 * ((i - 2) / 6);
            if (i <= b + 2) {
                Actualizar();
                Formulas(*this, Col::S, kServ).CalcularServicio(b, b + 1, b + 2, b + 3, b + 4, b + 5);
            }
        }
        break;

    case Seccion::Resultados:
        break;
    }
}

// ---------------------------------------------------------------------------
// Option pairs.

void Calculo::fijarOpcion(Col c, Seccion s, int indice, bool valor)
{
    columna(c)(s, indice) = Valor(valor);
}

void Calculo::CambiarOpcion(Col c, Seccion s, int indice, int boton)
{
    const bool primero = boton == 1;
    if (s == kF1) {
        fijarOpcion(c, s, indice, primero);
    } else if (s == kF2) {
        std::vector<int> editables, vaciados;
        int total = 0;
        if (indice == 2) {
            editables = ColumnaS(kF2, 3).esCero() ? std::vector<int>{3, 6} : std::vector<int>{3, 4, 6};
            vaciados = {3, 4, 6, 5, 7};
            total = 8;
        } else if (indice == 9 || indice == 19) {
            for (int k = indice + 1; k <= indice + 8; ++k)
                editables.push_back(k);
            vaciados = editables;
            total = indice + 9;
        } else {
            return;
        }
        if (c == Col::S) {
            fijarOpcion(c, s, indice, primero);
            if (primero) {
                aspecto(c, s, total, false);
                for (int i : editables) {
                    aspecto(c, s, i, true);
                    mostrar(c, s, i);
                    Recalcular(s, c, i);
                }
            } else {
                for (int i : vaciados) {
                    aspecto(c, s, i, false);
                    vaciar(c, s, i);
                }
                aspecto(c, s, total, true);
            }
        } else if (!primero) {
            for (int i : vaciados)
                vaciar(c, s, i);
        }
    } else if (s == kInd && indice == 1) {
        if (c == Col::S) {
            fijarOpcion(c, s, 1, primero);
            if (primero) {
                comentario_[0].clear();
                avisar([](ObservadorCalculo &o) { o.comentarioCambiado(Col::S); });
                aspecto(c, s, 5, false);
                for (int i : {2, 3, 4}) {
                    aspecto(c, s, i, true);
                    mostrar(c, s, i);
                    Recalcular(s, c, i);
                }
            } else {
                for (int i : {2, 3, 4}) {
                    aspecto(c, s, i, false);
                    vaciar(c, s, i);
                }
                aspecto(c, s, 5, true);
                Comentario(Col::S);
            }
        } else if (!primero) {
            Comentario(Col::O);
        }
    } else {
        return;
    }
    avisar([&](ObservadorCalculo &o) { o.opcionCambiada(c, s, indice); });
}

void Calculo::Comentario(Col c)
{
    const Columna &R = columna(c);
    if (!R(kInd, 1).esFalso())
        return;
    Actualizar();
    Num p = redondear(Num(100) * Num(R(kInd, 5)) / Num(R(kRes, 16)), 1);
    const double pct = p.ok() ? *p : 0.0;
    comentario_[static_cast<int>(c)] = QStringLiteral("Los  Costes  Indirectos  anuales  representan  el") +
                                       QStringLiteral("\r\n") + FormatearNumero(Valor(pct), 1, true) +
                                       QStringLiteral("  %") + QStringLiteral("\r\n") +
                                       QStringLiteral("de  los  Costes  Directos.");
    avisar([&](ObservadorCalculo &o) { o.comentarioCambiado(c); });
}

// ---------------------------------------------------------------------------
// Commit, modified check and the replay after loading.

Validacion Calculo::ConfirmarCampo(Seccion s, int i, const Valor &nuevo, const Valor &anterior)
{
    ColumnaS(s, i) = nuevo;
    Validacion v = ValidarCampo(s, ColumnaS, i);
    if (v.rechazado)
        ColumnaS(s, i) = anterior;
    else
        v.mensaje.clear();
    mostrar(Col::S, s, i);
    Recalcular(s, Col::S, i);
    return v;
}

bool Calculo::HayCambios() const
{
    for (Seccion s : kSeccionesGrabadas) {
        for (int i : ListaGrabada(s)) {
            if (!mismoValorGuardado(ColumnaS(s, i), ColumnaGrabada(s, i)))
                return true;
        }
    }
    return false;
}

void Calculo::replay(Col c, Seccion s, int i)
{
    mostrar(c, s, i);
    Recalcular(s, c, i);
}

void Calculo::MostrarCalculo()
{
    const Col columnas[] = {Col::S, Col::O};

    fechaTituloS_ = ColumnaS.Fecha;
    fechaTituloO_ = ColumnaO.Fecha;
    retitular();

    for (int i : ListaGrabada(kCar))
        for (Col c : columnas)
            replay(c, kCar, i);

    for (int i : ListaGrabada(kF1)) {
        if (i == 1 || i == 11)
            continue;
        for (Col c : columnas) {
            const Columna &R = columna(c);
            const bool vacio = (R(kF1, 6).esCero() && (i == 8 || i == 9)) ||
                               (R(kF1, 12).esCero() && (i == 13 || i == 14 || i == 16 || i == 18 || i == 19)) ||
                               (R(kF1, 16).esCero() && (i == 18 || i == 19));
            if (vacio)
                vaciar(c, kF1, i);
            else
                replay(c, kF1, i);
        }
    }
    for (Col c : columnas)
        for (int k : {1, 11})
            CambiarOpcion(c, kF1, k, verdadero(columna(c)(kF1, k)) ? 1 : 2);

    for (int i : ListaGrabada(kF2)) {
        if (i == 2 || i == 9 || i == 19)
            continue;
        for (Col c : columnas) {
            if (i == 4 && columna(c)(kF2, 3).esCero())
                vaciar(c, kF2, 4);
            else
                replay(c, kF2, i);
        }
    }
    for (Col c : columnas)
        for (int k : {2, 9, 19})
            CambiarOpcion(c, kF2, k, verdadero(columna(c)(kF2, k)) ? 1 : 2);

    for (int i : ListaGrabada(kVar)) {
        for (Col c : columnas) {
            const Columna &R = columna(c);
            const bool vacio = (R(kVar, 8).esCero() && (i == 9 || i == 10)) ||
                               (R(kVar, 11).esCero() && (i == 12 || i == 13)) ||
                               (R(kVar, 14).esCero() && (i == 15 || i == 16));
            if (vacio)
                vaciar(c, kVar, i);
            else
                replay(c, kVar, i);
        }
    }

    for (int i : ListaGrabada(kInd)) {
        if (i == 1)
            continue;
        for (Col c : columnas)
            replay(c, kInd, i);
    }
    for (Col c : columnas)
        CambiarOpcion(c, kInd, 1, verdadero(columna(c)(kInd, 1)) ? 1 : 2);

    Actualizar();

    for (int i : ListaGrabada(kServ))
        replay(Col::S, kServ, i);

    Revisar();
}

} // namespace pelmora