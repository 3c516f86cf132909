// The text box of one field of a section: shows the value of the model and,
// in the user column, takes the typed entry (filter, commit, validation).
#pragma once

#include "calculo/calculo.h"
#include "interfaz/soporte/interceptor.h"

#include <QColor>
#include <QLineEdit>

namespace pelmora {

class SesionEdicion;

class CampoTexto : public QLineEdit {
    Q_OBJECT
public:
    // A box of field `indice` of a section in a column. Its object name is
    // the name of its array and the index: "TextSC(9)", "TextOF1(7)" ...
    CampoTexto(Calculo &calculo, Col col, Seccion seccion, int indice, QWidget *parent = nullptr);

    Col columna() const { return col_; }
    Seccion seccion() const { return seccion_; }
    int indice() const { return indice_; }
    int decimales() const { return decimales_; }
    // The boxes of the user column take input; the reference column never does.
    bool admiteEntrada() const { return col_ == Col::S; }
    // True between entering the field and showing its display text again.
    // Only the box that holds the focus is ever being edited; a box that
    // turns derived ends its edit.
    bool editando() const { return editando_; }

    // Redraws the box from the model: its look, and the display text unless
    // the box is being edited (its typed text is kept then).
    void mostrar();
    // Input look (enabled, window background, regular font) or derived look
    // (disabled, button-face background, bold).
    void aplicarAspecto(bool entrada);
    // Colours of the derived look (text and background), for the rows that
    // have their own.
    void fijarColoresDerivado(const QColor &texto, const QColor &fondo);

    // Field entry. EntrarCampo remembers the value (in the window's edit
    // session, sesionedicion.h) and shows the editing text with the caret
    // at the start. SalirCampo reads the text, commits it and reports a
    // refusal; as Enter does (conEnter), the field then stays in edit and
    // shows the editing text again, otherwise it shows the display text.
    // True when accepted.
    void EntrarCampo();
    bool SalirCampo(bool conEnter);
    // One step back (atras) or forward through what was typed since the
    // edit began or since Enter, with nothing selected afterwards. Undo and
    // redo keys do this while there is such a step (isUndoAvailable,
    // isRedoAvailable); otherwise they are left to the main window.
    void deshacerTecleo(bool atras);

    // Name of the box array of a section in a column ("TextSC", "TextOV" ...).
    static QString nombreArray(Col col, Seccion seccion);
    // The edit session of the box's window.
    SesionEdicion &sesion() const;
    // A commit that was running is over and the focus came here meanwhile:
    // the edit starts, if the box still holds the focus and may take it.
    void entrarTrasConfirmar();

signals:
    // The box got the focus, or a character was typed (scroll it into view).
    void enfocado(QWidget *control);
    // Up, Down, Page Up or Page Down went down in the box.
    void teclaScroll(int tecla);

protected:
    bool event(QEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    // Tab and Shift+Tab validate and commit before the next control is chosen.
    bool focusNextPrevChild(bool siguiente) override;

private:
    void filtrarCaracter(QChar c);
    void ponerTexto(const QString &t);
    // Typed text in, through the box's own undo history.
    void reemplazarTexto(const QString &nuevo);
    // An undo or redo key that the box takes for its own typing.
    bool deshacerPropio(const QKeyEvent *k) const;

    Calculo &calculo_;
    Col col_;
    Seccion seccion_;
    int indice_;
    int decimales_;
    int longitud_;
    bool editando_ = false;
    bool entrada_ = true;
    bool aspectoFijado_ = false;
    QColor textoDerivado_;
    QColor fondoDerivado_;
};

// While set, a refused keystroke calls this function instead of beeping.
inline Interceptor<void()> interceptorPitidos;

} // namespace pelmora
