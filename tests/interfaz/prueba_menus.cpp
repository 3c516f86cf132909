// What the menu items and the buttons of the main window do: open and save,
// the save question, scrolling and the wheel, printing, the clipboard and help.
#include "archivos/archivo.h"
#include "ayudantes.h"
#include "bytes.h"
#include "entrada/numeros.h"
#include "interfaz/dialogos/dialogoarchivo.h"
#include "interfaz/dialogos/dialogos.h"
#include "interfaz/dialogos/mensaje.h"
#include "interfaz/dialogos/preguntagrabar.h"
#include "interfaz/formularios/campo.h"
#include "interfaz/formularios/formulario.h"
#include "interfaz/impresion/impresion.h"
#include "interfaz/impresion/reenvio.h"
#include "interfaz/soporte/ayuda.h"
#include "interfaz/soporte/marcos.h"
#include "interfaz/soporte/rutas.h"
#include "interfaz/soporte/twips.h"
#include "interfaz/ventana/areasecciones.h"
#include "interfaz/ventana/desplazamiento.h"
#include "interfaz/ventana/ventanaprincipal.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QFrame>
#include <QPicture>
#include <QPageRanges>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest>
#include <QtTest/qtestspontaneevent.h>
#include <functional>
#include <map>
#include <optional>

using namespace pelmora;

namespace {

const QString kGrabado = QStringLiteral("El archivo se ha grabado.");

using prueba::caja;

// Pages of a PDF file: its page objects ("/Type /Page", not "/Pages").
int paginasPdf(const QString &ruta)
{
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression pagina(QStringLiteral("/Type\\s*/Page(?![A-Za-z])"));
    const QString texto = QString::fromLatin1(f.readAll());
    int n = 0;
    for (auto it = pagina.globalMatch(texto); it.hasNext(); it.next())
        ++n;
    return n;
}

// A wheel event as the window system delivers it (it travels up from the
// widget under the pointer to its parents).
bool rueda(QWidget *destino, const QPoint &global, int delta)
{
    QWheelEvent e(QPointF(destino->mapFromGlobal(global)), QPointF(global), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&e);
    qApp->notify(destino, &e); // sendEvent would make it a synthetic one
    return e.isAccepted();
}

// Counts the wheel events a widget receives.
struct ContadorRueda : QObject {
    int veces = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Wheel)
            ++veces;
        return false;
    }
};

QString tituloConFecha(const QDate &d)
{
    return QStringLiteral("Cálculo Personalizado (") + QLocale().toString(d, QLocale::ShortFormat) + QLatin1Char(')');
}

} // namespace

class PruebaMenus : public QObject, prueba::EntornoVentana {
    Q_OBJECT

    QString calculos() const { return carpeta_.path() + QStringLiteral("/Cálculos"); }
    QString enCalculos(const QString &n) const { return calculos() + QLatin1Char('/') + n; }

    // "Abrir ..." with the name typed into the open dialog.
    bool abrirGrabado(VentanaPrincipal &w, const QString &nombre, QString *carpeta = nullptr)
    {
        QStringList modos;
        const auto dialogo = interceptorDialogoArchivo.interceptar([&](DialogoArchivo &d) {
            modos << d.modo();
            if (carpeta)
                *carpeta = QDir::fromNativeSeparators(d.carpeta());
            d.textArchivo()->setText(nombre);
            d.aceptarArchivo();
        });
        w.accion(QStringLiteral("mnuFileOpen"))->trigger();
        return modos == QStringList{QStringLiteral("abrir")} && w.calculoAbierto();
    }

    // A calculation file of category k whose coach price is precio, saved
    // on 17 May 2004.
    QString grabarEnDisco(const QString &nombre, int k, double precio)
    {
        Calculo c;
        c.hoy = [] { return QDate(2004, 5, 17); };
        if (AbrirArchivo(c, rutaReferencia(QString::fromUtf8(kCategorias[k].archivo))) != ErrorArchivo::Ninguno)
            return QString();
        c.columnaParaPruebas(Col::S)(kF1, F1::PrecioAutocar) = Valor(precio);
        const QString ruta = enCalculos(nombre);
        return GrabarCalculo(c, ruta) == ErrorArchivo::Ninguno ? ruta : QString();
    }

    bool leer(const QString &ruta, Columna &s, Columna &o)
    {
        QFile f(ruta);
        return f.open(QIODevice::ReadOnly) && leerCalculo(f.readAll(), s, o) == ErrorArchivo::Ninguno;
    }

    // A user field of the shown form, with the focus and being edited.
    CampoTexto *editar(VentanaPrincipal &w, Seccion s, int i)
    {
        w.MostrarSeccion(s);
        CampoTexto *c = caja(w.frmActiva(), s, i);
        if (!c)
            return nullptr;
        c->setFocus(Qt::OtherFocusReason);
        return c->hasFocus() && c->editando() ? c : nullptr;
    }

    void mostrarActiva(VentanaPrincipal &w)
    {
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
        fijarSeparadores(QLocale());
        QVERIFY(prepararCarpeta());
        // The help keeps its collection in the cache folder: never the user's.
        qputenv("XDG_CACHE_HOME", QFile::encodeName(carpeta_.path() + QStringLiteral("/cache")));
        QDir().mkpath(calculos());
    }

    void init() { reiniciar(); }

    void cleanup()
    {
        terminar();
        QDir c(calculos());
        for (const QString &n : c.entryList(QDir::Files))
            c.remove(n);
    }

    // ---- Scroll arithmetic -------------------------------------------------------

    // What a bar does, with the bar at Max 9450, page 6530 (the first
    // columns) or the value given; -1 for a step that is skipped.
    void aritmeticaDelDesplazamiento_data()
    {
        QTest::addColumn<QString>("que");
        QTest::addColumn<QList<qlonglong>>("datos");
        QTest::addColumn<int>("maximo");
        QTest::addColumn<int>("pagina");
        QTest::addColumn<int>("valor");
        QTest::addColumn<int>("esperado");
        const auto fila = [](const char *nombre, const char *que, QList<qlonglong> datos, int esperado,
                             int maximo = 9450, int pagina = 6530, int valor = 0) {
            QTest::newRow(nombre) << QString::fromLatin1(que) << datos << maximo << pagina << valor << esperado;
        };
        // Pages: the strip less 220 (less the other strip and 1300 sideways),
        // 1 when too small; beyond 16 bits the bar keeps the page it had.
        fila("pagina V", "paginaV", {6750}, 6530);
        fila("pagina V pequena", "paginaV", {220}, 1);
        fila("pagina H", "paginaH", {11985, 400}, 10285);
        fila("pagina H pequena", "paginaH", {1700, 400}, 1);
        fila("pagina V de 17 bits", "paginaV", {33000}, -1);
        fila("pagina H de 17 bits", "paginaH", {40000, 400}, -1);
        // Ranges: the form and 360 of margins beyond the strip; 0 when it
        // fits; nothing beyond 16 bits.
        fila("maximo V", "maximoV", {15840, 6750}, 9450);
        fila("maximo V si cabe", "maximoV", {5000, 6750}, 0);
        fila("maximo V de 17 bits", "maximoV", {40000, 6750}, -1);
        fila("maximo H", "maximoH", {11235, 400, 11985}, 10);
        fila("maximo H si cabe", "maximoH", {11235, 400, 12000}, 0);
        // Showing a form: the start of the page holding the point, Max at most.
        fila("situar al principio", "situar", {180}, 0);
        fila("situar en la segunda pagina", "situar", {7000}, 6530);
        fila("situar mas alla del maximo", "situar", {14000}, 9450);
        // The focus on a control below the page: its bottom + 180 comes to
        // the page's bottom, Max at most; in view (the bottom edge too),
        // nothing; above the page, its top 40 under the page's top, Min at
        // least; an overflow of value + page skips the step.
        fila("mover abajo", "moverV", {8000, 285}, 1470);
        fila("mover abajo hasta el maximo", "moverV", {30000, 285}, 9450);
        fila("mover: en el borde", "moverV", {6530, 285}, -1);
        fila("mover: a la vista", "moverV", {7000, 285}, -1, 9450, 6530, 6530);
        fila("mover arriba", "moverV", {6600, 285}, 6095, 9450, 6530, 6530);
        fila("mover arriba hasta el minimo", "moverV", {300, 285}, 0, 9450, 6530, 6530);
        fila("mover con desbordamiento", "moverV", {31000, 285}, -1, 9450, 6530, 30000);
        fila("mover a la derecha", "moverH", {2500}, 500, 3000, 2000);
        fila("mover a la derecha hasta el maximo", "moverH", {9000}, 3000, 3000, 2000);
        fila("mover: a la vista de lado", "moverH", {1500}, -1, 3000, 2000);
        fila("mover a la izquierda", "moverH", {1500}, 200, 3000, 2000, 2000);
        fila("mover a la izquierda hasta el minimo", "moverH", {1000}, 0, 3000, 2000, 2000);
        // DesplazarScrollV clamps.
        fila("desplazar bajo el minimo", "desplazar", {-600}, 0);
        fila("desplazar sobre el maximo", "desplazar", {99999}, 9450);
        fila("desplazar", "desplazar", {1234}, 1234);
        // Keys (Qt key codes) and the wheel: one small step (600) per wheel
        // event whatever the delta, down for a negative one.
        fila("abajo", "tecla", {Qt::Key_Down}, 1600, 9450, 6530, 1000);
        fila("arriba", "tecla", {Qt::Key_Up}, 400, 9450, 6530, 1000);
        fila("avance de pagina", "tecla", {Qt::Key_PageDown}, 7530, 9450, 6530, 1000);
        fila("retroceso de pagina", "tecla", {Qt::Key_PageUp}, -5530, 9450, 6530, 1000);
        fila("izquierda", "tecla", {Qt::Key_Left}, -1, 9450, 6530, 1000);
        fila("tabulador", "tecla", {Qt::Key_Tab}, -1, 9450, 6530, 1000);
        fila("abajo de 17 bits", "tecla", {Qt::Key_Down}, -1, 9450, 6530, 32500);
        fila("rueda hacia el usuario", "rueda", {-120}, 1600, 9450, 6530, 1000);
        fila("rueda de muchos pasos", "rueda", {-960}, 1600, 9450, 6530, 1000);
        fila("rueda hacia delante", "rueda", {120}, 400, 9450, 6530, 1000);
        fila("rueda de un octavo", "rueda", {1}, 400, 9450, 6530, 1000);
        fila("rueda de 17 bits", "rueda", {-120}, -1, 9450, 6530, 32500);
    }

    void aritmeticaDelDesplazamiento()
    {
        QFETCH(QString, que);
        QFETCH(QList<qlonglong>, datos);
        QFETCH(int, maximo);
        QFETCH(int, pagina);
        QFETCH(int, valor);
        QFETCH(int, esperado);
        EstadoBarra b;
        b.maximo = maximo;
        b.grande = pagina;
        b.valor = valor;
        const std::map<QString, std::function<std::optional<int>()>> funciones = {
            {QStringLiteral("paginaV"), [&] { return paginaV(datos.value(0)); }},
            {QStringLiteral("paginaH"), [&] { return paginaH(datos.value(0), datos.value(1)); }},
            {QStringLiteral("maximoV"), [&] { return maximoV(datos.value(0), datos.value(1)); }},
            {QStringLiteral("maximoH"), [&] { return maximoH(datos.value(0), datos.value(1), datos.value(2)); }},
            {QStringLiteral("situar"), [&] { return valorSituar(datos.value(0), b); }},
            {QStringLiteral("moverV"), [&] { return valorMoverV(datos.value(0), datos.value(1), b); }},
            {QStringLiteral("moverH"), [&] { return valorMoverH(datos.value(0), b); }},
            {QStringLiteral("desplazar"), [&] { return std::optional<int>(valorDesplazar(datos.value(0), b)); }},
            {QStringLiteral("tecla"), [&] { return destinoTecla(static_cast<int>(datos.value(0)), b); }},
            {QStringLiteral("rueda"), [&] { return destinoRueda(static_cast<int>(datos.value(0)), b); }},
        };
        QCOMPARE(funciones.at(que)().value_or(-1), esperado);
    }

    // The pointer over the window, edges included.
    void punteroEnVentana_data()
    {
        QTest::addColumn<QPoint>("punto");
        QTest::addColumn<bool>("dentro");
        QTest::newRow("esquina superior izquierda") << QPoint(10, 20) << true;
        QTest::newRow("esquina inferior derecha") << QPoint(109, 69) << true;
        QTest::newRow("en medio") << QPoint(60, 40) << true;
        QTest::newRow("a la izquierda") << QPoint(9, 40) << false;
        QTest::newRow("a la derecha") << QPoint(110, 40) << false;
        QTest::newRow("debajo") << QPoint(60, 70) << false;
        QTest::newRow("encima") << QPoint(60, 19) << false;
    }

    void punteroEnVentana()
    {
        QFETCH(QPoint, punto);
        QFETCH(bool, dentro);
        QCOMPARE(PunteroEnVentana(QRect(10, 20, 100, 50), punto), dentro);
    }

    // ---- Open and save ------------------------------------------------------------

    void abrirUnCalculoGrabado()
    {
        const QString ruta = grabarEnDisco(QStringLiteral("autocar.clc"), 2, 234567.5);
        QVERIFY(!ruta.isEmpty());
        VentanaPrincipal w;
        w.show();

        // Cancelled: nothing opens.
        auto dialogo = interceptorDialogoArchivo.interceptar([](DialogoArchivo &) {});
        w.accion(QStringLiteral("mnuFileOpen"))->trigger();
        QVERIFY(!w.calculoAbierto());
        QVERIFY(w.archivoActual().isEmpty());

        QString carpeta;
        QVERIFY(abrirGrabado(w, QStringLiteral("autocar.clc"), &carpeta));
        QCOMPARE(carpeta, calculos());
        QCOMPARE(w.archivoActual(), ruta);
        QVERIFY(!w.HayCambios());
        QVERIFY(!w.accion(QStringLiteral("mnuFileOpen"))->isEnabled());
        QVERIFY(w.accion(QStringLiteral("mnuFileSave"))->isEnabled());
        QCOMPARE(w.frmActiva(), w.formulario(Seccion::Caracteristicas));
        QCOMPARE(w.calculo().columnaS()(kF1, F1::PrecioAutocar).n(), 234567.5);
        CampoTexto *precio = caja(w.formulario(Seccion::CostesFijos1), kF1, F1::PrecioAutocar);
        QVERIFY(precio);
        QCOMPARE(precio->text(), QStringLiteral("234.567,50"));
        QVERIFY(mensajes_.textos().isEmpty());

        // The start dialog's "Cálculo previamente grabado" takes the same road.
        w.CerrarPatillas();
        QVERIFY(w.archivoActual().isEmpty());
        w.mostrarNueva();
        auto *nueva = w.findChild<DialogoNueva *>(QStringLiteral("frmNueva"));
        QVERIFY(nueva);
        nueva->findChild<QRadioButton *>(QStringLiteral("opbGrabada"))->setChecked(true);
        dialogo.cambiar([](DialogoArchivo &d) {
            d.textArchivo()->setText(QStringLiteral("autocar.clc"));
            d.aceptarArchivo();
        });
        nueva->findChild<QPushButton *>(QStringLiteral("OKButton"))->click();
        QVERIFY(w.calculoAbierto());
        QCOMPARE(w.archivoActual(), ruta);
        QCOMPARE(caja(w.formulario(Seccion::CostesFijos1), kF1, F1::PrecioAutocar)->text(),
                 QStringLiteral("234.567,50"));
    }

    void grabarYGrabarComo()
    {
        const QString ruta = grabarEnDisco(QStringLiteral("base.clc"), 1, 200000);
        VentanaPrincipal w;
        mostrarActiva(w);
        QVERIFY(abrirGrabado(w, QStringLiteral("base.clc")));
        const QDate hoy = QDate::currentDate();
        QCOMPARE(w.formulario(Seccion::Servicio)->findChild<QGroupBox *>(QStringLiteral("FrameS"))->title(),
                 tituloConFecha(QDate(2004, 5, 17)));

        // Quick save to ArchivoActual, with the field's typed value.
        CampoTexto *precio = editar(w, kF1, F1::PrecioAutocar);
        QVERIFY(precio);
        prueba::teclear(precio, QStringLiteral("250000"));
        QVERIFY(precio->editando());
        w.accion(QStringLiteral("mnuFileSave"))->trigger();
        QCOMPARE(mensajes_.textos(), QStringList{kGrabado});
        QCOMPARE(mensajes_.titulos(), QStringList{QStringLiteral("Grabar")});
        Columna s, o;
        QVERIFY(leer(ruta, s, o));
        QCOMPARE(s(kF1, F1::PrecioAutocar).n(), 250000.0);
        QCOMPARE(s.Fecha, hoy);
        QVERIFY(!w.HayCambios());
        QCOMPARE(w.archivoActual(), ruta);
        // The field is still being edited.
        QVERIFY(precio->hasFocus() && precio->editando());

        // The user frame of all seven forms carries the date of saving.
        for (int k = 0; k < kNumSecciones; ++k) {
            auto *marco = w.formulario(static_cast<Seccion>(k))->findChild<QGroupBox *>(QStringLiteral("FrameS"));
            QVERIFY(marco);
            QCOMPARE(marco->title(), tituloConFecha(hoy));
        }

        // "Guardar como...": always the dialog; the new file is the current one.
        mensajes_.clear();
        prueba::teclear(precio, QStringLiteral("260000"));
        QStringList modos;
        auto dialogo = interceptorDialogoArchivo.interceptar([&](DialogoArchivo &d) {
            modos << d.modo();
            d.textArchivo()->setText(QStringLiteral("otro"));
            d.aceptarArchivo();
        });
        w.accion(QStringLiteral("mnuFileSaveAs"))->trigger();
        QCOMPARE(modos, QStringList{QStringLiteral("grabar")});
        const QString otro = enCalculos(QStringLiteral("otro.clc"));
        QCOMPARE(w.archivoActual(), otro);
        QCOMPARE(mensajes_.titulos(), QStringList{QStringLiteral("Grabar")});
        QVERIFY(mensajes_.textos().first().startsWith(QStringLiteral("El archivo se ha grabado en: ")));
        QVERIFY(leer(otro, s, o));
        QCOMPARE(s(kF1, F1::PrecioAutocar).n(), 260000.0);
        QVERIFY(leer(ruta, s, o));
        QCOMPARE(s(kF1, F1::PrecioAutocar).n(), 250000.0);

        // The button "Grabar" writes to the new file without asking.
        prueba::teclear(precio, QStringLiteral("270000"));
        w.findChild<QPushButton *>(QStringLiteral("cmbGrabar"))->click();
        QCOMPARE(modos.size(), 1);
        QCOMPARE(mensajes_.textos().last(), kGrabado);
        QVERIFY(leer(otro, s, o));
        QCOMPARE(s(kF1, F1::PrecioAutocar).n(), 270000.0);
    }

    void grabarUnCalculoNuevo()
    {
        VentanaPrincipal w;
        w.show();
        QVERIFY(prueba::abrirCategoria(w, 0));
        QVERIFY(w.archivoActual().isEmpty());
        w.calculo().columnaParaPruebas(Col::S)(kF1, F1::PrecioAutocar) = Valor(123456.0);

        // Without ArchivoActual the quick save asks; cancelled, nothing is saved.
        QStringList modos;
        auto dialogo = interceptorDialogoArchivo.interceptar([&](DialogoArchivo &d) { modos << d.modo(); });
        QVERIFY(!w.Grabar());
        w.accion(QStringLiteral("mnuFileSave"))->trigger();
        QCOMPARE(modos, (QStringList{QStringLiteral("grabar"), QStringLiteral("grabar")}));
        QVERIFY(w.archivoActual().isEmpty());
        QVERIFY(w.HayCambios());
        QVERIFY(mensajes_.textos().isEmpty());

        dialogo.cambiar([&](DialogoArchivo &d) {
            d.textArchivo()->setText(QStringLiteral("nuevo"));
            d.aceptarArchivo();
        });
        QVERIFY(w.Grabar());
        QCOMPARE(w.archivoActual(), enCalculos(QStringLiteral("nuevo.clc")));
        QVERIFY(!w.HayCambios());
        QCOMPARE(mensajes_.titulos(), QStringList{QStringLiteral("Grabar")});
    }

    void grabacionFallida()
    {
        VentanaPrincipal w;
        w.show();
        QVERIFY(prueba::abrirCategoria(w, 1));
        w.calculo().columnaParaPruebas(Col::S)(kF1, F1::PrecioAutocar) = Valor(123456.0);
        auto *marco = w.formulario(Seccion::Resultados)->findChild<QGroupBox *>(QStringLiteral("FrameS"));
        const QString tituloAntes = marco->title();

        // A folder that is gone, and a path that is a folder.
        const std::pair<QString, ErrorArchivo> casos[] = {
            {carpeta_.path() + QStringLiteral("/no_existe/x.clc"), ErrorArchivo::CarpetaNoExiste},
            {calculos(), ErrorArchivo::AccesoDenegado},
        };
        for (const auto &[ruta, error] : casos) {
            mensajes_.clear();
            w.fijarArchivoActual(ruta);
            w.findChild<QPushButton *>(QStringLiteral("cmbGrabar"))->click();
            QCOMPARE(mensajes_.titulos(), QStringList{QStringLiteral("Error")});
            QCOMPARE(mensajes_.textos(), QStringList{mensajeErrorArchivo(error)});
            QVERIFY(w.HayCambios());
            QCOMPARE(marco->title(), tituloAntes);
        }
        QVERIFY(!QFileInfo::exists(carpeta_.path() + QStringLiteral("/no_existe")));
    }

    // A reference data file opened by any road starts an unnamed
    // calculation: saving asks for a name, the file is never written.
    void unArchivoDeReferenciaNuncaSeGraba_data()
    {
        QTest::addColumn<QString>("camino");
        QTest::newRow("enlace en Cálculos") << QStringLiteral("enlace");
        QTest::newRow("su carpeta desde el diálogo") << QStringLiteral("carpeta");
        QTest::newRow("diálogo de inicio") << QStringLiteral("inicio");
        QTest::newRow("línea de órdenes") << QStringLiteral("linea");
    }

    void unArchivoDeReferenciaNuncaSeGraba()
    {
        QFETCH(QString, camino);
        const QString nombre = QString::fromUtf8(kCategorias[2].archivo);
        const QString referencia = rutaReferencia(nombre);
        QFile f(referencia);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray antes = f.readAll();
        f.close();
        QVERIFY(QFile::link(referencia, enCalculos(QStringLiteral("enlace.clc"))));
        VentanaPrincipal w;
        w.show();

        auto dialogo = interceptorDialogoArchivo.interceptar([&](DialogoArchivo &d) {
            if (camino == QLatin1String("carpeta")) {
                QVERIFY(d.fijarCarpeta(carpeta_.path() + QStringLiteral("/Vededizaviro")));
                d.textArchivo()->setText(nombre);
            } else {
                d.textArchivo()->setText(QStringLiteral("enlace.clc"));
            }
            d.aceptarArchivo();
        });
        if (camino == QLatin1String("linea")) {
            QVERIFY(w.abrirArchivoInicial(referencia));
        } else if (camino == QLatin1String("inicio")) {
            w.mostrarNueva();
            auto *nueva = w.findChild<DialogoNueva *>(QStringLiteral("frmNueva"));
            QVERIFY(nueva);
            nueva->findChild<QRadioButton *>(QStringLiteral("opbGrabada"))->setChecked(true);
            nueva->findChild<QPushButton *>(QStringLiteral("OKButton"))->click();
        } else {
            w.accion(QStringLiteral("mnuFileOpen"))->trigger();
        }
        QVERIFY(w.calculoAbierto());
        QVERIFY(w.archivoActual().isEmpty());

        w.calculo().columnaParaPruebas(Col::S)(kF1, F1::PrecioAutocar) = Valor(222222.0);
        QStringList modos;
        dialogo.cambiar([&](DialogoArchivo &d) { modos << d.modo(); });
        w.accion(QStringLiteral("mnuFileSave"))->trigger();
        QCOMPARE(modos, QStringList{QStringLiteral("grabar")});
        QVERIFY(mensajes_.textos().isEmpty());
        QVERIFY(w.HayCambios());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), antes);
    }

    // A write that fails part-way, as on a full disk, whichever road the
    // save takes: "Error" that says so, no new date, still modified, the
    // file as it was.
    void escrituraFallida_data()
    {
        QTest::addColumn<QString>("orden");
        QTest::newRow("guardar") << QStringLiteral("mnuFileSave");
        QTest::newRow("guardar como") << QStringLiteral("mnuFileSaveAs");
        QTest::newRow("si al cerrar") << QStringLiteral("mnuCerrar");
    }

    void escrituraFallida()
    {
        QFETCH(QString, orden);
        const QString ruta = grabarEnDisco(QStringLiteral("lleno.clc"), 1, 200000);
        QFile f(ruta);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray antes = f.readAll();
        f.close();
        VentanaPrincipal w;
        w.show();
        QVERIFY(abrirGrabado(w, QStringLiteral("lleno.clc")));
        w.calculo().columnaParaPruebas(Col::S)(kF1, F1::PrecioAutocar) = Valor(222222.0);
        auto *marco = w.formulario(Seccion::Resultados)->findChild<QGroupBox *>(QStringLiteral("FrameS"));
        const QString titulo = marco->title();
        QStringList modos;
        auto dialogo = interceptorDialogoArchivo.interceptar([&](DialogoArchivo &d) {
            modos << d.modo();
            d.textArchivo()->setText(QStringLiteral("otro"));
            d.aceptarArchivo();
        });
        pregunta_.respuestas << PreguntaGrabar::Si;

        const qint64 previo = limitarEscrituraParaPruebas(100);
        w.accion(orden)->trigger();
        limitarEscrituraParaPruebas(previo);

        QCOMPARE(mensajes_.titulos(), QStringList{QStringLiteral("Error")});
        QCOMPARE(mensajes_.textos(), QStringList{QStringLiteral("El disco está lleno.")});
        QCOMPARE(modos.size(), orden == QLatin1String("mnuFileSaveAs") ? 1 : 0);
        QCOMPARE(pregunta_.preguntas.size(), orden == QLatin1String("mnuCerrar") ? 1 : 0);
        QVERIFY(w.calculoAbierto());
        QVERIFY(w.HayCambios());
        QCOMPARE(marco->title(), titulo);
        QCOMPARE(w.archivoActual(), ruta);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), antes);
        QVERIFY(!QFileInfo::exists(enCalculos(QStringLiteral("otro.clc"))));
    }

    void guardadoYReabiertoEsIgual()
    {
        VentanaPrincipal w;
        w.show();
        QVERIFY(prueba::abrirCategoria(w, 2));
        Calculo &c = w.calculo();
        // A few changes through the model's own commit, an option among them.
        QVERIFY(!c.ConfirmarCampo(kF1, F1::PrecioAutocar, Valor(312345.67), c.columnaS()(kF1, F1::PrecioAutocar))
                     .rechazado);
        QVERIFY(!c.ConfirmarCampo(kVar, Var::PrecioCarburante, Valor(1.2345), c.columnaS()(kVar, Var::PrecioCarburante))
                     .rechazado);
        c.cambiarOpcion(Col::S, Seccion::CostesFijos1, 1, 2);
        QVERIFY(w.HayCambios());

        auto dialogo = interceptorDialogoArchivo.interceptar([](DialogoArchivo &d) {
            d.textArchivo()->setText(QStringLiteral("ida"));
            d.aceptarArchivo();
        });
        QVERIFY(w.Grabar());
        const Columna s = c.columnaS(), o = c.columnaO();
        // What every box shows (each form up to date, as when it is shown).
        QMap<QString, QString> textos;
        for (int k = 0; k < kNumSecciones; ++k) {
            w.formulario(static_cast<Seccion>(k))->activar();
            for (CampoTexto *b : w.formulario(static_cast<Seccion>(k))->findChildren<CampoTexto *>())
                textos[b->objectName()] = b->text();
        }
        QVERIFY(textos.size() > 100);

        w.accion(QStringLiteral("mnuCerrar"))->trigger();
        QVERIFY(!w.calculoAbierto());
        QVERIFY(pregunta_.preguntas.isEmpty());
        QVERIFY(abrirGrabado(w, QStringLiteral("ida.clc")));
        int entradas = 0;
        for (Seccion sec : kSeccionesGrabadas) {
            for (int i : ListaGrabada(sec)) {
                QVERIFY(mismoValorGuardado(c.columnaS()(sec, i), s(sec, i)));
                QVERIFY(mismoValorGuardado(c.columnaO()(sec, i), o(sec, i)));
                entradas += 2;
            }
        }
        QCOMPARE(entradas, 182);
        QCOMPARE(c.columnaS().Fecha, QDate::currentDate());
        QCOMPARE(c.columnaS().Fecha, s.Fecha);
        QCOMPARE(c.columnaO().Fecha, o.Fecha);
        QVERIFY(c.columnaO().Fecha.isValid());
        QVERIFY(c.columnaS()(kF1, F1::CompraAutocar).esFalso());
        for (int k = 0; k < kNumSecciones; ++k) {
            w.formulario(static_cast<Seccion>(k))->activar();
            for (CampoTexto *b : w.formulario(static_cast<Seccion>(k))->findChildren<CampoTexto *>())
                QVERIFY2(textos.value(b->objectName()) == b->text(), qPrintable(b->objectName()));
        }
        QVERIFY(!w.HayCambios());
    }

    // ---- The save question ---------------------------------------------------------

    void preguntaAntesDeCerrar_data()
    {
        QTest::addColumn<QString>("orden");    // mnuCerrar, cmbCerrar or Salir
        QTest::addColumn<int>("respuesta");   // PreguntaGrabar::Respuesta, -1 the close box
        QTest::addColumn<bool>("cierra");
        QTest::addColumn<bool>("graba");
        const char *ordenes[] = {"mnuCerrar", "cmbCerrar", "Salir"};
        for (const char *o : ordenes) {
            QTest::addRow("%s si", o) << QString::fromLatin1(o) << int(PreguntaGrabar::Si) << true << true;
            QTest::addRow("%s no", o) << QString::fromLatin1(o) << int(PreguntaGrabar::No) << true << false;
            QTest::addRow("%s cancelar", o) << QString::fromLatin1(o) << int(PreguntaGrabar::Cancelar) << false
                                            << false;
            QTest::addRow("%s cierre", o) << QString::fromLatin1(o) << -1 << false << false;
        }
    }

    void preguntaAntesDeCerrar()
    {
        QFETCH(QString, orden);
        QFETCH(int, respuesta);
        QFETCH(bool, cierra);
        QFETCH(bool, graba);
        const QString ruta = grabarEnDisco(QStringLiteral("pregunta.clc"), 1, 200000);
        VentanaPrincipal w;
        w.show();
        QVERIFY(abrirGrabado(w, QStringLiteral("pregunta.clc")));
        const QString titulo = orden == QLatin1String("Salir") ? QStringLiteral("Salir") : QStringLiteral("Cerrar");

        auto cerrar = [&] {
            if (orden == QLatin1String("Salir"))
                return w.close();
            if (orden == QLatin1String("mnuCerrar"))
                w.accion(orden)->trigger();
            else
                w.findChild<QPushButton *>(orden)->click();
            return !w.calculoAbierto();
        };

        // Unmodified: no question.
        if (orden != QLatin1String("Salir")) {
            QVERIFY(cerrar());
            QVERIFY(pregunta_.preguntas.isEmpty());
            QVERIFY(abrirGrabado(w, QStringLiteral("pregunta.clc")));
        }

        w.calculo().columnaParaPruebas(Col::S)(kF1, F1::PrecioAutocar) = Valor(222222.0);
        std::optional<decltype(interceptorPregunta)::Ambito> real;
        QString vista; // caption of the real dialog
        if (respuesta < 0) {
            real.emplace(interceptorPregunta, nullptr);
            QTimer::singleShot(0, &w, [&] {
                auto *d = qobject_cast<PreguntaGrabar *>(QApplication::activeModalWidget());
                if (!d)
                    return;
                vista = d->windowTitle();
                d->close(); // the close box
            });
        } else {
            pregunta_.respuestas << static_cast<PreguntaGrabar::Respuesta>(respuesta);
        }
        QCOMPARE(cerrar(), cierra);
        if (respuesta < 0)
            QCOMPARE(vista, titulo);
        else
            QCOMPARE(pregunta_.preguntas, QStringList{titulo});
        if (orden == QLatin1String("Salir"))
            QCOMPARE(w.isVisible(), !cierra);
        else
            QCOMPARE(w.calculoAbierto(), !cierra);

        Columna s, o;
        QVERIFY(leer(ruta, s, o));
        QCOMPARE(s(kF1, F1::PrecioAutocar).n(), graba ? 222222.0 : 200000.0);
        QCOMPARE(mensajes_.textos().contains(kGrabado), graba);
        if (!cierra)
            QVERIFY(w.HayCambios());
    }

    void siSinGrabarNoCierra()
    {
        VentanaPrincipal w;
        w.show();

        // A never-saved calculation: "Si" opens the save dialog; cancelling it
        // keeps the calculation open and modified, and the program running.
        QVERIFY(prueba::abrirCategoria(w, 0));
        w.calculo().columnaParaPruebas(Col::S)(kF1, F1::PrecioAutocar) = Valor(111111.0);
        QStringList modos;
        auto dialogo = interceptorDialogoArchivo.interceptar([&](DialogoArchivo &d) { modos << d.modo(); });
        pregunta_.respuestas << PreguntaGrabar::Si;
        w.findChild<QPushButton *>(QStringLiteral("cmbCerrar"))->click();
        QCOMPARE(modos, QStringList{QStringLiteral("grabar")});
        QVERIFY(w.calculoAbierto());
        QVERIFY(w.HayCambios());
        pregunta_.respuestas << PreguntaGrabar::Si;
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QCOMPARE(pregunta_.preguntas, (QStringList{QStringLiteral("Cerrar"), QStringLiteral("Salir")}));

        // A failed write: its error, never "El archivo se ha grabado.", and
        // the calculation stays.
        w.fijarArchivoActual(carpeta_.path() + QStringLiteral("/no_existe/x.clc"));
        pregunta_.respuestas << PreguntaGrabar::Si;
        w.accion(QStringLiteral("mnuCerrar"))->trigger();
        QVERIFY(w.calculoAbierto());
        QCOMPARE(mensajes_.titulos(), QStringList{QStringLiteral("Error")});
        QVERIFY(!mensajes_.textos().contains(kGrabado));
        pregunta_.respuestas << PreguntaGrabar::Si;
        QVERIFY(!w.close());
        QCOMPARE(mensajes_.titulos().size(), 2);
        QVERIFY(w.HayCambios());

        // "Si" with a save that goes through closes.
        dialogo.cambiar([](DialogoArchivo &d) {
            d.textArchivo()->setText(QStringLiteral("al_salir"));
            d.aceptarArchivo();
        });
        w.fijarArchivoActual(QString());
        pregunta_.respuestas << PreguntaGrabar::Si;
        QVERIFY(w.close());
        QVERIFY(QFileInfo::exists(enCalculos(QStringLiteral("al_salir.clc"))));
    }

    void seConfirmaElCampoAntesDeLaOrden()
    {
        const QString ruta = grabarEnDisco(QStringLiteral("campo.clc"), 1, 200000);
        VentanaPrincipal w;
        mostrarActiva(w);
        QVERIFY(abrirGrabado(w, QStringLiteral("campo.clc")));

        // A refused value (below 6000): its one message, and no command runs.
        CampoTexto *precio = editar(w, kF1, F1::PrecioAutocar);
        QVERIFY(precio);
        prueba::teclear(precio, QStringLiteral("1000"));
        w.accion(QStringLiteral("mnuFileSave"))->trigger();
        QCOMPARE(mensajes_.titulos(), QStringList{QStringLiteral("Error")});
        QCOMPARE(w.calculo().columnaS()(kF1, F1::PrecioAutocar).n(), 200000.0);
        auto contenido = [&] { return prueba::leerBytes(ruta); };
        const QByteArray antes = contenido();
        QVERIFY(!antes.isEmpty());

        prueba::teclear(precio, QStringLiteral("1000"));
        w.findChild<QPushButton *>(QStringLiteral("cmbCerrar"))->click();
        QVERIFY(w.calculoAbierto());
        QVERIFY(pregunta_.preguntas.isEmpty());
        QCOMPARE(mensajes_.titulos().size(), 2);

        prueba::teclear(precio, QStringLiteral("1000"));
        QVERIFY(!w.close());
        QVERIFY(pregunta_.preguntas.isEmpty());
        QCOMPARE(mensajes_.titulos().size(), 3);
        QVERIFY(!mensajes_.textos().contains(kGrabado));
        QCOMPARE(contenido(), antes);

        // An accepted value is committed before the close asks.
        prueba::teclear(precio, QStringLiteral("210000"));
        pregunta_.respuestas << PreguntaGrabar::Cancelar;
        w.accion(QStringLiteral("mnuCerrar"))->trigger();
        QCOMPARE(pregunta_.preguntas, QStringList{QStringLiteral("Cerrar")});
        QCOMPARE(w.calculo().columnaS()(kF1, F1::PrecioAutocar).n(), 210000.0);
        QVERIFY(w.calculoAbierto());
    }

    void botonPulsadoConValorRechazado()
    {
        VentanaPrincipal w;
        mostrarActiva(w);
        QVERIFY(prueba::abrirCategoria(w, 1));
        w.activateWindow(); // the chooser had it
        QVERIFY(QTest::qWaitForWindowActive(&w));
        // The press on a button of the bar takes the focus from a field
        // whose value is refused; its message comes up, and the release of
        // the button is lost under it, as it is under a modal window. The
        // button must not stay drawn pressed, and nothing runs.
        for (const char *nombre : {"cmbCerrar", "cmbGrabar", "cmbCostesV"}) {
            CampoTexto *precio = editar(w, kF1, F1::PrecioAutocar);
            QVERIFY(precio);
            prueba::teclear(precio, QStringLiteral("1000"));
            mensajes_.clear();
            auto *boton = w.findChild<QPushButton *>(QLatin1String(nombre));
            QTest::mousePress(boton, Qt::LeftButton, Qt::NoModifier, boton->rect().center());
            QCOMPARE(mensajes_.titulos(), QStringList{QStringLiteral("Error")});
            QVERIFY2(!boton->isDown(), nombre);
            QTRY_VERIFY(precio->hasFocus());
            QTest::mouseRelease(boton, Qt::LeftButton, Qt::NoModifier, boton->rect().center());
            QVERIFY(w.calculoAbierto());
            QCOMPARE(w.frmActiva(), w.formulario(Seccion::CostesFijos1));
            QVERIFY(pregunta_.preguntas.isEmpty());
        }
        // Without a refused value the same press and release act at once.
        auto *boton = w.findChild<QPushButton *>(QStringLiteral("cmbCostesV"));
        QTest::mouseClick(boton, Qt::LeftButton, Qt::NoModifier, boton->rect().center());
        QCOMPARE(w.frmActiva(), w.formulario(Seccion::CostesVariables));
    }

    // ---- Scrolling -------------------------------------------------------------------

    void elFocoTraeElCampoALaVista()
    {
        VentanaPrincipal w;
        mostrarActiva(w);
        w.resize(w.width(), 420);
        QVERIFY(prueba::abrirCategoria(w, 1));
        auto *v = w.findChild<QScrollBar *>(QStringLiteral("VScroll1"));
        QWidget *area = w.frmActiva()->parentWidget();

        // The tallest data-entry section.
        Seccion larga = Seccion::Caracteristicas;
        for (Seccion s : {Seccion::CostesFijos1, Seccion::CostesFijos2, Seccion::CostesVariables})
            if (w.formulario(s)->height() > w.formulario(larga)->height())
                larga = s;
        w.MostrarSeccion(larga);
        FormularioBase *f = w.frmActiva();
        QVERIFY(v->maximum() > 0);
        QCOMPARE(v->pageStep(), paginaV(qRound(aTwips(area->height()))));

        // The lowest field that takes input.
        CampoTexto *abajo = nullptr, *arriba = nullptr;
        for (CampoTexto *c : f->findChildren<CampoTexto *>()) {
            if (!c->admiteEntrada() || !c->isEnabled() || !c->isVisibleTo(f))
                continue;
            const int y = c->mapTo(f, QPoint()).y();
            if (!abajo || y > abajo->mapTo(f, QPoint()).y())
                abajo = c;
            if (!arriba || y < arriba->mapTo(f, QPoint()).y())
                arriba = c;
        }
        QVERIFY(abajo && arriba && abajo != arriba);
        QVERIFY(abajo->mapTo(area, QPoint(0, abajo->height())).y() > area->height()); // out of view

        // Down: just enough for its bottom to sit 220 twips above the strip's end.
        abajo->setFocus(Qt::TabFocusReason);
        QVERIFY(abajo->hasFocus());
        QVERIFY(v->value() > 0);
        QCOMPARE(f->y(), tw(180 - v->value()));
        if (v->value() < v->maximum())
            QVERIFY(qAbs(abajo->mapTo(area, QPoint(0, abajo->height())).y() - (area->height() - tw(220))) <= 2);
        const int bajado = v->value();

        // A field already in view: nothing moves.
        CampoTexto *cerca = nullptr;
        for (CampoTexto *c : f->findChildren<CampoTexto *>()) {
            const int y = c->mapTo(area, QPoint()).y();
            if (c != abajo && c->admiteEntrada() && c->isEnabled() && c->isVisibleTo(f) && y > tw(400)
                && y + c->height() < area->height() - tw(400)) {
                cerca = c;
                break;
            }
        }
        QVERIFY(cerca);
        cerca->setFocus(Qt::TabFocusReason);
        QCOMPARE(v->value(), bajado);

        // Up: its top comes 220 twips under the top (the page starts 40 above
        // its top + 180), or the form goes back to the start.
        arriba->setFocus(Qt::BacktabFocusReason);
        QVERIFY(v->value() < bajado);
        if (v->value() > 0)
            QVERIFY(qAbs(arriba->mapTo(area, QPoint()).y() - tw(220)) <= 2);
        else
            QCOMPARE(f->y(), tw(180));

        // Coming back to the section shows the page of its active control.
        w.MostrarSeccion(Seccion::Resultados);
        w.MostrarSeccion(larga);
        QCOMPARE(f->controlActivo(), static_cast<QWidget *>(arriba));
        QCOMPARE(f->y(), tw(180 - v->value()));
        QVERIFY(arriba->mapTo(area, QPoint()).y() >= 0);
        QVERIFY(arriba->mapTo(area, QPoint(0, arriba->height())).y() <= area->height());
    }

    void teclasYRueda()
    {
        VentanaPrincipal w;
        mostrarActiva(w);
        w.resize(w.width(), 420);
        QVERIFY(prueba::abrirCategoria(w, 1));
        auto *v = w.findChild<QScrollBar *>(QStringLiteral("VScroll1"));
        CampoTexto *c = editar(w, kF2, F2::Sueldo);
        QVERIFY(c);
        FormularioBase *f = w.frmActiva();
        QCOMPARE(w.area()->formularioConRueda(), static_cast<QWidget *>(f));
        v->setValue(0);

        // Keys of a field: small and large steps, clamped.
        QTest::keyClick(c, Qt::Key_Down);
        QCOMPARE(v->value(), 600);
        QTest::keyClick(c, Qt::Key_PageDown);
        QCOMPARE(v->value(), std::min(v->maximum(), 600 + v->pageStep()));
        QTest::keyClick(c, Qt::Key_PageUp);
        QTest::keyClick(c, Qt::Key_Up);
        QCOMPARE(v->value(), 0);
        QTest::keyClick(c, Qt::Key_Up);
        QCOMPARE(v->value(), 0);
        QCOMPARE(f->y(), tw(180));
        QVERIFY(c->hasFocus());

        // The wheel over a field: one small step per event, down for a
        // negative delta, whatever its size; the event goes on to the form.
        ContadorRueda alForm;
        w.area()->SoltarRueda(f);
        f->installEventFilter(&alForm);
        w.area()->EngancharRueda(f);
        const QRect marco = w.frameGeometry();
        const QPoint dentro = marco.center();
        rueda(c, dentro, -120);
        QCOMPARE(v->value(), 600);
        QCOMPARE(f->y(), tw(180 - 600));
        rueda(c, dentro, -720);
        QCOMPARE(v->value(), 1200);
        rueda(f, dentro, 120);
        QCOMPARE(v->value(), 600);
        QCOMPARE(alForm.veces, 3);
        // On the window's edge still; outside not, though the form gets it.
        rueda(c, marco.bottomRight(), -120);
        QCOMPARE(v->value(), 1200);
        rueda(c, marco.bottomRight() + QPoint(1, 0), -120);
        rueda(c, marco.topLeft() - QPoint(0, 1), 120);
        QCOMPARE(v->value(), 1200);
        QCOMPARE(alForm.veces, 6);
        // A sideways wheel does not scroll.
        {
            QWheelEvent e(QPointF(1, 1), QPointF(dentro), QPoint(), QPoint(-120, 0), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
            QSpontaneKeyEvent::setSpontaneous(&e);
            qApp->notify(f, &e);
            QCOMPARE(v->value(), 1200);
        }
        f->removeEventFilter(&alForm);

        // Only the shown form is hooked: a hidden one does not scroll the bar.
        FormularioBase *otro = w.formulario(Seccion::CostesVariables);
        rueda(otro, dentro, -120);
        QCOMPARE(v->value(), 1200);
        w.MostrarSeccion(Seccion::CostesVariables);
        QCOMPARE(w.area()->formularioConRueda(), static_cast<QWidget *>(otro));
        const int valor = v->value();
        rueda(f, dentro, -120);
        QCOMPARE(v->value(), valor);
        rueda(otro, dentro, -120);
        QCOMPARE(v->value(), std::min(v->maximum(), valor + 600));

        // The keys of the bar and the strips scroll the shown section too.
        v->setValue(0);
        QTest::keyClick(w.findChild<QWidget *>(QStringLiteral("Patillas")), Qt::Key_Down);
        QCOMPARE(v->value(), 600);
        QTest::keyClick(w.findChild<QWidget *>(QStringLiteral("PicHScroll")), Qt::Key_PageDown);
        QCOMPARE(v->value(), std::min(v->maximum(), 600 + v->pageStep()));

        // Closing the calculation lets the wheel go.
        w.CerrarPatillas();
        QVERIFY(!w.area()->formularioConRueda());
    }

    void ruedaEnTodaLaVentana()
    {
        VentanaPrincipal w;
        mostrarActiva(w);
        w.resize(1000, 420);
        QVERIFY(prueba::abrirCategoria(w, 1));
        w.MostrarSeccion(Seccion::CostesFijos2);
        auto *v = w.findChild<QScrollBar *>(QStringLiteral("VScroll1"));
        QVERIFY(v->maximum() >= 3000);
        FormularioBase *f = w.frmActiva();
        QWidget *area = f->parentWidget();
        QTRY_VERIFY(area->width() > f->geometry().right() + 10);
        v->setValue(0);

        // One small step wherever the pointer is over the window: beside the
        // form, on the bar of buttons, on a strip, on the menu bar.
        const QPoint alLado = area->mapToGlobal(QPoint(area->width() - 4, area->height() / 2));
        QVERIFY(!f->geometry().contains(area->mapFromGlobal(alLado)));
        QVERIFY(rueda(area, alLado, -120));
        QCOMPARE(v->value(), 600);
        QCOMPARE(f->y(), tw(180 - 600));
        auto *boton = w.findChild<QPushButton *>(QStringLiteral("cmbCostesV"));
        rueda(boton, boton->mapToGlobal(boton->rect().center()), -120);
        QCOMPARE(v->value(), 1200);
        QWidget *tira = w.findChild<QWidget *>(QStringLiteral("PicHScroll"));
        rueda(tira, tira->mapToGlobal(QPoint(2, 2)), 120);
        QCOMPARE(v->value(), 600);
        rueda(w.menuBar(), w.menuBar()->mapToGlobal(QPoint(w.menuBar()->width() - 3, 3)), -120);
        QCOMPARE(v->value(), 1200);

        // A scroll bar takes the same single step, not steps of its own,
        // whichever bar it is.
        rueda(v, v->mapToGlobal(v->rect().center()), -120);
        QCOMPARE(v->value(), 1800);
        auto *h = w.findChild<QScrollBar *>(QStringLiteral("HScroll1"));
        const int valorH = h->value();
        rueda(h, h->mapToGlobal(h->rect().center()), 120);
        QCOMPARE(v->value(), 1200);
        QCOMPARE(h->value(), valorH);

        // Over a field the step is taken once, not again on its way up.
        CampoTexto *c = caja(f, kF2, F2::Sueldo);
        QVERIFY(c);
        rueda(c, c->mapToGlobal(c->rect().center()), -120);
        QCOMPARE(v->value(), 1800);
    }

    void resultadosConservaSuSitio()
    {
        VentanaPrincipal w;
        mostrarActiva(w);
        w.resize(w.width(), 420);
        QVERIFY(prueba::abrirCategoria(w, 3));
        auto *v = w.findChild<QScrollBar *>(QStringLiteral("VScroll1"));
        w.MostrarSeccion(Seccion::Resultados);
        FormularioBase *res = w.frmActiva();
        QVERIFY(v->maximum() > 1800);
        const QPoint dentro = w.frameGeometry().center();
        for (int k = 0; k < 3; ++k)
            rueda(res, dentro, -120);
        QCOMPARE(v->value(), 1800);
        QCOMPARE(w.area()->scrollVResultados(), 1800);

        // The keys of the pies scroll too.
        QWidget *tarta = res->findChild<QWidget *>(QStringLiteral("PictureSR"));
        QVERIFY(tarta);
        QTest::keyClick(tarta, Qt::Key_Up);
        QCOMPARE(v->value(), 1200);

        w.MostrarSeccion(Seccion::CostesFijos1);
        QCOMPARE(w.area()->scrollVResultados(), 1200);
        w.MostrarSeccion(Seccion::Resultados);
        QCOMPARE(v->value(), 1200);
        QCOMPARE(res->y(), tw(180 - 1200));

        // A change of the window's size re-places it at the same value.
        QWidget *tira = w.findChild<QWidget *>(QStringLiteral("PicVScroll"));
        const int altoAntes = tira->height();
        const int pagina = v->pageStep();
        w.resize(w.width(), 470);
        QTRY_VERIFY(tira->height() != altoAntes);
        QVERIFY(v->pageStep() != pagina);
        QCOMPARE(v->value(), 1200);
        QCOMPARE(res->y(), tw(180 - 1200));

        // A new calculation starts at 0.
        w.cerrarCalculo();
        QVERIFY(prueba::abrirCategoria(w, 3));
        w.MostrarSeccion(Seccion::Resultados);
        QCOMPARE(v->value(), 0);
    }

    // ---- Printing --------------------------------------------------------------------

    void imprimirCadaFormulario_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("paginas");
        for (const char *n : {"mnuPrintCaracteristicas", "mnuPrintFijos1", "mnuPrintFijos2", "mnuPrintVariables",
                              "mnuPrintIndirectos", "mnuPrintResultados", "mnuPrintServicio"})
            QTest::newRow(n) << QString::fromLatin1(n) << 1;
        QTest::newRow("mnuPrintTodo") << QStringLiteral("mnuPrintTodo") << 7;
    }

    void imprimirCadaFormulario()
    {
        QFETCH(QString, item);
        QFETCH(int, paginas);
        QTemporaryDir tmp;
        const QString pdf = tmp.filePath(QStringLiteral("hoja.pdf"));
        auto impresion = interceptorImpresion.interceptar([&] { return pdf; });
        VentanaPrincipal w;
        w.show();
        QVERIFY(prueba::abrirCategoria(w, 2));
        // Printed before the window was drawn: the forms not shown are built for it.
        QCOMPARE(prueba::formulariosConstruidos(w), 1);
        QAction *a = w.accion(item);
        QVERIFY(a && a->isEnabled());
        a->trigger();
        QVERIFY(mensajes_.textos().isEmpty());
        QCOMPARE(paginasPdf(pdf), paginas);
        QVERIFY(QFileInfo(pdf).size() > 2000);
        // Printing does not change the section shown.
        QCOMPARE(w.frmActiva(), w.formulario(Seccion::Caracteristicas));
    }

    // Widgets painted onto another painter through the passing-on device
    // give the pixels of painting them there directly: children in place,
    // clips set, left and taken back, transformations, text, pictures, an
    // editor's frame (onto a painter already moved, in a light and a dark
    // palette).
    void reenvioComoPintarDirecto()
    {
        class Dibujo : public QWidget {
        public:
            using QWidget::QWidget;

        protected:
            void paintEvent(QPaintEvent *) override
            {
                QPainter p(this);
                p.fillRect(rect(), QColor(250, 240, 200));
                p.save();
                p.setClipRect(10, 5, 60, 40);
                p.setRenderHint(QPainter::Antialiasing);
                p.setBrush(QColor(40, 120, 200, 160));
                p.drawEllipse(QRectF(0, 0, 90, 60));
                p.restore();
                p.drawText(QRect(0, 50, width(), 30), Qt::AlignCenter, QStringLiteral("Costes €"));
                p.save();
                p.translate(100, 40);
                p.rotate(30);
                p.setPen(QPen(Qt::darkRed, 2));
                p.drawRect(-15, -10, 30, 20);
                p.restore();
                QPixmap muestra(8, 8);
                muestra.fill(Qt::darkGreen);
                p.setClipRegion(QRegion(0, 0, 40, 90) - QRegion(10, 70, 10, 10));
                p.drawTiledPixmap(QRect(0, 60, 40, 30), muestra);
                p.setClipping(false);
                p.drawLine(0, height() - 1, width() - 1, height() - 1);
            }
        };
        for (bool oscura : {false, true}) {
            QWidget raiz;
            raiz.resize(300, 160);
            if (oscura)
                raiz.setPalette(QPalette(QColor(40, 40, 48)));
            auto *dibujo = new Dibujo(&raiz);
            dibujo->setGeometry(10, 10, 130, 100);
            auto *marco = new QFrame(&raiz);
            marco->setFrameShape(QFrame::Box);
            marco->setGeometry(150, 10, 140, 140);
            auto *etiqueta = new QLabel(QStringLiteral("Kilómetros recorridos al año"), marco);
            etiqueta->setWordWrap(true);
            etiqueta->setGeometry(5, 5, 120, 40);
            auto *campo = new QLineEdit(QStringLiteral("110.000"), marco);
            campo->setAlignment(Qt::AlignRight);
            campo->setGeometry(5, 60, 100, 24);
            QImage directa(raiz.size() + QSize(20, 30), QImage::Format_ARGB32_Premultiplied);
            directa.fill(Qt::white);
            QImage reenviada = directa;
            const QPoint sitio(7, 11);
            raiz.render(&directa, sitio);
            {
                QPainter p(&reenviada);
                p.translate(sitio);
                Reenvio reenvio(p, raiz.rect());
                QPainter pintor(&reenvio);
                raiz.render(&pintor);
            }
            QVERIFY(reenviada == directa);
        }
    }

    void unFormularioNuncaVistoSeDibujaEntero()
    {
        VentanaPrincipal w;
        w.show();
        QVERIFY(prueba::abrirCategoria(w, 1));
        FormularioBase *srv = w.formulario(Seccion::Servicio);
        QVERIFY(!srv->isVisible());
        // Printing brings it up to date; it is painted from the same widgets.
        QTemporaryDir tmp;
        auto impresion = interceptorImpresion.interceptar([&] { return tmp.filePath(QStringLiteral("servicio.pdf")); });
        QVERIFY(w.ImprimirSeccion(Seccion::Servicio));
        QCOMPARE(paginasPdf(tmp.filePath(QStringLiteral("servicio.pdf"))), 1);
        QVERIFY(!srv->isVisible());

        // A page twice as tall as wide: the form fills the width, its shape kept.
        const QSize t = srv->size();
        QImage pagina(800, 1600, QImage::Format_RGB32);
        pagina.fill(Qt::white);
        QPainter p(&pagina);
        pintarFormulario(p, QRectF(0, 0, 800, 1600), srv);
        p.end();
        const double escala = std::min(800.0 / t.width(), 1600.0 / t.height());
        // The derived box of the service's first figure shows its own colours.
        CampoTexto *c1 = caja(srv, kServ, Serv::C1);
        QVERIFY(c1);
        const QPoint dentro = c1->mapTo(srv, QPoint(c1->width() / 6, c1->height() / 2));
        const double margen = (800.0 - t.width() * escala) / 2;
        const QColor visto = pagina.pixelColor(qRound(margen + dentro.x() * escala), qRound(dentro.y() * escala));
        QCOMPARE(visto, QColor(255, 224, 192));
        // Nothing below the form.
        const int fondo = qCeil(t.height() * escala) + 2;
        if (fondo < 1600)
            QCOMPARE(pagina.pixelColor(400, fondo), QColor(Qt::white));
        // The form's outer frame is painted in its colour (scaling blurs it a little).
        const QColor marco = pagina.pixelColor(qRound(margen + 4 * escala), qRound(t.height() / 2 * escala));
        QVERIFY2(qAbs(marco.red() - 192) <= 4 && qAbs(marco.green() - 192) <= 4 && qAbs(marco.blue() - 255) <= 4,
                 qPrintable(marco.name()));
    }

    void imprimirConfirmaElCampo()
    {
        QTemporaryDir tmp;
        const QString pdf = tmp.filePath(QStringLiteral("campo.pdf"));
        auto impresion = interceptorImpresion.interceptar([&] { return pdf; });
        VentanaPrincipal w;
        mostrarActiva(w);
        QVERIFY(prueba::abrirCategoria(w, 1));
        CampoTexto *precio = editar(w, kF1, F1::PrecioAutocar);
        QVERIFY(precio);

        // Refused: the message, nothing printed, editing goes on.
        prueba::teclear(precio, QStringLiteral("1000"));
        w.accion(QStringLiteral("mnuPrintFijos1"))->trigger();
        QCOMPARE(mensajes_.titulos(), QStringList{QStringLiteral("Error")});
        QVERIFY(!QFileInfo::exists(pdf));
        QVERIFY(precio->editando());

        // Accepted: committed, printed, and the field is edited again with
        // its editing text.
        prueba::teclear(precio, QStringLiteral("123456,5"));
        w.accion(QStringLiteral("mnuPrintTodo"))->trigger();
        QCOMPARE(mensajes_.titulos().size(), 1);
        QCOMPARE(paginasPdf(pdf), 7);
        QCOMPARE(w.calculo().columnaS()(kF1, F1::PrecioAutocar).n(), 123456.5);
        QVERIFY(precio->hasFocus() && precio->editando());
        QCOMPARE(precio->text(), textoEdicion(Valor(123456.5), 2));
    }

    void sinImpresora()
    {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("This machine has a printer: nothing is printed from the tests.");
        VentanaPrincipal w;
        w.show();
        QVERIFY(prueba::abrirCategoria(w, 1));
        QVERIFY(!w.ImprimirSeccion(Seccion::CostesFijos2));
        w.accion(QStringLiteral("mnuPrintTodo"))->trigger();
        QCOMPARE(mensajes_.titulos(), (QStringList{QStringLiteral("Error"), QStringLiteral("Error")}));
        QCOMPARE(mensajes_.textos().first(), QStringLiteral("No hay ninguna impresora instalada."));
    }

    void exportarAPdf()
    {
        VentanaPrincipal w;
        w.show();
        QAction *exportar = w.accion(QStringLiteral("mnuExportarPdf"));
        QVERIFY(exportar);
        QCOMPARE(sinMnemonico(exportar->text()), QStringLiteral("Exportar a PDF..."));
        auto *menu = w.findChild<QMenu *>(QStringLiteral("mnuImprimir"));
        QCOMPARE(menu->actions().value(menu->actions().size() - 2), exportar);
        QVERIFY(!exportar->isEnabled());
        QVERIFY(prueba::abrirCategoria(w, 0));
        QVERIFY(exportar->isEnabled());

        QTemporaryDir tmp;
        QStringList propuestas;
        QString eleccion = tmp.filePath(QStringLiteral("informe"));
        auto archivoPdf = interceptorArchivoPdf.interceptar([&](const QString &p) {
            propuestas << p;
            return eleccion;
        });
        exportar->trigger();
        QVERIFY(mensajes_.textos().isEmpty());
        QCOMPARE(paginasPdf(tmp.filePath(QStringLiteral("informe.pdf"))), 7);
        QVERIFY(!QFileInfo::exists(tmp.filePath(QStringLiteral("informe"))));
        // The first time it offers the calculations' folder, then the last one used.
        QCOMPARE(QFileInfo(propuestas.value(0)).absolutePath(), calculos());
        QVERIFY(propuestas.value(0).endsWith(QStringLiteral(".pdf")));
        eleccion = tmp.filePath(QStringLiteral("OTRO.PDF"));
        exportar->trigger();
        QCOMPARE(QFileInfo(propuestas.value(1)).absolutePath(), tmp.path());
        QCOMPARE(paginasPdf(eleccion), 7);

        // A folder that does not exist: a clear error.
        eleccion = tmp.filePath(QStringLiteral("no_existe/x.pdf"));
        exportar->trigger();
        QCOMPARE(mensajes_.titulos(), QStringList{QStringLiteral("Error")});
        QVERIFY(mensajes_.textos().first().contains(QStringLiteral("PDF")));
        // Cancelled: nothing.
        eleccion.clear();
        exportar->trigger();
        QCOMPARE(mensajes_.titulos().size(), 1);
        QCOMPARE(propuestas.size(), 4);
    }

    // The export is drawn, not photographed: no pictures, fonts embedded,
    // small, and its text holds every figure the forms show.
    void pdfConTexto()
    {
        VentanaPrincipal w;
        w.show();
        QVERIFY(prueba::abrirCategoria(w, 2));
        QTemporaryDir tmp;
        const QString pdf = tmp.filePath(QStringLiteral("texto.pdf"));
        auto archivoPdf = interceptorArchivoPdf.interceptar([&](const QString &) { return pdf; });
        w.accion(QStringLiteral("mnuExportarPdf"))->trigger();
        QVERIFY(mensajes_.textos().isEmpty());
        QCOMPARE(paginasPdf(pdf), 7);
        QVERIFY2(QFileInfo(pdf).size() < 400 * 1024, qPrintable(QString::number(QFileInfo(pdf).size())));
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(!bytes.contains("/Subtype /Image"));
        QVERIFY(bytes.contains("/FontFile2") && bytes.contains("/ToUnicode"));
        // On screen the frames have their own style back.
        for (const QGroupBox *g : w.formulario(Seccion::Caracteristicas)->findChildren<QGroupBox *>())
            QCOMPARE(g->style(), estiloMarcos() ? estiloMarcos() : QApplication::style());

        const QString programa = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (programa.isEmpty())
            QSKIP("pdftotext is not installed: the fonts are embedded, the text itself was not extracted.");
        QProcess pdftotext;
        pdftotext.start(programa, {pdf, QStringLiteral("-")});
        QVERIFY(pdftotext.waitForFinished(30000) && pdftotext.exitCode() == 0);
        const QString texto = QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
        QStringList buscados{QStringLiteral("Costes Anuales"), QStringLiteral("Vededizaviro de Costes")};
        static const QRegularExpression cifra(QStringLiteral("\\d"));
        for (int s = 0; s < kNumSecciones; ++s) {
            FormularioBase *form = w.formulario(Seccion(s));
            for (QLineEdit *e : form->findChildren<QLineEdit *>())
                if (e->isVisibleTo(form) && !e->text().isEmpty())
                    buscados << e->text();
            for (QLabel *l : form->findChildren<QLabel *>())
                if (l->isVisibleTo(form) && l->text().contains(cifra) && !Qt::mightBeRichText(l->text()))
                    buscados << l->text();
        }
        QVERIFY(buscados.size() > 300);
        for (const QString &b : std::as_const(buscados))
            QVERIFY2(texto.contains(b.simplified()), qPrintable(b));
    }

    // A write that fails half-way (as on a full disk): the older PDF stays
    // byte for byte, the error is shown, nothing else is left in the folder.
    void pdfQueNoCabe()
    {
        VentanaPrincipal w;
        w.show();
        QVERIFY(prueba::abrirCategoria(w, 1));
        QTemporaryDir tmp;
        const QString pdf = tmp.filePath(QStringLiteral("anterior.pdf"));
        const QByteArray anterior = QByteArrayLiteral("%PDF-1.4\n% an earlier export\n");
        {
            QFile f(pdf);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(anterior) == anterior.size());
        }
        auto archivoPdf = interceptorArchivoPdf.interceptar([&](const QString &) { return pdf; });
        const qint64 antes = limitarEscrituraParaPruebas(1000);
        w.accion(QStringLiteral("mnuExportarPdf"))->trigger();
        limitarEscrituraParaPruebas(antes);
        QCOMPARE(mensajes_.titulos(), QStringList{QStringLiteral("Error")});
        QVERIFY(mensajes_.textos().first().startsWith(QStringLiteral("No se ha podido grabar el archivo PDF:\r\n")
                                           + QDir::toNativeSeparators(pdf)));
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), anterior);
        QCOMPARE(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("anterior.pdf")});
    }

    // "Vista preliminar...": last in "Imprimir", on with a calculation; it
    // previews the seven forms and prints the pages the user chose.
    void vistaPreliminar()
    {
        VentanaPrincipal w;
        w.show();
        QAction *vista = w.accion(QStringLiteral("mnuVistaPreliminar"));
        QVERIFY(vista);
        QCOMPARE(sinMnemonico(vista->text()), QStringLiteral("Vista preliminar..."));
        QCOMPARE(w.findChild<QMenu *>(QStringLiteral("mnuImprimir"))->actions().last(), vista);
        QVERIFY(!vista->isEnabled());
        QVERIFY(prueba::abrirCategoria(w, 3));
        QVERIFY(vista->isEnabled());

        QTemporaryDir tmp;
        const QString pdf = tmp.filePath(QStringLiteral("paginas.pdf"));
        int enVista = 0;
        QString titulo;
        const auto respuesta = [&](bool imprime) {
            return [&, imprime](QPrintPreviewDialog &d) {
                titulo = d.windowTitle();
                d.show();
                auto *previa = d.findChild<QPrintPreviewWidget *>();
                enVista = previa ? previa->pageCount() : -1;
                if (!imprime) {
                    d.reject();
                    return;
                }
                // As the print dialog leaves it: a printer (a PDF file here) and pages 2 to 3.
                d.printer()->setOutputFormat(QPrinter::PdfFormat);
                d.printer()->setOutputFileName(pdf);
                QPageRanges r;
                r.addRange(2, 3);
                d.printer()->setPageRanges(r);
                previa->print();
                d.accept();
            };
        };
        auto previa = interceptorVistaPreliminar.interceptar(respuesta(false));
        vista->trigger();
        QCOMPARE(titulo, QStringLiteral("Vista preliminar"));
        QCOMPARE(enVista, 7);
        QVERIFY(!QFileInfo::exists(pdf));
        previa.cambiar(respuesta(true));
        vista->trigger();
        QCOMPARE(paginasPdf(pdf), 2);
        QVERIFY(mensajes_.textos().isEmpty());

        w.cerrarCalculo();
        QVERIFY(!vista->isEnabled());
    }

    // ---- Clipboard and help ---------------------------------------------------------

    void portapapeles()
    {
        VentanaPrincipal w;
        mostrarActiva(w);
        QVERIFY(prueba::abrirCategoria(w, 1));
        CampoTexto *c = editar(w, kF1, F1::VidaAutocar);
        QVERIFY(c);
        QClipboard *pp = QGuiApplication::clipboard();
        c->setText(QStringLiteral("12345"));

        c->setSelection(1, 3);
        w.accion(QStringLiteral("mnuEditCopy"))->trigger();
        QCOMPARE(pp->text(), QStringLiteral("234"));
        QCOMPARE(c->text(), QStringLiteral("12345"));

        c->setSelection(0, 2);
        w.accion(QStringLiteral("mnuEditCut"))->trigger();
        QCOMPARE(pp->text(), QStringLiteral("12"));
        QCOMPARE(c->text(), QStringLiteral("345"));

        // Pasted as it is, letters too; the field checks it when left.
        pp->setText(QStringLiteral("9a"));
        c->setSelection(1, 1);
        w.accion(QStringLiteral("mnuEditPaste"))->trigger();
        QCOMPARE(c->text(), QStringLiteral("39a5"));

        // Copying nothing puts an empty text.
        c->deselect();
        w.accion(QStringLiteral("mnuEditCopy"))->trigger();
        QCOMPARE(pp->text(), QString());

        // The shortcuts reach the items from the field.
        c->setText(QStringLiteral("15"));
        c->selectAll();
        QTest::keyClick(c, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(pp->text(), QStringLiteral("15"));
        QTest::keyClick(c, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(c->text(), QString());
        QTest::keyClick(c, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(c->text(), QStringLiteral("15"));

        // The focus on a button: nothing at all.
        auto *boton = w.findChild<QPushButton *>(QStringLiteral("cmbGrabar"));
        boton->setFocus(Qt::OtherFocusReason);
        QVERIFY(boton->hasFocus());
        const QString mostrado = c->text();
        pp->setText(QStringLiteral("queda"));
        for (const char *n : {"mnuEditCut", "mnuEditCopy", "mnuEditPaste"})
            w.accion(QLatin1String(n))->trigger();
        QCOMPARE(pp->text(), QStringLiteral("queda"));
        QCOMPARE(c->text(), mostrado);
        QVERIFY(mensajes_.textos().isEmpty());
        QCOMPARE(boton->text(), QStringLiteral("Grabar"));
    }

    void ayuda()
    {
        VentanaPrincipal w;
        w.show();
        // Without the help files beside the program: their messages.
        w.accion(QStringLiteral("mnuHelpContents"))->trigger();
        w.accion(QStringLiteral("mnuAcuerdos"))->trigger();
        QCOMPARE(mensajes_.textos(), (QStringList{QStringLiteral("El fichero de ayuda se ha borrado o se ha corrompido."),
                                       QStringLiteral("El fichero de los acuerdos se ha borrado o se ha corrompido.")}));
        QCOMPARE(mensajes_.titulos(), (QStringList{QStringLiteral("Error"), QStringLiteral("Error")}));
        QVERIFY(!w.findChild<VentanaAyuda *>());

        // With them: the help window on each file.
        if (!QFileInfo::exists(QStringLiteral(PELMORA_BIN "/Pelmora.qch")))
            QSKIP("The help files were not built.");
        QTemporaryDir otra;
        for (const char *n : {"Pelmora.qch", "Acuerdos.qch"})
            QVERIFY(QFile::copy(QStringLiteral(PELMORA_BIN "/") + QLatin1String(n), otra.filePath(QLatin1String(n))));
        fijarCarpetaPrograma(otra.path());
        w.accion(QStringLiteral("mnuHelpContents"))->trigger();
        w.accion(QStringLiteral("mnuAcuerdos"))->trigger();
        QCOMPARE(mensajes_.textos().size(), 2);
        QStringList abiertas;
        for (VentanaAyuda *v : w.findChildren<VentanaAyuda *>())
            if (v->isVisible())
                abiertas << QFileInfo(v->rutaQch()).fileName();
        abiertas.sort();
        QCOMPARE(abiertas, (QStringList{QStringLiteral("Acuerdos.qch"), QStringLiteral("Pelmora.qch")}));
        for (VentanaAyuda *v : w.findChildren<VentanaAyuda *>())
            v->close();
    }
};

QTEST_MAIN(PruebaMenus)
#include "prueba_menus.moc"
