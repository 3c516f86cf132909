#include "registro/registro.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QUrl>
#include <QUuid>

#include <algorithm>
#include <cstdio>

namespace pelmora {

namespace {

// The version that keeps the logos apart.
constexpr int kVersionLogos = 3;

// Each version's statements, applied in order from the file's version on.
const char *const kMigraciones[][4] = {
    // 1: the counters per year and the quotes.
    {"CREATE TABLE contadores(anio INTEGER PRIMARY KEY, ultimo INTEGER NOT NULL CHECK (ultimo > 0))",
     "CREATE TABLE presupuestos("
     " id INTEGER PRIMARY KEY, anio INTEGER NOT NULL REFERENCES contadores(anio), secuencia INTEGER NOT NULL,"
     " fecha TEXT NOT NULL, validez INTEGER NOT NULL,"
     " estado TEXT NOT NULL CHECK (estado IN ('pendiente', 'aceptado', 'rechazado', 'anulado')),"
     " emitido INTEGER NOT NULL DEFAULT 0,"
     " cliente_nombre TEXT NOT NULL, cliente_nif TEXT NOT NULL, cliente_direccion TEXT NOT NULL,"
     " cliente_contacto TEXT NOT NULL, viaje_descripcion TEXT NOT NULL, viaje_origen TEXT NOT NULL,"
     " viaje_destino TEXT NOT NULL, viaje_fechas TEXT NOT NULL, pasajeros INTEGER NOT NULL,"
     " servicio INTEGER NOT NULL CHECK (servicio BETWEEN 1 AND 5), km REAL NOT NULL, horas REAL NOT NULL,"
     " margen INTEGER NOT NULL, iva INTEGER NOT NULL, precio_objetivo INTEGER,"
     " coste INTEGER NOT NULL, sin_iva INTEGER NOT NULL, importe_margen INTEGER NOT NULL,"
     " importe_iva INTEGER NOT NULL, total INTEGER NOT NULL, condiciones TEXT NOT NULL, notas TEXT NOT NULL,"
     " archivo TEXT NOT NULL, hash TEXT NOT NULL, coste_anual INTEGER NOT NULL,"
     " c1 REAL, c2 REAL, c3 REAL, c4 REAL, c5 REAL,"
     " UNIQUE (anio, secuencia), CHECK (total = sin_iva + importe_iva))",
     nullptr, nullptr},
    // 2: the firm's header kept with each quote, the history of states, and
    // finding quotes by client.
    {"ALTER TABLE presupuestos ADD COLUMN empresa TEXT NOT NULL DEFAULT '{}'",
     "CREATE TABLE cambios(id INTEGER PRIMARY KEY,"
     " presupuesto INTEGER NOT NULL REFERENCES presupuestos(id) ON DELETE CASCADE,"
     " momento TEXT NOT NULL, estado TEXT NOT NULL)",
     "CREATE INDEX cambios_presupuesto ON cambios(presupuesto)",
     "CREATE INDEX presupuestos_cliente ON presupuestos(cliente_nombre)"},
    // 3: the firms' logos kept once each, by the SHA-256 of their bytes,
    // out of the quotes' header (see moverLogos).
    {"CREATE TABLE logos(hash TEXT PRIMARY KEY, datos BLOB NOT NULL)",
     "ALTER TABLE presupuestos ADD COLUMN logo TEXT REFERENCES logos(hash)", nullptr, nullptr},
};
static_assert(std::size(kMigraciones) == Registro::kVersion);

// The columns of a quote, in the order of the statements below.
const char *const kColumnas =
    "anio, secuencia, fecha, validez, estado, emitido, cliente_nombre, cliente_nif, cliente_direccion,"
    " cliente_contacto, viaje_descripcion, viaje_origen, viaje_destino, viaje_fechas, pasajeros, servicio, km,"
    " horas, margen, iva, precio_objetivo, coste, sin_iva, importe_margen, importe_iva, total, condiciones, notas,"
    " archivo, hash, coste_anual, c1, c2, c3, c4, c5, empresa";
constexpr int kNumColumnas = 37;

// The quote's logo, which a file from before the table of logos keeps in
// the firm's header instead.
QString columnaLogo(int version)
{
    return version >= kVersionLogos
               ? QStringLiteral("(SELECT datos FROM logos WHERE logos.hash = presupuestos.logo)")
               : QStringLiteral("NULL");
}

QString hashLogo(const QByteArray &logo)
{
    return QString::fromLatin1(QCryptographicHash::hash(logo, QCryptographicHash::Sha256).toHex());
}

// The list's columns: the trip's name is made by SQLite (a description, or
// "origin - destination") and the date comes as a Julian day, which saves
// converting and parsing three texts per row.
const char *const kColumnasLista =
    "id, anio, secuencia, CAST(julianday(fecha) + 0.5 AS INTEGER), validez, cliente_nombre,"
    " CASE WHEN viaje_descripcion <> '' THEN viaje_descripcion"
    " WHEN viaje_origen = '' OR viaje_destino = '' THEN viaje_origen || viaje_destino"
    " ELSE viaje_origen || ' - ' || viaje_destino END, total, estado, emitido";

QVariant opcional(const std::optional<double> &x) { return x ? QVariant(*x) : QVariant(QMetaType(QMetaType::Double)); }

// A text as stored: never NULL, which the schema refuses.
QVariant texto(const QString &t) { return t.isNull() ? QVariant(QStringLiteral("")) : QVariant(t); }

// Whether the file system of a file has no room left for the register's
// writes (a page, the -shm file's 32 KiB).
bool sinEspacio(const QString &ruta)
{
    const QStorageInfo disco(QFileInfo(ruta).absolutePath());
    return disco.isValid() && disco.bytesAvailable() < 1024 * 1024;
}

// Whether an existing file, or its folder, refuses to be written.
bool noEscribible(const QString &ruta)
{
    const QFileInfo archivo(ruta);
    return archivo.exists() && (!archivo.isWritable() || !QFileInfo(archivo.absolutePath()).isWritable());
}

QString ahora() { return QDateTime::currentDateTimeUtc().toString(Qt::ISODate); }

} // namespace

QString FilaRegistro::numero() const { return numeroPresupuesto(anio, secuencia); }

QString FilaRegistro::estadoMostrado(const QDate &hoy) const
{
    return pelmora::estadoMostrado(estado, fecha, validez, hoy);
}

QByteArray empresaJson(const Empresa &e)
{
    const QJsonObject o{{"Nombre", e.nombre}, {"Nif", e.nif}, {"Direccion", e.direccion},
                        {"Telefono", e.telefono}, {"Correo", e.correo}};
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

Empresa empresaDeJson(const QByteArray &json)
{
    const QJsonObject o = QJsonDocument::fromJson(json).object();
    return {o.value("Nombre").toString(), o.value("Nif").toString(), o.value("Direccion").toString(),
            o.value("Telefono").toString(), o.value("Correo").toString(),
            QByteArray::fromBase64(o.value("Logo").toString().toLatin1())};
}

Registro::Registro() : conexion_(QStringLiteral("registro-") + QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

Registro::~Registro() { cerrar(); }

QString Registro::rutaUsuario()
{
    const QString datos = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return datos.isEmpty() ? QString() : QDir::cleanPath(datos) + QStringLiteral("/Pelmora/presupuestos.sqlite");
}

bool Registro::abierto() const { return vacio_ || QSqlDatabase::contains(conexion_); }

void Registro::cerrar()
{
    vacio_ = false;
    if (!QSqlDatabase::contains(conexion_))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(conexion_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(conexion_);
}

ErrorRegistro Registro::error(const QSqlError &e)
{
    detalle_ = e.text();
    // SQLite's primary result codes.
    switch (e.nativeErrorCode().toInt() & 0xff) {
    case 5:  // BUSY
    case 6:  // LOCKED
        return ErrorRegistro::Bloqueado;
    case 8:  // READONLY
    case 3:  // PERM
        return ErrorRegistro::NoEscribible;
    case 13: // FULL
        return ErrorRegistro::DiscoLleno;
    case 10: // IOERR: on a full disk, among others, the -shm file cannot grow when the register is opened
        return sinEspacio(ruta_) ? ErrorRegistro::DiscoLleno : ErrorRegistro::Otro;
    case 11: // CORRUPT
    case 26: // NOTADB
        return ErrorRegistro::Danado;
    case 14: // CANTOPEN: also the log files that a folder refusing new files cannot take
        return !soloLectura_ && noEscribible(ruta_) ? ErrorRegistro::NoEscribible : ErrorRegistro::NoSePuedeAbrir;
    default:
        return ErrorRegistro::Otro;
    }
}

ErrorRegistro Registro::abrir(const QString &ruta, bool soloLectura, int esperaMs)
{
    cerrar();
    ruta_ = ruta;
    soloLectura_ = soloLectura;
    detalle_.clear();
    QFile archivo(ruta);
    if (archivo.exists() && archivo.size() > 0) {
        // Anything that is no SQLite file at all is foreign.
        if (!archivo.open(QIODevice::ReadOnly))
            return ErrorRegistro::NoSePuedeAbrir;
        if (archivo.read(16) != QByteArray("SQLite format 3", 16))
            return ErrorRegistro::Ajeno;
        archivo.close();
    } else if (soloLectura) {
        vacio_ = true;
        return ErrorRegistro::Ninguno;
    } else if (!QDir().mkpath(QFileInfo(ruta).absolutePath())) {
        return ErrorRegistro::NoSePuedeAbrir;
    }
    const ErrorRegistro e = conectar(esperaMs, false);
    // A reader in a folder that takes no new files cannot make the log's
    // index. With no log waiting, the file alone is the whole register: it
    // is read as it stands.
    if (soloLectura && (e == ErrorRegistro::NoEscribible || e == ErrorRegistro::NoSePuedeAbrir)
        && QFileInfo(ruta + QStringLiteral("-wal")).size() == 0)
        return conectar(esperaMs, true);
    return e;
}

ErrorRegistro Registro::conectar(int esperaMs, bool inmutable)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conexion_);
    QString opciones = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(esperaMs);
    if (soloLectura_)
        opciones += QStringLiteral(";QSQLITE_OPEN_READONLY");
    if (inmutable) {
        opciones += QStringLiteral(";QSQLITE_OPEN_URI");
        db.setDatabaseName(QUrl::fromLocalFile(ruta_).toString(QUrl::FullyEncoded) + QStringLiteral("?immutable=1"));
    } else {
        db.setDatabaseName(ruta_);
    }
    db.setConnectOptions(opciones);
    if (!db.open()) {
        const ErrorRegistro e = error(db.lastError());
        db = QSqlDatabase();
        cerrar();
        return e == ErrorRegistro::Otro ? ErrorRegistro::NoSePuedeAbrir : e;
    }
    db = QSqlDatabase();
    const ErrorRegistro e = comprobar();
    if (e != ErrorRegistro::Ninguno)
        cerrar();
    return e;
}

ErrorRegistro Registro::comprobar()
{
    QSqlDatabase db = QSqlDatabase::database(conexion_, false);
    if (const ErrorRegistro e = comprobarPaginas(); e != ErrorRegistro::Ninguno)
        return e;
    QSqlQuery q(db);
    auto entero = [&](const char *sql) {
        QSqlQuery c(db);
        return c.exec(QString::fromLatin1(sql)) && c.next() ? c.value(0).toLongLong() : -1;
    };
    const qint64 id = entero("PRAGMA application_id");
    const qint64 version = entero("PRAGMA user_version");
    const qint64 tablas = entero("SELECT count(*) FROM sqlite_master");
    if (id < 0 || version < 0 || tablas < 0)
        return ErrorRegistro::Danado;
    const bool nuevo = id == 0 && version == 0 && tablas == 0;
    if (!nuevo && id != kIdAplicacion)
        return ErrorRegistro::Ajeno;
    if (version > kVersion)
        return ErrorRegistro::Posterior;
    version_ = soloLectura_ ? int(version) : kVersion;
    if (!soloLectura_) {
        if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !q.next())
            return error(q.lastError());
        q.exec(QStringLiteral("PRAGMA synchronous=FULL"));
        q.exec(QStringLiteral("PRAGMA foreign_keys=ON"));
        // Only an older file takes the write lock: opening never waits for
        // another program's change.
        if (version < kVersion)
            if (const ErrorRegistro e = migrar(); e != ErrorRegistro::Ninguno)
                return e;
    } else if (nuevo) {
        vacio_ = true;
        return ErrorRegistro::Ninguno;
    }
    // The schema the program reads, whatever the file says of itself.
    const QString columnas = soloLectura_ ? QString::fromLatin1(kColumnasLista)
                                          : QStringLiteral("id, %1, logo").arg(QString::fromLatin1(kColumnas));
    if (!q.exec(QStringLiteral("SELECT %1 FROM presupuestos LIMIT 0").arg(columnas))
        || !q.exec(QStringLiteral("SELECT anio, ultimo FROM contadores LIMIT 0"))
        || (version_ >= kVersionLogos && !q.exec(QStringLiteral("SELECT hash, datos FROM logos LIMIT 0")))) {
        detalle_ = q.lastError().text();
        return ErrorRegistro::Danado;
    }
    if (q.exec(QStringLiteral("PRAGMA foreign_key_check")) && q.next()) {
        detalle_ = QStringLiteral("foreign_key_check");
        return ErrorRegistro::Danado;
    }
    return ErrorRegistro::Ninguno;
}

ErrorRegistro Registro::comprobarPaginas()
{
    // Every page and record of the file, and the NOT NULL columns. The CHECK
    // constraints are left out: every write enforces them, and evaluating
    // them again for each row took some two thirds of the check's time.
    // They are switched back on before anything else runs.
    QSqlQuery q(QSqlDatabase::database(conexion_, false));
    if (!q.exec(QStringLiteral("PRAGMA ignore_check_constraints=ON")))
        return error(q.lastError());
    ErrorRegistro e = ErrorRegistro::Ninguno;
    if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next()) {
        e = error(q.lastError());
        if (e == ErrorRegistro::Otro)
            e = ErrorRegistro::Danado;
    } else if (q.value(0).toString() != QLatin1String("ok")) {
        detalle_ = q.value(0).toString();
        e = ErrorRegistro::Danado;
    }
    q.finish();
    if (!q.exec(QStringLiteral("PRAGMA ignore_check_constraints=OFF")))
        return e == ErrorRegistro::Ninguno ? error(q.lastError()) : e;
    return e;
}

template <class F> ErrorRegistro Registro::transaccion(F &&cuerpo)
{
    if (vacio_ || soloLectura_)
        return ErrorRegistro::NoEscribible;
    if (!QSqlDatabase::contains(conexion_))
        return ErrorRegistro::NoSePuedeAbrir;
    QSqlDatabase db = QSqlDatabase::database(conexion_, false);
    QSqlQuery q(db);
    // IMMEDIATE takes the write lock at once: two writers queue here instead
    // of both reading the same counter.
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return error(q.lastError());
    ErrorRegistro e = cuerpo(db);
    if (e == ErrorRegistro::Ninguno && !q.exec(QStringLiteral("COMMIT")))
        e = error(q.lastError());
    if (e != ErrorRegistro::Ninguno) {
        const QString antes = detalle_;
        q.exec(QStringLiteral("ROLLBACK"));
        detalle_ = antes;
    }
    return e;
}

ErrorRegistro Registro::migrar()
{
    int desde = 0;
    const ErrorRegistro e = transaccion([&](QSqlDatabase &db) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
            return error(q.lastError());
        desde = q.value(0).toInt(); // read again: another program may have done it meanwhile
        for (int v = desde; v < kVersion; ++v) {
            for (const char *sql : kMigraciones[v])
                if (sql && !q.exec(QString::fromLatin1(sql)))
                    return error(q.lastError());
            if (v + 1 == kVersionLogos)
                if (const ErrorRegistro e = moverLogos(db); e != ErrorRegistro::Ninguno)
                    return e;
        }
        if (desde != kVersion
            && (!q.exec(QStringLiteral("PRAGMA user_version=%1").arg(kVersion))
                || !q.exec(QStringLiteral("PRAGMA application_id=%1").arg(kIdAplicacion))))
            return error(q.lastError());
        return ErrorRegistro::Ninguno;
    });
    // The logos taken out of the headers leave free pages as large as the
    // file was: it is given back to the disk. Failing that (another program
    // reading, no room for the copy) the register is no less whole.
    if (e == ErrorRegistro::Ninguno && desde == kVersionLogos - 1) {
        QSqlQuery q(QSqlDatabase::database(conexion_, false));
        q.exec(QStringLiteral("VACUUM"));
    }
    return e;
}

ErrorRegistro Registro::guardarLogo(QSqlDatabase &db, const QByteArray &logo, QVariant &hash)
{
    hash = QVariant(QMetaType(QMetaType::QString));
    if (logo.isEmpty())
        return ErrorRegistro::Ninguno;
    hash = hashLogo(logo);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT OR IGNORE INTO logos(hash, datos) VALUES(?, ?)"));
    q.addBindValue(hash);
    q.addBindValue(logo);
    return q.exec() ? ErrorRegistro::Ninguno : error(q.lastError());
}

ErrorRegistro Registro::moverLogos(QSqlDatabase &db)
{
    // One quote at a time: the headers of a large register need not fit in memory together.
    QSqlQuery ids(db), q(db);
    ids.setForwardOnly(true);
    if (!ids.exec(QStringLiteral("SELECT id FROM presupuestos WHERE instr(empresa, '\"Logo\"') > 0")))
        return error(ids.lastError());
    std::vector<qint64> conLogo;
    while (ids.next())
        conLogo.push_back(ids.value(0).toLongLong());
    ids.finish();
    for (const qint64 id : conLogo) {
        q.prepare(QStringLiteral("SELECT empresa FROM presupuestos WHERE id = ?"));
        q.addBindValue(id);
        if (!q.exec() || !q.next())
            return error(q.lastError());
        // Only the logo leaves the header; a header that does not read whole stays as it is.
        QJsonParseError fallo;
        QJsonObject empresa = QJsonDocument::fromJson(q.value(0).toString().toUtf8(), &fallo).object();
        q.finish();
        const auto bytes = QByteArray::fromBase64Encoding(empresa.take(QStringLiteral("Logo")).toString().toLatin1(),
                                                          QByteArray::AbortOnBase64DecodingErrors);
        if (fallo.error != QJsonParseError::NoError || !bytes)
            continue;
        QVariant logo;
        if (const ErrorRegistro e = guardarLogo(db, *bytes, logo); e != ErrorRegistro::Ninguno)
            return e;
        q.prepare(QStringLiteral("UPDATE presupuestos SET empresa = ?, logo = ? WHERE id = ?"));
        q.addBindValue(QString::fromUtf8(QJsonDocument(empresa).toJson(QJsonDocument::Compact)));
        q.addBindValue(logo);
        q.addBindValue(id);
        if (!q.exec())
            return error(q.lastError());
    }
    return ErrorRegistro::Ninguno;
}

ErrorRegistro Registro::guardarNuevo(Presupuesto &p)
{
    Presupuesto nuevo = p;
    if (!nuevo.fecha.isValid())
        nuevo.fecha = QDate::currentDate();
    nuevo.anio = nuevo.fecha.year();
    const ErrorRegistro e = transaccion([&](QSqlDatabase &db) {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("INSERT INTO contadores(anio, ultimo) VALUES(?, 1)"
                                 " ON CONFLICT(anio) DO UPDATE SET ultimo = ultimo + 1 RETURNING ultimo"));
        q.addBindValue(nuevo.anio);
        if (!q.exec() || !q.next())
            return error(q.lastError());
        nuevo.secuencia = q.value(0).toInt();
        q.finish();
        QVariant logo;
        if (const ErrorRegistro e = guardarLogo(db, nuevo.empresa.logo, logo); e != ErrorRegistro::Ninguno)
            return e;
        QStringList marcas;
        for (int k = 0; k <= kNumColumnas; ++k)
            marcas << QStringLiteral("?");
        q.prepare(QStringLiteral("INSERT INTO presupuestos(%1, logo) VALUES(%2)")
                      .arg(QString::fromLatin1(kColumnas), marcas.join(u',')));
        const Presupuesto &n = nuevo;
        for (const QVariant &v : {QVariant(n.anio), QVariant(n.secuencia), QVariant(n.fecha.toString(Qt::ISODate)),
                                  QVariant(n.validez), QVariant(nombreEstado(n.estado)), QVariant(n.emitido ? 1 : 0),
                                  texto(n.cliente.nombre), texto(n.cliente.nif), texto(n.cliente.direccion),
                                  texto(n.cliente.contacto), texto(n.viaje.descripcion),
                                  texto(n.viaje.origen), texto(n.viaje.destino), texto(n.viaje.fechas),
                                  QVariant(n.viaje.pasajeros), QVariant(n.servicio), QVariant(n.km),
                                  QVariant(n.horas), QVariant(n.margen), QVariant(n.iva),
                                  n.precioObjetivo ? QVariant(*n.precioObjetivo)
                                                   : QVariant(QMetaType(QMetaType::LongLong)),
                                  QVariant(n.precio.coste), QVariant(n.precio.sinIva), QVariant(n.precio.margen),
                                  QVariant(n.precio.iva), QVariant(n.precio.total), texto(n.condiciones),
                                  texto(n.notas), texto(n.origen.archivo),
                                  QVariant(QString::fromLatin1(n.origen.hash)), QVariant(n.origen.costeAnual),
                                  opcional(n.origen.c[0]), opcional(n.origen.c[1]), opcional(n.origen.c[2]),
                                  opcional(n.origen.c[3]), opcional(n.origen.c[4]),
                                  QVariant(QString::fromUtf8(empresaJson(n.empresa))), logo})
            q.addBindValue(v);
        if (!q.exec())
            return error(q.lastError());
        nuevo.id = q.lastInsertId().toLongLong();
        q.prepare(QStringLiteral("INSERT INTO cambios(presupuesto, momento, estado) VALUES(?, ?, ?)"));
        q.addBindValue(nuevo.id);
        q.addBindValue(ahora());
        q.addBindValue(nombreEstado(nuevo.estado));
        return q.exec() ? ErrorRegistro::Ninguno : error(q.lastError());
    });
    if (e == ErrorRegistro::Ninguno)
        p = nuevo;
    return e;
}

ErrorRegistro Registro::cambiarEstado(qint64 id, EstadoPresupuesto estado)
{
    return transaccion([&](QSqlDatabase &db) {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("UPDATE presupuestos SET estado = ? WHERE id = ?"));
        q.addBindValue(nombreEstado(estado));
        q.addBindValue(id);
        if (!q.exec())
            return error(q.lastError());
        if (q.numRowsAffected() != 1)
            return ErrorRegistro::NoExiste;
        q.prepare(QStringLiteral("INSERT INTO cambios(presupuesto, momento, estado) VALUES(?, ?, ?)"));
        q.addBindValue(id);
        q.addBindValue(ahora());
        q.addBindValue(nombreEstado(estado));
        return q.exec() ? ErrorRegistro::Ninguno : error(q.lastError());
    });
}

ErrorRegistro Registro::marcarEmitido(qint64 id)
{
    return transaccion([&](QSqlDatabase &db) {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("UPDATE presupuestos SET emitido = 1 WHERE id = ?"));
        q.addBindValue(id);
        if (!q.exec())
            return error(q.lastError());
        return q.numRowsAffected() == 1 ? ErrorRegistro::Ninguno : ErrorRegistro::NoExiste;
    });
}

ErrorRegistro Registro::borrar(qint64 id)
{
    return transaccion([&](QSqlDatabase &db) {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT emitido FROM presupuestos WHERE id = ?"));
        q.addBindValue(id);
        if (!q.exec())
            return error(q.lastError());
        if (!q.next())
            return ErrorRegistro::NoExiste;
        if (q.value(0).toInt() != 0)
            return ErrorRegistro::NoPermitido;
        q.finish();
        q.prepare(QStringLiteral("DELETE FROM presupuestos WHERE id = ?"));
        q.addBindValue(id);
        return q.exec() ? ErrorRegistro::Ninguno : error(q.lastError());
    });
}

std::optional<Presupuesto> Registro::leer(qint64 id)
{
    if (vacio_ || !QSqlDatabase::contains(conexion_))
        return std::nullopt;
    QSqlQuery q(QSqlDatabase::database(conexion_, false));
    q.prepare(QStringLiteral("SELECT id, %1, %2 FROM presupuestos WHERE id = ?")
                  .arg(QString::fromLatin1(kColumnas), columnaLogo(version_)));
    q.addBindValue(id);
    if (!q.exec() || !q.next()) {
        detalle_ = q.lastError().text();
        return std::nullopt;
    }
    int k = 0;
    auto v = [&] { return q.value(k++); };
    auto c1 = [&] {
        const QVariant x = v();
        return x.isNull() ? std::optional<double>() : std::optional<double>(x.toDouble());
    };
    Presupuesto p;
    p.id = v().toLongLong();
    p.anio = v().toInt();
    p.secuencia = v().toInt();
    p.fecha = QDate::fromString(v().toString(), Qt::ISODate);
    p.validez = v().toInt();
    p.estado = estadoDeNombre(v().toString()).value_or(EstadoPresupuesto::Pendiente);
    p.emitido = v().toInt() != 0;
    p.cliente = {v().toString(), v().toString(), v().toString(), v().toString()};
    p.viaje.descripcion = v().toString();
    p.viaje.origen = v().toString();
    p.viaje.destino = v().toString();
    p.viaje.fechas = v().toString();
    p.viaje.pasajeros = v().toInt();
    p.servicio = v().toInt();
    p.km = v().toDouble();
    p.horas = v().toDouble();
    p.margen = v().toInt();
    p.iva = v().toInt();
    if (const QVariant o = v(); !o.isNull())
        p.precioObjetivo = o.toLongLong();
    p.precio = {v().toLongLong(), v().toLongLong(), v().toLongLong(), v().toLongLong(), v().toLongLong()};
    p.condiciones = v().toString();
    p.notas = v().toString();
    p.origen.archivo = v().toString();
    p.origen.hash = v().toString().toLatin1();
    p.origen.costeAnual = v().toLongLong();
    for (auto &c : p.origen.c)
        c = c1();
    p.empresa = empresaDeJson(v().toString().toUtf8());
    if (const QVariant logo = v(); !logo.isNull())
        p.empresa.logo = logo.toByteArray();
    return p;
}

std::vector<FilaRegistro> Registro::lista()
{
    std::vector<FilaRegistro> r;
    if (vacio_ || !QSqlDatabase::contains(conexion_))
        return r;
    QSqlQuery q(QSqlDatabase::database(conexion_, false));
    q.setForwardOnly(true);
    // In the table's order, which is nearly always the numbers' order: a
    // plain scan instead of one look-up per row through the numbers' index.
    if (!q.exec(QStringLiteral("SELECT %1 FROM presupuestos").arg(QString::fromLatin1(kColumnasLista)))) {
        detalle_ = q.lastError().text();
        return r;
    }
    while (q.next()) {
        FilaRegistro f;
        f.id = q.value(0).toLongLong();
        f.anio = q.value(1).toInt();
        f.secuencia = q.value(2).toInt();
        if (const QVariant dia = q.value(3); !dia.isNull())
            f.fecha = QDate::fromJulianDay(dia.toLongLong());
        f.validez = q.value(4).toInt();
        f.cliente = q.value(5).toString();
        f.viaje = q.value(6).toString();
        f.total = q.value(7).toLongLong();
        f.estado = estadoDeNombre(q.value(8).toString()).value_or(EstadoPresupuesto::Pendiente);
        f.emitido = q.value(9).toInt() != 0;
        r.push_back(std::move(f));
    }
    auto antes = [](const FilaRegistro &a, const FilaRegistro &b) {
        return std::pair(a.anio, a.secuencia) < std::pair(b.anio, b.secuencia);
    };
    if (!std::is_sorted(r.begin(), r.end(), antes))
        std::sort(r.begin(), r.end(), antes);
    return r;
}

ErrorRegistro Registro::copiaDeSeguridad(const QString &destino)
{
    if (vacio_ || !QSqlDatabase::contains(conexion_))
        return ErrorRegistro::NoSePuedeAbrir;
    // VACUUM INTO takes no existing file: a new one beside the destination,
    // which then replaces it in one step.
    const QString temporal = destino + QStringLiteral(".") + QUuid::createUuid().toString(QUuid::Id128) +
                             QStringLiteral(".tmp");
    QSqlQuery q(QSqlDatabase::database(conexion_, false));
    q.prepare(QStringLiteral("VACUUM INTO ?"));
    q.addBindValue(temporal);
    if (!q.exec()) {
        const ErrorRegistro e = error(q.lastError());
        QFile::remove(temporal);
        return e == ErrorRegistro::Otro || e == ErrorRegistro::NoSePuedeAbrir ? ErrorRegistro::NoEscribible : e;
    }
    if (std::rename(QFile::encodeName(temporal).constData(), QFile::encodeName(destino).constData()) != 0) {
        QFile::remove(temporal);
        return ErrorRegistro::NoEscribible;
    }
    return ErrorRegistro::Ninguno;
}

QString Registro::apartar(const QString &ruta)
{
    const QFileInfo i(ruta);
    const QString marca = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString nuevo;
    for (int n = 0; nuevo.isEmpty() || QFile::exists(nuevo); ++n)
        nuevo = i.absolutePath() + u'/' + i.completeBaseName() + QStringLiteral("-apartado-") + marca +
                (n > 0 ? QStringLiteral("-%1").arg(n) : QString()) + QStringLiteral(".") + i.suffix();
    if (!QFile::rename(ruta, nuevo))
        return QString();
    for (const char *resto : {"-wal", "-shm"})
        if (QFile::exists(ruta + QLatin1String(resto)))
            QFile::rename(ruta + QLatin1String(resto), nuevo + QLatin1String(resto));
    return nuevo;
}

QString Registro::mensaje(ErrorRegistro e) const
{
    switch (e) {
    case ErrorRegistro::Ninguno: return QString();
    case ErrorRegistro::NoSePuedeAbrir:
        return QStringLiteral("No se puede abrir ni crear el registro de presupuestos (%1).").arg(ruta_);
    case ErrorRegistro::Danado:
        return QStringLiteral("El registro de presupuestos (%1) está dañado.").arg(ruta_);
    case ErrorRegistro::Ajeno:
        return QStringLiteral("El archivo %1 no es un registro de presupuestos de Pelmora.").arg(ruta_);
    case ErrorRegistro::Posterior:
        return QStringLiteral("El registro de presupuestos (%1) es de una versión posterior de Pelmora.").arg(ruta_);
    case ErrorRegistro::Bloqueado:
        return QStringLiteral("Otro programa está usando el registro de presupuestos. Inténtelo de nuevo dentro de "
                              "un momento.");
    case ErrorRegistro::NoEscribible:
        return QStringLiteral("No se puede escribir en el registro de presupuestos (%1): el archivo o su carpeta "
                              "son de solo lectura.").arg(ruta_);
    case ErrorRegistro::DiscoLleno:
        return QStringLiteral("No queda espacio en el disco para el registro de presupuestos.");
    case ErrorRegistro::NoPermitido:
        return QStringLiteral("Un presupuesto ya impreso o exportado no se puede eliminar; se puede anular.");
    case ErrorRegistro::NoExiste: return QStringLiteral("El presupuesto ya no está en el registro.");
    case ErrorRegistro::Otro: break;
    }
    return QStringLiteral("No se pudo usar el registro de presupuestos: ") + detalle_;
}

} // namespace pelmora
