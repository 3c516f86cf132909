// Base of the seven section forms shown inside the main window.
#pragma once

#include "calculo/calculo.h"

#include <QWidget>

namespace pelmora {

class FormularioSeccion : public QWidget {
    Q_OBJECT
public:
    FormularioSeccion(Calculo &calculo, Seccion seccion, QWidget *parent = nullptr);
    ~FormularioSeccion() override;

    Seccion seccion() const { return seccion_; }
    Calculo &calculo() const { return calculo_; }

    // Redraws every box, button, title and comment from the model.
    virtual void cargar() = 0;
    // The form is being shown or brought to the front (the service brings
    // itself up to date with the results here).
    virtual void activar() {}
    // The control of the form that last had the focus, if any.
    QWidget *controlActivo() const { return controlActivo_; }

signals:
    // A control of the form got the focus (the main window scrolls it into view).
    void controlEnfocado(QWidget *control);
    // A key went down in a field (the main window scrolls on arrows and pages).
    void teclaScroll(int tecla);

protected:
    void recordarControlActivo(QWidget *w) { controlActivo_ = w; }

private:
    Calculo &calculo_;
    Seccion seccion_;
    QWidget *controlActivo_ = nullptr;
};

// Builds the form of a section ("frmCaracteristicas" ... "frmServicio").
FormularioSeccion *CrearFormulario(Seccion seccion, Calculo &calculo, QWidget *parent);

} // namespace pelmora
