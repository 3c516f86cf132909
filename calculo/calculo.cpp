#include "calculo/calculo.h"

#include "calculo/aritmetica.h"
#include "entrada/numeros.h"

#include <algorithm>
#include <initializer_list>

namespace pelmora {

namespace {

constexpr Seccion kCar = Seccion::Caracteristicas;
constexpr Seccion kF1 = Seccion::CostesFijos1;
constexpr Seccion kF2 = Seccion::CostesFijos2;
constexpr Seccion kVar = Seccion::CostesVariables;
constexpr Seccion kInd = Seccion::CostesIndirectos;
constexpr Seccion kRes = Seccion::Resultados;
constexpr Seccion kServ = Seccion::Servicio;

// "If x Then": true for the boolean true and for a non-zero number.
bool verdadero(const Valor &v)
{
    if (v.esBooleano())
        return v.booleano();
    if (v.esNumero())
        return v.numero() != 0.0;
    return false;
}

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
// The formula routines. Each one writes into the value array of one column
// and shows every entry it writes.
class Formulas {
public:
    Formulas(Calculo &c, Col col, Seccion s) : c_(c), col_(col), s_(s), R_(c.columna(col)) {}

    Valor &V(int i) { return R_(s_, i); }
    Num N(int i) { return Num(V(i)); }
    int dec(int i) const { return decimales(s_, i); }

    // Writes a step's result when it has one, then shows the entry.
    void poner(int i, Num x) { ponerEn(s_, i, x); }
    void ponerEn(Seccion s, int i, Num x)
    {
        if (x.ok())
            R_(s, i) = Valor(*x);
        c_.mostrar(col_, s, i);
    }

    void HabilitarCampos(std::initializer_list<int> requisitos, std::initializer_list<int> campos)
    {
        bool ok = true;
        for (int i : requisitos)
            if (V(i).esCero())
                ok = false;
        for (int i : campos) {
            c_.aspecto(col_, s_, i, ok);
            if (ok)
                c_.mostrar(col_, s_, i);
            else
                c_.vaciar(col_, s_, i);
        }
    }

    void RepartirPorcentaje(int a, int b, int c, int d, int e)
    {
        poner(c, entero32(redondear(N(a) * N(b) / Num(100), dec(c))));
        poner(d, Num(100) - N(b));
        poner(e, N(a) - N(c));
    }

    void CalcularViajeros(int s, int k, int p, int q, int o, int w, int z)
    {
        poner(q, entero32(redondear(N(k) * N(p) / Num(100), dec(q))));
        poner(w, redondear((N(s) - Num(1)) * N(o) / Num(100), dec(w)));
        poner(z, entero32(redondear((N(k) * N(p) / Num(100)) * ((N(s) - Num(1)) * N(o) / Num(100)), dec(z))));
    }

    void AplicarPorcentaje(int a, int b, int r) { poner(r, redondear(N(a) * N(b) / Num(100), dec(r))); }

    void CalcularDietas(int a, int b, int c, int d, int e)
    {
        poner(c, redondear(N(a) * N(b), dec(c)));
        poner(e, N(d) + N(c));
    }

    // Works on the Personal section of this column, with kilometres km.
    void CalcularPlusActividad(Num km, int a, int b, int c, int e, int f)
    {
        auto F = [&](int i) { return Num(R_(kF2, i)); };
        const int db = decimales(kF2, b);
        Num x = redondear(F(a) * km, db);
        if (x.ok())
            R_(kF2, b) = Valor(*x);
        Num t = F(c) + F(b);
        if (t.ok())
            R_(kF2, e) = Valor(*t);
        if (verdadero(R_(kF2, f))) {
            c_.mostrar(col_, kF2, b);
            c_.mostrar(col_, kF2, e);
        }
    }

    void SumarCampos(int t, int a, int b, std::initializer_list<int> lista)
    {
        Num x = N(a) + N(b);
        if (x.ok())
            V(t) = Valor(*x);
        for (int i : lista) {
            Num y = N(t) + N(i);
            if (y.ok())
                V(t) = Valor(*y);
        }
        c_.mostrar(col_, s_, t);
    }

    void CalcularCarburante(int p, int d, int r, int v, int a, int n)
    {
        if (!V(p).esCero())
            poner(d, redondear(N(r) * Num(100) / N(p), dec(d)));
        else
            poner(d, Num(0));
        poner(n, (N(p) - N(r)) / (Num(1) + N(v) / Num(100)));
        poner(a, redondear((N(p) - N(r)) - N(n), dec(a)));
    }

    // Works on Costes Variables of this column, with kilometres km.
    void CalcularReparaciones(Num km, int a, int b)
    {
        ponerEn(kVar, b, redondear(Num(R_(kVar, a)) * km, decimales(kVar, b)));
    }

    void CalcularServicio(int c, int k, int h, int m, int x, int y)
    {
        auto S = [&](int i) { return Num(R_(kServ, i)); };
        auto res = [&](int n) { return Num(R_(kRes, n)); };
        const double km = R_(kServ, k).n();
        const double horas = R_(kServ, h).n();
        auto escribe = [&](int i, bool hay, Num valor) {
            if (hay) {
                Num r = redondear(valor, decimales(kServ, i));
                if (r.ok())
                    R_(kServ, i) = Valor(*r);
            } else {
                R_(kServ, i) = Valor();
            }
            c_.mostrar(col_, kServ, i);
        };
        escribe(m, km > 0 && horas > 0, S(c) + S(k) * res(45) + S(h) * res(46));
        escribe(x, km > 0, S(c) + S(k) * res(47));
        escribe(y, horas > 0, S(c) + S(h) * res(48));
    }

private:
    Calculo &c_;
    Col col_;
    Seccion s_;
    Columna &R_;
};

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
            // test is the one the entry check of the discount makes.
            const double max2 = Maximos()(kVar, 2).n();
            const double min2 = Minimos()(kVar, 2).n();
            const Num precio(R(kVar, 1)), descuento(R(kVar, 3));
            if (precio.ok() && descuento.ok() &&
                (*descuento > max2 * *precio / 100 || (min2 > 0 && *descuento < min2 * *precio / 100)))
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
// Results.

namespace {

// Annual amortisation of a column (coach less the tyres fitted, plus the
// auxiliary equipment, or the annual rent of either).
double CosteAmortizacion(const Columna &R)
{
    auto n = [&](Seccion s, int i) { return Num(R(s, i)); };
    Num a(0.0);
    if (verdadero(R(kF1, 1))) {
        if (R(kF1, 2).n() > 0 && R(kF1, 3).n() > 0) {
            const Num neumaticos = n(kVar, 8) * n(kVar, 9) + n(kVar, 11) * n(kVar, 12) + n(kVar, 14) * n(kVar, 15);
            const Num x = (n(kF1, 2) - n(kF1, 5) - neumaticos) / n(kF1, 3);
            if (x.ok() && *x > 0)
                a = a + x;
        }
    } else {
        const Num suma = a + n(kF1, 10);
        if (suma.ok())
            a = suma;
    }
    if (verdadero(R(kF1, 11))) {
        if (R(kF1, 12).n() > 0 && R(kF1, 13).n() > 0) {
            const Num y = (n(kF1, 12) - n(kF1, 15)) / n(kF1, 13);
            if (y.ok() && *y > 0)
                a = a + y;
        }
    } else {
        const Num suma = a + n(kF1, 20);
        if (suma.ok())
            a = suma;
    }
    const Num r = redondear(a, 2);
    return r.ok() ? *r : 0.0;
}

// Interest of a financed part spread over its useful life; a part whose
// instalment cannot be worked out adds nothing.
Num costeFinanciado(Num capital, Num interes, Num periodo, Num vida)
{
    const Num i = interes / Num(100);
    const Num q = potencia(Num(1) + i, periodo);
    const Num cuota = capital * i * q / (q - Num(1));
    return (cuota * periodo - capital) / vida;
}

double CosteFinanciacion(const Columna &R)
{
    auto n = [&](int i) { return Num(R(kF1, i)); };
    Num f(0.0);
    if (verdadero(R(kF1, 1)) && R(kF1, 7).n() > 0 && R(kF1, 3).n() > 0) {
        const Num parte = costeFinanciado(n(7), n(9), n(8), n(3));
        if (parte.ok())
            f = f + parte;
    }
    if (verdadero(R(kF1, 11)) && R(kF1, 17).n() > 0 && R(kF1, 13).n() > 0) {
        const Num parte = costeFinanciado(n(17), n(19), n(18), n(13));
        if (parte.ok())
            f = f + parte;
    }
    const Num r = redondear(f, 2);
    return r.ok() ? *r : 0.0;
}

// Tyre cost per kilometre of the rows that have tyres, times the annual
// kilometres. A failed term makes the whole cost 0.
double CosteNeumaticos(const Columna &R)
{
    Num w(0.0);
    for (int n : {8, 11, 14}) {
        if (R(kVar, n).esCero())
            continue;
        w = w + Num(R(kVar, n)) * Num(R(kVar, n + 1)) / Num(R(kVar, n + 2));
    }
    if (!w.ok())
        w = Num(0.0);
    const Num r = redondear(w * Num(R(kCar, 9)), 2);
    return r.ok() ? *r : 0.0;
}

} // namespace

void Calculo::calcularResultados(Col c)
{
    Columna &R = columna(c);
    auto slot = [&](int n) -> Valor & { return R(kRes, n); };
    auto num = [&](int n) { return Num(slot(n)); };
    auto poner = [&](int n, Num x) {
        if (x.ok())
            slot(n) = Valor(*x);
    };

    slot(1) = Valor(CosteAmortizacion(R));
    slot(2) = Valor(CosteFinanciacion(R));
    slot(3) = R(kF2, 1);
    slot(4) = R(kF2, 8);
    slot(5) = R(kF2, 18);
    slot(6) = R(kF2, 28);
    poner(7, redondear((Num(R(kVar, 6)) * Num(R(kVar, 7))) * Num(R(kCar, 9)) / Num(100), 2));
    slot(8) = Valor(CosteNeumaticos(R));
    slot(9) = R(kVar, 18);
    slot(10) = R(kVar, 19);
    slot(11) = R(kInd, 2);
    slot(12) = R(kInd, 3);
    slot(13) = R(kInd, 4);

    poner(14, num(1) + num(2) + num(3) + num(4) + num(5) + num(6));
    poner(15, num(7) + num(8) + num(9) + num(10));
    poner(16, num(14) + num(15));
    slot(17) = R(kInd, 5);
    poner(18, num(16) + num(17));

    static const int orden[][2] = {{38, 18}, {36, 16}, {34, 14}, {21, 1},  {22, 2},  {23, 3},
                                   {24, 4},  {25, 5},  {26, 6},  {35, 15}, {27, 7},  {28, 8},
                                   {29, 9},  {30, 10}, {37, 17}, {31, 11}, {32, 12}, {33, 13}};
    for (const auto &p : orden)
        poner(p[0], redondear(num(p[1]) * Num(100) / num(18), decimalesResultado(p[0])));

    slot(39) = R(kCar, 23);
    if (slot(39).esCero()) {
        slot(39) = Valor();
        slot(40) = Valor();
    } else {
        poner(40, redondear(num(18) / num(39), 4));
    }

    slot(41) = R(kCar, 9);
    slot(42) = R(kCar, 11);
    slot(43) = R(kCar, 14);
    slot(44) = R(kCar, 16);
    if (slot(42).esCero()) {
        slot(42) = Valor();
        slot(45) = Valor();
        slot(47) = Valor();
    } else {
        poner(45, redondear(num(15) / num(42), 3));
        poner(47, redondear(num(18) / num(42), 3));
    }
    if (slot(44).esCero()) {
        slot(44) = Valor();
        slot(46) = Valor();
        slot(48) = Valor();
    } else {
        poner(46, redondear((num(14) + num(17)) / num(44), 3));
        poner(48, redondear(num(18) / num(44), 3));
    }
}

void Calculo::Actualizar()
{
    calcularResultados(Col::S);
    calcularResultados(Col::O);
    avisar([](ObservadorCalculo &o) { o.resultadosCambiados(); });
}

void Calculo::Revisar()
{
    Columna &S = ColumnaS;
    if (S(kRes, 40).esCero()) {
        S(kServ, 1) = Valor();
    } else {
        const Num r = redondear(Num(S(kRes, 40)), decimales(kServ, 1));
        if (r.ok())
            S(kServ, 1) = Valor(*r);
    }
    mostrar(Col::S, kServ, 1);
    for (int i : {3, 9, 15, 21, 27}) {
        if (S(kServ, i).n() > S(kCar, 11).n())
            S(kServ, i) = Valor(0.0);
        mostrar(Col::S, kServ, i);
    }
    for (int i : {4, 10, 16, 22, 28}) {
        if (S(kServ, i).n() > S(kCar, 16).n())
            S(kServ, i) = Valor(0.0);
        mostrar(Col::S, kServ, i);
    }
    Formulas f(*this, Col::S, kServ);
    for (int b : {2, 8, 14, 20, 26})
        f.CalcularServicio(b, b + 1, b + 2, b + 3, b + 4, b + 5);
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
