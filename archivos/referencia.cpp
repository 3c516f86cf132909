#include "archivos/referencia.h"

#include "calculo/campos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cmath>

namespace pelmora {

const CategoriaAutocar kCategorias[kNumCategorias] = {
    {"Más de 55", "56+", "de más de 55 plazas", "Autocar Estandar mas 55 plazas.obs", 56, 0, 4},
    {"39-55", "39-55", "de 39 a 55 plazas", "Autocar Estandar 39 a 55 plazas.obs", 39, 55, 3},
    {"26-38", "26-38", "de 26 a 38 plazas", "Autocar Estandar 26 a 38 plazas.obs", 26, 38, 2},
    {"10 - 25", "10-25", "de 10 a 25 plazas", "Autocar Estandar 10 a 25 plazas.obs", 10, 25, 1},
};

namespace {

const QString kCarpeta = QStringLiteral("Vededizaviro");

bool categoriaValida(int k) { return k >= 0 && k < kNumCategorias; }

// Lower case, without blanks or accents.
QString normalizado(const QString &texto)
{
    QString r;
    for (const QChar ch : texto.normalized(QString::NormalizationForm_D))
        if (!ch.isSpace() && ch.category() != QChar::Mark_NonSpacing)
            r += ch.toLower();
    return r;
}

// The same folder or file, however the two paths are spelt (links followed).
bool mismaCarpeta(const QString &a, const QString &b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// The user's file of category k, refused when the user's folder is the
// installed one (a link or a data folder set to it).
ErrorArchivo destinoPropio(int k, const QString &carpetaInstalada, QString &destino)
{
    if (!categoriaValida(k))
        return ErrorArchivo::NombreNoValido;
    destino = rutaReferenciaUsuario(k);
    if (destino.isEmpty())
        return ErrorArchivo::CarpetaNoExiste;
    if (mismaCarpeta(carpetaReferenciaUsuario(), carpetaInstalada))
        return ErrorArchivo::AccesoDenegado;
    return ErrorArchivo::Ninguno;
}

} // namespace

int categoriaPorPlazas(double plazas)
{
    const double n = std::round(plazas);
    if (!(n >= 1))
        return -1;
    for (int k = 0; k < kNumCategorias; ++k)
        if (n >= kCategorias[k].desde)
            return k;
    return kNumCategorias - 1; // fewer than 10 seats: the smallest category
}

bool plazasEnCategoria(int k, double plazas)
{
    if (!categoriaValida(k))
        return false;
    const double n = std::round(plazas);
    const CategoriaAutocar &c = kCategorias[k];
    return n >= c.desde && (c.hasta == 0 || n <= c.hasta);
}

int categoriaDeTexto(const QString &texto)
{
    const QString t = normalizado(texto);
    if (t.isEmpty())
        return -1;
    for (int k = 0; k < kNumCategorias; ++k) {
        const CategoriaAutocar &c = kCategorias[k];
        if (t == QString::number(c.numero) || t == normalizado(QString::fromUtf8(c.plazas))
            || t == normalizado(QString::fromUtf8(c.corta)))
            return k;
    }
    return -1;
}

QString carpetaReferenciaUsuario()
{
    const QString datos = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return datos.isEmpty() ? QString() : QDir::cleanPath(datos) + QLatin1Char('/') + kCarpeta;
}

QString rutaReferenciaUsuario(int k)
{
    const QString carpeta = carpetaReferenciaUsuario();
    if (carpeta.isEmpty() || !categoriaValida(k))
        return QString();
    return carpeta + QLatin1Char('/') + QString::fromUtf8(kCategorias[k].archivo);
}

QString rutaReferenciaInstalada(int k, const QString &carpetaInstalada)
{
    if (!categoriaValida(k))
        return QString();
    return carpetaInstalada + QLatin1Char('/') + QString::fromUtf8(kCategorias[k].archivo);
}

bool hayReferenciaPropia(int k, const QString &carpetaInstalada)
{
    const QString propia = rutaReferenciaUsuario(k);
    if (propia.isEmpty() || !QFileInfo::exists(propia))
        return false;
    return carpetaInstalada.isEmpty() || !mismaCarpeta(propia, rutaReferenciaInstalada(k, carpetaInstalada));
}

QString rutaReferenciaVigente(int k, const QString &carpetaInstalada)
{
    return hayReferenciaPropia(k, carpetaInstalada) ? rutaReferenciaUsuario(k)
                                                    : rutaReferenciaInstalada(k, carpetaInstalada);
}

ErrorArchivo leerReferencia(const QString &ruta, Columna &s, Columna &o)
{
    Columna ls = Calculo::Minimos(), lo = Calculo::Minimos();
    if (const ErrorArchivo e = leerColumnas(ruta, ls, lo); e != ErrorArchivo::Ninguno)
        return e;
    if (!ruta.endsWith(QLatin1String(".obs"), Qt::CaseInsensitive))
        lo = ls; // a calculation: its own figures become the reference
    s = std::move(ls);
    o = std::move(lo);
    return ErrorArchivo::Ninguno;
}

QByteArray bytesReferencia(const Columna &s, const Columna &o) { return escribirCalculo(s, o); }

ErrorArchivo importarReferencia(int k, const QByteArray &bytes, const QString &carpetaInstalada)
{
    Columna s = Calculo::Minimos(), o = Calculo::Minimos();
    if (leerCalculo(bytes, s, o) != ErrorArchivo::Ninguno)
        return ErrorArchivo::MalEstado;
    QString destino;
    if (const ErrorArchivo e = destinoPropio(k, carpetaInstalada, destino); e != ErrorArchivo::Ninguno)
        return e;
    if (!QDir().mkpath(carpetaReferenciaUsuario()))
        return ErrorArchivo::AccesoDenegado;

    // A link is replaced by the file itself: writing through it would
    // change whatever it points at, maybe an installed file. Should the
    // write fail, the link comes back.
    const QFileInfo info(destino);
    const QString enlace = info.isSymLink() ? info.symLinkTarget() : QString();
    if (info.isSymLink() && !QFile::remove(destino))
        return ErrorArchivo::AccesoDenegado;
    // Nor through a hard link, which would rewrite the file it shares.
    const ErrorArchivo e = grabarBytes(destino, bytes, EnSuSitio::SoloSinOtrosEnlaces);
    if (e != ErrorArchivo::Ninguno && !enlace.isEmpty())
        QFile::link(enlace, destino);
    return e;
}

ErrorArchivo restablecerReferencia(int k, const QString &carpetaInstalada)
{
    if (k == -1) {
        ErrorArchivo primero = ErrorArchivo::Ninguno;
        for (int c = 0; c < kNumCategorias; ++c)
            if (const ErrorArchivo e = restablecerReferencia(c, carpetaInstalada);
                e != ErrorArchivo::Ninguno && primero == ErrorArchivo::Ninguno)
                primero = e;
        return primero;
    }
    if (!categoriaValida(k))
        return ErrorArchivo::NombreNoValido;
    const QFileInfo info(rutaReferenciaUsuario(k));
    if (!info.exists() && !info.isSymLink())
        return ErrorArchivo::Ninguno;
    QString destino;
    if (const ErrorArchivo e = destinoPropio(k, carpetaInstalada, destino); e != ErrorArchivo::Ninguno)
        return e;
    // Removing a link removes the link, never what it points at.
    return QFile::remove(destino) ? ErrorArchivo::Ninguno : ErrorArchivo::AccesoDenegado;
}

} // namespace pelmora
