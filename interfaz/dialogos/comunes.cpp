#include "interfaz/dialogos/comunes.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <array>

namespace pelmora {

QDialogButtonBox *botonesAceptarCancelar(QDialog *d, const QString &aceptar)
{
    auto *botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, d);
    botones->button(QDialogButtonBox::Ok)->setText(aceptar);
    botones->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    QObject::connect(botones, &QDialogButtonBox::accepted, d, &QDialog::accept);
    QObject::connect(botones, &QDialogButtonBox::rejected, d, &QDialog::reject);
    return botones;
}

namespace {

std::array<QString, 4> g_carpetas; // by CarpetaUltima

} // namespace

bool preguntarSiNo(QWidget *padre, const QString &titulo, const QString &texto, const QString &nombre)
{
    QMessageBox q(QMessageBox::Question, titulo, texto, QMessageBox::NoButton, padre);
    q.setObjectName(nombre);
    QPushButton *si = q.addButton(QStringLiteral("Sí"), QMessageBox::YesRole);
    QPushButton *no = q.addButton(QStringLiteral("No"), QMessageBox::NoRole);
    q.setDefaultButton(no);
    q.setEscapeButton(no);
    if (interceptorPreguntas)
        interceptorPreguntas(q);
    else
        q.exec();
    return q.clickedButton() == si;
}

QStringList elegirArchivos(QWidget *padre, const PeticionArchivo &p, const QString &inicio)
{
    QFileDialog d(padre, p.titulo, inicio, p.filtro);
    d.setObjectName(p.nombre);
    d.setAcceptMode(p.modo);
    d.setFileMode(p.archivos);
    d.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    if (!p.sufijo.isEmpty())
        d.setDefaultSuffix(p.sufijo);
    d.setLabelText(QFileDialog::LookIn, QStringLiteral("Buscar en:"));
    d.setLabelText(QFileDialog::FileName, QStringLiteral("Nombre del archivo:"));
    d.setLabelText(QFileDialog::FileType, QStringLiteral("Tipo:"));
    d.setLabelText(QFileDialog::Accept, p.aceptar);
    d.setLabelText(QFileDialog::Reject, QStringLiteral("Cancelar"));
    if (d.exec() != QDialog::Accepted)
        return {};
    return d.selectedFiles();
}

QString carpetaUltima(CarpetaUltima k, const QString &porDefecto)
{
    const QString &c = g_carpetas[static_cast<size_t>(k)];
    return !c.isEmpty() && QFileInfo(c).isDir() ? c : porDefecto;
}

void recordarCarpeta(CarpetaUltima k, const QString &rutaArchivo)
{
    g_carpetas[static_cast<size_t>(k)] = QFileInfo(rutaArchivo).absolutePath();
}

} // namespace pelmora
