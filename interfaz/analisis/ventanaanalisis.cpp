// The commands of the menu "Análisis" of the main window and "Exportar a
// CSV..." of "Archivo": the analysis windows are opened here and told when
// the calculation opens and closes.
#include "interfaz/ventana/ventanaprincipal.h"

#include "analisis/exportar.h"
#include "interfaz/analisis/ventanacomparar.h"
#include "interfaz/analisis/ventanasensibilidad.h"
#include "interfaz/dialogos/dialogoarchivo.h"
#include "interfaz/impresion/exportacion.h"
#include "interfaz/soporte/rutas.h"

namespace pelmora {

namespace {

void traerAlFrente(QWidget *w)
{
    w->show();
    w->raise();
    w->activateWindow();
}

} // namespace

void VentanaPrincipal::exportarCsv()
{
    if (!calculoAbierto() || !confirmarEdicion())
        return;
    exportarACsv(this, calculoCsv(calculo_), nombreDocumento() + QStringLiteral(".csv"),
                 DialogoArchivo::carpetaInicial(carpetaPrograma()));
}

void VentanaPrincipal::mostrarSensibilidad()
{
    if (!calculoAbierto() || !confirmarEdicion())
        return;
    auto *ventana = findChild<VentanaSensibilidad *>(QStringLiteral("frmSensibilidad"), Qt::FindDirectChildrenOnly);
    if (!ventana) {
        ventana = new VentanaSensibilidad(calculo_, [this] { return nombreDocumento(); }, this);
        // It shows this calculation only: it goes when the calculation does.
        connect(this, &VentanaPrincipal::calculoAbiertoCambiado, ventana, [ventana](bool abierto) {
            if (!abierto)
                ventana->close();
        });
    }
    traerAlFrente(ventana);
}

void VentanaPrincipal::compararCalculos()
{
    if (!confirmarEdicion())
        return;
    auto *ventana = findChild<VentanaComparar *>(QStringLiteral("frmComparar"), Qt::FindDirectChildrenOnly);
    if (!ventana) {
        ventana = new VentanaComparar(this);
        auto abierto = [this, ventana](bool si) {
            ventana->fijarCalculoAbierto(si ? &calculo_ : nullptr, [this] { return archivoActual_; });
        };
        abierto(calculoAbierto());
        connect(this, &VentanaPrincipal::calculoAbiertoCambiado, ventana, abierto);
    }
    traerAlFrente(ventana);
}

} // namespace pelmora
