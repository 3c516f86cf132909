// "Abiertos recientemente": the list (order, each file once, eight at most),
// its submenu, which files get on it, and a file that has gone.
#include "archivos/referencia.h"
#include "ayudantes.h"
#include "interfaz/dialogos/dialogoarchivo.h"
#include "interfaz/soporte/recientes.h"
#include "interfaz/soporte/rutas.h"
#include "interfaz/ventana/menus.h"
#include "interfaz/ventana/ventanaprincipal.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>

using namespace pelmora;

class PruebaRecientes : public QObject, prueba::EntornoVentana {
    Q_OBJECT

    QString archivos() const { return carpeta_.filePath(QStringLiteral("archivos")); }
    QString en(const QString &n) const { return archivos() + QLatin1Char('/') + n; }

    static void vaciarLista()
    {
        for (const QString &r : archivosRecientes())
            quitarReciente(r);
    }

    // The items of a submenu of recent files: "mnuRecienteK|text|tip", or
    // "name|text|off" for one that is off.
    static QStringList items(const QMenu &m)
    {
        QStringList r;
        for (const QAction *a : m.actions())
            r << a->objectName() + QLatin1Char('|') + a->text() + QLatin1Char('|')
                     + (a->isEnabled() ? a->toolTip() : QStringLiteral("off"));
        return r;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(prepararCarpeta());
        QVERIFY(QDir().mkpath(en(QStringLiteral("sub"))));
        QStringList calculos{"a.clc", "b.clc", "c.clc", "a&b.clc", "Autocar Peñíscola.clc"};
        for (int k = 1; k <= 10; ++k)
            calculos << QStringLiteral("f%1.clc").arg(k, 2, 10, QLatin1Char('0'));
        for (const QString &n : calculos)
            QVERIFY(prueba::copiarCalculo(0, en(n)));
        QVERIFY(QFile::link(en(QStringLiteral("a.clc")), en(QStringLiteral("enlace.clc"))));
        QFile malo(en(QStringLiteral("malo.clc")));
        QVERIFY(malo.open(QIODevice::WriteOnly) && malo.write("x") == 1);
    }
    void init()
    {
        reiniciar();
        vaciarLista();
    }
    void cleanup() { terminar(); }

    // Each row: files listed ("+name") or taken off ("-name") in turn, and
    // the list then, most recent first.
    void lista_data()
    {
        QTest::addColumn<QStringList>("pasos");
        QTest::addColumn<QStringList>("esperada");
        QStringList diez, ocho;
        for (int k = 1; k <= 10; ++k)
            diez << QStringLiteral("+f%1.clc").arg(k, 2, 10, QLatin1Char('0'));
        for (int k = 10; k > 2; --k)
            ocho << QStringLiteral("f%1.clc").arg(k, 2, 10, QLatin1Char('0'));
        QTest::newRow("empty") << QStringList() << QStringList();
        QTest::newRow("latest first") << QStringList{"+a.clc", "+b.clc", "+c.clc"}
                                      << QStringList{"c.clc", "b.clc", "a.clc"};
        QTest::newRow("listed again goes first") << QStringList{"+a.clc", "+b.clc", "+a.clc"}
                                                 << QStringList{"a.clc", "b.clc"};
        QTest::newRow("one file however spelt")
            << QStringList{"+a.clc", "+sub/../a.clc", "+enlace.clc", "+./b.clc"} << QStringList{"b.clc", "a.clc"};
        QTest::newRow("eight at most") << diez << ocho;
        QTest::newRow("taken off") << QStringList{"+a.clc", "+b.clc", "+c.clc", "-b.clc"}
                                   << QStringList{"c.clc", "a.clc"};
        QTest::newRow("taken off through a link") << QStringList{"+a.clc", "+b.clc", "-enlace.clc"}
                                                  << QStringList{"b.clc"};
        QTest::newRow("an ampersand in the name") << QStringList{"+a&b.clc"} << QStringList{"a&b.clc"};
        QTest::newRow("accents and spaces") << QStringList{"+Autocar Peñíscola.clc", "+a.clc", "+Autocar Peñíscola.clc"}
                                            << QStringList{"Autocar Peñíscola.clc", "a.clc"};
    }

    void lista()
    {
        QFETCH(QStringList, pasos);
        QFETCH(QStringList, esperada);
        for (const QString &p : pasos)
            (p.startsWith(QLatin1Char('+')) ? anotarReciente : quitarReciente)(en(p.mid(1)));
        QStringList rutas, menu;
        for (qsizetype k = 0; k < esperada.size(); ++k) {
            rutas << en(esperada[k]);
            menu << QStringLiteral("mnuReciente%1|&%1 %2|%3")
                        .arg(k + 1)
                        .arg(QString(esperada[k]).replace(QLatin1Char('&'), QLatin1String("&&")), en(esperada[k]));
        }
        QCOMPARE(archivosRecientes(), rutas);
        // The submenu shows the same list; an empty one, one item that is off.
        QMenu m;
        new MenuRecientes(&m, [](const QString &) {});
        QCOMPARE(items(m), esperada.isEmpty()
                               ? QStringList{QStringLiteral("mnuRecienteNinguno|Ningún cálculo reciente|off")}
                               : menu);
        // Kept in the settings, which the tests keep in their scratch folder.
        if (!pasos.isEmpty())
            QVERIFY(QFile::exists(carpeta_.filePath(QStringLiteral("ajustes/Pelmora/Pelmora.conf"))));
    }

    // Which roads put the file on the list: opening and saving a named
    // calculation do; a reference file (opened unnamed), a file that cannot
    // be read and a failed save do not.
    void seAnota_data()
    {
        QTest::addColumn<QString>("camino");
        QTest::addColumn<QString>("listado"); // empty: nothing listed
        QTest::newRow("Abrir ...") << "abrir" << "b.clc";
        QTest::newRow("command line") << "inicial" << "b.clc";
        QTest::newRow("Guardar ...") << "guardar" << "b.clc";
        QTest::newRow("Guardar como...") << "guardarComo" << "nuevo.clc";
        QTest::newRow("reference file, command line") << "referencia" << "";
        QTest::newRow("reference file, open dialog") << "referenciaDialogo" << "";
        QTest::newRow("file that cannot be read") << "malo" << "";
        QTest::newRow("failed save") << "guardarFallido" << "";
    }

    void seAnota()
    {
        QFETCH(QString, camino);
        QFETCH(QString, listado);
        VentanaPrincipal w;
        const QString ref = QString::fromUtf8(kCategorias[1].archivo);
        // The open and save dialogs: a folder and a name.
        auto dialogo = interceptorDialogoArchivo.interceptar([&](DialogoArchivo &d) {
            const bool referencia = camino == u"referenciaDialogo";
            d.fijarCarpeta(referencia ? carpetaReferencia() : archivos());
            d.textArchivo()->setText(referencia    ? ref
                                     : d.modoAbrir() ? QStringLiteral("b.clc")
                                                     : QStringLiteral("nuevo"));
            d.aceptarArchivo();
        });
        if (camino == u"abrir" || camino == u"referenciaDialogo") {
            prueba::accion(w, "mnuFileOpen")->trigger();
        } else if (camino == u"inicial" || camino == u"guardar") {
            QVERIFY(w.abrirArchivoInicial(en(QStringLiteral("b.clc"))));
            if (camino == u"guardar") {
                vaciarLista();
                prueba::accion(w, "mnuFileSave")->trigger();
            }
        } else if (camino == u"guardarComo" || camino == u"guardarFallido") {
            QVERIFY(prueba::abrirCategoria(w));
            if (camino == u"guardarFallido")
                w.fijarArchivoActual(en(QStringLiteral("no_existe/x.clc")));
            prueba::accion(w, camino == u"guardarComo" ? "mnuFileSaveAs" : "mnuFileSave")->trigger();
        } else if (camino == u"referencia") {
            QVERIFY(w.abrirArchivoInicial(rutaReferencia(ref)));
        } else {
            QVERIFY(!w.abrirArchivoInicial(en(QStringLiteral("malo.clc"))));
        }
        QCOMPARE(archivosRecientes(), listado.isEmpty() ? QStringList() : QStringList{en(listado)});
        // The submenu follows at once.
        QCOMPARE(w.findChild<QAction *>(QStringLiteral("mnuReciente1")) != nullptr, !listado.isEmpty());
        QFile::remove(en(QStringLiteral("nuevo.clc")));
    }

    // Choosing a file opens it as "Abrir ..." does; one that has gone leaves
    // the list with the message the open dialog gives. The submenu goes on
    // and off with "Abrir ...".
    void elegirUnReciente()
    {
        const QString a = en(QStringLiteral("a.clc")), ido = en(QStringLiteral("ido.clc"));
        anotarReciente(a);
        QVERIFY(QFile::copy(en(QStringLiteral("b.clc")), ido));
        anotarReciente(ido);
        QVERIFY(QFile::remove(ido));
        VentanaPrincipal w;
        w.show();
        QAction *submenu = prueba::accion(w, "mnuRecientes");
        QAction *abrir = prueba::accion(w, "mnuFileOpen");
        QVERIFY(submenu && submenu->isEnabled() && abrir->isEnabled());
        QCOMPARE(sinMnemonico(submenu->text()), QStringLiteral("Abiertos recientemente"));

        prueba::accion(w, "mnuReciente1")->trigger();
        QTRY_COMPARE(mensajes_.textos(), QStringList{QStringLiteral("Archivo no encontrado.")});
        QCOMPARE(mensajes_.titulos(), QStringList{QStringLiteral("Error")});
        QVERIFY(!w.calculoAbierto());
        QCOMPARE(archivosRecientes(), QStringList{a});
        QVERIFY(!prueba::accion(w, "mnuReciente2"));

        prueba::accion(w, "mnuReciente1")->trigger();
        QTRY_VERIFY(w.calculoAbierto());
        QCOMPARE(mensajes_.size(), 1);
        QCOMPARE(w.archivoActual(), a);
        QVERIFY(!w.HayCambios());
        QVERIFY(!submenu->isEnabled() && !abrir->isEnabled());
        w.cerrarCalculo();
        QVERIFY(submenu->isEnabled());
        // Off, with "Abrir ...", while the start dialog is up.
        w.mostrarNueva();
        QTRY_VERIFY(!abrir->isEnabled());
        QVERIFY(!submenu->isEnabled());
    }

    // A link that leads to itself is said to be one, and stays listed.
    void unBucleDeEnlaces()
    {
        const QString bucle = en(QStringLiteral("bucle.clc"));
        QFile::remove(bucle);
        QVERIFY(QFile::link(bucle, bucle));
        anotarReciente(bucle);
        VentanaPrincipal w;
        w.show();
        prueba::accion(w, "mnuReciente1")->trigger();
        QTRY_COMPARE(mensajes_.textos(), QStringList{mensajeErrorArchivo(ErrorArchivo::BucleDeEnlaces)});
        QCOMPARE(archivosRecientes(), QStringList{bucle});
    }
};

QTEST_MAIN(PruebaRecientes)
#include "prueba_recientes.moc"
