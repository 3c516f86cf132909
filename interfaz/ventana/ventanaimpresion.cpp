// The commands of the menu "Imprimir" of the main window: each form, all
// seven, a PDF file of them and the print preview.
#include "interfaz/ventana/ventanaprincipal.h"

#include "interfaz/dialogos/dialogoarchivo.h"
#include "interfaz/dialogos/dialogos.h"
#include "interfaz/formularios/campo.h"
#include "interfaz/formularios/formulario.h"
#include "interfaz/formularios/sesionedicion.h"
#include "interfaz/impresion/impresion.h"
#include "interfaz/soporte/rutas.h"
#include "interfaz/ventana/areasecciones.h"

#include <QFileInfo>

namespace pelmora {

namespace {

QList<Seccion> todas()
{
    QList<Seccion> r;
    for (const DatosSeccion &d : kSecciones)
        r << d.seccion;
    return r;
}

} // namespace

QString VentanaPrincipal::nombreDocumento() const
{
    return archivoActual_.isEmpty() ? tituloPrograma() : QFileInfo(archivoActual_).completeBaseName();
}

QList<QWidget *> VentanaPrincipal::formulariosParaImprimir(const QList<Seccion> &secciones)
{
    QList<QWidget *> lista;
    for (Seccion s : secciones) {
        FormularioBase *f = formulario(s);
        if (!f)
            continue;
        // A form never shown is printed as it would be shown: its colours,
        // and the results and the service recomputed.
        aspectoMostrado(f);
        f->activar();
        lista << f;
    }
    return lista;
}

bool VentanaPrincipal::imprimir(const QList<Seccion> &secciones, Destino destino)
{
    if (!calculoAbierto() || area_->sesion().devolviendo())
        return false;
    // The field being edited shows its formatted value on paper.
    QPointer<CampoTexto> campo = campoEditado();
    const bool aceptado = !campo || campo->SalirCampo(false);
    bool hecho = false;
    if (aceptado) {
        const QList<QWidget *> lista = formulariosParaImprimir(secciones);
        switch (destino) {
        case Destino::Vista:
            hecho = mostrarVistaPreliminar(this, lista, nombreDocumento());
            break;
        case Destino::Pdf:
            hecho = exportarAPdf(this, lista, nombreDocumento() + QStringLiteral(".pdf"),
                                DialogoArchivo::carpetaInicial(carpetaPrograma()));
            break;
        case Destino::Impresora:
            hecho = imprimirFormularios(lista, nombreDocumento());
            break;
        }
    }
    // Editing goes on in the field that still has the focus (one that lost
    // it to a message starts again when it gets it back).
    if (campo && campo->hasFocus() && !campo->editando())
        campo->EntrarCampo();
    return hecho;
}

bool VentanaPrincipal::ImprimirSeccion(Seccion s) { return imprimir({s}, Destino::Impresora); }

bool VentanaPrincipal::imprimirTodo() { return imprimir(todas(), Destino::Impresora); }

void VentanaPrincipal::exportarPdf() { imprimir(todas(), Destino::Pdf); }

void VentanaPrincipal::vistaPreliminar() { imprimir(todas(), Destino::Vista); }

} // namespace pelmora
