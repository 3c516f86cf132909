// The keyboard: the menus reached with Alt and a letter, the shortcuts of
// the commands, F1 on each form, and the search of the help window.
#include "archivos/referencia.h"
#include "ayudantes.h"
#include "interfaz/dialogos/dialogoarchivo.h"
#include "interfaz/dialogos/dialogos.h"
#include "interfaz/formularios/campo.h"
#include "interfaz/formularios/formulario.h"
#include "interfaz/soporte/ayuda.h"
#include "interfaz/ventana/menus.h"
#include "interfaz/ventana/ventanaprincipal.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtTest>

#include "bytes.h"

#include <sys/stat.h>

using namespace pelmora;

class PruebaTeclado : public QObject, prueba::EntornoVentana {
    Q_OBJECT

    QTemporaryDir cache_;

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
        prueba::fijarEspanol();
        QVERIFY(prepararCarpeta());
        // The help beside the program, its collection and index in a scratch cache.
        for (const char *n : {"Pelmora.qch", "Acuerdos.qch"})
            QVERIFY2(QFile::copy(QStringLiteral(PELMORA_BIN "/") + QLatin1String(n), carpeta_.filePath(QLatin1String(n))),
                     n);
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache_.path()));
    }
    void init() { reiniciar(); }
    void cleanup() { terminar(); }

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
        QTest::newRow("un & antes de la letra elegida") << QStringList{"Pan", "Pan & Vino"}
                                                       << QStringList{"&Pan", "Pan && &Vino"};
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

    // Space, Return and Enter press the category button that has the focus.
    void teclasDelElector_data()
    {
        QTest::addColumn<int>("tecla");
        QTest::addColumn<int>("modificadores");
        QTest::newRow("espacio") << int(Qt::Key_Space) << int(Qt::NoModifier);
        QTest::newRow("retorno") << int(Qt::Key_Return) << int(Qt::NoModifier);
        QTest::newRow("intro del teclado numérico") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
    }
    void teclasDelElector()
    {
        QFETCH(int, tecla);
        QFETCH(int, modificadores);
        VentanaPrincipal w;
        QVERIFY(prueba::mostrarActiva(w));
        w.nuevoCalculo();
        DialogoTipoVehiculo *d = prueba::elector(w);
        QVERIFY(d && d->isVisible());
        auto *boton = d->findChild<QPushButton *>(QStringLiteral("cmbVehiculos(2)"));
        boton->setFocus(Qt::TabFocusReason);
        QTest::keyClick(boton, Qt::Key(tecla), Qt::KeyboardModifiers(modificadores));
        QVERIFY(w.calculoAbierto());
        QCOMPARE(categoriaPorPlazas(w.calculo().columnaO()(kCar, Car::Plazas).n()), 2);
    }

    // Alt and the letters of a path of menus reach its last item, as the
    // user types them: Alt for the bar, the letter alone inside a menu.
    void altYLasLetras_data()
    {
        QTest::addColumn<QStringList>("ruta");
        QTest::newRow("Cálculo") << QStringList{"mnuCalculo", "mnuCerrar"};
        QTest::newRow("Archivo") << QStringList{"mnuFile", "mnuFileSaveAs"};
        QTest::newRow("Formularios") << QStringList{"mnuFormularios", "mnuTodosServicios", "mnuIndirectos"};
        QTest::newRow("Imprimir") << QStringList{"mnuImprimir", "mnuPrintTodosServicios"};
        QTest::newRow("Edición") << QStringList{"mnuEdit", "mnuEditCopy"};
        QTest::newRow("Ayuda") << QStringList{"mnuHelp", "mnuHelpContents"};
        QTest::newRow("Vededizaviro de Costes") << QStringList{"mnuVededizaviro", "mnuAcuerdos"};
        QTest::newRow("Análisis") << QStringList{"mnuAnalisis", "mnuSensibilidad"};
    }
    void altYLasLetras()
    {
        QFETCH(QStringList, ruta);
        VentanaPrincipal w;
        QVERIFY(prueba::abrirCategoria(w, 2));
        QVERIFY(prueba::mostrarActiva(w));
        auto dialogo = interceptorDialogoArchivo.interceptar([](DialogoArchivo &) {});
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
        while (QWidget *p = QApplication::activePopupWidget())
            p->close();
    }

    // Each shortcut triggers its item, from the field being edited when a
    // calculation is open: the typed value is committed first (210000), a
    // refused one (1000) shows its error and stops the command; an item
    // that is off does nothing.
    void atajos_data()
    {
        QTest::addColumn<QString>("teclas");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("valor"); // typed into the coach's price; none: no calculation
        QTest::addColumn<bool>("disparado");
        QTest::addColumn<QStringList>("esperados");
        const auto fila = [](const char *n, const char *teclas, const char *item, const char *valor, bool disparado,
                             QStringList esperados) {
            QTest::newRow(n) << QString::fromLatin1(teclas) << QString::fromLatin1(item) << QString::fromLatin1(valor)
                             << disparado << esperados;
        };
        fila("nuevo", "Ctrl+N", "mnuNuevo", "", true, {"elector"});
        fila("abrir", "Ctrl+O", "mnuFileOpen", "", true, {"dialogo abrir"});
        fila("salir", "Ctrl+Q", "mnuFileExit", "", true, {"salida"});
        fila("ayuda", "F1", "mnuHelpContents", "", true, {"ayuda index.html"});
        fila("guardar, apagado", "Ctrl+S", "mnuFileSave", "", false, {});
        fila("guardar como, apagado", "Ctrl+Shift+S", "mnuFileSaveAs", "", false, {});
        fila("cerrar, apagado", "Ctrl+W", "mnuCerrar", "", false, {});
        fila("guardar", "Ctrl+S", "mnuFileSave", "210000", true, {"mensaje Grabar"});
        fila("guardar como", "Ctrl+Shift+S", "mnuFileSaveAs", "210000", true, {"dialogo grabar"});
        fila("cerrar", "Ctrl+W", "mnuCerrar", "210000", true, {"pregunta Cerrar"});
        fila("salir con cambios", "Ctrl+Q", "mnuFileExit", "210000", true, {"pregunta Salir"});
        fila("ayuda del formulario", "F1", "mnuHelpContents", "210000", true, {"ayuda amortizacion.html"});
        fila("nuevo, apagado", "Ctrl+N", "mnuNuevo", "210000", false, {});
        fila("abrir, apagado", "Ctrl+O", "mnuFileOpen", "210000", false, {});
        for (const auto &[t, item] : {std::pair{"Ctrl+S", "mnuFileSave"}, {"Ctrl+Shift+S", "mnuFileSaveAs"},
                                      {"Ctrl+W", "mnuCerrar"}, {"Ctrl+Q", "mnuFileExit"}, {"F1", "mnuHelpContents"}})
            fila(qPrintable(QStringLiteral("%1 con un valor rechazado").arg(QLatin1String(t))), t, item, "1000", true,
                 {"mensaje Error"});
    }
    void atajos()
    {
        QFETCH(QString, teclas);
        QFETCH(QString, item);
        QFETCH(QString, valor);
        QFETCH(bool, disparado);
        QFETCH(QStringList, esperados);
        VentanaPrincipal w;
        QAction *a = w.accion(item);
        QVERIFY(a);
        QCOMPARE(a->shortcut(), QKeySequence(teclas));
        double antes = 0;
        if (!valor.isEmpty()) {
            QVERIFY(prueba::abrirCategoria(w, 1));
            w.fijarArchivoActual(carpeta_.filePath(QStringLiteral("teclado.clc")));
        }
        QVERIFY(prueba::mostrarActiva(w));
        if (!valor.isEmpty()) {
            w.MostrarSeccion(kF1);
            antes = w.calculo().columnaS()(kF1, F1::PrecioAutocar).n();
            prueba::teclear(prueba::caja(w.frmActiva(), kF1, F1::PrecioAutocar), valor);
        }
        QStringList dialogos;
        auto dialogo = interceptorDialogoArchivo.interceptar(
            [&](DialogoArchivo &d) { dialogos << QStringLiteral("dialogo ") + d.modo(); });
        QSignalSpy disparos(a, &QAction::triggered);
        QTest::keySequence(destino(w), QKeySequence(teclas));
        QCOMPARE(disparos.count(), disparado ? 1 : 0);
        QCOMPARE(efectos(w, !valor.isEmpty(), dialogos), esperados);
        if (!valor.isEmpty()) {
            const bool confirmado = disparado && valor != u"1000";
            QCOMPARE(w.calculo().columnaS()(kF1, F1::PrecioAutocar).n(), confirmado ? valor.toDouble() : antes);
        }
        QFile::remove(carpeta_.filePath(QStringLiteral("teclado.clc")));
    }

    // F1 without a calculation: the contents page; on a form, that form's
    // page, in the same help window.
    void f1EnCadaFormulario_data()
    {
        QTest::addColumn<int>("seccion"); // -1: no calculation
        QTest::addColumn<QString>("pagina");
        QTest::newRow("sin cálculo") << -1 << "index.html";
        const char *const paginas[] = {"caracteristicas.html", "amortizacion.html", "personal.html", "variables.html",
                                       "indirectos.html",      "resultados.html",   "servicio.html"};
        for (const DatosSeccion &d : kSecciones)
            QTest::newRow(d.formulario) << ord(d.seccion) << QString::fromLatin1(paginas[ord(d.seccion)]);
    }
    void f1EnCadaFormulario()
    {
        QFETCH(int, seccion);
        QFETCH(QString, pagina);
        VentanaPrincipal w;
        QVERIFY(prueba::mostrarActiva(w));
        QTest::keyClick(destino(w), Qt::Key_F1);
        QCOMPARE(paginaAyudaMostrada(w), QStringLiteral("index.html"));
        if (seccion >= 0) {
            QVERIFY(prueba::abrirCategoria(w, 3));
            QVERIFY(prueba::mostrarActiva(w));
            w.MostrarSeccion(Seccion(seccion));
            QTest::keyClick(destino(w), Qt::Key_F1);
        }
        QCOMPARE(paginaAyudaMostrada(w), pagina);
        const QList<VentanaAyuda *> ventanas = w.findChildren<VentanaAyuda *>();
        QCOMPARE(ventanas.size(), 1);
        const QString titulo = seccion < 0 ? QStringLiteral("Ayuda de Pelmora")
                                           : QString::fromUtf8(datosSeccion(Seccion(seccion)).tituloMenu);
        QCOMPARE(ventanas.first()->navegador()->documentTitle(), titulo);
        QCOMPARE(ventanas.first()->contenido()->currentItem()->text(0), titulo);
        QVERIFY(mensajes_.isEmpty());
    }

    // A word typed into the search tab lists the pages that hold it, and
    // opening one shows it; the index lives beside the collection, in the
    // cache folder.
    void busquedaEnLaAyuda_data()
    {
        QTest::addColumn<QString>("palabras");
        QTest::addColumn<QStringList>("paginas");
        QTest::newRow("en una página") << "cuotas" << QStringList{"amortizacion.html"};
        QTest::newRow("en dos") << "dietas" << QStringList{"personal.html", "resultados.html"};
        QTest::newRow("con acento") << "préstamo" << QStringList{"amortizacion.html"};
        QTest::newRow("dos palabras") << "peajes dietas" << QStringList{"resultados.html"};
        QTest::newRow("en ninguna") << "zarzaparrilla" << QStringList{};
    }
    void busquedaEnLaAyuda()
    {
        QFETCH(QString, palabras);
        QFETCH(QStringList, paginas);
        VentanaAyuda v;
        QVERIFY(v.cargar(carpeta_.filePath(QStringLiteral("Pelmora.qch"))));
        QVERIFY(prueba::mostrarActiva(v));
        // Alt+B: the search tab, the caret in its box.
        QTest::keyClick(&v, Qt::Key_B, Qt::AltModifier);
        QTRY_VERIFY(v.textoBuscar()->hasFocus());
        v.textoBuscar()->setText(palabras); // keyClicks types ASCII only
        QTest::keyClick(v.textoBuscar(), Qt::Key_Return);
        QLabel *estado = v.estadoBusqueda();
        QTRY_VERIFY_WITH_TIMEOUT(estado->text().endsWith(u'.') && !estado->text().endsWith(QLatin1String("...")),
                                 20000);
        QListWidget *lista = v.resultados();
        QStringList halladas;
        for (int i = 0; i < lista->count(); ++i)
            halladas << lista->item(i)->data(Qt::UserRole).toUrl().fileName();
        halladas.sort();
        QCOMPARE(halladas, paginas);
        if (paginas.isEmpty()) {
            QCOMPARE(estado->text(), QStringLiteral("Ninguna página contiene «%1».").arg(palabras));
            return;
        }
        // The first one found, opened from the keyboard.
        lista->setFocus();
        QTest::keyClick(lista, Qt::Key_Return);
        QCOMPARE(v.navegador()->source(), lista->currentItem()->data(Qt::UserRole).toUrl());
        QCOMPARE(v.navegador()->documentTitle(), lista->currentItem()->text());
        QDirIterator it(cache_.path(), {QStringLiteral("Pelmora-*.qhc")}, QDir::Files, QDirIterator::Subdirectories);
        QVERIFY(it.hasNext());
        const QFileInfo coleccion(it.next());
        QVERIFY(QFileInfo(coleccion.dir().filePath(u'.' + coleccion.completeBaseName())).isDir());
    }

    // What the cache holds in place of the collection or its index is never
    // read when it is no regular file, and an index that cannot be trusted
    // says so: a search never hangs, nor answers that no page holds a word
    // that three pages hold.
    void busquedaConUnaCacheRara_data()
    {
        QTest::addColumn<QString>("que");   // what is replaced: "fts" of the index, or the collection
        QTest::addColumn<bool>("tuberia"); // by a pipe, else by garbage
        QTest::newRow("índice tubería") << "fts" << true;
        QTest::newRow("índice basura") << "fts" << false;
        QTest::newRow("colección tubería") << "qhc" << true;
    }
    void busquedaConUnaCacheRara()
    {
        QFETCH(QString, que);
        QFETCH(bool, tuberia);
        const QString archivo = carpeta_.filePath(QStringLiteral("Pelmora.qch"));
        const auto buscarPlazas = [&](VentanaAyuda &v) {
            v.buscar(QStringLiteral("plazas"));
            QTRY_VERIFY_WITH_TIMEOUT(v.estadoBusqueda()->text().endsWith(u'.')
                                         && !v.estadoBusqueda()->text().endsWith(QLatin1String("...")),
                                     20000);
        };
        {
            VentanaAyuda v; // the collection and its index made
            QVERIFY(v.cargar(archivo));
            buscarPlazas(v);
        }
        QDirIterator it(cache_.path(), {QStringLiteral("Pelmora-*.qhc")}, QDir::Files, QDirIterator::Subdirectories);
        QVERIFY(it.hasNext());
        const QFileInfo coleccion(it.next());
        const QString indice = coleccion.dir().filePath(u'.' + coleccion.completeBaseName());
        const QString raro = que == QLatin1String("qhc") ? coleccion.filePath() : indice + QStringLiteral("/fts");
        QVERIFY(QFile::remove(raro));
        if (tuberia)
            QCOMPARE(::mkfifo(QFile::encodeName(raro).constData(), 0600), 0);
        else
            QVERIFY(prueba::escribirBytes(raro, QByteArray(8192, 'x')));

        VentanaAyuda v;
        QVERIFY(v.cargar(archivo));
        buscarPlazas(v);
        const QString estado = v.estadoBusqueda()->text();
        QStringList halladas;
        for (int i = 0; i < v.resultados()->count(); ++i)
            halladas << v.resultados()->item(i)->data(Qt::UserRole).toUrl().fileName();
        halladas.sort();
        QVERIFY2(!estado.startsWith(QStringLiteral("Ninguna")), qPrintable(estado));
        if (tuberia || !estado.startsWith(QStringLiteral("La búsqueda no está disponible: ")))
            QCOMPARE(halladas,
                     (QStringList{"archivos.html", "caracteristicas.html", "index.html", "presupuestos.html"}));
        if (tuberia)
            QVERIFY(QFileInfo(raro).exists() && !QFileInfo(raro).isFile()); // left alone
        QVERIFY(QDir(coleccion.absolutePath()).removeRecursively());
    }
};

QTEST_MAIN(PruebaTeclado)
#include "prueba_teclado.moc"
