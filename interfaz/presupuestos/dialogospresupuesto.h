// The dialogs and windows of the "Presupuestos" menu.
#pragma once

#include "interfaz/presupuestos/presupuestos.h"
#include "presupuestos/presupuesto.h"
#include "registro/registro.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QSortFilterProxyModel>
#include <memory>
#include <vector>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPainter;
class QPlainTextEdit;
class QSpinBox;
class QTableView;
class QTableWidget;

namespace pelmora {

// PNG or SVG bytes that can be drawn.
bool logoValido(const QByteArray &bytes);
// Draws a logo as large as fits in caja, its shape kept, from its top left
// corner; the size drawn (empty when there is nothing to draw).
QSize dibujarLogo(QPainter &g, const QByteArray &logo, const QRect &caja);

// "Datos de la empresa...": the firm's header of the quotes.
class DialogoEmpresa : public QDialog {
    Q_OBJECT
public:
    explicit DialogoEmpresa(QWidget *parent = nullptr);
    bool fijarLogo(const QString &ruta);
    const Empresa &empresa() const { return empresa_; }
    void accept() override;

private:
    void mostrarLogo();
    Empresa empresa_;
    QLineEdit *nombre_, *nif_, *direccion_, *telefono_, *correo_;
    QLabel *logo_;
};

// "Nuevo presupuesto...": a quote for one of the calculation's services, or
// a copy of a kept quote. Accepting keeps it in the register; when that
// fails the dialog stays open with everything typed. "Guardar e imprimir..."
// and "Guardar y exportar a PDF..." keep it, then print it or export it.
class DialogoPresupuesto : public QDialog {
    Q_OBJECT
public:
    // calc: the open calculation (null for a copy); base: the quote copied.
    DialogoPresupuesto(const Calculo *calc, const QString &archivo, const std::optional<Presupuesto> &base,
                       QWidget *parent = nullptr);
    // The quote as typed so far; no value with a message when it is not
    // whole (without conCliente, only the price's figures are checked).
    std::optional<Presupuesto> leer(QString *motivo, bool conCliente = true) const;
    // The quote kept, once accepted.
    const Presupuesto &guardado() const { return guardado_; }
    void accept() override { guardar(std::nullopt); }
    // Keeps the quote and, once it is kept, prints it (through the preview)
    // or exports it; the dialog closes even when that is cancelled or fails.
    void guardar(std::optional<SalidaPresupuesto> salida);

private:
    void elegirServicio(int servicio);
    void actualizarResumen();
    QLineEdit *caja(const char *nombre, const QString &texto = {});

    const Calculo *calc_;
    QString archivo_;
    Presupuesto base_;
    Presupuesto guardado_;
    QComboBox *servicio_;
    QLineEdit *cliente_, *nif_, *direccion_, *contacto_;
    QLineEdit *descripcion_, *origen_, *destino_, *fechas_;
    QSpinBox *pasajeros_, *validez_;
    QLineEdit *km_, *horas_, *margen_, *objetivo_, *iva_;
    QPlainTextEdit *condiciones_, *notas_;
    QLabel *resumen_;
};

// "Precios de los servicios...": each service's price from a margin and the
// VAT, the margin a typed price leaves, and every figure per km, hour and seat.
class VentanaPrecios : public QDialog {
    Q_OBJECT
public:
    VentanaPrecios(const Calculo &calc, QWidget *parent = nullptr);
    void actualizar();

private:
    const Calculo &calc_;
    QLineEdit *margen_, *iva_, *objetivo_;
    QSpinBox *pasajeros_;
    QComboBox *servicio_;
    QTableWidget *tabla_, *unidades_;
    QLabel *margenObjetivo_, *aviso_;
};

// The rows of the register as a table model.
class ModeloRegistro : public QAbstractTableModel {
public:
    enum Columna { Numero, Fecha, Cliente, Viaje, Total, Estado, kColumnas };
    void fijar(std::vector<FilaRegistro> filas, const QDate &hoy);
    const FilaRegistro &fila(int k) const { return filas_[size_t(k)]; }
    int rowCount(const QModelIndex &p = {}) const override { return p.isValid() ? 0 : int(filas_.size()); }
    int columnCount(const QModelIndex &p = {}) const override { return p.isValid() ? 0 : kColumnas; }
    QVariant data(const QModelIndex &i, int rol) const override;
    QVariant headerData(int s, Qt::Orientation o, int rol) const override;
    // The row's number, client and trip, case-folded: what the text filter searches.
    const QString &textoBuscado(int k) const;

private:
    std::vector<FilaRegistro> filas_;
    mutable std::vector<QString> textos_;
    QDate hoy_;
    friend class FiltroRegistro;
};

// The filters of the register: a text (number, client, trip), a state and dates.
class FiltroRegistro : public QSortFilterProxyModel {
public:
    void fijar(const QString &texto, const QString &estado, const QDate &desde, const QDate &hasta);

protected:
    bool filterAcceptsRow(int fila, const QModelIndex &padre) const override;
    bool lessThan(const QModelIndex &a, const QModelIndex &b) const override;

private:
    QString texto_, estado_;
    QDate desde_, hasta_;
};

// "Registro de presupuestos...".
class VentanaRegistro : public QDialog {
    Q_OBJECT
public:
    explicit VentanaRegistro(QWidget *parent = nullptr);
    bool abierto() const { return registro_.abierto(); }
    void recargar();
    void filtrar();
    // The kept quote of the selected row, if any.
    std::optional<Presupuesto> seleccionado();
    QString totales() const;
    Registro &registro() { return registro_; }
    QTableView *vista() const { return vista_; }
    // Printing, PDF or the preview of the selected quote.
    void emitir(SalidaPresupuesto salida);
    void cambiarEstado(EstadoPresupuesto e);
    void eliminar();
    void duplicar();
    void exportarCsv();
    void copiaDeSeguridad();

private:
    Registro registro_;
    ModeloRegistro modelo_;
    FiltroRegistro filtro_;
    QTableView *vista_;
    QLineEdit *texto_;
    QComboBox *estado_;
    QDateEdit *desde_, *hasta_;
    QLabel *totales_;
};

} // namespace pelmora
