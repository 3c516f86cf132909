// The reference data of the four categories: the user's folder before the
// installed one, import, reset, the installed files never written, and
// pelmora-calc --referencia-de.
#include "archivos/referencia.h"
#include "bytes.h"
#include "carpetas.h"
#include "calculo/campos.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#ifdef __linux__
#include <sys/inotify.h>
#include <unistd.h>
#endif

using namespace pelmora;

namespace {

using prueba::escribirBytes;
using prueba::leerBytes;

// Every stored entry and the date of two columns are the same.
bool mismasCifras(const Columna &a, const Columna &b)
{
    for (Seccion sec : kSeccionesGrabadas)
        for (int i : ListaGrabada(sec))
            if (!mismoValorGuardado(a(sec, i), b(sec, i)))
                return false;
    return a.Fecha == b.Fecha;
}

// The total annual cost and C1 to C5 of a column, once loaded.
std::vector<double> resultados(const Columna &s, const Columna &o, Col c)
{
    Calculo calc;
    calc.cargarColumnas(s, o);
    std::vector<double> r;
    for (int i : {Res::Totales, Res::C1, Res::C2, Res::C3, Res::C4, Res::C5})
        r.push_back(calc.columna(c)(Seccion::Resultados, i).n());
    return r;
}

struct Salida {
    int codigo = -1;
    QByteArray out;
    QString err;
};

Salida pelmoraCalc(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(PELMORA_BIN "/pelmora-calc"), args);
    Salida s;
    if (!p.waitForFinished(30000))
        return s;
    s.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    s.out = p.readAllStandardOutput();
    s.err = QString::fromUtf8(p.readAllStandardError());
    return s;
}

// A scratch installed folder (a copy of the shipped files) and a scratch
// user data folder: the real ones are never touched.
class Referencia : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString instalada, usuario;
    QByteArray xdgAntes;
    QString nombreAntes;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        instalada = dir.filePath(QStringLiteral("share/pelmora/Vededizaviro"));
        ASSERT_TRUE(QDir().mkpath(instalada));
        for (const CategoriaAutocar &c : kCategorias)
            ASSERT_TRUE(QFile::copy(QStringLiteral(PELMORA_DATOS "/Vededizaviro/") + QString::fromUtf8(c.archivo),
                                    instalada + QLatin1Char('/') + QString::fromUtf8(c.archivo)));
        xdgAntes = qgetenv("XDG_DATA_HOME");
        nombreAntes = QCoreApplication::applicationName();
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("datos"))));
        QCoreApplication::setApplicationName(QStringLiteral("Pelmora"));
        usuario = dir.filePath(QStringLiteral("datos/Pelmora/Vededizaviro"));
        ASSERT_EQ(carpetaReferenciaUsuario(), usuario);
    }

    void TearDown() override
    {
        if (xdgAntes.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", xdgAntes);
        QCoreApplication::setApplicationName(nombreAntes);
    }

    QString propia(int k) const { return usuario + QLatin1Char('/') + QString::fromUtf8(kCategorias[k].archivo); }
    QString instalado(int k) const { return rutaReferenciaInstalada(k, instalada); }

    // The installed file of category k with both dates set to a year, as
    // the user's own file of that category.
    void ponerPropia(int k, int anio)
    {
        Columna s, o;
        ASSERT_EQ(leerReferencia(instalado(k), s, o), ErrorArchivo::Ninguno);
        s.Fecha = o.Fecha = QDate(anio, 1, 1);
        ASSERT_EQ(importarReferencia(k, bytesReferencia(s, o), instalada), ErrorArchivo::Ninguno);
    }

    // A calculation whose user column differs from its reference column.
    QString calculoPropio()
    {
        Columna s, o;
        EXPECT_EQ(leerColumnas(instalado(1), s, o), ErrorArchivo::Ninguno);
        s(Seccion::Caracteristicas, Car::Descripcion) = Valor(QStringLiteral("Autocar propio, 45 plazas"));
        s(Seccion::Caracteristicas, Car::Plazas) = Valor(45.0);
        s(Seccion::CostesFijos1, F1::PrecioAutocar) = Valor(321000.0);
        s(Seccion::CostesVariables, Var::PrecioCarburante) = Valor(1.487);
        s.Fecha = QDate(2027, 3, 9);
        const QString ruta = dir.filePath(QStringLiteral("propio.clc"));
        EXPECT_TRUE(escribirBytes(ruta, escribirCalculo(s, o)));
        return ruta;
    }
};

} // namespace

TEST(ReferenciaCategorias, TextoYPlazas)
{
    const struct {
        const char *texto;
        int k;
    } textos[] = {{"1", 3},     {"4", 0},         {"10-25", 3},     {"10 - 25", 3}, {"26-38", 2}, {" 39-55 ", 1},
                  {"56+", 0},   {"Más de 55", 0}, {"mas de 55", 0}, {"MÁS DE 55", 0}, {"2", 2},   {"", -1},
                  {"5", -1},    {"0", -1},        {"10-26", -1},    {"55+", -1}};
    for (const auto &t : textos)
        EXPECT_EQ(categoriaDeTexto(QString::fromUtf8(t.texto)), t.k) << t.texto;

    const struct {
        double plazas;
        int k;
    } plazas[] = {{0, -1}, {-3, -1}, {1, 3},  {9, 3},  {10, 3},  {25, 3}, {25.4, 3},
                  {25.5, 2}, {26, 2}, {38, 2}, {39, 1}, {55, 1}, {56, 0}, {200, 0}};
    for (const auto &p : plazas) {
        EXPECT_EQ(categoriaPorPlazas(p.plazas), p.k) << p.plazas;
        // Inside its category except below the smallest range.
        if (p.k >= 0) {
            EXPECT_EQ(plazasEnCategoria(p.k, p.plazas), p.plazas >= 9.5) << p.plazas;
        }
    }

    // The shipped coach of each category has seats of that category.
    for (int k = 0; k < kNumCategorias; ++k) {
        Columna s, o;
        ASSERT_EQ(leerReferencia(QStringLiteral(PELMORA_DATOS "/Vededizaviro/") + QString::fromUtf8(kCategorias[k].archivo),
                                 s, o),
                  ErrorArchivo::Ninguno);
        EXPECT_EQ(categoriaPorPlazas(o(Seccion::Caracteristicas, Car::Plazas).n()), k) << kCategorias[k].archivo;
    }
}

TEST_F(Referencia, LaCarpetaDelUsuarioVaPrimeroCategoriaPorCategoria)
{
    for (int k = 0; k < kNumCategorias; ++k) {
        SCOPED_TRACE(kCategorias[k].archivo);
        ASSERT_EQ(restablecerReferencia(-1, instalada), ErrorArchivo::Ninguno);
        ponerPropia(k, 2030 + k);
        for (int c = 0; c < kNumCategorias; ++c) {
            EXPECT_EQ(hayReferenciaPropia(c), c == k);
            EXPECT_EQ(rutaReferenciaVigente(c, instalada), c == k ? propia(c) : instalado(c));
            Calculo calc;
            ASSERT_EQ(AbrirArchivo(calc, rutaReferenciaVigente(c, instalada)), ErrorArchivo::Ninguno);
            EXPECT_EQ(calc.fechaTituloO(), c == k ? QDate(2030 + k, 1, 1) : QDate(2026, 1, 15));
        }
    }

    // Without the installed folder, a category of the user's own still
    // loads; the others fail for the installed folder, the last looked in.
    ASSERT_TRUE(QDir(instalada).removeRecursively());
    Calculo calc;
    EXPECT_EQ(AbrirArchivo(calc, rutaReferenciaVigente(3, instalada)), ErrorArchivo::Ninguno);
    EXPECT_EQ(AbrirArchivo(calc, rutaReferenciaVigente(0, instalada)), ErrorArchivo::CarpetaNoExiste);
    ASSERT_TRUE(QDir().mkpath(instalada));
    EXPECT_EQ(AbrirArchivo(calc, rutaReferenciaVigente(0, instalada)), ErrorArchivo::NoEncontrado);
}

TEST_F(Referencia, LasInstaladasNoSonPropiasAunqueSeLleguePorUnEnlace)
{
    // The user's folder a link to the installed one; then the folder of
    // the user's own with a link to one installed file.
    ASSERT_TRUE(QDir().mkpath(QFileInfo(usuario).absolutePath()));
    ASSERT_TRUE(QFile::link(instalada, usuario));
    for (int k = 0; k < kNumCategorias; ++k)
        EXPECT_FALSE(hayReferenciaPropia(k, instalada)) << k;
    ASSERT_TRUE(QFile::remove(usuario));
    ASSERT_TRUE(QDir().mkpath(usuario));
    ASSERT_TRUE(QFile::link(instalado(2), propia(2)));
    ponerPropia(1, 2031);
    for (int k = 0; k < kNumCategorias; ++k)
        EXPECT_EQ(hayReferenciaPropia(k, instalada), k == 1) << k;
}

TEST_F(Referencia, ImportarDeObsYDeClc)
{
    const QString clc = calculoPropio();
    // A reference file keeps both columns; a calculation gives its user
    // column as both (its extension, not its case, decides).
    const QString obsMayusculas = dir.filePath(QStringLiteral("OTRA.OBS"));
    ASSERT_TRUE(QFile::copy(clc, obsMayusculas));
    const struct {
        QString ruta;
        int k;
        bool comoCalculo;
    } casos[] = {{instalado(3), 2, false}, {clc, 1, true}, {obsMayusculas, 0, false}};
    for (const auto &caso : casos) {
        SCOPED_TRACE(caso.ruta.toStdString());
        Columna fs = Calculo::Minimos(), fo = Calculo::Minimos();
        ASSERT_EQ(leerColumnas(caso.ruta, fs, fo), ErrorArchivo::Ninguno);
        Columna s, o;
        ASSERT_EQ(leerReferencia(caso.ruta, s, o), ErrorArchivo::Ninguno);
        const QByteArray bytes = bytesReferencia(s, o);
        ASSERT_EQ(importarReferencia(caso.k, bytes, instalada), ErrorArchivo::Ninguno);

        const QByteArray escrito = leerBytes(propia(caso.k));
        EXPECT_EQ(escrito, bytes);
        EXPECT_EQ(escrito.count("\r\n"), 184);
        Columna rs, ro;
        ASSERT_EQ(leerColumnas(propia(caso.k), rs, ro), ErrorArchivo::Ninguno);
        EXPECT_TRUE(mismasCifras(rs, fs));
        EXPECT_TRUE(mismasCifras(ro, caso.comoCalculo ? fs : fo));
        // A new calculation of the category shows the figures the file's
        // reference column (or the calculation's own column) had.
        EXPECT_EQ(resultados(rs, ro, Col::O), resultados(fs, fo, caso.comoCalculo ? Col::S : Col::O));
        EXPECT_EQ(rutaReferenciaVigente(caso.k, instalada), propia(caso.k));

        // The command line writes the very same bytes.
        const Salida cli = pelmoraCalc({QStringLiteral("--referencia-de"), caso.ruta,
                                        QString::fromUtf8(kCategorias[caso.k].corta)});
        EXPECT_EQ(cli.codigo, 0) << cli.err.toStdString();
        EXPECT_EQ(cli.out, escrito);
    }
}

TEST_F(Referencia, UnArchivoDanadoNoCambiaNada)
{
    ponerPropia(2, 2031);
    const QByteArray antes = leerBytes(propia(2));
    const QByteArray bueno = leerBytes(instalado(2));
    QByteArray corto = bueno.left(bueno.indexOf("#2026-01-15#"));
    QByteArray letra = bueno;
    letra.replace(bueno.indexOf("\r\n") + 2, 2, "xx");
    QByteArray sinFecha = bueno;
    sinFecha.replace(sinFecha.lastIndexOf("#2026-01-15#"), 12, "15/01/2026");
    const struct {
        const char *nombre;
        QByteArray bytes;
        ErrorArchivo error;
    } casos[] = {{"corto.obs", corto, ErrorArchivo::MalEstado},
                 {"letra.clc", letra, ErrorArchivo::MalEstado},
                 {"sinfecha.obs", sinFecha, ErrorArchivo::MalEstado},
                 {"vacio.clc", QByteArray(), ErrorArchivo::MalEstado},
                 {nullptr, QByteArray(), ErrorArchivo::NoEncontrado}};
    for (const auto &caso : casos) {
        SCOPED_TRACE(caso.nombre ? caso.nombre : "no existe");
        const QString ruta = dir.filePath(QString::fromUtf8(caso.nombre ? caso.nombre : "no existe.obs"));
        if (caso.nombre) {
            ASSERT_TRUE(escribirBytes(ruta, caso.bytes));
        }
        Columna s = Calculo::Minimos(), o = s;
        s.Fecha = QDate(2001, 1, 1);
        EXPECT_EQ(leerReferencia(ruta, s, o), caso.error);
        EXPECT_EQ(s.Fecha, QDate(2001, 1, 1)); // untouched
        EXPECT_EQ(importarReferencia(2, caso.bytes, instalada), ErrorArchivo::MalEstado);
        EXPECT_EQ(leerBytes(propia(2)), antes);
    }
    // A write that fails part-way leaves the old file whole.
    const qint64 limite = limitarEscrituraParaPruebas(200);
    EXPECT_EQ(importarReferencia(2, bueno, instalada), ErrorArchivo::DiscoLleno);
    // The same through a link: the link it removed comes back.
    ASSERT_TRUE(QFile::link(instalado(1), propia(1)));
    EXPECT_EQ(importarReferencia(1, bueno, instalada), ErrorArchivo::DiscoLleno);
    limitarEscrituraParaPruebas(limite);
    EXPECT_EQ(leerBytes(propia(2)), antes);
    EXPECT_EQ(QFileInfo(propia(1)).symLinkTarget(), QFileInfo(instalado(1)).absoluteFilePath());
    EXPECT_EQ(importarReferencia(7, bueno, instalada), ErrorArchivo::NombreNoValido);
}

TEST_F(Referencia, Restablecer)
{
    ponerPropia(0, 2030);
    ponerPropia(2, 2032);
    ASSERT_TRUE(QFile::link(instalado(3), propia(3))); // a link to an installed file
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("no existe.obs")), propia(1))); // a dangling link
    EXPECT_EQ(restablecerReferencia(2, instalada), ErrorArchivo::Ninguno);
    EXPECT_FALSE(QFileInfo::exists(propia(2)));
    EXPECT_TRUE(hayReferenciaPropia(0));
    EXPECT_EQ(restablecerReferencia(2, instalada), ErrorArchivo::Ninguno); // nothing left to remove
    EXPECT_EQ(restablecerReferencia(-1, instalada), ErrorArchivo::Ninguno);
    for (int k = 0; k < kNumCategorias; ++k) {
        EXPECT_FALSE(QFileInfo(propia(k)).exists() || QFileInfo(propia(k)).isSymLink()) << k;
        EXPECT_EQ(rutaReferenciaVigente(k, instalada), instalado(k));
        EXPECT_EQ(leerBytes(instalado(k)),
                  leerBytes(QStringLiteral(PELMORA_DATOS "/Vededizaviro/") + QString::fromUtf8(kCategorias[k].archivo)));
    }
    EXPECT_EQ(restablecerReferencia(4, instalada), ErrorArchivo::NombreNoValido);
}

// Everything that writes or removes, with the installed folder watched:
// not one of its files is opened for writing, created, removed, renamed
// or changed, even through a link from the user's folder.
TEST_F(Referencia, LosInstaladosNuncaSeAbrenParaEscribir)
{
#ifndef __linux__
    GTEST_SKIP() << "needs inotify";
#else
    QDir().mkpath(usuario);
    ASSERT_TRUE(QFile::link(instalado(1), propia(1)));
    // Read-only as installed (root writes anyway: the watch decides).
    for (int k = 0; k < kNumCategorias; ++k)
        QFile::setPermissions(instalado(k), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QFile::setPermissions(instalada, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);

    const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(fd, 0);
    const uint32_t cambios = IN_MODIFY | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO
                             | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;
    ASSERT_GE(inotify_add_watch(fd, QFile::encodeName(instalada).constData(), cambios), 0);

    for (int k = 0; k < kNumCategorias; ++k) {
        Columna s, o;
        ASSERT_EQ(leerReferencia(rutaReferenciaVigente(k, instalada), s, o), ErrorArchivo::Ninguno);
        EXPECT_EQ(importarReferencia(k, bytesReferencia(s, o), instalada), ErrorArchivo::Ninguno);
    }
    EXPECT_FALSE(QFileInfo(propia(1)).isSymLink()); // the link gave way to a file
    EXPECT_EQ(restablecerReferencia(-1, instalada), ErrorArchivo::Ninguno);
    ASSERT_TRUE(QFile::link(instalado(0), propia(0)));
    EXPECT_EQ(restablecerReferencia(0, instalada), ErrorArchivo::Ninguno);
    // A user's folder that is the installed one is refused outright.
    ASSERT_TRUE(QDir(usuario).removeRecursively());
    ASSERT_TRUE(QFile::link(instalada, usuario));
    EXPECT_EQ(importarReferencia(2, leerBytes(instalado(3)), instalada), ErrorArchivo::AccesoDenegado);
    EXPECT_EQ(restablecerReferencia(-1, instalada), ErrorArchivo::AccesoDenegado);

    char eventos[4096];
    const ssize_t n = read(fd, eventos, sizeof eventos);
    close(fd);
    EXPECT_TRUE(n < 0 && errno == EAGAIN) << "the installed folder changed";
    QFile::setPermissions(instalada, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (int k = 0; k < kNumCategorias; ++k)
        EXPECT_EQ(leerBytes(instalado(k)),
                  leerBytes(QStringLiteral(PELMORA_DATOS "/Vededizaviro/") + QString::fromUtf8(kCategorias[k].archivo)));
#endif
}

#ifdef __linux__
TEST_F(Referencia, UnEnlaceDuroAUnInstaladoNoSeReescribeEnSuSitio)
{
    // The user's file is another name of the installed one, in a folder
    // that takes no new file: the import fails and neither changes.
    ASSERT_TRUE(QDir().mkpath(usuario));
    ASSERT_EQ(::link(QFile::encodeName(instalado(1)).constData(), QFile::encodeName(propia(1)).constData()), 0);
    ASSERT_TRUE(escribirBytes(propia(2), leerBytes(instalado(2))));
    const QByteArray antes = leerBytes(instalado(1));
    const prueba::CarpetaCerrada cerrada(usuario);
    if (!cerrada.motivo.empty())
        GTEST_SKIP() << "Sin carpeta cerrada: " << cerrada.motivo;
    EXPECT_EQ(importarReferencia(1, leerBytes(instalado(3)), instalada), ErrorArchivo::AccesoDenegado);
    EXPECT_EQ(leerBytes(instalado(1)), antes);
    // A file of the user's own, with one name, is still rewritten in place.
    EXPECT_EQ(importarReferencia(2, leerBytes(instalado(3)), instalada), ErrorArchivo::Ninguno);
    EXPECT_EQ(leerBytes(propia(2)), leerBytes(instalado(3)));
}
#endif

TEST_F(Referencia, LineaDeOrdenes)
{
    const QString obs = instalado(2);
    const QString clc = calculoPropio(); // 45 seats
    const struct {
        QStringList args;
        int codigo;
        const char *error; // what standard error holds
        bool salida;       // a reference file on standard output
    } casos[] = {
        {{obs, QStringLiteral("26-38")}, 0, "", true},
        {{obs, QStringLiteral("2")}, 0, "", true},
        {{clc, QStringLiteral("39 - 55")}, 0, "", true},
        {{clc, QStringLiteral("Más de 55")}, 0, "aviso: el autocar tiene 45 plazas", true},
        {{obs, QStringLiteral("40-50")}, 64, "categoría desconocida: 40-50", false},
        {{obs}, 64, "pide ARCHIVO y CATEGORIA", false},
        {{QStringLiteral("--json"), obs, QStringLiteral("1")}, 64, "no admite --json", false},
        {{dir.filePath(QStringLiteral("no.clc")), QStringLiteral("1")}, 2, "Archivo no encontrado.", false},
    };
    for (const auto &caso : casos) {
        const QStringList args = QStringList{QStringLiteral("--referencia-de")} + caso.args;
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        const Salida s = pelmoraCalc(args);
        EXPECT_EQ(s.codigo, caso.codigo);
        EXPECT_TRUE(s.err.contains(QString::fromUtf8(caso.error))) << s.err.toStdString();
        EXPECT_EQ(s.err.isEmpty(), !*caso.error);
        Columna rs, ro;
        EXPECT_EQ(leerCalculo(s.out, rs, ro) == ErrorArchivo::Ninguno, caso.salida);
        EXPECT_EQ(s.out.isEmpty(), !caso.salida);
    }
    const Salida ayuda = pelmoraCalc({QStringLiteral("--help")});
    EXPECT_TRUE(ayuda.out.contains("--referencia-de ARCHIVO CATEGORIA"));
    EXPECT_TRUE(ayuda.out.contains("\"Más de 55\"  o 56+"));
}
