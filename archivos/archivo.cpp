#include "archivos/archivo.h"

#include "calculo/catalogo.h"
#include "entrada/numeros.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pelmora {

namespace {

const char *const kSalto = "\r\n";

enum class Leido { Ok, Mal };

// The blanks trimmed around an item: the bytes whose characters are white
// space (tab, line feed, vertical tab, form feed, carriage return, blank
// and no-break space).
bool esBlanco(char b)
{
    const auto u = static_cast<unsigned char>(b);
    return u == 0x20 || (u >= 0x09 && u <= 0x0D) || u == 0xA0;
}

QByteArrayView sinBlancos(QByteArrayView t)
{
    while (!t.isEmpty() && esBlanco(t.front()))
        t = t.sliced(1);
    while (!t.isEmpty() && esBlanco(t.back()))
        t.chop(1);
    return t;
}

bool esCifra(char b) { return b >= '0' && b <= '9'; }

// The ASCII letters of t, compared without regard to case.
bool igualSinMayusculas(QByteArrayView t, const char *palabra)
{
    const auto n = qsizetype(std::strlen(palabra));
    if (t.size() != n)
        return false;
    for (qsizetype k = 0; k < n; ++k) {
        const char a = t[k] >= 'a' && t[k] <= 'z' ? char(t[k] - 32) : t[k];
        if (a != palabra[k])
            return false;
    }
    return true;
}

// A quoted text (a doubled quote inside stands for one quote) that ends
// with its closing quote.
Leido leerTexto(QByteArrayView t, Valor &v)
{
    QString texto;
    texto.reserve(t.size());
    qsizetype k = 1;
    for (;;) {
        if (k >= t.size())
            return Leido::Mal; // no closing quote
        const char ch = t[k];
        if (ch == '"') {
            if (k + 1 < t.size() && t[k + 1] == '"') {
                texto += QLatin1Char('"');
                k += 2;
                continue;
            }
            break;
        }
        // A stray carriage return reads as the blank the writer puts in
        // its place, so that what is read is what is written back.
        texto += ch == '\r' ? QChar(QLatin1Char(' ')) : caracterWindows1252(static_cast<unsigned char>(ch));
        ++k;
    }
    if (k + 1 != t.size())
        return Leido::Mal; // something after the closing quote
    v = Valor(texto);
    return Leido::Ok;
}

// A number with "." as separator: an optional sign, digits with at most one
// point (at least one digit), an optional exponent; finite.
Leido leerNumero(QByteArrayView t, Valor &v)
{
    // The digits are gathered as an integer on the way: a plain decimal of
    // at most 15 of them and a power of ten are both doubles exactly, so one
    // division gives the nearest double, as from_chars would.
    constexpr double kPotencias[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::uint64_t entero = 0;
    int cifras = 0, decimales = 0;
    const auto cifra = [&](char c) {
        entero = entero * 10 + std::uint64_t(c - '0');
        ++cifras;
    };
    qsizetype k = 0;
    if (k < t.size() && (t[k] == '+' || t[k] == '-'))
        ++k;
    while (k < t.size() && esCifra(t[k]) && cifras < 16)
        cifra(t[k++]);
    while (k < t.size() && esCifra(t[k]))
        ++k, ++cifras;
    if (k < t.size() && t[k] == '.') {
        ++k;
        while (k < t.size() && esCifra(t[k]) && cifras < 16)
            cifra(t[k++]), ++decimales;
        while (k < t.size() && esCifra(t[k]))
            ++k, ++cifras;
    }
    if (cifras == 0)
        return Leido::Mal;
    bool exponente = false;
    if (k < t.size() && (t[k] == 'e' || t[k] == 'E')) {
        exponente = true;
        ++k;
        if (k < t.size() && (t[k] == '+' || t[k] == '-'))
            ++k;
        const qsizetype desde = k;
        while (k < t.size() && esCifra(t[k]))
            ++k;
        if (k == desde)
            return Leido::Mal;
    }
    if (k != t.size())
        return Leido::Mal;
    if (!exponente && cifras <= 15) {
        const double x = double(entero) / kPotencias[decimales];
        v = Valor(t[0] == '-' ? -x : x);
        return Leido::Ok;
    }
    // from_chars takes no "+"; it fails on what a double cannot hold.
    const char *desde = t.data() + (t[0] == '+' ? 1 : 0);
    double d = 0.0;
    const auto r = std::from_chars(desde, t.data() + t.size(), d);
    if (r.ec != std::errc() || r.ptr != t.data() + t.size() || !std::isfinite(d))
        return Leido::Mal;
    v = Valor(d);
    return Leido::Ok;
}

// One item of a line: "", a quoted text, #TRUE# / #FALSE#, or a number.
Leido leerItem(QByteArrayView linea, Valor &v)
{
    const QByteArrayView t = sinBlancos(linea);
    if (t.isEmpty()) {
        v = Valor();
        return Leido::Ok;
    }
    if (t[0] == '"')
        return leerTexto(t, v);
    if (igualSinMayusculas(t, "#TRUE#")) {
        v = Valor(true);
        return Leido::Ok;
    }
    if (igualSinMayusculas(t, "#FALSE#")) {
        v = Valor(false);
        return Leido::Ok;
    }
    return leerNumero(t, v);
}

// #yyyy-m-d# (month and day of one or two digits), a real date.
Leido leerFecha(QByteArrayView linea, QDate &fecha)
{
    const QByteArrayView t = sinBlancos(linea);
    int partes[3] = {0, 0, 0};
    const int largos[3][2] = {{4, 4}, {1, 2}, {1, 2}};
    qsizetype k = 0;
    if (k >= t.size() || t[k++] != '#')
        return Leido::Mal;
    for (int p = 0; p < 3; ++p) {
        int cifras = 0;
        while (k < t.size() && esCifra(t[k]) && cifras < largos[p][1])
            partes[p] = partes[p] * 10 + (t[k++] - '0'), ++cifras;
        if (cifras < largos[p][0] || k >= t.size() || t[k++] != (p < 2 ? '-' : '#'))
            return Leido::Mal;
    }
    if (k != t.size())
        return Leido::Mal;
    const QDate d(partes[0], partes[1], partes[2]);
    if (!d.isValid())
        return Leido::Mal;
    fecha = d;
    return Leido::Ok;
}

// A stored item of the kind its field takes: a free text takes whatever
// it holds; an option #TRUE# or #FALSE#; any other field a number, or
// nothing.
bool deSuClase(Seccion sec, int i, const Valor &v)
{
    const CampoInfo &info = campo(sec, i);
    if (info.esTexto())
        return true;
    if (info.tipo == TipoCampo::Opcion)
        return v.esBooleano();
    return v.esNumero() || v.vacio();
}

QString escribirItem(const Valor &v)
{
    switch (v.tipo()) {
    case Valor::Tipo::Vacio:
        return QString();
    case Valor::Tipo::Numero:
        return numeroPlano(v.numero());
    case Valor::Tipo::Booleano:
        return v.booleano() ? QStringLiteral("#TRUE#") : QStringLiteral("#FALSE#");
    case Valor::Tipo::Texto: {
        // One line per item: line breaks cannot stand inside a text.
        QString t = v.texto();
        t.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        t.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        return QLatin1Char('"') + t + QLatin1Char('"');
    }
    }
    return QString();
}

QString escribirFecha(const QDate &d)
{
    // A column that never got a date keeps the empty date of the format.
    const QDate f = d.isValid() ? d : QDate(1899, 12, 30);
    return QLatin1Char('#') + f.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('#');
}

// The bytes parsed straight into two columns, which a failure leaves half
// written: for columns that are thrown away then.
ErrorArchivo leerEn(const QByteArray &bytes, Columna &s, Columna &o)
{
    // The lines one by one, each without its end (LF, or CR LF); a file
    // that ends with a line end has no empty line after it.
    qsizetype desde = 0;
    auto siguiente = [&](QByteArrayView &linea) {
        if (desde >= bytes.size())
            return false;
        const auto *salto =
            static_cast<const char *>(std::memchr(bytes.constData() + desde, '\n', size_t(bytes.size() - desde)));
        const qsizetype fin = salto ? qsizetype(salto - bytes.constData()) : bytes.size();
        linea = QByteArrayView(bytes.constData() + desde, fin - desde);
        if (linea.endsWith('\r'))
            linea.chop(1);
        desde = fin + 1;
        return true;
    };

    QByteArrayView linea;
    for (Columna *c : {&s, &o}) {
        for (Seccion sec : kSeccionesGrabadas) {
            for (int i : ListaGrabada(sec)) {
                Valor &v = (*c)(sec, i);
                if (!siguiente(linea) || leerItem(linea, v) != Leido::Ok || !deSuClase(sec, i, v))
                    return ErrorArchivo::MalEstado;
            }
        }
        if (!siguiente(linea) || leerFecha(linea, c->Fecha) != Leido::Ok)
            return ErrorArchivo::MalEstado;
    }
    return ErrorArchivo::Ninguno;
}

} // namespace

ErrorArchivo leerCalculo(const QByteArray &bytes, Columna &s, Columna &o)
{
    Columna ns = s, no = o;
    if (const ErrorArchivo e = leerEn(bytes, ns, no); e != ErrorArchivo::Ninguno)
        return e;
    s = std::move(ns);
    o = std::move(no);
    return ErrorArchivo::Ninguno;
}

QByteArray escribirCalculo(const Columna &s, const Columna &o)
{
    QString texto;
    for (const Columna *c : {&s, &o}) {
        for (Seccion sec : kSeccionesGrabadas)
            for (int i : ListaGrabada(sec))
                texto += escribirItem((*c)(sec, i)) + QLatin1String(kSalto);
        texto += escribirFecha(c->Fecha) + QLatin1String(kSalto);
    }
    return aWindows1252(texto);
}

namespace {

// A name no file may have: blank, or holding a NUL. Told from the text alone.
bool nombreNoValido(const QString &ruta)
{
    return ruta.trimmed().isEmpty() || QFileInfo(ruta).fileName().trimmed().isEmpty() || ruta.contains(QChar(0));
}

// The cause of a failure to reach a file, told apart as the dialogs do.
ErrorArchivo causaRuta(const QString &ruta, bool paraEscribir)
{
    const QFileInfo info(ruta);
    if (nombreNoValido(ruta))
        return ErrorArchivo::NombreNoValido;
#ifdef Q_OS_UNIX
    // The reader looks at the path itself, by its bytes.
    if (!paraEscribir)
        return ErrorArchivo::Ninguno;
#endif
    const QFileInfo carpeta(info.absolutePath());
    if (!carpeta.exists() || !carpeta.isDir())
        return ErrorArchivo::CarpetaNoExiste;
    if (info.isDir())
        return ErrorArchivo::AccesoDenegado;
    if (!paraEscribir && !info.exists())
        return ErrorArchivo::NoEncontrado;
    return ErrorArchivo::Ninguno;
}

} // namespace

QString nombreDeArchivo(QByteArrayView bytes)
{
    QString r = QString::fromUtf8(bytes);
    if (r.toUtf8() == bytes)
        return r;
    r.clear();
    for (qsizetype k = 0; k < bytes.size();) {
        // The one UTF-8 character starting here (no shorter sequence is
        // one), or the byte alone.
        qsizetype largo = 1;
        while (largo <= 4 && k + largo <= bytes.size()
               && QString::fromUtf8(bytes.sliced(k, largo)).toUtf8() != bytes.sliced(k, largo))
            ++largo;
        if (largo <= 4 && k + largo <= bytes.size()) {
            r += QString::fromUtf8(bytes.sliced(k, largo));
            k += largo;
        } else {
            r += QChar(char16_t(0xDC00 + static_cast<unsigned char>(bytes[k++])));
        }
    }
    return r;
}

QByteArray bytesDeNombre(const QString &nombre)
{
    QByteArray r;
    qsizetype desde = 0;
    for (qsizetype k = 0; k < nombre.size(); ++k) {
        const char16_t c = nombre[k].unicode();
        if (c < 0xDC80 || c > 0xDCFF || (k > 0 && nombre[k - 1].isHighSurrogate()))
            continue;
        r += QStringView(nombre).sliced(desde, k - desde).toUtf8();
        r += char(c - 0xDC00);
        desde = k + 1;
    }
    return r + QStringView(nombre).sliced(desde).toUtf8();
}

namespace {

#ifdef Q_OS_UNIX
bool esCalculo(const char *nombre)
{
    const size_t n = std::strlen(nombre);
    return n > 4 && nombre[0] != '.' && ::strcasecmp(nombre + n - 4, ".clc") == 0;
}

// The *.clc entries under the open folder fd (which this closes), and the
// folders that cannot be read, handed to cada in path order as they are
// found: one folder's names are read and sorted (a folder's as if it ended
// with its "/", which gives the order of the whole paths), then its entries
// are handed and its folders walked in that order. Only the folders on the
// way down stay open, and only one folder's names are held at a time.
qsizetype recorrerCarpeta(int fd, const QByteArray &ruta, const std::function<void(const QString &, bool)> &cada)
{
    DIR *d = fd < 0 ? nullptr : ::fdopendir(fd);
    if (!d) {
        if (fd >= 0)
            ::close(fd);
        cada(nombreDeArchivo(ruta), false);
        return 1;
    }
    struct Entrada {
        QString clave;
        QByteArray nombre;
        bool carpeta;
        bool regular;
    };
    std::vector<Entrada> entradas;
    errno = 0;
    while (const dirent *e = ::readdir(d)) {
        if (e->d_name[0] == '.')
            continue;
        unsigned char tipo = e->d_type;
        struct stat st;
        if (tipo == DT_UNKNOWN && ::fstatat(::dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0)
            tipo = IFTODT(st.st_mode);
        if (tipo == DT_DIR)
            entradas.push_back({nombreDeArchivo(e->d_name) + QLatin1Char('/'), QByteArray(e->d_name), true, false});
        else if (esCalculo(e->d_name))
            entradas.push_back({nombreDeArchivo(e->d_name), QByteArray(e->d_name), false, tipo == DT_REG});
        errno = 0;
    }
    const bool aMedias = errno != 0; // read part-way only
    std::sort(entradas.begin(), entradas.end(), [](const Entrada &a, const Entrada &b) { return a.clave < b.clave; });
    qsizetype n = 0;
    for (const Entrada &e : entradas) {
        const QByteArray hija = ruta + '/' + e.nombre;
        if (e.carpeta) {
            n += recorrerCarpeta(::openat(::dirfd(d), e.nombre.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC),
                                 hija, cada);
        } else {
            cada(nombreDeArchivo(hija), e.regular);
            ++n;
        }
    }
    ::closedir(d);
    if (aMedias) {
        cada(nombreDeArchivo(ruta), false);
        ++n;
    }
    return n;
}
#endif

} // namespace

qsizetype recorrerCarpetaDeCalculos(const QString &carpeta,
                                    const std::function<void(const QString &ruta, bool regular)> &cada)
{
#ifdef Q_OS_UNIX
    QByteArray raiz = bytesDeNombre(carpeta);
    while (raiz.size() > 1 && raiz.endsWith('/'))
        raiz.chop(1);
    return recorrerCarpeta(::open(raiz.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC), raiz, cada);
#else
    QStringList r;
    QDirIterator it(carpeta, {QStringLiteral("*.clc")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        r << it.next();
    std::sort(r.begin(), r.end());
    for (const QString &ruta : r)
        cada(ruta, false);
    return r.size();
#endif
}

QStringList calculosEnCarpeta(const QString &carpeta)
{
    QStringList r;
    recorrerCarpetaDeCalculos(carpeta, [&](const QString &ruta, bool) { r << ruta; });
    return r;
}

bool esCarpeta(const QString &ruta)
{
#ifdef Q_OS_UNIX
    struct stat st;
    return ::stat(bytesDeNombre(ruta).constData(), &st) == 0 && S_ISDIR(st.st_mode);
#else
    return QFileInfo(ruta).isDir();
#endif
}

namespace {

// A calculation file is small; anything larger is not one.
constexpr qint64 kTamanoMaximo = 1024 * 1024;

#ifdef Q_OS_UNIX
// Why a path cannot be read, from the system's error number.
ErrorArchivo causaAlLeer(int numero, const QString &ruta)
{
    switch (numero) {
    case ELOOP:
        return ErrorArchivo::BucleDeEnlaces;
    case ENAMETOOLONG:
        return ErrorArchivo::RutaDemasiadoLarga;
    case ENOTDIR:
        return ErrorArchivo::CarpetaNoExiste;
    case ENOENT: {
        struct stat st;
        const QByteArray carpeta = bytesDeNombre(QFileInfo(ruta).absolutePath());
        return ::stat(carpeta.constData(), &st) == 0 && S_ISDIR(st.st_mode) ? ErrorArchivo::NoEncontrado
                                                                              : ErrorArchivo::CarpetaNoExiste;
    }
    default:
        return ErrorArchivo::AccesoDenegado;
    }
}
#endif

// The bytes of a calculation file. Only a regular file is read (links
// followed): a device, a pipe or a socket is refused before it is opened,
// so nothing blocks or runs on without end (when a folder walk has just seen
// a regular file there, that look was the walk's); and no more than
// kTamanoMaximo bytes are taken, whatever size the system reports.
ErrorArchivo leerArchivo(const QString &ruta, QByteArray &bytes, bool regular = false)
{
#ifdef Q_OS_UNIX
    const QByteArray nombre = bytesDeNombre(ruta);
    struct stat st;
    if (!regular && ::stat(nombre.constData(), &st) != 0)
        return causaAlLeer(errno, ruta);
    if (!regular && !S_ISREG(st.st_mode))
        return ErrorArchivo::AccesoDenegado;
    // Not blocking, should the path have become something else meanwhile.
    const int fd = ::open(nombre.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return causaAlLeer(errno, ruta);
    ErrorArchivo e = ErrorArchivo::Ninguno;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        e = ErrorArchivo::AccesoDenegado;
    } else if (st.st_size > kTamanoMaximo) {
        e = ErrorArchivo::MalEstado;
    } else {
        // Straight into the buffer, whose memory stays for the next file:
        // the size the system gives and one byte more, to see the end.
        bytes.resize(0);
        qint64 trozo = std::max<qint64>(st.st_size + 1, 4096);
        for (;;) {
            // One byte more than the limit tells a file that is too long.
            const qint64 antes = bytes.size();
            trozo = std::min(trozo, kTamanoMaximo + 1 - antes);
            bytes.resize(antes + trozo);
            const ssize_t n = ::read(fd, bytes.data() + antes, size_t(trozo));
            bytes.resize(antes + std::max<qint64>(n, 0));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                e = ErrorArchivo::MalEstado;
                break;
            }
            if (n == 0)
                break;
            if (bytes.size() > kTamanoMaximo) {
                e = ErrorArchivo::MalEstado;
                break;
            }
            // Short of what was asked with all the size the system gave:
            // a regular file's end, with no read more to see it. (Files of
            // no given size, as some file systems show, are read to the end.)
            if (st.st_size > 0 && n < trozo && bytes.size() >= st.st_size)
                break;
        }
    }
    ::close(fd);
    return e;
#else
    const QFileInfo info(ruta);
    if (!info.exists())
        return ErrorArchivo::NoEncontrado;
    if (!info.isFile())
        return ErrorArchivo::AccesoDenegado;
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return ErrorArchivo::AccesoDenegado;
    bytes = f.read(kTamanoMaximo + 1);
    if (f.error() != QFileDevice::NoError || bytes.size() > kTamanoMaximo)
        return ErrorArchivo::MalEstado;
    return ErrorArchivo::Ninguno;
#endif
}

// The file read into two columns that a failure may leave half written,
// through a buffer for its bytes.
ErrorArchivo leerColumnasEn(const QString &ruta, Columna &s, Columna &o, QByteArray &bytes, bool regular = false)
{
    if (nombreNoValido(ruta))
        return ErrorArchivo::NombreNoValido;
    // A file that reads has a folder, is no folder and exists: the checks
    // of the path's cause only tell why one does not.
    if (const ErrorArchivo e = leerArchivo(ruta, bytes, regular); e != ErrorArchivo::Ninguno) {
        const ErrorArchivo causa = causaRuta(ruta, false);
        return causa != ErrorArchivo::Ninguno ? causa : e;
    }
    return leerEn(bytes, s, o);
}

} // namespace

ErrorArchivo leerColumnas(const QString &ruta, Columna &s, Columna &o)
{
    Columna ns = s, no = o;
    QByteArray bytes;
    if (const ErrorArchivo e = leerColumnasEn(ruta, ns, no, bytes); e != ErrorArchivo::Ninguno)
        return e;
    s = std::move(ns);
    o = std::move(no);
    return ErrorArchivo::Ninguno;
}

ErrorArchivo AbrirArchivo(Calculo &c, const QString &ruta)
{
    Columna s = c.columnaS(), o = c.columnaO();
    QByteArray bytes;
    if (const ErrorArchivo e = leerColumnasEn(ruta, s, o, bytes); e != ErrorArchivo::Ninguno)
        return e;
    c.cargarColumnas(std::move(s), std::move(o));
    return ErrorArchivo::Ninguno;
}

ErrorArchivo LectorCalculos::abrir(const QString &ruta, bool regular)
{
    // A new calculation holds the minimums everywhere, and AbrirArchivo
    // reads into copies of its columns.
    calculo_.IniciarTablas();
    s_ = Calculo::Minimos();
    o_ = Calculo::Minimos();
    if (const ErrorArchivo e = leerColumnasEn(ruta, s_, o_, bytes_, regular); e != ErrorArchivo::Ninguno)
        return e;
    calculo_.intercambiarColumnas(s_, o_);
    return ErrorArchivo::Ninguno;
}

namespace {

qint64 g_limiteEscritura = -1;

// Writes all of bytes at the device's position, checking every step; a
// test limit makes the write fail part-way, as a full disk does.
ErrorArchivo escribirTodo(QFileDevice &f, const QByteArray &bytes)
{
    qint64 hecho = 0;
    while (hecho < bytes.size()) {
        qint64 trozo = bytes.size() - hecho;
        if (g_limiteEscritura >= 0) {
            trozo = std::min(trozo, g_limiteEscritura - hecho);
            if (trozo <= 0)
                return ErrorArchivo::DiscoLleno;
        }
        errno = 0;
        const qint64 n = f.write(bytes.constData() + hecho, trozo);
        if (n <= 0)
            return errorDeEscritura(errno);
        hecho += n;
    }
    errno = 0;
    if (!f.flush() || f.error() != QFileDevice::NoError)
        return errorDeEscritura(errno);
    return ErrorArchivo::Ninguno;
}

// Makes sure what was written is on the disk, not only in the system's cache.
ErrorArchivo sincronizar(QFileDevice &f)
{
#ifdef Q_OS_UNIX
    const int fd = f.handle();
    if (fd >= 0 && ::fsync(fd) != 0)
        return errorDeEscritura(errno);
#else
    Q_UNUSED(f);
#endif
    return ErrorArchivo::Ninguno;
}

// Writes bytes over the file from its start and makes them reach the disk.
ErrorArchivo escribirYSincronizar(QFileDevice &f, const QByteArray &bytes)
{
    ErrorArchivo e = escribirTodo(f, bytes);
    return e != ErrorArchivo::Ninguno ? e : sincronizar(f);
}

// True when the open file has other names besides the one it was opened by.
bool tieneOtrosEnlaces(const QFileDevice &f)
{
#ifdef Q_OS_UNIX
    struct stat st;
    return ::fstat(f.handle(), &st) != 0 || st.st_nlink > 1;
#else
    Q_UNUSED(f);
    return false;
#endif
}

// The new file (still under its temporary name) takes the owner, group and
// permissions of the file it replaces: the owner and group as far as the
// process may set them, the permissions always.
void heredarDueno(const QString &ruta, QFileDevice &nuevo)
{
#ifdef Q_OS_UNIX
    struct stat st;
    const int fd = nuevo.handle();
    if (fd < 0 || ::stat(QFile::encodeName(ruta).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return;
    // Root gives it the old owner; an owner may give it a group of theirs.
    if (::fchown(fd, st.st_uid, st.st_gid) != 0 && ::fchown(fd, uid_t(-1), st.st_gid) != 0)
        errno = 0; // neither: the new file stays the process's own
    // Changing the owner drops the set-user and set-group bits.
    ::fchmod(fd, st.st_mode & 07777);
#else
    Q_UNUSED(ruta);
    Q_UNUSED(nuevo);
#endif
}

// Rewrites an existing file in place (its folder takes no temporary file).
// On a failure the old bytes go back where they were.
ErrorArchivo grabarEnSuSitio(const QString &ruta, const QByteArray &bytes, EnSuSitio enSuSitio)
{
    QFile f(ruta);
    if (!f.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return ErrorArchivo::AccesoDenegado;
    if (enSuSitio == EnSuSitio::SoloSinOtrosEnlaces && tieneOtrosEnlaces(f))
        return ErrorArchivo::AccesoDenegado;
    const QByteArray antes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return ErrorArchivo::AccesoDenegado;
    ErrorArchivo e = f.seek(0) ? escribirTodo(f, bytes) : ErrorArchivo::AccesoDenegado;
    if (e == ErrorArchivo::Ninguno)
        e = f.resize(bytes.size()) ? sincronizar(f) : errorDeEscritura(errno);
    if (e != ErrorArchivo::Ninguno) {
        const qint64 limite = std::exchange(g_limiteEscritura, -1);
        f.unsetError();
        if (f.seek(0) && escribirTodo(f, antes) == ErrorArchivo::Ninguno)
            f.resize(antes.size());
        sincronizar(f);
        g_limiteEscritura = limite;
    }
    return e;
}

} // namespace

HuellaArchivo huellaArchivo(const QString &ruta)
{
    QByteArray bytes;
    if (leerArchivo(ruta, bytes) != ErrorArchivo::Ninguno)
        return {};
    const QFileInfo info(ruta);
    return {bytes.size(), info.lastModified().toMSecsSinceEpoch(),
            QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)};
}

qint64 limitarEscrituraParaPruebas(qint64 bytes) { return std::exchange(g_limiteEscritura, bytes); }

ErrorArchivo grabarBytes(const QString &ruta, const QByteArray &bytes, EnSuSitio enSuSitio)
{
    // Unbuffered, so that a failed write shows at once: with a buffer, the
    // failure would only come at commit time, which in some Qt versions
    // still renames the short temporary file over the old one.
    QSaveFile f(ruta);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        // A folder that takes no new file (no write permission, a locked
        // folder) still lets a writable file take the new version in place.
        // Any other failure (a full disk, say) is reported: rewriting in
        // place is the riskier road and is taken only where it is the one.
        const QFileInfo info(ruta);
        const QFileInfo carpeta(QFileInfo(info.canonicalFilePath()).absolutePath());
        if (info.isFile() && info.isWritable() && !carpeta.isWritable())
            return grabarEnSuSitio(ruta, bytes, enSuSitio);
        return ErrorArchivo::AccesoDenegado;
    }
    heredarDueno(ruta, f);
    if (const ErrorArchivo e = escribirYSincronizar(f, bytes); e != ErrorArchivo::Ninguno) {
        f.cancelWriting();
        return e;
    }
    if (!f.commit())
        return ErrorArchivo::AccesoDenegado;
    return ErrorArchivo::Ninguno;
}

ErrorArchivo GrabarCalculo(Calculo &c, const QString &ruta)
{
    c.Revisar();
    if (const ErrorArchivo e = causaRuta(ruta, true); e != ErrorArchivo::Ninguno)
        return e;

    const QDate hoy = c.hoy();
    Columna s = c.columnaS();
    s.Fecha = hoy;
    const QByteArray bytes = escribirCalculo(s, c.columnaO());

    if (const ErrorArchivo e = grabarBytes(ruta, bytes); e != ErrorArchivo::Ninguno)
        return e;

    c.marcarGrabado(hoy);
    return ErrorArchivo::Ninguno;
}

QString mensajeErrorArchivo(ErrorArchivo e)
{
    switch (e) {
    case ErrorArchivo::Ninguno:
        return QString();
    case ErrorArchivo::NombreNoValido:
        return QStringLiteral("El nombre de archivo no es válido.");
    case ErrorArchivo::NoEncontrado:
        return QStringLiteral("Archivo no encontrado.");
    case ErrorArchivo::AccesoDenegado:
        return QStringLiteral("Error de acceso a la ruta o al archivo.");
    case ErrorArchivo::CarpetaNoExiste:
        return QStringLiteral("El subdirectorio no existe.");
    case ErrorArchivo::MalEstado:
        return QStringLiteral("Archivo en mal estado.");
    case ErrorArchivo::DiscoLleno:
        return QStringLiteral("El disco está lleno.");
    case ErrorArchivo::BucleDeEnlaces:
        return QStringLiteral("Los enlaces de la ruta forman un bucle: no llevan a ningún archivo.");
    case ErrorArchivo::RutaDemasiadoLarga:
        return QStringLiteral("La ruta del archivo es demasiado larga.");
    }
    return QString();
}

ErrorArchivo errorDeEscritura(int numero)
{
#ifdef Q_OS_UNIX
    if (numero == ENOSPC || numero == EDQUOT)
        return ErrorArchivo::DiscoLleno;
#else
    Q_UNUSED(numero);
#endif
    return ErrorArchivo::AccesoDenegado;
}

QString vaciarSalida(FILE *f, int errorAntes)
{
    errno = 0;
    if (std::fflush(f) == 0 && !std::ferror(f))
        return QString();
    return mensajeErrorArchivo(errorDeEscritura(errno != 0 ? errno : errorAntes));
}

QString mensajeErrorReferencia(ErrorArchivo e)
{
    const QString pie = QStringLiteral("\r\n\r\nLos datos del Rizevorozev deben estar en este subdirectorio.");
    switch (e) {
    case ErrorArchivo::Ninguno:
        return QString();
    case ErrorArchivo::NoEncontrado:
        return QStringLiteral("Archivo no encontrado en el subdirectorio ...\\Vededizaviro.") + pie;
    case ErrorArchivo::CarpetaNoExiste:
        return QStringLiteral("No existe el subdirectorio ...\\Vededizaviro.") + pie;
    default:
        return QStringLiteral("Archivo en mal estado.");
    }
}

} // namespace pelmora
