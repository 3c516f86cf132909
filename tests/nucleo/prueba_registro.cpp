// The register of quotes: numbering with two programs writing at once, a
// writer killed at random points, migration from the first version, damaged
// and foreign files, read-only files and folders, a full disk, states,
// deletion, the backup, and pelmora-calc's list.
#include "aplicacion.h"
#include "bytes.h"
#include "carpetas.h"
#include "presupuesto_prueba.h"
#include "registro/listado.h"
#include "registro/registro.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <map>
#include <set>

#ifdef __linux__
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace pelmora;

namespace {

using prueba::asegurarAplicacion;
using prueba::leerBytes;

const QString kHijo = QStringLiteral(PELMORA_BIN "/hijo_registro");

// Runs SQL on a file outside the register, one statement per line.
void ejecutarSql(const QString &ruta, const QString &sql)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "directa");
        db.setDatabaseName(ruta);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (const QString &linea : sql.split('\n')) {
            if (!linea.trimmed().isEmpty() && !linea.startsWith("--")) {
                ASSERT_TRUE(q.exec(linea)) << linea.toStdString();
            }
        }
    }
    QSqlDatabase::removeDatabase("directa");
}

// The first value an SQL query gives on a file outside the register.
QVariant valorSql(const QString &ruta, const QString &sql)
{
    QVariant v;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "directa");
        db.setDatabaseName(ruta);
        EXPECT_TRUE(db.open());
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(sql) && q.next()) << sql.toStdString();
        v = q.value(0);
    }
    QSqlDatabase::removeDatabase("directa");
    return v;
}

// The quotes of the register by client name, and their numbers 1..n of 2026.
struct Contenido {
    std::map<QString, Presupuesto> porCliente;
    std::vector<int> secuencias;
};

Contenido contenido(Registro &r)
{
    Contenido c;
    for (const FilaRegistro &f : r.lista()) {
        const std::optional<Presupuesto> p = r.leer(f.id);
        EXPECT_TRUE(p) << f.id;
        if (p)
            c.porCliente[p->cliente.nombre] = *p;
        c.secuencias.push_back(f.secuencia);
    }
    return c;
}

// Each quote is whole: exactly the one its writer made under that name.
void comprobarEnteros(const Contenido &c)
{
    for (const auto &[cliente, p] : c.porCliente) {
        const QString escritor = cliente.section('-', 0, 0);
        Presupuesto esperado = presupuestoDePrueba(cliente.section('-', 1).toInt(), escritor);
        esperado.id = p.id;
        esperado.anio = p.anio;
        esperado.secuencia = p.secuencia;
        ASSERT_EQ(p, esperado) << cliente.toStdString();
    }
    // Numbers from 1 without a gap.
    for (size_t k = 0; k < c.secuencias.size(); ++k)
        ASSERT_EQ(c.secuencias[k], int(k) + 1);
}

// A register at ruta with n quotes of a writer, closed.
void guardarVarios(const QString &ruta, int n, const QString &escritor)
{
    Registro r;
    ASSERT_EQ(r.abrir(ruta), ErrorRegistro::Ninguno);
    for (int i = 0; i < n; ++i) {
        Presupuesto p = presupuestoDePrueba(i, escritor);
        ASSERT_EQ(r.guardarNuevo(p), ErrorRegistro::Ninguno);
    }
}

QProcess *escritor(const QString &ruta, const QString &nombre, int cuantos, QObject *padre)
{
    auto *p = new QProcess(padre);
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(kHijo, {ruta, nombre, QString::number(cuantos)});
    EXPECT_TRUE(p->waitForStarted(10000));
    return p;
}

class Registros : public ::testing::Test {
protected:
    void SetUp() override
    {
        asegurarAplicacion();
        ASSERT_TRUE(dir.isValid());
        ruta = dir.filePath("presupuestos.sqlite");
    }
    QTemporaryDir dir;
    QString ruta;
};

} // namespace

TEST_F(Registros, DosProgramasNumeranCuatrocientosSinHuecosNiRepetidos)
{
    {
        Registro r;
        ASSERT_EQ(r.abrir(ruta), ErrorRegistro::Ninguno);
    }
    QObject padre;
    QProcess *a = escritor(ruta, "a", 200, &padre);
    QProcess *b = escritor(ruta, "b", 200, &padre);
    for (QProcess *p : {a, b}) {
        ASSERT_TRUE(p->waitForFinished(180000));
        EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p->exitCode(), 0);
    }
    Registro r;
    ASSERT_EQ(r.abrir(ruta), ErrorRegistro::Ninguno);
    const Contenido c = contenido(r);
    ASSERT_EQ(c.secuencias.size(), 400u);
    ASSERT_EQ(c.porCliente.size(), 400u);
    comprobarEnteros(c);
    // The next one follows on.
    Presupuesto p = presupuestoDePrueba(0, "c");
    ASSERT_EQ(r.guardarNuevo(p), ErrorRegistro::Ninguno);
    EXPECT_EQ(p.numero(), QStringLiteral("2026-0401"));
}

TEST_F(Registros, UnEscritorMatadoDejaSoloPresupuestosEnteros)
{
    QObject padre;
    QRandomGenerator azar(21);
    int antes = 0;
    for (int vez = 0; vez < 8; ++vez) {
        QProcess *p = escritor(ruta, QStringLiteral("m%1").arg(vez), 0, &padre);
        QThread::msleep(60 + azar.bounded(250));
        p->kill();
        ASSERT_TRUE(p->waitForFinished(10000));
        Registro r;
        ASSERT_EQ(r.abrir(ruta), ErrorRegistro::Ninguno) << r.detalle().toStdString();
        const Contenido c = contenido(r);
        comprobarEnteros(c);
        EXPECT_GE(int(c.secuencias.size()), antes);
        antes = int(c.secuencias.size());
    }
    EXPECT_GT(antes, 0);
}

TEST_F(Registros, MigraDesdeLaPrimeraVersionSinPerderNada)
{
    ejecutarSql(ruta, QString::fromUtf8(leerBytes(PELMORA_PRUEBAS "/datos/presupuestos_v1.sql")));
    Registro r;
    ASSERT_EQ(r.abrir(ruta), ErrorRegistro::Ninguno) << r.detalle().toStdString();
    const std::vector<FilaRegistro> filas = r.lista();
    ASSERT_EQ(filas.size(), 2u);
    EXPECT_EQ(filas[0].numero(), QStringLiteral("2026-0001"));
    EXPECT_EQ(filas[0].cliente, QStringLiteral("Colegio San Juan"));
    EXPECT_EQ(filas[0].viaje, QString::fromUtf8("Excursión de fin de curso"));
    EXPECT_EQ(filas[1].viaje, QStringLiteral("Soria - Burgos"));
    EXPECT_EQ(filas[1].total, 330000);
    const std::optional<Presupuesto> p = r.leer(filas[1].id);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->precioObjetivo, 300000);
    EXPECT_EQ(p->origen.c[0], std::nullopt);
    EXPECT_EQ(p->origen.c[4], 100.151);
    EXPECT_EQ(p->empresa, Empresa());
    EXPECT_EQ(p->notas, QStringLiteral("Llevan bicicletas."));
    // The counter of the old file goes on; the new state history works.
    Presupuesto nuevo = presupuestoDePrueba(1, "n");
    ASSERT_EQ(r.guardarNuevo(nuevo), ErrorRegistro::Ninguno);
    EXPECT_EQ(nuevo.numero(), QStringLiteral("2026-0003"));
    EXPECT_EQ(r.cambiarEstado(filas[1].id, EstadoPresupuesto::Rechazado), ErrorRegistro::Ninguno);
    EXPECT_EQ(r.leer(nuevo.id)->empresa, nuevo.empresa);
    r.cerrar();
    // Once brought up to date it opens as it is.
    ASSERT_EQ(r.abrir(ruta), ErrorRegistro::Ninguno);
    EXPECT_EQ(r.lista().size(), 3u);
}

TEST_F(Registros, MigraLosLogosDeLaSegundaVersionYSeLeenIgualAntesYDespues)
{
    ejecutarSql(ruta, QString::fromUtf8(leerBytes(PELMORA_PRUEBAS "/datos/presupuestos_v1.sql")));
    ejecutarSql(ruta, QString::fromUtf8(leerBytes(PELMORA_PRUEBAS "/datos/presupuestos_v2.sql")));
    const QByteArray antes = leerBytes(ruta);
    const Empresa esperadas[] = {
        {"Autocares Soria", "B12345674", "Calle Real 2", "975 000 000", "info@soria.es",
         QByteArray("\x89PNG\r\n\x1a\nlogo-antiguo", 20)},
        {"Autocares Duero", "", "", "", "", QByteArray("GIF89a\x00\xff\x10otro", 13)},
    };
    // Read as it stands (as pelmora-calc does), then brought up to date, then opened again.
    for (const bool soloLectura : {true, false, false}) {
        SCOPED_TRACE(soloLectura);
        Registro r;
        ASSERT_EQ(r.abrir(ruta, soloLectura), ErrorRegistro::Ninguno) << r.detalle().toStdString();
        for (qint64 id : {1, 2}) {
            const std::optional<Presupuesto> p = r.leer(id);
            ASSERT_TRUE(p) << id;
            EXPECT_EQ(p->empresa, esperadas[id - 1]) << id;
        }
        if (soloLectura) {
            EXPECT_EQ(leerBytes(ruta), antes);
        }
    }
    // The headers keep no logo of their own any more; each logo is kept once.
    EXPECT_EQ(valorSql(ruta, "PRAGMA user_version").toInt(), Registro::kVersion);
    EXPECT_EQ(valorSql(ruta, "SELECT count(*) FROM presupuestos WHERE instr(empresa, 'Logo') > 0").toInt(), 0);
    EXPECT_EQ(valorSql(ruta, "SELECT count(*) FROM presupuestos WHERE logo IS NULL").toInt(), 0);
    EXPECT_EQ(valorSql(ruta, "SELECT count(*) FROM logos").toInt(), 2);
}

TEST_F(Registros, MigrarDevuelveAlDiscoElSitioDeLosLogosRepetidos)
{
    ejecutarSql(ruta, QString::fromUtf8(leerBytes(PELMORA_PRUEBAS "/datos/presupuestos_v1.sql")));
    ejecutarSql(ruta, QString::fromUtf8(leerBytes(PELMORA_PRUEBAS "/datos/presupuestos_v2.sql")));
    const QByteArray logo(50 * 1024, 'L'); // the JSON's base64 is about 67 KB for each quote
    // A header that does not read whole is left as it is; what else a header holds stays.
    ejecutarSql(ruta, QStringLiteral("UPDATE presupuestos SET empresa = '{\"Logo\":\"%1\",\"Otro\":1}'\n"
                                     "UPDATE presupuestos SET empresa = '{\"Logo\":\"TA==\",' WHERE id = 1")
                          .arg(QString::fromLatin1(logo.toBase64())));
    const qint64 antes = QFileInfo(ruta).size();
    {
        Registro r;
        ASSERT_EQ(r.abrir(ruta), ErrorRegistro::Ninguno) << r.detalle().toStdString();
        EXPECT_EQ(r.leer(2)->empresa.logo, logo);
    }
    EXPECT_LT(QFileInfo(ruta).size(), antes - logo.size());
    EXPECT_EQ(valorSql(ruta, "SELECT empresa FROM presupuestos WHERE id = 1").toString(), "{\"Logo\":\"TA==\",");
    EXPECT_EQ(valorSql(ruta, "SELECT empresa FROM presupuestos WHERE id = 2").toString(), "{\"Otro\":1}");
}

TEST_F(Registros, UnLogoRepetidoSeGuardaUnaVezYCadaPresupuestoConservaElSuyo)
{
    QByteArray logo(50 * 1024, Qt::Uninitialized);
    QRandomGenerator azar(7);
    for (char &b : logo)
        b = char(azar.bounded(256));
    auto guardar = [&](int desde, int cuantos, const QByteArray &conLogo) {
        Registro r;
        ASSERT_EQ(r.abrir(ruta), ErrorRegistro::Ninguno);
        for (int i = desde; i < desde + cuantos; ++i) {
            Presupuesto p = presupuestoDePrueba(i, "l");
            p.empresa.logo = conLogo;
            ASSERT_EQ(r.guardarNuevo(p), ErrorRegistro::Ninguno);
        }
    };
    ASSERT_NO_FATAL_FAILURE(guardar(0, 1, logo));
    const qint64 uno = QFileInfo(ruta).size();
    ASSERT_NO_FATAL_FAILURE(guardar(1, 100, logo));
    EXPECT_LT(QFileInfo(ruta).size() - uno, 2 * logo.size());
    // The firm changes its logo (and later drops it): the earlier quotes keep theirs.
    const QByteArray nuevo = logo.left(1000);
    ASSERT_NO_FATAL_FAILURE(guardar(101, 1, nuevo));
    ASSERT_NO_FATAL_FAILURE(guardar(102, 1, QByteArray()));
    Registro r;
    ASSERT_EQ(r.abrir(ruta), ErrorRegistro::Ninguno);
    const std::vector<FilaRegistro> filas = r.lista();
    ASSERT_EQ(filas.size(), 103u);
    const struct {
        size_t fila;
        QByteArray logo;
    } casos[] = {{0, logo}, {100, logo}, {101, nuevo}, {102, QByteArray()}};
    for (const auto &c : casos) {
        SCOPED_TRACE(c.fila);
        const std::optional<Presupuesto> p = r.leer(filas[c.fila].id);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->empresa.logo, c.logo);
        EXPECT_EQ(p->empresa.nombre, QStringLiteral("Autocares Prueba"));
    }
}

TEST_F(Registros, ArchivoDanadoAjenoOPosteriorSeDetectaSinTocarlo)
{
    // A register with some quotes, to be damaged in several ways.
    ASSERT_NO_FATAL_FAILURE(guardarVarios(ruta, 60, "d"));
    const QByteArray sano = leerBytes(ruta);
    ASSERT_GT(sano.size(), 4096 * 4);
    QByteArray paginas = sano;
    for (int k = 4096 * 2; k < 4096 * 4; k += 7)
        paginas[k] = char(0xA5);
    QByteArray sinTabla;
    {
        const QString otra = dir.filePath("otra.sqlite");
        QFile::copy(ruta, otra);
        ejecutarSql(otra, "DROP TABLE cambios\nDROP TABLE presupuestos");
        sinTabla = leerBytes(otra);
    }
    QByteArray sinLogo;
    {
        const QString otra = dir.filePath("sinlogo.sqlite");
        QFile::copy(ruta, otra);
        ejecutarSql(otra, "DELETE FROM logos");
        sinLogo = leerBytes(otra);
    }
    QByteArray posterior, ajenaSqlite;
    {
        const QString otra = dir.filePath("posterior.sqlite");
        QFile::copy(ruta, otra);
        ejecutarSql(otra, "PRAGMA user_version=9");
        posterior = leerBytes(otra);
        const QString ajena = dir.filePath("ajena.sqlite");
        ejecutarSql(ajena, "CREATE TABLE notas(texto TEXT)\nINSERT INTO notas VALUES('hola')");
        ajenaSqlite = leerBytes(ajena);
    }
    const struct {
        const char *caso;
        QByteArray bytes;
        ErrorRegistro error;
    } casos[] = {
        {"texto", "Esto no es un registro.\n", ErrorRegistro::Ajeno},
        {"otra base de datos", ajenaSqlite, ErrorRegistro::Ajeno},
        {"paginas rotas", paginas, ErrorRegistro::Danado},
        {"cortado", sano.left(sano.size() / 2), ErrorRegistro::Danado},
        {"sin tabla", sinTabla, ErrorRegistro::Danado},
        {"sin su logo", sinLogo, ErrorRegistro::Danado},
        {"version posterior", posterior, ErrorRegistro::Posterior},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.caso);
        const QString archivo = dir.filePath(QStringLiteral("caso.sqlite"));
        QFile f(archivo);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.bytes);
        f.close();
        for (const bool soloLectura : {false, true}) {
            Registro r;
            EXPECT_EQ(r.abrir(archivo, soloLectura), c.error) << r.detalle().toStdString();
            EXPECT_FALSE(r.mensaje(c.error).isEmpty());
            EXPECT_EQ(leerBytes(archivo), c.bytes);
        }
        // Kept aside under a new name, a new register starts.
        const QString apartado = Registro::apartar(archivo);
        ASSERT_FALSE(apartado.isEmpty());
        EXPECT_EQ(leerBytes(apartado), c.bytes);
        EXPECT_FALSE(QFile::exists(archivo));
        Registro r;
        ASSERT_EQ(r.abrir(archivo), ErrorRegistro::Ninguno);
        EXPECT_TRUE(r.lista().empty());
        r.cerrar();
        QFile::remove(archivo);
        QFile::remove(apartado);
    }
}

TEST_F(Registros, ListaEnOrdenDeNumeroConSuViajeYSusComprobacionesActivas)
{
    Registro r;
    ASSERT_EQ(r.abrir(ruta), ErrorRegistro::Ninguno);
    // Kept out of the numbers' order: a quote of an earlier year after later ones.
    const struct {
        QDate fecha;
        const char *descripcion, *origen, *destino, *viaje;
    } casos[] = {
        {{2026, 2, 28}, "", "Soria", "", "Soria"},
        {{2026, 3, 1}, "", "", "Burgos", "Burgos"},
        {{2025, 12, 31}, "", "Soria", "Burgos", "Soria - Burgos"},
        {{2026, 3, 2}, "Fin de curso", "Soria", "Burgos", "Fin de curso"},
    };
    for (const auto &c : casos) {
        Presupuesto p = presupuestoDePrueba(1, "o");
        p.fecha = c.fecha;
        p.viaje.descripcion = c.descripcion;
        p.viaje.origen = c.origen;
        p.viaje.destino = c.destino;
        ASSERT_EQ(r.guardarNuevo(p), ErrorRegistro::Ninguno);
    }
    const std::vector<FilaRegistro> filas = r.lista();
    ASSERT_EQ(filas.size(), 4u);
    const int orden[] = {2, 0, 1, 3};
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(filas[size_t(k)].fecha, casos[orden[k]].fecha);
        EXPECT_EQ(filas[size_t(k)].viaje, QString::fromUtf8(casos[orden[k]].viaje));
    }
    EXPECT_EQ(filas[0].numero(), QStringLiteral("2025-0001"));
    EXPECT_EQ(filas[3].numero(), QStringLiteral("2026-0003"));
    // The file's constraints still hold after the check on opening.
    Presupuesto roto = presupuestoDePrueba(2, "o");
    roto.precio.total += 1;
    EXPECT_NE(r.guardarNuevo(roto), ErrorRegistro::Ninguno);
    EXPECT_EQ(roto.id, 0);
    EXPECT_EQ(r.lista().size(), 4u);
}

TEST_F(Registros, EstadosBorradoBloqueoYCopiaDeSeguridad)
{
    Registro r;
    ASSERT_EQ(r.abrir(ruta, false, 200), ErrorRegistro::Ninguno);
    Presupuesto a = presupuestoDePrueba(3, "e"), b = presupuestoDePrueba(4, "e");
    ASSERT_EQ(r.guardarNuevo(a), ErrorRegistro::Ninguno);
    ASSERT_EQ(r.guardarNuevo(b), ErrorRegistro::Ninguno);
    EXPECT_EQ(r.leer(a.id), a);
    EXPECT_EQ(r.cambiarEstado(a.id, EstadoPresupuesto::Aceptado), ErrorRegistro::Ninguno);
    EXPECT_EQ(r.marcarEmitido(a.id), ErrorRegistro::Ninguno);
    EXPECT_EQ(r.cambiarEstado(999, EstadoPresupuesto::Aceptado), ErrorRegistro::NoExiste);
    // A quote printed or exported stays; another goes, and its number is not taken again.
    EXPECT_EQ(r.borrar(a.id), ErrorRegistro::NoPermitido);
    EXPECT_EQ(r.borrar(b.id), ErrorRegistro::Ninguno);
    EXPECT_EQ(r.borrar(b.id), ErrorRegistro::NoExiste);
    ASSERT_EQ(r.lista().size(), 1u);
    EXPECT_EQ(r.lista()[0].estado, EstadoPresupuesto::Aceptado);
    EXPECT_TRUE(r.lista()[0].emitido);

    // Another program holding the register past the wait: a clear refusal,
    // and the quote can be kept once it lets go.
    Registro otro;
    ASSERT_EQ(otro.abrir(ruta), ErrorRegistro::Ninguno);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "bloqueo");
        db.setDatabaseName(ruta);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec("BEGIN IMMEDIATE"));
        // Opening and reading do not wait for it.
        Registro lector;
        EXPECT_EQ(lector.abrir(ruta, false, 200), ErrorRegistro::Ninguno);
        EXPECT_EQ(lector.lista().size(), 1u);
        Presupuesto c = presupuestoDePrueba(5, "e");
        EXPECT_EQ(r.guardarNuevo(c), ErrorRegistro::Bloqueado);
        EXPECT_EQ(c.id, 0);
        EXPECT_FALSE(r.mensaje(ErrorRegistro::Bloqueado).isEmpty());
        ASSERT_TRUE(q.exec("ROLLBACK"));
        ASSERT_EQ(r.guardarNuevo(c), ErrorRegistro::Ninguno);
        EXPECT_EQ(c.numero(), QStringLiteral("2026-0003"));
        db.close();
    }
    QSqlDatabase::removeDatabase("bloqueo");

    // The backup, made while the other connection is open, replaces an old file.
    const QString copia = dir.filePath("copia.sqlite");
    QFile viejo(copia);
    ASSERT_TRUE(viejo.open(QIODevice::WriteOnly));
    viejo.write("antes");
    viejo.close();
    ASSERT_EQ(otro.copiaDeSeguridad(copia), ErrorRegistro::Ninguno);
    Registro leida;
    ASSERT_EQ(leida.abrir(copia, true), ErrorRegistro::Ninguno);
    ASSERT_EQ(leida.lista().size(), 2u);
    EXPECT_EQ(leida.lista()[1].numero(), QStringLiteral("2026-0003"));
    EXPECT_EQ(QDir(dir.path()).entryList({"*.tmp"}, QDir::Files).size(), 0);
    EXPECT_EQ(otro.copiaDeSeguridad(dir.filePath("no existe/copia.sqlite")), ErrorRegistro::NoEscribible);
    // Read only: nothing written.
    Presupuesto d = presupuestoDePrueba(6, "e");
    EXPECT_EQ(leida.guardarNuevo(d), ErrorRegistro::NoEscribible);
}

TEST_F(Registros, PelmoraCalcListaElRegistroSinCambiarlo)
{
    ejecutarSql(ruta, QString::fromUtf8(leerBytes(PELMORA_PRUEBAS "/datos/presupuestos_v1.sql")));
    const QByteArray antes = leerBytes(ruta);
    auto calc = [](const QStringList &args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LC_ALL", "es_ES.UTF-8");
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(PELMORA_BIN "/pelmora-calc"), args);
        p.waitForFinished(30000);
        return std::pair<int, QByteArray>(p.exitCode(), p.readAllStandardOutput());
    };
    const auto [codigo, json] = calc({"--presupuestos", "--json", ruta});
    EXPECT_EQ(codigo, 0);
    EXPECT_EQ(json, QByteArray("{\"Numero\": \"2026-0001\", \"Fecha\": \"2026-03-02\", \"Cliente\": \"Colegio San "
                               "Juan\", \"Viaje\": \"Excursi\xc3\xb3n de fin de curso\", \"Total\": 1287.17, "
                               "\"Estado\": \"aceptado\", \"Emitido\": true}\n"
                               "{\"Numero\": \"2026-0002\", \"Fecha\": \"2026-03-05\", \"Cliente\": \"Club Ciclista "
                               "Duero\", \"Viaje\": \"Soria - Burgos\", \"Total\": 3300.00, \"Estado\": \"caducado\", "
                               "\"Emitido\": false}\n"));
    const auto [codigoCsv, csv] = calc({"--presupuestos", "--csv", ruta});
    EXPECT_EQ(codigoCsv, 0);
    EXPECT_TRUE(csv.contains("2026-0002;05/03/2026;Club Ciclista Duero;Soria - Burgos;3300,00;caducado\r\n")) << csv.data();
    const auto [codigoTabla, tabla] = calc({"--presupuestos", ruta});
    EXPECT_TRUE(tabla.contains("1.287,17")) << tabla.data();
    EXPECT_EQ(leerBytes(ruta), antes);
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("roto");
    f.close();
    EXPECT_EQ(calc({"--presupuestos", ruta}).first, 2);
    EXPECT_EQ(calc({"--presupuestos", "--json", dir.filePath("no hay.sqlite")}), std::make_pair(0, QByteArray()));
}

#ifdef __linux__

namespace {

// A program run as another user when the tests run as root, for whom
// permissions do not hold: its exit code, output and what it said.
struct Salida {
    int codigo;
    QByteArray salida;
    QString dicho;
};

Salida comoOtroUsuario(const QString &programa, const QStringList &args)
{
    QProcess p;
    if (::geteuid() == 0)
        p.setChildProcessModifier([] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(99);
        });
    p.start(programa, args);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            QString::fromUtf8(p.readAllStandardError()).trimmed()};
}

} // namespace

TEST_F(Registros, UnRegistroDeSoloLecturaSeDiceYConservaLoGuardado)
{
    const QByteArray carpeta = QFile::encodeName(dir.path() + "/cerrada");
    const QString archivo = dir.path() + "/cerrada/presupuestos.sqlite";
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0); // the other user goes through
    const struct {
        const char *caso;
        mode_t carpeta, archivo;
    } casos[] = {
        {"carpeta de solo lectura", 0555, 0644},
        {"archivo de solo lectura", 0755, 0444},
        {"los dos", 0555, 0444},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.caso);
        ASSERT_NO_FATAL_FAILURE(guardarVarios(archivo, 3, "s"));
        const QByteArray antes = leerBytes(archivo);
        const QByteArray nombre = QFile::encodeName(archivo);
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(carpeta.constData(), 65534, 65534), 0);
            ASSERT_EQ(::chown(nombre.constData(), 65534, 65534), 0);
        }
        ASSERT_EQ(::chmod(nombre.constData(), c.archivo), 0);
        ASSERT_EQ(::chmod(carpeta.constData(), c.carpeta), 0);
        const Salida escrito = comoOtroUsuario(kHijo, {archivo, "x", "1"});
        // Listing it needs no writing.
        const Salida listado = comoOtroUsuario(PELMORA_BIN "/pelmora-calc", {"--presupuestos", "--csv", archivo});
        ASSERT_EQ(::chmod(carpeta.constData(), 0755), 0);
        ASSERT_EQ(::chmod(nombre.constData(), 0644), 0);
        EXPECT_EQ(escrito.codigo, 1);
        Registro r;
        r.abrir(archivo);
        EXPECT_EQ(escrito.dicho, r.mensaje(ErrorRegistro::NoEscribible));
        EXPECT_EQ(listado.codigo, 0) << listado.dicho.toStdString();
        EXPECT_EQ(listado.salida.count("\r\n"), 4); // the heading and the three quotes
        EXPECT_EQ(leerBytes(archivo), antes);
        const Contenido guardado = contenido(r);
        EXPECT_EQ(guardado.secuencias.size(), 3u);
        comprobarEnteros(guardado);
        r.cerrar();
        ASSERT_TRUE(QDir(dir.path() + "/cerrada").removeRecursively());
    }
}

TEST_F(Registros, UnDiscoLlenoSeDiceYNoGastaNumeroNiPierdeNada)
{
    const QString montaje = dir.filePath("disco");
    ASSERT_TRUE(QDir().mkpath(montaje));
    const prueba::Tmpfs disco(montaje, "size=256k");
    if (!disco.motivo.empty())
        GTEST_SKIP() << "Sin disco lleno de verdad: " << disco.motivo;
    const QString archivo = montaje + "/presupuestos.sqlite";
    ASSERT_NO_FATAL_FAILURE(guardarVarios(archivo, 3, "f"));
    // Opening needs room for its shared-memory file: a full disk, not damage.
    const QByteArray antes = leerBytes(archivo);
    ASSERT_TRUE(prueba::llenar(montaje));
    Registro r;
    EXPECT_EQ(r.abrir(archivo), ErrorRegistro::DiscoLleno) << r.detalle().toStdString();
    EXPECT_EQ(leerBytes(archivo), antes);
    ASSERT_TRUE(QFile::remove(montaje + "/relleno"));
    ASSERT_EQ(r.abrir(archivo), ErrorRegistro::Ninguno);
    ASSERT_TRUE(prueba::llenar(montaje));
    // Quotes go on into the space the register already holds, until one
    // does not fit: it is refused whole, told as such, and takes no number.
    ErrorRegistro e = ErrorRegistro::Ninguno;
    int guardados = 3;
    Presupuesto p;
    while (e == ErrorRegistro::Ninguno && guardados < 500) {
        p = presupuestoDePrueba(guardados, "f");
        if (e = r.guardarNuevo(p); e == ErrorRegistro::Ninguno)
            ++guardados;
    }
    ASSERT_EQ(e, ErrorRegistro::DiscoLleno) << r.detalle().toStdString();
    EXPECT_EQ(r.mensaje(e), QString::fromUtf8("No queda espacio en el disco para el registro de presupuestos."));
    EXPECT_EQ(p.id, 0);
    // Opened again on the full disk, as a new window would: all is there.
    Registro otro;
    ASSERT_EQ(otro.abrir(archivo), ErrorRegistro::Ninguno) << otro.detalle().toStdString();
    EXPECT_EQ(otro.lista().size(), size_t(guardados));
    // With room again the same quote is kept with the next number.
    ASSERT_TRUE(QFile::remove(montaje + "/relleno"));
    ASSERT_EQ(r.guardarNuevo(p), ErrorRegistro::Ninguno);
    EXPECT_EQ(p.secuencia, guardados + 1);
    const Contenido c = contenido(r);
    EXPECT_EQ(c.secuencias.size(), size_t(guardados + 1));
    comprobarEnteros(c);
}

#endif
