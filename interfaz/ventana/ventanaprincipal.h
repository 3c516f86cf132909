// The main window frmMain: the menus (menus.cpp), the section bar Patillas
// (BarraSecciones), and under it the area that shows and scrolls one
// section form (AreaSecciones). This file opens and closes a calculation's
// forms and switches between them; the file commands are in
// ventanaarchivos.cpp, printing in ventanaimpresion.cpp.
#pragma once

#include "archivos/archivo.h"
#include "calculo/calculo.h"
#include "interfaz/soporte/interceptor.h"
#include "interfaz/ventana/menus.h"

#include <QColor>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

namespace pelmora {

class AreaSecciones;
class BarraSecciones;
class CampoTexto;
class DialogoNueva;
class DialogoTipoVehiculo;
class FormularioBase;
class HistorialCambios;
struct LugarCambio;

class VentanaPrincipal : public QMainWindow {
    Q_OBJECT
public:
    explicit VentanaPrincipal(QWidget *parent = nullptr);
    ~VentanaPrincipal() override;

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

    // A calculation is open exactly while the bar Patillas is shown.
    bool calculoAbierto() const;
    // The form shown, none without a calculation.
    FormularioBase *frmActiva() const;
    // The form of a section, built when first asked for; null without a
    // calculation.
    FormularioBase *formulario(Seccion s);
    AreaSecciones *area() const { return area_; }

    // A menu item by its name ("mnuNuevo" ...), null when there is none.
    QAction *accion(const QString &nombre) const;

    // Quick save: to ArchivoActual, or through the save dialog when there
    // is none. True only when the calculation was written.
    bool Grabar();
    // The save dialog; on success ArchivoActual is the new file.
    bool grabarComo();

    // Printing of the section forms, one per page (false when nothing was
    // printed). The field being edited is committed first and editing
    // resumes afterwards.
    bool ImprimirSeccion(Seccion s);
    bool imprimirTodo();
    void exportarPdf();     // mnuExportarPdf
    void vistaPreliminar(); // mnuVistaPreliminar

    // Size and place the window on the desktop work area.
    void situarVentana();

    // The start dialog frmNueva (shown once, at start-up).
    void mostrarNueva();
    // Opens a calculation file given on the command line.
    bool abrirArchivoInicial(const QString &ruta);
    // Reads the reference data of category k (the user's own figures when
    // there are any) as a new calculation; the chooser's action.
    ErrorArchivo cargarCategoria(int k);

    void nuevoCalculo();       // mnuNuevo: the category chooser
    void abrirCalculo();       // mnuFileOpen, frmNueva "Cálculo previamente grabado"
    // mnuReciente1 ...: opens the file as "Abrir ..." does once its dialog
    // has read it; a file that has gone leaves the list.
    void abrirReciente(const QString &ruta);
    void guardarCalculo();     // mnuFileSave, cmbGrabar
    void guardarCalculoComo(); // mnuFileSaveAs
    void cerrarCalculo();      // mnuCerrar, cmbCerrar

    // Undo and redo (ventanahistorial.cpp). In a field being edited they
    // step through its typing first; then through the changes of the
    // calculation, each a committed field or an option switch.
    void deshacer(); // mnuDeshacer
    void rehacer();  // mnuRehacer
    HistorialCambios &historial() { return *historial_; }
    // mnuHelpContents, F1: the help at the page of the shown form, at its
    // contents page without a calculation.
    void mostrarAyudaFormulario();

    // The analyses (ventanaanalisis.cpp).
    void exportarCsv();         // mnuExportarCsv
    void mostrarSensibilidad(); // mnuSensibilidad
    void compararCalculos();    // mnuCompararCalculos

signals:
    // A calculation's forms were opened (true) or closed (false).
    void calculoAbiertoCambiado(bool abierto);

protected:
    void closeEvent(QCloseEvent *e) override;
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    friend class MenusPrincipales;

    void colocarBandas();
    void alAbrirMenu();
    void fijarMenusCalculo(EstadoMenus estado);
    // The title: "Pelmora" without a calculation, else the file's name (or
    // "Sin nombre") with the mark of unsaved changes, and "Pelmora".
    void actualizarTitulo();
    // Wires the undo history to the window, its menu items and its title.
    void conectarHistorial();
    // "Deshacer" and "Rehacer" on while there is something to undo or redo.
    void actualizarMenusHistorial();
    // One step of the calculation's history back (atras) or forward.
    void moverHistorial(bool atras);
    // The focus to the box (or the chosen option button) a step changed,
    // when its form is shown and it takes input.
    void enfocarLugar(const LugarCambio &lugar);
    void ponerFondoCliente(const QColor &c);
    void soltarFoco();
    void destruirFormularios();
    void guardarFormularios(); // hidden, kept for the next calculation
    // Builds the next form not built yet, and goes on from the event loop.
    void construirPendientes();
    // A form takes the look it has on screen (shown or printed).
    void aspectoMostrado(FormularioBase *f);
    // A modeless dialog of the program: centred in the client area, with
    // the calculation menus off while it is up.
    void prepararDialogo(QDialog *d);

    // The field of the shown form whose text is being edited, if any.
    CampoTexto *campoEditado() const;
    // The same, whether or not it holds the focus now: a menu may have
    // taken it for a while, and the edit goes on when it comes back.
    CampoTexto *campoEnEdicion() const;
    // Commits the field being edited before a command. False when its
    // value was refused (its message is shown) and the command must stop.
    bool confirmarEdicion();
    // Asked before a modified calculation is closed ("Cerrar") or the program
    // ends ("Salir"). True to go on.
    bool preguntarGrabar(const QString &titulo);
    // Reads a calculation file and opens its forms; a file that cannot be
    // read is told, as the open dialog tells it.
    ErrorArchivo leerYAbrir(const QString &ruta);
    // Opens the forms of a calculation just read from ruta.
    void abrirLeido(const QString &ruta);
    // The file just opened or saved heads "Abiertos recientemente"; an
    // unnamed calculation (a reference file's) is not listed.
    void anotarArchivoActual();

    // Where a printing goes.
    enum class Destino { Impresora, Pdf, Vista };
    // The forms of the sections, brought up to date and given the look
    // they have on screen, for printing.
    QList<QWidget *> formulariosParaImprimir(const QList<Seccion> &secciones);
    bool imprimir(const QList<Seccion> &secciones, Destino destino);
    QString nombreDocumento() const;

    Calculo calculo_;
    std::unique_ptr<HistorialCambios> historial_; // destroyed before calculo_
    QString archivoActual_;
    // The version of that file opened or last saved: a save over another
    // one (another window or program wrote it meanwhile) asks first.
    HuellaArchivo huellaActual_;
    bool cambiadoEnDisco() const;
    EstadoMenus estadoMenus_ = EstadoMenus::SinCalculo;

    QWidget *cliente_ = nullptr; // client area
    BarraSecciones *barra_ = nullptr;
    AreaSecciones *area_ = nullptr;
    std::unique_ptr<MenusPrincipales> menus_;

    std::array<FormularioBase *, kNumSecciones> formularios_{};
    QColor colorFondo_;
    QColor colorActivo_;
    bool situada_ = false;
    bool construirDespues_ = false; // the forms not built yet, after the next frame

    QPointer<DialogoNueva> frmNueva_;
    QPointer<DialogoTipoVehiculo> frmTipoVeh_;
    // "Deshacer" and "Rehacer", looked for once: their state follows every
    // commit, and looking through the window's objects each time costs more
    // than the commit.
    QPointer<QAction> mnuDeshacer_, mnuRehacer_;
};

// While set, the question asked before saving over a file that changed on
// disk goes to this function, which answers it (true: "Sí").
inline Interceptor<bool(const QString &pregunta)> interceptorCambiadoEnDisco;

} // namespace pelmora
