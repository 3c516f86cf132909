// The calculation file (.clc, and .obs for the reference data): 184 lines of
// Windows-1252 text ended by CR LF.
#pragma once

#include "archivos/windows1252.h"
#include "calculo/calculo.h"

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <functional>

namespace pelmora {

enum class ErrorArchivo {
    Ninguno,
    NombreNoValido,
    NoEncontrado,
    AccesoDenegado,
    CarpetaNoExiste,
    MalEstado,
    DiscoLleno,
    BucleDeEnlaces,
    RutaDemasiadoLarga,
};

// A file name as the system hands it over (bytes) as a text that gives the
// same bytes back through bytesDeNombre, also where they are not UTF-8:
// each byte that is not part of a UTF-8 character stands as one of U+DC80
// to U+DCFF, which no valid name holds.
QString nombreDeArchivo(QByteArrayView bytes);
QByteArray bytesDeNombre(const QString &nombre);

// Every entry named *.clc (any case) under a folder, at any depth, whatever
// it is (a file, a link, a pipe: opening it tells), and every folder under
// it, itself included, that cannot be read; in path order. Hidden entries
// are left out, and links to folders are not followed.
QStringList calculosEnCarpeta(const QString &carpeta);
// The same, each handed to cada as the walk finds it (one folder's names
// held at a time), with whether the walk saw a regular file there (not a
// link, a pipe or a device; see LectorCalculos::abrir); the number handed.
qsizetype recorrerCarpetaDeCalculos(const QString &carpeta,
                                    const std::function<void(const QString &ruta, bool regular)> &cada);
// True when the path (as nombreDeArchivo gives it) is a folder.
bool esCarpeta(const QString &ruta);

// Parses the bytes of a calculation file into the two columns (stored
// entries and dates only). On failure the columns are left untouched.
ErrorArchivo leerCalculo(const QByteArray &bytes, Columna &s, Columna &o);

// The bytes of a calculation file for two columns, dates included.
QByteArray escribirCalculo(const Columna &s, const Columna &o);

// Reads a file's stored entries and dates into two columns, without
// showing them. On failure the columns are left untouched.
ErrorArchivo leerColumnas(const QString &ruta, Columna &s, Columna &o);

// Reads a file into both columns and the saved copy and shows it
// (Calculo::cargarColumnas). On failure nothing of the calculation changes.
ErrorArchivo AbrirArchivo(Calculo &c, const QString &ruta);

// Opens calculation files one after another, each into the state
// AbrirArchivo gives a new calculation, reusing the memory of the one
// before: for a thread that reads many files.
class LectorCalculos {
public:
    // A path a folder walk saw as a regular file is opened at once: the
    // look at what it is before opening (so that no device or pipe is
    // opened) was the walk's, and what is opened is still checked.
    ErrorArchivo abrir(const QString &ruta, bool regular = false);
    // The last file opened; after a failure, no calculation.
    const Calculo &calculo() const { return calculo_; }

private:
    Calculo calculo_;
    QByteArray bytes_;
    Columna s_, o_;
};

// Writes the calculation to a file, replacing it whole or not at all.
// On success the saved copy and the user date are refreshed.
ErrorArchivo GrabarCalculo(Calculo &c, const QString &ruta);

// Where the folder of a file takes no new file, whether the file itself may
// be rewritten in place: always, or only when no other name (a hard link)
// shares its bytes, which would change with it.
enum class EnSuSitio { Siempre, SoloSinOtrosEnlaces };

// Writes bytes to a file whole or not at all. The old file stays byte for
// byte as it was unless the complete new version reached the disk: the bytes
// go to a temporary file beside it that replaces it once every write, the
// flush and the sync succeeded; the new file keeps the old one's
// permissions, and its owner and group where the process may set them.
// Where the folder takes no new file (no write permission) but the file
// itself may be written, the file is rewritten in place (as enSuSitio
// allows), every write checked, and the old bytes are put back when a
// write fails.
ErrorArchivo grabarBytes(const QString &ruta, const QByteArray &bytes, EnSuSitio enSuSitio = EnSuSitio::Siempre);

// What tells a file's version apart: its size, its modification time and a
// hash of its bytes. A file that cannot be read has none (an empty one).
struct HuellaArchivo {
    qint64 tamano = -1;
    qint64 modificado = 0; // milliseconds since the epoch
    QByteArray resumen;
    bool vacia() const { return tamano < 0; }
    bool operator==(const HuellaArchivo &) const = default;
};
HuellaArchivo huellaArchivo(const QString &ruta);

// For tests: every write of grabarBytes fails once `bytes` bytes of the new
// version are on disk, as on a full disk (a negative number lifts the limit).
// Returns the previous limit.
qint64 limitarEscrituraParaPruebas(qint64 bytes);

// Messages for a failure, as the file dialog shows them.
QString mensajeErrorArchivo(ErrorArchivo e);
// The failure a write ended with, from the system's error number: a full
// disk (or quota) is told apart from any other.
ErrorArchivo errorDeEscritura(int numero);
// Flushes a stream the program writes its output to: empty when all of it
// went out, otherwise the reason, worded as the file dialog words it (from
// the system's error of an earlier failed write when the flush gives none).
QString vaciarSalida(FILE *f, int errorAntes = 0);
// Messages for a failure loading reference data.
QString mensajeErrorReferencia(ErrorArchivo e);

} // namespace pelmora
