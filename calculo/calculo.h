// The calculation: both columns, the saved copy, the limits, and every rule
// that derives figures from the entered ones. Headless: windows connect to
// its signals and redraw from it.
#pragma once

#include "calculo/catalogo.h"
#include "calculo/columna.h"
#include "calculo/validacion.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace pelmora {

// What the box of one field shows besides its value.
struct EstadoCampo {
    bool vacio = false;   // the box shows an empty text, the value is kept
    bool entrada = false; // input look: enabled, window background, regular font
};

// Everything a calculation holds, as plain data: copying it copies the
// calculation.
struct EstadoCalculo {
    Columna columnaS;  // the user column
    Columna columnaO;  // the reference column
    Columna grabada;   // the stored entries of columnaS at the last load or save
    std::array<std::array<std::vector<EstadoCampo>, kNumSecciones>, 2> campos;
    std::array<QString, 2> comentarios; // the indirect-cost comment of each column
    QString descripcionTitulos;
    QDate fechaTituloS, fechaTituloO;
};

// The user column as its boxes show it: every figure of it, the look of
// each box and its indirect-cost comment. Undoing a change puts one back.
struct EntradasUsuario {
    Columna columna;
    std::array<std::vector<EstadoCampo>, kNumSecciones> campos;
    QString comentario;
};

class Calculo : public QObject {
    Q_OBJECT
public:
    explicit Calculo(QObject *parent = nullptr);
    // A calculation holding a copy of another's state; it announces its
    // changes to its own views only.
    explicit Calculo(const EstadoCalculo &estado, QObject *parent = nullptr);
    std::unique_ptr<Calculo> clonar() const;
    // A copy that tries commits of the user column one after another and
    // takes each back (deshacerEnsayo): a commit on it brings only the user
    // column's results up to date, as it changes nothing the reference
    // column reads, and writes no comment. Its figures after a commit are
    // those a commit on a plain copy gives.
    std::unique_ptr<Calculo> clonarParaEnsayos() const;
    // Back to the user column and its boxes, comment and titles of original,
    // the calculation the copy was made from (unchanged since): what a
    // commit on the user column can change, without allocating anything.
    void deshacerEnsayo(const Calculo &original);
    const EstadoCalculo &estadoCalculo() const { return e_; }

    const Columna &columnaS() const { return e_.columnaS; }
    const Columna &columnaO() const { return e_.columnaO; }
    const Columna &columna(Col c) const { return c == Col::S ? e_.columnaS : e_.columnaO; }
    // The stored entries of the user column at the last load or save.
    const Columna &grabada() const { return e_.grabada; }

    static const Columna &Minimos();

    // Back to the state without a calculation: every column at the
    // minimums, no results.
    void IniciarTablas();

    // Display state of the box of field i (sections with boxes only).
    const EstadoCampo &estado(Col c, Seccion s, int i) const;
    // The text the box of field i shows when it does not have the focus.
    QString textoMostrado(Col c, Seccion s, int i) const;

    // Runs exactly the formulas that read field i of a section of a column,
    // then brings the results up to date.
    void Recalcular(Seccion s, Col c, int i);
    // Recomputes the 48 result slots of both columns and the comments that
    // read them.
    void Actualizar();
    // Brings the service section up to date with the results: C1, billed
    // kilometres and hours within the year's totals, the five prices.
    void Revisar();

    // An option button of a pair was selected (boton 1 = "Compra" or
    // "Desglosado", 2 = the other). indice is the option entry: 1 or 11 of
    // CostesFijos1, 2, 9 or 19 of CostesFijos2, 1 of CostesIndirectos.
    void cambiarOpcion(Col c, Seccion s, int indice, int boton);

    // Rewrites the indirect-cost comment of a column from its results (only
    // in "Total" mode).
    void redactarComentario(Col c);
    const QString &comentario(Col c) const { return e_.comentarios[static_cast<int>(c)]; }

    // Commit of a user field: the parsed value goes in, is checked, and on
    // refusal the previous value comes back; either way the dependent
    // fields and the results are recalculated. The message is empty when
    // accepted.
    Validacion ConfirmarCampo(Seccion s, int i, const Valor &nuevo, const Valor &anterior);

    // True while a stored entry of the user column differs from the saved copy.
    bool HayCambios() const;
    // True when the stored entries of two columns are the same.
    static bool mismasEntradas(const Columna &a, const Columna &b);

    // The user column as it is now, and back as it was: the figures, the
    // boxes' looks and the comment of the copy come back (the column's date
    // and the saved copy stay), then the results are recomputed as at the
    // end of every change, and every box, option pair and title of the user
    // column is announced.
    EntradasUsuario entradasUsuario() const;
    void restaurarEntradas(const EntradasUsuario &r);

    // A calculation just read: the stored entries of both columns (and their
    // dates) replace the old ones, become the saved copy, and are shown
    // (MostrarCalculo).
    void cargarColumnas(Columna s, Columna o);
    // The same, the columns swapped in: s and o are left with the old ones,
    // whose memory the caller may reuse.
    void intercambiarColumnas(Columna &s, Columna &o);
    // Shows the calculation the columns hold: titles, replay of every stored
    // field of both columns, option pairs, results and service.
    void MostrarCalculo();
    // After a save on that date: the saved copy and the user column's date
    // and caption follow.
    void marcarGrabado(const QDate &fecha);

    // Coach description used in the section titles, and the dates shown
    // beside the column captions (invalid when none is shown).
    const QString &descripcionTitulos() const { return e_.descripcionTitulos; }
    QDate fechaTituloS() const { return e_.fechaTituloS; }
    QDate fechaTituloO() const { return e_.fechaTituloO; }

    // Today's date; tests may replace it.
    std::function<QDate()> hoy = [] { return QDate::currentDate(); };

    // For tests only: a column written directly, past the rules and the
    // checks (as an edited file may hold what no entry would). Nothing is
    // recomputed or announced.
    Columna &columnaParaPruebas(Col c) { return col(c); }
    Columna &grabadaParaPruebas() { return e_.grabada; }

signals:
    // Every signal comes once the model holds the new state. The box of
    // field i of a section in a column shows something new: its value, an
    // empty text, or another look (enabled or not).
    void campoCambiado(pelmora::Col c, pelmora::Seccion s, int i);
    // An option pair got its state (from the user, a loader or a reset).
    void opcionCambiada(pelmora::Col c, pelmora::Seccion s, int indice);
    // The section titles (coach description) or the column dates changed.
    void titulosCambiados();
    // The indirect-cost comment of a column was rewritten.
    void comentarioCambiado(pelmora::Col c);
    // The 48 result slots of both columns were recomputed.
    void resultadosCambiados();
    // A calculation was loaded: every box, option pair, title and comment
    // may show something new. Announced once, in place of the four signals
    // above field by field; resultadosCambiados follows.
    void columnasCargadas();
    // A change by the user begins (a commit, an option switch) and is over,
    // with the results current. Loading, restoring and the service's review
    // are no such changes. The change is to field indice of s (a box, or
    // the first entry of an option pair).
    void cambioEmpezado(pelmora::Seccion s, int indice);
    void cambioTerminado();

private:
    friend class Formulas;
    Columna &col(Col c) { return c == Col::S ? e_.columnaS : e_.columnaO; }
    void mostrar(Col c, Seccion s, int i); // the value is shown again
    void vaciar(Col c, Seccion s, int i);  // text emptied, value kept
    void aspecto(Col c, Seccion s, int i, bool entrada);
    void retitular();
    void calcularResultados(Col c);
    void replay(Col c, Seccion s, int i);
    // A stored field that the replay of a load blanks instead of replaying:
    // one whose prerequisite is 0.
    bool vacioAlCargar(Col c, Seccion s, int i) const;
    void fijarOpcion(Col c, Seccion s, int indice, bool valor);
    // The rules that read field i and the option switch, both without the
    // results, shared by the public operations and the replay of a load.
    void aplicarReglas(Seccion s, Col c, int i);
    void aplicarOpcion(Col c, Seccion s, int indice, int boton);
    // A group of Personal, Seguros y Costes Fiscales or of Costes
    // Indirectos entered item by item (primero) or as its total; false
    // when indice is no such option.
    bool cambiarGrupo(Col c, Seccion s, int indice, bool primero);
    // One rule set per section.
    void reglasCaracteristicas(Col c, int i);
    void reglasCostesFijos1(Col c, int i);
    void reglasCostesFijos2(Col c, int i);
    void reglasCostesVariables(Col c, int i);
    void reglasCostesIndirectos(Col c, int i);
    void reglasServicio(int i);

    EstadoCalculo e_;
    bool cargando_ = false; // MostrarCalculo is running: one announcement at its end
    bool ensayos_ = false;  // a copy for trial commits (clonarParaEnsayos)
};

} // namespace pelmora

Q_DECLARE_METATYPE(pelmora::Col)
Q_DECLARE_METATYPE(pelmora::Seccion)
