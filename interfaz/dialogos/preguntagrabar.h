// frmPreguntaGrabar: the question asked before a modified calculation is
// closed or the program ends.
#pragma once

#include "interfaz/soporte/interceptor.h"

#include <QDialog>
#include <QString>
#include <functional>

class QLabel;
class QPushButton;

namespace pelmora {

class PreguntaGrabar : public QDialog {
    Q_OBJECT
public:
    enum Respuesta { Si, No, Cancelar };

    // titulo: "Cerrar" when closing the calculation, "Salir" when leaving.
    explicit PreguntaGrabar(const QString &titulo, QWidget *parent = nullptr);

    // Cancelar until "Si" or "No" is pressed (the close box leaves it so).
    Respuesta respuesta() const { return respuesta_; }

    QLabel *lblMensaje() const { return lblMensaje_; }
    QLabel *picPregunta() const { return picPregunta_; }
    QPushButton *cmbSi() const { return cmbSi_; }
    QPushButton *cmbNo() const { return cmbNo_; }
    QPushButton *cmbCancelar() const { return cmbCancelar_; }

private:
    void responder(Respuesta r);

    Respuesta respuesta_ = Cancelar;
    QLabel *lblMensaje_;
    QLabel *picPregunta_;
    QPushButton *cmbSi_;
    QPushButton *cmbNo_;
    QPushButton *cmbCancelar_;
};

// The whole decision before closing: asks the question (modal, owned by
// padre) and returns true when the caller may go on. "Si" saves through
// grabar() and goes on only when it returns true (a cancelled save dialog
// or a failed write stops the close); "No" goes on; "Cancelar" and the
// close box stop.
bool preguntarGrabar(QWidget *padre, const QString &titulo, std::function<bool()> grabar);

// While set, preguntarGrabar asks this function instead of showing the
// dialog; it receives the caption.
inline Interceptor<PreguntaGrabar::Respuesta(const QString &titulo)> interceptorPregunta;

} // namespace pelmora
