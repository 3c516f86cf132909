#include "interfaz/dialogos/cifrasreferencia.h"

#include "archivos/referencia.h"
#include "calculo/calculo.h"
#include "calculo/campos.h"
#include "entrada/fechas.h"
#include "interfaz/dialogos/comunes.h"
#include "interfaz/dialogos/mensaje.h"
#include "interfaz/soporte/rutas.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pelmora {

namespace {

const QString kImportar = QStringLiteral("Importar cifras de referencia");
const QString kRestablecer = QStringLiteral("Restablecer cifras de referencia");
const QString kPlazas = QStringLiteral("Número de plazas del autocar (incluido el conductor)");

const char *const kNombresFilas[DialogoImportarReferencia::kFilas] = {
    "Fecha",         "Descripción", "Plazas",      "Coste total anual (€)", "C1 (€/viajero-km)",
    "C2 (€/km)",     "C3 (€/hora)", "C4 (€/km)",   "C5 (€/hora)",
};
const int kResultados[] = {Res::Totales, Res::C1, Res::C2, Res::C3, Res::C4, Res::C5};

int ejecutar(QDialog &d) { return interceptorDialogoReferencia ? interceptorDialogoReferencia(d) : d.exec(); }

Qt::WindowFlags banderas()
{
    return Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
}

// The compared rows of a reference column, as the forms show them: the
// results come from loading the figures into a calculation.
std::array<QString, DialogoImportarReferencia::kFilas> filas(const Columna &s, const Columna &o)
{
    Calculo c;
    c.cargarColumnas(s, o);
    std::array<QString, DialogoImportarReferencia::kFilas> r;
    r[0] = textoFecha(o.Fecha);
    r[1] = o(Seccion::Caracteristicas, Car::Descripcion).texto();
    r[2] = c.textoMostrado(Col::O, Seccion::Caracteristicas, Car::Plazas);
    for (int k = 0; k < 6; ++k)
        r[3 + k] = c.textoMostrado(Col::O, Seccion::Resultados, kResultados[k]);
    return r;
}

QString plazasCategoria(int k) { return QString::fromUtf8(kCategorias[k].descripcion); }

// The file dialog of the import. Empty when cancelled.
QString pedirArchivo(QWidget *padre)
{
    if (interceptorArchivoReferencia)
        return interceptorArchivoReferencia();
    const QString carpeta = carpetaUltima(CarpetaUltima::Importacion, carpetaCalculos());
    const QStringList elegidos = elegirArchivos(
        padre,
        {kImportar, QStringLiteral("dlgImportarReferencia"),
         QStringLiteral("Cifras de referencia y cálculos (*.obs *.clc);;Cifras de referencia (*.obs);;"
                        "Cálculos (*.clc);;Todos los archivos (*)"),
         QStringLiteral("Abrir"), QFileDialog::AcceptOpen, QFileDialog::ExistingFile, QString()},
        carpeta);
    return elegidos.isEmpty() ? QString() : elegidos.constFirst();
}

} // namespace

// ---- Import -----------------------------------------------------------------------

DialogoImportarReferencia::DialogoImportarReferencia(QWidget *padre, const QString &ruta, const Columna &s,
                                                     const Columna &o, const QString &carpetaInstalada)
    : QDialog(padre, banderas()), carpetaInstalada_(carpetaInstalada)
{
    setObjectName(QStringLiteral("frmImportarReferencia"));
    setWindowTitle(kImportar);
    setModal(true);
    auto *todo = new QVBoxLayout(this);

    const bool calculo = !ruta.endsWith(QLatin1String(".obs"), Qt::CaseInsensitive);
    auto *archivo = new QLabel(QStringLiteral("Archivo: ") + QDir::toNativeSeparators(ruta) + QStringLiteral("\n")
                                   + (calculo ? QStringLiteral("Un cálculo: sus cifras del Cálculo Personalizado "
                                                               "pasan a ser las cifras de referencia.")
                                              : QStringLiteral("Un archivo de cifras de referencia.")),
                               this);
    archivo->setObjectName(QStringLiteral("lblArchivo"));
    archivo->setWordWrap(true);
    todo->addWidget(archivo);

    auto *marco = new QGroupBox(kPlazas, this);
    marco->setObjectName(QStringLiteral("FrameCategoria"));
    auto *filaOpciones = new QHBoxLayout(marco);
    for (int k = 0; k < kNumCategorias; ++k) {
        opciones_[k] = new QRadioButton(QString::fromUtf8(kCategorias[k].plazas), marco);
        opciones_[k]->setObjectName(QStringLiteral("optCategoria(%1)").arg(k));
        opciones_[k]->setAccessibleName(kPlazas + QStringLiteral(": ") + opciones_[k]->text());
        filaOpciones->addWidget(opciones_[k]);
        connect(opciones_[k], &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                mostrarActual();
        });
    }
    todo->addWidget(marco);
    lblAviso_ = new QLabel(this);
    lblAviso_->setObjectName(QStringLiteral("lblAviso"));
    lblAviso_->setWordWrap(true);
    todo->addWidget(lblAviso_);

    todo->addWidget(crearCambios(filas(s, o)));

    auto *nota = new QLabel(QStringLiteral("Los cálculos nuevos de la categoría elegida empezarán con las cifras "
                                           "nuevas. Los cálculos grabados conservan las cifras de referencia "
                                           "con las que se grabaron."),
                            this);
    nota->setObjectName(QStringLiteral("lblNota"));
    nota->setWordWrap(true);
    todo->addWidget(nota);

    auto *botones = new QDialogButtonBox(this);
    cmbImportar_ = botones->addButton(QStringLiteral("Importar"), QDialogButtonBox::AcceptRole);
    cmbImportar_->setObjectName(QStringLiteral("cmbImportar"));
    QPushButton *cancelar = botones->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    cancelar->setObjectName(QStringLiteral("cmbCancelar"));
    connect(botones, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);
    todo->addWidget(botones);

    plazas_ = o(Seccion::Caracteristicas, Car::Plazas).n();
    elegirCategoria(categoriaPorPlazas(plazas_));
    if (categoria() < 0)
        mostrarActual();
}

// The frame "Lo que cambia": each row's caption, the current figure of the
// category chosen and the new one.
QGroupBox *DialogoImportarReferencia::crearCambios(const std::array<QString, kFilas> &nuevas)
{
    auto *cambios = new QGroupBox(QStringLiteral("Lo que cambia"), this);
    cambios->setObjectName(QStringLiteral("FrameCambios"));
    auto *tabla = new QGridLayout(cambios);
    tabla->setHorizontalSpacing(24);
    auto negrita = [](QLabel *l) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        return l;
    };
    tabla->addWidget(negrita(new QLabel(QStringLiteral("Cifras actuales"), cambios)), 0, 1);
    tabla->addWidget(negrita(new QLabel(QStringLiteral("Cifras nuevas"), cambios)), 0, 2);
    lblOrigen_ = new QLabel(cambios);
    lblOrigen_->setObjectName(QStringLiteral("lblOrigen"));
    tabla->addWidget(lblOrigen_, 1, 1);
    tabla->addWidget(new QLabel(QStringLiteral("(del archivo elegido)"), cambios), 1, 2);
    for (int r = 0; r < kFilas; ++r) {
        tabla->addWidget(new QLabel(QString::fromUtf8(kNombresFilas[r]), cambios), r + 2, 0);
        actual_[r] = new QLabel(cambios);
        actual_[r]->setObjectName(QStringLiteral("lblActual(%1)").arg(r));
        nueva_[r] = new QLabel(nuevas[r], cambios);
        nueva_[r]->setObjectName(QStringLiteral("lblNueva(%1)").arg(r));
        const Qt::Alignment a = r == 1 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter;
        actual_[r]->setAlignment(a);
        nueva_[r]->setAlignment(a);
        tabla->addWidget(actual_[r], r + 2, 1);
        tabla->addWidget(nueva_[r], r + 2, 2);
    }
    return cambios;
}

int DialogoImportarReferencia::categoria() const
{
    for (int k = 0; k < kNumCategorias; ++k)
        if (opciones_[k]->isChecked())
            return k;
    return -1;
}

void DialogoImportarReferencia::elegirCategoria(int k)
{
    if (k >= 0 && k < kNumCategorias)
        opciones_[k]->setChecked(true);
}

QString DialogoImportarReferencia::actual(int r) const { return actual_[r]->text(); }
QString DialogoImportarReferencia::nueva(int r) const { return nueva_[r]->text(); }

void DialogoImportarReferencia::mostrarActual()
{
    const int k = categoria();
    cmbImportar_->setEnabled(k >= 0);
    if (k < 0) {
        lblOrigen_->clear();
        for (QLabel *l : actual_)
            l->clear();
        lblAviso_->setText(QStringLiteral("Elija la categoría de estas cifras."));
        return;
    }
    if (plazas_ < 0.5)
        lblAviso_->setText(QStringLiteral("El archivo no dice cuántas plazas tiene el autocar."));
    else if (!plazasEnCategoria(k, plazas_))
        lblAviso_->setText(QStringLiteral("Atención: el autocar del archivo tiene %1 plazas, fuera de esta categoría.")
                               .arg(nueva_[2]->text()));
    else
        lblAviso_->clear();
    lblAviso_->setVisible(!lblAviso_->text().isEmpty());

    const bool propia = hayReferenciaPropia(k, carpetaInstalada_);
    Columna s = Calculo::Minimos(), o = Calculo::Minimos();
    const ErrorArchivo e = leerColumnas(rutaReferenciaVigente(k, carpetaInstalada_), s, o);
    lblOrigen_->setText(e != ErrorArchivo::Ninguno
                            ? QStringLiteral("(no se pueden leer: ") + mensajeErrorArchivo(e) + QLatin1Char(')')
                        : propia ? QStringLiteral("(importadas)")
                                 : QStringLiteral("(las que trae el programa)"));
    std::array<QString, kFilas> actuales;
    if (e == ErrorArchivo::Ninguno)
        actuales = filas(s, o);
    for (int r = 0; r < kFilas; ++r) {
        actual_[r]->setText(actuales[r]);
        // What changes stands out.
        QFont f = nueva_[r]->font();
        f.setBold(actuales[r] != nueva_[r]->text());
        nueva_[r]->setFont(f);
    }
}

bool importarCifrasReferencia(QWidget *padre, const QString &carpetaInstalada)
{
    const QString ruta = pedirArchivo(padre);
    if (ruta.isEmpty())
        return false;
    recordarCarpeta(CarpetaUltima::Importacion, ruta);
    Columna s = Calculo::Minimos(), o = Calculo::Minimos();
    if (const ErrorArchivo e = leerReferencia(ruta, s, o); e != ErrorArchivo::Ninguno) {
        MostrarMensaje(mensajeErrorArchivo(e), QStringLiteral("Error"));
        return false;
    }
    DialogoImportarReferencia d(padre, ruta, s, o, carpetaInstalada);
    if (ejecutar(d) != QDialog::Accepted || d.categoria() < 0)
        return false;
    const int k = d.categoria();
    if (const ErrorArchivo e = importarReferencia(k, bytesReferencia(s, o), carpetaInstalada);
        e != ErrorArchivo::Ninguno) {
        MostrarMensaje(mensajeErrorArchivo(e), QStringLiteral("Error"));
        return false;
    }
    MostrarMensaje(QStringLiteral("Las cifras de referencia de los autocares %1 se han grabado en:\r\n%2\r\n\r\n"
                                  "Los cálculos nuevos de esta categoría empiezan con ellas; los cálculos "
                                  "grabados conservan las suyas.")
                       .arg(plazasCategoria(k), QDir::toNativeSeparators(rutaReferenciaUsuario(k))),
                   kImportar);
    return true;
}

// ---- Reset ------------------------------------------------------------------------

DialogoRestablecerReferencia::DialogoRestablecerReferencia(QWidget *padre) : QDialog(padre, banderas())
{
    setObjectName(QStringLiteral("frmRestablecerReferencia"));
    setWindowTitle(kRestablecer);
    setModal(true);
    auto *todo = new QVBoxLayout(this);
    auto *texto = new QLabel(QStringLiteral("Vuelve a las cifras de referencia que trae el programa: se borran "
                                            "las cifras importadas de la categoría elegida. Los cálculos grabados "
                                            "no cambian."),
                             this);
    texto->setObjectName(QStringLiteral("lblTexto"));
    texto->setWordWrap(true);
    todo->addWidget(texto);

    auto *marco = new QGroupBox(kPlazas, this);
    marco->setObjectName(QStringLiteral("FrameCategoria"));
    auto *lista = new QVBoxLayout(marco);
    int propias = 0;
    for (int k = 0; k <= kNumCategorias; ++k) {
        QString t;
        bool propia = false;
        if (k < kNumCategorias) {
            propia = hayReferenciaPropia(k);
            t = QString::fromUtf8(kCategorias[k].plazas) + QStringLiteral(": ");
            Columna s = Calculo::Minimos(), o = Calculo::Minimos();
            if (!propia)
                t += QStringLiteral("las que trae el programa");
            else if (leerColumnas(rutaReferenciaUsuario(k), s, o) == ErrorArchivo::Ninguno)
                t += QStringLiteral("cifras importadas, del ") + textoFecha(o.Fecha);
            else
                t += QStringLiteral("cifras importadas (archivo en mal estado)");
            propias += propia ? 1 : 0;
        } else {
            t = QStringLiteral("Todas las categorías");
            propia = propias > 0;
        }
        opciones_[k] = new QRadioButton(t, marco);
        opciones_[k]->setObjectName(k < kNumCategorias ? QStringLiteral("optCategoria(%1)").arg(k)
                                                       : QStringLiteral("optTodas"));
        opciones_[k]->setAccessibleName(kPlazas + QStringLiteral(": ") + t);
        opciones_[k]->setEnabled(propia);
        lista->addWidget(opciones_[k]);
    }
    todo->addWidget(marco);

    auto *botones = new QDialogButtonBox(this);
    cmbRestablecer_ = botones->addButton(QStringLiteral("Restablecer"), QDialogButtonBox::AcceptRole);
    cmbRestablecer_->setObjectName(QStringLiteral("cmbRestablecer"));
    QPushButton *cancelar = botones->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    cancelar->setObjectName(QStringLiteral("cmbCancelar"));
    cancelar->setDefault(true);
    connect(botones, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);
    todo->addWidget(botones);

    // The one category of the user's own, or all of them when there are more.
    int unica = -1;
    for (int k = 0; k < kNumCategorias; ++k)
        if (opciones_[k]->isEnabled())
            unica = unica == -1 ? k : -2;
    elegirCategoria(unica == -2 ? -1 : unica);
    for (QRadioButton *b : opciones_)
        connect(b, &QRadioButton::toggled, this, [this] { cmbRestablecer_->setEnabled(categoria() != -2); });
    cmbRestablecer_->setEnabled(categoria() != -2);
}

int DialogoRestablecerReferencia::categoria() const
{
    for (int k = 0; k < kNumCategorias; ++k)
        if (opciones_[k]->isChecked())
            return k;
    return opciones_[kNumCategorias]->isChecked() ? -1 : -2;
}

void DialogoRestablecerReferencia::elegirCategoria(int k)
{
    QRadioButton *b = k == -1 ? opciones_[kNumCategorias] : k >= 0 && k < kNumCategorias ? opciones_[k] : nullptr;
    if (b && b->isEnabled())
        b->setChecked(true);
}

bool restablecerCifrasReferencia(QWidget *padre, const QString &carpetaInstalada)
{
    bool alguna = false;
    for (int k = 0; k < kNumCategorias; ++k)
        alguna = alguna || hayReferenciaPropia(k, carpetaInstalada);
    if (!alguna) {
        MostrarMensaje(QStringLiteral("No hay cifras de referencia importadas: todas las categorías usan ya "
                                      "las que trae el programa."),
                       kRestablecer);
        return false;
    }
    DialogoRestablecerReferencia d(padre);
    if (ejecutar(d) != QDialog::Accepted || d.categoria() == -2)
        return false;
    const int k = d.categoria();
    const QString cuales = k == -1 ? QStringLiteral("todas las categorías")
                                   : QStringLiteral("los autocares ") + plazasCategoria(k);
    if (!preguntarSiNo(padre, kRestablecer,
                       QStringLiteral("¿Volver a las cifras de referencia que trae el programa para %1?\r\n\r\n"
                                      "Las cifras importadas se borrarán.")
                           .arg(cuales),
                       QStringLiteral("dlgConfirmarRestablecer")))
        return false;
    if (const ErrorArchivo e = restablecerReferencia(k, carpetaInstalada); e != ErrorArchivo::Ninguno) {
        MostrarMensaje(mensajeErrorArchivo(e), QStringLiteral("Error"));
        return false;
    }
    MostrarMensaje(QStringLiteral("Los cálculos nuevos para %1 empiezan otra vez con las cifras de "
                                  "referencia que trae el programa.")
                       .arg(cuales),
                   kRestablecer);
    return true;
}

} // namespace pelmora
