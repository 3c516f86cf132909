#include "interfaz/analisis/ventanasensibilidad.h"

#include "analisis/exportar.h"
#include "analisis/rotulos.h"
#include "calculo/catalogo.h"
#include "entrada/numeros.h"
#include "interfaz/analisis/tornado.h"
#include "interfaz/soporte/medidas.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QStyleFactory>
#include <QTableWidget>
#include <QVBoxLayout>
#include <limits>

namespace pelmora {

namespace {

QString conUnidad(const QString &texto, const QString &unidad)
{
    return unidad.isEmpty() ? texto : texto + QLatin1Char(' ') + unidad;
}

QString textoCifra(double x, int n) { return cifraEscrita(x, decimalesResultado(n)); }

// A cell of the table: its tool tip is its text (the entry and its section
// are cut short in their columns), and a refused side or a message is
// drawn dimmed; so a new text is one change for the view to follow.
class CeldaSensibilidad : public QTableWidgetItem {
public:
    explicit CeldaSensibilidad(bool mensaje) : mensaje_(mensaje) {}
    QVariant data(int rol) const override
    {
        if (rol == Qt::ToolTipRole)
            return QTableWidgetItem::data(Qt::DisplayRole);
        if (rol == Qt::ForegroundRole)
            return mensaje_ || text() == QLatin1String("no posible") ? QVariant(QBrush(kColorNoPosible)) : QVariant();
        return QTableWidgetItem::data(rol);
    }
    QTableWidgetItem *clone() const override { return new CeldaSensibilidad(*this); }

private:
    bool mensaje_;
};

// What a new content changed in the table: the columns whose heading or
// cells changed (all of them when the rows did), and the cells.
struct CambiosTabla {
    std::vector<bool> columnas;
    std::vector<QPoint> celdas; // x the column, y the row
};

// The table shows t: the cells kept, their texts changed where they differ
// (a change in the figures touches few of them).
CambiosTabla llenarTabla(QTableWidget &tabla, const TablaTexto &t)
{
    const int columnas = int(t.cabecera.size());
    const bool filas = tabla.rowCount() != int(t.filas.size()) || tabla.columnCount() != columnas;
    CambiosTabla r{std::vector<bool>(size_t(columnas), filas), {}};
    if (tabla.columnCount() != columnas)
        tabla.setColumnCount(columnas);
    tabla.setRowCount(int(t.filas.size()));
    for (int k = 0; k < columnas; ++k) {
        if (QTableWidgetItem *h = tabla.horizontalHeaderItem(k); !h || h->text() != t.cabecera[size_t(k)]) {
            tabla.setHorizontalHeaderItem(k, new QTableWidgetItem(t.cabecera[size_t(k)]));
            r.columnas[size_t(k)] = true;
        }
    }
    for (int f = 0; f < int(t.filas.size()); ++f) {
        for (int k = 0; k < columnas; ++k) {
            const QString texto = t.filas[size_t(f)].value(k);
            QTableWidgetItem *celda = tabla.item(f, k);
            if (celda && celda->text() == texto)
                continue;
            r.columnas[size_t(k)] = true;
            r.celdas.emplace_back(k, f);
            if (!celda) {
                celda = new CeldaSensibilidad(k == columnas - 1);
                if (t.numerica[size_t(k)])
                    celda->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                tabla.setItem(f, k, celda);
            }
            celda->setText(texto);
        }
    }
    return r;
}

} // namespace

QStyleOptionViewItem TablaSensibilidad::opcionCeldas() const
{
    QStyleOptionViewItem o;
    initViewItemOption(&o);
    return o;
}

TablaTexto tablaSensibilidad(const Sensibilidad &s, int n)
{
    const QString bajo = rotuloLado(s.porcentaje, false), alto = rotuloLado(s.porcentaje, true);
    const QString figura = nombreCifra(n);
    TablaTexto t;
    t.cabecera = {QStringLiteral("Entrada"),         QStringLiteral("Sección"),        QStringLiteral("Unidad"),
                  QStringLiteral("Valor"),           QStringLiteral("Valor ") + bajo,  QStringLiteral("Valor ") + alto,
                  figura + QLatin1Char(' ') + bajo,  figura + QLatin1Char(' ') + alto, QStringLiteral("Oscilación"),
                  QStringLiteral("Mensaje")};
    t.numerica = {false, false, false, true, true, true, true, true, true, false};
    for (const EntradaSensibilidad &e : s.entradas) {
        const int d = decimales(e.seccion, e.indice);
        QStringList mensajes;
        auto ladoCifra = [&](const LadoSensibilidad &l, const QString &rotuloLado) {
            if (l.posible)
                return textoCifra(l.resultados[size_t(n - 1)].n(), n);
            mensajes << rotuloLado + QStringLiteral(": ") + mensajeEnUnaLinea(l.mensaje);
            return QStringLiteral("no posible");
        };
        QStringList fila = {e.etiqueta,
                            QString::fromUtf8(datosSeccion(e.seccion).titulo),
                            rotulo(e.seccion, e.indice).unidad,
                            cifraEscrita(e.valor, d),
                            cifraEscrita(e.bajo.valor, d),
                            cifraEscrita(e.alto.valor, d)};
        fila << ladoCifra(e.bajo, bajo) << ladoCifra(e.alto, alto) << textoCifra(s.oscilacion(e, n), n)
             << mensajes.join(QStringLiteral("; "));
        t.filas.push_back(fila);
    }
    return t;
}

VentanaSensibilidad::VentanaSensibilidad(const Calculo &calculo, std::function<QString()> nombre, QWidget *padre)
    : DialogoAnalisis(QStringLiteral("frmSensibilidad"), QStringLiteral("Sensibilidad"), padre), calculo_(calculo),
      nombre_(std::move(nombre))
{
    auto *todo = new QVBoxLayout(this);
    todo->addLayout(crearControles());
    QSplitter *division = crearGraficoYTabla();
    // The application's style; made after the table, so that it goes after it.
    auto *estilo = new EstiloMedido(QStyleFactory::create(style()->name()));
    estilo->setParent(this);
    tabla_->setStyle(estilo);
    todo->addWidget(division, 1);
    todo->addLayout(crearBotones());

    temporizador_.setSingleShot(true);
    temporizador_.setInterval(0);
    connect(&temporizador_, &QTimer::timeout, this, &VentanaSensibilidad::calcular);
    connect(&calculo_, &Calculo::resultadosCambiados, this, &VentanaSensibilidad::programar);
    connect(&calculo_, &Calculo::campoCambiado, this, &VentanaSensibilidad::programar);
    connect(&calculo_, &Calculo::opcionCambiada, this, &VentanaSensibilidad::programar);
    connect(cboCifra_, &QComboBox::currentIndexChanged, this, &VentanaSensibilidad::mostrar);
    connect(spnPorcentaje_, &QSpinBox::valueChanged, this, &VentanaSensibilidad::programar);

    calcular();
    dimensionar(1280, 800);
    division->setSizes({width() * 2 / 5, width() * 3 / 5});
}

QHBoxLayout *VentanaSensibilidad::crearControles()
{
    auto *fila = new QHBoxLayout;
    auto *lblCifra = new QLabel(QStringLiteral("&Cifra:"), this);
    cboCifra_ = new QComboBox(this);
    cboCifra_->setObjectName(QStringLiteral("cboCifra"));
    cboCifra_->setAccessibleName(QStringLiteral("Cifra mostrada"));
    for (int n : kCifrasSensibilidad)
        cboCifra_->addItem(conUnidad(nombreCifra(n), QLatin1Char('(') + rotuloResultado(n).unidad + QLatin1Char(')')), n);
    lblCifra->setBuddy(cboCifra_);
    auto *lblPorcentaje = new QLabel(QStringLiteral("Va&riación de cada entrada: ±"), this);
    spnPorcentaje_ = new QSpinBox(this);
    spnPorcentaje_->setObjectName(QStringLiteral("spnPorcentaje"));
    spnPorcentaje_->setAccessibleName(QStringLiteral("Porcentaje de variación de cada entrada"));
    spnPorcentaje_->setRange(1, 99);
    spnPorcentaje_->setSuffix(QStringLiteral(" %"));
    spnPorcentaje_->setValue(int(kPorcentajeSensibilidad));
    lblPorcentaje->setBuddy(spnPorcentaje_);
    lblBase_ = new TextoSeleccionable(this);
    lblBase_->setObjectName(QStringLiteral("lblBase"));
    lblBase_->setAccessibleName(QStringLiteral("Cifra actual"));
    fila->addWidget(lblCifra);
    fila->addWidget(cboCifra_);
    fila->addSpacing(16);
    fila->addWidget(lblPorcentaje);
    fila->addWidget(spnPorcentaje_);
    fila->addSpacing(16);
    fila->addWidget(lblBase_, 1);
    return fila;
}

QSplitter *VentanaSensibilidad::crearGraficoYTabla()
{
    auto *division = new QSplitter(Qt::Horizontal, this);
    division->setObjectName(QStringLiteral("divSensibilidad"));
    division->setChildrenCollapsible(false);
    desplazamiento_ = new QScrollArea(division);
    desplazamiento_->setObjectName(QStringLiteral("scrTornado"));
    desplazamiento_->setAccessibleName(QStringLiteral("Área del gráfico de tornado"));
    desplazamiento_->setWidgetResizable(true);
    desplazamiento_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grafico_ = new GraficoTornado;
    desplazamiento_->setWidget(grafico_);
    tabla_ = new TablaSensibilidad(division);
    tabla_->setObjectName(QStringLiteral("grdSensibilidad"));
    tabla_->setAccessibleName(QStringLiteral("Tabla de sensibilidad"));
    tabla_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabla_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabla_->setAlternatingRowColors(true);
    tabla_->verticalHeader()->hide();
    tabla_->setWordWrap(false);
    tabla_->setItemDelegate(new DelegadoMedido(tabla_));
    tabla_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    division->addWidget(desplazamiento_);
    division->addWidget(tabla_);
    return division;
}

VentanaSensibilidad::~VentanaSensibilidad() = default;

int VentanaSensibilidad::cifra() const { return cboCifra_->currentData().toInt(); }

double VentanaSensibilidad::porcentaje() const { return spnPorcentaje_->value(); }

void VentanaSensibilidad::elegirCifra(int n)
{
    if (const int k = cboCifra_->findData(n); k >= 0)
        cboCifra_->setCurrentIndex(k);
}

void VentanaSensibilidad::elegirPorcentaje(int p) { spnPorcentaje_->setValue(p); }

void VentanaSensibilidad::programar()
{
    if (!temporizador_.isActive())
        temporizador_.start();
}

void VentanaSensibilidad::calcular()
{
    temporizador_.stop();
    s_ = calcularSensibilidad(calculo_, porcentaje());
    ++veces_;
    mostrar();
}

void VentanaSensibilidad::mostrar()
{
    const int n = cifra();
    s_.ordenar(n);
    lblBase_->setText(conUnidad(nombreCifra(n) + QStringLiteral(" actual: ") + textoCifra(pelmora::cifra(s_.base, n), n),
                                rotuloResultado(n).unidad));
    grafico_->mostrar(&s_, n);

    // Only the cells whose text changed are painted again and measured, and
    // the columns whose texts changed take their new widths at once.
    const CambiosTabla cambios = llenarTabla(*tabla_, tablaSensibilidad(s_, n));
    const bool todas = medirCeldas(cambios.celdas);
    for (int k = 0; k < int(cambios.columnas.size()); ++k)
        if (todas || cambios.columnas[size_t(k)])
            tabla_->setColumnWidth(k, std::min(anchoContenido(k), anchoMaximo(k)));
}

bool VentanaSensibilidad::medirCeldas(const std::vector<QPoint> &celdas)
{
    // What QTableView::sizeHintForColumn asks each cell for: the delegate's
    // width in the view's options. The cells are plain texts, alike but for
    // their texts: each text is measured once in a font.
    const QStyleOptionViewItem opcion = tabla_->opcionCeldas();
    auto medir = [&](int f, int k) {
        const QModelIndex i = tabla_->model()->index(f, k);
        const QString texto = tabla_->item(f, k)->text();
        auto a = anchosTexto_.constFind(texto);
        if (a == anchosTexto_.cend()) {
            if (anchosTexto_.size() >= 4096)
                anchosTexto_.clear();
            a = anchosTexto_.insert(texto, tabla_->itemDelegateForIndex(i)->sizeHint(opcion, i).width());
        }
        anchosCeldas_[size_t(k)][size_t(f)] = *a;
    };
    const size_t filas = size_t(tabla_->rowCount()), columnas = size_t(tabla_->columnCount());
    if (opcion.font != letraCeldas_ || anchosCeldas_.size() != columnas ||
        (columnas > 0 && anchosCeldas_[0].size() != filas)) {
        if (opcion.font != letraCeldas_)
            anchosTexto_.clear();
        letraCeldas_ = opcion.font;
        anchosCeldas_.assign(columnas, std::vector<int>(filas, 0));
        for (int f = 0; f < int(filas); ++f)
            for (int k = 0; k < int(columnas); ++k)
                medir(f, k);
        return true;
    }
    for (const QPoint &c : celdas)
        medir(c.y(), c.x());
    return false;
}

int VentanaSensibilidad::anchoContenido(int columna) const
{
    // What QTableView::resizeColumnToContents gives: the widest cell (and
    // the grid's line) or the heading, whichever is wider. A heading is
    // measured once per text and font; only the percentage or the figure
    // change it.
    const QHeaderView &cabecera = *tabla_->horizontalHeader();
    if (cabecera.font() != letraCabecera_) {
        letraCabecera_ = cabecera.font();
        anchosCabecera_.clear();
    }
    const QString texto = tabla_->horizontalHeaderItem(columna)->text();
    auto k = anchosCabecera_.constFind(texto);
    if (k == anchosCabecera_.cend())
        k = anchosCabecera_.insert(texto, cabecera.sectionSizeHint(columna));
    const std::vector<int> &celdas = anchosCeldas_[size_t(columna)];
    const int ancho = celdas.empty() ? 0 : *std::max_element(celdas.begin(), celdas.end());
    return std::max(ancho + (tabla_->showGrid() ? 1 : 0), *k);
}

int VentanaSensibilidad::anchoMaximo(int columna) const
{
    // The entry and its section are long texts (whole in their tool tips):
    // the figures beside them come into view first.
    const int letra = fontMetrics().averageCharWidth();
    return columna == 0 ? letra * 24 : columna == 1 ? letra * 12 : std::numeric_limits<int>::max();
}

QString VentanaSensibilidad::titulo() const
{
    return QStringLiteral("Sensibilidad: ") + nombreCifra(cifra());
}

QString VentanaSensibilidad::subtitulo() const
{
    const QString descripcion = calculo_.columnaS()(Seccion::Caracteristicas, Car::Descripcion).texto();
    QString t = nombre_();
    if (!descripcion.isEmpty())
        t += QStringLiteral(" — ") + descripcion;
    return t + QStringLiteral(". Cada entrada ") + rotuloLado(s_.porcentaje, false) + QStringLiteral(" y ") +
           rotuloLado(s_.porcentaje, true) + QStringLiteral("; ") + lblBase_->text() + QLatin1Char('.');
}

QList<QWidget *> VentanaSensibilidad::paginas() const
{
    // The chart over as many pages as its rows need, then the table.
    QList<QWidget *> r;
    const int n = cifra();
    const int total = int(s_.entradas.size());
    int desde = 0;
    HojaImpresa *hoja = nullptr;
    do {
        hoja = new HojaImpresa(titulo(), desde == 0 ? subtitulo() : subtitulo() + QStringLiteral(" (continuación)"));
        const double fila = altoFilaTornado(hoja->font());
        const int caben = std::max(1, int((hoja->altoLibre() - altoCabeceraTornado(hoja->font()) - 8) / fila));
        const int hasta = std::min(total, desde + caben);
        auto *g = new GraficoTornado(hoja);
        g->setFont(hoja->font());
        g->resize(kAnchoHoja, 10);
        g->mostrar(&s_, n, {desde, hasta});
        hoja->anadir(g);
        desde = hasta;
        if (desde < total)
            r << hoja;
    } while (desde < total);
    r << paginasTabla(titulo(), subtitulo(), tablaSensibilidad(s_, n), hoja);
    return r;
}

QString VentanaSensibilidad::documento() const { return nombre_() + QStringLiteral(" - sensibilidad"); }

QByteArray VentanaSensibilidad::csv() const { return sensibilidadCsv(s_); }

} // namespace pelmora
