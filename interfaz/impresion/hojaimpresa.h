// The printed pages of the analysis windows: a title over blocks placed one
// under another (a chart, a table), on white paper with black text whatever
// the desktop's colours. They go to the printer, the preview and PDF files
// through the program's printing (impresion.h), one page widget per page.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

namespace pelmora {

// A table as text, as a window shows it and a page prints it.
struct TablaTexto {
    QStringList cabecera;
    std::vector<QStringList> filas;
    std::vector<bool> numerica; // per column: figures, aligned right and never wrapped
};

// The size of a page widget: the printable area of an A4 page (10 points of
// margin) at 96 pixels per inch, so that it fills the page at its own size.
constexpr int kAnchoHoja = 767;
constexpr int kAltoHoja = 1096;

// A table painted as printed: a bold heading row on grey, thin rules, texts
// wrapped within their columns.
class TablaImpresa : public QWidget {
public:
    // anchos: the columns' widths when they are given (the pages of one
    // table share them), else they come from the texts.
    TablaImpresa(const TablaTexto &tabla, QWidget *parent = nullptr, std::vector<double> anchos = {});
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int ancho) const override;
    QSize sizeHint() const override { return QSize(kAnchoHoja, heightForWidth(kAnchoHoja)); }

    // The widths of the columns at a width, and the height of each row
    // (the heading first) at those widths.
    std::vector<double> anchos(int ancho) const;
    std::vector<double> altos(const std::vector<double> &anchos) const;

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    TablaTexto tabla_;
    std::vector<double> anchosFijos_;
};

// One page: its title, a line under it, then the blocks at the page's width.
class HojaImpresa : public QWidget {
public:
    HojaImpresa(const QString &titulo, const QString &subtitulo, QWidget *parent = nullptr);
    // A block under the last one, at the page's width and the height given,
    // or else the height it asks for at that width.
    void anadir(QWidget *bloque, int alto = -1);
    // The height left for blocks on the page.
    int altoLibre() const;

private:
    int abajo_ = 0; // where the next block goes
};

// The pages of a table under a title: as many rows on each page as fit
// below the blocks already there (the first page may hold a chart), the
// heading repeated on every page.
QList<QWidget *> paginasTabla(const QString &titulo, const QString &subtitulo, const TablaTexto &tabla,
                              HojaImpresa *primera = nullptr);

} // namespace pelmora
