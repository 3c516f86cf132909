#include "interfaz/soporte/ayuda.h"

#include "interfaz/dialogos/mensaje.h"
#include "interfaz/soporte/colores.h"
#include "interfaz/soporte/twips.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QHeaderView>
#include <QHelpContentItem>
#include <QHelpContentModel>
#include <QHelpEngine>
#include <QHelpIndexModel>
#include <QHelpSearchEngine>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTabWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace pelmora {

// The page view: reads the pages (and what they link to) from the help file.
class NavegadorAyuda : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;
    QHelpEngineCore *motor = nullptr;

    QVariant loadResource(int tipo, const QUrl &nombre) override
    {
        const QUrl url = nombre.isRelative() ? source().resolved(nombre) : nombre;
        if (motor && url.scheme() == u"qthelp") {
            const QByteArray datos = motor->fileData(url);
            if (datos.isEmpty())
                return QVariant();
            if (tipo == QTextDocument::HtmlResource || tipo == QTextDocument::StyleSheetResource)
                return QString::fromUtf8(datos);
            return datos;
        }
        return QTextBrowser::loadResource(tipo, nombre);
    }
};

namespace {

const QString kClaveHuella = QStringLiteral("pelmora/huella");

// Fingerprint of a help file: its contents. Empty when it cannot be read.
QString huellaArchivo(const QString &ruta)
{
    QFile f(ruta);
    QCryptographicHash h(QCryptographicHash::Sha256);
    if (!f.open(QIODevice::ReadOnly) || !h.addData(&f))
        return QString();
    return QString::fromLatin1(h.result().toHex());
}

// Where the collection of a help file is kept between runs: the user's
// cache folder, a name drawn from the file's real path. Empty when the
// folder cannot be made.
QString rutaColeccion(const QString &rutaQch)
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (cache.isEmpty())
        return QString();
    const QDir carpeta(cache + QStringLiteral("/ayuda"));
    if (!carpeta.mkpath(QStringLiteral(".")))
        return QString();
    QString real = QFileInfo(rutaQch).canonicalFilePath();
    if (real.isEmpty())
        real = rutaQch;
    const QByteArray clave = QCryptographicHash::hash(real.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return carpeta.filePath(QFileInfo(rutaQch).completeBaseName() + QLatin1Char('-') + QString::fromLatin1(clave)
                            + QStringLiteral(".qhc"));
}

// The folder of the search index the engine keeps beside a collection.
QString carpetaIndice(const QString &coleccion)
{
    const QFileInfo f(coleccion);
    return f.dir().filePath(QLatin1Char('.') + f.completeBaseName());
}

// True when nothing but regular files (and the index's folder) sits where
// the engine reads a collection and its index: a pipe or a device there
// would block it for good, so such a collection is never opened.
bool sinArchivosRaros(const QString &coleccion)
{
    auto normal = [](const QFileInfo &i) { return i.isFile() || (!i.exists() && !i.isSymLink()); };
    const QFileInfo indice(carpetaIndice(coleccion));
    if (!normal(QFileInfo(coleccion)) || (!indice.isDir() && !normal(indice)))
        return false;
    const QFileInfoList dentro = QDir(indice.filePath()).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                                                        QDir::NoDotAndDotDot);
    return std::all_of(dentro.cbegin(), dentro.cend(), normal);
}

// A word of the start page, which the index must find: the first one of
// five letters or more.
QString palabraConocida(const QByteArray &pagina)
{
    static const QRegularExpression palabra(QStringLiteral("\\b\\p{L}{5,}\\b"));
    return palabra.match(QTextDocumentFragment::fromHtml(QString::fromUtf8(pagina)).toPlainText()).captured();
}

QUrl sinFragmento(QUrl u)
{
    u.setFragment(QString());
    return u;
}

void anadirContenido(QHelpContentItem *origen, QTreeWidgetItem *destino)
{
    for (int i = 0; i < origen->childCount(); ++i) {
        QHelpContentItem *hijo = origen->child(i);
        auto *item = new QTreeWidgetItem(destino, QStringList(hijo->title()));
        item->setData(0, Qt::UserRole, hijo->url());
        anadirContenido(hijo, item);
    }
}

} // namespace

VentanaAyuda::VentanaAyuda(QWidget *parent)
    : QMainWindow(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmAyuda"));
    setWindowTitle(QStringLiteral("Ayuda"));

    auto *division = new QSplitter(this);
    pestanas_ = new QTabWidget(division);
    pestanas_->setObjectName(QStringLiteral("tabAyuda"));
    contenido_ = new QTreeWidget(pestanas_);
    contenido_->setObjectName(QStringLiteral("treeContenido"));
    contenido_->setHeaderHidden(true);
    contenido_->setColumnCount(1);
    pestanas_->addTab(contenido_, QStringLiteral("&Contenido"));
    pestanas_->addTab(crearBusqueda(), QStringLiteral("&Buscar"));
    navegador_ = new NavegadorAyuda(division);
    navegador_->setObjectName(QStringLiteral("txtPagina"));
    // The pages' style is made for a white page with black text: the page
    // keeps them on a dark desktop too.
    fijarPaletaPrograma(navegador_);
    navegador_->setOpenLinks(false);
    division->addWidget(pestanas_);
    division->addWidget(navegador_);
    division->setStretchFactor(0, 0);
    division->setStretchFactor(1, 1);
    division->setSizes({tw(3600), tw(8400)});
    setCentralWidget(division);
    crearBarra();

    connect(navegador_, &QTextBrowser::anchorClicked, this, [this](const QUrl &u) {
        const QUrl destino = navegador_->source().resolved(u);
        if (destino.scheme() == u"qthelp")
            mostrarPagina(destino);
        else
            QDesktopServices::openUrl(destino);
    });
    connect(navegador_, &QTextBrowser::sourceChanged, this, &VentanaAyuda::marcarEnContenido);
    const auto abrirElegida = [this](QTreeWidgetItem *item) { mostrarPagina(item->data(0, Qt::UserRole).toUrl()); };
    connect(contenido_, &QTreeWidget::itemClicked, this, abrirElegida);
    connect(contenido_, &QTreeWidget::itemActivated, this, abrirElegida);
    // The search tab puts the caret in its box, and has the index made
    // while the user types.
    connect(pestanas_, &QTabWidget::currentChanged, this, [this](int i) {
        if (pestanas_->widget(i) != contenido_) {
            textoBuscar_->setFocus(Qt::OtherFocusReason);
            prepararIndice();
        }
    });

    resize(twSize(12000, 9000));
}

// The navigation bar: back, forward and the first page.
void VentanaAyuda::crearBarra()
{
    auto *barra = addToolBar(QStringLiteral("Navegación"));
    barra->setObjectName(QStringLiteral("barAyuda"));
    barra->setMovable(false);
    QAction *atras = barra->addAction(QStringLiteral("Atrás"), navegador_, &QTextBrowser::backward);
    atras->setObjectName(QStringLiteral("mnuAtras"));
    atras->setEnabled(false);
    QAction *adelante = barra->addAction(QStringLiteral("Adelante"), navegador_, &QTextBrowser::forward);
    adelante->setObjectName(QStringLiteral("mnuAdelante"));
    adelante->setEnabled(false);
    QAction *inicio = barra->addAction(QStringLiteral("Inicio"), this, [this] {
        if (inicio_.isValid())
            mostrarPagina(inicio_);
    });
    inicio->setObjectName(QStringLiteral("mnuInicio"));
    connect(navegador_, &QTextBrowser::backwardAvailable, atras, &QAction::setEnabled);
    connect(navegador_, &QTextBrowser::forwardAvailable, adelante, &QAction::setEnabled);
}

// The search tab: the words to look for, the pages found, and a line that
// tells how the search went.
QWidget *VentanaAyuda::crearBusqueda()
{
    auto *pagina = new QWidget(pestanas_);
    pagina->setObjectName(QStringLiteral("pagBuscar"));
    textoBuscar_ = new QLineEdit(pagina);
    textoBuscar_->setObjectName(QStringLiteral("txtBuscar"));
    textoBuscar_->setClearButtonEnabled(true);
    auto *boton = new QPushButton(QStringLiteral("Buscar"), pagina);
    boton->setObjectName(QStringLiteral("cmdBuscar"));
    resultados_ = new QListWidget(pagina);
    resultados_->setObjectName(QStringLiteral("lstResultados"));
    // Long titles take two lines rather than a scroll bar.
    resultados_->setWordWrap(true);
    resultados_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    resultados_->setResizeMode(QListView::Adjust);
    estadoBusqueda_ = new QLabel(pagina);
    estadoBusqueda_->setObjectName(QStringLiteral("lblBuscar"));
    estadoBusqueda_->setWordWrap(true);

    auto *fila = new QHBoxLayout;
    fila->addWidget(textoBuscar_, 1);
    fila->addWidget(boton);
    auto *columna = new QVBoxLayout(pagina);
    columna->addLayout(fila);
    columna->addWidget(resultados_, 1);
    columna->addWidget(estadoBusqueda_);

    const auto lanzar = [this] { buscar(textoBuscar_->text()); };
    connect(textoBuscar_, &QLineEdit::returnPressed, this, lanzar);
    connect(boton, &QPushButton::clicked, this, lanzar);
    const auto abrirHallada = [this](QListWidgetItem *item) { mostrarPagina(item->data(Qt::UserRole).toUrl()); };
    connect(resultados_, &QListWidget::itemClicked, this, abrirHallada);
    connect(resultados_, &QListWidget::itemActivated, this, abrirHallada);
    return pagina;
}

VentanaAyuda::~VentanaAyuda()
{
    soltarMotor();
    coleccion_.reset();
}

// The engine builds its contents and its keyword index in threads of its
// own (once more after each set-up); it goes only once they are over, as
// going under a running one corrupts the heap.
void VentanaAyuda::soltarMotor()
{
    navegador_->motor = nullptr;
    if (motor_) {
        while (motor_->contentModel()->isCreatingContents() || motor_->indexModel()->isCreatingIndex())
            QThread::msleep(1);
    }
    motor_.reset();
}

QTextBrowser *VentanaAyuda::navegador() const
{
    return navegador_;
}

bool VentanaAyuda::cargar(const QString &rutaQch)
{
    soltarMotor();
    coleccion_.reset();
    contenido_->clear();
    inicio_ = QUrl();
    rutaQch_ = QFileInfo(rutaQch).absoluteFilePath();
    indexando_ = indiceListo_ = sinBusqueda_ = false;
    comprobacion_.clear();
    pendiente_.clear();
    resultados_->clear();
    estadoBusqueda_->clear();

    if (!QFileInfo(rutaQch_).isFile())
        return false;
    const QString espacio = QHelpEngineCore::namespaceName(rutaQch_);
    if (espacio.isEmpty())
        return false;

    const QString huella = huellaArchivo(rutaQch_);
    if (huella.isEmpty())
        return false;
    if (const QString ruta = rutaColeccion(rutaQch_); !ruta.isEmpty() && sinArchivosRaros(ruta))
        motor_ = abrirColeccion(ruta, espacio, huella);
    if (!motor_) {
        coleccion_ = std::make_unique<QTemporaryDir>();
        if (!coleccion_->isValid())
            return false;
        motor_ = abrirColeccion(coleccion_->filePath(QStringLiteral("pelmora.qhc")), espacio, huella);
        if (!motor_)
            return false;
    }
    const QList<QUrl> paginas = motor_->files(espacio, QString(), QStringLiteral("html"));
    if (paginas.isEmpty())
        return false;

    llenarContenido();
    if (contenido_->topLevelItemCount() > 0) {
        QTreeWidgetItem *primero = contenido_->topLevelItem(0);
        inicio_ = primero->data(0, Qt::UserRole).toUrl();
        setWindowTitle(primero->text(0));
    }
    if (!inicio_.isValid() || motor_->fileData(inicio_).isEmpty())
        inicio_ = paginas.first();
    if (motor_->fileData(inicio_).isEmpty())
        return false;

    conectarBusqueda();
    navegador_->motor = motor_.get();
    navegador_->clearHistory();
    navegador_->setSource(inicio_);
    return true;
}

// The collection at ruta holding the help file: the one a previous run left
// there when it holds this very file, otherwise a new one in its place.
// Null when none can be made there.
std::unique_ptr<QHelpEngine> VentanaAyuda::abrirColeccion(const QString &ruta, const QString &espacio,
                                                          const QString &huella)
{
    auto abrir = [&] {
        auto m = std::make_unique<QHelpEngine>(ruta);
        m->setReadOnly(false);
        return m->setupData() ? std::move(m) : nullptr;
    };
    if (QFileInfo::exists(ruta)) {
        if (auto m = abrir(); m && m->customValue(kClaveHuella).toString() == huella
                               && m->registeredDocumentations() == QStringList{espacio}
                               && QFileInfo(m->documentationFileName(espacio)) == QFileInfo(rutaQch_))
            return m;
        // Another version of the file, another file, or a damaged collection.
        QFile::remove(ruta);
    }
    auto m = abrir();
    if (!m || !m->registerDocumentation(rutaQch_) || !m->registeredDocumentations().contains(espacio)
        || !m->setCustomValue(kClaveHuella, huella)) {
        m.reset();
        QFile::remove(ruta);
        return nullptr;
    }
    return m;
}

// Copies the table of contents of the help file into the list on the left.
void VentanaAyuda::llenarContenido()
{
    QHelpContentModel *modelo = motor_->contentModel();
    QEventLoop espera;
    connect(modelo, &QHelpContentModel::contentsCreated, &espera, &QEventLoop::quit);
    QTimer::singleShot(5000, &espera, &QEventLoop::quit);
    modelo->createContents(QString());
    // The contents are built in another thread and handed over through the
    // event loop: wait for them unless they are already in the model.
    if (modelo->isCreatingContents() || modelo->rowCount() == 0)
        espera.exec(QEventLoop::ExcludeUserInputEvents);

    for (int i = 0; i < modelo->rowCount(); ++i) {
        QHelpContentItem *raiz = modelo->contentItemAt(modelo->index(i, 0));
        if (!raiz)
            continue;
        auto *item = new QTreeWidgetItem(contenido_, QStringList(raiz->title()));
        item->setData(0, Qt::UserRole, raiz->url());
        anadirContenido(raiz, item);
    }
    contenido_->expandAll();
}

void VentanaAyuda::mostrarPagina(const QUrl &url)
{
    if (!motor_ || !url.isValid())
        return;
    QUrl destino = url.isRelative() ? navegador_->source().resolved(url) : url;
    if (destino.scheme() != u"qthelp")
        return;
    const QUrl hallada = motor_->findFile(sinFragmento(destino));
    if (!hallada.isValid())
        return;
    QUrl final = hallada;
    final.setFragment(destino.fragment());
    navegador_->setSource(final);
}

void VentanaAyuda::mostrarPaginaPorNombre(const QString &nombre)
{
    if (!motor_)
        return;
    const QUrl pagina = nombre.isEmpty() ? inicio_ : inicio_.resolved(QUrl(nombre));
    mostrarPagina(motor_->findFile(sinFragmento(pagina)).isValid() ? pagina : inicio_);
}

// ---- Search -------------------------------------------------------------------

void VentanaAyuda::conectarBusqueda()
{
    QHelpSearchEngine *buscador = motor_->searchEngine();
    // Once made, the index must find a word of the start page before it is
    // trusted.
    connect(buscador, &QHelpSearchEngine::indexingFinished, this, [this] {
        comprobacion_ = palabraConocida(motor_->fileData(inicio_));
        if (comprobacion_.isEmpty())
            return noDisponible();
        motor_->searchEngine()->search(comprobacion_);
    });
    connect(buscador, &QHelpSearchEngine::searchingFinished, this, [this](int cuantos) {
        if (comprobacion_.isEmpty())
            return mostrarResultados(cuantos);
        comprobacion_.clear();
        if (cuantos == 0)
            return noDisponible();
        indexando_ = false;
        indiceListo_ = true;
        if (!pendiente_.isEmpty())
            buscar(std::exchange(pendiente_, QString()));
    });
}

// The index could not be made, or does not find what the help holds: a
// search would answer wrongly, so none is made.
void VentanaAyuda::noDisponible()
{
    sinBusqueda_ = true;
    pendiente_.clear();
    estadoBusqueda_->setText(QStringLiteral("La búsqueda no está disponible: no se pudo crear el índice de las "
                                            "páginas o no encuentra lo que contienen (carpeta %1).")
                                 .arg(QDir::toNativeSeparators(carpetaIndice(motor_->collectionFile()))));
}

// The index is brought up to date once per file loaded: made the first
// time, checked against the help file's date on later runs.
void VentanaAyuda::prepararIndice()
{
    if (!motor_ || indexando_ || indiceListo_)
        return;
    indexando_ = true;
    motor_->searchEngine()->scheduleIndexDocumentation();
}

void VentanaAyuda::buscar(const QString &texto)
{
    const QString palabras = texto.simplified();
    resultados_->clear();
    if (!motor_ || palabras.isEmpty()) {
        estadoBusqueda_->clear();
        return;
    }
    if (sinBusqueda_)
        return noDisponible();
    if (!indiceListo_) {
        pendiente_ = palabras;
        estadoBusqueda_->setText(QStringLiteral("Preparando la búsqueda..."));
        prepararIndice();
        return;
    }
    buscado_ = palabras;
    estadoBusqueda_->setText(QStringLiteral("Buscando..."));
    motor_->searchEngine()->search(palabras);
}

void VentanaAyuda::mostrarResultados(int cuantos)
{
    resultados_->clear();
    const QList<QHelpSearchResult> hallados = motor_->searchEngine()->searchResults(0, cuantos);
    for (const QHelpSearchResult &r : hallados) {
        // The index keeps the titles as HTML.
        const QString titulo = QTextDocumentFragment::fromHtml(r.title()).toPlainText();
        auto *item = new QListWidgetItem(titulo.isEmpty() ? r.url().fileName() : titulo, resultados_);
        item->setData(Qt::UserRole, r.url());
        item->setToolTip(r.snippet());
    }
    if (hallados.isEmpty())
        estadoBusqueda_->setText(QStringLiteral("Ninguna página contiene «%1».").arg(buscado_));
    else if (hallados.size() == 1)
        estadoBusqueda_->setText(QStringLiteral("1 página."));
    else
        estadoBusqueda_->setText(QStringLiteral("%1 páginas.").arg(hallados.size()));
    if (!hallados.isEmpty())
        resultados_->setCurrentRow(0);
}

void VentanaAyuda::marcarEnContenido(const QUrl &url)
{
    const QUrl buscada = sinFragmento(url);
    QTreeWidgetItemIterator it(contenido_);
    for (; *it; ++it) {
        if (sinFragmento((*it)->data(0, Qt::UserRole).toUrl()) == buscada) {
            const QSignalBlocker bloqueo(contenido_);
            contenido_->setCurrentItem(*it);
            return;
        }
    }
}

bool abrirAyuda(QWidget *padre, const QString &rutaQch, const QString &pagina)
{
    static QHash<QString, QPointer<VentanaAyuda>> abiertas;
    const QString clave = QFileInfo(rutaQch).absoluteFilePath();
    if (VentanaAyuda *v = abiertas.value(clave)) {
        // Already open: the file must still be there and sound.
        if (!QFileInfo(clave).isFile() || QHelpEngineCore::namespaceName(clave).isEmpty())
            return false;
        v->mostrarPaginaPorNombre(pagina);
        v->show();
        v->raise();
        v->activateWindow();
        return true;
    }
    auto *v = new VentanaAyuda(padre);
    if (!v->cargar(rutaQch)) {
        delete v;
        return false;
    }
    if (!pagina.isEmpty())
        v->mostrarPaginaPorNombre(pagina);
    v->setAttribute(Qt::WA_DeleteOnClose);
    abiertas.insert(clave, v);
    v->show();
    return true;
}

QString paginaAyuda(Seccion s)
{
    switch (s) {
    case Seccion::Caracteristicas: return QStringLiteral("caracteristicas.html");
    case Seccion::CostesFijos1: return QStringLiteral("amortizacion.html");
    case Seccion::CostesFijos2: return QStringLiteral("personal.html");
    case Seccion::CostesVariables: return QStringLiteral("variables.html");
    case Seccion::CostesIndirectos: return QStringLiteral("indirectos.html");
    case Seccion::Resultados: return QStringLiteral("resultados.html");
    case Seccion::Servicio: return QStringLiteral("servicio.html");
    }
    return QString();
}

void mostrarAyuda(QWidget *padre, const QString &carpetaPrograma, const QString &pagina)
{
    if (!abrirAyuda(padre, QDir(carpetaPrograma).filePath(QStringLiteral("Pelmora.qch")), pagina))
        MostrarMensaje(QStringLiteral("El fichero de ayuda se ha borrado o se ha corrompido."),
                       QStringLiteral("Error"), padre);
}

void mostrarAcuerdos(QWidget *padre, const QString &carpetaPrograma)
{
    if (!abrirAyuda(padre, QDir(carpetaPrograma).filePath(QStringLiteral("Acuerdos.qch"))))
        MostrarMensaje(QStringLiteral("El fichero de los acuerdos se ha borrado o se ha corrompido."),
                       QStringLiteral("Error"), padre);
}

} // namespace pelmora
