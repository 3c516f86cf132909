// The section forms against the model: what the boxes and labels show,
// typing and committing a field, the option pairs, the results and the pie.
#include "archivos/archivo.h"
#include "ayudantes.h"
#include "entrada/numeros.h"
#include "interfaz/dialogos/mensaje.h"
#include "interfaz/formularios/campo.h"
#include "interfaz/formularios/formulario.h"
#include "interfaz/formularios/sesionedicion.h"
#include "interfaz/formularios/tarta.h"
#include "interfaz/soporte/marcos.h"
#include "interfaz/soporte/twips.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QStyleOption>
#include <QtTest>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

using namespace pelmora;

namespace {

const QString kReferencia = QStringLiteral(PELMORA_BIN "/Vededizaviro/Autocar Estandar 39 a 55 plazas.obs");

// A calculation with its seven forms inside one window, as the main window
// holds them.
struct Banco {
    Calculo c;
    QWidget ventana;
    std::array<FormularioBase *, kNumSecciones> f{};

    // abrirAntes: the file is opened before the forms exist (they load
    // themselves) or after (they follow the model's notices).
    bool preparar(bool abrirAntes = true)
    {
        ventana.resize(800, 700);
        if (abrirAntes && AbrirArchivo(c, kReferencia) != ErrorArchivo::Ninguno)
            return false;
        for (const DatosSeccion &d : kSecciones) {
            const Seccion s = d.seccion;
            f[ord(s)] = crearFormulario(s, c, &ventana);
            f[ord(s)]->hide();
        }
        if (!abrirAntes && AbrirArchivo(c, kReferencia) != ErrorArchivo::Ninguno)
            return false;
        return true;
    }

    FormularioBase *formulario(Seccion s) const { return f[ord(s)]; }

    // Opens the reference file with the forms, shows one of them and waits
    // for its window to be active.
    bool abrir(Seccion s)
    {
        if (!preparar())
            return false;
        mostrar(s);
        return QTest::qWaitForWindowActive(&ventana);
    }

    // Shows one form in the active window, the others hidden.
    FormularioBase *mostrar(Seccion s)
    {
        for (auto *x : f)
            x->hide();
        f[ord(s)]->show();
        f[ord(s)]->activar();
        ventana.show();
        ventana.activateWindow();
        return f[ord(s)];
    }

    template <class T = CampoTexto> T *w(Seccion s, const QString &nombre) const
    {
        return formulario(s)->findChild<T *>(nombre);
    }
    CampoTexto *caja(Seccion s, Col col, int i) const
    {
        return w(s, CampoTexto::nombreArray(col, s) + QStringLiteral("(%1)").arg(i));
    }

    // Field i of the user column, given the focus and a text to edit.
    CampoTexto *editar(Seccion s, int i, const QString &texto) const
    {
        CampoTexto *c = caja(s, Col::S, i);
        c->setFocus(Qt::MouseFocusReason);
        c->setText(texto);
        return c;
    }
};

bool negrita(const QWidget *w) { return w->font().bold(); }

} // namespace

class PruebaFormularios : public QObject {
    Q_OBJECT

    prueba::CapturaMensajes mensajes_;
    int pitidos_ = 0;
    decltype(interceptorPitidos)::Ambito ambitoPitidos_{interceptorPitidos, [this] { ++pitidos_; }};

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
        fijarSeparadores(QLocale());
        fijarPuntosPorPulgada(96);
    }

    void init()
    {
        mensajes_.clear();
        pitidos_ = 0;
    }

    void cajasMuestranElModelo_data()
    {
        QTest::addColumn<bool>("abrirAntes");
        QTest::newRow("formularios creados despues de abrir") << true;
        QTest::newRow("formularios creados antes de abrir") << false;
    }

    // Every box of every form shows the model's text and look; every
    // results label shows its slot.
    void cajasMuestranElModelo()
    {
        QFETCH(bool, abrirAntes);
        Banco b;
        QVERIFY(b.preparar(abrirAntes));
        b.formulario(Seccion::Resultados)->activar();
        b.formulario(Seccion::Servicio)->activar();
        int cajas = 0;
        for (const DatosSeccion &d : kSecciones) {
            const Seccion s = d.seccion;
            FormularioBase *f = b.formulario(s);
            QCOMPARE(f->objectName(), QLatin1String(datosSeccion(s).formulario));
            if (s == Seccion::Resultados)
                continue;
            for (Col col : {Col::S, Col::O}) {
                for (int i = 1; i <= tamano(s); ++i) {
                    CampoTexto *caja = b.caja(s, col, i);
                    const bool hay = campo(s, i).tieneCaja() && !(s == Seccion::Servicio && col == Col::O);
                    QVERIFY2((caja != nullptr) == hay, qPrintable(CampoTexto::nombreArray(col, s) + QString::number(i)));
                    if (!caja)
                        continue;
                    ++cajas;
                    const QString nombre = caja->objectName();
                    QVERIFY2(caja->text() == b.c.textoMostrado(col, s, i),
                             qPrintable(nombre + ": " + caja->text() + " / " + b.c.textoMostrado(col, s, i)));
                    const bool entrada = col == Col::S && b.c.estado(col, s, i).entrada;
                    QVERIFY2(caja->isEnabled() == entrada, qPrintable(nombre));
                    QVERIFY2(negrita(caja) == !entrada, qPrintable(nombre));
                    if (col == Col::O) { // a reference box never takes the input look
                        caja->aplicarAspecto(true);
                        QVERIFY2(!caja->isEnabled() && negrita(caja), qPrintable(nombre));
                    }
                    QCOMPARE(caja->property("Tag").toString(), QString::number(campo(s, i).decimales));
                    QCOMPARE(caja->alignment() & Qt::AlignHorizontal_Mask,
                             campo(s, i).esTexto() ? Qt::AlignLeft : Qt::AlignRight);
                    // A shown figure is never cut by a length limit.
                    QCOMPARE(caja->maxLength(), 32767);
                    if (col == Col::S && campo(s, i).tipo != TipoCampo::Derivado)
                        QCOMPARE(caja->toolTip(), QString::fromUtf8(campo(s, i).ayuda));
                    if (col == Col::O)
                        QVERIFY(caja->toolTip().isEmpty());
                }
            }
        }
        QCOMPARE(cajas, 2 * (23 + 18 + 25 + 19 + 4) + 31);

        FormularioBase *r = b.formulario(Seccion::Resultados);
        for (Col col : {Col::S, Col::O}) {
            const QString letra = col == Col::S ? QStringLiteral("S") : QStringLiteral("O");
            for (int n = 1; n <= 48; ++n) {
                auto *l = r->findChild<QLabel *>(QStringLiteral("lbl%1R(%2)").arg(letra).arg(n));
                if (n == 19 || n == 20) {
                    QVERIFY(!l);
                    continue;
                }
                QVERIFY(l);
                QCOMPARE(l->text(), FormatearNumero(b.c.columna(col)(Seccion::Resultados, n), decimalesResultado(n), true));
            }
        }
        // A figure of the reference data, as the regional settings write it.
        QCOMPARE(b.caja(kF1, Col::O, F1::PrecioAutocar)->text(), QStringLiteral("295.000,00"));
        QCOMPARE(b.caja(kCar, Col::S, Car::KmFacturados)->text(), QStringLiteral("88.000"));
    }

    void titulos()
    {
        Banco b;
        QVERIFY(b.preparar());
        const QString desc = b.c.columnaS()(kCar, Car::Descripcion).texto();
        const QString fechaS = QLocale().toString(b.c.columnaS().Fecha, QLocale::ShortFormat);
        const QString fechaO = QLocale().toString(b.c.columnaO().Fecha, QLocale::ShortFormat);
        const std::pair<Seccion, const char *> titulos[] = {
            {Seccion::Caracteristicas, "Características Técnicas y de Explotación"},
            {Seccion::CostesFijos1, "Costes Fijos (1)"},
            {Seccion::CostesFijos2, "Costes Fijos (2)"},
            {Seccion::CostesVariables, "Costes Variables"},
            {Seccion::CostesIndirectos, "Costes Indirectos"},
            {Seccion::Resultados, "Resultados"},
            {Seccion::Servicio, "Costes Servicio"}};
        for (const auto &[s, t] : titulos) {
            auto *f1 = b.w<QGroupBox>(s, QStringLiteral("Frame1"));
            QVERIFY(f1);
            QCOMPARE(f1->title(), QString::fromUtf8(t) + QStringLiteral("     (") + desc + QStringLiteral(")"));
            QCOMPARE(b.w<QGroupBox>(s, QStringLiteral("FrameS"))->title(),
                     QStringLiteral("Cálculo Personalizado (") + fechaS + QStringLiteral(")"));
            auto *fo = b.w<QGroupBox>(s, QStringLiteral("FrameO"));
            if (s == Seccion::Servicio)
                QVERIFY(!fo);
            else
                QCOMPARE(fo->title(), QStringLiteral("Vededizaviro de Costes (") + fechaO + QStringLiteral(")"));
        }
        // A new description retitles every form.
        b.c.ConfirmarCampo(kCar, Car::Descripcion, Valor("Midibús"), Valor(desc));
        QCOMPARE(b.w<QGroupBox>(Seccion::Servicio, QStringLiteral("Frame1"))->title(),
                 QStringLiteral("Costes Servicio     (Midibús)"));
        // After a save the user column shows the new date.
        b.c.marcarGrabado(QDate(2031, 2, 3));
        QCOMPARE(b.w<QGroupBox>(Seccion::CostesVariables, QStringLiteral("FrameS"))->title(),
                 QStringLiteral("Cálculo Personalizado (") + QLocale().toString(QDate(2031, 2, 3), QLocale::ShortFormat) +
                     QStringLiteral(")"));
    }

    void filasOcultasDeLaReferencia()
    {
        Banco b;
        QVERIFY(b.preparar());
        FormularioBase *f = b.formulario(Seccion::Caracteristicas);
        for (int i : {2, 19, 20, 21, 22, 23}) {
            QVERIFY(b.caja(Seccion::Caracteristicas, Col::O, i)->isHidden());
            QVERIFY(!b.caja(Seccion::Caracteristicas, Col::S, i)->isHidden());
        }
        for (int i : {1, 3, 9, 10, 11, 18})
            QVERIFY(!b.caja(Seccion::Caracteristicas, Col::O, i)->isHidden());
        // Their captions go with them in the reference column only.
        auto visibles = [&](QGroupBox *marco, const QString &texto) {
            int n = 0;
            for (QLabel *l : marco->findChildren<QLabel *>())
                if (l->text() == texto && !l->isHidden())
                    ++n;
            return n;
        };
        auto *fs = f->findChild<QGroupBox *>(QStringLiteral("FrameS"));
        auto *fo = f->findChild<QGroupBox *>(QStringLiteral("FrameO"));
        for (const char *t : {"Número de plazas incluido el conductor", "Viajeros transportados:",
                              "Producción anual (viajeros - kilómetro)", "viajeros por vehículo"}) {
            QCOMPARE(visibles(fs, QString::fromUtf8(t)), 1);
            QCOMPARE(visibles(fo, QString::fromUtf8(t)), 0);
        }
        QCOMPARE(visibles(fo, QStringLiteral("Kilómetros recorridos anualmente")), 1);

        FormularioBase *r = b.formulario(Seccion::Resultados);
        for (int n : {39, 40}) {
            QVERIFY(r->findChild<QLabel *>(QStringLiteral("lblOR(%1)").arg(n))->isHidden());
            QVERIFY(!r->findChild<QLabel *>(QStringLiteral("lblSR(%1)").arg(n))->isHidden());
        }
        // Still computed.
        QVERIFY(!b.c.columnaO()(kRes, Res::C1).esCero());
    }

    // Enter commits without leaving the field and the dependent boxes follow,
    // in this form and in the others.
    void enterConfirmaYRecalcula()
    {
        Banco b;
        QVERIFY(b.abrir(Seccion::Caracteristicas));
        CampoTexto *km = b.caja(kCar, Col::S, Car::KmAnuales);
        QSignalSpy enfocado(b.formulario(Seccion::Caracteristicas), &FormularioBase::controlEnfocado);
        km->setFocus(Qt::TabFocusReason);
        QVERIFY(km->hasFocus());
        // The editing text: plain, caret at the start, nothing selected.
        QCOMPARE(km->text(), QStringLiteral("110000"));
        QCOMPARE(km->cursorPosition(), 0);
        QVERIFY(!km->hasSelectedText());
        QCOMPARE(km->sesion().valorAnterior().n(), 110000.0);
        QVERIFY(enfocado.count() >= 1);
        QCOMPARE(enfocado.last().at(0).value<QWidget *>(), static_cast<QWidget *>(km));
        QCOMPARE(b.formulario(Seccion::Caracteristicas)->controlActivo(), static_cast<QWidget *>(km));

        prueba::teclear(km, QStringLiteral("120000"));
        QCOMPARE(km->text(), QStringLiteral("120000"));
        // Nothing is committed before Enter.
        QCOMPARE(b.c.columnaS()(kCar, Car::KmAnuales).n(), 110000.0);
        QTest::keyClick(km, Qt::Key_Return);
        QCOMPARE(b.c.columnaS()(kCar, Car::KmAnuales).n(), 120000.0);
        QVERIFY(km->hasFocus());
        QCOMPARE(km->text(), QStringLiteral("120000"));
        QCOMPARE(km->sesion().valorAnterior().n(), 120000.0);
        QCOMPARE(b.caja(kCar, Col::S, Car::KmFacturados)->text(), QStringLiteral("96.000"));
        QCOMPARE(b.caja(kCar, Col::S, Car::KmNoFacturados)->text(), QStringLiteral("24.000"));
        // The kilometres reach the activity bonus and the repairs.
        QCOMPARE(b.caja(kF2, Col::S, F2::PlusAnual)->text(), QStringLiteral("2.400,00"));
        QCOMPARE(b.caja(kVar, Col::S, Var::Reparaciones)->text(), QStringLiteral("13.800,00"));
        // The reference column is untouched.
        QCOMPARE(b.caja(kCar, Col::O, Car::KmFacturados)->text(), QStringLiteral("88.000"));
        QVERIFY(mensajes_.empty());

        // Leaving the field shows the display text.
        QTest::keyClick(km, Qt::Key_Tab);
        QVERIFY(!km->hasFocus());
        QCOMPARE(km->text(), QStringLiteral("120.000"));
        QVERIFY(mensajes_.empty());
    }

    void valorRechazadoConEnter()
    {
        Banco b;
        QVERIFY(b.abrir(Seccion::Caracteristicas));
        CampoTexto *km = b.caja(kCar, Col::S, Car::KmAnuales);
        prueba::teclear(km, QStringLiteral("1000"), Qt::Key_Enter);
        QCOMPARE(mensajes_.size(), qsizetype(1));
        QCOMPARE(mensajes_[0].titulo, QStringLiteral("Error"));
        QVERIFY(mensajes_[0].texto.startsWith(QStringLiteral("Valor mínimo = 5.000\r\n\r\nValor máximo = 400.000")));
        QCOMPARE(b.c.columnaS()(kCar, Car::KmAnuales).n(), 110000.0);
        QVERIFY(km->hasFocus());
        QCOMPARE(km->text(), QStringLiteral("110000"));
        QCOMPARE(b.caja(kCar, Col::S, Car::KmFacturados)->text(), QStringLiteral("88.000"));

        // An empty coach description is refused too.
        CampoTexto *desc = b.editar(kCar, Car::Descripcion, QString());
        QTest::keyClick(desc, Qt::Key_Return);
        QCOMPARE(mensajes_.size(), qsizetype(2));
        QCOMPARE(mensajes_[1].texto, QStringLiteral("El mínimo de caracteres es de 1.\r\n\r\n"));
        QCOMPARE(desc->text(), b.c.columnaS()(kCar, Car::Descripcion).texto());
    }

    // By the time the message shows, the old value is back in the model and
    // in the box, and the dependent boxes follow it (Enter and leaving).
    void valorRestauradoAntesDelMensaje()
    {
        Banco b;
        QVERIFY(b.abrir(Seccion::Caracteristicas));
        CampoTexto *km = b.caja(kCar, Col::S, Car::KmAnuales);
        CampoTexto *facturados = b.caja(kCar, Col::S, Car::KmFacturados);
        prueba::teclear(km, QStringLiteral("120000"), Qt::Key_Return);

        struct Visto {
            double valor;
            QString caja, dependiente;
        };
        std::vector<Visto> vistos;
        auto vigilar = interceptorMensajes.interceptar([&](const QString &, const QString &) {
            vistos.push_back({b.c.columnaS()(kCar, Car::KmAnuales).n(), km->text(), facturados->text()});
        });
        prueba::teclear(km, QStringLiteral("1000"), Qt::Key_Return);
        prueba::teclear(km, QStringLiteral("2000"), Qt::Key_Tab);
        QTRY_VERIFY(km->hasFocus());
        QCOMPARE(vistos.size(), size_t(2));
        for (const Visto &v : vistos) {
            QCOMPARE(v.valor, 120000.0);
            QCOMPARE(v.caja, QStringLiteral("120000"));
            QCOMPARE(v.dependiente, QStringLiteral("96.000"));
        }
    }

    // Moving to another control of the window with a refused value: one
    // message, the old value comes back and the focus stays in the field.
    void valorRechazadoAlCambiarDeControl()
    {
        Banco b;
        QVERIFY(b.abrir(Seccion::Caracteristicas));
        CampoTexto *km = b.caja(kCar, Col::S, Car::KmAnuales);
        CampoTexto *pct = b.caja(kCar, Col::S, Car::PctKmFacturados);
        prueba::teclear(km, QStringLiteral("999"), Qt::Key_Tab);
        QCOMPARE(mensajes_.size(), qsizetype(1));
        QTRY_VERIFY(km->hasFocus());
        QCOMPARE(km->text(), QStringLiteral("110000"));
        QCOMPARE(b.c.columnaS()(kCar, Car::KmAnuales).n(), 110000.0);
        // The control the focus passed through did not act.
        QCOMPARE(pct->text(), QStringLiteral("80,0"));
        QCOMPARE(mensajes_.size(), qsizetype(1));
        QCOMPARE(b.formulario(Seccion::Caracteristicas)->controlActivo(), static_cast<QWidget *>(km));

        // A good value lets the focus go and shows the display text; it is
        // committed once.
        QSignalSpy cambios(&b.c, &Calculo::cambioEmpezado);
        prueba::teclear(km, QStringLiteral("99999"), Qt::Key_Tab);
        QTRY_VERIFY(pct->hasFocus());
        QCOMPARE(cambios.count(), 1);
        QCOMPARE(km->text(), QStringLiteral("99.999"));
        QCOMPARE(b.c.columnaS()(kCar, Car::KmAnuales).n(), 99999.0);
        QCOMPARE(pct->text(), QStringLiteral("80"));
        QCOMPARE(mensajes_.size(), qsizetype(1));
    }

    void opcionTrasValorRechazado_data()
    {
        QTest::addColumn<int>("modo");
        QTest::newRow("clic del raton") << 0;
        QTest::newRow("tecla tras el clic en la otra opcion") << 1;
        QTest::newRow("pulsacion animada (atajo, accesibilidad)") << 2;
    }

    // A refused value cancels the focus change and the option activation
    // that asked for it: the option stays as it was, its items untouched.
    void opcionTrasValorRechazado()
    {
        QFETCH(int, modo);
        Banco b;
        QVERIFY(b.abrir(Seccion::CostesFijos2));
        auto boton = [&](int k) { return b.w<QRadioButton>(Seccion::CostesFijos2, QStringLiteral("OptionSG(%1)").arg(k)); };
        CampoTexto *sueldo = b.caja(kF2, Col::S, F2::Sueldo);
        const QString seguro = b.caja(kF2, Col::S, F2::SeguroObligatorio)->text();
        QVERIFY(!seguro.isEmpty());
        sueldo->setFocus(Qt::MouseFocusReason);
        const QString antes = sueldo->text();
        prueba::teclear(sueldo, QStringLiteral("200000"));
        switch (modo) {
        case 0:
            QTest::mouseClick(boton(2), Qt::LeftButton);
            break;
        case 1:
            QTest::mouseClick(boton(1), Qt::LeftButton);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            break;
        default:
            boton(2)->animateClick();
            QTest::qWait(250);
            break;
        }
        QTRY_VERIFY(sueldo->hasFocus());
        QVERIFY(!boton(2)->isDown());
        QCOMPARE(mensajes_.size(), qsizetype(1));
        QCOMPARE(sueldo->text(), antes);
        QVERIFY(!b.c.columnaS()(kF2, F2::SegurosDesglosados).esFalso());
        QVERIFY(boton(1)->isChecked());
        QVERIFY(!boton(2)->isChecked());
        QCOMPARE(b.caja(kF2, Col::S, F2::SeguroObligatorio)->text(), seguro);
        QVERIFY(b.caja(kF2, Col::S, F2::SeguroObligatorio)->isEnabled());

        // Once the value is good, the same click goes through.
        prueba::teclear(sueldo, QStringLiteral("40000"));
        QTest::mouseClick(boton(2), Qt::LeftButton);
        QVERIFY(b.c.columnaS()(kF2, F2::SegurosDesglosados).esFalso());
        QVERIFY(b.caja(kF2, Col::S, F2::SeguroObligatorio)->text().isEmpty());
        QCOMPARE(mensajes_.size(), qsizetype(1));
    }

    // A focus loss without another control of the window (another window
    // activated) still commits, reports and shows the display text.
    void perdidaDeFocoConfirma()
    {
        Banco b;
        QVERIFY(b.abrir(Seccion::CostesFijos1));
        CampoTexto *precio = b.caja(kF1, Col::S, F1::PrecioAutocar);
        prueba::teclear(precio, QStringLiteral("300000"));
        precio->clearFocus();
        QCOMPARE(b.c.columnaS()(kF1, F1::PrecioAutocar).n(), 300000.0);
        QCOMPARE(precio->text(), QStringLiteral("300.000,00"));
        QCOMPARE(b.caja(kF1, Col::S, F1::ResidualAutocar)->text(), QStringLiteral("45.000,00"));
        QCOMPARE(b.caja(kF1, Col::S, F1::FinanciadoAutocar)->text(), QStringLiteral("240.000,00"));
        QVERIFY(mensajes_.empty());

        prueba::teclear(precio, QStringLiteral("10"));
        precio->clearFocus();
        QCOMPARE(mensajes_.size(), qsizetype(1));
        QCOMPARE(b.c.columnaS()(kF1, F1::PrecioAutocar).n(), 300000.0);
        QCOMPARE(precio->text(), QStringLiteral("300.000,00"));
        QTest::qWait(20);
        QVERIFY(!precio->hasFocus());

        // Another section shown while a field is being edited: the typed
        // value is committed, not lost.
        prueba::teclear(precio, QStringLiteral("250000"));
        b.mostrar(Seccion::Resultados);
        QCOMPARE(b.c.columnaS()(kF1, F1::PrecioAutocar).n(), 250000.0);
        QCOMPARE(precio->text(), QStringLiteral("250.000,00"));
        QCOMPARE(mensajes_.size(), qsizetype(1));
        QCOMPARE(b.w<QLabel>(Seccion::Resultados, QStringLiteral("lblSR(1)"))->text(),
                 FormatearNumero(b.c.columnaS()(kRes, Res::Amortizacion), 2, true));
    }

    void cajasConmutadasSiguenAlModelo_data()
    {
        QTest::addColumn<int>("seccion");
        QTest::addColumn<int>("indice");
        QTest::addColumn<QString>("anular");    // typed over the whole text
        QTest::addColumn<QString>("restaurar");
        QTest::addColumn<QList<int>>("conmutadas"); // boxes disabled and blanked
        QTest::addColumn<int>("otra");           // a box the commit leaves alone
        QTest::addColumn<int>("fin");
        const struct {
            const char *nombre;
            Seccion s;
            int i;
            const char *anular, *restaurar;
            QList<int> conmutadas;
            int otra;
        } casos[] = {
            {"TextSF1(6) vacio", Seccion::CostesFijos1, 6, "", "50", {8, 9}, 2},
            {"TextSF1(12) 0", Seccion::CostesFijos1, 12, "0", "25000", {13, 16, 18, 19}, 2},
            {"TextSV(8) 0", Seccion::CostesVariables, 8, "0", "2", {9, 10}, 7},
        };
        const char *fines[] = {"Enter", "Tab", "Mayus+Tab", "clic en otra caja", "clic en una caja conmutada"};
        for (const auto &c : casos)
            for (int f = 0; f < 5; ++f)
                QTest::addRow("%s, %s", c.nombre, fines[f])
                    << ord(c.s) << c.i << QString::fromLatin1(c.anular) << QString::fromLatin1(c.restaurar)
                    << c.conmutadas << c.otra << f;
    }

    // A commit that enables, disables or blanks other boxes leaves every box
    // of the form showing what the model says, whatever ended the edit; the
    // boxes it switched stay in step with later commits.
    void cajasConmutadasSiguenAlModelo()
    {
        QFETCH(int, seccion);
        QFETCH(int, indice);
        QFETCH(QString, anular);
        QFETCH(QString, restaurar);
        QFETCH(QList<int>, conmutadas);
        QFETCH(int, otra);
        QFETCH(int, fin);
        const Seccion s = static_cast<Seccion>(seccion);
        Banco b;
        QVERIFY(b.preparar());
        b.mostrar(s);
        QVERIFY(QTest::qWaitForWindowActive(&b.ventana));
        CampoTexto *campo = b.caja(s, Col::S, indice);

        // Every box shows the model: its look, and its display text unless
        // it is the one field being edited, which holds the focus.
        auto comoElModelo = [&]() -> QString {
            auto *foco = qobject_cast<CampoTexto *>(QApplication::focusWidget());
            if (foco && foco->admiteEntrada() && !foco->editando())
                return foco->objectName() + QStringLiteral(" has the focus without being edited");
            for (Col col : {Col::S, Col::O})
                for (int i = 1; i <= tamano(s); ++i) {
                    CampoTexto *c = b.caja(s, col, i);
                    if (!c)
                        continue;
                    const bool edicion = c == foco && c->editando();
                    if (c->editando() && !edicion)
                        return c->objectName() + QStringLiteral(" is being edited without the focus");
                    const QString debe = edicion ? textoEdicion(b.c.columnaS()(s, i), c->decimales())
                                                 : b.c.textoMostrado(col, s, i);
                    if (c->text() != debe)
                        return c->objectName() + QStringLiteral(" shows \"%1\", not \"%2\"").arg(c->text(), debe);
                    if (c->isEnabled() != (col == Col::S && b.c.estado(col, s, i).entrada))
                        return c->objectName() + QStringLiteral(" has the wrong look");
                }
            return QString();
        };
        // Types a value and ends the edit; a click goes to a switched box
        // while it can take the focus, to an untouched one otherwise.
        auto confirmar = [&](const QString &texto, int modo) {
            campo->setFocus(Qt::MouseFocusReason);
            QVERIFY(campo->editando());
            campo->selectAll();
            QTest::keyClick(campo, Qt::Key_Backspace);
            QTest::keyClicks(campo, texto);
            CampoTexto *conmutada = b.caja(s, Col::S, conmutadas.first());
            switch (modo) {
            case 0:
                QTest::keyClick(campo, Qt::Key_Return);
                break;
            case 1:
                QTest::keyClick(campo, Qt::Key_Tab);
                break;
            case 2:
                QTest::keyClick(campo, Qt::Key_Backtab, Qt::ShiftModifier);
                break;
            default:
                QTest::mouseClick(modo == 4 && conmutada->isEnabled() ? conmutada : b.caja(s, Col::S, otra),
                                  Qt::LeftButton);
                break;
            }
            QCOMPARE(comoElModelo(), QString());
        };

        confirmar(anular, fin);
        for (int i : conmutadas) {
            QVERIFY2(!b.caja(s, Col::S, i)->isEnabled(), qPrintable(QString::number(i)));
            QVERIFY2(b.caja(s, Col::S, i)->text().isEmpty(), qPrintable(QString::number(i)));
        }
        confirmar(restaurar, fin);
        for (int i : conmutadas) {
            QVERIFY2(b.caja(s, Col::S, i)->isEnabled(), qPrintable(QString::number(i)));
            QVERIFY2(!b.caja(s, Col::S, i)->text().isEmpty(), qPrintable(QString::number(i)));
        }
        // Tab goes on to the box that the commit has just enabled.
        if (fin == 1)
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(b.caja(s, Col::S, conmutadas.first())));
        // Later commits still reach the boxes that were switched.
        confirmar(anular, 0);
        for (int i : conmutadas)
            QVERIFY2(b.caja(s, Col::S, i)->text().isEmpty(), qPrintable(QString::number(i)));
        QVERIFY(mensajes_.empty());
    }

    // The key filter of a 2-decimal field of length 10, an integer field of
    // length 7 and a free-text field.
    void filtroDeTeclas()
    {
        Banco b;
        QVERIFY(b.abrir(Seccion::CostesFijos1));
        CampoTexto *precio = b.editar(kF1, F1::PrecioAutocar, QString());
        QTest::keyClicks(precio, QStringLiteral("12345678"));
        QCOMPARE(precio->text(), QStringLiteral("1234567"));
        QCOMPARE(pitidos_, 1);
        QTest::keyClicks(precio, QStringLiteral(",567"));
        QCOMPARE(precio->text(), QStringLiteral("1234567,56"));
        QCOMPARE(pitidos_, 2);
        QTest::keyClick(precio, Qt::Key_Home);
        QTest::keyClicks(precio, QStringLiteral("9"));
        QCOMPARE(precio->text(), QStringLiteral("1234567,56"));
        QCOMPARE(pitidos_, 3);
        // A second separator, a point, a sign, a letter: refused.
        QTest::keyClick(precio, Qt::Key_End);
        QTest::keyClicks(precio, QStringLiteral(",.-a "));
        QCOMPARE(precio->text(), QStringLiteral("1234567,56"));
        QCOMPARE(pitidos_, 8);

        // The separator with three digits after the caret is refused, with two accepted.
        precio->setText(QStringLiteral("123"));
        precio->setCursorPosition(0);
        QTest::keyClicks(precio, QStringLiteral(","));
        QCOMPARE(precio->text(), QStringLiteral("123"));
        QCOMPARE(pitidos_, 9);
        precio->setCursorPosition(1);
        QTest::keyClicks(precio, QStringLiteral(","));
        QCOMPARE(precio->text(), QStringLiteral("1,23"));
        QCOMPARE(precio->cursorPosition(), 2);
        QCOMPARE(pitidos_, 9);

        // A refused character still deletes the selection.
        precio->setSelection(2, 2);
        QTest::keyClicks(precio, QStringLiteral("x"));
        QCOMPARE(precio->text(), QStringLiteral("1,"));
        QCOMPARE(pitidos_, 10);
        // Backspace and Delete are the box's own.
        QTest::keyClick(precio, Qt::Key_Backspace);
        QCOMPARE(precio->text(), QStringLiteral("1"));
        QTest::keyClick(precio, Qt::Key_Home);
        QTest::keyClick(precio, Qt::Key_Delete);
        QCOMPARE(precio->text(), QString());
        QCOMPARE(pitidos_, 10);
        // The clipboard keys are not typed characters.
        precio->setText(QStringLiteral("456"));
        precio->selectAll();
        QTest::keyClick(precio, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(precio->text(), QStringLiteral("456"));
        QCOMPARE(pitidos_, 10);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("456"));
        // Escape and other control characters are refused.
        precio->setCursorPosition(3);
        QTest::keyClick(precio, Qt::Key_Escape);
        QCOMPARE(precio->text(), QStringLiteral("456"));
        QCOMPARE(pitidos_, 11);
        // Below the minimum: refused, the old value is back.
        QTest::keyClick(precio, Qt::Key_Enter);
        QCOMPARE(mensajes_.size(), qsizetype(1));
        QCOMPARE(b.c.columnaS()(kF1, F1::PrecioAutocar).n(), 295000.0);
        QCOMPARE(precio->text(), QStringLiteral("295000"));

        b.mostrar(Seccion::Caracteristicas);
        CampoTexto *km = b.editar(kCar, Car::KmAnuales, QString());
        pitidos_ = 0;
        QTest::keyClicks(km, QStringLiteral("1234567"));
        QCOMPARE(km->text(), QStringLiteral("123456"));
        QCOMPARE(pitidos_, 1);
        QTest::keyClicks(km, QStringLiteral(","));
        QCOMPARE(pitidos_, 2);

        CampoTexto *desc = b.editar(kCar, Car::Explotacion, QString());
        QTest::keyClicks(desc, QStringLiteral(" L"));
        QTest::sendKeyEvent(QTest::Click, desc, Qt::Key_unknown, QStringLiteral("í"), Qt::NoModifier);
        QTest::keyClicks(desc, QStringLiteral("nea 3, -5.5% "));
        QCOMPARE(desc->text(), QStringLiteral(" Línea 3, -5.5% "));
        QCOMPARE(pitidos_, 2);
        QTest::keyClick(desc, Qt::Key_Return);
        QCOMPARE(b.c.columnaS()(kCar, Car::Explotacion).texto(), QStringLiteral("Línea 3, -5.5%"));
    }

    // Undo and select all are control characters: refused with a beep in a
    // number, after the selection is deleted.
    void teclasDeControlEnUnNumero()
    {
        Banco b;
        QVERIFY(b.abrir(Seccion::Caracteristicas));

        CampoTexto *km = b.editar(kCar, Car::KmAnuales, QStringLiteral("1234"));
        km->setSelection(1, 2);
        QTest::keyClick(km, Qt::Key_Z, Qt::ControlModifier); // undo
        QCOMPARE(km->text(), QStringLiteral("14"));
        QCOMPARE(pitidos_, 1);
        QTest::keyClick(km, Qt::Key_A, Qt::ControlModifier); // select all
        QVERIFY(!km->hasSelectedText());
        QCOMPARE(km->text(), QStringLiteral("14"));
        QCOMPARE(pitidos_, 2);

        // Alt and a letter types nothing; AltGr characters go through the
        // filter like any other.
        QTest::keyClick(km, Qt::Key_End);
        QTest::keyClick(km, Qt::Key_X, Qt::AltModifier);
        QCOMPARE(km->text(), QStringLiteral("14"));
        QTest::sendKeyEvent(QTest::Click, km, Qt::Key_At, QStringLiteral("@"),
                            Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(km->text(), QStringLiteral("14"));
        QCOMPARE(pitidos_, 3);
        QTest::sendKeyEvent(QTest::Click, km, Qt::Key_5, QStringLiteral("5"), Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(km->text(), QStringLiteral("145"));
        QCOMPARE(pitidos_, 3);

        QCOMPARE(b.c.columnaS()(kCar, Car::KmAnuales).n(), 110000.0);
    }

    // Enter and Backspace bring the field into view like any other key.
    void enterYRetrocesoMuestranElCampo()
    {
        Banco b;
        QVERIFY(b.abrir(Seccion::Caracteristicas));

        FormularioBase *f = b.formulario(Seccion::Caracteristicas);
        CampoTexto *km = b.editar(kCar, Car::KmAnuales, QStringLiteral("14"));
        QSignalSpy enfocado(f, &FormularioBase::controlEnfocado);
        QTest::keyClick(km, Qt::Key_End);
        QTest::keyClick(km, Qt::Key_Backspace);
        QCOMPARE(km->text(), QStringLiteral("1"));
        QCOMPARE(enfocado.count(), 1);
        km->setText(QStringLiteral("90000"));
        QTest::keyClick(km, Qt::Key_Return);
        QCOMPARE(enfocado.count(), 2);
        QCOMPARE(enfocado.last().at(0).value<QWidget *>(), static_cast<QWidget *>(km));
        QCOMPARE(b.c.columnaS()(kCar, Car::KmAnuales).n(), 90000.0);
    }

    // A free text stops at the field's length, and Escape or a Control key
    // writes nothing into it (a selection goes all the same).
    void textoLibreLongitudYControl()
    {
        Banco b;
        QVERIFY(b.abrir(Seccion::Caracteristicas));
        CampoTexto *desc = b.editar(kCar, Car::Descripcion, QStringLiteral("Autocar"));
        desc->setCursorPosition(7);
        QTest::keyClick(desc, Qt::Key_Escape);
        QTest::keyClick(desc, Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(desc->text(), QStringLiteral("Autocar"));
        desc->setSelection(4, 3);
        QTest::keyClick(desc, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(desc->text(), QStringLiteral("Auto"));
        QCOMPARE(pitidos_, 0);
        QTest::keyClick(desc, Qt::Key_Return);
        QCOMPARE(b.c.columnaS()(kCar, Car::Descripcion).texto(), QStringLiteral("Auto"));

        // The coach description takes 45 characters.
        desc->clear();
        pitidos_ = 0;
        QTest::keyClicks(desc, QString(44, QLatin1Char('x')));
        QCOMPARE(pitidos_, 0);
        QTest::keyClicks(desc, QStringLiteral("yz"));
        QCOMPARE(desc->text(), QString(44, QLatin1Char('x')) + QLatin1Char('y'));
        QCOMPARE(pitidos_, 1);
        // Typing over a selection still fits.
        desc->setSelection(0, 2);
        QTest::keyClicks(desc, QStringLiteral("A"));
        QCOMPARE(desc->text(), QStringLiteral("A") + QString(42, QLatin1Char('x')) + QLatin1Char('y'));
        QCOMPARE(pitidos_, 1);
        QVERIFY(mensajes_.empty());
    }

    // Arrows and pages scroll the section and keep the focus where it is.
    void teclasDeDesplazamiento()
    {
        Banco b;
        QVERIFY(b.abrir(Seccion::CostesVariables));

        FormularioBase *f = b.formulario(Seccion::CostesVariables);
        CampoTexto *precio = b.caja(kVar, Col::S, Var::PrecioCarburante);
        precio->setFocus(Qt::MouseFocusReason);
        QSignalSpy spy(f, &FormularioBase::teclaScroll);
        for (Qt::Key k : {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_PageUp})
            QTest::keyClick(precio, k);
        QCOMPARE(spy.count(), 4);
        QCOMPARE(spy.at(0).at(0).toInt(), int(Qt::Key_Down));
        QCOMPARE(spy.at(3).at(0).toInt(), int(Qt::Key_PageUp));
        QVERIFY(precio->hasFocus());
        QCOMPARE(pitidos_, 0);
    }

    // A box being edited keeps its typed text when the model redraws it.
    void textoTecleadoSobreviveAlRedibujo()
    {
        Banco b;
        QVERIFY(b.abrir(Seccion::Servicio));

        FormularioBase *f = b.formulario(Seccion::Servicio);
        CampoTexto *km = b.caja(kServ, Col::S, Serv::campo(0, Serv::Km));
        km->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(km, QStringLiteral("5"));
        const QString tecleado = km->text();
        f->activar(); // recomputes the results and the service, redrawing every box
        QCOMPARE(km->text(), tecleado);
        QVERIFY(!b.caja(kServ, Col::S, Serv::C1)->text().isEmpty());
    }

    void servicio()
    {
        Banco b;
        QVERIFY(b.abrir(Seccion::Servicio));

        FormularioBase *f = b.formulario(Seccion::Servicio);
        CampoTexto *c1 = b.caja(kServ, Col::S, Serv::C1);
        QCOMPARE(c1->text(), FormatearNumero(b.c.columnaS()(kRes, Res::C1), 4, false));
        QCOMPARE(c1->palette().color(QPalette::Disabled, QPalette::Text), QColor(192, 64, 0));
        QCOMPARE(c1->palette().color(QPalette::Disabled, QPalette::Base), QColor(255, 224, 192));
        // Field f of service k.
        auto fila = [&](int k, Serv::Fila f) { return b.caja(kServ, Col::S, Serv::campo(k, f)); };
        const QPalette::ColorGroup g = QPalette::Disabled;
        QCOMPARE(fila(1, Serv::PrecioKmYHoras)->palette().color(g, QPalette::Text), QColor(0, 0, 255));
        QCOMPARE(fila(2, Serv::PrecioKm)->palette().color(g, QPalette::Base), QColor(223, 244, 224));
        QCOMPARE(fila(4, Serv::PrecioHoras)->palette().color(g, QPalette::Text), QColor(128, 128, 0));
        QVERIFY(negrita(fila(4, Serv::PrecioHoras)));
        for (int k = 1; k <= 5; ++k) {
            bool hay = false;
            for (QLabel *l : f->findChildren<QLabel *>())
                hay = hay || l->text() == QStringLiteral("Servicio %1").arg(k);
            QVERIFY(hay);
        }

        // Kilometres above the annual billed ones are refused with their sentence.
        CampoTexto *km = fila(1, Serv::Km);
        prueba::teclear(km, QStringLiteral("90000"), Qt::Key_Return);
        QCOMPARE(mensajes_.size(), qsizetype(1));
        QVERIFY(mensajes_[0].texto.contains(
            QStringLiteral("El número de kilómetros facturados en este servicio no puede ser mayor que el total.")));
        // Accepted kilometres price the service.
        prueba::teclear(km, QStringLiteral("1000"), Qt::Key_Return);
        QCOMPARE(mensajes_.size(), qsizetype(1));
        QCOMPARE(fila(1, Serv::PrecioKm)->text(), b.c.textoMostrado(Col::S, kServ, Serv::campo(1, Serv::PrecioKm)));
        QVERIFY(!fila(1, Serv::PrecioKm)->text().isEmpty());
    }

    void formaDeAdquisicion()
    {
        Banco b;
        QVERIFY(b.preparar());
        b.mostrar(Seccion::CostesFijos1);
        auto frame = [&](const char *n) { return b.w<QGroupBox>(Seccion::CostesFijos1, QLatin1String(n)); };
        auto boton = [&](const char *n) { return b.w<QRadioButton>(Seccion::CostesFijos1, QLatin1String(n)); };
        QVERIFY(boton("OptionSA(1)")->isChecked());
        QVERIFY(!frame("FrameSAA")->isHidden());
        QVERIFY(!frame("FrameSAF")->isHidden());
        QVERIFY(frame("FrameSAT")->isHidden());
        QCOMPARE(frame("FrameSAA")->geometry().topLeft(), frame("FrameSAT")->geometry().topLeft());
        QCOMPARE(frame("FrameSAC")->toolTip(), QStringLiteral("Elegir la forma de adquisición del autocar"));
        QVERIFY(frame("FrameOAC")->toolTip().isEmpty());
        const QString precio = b.caja(kF1, Col::S, F1::PrecioAutocar)->text();

        // An option button that gets the focus is scrolled into view.
        QVERIFY(QTest::qWaitForWindowActive(&b.ventana));
        QSignalSpy enfocado(b.formulario(Seccion::CostesFijos1), &FormularioBase::controlEnfocado);
        boton("OptionSE(1)")->setFocus(Qt::TabFocusReason);
        QCOMPARE(enfocado.count(), 1);
        QCOMPARE(b.formulario(Seccion::CostesFijos1)->controlActivo(), static_cast<QWidget *>(boton("OptionSE(1)")));

        boton("OptionSA(2)")->click();
        QVERIFY(b.c.columnaS()(kF1, F1::CompraAutocar).esFalso());
        QVERIFY(frame("FrameSAA")->isHidden());
        QVERIFY(frame("FrameSAF")->isHidden());
        QVERIFY(!frame("FrameSAT")->isHidden());
        // The equipment and the reference column are independent.
        QVERIFY(!frame("FrameSEA")->isHidden());
        QVERIFY(!frame("FrameOAA")->isHidden());
        boton("OptionSE(2)")->click();
        QVERIFY(!frame("FrameSET")->isHidden());

        boton("OptionSA(1)")->click();
        QVERIFY(!b.c.columnaS()(kF1, F1::CompraAutocar).esFalso());
        QVERIFY(!frame("FrameSAA")->isHidden());
        QVERIFY(frame("FrameSAT")->isHidden());
        QCOMPARE(b.caja(kF1, Col::S, F1::PrecioAutocar)->text(), precio);

        // The reference buttons cannot be used; they follow the data.
        QVERIFY(!boton("OptionOA(1)")->isEnabled());
        QVERIFY(!boton("OptionOA(2)")->isEnabled());
        b.c.columnaParaPruebas(Col::O)(kF1, F1::CompraAutocar) = Valor(false);
        b.c.cambiarOpcion(Col::O, Seccion::CostesFijos1, 1, 2);
        QVERIFY(boton("OptionOA(2)")->isChecked());
        QVERIFY(!frame("FrameOAT")->isHidden());
        QVERIFY(frame("FrameOAA")->isHidden());
    }

    void desgloseDeSeguros()
    {
        Banco b;
        QVERIFY(b.preparar());
        b.mostrar(Seccion::CostesFijos2);
        auto boton = [&](const char *n) { return b.w<QRadioButton>(Seccion::CostesFijos2, QLatin1String(n)); };
        auto caja = [&](int i) { return b.caja(Seccion::CostesFijos2, Col::S, i); };
        QCOMPARE(caja(18)->text(), QStringLiteral("8.190,00"));
        QVERIFY(!caja(18)->isEnabled());

        boton("OptionSG(2)")->click();
        for (int i = 10; i <= 17; ++i) {
            QVERIFY(caja(i)->text().isEmpty());
            QVERIFY(!caja(i)->isEnabled());
        }
        QVERIFY(caja(18)->isEnabled());
        QVERIFY(!negrita(caja(18)));
        QCOMPARE(caja(18)->text(), QStringLiteral("8.190,00"));
        // A total above the typing limit of the box still shows whole.
        boton("OptionSD(2)")->click();
        b.c.ConfirmarCampo(kF2, F2::DietasYPlus, Valor(273200.0), b.c.columnaS()(kF2, F2::DietasYPlus));
        QCOMPARE(caja(8)->text(), QStringLiteral("273.200,00"));

        boton("OptionSG(1)")->click();
        QCOMPARE(caja(10)->text(), QStringLiteral("2.100,00"));
        QVERIFY(caja(10)->isEnabled());
        QVERIFY(!caja(18)->isEnabled());
        QCOMPARE(caja(18)->text(), QStringLiteral("8.190,00"));
        QVERIFY(boton("OptionSG(1)")->isChecked());
        QVERIFY(!boton("OptionOG(1)")->isEnabled());
    }

    void costesIndirectos()
    {
        Banco b;
        QVERIFY(b.preparar());
        FormularioBase *f = b.mostrar(Seccion::CostesIndirectos);
        auto etiqueta = [&](int k) { return b.w<QLabel>(Seccion::CostesIndirectos, QStringLiteral("Label%1").arg(k)); };
        for (int k = 1; k <= 14; ++k)
            QVERIFY(etiqueta(k));
        QVERIFY(etiqueta(6)->isHidden());
        QVERIFY(etiqueta(7)->isHidden());
        QCOMPARE(etiqueta(1)->geometry().topLeft(), twPoint(120, 1440));
        QCOMPARE(b.caja(kInd, Col::S, Ind::Total)->y(), tw(3540));
        QCOMPARE(b.w<QGroupBox>(Seccion::CostesIndirectos, QStringLiteral("FrameSI1"))->pos(), twPoint(1800, 300));

        b.w<QRadioButton>(Seccion::CostesIndirectos, QStringLiteral("OptionSI(2)"))->click();
        for (int k : {1, 2, 3, 5})
            QVERIFY(etiqueta(k)->isHidden());
        for (int i : {2, 3, 4})
            QVERIFY(b.caja(Seccion::CostesIndirectos, Col::S, i)->isHidden());
        QVERIFY(!etiqueta(4)->isHidden());
        QVERIFY(!etiqueta(6)->isHidden());
        QVERIFY(!etiqueta(7)->isHidden());
        QCOMPARE(etiqueta(6)->geometry(), twRect(1200, 1740, 2985, 1215));
        QVERIFY(b.caja(kInd, Col::S, Ind::Total)->isEnabled());
        QString esperado = b.c.comentario(Col::S);
        QVERIFY(esperado.startsWith(QStringLiteral("Los  Costes  Indirectos  anuales  representan  el\r\n")));
        esperado.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QCOMPARE(etiqueta(6)->text(), esperado);
        // The reference column is not touched.
        QVERIFY(etiqueta(13)->isHidden());
        QVERIFY(!etiqueta(8)->isHidden());

        // The comment follows a change made elsewhere when the form comes back.
        b.c.ConfirmarCampo(kF2, F2::Sueldo, Valor(100000.0), b.c.columnaS()(kF2, F2::Sueldo));
        f->activar();
        QVERIFY(etiqueta(6)->text() != esperado);
        QCOMPARE(etiqueta(6)->text(), QString(b.c.comentario(Col::S)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

        // The results hide the indirect items of that column only.
        FormularioBase *r = b.formulario(Seccion::Resultados);
        r->activar();
        for (int n : {11, 12, 13, 31, 32, 33}) {
            QVERIFY(r->findChild<QLabel *>(QStringLiteral("lblSR(%1)").arg(n))->isHidden());
            QVERIFY(!r->findChild<QLabel *>(QStringLiteral("lblOR(%1)").arg(n))->isHidden());
        }

        b.w<QRadioButton>(Seccion::CostesIndirectos, QStringLiteral("OptionSI(1)"))->click();
        QVERIFY(etiqueta(6)->isHidden());
        QVERIFY(etiqueta(6)->text().isEmpty());
        QVERIFY(etiqueta(7)->isHidden());
        for (int k : {1, 2, 3, 5})
            QVERIFY(!etiqueta(k)->isHidden());
        QCOMPARE(b.caja(kInd, Col::S, Ind::Total)->text(), QStringLiteral("12.100,00"));
        QVERIFY(!b.caja(kInd, Col::S, Ind::Total)->isEnabled());
        r->activar();
        QVERIFY(!r->findChild<QLabel *>(QStringLiteral("lblSR(11)"))->isHidden());

        // The reference column shows its comment in its "Total" mode, and
        // its rows again when it goes back.
        b.c.columnaParaPruebas(Col::O)(kInd, Ind::Desglosado) = Valor(false);
        b.c.columnaParaPruebas(Col::O)(kInd, Ind::Total) = Valor(9999.0);
        b.c.cambiarOpcion(Col::O, Seccion::CostesIndirectos, 1, 2);
        QCOMPARE(b.c.columnaO()(kRes, Res::Indirectos).n(), 9999.0); // its results follow
        QVERIFY(!etiqueta(13)->isHidden());
        QVERIFY(!etiqueta(14)->isHidden());
        QVERIFY(etiqueta(8)->isHidden());
        QVERIFY(b.caja(kInd, Col::O, Ind::Estructura)->isHidden());
        QVERIFY(etiqueta(13)->text().startsWith(QStringLiteral("Los  Costes  Indirectos")));
        b.c.columnaParaPruebas(Col::O)(kInd, Ind::Desglosado) = Valor(true);
        b.c.cambiarOpcion(Col::O, Seccion::CostesIndirectos, 1, 1);
        QVERIFY(etiqueta(13)->isHidden());
        QVERIFY(etiqueta(14)->isHidden());
        QVERIFY(!etiqueta(8)->isHidden());
    }

    // The results recompute when the form is painted after a change.
    void resultadosAlDiaSinRepintar()
    {
        Banco b;
        QVERIFY(b.preparar());
        FormularioBase *r = b.mostrar(Seccion::Resultados);
        auto *salario = r->findChild<QLabel *>(QStringLiteral("lblSR(3)"));
        QCOMPARE(salario->text(), QStringLiteral("39.000,00"));
        // The commit itself brings the results up to date; painting changes nothing.
        b.c.ConfirmarCampo(kF2, F2::Sueldo, Valor(41000.0), b.c.columnaS()(kF2, F2::Sueldo));
        QCOMPARE(salario->text(), QStringLiteral("41.000,00"));
        r->grab();
        QCOMPARE(salario->text(), QStringLiteral("41.000,00"));
        QCOMPARE(r->findChild<QLabel *>(QStringLiteral("lblSR(18)"))->text(),
                 FormatearNumero(b.c.columnaS()(kRes, Res::Totales), 2, true));
        // The unit costs have their colours.
        QCOMPARE(r->findChild<QLabel *>(QStringLiteral("lblSR(40)"))->palette().color(QPalette::WindowText),
                 QColor(192, 64, 0));
        QCOMPARE(r->findChild<QLabel *>(QStringLiteral("lblOR(48)"))->palette().color(QPalette::WindowText),
                 QColor(128, 128, 0));
    }

    void geometriaDeLaTarta()
    {
        const std::array<QSizeF, kSectoresTarta> tam = [] {
            std::array<QSizeF, kSectoresTarta> t;
            t.fill(QSizeF(600, 200));
            return t;
        }();
        std::array<double, kSectoresTarta> cuotas{};
        cuotas[0] = 25;
        cuotas[1] = 50;
        cuotas[3] = 12.5;
        cuotas[10] = 12.5;
        GeometriaTarta g = calcularTarta(3315, 2715, cuotas, tam);
        QCOMPARE(g.centroX, 1638.5);
        QCOMPARE(g.centroY, 1338.5);
        QCOMPARE(g.radio, 1038.5);
        const double T = 6.2831853072;
        const double d = 1038.5 + 50;
        // The first sector starts at 3 o'clock, the others follow counter-clockwise.
        QCOMPARE(g.sectores[0].inicio, 1e-11);
        QVERIFY(std::abs(g.sectores[0].fin - (1e-11 + T / 4)) < 1e-12);
        QCOMPARE(g.sectores[1].inicio, g.sectores[0].fin);
        QVERIFY(g.sectores[0].dibujado && g.sectores[1].dibujado && g.sectores[3].dibujado);
        QVERIFY(!g.sectores[2].dibujado); // zero share
        QVERIFY(g.sectores[10].dibujado);
        // Quadrant I (mid 45 degrees): label above and to the right.
        const double m0 = (g.sectores[0].inicio + g.sectores[0].fin) / 2;
        QVERIFY(std::abs(g.sectores[0].izquierda - float(1638.5 + d * std::cos(m0))) < 1e-3);
        QVERIFY(std::abs(g.sectores[0].arriba - float(1338.5 - 200 - d * std::sin(m0))) < 1e-3);
        // Mid exactly past 180 degrees: quadrant III, the label hangs left of its point.
        const double m1 = (g.sectores[1].inicio + g.sectores[1].fin) / 2;
        QVERIFY(m1 > 3.1415926536 / 2);
        QVERIFY(std::abs(g.sectores[1].izquierda - float(1638.5 - 600 + d * std::cos(m1))) < 1e-3);
        QVERIFY(std::abs(g.sectores[1].arriba - float(1338.5 - d * std::sin(m1))) < 1e-3);
        // Quadrant IV for the last one: right of and below its point.
        const double m10 = (g.sectores[10].inicio + g.sectores[10].fin) / 2;
        QVERIFY(m10 > 3 * 3.1415926536 / 2);
        QVERIFY(std::abs(g.sectores[10].izquierda - float(1638.5 + d * std::cos(m10))) < 1e-3);
        QVERIFY(std::abs(g.sectores[10].arriba - float(1338.5 - d * std::sin(m10))) < 1e-3);
        // Quadrant II.
        cuotas = {};
        cuotas[0] = 30;
        cuotas[1] = 10;
        g = calcularTarta(3315, 2715, cuotas, tam);
        const double m = (g.sectores[1].inicio + g.sectores[1].fin) / 2;
        QVERIFY(m > 3.1415926536 / 2 && m < 3.1415926536);
        QVERIFY(std::abs(g.sectores[1].izquierda - float(1638.5 - 600 + d * std::cos(m))) < 1e-3);
        QVERIFY(std::abs(g.sectores[1].arriba - float(1338.5 - 200 - d * std::sin(m))) < 1e-3);

        // Shares above 100 in all: the sector that passes a full turn ends
        // there and the later ones are not drawn.
        cuotas = {};
        cuotas[0] = 60;
        cuotas[1] = 50;
        cuotas[2] = 5;
        g = calcularTarta(3315, 2715, cuotas, tam);
        QCOMPARE(g.sectores[1].fin, T);
        QVERIFY(g.sectores[1].dibujado);
        QVERIFY(!g.sectores[2].dibujado);
        // A taller than wide picture takes its width for the diameter.
        g = calcularTarta(2000, 3000, cuotas, tam);
        QCOMPARE(g.radio, std::trunc(2000 - 38 - 600) / 2);
    }

    // A percentage label stands where its present caption puts it, also
    // after the staff cost changed while Resultados was hidden (a label
    // placed by its old caption's width overlapped its neighbour).
    void etiquetasDeLaTartaPorSuTextoActual()
    {
        Banco b;
        QVERIFY(b.preparar());
        b.mostrar(Seccion::Resultados);
        b.mostrar(Seccion::Caracteristicas);
        // 39.000 of 157.537,64 (24,8 %) becomes 1.000: the share's caption narrows.
        b.c.ConfirmarCampo(kF2, F2::Sueldo, Valor(1000.0), b.c.columnaS()(kF2, F2::Sueldo));
        FormularioBase *r = b.mostrar(Seccion::Resultados);
        auto *tarta = r->findChild<Tarta *>(QStringLiteral("PictureSR"));
        QCOMPARE(tarta->etiqueta(2)->text(), QStringLiteral("0,8%"));
        std::array<double, kSectoresTarta> cuotas{};
        std::array<QSizeF, kSectoresTarta> tam{};
        for (int k = 0; k < kSectoresTarta; ++k) {
            cuotas[k] = b.c.columnaS()(Seccion::Resultados, k < 10 ? 21 + k : 37).n();
            tam[k] = QSizeF(aTwips(tarta->etiqueta(k)->width()), aTwips(tarta->etiqueta(k)->height()));
        }
        const GeometriaTarta g = calcularTarta(aTwips(tarta->width()), aTwips(tarta->height()), cuotas, tam);
        for (int k = 0; k < kSectoresTarta; ++k)
            QCOMPARE(tarta->etiqueta(k)->pos(), QPoint(tarta->frameWidth() + tw(g.sectores[k].izquierda),
                                                       tarta->frameWidth() + tw(g.sectores[k].arriba)));
    }

    // The forms' frames give the pixels Fusion gives, whatever the box's
    // size, title, palette, pixel ratio or the picture drawn on.
    void marcosComoFusion()
    {
        if (!estiloMarcos())
            QSKIP("the application's style is not Fusion");
        struct Caso {
            QSize tamano;
            const char *titulo;
            bool marcable, oscura;
            double razon;
        };
        const Caso casos[] = {
            {{750, 713}, "Características Técnicas", false, false, 1}, {{346, 210}, "", false, false, 1},
            {{346, 210}, "Financiación", true, true, 1},           {{40, 30}, "Amortización", false, false, 1},
            {{20, 12}, "", false, true, 1},                          {{300, 120}, "Carburante", false, false, 2},
            {{300, 120}, "", false, true, 1.5},
        };
        std::vector<Caso> todos(std::begin(casos), std::end(casos));
        // Every height over a span of the bands the sides are drawn in.
        for (int alto = 150; alto < 150 + 66; ++alto)
            todos.push_back({{300, alto}, alto % 2 ? "Carburante" : "", false, false, 1});
        // Over a picture with and without alpha, as window systems keep them.
        for (const QImage::Format formato : {QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB32})
            for (const Caso &c : todos) {
                auto dibujo = [&](bool propio) {
                    QGroupBox caja(QString::fromUtf8(c.titulo));
                    caja.setCheckable(c.marcable);
                    if (propio)
                        ponerEstiloMarcos(&caja);
                    if (c.oscura)
                        caja.setPalette(QPalette(QColor(40, 40, 48)));
                    caja.resize(c.tamano);
                    QImage im(c.tamano * c.razon, formato);
                    im.setDevicePixelRatio(c.razon);
                    im.fill(QColor(192, 192, 255));
                    caja.render(&im, QPoint(), QRegion(), QWidget::DrawChildren);
                    return im;
                };
                QVERIFY2(dibujo(true) == dibujo(false), c.titulo);
            }
    }

    // The forms' line edits drawn through that style give Fusion's pixels:
    // copied from a panel drawn before when under them is one colour (the
    // same box over other colours, at other places), drawn by Fusion when not.
    void camposComoFusion()
    {
        if (!estiloMarcos())
            QSKIP("the application's style is not Fusion");
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        QLineEdit campo;
        const QStyle::State activo = QStyle::State_Enabled | QStyle::State_Active;
        const QColor lila(192, 192, 255), amarillo(255, 255, 192);
        const struct {
            QSize tamano;
            QStyle::State estado;
            bool oscura;
            QColor fondo; // invalid: a gradient
            QPoint en;
        } casos[] = {
            {{80, 24}, activo, false, lila, {3, 5}},
            {{80, 24}, activo, false, amarillo, {0, 0}},
            {{80, 24}, activo, false, lila, {11, 2}},
            {{80, 24}, activo | QStyle::State_HasFocus, false, lila, {1, 1}},
            {{80, 24}, QStyle::State_Active, true, lila, {7, 1}},
            {{120, 30}, activo | QStyle::State_ReadOnly, false, amarillo, {2, 2}},
            {{120, 30}, activo, true, QColor(), {4, 4}},
            {{6, 4}, activo, false, lila, {0, 0}},
        };
        for (const QImage::Format formato : {QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB32})
            for (const auto &c : casos) {
                auto dibujo = [&](const QStyle *estilo) {
                    QImage im(c.tamano + QSize(16, 16), formato);
                    for (int y = 0; y < im.height(); ++y)
                        for (int x = 0; x < im.width(); ++x)
                            im.setPixel(x, y, c.fondo.isValid() ? c.fondo.rgb() : qRgb(4 * x, 6 * y, 200));
                    QStyleOptionFrame o;
                    o.initFrom(&campo);
                    o.rect = QRect(QPoint(), c.tamano);
                    o.state = c.estado;
                    o.lineWidth = 1;
                    if (c.oscura)
                        o.palette = QPalette(QColor(40, 40, 48));
                    QPainter p(&im);
                    p.translate(c.en);
                    estilo->drawPrimitive(QStyle::PE_PanelLineEdit, &o, &p, &campo);
                    return im;
                };
                QVERIFY2(dibujo(estiloMarcos()) == dibujo(fusion.get()), qPrintable(QString::number(&c - casos)));
            }
    }

    // Each form drawn whole gives the pixels of Fusion's own frames (the
    // boxes nest, and each inside is filled as the colour the tint leaves).
    void formulariosComoFusion()
    {
        if (!estiloMarcos())
            QSKIP("the application's style is not Fusion");
        Banco b;
        QVERIFY(b.preparar());
        for (int s = 0; s < kNumSecciones; ++s) {
            FormularioBase *f = b.mostrar(Seccion(s));
            const QList<QGroupBox *> cajas = f->findChildren<QGroupBox *>();
            QVERIFY(!cajas.isEmpty());
            // As built, and in the colours the main window gives the form shown.
            for (bool mostrado : {false, true}) {
                if (mostrado)
                    f->aspectoMostrado(QColor(255, 255, 192), QColor(192, 192, 255));
                // The whole form, and a small piece of each box, drawn alone.
                auto dibujo = [&] {
                    QList<QImage> r{f->grab().toImage()};
                    for (QGroupBox *g : cajas)
                        r << g->grab(QRect(g->width() / 2, g->height() / 2, 9, 9)).toImage();
                    return r;
                };
                const QList<QImage> propio = dibujo();
                for (QGroupBox *g : cajas)
                    g->setStyle(nullptr);
                const QList<QImage> fusion = dibujo();
                for (QGroupBox *g : cajas)
                    ponerEstiloMarcos(g);
                QVERIFY2(propio == fusion, qPrintable(f->objectName()));
            }
        }
    }

    // The pies of the form: labels captioned, coloured and placed from the geometry.
    void tartasDelFormulario()
    {
        Banco b;
        QVERIFY(b.preparar());
        FormularioBase *r = b.mostrar(Seccion::Resultados);
        const int casillas[kSectoresTarta] = {21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 37};
        for (Col col : {Col::S, Col::O}) {
            const QString l = col == Col::S ? QStringLiteral("S") : QStringLiteral("O");
            auto *tarta = r->findChild<Tarta *>(QStringLiteral("Picture%1R").arg(l));
            QVERIFY(tarta);
            QCOMPARE(tarta->size(), twSize(3315, 2715));
            const GeometriaTarta &g = tarta->geometria();
            double suma = 0;
            for (int k = 0; k < kSectoresTarta; ++k) {
                auto *e = tarta->findChild<QLabel *>(QStringLiteral("lblPic%1(%2)").arg(l).arg(k));
                QVERIFY(e);
                QCOMPARE(e, tarta->etiqueta(k));
                const Valor &v = b.c.columna(col)(Seccion::Resultados, casillas[k]);
                QCOMPARE(e->text(), FormatearNumero(v, 1, true) + QStringLiteral("%"));
                auto *muestra = r->findChild<QLabel *>(QStringLiteral("Colores(%1)").arg(k));
                auto *leyenda = r->findChild<QLabel *>(QStringLiteral("Leyenda(%1)").arg(k));
                QVERIFY(muestra && leyenda);
                // Each text stands a little lower than its swatch.
                QCOMPARE(muestra->geometry(), twRect(60, 5640 + 240 * k, 255, 225));
                QCOMPARE(leyenda->pos(), twPoint(480, 5700 + 240 * k));
                const QColor color = muestra->palette().color(QPalette::Window);
                QCOMPARE(e->palette().color(QPalette::WindowText), color);
                QCOMPARE(leyenda->palette().color(QPalette::WindowText), color);
                QCOMPARE(e->pos(), QPoint(tarta->frameWidth() + tw(g.sectores[k].izquierda),
                                          tarta->frameWidth() + tw(g.sectores[k].arriba)));
                suma += v.n();
                QCOMPARE(g.sectores[k].dibujado, v.n() > 0);
            }
            QVERIFY(std::abs(g.sectores[10].fin - std::min(suma, 100.0) * 6.2831853072 / 100) < 1e-9);
        }
        QCOMPARE(r->findChild<QLabel *>(QStringLiteral("Colores(0)"))->palette().color(QPalette::Window), QColor(0, 0, 255));
        // Keys on a swatch or a pie scroll the form.
        QVERIFY(QTest::qWaitForWindowActive(&b.ventana));
        QSignalSpy teclas(r, &FormularioBase::teclaScroll);
        auto *muestra = r->findChild<QLabel *>(QStringLiteral("Colores(3)"));
        muestra->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(muestra, Qt::Key_PageDown);
        auto *tarta = r->findChild<Tarta *>(QStringLiteral("PictureOR"));
        tarta->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(tarta, Qt::Key_Up);
        QCOMPARE(teclas.count(), 2);
        QCOMPARE(teclas.at(1).at(0).toInt(), int(Qt::Key_Up));
        QCOMPARE(r->findChild<QLabel *>(QStringLiteral("Leyenda(10)"))->text(), QStringLiteral("Costes indirectos"));
    }
};

QTEST_MAIN(PruebaFormularios)

#include "prueba_formularios.moc"
