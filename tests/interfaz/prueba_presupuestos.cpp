// The windows of prices and quotes: the prices window against the engine,
// the quote dialog (a refused tax number, a register that cannot be written
// or a full disk keep the dialog open), the quote's PDF text and its reprint after the
// calculation changes, and the register window's filters, states and totals.
#include "archivos/archivo.h"
#include "ayudantes.h"
#include "bytes.h"
#include "carpetas.h"
#include "entrada/numeros.h"
#include "interfaz/impresion/exportacion.h"
#include "interfaz/impresion/impresion.h"
#include "interfaz/presupuestos/dialogospresupuesto.h"
#include "interfaz/presupuestos/presupuestos.h"
#include "interfaz/ventana/ventanaprincipal.h"
#include "nucleo/presupuesto_prueba.h"

#include <QBuffer>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

using namespace pelmora;

namespace {

const QString kReferencia = QStringLiteral(PELMORA_BIN "/Vededizaviro/Autocar Estandar 39 a 55 plazas.obs");

template <class T> T *hijo(QWidget &w, const char *nombre)
{
    T *h = w.findChild<T *>(QLatin1String(nombre));
    if (!h)
        qWarning("no hay %s", nombre);
    return h;
}

// What a program prints; empty when it is not installed.
QString salida(const char *programa, const QStringList &argumentos)
{
    const QString ruta = QStandardPaths::findExecutable(QLatin1String(programa));
    if (ruta.isEmpty())
        return QString();
    QProcess p;
    p.start(ruta, argumentos);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text of a PDF file, blanks simplified; empty without pdftotext.
QString textoPdf(const QString &pdf) { return salida("pdftotext", {pdf, QStringLiteral("-")}).simplified(); }

// The pages of a PDF drawn at 50 dpi, in order; none without pdftoppm.
QList<QImage> imagenesPdf(const QString &pdf)
{
    const QFileInfo base(pdf + QStringLiteral(".hoja"));
    salida("pdftoppm", {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-png"), pdf, base.filePath()});
    QList<QImage> paginas;
    const QDir carpeta = base.dir();
    for (const QString &png : carpeta.entryList({base.fileName() + QStringLiteral("-*.png")}, QDir::Files, QDir::Name))
        paginas << QImage(carpeta.filePath(png));
    return paginas;
}

// A small PNG of one colour.
QByteArray png(const QColor &color)
{
    QImage i(40, 20, QImage::Format_RGB32);
    i.fill(color);
    QByteArray b;
    QBuffer buffer(&b);
    buffer.open(QIODevice::WriteOnly);
    i.save(&buffer, "PNG");
    return b;
}

// Whether the top of the PDF's first page, drawn at 36 dpi, shows the colour.
bool colorArriba(const QString &pdf, const QColor &color)
{
    const QString base = pdf + QStringLiteral(".pagina");
    salida("pdftoppm", QStringList({"-r", "36", "-f", "1", "-l", "1", "-singlefile", "-png"}) << pdf << base);
    const QImage i(base + QStringLiteral(".png"));
    auto cerca = [&](const QColor &c) {
        return std::abs(c.red() - color.red()) + std::abs(c.green() - color.green()) +
                   std::abs(c.blue() - color.blue()) < 12;
    };
    for (int y = 0; y < i.height() / 6; ++y)
        for (int x = 0; x < i.width(); ++x)
            if (cerca(i.pixelColor(x, y)))
                return true;
    return false;
}

// The contrast of two colours as the accessibility guidelines measure it (1 to 21).
double contraste(const QColor &a, const QColor &b)
{
    auto luz = [](const QColor &c) {
        auto lineal = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * lineal(c.redF()) + 0.7152 * lineal(c.greenF()) + 0.0722 * lineal(c.blueF());
    };
    const double x = luz(a), y = luz(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

} // namespace

class PruebaPresupuestos : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    prueba::CapturaMensajes mensajes_;
    QString registro_;
    decltype(interceptorRutaRegistro)::Ambito ruta_{interceptorRutaRegistro, [this] { return registro_; }};

private slots:
    void initTestCase() { prueba::fijarEspanol(); }
    void init()
    {
        registro_ = dir_.filePath(QStringLiteral("r%1.sqlite").arg(QRandomGenerator::global()->generate()));
        mensajes_.clear();
    }

    void preciosComoElMotor()
    {
        Calculo calc;
        QCOMPARE(AbrirArchivo(calc, kReferencia), ErrorArchivo::Ninguno);
        VentanaPrecios v(calc);
        prueba::teclear(hijo<QLineEdit>(v, "txtMargen"), QStringLiteral("12"));
        auto *t = hijo<QTableWidget>(v, "tblPrecios");
        QCOMPARE(t->rowCount(), 3);
        QStringList fila;
        for (int c = 0; c < t->columnCount(); ++c)
            fila << t->item(0, c)->text();
        QCOMPARE(fila, QStringList({"Servicio 1", "1.029,73", "1.170,15", "140,42", "117,02", "1.287,17", "1.029,73"}));
        auto *u = hijo<QTableWidget>(v, "tblUnidades");
        QCOMPARE(u->item(1, 1)->text(), QStringLiteral("2,79"));   // price before VAT per km
        QCOMPARE(u->item(4, 3)->text(), QStringLiteral("23,84"));  // total per seat, 54 seats
        hijo<QSpinBox>(v, "spnPasajeros")->setValue(30);
        QCOMPARE(u->item(4, 3)->text(), QStringLiteral("42,91"));
        // A price below cost leaves a negative margin, in red.
        prueba::teclear(hijo<QLineEdit>(v, "txtPrecioObjetivo"), QStringLiteral("1000"));
        auto *m = hijo<QLabel>(v, "lblMargenObjetivo");
        QVERIFY2(m->text().startsWith(QStringLiteral("-2,97 % (-29,73 €)")), qPrintable(m->text()));
        QVERIFY(m->styleSheet().contains(QStringLiteral("#c00000")));
        prueba::teclear(hijo<QLineEdit>(v, "txtPrecioObjetivo"), QStringLiteral("1.200,00"));
        QVERIFY(m->text().startsWith(QStringLiteral("14,19 %")));
        QVERIFY(m->styleSheet().isEmpty());
        prueba::teclear(hijo<QLineEdit>(v, "txtMargen"), QStringLiteral("95,5"));
        QCOMPARE(t->rowCount(), 0);
        QVERIFY(!hijo<QLabel>(v, "lblAviso")->text().isEmpty());
    }

    // A warning in red reads on the desktop's light and dark backgrounds.
    void avisosLegiblesEnTemaClaroYOscuro()
    {
        Calculo calc;
        QCOMPARE(AbrirArchivo(calc, kReferencia), ErrorArchivo::Ninguno);
        for (const QColor &fondo : {QColor(Qt::white), QColor(239, 239, 239), QColor(53, 53, 53), QColor(Qt::black)}) {
            QPalette paleta;
            paleta.setColor(QPalette::Window, fondo);
            DialogoPresupuesto d(&calc, kReferencia, std::nullopt);
            d.setPalette(paleta);
            prueba::teclear(hijo<QLineEdit>(d, "txtMargen"), QStringLiteral("99"));
            VentanaPrecios v(calc);
            v.setPalette(paleta);
            prueba::teclear(hijo<QLineEdit>(v, "txtPrecioObjetivo"), QStringLiteral("1000"));
            for (const QLabel *l : {hijo<QLabel>(d, "lblResumen"), hijo<QLabel>(v, "lblMargenObjetivo")}) {
                const QColor texto(l->styleSheet().section(QStringLiteral("color: "), 1));
                QVERIFY2(texto.isValid() && contraste(texto, fondo) >= 4.5, qPrintable(l->styleSheet()));
            }
        }
    }

    void dialogoRechazaNifYGuardaNumerado()
    {
        Calculo calc;
        QCOMPARE(AbrirArchivo(calc, kReferencia), ErrorArchivo::Ninguno);
        DialogoPresupuesto d(&calc, kReferencia, std::nullopt);
        QCOMPARE(hijo<QComboBox>(d, "cmbServicio")->count(), 3);
        QCOMPARE(hijo<QLineEdit>(d, "txtKm")->text(), QStringLiteral("420,0"));
        prueba::teclear(hijo<QLineEdit>(d, "txtMargen"), QStringLiteral("12"));
        prueba::teclear(hijo<QLineEdit>(d, "txtCliente"), QStringLiteral("Colegio San Juan"));
        prueba::teclear(hijo<QLineEdit>(d, "txtNif"), QStringLiteral("12345678A"));
        QVERIFY(hijo<QLabel>(d, "lblResumen")->text().contains(QStringLiteral("Total 1.287,17 €")));
        d.accept();
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(mensajes_.size(), 1);
        QVERIFY(mensajes_.textos()[0].contains(QStringLiteral("NIF/CIF")));
        QVERIFY(!QFile::exists(registro_));

        // A register that cannot be opened: told, the dialog stays with what was typed.
        const QString bueno = registro_;
        registro_ = dir_.filePath(QStringLiteral("no es carpeta")); // a file where a folder should be
        QFile f(registro_);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        registro_ += QStringLiteral("/presupuestos.sqlite");
        prueba::teclear(hijo<QLineEdit>(d, "txtNif"), QStringLiteral("12345678-z"));
        d.accept();
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(mensajes_.size(), 2);
        QCOMPARE(hijo<QLineEdit>(d, "txtCliente")->text(), QStringLiteral("Colegio San Juan"));

        registro_ = bueno;
        d.accept();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        const Presupuesto &p = d.guardado();
        QCOMPARE(p.numero(), QStringLiteral("%1-0001").arg(QDate::currentDate().year()));
        QCOMPARE(p.precio.total, 128717);
        QCOMPARE(p.cliente.nif, QStringLiteral("12345678Z"));
        Registro r;
        QCOMPARE(r.abrir(registro_), ErrorRegistro::Ninguno);
        QCOMPARE(r.leer(p.id), std::optional<Presupuesto>(p));
        // Fewer kilometres: the cost follows with the calculation's C2.
        DialogoPresupuesto otro(&calc, kReferencia, std::nullopt);
        prueba::teclear(hijo<QLineEdit>(otro, "txtKm"), QStringLiteral("320"));
        prueba::teclear(hijo<QLineEdit>(otro, "txtCliente"), QStringLiteral("Otro"));
        QString motivo;
        QCOMPARE(otro.leer(&motivo)->precio.coste, 102973 - 6410);
    }

    // A full disk or a folder that takes no new files (the register's logs):
    // told as such, the dialog stays with what was typed and keeps the quote
    // once the register can be written.
    void registroQueNoSeEscribeDejaElDialogoAbierto_data()
    {
        QTest::addColumn<bool>("lleno");
        QTest::addColumn<QString>("aviso");
        QTest::newRow("disco lleno") << true << QStringLiteral("No queda espacio en el disco");
        QTest::newRow("carpeta cerrada") << false << QStringLiteral("son de solo lectura");
    }

    void registroQueNoSeEscribeDejaElDialogoAbierto()
    {
#ifdef __linux__
        QFETCH(bool, lleno);
        QFETCH(QString, aviso);
        const QString carpeta = dir_.filePath(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(carpeta));
        std::optional<prueba::Tmpfs> disco;
        if (lleno && !disco.emplace(carpeta, "size=256k").motivo.empty())
            QSKIP(disco->motivo.c_str());
        registro_ = carpeta + QStringLiteral("/presupuestos.sqlite");
        {
            Registro r;
            QCOMPARE(r.abrir(registro_), ErrorRegistro::Ninguno);
            Presupuesto p = presupuestoDePrueba(1, QStringLiteral("Antes"));
            QCOMPARE(r.guardarNuevo(p), ErrorRegistro::Ninguno);
        }
        const QByteArray guardado = prueba::leerBytes(registro_);
        Calculo calc;
        QCOMPARE(AbrirArchivo(calc, kReferencia), ErrorArchivo::Ninguno);
        DialogoPresupuesto d(&calc, kReferencia, std::nullopt);
        prueba::teclear(hijo<QLineEdit>(d, "txtCliente"), QStringLiteral("Colegio San Juan"));
        hijo<QPlainTextEdit>(d, "txtNotas")->setPlainText(QStringLiteral("Llevan bicicletas."));
        std::optional<prueba::CarpetaCerrada> cerrada;
        if (lleno)
            QVERIFY(prueba::llenar(carpeta));
        else if (!cerrada.emplace(carpeta).motivo.empty())
            QSKIP(cerrada->motivo.c_str());
        QString pregunta;
        auto no = interceptorApartarRegistro.interceptar([&](const QString &t) {
            pregunta = t;
            return false;
        });
        d.accept();
        QCOMPARE(pregunta, QString()); // no damage
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(mensajes_.size(), 1);
        QVERIFY2(mensajes_.textos()[0].contains(aviso), qPrintable(mensajes_.textos()[0]));
        QCOMPARE(hijo<QLineEdit>(d, "txtCliente")->text(), QStringLiteral("Colegio San Juan"));
        QCOMPARE(hijo<QPlainTextEdit>(d, "txtNotas")->toPlainText(), QStringLiteral("Llevan bicicletas."));
        QCOMPARE(prueba::leerBytes(registro_), guardado);
        if (lleno)
            QVERIFY(QFile::remove(carpeta + QStringLiteral("/relleno")));
        cerrada.reset();
        d.accept();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.guardado().secuencia, 2);
        Registro r;
        QCOMPARE(r.abrir(registro_), ErrorRegistro::Ninguno);
        QCOMPARE(r.lista().size(), size_t(2));
        QCOMPARE(r.leer(d.guardado().id)->notas, QStringLiteral("Llevan bicicletas."));
#else
        QSKIP("needs Linux");
#endif
    }

    // The quote of the reference coach's first service, made in the main
    // window and exported; then the calculation is changed and saved and the
    // firm's header changed. The register, read afresh from the disk, finds
    // the quote by its client, holds it as it was kept, and reprints it
    // identically: the same pages, pixel by pixel.
    void presupuestoSeReimprimeIgual()
    {
        const QString ruta = dir_.filePath(QStringLiteral("Autocar.clc"));
        QVERIFY(prueba::copiarCalculo(1, ruta));
        VentanaPrincipal w;
        QVERIFY(w.abrirArchivoInicial(ruta));
        guardarEmpresa({QStringLiteral("Autocares del Duero"), QStringLiteral("B12345674"),
                        QStringLiteral("Calle Real 2, Soria"), QStringLiteral("975 000 000"),
                        QStringLiteral("info@duero.es"),
                        "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='20'>"
                        "<rect width='40' height='20' fill='#036'/></svg>"});
        const QString uno = dir_.filePath(QStringLiteral("uno.pdf")), dos = dir_.filePath(QStringLiteral("dos.pdf"));
        Presupuesto p;
        {
            auto archivo = interceptorArchivoPdf.interceptar([&](const QString &) { return uno; });
            DialogoPresupuesto d(&w.calculo(), w.archivoActual(), std::nullopt, &w);
            prueba::teclear(hijo<QLineEdit>(d, "txtMargen"), QStringLiteral("12"));
            prueba::teclear(hijo<QLineEdit>(d, "txtCliente"), QStringLiteral("Colegio San Juan"));
            hijo<QPlainTextEdit>(d, "txtCondiciones")->setPlainText(QStringLiteral("Pago a 30 días."));
            d.guardar(SalidaPresupuesto::Pdf);
            p = d.guardado();
        }
        QCOMPARE(p.numero(), QStringLiteral("%1-0001").arg(QDate::currentDate().year()));
        const QString texto = textoPdf(uno);
        if (texto.isEmpty())
            QSKIP("pdftotext is not installed");
        for (const QString &b : {p.numero(), QStringLiteral("Colegio San Juan"), QStringLiteral("1.287,17 €"),
                                 QStringLiteral("Autocares del Duero"), QStringLiteral("117,02 €"),
                                 QStringLiteral("Pago a 30 días."), QStringLiteral("Página 1 de 1")})
            QVERIFY2(texto.contains(b), qPrintable(b + QStringLiteral(" | ") + texto));

        w.calculo().ConfirmarCampo(Seccion::Servicio, 2, Valor(999.0), Valor(150.0));
        QVERIFY(w.Grabar());
        QVERIFY(presupuestoDeCalculo(w.calculo(), ruta, 1)->precio.coste != p.precio.coste);
        guardarEmpresa({QStringLiteral("Otra empresa"), {}, {}, {}, {}, png(Qt::red)});
        abrirRegistroPresupuestos(w);
        auto *v = w.findChild<VentanaRegistro *>(QStringLiteral("frmRegistro"));
        QVERIFY(v);
        prueba::teclear(hijo<QLineEdit>(*v, "txtBuscar"), QStringLiteral("san juan"));
        QCOMPARE(v->vista()->model()->rowCount(), 1);
        v->vista()->selectRow(0);
        QCOMPARE(v->seleccionado(), std::optional<Presupuesto>(p));
        auto archivo = interceptorArchivoPdf.interceptar([&](const QString &) { return dos; });
        hijo<QPushButton>(*v, "cmdPdf")->click();
        const QList<QImage> antes = imagenesPdf(uno);
        QVERIFY(!antes.isEmpty());
        QVERIFY(imagenesPdf(dos) == antes);
        guardarEmpresa({});
    }

    // Conditions and notes of any length flow onto as many pages as they
    // take: none of their lines is lost, and every page is numbered.
    void textosLargosEnVariasPaginas()
    {
        QStringList lineas, palabras;
        for (int k = 1; k <= 240; ++k)
            lineas << QStringLiteral("Cláusula %1: el cliente acepta esta condición.")
                          .arg(k, 3, 10, QLatin1Char('0'));
        for (int k = 1; k <= 2500; ++k)
            palabras << QStringLiteral("n%1").arg(k, 4, 10, QLatin1Char('0'));
        const struct {
            QString condiciones, notas;
            QStringList buscados;
        } casos[] = {
            {lineas.join(u'\n'), QStringLiteral("Nota final."),
             lineas + QStringList{QStringLiteral("Nota final."), QStringLiteral("Condiciones (continuación)")}},
            {QStringLiteral("Pago a 30 días."), palabras.join(u' '), // one paragraph
             palabras + QStringList{QStringLiteral("Notas (continuación)")}},
            {lineas.join(QStringLiteral("\r\n\n")), palabras.join(u' '), lineas + palabras},
        };
        Calculo calc;
        QCOMPARE(AbrirArchivo(calc, kReferencia), ErrorArchivo::Ninguno);
        for (const auto &c : casos) {
            std::optional<Presupuesto> p = presupuestoDeCalculo(calc, kReferencia, 1);
            QVERIFY(p && recalcularPrecio(*p));
            p->anio = 2026;
            p->secuencia = 7;
            p->fecha = QDate(2026, 3, 2);
            p->condiciones = c.condiciones;
            p->notas = c.notas;
            const QString ruta = dir_.filePath(QStringLiteral("largo.pdf"));
            const QList<QWidget *> paginas = paginasPresupuesto(*p);
            QCOMPARE(grabarPdf(ruta, paginas, nombreDocumentoPresupuesto(*p)), ErrorArchivo::Ninguno);
            const int n = int(paginas.size());
            qDeleteAll(paginas);
            QVERIFY2(n >= 3, qPrintable(QString::number(n)));
            const QString texto = textoPdf(ruta);
            if (texto.isEmpty())
                QSKIP("pdftotext is not installed");
            for (const QString &b : c.buscados)
                QVERIFY2(texto.contains(b), qPrintable(b));
            QCOMPARE(texto.count(QStringLiteral("Página ")), n);
            QCOMPARE(texto.count(QStringLiteral("PRESUPUESTO 2026-0007")), n); // the header on every page
            for (int k = 1; k <= n; ++k)
                QVERIFY(texto.contains(QStringLiteral("Página %1 de %2").arg(k).arg(n)));
        }
    }

    // "Guardar e imprimir..." and "Guardar y exportar a PDF..." keep the
    // quote, then print or export it; it is marked as issued only when they did.
    void dialogoGuardaEImprime()
    {
        Calculo calc;
        QCOMPARE(AbrirArchivo(calc, kReferencia), ErrorArchivo::Ninguno);
        const QString pdf = dir_.filePath(QStringLiteral("dialogo.pdf"));
        const struct {
            const char *boton;
            bool hecho; // printed or exported, not cancelled
        } casos[] = {{"cmdGuardarPdf", true}, {"cmdGuardarPdf", false}, {"cmdGuardarImprimir", true},
                     {"cmdGuardarImprimir", false}};
        int numero = 0;
        for (const auto &c : casos) {
            QFile::remove(pdf);
            auto archivo =
                interceptorArchivoPdf.interceptar([&](const QString &) { return c.hecho ? pdf : QString(); });
            auto vista = interceptorVistaPreliminar.interceptar([&](QPrintPreviewDialog &v) {
                if (!c.hecho)
                    return v.reject();
                v.printer()->setOutputFormat(QPrinter::PdfFormat);
                v.printer()->setOutputFileName(pdf);
                v.findChild<QPrintPreviewWidget *>()->print();
                v.accept();
            });
            DialogoPresupuesto d(&calc, kReferencia, std::nullopt);
            prueba::teclear(hijo<QLineEdit>(d, "txtMargen"), QStringLiteral("12"));
            prueba::teclear(hijo<QLineEdit>(d, "txtCliente"), QStringLiteral("Club Ciclista Ribera"));
            hijo<QPushButton>(d, c.boton)->click();
            QCOMPARE(d.result(), int(QDialog::Accepted));
            const Presupuesto &p = d.guardado();
            QCOMPARE(p.secuencia, ++numero);
            QCOMPARE(p.emitido, c.hecho);
            Registro r;
            QCOMPARE(r.abrir(registro_), ErrorRegistro::Ninguno);
            QCOMPARE(r.leer(p.id), std::optional<Presupuesto>(p));
            QCOMPARE(QFileInfo::exists(pdf), c.hecho);
            if (!c.hecho)
                continue;
            const QString texto = textoPdf(pdf);
            if (texto.isEmpty())
                QSKIP("pdftotext is not installed");
            for (const QString &b :
                 {p.numero(), QStringLiteral("Club Ciclista Ribera"), QStringLiteral("1.287,17 €")})
                QVERIFY2(texto.contains(b), qPrintable(b + QStringLiteral(" | ") + texto));
        }
        QVERIFY(mensajes_.isEmpty());
    }

    // "Datos de la empresa..." keeps the firm's header in the settings and
    // refuses a bad logo with its reason; a new quote prints the logo kept.
    void datosDeLaEmpresaConLogo()
    {
        guardarEmpresa({});
        const QByteArray grande = png(Qt::red) + QByteArray(2 * 1024 * 1024, ' ');
        const struct {
            const char *nombre;
            QByteArray bytes;
            const char *motivo; // of the refusal; none for a logo taken
            QColor color;
            int imagenes; // in the quote's PDF: a PNG is one, an SVG is vector paths
        } casos[] = {
            {"falta.png", {}, "No se puede leer el archivo", {}, 0},
            {"texto.png", "no soy una imagen", "no es una imagen PNG o SVG válida", {}, 0},
            {"cortado.png", png(Qt::red).left(40), "no es una imagen PNG o SVG válida", {}, 0},
            {"roto.svg", "<svg xmlns='http://www.w3.org/2000/svg'><rect", "no es una imagen PNG o SVG válida", {}, 0},
            {"grande.png", grande, "ocupa más de 2 MB", {}, 0},
            {"logo.png", png(QColor(200, 30, 30)), nullptr, QColor(200, 30, 30), 1},
            {"logo.svg",
             "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='20'><rect width='40' height='20' "
             "fill='#036'/></svg>",
             nullptr, QColor(0, 0x33, 0x66), 0},
        };
        Calculo calc;
        QCOMPARE(AbrirArchivo(calc, kReferencia), ErrorArchivo::Ninguno);
        const QStringList datos = {QStringLiteral("Autocares del Duero"), QStringLiteral("b-12345674"),
                                   QStringLiteral("Calle Real 2, Soria"), QStringLiteral("975 000 000"),
                                   QStringLiteral("info@duero.es")};
        for (const auto &c : casos) {
            mensajes_.clear();
            const QString ruta = dir_.filePath(QLatin1String(c.nombre));
            if (!c.bytes.isEmpty())
                QVERIFY(prueba::escribirBytes(ruta, c.bytes));
            DialogoEmpresa d;
            int k = 0;
            for (const char *caja : {"txtEmpresaNombre", "txtEmpresaNif", "txtEmpresaDireccion", "txtEmpresaTelefono",
                                     "txtEmpresaCorreo"})
                prueba::teclear(hijo<QLineEdit>(d, caja), datos[k++]);
            const QByteArray antes = leerEmpresa().logo;
            QCOMPARE(d.fijarLogo(ruta), !c.motivo);
            QCOMPARE(hijo<QLabel>(d, "lblLogo")->pixmap().isNull(), bool(c.motivo)); // none taken before
            d.accept();
            QCOMPARE(d.result(), int(QDialog::Accepted));
            const Empresa e = leerEmpresa();
            QCOMPARE(QStringList({e.nombre, e.nif, e.direccion, e.telefono, e.correo}),
                     QStringList({datos[0], QStringLiteral("B12345674"), datos[2], datos[3], datos[4]}));
            QCOMPARE(e.logo, c.motivo ? antes : c.bytes);
            if (c.motivo) {
                QCOMPARE(mensajes_.size(), 1);
                QVERIFY2(mensajes_[0].texto.contains(QString::fromUtf8(c.motivo)) &&
                             mensajes_[0].texto.contains(QLatin1String(c.nombre)),
                         qPrintable(mensajes_[0].texto));
                continue;
            }
            QVERIFY(mensajes_.isEmpty());
            const QString pdf = dir_.filePath(QStringLiteral("empresa.pdf"));
            auto archivo = interceptorArchivoPdf.interceptar([&](const QString &) { return pdf; });
            DialogoPresupuesto q(&calc, kReferencia, std::nullopt);
            prueba::teclear(hijo<QLineEdit>(q, "txtCliente"), QStringLiteral("Colegio San Juan"));
            q.guardar(SalidaPresupuesto::Pdf);
            QCOMPARE(q.guardado().empresa, e);
            QVERIFY(QFileInfo::exists(pdf));
            const QString imagenes = salida("pdfimages", {QStringLiteral("-list"), pdf});
            if (imagenes.isEmpty())
                QSKIP("pdfimages is not installed");
            QCOMPARE(imagenes.count(u'\n') - 2, c.imagenes); // two lines of heading
            QVERIFY(colorArriba(pdf, c.color));
            QVERIFY(textoPdf(pdf).contains(QStringLiteral("NIF B12345674")));
        }
        // A refused tax number keeps what was saved before.
        DialogoEmpresa d;
        prueba::teclear(hijo<QLineEdit>(d, "txtEmpresaNombre"), QStringLiteral("Otra"));
        prueba::teclear(hijo<QLineEdit>(d, "txtEmpresaNif"), QStringLiteral("B12345675"));
        d.accept();
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(leerEmpresa().nombre, datos[0]);
        guardarEmpresa({});
    }

    // "Copia de seguridad..." from the register window, while another
    // program writes: the copy stands alone and holds the same quotes; a
    // copy that cannot be written is told and leaves nothing behind.
    void copiaDeSeguridadDelRegistro()
    {
        Registro otro;
        QCOMPARE(otro.abrir(registro_), ErrorRegistro::Ninguno);
        VentanaRegistro v;
        QVERIFY(v.abierto());
        QTemporaryDir copias;
        const QString existente = copias.filePath(QStringLiteral("vieja.sqlite"));
        QVERIFY(prueba::escribirBytes(existente, "copia anterior"));
        const struct {
            QString destino;
            bool hecha;
        } casos[] = {{copias.filePath(QStringLiteral("nueva.sqlite")), true},
                     {existente, true},
                     {copias.filePath(QStringLiteral("no existe/copia.sqlite")), false}};
        int escritos = 0;
        for (const auto &c : casos) {
            for (int i = 0; i < 5; ++i, ++escritos) { // written by the other program, after the window opened
                Presupuesto p = presupuestoDePrueba(escritos, QStringLiteral("Cliente"));
                QCOMPARE(otro.guardarNuevo(p), ErrorRegistro::Ninguno);
            }
            mensajes_.clear();
            auto archivo = interceptorArchivoCopia.interceptar([&](const QString &) { return c.destino; });
            v.copiaDeSeguridad();
            QCOMPARE(mensajes_.size(), 1);
            QCOMPARE(mensajes_[0].titulo, c.hecha ? QStringLiteral("Copia de seguridad") : QStringLiteral("Error"));
            QCOMPARE(QFileInfo::exists(c.destino), c.hecha);
            if (!c.hecha)
                continue;
            QVERIFY(!QFileInfo::exists(c.destino + QStringLiteral("-wal")));
            Registro copia;
            QCOMPARE(copia.abrir(c.destino, true), ErrorRegistro::Ninguno);
            const std::vector<FilaRegistro> filas = copia.lista();
            QCOMPARE(int(filas.size()), escritos);
            for (const FilaRegistro &f : filas)
                QCOMPARE(copia.leer(f.id), otro.leer(f.id));
        }
        QCOMPARE(QDir(copias.path()).entryList(QDir::Files), QStringList({"nueva.sqlite", "vieja.sqlite"}));
    }

    void registroFiltrosEstadosYTotales()
    {
        {
            Registro r;
            QCOMPARE(r.abrir(registro_), ErrorRegistro::Ninguno);
            for (int i = 0; i < 30; ++i) {
                Presupuesto p = presupuestoDePrueba(i, i % 2 ? QStringLiteral("Impar") : QStringLiteral("Par"));
                p.fecha = QDate::currentDate().addDays(-i);
                p.validez = 5;
                QCOMPARE(r.guardarNuevo(p), ErrorRegistro::Ninguno);
            }
        }
        VentanaRegistro v;
        QVERIFY(v.abierto());
        QTableView *t = v.vista();
        QCOMPARE(t->model()->rowCount(), 30);
        prueba::teclear(hijo<QLineEdit>(v, "txtBuscar"), QStringLiteral("impar-1"));
        QCOMPARE(t->model()->rowCount(), 6); // 1, 11, 13, 15, 17, 19
        prueba::teclear(hijo<QLineEdit>(v, "txtBuscar"), QStringLiteral("PAR-2"));
        QCOMPARE(t->model()->rowCount(), 11); // Par-2, Par-20 .. 28 and Impar-21 .. 29
        hijo<QLineEdit>(v, "txtBuscar")->clear();
        hijo<QDateEdit>(v, "dteDesde")->setDate(QDate::currentDate().addDays(-9));
        QCOMPARE(t->model()->rowCount(), 10);
        // Accepted: the totals follow; the state filter finds it.
        t->selectRow(0);
        const std::optional<Presupuesto> primero = v.seleccionado();
        QVERIFY(primero);
        v.cambiarEstado(EstadoPresupuesto::Aceptado);
        QVERIFY2(v.totales().contains(QStringLiteral("Aceptado %1 €").arg(textoImporte(primero->precio.total))),
                 qPrintable(v.totales()));
        auto *estado = hijo<QComboBox>(v, "cmbEstado");
        estado->setCurrentIndex(estado->findData(QStringLiteral("aceptado")));
        QCOMPARE(t->model()->rowCount(), 1);
        QVERIFY(v.totales().startsWith(QStringLiteral("1 presupuestos")));
        // Past their validity, pending quotes show as expired.
        estado->setCurrentIndex(estado->findData(kEstadoCaducado()));
        hijo<QDateEdit>(v, "dteDesde")->setDate(QDate(2000, 1, 1));
        QCOMPARE(t->model()->rowCount(), 24); // 6 to 29 days old
        // A printed quote cannot be deleted; it can be cancelled.
        estado->setCurrentIndex(0);
        t->sortByColumn(ModeloRegistro::Numero, Qt::AscendingOrder);
        t->selectRow(0);
        QCOMPARE(v.registro().marcarEmitido(v.seleccionado()->id), ErrorRegistro::Ninguno);
        v.eliminar();
        QCOMPARE(t->model()->rowCount(), 30);
        QVERIFY(mensajes_.textos().last().contains(QStringLiteral("anular")));
        t->selectRow(1);
        v.eliminar();
        QCOMPARE(t->model()->rowCount(), 29);
        // CSV of what is shown, through the program's writer.
        const QString csv = dir_.filePath(QStringLiteral("registro.csv"));
        auto archivo = interceptorArchivoCsv.interceptar([&](const QString &) { return csv; });
        prueba::teclear(hijo<QLineEdit>(v, "txtBuscar"), QStringLiteral("impar-1"));
        v.exportarCsv();
        const QByteArray bytes = prueba::leerBytes(csv);
        QVERIFY(bytes.startsWith("\xef\xbb\xbf" "Número;Fecha;Cliente;Viaje;Total;Estado\r\n"));
        QCOMPARE(bytes.count("\r\n"), 6); // the heading and Impar-11 .. 19 (Impar-1 was deleted)
    }

    void registroDanadoSoloSeApartaSiElUsuarioQuiere()
    {
        QFile f(registro_);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("no es un registro");
        f.close();
        {
            auto no = interceptorApartarRegistro.interceptar([](const QString &) { return false; });
            VentanaRegistro v;
            QVERIFY(!v.abierto());
            QCOMPARE(prueba::leerBytes(registro_), QByteArray("no es un registro"));
        }
        QString pregunta;
        auto si = interceptorApartarRegistro.interceptar([&](const QString &t) {
            pregunta = t;
            return true;
        });
        {
            VentanaRegistro v;
            QVERIFY(v.abierto());
            QVERIFY(pregunta.contains(QStringLiteral("no es un registro de presupuestos")));
            QVERIFY(mensajes_.textos().last().contains(QStringLiteral("-apartado-")));
            QCOMPARE(v.vista()->model()->rowCount(), 0);
        }
        // Damage that only the whole file's check finds.
        {
            Registro r;
            QCOMPARE(r.abrir(registro_), ErrorRegistro::Ninguno);
            for (int i = 0; i < 60; ++i) {
                Presupuesto p = presupuestoDePrueba(i, QStringLiteral("d"));
                QCOMPARE(r.guardarNuevo(p), ErrorRegistro::Ninguno);
            }
        }
        QByteArray b = prueba::leerBytes(registro_);
        QVERIFY(b.size() > 4096 * 4);
        for (int k = 4096 * 2; k < 4096 * 4; k += 7)
            b[k] = char(0xA5);
        QVERIFY(prueba::escribirBytes(registro_, b));
        pregunta.clear();
        VentanaRegistro danada;
        QVERIFY(pregunta.contains(QStringLiteral("dañado")));
        QVERIFY(danada.abierto());
        QCOMPARE(danada.vista()->model()->rowCount(), 0);
    }
};

QTEST_MAIN(PruebaPresupuestos)
#include "prueba_presupuestos.moc"
