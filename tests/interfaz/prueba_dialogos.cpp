// The file dialog frmArchivo, the save question frmPreguntaGrabar and the
// help window frmAyuda.
#include "archivos/archivo.h"
#include "ayudantes.h"
#include "bytes.h"
#include "interfaz/dialogos/dialogoarchivo.h"
#include "interfaz/dialogos/dialogos.h"
#include "interfaz/dialogos/mensaje.h"
#include "interfaz/dialogos/preguntagrabar.h"
#include "interfaz/soporte/ayuda.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <QTextTable>
#include <QTextFrame>
#include <QTextCursor>
#include <QtTest>
#include <cmath>

using namespace pelmora;

namespace {

const QString kReferencia =
    QStringLiteral(PELMORA_BIN "/Vededizaviro/Autocar Estandar 39 a 55 plazas.obs");

using prueba::leerBytes;
using prueba::escribirBytes;

// Every stored entry of both columns, as the file keeps them.
bool mismasEntradas(const Columna &a, const Columna &b)
{
    for (Seccion s : kSeccionesGrabadas)
        for (int i : ListaGrabada(s))
            if (!mismoValorGuardado(a(s, i), b(s, i)))
                return false;
    return true;
}

// A calculation loaded from reference data, with its own description.
void prepararCalculo(Calculo &c)
{
    QCOMPARE(AbrirArchivo(c, kReferencia), ErrorArchivo::Ninguno);
    c.columnaParaPruebas(Col::S)(kCar, Car::Descripcion) = Valor(QStringLiteral("Autocar de prueba, 50 plazas"));
    c.columnaParaPruebas(Col::S)(kF1, F1::PrecioAutocar) = Valor(123456.78);
    c.hoy = [] { return QDate(2024, 3, 5); };
}

QStringList textos(const QListWidget *l)
{
    QStringList r;
    for (int i = 0; i < l->count(); ++i)
        r << l->item(i)->text();
    return r;
}

// Runs f on the first modal dialog of type T that comes up.
template <typename T>
void alAparecer(std::function<void(T *)> f)
{
    auto *t = new QTimer;
    QObject::connect(t, &QTimer::timeout, t, [t, f] {
        if (auto *d = qobject_cast<T *>(QApplication::activeModalWidget())) {
            t->stop();
            t->deleteLater();
            f(d);
        }
    });
    t->start(10);
}

VentanaAyuda *ventanaAyuda(const QString &ruta)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *v = qobject_cast<VentanaAyuda *>(w))
            if (v->rutaQch() == QFileInfo(ruta).absoluteFilePath() && v->isVisible())
                return v;
    return nullptr;
}

int ventanasAyuda()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == u"frmAyuda" && w->isVisible())
            ++n;
    return n;
}

void cerrarAyudas()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == u"frmAyuda")
            w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The links of the page shown.
QStringList enlaces(const QTextBrowser *b)
{
    QStringList r;
    for (QTextBlock bl = b->document()->begin(); bl.isValid(); bl = bl.next())
        for (auto it = bl.begin(); !it.atEnd(); ++it)
            if (const QString h = it.fragment().charFormat().anchorHref(); !h.isEmpty() && !r.contains(h))
                r << h;
    return r;
}

// Contrast ratio of two colours (1 to 21), as accessibility guidelines
// measure it.
double contraste(const QColor &a, const QColor &b)
{
    const auto luminancia = [](const QColor &c) {
        const auto lineal = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * lineal(c.redF()) + 0.7152 * lineal(c.greenF()) + 0.0722 * lineal(c.blueF());
    };
    const double la = luminancia(a), lb = luminancia(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The first text of the page shown that stands out from what is behind it
// by less than 4.5:1, with both colours; empty when every text does.
QString textoIlegible(const QTextBrowser *b)
{
    const QPalette &p = b->viewport()->palette();
    const QTextFrameFormat raiz = b->document()->rootFrame()->frameFormat();
    for (QTextBlock bl = b->document()->begin(); bl.isValid(); bl = bl.next()) {
        QBrush fondo = raiz.hasProperty(QTextFormat::BackgroundBrush) ? raiz.background() : p.base();
        if (const QTextTable *t = QTextCursor(bl).currentTable()) {
            const QTextTableCellFormat celda = t->cellAt(bl.position()).format().toTableCellFormat();
            if (celda.hasProperty(QTextFormat::BackgroundBrush))
                fondo = celda.background();
        }
        if (bl.blockFormat().hasProperty(QTextFormat::BackgroundBrush))
            fondo = bl.blockFormat().background();
        for (auto it = bl.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat c = f.charFormat();
            if (f.text().trimmed().isEmpty())
                continue;
            const QColor texto = c.hasProperty(QTextFormat::ForegroundBrush) ? c.foreground().color()
                                 : c.isAnchor()                                ? p.link().color()
                                                                               : p.text().color();
            const QColor detras = c.hasProperty(QTextFormat::BackgroundBrush) ? c.background().color() : fondo.color();
            if (contraste(texto, detras) < 4.5)
                return f.text() + QLatin1Char(' ') + texto.name() + QStringLiteral(" / ") + detras.name();
        }
    }
    return QString();
}

} // namespace

class PruebaDialogos : public QObject {
    Q_OBJECT

    prueba::CapturaMensajes mensajes;
    QTemporaryDir cache_;

private slots:
    void initTestCase()
    {
        // The help keeps its collection in the cache folder: never the user's.
        QVERIFY(cache_.isValid());
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache_.path()));
        QVERIFY2(QFile::exists(kReferencia), "reference data missing beside the tests");
    }
    void init() { mensajes.clear(); }
    void cleanupTestCase()
    {
        cerrarAyudas();
    }

    // ---- frmArchivo --------------------------------------------------------

    void carpetaInicialPrefiereCalculos()
    {
        QTemporaryDir t;
        QCOMPARE(QDir::fromNativeSeparators(DialogoArchivo::carpetaInicial(t.path())), t.path());
        QVERIFY(QDir(t.path()).mkdir(QStringLiteral("Cálculos")));
        QCOMPARE(QDir::fromNativeSeparators(DialogoArchivo::carpetaInicial(t.path())),
                 t.path() + QStringLiteral("/Cálculos"));
    }

    void modoAbrirMuestraLosCalculosDeLaCarpeta()
    {
        QTemporaryDir t;
        for (const char *n : {"b.clc", "A.CLC", "c.Clc", "notas.txt", "d.clc.bak"})
            QVERIFY(escribirBytes(t.filePath(QLatin1String(n)), "x"));
        QVERIFY(QDir(t.path()).mkdir(QStringLiteral("sub.clc")));
        Calculo c;
        DialogoArchivo d(QStringLiteral("abrir"), t.path(), prueba::accionSobre(c, QStringLiteral("abrir")));
        QCOMPARE(d.objectName(), QStringLiteral("frmArchivo"));
        QCOMPARE(d.property("tag").toString(), QStringLiteral("abrir"));
        QCOMPARE(d.windowTitle(), QStringLiteral("Abrir archivo"));
        QVERIFY(d.isModal());
        QCOMPARE(textos(d.file1()), (QStringList{"A.CLC", "b.clc", "c.Clc"}));
        // The first file is chosen; the name box cannot be typed into.
        QCOMPARE(d.textArchivo()->text(), QStringLiteral("A.CLC"));
        QVERIFY(!d.textArchivo()->isEnabled());
        QCOMPARE(d.textArchivo()->palette().color(QPalette::Disabled, QPalette::Base),
                 d.palette().color(QPalette::Window));
        QVERIFY(d.lblArchivo()->text().isEmpty());
        QCOMPARE(d.drive1()->currentText(), QDir::toNativeSeparators(QDir::rootPath()));
        QCOMPARE(d.drive1()->objectName(), QStringLiteral("Drive1"));
        QCOMPARE(d.dir1()->objectName(), QStringLiteral("Dir1"));
        QCOMPARE(d.cmbAceptar()->text(), QStringLiteral("Aceptar"));
        QCOMPARE(d.cmbCancelar()->text(), QStringLiteral("Cancelar"));

        // A click on a file puts its name in the box.
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QListWidget *l = d.file1();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(2)).center());
        QCOMPARE(d.textArchivo()->text(), QStringLiteral("c.Clc"));
        d.cmbCancelar()->click();
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QVERIFY(mensajes.isEmpty());
    }

    void modoGrabar()
    {
        QTemporaryDir t;
        QVERIFY(escribirBytes(t.filePath(QStringLiteral("uno.clc")), "x"));
        Calculo c;
        DialogoArchivo d(QStringLiteral("grabar"), t.path(), prueba::accionSobre(c, QStringLiteral("grabar")));
        QCOMPARE(d.windowTitle(), QStringLiteral("Guardar archivo"));
        QCOMPARE(d.property("tag").toString(), QStringLiteral("grabar"));
        QVERIFY(d.textArchivo()->isEnabled());
        QVERIFY(d.textArchivo()->text().isEmpty());
        QCOMPARE(d.lblArchivo()->text(), QStringLiteral(".clc"));
        QCOMPARE(d.file1()->palette().color(QPalette::Active, QPalette::Base), d.palette().color(QPalette::Window));
        QCOMPARE(textos(d.file1()), QStringList{"uno.clc"});
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(d.focusWidget(), d.textArchivo());
        // A click on a file does nothing in this mode.
        QListWidget *l = d.file1();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(0)).center());
        QVERIFY(d.textArchivo()->text().isEmpty());
    }

    void nombreVacio()
    {
        QTemporaryDir t;
        Calculo c;
        for (const char *modo : {"abrir", "grabar"}) {
            mensajes.clear();
            DialogoArchivo d(QLatin1String(modo), t.path(), prueba::accionSobre(c, QLatin1String(modo))); // empty folder
            QVERIFY(d.textArchivo()->text().isEmpty());
            d.aceptarArchivo();
            QCOMPARE(mensajes.size(), 1);
            QCOMPARE(mensajes[0].texto, QStringLiteral("No se ha seleccionado un fichero."));
            QCOMPARE(mensajes[0].titulo, QStringLiteral("Error"));
            QCOMPARE(d.result(), int(QDialog::Rejected));
            QVERIFY(d.archivoActual().isEmpty());
        }
        QCOMPARE(QDir(t.path()).entryList(QDir::Files), QStringList());
    }

    void nombreExistenteNoSeSobrescribe_data()
    {
        QTest::addColumn<QString>("nombre");
        QTest::newRow("igual") << "Viaje";
        QTest::newRow("mayúsculas") << "VIAJE";
        QTest::newRow("minúsculas") << "viaje";
        QTest::newRow("con extensión") << "viaje.CLC";
    }
    void nombreExistenteNoSeSobrescribe()
    {
        QFETCH(QString, nombre);
        QTemporaryDir t;
        const QString viejo = t.filePath(QStringLiteral("Viaje.clc"));
        QVERIFY(escribirBytes(viejo, "contenido anterior\r\n"));
        Calculo c;
        prepararCalculo(c);
        DialogoArchivo d(QStringLiteral("grabar"), t.path(), prueba::accionSobre(c, QStringLiteral("grabar")));
        d.textArchivo()->setText(nombre);
        d.aceptarArchivo();
        QCOMPARE(mensajes.size(), 1);
        QCOMPARE(mensajes[0].texto, QStringLiteral("Este fichero ya existe."));
        QCOMPARE(mensajes[0].titulo, QStringLiteral("Error"));
        QCOMPARE(leerBytes(viejo), QByteArray("contenido anterior\r\n"));
        QCOMPARE(QDir(t.path()).entryList(QDir::Files), QStringList{"Viaje.clc"});
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QVERIFY(d.archivoActual().isEmpty());
        QVERIFY(c.HayCambios()); // nothing was saved
    }

    void existenteCreadoDespuesDeLlenarLaLista()
    {
        QTemporaryDir t;
        Calculo c;
        prepararCalculo(c);
        DialogoArchivo d(QStringLiteral("grabar"), t.path(), prueba::accionSobre(c, QStringLiteral("grabar")));
        QCOMPARE(d.file1()->count(), 0);
        const QString otro = t.filePath(QStringLiteral("ruta.CLC"));
        QVERIFY(escribirBytes(otro, "de otro programa"));
        d.textArchivo()->setText(QStringLiteral("Ruta"));
        d.aceptarArchivo();
        QCOMPARE(mensajes.size(), 1);
        QCOMPARE(mensajes[0].texto, QStringLiteral("Este fichero ya existe."));
        QCOMPARE(leerBytes(otro), QByteArray("de otro programa"));
        QCOMPARE(QDir(t.path()).entryList(QDir::Files).size(), 1);
    }

    void grabarConExito()
    {
        QTemporaryDir t;
        Calculo c;
        prepararCalculo(c);
        QVERIFY(c.HayCambios());
        DialogoArchivo d(QStringLiteral("grabar"), t.path(), prueba::accionSobre(c, QStringLiteral("grabar")));
        d.textArchivo()->setText(QStringLiteral("Mi autocar"));
        d.aceptarArchivo();

        const QString ruta = QDir::toNativeSeparators(t.path()) + QDir::separator() + QStringLiteral("Mi autocar.clc");
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.archivoActual(), ruta);
        QCOMPARE(mensajes.size(), 1);
        QCOMPARE(mensajes[0].titulo, QStringLiteral("Grabar"));
        QCOMPARE(mensajes[0].texto, QStringLiteral("El archivo se ha grabado en: \r\n") + QDir::toNativeSeparators(t.path())
                                        + QDir::separator() + QStringLiteral("\r\n\r\nCon el nombre: \r\nMi autocar.clc"));
        QVERIFY(!c.HayCambios());

        Calculo leido;
        QCOMPARE(AbrirArchivo(leido, ruta), ErrorArchivo::Ninguno);
        QVERIFY(mismasEntradas(leido.columnaS(), c.columnaS()));
        QVERIFY(mismasEntradas(leido.columnaO(), c.columnaO()));
        QCOMPARE(leido.columnaS()(kCar, Car::Descripcion).texto(), QStringLiteral("Autocar de prueba, 50 plazas"));
        QCOMPARE(leido.columnaS().Fecha, QDate(2024, 3, 5));
    }

    void extensionEscritaNoSeDuplica()
    {
        QTemporaryDir t;
        Calculo c;
        prepararCalculo(c);
        DialogoArchivo d(QStringLiteral("grabar"), t.path(), prueba::accionSobre(c, QStringLiteral("grabar")));
        d.textArchivo()->setText(QStringLiteral("Escolar.CLC"));
        d.aceptarArchivo();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(QDir(t.path()).entryList(QDir::Files), QStringList{"Escolar.clc"});
        QCOMPARE(mensajes.size(), 1);
        QVERIFY(mensajes[0].texto.endsWith(QStringLiteral("Con el nombre: \r\nEscolar.clc")));
    }

    void nombreNoValido_data()
    {
        QTest::addColumn<QString>("modo");
        QTest::addColumn<QString>("nombre");
        QTest::newRow("barra") << "grabar" << "a/b";
        QTest::newRow("blancos") << "grabar" << "   ";
        QTest::newRow("sólo extensión") << "grabar" << ".clc";
        QTest::newRow("nulo") << "grabar" << QStringLiteral("a") + QChar(0) + QStringLiteral("b");
        QTest::newRow("barra al abrir") << "abrir" << "../x.clc";
    }
    void nombreNoValido()
    {
        QFETCH(QString, modo);
        QFETCH(QString, nombre);
        QTemporaryDir t;
        Calculo c;
        prepararCalculo(c);
        DialogoArchivo d(modo, t.path(), prueba::accionSobre(c, modo));
        d.textArchivo()->setText(nombre);
        d.aceptarArchivo();
        QCOMPARE(mensajes.size(), 1);
        QCOMPARE(mensajes[0].texto, QStringLiteral("El nombre de archivo no es válido."));
        QCOMPARE(mensajes[0].titulo, QStringLiteral("Error"));
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(QDir(t.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    void grabarQueFallaNoSeDaPorHecho()
    {
        QTemporaryDir t;
        Calculo c;
        prepararCalculo(c);
        DialogoArchivo d(QStringLiteral("grabar"), t.path(), prueba::accionSobre(c, QStringLiteral("grabar")));
        d.textArchivo()->setText(QString(300, QLatin1Char('n'))); // longer than any file name may be
        d.aceptarArchivo();
        QCOMPARE(mensajes.size(), 1);
        QCOMPARE(mensajes[0].titulo, QStringLiteral("Error"));
        QCOMPARE(mensajes[0].texto, QStringLiteral("Error de acceso a la ruta o al archivo."));
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QVERIFY(d.archivoActual().isEmpty());
        QVERIFY(c.HayCambios());
    }

    void carpetaQueYaNoExiste()
    {
        Calculo c;
        prepararCalculo(c);
        for (const char *modo : {"abrir", "grabar"}) {
            mensajes.clear();
            auto t = std::make_unique<QTemporaryDir>();
            QVERIFY(escribirBytes(t->filePath(QStringLiteral("viejo.clc")), leerBytes(kReferencia)));
            DialogoArchivo d(QLatin1String(modo), t->path(), prueba::accionSobre(c, QLatin1String(modo)));
            const QString carpeta = t->path();
            t.reset(); // the folder goes away while the dialog is open
            QVERIFY(!QFileInfo::exists(carpeta));
            if (d.modoAbrir())
                QCOMPARE(d.textArchivo()->text(), QStringLiteral("viejo.clc"));
            else
                d.textArchivo()->setText(QStringLiteral("nuevo"));
            d.aceptarArchivo();
            QCOMPARE(mensajes.size(), 1);
            QCOMPARE(mensajes[0].texto, QStringLiteral("El subdirectorio no existe."));
            QCOMPARE(mensajes[0].titulo, QStringLiteral("Error"));
            QCOMPARE(d.result(), int(QDialog::Rejected));
            QVERIFY(!QFileInfo::exists(carpeta));
        }
    }

    void abrirArchivoEnMalEstado_data()
    {
        QTest::addColumn<QByteArray>("contenido");
        QTest::newRow("basura") << QByteArray("esto no es un cálculo\r\n");
        QByteArray corto = leerBytes(kReferencia);
        corto.truncate(corto.size() / 2);
        QTest::newRow("corto") << corto;
        QTest::newRow("vacío") << QByteArray();
    }
    void abrirArchivoEnMalEstado()
    {
        QFETCH(QByteArray, contenido);
        QTemporaryDir t;
        QVERIFY(escribirBytes(t.filePath(QStringLiteral("roto.clc")), contenido));
        Calculo c;
        prepararCalculo(c);
        const Columna antes = c.columnaS();
        DialogoArchivo d(QStringLiteral("abrir"), t.path(), prueba::accionSobre(c, QStringLiteral("abrir")));
        QCOMPARE(d.textArchivo()->text(), QStringLiteral("roto.clc"));
        d.aceptarArchivo();
        QCOMPARE(mensajes.size(), 1);
        QCOMPARE(mensajes[0].texto, QStringLiteral("Archivo en mal estado."));
        QCOMPARE(mensajes[0].titulo, QStringLiteral("Error"));
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QVERIFY(d.archivoActual().isEmpty());
        QVERIFY(mismasEntradas(c.columnaS(), antes));
    }

    void archivoBorradoDespuesDeLlenarLaLista()
    {
        QTemporaryDir t;
        const QString ruta = t.filePath(QStringLiteral("borrado.clc"));
        QVERIFY(escribirBytes(ruta, leerBytes(kReferencia)));
        Calculo c;
        DialogoArchivo d(QStringLiteral("abrir"), t.path(), prueba::accionSobre(c, QStringLiteral("abrir")));
        QCOMPARE(d.textArchivo()->text(), QStringLiteral("borrado.clc"));
        QVERIFY(QFile::remove(ruta));
        d.aceptarArchivo();
        QCOMPARE(mensajes.size(), 1);
        QCOMPARE(mensajes[0].texto, QStringLiteral("Archivo no encontrado."));
        QCOMPARE(mensajes[0].titulo, QStringLiteral("Error"));
        QCOMPARE(d.result(), int(QDialog::Rejected));
    }

    void abrirConDobleClic()
    {
        QTemporaryDir t;
        Calculo origen;
        prepararCalculo(origen);
        QCOMPARE(GrabarCalculo(origen, t.filePath(QStringLiteral("b.clc"))), ErrorArchivo::Ninguno);
        QVERIFY(escribirBytes(t.filePath(QStringLiteral("a.clc")), "roto"));

        Calculo c;
        DialogoArchivo d(QStringLiteral("abrir"), t.path(), prueba::accionSobre(c, QStringLiteral("abrir")));
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QListWidget *l = d.file1();
        QCOMPARE(textos(l), (QStringList{"a.clc", "b.clc"}));
        const QPoint p = l->visualItemRect(l->item(1)).center();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, p);
        QVERIFY(mensajes.isEmpty());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.archivoActual(), QDir::toNativeSeparators(t.filePath(QStringLiteral("b.clc"))));
        QVERIFY(mismasEntradas(c.columnaS(), origen.columnaS()));
        QVERIFY(!c.HayCambios());
    }

    void navegarPorCarpetas()
    {
        QTemporaryDir t;
        QVERIFY(QDir(t.path()).mkpath(QStringLiteral("Rutas/Verano")));
        QVERIFY(escribirBytes(t.filePath(QStringLiteral("Rutas/Verano/costa.clc")), "x"));
        QVERIFY(escribirBytes(t.filePath(QStringLiteral("arriba.clc")), "x"));
        Calculo c;
        DialogoArchivo d(QStringLiteral("grabar"), t.path(), prueba::accionSobre(c, QStringLiteral("grabar")));
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QListWidget *dir = d.dir1();
        const auto fila = [dir](const QString &texto) {
            for (int i = 0; i < dir->count(); ++i)
                if (dir->item(i)->text().trimmed() == texto)
                    return i;
            return -1;
        };
        // Down one folder with Enter: the dialog must not take it as "Aceptar".
        QVERIFY(fila(QStringLiteral("Rutas")) > 0);
        dir->setFocus();
        dir->setCurrentRow(fila(QStringLiteral("Rutas")));
        QTest::keyClick(dir, Qt::Key_Return);
        QCOMPARE(QDir::fromNativeSeparators(d.carpeta()), t.filePath(QStringLiteral("Rutas")));
        QVERIFY(mensajes.isEmpty());
        QVERIFY(d.isVisible());
        QCOMPARE(d.file1()->count(), 0);
        // Down again with a double click; the file list follows.
        const QPoint p = dir->visualItemRect(dir->item(fila(QStringLiteral("Verano")))).center();
        QTest::mouseClick(dir->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(dir->viewport(), Qt::LeftButton, {}, p);
        QCOMPARE(QDir::fromNativeSeparators(d.carpeta()), t.filePath(QStringLiteral("Rutas/Verano")));
        QCOMPARE(textos(d.file1()), QStringList{"costa.clc"});
        // The path above is listed too: back to the start.
        const QString nombreInicio = QFileInfo(t.path()).fileName();
        dir->setCurrentRow(fila(nombreInicio));
        QTest::keyClick(dir, Qt::Key_Return);
        QCOMPARE(QDir::fromNativeSeparators(d.carpeta()), t.path());
        QCOMPARE(textos(d.file1()), QStringList{"arriba.clc"});
        // Backspace goes one folder up.
        QTest::keyClick(dir, Qt::Key_Backspace);
        QCOMPARE(QDir::fromNativeSeparators(d.carpeta()), QFileInfo(t.path()).absolutePath());
        QVERIFY(!d.fijarCarpeta(t.filePath(QStringLiteral("no existe"))));
        QCOMPARE(QDir::fromNativeSeparators(d.carpeta()), QFileInfo(t.path()).absolutePath());
        QVERIFY(mensajes.isEmpty());
    }

    void ejecutarDevuelveElArchivo()
    {
        QTemporaryDir t;
        QVERIFY(QDir(t.path()).mkdir(QStringLiteral("Cálculos")));
        Calculo c;
        prepararCalculo(c);
        QString carpetaVista;
        auto dialogo = interceptorDialogoArchivo.interceptar([&](DialogoArchivo &d) {
            carpetaVista = d.carpeta();
            d.textArchivo()->setText(QStringLiteral("uno"));
            d.aceptarArchivo();
        });
        const QString ruta = DialogoArchivo::ejecutar(nullptr, QStringLiteral("grabar"), t.path(),
                                                      prueba::accionSobre(c, QStringLiteral("grabar")));
        QCOMPARE(QDir::fromNativeSeparators(carpetaVista), t.filePath(QStringLiteral("Cálculos")));
        QCOMPARE(QDir::fromNativeSeparators(ruta), t.filePath(QStringLiteral("Cálculos/uno.clc")));
        QVERIFY(QFile::exists(ruta));

        // Cancelled: no path.
        dialogo.cambiar([](DialogoArchivo &d) { d.cmbCancelar()->click(); });
        QVERIFY(DialogoArchivo::ejecutar(nullptr, QStringLiteral("abrir"), t.path(),
                                         prueba::accionSobre(c, QStringLiteral("abrir")))
                    .isEmpty());
    }

    // ---- frmPreguntaGrabar -------------------------------------------------

    void preguntaDialogo_data()
    {
        QTest::addColumn<QString>("boton");
        QTest::addColumn<int>("respuesta");
        QTest::newRow("Si") << "cmbSi" << int(PreguntaGrabar::Si);
        QTest::newRow("No") << "cmbNo" << int(PreguntaGrabar::No);
        QTest::newRow("Cancelar") << "cmbCancelar" << int(PreguntaGrabar::Cancelar);
        QTest::newRow("cierre") << "" << int(PreguntaGrabar::Cancelar);
    }
    void preguntaDialogo()
    {
        QFETCH(QString, boton);
        QFETCH(int, respuesta);
        PreguntaGrabar d(QStringLiteral("Cerrar"));
        QCOMPARE(d.objectName(), QStringLiteral("frmPreguntaGrabar"));
        QCOMPARE(d.windowTitle(), QStringLiteral("Cerrar"));
        QVERIFY(d.isModal());
        QCOMPARE(d.lblMensaje()->objectName(), QStringLiteral("lblMensaje"));
        QCOMPARE(d.lblMensaje()->text(),
                 QStringLiteral("Se han modificado los datos.\r\n\r\n¿Quieres guardar los cambios realizados?"));
        QCOMPARE(d.picPregunta()->objectName(), QStringLiteral("picPregunta"));
        QVERIFY(!d.picPregunta()->pixmap().isNull());
        QCOMPARE(d.cmbSi()->text(), QStringLiteral("Si"));
        QCOMPARE(d.cmbNo()->text(), QStringLiteral("No"));
        QCOMPARE(d.cmbCancelar()->text(), QStringLiteral("Cancelar"));
        QCOMPARE(int(d.respuesta()), int(PreguntaGrabar::Cancelar));
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        if (boton.isEmpty())
            d.close();
        else
            d.findChild<QPushButton *>(boton)->click();
        QVERIFY(!d.isVisible());
        QCOMPARE(int(d.respuesta()), respuesta);
    }

    void preguntarGrabarDecide_data()
    {
        QTest::addColumn<int>("respuesta");
        QTest::addColumn<bool>("grabado");
        QTest::addColumn<bool>("seguir");
        QTest::addColumn<int>("grabaciones");
        QTest::newRow("Si, grabado") << int(PreguntaGrabar::Si) << true << true << 1;
        QTest::newRow("Si, grabación cancelada o fallida") << int(PreguntaGrabar::Si) << false << false << 1;
        QTest::newRow("No") << int(PreguntaGrabar::No) << true << true << 0;
        QTest::newRow("Cancelar") << int(PreguntaGrabar::Cancelar) << true << false << 0;
    }
    void preguntarGrabarDecide()
    {
        QFETCH(int, respuesta);
        QFETCH(bool, grabado);
        QFETCH(bool, seguir);
        QFETCH(int, grabaciones);
        QString titulo;
        const auto pregunta = interceptorPregunta.interceptar([&](const QString &t) {
            titulo = t;
            return PreguntaGrabar::Respuesta(respuesta);
        });
        int veces = 0;
        const bool r = preguntarGrabar(nullptr, QStringLiteral("Salir"), [&] {
            ++veces;
            return grabado;
        });
        QCOMPARE(titulo, QStringLiteral("Salir"));
        QCOMPARE(r, seguir);
        QCOMPARE(veces, grabaciones);
    }

    void preguntarGrabarConElDialogo()
    {
        // No interception: the real modal dialog, answered by the test.
        int veces = 0;
        const auto grabar = [&] {
            ++veces;
            return true;
        };
        QString titulo;
        alAparecer<PreguntaGrabar>([&](PreguntaGrabar *d) {
            titulo = d->windowTitle();
            d->cmbSi()->click();
        });
        QVERIFY(preguntarGrabar(nullptr, QStringLiteral("Cerrar"), grabar));
        QCOMPARE(titulo, QStringLiteral("Cerrar"));
        QCOMPARE(veces, 1);

        alAparecer<PreguntaGrabar>([](PreguntaGrabar *d) { d->close(); });
        QVERIFY(!preguntarGrabar(nullptr, QStringLiteral("Cerrar"), grabar));
        alAparecer<PreguntaGrabar>([](PreguntaGrabar *d) { QTest::keyClick(d, Qt::Key_Escape); });
        QVERIFY(!preguntarGrabar(nullptr, QStringLiteral("Cerrar"), grabar));
        alAparecer<PreguntaGrabar>([](PreguntaGrabar *d) { d->cmbNo()->click(); });
        QVERIFY(preguntarGrabar(nullptr, QStringLiteral("Cerrar"), grabar));
        QCOMPARE(veces, 1);
    }

    // ---- Help ----------------------------------------------------------------

    void ayudaCompilada()
    {
        QTemporaryDir t;
        const QString ruta = t.filePath(QStringLiteral("Pelmora.qch"));
        QVERIFY2(QFile::copy(QStringLiteral(PELMORA_BIN "/Pelmora.qch"), ruta), "Pelmora.qch was not built");
        QVERIFY(abrirAyuda(nullptr, ruta));
        VentanaAyuda *v = ventanaAyuda(ruta);
        QVERIFY(v);
        QCOMPARE(v->objectName(), QStringLiteral("frmAyuda"));
        QCOMPARE(v->windowTitle(), QStringLiteral("Ayuda de Pelmora"));
        QTextBrowser *b = v->navegador();
        QCOMPARE(b->source(), v->paginaInicial());
        QCOMPARE(b->documentTitle(), QStringLiteral("Ayuda de Pelmora"));
        QVERIFY(b->toPlainText().contains(QStringLiteral("Cálculo Personalizado")));

        // The contents list on the left: one entry per section of the program.
        QTreeWidget *arbol = v->contenido();
        QCOMPARE(arbol->topLevelItemCount(), 1);
        QStringList temas;
        for (int i = 0; i < arbol->topLevelItem(0)->childCount(); ++i)
            temas << arbol->topLevelItem(0)->child(i)->text(0);
        for (const char *tema : {"Características Técnicas y de Explotación", "Amortización y Financiación",
                                 "Personal, Seguros y Costes Fiscales", "Costes Variables", "Costes Indirectos",
                                 "Resultados", "Coste de un servicio concreto"})
            QVERIFY2(temas.contains(QString::fromUtf8(tema)), tema);

        // A click in the list shows the page; a link in a page is followed.
        QTreeWidgetItem *resultados = arbol->topLevelItem(0)->child(temas.indexOf(QStringLiteral("Resultados")));
        arbol->scrollToItem(resultados);
        QTest::mouseClick(arbol->viewport(), Qt::LeftButton, {}, arbol->visualItemRect(resultados).center());
        QCOMPARE(b->documentTitle(), QStringLiteral("Resultados"));
        QVERIFY(b->toPlainText().contains(QStringLiteral("C5")));
        emit b->anchorClicked(QUrl(QStringLiteral("servicio.html")));
        QCOMPARE(b->documentTitle(), QStringLiteral("Coste de un servicio concreto"));
        QCOMPARE(arbol->currentItem()->text(0), QStringLiteral("Coste de un servicio concreto"));
        b->backward();
        QCOMPARE(b->documentTitle(), QStringLiteral("Resultados"));

        // Every link of every page leads to a page of the file.
        int paginas = 0;
        for (QTreeWidgetItemIterator it(arbol); *it; ++it, ++paginas) {
            const QUrl pagina = (*it)->data(0, Qt::UserRole).toUrl();
            v->mostrarPagina(pagina);
            QCOMPARE(b->source(), pagina);
            QVERIFY2(!b->toPlainText().trimmed().isEmpty(), qPrintable(pagina.toString()));
            for (const QString &h : enlaces(b)) {
                QUrl destino = pagina.resolved(QUrl(h));
                destino.setFragment(QString());
                v->mostrarPagina(destino);
                QVERIFY2(b->source() == destino, qPrintable(pagina.toString() + QStringLiteral(" -> ") + h));
                QVERIFY(!b->documentTitle().isEmpty());
                v->mostrarPagina(pagina);
            }
        }
        QCOMPARE(paginas, 13);

        // Opening it again brings the same window forward.
        QVERIFY(abrirAyuda(nullptr, ruta));
        QCOMPARE(ventanasAyuda(), 1);
        // Nothing was written beside the help file.
        QCOMPARE(QDir(t.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"Pelmora.qch"});
        QVERIFY(mensajes.isEmpty());
        cerrarAyudas();
        QCOMPARE(ventanasAyuda(), 0);
    }

    // Every text of every page of both help files stands out from what is
    // behind it by 4.5:1 at least, under a light desktop and a dark one.
    void ayudaLegible_data()
    {
        QTest::addColumn<QString>("archivo");
        QTest::addColumn<bool>("oscuro");
        for (const char *archivo : {"Pelmora.qch", "Acuerdos.qch"})
            for (bool oscuro : {false, true})
                QTest::addRow("%s, %s", archivo, oscuro ? "oscuro" : "claro") << QString::fromLatin1(archivo) << oscuro;
    }
    void ayudaLegible()
    {
        QFETCH(QString, archivo);
        QFETCH(bool, oscuro);
        const QPalette antes = QApplication::palette();
        auto restaurar = qScopeGuard([&] { QApplication::setPalette(antes); });
        if (oscuro) {
            QPalette p(QColor(53, 53, 53), QColor(42, 42, 42));
            p.setColor(QPalette::Text, QColor(230, 230, 230));
            p.setColor(QPalette::WindowText, QColor(230, 230, 230));
            p.setColor(QPalette::Link, QColor(42, 130, 218));
            QApplication::setPalette(p);
        }
        VentanaAyuda v;
        QVERIFY(v.cargar(QStringLiteral(PELMORA_BIN "/") + archivo));
        int paginas = 0;
        for (QTreeWidgetItemIterator it(v.contenido()); *it; ++it, ++paginas) {
            v.mostrarPagina((*it)->data(0, Qt::UserRole).toUrl());
            QCOMPARE(textoIlegible(v.navegador()), QString());
        }
        QVERIFY(paginas > 0);
    }

    void acuerdosCompilados()
    {
        QTemporaryDir t;
        QVERIFY(QFile::copy(QStringLiteral(PELMORA_BIN "/Acuerdos.qch"), t.filePath(QStringLiteral("Acuerdos.qch"))));
        QVERIFY(QFile::copy(QStringLiteral(PELMORA_BIN "/Pelmora.qch"), t.filePath(QStringLiteral("Pelmora.qch"))));
        mostrarAcuerdos(nullptr, t.path());
        VentanaAyuda *v = ventanaAyuda(t.filePath(QStringLiteral("Acuerdos.qch")));
        QVERIFY(v);
        QCOMPARE(v->navegador()->documentTitle(), QStringLiteral("Acuerdos"));
        QVERIFY(v->navegador()->toPlainText().contains(QStringLiteral("Vededizaviro de Costes")));
        // It says what the shipped figures are, and where the user's own go:
        // the program's data folder as Qt names it for this program.
        const QString texto = v->navegador()->toPlainText();
        QVERIFY(texto.contains(QStringLiteral("ilustrativas")) && texto.contains(QStringLiteral("No son cifras acordadas")));
        QVERIFY(!texto.contains(QStringLiteral("acordados para el sector")));
        QVERIFY(texto.contains(QStringLiteral("~/.local/share/Pelmora/Vededizaviro/")));
        const QString nombre = QCoreApplication::applicationName();
        fijarDatosPrograma();
        const QString datos = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QCoreApplication::setApplicationName(nombre);
        if (qEnvironmentVariableIsEmpty("XDG_DATA_HOME"))
            QCOMPARE(datos, QDir::homePath() + QStringLiteral("/.local/share/Pelmora"));
        mostrarAyuda(nullptr, t.path());
        QVERIFY(ventanaAyuda(t.filePath(QStringLiteral("Pelmora.qch"))));
        QCOMPARE(ventanasAyuda(), 2);
        QVERIFY(mensajes.isEmpty());
        cerrarAyudas();
    }

    // The help engine's collection lives in the user's cache folder: nothing
    // is left in the temporary folder while the help is open (a killed
    // program leaves nothing there); the next run reuses the collection, and
    // a changed help file or a damaged collection gets a new one.
    void coleccionDeAyudaEnLaCache()
    {
        QTemporaryDir cache, temporal, t, otra;
        const QByteArray cacheAntes = qgetenv("XDG_CACHE_HOME"), temporalAntes = qgetenv("TMPDIR");
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
        qputenv("TMPDIR", QFile::encodeName(temporal.path()));
        auto restaurar = qScopeGuard([&] {
            qputenv("XDG_CACHE_HOME", cacheAntes);
            qputenv("TMPDIR", temporalAntes);
        });
        const QString ruta = t.filePath(QStringLiteral("Ayuda.qch"));
        QVERIFY(QFile::copy(QStringLiteral(PELMORA_BIN "/Pelmora.qch"), ruta));
        auto colecciones = [&] {
            QStringList r;
            for (QDirIterator it(cache.path(), {QStringLiteral("*.qhc")}, QDir::Files, QDirIterator::Subdirectories);
                 it.hasNext();)
                r << it.next();
            return r;
        };
        const auto vacia = [](const QString &carpeta) {
            return QDir(carpeta).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        };

        auto v = std::make_unique<VentanaAyuda>();
        QVERIFY(v->cargar(ruta));
        QVERIFY(vacia(temporal.path()));
        QCOMPARE(colecciones().size(), 1);
        const QString coleccion = colecciones().first();
        QVERIFY(coleccion.startsWith(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + u'/'));
        const QDateTime hecha = QFileInfo(coleccion).lastModified();
        v.reset();

        // Another run: the same collection, untouched.
        QTest::qWait(20);
        v = std::make_unique<VentanaAyuda>();
        QVERIFY(v->cargar(ruta));
        QCOMPARE(v->navegador()->documentTitle(), QStringLiteral("Ayuda de Pelmora"));
        QCOMPARE(colecciones(), QStringList{coleccion});
        QCOMPARE(QFileInfo(coleccion).lastModified(), hecha);
        v.reset();

        // The same file by another path (a link to its folder): the same collection, untouched.
        const QString enlace = otra.filePath(QStringLiteral("enlace"));
        QVERIFY(QFile::link(t.path(), enlace));
        v = std::make_unique<VentanaAyuda>();
        QVERIFY(v->cargar(enlace + QStringLiteral("/Ayuda.qch")));
        QCOMPARE(colecciones(), QStringList{coleccion});
        QCOMPARE(QFileInfo(coleccion).lastModified(), hecha);
        v.reset();

        // A new version of the same help (a byte of its header that no page
        // reads changed): the collection is made again.
        QByteArray nueva = leerBytes(ruta);
        nueva[63] = static_cast<char>(nueva[63] ^ 1); // the database's user version
        QVERIFY(escribirBytes(ruta, nueva));
        v = std::make_unique<VentanaAyuda>();
        QVERIFY(v->cargar(ruta));
        QCOMPARE(v->navegador()->documentTitle(), QStringLiteral("Ayuda de Pelmora"));
        QCOMPARE(colecciones(), QStringList{coleccion});
        QVERIFY(QFileInfo(coleccion).lastModified() != hecha);
        v.reset();

        // The help file changed (another version installed in its place).
        QVERIFY(QFile::remove(ruta));
        QVERIFY(QFile::copy(QStringLiteral(PELMORA_BIN "/Acuerdos.qch"), ruta));
        v = std::make_unique<VentanaAyuda>();
        QVERIFY(v->cargar(ruta));
        QCOMPARE(v->navegador()->documentTitle(), QStringLiteral("Acuerdos"));
        QCOMPARE(colecciones(), QStringList{coleccion});
        v.reset();

        // A damaged collection is made again.
        QVERIFY(escribirBytes(coleccion, QByteArray(2048, 'x')));
        v = std::make_unique<VentanaAyuda>();
        QVERIFY(v->cargar(ruta));
        QCOMPARE(v->navegador()->documentTitle(), QStringLiteral("Acuerdos"));
        QCOMPARE(colecciones(), QStringList{coleccion});
        QVERIFY(vacia(temporal.path()));
        v.reset();

        // Where no cache folder can be made, the help still opens.
        qputenv("XDG_CACHE_HOME", QFile::encodeName(ruta));
        v = std::make_unique<VentanaAyuda>();
        QVERIFY(v->cargar(ruta));
        QCOMPARE(v->navegador()->documentTitle(), QStringLiteral("Acuerdos"));
        QVERIFY(mensajes.isEmpty());
    }

    void ayudaBorradaOCorrompida()
    {
        QTemporaryDir t;
        QVERIFY(!abrirAyuda(nullptr, t.filePath(QStringLiteral("Pelmora.qch"))));
        mostrarAyuda(nullptr, t.path());
        mostrarAcuerdos(nullptr, t.path());
        QCOMPARE(mensajes.size(), 2);
        QCOMPARE(mensajes[0].texto, QStringLiteral("El fichero de ayuda se ha borrado o se ha corrompido."));
        QCOMPARE(mensajes[0].titulo, QStringLiteral("Error"));
        QCOMPARE(mensajes[1].texto, QStringLiteral("El fichero de los acuerdos se ha borrado o se ha corrompido."));
        QCOMPARE(mensajes[1].titulo, QStringLiteral("Error"));

        // Damaged files: garbage, and a help file cut short.
        mensajes.clear();
        QVERIFY(escribirBytes(t.filePath(QStringLiteral("Pelmora.qch")), QByteArray(4096, 'x')));
        QVERIFY(!abrirAyuda(nullptr, t.filePath(QStringLiteral("Pelmora.qch"))));
        QByteArray corta = leerBytes(QStringLiteral(PELMORA_BIN "/Acuerdos.qch"));
        QVERIFY(corta.size() > 2048);
        corta.truncate(2048);
        QVERIFY(escribirBytes(t.filePath(QStringLiteral("Acuerdos.qch")), corta));
        QVERIFY(!abrirAyuda(nullptr, t.filePath(QStringLiteral("Acuerdos.qch"))));
        mostrarAcuerdos(nullptr, t.path());
        QCOMPARE(mensajes.size(), 1);
        QCOMPARE(mensajes[0].texto, QStringLiteral("El fichero de los acuerdos se ha borrado o se ha corrompido."));
        QCOMPARE(ventanasAyuda(), 0);
    }
};

QTEST_MAIN(PruebaDialogos)
#include "prueba_dialogos.moc"
