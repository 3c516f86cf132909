// The command lines of pelmora and pelmora-calc, run as processes: help and
// the version answered and a wrong option refused (64) before any window,
// with no display at all or with one, whatever the language settings; the
// dates of pelmora-calc's report written the Spanish way in every locale.
#include "ayudantes.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class PruebaOrdenes : public QObject {
    Q_OBJECT

private slots:
    void ordenes_data()
    {
        QTest::addColumn<QString>("programa");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("idioma");   // LANG and LC_ALL
        QTest::addColumn<bool>("pantalla");    // offscreen display, else none at all
        QTest::addColumn<int>("codigo");
        QTest::addColumn<QString>("salida");   // part of standard output; empty: nothing written
        QTest::addColumn<QString>("error");    // part of standard error; empty: nothing written
        const auto fila = [](const char *n, const char *p, QStringList a, const char *idioma, bool pantalla,
                             int codigo, const char *salida, const char *error) {
            QTest::newRow(n) << QString::fromUtf8(p) << a << QString::fromUtf8(idioma) << pantalla << codigo
                             << QString::fromUtf8(salida) << QString::fromUtf8(error);
        };
        const QString referencia = pelmora::prueba::referencia(0);
        const char *const uso = "Uso: pelmora [--sin-presentacion] [ARCHIVO]\n     pelmora --help | --version\n";
        fila("pelmora --help, no display", "pelmora", {"--help"}, "C", false, 0, "Uso: pelmora [--sin-presentacion]",
             "");
        fila("pelmora -h, display", "pelmora", {"-h"}, "en_US.UTF-8", true, 0, "Códigos de salida:\n", "");
        fila("pelmora --version", "pelmora", {"--version"}, "C.UTF-8", false, 0, "pelmora " PELMORA_VERSION "\n", "");
        fila("pelmora, Qt's option then --version", "pelmora", {"-platform", "offscreen", "--version"}, "de_DE.UTF-8",
             false, 0, "pelmora " PELMORA_VERSION "\n", "");
        fila("pelmora unknown option, no display", "pelmora", {"--otra"}, "C", false, 64, "",
             "pelmora: opción desconocida: --otra\n");
        fila("pelmora unknown option, display", "pelmora", {"-x", "a.clc"}, "en_US.UTF-8", true, 64, "", uso);
        fila("pelmora-calc --help", "pelmora-calc", {"--help"}, "C", false, 0, "Uso: pelmora-calc [--json] ARCHIVO",
             "");
        fila("pelmora-calc --version", "pelmora-calc", {"--version"}, "C", false, 0,
             "pelmora-calc " PELMORA_VERSION "\n", "");
        fila("pelmora-calc unknown option", "pelmora-calc", {"--otra"}, "en_US.UTF-8", false, 64, "",
             "pelmora-calc: opción desconocida: --otra\n");
        fila("pelmora-calc takes no Qt option", "pelmora-calc", {"-platform", "offscreen", referencia},
             "C", true, 64, "", "opción desconocida: -platform\n");
        // The reference file's dates, 2026-01-15, whatever the locale.
        for (const char *idioma : {"C", "en_US.UTF-8", "de_DE.UTF-8", "ja_JP.UTF-8"})
            fila(qPrintable(QStringLiteral("pelmora-calc dates, %1").arg(QLatin1String(idioma))), "pelmora-calc",
                 {referencia}, idioma, false, 0,
                 "Cálculo Personalizado (15/1/26)   Vededizaviro de Costes (15/1/26)", "");
    }

    void ordenes()
    {
        QFETCH(QString, programa);
        QFETCH(QStringList, args);
        QFETCH(QString, idioma);
        QFETCH(bool, pantalla);
        QFETCH(int, codigo);
        QFETCH(QString, salida);
        QFETCH(QString, error);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANGUAGE", "LC_NUMERIC", "LC_TIME"})
            env.remove(QLatin1String(v));
        env.insert(QStringLiteral("LANG"), idioma);
        env.insert(QStringLiteral("LC_ALL"), idioma);
        // A program that brought its window up would never end here; with
        // no display at all it could not start one.
        if (pantalla)
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(PELMORA_BIN "/") + programa, args);
        QVERIFY(p.waitForStarted(10000));
        if (!p.waitForFinished(20000)) {
            p.kill();
            p.waitForFinished();
            QFAIL("the program did not end");
        }
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), codigo);
        QVERIFY2(salida.isEmpty() ? out.isEmpty() : out.contains(salida), qPrintable(out));
        QVERIFY2(error.isEmpty() ? err.isEmpty() : err.contains(error), qPrintable(err));
    }

    // Settings that are a pipe: the window comes up (said once on standard
    // error) and the pipe is left as it is.
    void ajustesQueSonUnaTuberia()
    {
        QTemporaryDir dir;
        const QString conf = dir.filePath(QStringLiteral("Pelmora/Pelmora.conf"));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("Pelmora"))));
        QCOMPARE(::mkfifo(QFile::encodeName(conf).constData(), 0600), 0);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(PELMORA_BIN "/pelmora"),
                {QStringLiteral("--sin-presentacion"), pelmora::prueba::referencia(0)});
        const QString aviso = QStringLiteral("pelmora: %1 no es un archivo normal: no se leen ni se graban los "
                                             "ajustes (archivos recientes).\n").arg(conf);
        QString err;
        for (int k = 0; k < 40 && !err.contains(aviso); ++k) {
            p.waitForReadyRead(500);
            err += QString::fromUtf8(p.readAllStandardError());
        }
        p.kill();
        p.waitForFinished();
        err += QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(err.count(aviso) == 1, qPrintable(err));
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(conf).constData(), &st), 0);
        QVERIFY(S_ISFIFO(st.st_mode));
    }

    // Every output that cannot go out (a full disk) ends in exit code 1,
    // with the reason.
    void salidaEnUnDiscoLleno_data()
    {
        QTest::addColumn<QString>("programa");
        QTest::addColumn<QStringList>("args");
        const QString referencia = pelmora::prueba::referencia(0);
        for (const QString &p : {QStringLiteral("pelmora"), QStringLiteral("pelmora-calc")})
            for (const char *o : {"--help", "--version"})
                QTest::newRow(qPrintable(p + ' ' + o)) << p << QStringList{QString::fromUtf8(o)};
        for (const QStringList &a : {QStringList{referencia}, QStringList{"--json", referencia},
                                     QStringList{"--csv", referencia}, QStringList{"--sensibilidad", referencia},
                                     QStringList{"--referencia-de", referencia, "1"}})
            QTest::newRow(qPrintable("pelmora-calc " + a.first())) << QStringLiteral("pelmora-calc") << a;
    }

    void salidaEnUnDiscoLleno()
    {
        QFETCH(QString, programa);
        QFETCH(QStringList, args);
        QProcess p;
        p.setStandardOutputFile(QStringLiteral("/dev/full"));
        p.start(QStringLiteral(PELMORA_BIN "/") + programa, args);
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitCode(), 1);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(err.endsWith(programa + QStringLiteral(": no se pudo escribir la salida: El disco está lleno.\n")),
                 qPrintable(err));
    }
};

QTEST_GUILESS_MAIN(PruebaOrdenes)
#include "prueba_ordenes.moc"
