// The calculation: both columns, the saved copy, the limits, and every rule
// that derives figures from the entered ones. Headless: windows observe it.
#pragma once

#include "calculo/catalogo.h"
#include "calculo/columna.h"
#include "calculo/validacion.h"

#include <QDate>
#include <QString>
#include <array>
#include <functional>
#include <vector>

namespace pelmora {

// What a window showing the calculation is told. Every call is made after
// the model holds the new state, so the window redraws from the model.
class ObservadorCalculo {
public:
    virtual ~ObservadorCalculo() = default;
    // The box of field i of a section in a column shows something new:
    // its value, an empty text, or another look (enabled or not).
    virtual void campoCambiado(Col, Seccion, int) {}
    // An option pair got its state (from the user, a loader or a reset).
    virtual void opcionCambiada(Col, Seccion, int) {}
    // The section titles (coach description) or the column dates changed.
    virtual void titulosCambiados() {}
    // The indirect-cost comment of a column was rewritten.
    virtual void comentarioCambiado(Col) {}
    // The 48 result slots of both columns were recomputed.
    virtual void resultadosCambiados() {}
};

// What the box of one field shows besides its value.
struct EstadoCampo {
    bool vacio = false;   // the box shows an empty text, the value is kept
    bool entrada = false; // input look: enabled, window background, regular font
};

class Calculo {
public:
    Calculo();

    Columna ColumnaS;       // the user column
    Columna ColumnaO;       // the reference column
    Columna ColumnaGrabada; // the stored entries of ColumnaS at the last load or save

    static const Columna &Minimos();
    static const Columna &Maximos();

    Columna &columna(Col c) { return c == Col::S ? ColumnaS : ColumnaO; }
    const Columna &columna(Col c) const { return c == Col::S ? ColumnaS : ColumnaO; }

    // Windows that show the calculation register here; none is needed.
    void agregarObservador(ObservadorCalculo *o);
    void quitarObservador(ObservadorCalculo *o);

    // Back to the state without a calculation: every column at the minimums.
    void IniciarTablas();

    // Display state of the box of field i (sections with boxes only).
    const EstadoCampo &estado(Col c, Seccion s, int i) const;
    // The text the box of field i shows when it does not have the focus.
    QString textoMostrado(Col c, Seccion s, int i) const;

    // Runs exactly the formulas that read field i of a section of a column.
    void Recalcular(Seccion s, Col c, int i);
    // Recomputes the 48 result slots of both columns.
    void Actualizar();
    // Brings the service section up to date with the results.
    void Revisar();

    // An option button of a pair was selected (boton 1 = "Compra" or
    // "Desglosado", 2 = the other). indice is the option entry: 1 or 11 of
    // CostesFijos1, 2, 9 or 19 of CostesFijos2, 1 of CostesIndirectos.
    void CambiarOpcion(Col c, Seccion s, int indice, int boton);

    // Rewrites the indirect-cost comment of a column (only in "Total" mode).
    void Comentario(Col c);
    const QString &comentario(Col c) const { return comentario_[static_cast<int>(c)]; }

    // Commit of a user field: the parsed value goes in, is checked, and on
    // refusal the previous value comes back; either way the dependent
    // fields are recalculated. The message is empty when accepted.
    Validacion ConfirmarCampo(Seccion s, int i, const Valor &nuevo, const Valor &anterior);

    // True while a stored entry of the user column differs from the saved copy.
    bool HayCambios() const;

    // Shows a freshly loaded calculation: titles, replay of every stored
    // field of both columns, option pairs, results and service.
    void MostrarCalculo();

    // Coach description used in the section titles, and the dates shown
    // beside the column captions (invalid when none is shown).
    const QString &descripcionTitulos() const { return descripcionTitulos_; }
    QDate fechaTituloS() const { return fechaTituloS_; }
    QDate fechaTituloO() const { return fechaTituloO_; }
    // After a save: the user column's caption shows the new date.
    void fijarFechaTituloS(const QDate &d);

    // Today's date; tests may replace it.
    std::function<QDate()> hoy = [] { return QDate::currentDate(); };

private:
    friend class Formulas;
    void mostrar(Col c, Seccion s, int i);           // value shown (PonerValor)
    void vaciar(Col c, Seccion s, int i);            // text emptied, value kept
    void aspecto(Col c, Seccion s, int i, bool entrada);
    void retitular();
    void calcularResultados(Col c);
    void replay(Col c, Seccion s, int i);
    void fijarOpcion(Col c, Seccion s, int indice, bool valor);

    template <class F> void avisar(F &&f) { for (auto *o : obs_) f(*o); }
    std::vector<ObservadorCalculo *> obs_;
    std::array<std::array<std::vector<EstadoCampo>, kNumSecciones>, 2> estados_;
    std::array<QString, 2> comentario_;
    QString descripcionTitulos_;
    QDate fechaTituloS_, fechaTituloO_;
};

} // namespace pelmora
