#include "calculo/calculo.h"

#include "calculo/formulas.h"
#include "entrada/numeros.h"

namespace pelmora {

namespace {

// Every field at its least value (a text of its least length, options true).
Columna construirMinimos()
{
    Columna c;
    for (const DatosSeccion &d : kSecciones) {
        const Seccion sec = d.seccion;
        for (int i = 1; i <= d.tamano; ++i) {
            const CampoInfo &f = campo(sec, i);
            switch (f.limite) {
            case Limite::Ninguno:
                break;
            case Limite::Numero:
                c(sec, i) = Valor(f.minimo);
                break;
            case Limite::Texto:
                c(sec, i) = Valor(QString(static_cast<int>(f.minimo), QLatin1Char('A')));
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

void registrarTipos()
{
    static const bool hecho = [] {
        qRegisterMetaType<Col>();
        qRegisterMetaType<Seccion>();
        return true;
    }();
    Q_UNUSED(hecho);
}

} // namespace

// ---------------------------------------------------------------------------

Calculo::Calculo(QObject *parent) : QObject(parent)
{
    registrarTipos();
    IniciarTablas();
}

Calculo::Calculo(const EstadoCalculo &estado, QObject *parent) : QObject(parent), e_(estado) { registrarTipos(); }

std::unique_ptr<Calculo> Calculo::clonar() const
{
    auto c = std::make_unique<Calculo>(e_);
    c->hoy = hoy;
    return c;
}

std::unique_ptr<Calculo> Calculo::clonarParaEnsayos() const
{
    auto c = clonar();
    c->ensayos_ = true;
    return c;
}

void Calculo::deshacerEnsayo(const Calculo &original)
{
    const int s = static_cast<int>(Col::S);
    // Vectors of the same sizes: assigned in place.
    e_.columnaS = original.e_.columnaS;
    e_.campos[s] = original.e_.campos[s];
    e_.comentarios[s] = original.e_.comentarios[s];
    e_.descripcionTitulos = original.e_.descripcionTitulos;
}

const Columna &Calculo::Minimos()
{
    static const Columna m = construirMinimos();
    return m;
}

void Calculo::IniciarTablas()
{
    e_.columnaS = Minimos();
    e_.columnaO = Minimos();
    e_.grabada = Minimos();
    for (int c = 0; c < 2; ++c) {
        for (const DatosSeccion &d : kSecciones) {
            auto &v = e_.campos[c][ord(d.seccion)];
            v.assign(d.tamano + 1, EstadoCampo());
            if (c == static_cast<int>(Col::S)) {
                for (int i = 1; i <= d.tamano; ++i)
                    v[i].entrada = campo(d.seccion, i).tipo == TipoCampo::Entrada;
            }
        }
        e_.comentarios[c].clear();
    }
    e_.descripcionTitulos.clear();
    e_.fechaTituloS = QDate();
    e_.fechaTituloO = QDate();
    emit titulosCambiados();
    emit resultadosCambiados();
}

const EstadoCampo &Calculo::estado(Col c, Seccion s, int i) const
{
    static const EstadoCampo ninguno;
    const auto &v = e_.campos[static_cast<int>(c)][ord(s)];
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
    e_.campos[static_cast<int>(c)][ord(s)][i].vacio = false;
    if (!cargando_)
        emit campoCambiado(c, s, i);
}

void Calculo::vaciar(Col c, Seccion s, int i)
{
    e_.campos[static_cast<int>(c)][ord(s)][i].vacio = true;
    if (!cargando_)
        emit campoCambiado(c, s, i);
}

void Calculo::aspecto(Col c, Seccion s, int i, bool entrada)
{
    e_.campos[static_cast<int>(c)][ord(s)][i].entrada = entrada;
    if (!cargando_)
        emit campoCambiado(c, s, i);
}

void Calculo::retitular()
{
    e_.descripcionTitulos = comoTexto(e_.columnaS(kCar, Car::Descripcion));
    if (!cargando_)
        emit titulosCambiados();
}

// ---------------------------------------------------------------------------
// Commit, modified check and the replay after loading.

Validacion Calculo::ConfirmarCampo(Seccion s, int i, const Valor &nuevo, const Valor &anterior)
{
    emit cambioEmpezado(s, i);
    e_.columnaS(s, i) = nuevo;
    Validacion v = ValidarCampo(s, e_.columnaS, i);
    if (v.rechazado)
        e_.columnaS(s, i) = anterior;
    else
        v.mensaje.clear();
    mostrar(Col::S, s, i);
    Recalcular(s, Col::S, i);
    emit cambioTerminado();
    return v;
}

bool Calculo::HayCambios() const { return !mismasEntradas(e_.columnaS, e_.grabada); }

bool Calculo::mismasEntradas(const Columna &a, const Columna &b)
{
    for (Seccion s : kSeccionesGrabadas) {
        for (int i : ListaGrabada(s)) {
            if (!mismoValorGuardado(a(s, i), b(s, i)))
                return false;
        }
    }
    return true;
}

EntradasUsuario Calculo::entradasUsuario() const
{
    const int s = static_cast<int>(Col::S);
    return {e_.columnaS, e_.campos[s], e_.comentarios[s]};
}

void Calculo::restaurarEntradas(const EntradasUsuario &r)
{
    const int s = static_cast<int>(Col::S);
    const QDate fecha = e_.columnaS.Fecha;
    e_.columnaS = r.columna;
    e_.columnaS.Fecha = fecha;
    e_.campos[s] = r.campos;
    e_.comentarios[s] = r.comentario;
    retitular();
    for (const DatosSeccion &d : kSecciones) {
        if (d.seccion == kRes)
            continue;
        for (int i = 1; i <= d.tamano; ++i) {
            if (campo(d.seccion, i).tieneCaja())
                emit campoCambiado(Col::S, d.seccion, i);
            else
                emit opcionCambiada(Col::S, d.seccion, i);
        }
    }
    emit comentarioCambiado(Col::S);
    Actualizar();
}

void Calculo::replay(Col c, Seccion s, int i)
{
    mostrar(c, s, i);
    aplicarReglas(s, c, i);
}

void Calculo::cargarColumnas(Columna s, Columna o) { intercambiarColumnas(s, o); }

void Calculo::intercambiarColumnas(Columna &s, Columna &o)
{
    std::swap(e_.columnaS, s);
    std::swap(e_.columnaO, o);
    for (Seccion sec : kSeccionesGrabadas)
        for (int i : ListaGrabada(sec))
            e_.grabada(sec, i) = e_.columnaS(sec, i);
    e_.grabada.Fecha = e_.columnaS.Fecha;
    MostrarCalculo();
}

void Calculo::marcarGrabado(const QDate &fecha)
{
    e_.columnaS.Fecha = fecha;
    for (Seccion sec : kSeccionesGrabadas)
        for (int i : ListaGrabada(sec))
            e_.grabada(sec, i) = e_.columnaS(sec, i);
    e_.grabada.Fecha = fecha;
    e_.fechaTituloS = fecha;
    emit titulosCambiados();
}

bool Calculo::vacioAlCargar(Col c, Seccion s, int i) const
{
    const Columna &R = columna(c);
    if (s == kF1) {
        using namespace F1;
        const bool financiacionEquipos = i == PeriodoEquipos || i == InteresEquipos;
        return (R(kF1, PctFinanciadoAutocar).esCero() && (i == PeriodoAutocar || i == InteresAutocar)) ||
               (R(kF1, PrecioEquipos).esCero() &&
                (i == VidaEquipos || i == PctResidualEquipos || i == PctFinanciadoEquipos || financiacionEquipos)) ||
               (R(kF1, PctFinanciadoEquipos).esCero() && financiacionEquipos);
    }
    if (s == kF2)
        return i == F2::DiasDieta && R(kF2, F2::DietaDiaria).esCero();
    if (s == kVar) // price and life of a tyre row without tyres
        return Var::esNeumaticos(i) && i != Var::filaNeumaticos(i) && R(kVar, Var::filaNeumaticos(i)).esCero();
    return false;
}

void Calculo::MostrarCalculo()
{
    const Col columnas[] = {Col::S, Col::O};
    cargando_ = true;
    e_.fechaTituloS = e_.columnaS.Fecha;
    e_.fechaTituloO = e_.columnaO.Fecha;
    retitular();

    // Section by section, every stored field of both columns, then the
    // section's option pairs (which are set, not replayed).
    for (Seccion s : {kCar, kF1, kF2, kVar, kInd}) {
        for (int i : ListaGrabada(s)) {
            if (campo(s, i).tipo == TipoCampo::Opcion)
                continue;
            for (Col c : columnas) {
                if (vacioAlCargar(c, s, i))
                    vaciar(c, s, i);
                else
                    replay(c, s, i);
            }
        }
        for (Col c : columnas)
            for (int i : ListaGrabada(s))
                if (campo(s, i).tipo == TipoCampo::Opcion)
                    aplicarOpcion(c, s, i, verdadero(columna(c)(s, i)) ? 1 : 2);
    }

    // The results once, every entry in; then the service, which reads them.
    calcularResultados(Col::S);
    calcularResultados(Col::O);
    redactarComentario(Col::S);
    redactarComentario(Col::O);
    for (int i : ListaGrabada(kServ))
        replay(Col::S, kServ, i);
    Revisar();
    cargando_ = false;
    emit columnasCargadas();
    emit resultadosCambiados();
}

} // namespace pelmora