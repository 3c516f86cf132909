#include "interfaz/dialogos/dialogoarchivo.h"

#include "archivos/archivo.h"
#include "interfaz/dialogos/mensaje.h"
#include "interfaz/soporte/rutas.h"
#include "interfaz/soporte/twips.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <algorithm>
#include <utility>

namespace pelmora {

namespace {

const QString kExtension = QStringLiteral(".clc");

QLabel *etiqueta(const QString &texto, const QRect &r, QWidget *padre)
{
    auto *l = new QLabel(texto, padre);
    l->setGeometry(r);
    return l;
}

// The label names the control, on screen and when read out (a list or a
// drop-down list is not named by its label otherwise).
void rotular(QLabel *etiqueta, QWidget *control)
{
    etiqueta->setBuddy(control);
    control->setAccessibleName(etiqueta->text());
}

// The control takes the dialog's background instead of the text background.
void fondoDeDialogo(QWidget *w, const QColor &fondo)
{
    QPalette p = w->palette();
    for (auto grupo : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(grupo, QPalette::Base, fondo);
    w->setPalette(p);
}

// Root of the drive that holds a path (the longest drive root it starts
// with); the first drive when none matches.
QString raizDe(const QString &ruta)
{
    QString mejor;
    for (const QFileInfo &d : QDir::drives()) {
        const QString raiz = d.absoluteFilePath();
        if (ruta.startsWith(raiz, Qt::CaseInsensitive) && raiz.size() > mejor.size())
            mejor = raiz;
    }
    if (mejor.isEmpty() && !QDir::drives().isEmpty())
        mejor = QDir::drives().first().absoluteFilePath();
    return mejor;
}

bool esArchivoDeCalculo(const QString &nombre)
{
    return nombre.endsWith(kExtension, Qt::CaseInsensitive);
}

} // namespace

DialogoArchivo::DialogoArchivo(const QString &modo, const QString &carpeta, AccionArchivo accion, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , accion_(std::move(accion))
{
    setObjectName(QStringLiteral("frmArchivo"));
    setModal(true);
    setProperty("tag", modo);
    setWindowTitle(QStringLiteral("Archivo"));
    letraDeRejilla(this);

    QLabel *nombre = etiqueta(QStringLiteral("Nombre del archivo"), twRect(120, 120, 3000, 255), this);
    textArchivo_ = new QLineEdit(this);
    textArchivo_->setObjectName(QStringLiteral("TextArchivo"));
    textArchivo_->setGeometry(twRect(120, 375, 2535, 315));
    lblArchivo_ = new QLabel(kExtension, this);
    lblArchivo_->setObjectName(QStringLiteral("lblArchivo"));
    lblArchivo_->setGeometry(twRect(2700, 405, 450, 255));

    QLabel *archivo = etiqueta(QStringLiteral("Archivo"), twRect(120, 810, 3000, 255), this);
    file1_ = new QListWidget(this);
    file1_->setObjectName(QStringLiteral("File1"));
    file1_->setGeometry(twRect(120, 1065, 3015, 2835));

    QLabel *directorio = etiqueta(QStringLiteral("Directorio"), twRect(3360, 810, 3000, 255), this);
    dir1_ = new QListWidget(this);
    dir1_->setObjectName(QStringLiteral("Dir1"));
    dir1_->setGeometry(twRect(3360, 1065, 3000, 2160));

    QLabel *unidad = etiqueta(QStringLiteral("Unidad"), twRect(3360, 3330, 3000, 255), this);
    drive1_ = new QComboBox(this);
    drive1_->setObjectName(QStringLiteral("Drive1"));
    drive1_->setGeometry(twRect(3360, 3585, 3000, 315));
    for (const QFileInfo &d : QDir::drives())
        drive1_->addItem(QDir::toNativeSeparators(d.absoluteFilePath()), d.absoluteFilePath());
    rotular(nombre, textArchivo_);
    rotular(archivo, file1_);
    rotular(directorio, dir1_);
    rotular(unidad, drive1_);

    cmbAceptar_ = new QPushButton(QStringLiteral("Aceptar"), this);
    cmbAceptar_->setObjectName(QStringLiteral("cmbAceptar"));
    cmbAceptar_->setGeometry(twRect(3360, 360, 1440, 375));
    cmbAceptar_->setDefault(true);
    cmbCancelar_ = new QPushButton(QStringLiteral("Cancelar"), this);
    cmbCancelar_->setObjectName(QStringLiteral("cmbCancelar"));
    cmbCancelar_->setGeometry(twRect(4920, 360, 1440, 375));
    cmbCancelar_->setAutoDefault(false);

    setFixedSize(twSize(6480, 4080));

    connect(cmbAceptar_, &QPushButton::clicked, this, &DialogoArchivo::aceptarArchivo);
    connect(cmbCancelar_, &QPushButton::clicked, this, &QDialog::reject);
    connect(dir1_, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        if (item)
            fijarCarpeta(item->data(Qt::UserRole).toString());
    });
    connect(drive1_, &QComboBox::activated, this, &DialogoArchivo::cambiarUnidad);

    // The folder is kept even when it does not exist: the lists stay empty
    // and "Aceptar" tells the user.
    carpeta_ = QDir::cleanPath(QDir(carpeta).absolutePath());
    situarUnidad();
    llenarCarpetas();
    actualizarArchivos();
    prepararModo();
}

void DialogoArchivo::prepararModo()
{
    const QColor fondo = palette().color(QPalette::Window);
    if (modoAbrir()) {
        setWindowTitle(QStringLiteral("Abrir archivo"));
        textArchivo_->setEnabled(false);
        fondoDeDialogo(textArchivo_, fondo);
        lblArchivo_->clear();
        connect(file1_, &QListWidget::currentItemChanged, this,
                [this](QListWidgetItem *actual, QListWidgetItem *) { elegirArchivo(actual); });
        connect(file1_, &QListWidget::itemClicked, this, &DialogoArchivo::elegirArchivo);
        connect(file1_, &QListWidget::itemDoubleClicked, this, &DialogoArchivo::dobleClicArchivo);
        if (file1_->count() > 0)
            file1_->setCurrentRow(0);
    } else {
        setWindowTitle(QStringLiteral("Guardar archivo"));
        fondoDeDialogo(file1_, fondo);
        file1_->setSelectionMode(QAbstractItemView::NoSelection);
        textArchivo_->setFocus();
    }
}

// For the program's own folder: the calculations folder (beside the program
// when it runs from its own writable folder, else in the user's documents,
// created when missing). For any other folder: its "Cálculos" when there is
// one. Failing that, the folder itself.
QString DialogoArchivo::carpetaInicial(const QString &carpetaPrograma)
{
    const QString propia = QDir::cleanPath(QDir::fromNativeSeparators(carpetaPrograma));
    if (!propia.isEmpty() && propia == pelmora::carpetaPrograma()) {
        const QString calculos = carpetaCalculos();
        if (!calculos.isEmpty())
            return QDir::toNativeSeparators(calculos);
    } else {
        const QString calculos = QDir(carpetaPrograma).filePath(QStringLiteral("Cálculos"));
        if (QFileInfo(calculos).isDir())
            return QDir::toNativeSeparators(calculos);
    }
    return QDir::toNativeSeparators(carpetaPrograma);
}

QString DialogoArchivo::modo() const
{
    return property("tag").toString();
}

bool DialogoArchivo::modoAbrir() const
{
    return modo() == u"abrir";
}

QString DialogoArchivo::carpeta() const
{
    return QDir::toNativeSeparators(carpeta_);
}

QString DialogoArchivo::carpetaConSeparador() const
{
    QString c = carpeta();
    if (!c.endsWith(QDir::separator()))
        c += QDir::separator();
    return c;
}

bool DialogoArchivo::fijarCarpeta(const QString &carpeta)
{
    const QFileInfo info(carpeta);
    if (!info.isDir())
        return false;
    if (!info.isReadable() || !info.isExecutable()) {
        MostrarMensaje(mensajeErrorArchivo(ErrorArchivo::AccesoDenegado), QStringLiteral("Error"), this);
        return false;
    }
    carpeta_ = QDir::cleanPath(info.absoluteFilePath());
    situarUnidad();
    llenarCarpetas();
    actualizarArchivos();
    if (modoAbrir()) {
        if (file1_->count() > 0)
            file1_->setCurrentRow(0);
        else
            textArchivo_->clear();
    }
    return true;
}

void DialogoArchivo::situarUnidad()
{
    const int i = drive1_->findData(raizDe(carpeta_));
    if (i >= 0) {
        const QSignalBlocker bloqueo(drive1_);
        drive1_->setCurrentIndex(i);
    }
}

void DialogoArchivo::cambiarUnidad(int indice)
{
    const QString raiz = drive1_->itemData(indice).toString();
    const QFileInfo info(raiz);
    if (raiz.isEmpty() || !info.isDir() || !info.isReadable()) {
        situarUnidad(); // back to the drive of the folder list
        MostrarMensaje(QStringLiteral("La unidad no está preparada."), QStringLiteral("Error"), this);
        return;
    }
    if (raiz != raizDe(carpeta_))
        fijarCarpeta(raiz);
}

// The folder list: the path from the drive root down to the current folder
// (each a step up), then the folders inside the current one.
void DialogoArchivo::llenarCarpetas()
{
    dir1_->clear();
    const QIcon abierta = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon cerrada = style()->standardIcon(QStyle::SP_DirClosedIcon);

    const QString raiz = raizDe(carpeta_);
    QStringList pasos;
    pasos << raiz;
    QString resto = carpeta_.mid(raiz.size());
    QString acumulado = raiz;
    for (const QString &parte : resto.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (!acumulado.endsWith(QLatin1Char('/')))
            acumulado += QLatin1Char('/');
        acumulado += parte;
        pasos << acumulado;
    }

    int nivel = 0;
    QListWidgetItem *actual = nullptr;
    for (const QString &paso : pasos) {
        const QString nombre = nivel == 0 ? QDir::toNativeSeparators(paso) : QFileInfo(paso).fileName();
        auto *item = new QListWidgetItem(abierta, QString(nivel * 2, QLatin1Char(' ')) + nombre, dir1_);
        item->setData(Qt::UserRole, paso);
        actual = item;
        ++nivel;
    }
    if (actual) {
        QFont f = actual->font();
        f.setBold(true);
        actual->setFont(f);
    }
    const QDir dir(carpeta_);
    const QStringList hijas = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString &hija : hijas) {
        auto *item = new QListWidgetItem(cerrada, QString(nivel * 2, QLatin1Char(' ')) + hija, dir1_);
        item->setData(Qt::UserRole, dir.filePath(hija));
    }
    if (actual)
        dir1_->setCurrentItem(actual);
}

void DialogoArchivo::actualizarArchivos()
{
    const QString elegido = file1_->currentItem() ? file1_->currentItem()->text() : QString();
    QStringList nombres;
    const QDir dir(carpeta_);
    for (const QString &n : dir.entryList(QDir::Files))
        if (esArchivoDeCalculo(n))
            nombres << n;
    std::sort(nombres.begin(), nombres.end(), [](const QString &a, const QString &b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    const QSignalBlocker bloqueo(file1_);
    file1_->clear();
    file1_->addItems(nombres);
    if (!elegido.isEmpty()) {
        const auto hallados = file1_->findItems(elegido, Qt::MatchExactly);
        if (!hallados.isEmpty())
            file1_->setCurrentItem(hallados.first());
    }
}

void DialogoArchivo::elegirArchivo(QListWidgetItem *item)
{
    if (modoAbrir() && item)
        textArchivo_->setText(item->text());
}

void DialogoArchivo::dobleClicArchivo(QListWidgetItem *item)
{
    if (!modoAbrir() || !item)
        return;
    elegirArchivo(item);
    aceptarArchivo();
}

bool DialogoArchivo::existeEnCarpeta(const QString &nombre) const
{
    const QString buscado = nombre.toLower();
    for (int i = 0; i < file1_->count(); ++i)
        if (file1_->item(i)->text().toLower() == buscado)
            return true;
    // The list may be older than the folder: look at the folder itself too.
    const QStringList presentes =
        QDir(carpeta_).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    return std::any_of(presentes.begin(), presentes.end(),
                       [&](const QString &n) { return n.toLower() == buscado; });
}

void DialogoArchivo::aceptarArchivo()
{
    const QString error = QStringLiteral("Error");
    const QString nombre = textArchivo_->text();
    if (nombre.isEmpty()) {
        MostrarMensaje(QStringLiteral("No se ha seleccionado un fichero."), error, this);
        return;
    }
    const auto nombreNoValido = [](const QString &n) {
        return n.trimmed().isEmpty() || n.contains(QLatin1Char('/')) || n.contains(QChar(0));
    };
    if (nombreNoValido(nombre)) {
        MostrarMensaje(mensajeErrorArchivo(ErrorArchivo::NombreNoValido), error, this);
        return;
    }

    const QString ruta = carpetaConSeparador() + nombre;
    if (modoAbrir()) {
        const ErrorArchivo e = accion_(ruta);
        if (e != ErrorArchivo::Ninguno) {
            MostrarMensaje(mensajeErrorArchivo(e), error, this);
            return;
        }
        archivoActual_ = ruta;
        accept();
        return;
    }

    // Save mode. A name typed with its extension gets it only once.
    QString base = nombre;
    if (esArchivoDeCalculo(base))
        base.chop(kExtension.size());
    if (nombreNoValido(base)) {
        MostrarMensaje(mensajeErrorArchivo(ErrorArchivo::NombreNoValido), error, this);
        return;
    }
    const QString nombreArchivo = base + kExtension;
    // An existing calculation is never overwritten from this dialog.
    if (existeEnCarpeta(nombreArchivo)) {
        MostrarMensaje(QStringLiteral("Este fichero ya existe."), error, this);
        return;
    }
    const QString rutaArchivo = carpetaConSeparador() + nombreArchivo;
    const ErrorArchivo e = accion_(rutaArchivo);
    if (e != ErrorArchivo::Ninguno) {
        MostrarMensaje(mensajeErrorArchivo(e), error, this);
        return;
    }
    archivoActual_ = rutaArchivo;
    accept();
    const QString crlf = QStringLiteral("\r\n");
    MostrarMensaje(QStringLiteral("El archivo se ha grabado en: ") + crlf + carpetaConSeparador() + crlf + crlf
                       + QStringLiteral("Con el nombre: ") + crlf + nombreArchivo,
                   QStringLiteral("Grabar"), this);
}

void DialogoArchivo::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (modoAbrir()) {
        actualizarArchivos();
        if (file1_->count() == 0)
            textArchivo_->clear();
        else if (!file1_->currentItem())
            file1_->setCurrentRow(0);
        cmbAceptar_->setFocus();
    } else {
        textArchivo_->setFocus();
    }
}

void DialogoArchivo::keyPressEvent(QKeyEvent *e)
{
    if (focusWidget() == dir1_) {
        // Enter opens the folder (the list already did it); it must not
        // also press "Aceptar". Backspace goes one folder up.
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
            e->accept();
            return;
        }
        if (e->key() == Qt::Key_Backspace) {
            const QString arriba = QFileInfo(carpeta_).absolutePath();
            if (arriba != carpeta_)
                fijarCarpeta(arriba);
            e->accept();
            return;
        }
    }
    QDialog::keyPressEvent(e);
}

QString DialogoArchivo::ejecutar(QWidget *padre, const QString &modo, const QString &carpetaPrograma,
                                 AccionArchivo accion)
{
    DialogoArchivo d(modo, carpetaInicial(carpetaPrograma), std::move(accion), padre);
    if (interceptorDialogoArchivo)
        interceptorDialogoArchivo(d);
    else
        d.exec();
    return d.result() == QDialog::Accepted ? d.archivoActual() : QString();
}

} // namespace pelmora
