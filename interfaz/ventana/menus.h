// The menu bar of the main window, built from one table: its menus, their
// items in order, what each item does, and when each is on.
#pragma once

#include <QList>
#include <QString>
#include <utility>

class QAction;
class QMenuBar;

namespace pelmora {

class MenuRecientes;
class VentanaPrincipal;

// Enabled state of the items that go on and off with the calculation.
enum class EstadoMenus {
    Apagados,   // all off (start dialog or category chooser up)
    SinCalculo, // only "Nuevo Cálculo" and "Abrir ..." on
    ConCalculo, // everything a calculation needs on, "Nuevo" and "Abrir" off
};

// The mnemonics of one menu, or of the menu bar: the Alt key and a letter
// reach each caption. A caption gets the first letter of one of its words
// that no earlier caption of the same menu has taken (numbers and words of
// three letters or more before the shorter words), else the first free
// letter anywhere in it. Only A-Z and 0-9 are taken, the keys that type
// them on any layout. The caption keeps its words: the mark is an '&'
// before the letter, and an '&' of the caption itself is doubled. A menu
// built at run time marks its items through one of its own.
class Mnemonicos {
public:
    QString marcar(const QString &titulo);

private:
    QString tomadas_; // upper case
};

// A caption as shown: the mnemonic mark taken out, a doubled '&' single.
QString sinMnemonico(const QString &texto);

class MenusPrincipales {
public:
    // Fills the menu bar; every item runs its command on the window.
    MenusPrincipales(VentanaPrincipal &ventana, QMenuBar *barra);

    void fijar(EstadoMenus estado);
    // "Abiertos recientemente" lists the files again.
    void actualizarRecientes();

private:
    // The items that go on and off, and whether they are on with a
    // calculation open (false for "Nuevo Cálculo" and "Abrir ...").
    QList<std::pair<QAction *, bool>> conmutables_;
    MenuRecientes *recientes_ = nullptr; // owned by its submenu
};

} // namespace pelmora
