// Arbitrary bytes as a calculation file. Whatever the reader accepts must
// load into the model without a fault, and must survive a write and a
// second read entry for entry; the second write must give the same bytes.
// The bytes also go to a file on disk that is opened by its path, as the
// program opens one (file checks, bounded read, MostrarCalculo): it must
// accept and refuse exactly what the reader does from memory.
#include "archivos/archivo.h"
#include "archivos/json.h"
#include "calculo/calculo.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <unistd.h>

using namespace pelmora;

namespace {

const char *nombreTipo(Valor::Tipo t)
{
    switch (t) {
    case Valor::Tipo::Vacio: return "vacío";
    case Valor::Tipo::Numero: return "número";
    case Valor::Tipo::Texto: return "texto";
    case Valor::Tipo::Booleano: return "booleano";
    }
    return "?";
}

QByteArray describir(const Valor &v)
{
    return QByteArray(nombreTipo(v.tipo())) + ' ' + valorJson(v);
}

[[noreturn]] void fallo(const char *que, const QByteArray &detalle)
{
    std::fprintf(stderr, "\n*** %s\n%s\n", que, detalle.constData());
    std::fflush(stderr);
    std::abort();
}

// Every stored entry and both dates of a and b must be the same value
// of the same kind.
void compararGrabadas(const char *etapa, const Columna &a, const Columna &b, const char *columna)
{
    for (Seccion sec : kSeccionesGrabadas) {
        for (int i : ListaGrabada(sec)) {
            const Valor &x = a(sec, i);
            const Valor &y = b(sec, i);
            if (x.tipo() != y.tipo() || !mismoValorGuardado(x, y))
                fallo(etapa, QByteArray(columna) + ' ' + datosSeccion(sec).nombre + '(' + QByteArray::number(i)
                                 + "): escrito " + describir(x) + ", leído " + describir(y));
        }
    }
    if (a.Fecha != b.Fecha)
        fallo(etapa, QByteArray(columna) + " Fecha: escrita " + a.Fecha.toString(Qt::ISODate).toUtf8()
                         + ", leída " + b.Fecha.toString(Qt::ISODate).toUtf8());
}

// Writes s and o, reads them back, compares, and writes again.
void idaYVuelta(const char *etapa, const Columna &s, const Columna &o)
{
    const QByteArray escrito = escribirCalculo(s, o);
    Columna s2 = Calculo::Minimos(), o2 = Calculo::Minimos();
    const ErrorArchivo e = leerCalculo(escrito, s2, o2);
    if (e != ErrorArchivo::Ninguno)
        fallo(etapa, "leerCalculo rechaza lo que escribirCalculo escribió (error "
                         + QByteArray::number(int(e)) + "):\n" + escrito);
    compararGrabadas(etapa, s, s2, "ColumnaS");
    compararGrabadas(etapa, o, o2, "ColumnaO");
    const QByteArray otraVez = escribirCalculo(s2, o2);
    if (otraVez != escrito)
        fallo(etapa, "la segunda escritura difiere de la primera:\n" + escrito + "\n---\n" + otraVez);
}

bool columnasIguales(const Columna &a, const Columna &b)
{
    if (a.Fecha != b.Fecha)
        return false;
    for (int k = 0; k < kNumSecciones; ++k) {
        const auto &x = a.secciones[size_t(k)];
        const auto &y = b.secciones[size_t(k)];
        if (x.size() != y.size())
            return false;
        for (size_t i = 0; i < x.size(); ++i)
            if (x[i].tipo() != y[i].tipo() || !(x[i] == y[i]))
                return false;
    }
    return true;
}

// A regular file of this process's own, rewritten for every input.
const std::string &archivoDeTrabajo()
{
    static const std::string ruta = [] {
        char plantilla[] = "/tmp/fuzz_calculo-XXXXXX";
        const int fd = ::mkstemp(plantilla);
        if (fd < 0)
            fallo("no se puede crear el archivo de trabajo", QByteArray());
        ::close(fd);
        static std::string copia = plantilla;
        std::atexit([] { ::unlink(copia.c_str()); });
        return copia;
    }();
    return ruta;
}

void escribirArchivo(const QByteArray &bytes)
{
    const int fd = ::open(archivoDeTrabajo().c_str(), O_WRONLY | O_TRUNC);
    qsizetype hecho = 0;
    while (fd >= 0 && hecho < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + hecho, size_t(bytes.size() - hecho));
        if (n <= 0)
            break;
        hecho += n;
    }
    if (fd < 0 || ::close(fd) != 0 || hecho != bytes.size())
        fallo("no se puede escribir el archivo de trabajo", QByteArray());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    Columna s = Calculo::Minimos(), o = Calculo::Minimos();
    const ErrorArchivo e = leerCalculo(bytes, s, o);

    // The same bytes opened by path. Anything over 1 MiB is refused unread.
    escribirArchivo(bytes);
    Calculo c;
    const ErrorArchivo deDisco = AbrirArchivo(c, QString::fromStdString(archivoDeTrabajo()));
    const ErrorArchivo esperado = bytes.size() > 1024 * 1024 ? ErrorArchivo::MalEstado : e;
    if (deDisco != esperado)
        fallo("AbrirArchivo y leerCalculo no coinciden",
              "AbrirArchivo " + QByteArray::number(int(deDisco)) + ", esperado " + QByteArray::number(int(esperado)));

    if (e != ErrorArchivo::Ninguno) {
        // A refused file leaves the columns as they were.
        if (!columnasIguales(s, Calculo::Minimos()) || !columnasIguales(o, Calculo::Minimos()))
            fallo("leerCalculo cambió las columnas de un archivo rechazado", QByteArray());
        if (!columnasIguales(c.columnaS(), Calculo::Minimos()) || !columnasIguales(c.columnaO(), Calculo::Minimos()) ||
            c.HayCambios())
            fallo("AbrirArchivo cambió el cálculo de un archivo rechazado", QByteArray());
        return 0;
    }
    if (deDisco != ErrorArchivo::Ninguno)
        return 0; // too long to be opened

    idaYVuelta("ida y vuelta tras leer", s, o);

    // The model as opening the file left it; its saved copy holds what was read.
    compararGrabadas("copia grabada tras abrir", s, c.grabada(), "ColumnaGrabada");
    c.Actualizar();
    c.Revisar();
    for (Col col : {Col::S, Col::O}) {
        for (int k = 0; k < kNumSecciones; ++k) {
            const auto sec = static_cast<Seccion>(k);
            if (sec == Seccion::Resultados || (sec == Seccion::Servicio && col == Col::O))
                continue;
            for (int i = 1; i <= tamano(sec); ++i) {
                if (!campo(sec, i).tieneCaja())
                    continue;
                (void)c.estado(col, sec, i);
                (void)c.textoMostrado(col, sec, i);
            }
        }
        c.redactarComentario(col);
    }
    (void)c.HayCambios();

    idaYVuelta("ida y vuelta tras MostrarCalculo", c.columnaS(), c.columnaO());

    // The JSON export of whatever the model holds is valid JSON of the
    // right shape.
    const QByteArray json = calculoJson(c);
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &err);
    if (err.error != QJsonParseError::NoError || !doc.isObject())
        fallo("calculoJson no da un JSON válido", err.errorString().toUtf8() + '\n' + json);
    for (const char *col : {"ColumnaS", "ColumnaO"}) {
        const QJsonObject obj = doc.object().value(QLatin1String(col)).toObject();
        if (obj.value("Resultados").toArray().size() != 48 || obj.value("Servicio").toArray().size() != 31)
            fallo("calculoJson con listas de largo equivocado", json);
    }
    return 0;
}
