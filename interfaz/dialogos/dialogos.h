// The small windows of the program: the splash, the about box, the message
// dialog, the start dialog and the coach category chooser; and the program's
// own identity texts and pictures.
#pragma once

#include "archivos/referencia.h"
#include "calculo/calculo.h"

#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <functional>

class QKeyEvent;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;

namespace pelmora {

// ---- Identity of the program -------------------------------------------

// Puts the program's name and version on the application object.
void fijarDatosPrograma();
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
QPixmap imagenPrograma(const QString &nombre, const QSize &tamano);

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

// Start dialog: a new calculation or a saved one. Modeless.
class DialogoNueva : public QDialog {
    Q_OBJECT
public:
    explicit DialogoNueva(QWidget *parent = nullptr);

signals:
    // "Aceptar", once the dialog is closed: "Nuevo Cálculo" or "Cálculo
    // previamente grabado".
    void nuevoElegido();
    void grabadoElegido();

private:
    void aceptar();

    QRadioButton *opbNueva_;
    QRadioButton *opbGrabada_;
};

// ---- frmTipoVeh ----------------------------------------------------------

// Coach category chooser: a click on a category has the window load that
// category's reference data as a new calculation (cargar). Modeless.
class DialogoTipoVehiculo : public QDialog {
    Q_OBJECT
public:
    // cargar loads the reference data of category k (0..3); Ninguno when
    // it did.
    explicit DialogoTipoVehiculo(std::function<ErrorArchivo(int k)> cargar, QWidget *parent = nullptr);

    // Click on cmbVehiculos(k): the data is loaded, the dialog closes and
    // announces it (true); or the user is told why not, and it stays.
    bool elegir(int k);

signals:
    // The category's data is loaded: its forms can open.
    void categoriaElegida(int k);

protected:
    // Enter and Return press the focused picture button, as Space does.
    void keyPressEvent(QKeyEvent *e) override;

private:
    std::function<ErrorArchivo(int k)> cargar_;
};

} // namespace pelmora
