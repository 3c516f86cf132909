// "Importar cifras de referencia..." and "Restablecer cifras de referencia":
// the menu items, the import and reset dialogs, and what a new calculation
// shows afterwards.
#include "archivos/referencia.h"
#include "ayudantes.h"
#include "bytes.h"
#include "calculo/campos.h"
#include "entrada/fechas.h"
#include "entrada/numeros.h"
#include "interfaz/dialogos/cifrasreferencia.h"
#include "interfaz/dialogos/comunes.h"
#include "interfaz/dialogos/dialogos.h"
#include "interfaz/dialogos/mensaje.h"
#include "interfaz/formularios/formulario.h"
#include "interfaz/soporte/rutas.h"
#include "interfaz/soporte/twips.h"
#include "interfaz/ventana/ventanaprincipal.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QSettings>
#include <QtTest>

using namespace pelmora;

namespace {

using prueba::escribirBytes;
using prueba::leerBytes;

QString fechaCorta(const QDate &d) { return textoFecha(d); }

} // namespace

class PruebaReferencia : public QObject {
    Q_OBJECT

    QTemporaryDir carpeta_; // the program's folder and the user's data folder
    prueba::CapturaMensajes mensajes_;
    QStringList dialogos_; // the dialogs run, by name
    decltype(interceptorArchivoReferencia)::Ambito archivo_{interceptorArchivoReferencia, {}};
    decltype(interceptorDialogoReferencia)::Ambito dialogo_{interceptorDialogoReferencia, {}};

    QString instalado(int k) const { return rutaReferenciaInstalada(k, carpetaReferencia()); }
    QString propia(int k) const { return rutaReferenciaUsuario(k); }

    // A calculation of 45 seats whose user column differs from its
    // reference column.
    QString calculoPropio()
    {
        Columna s, o;
        leerColumnas(instalado(1), s, o);
        s(Seccion::Caracteristicas, Car::Descripcion) = Valor(QStringLiteral("Autocar propio de 45 plazas"));
        s(Seccion::Caracteristicas, Car::Plazas) = Valor(45.0);
        s(Seccion::CostesFijos1, F1::PrecioAutocar) = Valor(321000.0);
        s.Fecha = QDate(2027, 3, 9);
        const QString ruta = carpeta_.filePath(QStringLiteral("Autocar propio.clc"));
        escribirBytes(ruta, escribirCalculo(s, o));
        return ruta;
    }

    // Opens a new calculation of category k through the chooser.
    bool abrir(VentanaPrincipal &w, int k)
    {
        w.nuevoCalculo();
        auto *d = w.findChild<DialogoTipoVehiculo *>(QStringLiteral("frmTipoVeh"));
        return d && d->elegir(k) && w.calculoAbierto();
    }

    // The price of the coach in a column of the open calculation, and the
    // title of every reference frame.
    double precio(VentanaPrincipal &w, Col c)
    {
        return w.calculo().columna(c)(Seccion::CostesFijos1, F1::PrecioAutocar).n();
    }
    void comprobarTitulos(VentanaPrincipal &w, const QDate &fecha)
    {
        for (Seccion s : {Seccion::Caracteristicas, Seccion::CostesFijos1, Seccion::CostesFijos2,
                          Seccion::CostesVariables, Seccion::CostesIndirectos, Seccion::Resultados}) {
            auto *f = w.formulario(s)->findChild<QGroupBox *>(QStringLiteral("FrameO"));
            QVERIFY(f);
            QCOMPARE(f->title(), QStringLiteral("Vededizaviro de Costes (") + fechaCorta(fecha) + QLatin1Char(')'));
        }
    }

    // Every dialog of the commands is answered by respuesta, by name.
    void responder(std::function<int(QDialog &)> respuesta)
    {
        dialogo_.cambiar([this, respuesta](QDialog &d) {
            dialogos_ << d.objectName();
            return respuesta(d);
        });
    }

private slots:
    void initTestCase()
    {
        fijarDatosPrograma();
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
        fijarSeparadores(QLocale());
        fijarPuntosPorPulgada(96);
        QVERIFY(carpeta_.isValid());
        QVERIFY(QDir().mkpath(carpeta_.filePath(QStringLiteral("programa/Vededizaviro"))));
        for (const CategoriaAutocar &c : kCategorias)
            QVERIFY(QFile::copy(QStringLiteral(PELMORA_BIN "/Vededizaviro/") + QString::fromUtf8(c.archivo),
                                carpeta_.filePath(QStringLiteral("programa/Vededizaviro/"))
                                    + QString::fromUtf8(c.archivo)));
        qputenv("XDG_DATA_HOME", QFile::encodeName(carpeta_.filePath(QStringLiteral("datos"))));
        // Opening a calculation lists it among the recent files: not the user's.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, carpeta_.filePath(QStringLiteral("ajustes")));
        QCOMPARE(carpetaReferenciaUsuario(), carpeta_.filePath(QStringLiteral("datos/Pelmora/Vededizaviro")));
    }

    void init()
    {
        fijarCarpetaPrograma(carpeta_.filePath(QStringLiteral("programa")));
        QDir(carpetaReferenciaUsuario()).removeRecursively();
        mensajes_.clear();
        dialogos_.clear();
    }

    void cleanup()
    {
        archivo_.cambiar({});
        dialogo_.cambiar({});
        fijarCarpetaPrograma(QString());
    }

    void cleanupTestCase()
    {
        // Whatever ran, the installed files are as shipped.
        for (int k = 0; k < kNumCategorias; ++k)
            QCOMPARE(leerBytes(carpeta_.filePath(QStringLiteral("programa/Vededizaviro/")) + kCategorias[k].archivo),
                     leerBytes(QStringLiteral(PELMORA_BIN "/Vededizaviro/") + kCategorias[k].archivo));
    }

    void menus_data()
    {
        QTest::addColumn<int>("estado");
        QTest::addColumn<bool>("habilitados");
        QTest::newRow("sin cálculo") << 0 << true;
        QTest::newRow("con cálculo") << 1 << false;
        QTest::newRow("elector de categoría abierto") << 2 << false;
        QTest::newRow("cálculo cerrado") << 3 << true;
    }
    void menus()
    {
        QFETCH(int, estado);
        QFETCH(bool, habilitados);
        VentanaPrincipal w;
        if (estado == 1 || estado == 3)
            QVERIFY(abrir(w, 2));
        if (estado == 2)
            w.nuevoCalculo();
        if (estado == 3)
            w.CerrarPatillas();
        // After "Acuerdos", in this order, enabled with "Nuevo Cálculo".
        const QList<QAction *> items = w.findChild<QMenu *>(QStringLiteral("mnuVededizaviro"))->actions();
        QCOMPARE(items.size(), 3);
        const char *const nombres[] = {"mnuAcuerdos", "mnuImportarReferencia", "mnuRestablecerReferencia"};
        const char *const titulos[] = {"Acuerdos", "Importar cifras de referencia...",
                                       "Restablecer cifras de referencia"};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(items[i]->objectName(), QLatin1String(nombres[i]));
            QCOMPARE(sinMnemonico(items[i]->text()), QString::fromUtf8(titulos[i]));
        }
        for (int i = 1; i < 3; ++i) {
            QCOMPARE(items[i]->isEnabled(), habilitados);
            QCOMPARE(items[i]->isEnabled(), w.accion(QStringLiteral("mnuNuevo"))->isEnabled());
        }
    }

    void importar_data()
    {
        QTest::addColumn<bool>("deCalculo");
        QTest::addColumn<int>("propuesta"); // category preselected from the seats
        QTest::addColumn<int>("elegida");
        QTest::addColumn<bool>("aviso");
        QTest::newRow("cálculo de 45 plazas") << true << 1 << 1 << false;
        QTest::newRow("cifras de 10 a 25 plazas como más de 55") << false << 3 << 0 << true;
    }
    void importar()
    {
        QFETCH(bool, deCalculo);
        QFETCH(int, propuesta);
        QFETCH(int, elegida);
        QFETCH(bool, aviso);
        const QString origen = deCalculo ? calculoPropio() : instalado(3);
        Columna fs, fo;
        QCOMPARE(leerColumnas(origen, fs, fo), ErrorArchivo::Ninguno);
        const Columna &nueva = deCalculo ? fs : fo;
        // A calculation saved before the import keeps its reference column.
        const QString grabado = carpeta_.filePath(QStringLiteral("grabado.clc"));
        QVERIFY(QFile::remove(grabado) || !QFile::exists(grabado));
        QVERIFY(QFile::copy(instalado(elegida), grabado));

        VentanaPrincipal w;
        archivo_.cambiar([origen] { return origen; });
        responder([&](QDialog &d) {
            auto *imp = qobject_cast<DialogoImportarReferencia *>(&d);
            if (!imp)
                return int(QDialog::Rejected);
            [&] {
                QCOMPARE(imp->categoria(), propuesta);
                imp->elegirCategoria(elegida);
                QCOMPARE(imp->findChild<QLabel *>(QStringLiteral("lblAviso"))->isVisibleTo(imp), aviso);
                // The category's current figures beside the new ones.
                Calculo actual, nuevo;
                QCOMPARE(AbrirArchivo(actual, instalado(elegida)), ErrorArchivo::Ninguno);
                nuevo.cargarColumnas(nueva, nueva);
                QCOMPARE(imp->actual(0), fechaCorta(QDate(2026, 1, 15)));
                QCOMPARE(imp->nueva(0), fechaCorta(nueva.Fecha));
                QCOMPARE(imp->nueva(1), nueva(Seccion::Caracteristicas, Car::Descripcion).texto());
                const int res[] = {Res::Totales, Res::C1, Res::C2, Res::C3, Res::C4, Res::C5};
                for (int r = 0; r < 6; ++r) {
                    QCOMPARE(imp->actual(3 + r), actual.textoMostrado(Col::O, Seccion::Resultados, res[r]));
                    QCOMPARE(imp->nueva(3 + r), nuevo.textoMostrado(Col::O, Seccion::Resultados, res[r]));
                }
                QVERIFY(imp->actual(3) != imp->nueva(3));
            }();
            return int(QDialog::Accepted);
        });
        w.accion(QStringLiteral("mnuImportarReferencia"))->trigger();
        QCOMPARE(dialogos_, QStringList{QStringLiteral("frmImportarReferencia")});
        QCOMPARE(mensajes_.titulos(), QStringList{QStringLiteral("Importar cifras de referencia")});
        QVERIFY(mensajes_.textos().constFirst().contains(QDir::toNativeSeparators(propia(elegida))));

        // The bytes pelmora-calc --referencia-de writes too (core tests).
        Columna rs, ro;
        QCOMPARE(leerReferencia(origen, rs, ro), ErrorArchivo::Ninguno);
        QCOMPARE(leerBytes(propia(elegida)), bytesReferencia(rs, ro));

        // A new calculation of the category: the new figures in both
        // columns, the new date in every reference frame.
        QVERIFY(abrir(w, elegida));
        QCOMPARE(precio(w, Col::S), nueva(Seccion::CostesFijos1, F1::PrecioAutocar).n());
        QCOMPARE(precio(w, Col::O), nueva(Seccion::CostesFijos1, F1::PrecioAutocar).n());
        comprobarTitulos(w, nueva.Fecha);
        QVERIFY(!w.HayCambios());
        QVERIFY(w.archivoActual().isEmpty());
        w.CerrarPatillas();
        // Another category still starts from the installed figures.
        QVERIFY(abrir(w, 2));
        comprobarTitulos(w, QDate(2026, 1, 15));
        w.CerrarPatillas();
        // The calculation saved before keeps the figures it was saved with.
        QVERIFY(w.abrirArchivoInicial(grabado));
        comprobarTitulos(w, QDate(2026, 1, 15));
        Columna gs, go;
        QCOMPARE(leerColumnas(grabado, gs, go), ErrorArchivo::Ninguno);
        QCOMPARE(precio(w, Col::O), go(Seccion::CostesFijos1, F1::PrecioAutocar).n());
        QVERIFY(precio(w, Col::O) != nueva(Seccion::CostesFijos1, F1::PrecioAutocar).n());
        // Opened from the user's folder, it is a reference: saving asks a name.
        w.CerrarPatillas();
        QVERIFY(w.abrirArchivoInicial(propia(elegida)));
        QVERIFY(w.archivoActual().isEmpty());
    }

    // Dates read day/month/year, as in Spain, whatever the system's language:
    // the frames' titles, the import dialog and the reset dialog.
    void fechasEnCualquierIdioma_data()
    {
        QTest::addColumn<QString>("idioma");
        for (const char *idioma : {"C", "en_US", "de_DE", "fr_FR", "ja_JP", "es_ES"})
            QTest::newRow(idioma) << QString::fromLatin1(idioma);
    }
    void fechasEnCualquierIdioma()
    {
        QFETCH(QString, idioma);
        QLocale::setDefault(QLocale(idioma));
        const auto espanol = qScopeGuard([] { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); });
        // Category 0 from a calculation of 9 March 2027.
        Columna rs, ro;
        QCOMPARE(leerReferencia(calculoPropio(), rs, ro), ErrorArchivo::Ninguno);
        QCOMPARE(importarReferencia(0, bytesReferencia(rs, ro), carpetaReferencia()), ErrorArchivo::Ninguno);
        VentanaPrincipal w;
        QVERIFY(abrir(w, 0));
        QStringList titulos;
        for (const char *marco : {"FrameS", "FrameO"})
            titulos << w.formulario(Seccion::Caracteristicas)->findChild<QGroupBox *>(QLatin1String(marco))->title();
        QCOMPARE(titulos, (QStringList{QStringLiteral("Cálculo Personalizado (9/3/27)"),
                                       QStringLiteral("Vededizaviro de Costes (9/3/27)")}));
        w.CerrarPatillas();

        QStringList vistas; // what each dialog shows of the dates
        archivo_.cambiar([this] { return instalado(2); });
        responder([&vistas](QDialog &d) {
            if (auto *imp = qobject_cast<DialogoImportarReferencia *>(&d)) {
                imp->elegirCategoria(0);
                vistas << imp->actual(0) << imp->nueva(0);
            } else if (auto *opcion = d.findChild<QRadioButton *>(QStringLiteral("optCategoria(0)"))) {
                vistas << opcion->text();
            }
            return int(QDialog::Rejected);
        });
        w.accion(QStringLiteral("mnuImportarReferencia"))->trigger();
        w.accion(QStringLiteral("mnuRestablecerReferencia"))->trigger();
        QCOMPARE(vistas, (QStringList{QStringLiteral("9/3/27"), QStringLiteral("15/1/26"),
                                      QStringLiteral("Más de 55: cifras importadas, del 9/3/27")}));
    }

    void archivoDanado_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("mensaje");
        const QByteArray bueno = leerBytes(QStringLiteral(PELMORA_BIN "/Vededizaviro/Autocar Estandar 26 a 38 plazas.obs"));
        QTest::newRow("corto") << bueno.left(bueno.size() / 2) << QStringLiteral("Archivo en mal estado.");
        QTest::newRow("vacío") << QByteArray() << QStringLiteral("Archivo en mal estado.");
        QTest::newRow("no existe") << QByteArray("-") << QStringLiteral("Archivo no encontrado.");
    }
    void archivoDanado()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, mensaje);
        QCOMPARE(importarReferencia(2, leerBytes(instalado(3)), carpetaReferencia()), ErrorArchivo::Ninguno);
        const QByteArray antes = leerBytes(propia(2));
        const QString ruta = carpeta_.filePath(QStringLiteral("danado.obs"));
        QFile::remove(ruta);
        if (bytes != "-")
            QVERIFY(escribirBytes(ruta, bytes));

        VentanaPrincipal w;
        archivo_.cambiar([ruta] { return ruta; });
        responder([](QDialog &) { return int(QDialog::Accepted); });
        w.accion(QStringLiteral("mnuImportarReferencia"))->trigger();
        QCOMPARE(mensajes_.textos(), QStringList{mensaje});
        QCOMPARE(mensajes_.titulos(), QStringList{QStringLiteral("Error")});
        QVERIFY(dialogos_.isEmpty()); // nothing asked, nothing written
        QCOMPARE(leerBytes(propia(2)), antes);
        QCOMPARE(QDir(carpetaReferenciaUsuario()).entryList(QDir::Files).size(), 1);
    }

    void restablecer_data()
    {
        QTest::addColumn<int>("elegida"); // -1 all
        QTest::addColumn<bool>("confirmar");
        QTest::newRow("una") << 2 << true;
        QTest::newRow("todas") << -1 << true;
        QTest::newRow("sin confirmar") << -1 << false;
    }
    void restablecer()
    {
        QFETCH(int, elegida);
        QFETCH(bool, confirmar);
        for (int k : {0, 2})
            QCOMPARE(importarReferencia(k, leerBytes(instalado(3)), carpetaReferencia()), ErrorArchivo::Ninguno);

        VentanaPrincipal w;
        QString pregunta;
        responder([&](QDialog &d) {
            if (auto *r = qobject_cast<DialogoRestablecerReferencia *>(&d)) {
                // Only the categories of the user's own can be chosen.
                for (int k = 0; k < kNumCategorias; ++k)
                    if (r->findChild<QRadioButton *>(QStringLiteral("optCategoria(%1)").arg(k))->isEnabled() != (k % 2 == 0))
                        return int(QDialog::Rejected);
                r->elegirCategoria(elegida);
                return int(QDialog::Accepted);
            }
            return int(QDialog::Rejected);
        });
        auto preguntas = interceptorPreguntas.interceptar([&](QMessageBox &q) {
            dialogos_ << q.objectName();
            pregunta = q.text();
            for (QAbstractButton *b : q.buttons())
                if (b->text() == (confirmar ? QStringLiteral("Sí") : QStringLiteral("No")))
                    b->click();
        });
        w.accion(QStringLiteral("mnuRestablecerReferencia"))->trigger();
        QCOMPARE(dialogos_, (QStringList{QStringLiteral("frmRestablecerReferencia"), QStringLiteral("dlgConfirmarRestablecer")}));
        QVERIFY(pregunta.contains(elegida < 0 ? QStringLiteral("para todas las categorías")
                                              : QString::fromUtf8(kCategorias[elegida].descripcion)));
        for (int k : {0, 2})
            QCOMPARE(hayReferenciaPropia(k), !confirmar || (elegida >= 0 && k != elegida));
        QCOMPARE(mensajes_.titulos().size(), confirmar ? 1 : 0);

        // The category goes back to the installed figures and date.
        if (confirmar) {
            QVERIFY(abrir(w, 2));
            comprobarTitulos(w, QDate(2026, 1, 15));
            w.CerrarPatillas();
            // With nothing of the user's own left, there is nothing to choose.
            restablecerReferencia(-1, carpetaReferencia());
            dialogos_.clear();
            mensajes_.clear();
            w.accion(QStringLiteral("mnuRestablecerReferencia"))->trigger();
            QVERIFY(dialogos_.isEmpty());
            QVERIFY(mensajes_.textos().constFirst().startsWith(QStringLiteral("No hay cifras de referencia importadas")));
        }
    }
};

QTEST_MAIN(PruebaReferencia)
#include "prueba_referencia.moc"
