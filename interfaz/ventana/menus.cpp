#include "interfaz/ventana/menus.h"

#include "interfaz/dialogos/cifrasreferencia.h"
#include "interfaz/dialogos/dialogos.h"
#include "interfaz/presupuestos/presupuestos.h"
#include "interfaz/soporte/ayuda.h"
#include "interfaz/soporte/recientes.h"
#include "interfaz/soporte/rutas.h"
#include "interfaz/ventana/barrasecciones.h"
#include "interfaz/ventana/ventanaprincipal.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <functional>
#include <vector>

namespace pelmora {

namespace {

// When an item is on.
enum class Cuando { Siempre, SinCalculo, ConCalculo };

// One row of the menu bar. Depth 0 is a menu of the bar, 1 an item of it,
// 2 an item of a submenu; a row without a command opens a submenu, a row
// without a caption is a separator.
struct ItemMenu {
    int nivel;
    const char *nombre;
    const char *titulo; // UTF-8
    Cuando cuando = Cuando::Siempre;
    std::function<void(VentanaPrincipal &)> orden = {};
    const char *atajo = nullptr;
};

constexpr const char *kTodos = "Costes repercutidos a todos los servicios";

// The section items of "Formularios" (imprimir false) or of "Imprimir":
// Características, the costs that go to every service in a submenu, the
// service.
void itemsSecciones(std::vector<ItemMenu> &t, bool imprimir)
{
    bool submenu = false;
    for (const DatosSeccion &d : kSecciones) {
        const Seccion s = d.seccion;
        if (repercutidaATodos(s) && !submenu) {
            t.push_back({1, imprimir ? "mnuPrintTodosServicios" : "mnuTodosServicios", kTodos, Cuando::ConCalculo});
            submenu = true;
        }
        ItemMenu item{repercutidaATodos(s) ? 2 : 1, imprimir ? d.menuImprimir : d.menu,
                      imprimir ? d.titulo : d.tituloMenu, Cuando::ConCalculo};
        if (imprimir)
            item.orden = [s](VentanaPrincipal &w) { w.ImprimirSeccion(s); };
        else
            item.orden = [s](VentanaPrincipal &w) { w.MostrarSeccion(s); };
        t.push_back(item);
    }
}

// The clipboard items act on the text box that has the focus, if any.
QLineEdit *cajaConFoco() { return qobject_cast<QLineEdit *>(QApplication::focusWidget()); }

void copiar(bool cortar)
{
    QLineEdit *caja = cajaConFoco();
    if (!caja)
        return;
    QClipboard *portapapeles = QGuiApplication::clipboard();
    portapapeles->clear();
    portapapeles->setText(caja->selectedText());
    if (cortar && !caja->isReadOnly() && caja->hasSelectedText())
        caja->insert(QString());
}

void pegar()
{
    QLineEdit *caja = cajaConFoco();
    if (!caja || caja->isReadOnly())
        return;
    // Not filtered: the field checks the whole text when it is left.
    caja->insert(QGuiApplication::clipboard()->text());
}

std::vector<ItemMenu> tablaMenus()
{
    using V = VentanaPrincipal;
    std::vector<ItemMenu> t = {
        {0, "mnuCalculo", "Cálculo"},
        {1, "mnuNuevo", "Nuevo Cálculo", Cuando::SinCalculo, &V::nuevoCalculo, "Ctrl+N"},
        {1, "mnuCerrar", "Cerrar Cálculo", Cuando::ConCalculo, &V::cerrarCalculo, "Ctrl+W"},
        {1, "mnuSimulacionBar1", nullptr},
        {1, "mnuFileExit", "Salir", Cuando::Siempre, [](V &w) { w.close(); }, "Ctrl+Q"},
        {0, "mnuFile", "Archivo"},
        {1, "mnuFileOpen", "Abrir ...", Cuando::SinCalculo, &V::abrirCalculo, "Ctrl+O"},
        {1, "mnuFileSave", "Guardar ...", Cuando::ConCalculo, &V::guardarCalculo, "Ctrl+S"},
        {1, "mnuFileSaveAs", "Guardar como...", Cuando::ConCalculo, &V::guardarCalculoComo, "Ctrl+Shift+S"},
        {1, "mnuRecientes", "Abiertos recientemente", Cuando::SinCalculo},
        {1, "mnuExportarBar", nullptr},
        {1, "mnuExportarCsv", "Exportar a CSV...", Cuando::ConCalculo, &V::exportarCsv},
        {0, "mnuFormularios", "Formularios"},
    };
    itemsSecciones(t, false);
    t.push_back({0, "mnuImprimir", "Imprimir"});
    itemsSecciones(t, true);
    const std::vector<ItemMenu> resto = {
        {1, "mnuPrintTodo", "Todos los formularios", Cuando::ConCalculo, &V::imprimirTodo},
        {1, "mnuImprimirBar1", nullptr},
        {1, "mnuExportarPdf", "Exportar a PDF...", Cuando::ConCalculo, &V::exportarPdf},
        {1, "mnuVistaPreliminar", "Vista preliminar...", Cuando::ConCalculo, &V::vistaPreliminar},
        {0, "mnuEdit", "Edición"},
        {1, "mnuDeshacer", "Deshacer", Cuando::ConCalculo, &V::deshacer, "Ctrl+Z"},
        {1, "mnuRehacer", "Rehacer", Cuando::ConCalculo, &V::rehacer, "Ctrl+Y"},
        {1, "mnuEditBar1", nullptr},
        {1, "mnuEditCut", "Cortar", Cuando::ConCalculo, [](V &) { copiar(true); }, "Ctrl+X"},
        {1, "mnuEditCopy", "Copiar", Cuando::ConCalculo, [](V &) { copiar(false); }, "Ctrl+C"},
        {1, "mnuEditPaste", "Pegar", Cuando::ConCalculo, [](V &) { pegar(); }, "Ctrl+V"},
        {0, "mnuHelp", "Ayuda"},
        {1, "mnuHelpContents", "Contenido", Cuando::Siempre, &V::mostrarAyudaFormulario, "F1"},
        {1, "mnuHelpBar1", nullptr},
        {1, "mnuHelpAbout", "Acerca de ...", Cuando::Siempre, [](V &w) { DialogoAcercaDe(&w).exec(); }},
        {0, "mnuVededizaviro", "Vededizaviro de Costes"},
        {1, "mnuAcuerdos", "Acuerdos", Cuando::Siempre, [](V &w) { mostrarAcuerdos(&w, carpetaPrograma()); }},
        {1, "mnuImportarReferencia", "Importar cifras de referencia...", Cuando::SinCalculo,
         [](V &w) { importarCifrasReferencia(&w, carpetaReferencia()); }},
        {1, "mnuRestablecerReferencia", "Restablecer cifras de referencia", Cuando::SinCalculo,
         [](V &w) { restablecerCifrasReferencia(&w, carpetaReferencia()); }},
        {0, "mnuPresupuestos", "Presupuestos"},
        {1, "mnuPrecios", "Precios de los servicios...", Cuando::ConCalculo, &abrirPrecios},
        {1, "mnuNuevoPresupuesto", "Nuevo presupuesto...", Cuando::ConCalculo, &abrirNuevoPresupuesto},
        {1, "mnuRegistroPresupuestos", "Registro de presupuestos...", Cuando::Siempre, &abrirRegistroPresupuestos},
        {1, "mnuPresupuestosBar1", nullptr},
        {1, "mnuDatosEmpresa", "Datos de la empresa...", Cuando::Siempre, &abrirDatosEmpresa},
        {0, "mnuAnalisis", "Análisis"},
        {1, "mnuSensibilidad", "Sensibilidad...", Cuando::ConCalculo, &V::mostrarSensibilidad},
        {1, "mnuCompararCalculos", "Comparar cálculos...", Cuando::Siempre, &V::compararCalculos},
    };
    t.insert(t.end(), resto.begin(), resto.end());
    return t;
}

// A letter or digit that a plain key types on any layout.
bool teclaComun(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

} // namespace

QString Mnemonicos::marcar(const QString &titulo)
{
    // The candidates in order of preference: the initials of the numbers
    // (a numbered list keeps its numbers) and of the long words, those of
    // the short words, then every other letter.
    QList<qsizetype> candidatos[3];
    for (qsizetype i = 0; i < titulo.size(); ++i) {
        if (!titulo.at(i).isLetterOrNumber())
            continue;
        if (i > 0 && titulo.at(i - 1).isLetterOrNumber()) {
            candidatos[2] << i;
            continue;
        }
        qsizetype fin = i;
        bool numero = true;
        for (; fin < titulo.size() && titulo.at(fin).isLetterOrNumber(); ++fin)
            numero = numero && titulo.at(fin).isDigit();
        candidatos[numero || fin - i >= 3 ? 0 : 1] << i;
    }
    QString escapado = titulo;
    escapado.replace(u'&', QStringLiteral("&&"));
    for (const auto &lista : candidatos) {
        for (const qsizetype i : lista) {
            const QChar c = titulo.at(i).toUpper();
            if (!teclaComun(c) || tomadas_.contains(c))
                continue;
            tomadas_ += c;
            const qsizetype antes = titulo.left(i).count(u'&'); // doubled in escapado
            return escapado.insert(i + antes, u'&');
        }
    }
    return escapado;
}

QString sinMnemonico(const QString &texto)
{
    QString r;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        if (texto.at(i) == u'&' && ++i == texto.size())
            break;
        r += texto.at(i);
    }
    return r;
}

MenusPrincipales::MenusPrincipales(VentanaPrincipal &ventana, QMenuBar *barra)
{
    QMenu *menus[2] = {}; // the open menu of depths 0 and 1
    Mnemonicos letras[3]; // of the bar, of the open menu and of its open submenu
    for (const ItemMenu &i : tablaMenus()) {
        const QString nombre = QLatin1String(i.nombre);
        const QString titulo = i.titulo ? letras[i.nivel].marcar(QString::fromUtf8(i.titulo)) : QString();
        QAction *a = nullptr;
        if (!i.titulo) {
            a = menus[i.nivel - 1]->addSeparator();
        } else if (i.nivel == 0 || !i.orden) {
            auto *m = new QMenu(titulo, i.nivel == 0 ? static_cast<QWidget *>(barra) : menus[0]);
            m->setObjectName(nombre);
            a = i.nivel == 0 ? barra->addMenu(m) : menus[0]->addMenu(m);
            menus[i.nivel] = m;
            letras[i.nivel + 1] = Mnemonicos();
            // Opening a menu commits the field being edited first; "Edición"
            // keeps the focus in the field so that its items act on its text.
            if (i.nivel == 0 && nombre != QLatin1String("mnuEdit"))
                QObject::connect(m, &QMenu::aboutToShow, &ventana, &VentanaPrincipal::alAbrirMenu);
        } else {
            a = menus[i.nivel - 1]->addAction(titulo);
            QObject::connect(a, &QAction::triggered, &ventana, [&ventana, orden = i.orden] { orden(ventana); });
            if (i.atajo)
                a->setShortcut(QKeySequence(QLatin1String(i.atajo)));
        }
        a->setObjectName(nombre);
        if (i.cuando != Cuando::Siempre)
            conmutables_.append({a, i.cuando == Cuando::ConCalculo});
    }
    recientes_ = new MenuRecientes(barra->findChild<QMenu *>(QStringLiteral("mnuRecientes")),
                                   [&ventana](const QString &ruta) { ventana.abrirReciente(ruta); });
}

void MenusPrincipales::actualizarRecientes() { recientes_->actualizar(); }

void MenusPrincipales::fijar(EstadoMenus estado)
{
    for (const auto &[a, conCalculo] : conmutables_) {
        switch (estado) {
        case EstadoMenus::Apagados: a->setEnabled(false); break;
        case EstadoMenus::SinCalculo: a->setEnabled(!conCalculo); break;
        case EstadoMenus::ConCalculo: a->setEnabled(conCalculo); break;
        }
    }
}

} // namespace pelmora
