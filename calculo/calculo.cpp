#include "calculo/calculo.h"

#include "calculo/formulas.h"
#include "entrada/numeros.h"

namespace pelmora {

namespace {

Columna construirLimites(bool maximos)
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
    emit campoCambiado(c, s, i);
}

void Calculo::vaciar(Col c, Seccion s, int i)
{
    e_.campos[static_cast<int>(c)][ord(s)][i].vacio = true;
    emit campoCambiado(c, s, i);
}

void Calculo::aspecto(Col c, Seccion s, int i, bool entrada)
{
    e_.campos[static_cast<int>(c)][ord(s)][i].entrada = entrada;
    emit campoCambiado(c, s, i);
}

void Calculo::retitular()
{
    e_.descripcionTitulos = comoTexto(e_.columnaS(kCar, Car::Descripcion));
    emit titulosCambiados();
}

// ---------------------------------------------------------------------------
// Which formulas read which field.

void Calculo::aplicarReglas(Seccion s, Col c, int i)
{
    const Columna &R = columna(c);
    Formulas f(*this, c, s);
    const bool esS = c == Col::S;

    switch (s) {
    case Seccion::Caracteristicas:
        switch (i) {
        case Car::Descripcion:
            retitular();
            break;
        case Car::Plazas:
        case Car::PctKmConViajeros:
        case Car::PctOcupacion:
            f.CalcularViajeros(Car::Plazas, Car::KmAnuales, Car::PctKmConViajeros, Car::KmConViajeros,
                               Car::PctOcupacion, Car::ViajerosPorVehiculo, Car::ViajerosKm);
            break;
        case Car::KmAnuales: {
            f.RepartirPorcentaje(Car::KmAnuales, Car::PctKmFacturados, Car::KmFacturados, Car::PctKmNoFacturados,
                                 Car::KmNoFacturados);
            f.CalcularViajeros(Car::Plazas, Car::KmAnuales, Car::PctKmConViajeros, Car::KmConViajeros,
                               Car::PctOcupacion, Car::ViajerosPorVehiculo, Car::ViajerosKm);
            const Num km(R(kCar, Car::KmAnuales));
            if (verdadero(R(kF2, F2::DietasDesglosadas)))
                Formulas(*this, c, kF2).CalcularPlusActividad(km, F2::PlusPorKm, F2::PlusAnual, F2::DietaAnual,
                                                              F2::DietasYPlus, F2::DietasDesglosadas);
            Formulas(*this, c, kVar).CalcularReparaciones(km, Var::ReparacionesPorKm, Var::Reparaciones);
            break;
        }
        case Car::PctKmFacturados:
            f.RepartirPorcentaje(Car::KmAnuales, Car::PctKmFacturados, Car::KmFacturados, Car::PctKmNoFacturados,
                                 Car::KmNoFacturados);
            break;
        case Car::HorasAnuales:
        case Car::PctHorasFacturadas:
            f.RepartirPorcentaje(Car::HorasAnuales, Car::PctHorasFacturadas, Car::HorasFacturadas,
                                 Car::PctHorasNoFacturadas, Car::HorasNoFacturadas);
            break;
        default:
            break;
        }
        break;

    case Seccion::CostesFijos1:
        switch (i) {
        case F1::PrecioAutocar:
            f.AplicarPorcentaje(F1::PrecioAutocar, F1::PctResidualAutocar, F1::ResidualAutocar);
            f.AplicarPorcentaje(F1::PctFinanciadoAutocar, F1::PrecioAutocar, F1::FinanciadoAutocar);
            break;
        case F1::PctResidualAutocar:
            f.AplicarPorcentaje(F1::PrecioAutocar, F1::PctResidualAutocar, F1::ResidualAutocar);
            break;
        case F1::PctFinanciadoAutocar:
            if (esS)
                f.HabilitarCampos({F1::PctFinanciadoAutocar}, {F1::PeriodoAutocar, F1::InteresAutocar});
            f.AplicarPorcentaje(F1::PctFinanciadoAutocar, F1::PrecioAutocar, F1::FinanciadoAutocar);
            break;
        case F1::PrecioEquipos:
            if (esS) {
                f.HabilitarCampos({F1::PrecioEquipos},
                                  {F1::VidaEquipos, F1::PctResidualEquipos, F1::PctFinanciadoEquipos});
                f.HabilitarCampos({F1::PrecioEquipos, F1::PctFinanciadoEquipos},
                                  {F1::PeriodoEquipos, F1::InteresEquipos});
            }
            f.AplicarPorcentaje(F1::PrecioEquipos, F1::PctResidualEquipos, F1::ResidualEquipos);
            f.AplicarPorcentaje(F1::PctFinanciadoEquipos, F1::PrecioEquipos, F1::FinanciadoEquipos);
            break;
        case F1::PctResidualEquipos:
            f.AplicarPorcentaje(F1::PrecioEquipos, F1::PctResidualEquipos, F1::ResidualEquipos);
            break;
        case F1::PctFinanciadoEquipos:
            if (esS)
                f.HabilitarCampos({F1::PrecioEquipos, F1::PctFinanciadoEquipos},
                                  {F1::PeriodoEquipos, F1::InteresEquipos});
            f.AplicarPorcentaje(F1::PctFinanciadoEquipos, F1::PrecioEquipos, F1::FinanciadoEquipos);
            break;
        default:
            break;
        }
        break;

    case Seccion::CostesFijos2:
        if (i == F2::DietaDiaria && verdadero(R(kF2, F2::DietasDesglosadas))) {
            if (esS)
                f.HabilitarCampos({F2::DietaDiaria}, {F2::DiasDieta});
            f.CalcularDietas(F2::DietaDiaria, F2::DiasDieta, F2::DietaAnual, F2::PlusAnual, F2::DietasYPlus);
        } else if (i == F2::DiasDieta && verdadero(R(kF2, F2::DietasDesglosadas))) {
            f.CalcularDietas(F2::DietaDiaria, F2::DiasDieta, F2::DietaAnual, F2::PlusAnual, F2::DietasYPlus);
        } else if (i == F2::PlusPorKm && verdadero(R(kF2, F2::DietasDesglosadas))) {
            f.CalcularPlusActividad(Num(R(kCar, Car::KmAnuales)), F2::PlusPorKm, F2::PlusAnual, F2::DietaAnual,
                                    F2::DietasYPlus, F2::DietasDesglosadas);
        } else if (i >= F2::SeguroObligatorio && i <= F2::OtrosSeguros && verdadero(R(kF2, F2::SegurosDesglosados))) {
            f.SumarCampos(F2::Seguros, F2::SeguroObligatorio, F2::ResponsabilidadCivil,
                          {F2::SeguroViajeros, F2::DefensaYReclamacion, F2::SeguroConductor, F2::SeguroIncendios,
                           F2::DanosPropios, F2::OtrosSeguros});
        } else if (i >= F2::Visados && i <= F2::OtrosFiscales && verdadero(R(kF2, F2::FiscalesDesglosados))) {
            f.SumarCampos(F2::Fiscales, F2::Visados, F2::Itv,
                          {F2::Iae, F2::Ivtm, F2::Tacografo, F2::TasasAutocar, F2::TasasViajeros, F2::OtrosFiscales});
        }
        break;

    case Seccion::CostesVariables:
        switch (i) {
        case Var::PrecioCarburante: {
            // A discount above the allowed share of the new price (or below
            // a minimum share) falls to the minimum share of the price. The
            // comparison is the one the entry check of the discount makes.
            const double min2 = Minimos()(kVar, Var::PctDescuento).n();
            const Num precio(R(kVar, Var::PrecioCarburante)), descuento(R(kVar, Var::Descuento));
            const auto posicion =
                precio.ok() && descuento.ok() ? compararDescuento(*descuento, *precio) : std::nullopt;
            if (posicion == PosicionDescuento::PorEncima || (min2 > 0 && posicion == PosicionDescuento::PorDebajo))
                f.poner(Var::Descuento, Num(*precio * min2 / 100));
            f.CalcularCarburante(Var::PrecioCarburante, Var::PctDescuento, Var::Descuento, Var::PctIva,
                                 Var::IvaCarburante, Var::PrecioSinIva);
            break;
        }
        case Var::Descuento:
        case Var::PctIva:
            f.CalcularCarburante(Var::PrecioCarburante, Var::PctDescuento, Var::Descuento, Var::PctIva,
                                 Var::IvaCarburante, Var::PrecioSinIva);
            break;
        case Var::ReparacionesPorKm:
            f.CalcularReparaciones(Num(R(kCar, Car::KmAnuales)), Var::ReparacionesPorKm, Var::Reparaciones);
            break;
        default:
            if (Var::esNeumaticos(i)) {
                const int n = Var::filaNeumaticos(i); // the row's number of tyres
                if (esS)
                    f.HabilitarCampos({n}, {n + 1, n + 2});
                else if (R(kVar, n).esCero()) {
                    vaciar(c, kVar, n + 1);
                    vaciar(c, kVar, n + 2);
                }
            }
            break;
        }
        break;

    case Seccion::CostesIndirectos:
        if (i >= Ind::Estructura && i <= Ind::Otros && verdadero(R(kInd, Ind::Desglosado)))
            f.SumarCampos(Ind::Total, Ind::Estructura, Ind::Comercializacion, {Ind::Otros});
        break;

    case Seccion::Servicio:
        if (i >= Serv::base(0) && i <= Serv::campo(Serv::kServicios - 1, Serv::PrecioHoras) &&
            Serv::fila(i) <= Serv::Horas) {
            // The unit costs it reads are current: every change ends by
            // recomputing the results.
            Formulas(*this, Col::S, kServ).CalcularServicio(Serv::servicio(i));
        }
        break;

    case Seccion::Resultados:
        break;
    }
}

void Calculo::Recalcular(Seccion s, Col c, int i)
{
    aplicarReglas(s, c, i);
    Actualizar();
}

// Option pairs.

void Calculo::fijarOpcion(Col c, Seccion s, int indice, bool valor) { col(c)(s, indice) = Valor(valor); }

void Calculo::CambiarOpcion(Col c, Seccion s, int indice, int boton)
{
    cambiarOpcion(c, s, indice, boton);
    Actualizar();
}

void Calculo::cambiarOpcion(Col c, Seccion s, int indice, int boton)
{
    const bool primero = boton == 1;
    if (s == kF1) {
        fijarOpcion(c, s, indice, primero);
    } else if (s == kF2) {
        std::vector<int> editables, vaciados;
        int total = 0;
        if (indice == F2::DietasDesglosadas) {
            editables = e_.columnaS(kF2, F2::DietaDiaria).esCero()
                            ? std::vector<int>{F2::DietaDiaria, F2::PlusPorKm}
                            : std::vector<int>{F2::DietaDiaria, F2::DiasDieta, F2::PlusPorKm};
            vaciados = {F2::DietaDiaria, F2::DiasDieta, F2::PlusPorKm, F2::DietaAnual, F2::PlusAnual};
            total = F2::DietasYPlus;
        } else if (indice == F2::SegurosDesglosados || indice == F2::FiscalesDesglosados) {
            // The eight items follow the option, the total comes after them.
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
                    aplicarReglas(s, c, i);
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
    } else if (s == kInd && indice == Ind::Desglosado) {
        if (c == Col::S) {
            fijarOpcion(c, s, Ind::Desglosado, primero);
            if (primero) {
                e_.comentarios[0].clear();
                emit comentarioCambiado(Col::S);
                aspecto(c, s, Ind::Total, false);
                for (int i : {Ind::Estructura, Ind::Comercializacion, Ind::Otros}) {
                    aspecto(c, s, i, true);
                    mostrar(c, s, i);
                    aplicarReglas(s, c, i);
                }
            } else {
                for (int i : {Ind::Estructura, Ind::Comercializacion, Ind::Otros}) {
                    aspecto(c, s, i, false);
                    vaciar(c, s, i);
                }
                aspecto(c, s, Ind::Total, true);
            }
        }
        // In "Total" mode the comment takes the place of the items; it is
        // written with the results, at the end of the change.
    } else {
        return;
    }
    emit opcionCambiada(c, s, indice);
}

void Calculo::Comentario(Col c)
{
    const Columna &R = columna(c);
    if (!R(kInd, Ind::Desglosado).esFalso())
        return;
    Num p = redondear(Num(100) * Num(R(kInd, Ind::Total)) / Num(R(kRes, Res::Directos)), 1);
    const double pct = p.ok() ? *p : 0.0;
    e_.comentarios[static_cast<int>(c)] = QStringLiteral("Los  Costes  Indirectos  anuales  representan  el") +
                                       QStringLiteral("\r\n") + FormatearNumero(Valor(pct), 1, true) +
                                       QStringLiteral("  %") + QStringLiteral("\r\n") +
                                       QStringLiteral("de  los  Costes  Directos.");
    emit comentarioCambiado(c);
}

// ---------------------------------------------------------------------------
// Commit, modified check and the replay after loading.

Validacion Calculo::ConfirmarCampo(Seccion s, int i, const Valor &nuevo, const Valor &anterior)
{
    e_.columnaS(s, i) = nuevo;
    Validacion v = ValidarCampo(s, e_.columnaS, i);
    if (v.rechazado)
        e_.columnaS(s, i) = anterior;
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
            if (!mismoValorGuardado(e_.columnaS(s, i), e_.grabada(s, i)))
                return true;
        }
    }
    return false;
}

void Calculo::replay(Col c, Seccion s, int i)
{
    mostrar(c, s, i);
    aplicarReglas(s, c, i);
}

void Calculo::cargarColumnas(Columna s, Columna o)
{
    e_.columnaS = std::move(s);
    e_.columnaO = std::move(o);
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

void Calculo::MostrarCalculo()
{
    const Col columnas[] = {Col::S, Col::O};

    e_.fechaTituloS = e_.columnaS.Fecha;
    e_.fechaTituloO = e_.columnaO.Fecha;
    retitular();

    for (int i : ListaGrabada(kCar))
        for (Col c : columnas)
            replay(c, kCar, i);

    for (int i : ListaGrabada(kF1)) {
        if (i == F1::CompraAutocar || i == F1::CompraEquipos)
            continue;
        for (Col c : columnas) {
            const Columna &R = columna(c);
            const bool financiacion = i == F1::PeriodoEquipos || i == F1::InteresEquipos;
            const bool vacio =
                (R(kF1, F1::PctFinanciadoAutocar).esCero() && (i == F1::PeriodoAutocar || i == F1::InteresAutocar)) ||
                (R(kF1, F1::PrecioEquipos).esCero() && (i == F1::VidaEquipos || i == F1::PctResidualEquipos ||
                                                        i == F1::PctFinanciadoEquipos || financiacion)) ||
                (R(kF1, F1::PctFinanciadoEquipos).esCero() && financiacion);
            if (vacio)
                vaciar(c, kF1, i);
            else
                replay(c, kF1, i);
        }
    }
    for (Col c : columnas)
        for (int k : {F1::CompraAutocar, F1::CompraEquipos})
            cambiarOpcion(c, kF1, k, verdadero(columna(c)(kF1, k)) ? 1 : 2);

    for (int i : ListaGrabada(kF2)) {
        if (i == F2::DietasDesglosadas || i == F2::SegurosDesglosados || i == F2::FiscalesDesglosados)
            continue;
        for (Col c : columnas) {
            if (i == F2::DiasDieta && columna(c)(kF2, F2::DietaDiaria).esCero())
                vaciar(c, kF2, F2::DiasDieta);
            else
                replay(c, kF2, i);
        }
    }
    for (Col c : columnas)
        for (int k : {F2::DietasDesglosadas, F2::SegurosDesglosados, F2::FiscalesDesglosados})
            cambiarOpcion(c, kF2, k, verdadero(columna(c)(kF2, k)) ? 1 : 2);

    for (int i : ListaGrabada(kVar)) {
        for (Col c : columnas) {
            // Price and life of a tyre row without tyres.
            const bool vacio = Var::esNeumaticos(i) && i != Var::filaNeumaticos(i) &&
                               columna(c)(kVar, Var::filaNeumaticos(i)).esCero();
            if (vacio)
                vaciar(c, kVar, i);
            else
                replay(c, kVar, i);
        }
    }

    for (int i : ListaGrabada(kInd)) {
        if (i == Ind::Desglosado)
            continue;
        for (Col c : columnas)
            replay(c, kInd, i);
    }
    for (Col c : columnas)
        cambiarOpcion(c, kInd, Ind::Desglosado, verdadero(columna(c)(kInd, Ind::Desglosado)) ? 1 : 2);

    // The results once, every entry in; then the service, which reads them.
    calcularResultados(Col::S);
    calcularResultados(Col::O);
    Comentario(Col::S);
    Comentario(Col::O);
    for (int i : ListaGrabada(kServ))
        replay(Col::S, kServ, i);
    Revisar();
    emit resultadosCambiados();
}

} // namespace pelmora