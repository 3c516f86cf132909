// The main window, its menus and section bar, the start dialog, the coach
// category chooser and the small dialogs.
#include "archivos/archivo.h"
#include "ayudantes.h"
#include "bytes.h"
#include "interfaz/dialogos/dialogoarchivo.h"
#include "interfaz/dialogos/dialogos.h"
#include "interfaz/dialogos/mensaje.h"
#include "interfaz/dialogos/preguntagrabar.h"
#include "interfaz/formularios/formulario.h"
#include "interfaz/soporte/rutas.h"
#include "interfaz/soporte/twips.h"
#include "interfaz/ventana/areasecciones.h"
#include "interfaz/ventana/ventanaprincipal.h"

#include <QAction>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>

#include <sys/stat.h>

using namespace pelmora;

namespace {

struct MenuEsperado {
    const char *nombre;
    const char *titulo;
    bool cerrado; // enabled without a calculation
    bool abierto; // enabled with one
};

const MenuEsperado kMenus[] = {
    {"mnuCalculo", "Cálculo", true, true},
    {"mnuNuevo", "Nuevo Cálculo", true, false},
    {"mnuCerrar", "Cerrar Cálculo", false, true},
    {"mnuFileExit", "Salir", true, true},
    {"mnuFile", "Archivo", true, true},
    {"mnuFileOpen", "Abrir ...", true, false},
    {"mnuFileSave", "Guardar ...", false, true},
    {"mnuFileSaveAs", "Guardar como...", false, true},
    {"mnuRecientes", "Abiertos recientemente", true, false},
    {"mnuFormularios", "Formularios", true, true},
    {"mnuCaracteristicas", "Características Técnicas y de Explotación", false, true},
    {"mnuTodosServicios", "Costes repercutidos a todos los servicios", false, true},
    {"mnuFijos1", "Amortización y Financiación", false, true},
    {"mnuFijos2", "Personal, Seguros y Costes Fiscales", false, true},
    {"mnuVariables", "Costes Variables", false, true},
    {"mnuIndirectos", "Costes Indirectos", false, true},
    {"mnuResultados", "Resultados", false, true},
    {"mnuServicio", "Coste de un servicio concreto", false, true},
    {"mnuImprimir", "Imprimir", true, true},
    {"mnuPrintCaracteristicas", "Características Técnicas y de Explotación", false, true},
    {"mnuPrintTodosServicios", "Costes repercutidos a todos los servicios", false, true},
    {"mnuPrintFijos1", "Amortización y Financiación", false, true},
    {"mnuPrintFijos2", "Personal, Seguros y Costes Fiscales", false, true},
    {"mnuPrintVariables", "Costes Variables", false, true},
    {"mnuPrintIndirectos", "Costes Indirectos", false, true},
    {"mnuPrintResultados", "Resultados", false, true},
    {"mnuPrintServicio", "Costes de un servicio concreto", false, true},
    {"mnuPrintTodo", "Todos los formularios", false, true},
    {"mnuEdit", "Edición", true, true},
    {"mnuDeshacer", "Deshacer", false, false}, // on once there is something to undo
    {"mnuRehacer", "Rehacer", false, false},
    {"mnuEditCut", "Cortar", false, true},
    {"mnuEditCopy", "Copiar", false, true},
    {"mnuEditPaste", "Pegar", false, true},
    {"mnuHelp", "Ayuda", true, true},
    {"mnuHelpContents", "Contenido", true, true},
    {"mnuHelpAbout", "Acerca de ...", true, true},
    {"mnuVededizaviro", "Vededizaviro de Costes", true, true},
    {"mnuAcuerdos", "Acuerdos", true, true},
    {"mnuImportarReferencia", "Importar cifras de referencia...", true, false},
    {"mnuRestablecerReferencia", "Restablecer cifras de referencia", true, false},
    {"mnuPresupuestos", "Presupuestos", true, true},
    {"mnuPrecios", "Precios de los servicios...", false, true},
    {"mnuNuevoPresupuesto", "Nuevo presupuesto...", false, true},
    {"mnuRegistroPresupuestos", "Registro de presupuestos...", true, true},
    {"mnuDatosEmpresa", "Datos de la empresa...", true, true},
    {"mnuExportarCsv", "Exportar a CSV...", false, true},
    {"mnuExportarPdf", "Exportar a PDF...", false, true},
    {"mnuVistaPreliminar", "Vista preliminar...", false, true},
    {"mnuAnalisis", "Análisis", true, true},
    {"mnuSensibilidad", "Sensibilidad...", false, true},
    {"mnuCompararCalculos", "Comparar cálculos...", true, true},
};

const QColor kActivo(192, 192, 255);

QColor fondoBoton(QWidget *w, const char *nombre)
{
    auto *b = w->findChild<QPushButton *>(QLatin1String(nombre));
    return b ? b->palette().color(QPalette::Button) : QColor();
}

// The section forms currently shown.
QList<FormularioBase *> formulariosVisibles(VentanaPrincipal &w)
{
    QList<FormularioBase *> v;
    for (int k = 0; k < kNumSecciones; ++k)
        if (auto *f = w.formulario(static_cast<Seccion>(k)); f && f->isVisible())
            v << f;
    return v;
}

// A dark desktop palette, as a dark theme of the Fusion style gives.
QPalette paletaOscura()
{
    QPalette p;
    const QColor ventana(53, 53, 53), base(35, 35, 35), gris(127, 127, 127), azul(42, 130, 218);
    for (auto [rol, color] : std::initializer_list<std::pair<QPalette::ColorRole, QColor>>{
             {QPalette::Window, ventana}, {QPalette::WindowText, Qt::white}, {QPalette::Base, base},
             {QPalette::AlternateBase, ventana}, {QPalette::ToolTipBase, base}, {QPalette::ToolTipText, Qt::white},
             {QPalette::PlaceholderText, gris}, {QPalette::Text, Qt::white}, {QPalette::Button, ventana},
             {QPalette::ButtonText, Qt::white}, {QPalette::BrightText, Qt::red}, {QPalette::Light, QColor(80, 80, 80)},
             {QPalette::Midlight, QColor(66, 66, 66)}, {QPalette::Dark, base}, {QPalette::Mid, QColor(44, 44, 44)},
             {QPalette::Shadow, Qt::black}, {QPalette::Link, azul}, {QPalette::Highlight, azul},
             {QPalette::HighlightedText, base}})
        p.setColor(rol, color);
    for (auto rol : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText})
        p.setColor(QPalette::Disabled, rol, gris);
    return p;
}

// Contrast ratio of two colours from their relative luminance (WCAG 2).
double contraste(const QColor &a, const QColor &b)
{
    auto luminancia = [](const QColor &c) {
        auto lineal = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * lineal(c.redF()) + 0.7152 * lineal(c.greenF()) + 0.0722 * lineal(c.blueF());
    };
    const double la = luminancia(a), lb = luminancia(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour behind a widget: that of the nearest one, itself included,
// that paints its background.
QColor fondoDe(const QWidget *w, QPalette::ColorGroup g)
{
    for (; w; w = w->parentWidget())
        if (w->autoFillBackground() || w->isWindow())
            return w->palette().color(g, w->backgroundRole());
    return QColor();
}

// The texts of a window, or of a part of one, shown below 4.5:1 against
// their background: every label, box, button and frame title, except the
// texts whose colours the program prescribes (the legend, the percentages
// beside the pies, the coloured unit costs).
QStringList pocoContraste(QWidget *raiz)
{
    static const QRegularExpression prescritos(QStringLiteral(
        R"(^(Leyenda\(\d+\)|lblPic[SO]\(\d+\)|lbl[SO]R\((40|45|46|47|48)\)|TextSS\((1|5|6|7|11|12|13|17|18|19|23|24|25|29|30|31)\))$)"));
    QStringList r;
    QList<QWidget *> todos = raiz->findChildren<QWidget *>();
    todos.prepend(raiz);
    for (QWidget *w : todos) {
        if (!w->isVisibleTo(raiz->window()) || prescritos.match(w->objectName()).hasMatch())
            continue;
        const auto grupos = w->isEnabled() ? QList{QPalette::Active, QPalette::Inactive} : QList{QPalette::Disabled};
        for (QPalette::ColorGroup g : grupos) {
            const QPalette &p = w->palette();
            std::vector<std::pair<QColor, QColor>> pares; // text, background
            if (auto *l = qobject_cast<QLabel *>(w); l && !l->text().isEmpty())
                pares = {{p.color(g, QPalette::WindowText), fondoDe(w, g)}};
            else if (auto *m = qobject_cast<QGroupBox *>(w); m && !m->title().isEmpty())
                pares = {{p.color(g, QPalette::WindowText), fondoDe(w, g)}, {p.color(g, QPalette::Text), fondoDe(w, g)}};
            else if (qobject_cast<QPushButton *>(w) || qobject_cast<QComboBox *>(w))
                pares = {{p.color(g, QPalette::ButtonText), p.color(g, QPalette::Button)}};
            else if (qobject_cast<QRadioButton *>(w) || qobject_cast<QCheckBox *>(w))
                pares = {{p.color(g, QPalette::WindowText), fondoDe(w, g)}};
            else if (qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractItemView *>(w))
                pares = {{p.color(g, QPalette::Text), p.color(g, QPalette::Base)}};
            const QString nombre = !w->objectName().isEmpty() ? w->objectName()
                                   : !w->property("text").toString().isEmpty() ? w->property("text").toString()
                                                                              : w->property("title").toString();
            for (const auto &[texto, fondo] : pares)
                if (contraste(texto, fondo) < 4.5)
                    r << QStringLiteral("%1 \"%2\": %3 on %4")
                             .arg(QString::fromUtf8(w->metaObject()->className()), nombre, texto.name(), fondo.name());
        }
    }
    return r;
}


// The texts under raiz that do not fit in their place: a label's or a
// button's text beyond its box, a frame's title under what the frame holds.
QStringList recortados(const QWidget *raiz)
{
    QStringList r;
    auto anotar = [&r](const QWidget *w, const QString &texto) {
        r << QStringLiteral("%1 \"%2\"").arg(w->objectName(), texto.left(40));
    };
    for (const QWidget *w : raiz->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(raiz))
            continue;
        const QFontMetrics fm(w->font());
        if (auto *l = qobject_cast<const QLabel *>(w); l && !l->text().isEmpty()) {
            const QRect caja = l->contentsRect();
            const QRect t = fm.boundingRect(caja, int(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0), l->text());
            if (t.width() > caja.width() || t.height() > caja.height())
                anotar(w, l->text());
        } else if (auto *b = qobject_cast<const QPushButton *>(w); b && !b->text().isEmpty()) {
            const QRect caja = b->rect().adjusted(3, 2, -3, -2);
            const QRect t = fm.boundingRect(caja, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, b->text());
            if (t.width() > caja.width() || t.height() > caja.height())
                anotar(w, b->text());
        } else if (auto *o = qobject_cast<const QAbstractButton *>(w); o && !o->text().isEmpty()) {
            if (o->sizeHint().width() > o->width() || o->sizeHint().height() > o->height())
                anotar(w, o->text());
        } else if (auto *g = qobject_cast<const QGroupBox *>(w); g && !g->title().isEmpty()) {
            const QRect titulo(0, 0, fm.horizontalAdvance(g->title()) + 8, fm.height());
            bool tapado = titulo.width() > g->width();
            for (const QWidget *h : g->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                tapado = tapado || (h->isVisibleTo(raiz) && h->geometry().intersects(titulo));
            if (tapado)
                anotar(w, g->title());
        }
    }
    return r;
}

} // namespace

class PruebaVentana : public QObject, prueba::EntornoVentana {
    Q_OBJECT

    void comprobarMenus(VentanaPrincipal &w, bool abierto)
    {
        for (const MenuEsperado &m : kMenus) {
            QAction *a = w.accion(QLatin1String(m.nombre));
            QVERIFY2(a, m.nombre);
            QCOMPARE(sinMnemonico(a->text()), QString::fromUtf8(m.titulo));
            QVERIFY2(a->isEnabled() == (abierto ? m.abierto : m.cerrado), m.nombre);
        }
    }

    // Every item that goes on and off with the calculation is off.
    void comprobarTodosApagados(VentanaPrincipal &w)
    {
        for (const MenuEsperado &m : kMenus)
            if (m.cerrado != m.abierto)
                QVERIFY2(!w.accion(QLatin1String(m.nombre))->isEnabled(), m.nombre);
    }

private slots:
    void initTestCase() { QVERIFY(prepararCarpeta()); }
    void init() { reiniciar(); }
    void cleanup() { terminar(); }

    void rutasDeReferencia()
    {
        fijarCarpetaPrograma(QStringLiteral("/a/b/"));
        QCOMPARE(rutaReferencia(QStringLiteral("x.obs")), QStringLiteral("/a/b/Vededizaviro/x.obs"));
        fijarCarpetaPrograma(QString());
        QCOMPARE(carpetaPrograma(), QCoreApplication::applicationDirPath());
    }

    void menusSegunHayaCalculo()
    {
        VentanaPrincipal w;
        QCOMPARE(w.objectName(), QStringLiteral("frmMain"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Pelmora"));
        comprobarMenus(w, false);
        QCOMPARE(w.accion(QStringLiteral("mnuEditCut"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));
        QCOMPARE(w.accion(QStringLiteral("mnuEditCopy"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
        QCOMPARE(w.accion(QStringLiteral("mnuEditPaste"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+V")));
        QVERIFY(!w.findChild<QWidget *>(QStringLiteral("Patillas"))->isVisibleTo(&w));
        QVERIFY(!w.findChild<QWidget *>(QStringLiteral("PicVScroll"))->isVisibleTo(&w));
        QVERIFY(!w.findChild<QWidget *>(QStringLiteral("PicHScroll"))->isVisibleTo(&w));

        QVERIFY(prueba::abrirCategoria(w));
        comprobarMenus(w, true);
        w.accion(QStringLiteral("mnuCerrar"))->trigger();
        QVERIFY(!w.calculoAbierto());
        comprobarMenus(w, false);
        QVERIFY(mensajes_.textos().isEmpty());
    }

    // Alt and a letter reach every menu and item of the bar: one mark
    // before a letter or digit that no other caption of its menu has; each
    // caption is one of the table, read as it is there.
    void mnemonicos()
    {
        VentanaPrincipal w;
        QList<QWidget *> menus{w.menuBar()};
        QStringList vistos;
        while (!menus.isEmpty()) {
            QString letras;
            for (QAction *a : menus.takeFirst()->actions()) {
                if (a->isSeparator())
                    continue;
                const QString t = a->text();
                const auto m = std::find_if(std::begin(kMenus), std::end(kMenus),
                                            [&](const MenuEsperado &e) { return a->objectName() == e.nombre; });
                QVERIFY2(m != std::end(kMenus), qPrintable(a->objectName() + QStringLiteral(" is not in kMenus")));
                QCOMPARE(sinMnemonico(t), QString::fromUtf8(m->titulo));
                QCOMPARE(t.count(u'&') - 2 * t.count(QLatin1String("&&")), 1);
                const QKeySequence k = QKeySequence::mnemonic(t);
                QVERIFY2(!k.isEmpty(), qPrintable(t));
                const QChar letra(k[0].key());
                QVERIFY2((letra >= u'A' && letra <= u'Z') || (letra >= u'0' && letra <= u'9'), qPrintable(t));
                QVERIFY2(!letras.contains(letra), qPrintable(t));
                letras += letra;
                vistos << a->objectName();
                // The recent files' entries are made at run time, numbered
                // 1 to 8 (prueba_recientes).
                if (a->menu() && a->objectName() != u"mnuRecientes")
                    menus << a->menu();
            }
        }
        QCOMPARE(vistos.size(), std::size(kMenus));
    }

    // Opening builds the form shown; the others follow once the window has
    // been drawn, each as it would have been built at once.
    void formulariosTrasElPrimerCuadro()
    {
        VentanaPrincipal w;
        w.show();
        QVERIFY(prueba::abrirCategoria(w, 2));
        QCOMPARE(prueba::formulariosConstruidos(w), 1);
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_COMPARE(prueba::formulariosConstruidos(w), kNumSecciones);
        Calculo otro;
        QCOMPARE(AbrirArchivo(otro, rutaReferencia(QString::fromUtf8(kCategorias[2].archivo))), ErrorArchivo::Ninguno);
        QWidget aparte;
        for (const DatosSeccion &d : kSecciones) {
            FormularioBase *construido = w.formulario(d.seccion);
            std::unique_ptr<FormularioBase> deUnaVez(crearFormulario(d.seccion, otro, &aparte));
            QCOMPARE(construido->size(), deUnaVez->size());
            for (CampoTexto *c : deUnaVez->findChildren<CampoTexto *>()) {
                auto *igual = construido->findChild<CampoTexto *>(c->objectName());
                QVERIFY2(igual && igual->text() == c->text() && igual->geometry() == c->geometry(),
                         qPrintable(c->objectName()));
            }
        }
    }

    void elegirCategoriaAbreCaracteristicas()
    {
        VentanaPrincipal w;
        w.show();
        QVERIFY(prueba::abrirCategoria(w, 2));
        QCOMPARE(mensajes_.textos(), QStringList());

        // Both columns and the saved copy come from the category's file.
        QFile f(rutaReferencia(QString::fromUtf8(kCategorias[2].archivo)));
        QVERIFY(f.open(QIODevice::ReadOnly));
        Columna s, o;
        QCOMPARE(leerCalculo(f.readAll(), s, o), ErrorArchivo::Ninguno);
        int distintasDeMinimos = 0;
        for (Seccion sec : kSeccionesGrabadas) {
            for (int i : ListaGrabada(sec)) {
                QVERIFY(mismoValorGuardado(w.calculo().columnaS()(sec, i), s(sec, i)));
                QVERIFY(mismoValorGuardado(w.calculo().columnaO()(sec, i), o(sec, i)));
                if (!mismoValorGuardado(o(sec, i), Calculo::Minimos()(sec, i)))
                    ++distintasDeMinimos;
            }
        }
        QVERIFY(distintasDeMinimos > 10);
        QVERIFY(!w.HayCambios());
        QVERIFY(w.archivoActual().isEmpty());
        QVERIFY(!prueba::elector(w) || !prueba::elector(w)->isVisible());

        // Patillas, the strips and only the first section are shown.
        auto *patillas = w.findChild<QWidget *>(QStringLiteral("Patillas"));
        QVERIFY(patillas->isVisible());
        QCOMPARE(patillas->palette().color(QPalette::Window), QColor(255, 255, 192));
        QCOMPARE(w.findChild<QWidget *>(QStringLiteral("FrameTodos"))->palette().color(QPalette::Window),
                 QColor(223, 217, 140));
        QVERIFY(w.findChild<QWidget *>(QStringLiteral("PicVScroll"))->isVisible());
        QVERIFY(w.findChild<QWidget *>(QStringLiteral("PicHScroll"))->isVisible());
        FormularioBase *car = w.formulario(Seccion::Caracteristicas);
        QVERIFY(car);
        QCOMPARE(car->objectName(), QStringLiteral("frmCaracteristicas"));
        QCOMPARE(formulariosVisibles(w), QList<FormularioBase *>{car});
        QCOMPARE(w.frmActiva(), car);
        QCOMPARE(fondoBoton(&w, "cmbCaracteristicas"), kActivo);
        for (const DatosSeccion &d : kSecciones)
            if (d.seccion != Seccion::Caracteristicas)
                QVERIFY2(fondoBoton(&w, d.boton) == fondoBoton(&w, "cmbCerrar"), d.boton);

        // The form sits 180 twips in, less the scroll values.
        auto *v = w.findChild<QScrollBar *>(QStringLiteral("VScroll1"));
        auto *h = w.findChild<QScrollBar *>(QStringLiteral("HScroll1"));
        QCOMPARE(car->pos(), QPoint(tw(180 - h->value()), tw(180 - v->value())));
        QCOMPARE(v->singleStep(), 600);
    }

    void cambiarDeSeccionOcultaLaAnterior()
    {
        VentanaPrincipal w;
        w.show();
        QVERIFY(prueba::abrirCategoria(w));
        QList<QPointer<FormularioBase>> vistos;
        for (const DatosSeccion &d : kSecciones) {
            const Seccion s = d.seccion;
            // Odd sections through their button, even ones through the menu.
            if (ord(s) % 2)
                w.findChild<QPushButton *>(QLatin1String(d.boton))->click();
            else
                w.accion(QLatin1String(d.menu))->trigger();
            FormularioBase *f = w.formulario(s);
            QVERIFY(f);
            QCOMPARE(f->objectName(), QLatin1String(datosSeccion(s).formulario));
            QCOMPARE(formulariosVisibles(w), QList<FormularioBase *>{f});
            QCOMPARE(w.frmActiva(), f);
            for (const DatosSeccion &otra : kSecciones)
                QVERIFY2((fondoBoton(&w, otra.boton) == kActivo) == (otra.seccion == s), otra.boton);
            vistos << f;
        }
        // Nothing shown before was destroyed; coming back reuses the form.
        for (const auto &f : vistos)
            QVERIFY(f);
        w.findChild<QPushButton *>(QStringLiteral("cmbCostesF1"))->click();
        QCOMPARE(w.frmActiva(), vistos[1].data());
    }

    void resultadosRecuerdaSuDesplazamiento()
    {
        VentanaPrincipal w;
        w.show();
        w.resize(w.width(), 400); // lower than any section form
        QVERIFY(prueba::abrirCategoria(w));
        auto *v = w.findChild<QScrollBar *>(QStringLiteral("VScroll1"));
        w.MostrarSeccion(Seccion::Resultados);
        FormularioBase *res = w.frmActiva();
        QVERIFY(v->maximum() > 0);
        const int valor = std::min(v->maximum(), 600);
        v->setValue(valor);
        QCOMPARE(res->y(), tw(180 - valor));
        w.MostrarSeccion(Seccion::Caracteristicas);
        w.MostrarSeccion(Seccion::Resultados);
        QCOMPARE(v->value(), valor);
        QCOMPARE(res->y(), tw(180 - valor));

        w.cerrarCalculo();
        QVERIFY(prueba::abrirCategoria(w));
        QCOMPARE(w.area()->scrollVResultados(), 0);
        w.MostrarSeccion(Seccion::Resultados);
        QCOMPARE(v->value(), 0);
    }

    void cerrarVuelveAlEstadoInicial()
    {
        VentanaPrincipal w;
        w.show();
        QVERIFY(prueba::abrirCategoria(w, 0));

        // Not modified: closed without a question.
        QPointer<FormularioBase> car = w.formulario(Seccion::Caracteristicas);
        w.findChild<QPushButton *>(QStringLiteral("cmbCerrar"))->click();
        QVERIFY(pregunta_.preguntas.isEmpty());
        QVERIFY(!w.calculoAbierto());
        // The forms stay, hidden, to be filled by the next calculation.
        QVERIFY(car && car->isHidden());
        QVERIFY(!w.frmActiva());
        QVERIFY(!w.findChild<QWidget *>(QStringLiteral("PicVScroll"))->isVisible());
        QVERIFY(!w.findChild<QWidget *>(QStringLiteral("PicHScroll"))->isVisible());
        for (Seccion sec : kSeccionesGrabadas) {
            for (int i : ListaGrabada(sec)) {
                QVERIFY(mismoValorGuardado(w.calculo().columnaS()(sec, i), Calculo::Minimos()(sec, i)));
                QVERIFY(mismoValorGuardado(w.calculo().columnaO()(sec, i), Calculo::Minimos()(sec, i)));
            }
        }

        // Modified: the question decides.
        QVERIFY(prueba::abrirCategoria(w, 0));
        QCOMPARE(w.formulario(Seccion::Caracteristicas), car.data());
        QVERIFY(car->isVisible());
        const int i = ListaGrabada(Seccion::CostesFijos1).front();
        Valor &v = w.calculo().columnaParaPruebas(Col::S)(Seccion::CostesFijos1, i);
        v = Valor(v.n() + 1234.0);
        QVERIFY(w.HayCambios());
        w.accion(QStringLiteral("mnuCerrar"))->trigger();
        QCOMPARE(pregunta_.preguntas, QStringList{QStringLiteral("Cerrar")});
        QVERIFY(w.calculoAbierto());
        QVERIFY(!w.close());
        QCOMPARE(pregunta_.preguntas.last(), QStringLiteral("Salir"));
        QVERIFY(w.isVisible());
        pregunta_.respuestas << PreguntaGrabar::No;
        w.findChild<QPushButton *>(QStringLiteral("cmbCerrar"))->click();
        QVERIFY(!w.calculoAbierto());
        QCOMPARE(fondoBoton(&w, "cmbCaracteristicas"), kActivo);
        comprobarMenus(w, false);

        // The next calculation starts on Características again.
        QVERIFY(prueba::abrirCategoria(w, 3));
        QCOMPARE(w.frmActiva(), w.formulario(Seccion::Caracteristicas));
        pregunta_.preguntas.clear();
        QVERIFY(w.close()); // unmodified: no question
        QVERIFY(pregunta_.preguntas.isEmpty());
    }

    // Opening and closing calculations gives no bar or button of the window
    // a new palette: the style keeps their pictures by palette, and would
    // keep new ones for every calculation opened.
    void abrirYCerrarNoCambiaLasPaletas()
    {
        VentanaPrincipal w;
        w.show();
        const QString ref = rutaReferencia(QString::fromUtf8(kCategorias[1].archivo));
        QVERIFY(w.abrirArchivoInicial(ref));
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto claves = [&w] {
            QHash<QWidget *, qint64> r;
            for (QWidget *x : w.findChildren<QWidget *>())
                if (qobject_cast<QAbstractSlider *>(x) || qobject_cast<QAbstractButton *>(x))
                    r.insert(x, x->palette().cacheKey());
            return r;
        };
        const QHash<QWidget *, qint64> antes = claves();
        QVERIFY(antes.size() > 10);
        for (int k = 0; k < 2; ++k) {
            w.CerrarPatillas();
            QVERIFY(w.abrirArchivoInicial(ref));
        }
        const QHash<QWidget *, qint64> despues = claves();
        for (auto it = antes.begin(); it != antes.end(); ++it)
            QVERIFY2(despues.value(it.key()) == it.value(), qPrintable(it.key()->objectName()));
    }

    void cerrarSinCalculoNoPregunta()
    {
        VentanaPrincipal w;
        w.show();
        w.nuevoCalculo();
        QVERIFY(prueba::elector(w)->isVisible());
        QVERIFY(w.close());
        QVERIFY(pregunta_.preguntas.isEmpty());
        // The modeless chooser goes with the window, so the program can end.
        QVERIFY(!prueba::elector(w) || !prueba::elector(w)->isVisible());
    }

    void faltaLaReferencia()
    {
        QTemporaryDir vacia;
        fijarCarpetaPrograma(vacia.path());
        VentanaPrincipal w;
        w.show();
        w.nuevoCalculo();
        DialogoTipoVehiculo *d = prueba::elector(w);
        QVERIFY(d && d->isVisible());
        QCOMPARE(d->windowTitle(), QStringLiteral("Tipo de Autocar"));
        comprobarTodosApagados(w);

        // No folder at all.
        QVERIFY(!d->elegir(0));
        QCOMPARE(mensajes_.titulos(), QStringList{QStringLiteral("Error")});
        QVERIFY(mensajes_.textos().last().startsWith(QStringLiteral("No existe el subdirectorio")));
        QCOMPARE(mensajes_.textos().last(), mensajeErrorReferencia(ErrorArchivo::CarpetaNoExiste));
        QVERIFY(d->isVisible());
        QVERIFY(!w.calculoAbierto());

        // The folder without one file: that one fails, the others load.
        const QString falta = QString::fromUtf8(kCategorias[1].archivo);
        QVERIFY(prueba::copiarReferencia(vacia.path(), falta));
        QVERIFY(!d->elegir(1));
        QVERIFY(mensajes_.textos().last().startsWith(QStringLiteral("Archivo no encontrado en el subdirectorio")));
        QCOMPARE(mensajes_.textos().last(), mensajeErrorReferencia(ErrorArchivo::NoEncontrado));
        QVERIFY(d->isVisible());
        QVERIFY(!w.calculoAbierto());
        comprobarTodosApagados(w);

        // A file cut short.
        const QString corto = vacia.path() + QStringLiteral("/Vededizaviro/") + QString::fromUtf8(kCategorias[2].archivo);
        QFile f(corto);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray todo = f.readAll();
        f.close();
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(todo.left(todo.size() / 2));
        f.close();
        QVERIFY(!d->elegir(2));
        QCOMPARE(mensajes_.textos().last(), QStringLiteral("Archivo en mal estado."));
        QVERIFY(!w.calculoAbierto());

        QVERIFY(d->elegir(3));
        QVERIFY(w.calculoAbierto());
        QCOMPARE(mensajes_.titulos().size(), 3);
    }

    void chooserCerradoDevuelveNuevoYAbrir()
    {
        VentanaPrincipal w;
        w.show();
        w.nuevoCalculo();
        comprobarTodosApagados(w);
        prueba::elector(w)->close();
        for (const MenuEsperado &m : kMenus)
            if (m.cerrado != m.abierto)
                QVERIFY2(w.accion(QLatin1String(m.nombre))->isEnabled() == m.cerrado, m.nombre);
    }

    void dialogoNueva()
    {
        VentanaPrincipal w;
        w.show();
        w.mostrarNueva();
        auto *d = w.findChild<DialogoNueva *>(QStringLiteral("frmNueva"));
        QVERIFY(d && d->isVisible());
        QVERIFY(!d->isModal());
        QCOMPARE(d->windowTitle(), QStringLiteral("Tipo de Cálculo"));
        QVERIFY(d->findChild<QRadioButton *>(QStringLiteral("opbNueva"))->isChecked());
        QCOMPARE(d->findChild<QRadioButton *>(QStringLiteral("opbGrabada"))->text(),
                 QStringLiteral("Cálculo previamente grabado"));
        comprobarTodosApagados(w);

        // Cancelar: only "Nuevo Cálculo" and "Abrir ..." come back.
        d->findChild<QPushButton *>(QStringLiteral("CancelButton"))->click();
        QVERIFY(!d->isVisible());
        comprobarMenus(w, false);

        // Aceptar with "Nuevo Cálculo": the category chooser.
        QTRY_VERIFY(!w.findChild<DialogoNueva *>(QStringLiteral("frmNueva")));
        w.mostrarNueva();
        d = w.findChild<DialogoNueva *>(QStringLiteral("frmNueva"));
        QVERIFY(d);
        d->findChild<QPushButton *>(QStringLiteral("OKButton"))->click();
        QVERIFY(!d->isVisible());
        QVERIFY(prueba::elector(w) && prueba::elector(w)->isVisible());
        comprobarTodosApagados(w);
        prueba::elector(w)->close();

        // Aceptar with "Cálculo previamente grabado": the file dialog in open
        // mode instead of the chooser; cancelled, no calculation.
        QTRY_VERIFY(!w.findChild<DialogoNueva *>(QStringLiteral("frmNueva")));
        QTRY_VERIFY(!prueba::elector(w));
        w.mostrarNueva();
        d = w.findChild<DialogoNueva *>(QStringLiteral("frmNueva"));
        d->findChild<QRadioButton *>(QStringLiteral("opbGrabada"))->setChecked(true);
        QStringList modos;
        {
            const auto dialogo = interceptorDialogoArchivo.interceptar([&](DialogoArchivo &a) { modos << a.modo(); });
            d->findChild<QPushButton *>(QStringLiteral("OKButton"))->click();
        }
        QCOMPARE(modos, QStringList{QStringLiteral("abrir")});
        QVERIFY(!prueba::elector(w));
        QVERIFY(!w.calculoAbierto());
        QVERIFY(w.accion(QStringLiteral("mnuNuevo"))->isEnabled());
        QVERIFY(w.accion(QStringLiteral("mnuFileOpen"))->isEnabled());
    }

    void archivoInicial()
    {
        VentanaPrincipal w;
        w.show();
        QVERIFY(!w.abrirArchivoInicial(carpeta_.path() + QStringLiteral("/no_existe.clc")));
        QCOMPARE(mensajes_.textos(), QStringList{mensajeErrorArchivo(ErrorArchivo::NoEncontrado)});
        QCOMPARE(mensajes_.titulos(), QStringList{QStringLiteral("Error")});
        QVERIFY(!w.calculoAbierto());

        // A device or a pipe is refused at once, without reading it.
        const QString tuberia = carpeta_.path() + QStringLiteral("/tuberia.clc");
        QVERIFY(::mkfifo(QFile::encodeName(tuberia).constData(), 0644) == 0);
        for (const QString &r : {QStringLiteral("/dev/zero"), tuberia}) {
            mensajes_.clear();
            QVERIFY(!w.abrirArchivoInicial(r));
            QCOMPARE(mensajes_.textos(), QStringList{mensajeErrorArchivo(ErrorArchivo::AccesoDenegado)});
        }
        QFile::remove(tuberia);
        QVERIFY(!w.calculoAbierto());

        const QString ruta = carpeta_.path() + QStringLiteral("/prueba.clc");
        QFile::remove(ruta);
        QVERIFY(QFile::copy(rutaReferencia(QString::fromUtf8(kCategorias[0].archivo)), ruta));
        QVERIFY(w.abrirArchivoInicial(ruta));
        QVERIFY(w.calculoAbierto());
        QCOMPARE(w.archivoActual(), ruta);
        w.CerrarPatillas();
        QVERIFY(w.archivoActual().isEmpty());
    }

    // Two windows with one file: a save over what the other saved since
    // the file was opened (or last saved here) asks first; "No" leaves the
    // file and the calculation as they are.
    void grabarSobreUnArchivoCambiadoEnElDisco()
    {
        const QString ruta = carpeta_.path() + QStringLiteral("/compartido.clc");
        QFile::remove(ruta);
        QVERIFY(prueba::copiarCalculo(0, ruta));
        VentanaPrincipal a, b;
        QVERIFY(a.abrirArchivoInicial(ruta) && b.abrirArchivoInicial(ruta));
        const auto cambiar = [](VentanaPrincipal &w, const QString &texto) {
            Calculo &c = w.calculo();
            c.ConfirmarCampo(kCar, Car::Descripcion, Valor(texto), c.columnaS()(kCar, Car::Descripcion));
        };
        QStringList preguntas;
        QList<bool> respuestas;
        const auto ambito = interceptorCambiadoEnDisco.interceptar([&](const QString &p) {
            preguntas << p;
            return respuestas.takeFirst();
        });
        cambiar(a, QStringLiteral("Desde A"));
        QVERIFY(a.Grabar());
        QVERIFY(preguntas.isEmpty());
        const QByteArray deA = prueba::leerBytes(ruta);

        cambiar(b, QStringLiteral("Desde B"));
        respuestas = {false};
        QVERIFY(!b.Grabar());
        QCOMPARE(preguntas, QStringList{QStringLiteral("El archivo ha cambiado en el disco desde que se abrió. "
                                                       "¿Grabarlo de todos modos?")});
        QCOMPARE(prueba::leerBytes(ruta), deA);
        QVERIFY(b.HayCambios());
        respuestas = {true};
        QVERIFY(b.Grabar());
        QVERIFY(!b.HayCambios());
        QVERIFY(prueba::leerBytes(ruta).startsWith("\"Desde B\""));
        // Its own last save is no change on disk; A's view now is.
        cambiar(b, QStringLiteral("Otra vez B"));
        QVERIFY(b.Grabar());
        QCOMPARE(preguntas.size(), 2);
        respuestas = {false};
        QVERIFY(!a.Grabar());
        QCOMPARE(preguntas.size(), 3);
    }

    void abrirUnMenuConfirmaElCampo()
    {
        VentanaPrincipal w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QVERIFY(prueba::abrirCategoria(w));
        QLineEdit *campo = nullptr;
        for (QLineEdit *e : w.frmActiva()->findChildren<QLineEdit *>())
            if (e->isEnabled() && e->isVisible()) {
                campo = e;
                break;
            }
        QVERIFY(campo);
        campo->setFocus();
        QVERIFY(campo->hasFocus());

        struct Contador : QObject {
            int salidas = 0;
            bool eventFilter(QObject *, QEvent *e) override
            {
                if (e->type() == QEvent::FocusOut)
                    ++salidas;
                return false;
            }
        } contador;
        campo->installEventFilter(&contador);

        for (const char *m : {"mnuCalculo", "mnuFile", "mnuFormularios", "mnuImprimir", "mnuHelp",
                              "mnuVededizaviro"}) {
            const int antes = contador.salidas;
            emit w.findChild<QMenu *>(QLatin1String(m))->aboutToShow();
            QVERIFY2(contador.salidas == antes + 1, m);
            QVERIFY2(campo->hasFocus(), m);
        }
        const int antes = contador.salidas;
        emit w.findChild<QMenu *>(QStringLiteral("mnuEdit"))->aboutToShow();
        QCOMPARE(contador.salidas, antes);
        QVERIFY(campo->hasFocus());
        campo->removeEventFilter(&contador);
    }

    void tamanoDeLaVentana()
    {
        const QRect trabajo = QGuiApplication::primaryScreen()->availableGeometry();
        // Narrow client area: centred on the work area.
        fijarPuntosPorPulgada(48);
        {
            VentanaPrincipal w;
            w.situarVentana();
            const int ancho = tw(11595) + tw(400);
            QVERIFY(ancho < trabajo.width());
            QCOMPARE(w.width(), ancho);
            QCOMPARE(w.frameGeometry().left(), trabajo.x() + (trabajo.width() - ancho) / 2);
            QCOMPARE(w.frameGeometry().top(), trabajo.y());
            QCOMPARE(w.frameGeometry().height(), trabajo.height());
        }
        // Wider than the work area: Left 0, full width.
        fijarPuntosPorPulgada(192);
        {
            VentanaPrincipal w;
            w.situarVentana();
            QVERIFY(tw(11595) + tw(400) > trabajo.width());
            QCOMPARE(w.frameGeometry().width(), trabajo.width());
            QCOMPARE(w.frameGeometry().left(), trabajo.x());
        }
        fijarPuntosPorPulgada(96);
    }

    // Under a dark desktop palette every text of every form, of the section
    // bar and of the dialogs stays readable, the prescribed colours stay,
    // and the forms and the bar look exactly as under the light palette.
    void legibleConPaletaOscura()
    {
        auto capturas = [&](QList<QImage> &imagenes, bool oscura) {
            VentanaPrincipal w;
            w.show();
            QVERIFY(prueba::abrirCategoria(w));
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            auto *patillas = w.findChild<QWidget *>(QStringLiteral("Patillas"));
            for (int k = 0; k < kNumSecciones; ++k) {
                w.findChild<QPushButton *>(QLatin1String(kSecciones[k].boton))->click();
                FormularioBase *f = w.formulario(static_cast<Seccion>(k));
                f->activar();
                const QStringList mal = pocoContraste(f) + pocoContraste(patillas);
                QVERIFY2(mal.isEmpty(), qPrintable(mal.join(u'\n')));
                if (QWidget *foco = QApplication::focusWidget())
                    foco->clearFocus();
                imagenes << f->grab().toImage() << patillas->grab().toImage();
            }
            if (!oscura)
                return;
            // The texts whose colours the program prescribes keep them.
            FormularioBase *r = w.formulario(Seccion::Resultados);
            QCOMPARE(r->findChild<QLabel *>(QStringLiteral("lblSR(40)"))->palette().color(QPalette::WindowText),
                     QColor(192, 64, 0));
            QCOMPARE(r->findChild<QLabel *>(QStringLiteral("Leyenda(0)"))->palette().color(QPalette::WindowText),
                     QColor(0, 0, 255));
            QCOMPARE(r->findChild<QLabel *>(QStringLiteral("lblPicS(0)"))->palette().color(QPalette::WindowText),
                     QColor(0, 0, 255));
            auto *c1 = w.formulario(Seccion::Servicio)->findChild<QLineEdit *>(QStringLiteral("TextSS(1)"));
            QCOMPARE(c1->palette().color(QPalette::Disabled, QPalette::Text), QColor(192, 64, 0));

            DialogoMensaje mensaje(QStringLiteral("Texto"), QStringLiteral("Error"));
            PreguntaGrabar pregunta(QStringLiteral("Cerrar"));
            DialogoAcercaDe acerca;
            DialogoPresentacion presentacion;
            DialogoTipoVehiculo tipo([&w](int k) { return w.cargarCategoria(k); }, &w);
            DialogoArchivo archivo(QStringLiteral("grabar"), carpeta_.path(),
                                   prueba::accionSobre(w.calculo(), QStringLiteral("grabar")));
            for (QWidget *d : {static_cast<QWidget *>(&mensaje), static_cast<QWidget *>(&pregunta),
                               static_cast<QWidget *>(&acerca), static_cast<QWidget *>(&presentacion),
                               static_cast<QWidget *>(&tipo), static_cast<QWidget *>(&archivo)}) {
                const QStringList mal = pocoContraste(d);
                QVERIFY2(mal.isEmpty(), qPrintable(d->objectName() + u'\n' + mal.join(u'\n')));
            }
        };

        if (QApplication::style()->name() != u"fusion")
            QApplication::setStyle(QStringLiteral("Fusion"));
        const QPalette clara = QApplication::palette();
        QList<QImage> conClara, conOscura;
        capturas(conClara, false);
        QApplication::setPalette(paletaOscura());
        auto restaurar = qScopeGuard([&] { QApplication::setPalette(clara); });
        capturas(conOscura, true);
        QCOMPARE(conOscura.size(), conClara.size());
        for (int k = 0; k < conClara.size(); ++k)
            QVERIFY2(conOscura[k] == conClara[k], qPrintable(QString::number(k)));
    }

    void mensajeConSuDibujo_data()
    {
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("dibujo"); // picture shown, empty for none
        QTest::newRow("error") << QStringLiteral("Error") << QStringLiteral("picAlarma");
        QTest::newRow("grabar") << QStringLiteral("Grabar") << QStringLiteral("picInformacion");
        QTest::newRow("autor") << QStringLiteral("Autor") << QStringLiteral("picInformacion");
        QTest::newRow("otro") << QStringLiteral("Aviso") << QString();
    }

    void mensajeConSuDibujo()
    {
        QFETCH(QString, titulo);
        QFETCH(QString, dibujo);
        const QString texto = QStringLiteral("Primera línea.\r\n\r\nSegunda línea.");
        DialogoMensaje d(texto, titulo);
        QCOMPARE(d.objectName(), QStringLiteral("frmMensaje"));
        QCOMPARE(d.windowTitle(), titulo);
        QVERIFY(d.isModal());
        QCOMPARE(d.findChild<QLabel *>(QStringLiteral("lblMensaje"))->text(), texto);
        QCOMPARE(d.findChild<QPushButton *>(QStringLiteral("cmbAceptar"))->text(), QStringLiteral("Aceptar"));
        for (const QString &nombre : {QStringLiteral("picAlarma"), QStringLiteral("picInformacion")}) {
            auto *pic = d.findChild<QLabel *>(nombre);
            QVERIFY(pic);
            QCOMPARE(pic->size(), twSize(480, 480));
            QVERIFY(!pic->pixmap().isNull());
            QCOMPARE(pic->isVisibleTo(&d), nombre == dibujo);
            if (nombre == dibujo)
                QCOMPARE(pic->pos(), QPoint(tw(2200), 0)); // only moved sideways
        }
    }

    void mensajeTalCual()
    {
        // A text that looks like markup is shown as it is, every character.
        const QString texto = QStringLiteral("<b>Archivo</b> en /tmp/<i>x</i>/");
        DialogoMensaje d(texto, QStringLiteral("Error"));
        auto *l = d.findChild<QLabel *>(QStringLiteral("lblMensaje"));
        QCOMPARE(l->text(), texto);
        // Drawn as a label drawing the same characters as plain text.
        d.show();
        QLabel literal(texto);
        literal.setTextFormat(Qt::PlainText);
        literal.setFont(l->font());
        literal.setPalette(l->palette());
        literal.setAlignment(l->alignment());
        literal.setWordWrap(l->wordWrap());
        literal.resize(l->size());
        QCOMPARE(l->grab().toImage().convertToFormat(QImage::Format_RGB32),
                 literal.grab().toImage().convertToFormat(QImage::Format_RGB32));
    }

    void titulosSinNombreDelPrograma()
    {
        // Each window's caption is its own: the window system is given no
        // display name to add to it ("Error — Pelmora"). Left unset, the
        // display name follows the application name.
        fijarDatosPrograma();
        QCoreApplication::setApplicationName(QStringLiteral("otro"));
        const QString mostrado = QGuiApplication::applicationDisplayName();
        fijarDatosPrograma();
        QCOMPARE(mostrado, QStringLiteral("otro"));
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Pelmora"));
    }

    void mostrarMensajeEsModalYVuelveAlCerrar()
    {
        const auto real = interceptorMensajes.interceptar(nullptr);
        VentanaPrincipal w;
        w.show();
        QString titulo, texto;
        QWidget *dueno = nullptr;
        QTimer::singleShot(0, [&] {
            QWidget *m = QApplication::activeModalWidget();
            if (!m)
                return;
            titulo = m->windowTitle();
            dueno = m->parentWidget();
            texto = m->findChild<QLabel *>(QStringLiteral("lblMensaje"))->text();
            m->findChild<QPushButton *>(QStringLiteral("cmbAceptar"))->click();
        });
        // Raised by a widget of the window (here its menu bar): the window owns it.
        MostrarMensaje(QStringLiteral("Hola"), QStringLiteral("Grabar"), w.menuBar());
        QCOMPARE(titulo, QStringLiteral("Grabar"));
        QCOMPARE(texto, QStringLiteral("Hola"));
        QCOMPARE(dueno, &w);
    }

    // A larger desktop font leaves the windows laid out on the twip grid as
    // they are (their text keeps the grid's size): nothing on a form, on the
    // section bar or in the small dialogs is cut.
    void nadaRecortadoConLetraGrande_data()
    {
        QTest::addColumn<double>("puntos");
        for (double puntos : {9.0, 12.0, 14.0})
            QTest::addRow("%g pt", puntos) << puntos;
    }
    void nadaRecortadoConLetraGrande()
    {
        QFETCH(double, puntos);
        const QFont antes = QApplication::font();
        const auto restaurar = qScopeGuard([&antes] { QApplication::setFont(antes); });
        QFont letra = antes;
        letra.setPointSizeF(puntos);
        QApplication::setFont(letra);

        VentanaPrincipal w;
        QVERIFY(prueba::abrirCategoria(w));
        std::vector<std::unique_ptr<QWidget>> dialogos;
        dialogos.emplace_back(new DialogoAcercaDe);
        dialogos.emplace_back(new DialogoPresentacion);
        dialogos.emplace_back(new DialogoNueva);
        const auto nada = [](auto) { return ErrorArchivo::Ninguno; };
        dialogos.emplace_back(new DialogoTipoVehiculo(nada));
        dialogos.emplace_back(new PreguntaGrabar(QStringLiteral("Cálculo Personalizado")));
        dialogos.emplace_back(new DialogoMensaje(QStringLiteral("Archivo no encontrado."), QStringLiteral("Error")));
        dialogos.emplace_back(new DialogoArchivo(QStringLiteral("abrir"), carpetaPrograma(), nada));
        QList<const QWidget *> ventanas{w.findChild<QWidget *>(QStringLiteral("Patillas"))};
        for (const DatosSeccion &d : kSecciones)
            ventanas << w.formulario(d.seccion);
        for (const auto &d : dialogos)
            ventanas << d.get();
        QStringList recortes;
        for (const QWidget *v : ventanas)
            for (const QString &t : recortados(v))
                recortes << v->objectName() + QStringLiteral(": ") + t;
        QVERIFY2(recortes.isEmpty(), qPrintable(recortes.join(QLatin1Char('\n'))));
    }

    void acercaDe()
    {
        DialogoAcercaDe d;
        d.show();
        QCOMPARE(d.objectName(), QStringLiteral("frmAbout"));
        QCOMPARE(d.windowTitle(), QStringLiteral("Acerca de Pelmora"));
        QCOMPARE(d.findChild<QLabel *>(QStringLiteral("lblTitulo"))->text(), QStringLiteral("Pelmora"));
        QCOMPARE(d.findChild<QLabel *>(QStringLiteral("lblVersion"))->text(), QStringLiteral("Versión 1.0.0"));
        QVERIFY(!d.findChild<QLabel *>(QStringLiteral("lblDescripcion"))->text().isEmpty());
        QVERIFY(d.findChild<QLabel *>(QStringLiteral("lblAdvertencia"))->text().startsWith(QStringLiteral("Advertencia")));
        auto *aceptar = d.findChild<QPushButton *>(QStringLiteral("cmbAceptar"));

        // Esc and Ctrl on "Aceptar" show the credit text and keep the box up.
        QTest::keyClick(aceptar, Qt::Key_Escape);
        QVERIFY(d.isVisible());
        QTest::keyClick(aceptar, Qt::Key_Control);
        QVERIFY(d.isVisible());
        QCOMPARE(mensajes_.titulos(), (QStringList{QStringLiteral("Autor"), QStringLiteral("Autor")}));
        QCOMPARE(mensajes_.textos().first(), textoAutor());
        // Shape of the credit text: blank line, author, three breaks, indented line.
        const QStringList lineas = textoAutor().split(QStringLiteral("\r\n"));
        QCOMPARE(lineas.size(), 5);
        QVERIFY(lineas[0].isEmpty() && !lineas[1].isEmpty() && lineas[2].isEmpty() && lineas[3].isEmpty());
        QVERIFY(lineas[4].startsWith(QStringLiteral("  ")) && !lineas[4].trimmed().isEmpty());

        aceptar->click();
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Accepted));
    }

    void presentacion()
    {
        DialogoPresentacion s;
        QCOMPARE(s.findChild<QLabel *>(QStringLiteral("lblProductName"))->text(), QStringLiteral("Pelmora"));
        QCOMPARE(s.findChild<QLabel *>(QStringLiteral("lblVersion"))->text(), QStringLiteral("Versión 1.0.0"));
        QVERIFY(!s.findChild<QLabel *>(QStringLiteral("picLogo"))->pixmap().isNull());
        QVERIFY(!s.findChild<QLabel *>(QStringLiteral("picEscudo"))->pixmap().isNull());
        auto *timer = s.findChild<QTimer *>(QStringLiteral("Timer1"));
        QVERIFY(timer);
        QCOMPARE(timer->interval(), 10000);
        QVERIFY(timer->isSingleShot());

        // A click closes it at once.
        s.show();
        QTest::mouseClick(s.findChild<QLabel *>(QStringLiteral("lblDescripcion")), Qt::LeftButton);
        QVERIFY(!s.isVisible());

        // The timer closes it by itself.
        DialogoPresentacion t;
        t.show();
        auto *timer2 = t.findChild<QTimer *>(QStringLiteral("Timer1"));
        timer2->start(20);
        QTRY_VERIFY_WITH_TIMEOUT(!t.isVisible(), 2000);
    }

    void categoriasDelElector()
    {
        VentanaPrincipal w;
        DialogoTipoVehiculo d([&w](int k) { return w.cargarCategoria(k); }, &w);
        const char *esperadas[] = {"Más de 55", "39-55", "26-38", "10 - 25"};
        int anterior = -1;
        for (int k = 0; k < 4; ++k) {
            auto *l = d.findChild<QLabel *>(QStringLiteral("lblPlazas(%1)").arg(k));
            auto *b = d.findChild<QPushButton *>(QStringLiteral("cmbVehiculos(%1)").arg(k));
            QVERIFY(l && b);
            QCOMPARE(l->text(), QString::fromUtf8(esperadas[k]));
            QVERIFY(!b->icon().isNull());
            QVERIFY(b->y() > anterior); // top to bottom
            QVERIFY(l->x() < b->x());   // label to the left
            anterior = b->y();
        }
        bool titulo = false, plazas = false;
        for (QLabel *l : d.findChildren<QLabel *>()) {
            titulo |= l->text() == QStringLiteral("Tipo de autocar");
            plazas |= l->text() == QStringLiteral("Número de plazas del autocar (incluido el conductor)");
        }
        QVERIFY(titulo && plazas);
    }

    void dibujoSvg()
    {
        // A red square on the left half of a 2:1 view box, drawn in a square
        // image: the picture keeps its shape and is centred.
        const QByteArray svg = "<svg viewBox='0 0 20 10'><rect x='0' y='0' width='10' height='10' fill='#ff0000'/>"
                               "<path d='M10 0 h10 v10 h-10 z' fill='#0000ff' opacity='0.5'/></svg>";
        const QImage im = pintarSvg(svg, QSize(40, 40));
        QCOMPARE(im.pixelColor(5, 20), QColor(255, 0, 0));
        QCOMPARE(im.pixelColor(5, 5).alpha(), 0); // above the picture
        const QColor azul = im.pixelColor(30, 20);
        QVERIFY(azul.blue() >= 250);
        QVERIFY(qAbs(azul.alpha() - 128) <= 2);
        for (int k = 0; k < kNumCategorias; ++k)
            QVERIFY(!imagenPrograma(QString::fromUtf8(imagenCategoria(k)), QSize(40, 20)).isNull());
        QVERIFY(imagenPrograma(QStringLiteral("no_existe"), QSize(10, 10)).isNull());
    }
};

QTEST_MAIN(PruebaVentana)
#include "prueba_ventana.moc"
