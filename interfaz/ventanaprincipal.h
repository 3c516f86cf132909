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
class QWheelEvent;

namespace pelmora {

class CampoTexto;
class FormularioBase;
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
    // The file a quick save writes to. A reference data file is never one,
    // however it was reached: the calculation stays unnamed and saving it
    // asks for a name.
    void fijarArchivoActual(const QString &ruta);

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
    FormularioBase *frmActiva() const { return frmActiva_; }
    FormularioBase *formulario(Seccion s) const { return formularios_[ord(s)]; }

    void fijarMenusCalculo(EstadoMenus estado);
    // A menu item by its name ("mnuNuevo" ...), null when there is none.
    QAction *accion(const QString &nombre) const;

    // Scroll bars of the shown section (values in twips).
    void SituarScrollV(FormularioBase *f);
    void SituarScrollH(FormularioBase *f);
    // The focus moved to a control of f: scroll just enough to show it.
    void MoverScrollV(FormularioBase *f);
    void MoverScrollH(FormularioBase *f);
    // VScroll1 to n, clamped to its range.
    void DesplazarScrollV(FormularioBase *f, int n);
    void CambiarScrollV();
    void CambioScrollH();
    // Up, Down, Page Up and Page Down scroll the shown section.
    void TeclaScroll(int tecla);
    // One wheel event over the window: one small step up or down.
    void MouseWheel(int delta);
    // The strips changed size or came into view.
    void RecolocarScrollV();
    void RecolocarScrollH();
    // The wheel of the shown section form: caught on f while it is shown.
    void EngancharRueda(QWidget *f);
    void SoltarRueda(QWidget *f);
    QWidget *formularioConRueda() const { return conRueda_; }
    // The pointer (global position) lies over the window, frame included.
    bool punteroEnVentana(const QPoint &global) const;
    int scrollVResultados() const { return scrollVResultados_; }
    int scrollHResultados() const { return scrollHResultados_; }

    // Quick save: to ArchivoActual, or through the save dialog when there
    // is none. True only when the calculation was written.
    bool Grabar();
    // The save dialog; on success ArchivoActual is the new file.
    bool GrabarComo();

    // Printing of the section forms, one per page (false when nothing was
    // printed). The field being edited is committed first and editing
    // resumes afterwards.
    bool ImprimirSeccion(Seccion s);
    bool ImprimirResultados();
    bool ImprimirServicio();
    bool ImprimirTodo();

    // The field of the shown form whose text is being edited, if any.
    CampoTexto *campoEditado() const;
    // Commits the field being edited before a command. False when its
    // value was refused (its message is shown) and the command must stop.
    bool confirmarEdicion();

    // Size and place the window on the desktop work area.
    void situarVentana();
    // Places a dialog in the middle of the client area (50 when it does not fit).
    void centrarEnCliente(QWidget *dialogo) const;

    // The start dialog frmNueva (shown once, at start-up).
    void mostrarNueva();
    // Opens a calculation file given on the command line.
    bool abrirArchivoInicial(const QString &ruta);

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
    void exportarPdf(); // mnuExportarPdf
    void vistaPreliminar(); // mnuVistaPreliminar
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
    // A wheel event over the window: MouseWheel when the pointer is on it.
    void ruedaSobreVentana(const QWheelEvent *r);
    void pintarBotones(Seccion activa);
    void ponerFondoCliente(const QColor &c);
    void destruirFormularios();
    void conectarFormulario(FormularioBase *f);
    void aspectoMostrado(FormularioBase *f);
    // The forms of the sections, brought up to date and given the look
    // they have on screen, for printing.
    QList<QWidget *> formulariosParaImprimir(const QList<Seccion> &secciones);
    bool imprimir(const QList<Seccion> &secciones, bool enPdf, bool enVista = false);
    QString nombreDocumento() const;
    // Asked before a modified calculation is closed ("Cerrar") or the program
    // ends ("Salir"). True to go on.
    bool preguntarGrabar(const QString &titulo);

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

    std::array<FormularioBase *, kNumSecciones> formularios_{};
    FormularioBase *frmActiva_ = nullptr;
    QColor colorFondo_;
    QColor colorActivo_;
    int scrollVResultados_ = 0;
    int scrollHResultados_ = 0;
    bool situada_ = false;
    QPointer<QWidget> conRueda_; // the form whose wheel is caught

    QPointer<DialogoNueva> frmNueva_;
    QPointer<DialogoTipoVehiculo> frmTipoVeh_;
};

} // namespace pelmora
