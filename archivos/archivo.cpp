#include "archivos/archivo.h"

#include "calculo/catalogo.h"
#include "entrada/numeros.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <utility>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pelmora {

namespace {

constexpr int kLineas = 184;
const char *const kSalto = "\r\n";

enum class Leido { Ok, Mal };

// One item of a line: "", a quoted text (a doubled quote inside stands
// for one quote), #TRUE# / #FALSE#, or a number with "." as separator.
Leido leerItem(const QString &linea, Valor &v)
{
    const QString t = linea.trimmed();
    if (t.isEmpty()) {
        v = Valor();
        return Leido::Ok;
    }
    if (t.startsWith(QLatin1Char('"'))) {
        QString texto;
        int k = 1;
        for (;;) {
            if (k >= t.size())
                return Leido::Mal; // no closing quote
            const QChar ch = t[k];
            if (ch == QLatin1Char('"')) {
                if (k + 1 < t.size() && t[k + 1] == QLatin1Char('"')) {
                    texto += QLatin1Char('"');
                    k += 2;
                    continue;
                }
                break;
            }
            // A stray carriage return reads as the blank the writer puts
            // in its place, so that what is read is what is written back.
            texto += ch == QLatin1Char('\r') ? QChar(QLatin1Char(' ')) : ch;
            ++k;
        }
        if (k + 1 != t.size())
            return Leido::Mal; // something after the closing quote
        v = Valor(texto);
        return Leido::Ok;
    }
    if (t.compare(QLatin1String("#TRUE#"), Qt::CaseInsensitive) == 0) {
        v = Valor(true);
        return Leido::Ok;
    }
    if (t.compare(QLatin1String("#FALSE#"), Qt::CaseInsensitive) == 0) {
        v = Valor(false);
        return Leido::Ok;
    }
    static const QRegularExpression numero(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    if (!numero.match(t).hasMatch())
        return Leido::Mal;
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return Leido::Mal;
    v = Valor(d);
    return Leido::Ok;
}

Leido leerFecha(const QString &linea, QDate &fecha)
{
    static const QRegularExpression patron(QStringLiteral("^#(\\d{4})-(\\d{1,2})-(\\d{1,2})#$"));
    const auto m = patron.match(linea.trimmed());
    if (!m.hasMatch())
        return Leido::Mal;
    const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
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

} // namespace

ErrorArchivo LeerCalculo(const QByteArray &bytes, Columna &s, Columna &o)
{
    QStringList lineas = desdeWindows1252(bytes).split(QLatin1Char('\n'));
    if (!lineas.isEmpty() && lineas.last().isEmpty())
        lineas.removeLast(); // the end of the last line
    if (lineas.size() < kLineas)
        return ErrorArchivo::MalEstado;
    for (QString &l : lineas) {
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    }

    Columna ns = s, no = o;
    int n = 0;
    for (Columna *c : {&ns, &no}) {
        for (Seccion sec : kSeccionesGrabadas) {
            for (int i : ListaGrabada(sec)) {
                Valor &v = (*c)(sec, i);
                if (leerItem(lineas[n++], v) != Leido::Ok || !deSuClase(sec, i, v))
                    return ErrorArchivo::MalEstado;
            }
        }
        if (leerFecha(lineas[n++], c->Fecha) != Leido::Ok)
            return ErrorArchivo::MalEstado;
    }
    s = std::move(ns);
    o = std::move(no);
    return ErrorArchivo::Ninguno;
}

QByteArray EscribirCalculo(const Columna &s, const Columna &o)
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

// The cause of a failure to reach a file, told apart as the dialogs do.
ErrorArchivo causaRuta(const QString &ruta, bool paraEscribir)
{
    const QFileInfo info(ruta);
    if (ruta.trimmed().isEmpty() || info.fileName().trimmed().isEmpty() || ruta.contains(QChar(0)))
        return ErrorArchivo::NombreNoValido;
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

namespace {

// A calculation file is small; anything larger is not one.
constexpr qint64 kTamanoMaximo = 1024 * 1024;

// The bytes of a calculation file. Only a regular file is read (links
// followed): a device, a pipe or a socket is refused before it is opened,
// so nothing blocks or runs on without end; and no more than kTamanoMaximo
// bytes are taken, whatever size the system reports.
ErrorArchivo leerArchivo(const QString &ruta, QByteArray &bytes)
{
#ifdef Q_OS_UNIX
    const QByteArray nombre = QFile::encodeName(ruta);
    struct stat st;
    if (::stat(nombre.constData(), &st) != 0)
        return errno == ENOENT ? ErrorArchivo::NoEncontrado : ErrorArchivo::AccesoDenegado;
    if (!S_ISREG(st.st_mode))
        return ErrorArchivo::AccesoDenegado;
    // Not blocking, should the path have become something else meanwhile.
    const int fd = ::open(nombre.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? ErrorArchivo::NoEncontrado : ErrorArchivo::AccesoDenegado;
    ErrorArchivo e = ErrorArchivo::Ninguno;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        e = ErrorArchivo::AccesoDenegado;
    } else if (st.st_size > kTamanoMaximo) {
        e = ErrorArchivo::MalEstado;
    } else {
        bytes.clear();
        bytes.reserve(st.st_size + 1);
        char trozo[16384];
        for (;;) {
            // One byte more than the limit tells a file that is too long.
            const qint64 falta = kTamanoMaximo + 1 - bytes.size();
            const ssize_t n = ::read(fd, trozo, size_t(std::min<qint64>(qint64(sizeof trozo), falta)));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                e = ErrorArchivo::MalEstado;
                break;
            }
            if (n == 0)
                break;
            bytes.append(trozo, n);
            if (bytes.size() > kTamanoMaximo) {
                e = ErrorArchivo::MalEstado;
                break;
            }
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

} // namespace

ErrorArchivo AbrirArchivo(Calculo &c, const QString &ruta)
{
    if (const ErrorArchivo e = causaRuta(ruta, false); e != ErrorArchivo::Ninguno)
        return e;
    QByteArray bytes;
    if (const ErrorArchivo e = leerArchivo(ruta, bytes); e != ErrorArchivo::Ninguno)
        return e;

    Columna s = c.columnaS(), o = c.columnaO();
    if (const ErrorArchivo e = LeerCalculo(bytes, s, o); e != ErrorArchivo::Ninguno)
        return e;
    c.cargarColumnas(std::move(s), std::move(o));
    return ErrorArchivo::Ninguno;
}

namespace {

qint64 g_limiteEscritura = -1;

// Writes all of bytes at the device's position, checking every step; a
// test limit makes the write fail part-way, as a full disk does.
bool escribirTodo(QFileDevice &f, const QByteArray &bytes)
{
    qint64 hecho = 0;
    while (hecho < bytes.size()) {
        qint64 trozo = bytes.size() - hecho;
        if (g_limiteEscritura >= 0) {
            trozo = std::min(trozo, g_limiteEscritura - hecho);
            if (trozo <= 0)
                return false;
        }
        const qint64 n = f.write(bytes.constData() + hecho, trozo);
        if (n <= 0)
            return false;
        hecho += n;
    }
    return f.flush() && f.error() == QFileDevice::NoError;
}

// Makes sure what was written is on the disk, not only in the system's cache.
bool sincronizar(QFileDevice &f)
{
#ifdef Q_OS_UNIX
    const int fd = f.handle();
    return fd < 0 || ::fsync(fd) == 0;
#else
    Q_UNUSED(f);
    return true;
#endif
}

// Rewrites an existing file in place (its folder takes no temporary file).
// On a failure the old bytes go back where they were.
ErrorArchivo grabarEnSuSitio(const QString &ruta, const QByteArray &bytes)
{
    QFile f(ruta);
    if (!f.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return ErrorArchivo::AccesoDenegado;
    const QByteArray antes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return ErrorArchivo::AccesoDenegado;
    bool ok = f.seek(0) && escribirTodo(f, bytes) && f.resize(bytes.size()) && sincronizar(f);
    if (!ok) {
        const qint64 limite = std::exchange(g_limiteEscritura, -1);
        f.unsetError();
        if (f.seek(0) && escribirTodo(f, antes))
            f.resize(antes.size());
        sincronizar(f);
        g_limiteEscritura = limite;
    }
    return ok ? ErrorArchivo::Ninguno : ErrorArchivo::AccesoDenegado;
}

} // namespace

qint64 limitarEscrituraParaPruebas(qint64 bytes) { return std::exchange(g_limiteEscritura, bytes); }

ErrorArchivo GrabarBytes(const QString &ruta, const QByteArray &bytes)
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
            return grabarEnSuSitio(ruta, bytes);
        return ErrorArchivo::AccesoDenegado;
    }
    if (!escribirTodo(f, bytes) || !sincronizar(f)) {
        f.cancelWriting();
        return ErrorArchivo::AccesoDenegado;
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
    const QByteArray bytes = EscribirCalculo(s, c.columnaO());

    if (const ErrorArchivo e = GrabarBytes(ruta, bytes); e != ErrorArchivo::Ninguno)
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
    }
    return QString();
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
