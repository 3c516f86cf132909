#include "interfaz/analisis/ventanacomparar.h"

#include "analisis/exportar.h"
#include "analisis/rotulos.h"
#include "calculo/catalogo.h"
#include "entrada/numeros.h"
#include "interfaz/dialogos/comunes.h"
#include "interfaz/dialogos/dialogoarchivo.h"
#include "interfaz/dialogos/mensaje.h"
#include "interfaz/impresion/exportacion.h"
#include "interfaz/soporte/ocupado.h"
#include "interfaz/soporte/rutas.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>
#include <optional>

namespace pelmora {

namespace {

const QString kTitulo = QStringLiteral("Comparar cálculos");
const QString kReferencia = QString::fromUtf8(tituloDeColumna(Col::O));

QString textoPorcentaje(double x)
{
    const QString t = FormatearNumero(Valor(x), 1, true);
    const bool positivo = !t.startsWith(QLatin1Char('-')) && t != FormatearNumero(Valor(0.0), 1, true);
    return (positivo ? QStringLiteral("+") : QString()) + t + QStringLiteral(" %");
}

} // namespace

std::optional<double> diferenciaPorcentual(const Valor &a, const Valor &b)
{
    const auto x = a.comoNumero(), y = b.comoNumero();
    if (a.vacio() || b.vacio() || !x || !y || *x == 0)
        return std::nullopt;
    return (*y - *x) / std::fabs(*x) * 100;
}

TablaTexto tablaComparacion(const std::vector<ColumnaComparada> &columnas)
{
    TablaTexto t;
    t.cabecera << QStringLiteral("Concepto") << QStringLiteral("Unidad");
    t.numerica = {false, false};
    for (const ColumnaComparada &c : columnas) {
        t.cabecera << (c.descripcion.isEmpty() ? c.nombre : c.nombre + QLatin1Char('\n') + c.descripcion);
        t.numerica.push_back(true);
    }
    for (int n : kFilasComparacion) {
        const Rotulo r = rotuloResultado(n);
        QStringList fila = {r.etiqueta, r.unidad};
        for (size_t k = 0; k < columnas.size(); ++k) {
            const Valor v = columnas[k].cifras.mostrado(n);
            QString celda = v.vacio() ? QString() : FormatearNumero(v, decimalesResultado(n), true);
            if (k > 0)
                if (const auto d = diferenciaPorcentual(columnas[0].cifras.mostrado(n), v))
                    celda += QLatin1Char('\n') + textoPorcentaje(*d);
            fila << celda;
        }
        t.filas.push_back(fila);
    }
    return t;
}

VentanaComparar::VentanaComparar(QWidget *padre) : DialogoAnalisis(QStringLiteral("frmComparar"), kTitulo, padre)
{
    auto *todo = new QVBoxLayout(this);
    auto *division = new QSplitter(Qt::Horizontal, this);
    division->setObjectName(QStringLiteral("divComparar"));
    division->setChildrenCollapsible(false);
    division->addWidget(crearLista(division));
    QSplitter *derecha = crearTablaYGrafico(division);
    division->addWidget(derecha);
    division->setStretchFactor(1, 1);
    todo->addWidget(division, 1);
    todo->addLayout(crearBotones());

    connect(cmbAnadir_, &QPushButton::clicked, this, &VentanaComparar::anadir);
    connect(cmbQuitar_, &QPushButton::clicked, this, [this] { quitar(lstCalculos_->currentRow()); });
    connect(cmbSubir_, &QPushButton::clicked, this, [this] { mover(lstCalculos_->currentRow(), -1); });
    connect(cmbBajar_, &QPushButton::clicked, this, [this] { mover(lstCalculos_->currentRow(), +1); });
    connect(lstCalculos_, &QListWidget::currentRowChanged, this, &VentanaComparar::botonesLista);
    connect(chkAbierto_, &QCheckBox::toggled, this, &VentanaComparar::alternarAbierto);
    connect(cboEscala_, &QComboBox::currentIndexChanged, this, &VentanaComparar::mostrar);
    temporizador_.setSingleShot(true);
    temporizador_.setInterval(0);
    connect(&temporizador_, &QTimer::timeout, this, &VentanaComparar::actualizar);

    mostrar();
    dimensionar(1280, 900);
    division->setSizes({280, width() - 280});
    derecha->setSizes({height() * 11 / 20, height() * 9 / 20});
}

QGroupBox *VentanaComparar::crearLista(QWidget *padre)
{
    auto *marco = new QGroupBox(QStringLiteral("Cálculos comparados"), padre);
    marco->setObjectName(QStringLiteral("FrameCalculos"));
    auto *columna = new QVBoxLayout(marco);
    lstCalculos_ = new QListWidget(marco);
    lstCalculos_->setObjectName(QStringLiteral("lstCalculos"));
    lstCalculos_->setAccessibleName(QStringLiteral("Cálculos comparados"));
    lstCalculos_->setWordWrap(true);
    lstCalculos_->setAlternatingRowColors(true);
    lstCalculos_->setSpacing(1);
    columna->addWidget(lstCalculos_, 1);
    chkAbierto_ = new QCheckBox(QStringLiteral("Incluir el cálculo &abierto"), marco);
    chkAbierto_->setObjectName(QStringLiteral("chkCalculoAbierto"));
    chkAbierto_->setChecked(true);
    chkAbierto_->setEnabled(false);
    columna->addWidget(chkAbierto_);
    auto boton = [marco](const QString &texto, const char *nombre) {
        auto *b = new QPushButton(texto, marco);
        b->setObjectName(QLatin1String(nombre));
        b->setAutoDefault(false);
        return b;
    };
    cmbAnadir_ = boton(QStringLiteral("A&ñadir..."), "cmbAnadir");
    cmbQuitar_ = boton(QStringLiteral("&Quitar"), "cmbQuitar");
    cmbSubir_ = boton(QStringLiteral("S&ubir"), "cmbSubir");
    cmbBajar_ = boton(QStringLiteral("&Bajar"), "cmbBajar");
    cmbSubir_->setAccessibleName(QStringLiteral("Subir el cálculo elegido"));
    cmbBajar_->setAccessibleName(QStringLiteral("Bajar el cálculo elegido"));
    auto *botones = new QGridLayout;
    botones->addWidget(cmbAnadir_, 0, 0);
    botones->addWidget(cmbQuitar_, 0, 1);
    botones->addWidget(cmbSubir_, 1, 0);
    botones->addWidget(cmbBajar_, 1, 1);
    columna->addLayout(botones);
    lblAviso_ = new QLabel(marco);
    lblAviso_->setObjectName(QStringLiteral("lblAviso"));
    lblAviso_->setWordWrap(true);
    columna->addWidget(lblAviso_);
    return marco;
}

QSplitter *VentanaComparar::crearTablaYGrafico(QWidget *padre)
{
    auto *division = new QSplitter(Qt::Vertical, padre);
    division->setObjectName(QStringLiteral("divResultados"));
    division->setChildrenCollapsible(false);
    grdComparacion_ = new QTableWidget(division);
    grdComparacion_->setObjectName(QStringLiteral("grdComparacion"));
    grdComparacion_->setAccessibleName(QStringLiteral("Tabla de la comparación"));
    grdComparacion_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdComparacion_->setAlternatingRowColors(true);
    grdComparacion_->verticalHeader()->hide();
    grdComparacion_->setWordWrap(true);
    auto *abajo = new QWidget(division);
    auto *columna = new QVBoxLayout(abajo);
    columna->setContentsMargins(0, 0, 0, 0);
    auto *fila = new QHBoxLayout;
    auto *lblEscala = new QLabel(QStringLiteral("&Estructura de costes en:"), abajo);
    cboEscala_ = new QComboBox(abajo);
    cboEscala_->setObjectName(QStringLiteral("cboEscala"));
    cboEscala_->setAccessibleName(QStringLiteral("Escala del gráfico"));
    cboEscala_->addItems({QStringLiteral("porcentaje del coste total"), QStringLiteral("euros al año")});
    lblEscala->setBuddy(cboEscala_);
    fila->addWidget(lblEscala);
    fila->addWidget(cboEscala_);
    fila->addStretch(1);
    columna->addLayout(fila);
    grafico_ = new GraficoBarras(abajo);
    columna->addWidget(grafico_, 1);
    division->addWidget(grdComparacion_);
    division->addWidget(abajo);
    return division;
}

void VentanaComparar::fijarCalculoAbierto(const Calculo *c, std::function<QString()> ruta)
{
    for (const QMetaObject::Connection &k : std::as_const(conexiones_))
        disconnect(k);
    conexiones_.clear();
    abierto_ = c;
    rutaAbierto_ = std::move(ruta);
    std::erase_if(elementos_, [](const Elemento &e) { return e.abierto; });
    chkAbierto_->setEnabled(c != nullptr);
    if (c) {
        conexiones_ << connect(c, &Calculo::resultadosCambiados, this, &VentanaComparar::programar)
                    << connect(c, &Calculo::titulosCambiados, this, &VentanaComparar::programar);
        if (chkAbierto_->isChecked() && int(elementos_.size()) < kMaximo)
            elementos_.insert(elementos_.begin(), Elemento{true, {}});
    }
    actualizar();
}

void VentanaComparar::alternarAbierto(bool incluir)
{
    const bool esta = std::any_of(elementos_.begin(), elementos_.end(), [](const Elemento &e) { return e.abierto; });
    if (incluir && !esta && abierto_) {
        if (int(elementos_.size()) >= kMaximo) {
            MostrarMensaje(QStringLiteral("Se comparan como mucho %1 cálculos.").arg(kMaximo), kTitulo, this);
            const QSignalBlocker bloqueo(chkAbierto_);
            chkAbierto_->setChecked(false);
            return;
        }
        elementos_.insert(elementos_.begin(), Elemento{true, {}});
    } else if (!incluir && esta) {
        std::erase_if(elementos_, [](const Elemento &e) { return e.abierto; });
    }
    actualizar();
}

bool VentanaComparar::anadirArchivos(const QStringList &rutas)
{
    QStringList fallos, repetidos, sobrantes;
    std::optional<CursorOcupado> ocupado(std::in_place);
    LectorCalculos lector; // one calculation and buffer for every file added
    for (const QString &r : rutas) {
        const QString ruta = QFileInfo(r).absoluteFilePath();
        if (std::any_of(elementos_.begin(), elementos_.end(),
                        [&](const Elemento &e) { return !e.abierto && e.cifras.ruta == ruta; })) {
            repetidos << QDir::toNativeSeparators(ruta);
            continue;
        }
        if (int(elementos_.size()) >= kMaximo) {
            sobrantes << QDir::toNativeSeparators(ruta);
            continue;
        }
        CalculoComparado c = compararArchivo(ruta, lector);
        if (!c.error.isEmpty()) {
            fallos << QDir::toNativeSeparators(ruta) + QStringLiteral(":\r\n") + c.error;
            continue;
        }
        elementos_.push_back({false, std::move(c)});
    }
    mostrar();
    ocupado.reset();
    if (!fallos.isEmpty())
        MostrarMensaje((fallos.size() == 1 ? QStringLiteral("No se ha podido leer el archivo ")
                                           : QStringLiteral("No se han podido leer estos archivos; se dejan fuera de "
                                                            "la comparación:\r\n\r\n")) +
                           fallos.join(QStringLiteral("\r\n\r\n")),
                       QStringLiteral("Error"), this);
    if (!repetidos.isEmpty())
        MostrarMensaje(QStringLiteral("Ya están en la comparación:\r\n") + repetidos.join(QStringLiteral("\r\n")),
                       kTitulo, this);
    if (!sobrantes.isEmpty())
        MostrarMensaje(QStringLiteral("Se comparan como mucho %1 cálculos; no se han añadido:\r\n").arg(kMaximo) +
                           sobrantes.join(QStringLiteral("\r\n")),
                       kTitulo, this);
    return fallos.isEmpty() && repetidos.isEmpty() && sobrantes.isEmpty();
}

void VentanaComparar::quitar(int k)
{
    if (k < 0 || k >= int(elementos_.size()))
        return;
    if (elementos_[size_t(k)].abierto) {
        chkAbierto_->setChecked(false); // takes it out
        return;
    }
    elementos_.erase(elementos_.begin() + k);
    mostrar();
    lstCalculos_->setCurrentRow(std::min(k, lstCalculos_->count() - 1));
}

void VentanaComparar::mover(int k, int paso)
{
    const int destino = k + paso;
    if (k < 0 || k >= int(elementos_.size()) || destino < 0 || destino >= int(elementos_.size()))
        return;
    std::swap(elementos_[size_t(k)], elementos_[size_t(destino)]);
    mostrar();
    lstCalculos_->setCurrentRow(destino);
}

void VentanaComparar::botonesLista()
{
    const int k = lstCalculos_->currentRow(), n = int(elementos_.size());
    cmbQuitar_->setEnabled(k >= 0 && k < n);
    cmbSubir_->setEnabled(k > 0 && k < n);
    cmbBajar_->setEnabled(k >= 0 && k < n - 1);
}

void VentanaComparar::programar()
{
    if (!temporizador_.isActive())
        temporizador_.start();
}

void VentanaComparar::actualizar()
{
    temporizador_.stop();
    for (Elemento &e : elementos_)
        if (e.abierto && abierto_) {
            QString ruta = rutaAbierto_ ? QDir::toNativeSeparators(rutaAbierto_()) : QString();
            if (ruta.isEmpty())
                ruta = QStringLiteral("Cálculo abierto");
            if (abierto_->HayCambios())
                ruta += QStringLiteral(" (con cambios sin grabar)");
            e.cifras = compararCalculo(*abierto_, ruta);
        }
    mostrar();
}

QString VentanaComparar::nombre(const Elemento &e) const
{
    if (!e.abierto)
        return QFileInfo(e.cifras.ruta).completeBaseName();
    const QString ruta = rutaAbierto_ ? rutaAbierto_() : QString();
    return ruta.isEmpty() ? QStringLiteral("Cálculo abierto")
                          : QFileInfo(ruta).completeBaseName() + QStringLiteral(" (abierto)");
}

std::vector<CalculoComparado> VentanaComparar::comparados() const
{
    std::vector<CalculoComparado> r;
    for (const Elemento &e : elementos_)
        r.push_back(e.cifras);
    return r;
}

std::vector<ColumnaComparada> VentanaComparar::columnas() const
{
    std::vector<ColumnaComparada> r;
    for (const Elemento &e : elementos_)
        r.push_back({nombre(e), e.cifras.usuario.descripcion, e.cifras.usuario});
    if (!elementos_.empty()) {
        const CifrasColumna &o = elementos_.front().cifras.referencia;
        r.push_back({kReferencia, o.descripcion, o});
    }
    return r;
}

void VentanaComparar::mostrar()
{
    const int elegido = lstCalculos_->currentRow();
    lstCalculos_->clear();
    for (const Elemento &e : elementos_) {
        const QString descripcion = e.cifras.usuario.descripcion;
        auto *item = new QListWidgetItem(nombre(e) + (descripcion.isEmpty() ? QString() : QStringLiteral("\n") + descripcion),
                                         lstCalculos_);
        item->setToolTip(e.cifras.ruta);
    }
    lstCalculos_->setCurrentRow(std::min(elegido, lstCalculos_->count() - 1));
    botonesLista();

    const int n = int(elementos_.size());
    cmbAnadir_->setEnabled(n < kMaximo);
    for (QPushButton *b : salidas())
        b->setEnabled(n >= kMinimo);
    lblAviso_->setText(n < kMinimo ? QStringLiteral("Elija entre %1 y %2 cálculos.").arg(kMinimo).arg(kMaximo)
                                   : QStringLiteral("Las diferencias son respecto de %1.").arg(nombre(elementos_.front())));

    const std::vector<ColumnaComparada> cs = columnas();
    const TablaTexto t = tablaComparacion(cs);
    QTableWidget *g = grdComparacion_;
    g->setUpdatesEnabled(false);
    g->clear();
    g->setColumnCount(int(t.cabecera.size()));
    g->setRowCount(int(t.filas.size()));
    g->setHorizontalHeaderLabels(t.cabecera);
    for (int f = 0; f < int(t.filas.size()); ++f)
        for (int k = 0; k < int(t.cabecera.size()); ++k) {
            auto *celda = new QTableWidgetItem(t.filas[size_t(f)].value(k));
            celda->setTextAlignment((t.numerica[size_t(k)] ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
            if (k == 0 && (kFilasComparacion[f] == Res::Totales || kFilasComparacion[f] == Res::Directos ||
                           kFilasComparacion[f] == Res::Indirectos)) {
                QFont negrita = celda->font();
                negrita.setBold(true);
                celda->setFont(negrita);
            }
            g->setItem(f, k, celda);
        }
    g->resizeColumnsToContents();
    // Long captions wrap rather than widen the table.
    g->setColumnWidth(0, std::min(g->columnWidth(0), fontMetrics().averageCharWidth() * 42));
    g->resizeRowsToContents();
    g->setUpdatesEnabled(true);

    std::vector<ColumnaBarras> barras;
    for (const ColumnaComparada &c : cs)
        barras.push_back({c.nombre, c.cifras.resultados});
    grafico_->mostrar(std::move(barras), cboEscala_->currentIndex() == 1);
}

void VentanaComparar::anadir()
{
    const QString carpeta =
        carpetaUltima(CarpetaUltima::Comparacion, DialogoArchivo::carpetaInicial(carpetaPrograma()));
    const QStringList rutas =
        interceptorArchivosComparar
            ? interceptorArchivosComparar(carpeta)
            : elegirArchivos(this,
                             {QStringLiteral("Añadir cálculos a la comparación"),
                              QStringLiteral("dlgAnadirCalculos"),
                              QStringLiteral("Cálculos (*.clc);;Todos los archivos (*)"), QStringLiteral("Añadir"),
                              QFileDialog::AcceptOpen, QFileDialog::ExistingFiles, QString()},
                             carpeta);
    if (rutas.isEmpty())
        return;
    recordarCarpeta(CarpetaUltima::Comparacion, rutas.constFirst());
    anadirArchivos(rutas);
}

QList<QWidget *> VentanaComparar::paginas() const
{
    const std::vector<ColumnaComparada> cs = columnas();
    const QString subtitulo =
        cs.empty() ? QString() : QStringLiteral("Diferencias respecto de %1.").arg(cs.front().nombre);
    QList<QWidget *> r = paginasTabla(kTitulo, subtitulo, tablaComparacion(cs));
    // The chart under the table when it fits there, else on a page of its own.
    constexpr int kAltoGrafico = 420;
    auto *hoja = static_cast<HojaImpresa *>(r.constLast());
    if (hoja->altoLibre() < kAltoGrafico) {
        hoja = new HojaImpresa(kTitulo, subtitulo);
        r << hoja;
    }
    auto *g = new GraficoBarras;
    hoja->anadir(g, kAltoGrafico);
    std::vector<ColumnaBarras> barras;
    for (const ColumnaComparada &c : cs)
        barras.push_back({c.nombre, c.cifras.resultados});
    g->mostrar(std::move(barras), cboEscala_->currentIndex() == 1);
    return r;
}

QString VentanaComparar::documento() const { return QStringLiteral("Comparación"); }

QByteArray VentanaComparar::csv() const
{
    if (elementos_.empty())
        return {};
    std::vector<FilaCsv> filas = {cabeceraComparacion()};
    for (const Elemento &e : elementos_)
        filas.push_back(filaComparacion(e.cifras, Col::S));
    filas.push_back(filaComparacion(elementos_.front().cifras, Col::O));
    return documentoCsv(filas, formatoCsv());
}

} // namespace pelmora
