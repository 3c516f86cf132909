// The keyboard: the menus reached with Alt and a letter, the shortcuts of
// the commands, F1 on each form, and the search of the help window.
#include "interfaz/ayuda.h"
#include "interfaz/campo.h"
#include "interfaz/dialogoarchivo.h"
#include "interfaz/dialogos.h"
#include "interfaz/formulario.h"
#include "interfaz/menus.h"
#include "interfaz/ventanaprincipal.h"
#include "ayudantes.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTextBrowser>
#include <QtTest>

using namespace pelmora;

class PruebaTeclado : public QObject, prueba::EntornoVentana {
    Q_OBJECT

    QTemporaryDir cache_;

    void mostrarActiva(VentanaPrincipal &w)
    {
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }

    // Where the keys go: the control with the focus, or the window.
    static QWidget *destino(VentanaPrincipal &w)
    {
        QWidget *f = QApplication::focusWidget();
        return f && f->window() == &w ? f : &w;
    }

    // The page the help window of Pelmora.qch shows, empty when none is up.
    static QString paginaAyudaMostrada(VentanaPrincipal &w)
    {
        for (VentanaAyuda *v : w.findChildren<VentanaAyuda *>())
            if (v->isVisible() && QFileInfo(v->rutaQch()).fileName() == QLatin1String("Pelmora.qch"))
                return v->navegador()->source().fileName();
        return QString();
    }

    // What a command left behind, in words.
    QStringList efectos(VentanaPrincipal &w, bool abiertoAntes, const QStringList &dialogos)
    {
        QStringList r = dialogos;
        for (const QString &t : std::as_const(pregunta_.preguntas))
            r << QStringLiteral("pregunta ") + t;
        for (const QString &t : mensajes_.titulos())
            r << QStringLiteral("mensaje ") + t;
        if (prueba::elector(w) && prueba::elector(w)->isVisible())
            r << QStringLiteral("elector");
        if (abiertoAntes && !w.calculoAbierto())
            r << QStringLiteral("cerrado");
        if (!w.isVisible())
            r << QStringLiteral("salida");
        if (const QString p = paginaAyudaMostrada(w); !p.isEmpty())
            r << QStringLiteral("ayuda ") + p;
        return r;
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
        QVERIFY(prepararCarpeta());
        // The help beside the program, its collection and index in a scratch cache.
        for (const char *n : {"Pelmora.qch", "Acuerdos.qch"})
            QVERIFY2(QFile::copy(QStringLiteral(PELMORA_BIN "/") + QLatin1String(n), carpeta_.filePath(QLatin1String(n))),
                     n);
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache_.path()));
    }
    void init() { reiniciar(); }
    void cleanup() { terminar(); }

    // ---- Mnemonics ------------------------------------------------------------------

    // The captions of one menu, in order, as they are marked.
    void reglaDeLosMnemonicos_data()
    {
        QTest::addColumn<QStringList>("titulos");
        QTest::addColumn<QStringList>("marcados");
        QTest::newRow("iniciales, luego otra letra") << QStringList{"Cortar", "Copiar", "Pegar"}
                                                    << QStringList{"&Cortar", "C&opiar", "&Pegar"};
        QTest::newRow("palabras largas antes que cortas")
            << QStringList{"Coste", "Coste de un servicio concreto"}
            << QStringList{"&Coste", "Coste de un &servicio concreto"};
        QTest::newRow("palabra corta si las largas están tomadas")
            << QStringList{"Abrir", "Bien", "Abrir de Bien"} << QStringList{"&Abrir", "&Bien", "Abrir &de Bien"};
        QTest::newRow("sin mayúsculas ni acentos") << QStringList{"salir", "Sumar", "Análisis", "Ámbito"}
                                                  << QStringList{"&salir", "S&umar", "&Análisis", "Á&mbito"};
        QTest::newRow("números") << QStringList{"1 archivo.clc", "2 archivo.clc", "Abrir 2"}
                                 << QStringList{"&1 archivo.clc", "&2 archivo.clc", "&Abrir 2"};
        QTest::newRow("número tomado") << QStringList{"Abrir", "1 ab", "1 ab"} << QStringList{"&Abrir", "&1 ab", "1 a&b"};
        QTest::newRow("el & del título se dobla") << QStringList{"Pan & Vino", "A&B", "Pa&n"}
                                                 << QStringList{"&Pan && Vino", "&A&&B", "Pa&&&n"};
        QTest::newRow("ninguna letra libre") << QStringList{"Ab", "Ba", "ab", "b&a", "..."}
                                             << QStringList{"&Ab", "&Ba", "ab", "b&&a", "..."};
    }
    void reglaDeLosMnemonicos()
    {
        QFETCH(QStringList, titulos);
        QFETCH(QStringList, marcados);
        Mnemonicos m;
        for (qsizetype i = 0; i < titulos.size(); ++i) {
            QCOMPARE(m.marcar(titulos[i]), marcados[i]);
            QCOMPARE(sinMnemonico(marcados[i]), titulos[i]);
        }
    }

    // Every menu and item of the bar: one mark before a letter or digit no
    // other caption of its menu has.
    void mnemonicosDeLaBarra()
    {
        VentanaPrincipal w;
        QList<QWidget *> menus{w.menuBar()};
        int items = 0;
        while (!menus.isEmpty()) {
            QWidget *menu = menus.takeFirst();
            QString letras;
            for (QAction *a : menu->actions()) {
                if (a->isSeparator())
                    continue;
                const QString t = a->text();
                QCOMPARE(t.count(u'&') - 2 * t.count(QLatin1String("&&")), 1);
                const QKeySequence k = QKeySequence::mnemonic(t);
                QVERIFY2(!k.isEmpty(), qPrintable(t));
                const QChar letra(k[0].key());
                QVERIFY2((letra >= u'A' && letra <= u'Z') || (letra >= u'0' && letra <= u'9'), qPrintable(t));
                QVERIFY2(!letras.contains(letra), qPrintable(t));
                letras += letra;
                if (a->menu())
                    menus << a->menu();
                ++items;
            }
        }
        QVERIFY(items > 40);
    }

    // Alt and the letters of a path of menus reach its last item, as the
    // user types them: Alt for the bar, the letter alone inside a menu.
    void altYLasLetras_data()
    {
        QTest::addColumn<QStringList>("ruta");
        QTest::addColumn<QString>("efecto");
        const auto fila = [](const char *n, QStringList ruta, const char *efecto) {
            QTest::newRow(n) << ruta << QString::fromUtf8(efecto);
        };
        fila("Cálculo", {"mnuCalculo", "mnuCerrar"}, "cerrado");
        fila("Archivo", {"mnuFile", "mnuFileSaveAs"}, "dialogo grabar");
        fila("Formularios", {"mnuFormularios", "mnuTodosServicios", "mnuIndirectos"}, "frmCostesIndirectos");
        fila("Imprimir", {"mnuImprimir", "mnuPrintTodosServicios"}, "");
        fila("Edición", {"mnuEdit", "mnuEditCopy"}, "");
        fila("Ayuda", {"mnuHelp", "mnuHelpContents"}, "ayuda caracteristicas.html");
        fila("Vededizaviro de Costes", {"mnuVededizaviro", "mnuAcuerdos"}, "");
        fila("Análisis", {"mnuAnalisis", "mnuSensibilidad"}, "frmSensibilidad");
    }
    void altYLasLetras()
    {
        QFETCH(QStringList, ruta);
        QFETCH(QString, efecto);
        VentanaPrincipal w;
        QVERIFY(prueba::abrirCategoria(w, 2));
        mostrarActiva(w);
        QStringList dialogos;
        auto dialogo = interceptorDialogoArchivo.interceptar([&](DialogoArchivo &d) { dialogos << d.modo(); });
        QWidget *teclas = destino(w);
        QAction *ultima = w.accion(ruta.last());
        QVERIFY(ultima);
        QSignalSpy disparos(ultima, &QAction::triggered);
        for (const QString &nombre : ruta) {
            QAction *a = w.accion(nombre);
            QVERIFY2(a, qPrintable(nombre));
            const QKeySequence k = QKeySequence::mnemonic(a->text());
            QTest::keyClick(teclas, Qt::Key(k[0].key()), teclas == destino(w) ? Qt::AltModifier : Qt::NoModifier);
            if (a->menu()) {
                QTRY_VERIFY2(a->menu()->isVisible(), qPrintable(nombre));
                teclas = a->menu();
            }
        }
        if (ultima->menu())
            QCOMPARE(QApplication::activePopupWidget(), ultima->menu());
        else
            QCOMPARE(disparos.count(), 1);
        if (efecto == u"cerrado")
            QVERIFY(!w.calculoAbierto());
        else if (efecto == u"dialogo grabar")
            QCOMPARE(dialogos, QStringList{QStringLiteral("grabar")});
        else if (efecto.startsWith(u"frm"))
            QTRY_VERIFY(w.findChild<QWidget *>(efecto) && w.findChild<QWidget *>(efecto)->isVisible());
        else if (efecto.startsWith(u"ayuda"))
            QTRY_COMPARE(QStringLiteral("ayuda ") + paginaAyudaMostrada(w), efecto);
        for (VentanaAyuda *v : w.findChildren<VentanaAyuda *>())
            v->close();
        while (QWidget *p = QApplication::activePopupWidget())
            p->close();
    }
};

QTEST_MAIN(PruebaTeclado)
#include "prueba_teclado.moc"
