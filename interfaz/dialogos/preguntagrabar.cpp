#include "interfaz/dialogos/preguntagrabar.h"

#include "interfaz/dialogos/dialogos.h"
#include "interfaz/soporte/twips.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace pelmora {

PreguntaGrabar::PreguntaGrabar(const QString &titulo, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmPreguntaGrabar"));
    setModal(true);
    setWindowTitle(titulo);
    letraDeRejilla(this);

    picPregunta_ = new QLabel(this);
    picPregunta_->setObjectName(QStringLiteral("picPregunta"));
    picPregunta_->setGeometry(twRect(2040, 120, 480, 480));
    picPregunta_->setPixmap(imagenPrograma(QStringLiteral("pregunta"), picPregunta_->size()));

    auto *frame1 = new QFrame(this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setFrameShape(QFrame::StyledPanel);
    frame1->setGeometry(twRect(120, 720, 4320, 1080));
    lblMensaje_ = new QLabel(frame1);
    lblMensaje_->setObjectName(QStringLiteral("lblMensaje"));
    lblMensaje_->setAlignment(Qt::AlignCenter);
    lblMensaje_->setGeometry(twRect(60, 60, 4200, 960));
    // The text is kept with CR LF; the label shows each as one line break.
    lblMensaje_->setText(QStringLiteral("Se han modificado los datos.\r\n\r\n¿Quieres guardar los cambios realizados?"));

    const auto boton = [this](const char *nombre, const QString &texto, double izquierda) {
        auto *b = new QPushButton(texto, this);
        b->setObjectName(QLatin1String(nombre));
        b->setGeometry(twRect(izquierda, 1920, 1215, 375));
        return b;
    };
    cmbSi_ = boton("cmbSi", QStringLiteral("Si"), 240);
    cmbNo_ = boton("cmbNo", QStringLiteral("No"), 1680);
    cmbCancelar_ = boton("cmbCancelar", QStringLiteral("Cancelar"), 3120);
    cmbSi_->setDefault(true);
    // The question goes with the window and with the button that takes the
    // focus, for a screen reader.
    const QString pregunta = lblMensaje_->text().simplified();
    setAccessibleDescription(pregunta);
    cmbSi_->setAccessibleDescription(pregunta);
    picPregunta_->setAccessibleName(QStringLiteral("Pregunta"));
    connect(cmbSi_, &QPushButton::clicked, this, [this] { responder(Si); });
    connect(cmbNo_, &QPushButton::clicked, this, [this] { responder(No); });
    connect(cmbCancelar_, &QPushButton::clicked, this, [this] { responder(Cancelar); });

    setFixedSize(twSize(4560, 2415));
    cmbSi_->setFocus();
}

void PreguntaGrabar::responder(Respuesta r)
{
    respuesta_ = r;
    if (r == Cancelar)
        reject();
    else
        accept();
}

bool preguntarGrabar(QWidget *padre, const QString &titulo, std::function<bool()> grabar)
{
    PreguntaGrabar::Respuesta r = PreguntaGrabar::Cancelar;
    if (interceptorPregunta) {
        r = interceptorPregunta(titulo);
    } else {
        if (!padre)
            padre = QApplication::activeWindow();
        PreguntaGrabar d(titulo, padre);
        d.exec();
        r = d.respuesta();
    }
    switch (r) {
    case PreguntaGrabar::Si:
        return grabar && grabar();
    case PreguntaGrabar::No:
        return true;
    case PreguntaGrabar::Cancelar:
        break;
    }
    return false;
}

} // namespace pelmora
