// What a screen reader is told, through Qt's accessibility interface: the
// boxes by their row and column, the option buttons with their group, the
// section bar, the pies' shares and every control of the dialogs.
#include "ayudantes.h"
#include "calculo/campos.h"
#include "entrada/numeros.h"
#include "interfaz/analisis/ventanacomparar.h"
#include "interfaz/analisis/ventanasensibilidad.h"
#include "interfaz/dialogos/cifrasreferencia.h"
#include "interfaz/dialogos/dialogoarchivo.h"
#include "interfaz/dialogos/dialogos.h"
#include "interfaz/formularios/campo.h"
#include "interfaz/formularios/formulario.h"
#include "interfaz/formularios/tarta.h"
#include "interfaz/soporte/twips.h"
#include "interfaz/ventana/barrasecciones.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <functional>
#include <memory>

using namespace pelmora;

Q_DECLARE_METATYPE(std::function<QDialog *(pelmora::Calculo &)>)

namespace {

const QString kColumnaO = QStringLiteral(", Vededizaviro de Costes");

QString texto(QWidget *w, QAccessible::Text t = QAccessible::Name)
{
    QAccessibleInterface *i = QAccessible::queryAccessibleInterface(w);
    return i ? i->text(t) : QString();
}

// A box's name without the reference column's ending.
QString nombreSinColumna(CampoTexto *caja)
{
    const QString n = texto(caja);
    return caja->columna() == Col::O ? n.chopped(kColumnaO.size()) : n;
}

// The caption a sighted user reads for a box: the nearest label on its left
// on the same line of its frame, else the title of the frame around it.
QString leyendaDeFila(const QWidget *caja)
{
    const int medio = caja->geometry().center().y();
    const QLabel *mejor = nullptr;
    for (const QLabel *l : caja->parentWidget()->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        const QRect g = l->geometry();
        if (!l->text().isEmpty() && g.right() < caja->x() && g.top() <= medio && g.bottom() >= medio &&
            (!mejor || g.right() > mejor->geometry().right()))
            mejor = l;
    }
    if (mejor)
        return mejor->text();
    for (const QWidget *w = caja->parentWidget(); w; w = w->parentWidget())
        if (auto *g = qobject_cast<const QGroupBox *>(w); g && !g->title().isEmpty())
            return g->title();
    return {};
}

// The seven forms of a calculation opened from the reference file.
struct Formularios {
    Calculo c;
    QWidget ventana;
    std::array<FormularioBase *, kNumSecciones> f{};
    bool abrir()
    {
        if (!prueba::abrirReferencia(c, 1))
            return false;
        for (const DatosSeccion &d : kSecciones)
            f[ord(d.seccion)] = crearFormulario(d.seccion, c, &ventana);
        return true;
    }
    CampoTexto *caja(Seccion s, int i, Col col) const { return prueba::caja(f[ord(s)], s, i, col); }
};

// Every control of a dialog that takes the focus, its parts aside (the
// line of a spin box, the viewport of a list).
QList<QWidget *> controles(QWidget *dialogo)
{
    QList<QWidget *> r;
    for (QWidget *w : dialogo->findChildren<QWidget *>()) {
        bool parte = false;
        for (QWidget *p = w->parentWidget(); p && p != dialogo; p = p->parentWidget())
            parte = parte || qobject_cast<QComboBox *>(p) || qobject_cast<QAbstractSpinBox *>(p) ||
                    qobject_cast<QAbstractScrollArea *>(p);
        if (!parte && w->focusPolicy() != Qt::NoFocus)
            r << w;
    }
    return r;
}

} // namespace

class PruebaAccesible : public QObject {
    Q_OBJECT

    prueba::CapturaMensajes mensajes_;

private slots:
    void initTestCase()
    {
        prueba::fijarEspanol();
        fijarPuntosPorPulgada(96);
    }

    void cajasPorFilaYColumna_data()
    {
        QTest::addColumn<Seccion>("seccion");
        for (Seccion s : {kCar, kF1, kF2, kVar, kInd, kServ})
            QTest::newRow(datosSeccion(s).formulario) << s;
    }

    // Every box starts with the caption of its row on screen; the reference
    // column's end with the column; its tool tip is its description; two
    // boxes read alike only when they are the same field in both columns.
    void cajasPorFilaYColumna()
    {
        QFETCH(Seccion, seccion);
        Formularios b;
        QVERIFY(b.abrir());
        const QList<CampoTexto *> cajas = b.f[ord(seccion)]->findChildren<CampoTexto *>();
        QMap<QString, CampoTexto *> vistas;
        int habilitadas = 0;
        for (CampoTexto *caja : cajas) {
            const QString nombre = texto(caja);
            const QString fila = leyendaDeFila(caja);
            QVERIFY2(!fila.isEmpty() && nombre.startsWith(fila), qPrintable(caja->objectName() + ": " + nombre));
            QVERIFY2(nombre.endsWith(kColumnaO) == (caja->columna() == Col::O), qPrintable(nombre));
            habilitadas += caja->isEnabled() ? 1 : 0;
            QCOMPARE(texto(caja, QAccessible::Description), b.caja(seccion, caja->indice(), Col::S)->toolTip());
            const QString base = nombreSinColumna(caja);
            QVERIFY2(!vistas.contains(nombre), qPrintable(nombre));
            vistas[nombre] = caja;
            for (CampoTexto *antes : vistas)
                QVERIFY2((nombreSinColumna(antes) == base) == (antes->indice() == caja->indice()),
                         qPrintable(base + " / " + texto(antes)));
        }
        QCOMPARE(vistas.size(), cajas.size());
        QVERIFY(habilitadas > 0);
    }

    void nombresExactos_data()
    {
        QTest::addColumn<Seccion>("seccion");
        QTest::addColumn<int>("indice");
        QTest::addColumn<Col>("columna");
        QTest::addColumn<QString>("nombre");
        const struct {
            Seccion s;
            int i;
            Col c;
            const char *nombre;
        } filas[] = {
            {kF1, F1::PrecioAutocar, Col::O, "Precio de adquisición sin IVA (Euros), Vededizaviro de Costes"},
            {kF1, F1::FinanciadoEquipos, Col::S, "Capital a financiar, Euros, Equipos auxiliares"},
            {kCar, Car::KmFacturados, Col::S, "Kilómetros facturados de los recorridos al año, kilómetros"},
            {kCar, Car::Explotacion, Col::S, "Descripción, Características de explotación del autocar"},
            {kF2, F2::OtrosFiscales, Col::S, "Otros, Costes anuales (Euros), Costes fiscales"},
            {kVar, Var::PrecioDireccional, Col::O,
             "Direccionales, Precio sin IVA de un neumático (Euros / unidad), Neumáticos, Vededizaviro de Costes"},
            {kVar, Var::ReparacionesPorKm, Col::S, "Reparaciones y conservación, Coste kilométrico sin IVA (Euros / km)"},
            {kInd, 2, Col::S,
             "Coste anual de estructura de empresa (gestión, administración, ...) repercutible a este autocar, Euros"},
            {kServ, Serv::campo(1, Serv::Km), Col::S, "Kilómetros facturados a este servicio, Servicio 2"},
            {kServ, Serv::campo(4, Serv::PrecioHoras), Col::S,
             "Horas, Servicio 5, COSTE DEL SERVICIO según el tipo de facturación (Euros)"},
        };
        for (const auto &f : filas)
            QTest::addRow("%s(%d)", datosSeccion(f.s).codigo, f.i) << f.s << f.i << f.c << QString::fromUtf8(f.nombre);
    }

    void nombresExactos()
    {
        QFETCH(Seccion, seccion);
        QFETCH(int, indice);
        QFETCH(Col, columna);
        QFETCH(QString, nombre);
        Formularios b;
        QVERIFY(b.abrir());
        QCOMPARE(texto(b.caja(seccion, indice, columna)), nombre);
    }

    // Each option button says its group, then its caption, then the column
    // in the reference one; a few of them word for word.
    void botonesDeOpcion()
    {
        Formularios b;
        QVERIFY(b.abrir());
        int vistos = 0;
        for (FormularioBase *f : b.f)
            for (QRadioButton *r : f->findChildren<QRadioButton *>()) {
                const QString nombre = texto(r);
                const bool o = r->objectName().startsWith(QLatin1String("OptionO"));
                const QString fin = QStringLiteral(": ") + r->text() + (o ? kColumnaO : QString());
                QVERIFY2(nombre.endsWith(fin) && nombre.size() > fin.size(), qPrintable(nombre));
                ++vistos;
            }
        QCOMPARE(vistos, 6 * 2 * 2);
        const struct {
            Seccion s;
            const char *boton, *nombre;
        } exactos[] = {
            {kF1, "OptionSA(1)", "Forma de adquisición del autocar: Compra"},
            {kF1, "OptionOE(2)",
             "Forma de adquisición de los equipos auxiliares: Otra forma (alquiler, ...), Vededizaviro de Costes"},
            {kF2, "OptionSD(1)", "Dietas y plus de actividad: Desglosado"},
            {kF2, "OptionSG(2)", "Seguros: Total"},
            {kF2, "OptionOF(1)", "Costes fiscales: Desglosado, Vededizaviro de Costes"},
            {kInd, "OptionSI(2)", "Costes indirectos: Total"},
        };
        for (const auto &e : exactos) {
            auto *r = b.f[ord(e.s)]->findChild<QRadioButton *>(QLatin1String(e.boton));
            QVERIFY2(r, e.boton);
            QCOMPARE(texto(r), QString::fromUtf8(e.nombre));
        }
    }

    // The section buttons: their caption, the frame they stand in, and which
    // form is shown.
    void barraDeSecciones()
    {
        BarraSecciones barra;
        const QString todos = QStringLiteral("Costes repercutidos a todos los servicios");
        const QString mostrado = QStringLiteral("formulario mostrado");
        for (Seccion activa : {kCar, kRes, kServ}) {
            barra.resaltar(activa, Qt::yellow);
            for (const DatosSeccion &d : kSecciones) {
                auto *b = barra.findChild<QPushButton *>(QLatin1String(d.boton));
                QVERIFY(b);
                QCOMPARE(texto(b), QString::fromUtf8(d.titulo));
                const QString desc = texto(b, QAccessible::Description);
                QCOMPARE(desc.contains(todos), repercutidaATodos(d.seccion));
                QCOMPARE(desc.contains(mostrado), d.seccion == activa);
            }
        }
        barra.apagar();
        for (QPushButton *b : barra.findChildren<QPushButton *>())
            QVERIFY(!texto(b, QAccessible::Description).contains(mostrado));
    }

    // Each figure of Resultados is read out by its row, column and unit.
    void cifrasDeResultados()
    {
        Formularios b;
        QVERIFY(b.abrir());
        FormularioBase *r = b.f[ord(kRes)];
        const struct {
            const char *etiqueta, *nombre;
        } cifras[] = {
            {"lblSR(7)", "Combustible, Cálculo Personalizado, euros"},
            {"lblOR(27)", "Combustible, Vededizaviro de Costes, porcentaje"},
            {"lblSR(18)", "Costes Totales repercutibles a todos los servicios, Cálculo Personalizado, euros"},
            {"lblSR(45)", "C2, Cálculo Personalizado, €/km"},
            {"lblOR(41)", "Kilometraje anual, Vededizaviro de Costes"},
            {"lblSR(39)", "Viajeros-Kilometro anuales, Cálculo Personalizado"},
        };
        for (const auto &c : cifras) {
            auto *l = r->findChild<QLabel *>(QString::fromUtf8(c.etiqueta));
            QVERIFY2(l, c.etiqueta);
            QCOMPARE(texto(l), QString::fromUtf8(c.nombre));
        }
    }

    // Each pie lists every legend with its percentage as the pie shows it,
    // and follows the figures; the legend's swatches are read out by name.
    void tartas()
    {
        Formularios b;
        QVERIFY(b.abrir());
        FormularioBase *r = b.f[ord(kRes)];
        auto comprobar = [&] {
            for (Col c : {Col::S, Col::O}) {
                auto *t = r->findChild<Tarta *>(QStringLiteral("Picture%1R").arg(QChar(c == Col::S ? u'S' : u'O')));
                QCOMPARE(texto(t), QStringLiteral("Gráfico de los costes anuales, ") + QString::fromUtf8(tituloDeColumna(c)));
                const QStringList partes = texto(t, QAccessible::Description).split(QStringLiteral("; "));
                QCOMPARE(partes.size(), kSectoresTarta);
                for (int k = 0; k < kSectoresTarta; ++k)
                    QCOMPARE(partes[k], QString::fromUtf8(kPorcionesTarta[k].leyenda) + QStringLiteral(": ") +
                                            FormatearNumero(b.c.columna(c)(kRes, kPorcionesTarta[k].cuota), 1, true) +
                                            QLatin1Char('%'));
            }
        };
        comprobar();
        if (QTest::currentTestFailed())
            return;
        b.c.ConfirmarCampo(kF2, F2::Sueldo, Valor(1000.0), b.c.columnaS()(kF2, F2::Sueldo));
        QVERIFY(texto(r->findChild<Tarta *>(QStringLiteral("PictureSR")), QAccessible::Description)
                    .contains(QStringLiteral("Personal de a bordo: 0,8%")));
        comprobar();
        for (int k = 0; k < kSectoresTarta; ++k)
            QCOMPARE(texto(r->findChild<QLabel *>(QStringLiteral("Colores(%1)").arg(k))),
                     QString::fromUtf8(kPorcionesTarta[k].leyenda));
    }

    void dialogos_data()
    {
        using Fabrica = std::function<QDialog *(Calculo &)>;
        QTest::addColumn<Fabrica>("fabrica");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("nombre");
        const auto fila = [](const QByteArray &n, Fabrica f, const char *control, const char *nombre) {
            QTest::newRow(n.constData()) << f << QString::fromUtf8(control) << QString::fromUtf8(nombre);
        };
        fila("frmNueva", [](Calculo &) { return new DialogoNueva; }, "opbGrabada", "Cálculo previamente grabado");
        fila("frmTipoVeh", [](Calculo &) { return new DialogoTipoVehiculo([](int) { return ErrorArchivo::Ninguno; }); }, "cmbVehiculos(1)",
             "Autocar de 39 a 55 plazas");
        for (const char *modo : {"abrir", "grabar"})
            fila(QByteArray("frmArchivo ") + modo,
                 [=](Calculo &c) { return new DialogoArchivo(QLatin1String(modo), QStringLiteral(PELMORA_BIN), prueba::accionSobre(c, QLatin1String(modo))); },
                 "File1", "Archivo");
        fila("frmMensaje", [](Calculo &) {
            return new DialogoMensaje(QStringLiteral("Este fichero ya existe."), QStringLiteral("Error"));
        }, "picAlarma", "Error");
        fila("frmPreguntaGrabar", [](Calculo &) { return new PreguntaGrabar(QStringLiteral("Cerrar")); }, "cmbNo",
             "No");
        fila("frmAbout", [](Calculo &) { return new DialogoAcercaDe; }, "cmbAceptar", "Aceptar");
        fila("frmImportarReferencia", [](Calculo &c) {
            return new DialogoImportarReferencia(nullptr, prueba::referencia(1), c.columnaS(), c.columnaO(),
                                                 QStringLiteral(PELMORA_BIN "/Vededizaviro"));
        }, "optCategoria(0)", "Número de plazas del autocar (incluido el conductor): Más de 55");
        fila("frmRestablecerReferencia", [](Calculo &) { return new DialogoRestablecerReferencia(nullptr); },
             "optTodas", "Número de plazas del autocar (incluido el conductor): Todas las categorías");
        fila("frmSensibilidad",
             [](Calculo &c) { return new VentanaSensibilidad(c, [] { return QString(); }, nullptr); },
             "grdSensibilidad", "Tabla de sensibilidad");
        fila("frmComparar", [](Calculo &) { return new VentanaComparar(nullptr); }, "lstCalculos",
             "Cálculos comparados");
    }

    // Every control that takes the focus has a name (a drop-down list's
    // is its own, a screen reader reads its choice as its text); one of
    // each dialog word for word.
    void dialogos()
    {
        QFETCH(std::function<QDialog *(Calculo &)>, fabrica);
        QFETCH(QString, control);
        QFETCH(QString, nombre);
        Calculo c;
        QVERIFY(prueba::abrirReferencia(c, 1));
        std::unique_ptr<QDialog> d(fabrica(c));
        const QList<QWidget *> todos = controles(d.get());
        QVERIFY(!todos.isEmpty());
        for (QWidget *w : todos) {
            const QString n = qobject_cast<QComboBox *>(w) ? w->accessibleName() : texto(w);
            QVERIFY2(!n.trimmed().isEmpty(), qPrintable(w->objectName() + " " + w->metaObject()->className()));
        }
        QWidget *w = d->findChild<QWidget *>(control);
        QVERIFY(w);
        QCOMPARE(texto(w), nombre);
    }

    // What the file dialog's labels say names its lists and boxes; the
    // messages and the save question go with the button that has the focus.
    void etiquetasYMensajes()
    {
        Calculo c;
        DialogoArchivo d(QStringLiteral("grabar"), QStringLiteral(PELMORA_BIN), prueba::accionSobre(c, QStringLiteral("grabar")));
        const std::pair<const char *, const char *> rotulos[] = {
            {"TextArchivo", "Nombre del archivo"}, {"File1", "Archivo"}, {"Dir1", "Directorio"}, {"Drive1", "Unidad"}};
        for (const auto &[control, rotulo] : rotulos) {
            auto *w = d.findChild<QWidget *>(QLatin1String(control));
            QCOMPARE(w->accessibleName(), QString::fromUtf8(rotulo));
            bool etiquetado = false;
            for (QLabel *l : d.findChildren<QLabel *>())
                etiquetado = etiquetado || (l->buddy() == w && l->text() == QString::fromUtf8(rotulo));
            QVERIFY2(etiquetado, control);
        }
        DialogoMensaje m(QStringLiteral("No se ha seleccionado un fichero."), QStringLiteral("Error"));
        QCOMPARE(texto(m.findChild<QPushButton *>(QStringLiteral("cmbAceptar")), QAccessible::Description),
                 QStringLiteral("No se ha seleccionado un fichero."));
        PreguntaGrabar p(QStringLiteral("Cerrar"));
        QCOMPARE(texto(p.findChild<QPushButton *>(QStringLiteral("cmbSi")), QAccessible::Description),
                 QStringLiteral("Se han modificado los datos. ¿Quieres guardar los cambios realizados?"));
    }
};

QTEST_MAIN(PruebaAccesible)

#include "prueba_accesible.moc"
