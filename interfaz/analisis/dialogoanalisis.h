// What the analysis windows share: a modeless window over the main one in
// the program's own colours, and the row of buttons at its foot that print
// its pages, preview them, and export them to PDF or its figures to CSV.
#pragma once

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QString>

class QHBoxLayout;
class QPushButton;

namespace pelmora {

class DialogoAnalisis : public QDialog {
    Q_OBJECT
public:
    // The printed pages, owned by the caller.
    virtual QList<QWidget *> paginas() const = 0;

    void imprimir();
    void vistaPreliminar();
    void exportarPdf();
    void exportarCsv();

protected:
    DialogoAnalisis(const QString &nombre, const QString &titulo, QWidget *padre);

    // The document printed and the name of the files proposed (no extension).
    virtual QString documento() const = 0;
    // The CSV file's bytes.
    virtual QByteArray csv() const = 0;

    // The buttons at the foot: Imprimir, Vista preliminar..., Exportar a
    // PDF..., Exportar a CSV..., and Cerrar on the right.
    QHBoxLayout *crearBotones();
    // The four that print or export.
    const QList<QPushButton *> &salidas() const { return salidas_; }
    // As large as asked, within the screen.
    void dimensionar(int ancho, int alto);

private:
    QList<QPushButton *> salidas_;
};

} // namespace pelmora
