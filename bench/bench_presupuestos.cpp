// The register window with 10,000 quotes: opening it (the rows read and the
// window shown) beside its two parts, the window opened on an empty register
// and the rows read with a bare query; and filtering the 10,000 by a text,
// the first time and after, which should answer within one frame (16 ms).
// Also a quote's PDF with 1,000 lines of conditions over many pages beside a
// one-page quote's.
//
//   pelmora_bench_presupuestos [Google Benchmark options]
#include "interfaz/presupuestos/dialogospresupuesto.h"
#include "interfaz/impresion/impresion.h"
#include "interfaz/presupuestos/presupuestos.h"
#include "principal.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

using namespace pelmora;

namespace {

constexpr int kPresupuestos = 10000;

QTemporaryDir &carpeta()
{
    static QTemporaryDir d;
    return d;
}

Presupuesto ejemplo(int i)
{
    Presupuesto p;
    p.fecha = QDate(2026, 1, 1).addDays(i % 365);
    p.cliente = {QStringLiteral("Cliente %1").arg(i), "12345678Z", "Calle Mayor 1", "Ana"};
    p.viaje = {QStringLiteral("Excursión %1").arg(i), "Soria", "Madrid", "", 50};
    p.km = 420;
    p.horas = 9.5;
    p.margen = 1200;
    p.precio.coste = 102973 + i;
    p.origen.hash = QByteArray(64, 'a');
    recalcularPrecio(p);
    return p;
}

// A register with n quotes, written in one transaction through a second
// connection (keeping them one by one would time the disk instead).
QString registroCon(int n)
{
    const QString ruta = carpeta().filePath(QStringLiteral("r%1.sqlite").arg(n));
    Registro r;
    if (r.abrir(ruta) != ErrorRegistro::Ninguno)
        std::abort();
    if (n == 0)
        return ruta;
    Presupuesto p = ejemplo(0);
    r.guardarNuevo(p);
    r.cerrar();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("carga"));
        db.setDatabaseName(ruta);
        if (!db.open())
            std::abort();
        QSqlQuery q(db);
        q.exec(QStringLiteral("BEGIN"));
        q.prepare(QStringLiteral(
            "INSERT INTO presupuestos(anio, secuencia, fecha, validez, estado, emitido, cliente_nombre, cliente_nif,"
            " cliente_direccion, cliente_contacto, viaje_descripcion, viaje_origen, viaje_destino, viaje_fechas,"
            " pasajeros, servicio, km, horas, margen, iva, precio_objetivo, coste, sin_iva, importe_margen,"
            " importe_iva, total, condiciones, notas, archivo, hash, coste_anual, c1, c2, c3, c4, c5, empresa, logo)"
            " SELECT anio, ?, ?, validez, ?, emitido, ?, cliente_nif, cliente_direccion, cliente_contacto, ?,"
            " viaje_origen, viaje_destino, viaje_fechas, pasajeros, servicio, km, horas, margen, iva,"
            " precio_objetivo, coste, sin_iva, importe_margen, importe_iva, total, condiciones, notas, archivo,"
            " hash, coste_anual, c1, c2, c3, c4, c5, empresa, logo FROM presupuestos WHERE id = 1"));
        const char *estados[] = {"pendiente", "aceptado", "rechazado", "anulado"};
        for (int i = 2; i <= n; ++i) {
            const Presupuesto e = ejemplo(i);
            q.addBindValue(i);
            q.addBindValue(e.fecha.toString(Qt::ISODate));
            q.addBindValue(QString::fromLatin1(estados[i % 4]));
            q.addBindValue(e.cliente.nombre);
            q.addBindValue(e.viaje.descripcion);
            if (!q.exec())
                std::abort();
        }
        q.exec(QStringLiteral("UPDATE contadores SET ultimo = %1").arg(n));
        q.exec(QStringLiteral("COMMIT"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("carga"));
    return ruta;
}

const QString &registroLleno()
{
    static const QString r = registroCon(kPresupuestos);
    return r;
}

const QString &registroVacio()
{
    static const QString r = registroCon(0);
    return r;
}

void abrirVentana(benchmark::State &estado, const QString &ruta)
{
    auto ambito = interceptorRutaRegistro.interceptar([&] { return ruta; });
    for (auto _ : estado) {
        VentanaRegistro v;
        v.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(v.vista()->model()->rowCount());
    }
}

void BM_VentanaRegistro10000(benchmark::State &estado) { abrirVentana(estado, registroLleno()); }
void BM_VentanaRegistroVacia(benchmark::State &estado) { abrirVentana(estado, registroVacio()); }

// What any list of the register must do: read every row's columns.
void BM_ConsultaDesnuda10000(benchmark::State &estado)
{
    const QString ruta = registroLleno();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("desnuda"));
        db.setDatabaseName(ruta);
        db.open();
        for (auto _ : estado) {
            QSqlQuery q(db);
            q.setForwardOnly(true);
            q.exec(QStringLiteral("SELECT id, anio, secuencia, fecha, validez, cliente_nombre, viaje_descripcion,"
                                  " viaje_origen, viaje_destino, total, estado, emitido FROM presupuestos"
                                  " ORDER BY anio, secuencia"));
            qint64 suma = 0;
            while (q.next())
                for (int k = 0; k < 12; ++k)
                    suma += q.value(k).toString().size();
            benchmark::DoNotOptimize(suma);
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("desnuda"));
}

// One text typed into the filter box of the window with 10,000 quotes, and
// the rows and totals it leaves.
void BM_FiltrarTexto10000(benchmark::State &estado)
{
    const QString ruta = registroLleno();
    auto ambito = interceptorRutaRegistro.interceptar([&] { return ruta; });
    VentanaRegistro v;
    v.show();
    QApplication::processEvents();
    auto *caja = v.findChild<QLineEdit *>(QStringLiteral("txtBuscar"));
    int k = 0;
    for (auto _ : estado) {
        caja->setText(QStringLiteral("cliente %1").arg(++k % 997));
        QApplication::processEvents();
        benchmark::DoNotOptimize(v.vista()->model()->rowCount());
    }
}

// A quote's PDF made in memory and written to a scratch file, its pages counted.
void pdfPresupuesto(benchmark::State &estado, int lineas)
{
    Presupuesto p = ejemplo(1);
    p.anio = 2026;
    p.secuencia = 1;
    QStringList condiciones;
    for (int k = 1; k <= lineas; ++k)
        condiciones << QStringLiteral("Cláusula %1: el precio incluye conductor, combustible, peajes y seguro.").arg(k);
    p.condiciones = condiciones.join(u'\n');
    const QString ruta = carpeta().filePath(QStringLiteral("presupuesto.pdf"));
    qsizetype paginas = 0;
    for (auto _ : estado) {
        const QList<QWidget *> hojas = paginasPresupuesto(p);
        paginas = hojas.size();
        if (grabarPdf(ruta, hojas, nombreDocumentoPresupuesto(p)) != ErrorArchivo::Ninguno)
            std::abort();
        qDeleteAll(hojas);
    }
    estado.counters["paginas"] = double(paginas);
}

void BM_PdfPresupuestoUnaHoja(benchmark::State &estado) { pdfPresupuesto(estado, 5); }
void BM_PdfPresupuesto1000Lineas(benchmark::State &estado) { pdfPresupuesto(estado, 1000); }

// The first text typed after opening, which also makes the texts the search
// looks through.
void BM_PrimeraBusqueda10000(benchmark::State &estado)
{
    const QString ruta = registroLleno();
    auto ambito = interceptorRutaRegistro.interceptar([&] { return ruta; });
    for (auto _ : estado) {
        estado.PauseTiming();
        auto v = std::make_unique<VentanaRegistro>();
        v->show();
        QApplication::processEvents();
        auto *caja = v->findChild<QLineEdit *>(QStringLiteral("txtBuscar"));
        estado.ResumeTiming();
        caja->setText(QStringLiteral("cliente 42"));
        QApplication::processEvents();
        benchmark::DoNotOptimize(v->vista()->model()->rowCount());
        estado.PauseTiming();
        v.reset();
        estado.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_PdfPresupuestoUnaHoja)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PdfPresupuesto1000Lineas)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VentanaRegistroVacia)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConsultaDesnuda10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VentanaRegistro10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FiltrarTexto10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrimeraBusqueda10000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) { return pelmora::correrBenchmarksDeVentana(argc, argv, false); }
