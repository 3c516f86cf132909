#include "interfaz/dialogos/dialogos.h"

#include "archivos/archivo.h"
#include "interfaz/dialogos/mensaje.h"
#include "interfaz/soporte/rutas.h"
#include "interfaz/soporte/twips.h"

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSvgRenderer>
#include <QTimer>
#include <QVersionNumber>
#include <cmath>
#include <vector>

// The pictures live in the library; this pulls them in for the executable.
static void iniciarRecursos()
{
    static bool hecho = false;
    if (!hecho) {
        hecho = true;
        Q_INIT_RESOURCE(recursos);
    }
}

namespace pelmora {

// ---- Identity ----------------------------------------------------------------

namespace {
const char *const kVersionPrograma = PELMORA_VERSION; // the project's version, set by the build
}

void fijarDatosPrograma()
{
    QCoreApplication::setApplicationName(QStringLiteral("Pelmora"));
    QCoreApplication::setApplicationVersion(QLatin1String(kVersionPrograma));
    // No display name: the window system would add it to every caption
    // ("Error — Pelmora"), and each window's caption is its own.
}

QString tituloPrograma() { return QStringLiteral("Pelmora"); }

QString textoVersion()
{
    QString v = QCoreApplication::applicationVersion();
    if (v.isEmpty())
        v = QLatin1String(kVersionPrograma);
    const QVersionNumber n = QVersionNumber::fromString(v);
    return QStringLiteral("Versión %1.%2.%3").arg(n.majorVersion()).arg(n.minorVersion()).arg(n.microVersion());
}

QString descripcionPrograma()
{
    return QStringLiteral("Cálculo del coste anual de un autocar de transporte de viajeros "
                          "y del precio de servicios concretos.");
}

QString comentariosPrograma()
{
    return QStringLiteral("Advertencia: los resultados de este programa son una orientación. "
                          "Los datos de referencia describen un autocar tipo de cada categoría "
                          "y no sustituyen el estudio de los costes propios de cada empresa.");
}

QString nombreOrganizacion() { return QStringLiteral("Consejo de Movilidad y Transporte"); }

QString nombreDireccion() { return QStringLiteral("Dirección General de Transporte de Viajeros"); }

QString textoAutor()
{
    return QStringLiteral("\r\nPrograma realizado por el equipo de desarrollo de Pelmora.\r\n\r\n\r\n"
                          "          Para quienes llevan cada día a los viajeros a su destino.");
}

// ---- SVG drawing ---------------------------------------------------------------

QImage pintarSvg(const QByteArray &svg, const QSize &tamano)
{
    QImage imagen(tamano, QImage::Format_ARGB32_Premultiplied);
    imagen.fill(Qt::transparent);
    QSvgRenderer r(svg);
    if (!r.isValid() || tamano.isEmpty())
        return imagen;
    // Keep the drawing's shape and centre it in the image.
    QSizeF vista = r.viewBoxF().size();
    if (vista.isEmpty())
        vista = r.defaultSize();
    const QSizeF ajustado = vista.scaled(QSizeF(tamano), Qt::KeepAspectRatio);
    const QRectF destino(QPointF((tamano.width() - ajustado.width()) / 2.0, (tamano.height() - ajustado.height()) / 2.0),
                         ajustado);
    QPainter p(&imagen);
    p.setRenderHint(QPainter::Antialiasing);
    r.render(&p, destino);
    return imagen;
}

QPixmap imagenPrograma(const QString &nombre, const QSize &tamano)
{
    iniciarRecursos();
    static QHash<QString, QByteArray> cache;
    auto it = cache.find(nombre);
    if (it == cache.end()) {
        QFile f(QStringLiteral(":/imagenes/%1.svg").arg(nombre));
        it = cache.insert(nombre, f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
    }
    if (it->isEmpty() || tamano.isEmpty())
        return QPixmap();
    const qreal escala = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap px = QPixmap::fromImage(pintarSvg(*it, tamano * escala));
    px.setDevicePixelRatio(escala);
    return px;
}

// ---- Coach categories ------------------------------------------------------------

const char *imagenCategoria(int k)
{
    static const char *const imagenes[kNumCategorias] = {"autocar_mas55", "autocar_39_55", "autocar_26_38",
                                                         "autocar_10_25"};
    return k >= 0 && k < kNumCategorias ? imagenes[k] : "";
}

namespace {

QLabel *etiqueta(const QString &nombre, const QString &texto, QWidget *padre, const QRect &r,
                 Qt::Alignment alineacion = Qt::AlignLeft | Qt::AlignVCenter, bool ajustar = false)
{
    auto *l = new QLabel(texto, padre);
    l->setObjectName(nombre);
    l->setGeometry(r);
    l->setAlignment(alineacion);
    l->setWordWrap(ajustar);
    return l;
}

QLabel *imagen(const QString &nombre, const QString &dibujo, QWidget *padre, const QRect &r)
{
    auto *l = new QLabel(padre);
    l->setObjectName(nombre);
    l->setGeometry(r);
    l->setAlignment(Qt::AlignCenter);
    l->setPixmap(imagenPrograma(dibujo, r.size()));
    return l;
}

void letra(QWidget *w, double puntos, bool negrita)
{
    QFont f = w->font();
    f.setPointSizeF(puntos);
    f.setBold(negrita);
    w->setFont(f);
}

Qt::WindowFlags banderasDialogo()
{
    return Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
}

} // namespace

// ---- frmSplash -----------------------------------------------------------------

DialogoPresentacion::DialogoPresentacion(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(tituloPrograma());
    setModal(true);
    setFixedSize(twSize(7440, 4080));
    letraDeRejilla(this);

    auto *frame1 = new QFrame(this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setFrameShape(QFrame::Box);
    frame1->setFrameShadow(QFrame::Raised);
    frame1->setLineWidth(2);
    frame1->setGeometry(twRect(90, 90, 7260, 3900));

    imagen(QStringLiteral("picLogo"), QStringLiteral("logo"), frame1, twRect(420, 300, 1860, 1860));
    auto *org = etiqueta(QStringLiteral("lblOrganizacion"), nombreOrganizacion(), frame1,
                         twRect(120, 2280, 2640, 600), Qt::AlignCenter, true);
    letra(org, 9, true);
    etiqueta(QStringLiteral("lblDireccion"), nombreDireccion(), frame1, twRect(120, 2880, 2640, 600),
             Qt::AlignCenter, true);

    imagen(QStringLiteral("picEscudo"), QStringLiteral("escudo"), frame1, twRect(6060, 240, 960, 1140));
    auto *producto = etiqueta(QStringLiteral("lblProductName"), tituloPrograma(), frame1,
                              twRect(3000, 480, 3000, 900));
    letra(producto, 30, true);
    auto *version = etiqueta(QStringLiteral("lblVersion"), textoVersion(), frame1, twRect(3000, 1440, 3000, 360));
    letra(version, 11, true);
    etiqueta(QStringLiteral("lblDescripcion"), descripcionPrograma(), frame1, twRect(3000, 2040, 3960, 1200),
             Qt::AlignLeft | Qt::AlignTop, true);

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setSingleShot(true);
    timer1_->setInterval(10000);
    connect(timer1_, &QTimer::timeout, this, &QDialog::accept);
    timer1_->start();
}

void DialogoPresentacion::mousePressEvent(QMouseEvent *) { accept(); }

// ---- frmAbout ------------------------------------------------------------------

DialogoAcercaDe::DialogoAcercaDe(QWidget *parent) : QDialog(parent, banderasDialogo())
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Acerca de ") + tituloPrograma());
    setModal(true);
    setFixedSize(twSize(5730, 3900));
    letraDeRejilla(this);

    imagen(QStringLiteral("picIcon"), QStringLiteral("logo"), this, twRect(240, 240, 720, 720));
    auto *titulo = etiqueta(QStringLiteral("lblTitulo"), tituloPrograma(), this, twRect(1200, 240, 4200, 480));
    letra(titulo, 14, true);
    etiqueta(QStringLiteral("lblVersion"), textoVersion(), this, twRect(1200, 780, 4200, 300));
    etiqueta(QStringLiteral("lblDescripcion"), descripcionPrograma(), this, twRect(1200, 1140, 4200, 900),
             Qt::AlignLeft | Qt::AlignTop, true);
    auto *linea = new QFrame(this);
    linea->setObjectName(QStringLiteral("Line1"));
    linea->setFrameShape(QFrame::HLine);
    linea->setFrameShadow(QFrame::Sunken);
    linea->setGeometry(twRect(240, 2100, 5250, 30));
    etiqueta(QStringLiteral("lblAdvertencia"), comentariosPrograma(), this, twRect(240, 2220, 3900, 1500),
             Qt::AlignLeft | Qt::AlignTop, true);

    cmbAceptar_ = new QPushButton(QStringLiteral("Aceptar"), this);
    cmbAceptar_->setObjectName(QStringLiteral("cmbAceptar"));
    cmbAceptar_->setGeometry(twRect(4260, 3300, 1260, 375));
    cmbAceptar_->setDefault(true);
    cmbAceptar_->installEventFilter(this);
    connect(cmbAceptar_, &QPushButton::clicked, this, &QDialog::accept);
    cmbAceptar_->setFocus();
}

bool DialogoAcercaDe::eventFilter(QObject *o, QEvent *e)
{
    if (o == cmbAceptar_ && e->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(e);
        if (k->key() == Qt::Key_Control || k->key() == Qt::Key_Escape) {
            // The credit text; Esc must not close the box here.
            if (!k->isAutoRepeat())
                MostrarMensaje(textoAutor(), QStringLiteral("Autor"), this);
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

// ---- frmNueva ------------------------------------------------------------------

DialogoNueva::DialogoNueva(QWidget *parent) : QDialog(parent, banderasDialogo())
{
    setObjectName(QStringLiteral("frmNueva"));
    setWindowTitle(QStringLiteral("Tipo de Cálculo"));
    setModal(false);
    setFixedSize(twSize(5220, 1860));
    letraDeRejilla(this);

    auto *frame1 = new QGroupBox(this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setGeometry(twRect(120, 120, 3360, 1560));
    frame1->setAccessibleName(windowTitle());
    opbNueva_ = new QRadioButton(QStringLiteral("Nuevo Cálculo"), frame1);
    opbNueva_->setObjectName(QStringLiteral("opbNueva"));
    opbNueva_->setGeometry(twRect(240, 300, 3000, 360));
    opbGrabada_ = new QRadioButton(QStringLiteral("Cálculo previamente grabado"), frame1);
    opbGrabada_->setObjectName(QStringLiteral("opbGrabada"));
    opbGrabada_->setGeometry(twRect(240, 900, 3000, 360));
    opbNueva_->setChecked(true);

    auto *ok = new QPushButton(QStringLiteral("Aceptar"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setGeometry(twRect(3720, 240, 1260, 375));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &DialogoNueva::aceptar);
    auto *cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    cancelar->setObjectName(QStringLiteral("CancelButton"));
    cancelar->setGeometry(twRect(3720, 720, 1260, 375));
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
}

void DialogoNueva::aceptar()
{
    const bool nueva = opbNueva_->isChecked();
    accept();
    if (nueva)
        emit nuevoElegido();
    else
        emit grabadoElegido();
}

// ---- frmTipoVeh ------------------------------------------------------------------

DialogoTipoVehiculo::DialogoTipoVehiculo(std::function<ErrorArchivo(int k)> cargar, QWidget *parent)
    : QDialog(parent, banderasDialogo()), cargar_(std::move(cargar))
{
    setObjectName(QStringLiteral("frmTipoVeh"));
    setWindowTitle(QStringLiteral("Tipo de Autocar"));
    setModal(false);
    setFixedSize(twSize(6360, 6480));
    letraDeRejilla(this);

    auto *titulo = etiqueta(QStringLiteral("Label1"), QStringLiteral("Tipo de autocar"), this,
                            twRect(120, 120, 6120, 480), Qt::AlignCenter);
    letra(titulo, 13, true);
    etiqueta(QStringLiteral("Label2"), QStringLiteral("Número de plazas del autocar (incluido el conductor)"), this,
             twRect(120, 660, 2040, 960), Qt::AlignCenter, true);

    for (int k = 0; k < 4; ++k) {
        const int top = 1680 + k * 1170;
        auto *l = etiqueta(QStringLiteral("lblPlazas(%1)").arg(k), QString::fromUtf8(kCategorias[k].plazas), this,
                           twRect(120, top, 2040, 1050), Qt::AlignCenter);
        letra(l, 11, true);
        auto *b = new QPushButton(this);
        b->setObjectName(QStringLiteral("cmbVehiculos(%1)").arg(k));
        b->setGeometry(twRect(2280, top, 3840, 1050));
        const QSize dibujo = b->size() - QSize(tw(180), tw(150));
        b->setIconSize(dibujo);
        b->setIcon(QIcon(imagenPrograma(QLatin1String(imagenCategoria(k)), dibujo)));
        b->setToolTip(QString::fromUtf8(kCategorias[k].plazas));
        // A picture only: read out as the category it opens.
        b->setAccessibleName(QStringLiteral("Autocar ") + QString::fromUtf8(kCategorias[k].descripcion));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, k] { elegir(k); });
    }
}

void DialogoTipoVehiculo::keyPressEvent(QKeyEvent *e)
{
    auto *b = qobject_cast<QPushButton *>(focusWidget());
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && b && b->isEnabled()) {
        b->click();
        return;
    }
    QDialog::keyPressEvent(e);
}

bool DialogoTipoVehiculo::elegir(int k)
{
    if (k < 0 || k > 3)
        return false;
    const ErrorArchivo e = cargar_(k);
    if (e != ErrorArchivo::Ninguno) {
        MostrarMensaje(mensajeErrorReferencia(e), QStringLiteral("Error"), this);
        return false;
    }
    accept();
    emit categoriaElegida(k);
    return true;
}

} // namespace pelmora
