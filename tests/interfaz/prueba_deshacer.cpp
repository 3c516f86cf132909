// The window's title and the undo history: "Deshacer" and "Rehacer", the
// mark of unsaved changes, and undo inside a field being edited.
#include "analisis/rotulos.h"
#include "archivos/referencia.h"
#include "ayudantes.h"
#include "entrada/numeros.h"
#include "interfaz/dialogos/dialogoarchivo.h"
#include "interfaz/formularios/campo.h"
#include "interfaz/formularios/formulario.h"
#include "interfaz/soporte/historial.h"
#include "interfaz/soporte/rutas.h"
#include "interfaz/ventana/menus.h"
#include "interfaz/ventana/ventanaprincipal.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QWindow>
#include <QtTest>
#include <functional>

using namespace pelmora;
using prueba::accion;

namespace {

using Paso = std::function<void(VentanaPrincipal &)>;

void confirmar(VentanaPrincipal &w, Seccion s, int i, const QString &texto)
{
    w.MostrarSeccion(s);
    prueba::teclear(prueba::caja(w.frmActiva(), s, i), texto, Qt::Key_Return);
}

void opcion(VentanaPrincipal &w, Seccion s, int indice, int boton)
{
    w.MostrarSeccion(s);
    w.frmActiva()->boton(Col::S, indice, boton)->click();
}

// What the form of a section shows, with no field of it being edited (the
// results are shown): each box's text and whether it takes input, each
// option button's state.
QStringList vista(VentanaPrincipal &w, Seccion s)
{
    w.MostrarSeccion(Seccion::Resultados);
    QStringList v;
    for (const CampoTexto *c : w.formulario(s)->findChildren<CampoTexto *>())
        v << c->objectName() + QLatin1Char('|') + c->text() + QLatin1Char('|') + QString::number(c->isEnabled());
    for (const QRadioButton *b : w.formulario(s)->findChildren<QRadioButton *>())
        v << b->objectName() + QLatin1Char('|') + QString::number(b->isChecked());
    return v;
}

// The first figure of the user column that a load of its own entries would
// not give; the service only when asked (it is brought up to date when shown).
QString distintoDeUnaCarga(const Calculo &c, bool conServicio)
{
    Calculo cargado;
    cargado.cargarColumnas(c.columnaS(), c.columnaO());
    for (const DatosSeccion &d : kSecciones)
        for (int i = 1; i <= d.tamano; ++i)
            if ((conServicio || d.seccion != Seccion::Servicio) &&
                cargado.columnaS()(d.seccion, i) != c.columnaS()(d.seccion, i))
                return QLatin1String(d.codigo) + QString::number(i);
    return QString();
}

bool mismaColumna(const Columna &a, const Columna &b)
{
    for (const DatosSeccion &d : kSecciones)
        for (int i = 1; i <= d.tamano; ++i)
            if (a(d.seccion, i) != b(d.seccion, i))
                return false;
    return true;
}

} // namespace

class PruebaDeshacer : public QObject, prueba::EntornoVentana {
    Q_OBJECT

    int pitidos_ = 0;
    decltype(interceptorPitidos)::Ambito ambitoPitidos_{interceptorPitidos, [this] { ++pitidos_; }};

    // "Autocar 1.clc", made from the reference data of category 1, opened.
    bool abrirAutocar1(VentanaPrincipal &w)
    {
        const QString r = carpeta_.path() + QStringLiteral("/Cálculos/Autocar 1.clc");
        return prueba::copiarCalculo(1, r) && w.abrirArchivoInicial(r);
    }

private slots:
    void initTestCase()
    {
        prueba::fijarEspanol();
        QVERIFY(prepararCarpeta());
        QVERIFY(QDir().mkpath(carpeta_.path() + QStringLiteral("/Cálculos")));
    }
    void init()
    {
        reiniciar();
        pitidos_ = 0;
    }
    void cleanup() { terminar(); }

    void titulo_data()
    {
        QTest::addColumn<Paso>("paso");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<bool>("modificado");
        const auto abrir = [this](VentanaPrincipal &w) { QVERIFY(abrirAutocar1(w)); };
        const auto cambiar = [abrir](VentanaPrincipal &w) {
            abrir(w);
            confirmar(w, kF1, F1::PrecioAutocar, QStringLiteral("250000"));
        };
        const QString autocar = QStringLiteral("Autocar 1.clc[*] — Pelmora");
        const QString sinNombre = QStringLiteral("Sin nombre[*] — Pelmora");
        QTest::newRow("sin calculo") << Paso([](VentanaPrincipal &) {}) << QStringLiteral("Pelmora") << false;
        QTest::newRow("nuevo") << Paso([](VentanaPrincipal &w) { QVERIFY(prueba::abrirCategoria(w)); }) << sinNombre
                               << false;
        QTest::newRow("referencia abierta") << Paso([](VentanaPrincipal &w) {
            QVERIFY(w.abrirArchivoInicial(rutaReferencia(QString::fromUtf8(kCategorias[2].archivo))));
        }) << sinNombre << false;
        QTest::newRow("con nombre") << Paso(abrir) << autocar << false;
        QTest::newRow("modificado") << Paso(cambiar) << autocar << true;
        QTest::newRow("vuelto al valor grabado") << Paso([cambiar](VentanaPrincipal &w) {
            cambiar(w);
            confirmar(w, kF1, F1::PrecioAutocar, QStringLiteral("260000"));
            w.deshacer();
            w.deshacer();
        }) << autocar << false;
        QTest::newRow("vuelto al valor grabado a mano") << Paso([abrir](VentanaPrincipal &w) {
            abrir(w);
            const QString abierto =
                textoEdicion(w.calculo().columnaS()(kF1, F1::PrecioAutocar), campo(kF1, F1::PrecioAutocar).decimales);
            confirmar(w, kF1, F1::PrecioAutocar, QStringLiteral("250000"));
            confirmar(w, kF1, F1::PrecioAutocar, abierto);
        }) << autocar << false;
        QTest::newRow("grabado") << Paso([cambiar](VentanaPrincipal &w) {
            cambiar(w);
            accion(w, "mnuFileSave")->trigger();
        }) << autocar << false;
        QTest::newRow("grabado como") << Paso([](VentanaPrincipal &w) {
            QVERIFY(prueba::abrirCategoria(w));
            confirmar(w, kCar, Car::Plazas, QStringLiteral("40"));
            auto dialogo = interceptorDialogoArchivo.interceptar([](DialogoArchivo &d) {
                d.textArchivo()->setText(QStringLiteral("Ruta [*] 2"));
                d.aceptarArchivo();
            });
            // The title names the new file while the message says where it went.
            QString enElMensaje;
            auto mensaje = interceptorMensajes.interceptar(
                [&](const QString &, const QString &) { enElMensaje = w.windowTitle(); });
            accion(w, "mnuFileSaveAs")->trigger();
            QCOMPARE(enElMensaje, QStringLiteral("Ruta [*][*] 2.clc[*] — Pelmora"));
        }) << QStringLiteral("Ruta [*][*] 2.clc[*] — Pelmora") << false;
        QTest::newRow("cerrado") << Paso([this, cambiar](VentanaPrincipal &w) {
            cambiar(w);
            pregunta_.respuestas = {PreguntaGrabar::No};
            accion(w, "mnuCerrar")->trigger();
        }) << QStringLiteral("Pelmora") << false;
    }

    // The title in every state, as set and as the window system shows it.
    void titulo()
    {
        QFETCH(Paso, paso);
        QFETCH(QString, titulo);
        QFETCH(bool, modificado);
        VentanaPrincipal w;
        QVERIFY(prueba::mostrarActiva(w));
        paso(w);
        QCOMPARE(w.windowTitle(), titulo);
        QCOMPARE(w.isWindowModified(), modificado);
        QCOMPARE(w.isWindowModified(), w.calculoAbierto() && w.HayCambios());
        QString mostrado = titulo;
        mostrado.replace(QStringLiteral("[*][*]"), QStringLiteral("\x01"));
        mostrado.replace(QStringLiteral("[*]"), modificado ? QStringLiteral("*") : QString());
        mostrado.replace(QStringLiteral("\x01"), QStringLiteral("[*]"));
        QCOMPARE(w.windowHandle()->title(), mostrado);
    }

    void idaYVuelta_data()
    {
        QTest::addColumn<Seccion>("seccion");
        QTest::addColumn<Paso>("cambio");
        QTest::addColumn<Seccion>("donde");
        QTest::addColumn<int>("indice");
        // A value typed into field i of s, or else option button boton of group i.
        const struct {
            const char *n;
            Seccion vista, s;
            int i;
            const char *texto;
            int boton;
        } filas[] = {
            {"valor", kF1, kF1, F1::PrecioAutocar, "250000", 0},
            {"valor que cambia otro guardado", kVar, kVar, Var::PrecioCarburante, "0,4", 0},
            {"kilometros que mueven otra seccion", kF2, kCar, Car::KmAnuales, "90000", 0},
            {"opcion a total", kF2, kF2, F2::SegurosDesglosados, nullptr, 2},
            {"opcion a desglose tras un total", kF2, kF2, F2::FiscalesDesglosados, nullptr, 1},
            {"indirectos a total", kInd, kInd, Ind::Desglosado, nullptr, 2},
            {"autocar alquilado", kF1, kF1, F1::CompraAutocar, nullptr, 2},
            {"servicio", kServ, kServ, Serv::campo(1, Serv::Km), "1500", 0},
        };
        for (const auto &f : filas)
            QTest::newRow(f.n) << f.vista << Paso([f](VentanaPrincipal &w) {
                f.texto ? confirmar(w, f.s, f.i, QString::fromUtf8(f.texto)) : opcion(w, f.s, f.i, f.boton);
            }) << f.s << f.i;
    }

    // A change undone brings back exactly what the forms showed before it,
    // with the figures a load of the restored entries gives; redone, what
    // they showed after it.
    void idaYVuelta()
    {
        QFETCH(Seccion, seccion);
        QFETCH(Paso, cambio);
        QFETCH(Seccion, donde);
        QFETCH(int, indice);
        VentanaPrincipal w;
        QVERIFY(prueba::mostrarActiva(w));
        QVERIFY(prueba::abrirCategoria(w, 2));
        // A fuel discount, fiscal costs entered as a total, a service's costs.
        confirmar(w, kVar, Var::PrecioCarburante, QStringLiteral("1,5"));
        confirmar(w, kVar, Var::Descuento, QStringLiteral("0,5"));
        opcion(w, kF2, F2::FiscalesDesglosados, 2);
        confirmar(w, kF2, F2::Fiscales, QStringLiteral("3333"));
        confirmar(w, kServ, Serv::campo(1, Serv::Propios), QStringLiteral("800"));
        const QStringList vistaAntes = vista(w, seccion);
        const Columna antes = w.calculo().entradasUsuario().columna;
        const int pasos = w.historial().pila().index();
        cambio(w);
        QCOMPARE(w.historial().pila().index(), pasos + 1);
        const QStringList vistaDespues = vista(w, seccion);
        const Columna despues = w.calculo().columnaS();
        QVERIFY(vistaDespues != vistaAntes);
        const auto pulsar = [&](Qt::Key k, int paso, const Columna &columna, const QStringList &v) {
            QTest::keyClick(&w, k, Qt::ControlModifier);
            QCOMPARE(w.historial().pila().index(), paso);
            // The form of the change is shown, with the focus on its box
            // (or on its option pair).
            QCOMPARE(w.frmActiva()->seccion(), donde);
            QWidget *foco = QApplication::focusWidget();
            QVERIFY(foco);
            QVERIFY(foco == prueba::caja(w.frmActiva(), donde, indice) ||
                    foco == w.frmActiva()->boton(Col::S, indice, 1) || foco == w.frmActiva()->boton(Col::S, indice, 2));
            QVERIFY(mismaColumna(w.calculo().columnaS(), columna));
            QCOMPARE(vista(w, seccion), v);
        };
        pulsar(Qt::Key_Z, pasos, antes, vistaAntes);
        QCOMPARE(distintoDeUnaCarga(w.calculo(), seccion == kServ), QString());
        pulsar(Qt::Key_Y, pasos + 1, despues, vistaDespues);
        // Undone and redone from the service: once it is shown again it is
        // reviewed, as whenever it is shown, and every figure is a load's.
        QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
        w.MostrarSeccion(kServ);
        QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(w.historial().pila().index(), pasos + 1);
        w.MostrarSeccion(kServ);
        QCOMPARE(distintoDeUnaCarga(w.calculo(), true), QString());
    }

    // The mark follows the saved state back and forth; a save is no step.
    void deshacerMasAllaDeUnaGrabacion()
    {
        VentanaPrincipal w;
        QVERIFY(prueba::mostrarActiva(w));
        QVERIFY(abrirAutocar1(w));
        const double abiertas = w.calculo().columnaS()(kCar, Car::Plazas).n();
        QVERIFY(abiertas != 41 && abiertas != 42);
        confirmar(w, kCar, Car::Plazas, QStringLiteral("41"));
        accion(w, "mnuFileSave")->trigger();
        confirmar(w, kCar, Car::Plazas, QStringLiteral("42"));
        QUndoStack &pila = w.historial().pila();
        QCOMPARE(pila.count(), 2);
        const struct {
            void (VentanaPrincipal::*orden)();
            double plazas; // 0: as the file was opened
            bool modificado;
        } pasos[] = {
            {&VentanaPrincipal::deshacer, 41, false}, {&VentanaPrincipal::deshacer, 0, true},
            {&VentanaPrincipal::deshacer, 0, true},   {&VentanaPrincipal::rehacer, 41, false},
            {&VentanaPrincipal::rehacer, 42, true},   {&VentanaPrincipal::deshacer, 41, false},
        };
        for (const auto &p : pasos) {
            (w.*p.orden)();
            QCOMPARE(w.calculo().columnaS()(kCar, Car::Plazas).n(), p.plazas ? p.plazas : abiertas);
            QCOMPARE(w.isWindowModified(), p.modificado);
            QCOMPARE(w.HayCambios(), p.modificado);
        }
        QCOMPARE(pila.count(), 2);
    }

    // Ctrl+Z in a field undoes its typing first and leaves the history
    // alone; then it undoes the last commit. Ctrl+Y redoes the typing, and
    // with typing of its own commits it, which leaves nothing to redo.
    void ctrlZEnUnCampo()
    {
        VentanaPrincipal w;
        QVERIFY(prueba::mostrarActiva(w));
        QVERIFY(prueba::abrirCategoria(w));
        w.MostrarSeccion(kCar);
        CampoTexto *km = prueba::caja(w.frmActiva(), kCar, Car::KmAnuales);
        QUndoStack &pila = w.historial().pila();
        const auto ctrl = [km](Qt::Key k) { QTest::keyClick(km, k, Qt::ControlModifier); };
        const auto guardado = [&w] { return w.calculo().columnaS()(kCar, Car::KmAnuales); };
        // Typing into a new calculation: Ctrl+Z undoes it with nothing in
        // the history, then is refused like any control key.
        km->setFocus(Qt::MouseFocusReason);
        const QString inicial = km->text();
        prueba::teclear(km, QStringLiteral("5"));
        QCOMPARE(km->text(), QStringLiteral("5"));
        for (int pitidos : {0, 1}) {
            ctrl(Qt::Key_Z);
            QCOMPARE(km->text(), inicial);
            QCOMPARE(pitidos_, pitidos);
        }

        prueba::teclear(km, QStringLiteral("80000"), Qt::Key_Return);
        QCOMPARE(pila.index(), 1);
        QTest::keyClicks(km, QStringLiteral("1"));
        QTest::keyClick(km, Qt::Key_End);
        QTest::keyClick(km, Qt::Key_Backspace);
        QCOMPARE(km->text(), QStringLiteral("18000"));
        emit w.findChild<QMenu *>(QStringLiteral("mnuEdit"))->aboutToShow();
        QVERIFY(accion(w, "mnuDeshacer")->isEnabled());
        int veces = 0;
        while (km->isUndoAvailable() && veces++ < 10) {
            ctrl(Qt::Key_Z);
            QCOMPARE(pila.index(), 1);
            QCOMPARE(guardado().n(), 80000.0);
        }
        QCOMPARE(km->text(), QStringLiteral("80000"));
        ctrl(Qt::Key_Y);
        QVERIFY(km->text() != QStringLiteral("80000"));
        QCOMPARE(pila.index(), 1);
        while (km->isUndoAvailable() && veces++ < 20)
            ctrl(Qt::Key_Z);

        ctrl(Qt::Key_Z);
        QCOMPARE(pila.index(), 0);
        QVERIFY(km->hasFocus() && km->editando());
        QCOMPARE(km->text(), textoEdicion(guardado(), km->decimales()));
        QVERIFY(guardado().n() != 80000.0);

        prueba::teclear(km, QStringLiteral("90000"));
        const Valor tecleado = LeerCampo(km->text(), km->decimales());
        ctrl(Qt::Key_Y);
        QCOMPARE(guardado(), tecleado);
        QCOMPARE(pila.index(), 1);
        QVERIFY(!pila.canRedo());
        QCOMPARE(pitidos_, 1);

        // The menu bar holding the focus for a while: the edit goes on, and
        // shows what an undo brings back.
        w.menuBar()->setFocus(Qt::MenuBarFocusReason);
        QVERIFY(km->editando() && !km->hasFocus());
        w.deshacer();
        QCOMPARE(km->text(), textoEdicion(guardado(), km->decimales()));
        QVERIFY(guardado() != tecleado);
    }

    // "Deshacer" and "Rehacer" are on only with something to undo or redo.
    void menusSegunElHistorial()
    {
        VentanaPrincipal w;
        QVERIFY(prueba::mostrarActiva(w));
        const auto estado = [&w] {
            return QString::number(accion(w, "mnuDeshacer")->isEnabled()) +
                   QString::number(accion(w, "mnuRehacer")->isEnabled());
        };
        QCOMPARE(accion(w, "mnuDeshacer")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
        QCOMPARE(accion(w, "mnuRehacer")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Y")));
        QCOMPARE(estado(), QStringLiteral("00"));
        QVERIFY(prueba::abrirCategoria(w));
        QCOMPARE(estado(), QStringLiteral("00"));
        confirmar(w, kCar, Car::Plazas, QStringLiteral("40"));
        QCOMPARE(estado(), QStringLiteral("10"));
        // The items name the step they undo or redo.
        const auto rotulos = [&w] {
            emit w.findChild<QMenu *>(QStringLiteral("mnuEdit"))->aboutToShow();
            return sinMnemonico(accion(w, "mnuDeshacer")->text()) + QLatin1Char('|') +
                   sinMnemonico(accion(w, "mnuRehacer")->text());
        };
        confirmar(w, kCar, Car::KmAnuales, QStringLiteral("90000"));
        QCOMPARE(rotulos(), QStringLiteral("Deshacer Kilómetros anuales|Rehacer"));
        w.deshacer();
        QCOMPARE(rotulos(), QStringLiteral("Deshacer ") + rotulo(kCar, Car::Plazas).etiqueta +
                                QStringLiteral("|Rehacer Kilómetros anuales"));
        opcion(w, kF2, F2::SegurosDesglosados, 2);
        QCOMPARE(rotulos(), QStringLiteral("Deshacer ") + rotulo(kF2, F2::SegurosDesglosados).etiqueta +
                                QStringLiteral("|Rehacer"));
        w.deshacer();
        w.deshacer();
        QCOMPARE(estado(), QStringLiteral("01"));
        // Typing of the field being edited counts once the menu opens.
        prueba::teclear(prueba::caja(w.frmActiva(), kCar, Car::Plazas), QStringLiteral("45"));
        emit w.findChild<QMenu *>(QStringLiteral("mnuEdit"))->aboutToShow();
        QCOMPARE(estado(), QStringLiteral("11"));
        w.rehacer();
        QCOMPARE(estado(), QStringLiteral("10"));
        pregunta_.respuestas = {PreguntaGrabar::No};
        accion(w, "mnuCerrar")->trigger();
        QVERIFY(!w.calculoAbierto());
        QCOMPARE(estado(), QStringLiteral("00"));
        QCOMPARE(w.historial().pila().count(), 0);
        QVERIFY(prueba::abrirCategoria(w));
        QCOMPARE(estado(), QStringLiteral("00"));
        // The last 100 steps are kept: 101 commits undo back to the first one.
        for (int plazas = 20; plazas <= 120; ++plazas)
            w.calculo().ConfirmarCampo(kCar, Car::Plazas, Valor(double(plazas)), Valor(double(plazas - 1)));
        for (int paso = 0; paso < 100; ++paso)
            w.deshacer();
        QCOMPARE(w.calculo().columnaS()(kCar, Car::Plazas).n(), 20.0);
        QCOMPARE(estado(), QStringLiteral("01"));
    }
};

QTEST_MAIN(PruebaDeshacer)
#include "prueba_deshacer.moc"
