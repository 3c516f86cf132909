// A desktop whose user prefers English messages (LANGUAGE=en) under Spanish
// regional settings: the texts Qt supplies to the program's dialogs stay
// Spanish. The environment is set before the application object exists, as
// the program's own start does.
#include "interfaz/soporte/idioma.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QMimeDatabase>
#include <QPushButton>
#include <QtTest>
#include <cstdio>

class PruebaIdioma : public QObject {
    Q_OBJECT

private slots:
    void botonesDeQt_data()
    {
        QTest::addColumn<int>("boton");
        QTest::addColumn<QString>("texto");
        QTest::newRow("Ok") << int(QDialogButtonBox::Ok) << QStringLiteral("Aceptar");
        QTest::newRow("Cancel") << int(QDialogButtonBox::Cancel) << QStringLiteral("Cancelar");
        QTest::newRow("Yes") << int(QDialogButtonBox::Yes) << QStringLiteral("Sí");
        QTest::newRow("Close") << int(QDialogButtonBox::Close) << QStringLiteral("Cerrar");
    }
    void botonesDeQt()
    {
        QFETCH(int, boton);
        QFETCH(QString, texto);
        const auto estandar = static_cast<QDialogButtonBox::StandardButton>(boton);
        QDialogButtonBox caja(estandar);
        QCOMPARE(caja.button(estandar)->text().remove(QLatin1Char('&')), texto);
    }

    // The file chooser's "Tipo" column.
    void tiposDeArchivo()
    {
        QCOMPARE(QMimeDatabase().mimeTypeForName(QStringLiteral("text/plain")).comment(),
                 QStringLiteral("documento de texto sencillo"));
    }
};

int main(int argc, char *argv[])
{
    qputenv("LANG", "es_ES.UTF-8");
    qputenv("LANGUAGE", "en");
    pelmora::fijarIdiomaMensajes();
    QApplication app(argc, argv);
    if (!pelmora::instalarTraduccionQt()) {
        std::fputs("Qt's Spanish translation (qtbase_es.qm) is not installed\n", stderr);
        return 1;
    }
    PruebaIdioma prueba;
    return QTest::qExec(&prueba, argc, argv);
}

#include "prueba_idioma.moc"
