// "Registro de presupuestos...": every kept quote, filtered, with totals.
#include "interfaz/presupuestos/dialogospresupuesto.h"
#include "interfaz/presupuestos/presupuestos.h"

#include "archivos/archivo.h"
#include "interfaz/dialogos/mensaje.h"
#include "interfaz/impresion/exportacion.h"
#include "interfaz/ventana/ventanaprincipal.h"
#include "registro/listado.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace pelmora {

namespace {

const QDate kSinDesde(2000, 1, 1);
const QDate kSinHasta(2999, 12, 31);

} // namespace

void ModeloRegistro::fijar(std::vector<FilaRegistro> filas, const QDate &hoy)
{
    beginResetModel();
    filas_ = std::move(filas);
    hoy_ = hoy;
    textos_.clear();
    endResetModel();
}

const QString &ModeloRegistro::textoBuscado(int k) const
{
    // Made on the first search, not on opening: most openings search nothing.
    if (textos_.size() != filas_.size()) {
        textos_.clear();
        textos_.reserve(filas_.size());
        for (const FilaRegistro &f : filas_)
            textos_.push_back(f.numero() + u'\n' + (f.cliente + u'\n' + f.viaje).toCaseFolded());
    }
    return textos_[size_t(k)];
}

QVariant ModeloRegistro::data(const QModelIndex &i, int rol) const
{
    if (!i.isValid() || i.row() >= rowCount())
        return {};
    const FilaRegistro &f = filas_[size_t(i.row())];
    if (rol == Qt::TextAlignmentRole && i.column() == Total)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (rol != Qt::DisplayRole)
        return {};
    switch (i.column()) {
    case Numero: return f.numero();
    case Fecha: return f.fecha.toString(QStringLiteral("dd/MM/yyyy"));
    case Cliente: return f.cliente;
    case Viaje: return f.viaje;
    case Total: return textoImporte(f.total);
    case Estado: return f.estadoMostrado(hoy_);
    }
    return {};
}

QVariant ModeloRegistro::headerData(int s, Qt::Orientation o, int rol) const
{
    static const char *const titulos[] = {"Número", "Fecha", "Cliente", "Viaje", "Total (€)", "Estado"};
    if (o == Qt::Horizontal && rol == Qt::DisplayRole && s >= 0 && s < kColumnas)
        return QString::fromUtf8(titulos[s]);
    return QAbstractTableModel::headerData(s, o, rol);
}

void FiltroRegistro::fijar(const QString &texto, const QString &estado, const QDate &desde, const QDate &hasta)
{
    texto_ = texto.trimmed().toCaseFolded();
    estado_ = estado;
    desde_ = desde;
    hasta_ = hasta;
    invalidateFilter();
}

bool FiltroRegistro::filterAcceptsRow(int fila, const QModelIndex &) const
{
    const auto *m = static_cast<const ModeloRegistro *>(sourceModel());
    const FilaRegistro &f = m->fila(fila);
    if (!texto_.isEmpty() && !m->textoBuscado(fila).contains(texto_))
        return false;
    if (!estado_.isEmpty() && f.estadoMostrado(m->hoy_) != estado_)
        return false;
    return (!desde_.isValid() || f.fecha >= desde_) && (!hasta_.isValid() || f.fecha <= hasta_);
}

bool FiltroRegistro::lessThan(const QModelIndex &a, const QModelIndex &b) const
{
    const auto *m = static_cast<const ModeloRegistro *>(sourceModel());
    const FilaRegistro &x = m->fila(a.row()), &y = m->fila(b.row());
    switch (a.column()) {
    case ModeloRegistro::Numero: return std::pair(x.anio, x.secuencia) < std::pair(y.anio, y.secuencia);
    case ModeloRegistro::Fecha: return x.fecha < y.fecha;
    case ModeloRegistro::Total: return x.total < y.total;
    default: return QString::compare(a.data().toString(), b.data().toString(), Qt::CaseInsensitive) < 0;
    }
}

VentanaRegistro::VentanaRegistro(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmRegistro"));
    setWindowTitle(QStringLiteral("Registro de presupuestos"));
    auto *todo = new QVBoxLayout(this);
    auto *filtros = new QHBoxLayout;
    todo->addLayout(filtros);
    texto_ = new QLineEdit(this);
    texto_->setObjectName(QStringLiteral("txtBuscar"));
    texto_->setPlaceholderText(QStringLiteral("Número, cliente o viaje"));
    estado_ = new QComboBox(this);
    estado_->setObjectName(QStringLiteral("cmbEstado"));
    estado_->addItem(QStringLiteral("Todos"), QString());
    for (const QString &e : {QStringLiteral("pendiente"), QStringLiteral("aceptado"), QStringLiteral("rechazado"),
                             kEstadoCaducado(), QStringLiteral("anulado")})
        estado_->addItem(e, e);
    auto fecha = [&](const char *nombre, const QDate &d) {
        auto *e = new QDateEdit(d, this);
        e->setObjectName(QLatin1String(nombre));
        e->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        e->setDateRange(kSinDesde, kSinHasta);
        e->setCalendarPopup(true);
        connect(e, &QDateEdit::dateChanged, this, &VentanaRegistro::filtrar);
        return e;
    };
    desde_ = fecha("dteDesde", kSinDesde);
    desde_->setSpecialValueText(QStringLiteral("(sin límite)"));
    hasta_ = fecha("dteHasta", kSinHasta);
    filtros->addWidget(new QLabel(QStringLiteral("Buscar:"), this));
    filtros->addWidget(texto_, 1);
    filtros->addWidget(estado_);
    filtros->addWidget(new QLabel(QStringLiteral("Desde:"), this));
    filtros->addWidget(desde_);
    filtros->addWidget(new QLabel(QStringLiteral("Hasta:"), this));
    filtros->addWidget(hasta_);
    connect(texto_, &QLineEdit::textChanged, this, &VentanaRegistro::filtrar);
    connect(estado_, &QComboBox::currentIndexChanged, this, &VentanaRegistro::filtrar);

    filtro_.setSourceModel(&modelo_);
    vista_ = new QTableView(this);
    vista_->setObjectName(QStringLiteral("tblRegistro"));
    vista_->setModel(&filtro_);
    vista_->setSortingEnabled(true);
    vista_->sortByColumn(ModeloRegistro::Numero, Qt::AscendingOrder);
    vista_->setSelectionBehavior(QAbstractItemView::SelectRows);
    vista_->setSelectionMode(QAbstractItemView::SingleSelection);
    vista_->horizontalHeader()->setStretchLastSection(true);
    vista_->verticalHeader()->hide();
    todo->addWidget(vista_, 1);
    totales_ = new QLabel(this);
    totales_->setObjectName(QStringLiteral("lblTotales"));
    todo->addWidget(totales_);

    auto *botones = new QGridLayout;
    todo->addLayout(botones);
    const struct {
        const char *nombre, *titulo;
        std::function<void()> orden;
    } ordenes[] = {
        {"cmdVista", "Abrir...", [this] { emitir(SalidaPresupuesto::Vista); }},
        {"cmdImprimir", "Imprimir", [this] { emitir(SalidaPresupuesto::Imprimir); }},
        {"cmdPdf", "Exportar a PDF...", [this] { emitir(SalidaPresupuesto::Pdf); }},
        {"cmdDuplicar", "Duplicar...", [this] { duplicar(); }},
        {"cmdAceptado", "Aceptado", [this] { cambiarEstado(EstadoPresupuesto::Aceptado); }},
        {"cmdRechazado", "Rechazado", [this] { cambiarEstado(EstadoPresupuesto::Rechazado); }},
        {"cmdPendiente", "Pendiente", [this] { cambiarEstado(EstadoPresupuesto::Pendiente); }},
        {"cmdAnular", "Anular", [this] { cambiarEstado(EstadoPresupuesto::Anulado); }},
        {"cmdEliminar", "Eliminar", [this] { eliminar(); }},
        {"cmdCsv", "Exportar a CSV...", [this] { exportarCsv(); }},
        {"cmdCopia", "Copia de seguridad...", [this] { copiaDeSeguridad(); }},
    };
    int k = 0;
    for (const auto &o : ordenes) {
        auto *b = new QPushButton(QString::fromUtf8(o.titulo), this);
        b->setObjectName(QLatin1String(o.nombre));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, o.orden);
        botones->addWidget(b, k / 6, k % 6);
        ++k;
    }
    resize(900, 600);
    if (abrirRegistroDeVentana(this, registro_))
        recargar();
}

void VentanaRegistro::recargar()
{
    modelo_.fijar(registro_.lista(), QDate::currentDate());
    filtrar();
}

void VentanaRegistro::filtrar()
{
    filtro_.fijar(texto_->text(), estado_->currentData().toString(),
                  desde_->date() == kSinDesde ? QDate() : desde_->date(),
                  hasta_->date() == kSinHasta ? QDate() : hasta_->date());
    totales_->setText(totales());
}

QString VentanaRegistro::totales() const
{
    Centimos importe = 0, aceptado = 0;
    for (int k = 0; k < filtro_.rowCount(); ++k) {
        const FilaRegistro &f = modelo_.fila(filtro_.mapToSource(filtro_.index(k, 0)).row());
        if (f.estado == EstadoPresupuesto::Anulado)
            continue;
        importe += f.total;
        if (f.estado == EstadoPresupuesto::Aceptado)
            aceptado += f.total;
    }
    return QStringLiteral("%1 presupuestos   Importe %2 €   Aceptado %3 €")
        .arg(filtro_.rowCount())
        .arg(textoImporte(importe), textoImporte(aceptado));
}

std::optional<Presupuesto> VentanaRegistro::seleccionado()
{
    const QModelIndexList filas = vista_->selectionModel() ? vista_->selectionModel()->selectedRows() : QModelIndexList();
    if (filas.isEmpty())
        return std::nullopt;
    const FilaRegistro &f = modelo_.fila(filtro_.mapToSource(filas.front()).row());
    std::optional<Presupuesto> p = registro_.leer(f.id);
    if (!p)
        MostrarMensaje(registro_.mensaje(ErrorRegistro::NoExiste), QStringLiteral("Error"), this);
    return p;
}

void VentanaRegistro::emitir(SalidaPresupuesto salida)
{
    if (const std::optional<Presupuesto> p = seleccionado()) {
        emitirPresupuesto(this, registro_, *p, salida);
        recargar();
    }
}

void VentanaRegistro::cambiarEstado(EstadoPresupuesto e)
{
    if (const std::optional<Presupuesto> p = seleccionado()) {
        if (const ErrorRegistro r = registro_.cambiarEstado(p->id, e); r != ErrorRegistro::Ninguno)
            MostrarMensaje(registro_.mensaje(r), QStringLiteral("Error"), this);
        recargar();
    }
}

void VentanaRegistro::eliminar()
{
    if (const std::optional<Presupuesto> p = seleccionado()) {
        if (const ErrorRegistro r = registro_.borrar(p->id); r != ErrorRegistro::Ninguno)
            MostrarMensaje(registro_.mensaje(r), QStringLiteral("Error"), this);
        recargar();
    }
}

void VentanaRegistro::duplicar()
{
    if (const std::optional<Presupuesto> p = seleccionado()) {
        DialogoPresupuesto d(nullptr, QString(), p, this);
        if (d.exec() == QDialog::Accepted)
            recargar();
    }
}

void VentanaRegistro::exportarCsv()
{
    std::vector<FilaCsv> filas{cabeceraCsvRegistro()};
    for (int k = 0; k < filtro_.rowCount(); ++k)
        filas.push_back(filaCsvRegistro(modelo_.fila(filtro_.mapToSource(filtro_.index(k, 0)).row()),
                                        QDate::currentDate()));
    exportarACsv(this, documentoCsv(filas, formatoCsv()), QStringLiteral("Presupuestos.csv"), QString());
}

void VentanaRegistro::copiaDeSeguridad()
{
    const QString propuesta =
        QStringLiteral("Copia de presupuestos %1.sqlite").arg(QDate::currentDate().toString(Qt::ISODate));
    const QString ruta = interceptorArchivoCopia
                             ? interceptorArchivoCopia(propuesta)
                             : pedirRutaExportacion(this,
                                                    {QStringLiteral("Copia de seguridad"),
                                                     QStringLiteral("dlgCopiaRegistro"),
                                                     QStringLiteral("Registros de presupuestos (*.sqlite)"),
                                                     QStringLiteral("sqlite")},
                                                    propuesta);
    if (ruta.isEmpty())
        return;
    if (const ErrorRegistro e = registro_.copiaDeSeguridad(ruta); e != ErrorRegistro::Ninguno)
        MostrarMensaje(registro_.mensaje(e), QStringLiteral("Error"), this);
    else
        MostrarMensaje(QStringLiteral("Copia del registro guardada en %1.").arg(ruta),
                       QStringLiteral("Copia de seguridad"), this);
}

void abrirRegistroPresupuestos(VentanaPrincipal &w)
{
    auto *v = w.findChild<VentanaRegistro *>(QStringLiteral("frmRegistro"), Qt::FindDirectChildrenOnly);
    if (!v) {
        v = new VentanaRegistro(&w);
        v->setAttribute(Qt::WA_DeleteOnClose);
        if (!v->abierto()) {
            v->deleteLater();
            return;
        }
    }
    v->recargar();
    v->show();
    v->raise();
    v->activateWindow();
}

} // namespace pelmora
