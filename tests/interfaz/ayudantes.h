// What the window tests share: messages and the save question answered
// by the test instead of a person, typing into a box, finding a box.
#pragma once

#include "calculo/calculo.h"
#include "calculo/campos.h"
#include "interfaz/dialogos/dialogoarchivo.h"
#include "interfaz/dialogos/mensaje.h"
#include "interfaz/dialogos/preguntagrabar.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QStringList>
#include <Qt>

class QAction;
class QLineEdit;
class QWidget;

namespace pelmora {

class CampoTexto;
class DialogoTipoVehiculo;
class VentanaPrincipal;

namespace prueba {

struct Mensaje {
    QString texto;
    QString titulo;
};

// Every message shown while it lives, in order, instead of its dialog.
class CapturaMensajes : public QList<Mensaje> {
public:
    CapturaMensajes();
    QStringList textos() const;
    QStringList titulos() const;

private:
    decltype(interceptorMensajes)::Ambito ambito_;
};

// The save question while it lives: each caption asked is kept, and the
// answers are taken in order (Cancelar once they run out).
class RespuestasPregunta {
public:
    RespuestasPregunta();
    QStringList preguntas;
    QList<PreguntaGrabar::Respuesta> respuestas;

private:
    decltype(interceptorPregunta)::Ambito ambito_;
};

// What the tests of the main window set up: the program's folder in a
// scratch folder with the reference data, and the messages and the save
// question answered by the test.
class EntornoVentana {
protected:
    // Once: the reference data into the scratch folder, and the settings
    // under it (<carpeta_>/ajustes).
    bool prepararCarpeta();
    // Before each test: 96 dots per inch, the scratch folder as the
    // program's, nothing shown or asked yet.
    void reiniciar();
    // After each test: the program's folder back.
    void terminar();

    QTemporaryDir carpeta_;
    CapturaMensajes mensajes_;
    RespuestasPregunta pregunta_;
};

// Types texto over the whole text of a box, giving it the focus first when
// it has not got it, then presses the key fin unless it is Qt::Key_unknown.
void teclear(QLineEdit *caja, const QString &texto, Qt::Key fin = Qt::Key_unknown);

// The box of field i of a section in a column, inside w.
CampoTexto *caja(const QWidget *w, Seccion s, int i, Col c = Col::S);

// How many section forms the window has built.
int formulariosConstruidos(const VentanaPrincipal &w);

// The action the window gives its file dialog, on c: read it from the file
// ("abrir") or write it there ("grabar").
AccionArchivo accionSobre(Calculo &c, const QString &modo);

// The category chooser of the window, while it exists.
DialogoTipoVehiculo *elector(VentanaPrincipal &w);
// A new calculation of category k, opened as the user does: "Nuevo
// Cálculo", then the category's button. True when it is open.
bool abrirCategoria(VentanaPrincipal &w, int k = 1);

// Spanish (Spain) as the default locale, and its separators for figures.
void fijarEspanol();
// Shows w and waits for it to be the active window; false when it never is.
bool mostrarActiva(QWidget &w);
// The window's menu item called nombre.
QAction *accion(const VentanaPrincipal &w, const char *nombre);

// The reference data file of category k, in the build.
QString referencia(int k);
// A calculation opened from the reference data of category k.
bool abrirReferencia(Calculo &c, int k);
// The reference data of category k copied to destino (over what is there).
bool copiarCalculo(int k, const QString &destino);
// The reference data, but the file omitir, copied from the build into
// carpeta/Vededizaviro (over what is there).
bool copiarReferencia(const QString &carpeta, const QString &omitir = QString());

} // namespace prueba
} // namespace pelmora
