// Figures typed and shown under the regional settings a user may have. The
// test runs once per locale, taken from the environment as the program takes
// it: Qt sets the C library's locale from it, and the separators come from
// the system's settings.
#include "ayudantes.h"
#include "calculo/campos.h"
#include "entrada/numeros.h"
#include "interfaz/formularios/campo.h"
#include "interfaz/formularios/formulario.h"
#include "interfaz/ventana/ventanaprincipal.h"

#include <QLabel>
#include <QRegularExpression>
#include <QtTest>

#include <clocale>
#include <map>

using namespace pelmora;

namespace {

enum class Fin { Intro, Tabulador, Clic };

// A figure written with "," grouping and "." decimals, with this locale's.
QString aqui(QString c)
{
    c.replace(QLatin1Char(','), QChar(1)).replace(QLatin1Char('.'), separadorDecimal());
    return c.replace(QChar(1), separadorMiles());
}

// Every figure the Resultados form shows, by the label's name.
std::map<QString, QString> cifrasResultados(VentanaPrincipal &w)
{
    static const QRegularExpression cifra(QStringLiteral("^-?[0-9][0-9.,\u00a0\u202f ]*( ?%)?$"));
    std::map<QString, QString> r;
    w.MostrarSeccion(Seccion::Resultados);
    for (const QLabel *l : w.formulario(Seccion::Resultados)->findChildren<QLabel *>())
        if (!l->objectName().isEmpty() && cifra.match(l->text()).hasMatch())
            r[l->objectName()] = l->text();
    return r;
}

} // namespace

class PruebaRegional : public QObject, prueba::EntornoVentana {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Qt set the C library's locale from the environment, as for the
        // program: under Spanish settings printf would write a comma here.
        QCOMPARE(QByteArray(std::setlocale(LC_NUMERIC, nullptr)), qgetenv("LC_ALL"));
        fijarSeparadores(QLocale::system());
        QVERIFY(prepararCarpeta());
    }
    void init() { reiniciar(); }
    void cleanup() { terminar(); }

    // What is typed (with "." for this locale's separator), the value it
    // commits and the box's text after it (C form), for every kind of field.
    void tecleado_data()
    {
        QTest::addColumn<int>("seccion");
        QTest::addColumn<int>("campo");
        QTest::addColumn<QString>("tecleado");
        QTest::addColumn<double>("valor");
        QTest::addColumn<QString>("mostrado");
        QTest::addColumn<int>("fin");
        const struct {
            const char *nombre;
            Seccion s;
            int i;
            const char *tecleado;
            double valor;
            const char *mostrado;
        } casos[] = {
            {"longitud, 1 decimal", Seccion::Caracteristicas, Car::Longitud, "13.2", 13.2, "13.2"},
            {"kilómetros, entero", Seccion::Caracteristicas, Car::KmAnuales, "123456", 123456, "123,456"},
            {"vida útil, 1 decimal", Seccion::CostesFijos1, F1::VidaAutocar, "12.5", 12.5, "12.5"},
            {"precio, 2 decimales", Seccion::CostesFijos1, F1::PrecioAutocar, "234567.89", 234567.89, "234,567.89"},
            {"interés, 3 decimales", Seccion::CostesFijos1, F1::InteresAutocar, "4.125", 4.125, "4.125"},
            {"carburante, 4 decimales", Seccion::CostesVariables, Var::PrecioCarburante, "1.2345", 1.2345, "1.2345"},
            {"descuento, 4 decimales", Seccion::CostesVariables, Var::Descuento, "0.09", 0.09, "0.0900"},
        };
        for (const auto &c : casos)
            for (const auto &[fin, como] : {std::pair{Fin::Intro, "Intro"}, {Fin::Tabulador, "Tab"}, {Fin::Clic, "clic"}})
                QTest::addRow("%s, %s", c.nombre, como)
                    << int(c.s) << c.i << QString::fromLatin1(c.tecleado) << c.valor << QString::fromLatin1(c.mostrado)
                    << int(fin);
    }
    void tecleado()
    {
        QFETCH(int, seccion);
        QFETCH(int, campo);
        QFETCH(QString, tecleado);
        QFETCH(double, valor);
        QFETCH(QString, mostrado);
        QFETCH(int, fin);
        const auto s = Seccion(seccion);
        VentanaPrincipal w;
        QVERIFY(prueba::abrirCategoria(w, 1));
        QVERIFY(prueba::mostrarActiva(w));
        w.MostrarSeccion(s);
        CampoTexto *b = prueba::caja(w.formulario(s), s, campo);
        QVERIFY(b && b->isEnabled());
        const QString texto = tecleado.replace(QLatin1Char('.'), separadorDecimal());
        if (Fin(fin) == Fin::Clic) {
            prueba::teclear(b, texto);
            CampoTexto *otra = nullptr;
            for (CampoTexto *c : w.formulario(s)->findChildren<CampoTexto *>())
                if (c != b && c->isEnabled() && c->isVisible() && !otra)
                    otra = c;
            QVERIFY(otra);
            QTest::mouseClick(otra, Qt::LeftButton);
        } else {
            prueba::teclear(b, texto, Fin(fin) == Fin::Intro ? Qt::Key_Return : Qt::Key_Tab);
        }
        QVERIFY2(mensajes_.isEmpty(), qPrintable(mensajes_.textos().join(u'|')));
        QCOMPARE(w.calculo().columnaS()(s, campo).numero(), valor);
        QCOMPARE(w.calculo().textoMostrado(Col::S, s, campo), aqui(mostrado));
        if (Fin(fin) != Fin::Intro)
            QCOMPARE(b->text(), aqui(mostrado));
    }

    // Every figure of the Resultados form of the 39-55 seat coach (button 1)
    // is the one the C settings show,
    // with this locale's separators.
    void resultados()
    {
        std::map<QString, QString> enC;
        {
            fijarSeparadores(QLocale::c());
            VentanaPrincipal w;
            QVERIFY(prueba::abrirCategoria(w, 1));
            enC = cifrasResultados(w);
            fijarSeparadores(QLocale::system());
        }
        VentanaPrincipal w;
        QVERIFY(prueba::abrirCategoria(w, 1));
        const std::map<QString, QString> local = cifrasResultados(w);
        QCOMPARE(local.at(QStringLiteral("lblSR(18)")), aqui(QStringLiteral("157,537.64")));
        QVERIFY(local.size() > 80);
        QCOMPARE(local.size(), enC.size());
        for (const auto &[nombre, texto] : enC)
            QCOMPARE(local.at(nombre), aqui(texto));
    }
};

QTEST_MAIN(PruebaRegional)
#include "prueba_regional.moc"
