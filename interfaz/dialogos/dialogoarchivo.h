// frmArchivo: the program's own file dialog for opening and saving
// calculations (*.clc), with a drive list, a folder list, a file list and
// a name box.
#pragma once

#include "archivos/archivo.h"
#include "interfaz/soporte/interceptor.h"

#include <QDialog>
#include <QString>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace pelmora {

// What the window does with the file chosen: reads the calculation from it
// or writes it there. Ninguno when done; otherwise the dialog tells why and
// stays open for another name.
using AccionArchivo = std::function<ErrorArchivo(const QString &ruta)>;

class DialogoArchivo : public QDialog {
    Q_OBJECT
public:
    // modo: "abrir" or "grabar" (kept as the dialog's property "tag").
    // carpeta: the folder the lists start on (see carpetaInicial).
    DialogoArchivo(const QString &modo, const QString &carpeta, AccionArchivo accion, QWidget *parent = nullptr);

    // Where the lists start. For the program's own folder: its Cálculos
    // folder (beside the program, or in the user's documents when the
    // program's folder cannot take it), else the program's folder. For any
    // other folder: its Cálculos subfolder when it exists, else the folder.
    static QString carpetaInicial(const QString &carpetaPrograma);

    QString modo() const;
    bool modoAbrir() const;

    // Folder shown by the folder list, with the platform's separators.
    QString carpeta() const;
    // Moves the folder list (and the file list) to a folder. False, and
    // nothing changes, when the folder does not exist or cannot be read.
    bool fijarCarpeta(const QString &carpeta);
    // Reads the file list again from the current folder.
    void actualizarArchivos();

    // Full path of the file opened or saved, empty until one is.
    QString archivoActual() const { return archivoActual_; }

    QComboBox *drive1() const { return drive1_; }
    QListWidget *dir1() const { return dir1_; }
    QListWidget *file1() const { return file1_; }
    QLineEdit *textArchivo() const { return textArchivo_; }
    QLabel *lblArchivo() const { return lblArchivo_; }
    QPushButton *cmbAceptar() const { return cmbAceptar_; }
    QPushButton *cmbCancelar() const { return cmbCancelar_; }

    // Builds the dialog, runs it modally owned by padre and returns the
    // path of the file opened or saved (empty when cancelled). The action
    // runs on the name accepted, while the dialog is up; in save mode the
    // message that says where the file went comes after it.
    static QString ejecutar(QWidget *padre, const QString &modo, const QString &carpetaPrograma, AccionArchivo accion);

public slots:
    // "Aceptar": checks the name in the name box and runs the action on it.
    void aceptarArchivo();

protected:
    void showEvent(QShowEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    // What differs between opening and saving: the title, the name box,
    // the file list.
    void prepararModo();
    void cambiarUnidad(int indice);
    void situarUnidad();
    void llenarCarpetas();
    void elegirArchivo(QListWidgetItem *item);
    void dobleClicArchivo(QListWidgetItem *item);
    QString carpetaConSeparador() const;
    bool existeEnCarpeta(const QString &nombre) const;

    AccionArchivo accion_;
    QString carpeta_; // absolute, with '/' separators
    QString archivoActual_;

    QComboBox *drive1_;
    QListWidget *dir1_;
    QListWidget *file1_;
    QLineEdit *textArchivo_;
    QLabel *lblArchivo_;
    QPushButton *cmbAceptar_;
    QPushButton *cmbCancelar_;
};

// While set, DialogoArchivo::ejecutar hands the built dialog to this
// function instead of running it; the function drives it (for example
// through aceptarArchivo()).
inline Interceptor<void(DialogoArchivo &dialogo)> interceptorDialogoArchivo;

} // namespace pelmora
