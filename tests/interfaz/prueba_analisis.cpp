// The windows of the analyses: the menu items, the tornado chart of the
// sensitivity window (its order, its sides, following the calculation), the
// comparison window's table and bars against the engine, and what both
// write (CSV bytes equal to the core's, a failed write, PDF text).
#include "analisis/exportar.h"
#include "analisis/rotulos.h"
#include "archivos/archivo.h"
#include "archivos/referencia.h"
#include "ayudantes.h"
#include "bytes.h"
#include "calculo/catalogo.h"
#include "entrada/numeros.h"
#include "interfaz/analisis/tornado.h"
#include "interfaz/analisis/ventanacomparar.h"
#include "interfaz/analisis/ventanasensibilidad.h"
#include "interfaz/formularios/campo.h"
#include "interfaz/formularios/formulario.h"
#include "interfaz/impresion/exportacion.h"
#include "interfaz/impresion/impresion.h"
#include "interfaz/soporte/medidas.h"
#include "interfaz/soporte/rutas.h"
#include "interfaz/ventana/ventanaprincipal.h"

#include <QSet>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProcess>
#include <QSignalSpy>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QTableWidget>
#include <QtTest>
#include <cmath>

using namespace pelmora;

namespace {

using prueba::leerBytes;

VentanaSensibilidad *sensibilidad(VentanaPrincipal &w)
{
    return w.findChild<VentanaSensibilidad *>(QStringLiteral("frmSensibilidad"));
}

VentanaComparar *comparar(VentanaPrincipal &w)
{
    return w.findChild<VentanaComparar *>(QStringLiteral("frmComparar"));
}

// A sensitivity of one entry on a total annual cost of 100: each side's
// total, or NaN for a refused side.
Sensibilidad unaEntrada(double bajo, double alto)
{
    Sensibilidad s;
    s.base[Res::Totales - 1] = Valor(100.0);
    EntradaSensibilidad e;
    e.seccion = kVar;
    e.indice = Var::PrecioCarburante;
    e.etiqueta = QStringLiteral("Precio del carburante con IVA");
    e.valor = 1;
    for (auto [lado, x] : {std::pair{&e.bajo, bajo}, std::pair{&e.alto, alto}}) {
        lado->posible = !std::isnan(x);
        lado->mensaje = lado->posible ? QString() : QStringLiteral("No.");
        if (lado->posible)
            lado->resultados[Res::Totales - 1] = Valor(x);
    }
    s.entradas = {e};
    return s;
}

// Which side of the axis a box lies on: -1 left, +1 right, 0 none (empty).
int lado(const QRectF &r, double eje)
{
    if (r.isNull() || r.isEmpty())
        return 0;
    if (r.right() <= eje + 0.5)
        return -1;
    return r.left() >= eje - 0.5 ? 1 : 99;
}

QString conSigno(double x)
{
    const QString t = FormatearNumero(Valor(x), 1, true);
    return (x > 0 && t != FormatearNumero(Valor(0.0), 1, true) ? QStringLiteral("+") : QString()) + t +
           QStringLiteral(" %");
}

} // namespace

class PruebaAnalisis : public QObject, prueba::EntornoVentana {
    Q_OBJECT

    QString enCalculos(const QString &n) const { return carpeta_.filePath(QStringLiteral("Cálculos/") + n); }

    // A calculation file of category k (chooser order) whose coach costs precio.
    QString grabar(const QString &nombre, int k, double precio)
    {
        Calculo c;
        if (AbrirArchivo(c, rutaReferencia(QString::fromUtf8(kCategorias[k].archivo))) != ErrorArchivo::Ninguno)
            return QString();
        c.ConfirmarCampo(kF1, F1::PrecioAutocar, Valor(precio), c.columnaS()(kF1, F1::PrecioAutocar));
        return GrabarCalculo(c, enCalculos(nombre)) == ErrorArchivo::Ninguno ? enCalculos(nombre) : QString();
    }

    // A calculation of 39 to 55 seats open, six driven tyres (so that -10 %
    // gives an odd number, which is refused), and its sensitivity window.
    VentanaSensibilidad *abrirSensibilidad(VentanaPrincipal &w)
    {
        if (!prueba::abrirCategoria(w, 1))
            return nullptr;
        Calculo &c = w.calculo();
        c.ConfirmarCampo(kVar, Var::NeumaticosMotrices, Valor(6.0), c.columnaS()(kVar, Var::NeumaticosMotrices));
        w.accion(QStringLiteral("mnuSensibilidad"))->trigger();
        return sensibilidad(w);
    }

    // The engine's sensitivity of the open calculation, in the order of figure n.
    static Sensibilidad esperada(const Calculo &c, double p, int n)
    {
        Sensibilidad s = calcularSensibilidad(c, p);
        s.ordenar(n);
        return s;
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
        fijarSeparadores(QLocale());
        QVERIFY(prepararCarpeta());
        QVERIFY(QDir().mkpath(carpeta_.filePath(QStringLiteral("Cálculos"))));
    }
    void init() { reiniciar(); }
    void cleanup() { terminar(); }

    // ---- Menus ----------------------------------------------------------------------

    void menus_data()
    {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<bool>("sin");     // enabled without a calculation
        QTest::addColumn<bool>("con");     // with one
        QTest::addColumn<bool>("elector"); // while the category chooser is up
        QTest::newRow("Análisis") << "mnuAnalisis" << "Análisis" << true << true << true;
        QTest::newRow("Sensibilidad") << "mnuSensibilidad" << "Sensibilidad..." << false << true << false;
        QTest::newRow("Comparar") << "mnuCompararCalculos" << "Comparar cálculos..." << true << true << true;
        QTest::newRow("Exportar a CSV") << "mnuExportarCsv" << "Exportar a CSV..." << false << true << false;
    }
    void menus()
    {
        QFETCH(QString, nombre);
        QFETCH(QString, titulo);
        QFETCH(bool, sin);
        QFETCH(bool, con);
        QFETCH(bool, elector);
        VentanaPrincipal w;
        QAction *a = w.accion(nombre);
        QVERIFY(a);
        QCOMPARE(sinMnemonico(a->text()), titulo);
        QCOMPARE(a->isEnabled(), sin);
        w.nuevoCalculo();
        QCOMPARE(a->isEnabled(), elector);
        QVERIFY(prueba::abrirCategoria(w, 1));
        QCOMPARE(a->isEnabled(), con);
        // "Análisis" is the last menu of the bar, with its two items.
        const QList<QAction *> barra = w.menuBar()->actions();
        QCOMPARE(barra.constLast()->menu()->objectName(), QStringLiteral("mnuAnalisis"));
        QCOMPARE(barra.constLast()->menu()->actions().size(), 2);
    }

    // Every control of both windows can be told apart: a name, and a text
    // or an accessible name.
    void nombresDeLosControles()
    {
        VentanaPrincipal w;
        QVERIFY(abrirSensibilidad(w));
        w.accion(QStringLiteral("mnuCompararCalculos"))->trigger();
        for (QDialog *d : {static_cast<QDialog *>(sensibilidad(w)), static_cast<QDialog *>(comparar(w))}) {
            for (QWidget *c : d->findChildren<QWidget *>()) {
                if (c->focusPolicy() == Qt::NoFocus || c->objectName().startsWith(QLatin1String("qt_")) ||
                    !c->parentWidget() || c->parentWidget()->inherits("QAbstractSpinBox") ||
                    c->parentWidget()->inherits("QComboBox") || qobject_cast<QAbstractScrollArea *>(c->parentWidget()))
                    continue;
                const QString texto = c->property("text").toString();
                QVERIFY2(!c->objectName().isEmpty(), qPrintable(texto + QStringLiteral(" ") + c->metaObject()->className()));
                QVERIFY2(!c->accessibleName().isEmpty() || !texto.isEmpty(), qPrintable(c->objectName()));
            }
        }
    }

    // ---- The tornado ----------------------------------------------------------------

    // One entry worked by hand on a total of 100: where each side's bar
    // and text go.
    void ladosDelTornado_data()
    {
        QTest::addColumn<double>("bajo");
        QTest::addColumn<double>("alto");
        QTest::addColumn<int>("barraBajo"); // side of the axis of each bar (0: none)
        QTest::addColumn<int>("barraAlto");
        QTest::addColumn<int>("textoBajo"); // side of each text (0: none)
        QTest::addColumn<int>("textoAlto");
        const double no = std::nan("");
        QTest::newRow("el coste sube con la entrada") << 90.0 << 110.0 << -1 << 1 << -1 << 1;
        QTest::newRow("el coste baja con la entrada") << 110.0 << 95.0 << 1 << -1 << 1 << -1;
        QTest::newRow("los dos lados suben") << 104.0 << 110.0 << 1 << 1 << 0 << 1;
        QTest::newRow("los dos lados suben lo mismo") << 110.0 << 110.0 << 1 << 1 << 0 << 1;
        QTest::newRow("los dos lados bajan lo mismo") << 90.0 << 90.0 << -1 << -1 << 0 << -1;
        QTest::newRow("sin efecto") << 100.0 << 100.0 << 0 << 0 << 0 << 0;
        QTest::newRow("bajo rechazado") << no << 110.0 << 0 << 1 << -1 << 1;
        QTest::newRow("alto rechazado") << 90.0 << no << -1 << 0 << -1 << 1;
        QTest::newRow("alto rechazado, bajo a la derecha") << 105.0 << no << 1 << 0 << 1 << -1;
        QTest::newRow("los dos rechazados") << no << no << 0 << 0 << -1 << 1;
    }
    void ladosDelTornado()
    {
        QFETCH(double, bajo);
        QFETCH(double, alto);
        QFETCH(int, barraBajo);
        QFETCH(int, barraAlto);
        QFETCH(int, textoBajo);
        QFETCH(int, textoAlto);
        const Sensibilidad s = unaEntrada(bajo, alto);
        const double ancho = 600;
        const GeometriaTornado g = disponerTornado(s, Res::Totales, ancho, QApplication::font());
        QCOMPARE(g.barras.size(), size_t(1));
        const BarraTornado &b = g.barras[0];
        // The axis stands at the base on the plot's scale.
        QVERIFY(std::fabs(g.eje - (g.trazado.left() + (100 - g.minimo) / (g.maximo - g.minimo) * g.trazado.width())) <
                1e-6);
        QCOMPARE(lado(b.bajo.barra, g.eje), barraBajo);
        QCOMPARE(lado(b.alto.barra, g.eje), barraAlto);
        QCOMPARE(lado(b.bajo.texto.isEmpty() ? QRectF() : b.bajo.caja, g.eje), textoBajo);
        QCOMPARE(lado(b.alto.texto.isEmpty() ? QRectF() : b.alto.caja, g.eje), textoAlto);
        // A bar runs from the axis to its figure, labelled with the figure;
        // a refused side is marked as such.
        for (const auto &[l, x] : {std::pair{&b.bajo, bajo}, std::pair{&b.alto, alto}}) {
            QCOMPARE(l->posible, !std::isnan(x));
            if (!l->posible) {
                QCOMPARE(l->texto, QStringLiteral("no posible"));
            } else if (!l->barra.isEmpty()) {
                const double extremo = x > 100 ? l->barra.right() : l->barra.left();
                QVERIFY(std::fabs(extremo - (g.trazado.left() + (x - g.minimo) / (g.maximo - g.minimo) *
                                                                   g.trazado.width())) < 1e-6);
                if (!l->texto.isEmpty())
                    QCOMPARE(l->texto, FormatearNumero(Valor(x), 2, true));
            }
        }
        // Nothing of the row overlaps anything else, and all of it is inside.
        QList<QRectF> cajas = {b.cajaEtiqueta};
        for (const LadoTornado *l : {&b.bajo, &b.alto})
            if (!l->texto.isEmpty())
                cajas << l->caja;
        QList<QRectF> barras;
        for (const LadoTornado *l : {&b.bajo, &b.alto})
            if (!l->barra.isEmpty())
                barras << l->barra;
        for (int i = 0; i < cajas.size(); ++i) {
            QVERIFY(cajas[i].left() >= 0 && cajas[i].right() <= ancho);
            for (int j = i + 1; j < cajas.size(); ++j)
                QVERIFY2(!cajas[i].intersects(cajas[j]), qPrintable(QString::number(i) + "/" + QString::number(j)));
            for (const QRectF &r : barras)
                QVERIFY(!cajas[i].intersects(r));
        }
    }

    // The chart laid out at one width after another gives each time the
    // captions of a chart laid out afresh at that width: what it keeps from
    // one layout to the next never shows.
    void tornadoComoRecienDispuesto()
    {
        VentanaPrincipal w;
        VentanaSensibilidad *v = abrirSensibilidad(w);
        QVERIFY(v);
        GraficoTornado *t = v->grafico();
        QSet<int> anchos;
        for (const int ancho : {1400, 500, 1400, 420, 900, 500}) {
            v->resize(ancho, v->height());
            QCoreApplication::processEvents();
            anchos << t->width();
            const GeometriaTornado &g = t->geometria();
            const GeometriaTornado nueva = disponerTornado(v->sensibilidad(), v->cifra(), t->width(), t->font());
            QCOMPARE(g.barras.size(), nueva.barras.size());
            const QFontMetricsF fm(t->font());
            for (size_t k = 0; k < g.barras.size(); ++k) {
                const BarraTornado &b = g.barras[k];
                QCOMPARE(b.etiqueta, nueva.barras[k].etiqueta);
                // Whole when it fits its column, else broken into lines that do.
                const QString entera = v->sensibilidad().entradas[size_t(b.entrada)].etiqueta;
                if (fm.horizontalAdvance(entera) <= b.cajaEtiqueta.width())
                    QCOMPARE(b.etiqueta, entera);
                else
                    for (const QString &l : b.etiqueta.split(u'\n'))
                        QVERIFY2(fm.horizontalAdvance(l) <= b.cajaEtiqueta.width() + 0.5, qPrintable(l));
            }
        }
        QVERIFY2(anchos.size() >= 3, "the chart took other widths");
    }

    // A narrow window (a small screen, or large letters): the captions of
    // the chart take more lines rather than being cut to a few letters, and
    // the table's figures are in view beside the entries.
    void tornadoEstrecho()
    {
        VentanaPrincipal w;
        VentanaSensibilidad *v = abrirSensibilidad(w);
        QVERIFY(v);
        const QFont letra = QApplication::font();
        const GeometriaTornado g = disponerTornado(v->sensibilidad(), Res::Totales, 320, letra);
        const QFontMetricsF fm(letra);
        bool visto = false;
        for (const BarraTornado &b : g.barras) {
            const QString entera = v->sensibilidad().entradas[size_t(b.entrada)].etiqueta;
            const QStringList lineas = b.etiqueta.split(u'\n');
            QVERIFY2(lineas.size() <= 3, qPrintable(b.etiqueta));
            // Nothing wider than its column, nor taller than its row.
            for (const QString &l : lineas)
                QVERIFY(fm.horizontalAdvance(l) <= b.cajaEtiqueta.width() + 0.5);
            QVERIFY(fm.height() * lineas.size() <= b.fila.height());
            if (entera == QStringLiteral("Kilómetros anuales")) {
                QCOMPARE(b.etiqueta, QStringLiteral("Kilómetros\nanuales"));
                visto = true;
            }
        }
        QVERIFY(visto);
        // The entry's value, and the start of its moved values, are in view.
        v->show();
        QTableWidget *t = v->tabla();
        QVERIFY(t->columnViewportPosition(3) + t->columnWidth(3) <= t->viewport()->width());
        QVERIFY(t->columnViewportPosition(4) < t->viewport()->width());
    }

    // The chart keeps what it measured between layouts: after another
    // sensitivity, figure, width or font it lays out, and asks for the
    // height, as a fresh layout does.
    void tornadoRecordadoComoRecienDispuesto()
    {
        VentanaPrincipal w;
        VentanaSensibilidad *v = abrirSensibilidad(w);
        QVERIFY(v);
        const Sensibilidad a = v->sensibilidad();
        Sensibilidad b = esperada(w.calculo(), 40, Res::C2);
        b.entradas.resize(b.entradas.size() / 2);
        QFont grande = QApplication::font();
        grande.setPointSizeF(grande.pointSizeF() * 1.5);
        const struct {
            const Sensibilidad *s;
            int cifra, ancho;
            bool grande;
        } pasos[] = {{&a, Res::Totales, 600, false}, {&a, Res::Totales, 320, false}, {&b, Res::C2, 320, false},
                     {&b, Res::C2, 320, true},       {&a, Res::C5, 900, true}};
        GraficoTornado g;
        g.show();
        for (const auto &p : pasos) {
            g.mostrar(p.s, p.cifra);
            g.setFont(p.grande ? grande : QApplication::font());
            g.resize(p.ancho, 100);
            QVERIFY(g.geometria() == disponerTornado(*p.s, p.cifra, p.ancho, g.font()));
            for (int ancho : {250, 320, 600, 900})
                QCOMPARE(g.heightForWidth(ancho), int(disponerTornado(*p.s, p.cifra, ancho, g.font()).tamano.height()));
        }
    }

    // The table's delegate asks for the size Qt's own does, and its style
    // places the parts of a cell where the application's does, text by text,
    // in each font and at each size.
    void celdasMedidasComoEnQt()
    {
        QTableWidget t(1, 1);
        DelegadoMedido medido;
        QStyledItemDelegate qt;
        EstiloMedido estilo(QStyleFactory::create(QApplication::style()->name()));
        QFont grande = QApplication::font();
        grande.setPointSizeF(grande.pointSizeF() * 2);
        for (const QFont &letra : {QApplication::font(), grande, QApplication::font()}) {
            // The same text again, and with a font of its own (measured as such).
            for (const auto &[x, propia] : {std::pair{QStringLiteral("1.234,56"), false},
                                            {QStringLiteral("Kilómetros anuales"), false}, {QString(), false},
                                            {QStringLiteral("1.234,56"), false}, {QStringLiteral("1.234,56"), true}}) {
                t.setItem(0, 0, new QTableWidgetItem(x));
                if (propia)
                    t.item(0, 0)->setFont(grande);
                QStyleOptionViewItem o;
                o.initFrom(&t);
                o.font = letra;
                o.widget = &t;
                const QModelIndex i = t.model()->index(0, 0);
                QCOMPARE(medido.sizeHint(o, i), qt.sizeHint(o, i));
                o.text = x;
                o.features = QStyleOptionViewItem::HasDisplay;
                for (const Qt::Alignment a : {Qt::AlignLeft | Qt::AlignVCenter, Qt::AlignRight | Qt::AlignVCenter}) {
                    o.displayAlignment = a;
                    for (const QRect &r : {QRect(0, 0, 40, 20), QRect(10, 30, 300, 24)}) {
                        o.rect = r;
                        for (QStyle::SubElement e : {QStyle::SE_ItemViewItemText, QStyle::SE_ItemViewItemFocusRect}) {
                            const QRect esperado = QApplication::style()->subElementRect(e, &o, &t);
                            QCOMPARE(estilo.subElementRect(e, &o, &t), esperado);
                        }
                    }
                }
            }
        }
    }

    // The table's style draws each cell as the application's style does,
    // pixel for pixel (cut short or whole, dimmed, aligned either way,
    // selected or not, enabled or not, in each font), and again once it
    // keeps the cells' texts.
    void celdasPintadasComoEnQt()
    {
        QFont grande = QApplication::font();
        grande.setPointSizeF(grande.pointSizeF() * 1.5);
        const struct {
            int ancho;
            bool seleccion, habilitada, grande;
        } casos[] = {{60, false, true, false}, {140, true, true, false}, {45, true, false, true},
                     {220, false, true, true}};
        const QString textos[] = {QStringLiteral("Kilómetros anuales recorridos"), QStringLiteral("1.234.567,89"),
                                  QStringLiteral("no posible"), QStringLiteral("Ñ")};
        for (const auto &c : casos) {
            auto pintada = [&](QStyle *estilo, int veces) {
                QTableWidget t(4, 3);
                t.setStyle(estilo);
                t.setAlternatingRowColors(true);
                t.setWordWrap(false);
                t.setFont(c.grande ? grande : QApplication::font());
                for (int f = 0; f < 4; ++f) {
                    for (int k = 0; k < 3; ++k) {
                        auto *celda = new QTableWidgetItem(textos[(f + k) % 4]);
                        celda->setTextAlignment(k == 1 ? Qt::AlignRight | Qt::AlignVCenter
                                                       : Qt::AlignLeft | Qt::AlignVCenter);
                        if (f == 2 && k == 2)
                            celda->setForeground(kColorNoPosible);
                        t.setItem(f, k, celda);
                    }
                    t.setColumnWidth(f % 3, c.ancho + 10 * f);
                }
                if (c.seleccion)
                    t.selectRow(1);
                t.setEnabled(c.habilitada);
                t.resize(600, 200);
                QImage imagen;
                for (int k = 0; k < veces; ++k)
                    imagen = t.grab().toImage();
                return imagen;
            };
            std::unique_ptr<QStyle> base(QStyleFactory::create(QApplication::style()->name()));
            EstiloMedido medido(QStyleFactory::create(QApplication::style()->name()));
            const QImage esperada = pintada(base.get(), 1);
            QVERIFY(pintada(&medido, 1) == esperada);
            QVERIFY(pintada(&medido, 2) == esperada);
        }
    }

    // A figure remembered is written as FormatearNumero writes it: each
    // value, sign of zero and number of places, with the separators of each
    // locale, the first time and again.
    void cifrasEscritasComoFormatearNumero()
    {
        const double valores[] = {0.0, -0.0, 1234.5, -1234.5, 0.125, 987654321.987, 1e-9, std::nan(""), 5e300};
        for (const QLocale &l : {QLocale(QLocale::Spanish, QLocale::Spain), QLocale(QLocale::English), QLocale::c(),
                                 QLocale(QLocale::Spanish, QLocale::Spain)}) {
            fijarSeparadores(l);
            for (int vuelta = 0; vuelta < 2; ++vuelta)
                for (double x : valores)
                    for (int d : {0, 2, 3})
                        QCOMPARE(cifraEscrita(x, d), FormatearNumero(Valor(x), d, true));
        }
    }

    // The figure over the chart reads as a label in any palette, after the
    // window's colours change too: its text in the window's text colour and
    // nothing else drawn; it can be selected, not changed.
    void textoSeleccionableComoEtiqueta()
    {
        QWidget ventana;
        auto *t = new TextoSeleccionable(&ventana);
        t->setText(QStringLiteral("Coste total anual actual: 1.234.567,89 €"));
        t->resize(t->fontMetrics().horizontalAdvance(t->text()) + 40, t->sizeHint().height());
        for (const QColor boton : {QColor(Qt::white), QColor(40, 40, 48)}) {
            ventana.setPalette(QPalette(boton));
            for (int g = 0; g < QPalette::NColorGroups; ++g) {
                const auto grupo = QPalette::ColorGroup(g);
                QCOMPARE(t->palette().color(grupo, QPalette::Text), ventana.palette().color(grupo, QPalette::WindowText));
                QCOMPARE(t->palette().brush(grupo, QPalette::Base).style(), Qt::NoBrush);
            }
            const QImage im = t->grab().toImage();
            const QRgb fondo = ventana.palette().color(QPalette::Window).rgb();
            for (const QPoint p : {QPoint(0, 0), QPoint(im.width() - 1, 0), QPoint(im.width() - 1, im.height() - 1)})
                QCOMPARE(im.pixel(p), fondo);
        }
        QVERIFY(t->isReadOnly());
        t->selectAll();
        QCOMPARE(t->selectedText(), t->text());
    }

    // Texts drawn from kept layouts are what the painter draws, pixel for
    // pixel: each alignment, on whole and fractional places, boxes too short
    // or too narrow for them, on one line or more, in each font, and again
    // once laid out.
    void textosDispuestosComoElPintor()
    {
        QFont negrita = QApplication::font(), grande = QApplication::font();
        negrita.setBold(true);
        grande.setPointSizeF(grande.pointSizeF() * 1.7);
        const int alineaciones[] = {Qt::AlignCenter, Qt::AlignRight | Qt::AlignVCenter,
                                    Qt::AlignLeft | Qt::AlignVCenter,
                                    Qt::AlignLeft | Qt::AlignTop, Qt::AlignRight | Qt::AlignBottom};
        const QRectF cajas[] = {{3, 4, 150, 22}, {10.37, 7.81, 61.5, 13.2}, {0.5, 30.25, 20, 60},
                                {7.7, 2.4, 90.3, 40.6}};
        const QString textos[] = {QStringLiteral("1.234.567,89"),
                                  QStringLiteral("Kilómetros anuales\nrecorridos\nen línea"),
                                  QStringLiteral("no posible"), QStringLiteral("Entrada −10 %\tÑ")};
        TextosDispuestos dispuestos;
        for (int vuelta = 0; vuelta < 2; ++vuelta) {
            for (const QFont &letra : {QApplication::font(), negrita, grande}) {
                for (const QString &t : textos) {
                    for (int a : alineaciones) {
                        for (const QRectF &r : cajas) {
                            std::array<QImage, 2> imagenes;
                            for (size_t k = 0; k < 2; ++k) {
                                imagenes[k] = QImage(180, 110, QImage::Format_ARGB32_Premultiplied);
                                imagenes[k].fill(Qt::white);
                                QPainter p(&imagenes[k]);
                                p.setFont(letra);
                                if (k == 0)
                                    p.drawText(r, a, t);
                                else
                                    dispuestos.dibujar(p, r, a, t);
                            }
                            QVERIFY2(imagenes[0] == imagenes[1], qPrintable(t + QString::number(a)));
                        }
                    }
                }
            }
        }
    }

    // The window's chart and table for each figure: the engine's entries,
    // the largest swing on top, the same order in the table.
    void tornadoEnOrdenDeOscilacion_data()
    {
        QTest::addColumn<int>("cifra");
        for (int n : kCifrasSensibilidad)
            QTest::newRow(qPrintable(nombreCifra(n))) << n;
    }
    void tornadoEnOrdenDeOscilacion()
    {
        QFETCH(int, cifra);
        VentanaPrincipal w;
        VentanaSensibilidad *v = abrirSensibilidad(w);
        QVERIFY(v);
        v->elegirCifra(cifra);
        const Sensibilidad s = esperada(w.calculo(), 10, cifra);
        const GeometriaTornado &g = v->grafico()->geometria();
        QCOMPARE(g.barras.size(), s.entradas.size());
        QCOMPARE(v->tabla()->rowCount(), int(s.entradas.size()));
        bool rechazado = false;
        for (size_t k = 0; k < g.barras.size(); ++k) {
            const BarraTornado &b = g.barras[k];
            const EntradaSensibilidad &e = v->sensibilidad().entradas[size_t(b.entrada)];
            QCOMPARE(std::pair(e.seccion, e.indice), std::pair(s.entradas[k].seccion, s.entradas[k].indice));
            QCOMPARE(v->tabla()->item(int(k), 0)->text(), s.entradas[k].etiqueta);
            if (k > 0) {
                QVERIFY(b.fila.top() >= g.barras[k - 1].fila.bottom());
                QVERIFY(s.oscilacion(s.entradas[k], cifra) <= s.oscilacion(s.entradas[k - 1], cifra));
            }
            if (e.seccion == kVar && e.indice == Var::NeumaticosMotrices) {
                // Five tyres are refused: that side is marked, its message in the table.
                QVERIFY(!b.bajo.posible && b.bajo.texto == QStringLiteral("no posible"));
                QVERIFY(v->tabla()->item(int(k), 9)->text().contains(mensajeEnUnaLinea(e.bajo.mensaje)));
                rechazado = true;
            }
        }
        QVERIFY(rechazado);
    }

    // The columns keep the widths Qt gives their contents while the figures
    // grow, shrink, change font or order (the entry and its section no wider
    // than 24 and 12 letters).
    void anchosSiguenAlContenido()
    {
        VentanaPrincipal w;
        VentanaSensibilidad *v = abrirSensibilidad(w);
        QVERIFY(v);
        Calculo &c = w.calculo();
        QTableWidget *t = v->tabla();
        QFont grande = t->font();
        grande.setPointSizeF(grande.pointSizeF() * 1.3);
        const struct {
            double km;
            int cifra, porcentaje;
            bool grande;
        } pasos[] = {{110000, Res::Totales, 10, false}, {9000, Res::Totales, 10, false},
                     {990000, Res::Totales, 10, false}, {120000, Res::Totales, 10, true},
                     {120000, Res::C5, 10, true},       {40000, Res::C5, 35, true}};
        for (const auto &p : pasos) {
            const int antes = v->veces();
            t->setFont(p.grande ? grande : QFont());
            c.ConfirmarCampo(kCar, Car::KmAnuales, Valor(p.km + 1), c.columnaS()(kCar, Car::KmAnuales));
            c.ConfirmarCampo(kCar, Car::KmAnuales, Valor(p.km), c.columnaS()(kCar, Car::KmAnuales));
            v->elegirCifra(p.cifra);
            v->elegirPorcentaje(p.porcentaje);
            QTRY_VERIFY(v->veces() > antes);
            for (int k = 0; k < t->columnCount(); ++k) {
                const int contenido = std::max(static_cast<const QAbstractItemView &>(*t).sizeHintForColumn(k),
                                               t->horizontalHeader()->sectionSizeHint(k));
                const int letras = k == 0 ? 24 : k == 1 ? 12 : 1000;
                QVERIFY2(t->columnWidth(k) == std::min(contenido, letras * v->fontMetrics().averageCharWidth()),
                         qPrintable(QStringLiteral("columna %1, paso %2").arg(k).arg(&p - pasos)));
            }
        }
    }

    // P and the figure are chosen in the window: P works the sensitivity
    // out again, the figure re-sorts it; the table's headings and figures follow.
    void porcentajeYCifra_data()
    {
        QTest::addColumn<int>("porcentaje");
        QTest::addColumn<int>("cifra");
        QTest::newRow("10 %, coste total") << 10 << int(Res::Totales);
        QTest::newRow("25 %, C2") << 25 << int(Res::C2);
        QTest::newRow("1 %, C5") << 1 << int(Res::C5);
        QTest::newRow("99 %, C1") << 99 << int(Res::C1);
    }
    void porcentajeYCifra()
    {
        QFETCH(int, porcentaje);
        QFETCH(int, cifra);
        VentanaPrincipal w;
        VentanaSensibilidad *v = abrirSensibilidad(w);
        QVERIFY(v);
        auto *spin = v->findChild<QSpinBox *>(QStringLiteral("spnPorcentaje"));
        QCOMPARE(spin->value(), 10);
        QCOMPARE(std::pair(spin->minimum(), spin->maximum()), std::pair(1, 99));
        const int antes = v->veces();
        v->elegirPorcentaje(porcentaje);
        v->elegirCifra(cifra);
        QTRY_COMPARE(v->veces(), antes + (porcentaje == 10 ? 0 : 1));
        const Sensibilidad s = esperada(w.calculo(), porcentaje, cifra);
        // Each column as wide as Qt makes it for its contents; the entry and
        // its section no wider than 24 and 12 letters.
        QTableWidget *t = v->tabla();
        for (int k = 0; k < t->columnCount(); ++k) {
            const int ancho = t->columnWidth(k);
            t->resizeColumnToContents(k);
            const int letras = k == 0 ? 24 : k == 1 ? 12 : 1000;
            QCOMPARE(ancho, std::min(t->columnWidth(k), letras * v->fontMetrics().averageCharWidth()));
        }
        QCOMPARE(v->sensibilidad().porcentaje, double(porcentaje));
        QCOMPARE(v->tabla()->horizontalHeaderItem(6)->text(), nombreCifra(cifra) + ' ' + rotuloLado(porcentaje, false));
        for (size_t k = 0; k < s.entradas.size(); ++k) {
            const EntradaSensibilidad &e = s.entradas[k];
            QCOMPARE(v->tabla()->item(int(k), 0)->text(), e.etiqueta);
            for (auto [columna, l] : {std::pair{6, &e.bajo}, std::pair{7, &e.alto}})
                QCOMPARE(v->tabla()->item(int(k), columna)->text(),
                         l->posible ? FormatearNumero(l->resultados[size_t(cifra - 1)], decimalesResultado(cifra), true)
                                    : QStringLiteral("no posible"));
        }
    }

    // The window follows the calculation: a value typed and committed,
    // several commits in one turn of the event loop worked out once, and
    // it goes when the calculation is closed; one window at a time.
    void sigueAlCalculo()
    {
        VentanaPrincipal w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        VentanaSensibilidad *v = abrirSensibilidad(w);
        QVERIFY(v);
        QCOMPARE(v->veces(), 1);
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.MostrarSeccion(kVar);
        prueba::teclear(prueba::caja(w.frmActiva(), kVar, Var::PrecioCarburante), QStringLiteral("1,9"), Qt::Key_Return);
        QCOMPARE(w.calculo().columnaS()(kVar, Var::PrecioCarburante).n(), 1.9);
        QTRY_COMPARE(v->veces(), 2);
        QCOMPARE(v->sensibilidad().base, resultadosDe(w.calculo().columnaS()));
        QCOMPARE(sensibilidadCsv(v->sensibilidad()), sensibilidadCsv(esperada(w.calculo(), 10, Res::Totales)));

        Calculo &c = w.calculo();
        c.ConfirmarCampo(kCar, Car::KmAnuales, Valor(120000.0), c.columnaS()(kCar, Car::KmAnuales));
        c.ConfirmarCampo(kF1, F1::PrecioAutocar, Valor(310000.0), c.columnaS()(kF1, F1::PrecioAutocar));
        QCOMPARE(v->veces(), 2);
        QCoreApplication::processEvents();
        QCOMPARE(v->veces(), 3);
        QCOMPARE(v->sensibilidad().base, resultadosDe(c.columnaS()));

        w.accion(QStringLiteral("mnuSensibilidad"))->trigger();
        QCOMPARE(w.findChildren<VentanaSensibilidad *>().size(), 1);
        QPointer<VentanaSensibilidad> vigilada(v);
        pregunta_.respuestas = {PreguntaGrabar::No};
        w.cerrarCalculo();
        QVERIFY(!w.calculoAbierto());
        QTRY_VERIFY(!vigilada);
    }

    // A commit tells the view once per cell whose text changed; every cell's
    // tool tip is its text, and refused sides and messages are dimmed.
    void celdasAvisanUnaVezPorTexto()
    {
        VentanaPrincipal w;
        VentanaSensibilidad *v = abrirSensibilidad(w);
        QVERIFY(v);
        QTableWidget *t = v->tabla();
        auto textos = [t] {
            QStringList r;
            for (int f = 0; f < t->rowCount(); ++f)
                for (int k = 0; k < t->columnCount(); ++k)
                    r << t->item(f, k)->text();
            return r;
        };
        const QStringList antes = textos();
        QSignalSpy avisos(t->model(), &QAbstractItemModel::dataChanged);
        Calculo &c = w.calculo();
        c.ConfirmarCampo(kCar, Car::KmAnuales, Valor(123456.0), c.columnaS()(kCar, Car::KmAnuales));
        QTRY_COMPARE(v->veces(), 2);
        const QStringList despues = textos();
        qsizetype distintos = 0;
        for (qsizetype k = 0; k < antes.size(); ++k)
            distintos += antes[k] != despues[k];
        QVERIFY(distintos > 0);
        QCOMPARE(avisos.size(), distintos);
        bool apagadas = false;
        for (int f = 0; f < t->rowCount(); ++f)
            for (int k = 0; k < t->columnCount(); ++k) {
                const QTableWidgetItem *celda = t->item(f, k);
                QCOMPARE(celda->toolTip(), celda->text());
                const bool apagada = celda->text() == "no posible" || k == t->columnCount() - 1;
                apagadas |= celda->text() == "no posible";
                QCOMPARE(celda->data(Qt::ForegroundRole), apagada ? QVariant(QBrush(kColorNoPosible)) : QVariant());
            }
        QVERIFY(apagadas);
    }

    // ---- The comparison ----------------------------------------------------------------

    // The open calculation (edited, unsaved) beside two files: every figure
    // and percentage of the table is the engine's, the reference coach is
    // the first one's, and the open column follows its edits.
    void tablaDeLaComparacion()
    {
        const QString a = grabar(QStringLiteral("a.clc"), 0, 410000), b = grabar(QStringLiteral("b.clc"), 3, 150000);
        QVERIFY(!a.isEmpty() && !b.isEmpty());
        VentanaPrincipal w;
        QVERIFY(prueba::abrirCategoria(w, 1));
        Calculo &c = w.calculo();
        c.ConfirmarCampo(kVar, Var::Consumo, Valor(33.0), c.columnaS()(kVar, Var::Consumo));
        w.accion(QStringLiteral("mnuCompararCalculos"))->trigger();
        VentanaComparar *v = comparar(w);
        QVERIFY(v && v->isVisible());
        QCOMPARE(v->lista()->count(), 1);
        QVERIFY(!v->findChild<QPushButton *>(QStringLiteral("cmbExportarCsv"))->isEnabled());
        const auto archivos = interceptorArchivosComparar.interceptar([&](const QString &) { return QStringList{a, b}; });
        v->findChild<QPushButton *>(QStringLiteral("cmbAnadir"))->click();
        QCOMPARE(v->lista()->count(), 3);
        QVERIFY(v->findChild<QPushButton *>(QStringLiteral("cmbExportarCsv"))->isEnabled());

        auto comprobar = [&] {
            const std::vector<CifrasColumna> cols = {compararCalculo(c, {}).usuario, compararArchivo(a).usuario,
                                                     compararArchivo(b).usuario, compararCalculo(c, {}).referencia};
            QTableWidget *t = v->tabla();
            QCOMPARE(t->columnCount(), 2 + int(cols.size()));
            QCOMPARE(t->rowCount(), int(std::size(kFilasComparacion)));
            QVERIFY(t->horizontalHeaderItem(2 + 3)->text().startsWith(QStringLiteral("Vededizaviro de Costes")));
            for (int f = 0; f < t->rowCount(); ++f) {
                const int n = kFilasComparacion[f];
                QCOMPARE(t->item(f, 0)->text(), rotuloResultado(n).etiqueta);
                for (int k = 0; k < int(cols.size()); ++k) {
                    const Valor x = cols[size_t(k)].mostrado(n), x0 = cols[0].mostrado(n);
                    QString esperado = x.vacio() ? QString() : FormatearNumero(x, decimalesResultado(n), true);
                    if (k > 0 && !x.vacio() && !x0.vacio() && x0.n() != 0)
                        esperado += '\n' + conSigno((x.n() - x0.n()) / std::fabs(x0.n()) * 100);
                    QCOMPARE(t->item(f, 2 + k)->text(), esperado);
                }
            }
        };
        comprobar();
        QCOMPARE(v->tabla()->item(15, 2)->text(), FormatearNumero(c.columnaS()(kRes, Res::Totales), 2, true));
        // An edit of the open calculation reaches its column.
        c.ConfirmarCampo(kF1, F1::PrecioAutocar, Valor(333000.0), c.columnaS()(kF1, F1::PrecioAutocar));
        QTRY_COMPARE(v->tabla()->item(15, 2)->text(), FormatearNumero(c.columnaS()(kRes, Res::Totales), 2, true));
        comprobar();

        // Moved down, the open calculation is no longer the base; ticked
        // off it goes, and with the calculation closed it cannot come back.
        v->mover(0, +1);
        QCOMPARE(v->comparados()[0].ruta, a);
        v->incluirAbierto()->setChecked(false);
        QCOMPARE(v->lista()->count(), 2);
        v->incluirAbierto()->setChecked(true);
        QCOMPARE(v->lista()->count(), 3);
        pregunta_.respuestas = {PreguntaGrabar::No};
        w.cerrarCalculo();
        QCOMPARE(v->lista()->count(), 2);
        QVERIFY(!v->incluirAbierto()->isEnabled());
    }

    // A file that cannot be read gets the reader's message and stays out;
    // no more than eight calculations, and no file twice.
    void archivosQueNoEntran()
    {
        const QString bueno = grabar(QStringLiteral("bueno.clc"), 1, 300000);
        const QString malo = enCalculos(QStringLiteral("malo.clc"));
        QFile f(malo);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("no es un cálculo\r\n") > 0);
        f.close();
        VentanaPrincipal w;
        w.compararCalculos();
        VentanaComparar *v = comparar(w);
        QVERIFY(!v->anadirArchivos({bueno, malo}));
        QCOMPARE(v->lista()->count(), 1);
        QCOMPARE(mensajes_.titulos(), QStringList{QStringLiteral("Error")});
        QVERIFY(mensajes_[0].texto.contains(QDir::toNativeSeparators(malo)));
        QVERIFY(mensajes_[0].texto.contains(compararArchivo(malo).error));
        mensajes_.clear();
        QVERIFY(!v->anadirArchivos({bueno}));
        QCOMPARE(v->lista()->count(), 1);
        QCOMPARE(mensajes_.size(), 1);
        QStringList muchos;
        for (int k = 0; k < 9; ++k)
            muchos << grabar(QStringLiteral("n%1.clc").arg(k), k % 4, 200000 + 1000 * k);
        mensajes_.clear();
        QVERIFY(!v->anadirArchivos(muchos));
        QCOMPARE(v->lista()->count(), VentanaComparar::kMaximo);
        QCOMPARE(mensajes_.size(), 1);
        QVERIFY(mensajes_[0].texto.contains(QDir::toNativeSeparators(muchos.constLast())));
        QVERIFY(!v->findChild<QPushButton *>(QStringLiteral("cmbAnadir"))->isEnabled());
    }

    // The stacked bars: one per column, the pies' colours in the pies'
    // order, each item's height its share of the total.
    void barrasEnLosColoresDeLaTarta()
    {
        const QString a = grabar(QStringLiteral("c.clc"), 2, 250000);
        VentanaPrincipal w;
        QVERIFY(prueba::abrirCategoria(w, 1));
        w.compararCalculos();
        VentanaComparar *v = comparar(w);
        QVERIFY(v->anadirArchivos({a}));
        // The colours the results form shows in its legend and pies.
        QWidget *resultados = w.formulario(kRes);
        QList<QColor> tarta;
        for (int k = 0; k < kSectoresTarta; ++k)
            tarta << resultados->findChild<QLabel *>(QStringLiteral("Colores(%1)").arg(k))->palette().color(QPalette::Window);
        const GeometriaBarras &g = v->grafico()->geometria();
        const std::vector<ColumnaComparada> cols = v->columnas();
        QCOMPARE(g.barras.size(), size_t(3));
        QCOMPARE(g.leyenda.size(), size_t(kSectoresTarta));
        for (size_t b = 0; b < g.barras.size(); ++b) {
            const BarraApilada &barra = g.barras[b];
            QCOMPARE(barra.segmentos.size(), size_t(kSectoresTarta));
            for (int k = 0; k < kSectoresTarta; ++k) {
                const SegmentoBarra &s = barra.segmentos[size_t(k)];
                QCOMPARE(s.color, tarta[k]);
                QCOMPARE(g.leyenda[size_t(k)].color, tarta[k]);
                const double cuota = cols[b].cifras.resultados[size_t(kPorcionesTarta[size_t(k)].cuota - 1)].n();
                QVERIFY2(std::fabs(s.caja.height() - cuota / 100 * g.trazado.height()) < 1e-3 * g.trazado.height(),
                         qPrintable(QString::number(k)));
                if (k > 0) // stacked bottom up, without gaps
                    QVERIFY(std::fabs(s.caja.bottom() - barra.segmentos[size_t(k - 1)].caja.top()) < 1e-9);
            }
        }
    }

    // ---- What the windows write -----------------------------------------------------------

    // Each "Exportar a CSV..." writes, through the save dialog's hook, the
    // bytes the core builds.
    void csvComoElNucleo_data()
    {
        QTest::addColumn<QString>("origen");
        QTest::newRow("Archivo") << "archivo";
        QTest::newRow("Sensibilidad") << "sensibilidad";
        QTest::newRow("Comparación") << "comparacion";
    }
    void csvComoElNucleo()
    {
        QFETCH(QString, origen);
        const QString otro = grabar(QStringLiteral("otro.clc"), 0, 380000);
        VentanaPrincipal w;
        QVERIFY(prueba::abrirCategoria(w, 1));
        Calculo &c = w.calculo();
        c.ConfirmarCampo(kVar, Var::PrecioCarburante, Valor(1.55), c.columnaS()(kVar, Var::PrecioCarburante));
        const QString ruta = carpeta_.filePath(QStringLiteral("salida")); // ".csv" is added
        QStringList propuestas;
        const auto hook = interceptorArchivoCsv.interceptar([&](const QString &p) {
            propuestas << p;
            return ruta;
        });
        QByteArray esperado;
        if (origen == QLatin1String("archivo")) {
            w.accion(QStringLiteral("mnuExportarCsv"))->trigger();
            esperado = calculoCsv(c);
        } else if (origen == QLatin1String("sensibilidad")) {
            w.mostrarSensibilidad();
            sensibilidad(w)->elegirCifra(Res::C4);
            sensibilidad(w)->findChild<QPushButton *>(QStringLiteral("cmbExportarCsv"))->click();
            esperado = sensibilidadCsv(esperada(c, 10, Res::C4));
        } else {
            w.compararCalculos();
            QVERIFY(comparar(w)->anadirArchivos({otro}));
            comparar(w)->findChild<QPushButton *>(QStringLiteral("cmbExportarCsv"))->click();
            const CalculoComparado abierto = comparar(w)->comparados()[0];
            QCOMPARE(abierto.usuario.resultados, resultadosDe(c.columnaS()));
            esperado = documentoCsv({cabeceraComparacion(), filaComparacion(abierto, Col::S),
                                     filaComparacion(compararArchivo(otro), Col::S), filaComparacion(abierto, Col::O)},
                                    formatoCsv());
        }
        QCOMPARE(propuestas.size(), 1);
        QVERIFY(propuestas[0].endsWith(QLatin1String(".csv")));
        QVERIFY(mensajes_.isEmpty());
        QCOMPARE(leerBytes(ruta + QStringLiteral(".csv")), esperado);
        QFile::remove(ruta + QStringLiteral(".csv"));
    }

    // A write that fails halfway says so under "Error" and leaves the old file.
    void csvFallidoDejaElViejo()
    {
        VentanaPrincipal w;
        QVERIFY(prueba::abrirCategoria(w, 1));
        const QString ruta = carpeta_.filePath(QStringLiteral("viejo.csv"));
        QFile f(ruta);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("viejo;1\r\n") > 0);
        f.close();
        const auto hook = interceptorArchivoCsv.interceptar([&](const QString &) { return ruta; });
        const qint64 antes = limitarEscrituraParaPruebas(100);
        w.exportarCsv();
        limitarEscrituraParaPruebas(antes);
        QCOMPARE(mensajes_.titulos(), QStringList{QStringLiteral("Error")});
        QVERIFY(mensajes_[0].texto.contains(QDir::toNativeSeparators(ruta)));
        QCOMPARE(leerBytes(ruta), QByteArray("viejo;1\r\n"));
    }

    // "Exportar a PDF..." of each window writes pages of text, not pictures.
    void pdfConTexto_data()
    {
        QTest::addColumn<QString>("ventana");
        QTest::addColumn<QStringList>("textos");
        QTest::newRow("Sensibilidad") << "frmSensibilidad"
                                      << QStringList{"Sensibilidad: Coste total anual", "Kilómetros anuales",
                                                     "no posible", "Oscilación"};
        QTest::newRow("Comparación") << "frmComparar"
                                     << QStringList{"Comparar cálculos", "Vededizaviro de Costes", "Combustible",
                                                    "Costes indirectos"};
    }
    void pdfConTexto()
    {
        QFETCH(QString, ventana);
        QFETCH(QStringList, textos);
        const QString otro = grabar(QStringLiteral("pdf.clc"), 2, 280000);
        VentanaPrincipal w;
        QVERIFY(abrirSensibilidad(w));
        w.compararCalculos();
        QVERIFY(comparar(w)->anadirArchivos({otro}));
        const QString ruta = carpeta_.filePath(ventana + QStringLiteral(".pdf"));
        const auto hook = interceptorArchivoPdf.interceptar([&](const QString &) { return ruta; });
        w.findChild<QDialog *>(ventana)->findChild<QPushButton *>(QStringLiteral("cmbExportarPdf"))->click();
        QVERIFY(mensajes_.isEmpty());
        QVERIFY(leerBytes(ruta).startsWith("%PDF"));
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext is not installed: the PDF's text is not checked");
        QProcess p;
        p.start(pdftotext, {ruta, QStringLiteral("-")});
        QVERIFY(p.waitForFinished(30000));
        const QString texto = QString::fromUtf8(p.readAllStandardOutput());
        for (const QString &t : textos)
            QVERIFY2(texto.contains(t), qPrintable(t));
    }
};

QTEST_MAIN(PruebaAnalisis)
#include "prueba_analisis.moc"
