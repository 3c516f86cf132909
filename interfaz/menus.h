// The menu bar of the main window, built from one table: its menus, their
// items in order, what each item does, and when each is on.
#pragma once

#include <QList>
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
