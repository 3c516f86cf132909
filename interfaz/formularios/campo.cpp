#include "interfaz/formularios/campo.h"

#include "entrada/numeros.h"
#include "interfaz/dialogos/mensaje.h"
#include "interfaz/formularios/sesionedicion.h"
#include "interfaz/soporte/colores.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

namespace pelmora {

namespace {

void pitar()
{
    if (interceptorPitidos)
        interceptorPitidos();
    else
        QApplication::beep();
}

bool esMenu(Qt::FocusReason r) { return r == Qt::PopupFocusReason || r == Qt::MenuBarFocusReason; }

bool esDeshacer(const QKeyEvent *k) { return k->matches(QKeySequence::Undo); }
bool esRehacer(const QKeyEvent *k)
{
    return k->matches(QKeySequence::Redo) || k->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y);
}

} // namespace

QString CampoTexto::nombreArray(Col col, Seccion seccion)
{
    return QStringLiteral("Text") + (col == Col::S ? QLatin1Char('S') : QLatin1Char('O')) +
           QLatin1String(datosSeccion(seccion).codigo);
}

SesionEdicion &CampoTexto::sesion() const { return SesionEdicion::de(this); }

void CampoTexto::entrarTrasConfirmar()
{
    const SesionEdicion &s = sesion();
    if (hasFocus() && isEnabled() && !editando_ && !(s.devolviendo() && !s.devolviendoA(this))) {
        EntrarCampo();
        emit enfocado(this);
    }
}

CampoTexto::CampoTexto(Calculo &calculo, Col col, Seccion seccion, int indice, QWidget *parent)
    : QLineEdit(parent), calculo_(calculo), col_(col), seccion_(seccion), indice_(indice)
{
    const CampoInfo &info = campo(seccion, indice);
    decimales_ = info.decimales;
    longitud_ = info.longitud;
    setObjectName(nombreArray(col, seccion) + QStringLiteral("(%1)").arg(indice));
    // The number of decimals, as the forms and the printing read it.
    setProperty("Tag", QString::number(decimales_));
    setProperty("decimales", decimales_);
    setAlignment((info.esTexto() ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    if (col == Col::S && info.ayuda && *info.ayuda)
        setToolTip(QString::fromUtf8(info.ayuda));
    // Read out by its row and column, not by the frame around it; the tool
    // tip says what it holds, in both columns.
    QString nombre = nombreCampo(seccion, indice);
    if (col == Col::O)
        nombre += QStringLiteral(", ") + QString::fromUtf8(tituloDeColumna(col));
    setAccessibleName(nombre);
    setAccessibleDescription(QString::fromUtf8(info.ayuda));
    // Typed text goes through the key filter only.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setAcceptDrops(false);
    aplicarAspecto(calculo.estado(col, seccion, indice).entrada);
}

void CampoTexto::fijarColoresDerivado(const QColor &texto, const QColor &fondo)
{
    textoDerivado_ = texto;
    fondoDerivado_ = fondo;
    aspectoFijado_ = false;
    aplicarAspecto(entrada_);
}

void CampoTexto::aplicarAspecto(bool entrada)
{
    if (col_ != Col::S)
        entrada = false;
    if (aspectoFijado_ && entrada == entrada_)
        return;
    aspectoFijado_ = true;
    entrada_ = entrada;
    // A derived box takes no entry: an edit it was in ends here, and the
    // display text follows (mostrar).
    if (!entrada)
        editando_ = false;

    // White input boxes and grey derived ones, with black text, on any desktop.
    QPalette p = paletaPrograma();
    QFont f = font();
    if (entrada) {
        f.setBold(false);
    } else {
        const QColor fondo = fondoDerivado_.isValid() ? fondoDerivado_ : p.color(QPalette::Active, QPalette::Button);
        const QColor texto = textoDerivado_.isValid() ? textoDerivado_ : p.color(QPalette::Active, QPalette::Text);
        for (auto g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            p.setColor(g, QPalette::Base, fondo);
            p.setColor(g, QPalette::Text, texto);
        }
        f.setBold(true);
    }
    setPalette(p);
    setFont(f);
    setEnabled(entrada);
}

void CampoTexto::ponerTexto(const QString &t)
{
    if (text() != t)
        setText(t);
    // A long text shows from its start.
    if (!hasFocus())
        setCursorPosition(0);
}

void CampoTexto::mostrar()
{
    aplicarAspecto(calculo_.estado(col_, seccion_, indice_).entrada);
    if (!editando_)
        ponerTexto(calculo_.textoMostrado(col_, seccion_, indice_));
}

void CampoTexto::EntrarCampo()
{
    const Valor &v = calculo_.columnaS()(seccion_, indice_);
    sesion().fijarValorAnterior(v);
    editando_ = true;
    const QString t = textoEdicion(v, decimales_);
    // Each edit starts with nothing of the box's own to undo.
    if (text() != t || isUndoAvailable() || isRedoAvailable())
        setText(t);
    deselect();
    setCursorPosition(0);
}

bool CampoTexto::SalirCampo(bool conEnter)
{
    if (!admiteEntrada())
        return true;
    const Valor nuevo = LeerCampo(text(), decimales_);
    SesionEdicion &s = sesion();
    const Valor anterior = s.valorAnterior();
    SesionEdicion::Confirmacion confirmando(s);
    const Validacion v = calculo_.ConfirmarCampo(seccion_, indice_, nuevo, anterior);
    if (conEnter) {
        EntrarCampo();
    } else {
        editando_ = false;
        ponerTexto(calculo_.textoMostrado(col_, seccion_, indice_));
    }
    if (v.rechazado) {
        MostrarMensaje(v.mensaje, QStringLiteral("Error"), this);
        // Enter keeps the field: its window comes back from the message.
        if (conEnter && isVisible() && !window()->isActiveWindow())
            window()->activateWindow();
    }
    return !v.rechazado;
}

void CampoTexto::deshacerTecleo(bool atras)
{
    if (atras)
        undo();
    else
        redo();
    // Nothing selected: a control key pressed next deletes no text.
    deselect();
}

bool CampoTexto::deshacerPropio(const QKeyEvent *k) const
{
    return editando_ && ((esDeshacer(k) && isUndoAvailable()) || (esRehacer(k) && isRedoAvailable()));
}

bool CampoTexto::event(QEvent *e)
{
    // The clipboard keys belong to the main window's edit menu; so do undo
    // and redo once the box has no typing of its own to undo or redo.
    if (e->type() == QEvent::ShortcutOverride && admiteEntrada()) {
        auto *k = static_cast<QKeyEvent *>(e);
        if (deshacerPropio(k)) {
            e->accept();
            return true;
        }
        if (k->matches(QKeySequence::Cut) || k->matches(QKeySequence::Copy) || k->matches(QKeySequence::Paste) ||
            esDeshacer(k) || esRehacer(k)) {
            e->ignore();
            return true;
        }
    }
    return QLineEdit::event(e);
}

void CampoTexto::focusInEvent(QFocusEvent *e)
{
    QLineEdit::focusInEvent(e);
    if (!admiteEntrada())
        return;
    SesionEdicion &s = sesion();
    if (s.devolviendo() && !s.devolviendoA(this))
        return; // the focus only passes through on its way back
    s.devuelto(this);
    // The focus came here while a commit enabled and disabled boxes (or
    // its message was out): the edit starts once the commit is over.
    if (s.confirmando()) {
        if (!editando_)
            s.esperar(this);
        return;
    }
    // A menu or the context menu took the focus for a moment: the typed
    // text and the selection stay as they were.
    if (!(esMenu(e->reason()) && editando_))
        EntrarCampo();
    emit enfocado(this);
}

void CampoTexto::focusOutEvent(QFocusEvent *e)
{
    QLineEdit::focusOutEvent(e);
    if (!admiteEntrada() || !editando_ || esMenu(e->reason()))
        return;
    SesionEdicion &s = sesion();
    if (s.confirmando())
        return; // the message of a commit took the focus
    QWidget *nuevo = QApplication::focusWidget();
    const bool mismaVentana = isVisible() && e->reason() != Qt::ActiveWindowFocusReason && nuevo && nuevo != this &&
                              nuevo->window() == window();
    if (!mismaVentana) {
        SalirCampo(false);
        return;
    }

    // The focus moves to another control of the window: a refused value
    // keeps the field, which shows its old value to be edited again.
    const Valor nuevoValor = LeerCampo(text(), decimales_);
    const Valor anterior = s.valorAnterior();
    {
        SesionEdicion::Confirmacion confirmando(s);
        const Validacion v = calculo_.ConfirmarCampo(seccion_, indice_, nuevoValor, anterior);
        if (!v.rechazado) {
            editando_ = false;
            ponerTexto(calculo_.textoMostrado(col_, seccion_, indice_));
            return;
        }
        s.devolverA(this);
        EntrarCampo();
        MostrarMensaje(v.mensaje, QStringLiteral("Error"), this);
    }
    QPointer<CampoTexto> yo(this);
    QTimer::singleShot(0, this, [yo, sesion = QPointer<SesionEdicion>(&s)] {
        if (sesion)
            sesion->devuelto(yo);
        if (yo && yo->isVisible() && yo->isEnabled()) {
            if (!yo->window()->isActiveWindow())
                yo->window()->activateWindow();
            yo->setFocus(Qt::OtherFocusReason);
        }
    });
}

bool CampoTexto::focusNextPrevChild(bool siguiente)
{
    const SesionEdicion &s = sesion();
    if (!admiteEntrada() || !editando_ || !hasFocus() || s.confirmando() || s.devolviendo())
        return QLineEdit::focusNextPrevChild(siguiente);
    // The value is validated and committed while the focus is still here,
    // so that the control chosen next is one the commit left enabled (or
    // has just enabled); a refused value keeps the focus, as Enter does.
    if (!SalirCampo(true))
        return true;
    // Committed once: the focus change that follows has nothing to commit.
    editando_ = false;
    const bool movido = QLineEdit::focusNextPrevChild(siguiente);
    if (hasFocus())
        EntrarCampo();
    else
        ponerTexto(calculo_.textoMostrado(col_, seccion_, indice_));
    return movido;
}

void CampoTexto::keyPressEvent(QKeyEvent *e)
{
    if (!admiteEntrada()) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit enfocado(this);
        SalirCampo(true);
        e->accept();
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // The arrows scroll the section; they never move between fields.
        emit teclaScroll(e->key());
        e->accept();
        return;
    case Qt::Key_Backspace:
        emit enfocado(this);
        QLineEdit::keyPressEvent(e);
        return;
    default:
        break;
    }
    // The clipboard keys that the edit menu did not take are the box's own,
    // and so are undo and redo of what was typed since the edit began (or
    // since Enter); with nothing of that left, undo, redo, select all and
    // other control characters are refused below.
    if (e->matches(QKeySequence::Cut) || e->matches(QKeySequence::Copy) || e->matches(QKeySequence::Paste)) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    if (deshacerPropio(e)) {
        deshacerTecleo(esDeshacer(e));
        e->accept();
        return;
    }
    const QString t = e->text();
    Qt::KeyboardModifiers mods = e->modifiers();
    if (t.isEmpty()) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    const QChar c = t.at(0);
    if (mods & (Qt::AltModifier | Qt::MetaModifier)) {
        // Control and Alt together is AltGr: its character is typed. Alt
        // alone types nothing into the box (menus and mnemonics use it).
        const bool altGr = (mods & Qt::ControlModifier) && (mods & Qt::AltModifier) && !(mods & Qt::MetaModifier);
        if (!altGr) {
            if (c.isPrint())
                e->ignore();
            else
                QLineEdit::keyPressEvent(e);
            return;
        }
        mods &= ~(Qt::ControlModifier | Qt::AltModifier);
    }
    const bool caracter = c.isPrint() || c == QChar(27) || ((mods & Qt::ControlModifier) && c.unicode() < 32);
    if (!caracter) {
        QLineEdit::keyPressEvent(e); // Delete and the like
        return;
    }
    emit enfocado(this);
    if (mods & Qt::ControlModifier) {
        // Control and a key is one control character (Ctrl+A is 1).
        filtrarCaracter(c.unicode() < 32 ? c : QChar(c.toUpper().unicode() & 0x1F));
    } else {
        for (const QChar ch : t)
            filtrarCaracter(ch);
    }
    e->accept();
}

void CampoTexto::filtrarCaracter(QChar c)
{
    EstadoTexto antes;
    antes.texto = text();
    antes.cursor = cursorPosition();
    if (hasSelectedText()) {
        antes.inicioSeleccion = selectionStart();
        antes.largoSeleccion = static_cast<int>(selectedText().size());
    } else {
        antes.inicioSeleccion = antes.cursor;
    }
    ResultadoTecla r = FiltrarTeclaNumero(antes, c, decimales_, longitud_);
    bool pitido = !r.aceptada;
    // A free text takes a control character without writing it, and never
    // grows past the field's length while typing (the numeric rules keep
    // numbers within it by themselves).
    if (r.aceptada && decimales_ < 0) {
        const bool control = c.unicode() < 32 || c.unicode() == 127;
        if (control || r.estado.texto.size() > longitud_) {
            r.estado.texto.remove(r.estado.cursor - 1, 1);
            r.estado.cursor -= 1;
            r.estado.inicioSeleccion = r.estado.cursor;
            pitido = !control;
        }
    }
    if (text() != r.estado.texto)
        reemplazarTexto(r.estado.texto);
    setCursorPosition(r.estado.cursor);
    if (pitido)
        pitar();
}

void CampoTexto::reemplazarTexto(const QString &nuevo)
{
    // Only the span that differs is replaced, as typing would, so that the
    // box's own undo steps back through what was typed.
    const QString viejo = text();
    qsizetype inicio = 0;
    while (inicio < viejo.size() && inicio < nuevo.size() && viejo[inicio] == nuevo[inicio])
        ++inicio;
    qsizetype fin = 0;
    while (fin < viejo.size() - inicio && fin < nuevo.size() - inicio &&
           viejo[viejo.size() - 1 - fin] == nuevo[nuevo.size() - 1 - fin])
        ++fin;
    setSelection(static_cast<int>(inicio), static_cast<int>(viejo.size() - inicio - fin));
    insert(nuevo.mid(inicio, nuevo.size() - inicio - fin));
}

} // namespace pelmora
