// The help window frmAyuda: shows a compiled help file (.qch) with its
// contents and a search of its pages on the left, the pages on the right.
#pragma once

#include "calculo/secciones.h"

#include <QMainWindow>
#include <QString>
#include <QUrl>
#include <memory>

class QHelpEngine;
class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;
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
    QLineEdit *textoBuscar() const { return textoBuscar_; }
    QListWidget *resultados() const { return resultados_; }
    QLabel *estadoBusqueda() const { return estadoBusqueda_; }

    // Shows a page of the help file (a qthelp:// address or a path inside it).
    void mostrarPagina(const QUrl &url);
    // Shows a page by its file name, in the folder of the first page
    // ("amortizacion.html"); the first page when the name is empty or
    // there is no such page.
    void mostrarPaginaPorNombre(const QString &nombre);

    // Looks the words up in the pages, through the search index kept beside
    // the collection (built when first needed); the pages that hold them
    // are listed under the box, each opening its page.
    void buscar(const QString &texto);

private:
    void soltarMotor();
    void crearBarra();
    QWidget *crearBusqueda();
    void llenarContenido();
    void marcarEnContenido(const QUrl &url);
    void conectarBusqueda();
    void prepararIndice();
    void mostrarResultados(int cuantos);
    void noDisponible();

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
    QTabWidget *pestanas_;
    QLineEdit *textoBuscar_ = nullptr;
    QListWidget *resultados_ = nullptr;
    QLabel *estadoBusqueda_ = nullptr;
    // The search index of the loaded file: being brought up to date, or
    // ready; a search asked for meanwhile waits in pendiente_.
    bool indexando_ = false;
    bool indiceListo_ = false;
    bool sinBusqueda_ = false; // the index cannot be trusted
    QString pendiente_;
    QString buscado_;
    QString comprobacion_; // the word the new index is being checked with
};

// Opens a compiled help file in the help window at a page given by its file
// name, or at its first page (a window already showing the same file is
// brought to the front and shows that page). False when the file is
// missing or damaged; nothing is shown then.
bool abrirAyuda(QWidget *padre, const QString &rutaQch, const QString &pagina = QString());

// "Contenido" and "Acuerdos" of the help menus: open Pelmora.qch (at a page
// of it, or at its contents) or Acuerdos.qch of the program's folder, or
// tell the user it is gone.
void mostrarAyuda(QWidget *padre, const QString &carpetaPrograma, const QString &pagina = QString());
void mostrarAcuerdos(QWidget *padre, const QString &carpetaPrograma);

// The page of Pelmora.qch about the form of a section ("amortizacion.html").
QString paginaAyuda(Seccion s);

} // namespace pelmora
