// Where the program looks for its data and puts its calculations: the build
// tree or a portable copy, an installed tree, and the calculations folder
// when the program's own folder cannot take it. The tests run as root, so
// "cannot be written" is a path under a regular file, where nothing can be
// created.
#include "interfaz/dialogos/dialogoarchivo.h"
#include "interfaz/soporte/rutas.h"
#include "interfaz/ventana/lineaordenes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

using namespace pelmora;

namespace {

const QString kArchivoRef = QStringLiteral("Autocar Estandar 39 a 55 plazas.obs");

bool crearArchivo(const QString &ruta, const QByteArray &datos = "x")
{
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly) && f.write(datos) == datos.size();
}

// A folder holding Vededizaviro/ with one reference file.
bool crearCopiaPrograma(const QString &carpeta)
{
    return QDir().mkpath(carpeta + QStringLiteral("/Vededizaviro"))
        && QFile::copy(QStringLiteral(PELMORA_BIN "/Vededizaviro/") + kArchivoRef,
                       carpeta + QStringLiteral("/Vededizaviro/") + kArchivoRef);
}

} // namespace

class PruebaRutas : public QObject {
    Q_OBJECT

    QTemporaryDir t_;
    int n_ = 0;

    // A fresh folder inside the scratch folder for each case.
    QString nueva()
    {
        const QString c = t_.filePath(QStringLiteral("caso%1").arg(++n_));
        return QDir().mkpath(c) ? c : QString();
    }

private slots:
    void initTestCase() { QVERIFY(t_.isValid()); }

    void cleanup()
    {
        fijarCarpetaPrograma(QString());
        fijarCarpetaEjecutable(QString());
        fijarCarpetaDocumentos(QString());
    }

    // ---- The program's folder ------------------------------------------------------

    void elArbolDeCompilacionEsLaCarpetaDelPrograma()
    {
        // The tests run from the build tree, which holds Vededizaviro/.
        QCOMPARE(carpetaEjecutable(), QCoreApplication::applicationDirPath());
        QCOMPARE(carpetaPrograma(), QCoreApplication::applicationDirPath());
        QVERIFY(programaEnSuCarpeta());
        QVERIFY(QFileInfo::exists(rutaReferencia(kArchivoRef)));
    }

    void copiaPortatil()
    {
        const QString c = nueva();
        QVERIFY(crearCopiaPrograma(c));
        fijarCarpetaEjecutable(c + QStringLiteral("/"));
        QCOMPARE(carpetaPrograma(), c);
        QCOMPARE(rutaReferencia(kArchivoRef), c + QStringLiteral("/Vededizaviro/") + kArchivoRef);
        QVERIFY(programaEnSuCarpeta());

        // Even beside an installed tree, the executable's own data wins.
        QVERIFY(crearCopiaPrograma(c + QStringLiteral("/../share/pelmora")));
        QCOMPARE(carpetaPrograma(), c);
    }

    void arbolInstalado()
    {
        // <prefix>/bin/pelmora and <prefix>/share/pelmora/Vededizaviro, as
        // `cmake --install` lays them out (also under DESTDIR).
        const QString prefijo = nueva();
        QVERIFY(QDir().mkpath(prefijo + QStringLiteral("/bin")));
        QVERIFY(crearCopiaPrograma(prefijo + QStringLiteral("/share/pelmora")));
        fijarCarpetaEjecutable(prefijo + QStringLiteral("/bin"));
        QCOMPARE(carpetaPrograma(), prefijo + QStringLiteral("/share/pelmora"));
        QCOMPARE(carpetaReferencia(), prefijo + QStringLiteral("/share/pelmora/Vededizaviro"));
        QVERIFY(!programaEnSuCarpeta());
    }

    void sinDatosEnNingunSitio()
    {
        // The built-in installed folder is absolute and ends in pelmora.
        const QString instalada = carpetaDatosInstalados();
        QVERIFY(QDir::isAbsolutePath(instalada));
        QVERIFY(instalada.endsWith(QStringLiteral("/pelmora")));

        const QString c = nueva() + QStringLiteral("/bin");
        QVERIFY(QDir().mkpath(c));
        fijarCarpetaEjecutable(c);
        // The installed folder when this machine has one, else the
        // executable's folder, whose missing data the program reports.
        const bool hayInstalada = QFileInfo(instalada + QStringLiteral("/Vededizaviro")).isDir();
        QCOMPARE(carpetaPrograma(), hayInstalada ? instalada : c);
        QVERIFY(!programaEnSuCarpeta());
    }

    void laCarpetaFijadaMandaYSeDeshace()
    {
        const QString c = nueva();
        fijarCarpetaPrograma(c + QStringLiteral("/./"));
        QCOMPARE(carpetaPrograma(), c);
        QVERIFY(programaEnSuCarpeta());
        fijarCarpetaPrograma(QString());
        QCOMPARE(carpetaPrograma(), QCoreApplication::applicationDirPath());
    }

    // ---- The calculations folder --------------------------------------------

    void calculosJuntoALaCopiaPortatil()
    {
        const QString c = nueva();
        const QString docs = nueva();
        QVERIFY(crearCopiaPrograma(c));
        fijarCarpetaEjecutable(c);
        fijarCarpetaDocumentos(docs);

        // Missing: created beside the program, the first time it is needed.
        QVERIFY(!QFileInfo::exists(c + QStringLiteral("/Cálculos")));
        QCOMPARE(carpetaCalculos(), c + QStringLiteral("/Cálculos"));
        QVERIFY(QFileInfo(c + QStringLiteral("/Cálculos")).isDir());
        // Already there: kept, and nothing goes to the documents folder.
        QVERIFY(crearArchivo(c + QStringLiteral("/Cálculos/uno.clc")));
        QCOMPARE(carpetaCalculos(), c + QStringLiteral("/Cálculos"));
        QVERIFY(QFileInfo::exists(c + QStringLiteral("/Cálculos/uno.clc")));
        QVERIFY(!QFileInfo::exists(docs + QStringLiteral("/Cálculos")));
    }

    void calculosEnDocumentosCuandoLaCopiaNoLosAdmite()
    {
        // A copy where "Cálculos" cannot be a folder (a file of that name).
        const QString c = nueva();
        const QString docs = nueva() + QStringLiteral("/Documentos");
        QVERIFY(crearCopiaPrograma(c));
        QVERIFY(crearArchivo(c + QStringLiteral("/Cálculos")));
        fijarCarpetaEjecutable(c);
        fijarCarpetaDocumentos(docs);
        QCOMPARE(carpetaCalculos(), docs + QStringLiteral("/Cálculos"));
        QVERIFY(QFileInfo(docs + QStringLiteral("/Cálculos")).isDir());
        QVERIFY(QFileInfo(c + QStringLiteral("/Cálculos")).isFile());

        // A program folder under a regular file: nothing can be made there.
        const QString archivo = nueva() + QStringLiteral("/archivo");
        QVERIFY(crearArchivo(archivo));
        fijarCarpetaPrograma(archivo + QStringLiteral("/copia"));
        QCOMPARE(carpetaCalculos(), docs + QStringLiteral("/Cálculos"));
        QVERIFY(!QFileInfo::exists(archivo + QStringLiteral("/copia")));
    }

    void calculosDeUnProgramaInstalado()
    {
        const QString prefijo = nueva();
        const QString docs = nueva() + QStringLiteral("/Documentos");
        QVERIFY(QDir().mkpath(prefijo + QStringLiteral("/bin")));
        QVERIFY(crearCopiaPrograma(prefijo + QStringLiteral("/share/pelmora")));
        fijarCarpetaEjecutable(prefijo + QStringLiteral("/bin"));
        fijarCarpetaDocumentos(docs);

        // Finding the data creates nothing.
        QCOMPARE(carpetaPrograma(), prefijo + QStringLiteral("/share/pelmora"));
        QVERIFY(!QFileInfo::exists(docs));
        // Writable folders (the tests run as root) do not matter: the
        // calculations go to the user's documents, never into the install.
        QCOMPARE(carpetaCalculos(), docs + QStringLiteral("/Cálculos"));
        QVERIFY(QFileInfo(docs + QStringLiteral("/Cálculos")).isDir());
        QVERIFY(!QFileInfo::exists(prefijo + QStringLiteral("/bin/Cálculos")));
        QVERIFY(!QFileInfo::exists(prefijo + QStringLiteral("/share/pelmora/Cálculos")));

        // The file dialog starts there too.
        QCOMPARE(QDir::fromNativeSeparators(DialogoArchivo::carpetaInicial(carpetaPrograma())),
                 docs + QStringLiteral("/Cálculos"));

        // No usable documents folder: no calculations folder, and the file
        // dialog falls back to the program's folder.
        const QString archivo = nueva() + QStringLiteral("/archivo");
        QVERIFY(crearArchivo(archivo));
        fijarCarpetaDocumentos(archivo + QStringLiteral("/Documentos"));
        QCOMPARE(carpetaCalculos(), QString());
        QCOMPARE(QDir::fromNativeSeparators(DialogoArchivo::carpetaInicial(carpetaPrograma())),
                 prefijo + QStringLiteral("/share/pelmora"));
    }

    void documentosDelSistema()
    {
        // Without a replacement, the documents folder is the system's, here
        // the one of a scratch home without user-dirs settings.
        const QString casa = nueva();
        const QByteArray home = qgetenv("HOME");
        const QByteArray xdg = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", casa.toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (casa + QStringLiteral("/.config")).toLocal8Bit());
        const QString docs = carpetaDocumentos();
        qputenv("HOME", home);
        if (xdg.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", xdg);
        QCOMPARE(docs, casa + QStringLiteral("/Documents"));
    }

    void carpetaInicialDelDialogo()
    {
        // The program's folder in a portable copy: its Cálculos, created.
        const QString c = nueva();
        QVERIFY(crearCopiaPrograma(c));
        fijarCarpetaEjecutable(c);
        fijarCarpetaDocumentos(nueva());
        QCOMPARE(QDir::fromNativeSeparators(DialogoArchivo::carpetaInicial(c)),
                 c + QStringLiteral("/Cálculos"));
        QVERIFY(QFileInfo(c + QStringLiteral("/Cálculos")).isDir());
        // Another folder: its Cálculos only when there is one; nothing made.
        const QString otra = nueva();
        QCOMPARE(QDir::fromNativeSeparators(DialogoArchivo::carpetaInicial(otra)), otra);
        QVERIFY(!QFileInfo::exists(otra + QStringLiteral("/Cálculos")));
    }

    // ---- Reference files and the command line -------------------------------

    void losArchivosDeReferencia()
    {
        const QString c = nueva();
        QVERIFY(crearCopiaPrograma(c));
        fijarCarpetaEjecutable(c);
        QVERIFY(esArchivoDeReferencia(rutaReferencia(kArchivoRef)));
        // However the path is spelt.
        QVERIFY(esArchivoDeReferencia(c + QStringLiteral("/Vededizaviro/../Vededizaviro/") + kArchivoRef));
        QVERIFY(QFile::link(c + QStringLiteral("/Vededizaviro"), c + QStringLiteral("/enlace")));
        QVERIFY(esArchivoDeReferencia(c + QStringLiteral("/enlace/") + kArchivoRef));
        QVERIFY(QFile::link(rutaReferencia(kArchivoRef), c + QStringLiteral("/enlace.clc")));
        QVERIFY(esArchivoDeReferencia(c + QStringLiteral("/enlace.clc")));
        // A copy elsewhere is an ordinary calculation file.
        QVERIFY(QFile::copy(rutaReferencia(kArchivoRef), c + QStringLiteral("/copia.clc")));
        QVERIFY(!esArchivoDeReferencia(c + QStringLiteral("/copia.clc")));
        QVERIFY(!esArchivoDeReferencia(c + QStringLiteral("/Vededizaviro/no_existe.obs")));
        QVERIFY(!esArchivoDeReferencia(QString()));
    }

    void lineaDeOrdenes()
    {
        const QString prog = QStringLiteral("pelmora");
        LineaOrdenes l = leerLineaOrdenes({prog});
        QVERIFY(l.presentacion);
        QVERIFY(l.archivo.isEmpty());

        l = leerLineaOrdenes({prog, QStringLiteral("--sin-presentacion")});
        QVERIFY(!l.presentacion);
        QVERIFY(l.archivo.isEmpty());

        // Any file, whatever its extension; the first one counts. A file is
        // opened at once, without the splash window.
        l = leerLineaOrdenes({prog, QStringLiteral("/tmp/a b/Cálculo 1.CLC"), QStringLiteral("otro.clc")});
        QVERIFY(!l.presentacion);
        QCOMPARE(l.archivo, QStringLiteral("/tmp/a b/Cálculo 1.CLC"));
        l = leerLineaOrdenes({prog, QStringLiteral("datos.obs"), QStringLiteral("--sin-presentacion")});
        QVERIFY(!l.presentacion);
        QCOMPARE(l.archivo, QStringLiteral("datos.obs"));

        // A file: URL, with escapes, becomes a path.
        l = leerLineaOrdenes({prog, QUrl::fromLocalFile(QStringLiteral("/tmp/a b/Cálculo 1.clc")).toString(
                                        QUrl::FullyEncoded)});
        QCOMPARE(l.archivo, QStringLiteral("/tmp/a b/Cálculo 1.clc"));

        // Unknown options are not files: they end the program.
        l = leerLineaOrdenes({prog, QStringLiteral("--otra"), QStringLiteral("-x")});
        QVERIFY(l.archivo.isEmpty());
        QVERIFY(l.presentacion);
        QCOMPARE(l.salida, std::optional<int>(kSalidaUsoIncorrecto));
    }

    // What the command line asks for: to end at once with an exit code and
    // a text (salida 0 or 64), or the window with a file (salida -1: texto
    // is the file opened).
    void lineaDeOrdenesQueTermina_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("salida");
        QTest::addColumn<QString>("texto");
        const auto fila = [](const char *n, QStringList a, int salida, const char *texto) {
            QTest::newRow(n) << a << salida << QString::fromUtf8(texto);
        };
        fila("--help", {"--help"}, 0, "Uso: pelmora [--sin-presentacion] [ARCHIVO]");
        fila("-h", {"-h", "a.clc"}, 0, "--version   ");
        fila("--version", {"--sin-presentacion", "--version"}, 0, "pelmora " PELMORA_VERSION "\n");
        fila("help before an unknown option", {"--help", "--otra"}, 0, "Códigos de salida");
        fila("unknown option before help", {"--otra", "--help"}, 64, "pelmora: opción desconocida: --otra\n");
        fila("unknown single-dash", {"a.clc", "-x"}, 64, "opción desconocida: -x");
        fila("value where none goes", {"--sin-presentacion=1"}, 64, "la opción --sin-presentacion no lleva valor");
        fila("Qt option without its value", {"a.clc", "-platform"}, 64, "falta el valor de -platform");
        fila("Qt options are left to Qt", {"-platform", "offscreen", "-style=fusion", "-reverse", "a.clc"}, -1,
             "a.clc");
        fila("Qt option with two dashes", {"--platform", "offscreen", "b.clc"}, -1, "b.clc");
        fila("a file after --", {"--", "--help"}, -1, "--help");
    }

    void lineaDeOrdenesQueTermina()
    {
        QFETCH(QStringList, args);
        QFETCH(int, salida);
        QFETCH(QString, texto);
        const LineaOrdenes l = leerLineaOrdenes(QStringList{QStringLiteral("pelmora")} + args);
        if (salida < 0) {
            QVERIFY(!l.salida);
            QCOMPARE(l.archivo, texto);
            QVERIFY(!l.presentacion);
            return;
        }
        QCOMPARE(l.salida, std::optional<int>(salida));
        QVERIFY2(l.texto.contains(texto), qPrintable(l.texto));
        // A wrong usage shows how to use the program.
        if (salida == kSalidaUsoIncorrecto)
            QVERIFY(l.texto.endsWith(QStringLiteral("Uso: pelmora [--sin-presentacion] [ARCHIVO]\n"
                                                    "     pelmora --help | --version\n")));
        QVERIFY(l.archivo.isEmpty());
    }
};

QTEST_MAIN(PruebaRutas)
#include "prueba_rutas.moc"
