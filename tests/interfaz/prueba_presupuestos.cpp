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
#include "nucleo/presupuesto_prueba.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
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

// The text of a PDF file, blanks simplified; empty without pdftotext.
QString textoPdf(const QString &pdf)
{
    const QString programa = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (programa.isEmpty())
        return QString();
    QProcess p;
    p.start(programa, {pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).simplified();
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
        QVERIFY(m->styleSheet().contains(QStringLiteral("192, 0, 0")));
        prueba::teclear(hijo<QLineEdit>(v, "txtPrecioObjetivo"), QStringLiteral("1.200,00"));
        QVERIFY(m->text().startsWith(QStringLiteral("14,19 %")));
        QVERIFY(m->styleSheet().isEmpty());
        prueba::teclear(hijo<QLineEdit>(v, "txtMargen"), QStringLiteral("95,5"));
        QCOMPARE(t->rowCount(), 0);
        QVERIFY(!hijo<QLabel>(v, "lblAviso")->text().isEmpty());
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

    void pdfDelPresupuestoYReimpresionIgual()
    {
        Calculo calc;
        QCOMPARE(AbrirArchivo(calc, kReferencia), ErrorArchivo::Ninguno);
        std::optional<Presupuesto> p = presupuestoDeCalculo(calc, kReferencia, 1);
        QVERIFY(p);
        p->margen = 1200;
        QVERIFY(recalcularPrecio(*p));
        p->empresa = {QStringLiteral("Autocares del Duero"), QStringLiteral("B12345674"),
                      QStringLiteral("Calle Real 2, Soria"), QStringLiteral("975 000 000"),
                      QStringLiteral("info@duero.es"),
                      "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='20'>"
                      "<rect width='40' height='20' fill='#036'/></svg>"};
        p->cliente.nombre = QStringLiteral("Colegio San Juan");
        p->condiciones = QStringLiteral("Pago a 30 días.");
        Registro r;
        QCOMPARE(r.abrir(registro_), ErrorRegistro::Ninguno);
        QCOMPARE(r.guardarNuevo(*p), ErrorRegistro::Ninguno);
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}-0001$")).match(p->numero()).hasMatch(),
                 qPrintable(p->numero()));
        auto pdf = [&](const Presupuesto &x, const QString &nombre) {
            const QString ruta = dir_.filePath(nombre);
            const QList<QWidget *> paginas = paginasPresupuesto(x);
            const ErrorArchivo e = grabarPdf(ruta, paginas, nombreDocumentoPresupuesto(x));
            qDeleteAll(paginas);
            return e == ErrorArchivo::Ninguno ? textoPdf(ruta) : QString();
        };
        const QString texto = pdf(*p, QStringLiteral("uno.pdf"));
        if (texto.isEmpty())
            QSKIP("pdftotext is not installed");
        for (const QString &b : {p->numero(), QStringLiteral("Colegio San Juan"), QStringLiteral("1.287,17 €"),
                                 QStringLiteral("Autocares del Duero"), QStringLiteral("117,02 €"),
                                 QStringLiteral("Pago a 30 días."), QStringLiteral("Página 1 de 1")})
            QVERIFY2(texto.contains(b), qPrintable(b + QStringLiteral(" | ") + texto));
        // The calculation changes and is saved; the kept quote prints as before.
        calc.ConfirmarCampo(Seccion::Servicio, 2, Valor(999.0), Valor(150.0));
        QCOMPARE(GrabarCalculo(calc, dir_.filePath(QStringLiteral("cambiado.clc"))), ErrorArchivo::Ninguno);
        QVERIFY(presupuestoDeCalculo(calc, kReferencia, 1)->precio.coste != p->precio.coste);
        QCOMPARE(pdf(*r.leer(p->id), QStringLiteral("dos.pdf")), texto);
        // Long conditions go to a second page.
        p->condiciones = QString(QStringLiteral("Condición larga del viaje. ")).repeated(150);
        QCOMPARE(paginasPresupuesto(*p).size(), 2);
        QVERIFY(pdf(*p, QStringLiteral("tres.pdf")).contains(QStringLiteral("Página 2 de 2")));
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
