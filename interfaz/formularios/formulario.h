// The base of the seven section forms shown inside the main window: the
// frames of both columns, the boxes of the fields, the option pairs and the
// titles, all redrawn from the calculation's signals.
#pragma once

#include "calculo/calculo.h"
#include "interfaz/formularios/campo.h"

#include <QPointer>
#include <QRadioButton>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <map>
#include <utility>
#include <vector>

class QGroupBox;
class QLabel;

namespace pelmora {

// Layout measures of the section forms (twips).
namespace medidas {
constexpr int kMargen = 120;        // inside a frame, left and right
constexpr int kArribaMarco = 300;   // first row under a frame's caption
constexpr int kHueco = 90;          // between two boxes of a row
constexpr int kEntreFilas = 60;     // between two rows
constexpr int kAnchoColumna = 5430; // FrameS and FrameO of a data form
constexpr int kIzquierdaS = 120;
constexpr int kIzquierdaO = 5685;
constexpr int kAnchoFormulario = 11235;
constexpr int kArribaColumnas = 300;
constexpr int kAnchoSub = kAnchoColumna - 2 * kMargen; // a frame inside a column frame
constexpr int kAnchoSubSub = kAnchoSub - 2 * kMargen;  // a frame inside that one
} // namespace medidas

class FormularioBase : public QWidget {
    Q_OBJECT
public:
    FormularioBase(Calculo &calculo, Seccion seccion, QWidget *parent);
    ~FormularioBase() override;

    Seccion seccion() const { return seccion_; }
    Calculo &calculo() const { return calculo_; }

    // Redraws every box, button, title and comment from the model.
    virtual void cargar();
    // The form is being shown, printed or brought to the front (the service
    // brings itself up to date with the results here).
    virtual void activar() {}
    // The look the form has on screen: its background and that of its outer
    // frame Frame1.
    void aspectoMostrado(const QColor &fondo, const QColor &marco);
    // The control of the form that last had the focus, if any.
    QWidget *controlActivo() const { return controlActivo_; }

    // The box of field i in a column (null when the form has none).
    CampoTexto *caja(Col c, int i) const;
    QGroupBox *frame1() const { return frame1_; }
    QGroupBox *frameColumna(Col c) const { return frameCol_[static_cast<int>(c)]; }
    // The buttons of an option pair (boton 1 or 2), null when none.
    QRadioButton *boton(Col c, int indice, int boton) const;

    // Width and height of a box for a number of characters, and of the
    // font's lines (twips).
    int anchoCaja(int caracteres) const;
    int altoCaja() const { return altoCaja_; }
    int altoTexto(const QString &texto, int ancho, bool negrita = false) const;

    // A text of the catalogue's entry of field i of the form's section
    // (&CampoInfo::etiqueta, &CampoInfo::columna ...).
    QString textoCampo(int i, const char *CampoInfo::*que) const
    {
        return QString::fromUtf8(campo(seccion_, i).*que);
    }

    // Building blocks, also used by the grid.
    CampoTexto *crearCaja(Col c, int i, QWidget *padre, const QRect &twips);
    QLabel *crearEtiqueta(const QString &texto, QWidget *padre, const QRect &twips,
                          Qt::Alignment alineacion = Qt::AlignLeft | Qt::AlignVCenter, bool negrita = false);
    QGroupBox *crearMarco(QWidget *padre, const QString &nombre, const QString &titulo);

signals:
    // A control of the form got the focus (the main window scrolls it into view).
    void controlEnfocado(QWidget *control);
    // A key went down in a field (the main window scrolls on arrows and pages).
    void teclaScroll(int tecla);

protected:
    // What the calculation announces (its signals).
    virtual void campoCambiado(Col c, Seccion s, int i);
    virtual void opcionCambiada(Col c, Seccion s, int indice);
    virtual void titulosCambiados();
    virtual void comentarioCambiado(Col) {}
    virtual void resultadosCambiados() {}

    // Frame1, FrameS and, when conReferencia, FrameO side by side.
    void crearMarcos(bool conReferencia, int anchoS = medidas::kAnchoColumna);
    // Sizes the column frames to alto twips and the form around them.
    void ajustarTamano(int alto);
    // Frame1 with both column frames, each filled by columna (which returns
    // the height it needs), sized to the taller; then loaded from the model.
    void construirColumnas(const std::function<int(Col)> &columna);

    // An option pair in its frame: buttons "<base>(1)" and "<base>(2)",
    // captioned and named after their group from the catalogue, which also
    // gives the frame its tool tip in the user column.
    void crearPar(Col c, int indice, QWidget *marco, const QString &base, const QRect &twips1, const QRect &twips2);
    // Sets the buttons of a pair from the model and shows what goes with it.
    void ponerOpcion(Col c, int indice);
    virtual void mostrarOpcion(Col, int /*indice*/, bool /*primero*/) {}

    void hideEvent(QHideEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;
    // The focus and the scroll keys of a control that is not a box (the
    // option buttons, the legend and the pies) are followed by the form.
    void seguirFoco(QWidget *w);

    std::array<std::vector<CampoTexto *>, 2> cajas_;
    std::map<std::pair<int, int>, std::array<QRadioButton *, 2>> pares_;
    QGroupBox *frame1_ = nullptr;
    std::array<QGroupBox *, 2> frameCol_{};
    QString titulo_;

private:
    void controlConFoco(QWidget *w);
    void conectarPar(Col c, int indice, QRadioButton *b, int boton);

    Calculo &calculo_;
    Seccion seccion_;
    QWidget *controlActivo_ = nullptr;
    int altoCaja_ = 300;
    // The option button whose activation a refused value cancelled.
    QPointer<QRadioButton> anulada_;
};

// "S" or "O", as the names of a column's controls carry it.
QString letraColumna(Col c);

// Builds the form of a section ("frmCaracteristicas" ... "frmServicio").
FormularioBase *crearFormulario(Seccion seccion, Calculo &calculo, QWidget *parent);

// Each form's own builder, in its file (frmCaracteristicas.cpp ...).
FormularioBase *crearCaracteristicas(Calculo &calculo, QWidget *parent);
FormularioBase *crearCostesFijos1(Calculo &calculo, QWidget *parent);
FormularioBase *crearCostesFijos2(Calculo &calculo, QWidget *parent);
FormularioBase *crearCostesVariables(Calculo &calculo, QWidget *parent);
FormularioBase *crearCostesIndirectos(Calculo &calculo, QWidget *parent);
FormularioBase *crearResultados(Calculo &calculo, QWidget *parent);
FormularioBase *crearServicio(Calculo &calculo, QWidget *parent);

} // namespace pelmora
