// The main window frmMain: menus, the section-button bar Patillas, the two
// scroll strips and the area where the shown section form lives.
#pragma once

#include "calculo/calculo.h"

#include <QColor>
#include <QMainWindow>
#include <QPointer>
#include <array>

class QAction;
class QGroupBox;
class QMenu;
class QPushButton;
class QScrollBar;

namespace pelmora {

class FormularioSeccion;
class DialogoNueva;
class DialogoTipoVehiculo;

// Enabled state of the 25 calculation menu items.
enum class EstadoMenus {
    Apagados,   // all off (start dialog or category chooser up)
    SinCalculo, // only "Nuevo Cálculo" and "Abrir ..." on
    ConCalculo, // everything a calculation needs on, "Nuevo" and "Abrir" off
};

class VentanaPrincipal : public QMainWindow {
    Q_OBJECT
public:
    explicit VentanaPrincipal(QWidget *parent = nullptr);
    ~VentanaPrincipal() override;

    // The main window of the program (owner of the modal dialogs), if any.
    static VentanaPrincipal *principal();

    Calculo &calculo() { return calculo_; }
    const QString &archivoActual() const { return archivoActual_; }
    void fijarArchivoActual(const QString &ruta) { archivoActual_ = ruta; }

    // Opens the section forms of a calculation whose columns are filled.
    void CargarPatillas();
    // Closes the calculation's forms and goes back to the empty state.
    void CerrarPatillas();
    // Shows the form of a section, hiding the one shown before.
    void MostrarSeccion(Seccion s);
    void OcultarSeccion();
    bool HayCambios() const;
    // Gives the keyboard focus back to the active control of the shown form.
    void DevolverFoco();

    // A calculation is open exactly while the bar Patillas is shown.
    bool calculoAbierto() const;
    FormularioSeccion *frmActiva() const { return frmActiva_; }
    FormularioSeccion *formulario(Seccion s) const { return formularios_[ord(s)]; }

    void fijarMenusCalculo(EstadoMenus estado);
    // A menu item by its name ("mnuNuevo" ...), null when there is none.
    QAction *accion(const QString &nombre) const;

    // Scroll bars of the shown section (values in twips).
    void SituarScrollV(FormularioSeccion *f);
    void SituarScrollH(FormularioSeccion *f);
    void CambiarScrollV();
    void CambioScrollH();
    int scrollVResultados() const { return scrollVResultados_; }
    int scrollHResultados() const { return scrollHResultados_; }

    // Size and place the window on the desktop work area.
    void situarVentana();
    // Places a dialog in the middle of the client area (50 when it does not fit).
    void centrarEnCliente(QWidget *dialogo) const;

    // The start dialog frmNueva (shown once, at start-up).
    void mostrarNueva();
    // Opens a calculation file given on the command line.
    bool abrirArchivoInicial(const QString &ruta);

    // Asked before a modified calculation is closed ("Cerrar") or the program
    // ends ("Salir"). True to go on.
    virtual bool preguntarGrabar(const QString &titulo);

public slots:
    void nuevoCalculo();       // mnuNuevo: the category chooser
    void abrirCalculo();       // mnuFileOpen, frmNueva "Cálculo previamente grabado"
    void guardarCalculo();     // mnuFileSave, cmbGrabar
    void guardarCalculoComo(); // mnuFileSaveAs
    void cerrarCalculo();      // mnuCerrar, cmbCerrar
    void imprimirSeccion(pelmora::Seccion s);
    void imprimirResultados();
    void imprimirServicio();
    void imprimirTodo();
    void cortar();
    void copiar();
    void pegar();
    void ayudaContenido();
    void ayudaAcuerdos();
    void acercaDe(); // mnuHelpAbout

protected:
    void closeEvent(QCloseEvent *e) override;
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void crearMenus();
    void crearPatillas();
    void colocarBandas();
    void alAbrirMenu();
    void pintarBotones(Seccion activa);
    void ponerFondoCliente(const QColor &c);
    void destruirFormularios();

    Calculo calculo_;
    QString archivoActual_;

    QWidget *cliente_ = nullptr;  // client area
    QWidget *patillas_ = nullptr; // Patillas
    QGroupBox *frameTodos_ = nullptr;
    std::array<QPushButton *, kNumSecciones> botones_{};
    QPushButton *cmbCerrar_ = nullptr;
    QPushButton *cmbGrabar_ = nullptr;
    QWidget *picVScroll_ = nullptr;
    QWidget *picHScroll_ = nullptr;
    QScrollBar *vScroll1_ = nullptr;
    QScrollBar *hScroll1_ = nullptr;
    QWidget *area_ = nullptr; // where the section form moves

    std::array<FormularioSeccion *, kNumSecciones> formularios_{};
    FormularioSeccion *frmActiva_ = nullptr;
    QColor colorFondo_;
    QColor colorActivo_;
    int scrollVResultados_ = 0;
    int scrollHResultados_ = 0;
    bool situada_ = false;

    QPointer<DialogoNueva> frmNueva_;
    QPointer<DialogoTipoVehiculo> frmTipoVeh_;
};

} // namespace pelmora
