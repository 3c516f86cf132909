#include "presupuestos/presupuesto.h"

#include "archivos/archivo.h"
#include "calculo/campos.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <charconv>

namespace pelmora {

namespace {

constexpr const char *kEstados[] = {"pendiente", "aceptado", "rechazado", "anulado"};

} // namespace

QString nombreEstado(EstadoPresupuesto e) { return QString::fromLatin1(kEstados[int(e)]); }

std::optional<EstadoPresupuesto> estadoDeNombre(const QString &nombre)
{
    for (int k = 0; k < 4; ++k)
        if (nombre == QLatin1String(kEstados[k]))
            return EstadoPresupuesto(k);
    return std::nullopt;
}

QString kEstadoCaducado() { return QStringLiteral("caducado"); }

QString numeroPresupuesto(int anio, int secuencia)
{
    if (secuencia <= 0)
        return QString();
    // Each part with four digits at least. Made without QString::arg: the
    // register's window makes one for every row it searches.
    char texto[32];
    char *p = texto;
    for (const int n : {anio, secuencia}) {
        char cifras[12];
        const char *fin = std::to_chars(cifras, cifras + sizeof cifras, n).ptr;
        p = std::fill_n(p, std::max<std::ptrdiff_t>(0, 4 - (fin - cifras)), '0');
        p = std::copy(static_cast<const char *>(cifras), fin, p);
        *p++ = '-';
    }
    return QString::fromLatin1(texto, p - texto - 1);
}

QString estadoMostrado(EstadoPresupuesto e, const QDate &fecha, int validez, const QDate &hoy)
{
    if (e == EstadoPresupuesto::Pendiente && fecha.isValid() && fecha.addDays(validez) < hoy)
        return kEstadoCaducado();
    return nombreEstado(e);
}

QString Presupuesto::numero() const { return numeroPresupuesto(anio, secuencia); }

QString Presupuesto::estadoMostrado(const QDate &hoy) const
{
    return pelmora::estadoMostrado(estado, fecha, validez, hoy);
}

std::optional<Presupuesto> presupuestoDeCalculo(const Calculo &c, const QString &archivo, int servicio)
{
    const Columna &s = c.columnaS();
    for (const ServicioCalculo &sc : serviciosConCoste(s)) {
        if (sc.numero != servicio)
            continue;
        Presupuesto p;
        p.servicio = servicio;
        p.km = sc.km;
        p.horas = sc.horas;
        p.viaje.pasajeros = plazasViajeros(s);
        p.origen.archivo = QFileInfo(archivo).fileName();
        p.origen.hash = QCryptographicHash::hash(escribirCalculo(s, c.columnaO()), QCryptographicHash::Sha256).toHex();
        p.origen.costeAnual = centimos(s(Seccion::Resultados, Res::Totales).n()).value_or(0);
        const int casillas[5] = {Res::C1, Res::C2, Res::C3, Res::C4, Res::C5};
        for (int k = 0; k < 5; ++k)
            if (const Valor &v = s(Seccion::Resultados, casillas[k]); v.esNumero())
                p.origen.c[size_t(k)] = v.numero();
        p.precio.coste = sc.coste;
        recalcularPrecio(p);
        return p;
    }
    return std::nullopt;
}

bool recalcularPrecio(Presupuesto &p)
{
    const std::optional<Precio> r = p.precioObjetivo ? precioDado(p.precio.coste, *p.precioObjetivo, p.iva)
                                                     : precioConMargen(p.precio.coste, p.margen, p.iva);
    if (!r)
        return false;
    p.precio = *r;
    if (p.precioObjetivo)
        p.margen = margenDe(r->coste, r->sinIva).value_or(0);
    return true;
}

QString nifNormalizado(const QString &nif)
{
    QString r = nif.toUpper();
    r.remove(QRegularExpression(QStringLiteral("[\\s.\\-]")));
    return r;
}

bool nifValido(const QString &texto)
{
    static const QString letrasDni = QStringLiteral("TRWAGMYFPDXBNJZSQVHLCKE");
    const QString n = nifNormalizado(texto);
    // DNI: 8 digits; NIE: X, Y or Z (0, 1, 2) and 7; K, L, M and 7. Then the letter.
    static const QRegularExpression dni(QStringLiteral("^(\\d{8}|[XYZKLM]\\d{7})([A-Z])$"));
    if (const QRegularExpressionMatch m = dni.match(n); m.hasMatch()) {
        QString digitos = m.captured(1);
        const qsizetype nie = QStringLiteral("XYZ").indexOf(digitos[0]);
        if (nie >= 0)
            digitos[0] = QChar(char16_t(u'0' + nie));
        else if (!digitos[0].isDigit())
            digitos.remove(0, 1);
        return letrasDni[int(digitos.toLongLong() % 23)] == m.captured(2)[0];
    }
    static const QRegularExpression cif(QStringLiteral("^([ABCDEFGHJNPQRSUVW])(\\d{7})([0-9A-J])$"));
    const QRegularExpressionMatch m = cif.match(n);
    if (!m.hasMatch())
        return false;
    const QString d = m.captured(2);
    int suma = 0;
    for (int k = 0; k < 7; ++k) {
        const int x = d[k].unicode() - u'0';
        suma += k % 2 == 1 ? x : (2 * x) / 10 + (2 * x) % 10;
    }
    const int control = (10 - suma % 10) % 10;
    const QChar letra = QStringLiteral("JABCDEFGHI")[control];
    const QChar tipo = m.captured(1)[0];
    const QChar dado = m.captured(3)[0];
    if (QStringLiteral("KPQSNW").contains(tipo))
        return dado == letra;
    if (QStringLiteral("ABEH").contains(tipo))
        return dado == QChar(u'0' + control);
    return dado == letra || dado == QChar(u'0' + control);
}

} // namespace pelmora
