// The commands of the menus "Cálculo" and "Archivo" of the main window:
// a new calculation, opening (also from the recent files) and saving one,
// closing it, and leaving.
#include "interfaz/ventana/ventanaprincipal.h"

#include "archivos/archivo.h"
#include "archivos/referencia.h"
#include "interfaz/dialogos/dialogoarchivo.h"
#include "interfaz/dialogos/dialogos.h"
#include "interfaz/dialogos/mensaje.h"
#include "interfaz/dialogos/preguntagrabar.h"
#include "interfaz/soporte/historial.h"
#include "interfaz/soporte/recientes.h"
#include "interfaz/soporte/rutas.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace pelmora {

void VentanaPrincipal::prepararDialogo(QDialog *d)
{
    d->setAttribute(Qt::WA_DeleteOnClose);
    // Placed and the menus off as it comes up (eventFilter); the menus
    // back when it goes without a calculation open.
    d->installEventFilter(this);
    connect(d, &QDialog::finished, this, [this] {
        if (!calculoAbierto())
            fijarMenusCalculo(EstadoMenus::SinCalculo);
    });
}

void VentanaPrincipal::mostrarNueva()
{
    if (!frmNueva_) {
        frmNueva_ = new DialogoNueva(this);
        prepararDialogo(frmNueva_);
        connect(frmNueva_, &DialogoNueva::nuevoElegido, this, &VentanaPrincipal::nuevoCalculo);
        connect(frmNueva_, &DialogoNueva::grabadoElegido, this, &VentanaPrincipal::abrirCalculo);
    }
    frmNueva_->show();
    frmNueva_->raise();
    frmNueva_->activateWindow();
}

ErrorArchivo VentanaPrincipal::cargarCategoria(int k)
{
    // The user's own figures of the category when there are any.
    return AbrirArchivo(calculo_, rutaReferenciaVigente(k, carpetaReferencia()));
}

void VentanaPrincipal::nuevoCalculo()
{
    if (calculoAbierto())
        return;
    if (!frmTipoVeh_) {
        frmTipoVeh_ = new DialogoTipoVehiculo([this](int k) { return cargarCategoria(k); }, this);
        prepararDialogo(frmTipoVeh_);
        connect(frmTipoVeh_, &DialogoTipoVehiculo::categoriaElegida, this, &VentanaPrincipal::CargarPatillas);
    }
    frmTipoVeh_->show();
    frmTipoVeh_->raise();
    frmTipoVeh_->activateWindow();
}

ErrorArchivo VentanaPrincipal::leerYAbrir(const QString &ruta)
{
    const ErrorArchivo e = AbrirArchivo(calculo_, ruta);
    if (e != ErrorArchivo::Ninguno)
        MostrarMensaje(mensajeErrorArchivo(e), QStringLiteral("Error"), this);
    else
        abrirLeido(ruta);
    return e;
}

void VentanaPrincipal::abrirLeido(const QString &ruta)
{
    fijarArchivoActual(ruta);
    CargarPatillas();
    if (calculoAbierto())
        anotarArchivoActual();
}

void VentanaPrincipal::anotarArchivoActual()
{
    if (archivoActual_.isEmpty())
        return;
    anotarReciente(archivoActual_);
    menus_->actualizarRecientes();
}

bool VentanaPrincipal::abrirArchivoInicial(const QString &ruta)
{
    return leerYAbrir(ruta) == ErrorArchivo::Ninguno && calculoAbierto();
}

void VentanaPrincipal::abrirReciente(const QString &ruta)
{
    if (calculoAbierto())
        return;
    if (leerYAbrir(ruta) == ErrorArchivo::NoEncontrado) {
        quitarReciente(ruta);
        menus_->actualizarRecientes();
    }
}

void VentanaPrincipal::fijarArchivoActual(const QString &ruta)
{
    archivoActual_ = ruta.isEmpty() || esArchivoDeReferencia(ruta) ? QString() : QFileInfo(ruta).absoluteFilePath();
    huellaActual_ = archivoActual_.isEmpty() ? HuellaArchivo() : huellaArchivo(archivoActual_);
    actualizarTitulo();
}

void VentanaPrincipal::abrirCalculo()
{
    if (calculoAbierto())
        return;
    // The file is read while the dialog is up: a file that cannot be read
    // leaves it open for another one.
    const QString ruta = DialogoArchivo::ejecutar(this, QStringLiteral("abrir"), carpetaPrograma(),
                                                  [this](const QString &r) { return AbrirArchivo(calculo_, r); });
    if (!ruta.isEmpty())
        abrirLeido(ruta);
}

bool VentanaPrincipal::cambiadoEnDisco() const
{
    return QFileInfo::exists(archivoActual_) && huellaArchivo(archivoActual_) != huellaActual_;
}

namespace {

// "Sí" or "No" (the default) to saving over a file changed on disk.
bool grabarSobreOtraVersion(QWidget *padre)
{
    const QString pregunta =
        QStringLiteral("El archivo ha cambiado en el disco desde que se abrió. ¿Grabarlo de todos modos?");
    if (interceptorCambiadoEnDisco)
        return interceptorCambiadoEnDisco(pregunta);
    QMessageBox q(QMessageBox::Question, QStringLiteral("Grabar"), pregunta, QMessageBox::NoButton, padre);
    q.setObjectName(QStringLiteral("frmCambiadoEnDisco"));
    QPushButton *si = q.addButton(QStringLiteral("Sí"), QMessageBox::YesRole);
    QPushButton *no = q.addButton(QStringLiteral("No"), QMessageBox::NoRole);
    q.setDefaultButton(no);
    q.setEscapeButton(no);
    q.exec();
    return q.clickedButton() == si;
}

} // namespace

bool VentanaPrincipal::Grabar()
{
    if (archivoActual_.isEmpty())
        return grabarComo();
    if (cambiadoEnDisco() && !grabarSobreOtraVersion(this))
        return false;
    const ErrorArchivo e = GrabarCalculo(calculo_, archivoActual_);
    if (e != ErrorArchivo::Ninguno) {
        MostrarMensaje(mensajeErrorArchivo(e), QStringLiteral("Error"), this);
        return false;
    }
    huellaActual_ = huellaArchivo(archivoActual_);
    anotarArchivoActual();
    actualizarTitulo();
    MostrarMensaje(QStringLiteral("El archivo se ha grabado."), QStringLiteral("Grabar"), this);
    return true;
}

bool VentanaPrincipal::grabarComo()
{
    // The file is written while the dialog is up (a failed write leaves it
    // open); the title names the new file before the dialog's message says
    // where it went.
    const QString ruta =
        DialogoArchivo::ejecutar(this, QStringLiteral("grabar"), carpetaPrograma(), [this](const QString &r) {
            const ErrorArchivo e = GrabarCalculo(calculo_, r);
            if (e == ErrorArchivo::Ninguno) {
                fijarArchivoActual(r);
                anotarArchivoActual();
            }
            return e;
        });
    return !ruta.isEmpty();
}

void VentanaPrincipal::guardarCalculo()
{
    if (calculoAbierto() && confirmarEdicion())
        Grabar();
}

void VentanaPrincipal::guardarCalculoComo()
{
    if (calculoAbierto() && confirmarEdicion())
        grabarComo();
}

bool VentanaPrincipal::preguntarGrabar(const QString &titulo)
{
    return pelmora::preguntarGrabar(this, titulo, [this] { return Grabar(); });
}

void VentanaPrincipal::cerrarCalculo()
{
    if (!calculoAbierto() || !confirmarEdicion())
        return;
    if (HayCambios() && !preguntarGrabar(QStringLiteral("Cerrar")))
        return;
    CerrarPatillas();
}

void VentanaPrincipal::closeEvent(QCloseEvent *e)
{
    if (calculoAbierto()
        && (!confirmarEdicion() || (HayCambios() && !preguntarGrabar(QStringLiteral("Salir"))))) {
        e->ignore();
        return;
    }
    e->accept();
    // The modeless dialogs go with the window, so that the program ends.
    for (QDialog *d : findChildren<QDialog *>(QString(), Qt::FindDirectChildrenOnly))
        d->close();
}

} // namespace pelmora
