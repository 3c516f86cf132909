// The calculations opened or saved lately, most recent first, kept in the
// user's settings (~/.config/Pelmora/Pelmora.conf on Linux), and the
// submenu "Abiertos recientemente" of "Archivo" that lists them.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QMenu;

namespace pelmora {

constexpr int kMaxRecientes = 8;

// The list, most recent first: each file once, judged by where it really
// is (links followed, however the path is spelt), at most kMaxRecientes.
QStringList archivosRecientes();
// A file opened or saved goes to the head of the list.
void anotarReciente(const QString &ruta);
// A file that has gone leaves the list.
void quitarReciente(const QString &ruta);

// Fills a submenu with the list each time it is shown, or when asked: one
// item a file (mnuReciente1 ...), its name shown and its full path as the
// tip; a single item that is off when the list is empty. Choosing an item
// hands its path to abrir.
class MenuRecientes : public QObject {
public:
    MenuRecientes(QMenu *menu, std::function<void(const QString &)> abrir);
    void actualizar();

private:
    QMenu *menu_;
    std::function<void(const QString &)> abrir_;
};

} // namespace pelmora
