// The register of quotes: an SQLite database (Qt SQL) with a versioned
// schema, write-ahead log and foreign keys. Every change is one
// transaction; numbers are taken per year inside the transaction that keeps
// the quote, so that several windows or programs writing at once never
// share or skip one.
#pragma once

#include "presupuestos/presupuesto.h"

#include <QString>
#include <optional>
#include <vector>

class QSqlError;
class QVariant;
class QSqlDatabase;

namespace pelmora {

enum class ErrorRegistro {
    Ninguno,
    NoSePuedeAbrir, // the file or its folder cannot be opened or created
    Danado,         // quick_check, the foreign keys or the schema failed
    Ajeno,          // not a register of this program
    Posterior,      // written by a later version of the program
    Bloqueado,      // another program holds it for too long
    NoEscribible,   // read-only file or folder
    DiscoLleno,
    NoPermitido,    // the operation is refused (a quote already printed cannot be deleted)
    NoExiste,       // no such quote
    Otro,
};

// One row of the register's list.
struct FilaRegistro {
    qint64 id = 0;
    int anio = 0, secuencia = 0;
    QDate fecha;
    int validez = 0;
    QString cliente, viaje;
    Centimos total = 0;
    EstadoPresupuesto estado = EstadoPresupuesto::Pendiente;
    bool emitido = false;
    QString numero() const;
    QString estadoMostrado(const QDate &hoy) const;
};

class Registro {
public:
    static constexpr int kVersion = 3;
    static constexpr int kIdAplicacion = 0x506c6d72;
    // How long a change waits for another program's change to end.
    static constexpr int kEsperaMs = 5000;

    Registro();
    ~Registro();
    Registro(const Registro &) = delete;
    Registro &operator=(const Registro &) = delete;

    // ~/.local/share/Pelmora/presupuestos.sqlite
    static QString rutaUsuario();

    // Opens the register, creating it (and its folder) when the file does
    // not exist and bringing an older schema up to date. soloLectura never
    // writes: an absent file reads as an empty register.
    // esperaMs: how long a change waits for another program's to end.
    ErrorRegistro abrir(const QString &ruta, bool soloLectura = false, int esperaMs = kEsperaMs);
    void cerrar();
    bool abierto() const;
    const QString &ruta() const { return ruta_; }

    // Moves a damaged or foreign file (and its log) aside under a new name,
    // which it returns; empty when it could not.
    static QString apartar(const QString &ruta);

    // Keeps a new quote: it gets the next number of its date's year, its id
    // and, on failure, nothing at all.
    ErrorRegistro guardarNuevo(Presupuesto &p);
    ErrorRegistro cambiarEstado(qint64 id, EstadoPresupuesto e);
    ErrorRegistro marcarEmitido(qint64 id);
    // Only a quote never printed nor exported; others are cancelled instead.
    ErrorRegistro borrar(qint64 id);
    std::optional<Presupuesto> leer(qint64 id);
    std::vector<FilaRegistro> lista();
    // A consistent copy of the register while it is in use, replacing
    // destino whole or not at all.
    ErrorRegistro copiaDeSeguridad(const QString &destino);

    // What the last failure was, in words for the user.
    QString mensaje(ErrorRegistro e) const;
    const QString &detalle() const { return detalle_; }

private:
    ErrorRegistro error(const QSqlError &e);
    // The connection to ruta_, checked; inmutable: read without the log's index.
    ErrorRegistro conectar(int esperaMs, bool inmutable);
    ErrorRegistro comprobar();
    ErrorRegistro comprobarPaginas();
    ErrorRegistro migrar();
    // Takes the logos out of the firm's header of every quote into their table.
    ErrorRegistro moverLogos(QSqlDatabase &db);
    // Keeps a logo once; hash: its key, or NULL for no logo.
    ErrorRegistro guardarLogo(QSqlDatabase &db, const QByteArray &logo, QVariant &hash);
    template <class F> ErrorRegistro transaccion(F &&cuerpo);

    QString conexion_;
    QString ruta_;
    QString detalle_;
    bool soloLectura_ = false;
    int version_ = kVersion; // the file's schema: a reader does not bring it up to date
    bool vacio_ = false; // read-only and no file: an empty register
};

// The quote's firm header as JSON text, without its logo (kept once in a
// table of its own), and back; an older header may still hold the logo.
QByteArray empresaJson(const Empresa &e);
Empresa empresaDeJson(const QByteArray &json);

} // namespace pelmora
