// "Precios de los servicios...": prices from a margin, and the margin of a price.
#include "interfaz/presupuestos/dialogospresupuesto.h"
#include "interfaz/presupuestos/presupuestos.h"

#include "entrada/numeros.h"
#include "interfaz/soporte/colores.h"
#include "interfaz/ventana/ventanaprincipal.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace pelmora {

namespace {

QString decimal(qint64 v, int d) { return textoDecimal(v, d, separadorDecimal()); }

QTableWidget *tabla(QWidget *padre, const char *nombre, const QStringList &cabeceras)
{
    auto *t = new QTableWidget(0, int(cabeceras.size()), padre);
    t->setObjectName(QLatin1String(nombre));
    t->setHorizontalHeaderLabels(cabeceras);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return t;
}

void poner(QTableWidget *t, int fila, int columna, const QString &texto, bool rojo = false)
{
    auto *i = new QTableWidgetItem(texto);
    i->setTextAlignment(columna == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
    if (rojo)
        i->setForeground(rojoAviso(t->palette().color(QPalette::Base)));
    t->setItem(fila, columna, i);
}

QString importe(std::optional<Centimos> c) { return c ? textoImporte(*c) : QString(); }

} // namespace

VentanaPrecios::VentanaPrecios(const Calculo &calc, QWidget *parent) : QDialog(parent), calc_(calc)
{
    setObjectName(QStringLiteral("frmPrecios"));
    setWindowTitle(QStringLiteral("Precios de los servicios"));
    auto *todo = new QVBoxLayout(this);
    auto *f = new QFormLayout;
    todo->addLayout(f);
    auto caja = [&](const char *nombre, const QString &texto, const QString &rotulo) {
        auto *e = new QLineEdit(texto, this);
        e->setObjectName(QLatin1String(nombre));
        f->addRow(rotulo, e);
        connect(e, &QLineEdit::textChanged, this, &VentanaPrecios::actualizar);
        return e;
    };
    margen_ = caja("txtMargen", decimal(0, 2), QStringLiteral("Margen (% del precio sin IVA, de 0 a 95):"));
    iva_ = caja("txtIva", decimal(kIvaPorDefecto, 2), QStringLiteral("IVA (%, de 0 a 30):"));
    pasajeros_ = new QSpinBox(this);
    pasajeros_->setObjectName(QStringLiteral("spnPasajeros"));
    pasajeros_->setRange(0, 999);
    pasajeros_->setValue(plazasViajeros(calc.columnaS()));
    f->addRow(QStringLiteral("Plazas (las del autocar menos la del conductor, o los pasajeros):"), pasajeros_);
    connect(pasajeros_, &QSpinBox::valueChanged, this, &VentanaPrecios::actualizar);
    aviso_ = new QLabel(this);
    aviso_->setObjectName(QStringLiteral("lblAviso"));
    aviso_->setStyleSheet(estiloAviso(this));
    todo->addWidget(aviso_);
    tabla_ = tabla(this, "tblPrecios",
                   {QStringLiteral("Servicio"), QStringLiteral("Coste"), QStringLiteral("Precio sin IVA"),
                    QStringLiteral("Margen"), QStringLiteral("IVA"), QStringLiteral("Total"),
                    QStringLiteral("Precio de equilibrio")});
    todo->addWidget(tabla_);
    auto *g = new QFormLayout;
    todo->addLayout(g);
    servicio_ = new QComboBox(this);
    servicio_->setObjectName(QStringLiteral("cmbServicio"));
    g->addRow(QStringLiteral("Servicio:"), servicio_);
    connect(servicio_, &QComboBox::currentIndexChanged, this, &VentanaPrecios::actualizar);
    objetivo_ = new QLineEdit(this);
    objetivo_->setObjectName(QStringLiteral("txtPrecioObjetivo"));
    connect(objetivo_, &QLineEdit::textChanged, this, &VentanaPrecios::actualizar);
    margenObjetivo_ = new QLabel(this);
    margenObjetivo_->setObjectName(QStringLiteral("lblMargenObjetivo"));
    g->addRow(QStringLiteral("Precio sin IVA deseado (€):"), objetivo_);
    g->addRow(QStringLiteral("Margen que deja:"), margenObjetivo_);
    unidades_ = tabla(this, "tblUnidades",
                      {QStringLiteral("Importe"), QStringLiteral("Por km"), QStringLiteral("Por hora"),
                       QStringLiteral("Por plaza")});
    todo->addWidget(unidades_);
    connect(&calc, &Calculo::resultadosCambiados, this, &VentanaPrecios::actualizar);
    resize(760, 560);
    actualizar();
}

void VentanaPrecios::actualizar()
{
    const std::optional<qint64> margen = leerDecimal(margen_->text(), 2), iva = leerDecimal(iva_->text(), 2);
    const bool bien = margen && iva && *margen >= 0 && *margen <= kMargenMaximo && *iva >= 0 && *iva <= kIvaMaximo;
    aviso_->setText(bien ? QString()
                         : QStringLiteral("El margen debe ser un número de 0 a 95 y el IVA de 0 a 30 (%)."));
    const std::vector<ServicioCalculo> servicios = serviciosConCoste(calc_.columnaS());
    if (servicios.empty())
        aviso_->setText(QStringLiteral("Ningún servicio tiene coste por kilómetros y horas."));
    const int elegido = servicio_->currentData().toInt();
    {
        const QSignalBlocker b(servicio_);
        servicio_->clear();
        for (const ServicioCalculo &s : servicios)
            servicio_->addItem(QStringLiteral("Servicio %1").arg(s.numero), s.numero);
        servicio_->setCurrentIndex(std::max(0, servicio_->findData(elegido)));
    }
    tabla_->setRowCount(bien ? int(servicios.size()) : 0);
    unidades_->setRowCount(0);
    margenObjetivo_->clear();
    if (!bien)
        return;
    for (int k = 0; k < int(servicios.size()); ++k) {
        const ServicioCalculo &s = servicios[size_t(k)];
        const Precio p = *precioConMargen(s.coste, int(*margen), int(*iva));
        const QStringList textos = {QStringLiteral("Servicio %1").arg(s.numero), textoImporte(p.coste),
                                    textoImporte(p.sinIva), textoImporte(p.margen), textoImporte(p.iva),
                                    textoImporte(p.total), textoImporte(p.coste)};
        for (int c = 0; c < textos.size(); ++c)
            poner(tabla_, k, c, textos[c]);
        if (s.numero != servicio_->currentData().toInt())
            continue;
        // Every figure of the chosen service per kilometre, hour and seat.
        const std::pair<QString, Centimos> filas[] = {{QStringLiteral("Coste"), p.coste},
                                                      {QStringLiteral("Precio sin IVA"), p.sinIva},
                                                      {QStringLiteral("Margen"), p.margen},
                                                      {QStringLiteral("IVA"), p.iva},
                                                      {QStringLiteral("Total"), p.total}};
        unidades_->setRowCount(5);
        for (int f = 0; f < 5; ++f) {
            poner(unidades_, f, 0, filas[f].first);
            poner(unidades_, f, 1, importe(porUnidad(filas[f].second, s.km)));
            poner(unidades_, f, 2, importe(porUnidad(filas[f].second, s.horas)));
            poner(unidades_, f, 3, importe(porUnidad(filas[f].second, pasajeros_->value())));
        }
        // The margin a typed price leaves, in red below cost.
        const std::optional<qint64> objetivo = leerDecimal(objetivo_->text(), 2);
        const std::optional<int> m = objetivo ? margenDe(s.coste, *objetivo) : std::nullopt;
        if (objetivo_->text().trimmed().isEmpty())
            continue;
        if (!m || *objetivo > kMaximoCentimos) {
            margenObjetivo_->setText(QStringLiteral("El precio debe ser un importe mayor que 0."));
            margenObjetivo_->setStyleSheet(estiloAviso(this));
            continue;
        }
        margenObjetivo_->setText(QStringLiteral("%1 % (%2 €); precio de equilibrio %3 €")
                                     .arg(decimal(*m, 2), textoImporte(*objetivo - s.coste), textoImporte(s.coste)));
        margenObjetivo_->setStyleSheet(*objetivo < s.coste ? estiloAviso(this) : QString());
    }
}

void abrirPrecios(VentanaPrincipal &w)
{
    if (!w.calculoAbierto())
        return;
    auto *v = w.findChild<VentanaPrecios *>(QStringLiteral("frmPrecios"), Qt::FindDirectChildrenOnly);
    if (!v) {
        v = new VentanaPrecios(w.calculo(), &w);
        v->setAttribute(Qt::WA_DeleteOnClose);
        // It shows this calculation only: it goes when the calculation does.
        QObject::connect(&w, &VentanaPrincipal::calculoAbiertoCambiado, v, [v](bool abierto) {
            if (!abierto)
                v->close();
        });
    }
    v->show();
    v->raise();
    v->activateWindow();
}

} // namespace pelmora
