// "Importar cifras de referencia..." and "Restablecer cifras de referencia"
// of the menu "Vededizaviro de Costes": the user's own reference figures of
// a category replace the installed ones (archivos/referencia.h), or go.
#pragma once

#include "calculo/columna.h"
#include "interfaz/soporte/interceptor.h"

#include <QDialog>
#include <QString>
#include <array>

class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;

namespace pelmora {

// The commands, owned by padre; true when a file was written or removed.
// carpetaInstalada is the installed reference folder.
bool importarCifrasReferencia(QWidget *padre, const QString &carpetaInstalada);
bool restablecerCifrasReferencia(QWidget *padre, const QString &carpetaInstalada);

// What an import changes: the category (preselected from the seats of the
// new figures) and, side by side, the date, description, seats, total annual
// cost and C1 to C5 of the category's current reference and of the new one.
class DialogoImportarReferencia : public QDialog {
    Q_OBJECT
public:
    // s, o: the columns of the file the import would write.
    DialogoImportarReferencia(QWidget *padre, const QString &ruta, const Columna &s, const Columna &o,
                              const QString &carpetaInstalada);
    int categoria() const; // -1 while none is chosen
    void elegirCategoria(int k);
    // Row r of the comparison (0 date, 1 description, 2 seats, 3 total, 4..8 C1..C5).
    QString actual(int r) const;
    QString nueva(int r) const;
    static constexpr int kFilas = 9;

private:
    void mostrarActual();
    QGroupBox *crearCambios(const std::array<QString, kFilas> &nuevas);

    QString carpetaInstalada_;
    double plazas_ = 0;
    std::array<QRadioButton *, 4> opciones_{};
    std::array<QLabel *, kFilas> actual_{}, nueva_{};
    QLabel *lblOrigen_ = nullptr;
    QLabel *lblAviso_ = nullptr;
    QPushButton *cmbImportar_ = nullptr;
};

// The category (or all) whose own figures go, those without any disabled.
class DialogoRestablecerReferencia : public QDialog {
    Q_OBJECT
public:
    explicit DialogoRestablecerReferencia(QWidget *padre);
    int categoria() const; // -1: every category; -2 none chosen
    void elegirCategoria(int k);

private:
    std::array<QRadioButton *, 5> opciones_{}; // the four categories, then all
    QPushButton *cmbRestablecer_ = nullptr;
};

// The file dialog of the import asks this hook instead while it is set
// (empty: cancelled), and the dialogs of both commands are run by the other
// one instead of exec(), which returns the dialog's result. The question
// before a reset is a question of comunes.h.
inline Interceptor<QString()> interceptorArchivoReferencia;
inline Interceptor<int(QDialog &)> interceptorDialogoReferencia;

} // namespace pelmora
