// The windows of prices and quotes ("Presupuestos" menu): the prices of the
// services, a new quote, the register of quotes and the firm's data. The
// engine is the core's (presupuestos/) and the register's (registro/).
#pragma once

#include "interfaz/soporte/interceptor.h"
#include "presupuestos/presupuesto.h"
#include "registro/registro.h"

#include <QList>
#include <QString>

class QWidget;

namespace pelmora {

class VentanaPrincipal;

// The menu's commands.
void abrirPrecios(VentanaPrincipal &w);           // "Precios de los servicios..."
void abrirNuevoPresupuesto(VentanaPrincipal &w);  // "Nuevo presupuesto..."
void abrirRegistroPresupuestos(VentanaPrincipal &w); // "Registro de presupuestos..."
void abrirDatosEmpresa(VentanaPrincipal &w);      // "Datos de la empresa..."

// The firm's header kept in the user's settings.
Empresa leerEmpresa();
void guardarEmpresa(const Empresa &e);
// The conditions of the last quote, offered in the next one.
QString ultimasCondiciones();
void guardarCondiciones(const QString &texto);

// Where the windows keep the register: the user's, unless a test says otherwise.
QString rutaRegistro();
inline Interceptor<QString()> interceptorRutaRegistro;

// Opens the register for a window. A damaged or foreign file is told, and
// only when the user agrees is it set aside under a new name and a new
// register begun; any failure is told. False when it is not open.
bool abrirRegistroDeVentana(QWidget *padre, Registro &r);
// The question before a damaged register is set aside (true: yes).
inline Interceptor<bool(const QString &texto)> interceptorApartarRegistro;

// While set, "Copia de seguridad..." asks this function instead of showing
// the save dialog: it receives the proposed path and returns the chosen one
// (empty to cancel).
inline Interceptor<QString(const QString &propuesta)> interceptorArchivoCopia;

// The pages of a quote as printed: A4 pages of vector text, as many as its
// conditions and notes take.
QList<QWidget *> paginasPresupuesto(const Presupuesto &p);
QString nombreDocumentoPresupuesto(const Presupuesto &p);

// Printing, PDF and preview of a kept quote; on success it is marked as
// issued in the register (it can no longer be deleted).
enum class SalidaPresupuesto { Imprimir, Pdf, Vista };
bool emitirPresupuesto(QWidget *padre, Registro &r, const Presupuesto &p, SalidaPresupuesto salida);

} // namespace pelmora
