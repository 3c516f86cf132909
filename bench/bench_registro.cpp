// Opening the register of quotes (its check of every page) with 1,000 quotes
// sharing a 50 KB logo: kept once in the table of logos, beside the same
// quotes each holding the logo in its firm header as older registers did,
// and beside an empty register. The file's size goes with each as a counter.
//
//   pelmora_bench_registro [Google Benchmark options]
#include "registro/registro.h"

#include "correr.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdlib>

using namespace pelmora;

namespace {

constexpr int kPresupuestos = 1000;

QTemporaryDir &carpeta()
{
    static QTemporaryDir d;
    return d;
}

QByteArray logo()
{
    QByteArray l(50 * 1024, Qt::Uninitialized);
    QRandomGenerator azar(3);
    for (char &b : l)
        b = char(azar.bounded(256));
    return l;
}

// A register with the quotes, each with the logo.
const QString &logosAparte()
{
    static const QString ruta = [] {
        const QString r = carpeta().filePath(QStringLiteral("aparte.sqlite"));
        Registro registro;
        if (registro.abrir(r) != ErrorRegistro::Ninguno)
            std::abort();
        const QByteArray l = logo();
        for (int i = 0; i < kPresupuestos; ++i) {
            Presupuesto p;
            p.fecha = QDate(2026, 1, 1).addDays(i % 365);
            p.cliente.nombre = QStringLiteral("Cliente %1").arg(i);
            p.origen.hash = QByteArray(64, 'a');
            p.empresa = {"Autocares", "B12345674", "Calle Mayor 1", "975 000 000", "info@autocares.es", l};
            recalcularPrecio(p);
            if (const ErrorRegistro e = registro.guardarNuevo(p); e != ErrorRegistro::Ninguno) {
                qFatal("%s", qPrintable(registro.mensaje(e)));
            }
        }
        return r;
    }();
    return ruta;
}

// The same quotes with the logo in every firm header.
const QString &logosEnCabecera()
{
    static const QString ruta = [] {
        const QString r = carpeta().filePath(QStringLiteral("cabecera.sqlite"));
        if (!QFile::copy(logosAparte(), r))
            std::abort();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("carga"));
            db.setDatabaseName(r);
            if (!db.open())
                std::abort();
            QJsonObject o = QJsonDocument::fromJson(empresaJson({"Autocares", "B12345674", "Calle Mayor 1",
                                                                 "975 000 000", "info@autocares.es", {}}))
                                .object();
            o.insert(QStringLiteral("Logo"), QString::fromLatin1(logo().toBase64()));
            QSqlQuery q(db);
            q.prepare(QStringLiteral("UPDATE presupuestos SET empresa = ?, logo = NULL"));
            q.addBindValue(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)));
            if (!q.exec() || !q.exec(QStringLiteral("DELETE FROM logos")) || !q.exec(QStringLiteral("VACUUM")))
                std::abort();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("carga"));
        return r;
    }();
    return ruta;
}

const QString &vacio()
{
    static const QString ruta = [] {
        const QString r = carpeta().filePath(QStringLiteral("vacio.sqlite"));
        Registro registro;
        if (registro.abrir(r) != ErrorRegistro::Ninguno)
            std::abort();
        return r;
    }();
    return ruta;
}

void abrir(benchmark::State &estado, const QString &ruta)
{
    for (auto _ : estado) {
        Registro r;
        if (r.abrir(ruta) != ErrorRegistro::Ninguno)
            std::abort();
    }
    estado.counters["bytes"] = double(QFileInfo(ruta).size());
}

void BM_AbrirVacio(benchmark::State &estado) { abrir(estado, vacio()); }
void BM_AbrirLogosAparte(benchmark::State &estado) { abrir(estado, logosAparte()); }
void BM_AbrirLogosEnCabecera(benchmark::State &estado) { abrir(estado, logosEnCabecera()); }

BENCHMARK(BM_AbrirVacio)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AbrirLogosAparte)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AbrirLogosEnCabecera)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    return correrGoogleBenchmark(argc, argv);
}
