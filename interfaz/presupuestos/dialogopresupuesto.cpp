// "Nuevo presupuesto...": the quote typed, checked, priced and kept.
#include "interfaz/presupuestos/dialogospresupuesto.h"
#include "interfaz/presupuestos/presupuestos.h"

#include "entrada/numeros.h"
#include "interfaz/dialogos/comunes.h"
#include "interfaz/dialogos/mensaje.h"
#include "interfaz/soporte/colores.h"
#include "interfaz/ventana/ventanaprincipal.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <tuple>

namespace pelmora {

namespace {

QString decimal(qint64 v, int d) { return textoDecimal(v, d, separadorDecimal()); }

QGroupBox *grupo(QWidget *padre, const QString &titulo, QFormLayout *&form)
{
    auto *g = new QGroupBox(titulo, padre);
    form = new QFormLayout(g);
    return g;
}

} // namespace

QLineEdit *DialogoPresupuesto::caja(const char *nombre, const QString &texto)
{
    auto *e = new QLineEdit(texto, this);
    e->setObjectName(QLatin1String(nombre));
    connect(e, &QLineEdit::textChanged, this, &DialogoPresupuesto::actualizarResumen);
    return e;
}

DialogoPresupuesto::DialogoPresupuesto(const Calculo *calc, const QString &archivo,
                                       const std::optional<Presupuesto> &base, QWidget *parent)
    : QDialog(parent), calc_(calc), archivo_(archivo)
{
    setObjectName(QStringLiteral("dlgPresupuesto"));
    setWindowTitle(base ? QStringLiteral("Nuevo presupuesto (copia de %1)").arg(base->numero())
                        : QStringLiteral("Nuevo presupuesto"));
    if (base) {
        base_ = *base;
    } else {
        base_.condiciones = ultimasCondiciones();
    }
    auto *todo = new QVBoxLayout(this);
    QFormLayout *f = nullptr;

    todo->addWidget(grupo(this, QStringLiteral("Servicio"), f));
    servicio_ = new QComboBox(this);
    servicio_->setObjectName(QStringLiteral("cmbServicio"));
    if (calc_)
        for (const ServicioCalculo &s : serviciosConCoste(calc_->columnaS()))
            servicio_->addItem(QStringLiteral("Servicio %1").arg(s.numero), s.numero);
    else
        servicio_->addItem(QStringLiteral("Servicio %1").arg(base_.servicio), base_.servicio);
    servicio_->setEnabled(calc_ != nullptr);
    f->addRow(QStringLiteral("Servicio:"), servicio_);
    km_ = caja("txtKm");
    horas_ = caja("txtHoras");
    auto *kmHoras = new QHBoxLayout;
    kmHoras->addWidget(km_);
    kmHoras->addWidget(new QLabel(QStringLiteral("horas:"), this));
    kmHoras->addWidget(horas_);
    f->addRow(QStringLiteral("Kilómetros:"), kmHoras);
    margen_ = caja("txtMargen", decimal(base_.precioObjetivo ? 0 : base_.margen, 2));
    objetivo_ = caja("txtPrecioObjetivo", base_.precioObjetivo ? decimal(*base_.precioObjetivo, 2) : QString());
    iva_ = caja("txtIva", decimal(base_.iva, 2));
    f->addRow(QStringLiteral("Margen (% del precio sin IVA):"), margen_);
    f->addRow(QStringLiteral("o precio sin IVA (€):"), objetivo_);
    f->addRow(QStringLiteral("IVA (%):"), iva_);
    validez_ = new QSpinBox(this);
    validez_->setObjectName(QStringLiteral("spnValidez"));
    validez_->setRange(1, 365);
    validez_->setValue(base_.validez);
    f->addRow(QStringLiteral("Validez (días):"), validez_);
    resumen_ = new QLabel(this);
    resumen_->setObjectName(QStringLiteral("lblResumen"));
    f->addRow(resumen_);

    todo->addWidget(grupo(this, QStringLiteral("Cliente"), f));
    cliente_ = caja("txtCliente", base_.cliente.nombre);
    nif_ = caja("txtNif", base_.cliente.nif);
    direccion_ = caja("txtDireccion", base_.cliente.direccion);
    contacto_ = caja("txtContacto", base_.cliente.contacto);
    f->addRow(QStringLiteral("Nombre:"), cliente_);
    f->addRow(QStringLiteral("NIF/CIF:"), nif_);
    f->addRow(QStringLiteral("Dirección:"), direccion_);
    f->addRow(QStringLiteral("Contacto:"), contacto_);

    todo->addWidget(grupo(this, QStringLiteral("Viaje"), f));
    descripcion_ = caja("txtDescripcion", base_.viaje.descripcion);
    origen_ = caja("txtOrigen", base_.viaje.origen);
    destino_ = caja("txtDestino", base_.viaje.destino);
    fechas_ = caja("txtFechas", base_.viaje.fechas);
    pasajeros_ = new QSpinBox(this);
    pasajeros_->setObjectName(QStringLiteral("spnPasajeros"));
    pasajeros_->setRange(0, 999);
    f->addRow(QStringLiteral("Descripción:"), descripcion_);
    f->addRow(QStringLiteral("Origen:"), origen_);
    f->addRow(QStringLiteral("Destino:"), destino_);
    f->addRow(QStringLiteral("Fechas:"), fechas_);
    f->addRow(QStringLiteral("Pasajeros:"), pasajeros_);

    condiciones_ = new QPlainTextEdit(base_.condiciones, this);
    condiciones_->setObjectName(QStringLiteral("txtCondiciones"));
    notas_ = new QPlainTextEdit(base_.notas, this);
    notas_->setObjectName(QStringLiteral("txtNotas"));
    todo->addWidget(new QLabel(QStringLiteral("Condiciones:"), this));
    todo->addWidget(condiciones_);
    todo->addWidget(new QLabel(QStringLiteral("Notas:"), this));
    todo->addWidget(notas_);

    auto *botones = botonesAceptarCancelar(this, QStringLiteral("Guardar"));
    for (const auto &[nombre, titulo, salida] :
         {std::tuple("cmdGuardarImprimir", "Guardar e imprimir...", SalidaPresupuesto::Vista),
          std::tuple("cmdGuardarPdf", "Guardar y exportar a PDF...", SalidaPresupuesto::Pdf)}) {
        QPushButton *b = botones->addButton(QString::fromUtf8(titulo), QDialogButtonBox::ActionRole);
        b->setObjectName(QLatin1String(nombre));
        connect(b, &QPushButton::clicked, this, [this, s = salida] { guardar(s); });
    }
    todo->addWidget(botones);

    connect(servicio_, &QComboBox::currentIndexChanged, this,
            [this](int k) { elegirServicio(servicio_->itemData(k).toInt()); });
    if (calc_ && servicio_->count() > 0)
        elegirServicio(servicio_->itemData(0).toInt());
    else
        elegirServicio(base_.servicio);
}

void DialogoPresupuesto::elegirServicio(int servicio)
{
    if (calc_) {
        std::optional<Presupuesto> p = presupuestoDeCalculo(*calc_, archivo_, servicio);
        if (!p)
            return;
        // What was typed stays; the service's figures and record change.
        base_.servicio = p->servicio;
        base_.km = p->km;
        base_.horas = p->horas;
        base_.origen = p->origen;
        base_.precio.coste = p->precio.coste;
        base_.viaje.pasajeros = p->viaje.pasajeros;
    }
    km_->setText(decimal(qRound64(base_.km * 10), 1));
    horas_->setText(decimal(qRound64(base_.horas * 100), 2));
    pasajeros_->setValue(base_.viaje.pasajeros);
    actualizarResumen();
}

std::optional<Presupuesto> DialogoPresupuesto::leer(QString *motivo, bool conCliente) const
{
    auto falla = [&](const char *texto) {
        if (motivo)
            *motivo = QString::fromUtf8(texto);
        return std::nullopt;
    };
    Presupuesto p = base_;
    p.id = 0;
    p.anio = p.secuencia = 0;
    p.estado = EstadoPresupuesto::Pendiente;
    p.emitido = false;
    p.fecha = QDate::currentDate();
    p.cliente = {cliente_->text().trimmed(), nifNormalizado(nif_->text()), direccion_->text().trimmed(),
                 contacto_->text().trimmed()};
    p.viaje = {descripcion_->text().trimmed(), origen_->text().trimmed(), destino_->text().trimmed(),
               fechas_->text().trimmed(), pasajeros_->value()};
    p.validez = validez_->value();
    p.condiciones = condiciones_->toPlainText();
    p.notas = notas_->toPlainText();
    const std::optional<qint64> km = leerDecimal(km_->text(), 1), horas = leerDecimal(horas_->text(), 2);
    if (!km || !horas || *km <= 0 || *horas <= 0)
        return falla("Los kilómetros y las horas del servicio deben ser números mayores que 0.");
    // The service's own costs, as the recorded cost, kilometres and hours leave them.
    const double c2 = base_.origen.c[1].value_or(0), c3 = base_.origen.c[2].value_or(0);
    const double propios = double(base_.precio.coste) / 100.0 - base_.km * c2 - base_.horas * c3;
    p.km = double(*km) / 10.0;
    p.horas = double(*horas) / 100.0;
    if (const std::optional<Centimos> c = costeKmYHoras(propios, p.km, p.horas, c2, c3))
        p.precio.coste = *c;
    const std::optional<qint64> margen = leerDecimal(margen_->text().isEmpty() ? QStringLiteral("0") : margen_->text(), 2);
    const std::optional<qint64> iva = leerDecimal(iva_->text(), 2);
    if (!margen || *margen < 0 || *margen > kMargenMaximo)
        return falla("El margen debe ser un número de 0 a 95 (% del precio sin IVA).");
    if (!iva || *iva < 0 || *iva > kIvaMaximo)
        return falla("El IVA debe ser un número de 0 a 30 (%).");
    p.margen = int(*margen);
    p.iva = int(*iva);
    p.precioObjetivo.reset();
    if (!objetivo_->text().trimmed().isEmpty()) {
        const std::optional<qint64> objetivo = leerDecimal(objetivo_->text(), 2);
        if (!objetivo || *objetivo <= 0 || *objetivo > kMaximoCentimos)
            return falla("El precio sin IVA debe ser un importe mayor que 0.");
        p.precioObjetivo = *objetivo;
    }
    if (!recalcularPrecio(p))
        return falla("Con estas cifras no se puede calcular el precio.");
    if (!conCliente)
        return p;
    if (p.cliente.nombre.isEmpty())
        return falla("Escriba el nombre del cliente.");
    if (!nif_->text().trimmed().isEmpty() && !nifValido(nif_->text()))
        return falla("El NIF/CIF del cliente no es válido: compruebe sus cifras y su letra o cifra de control.");
    return p;
}

void DialogoPresupuesto::actualizarResumen()
{
    if (!resumen_ || !cliente_ || !notas_)
        return; // still being built
    QString motivo;
    const std::optional<Presupuesto> p = leer(&motivo, false); // the price does not wait for the client
    if (!p) {
        resumen_->setText(motivo);
        resumen_->setStyleSheet(estiloAviso(this));
        return;
    }
    const Precio &x = p->precio;
    resumen_->setText(QStringLiteral("Coste %1 €   Precio sin IVA %2 €   Margen %3 € (%4 %)\nIVA %5 €   Total %6 €   "
                                     "Precio de equilibrio %7 €")
                          .arg(textoImporte(x.coste), textoImporte(x.sinIva), textoImporte(x.margen),
                               decimal(p->margen, 2), textoImporte(x.iva), textoImporte(x.total),
                               textoImporte(x.coste)));
    resumen_->setStyleSheet(x.margen < 0 ? estiloAviso(this) : QString());
}

void DialogoPresupuesto::guardar(std::optional<SalidaPresupuesto> salida)
{
    QString motivo;
    std::optional<Presupuesto> p = leer(&motivo);
    if (!p) {
        MostrarMensaje(motivo, QStringLiteral("Error"), this);
        return;
    }
    p->empresa = leerEmpresa();
    Registro r;
    if (!abrirRegistroDeVentana(this, r))
        return; // the dialog stays open with what was typed
    if (const ErrorRegistro e = r.guardarNuevo(*p); e != ErrorRegistro::Ninguno) {
        MostrarMensaje(r.mensaje(e), QStringLiteral("Error"), this);
        return;
    }
    guardarCondiciones(p->condiciones);
    guardado_ = *p;
    // Kept now: a cancelled or failed print leaves it kept, and closing the
    // dialog keeps it from being saved twice.
    if (salida && emitirPresupuesto(this, r, guardado_, *salida))
        guardado_ = r.leer(guardado_.id).value_or(guardado_);
    QDialog::accept();
}

void abrirNuevoPresupuesto(VentanaPrincipal &w)
{
    if (!w.calculoAbierto())
        return;
    if (serviciosConCoste(w.calculo().columnaS()).empty()) {
        MostrarMensaje(QStringLiteral("Ningún servicio del cálculo tiene coste por kilómetros y horas: escriba sus "
                                      "kilómetros y horas en \"Costes de un servicio concreto\"."),
                       QStringLiteral("Presupuestos"), &w);
        return;
    }
    DialogoPresupuesto d(&w.calculo(), w.archivoActual(), std::nullopt, &w);
    if (d.exec() != QDialog::Accepted)
        return;
    MostrarMensaje(QStringLiteral("El presupuesto %1 se ha guardado en el registro de presupuestos.")
                       .arg(d.guardado().numero()),
                   QStringLiteral("Presupuestos"), &w);
}

} // namespace pelmora
