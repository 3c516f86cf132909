// The small windows of the program: the splash, the about box, the message
// dialog, the start dialog and the coach category chooser; and the program's
// own identity texts and pictures.
#pragma once

#include "archivos/referencia.h"

#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QString>

class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;

namespace pelmora {

class VentanaPrincipal;

// ---- Identity of the program -------------------------------------------

// Puts the program's name and version on the application object.
void FijarDatosPrograma();
QString tituloPrograma();      // "Pelmora"
QString textoVersion();        // "Versión 1.0.0" (from the application version)
QString descripcionPrograma(); // file description
QString comentariosPrograma(); // the warning shown by the about box
QString nombreOrganizacion();  // publishing organisation (splash)
QString nombreDireccion();     // its directorate (splash)
QString textoAutor();          // credit text of the about box

// ---- Pictures ------------------------------------------------------------

// Draws an SVG document into a transparent image of the given size,
// keeping the aspect ratio of its viewBox and centring it.
QImage pintarSvg(const QByteArray &svg, const QSize &tamano);

// One of the program's pictures ("logo", "escudo", "alarma", "informacion",
// "pregunta", "autocar_mas55", "autocar_39_55", "autocar_26_38",
// "autocar_10_25") at a size in pixels. Null when there is no such picture.
QPixmap ImagenPrograma(const QString &nombre, const QSize &tamano);

// ---- The four coach categories (archivos/referencia.h) --------------------

// The picture of the chooser's button of category k.
const char *imagenCategoria(int k);

// ---- frmMensaje ----------------------------------------------------------

// The message dialog; MostrarMensaje (mensaje.h) builds one and runs it.
class DialogoMensaje : public QDialog {
    Q_OBJECT
public:
    DialogoMensaje(const QString &texto, const QString &titulo, QWidget *parent = nullptr);

private:
    QLabel *lblMensaje_;
    QLabel *picAlarma_;
    QLabel *picInformacion_;
    QPushButton *cmbAceptar_;
};

// ---- frmSplash -----------------------------------------------------------

class DialogoPresentacion : public QDialog {
    Q_OBJECT
public:
    explicit DialogoPresentacion(QWidget *parent = nullptr);
    QTimer *temporizador() const { return timer1_; }

protected:
    void mousePressEvent(QMouseEvent *e) override;

private:
    QTimer *timer1_;
};

// ---- frmAbout ------------------------------------------------------------

class DialogoAcercaDe : public QDialog {
    Q_OBJECT
public:
    explicit DialogoAcercaDe(QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    QPushButton *cmbAceptar_;
};

// ---- frmNueva ------------------------------------------------------------

// Start dialog: a new calculation or a saved one. Modeless; while it is up
// every calculation menu item is off.
class DialogoNueva : public QDialog {
    Q_OBJECT
public:
    explicit DialogoNueva(VentanaPrincipal *principal);
    void done(int r) override;

protected:
    void showEvent(QShowEvent *e) override;

private:
    void aceptar();

    QPointer<VentanaPrincipal> principal_;
    QRadioButton *opbNueva_;
    QRadioButton *opbGrabada_;
};

// ---- frmTipoVeh ----------------------------------------------------------

// Coach category chooser: a click on a category opens a new calculation
// from that category's reference data. Modeless; while it is up every
// calculation menu item is off.
class DialogoTipoVehiculo : public QDialog {
    Q_OBJECT
public:
    explicit DialogoTipoVehiculo(VentanaPrincipal *principal);
    void done(int r) override;

    // Click on cmbVehiculos(k): true when the calculation was opened.
    bool elegir(int k);

protected:
    void showEvent(QShowEvent *e) override;

private:
    QPointer<VentanaPrincipal> principal_;
};

} // namespace pelmora
