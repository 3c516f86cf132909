// The help window frmAyuda: shows a compiled help file (.qch) with a
// contents list on the left and the pages on the right.
#pragma once

#include <QMainWindow>
#include <QString>
#include <QUrl>
#include <memory>

class QHelpEngine;
class QTemporaryDir;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace pelmora {

class NavegadorAyuda;

class VentanaAyuda : public QMainWindow {
    Q_OBJECT
public:
    explicit VentanaAyuda(QWidget *parent = nullptr);
    ~VentanaAyuda() override;

    // Reads a compiled help file and shows its first topic. False when the
    // file is missing, damaged or holds no pages.
    bool cargar(const QString &rutaQch);

    QString rutaQch() const { return rutaQch_; }
    QUrl paginaInicial() const { return inicio_; }
    QTextBrowser *navegador() const;
    QTreeWidget *contenido() const { return contenido_; }

    // Shows a page of the help file (a qthelp:// address or a path inside it).
    void mostrarPagina(const QUrl &url);

private:
    void llenarContenido();
    void marcarEnContenido(const QUrl &url);

    QString rutaQch_;
    QUrl inicio_;
    // The engine needs a collection file. It is kept in the user's cache
    // folder, one per help file, reused between runs and rebuilt when the
    // help file changes; never beside the program (whose folder may be
    // read-only). Only where the cache cannot be written does it go to a
    // scratch folder, which must outlive the engine.
    std::unique_ptr<QHelpEngine> abrirColeccion(const QString &ruta, const QString &espacio, const QString &huella);
    std::unique_ptr<QTemporaryDir> coleccion_;
    std::unique_ptr<QHelpEngine> motor_;
    NavegadorAyuda *navegador_;
    QTreeWidget *contenido_;
};

// Opens a compiled help file in the help window (a window already showing
// the same file is brought to the front). False when the file is missing
// or damaged; nothing is shown then.
bool abrirAyuda(QWidget *padre, const QString &rutaQch);

// "Contenido" and "Acuerdos" of the help menus: open Pelmora.qch or
// Acuerdos.qch of the program's folder, or tell the user it is gone.
void mostrarAyuda(QWidget *padre, const QString &carpetaPrograma);
void mostrarAcuerdos(QWidget *padre, const QString &carpetaPrograma);

} // namespace pelmora
