#include "interfaz/dialogos/mensaje.h"

#include "interfaz/dialogos/dialogos.h"
#include "interfaz/soporte/twips.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace pelmora {

DialogoMensaje::DialogoMensaje(const QString &texto, const QString &titulo, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmMensaje"));
    setModal(true);
    setWindowTitle(titulo);
    letraDeRejilla(this);

    auto *frame1 = new QGroupBox(this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    lblMensaje_ = new QLabel(QStringLiteral("Mensaje"), frame1);
    lblMensaje_->setObjectName(QStringLiteral("lblMensaje"));
    lblMensaje_->setAlignment(Qt::AlignCenter);
    lblMensaje_->setWordWrap(true);
    // The text is shown as it is, never read as markup.
    lblMensaje_->setTextFormat(Qt::PlainText);
    lblMensaje_->setText(texto);

    picAlarma_ = new QLabel(this);
    picAlarma_->setObjectName(QStringLiteral("picAlarma"));
    picAlarma_->setGeometry(twRect(0, 0, 480, 480));
    picAlarma_->setPixmap(imagenPrograma(QStringLiteral("alarma"), picAlarma_->size()));
    picInformacion_ = new QLabel(this);
    picInformacion_->setObjectName(QStringLiteral("picInformacion"));
    picInformacion_->setGeometry(twRect(660, 0, 480, 480));
    picInformacion_->setPixmap(imagenPrograma(QStringLiteral("informacion"), picInformacion_->size()));

    QLabel *dibujo = nullptr;
    if (titulo == u"Error")
        dibujo = picAlarma_;
    else if (titulo == u"Grabar" || titulo == u"Autor")
        dibujo = picInformacion_;
    picAlarma_->setVisible(dibujo == picAlarma_);
    picInformacion_->setVisible(dibujo == picInformacion_);

    cmbAceptar_ = new QPushButton(QStringLiteral("Aceptar"), this);
    cmbAceptar_->setObjectName(QStringLiteral("cmbAceptar"));
    cmbAceptar_->setDefault(true);
    connect(cmbAceptar_, &QPushButton::clicked, this, &QDialog::accept);
    // The focus goes to the button: it carries the message to a screen
    // reader, as the window does; the pictures say what kind it is.
    setAccessibleDescription(texto);
    cmbAceptar_->setAccessibleDescription(texto);
    picAlarma_->setAccessibleName(QStringLiteral("Error"));
    picInformacion_->setAccessibleName(QStringLiteral("Información"));

    // Layout: picture, frame with the text, button; the text sets the width
    // when a line of it is longer than the usual box.
    const int margen = tw(120);
    int anchoTexto = tw(4400);
    const QFontMetrics fm(lblMensaje_->font());
    QString sinRetornos = texto;
    sinRetornos.remove(QLatin1Char('\r'));
    for (const QString &linea : sinRetornos.split(QLatin1Char('\n')))
        anchoTexto = std::max(anchoTexto, fm.horizontalAdvance(linea) + tw(60));
    if (const QScreen *pantalla = QGuiApplication::primaryScreen())
        anchoTexto = std::min(anchoTexto, pantalla->availableGeometry().width() - tw(1200));
    int altoTexto = lblMensaje_->heightForWidth(anchoTexto);
    if (altoTexto <= 0)
        altoTexto = fm.boundingRect(QRect(0, 0, anchoTexto, 10000), Qt::TextWordWrap, sinRetornos).height();

    // The picture keeps its top edge and moves 2200 twips from the left.
    int y = margen;
    if (dibujo) {
        dibujo->move(tw(2200), 0);
        y = dibujo->height() + margen;
    }
    frame1->setGeometry(margen, y, anchoTexto + 2 * margen, altoTexto + 2 * margen);
    lblMensaje_->setGeometry(margen, margen, anchoTexto, altoTexto);
    y += frame1->height() + margen;
    const int anchoCliente = frame1->width() + 2 * margen;
    cmbAceptar_->setGeometry((anchoCliente - tw(1215)) / 2, y, tw(1215), tw(375));
    y += cmbAceptar_->height() + margen;
    setFixedSize(anchoCliente, y);
    cmbAceptar_->setFocus();
}

void MostrarMensaje(const QString &texto, const QString &titulo, QWidget *cerca)
{
    if (interceptorMensajes) {
        interceptorMensajes(texto, titulo);
        return;
    }
    QWidget *dueno = cerca;
    while (dueno && dueno->parentWidget())
        dueno = dueno->parentWidget();
    if (!dueno || !dueno->isVisible())
        dueno = QApplication::activeWindow();
    DialogoMensaje d(texto, titulo, dueno);
    d.exec();
}

} // namespace pelmora
