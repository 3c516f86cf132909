// The section bar Patillas across the top of the main window while a
// calculation is open: one button a section (five of them in the frame
// FrameTodos, "Costes repercutidos a todos los servicios"), and "Cerrar"
// and "Grabar". The button of the shown section is highlighted.
#pragma once

#include "calculo/calculo.h" // Seccion as a type of signal arguments

#include <QColor>
#include <QWidget>
#include <array>

class QGroupBox;
class QPushButton;

namespace pelmora {

// The sections whose costs go to every service: the ones grouped under
// "Costes repercutidos a todos los servicios" in the bar and the menus.
constexpr bool repercutidaATodos(Seccion s) { return s != Seccion::Caracteristicas && s != Seccion::Servicio; }

class BarraSecciones : public QWidget {
    Q_OBJECT
public:
    explicit BarraSecciones(QWidget *parent = nullptr);

    // The button of section s in the colour activo, the others normal.
    void resaltar(Seccion s, const QColor &activo);
    // Every section button in the normal colour.
    void apagar();

signals:
    void seccionPedida(pelmora::Seccion s); // a section button
    void cerrarPedido();                    // cmbCerrar
    void grabarPedido();                    // cmbGrabar

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    QPushButton *crearBoton(const QString &texto, const char *nombre, QWidget *padre, const QRect &twips);
    // Each section button's description: the frame it stands in and
    // whether its form is the one shown (section activa, -1 for none).
    void describir(int activa);

    QGroupBox *frameTodos_ = nullptr;
    std::array<QPushButton *, kNumSecciones> botones_{};
    QPushButton *cmbCerrar_ = nullptr;
    QPushButton *cmbGrabar_ = nullptr;
};

} // namespace pelmora
