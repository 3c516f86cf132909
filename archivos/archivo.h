// The calculation file (.clc, and .obs for the reference data): 184 lines of
// Windows-1252 text ended by CR LF.
#pragma once

#include "archivos/windows1252.h"
#include "calculo/calculo.h"

#include <QByteArray>
#include <QString>

namespace pelmora {

enum class ErrorArchivo {
    Ninguno,
    NombreNoValido,
    NoEncontrado,
    AccesoDenegado,
    CarpetaNoExiste,
    MalEstado,
};

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

// Writes the calculation to a file, replacing it whole or not at all.
// On success the saved copy and the user date are refreshed.
ErrorArchivo GrabarCalculo(Calculo &c, const QString &ruta);

// Writes bytes to a file whole or not at all. The old file stays byte for
// byte as it was unless the complete new version reached the disk: the bytes
// go to a temporary file beside it that replaces it once every write, the
// flush and the sync succeeded. Where the folder takes no new file (no
// write permission) but the file itself may be written, the file is
// rewritten in place, every write checked, and the old bytes are put back
// when a write fails.
ErrorArchivo grabarBytes(const QString &ruta, const QByteArray &bytes);

// For tests: every write of grabarBytes fails once `bytes` bytes of the new
// version are on disk, as on a full disk (a negative number lifts the limit).
// Returns the previous limit.
qint64 limitarEscrituraParaPruebas(qint64 bytes);

// Messages for a failure, as the file dialog shows them.
QString mensajeErrorArchivo(ErrorArchivo e);
// Messages for a failure loading reference data.
QString mensajeErrorReferencia(ErrorArchivo e);

} // namespace pelmora
