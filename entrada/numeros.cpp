#include "entrada/numeros.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <cmath>
#include <string>
#include <string_view>

namespace pelmora {

namespace {

QChar g_decimal = QLatin1Char(',');
QString g_miles = QStringLiteral(".");

// Largest magnitude the 15-digit decimal step of rounding can hold.
constexpr double kMaximoDecimal = 7.9228162514264337593543950335e28;

constexpr std::uint64_t kPotenciasEnteras[] = {1ULL,
                                               10ULL,
                                               100ULL,
                                               1000ULL,
                                               10000ULL,
                                               100000ULL,
                                               1000000ULL,
                                               10000000ULL,
                                               100000000ULL,
                                               1000000000ULL,
                                               10000000000ULL,
                                               100000000000ULL,
                                               1000000000000ULL,
                                               10000000000000ULL,
                                               100000000000000ULL,
                                               1000000000000000ULL};

// The 15 significant digits and the decimal exponent of |x| (x != 0):
// |x| = 0.d1 d2 ... d15 * 10^(exp + 1).
struct Digitos15 {
    std::string digitos; // exactly 15 characters
    int exponente = 0;   // exponent of the first digit
};

Digitos15 digitos15(double x)
{
    char buf[64];
    const auto fin = std::to_chars(buf, buf + sizeof buf - 1, std::fabs(x), std::chars_format::scientific, 14).ptr;
    *fin = '\0';
    // buf: d.dddddddddddddde[+-]xx, the 15 digits correctly rounded
    Digitos15 r;
    r.digitos.push_back(buf[0]);
    r.digitos.append(buf + 2, 14);
    std::from_chars(buf + 17 + (buf[17] == '+'), fin, r.exponente);
    return r;
}

// A decimal number in the C form ("-12.5e3"), whatever the C library's
// locale says. Out of range it gives what strtod gives: an infinity for a
// magnitude too large, zero for one too small.
double leerDecimal(std::string_view s)
{
    const bool negativo = !s.empty() && s.front() == '-';
    if (!s.empty() && (s.front() == '-' || s.front() == '+'))
        s.remove_prefix(1);
    double x = 0.0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), x);
    if (r.ec == std::errc::result_out_of_range) {
        // Too large when the first significant digit stands at or after
        // the units' place once the exponent is applied.
        const size_t e = s.find_first_of("eE");
        long exponente = 0;
        if (e != std::string_view::npos) {
            const char *ini = s.data() + e + 1 + (s[e + 1] == '+');
            if (std::from_chars(ini, s.data() + s.size(), exponente).ec == std::errc::result_out_of_range)
                exponente = s[e + 1] == '-' ? -1000000 : 1000000;
        }
        const std::string_view mantisa = s.substr(0, e);
        const size_t primero = mantisa.find_first_of("123456789");
        const size_t punto = std::min(mantisa.find('.'), mantisa.size());
        const long lugar = exponente + (primero < punto ? long(punto - primero) : -long(primero - punto));
        x = lugar > 0 ? HUGE_VAL : 0.0;
    }
    return negativo ? -x : x;
}


// The powers of ten that are doubles exactly.
constexpr double kPotencias[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// 10^n exactly as std::pow gives it: from the table where 10^n is a double.
double potenciaDeDiez(int n)
{
    return n < static_cast<int>(std::size(kPotencias)) ? kPotencias[n] : std::pow(10.0, n);
}

// a (> 0) taken to 15 significant digits, then half up to an integer, read
// from the digits written out: any magnitude.
double redondearPorCifras(double a)
{
    const Digitos15 d = digitos15(a);
    std::string entero;
    bool subir = false;
    if (d.exponente >= 0) {
        const int largo = d.exponente + 1;
        if (largo >= 15) {
            entero = d.digitos + std::string(largo - 15, '0');
        } else {
            entero = d.digitos.substr(0, largo);
            subir = d.digitos[largo] >= '5';
        }
    } else {
        entero = "0";
        subir = d.exponente == -1 && d.digitos[0] >= '5';
    }
    const double magnitud = leerDecimal(entero);
    return subir ? magnitud + 1.0 : magnitud;
}

__extension__ using Entero128 = unsigned __int128;

// The same for 0 < a < 10^14 in integers: a = m / 2^d exactly, so a * 10^k
// is m * 10^k shifted right, rounded half to even as the 15 digits are.
double redondearEntero(double a)
{
    if (a < 0.25)
        return 0.0; // its 15 digits stay below a half
    // a is a normal double: its 52 stored bits with the leading one, and
    // its biased exponent.
    std::uint64_t bits = 0;
    std::memcpy(&bits, &a, sizeof bits);
    const std::uint64_t m = (bits & ((std::uint64_t(1) << 52) - 1)) | (std::uint64_t(1) << 52);
    const int desplazamiento = 1075 - static_cast<int>(bits >> 52); // a = m / 2^desplazamiento, >= 6 below 10^14
    int e = a < 1.0 ? -1 : 0; // decimal exponent of a's first digit
    while (e < 13 && a >= kPotencias[e + 1])
        ++e;
    // q: a's 15 significant digits as an integer, a ~ q * 10^(e - 14).
    const Entero128 producto = static_cast<Entero128>(m) * kPotenciasEnteras[14 - e];
    std::uint64_t q = static_cast<std::uint64_t>(producto >> desplazamiento);
    const Entero128 resto = producto & ((static_cast<Entero128>(1) << desplazamiento) - 1);
    const Entero128 mitad = static_cast<Entero128>(1) << (desplazamiento - 1);
    if (resto > mitad || (resto == mitad && (q & 1) != 0))
        ++q;
    if (q == kPotenciasEnteras[15]) { // rounded up to the next power of ten
        q = kPotenciasEnteras[14];
        ++e;
    }
    if (e >= 14)
        return static_cast<double>(q);
    // The integer part of q * 10^(e - 14), one more when the next digit is 5 or more.
    const std::uint64_t unidad = kPotenciasEnteras[14 - e];
    const std::uint64_t entero = q / unidad;
    return static_cast<double>(q % unidad >= unidad / 2 ? entero + 1 : entero);
}

// Below 2^50 a double is less than an eighth of a unit from its neighbours.
constexpr double kDosA50 = 1125899906842624.0;

// The integer m with its last n digits after a point (zeros put before it
// where it has fewer), after a minus sign when negativo.
// "00" to "99": two digits of a number at a time.
constexpr char kPares[] = "0001020304050607080910111213141516171819202122232425262728293031323334353637383940414243444546474849"
                          "5051525354555657585960616263646566676869707172737475767778798081828384858687888990919293949596979899";

// The digits of 0 <= m < 2^50 (none for 0), from its bit length.
int cifrasDe(std::uint64_t m)
{
    const int t = ((64 - __builtin_clzll(m | 1)) * 1233) >> 12; // about the bits times log10(2)
    return t + (m >= kPotenciasEnteras[t]);
}

std::to_chars_result escribirConPunto(char *desde, char *hasta, bool negativo, std::uint64_t m, int n)
{
    const int total = int(negativo) + std::max(cifrasDe(m) - n, 1) + (n > 0 ? n + 1 : 0);
    if (hasta - desde < total)
        return {hasta, std::errc::value_too_large};
    // From the last digit back, two at a time (a division by a constant is
    // a product): n decimals, the point, and the integer part, at least one
    // digit.
    char *p = desde + total;
    const auto dos = [&](std::uint64_t v) {
        p -= 2;
        std::memcpy(p, kPares + 2 * v, 2);
    };
    int k = 0;
    for (; k + 2 <= n; k += 2, m /= 100)
        dos(m % 100);
    if (k < n) {
        *--p = char('0' + m % 10);
        m /= 10;
    }
    if (n > 0)
        *--p = '.';
    for (; m >= 100; m /= 100)
        dos(m % 100);
    if (m >= 10)
        dos(m);
    else
        *--p = char('0' + m);
    if (negativo)
        *--p = '-';
    return {desde + total, std::errc()};
}

// The integer nearest to 0 <= a < 2^50 where a is within a quarter of it
// (otherwise one of the two around a): cheaper than the library's rounding.
std::uint64_t enteroCercano(double a) { return std::uint64_t(a + 0.5); }

// Whether m * 10^-d (0 < m < 2^50, no trailing zero when d > 0) is no longer in
// fixed form than with an exponent, as the shortest form chooses.
bool fijoNoMasLargo(std::uint64_t m, int d)
{
    const int largo = cifrasDe(m);
    if (d > 0 && largo > d)
        return true; // one character more than the digits, against four
    int significativas = largo;
    for (std::uint64_t r = m; d == 0 && r % 10 == 0; r /= 10)
        --significativas;
    const int exponente = largo - 1 - d;
    const int fijo = exponente >= 0 ? largo + (d > 0) : d + 2;
    const int conExponente = significativas + (significativas > 1) + 2 + (std::abs(exponente) >= 100 ? 3 : 2);
    return fijo <= conExponente;
}

} // namespace

std::to_chars_result escribirFijo(char *desde, char *hasta, double x, int n)
{
    // Near a multiple of 10^-n the digits are those of the nearest integer
    // to x * 10^n: the exact x is less than a third of a unit from it.
    if (n >= 0 && n <= 15 && std::isfinite(x)) {
        const double a = std::fabs(x) * kPotencias[n];
        if (a < kDosA50) {
            const std::uint64_t m = enteroCercano(a);
            if (std::fabs(a - double(m)) <= 0.25)
                return escribirConPunto(desde, hasta, std::signbit(x), m, n);
        }
    }
    return std::to_chars(desde, hasta, x, std::chars_format::fixed, n);
}

namespace {

// From 1 to 10^15: the figure to 15 significant digits, m / 10^d, in one
// step. When that gives x back, no other 15-digit string does (they stand
// further apart than the doubles that read as x), and the shortest string,
// padded with zeros to 15 digits, is one: m without its trailing zeros.
// False when x needs more digits.
bool cortoDeQuinceCifras(double a, std::uint64_t &m, int &d)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &a, sizeof bits);
    const int exponente2 = int(bits >> 52) - 1023; // a >= 1: its binary exponent, 0 to 49
    int e = (exponente2 * 1233) >> 12;              // about exponente2 * log10(2): e or one below
    while (e < 15 && a >= kPotencias[e + 1])
        ++e;
    d = 14 - e;
    m = enteroCercano(a * kPotencias[d]);
    if (double(m) / kPotencias[d] != a)
        return false;
    // Its trailing zeros, 8, 4, 2 and 1 at a time.
    for (const int paso : {8, 4, 2, 1})
        if (d >= paso && m % kPotenciasEnteras[paso] == 0)
            m /= kPotenciasEnteras[paso], d -= paso;
    return true;
}

// The fewest decimals d, from 1 to hasta, whose m / 10^d gives a back, while
// a * 10^d stays below 2^50; 0 when there are none.
int menosDecimales(double a, int hasta, std::uint64_t &m)
{
    for (int d = 1; d <= hasta; ++d) {
        const double escalado = a * kPotencias[d];
        if (escalado >= kDosA50)
            return 0;
        // A string of d decimals that gives a back is within an eighth of
        // a * 10^d, so within 3/16 of its product: else no division.
        m = enteroCercano(escalado);
        if (std::fabs(escalado - double(m)) <= 0.1875 && double(m) / kPotencias[d] == a)
            return d;
    }
    return 0;
}

} // namespace

std::to_chars_result escribirCorto(char *desde, char *hasta, double x)
{
    // The fewest decimals d whose m / 10^d gives x back (one division, as
    // the reader does): below 2^50 no other string of d decimals does, and
    // none of fewer, so it is the shortest, unless the exponent form is
    // shorter still.
    const double a = std::fabs(x);
    std::uint64_t m = 0;
    int d = 0;
    if (a >= 1.0 && a < 1e15) {
        // A whole number (most figures of a calculation): its own digits are
        // the shortest string, no scaling to find them.
        if (const auto entero = std::uint64_t(a); double(entero) == a) {
            if (fijoNoMasLargo(entero, 0))
                return escribirConPunto(desde, hasta, std::signbit(x), entero, 0);
            return std::to_chars(desde, hasta, x);
        }
        // Amounts and shares have a few decimals: the fewest that give x
        // back, found as below 1, before the fifteen-digit search (with a
        // whole part, the fixed form is the shorter).
        if ((d = menosDecimales(a, 4, m)) > 0)
            return escribirConPunto(desde, hasta, std::signbit(x), m, d);
        if (cortoDeQuinceCifras(a, m, d) && fijoNoMasLargo(m, d))
            return escribirConPunto(desde, hasta, std::signbit(x), m, d);
        return std::to_chars(desde, hasta, x);
    }
    if (a != 0.0 && a < 1.0 && (d = menosDecimales(a, 15, m)) > 0 && fijoNoMasLargo(m, d))
        return escribirConPunto(desde, hasta, std::signbit(x), m, d);
    return std::to_chars(desde, hasta, x);
}

QChar SeparadorDecimal(const QLocale &locale)
{
    const QString texto = locale.toString(1.5);
    for (const QChar c : texto) {
        if (!c.isDigit())
            return c;
    }
    return QLatin1Char(',');
}

void fijarSeparadores(const QLocale &locale)
{
    g_decimal = SeparadorDecimal(locale);
    g_miles = locale.groupSeparator();
    if (g_miles.isEmpty() || g_miles == QString(g_decimal))
        g_miles = g_decimal == QLatin1Char(',') ? QStringLiteral(".") : QStringLiteral(",");
}

QChar separadorDecimal() { return g_decimal; }
QString separadorMiles() { return g_miles; }

const double detalle::kPotenciasDeDiez[16] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                               1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Near a half, and every case but 0 <= n <= 15 and 0.25 <= |x| * 10^n < 10^14.
std::optional<double> detalle::redondearDespacio(double x, int n)
{
    if (!std::isfinite(x) || n < 0)
        return std::nullopt;
    const double p = potenciaDeDiez(n);
    const double y = x * p;
    if (!std::isfinite(y) || std::fabs(y) > kMaximoDecimal)
        return std::nullopt;
    if (y == 0.0)
        return 0.0;
    const double a = std::fabs(y);
    // Below 10^14 the integer arithmetic is exact; above, the digits.
    const double magnitud = a < 1e14 ? redondearEntero(a) : redondearPorCifras(a);
    const double r = magnitud / p;
    if (r == 0.0)
        return 0.0;
    return x < 0 ? -r : r;
}

QString numeroPlano(double x)
{
    if (!std::isfinite(x))
        return QString();
    if (x == 0.0)
        return QStringLiteral("0");
    const Digitos15 d = digitos15(x);
    std::string dig = d.digitos;
    // The digits after rounding to 15 significant ones; drop trailing zeros.
    while (dig.size() > 1 && dig.back() == '0')
        dig.pop_back();
    std::string s;
    if (x < 0)
        s.push_back('-');
    const int e = d.exponente;
    if (e < 0) {
        s += "0.";
        s.append(static_cast<size_t>(-e - 1), '0');
        s += dig;
    } else if (static_cast<int>(dig.size()) <= e + 1) {
        s += dig;
        s.append(static_cast<size_t>(e + 1 - static_cast<int>(dig.size())), '0');
    } else {
        s += dig.substr(0, e + 1);
        s.push_back('.');
        s += dig.substr(e + 1);
    }
    return QString::fromLatin1(s.c_str());
}

QString FormatearNumero(const Valor &v, int decimales, bool mostrarCero)
{
    if (decimales < 0) {
        switch (v.tipo()) {
        case Valor::Tipo::Vacio:
            return QString();
        case Valor::Tipo::Texto:
            return v.texto();
        case Valor::Tipo::Booleano:
            return v.booleano() ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
        case Valor::Tipo::Numero:
            return numeroPlano(v.numero()).replace(QLatin1Char('.'), separadorDecimal());
        }
    }
    if (v.vacio())
        return QString();
    if (v.esTexto())
        return v.texto();
    const double x = v.n();
    if (!std::isfinite(x))
        return QString();
    if (x == 0.0 && !mostrarCero)
        return QString();
    const double r = Redondear(x, decimales).value_or(x);
    char buf[400];
    const auto [fin, error] = escribirFijo(buf, buf + sizeof buf, std::fabs(r), decimales);
    if (error != std::errc())
        return QString();
    const std::string s(buf, fin);
    const size_t punto = s.find('.');
    const std::string ent = s.substr(0, punto);
    QString texto;
    // Redondear never gives -0, and a negative it gives shows a digit.
    if (r < 0)
        texto += QLatin1Char('-');
    for (size_t k = 0; k < ent.size(); ++k) {
        if (k > 0 && (ent.size() - k) % 3 == 0)
            texto += separadorMiles();
        texto += QLatin1Char(ent[k]);
    }
    if (punto != std::string::npos) {
        texto += separadorDecimal();
        texto += QString::fromLatin1(s.substr(punto + 1).c_str());
    }
    return texto;
}

double numeroMostrado(double x, int n)
{
    // Where the display is empty, what is read is 0.
    if (!std::isfinite(x))
        return 0.0;
    const double r = Redondear(x, n).value_or(x);
    char buf[400];
    const auto [fin, error] = escribirFijo(buf, buf + sizeof buf, std::fabs(r), n);
    if (error != std::errc())
        return 0.0;
    const std::string_view s(buf, size_t(fin - buf));
    const double m = leerDecimal(s);
    // A figure that shows as zero shows no sign.
    return r < 0 && s.find_first_not_of("0.") != std::string_view::npos ? -m : m;
}

QString textoEdicion(const Valor &v, int decimales)
{
    if (decimales < 0)
        return FormatearNumero(v, -1, true);
    if (v.esTexto())
        return v.texto();
    if (v.esCero())
        return QString();
    return numeroPlano(v.n()).replace(QLatin1Char('.'), separadorDecimal());
}

double valorInicial(const QString &texto)
{
    // Blanks, tabs and line feeds are skipped anywhere; reading stops at the
    // first character that cannot continue the number.
    std::string s;
    for (const QChar c : texto) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            continue;
        s.push_back(c.unicode() < 128 ? static_cast<char>(c.unicode()) : '\x01');
    }
    size_t k = 0;
    std::string num;
    if (k < s.size() && (s[k] == '+' || s[k] == '-'))
        num.push_back(s[k++]);
    bool digitos = false;
    while (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) {
        num.push_back(s[k++]);
        digitos = true;
    }
    if (k < s.size() && s[k] == '.') {
        num.push_back(s[k++]);
        while (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) {
            num.push_back(s[k++]);
            digitos = true;
        }
    }
    if (!digitos)
        return 0.0;
    if (k < s.size() && (s[k] == 'e' || s[k] == 'E' || s[k] == 'd' || s[k] == 'D')) {
        std::string exp = "e";
        size_t j = k + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            exp.push_back(s[j++]);
        bool hay = false;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
            exp.push_back(s[j++]);
            hay = true;
        }
        if (hay)
            num += exp;
    }
    return leerDecimal(num);
}

Valor LeerCampo(const QString &texto, int decimales)
{
    if (decimales < 0)
        return Valor(texto.trimmed());
    QString t = texto;
    t.replace(separadorDecimal(), QLatin1Char('.'));
    return Valor(valorInicial(t));
}

ResultadoTecla FiltrarTeclaNumero(const EstadoTexto &antes, QChar c, int D, int M)
{
    ResultadoTecla r;
    r.estado = antes;
    EstadoTexto &e = r.estado;
    // The selection goes first, whatever happens to the character.
    if (e.largoSeleccion > 0) {
        e.texto.remove(e.inicioSeleccion, e.largoSeleccion);
        e.cursor = e.inicioSeleccion;
    }
    e.inicioSeleccion = e.cursor;
    e.largoSeleccion = 0;

    const int L = static_cast<int>(e.texto.size());
    const int P = static_cast<int>(e.texto.indexOf(separadorDecimal())) + 1;
    const int C = e.cursor;
    const int G = P > 0 ? (P - 1) / 3 : L / 3;

    bool acepta = false;
    if (D < 0) {
        acepta = true;
    } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
        if (D == 0)
            acepta = !(L >= M - G);
        else if (P > 0)
            acepta = !((C >= P && L - P >= D) || (C < P && P - 1 >= M - G - D - 1));
        else
            acepta = !(L > M - D - 2);
    } else if (c == separadorDecimal() && D > 0) {
        acepta = P == 0 && L - C <= D;
    }
    if (acepta) {
        e.texto.insert(e.cursor, c);
        e.cursor += 1;
        e.inicioSeleccion = e.cursor;
    }
    r.aceptada = acepta;
    return r;
}

} // namespace pelmora
