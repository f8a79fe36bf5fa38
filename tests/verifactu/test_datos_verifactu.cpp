// "VERI*FACTU" driven as a user would, on a real settings file: the issuer's NIF checked
// before anything is stored, the mode switched on and off (off lasts until 31 December),
// the agency's test service only in a build without the producer's NIF, today's rates
// offered over the original lists; and the producer's statement with its data in order.
#include "FormFixture.h"
#include "ModalWatcher.h"
#include "verifactu/DatosVerifactu.h"
#include "verifactu/DeclaracionResponsable.h"
#include "verifactu/Productor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestDatosVerifactu : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { sandbox_.Clear(); }
    void guardaSoloDatosBuenos_data();
    void guardaSoloDatosBuenos();
    void declaracionEnSuOrden();

private:
    SettingsSandbox sandbox_{QStringLiteral("test_datos_verifactu")};
    QTemporaryDir carpeta_;
};

void TestDatosVerifactu::guardaSoloDatosBuenos_data() {
    QTest::addColumn<QStringList>("antes"); // keys stored before the window opens
    QTest::addColumn<bool>("activar");
    QTest::addColumn<QString>("nif");
    QTest::addColumn<QString>("certificado"); // "bueno", "falta" (no such file) or empty
    QTest::addColumn<QString>("aviso");       // how the message begins; empty: stored
    QTest::addColumn<QStringList>("despues"); // "Clave=valor"; "Clave=" absent; "Clave=*" set
    const QString anio = QString::number(QDate::currentDate().year());
    // The service chosen by default: the real one only when the build names its producer.
    const QString servidor =
        verifactu::ProductorDeLaCompilacion().nif.empty() ? QStringLiteral("pruebas") : QString();
    // clang-format off
    QTest::newRow("activado con un NIF bueno")
        << QStringList() << true << "a-58818501" << "bueno" << ""
        << QStringList{"VerifactuActivo=true", "EmisorNif=A58818501", "VerifactuHasta=",
                       "VerifactuServidor=" + servidor, "VerifactuInstalacion=*",
                       "VerifactuIva0=exenta", "VerifactuCertificado=*"};
    QTest::newRow("NIF con la letra equivocada")
        << QStringList() << true << "A58818502" << "bueno"
        << "NIF del emisor: El NIF «A58818502» no es válido"
        << QStringList{"VerifactuActivo=", "EmisorNif=", "VerifactuInstalacion="};
    QTest::newRow("certificado que no existe")
        << QStringList() << true << "A58818501" << "falta" << "Certificado: no se puede leer"
        << QStringList{"VerifactuActivo="};
    QTest::newRow("desactivado a mitad de año: sigue hasta el 31 de diciembre")
        << QStringList{"VerifactuActivo=true"} << false << "A58818501" << "bueno" << ""
        << QStringList{"VerifactuActivo=false", "VerifactuHasta=" + anio + "-12-31"};
    QTest::newRow("nunca activado, sin datos")
        << QStringList() << false << "" << "" << ""
        << QStringList{"VerifactuActivo=false", "VerifactuHasta=", "EmisorNif="};
    QTest::newRow("un servicio escrito a mano se conserva")
        << QStringList{"VerifactuServidor=https://127.0.0.1:8443/verifactu"} << true
        << "A58818501" << "bueno" << ""
        << QStringList{"VerifactuServidor=https://127.0.0.1:8443/verifactu"};
    QTest::newRow("con las listas originales pasa a los tipos vigentes")
        << QStringList() << true << "A58818501" << "bueno" << ""
        << QStringList{"TiposIVA=0;4;10;21"};
    QTest::newRow("con listas propias no las toca")
        << QStringList{"TiposIVA=0;21"} << true << "A58818501" << "bueno" << ""
        << QStringList{"TiposIVA=0;21", "TiposRE="};
    // clang-format on
}

void TestDatosVerifactu::guardaSoloDatosBuenos() {
    QFETCH(QStringList, antes);
    QFETCH(bool, activar);
    QFETCH(QString, nif);
    QFETCH(QString, certificado);
    QFETCH(QString, aviso);
    QFETCH(QStringList, despues);
    for (const QString& par : antes)
        sandbox_.Put(qPrintable(par.section(u'=', 0, 0)), par.section(u'=', 1).toStdString());
    const QString p12 = carpeta_.filePath(QStringLiteral("emisor.p12"));
    QFile fichero(p12);
    QVERIFY(fichero.open(QIODevice::WriteOnly) && fichero.write("PKCS12") > 0);
    fichero.close();

    ModalWatcher watcher;
    std::optional<tipos::Listas> avisadas;
    verifactu::DatosVerifactu ventana(nullptr,
                                      [&avisadas](const tipos::Listas& l) { avisadas = l; });
    ventana.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ventana));
    auto* entorno = ventana.findChild<QComboBox*>(QStringLiteral("entorno"));
    const bool sinProductor = verifactu::ProductorDeLaCompilacion().nif.empty();
    QCOMPARE(entorno->findText(QStringLiteral("AEAT (producción)")) < 0, sinProductor);
    QCOMPARE(ventana.findChild<QLabel*>(QStringLiteral("sinProductor")) != nullptr, sinProductor);

    ventana.findChild<QCheckBox*>(QStringLiteral("activo"))->setChecked(activar);
    const bool originales = !antes.join(u' ').contains(QStringLiteral("Tipos"));
    QCOMPARE(ventana.findChild<QCheckBox*>(QStringLiteral("tiposVigentes"))->isVisible(),
             activar && originales);
    auto* baja = ventana.findChild<QLabel*>(QStringLiteral("avisoBaja"));
    const bool estabaActivo = antes.contains(QStringLiteral("VerifactuActivo=true"));
    QCOMPARE(baja->isVisible(), estabaActivo && !activar);
    if (baja->isVisible())
        QVERIFY(baja->text().contains(
            QStringLiteral("1 de enero de %1").arg(QDate::currentDate().year() + 1)));

    ventana.findChild<QLineEdit*>(QStringLiteral("emisorNif"))->setText(nif);
    ventana.findChild<QLineEdit*>(QStringLiteral("emisorNombre"))
        ->setText(QStringLiteral("Talleres del Ebro, S.L."));
    ventana.findChild<QLineEdit*>(QStringLiteral("certificado"))
        ->setText(certificado == QStringLiteral("bueno")   ? p12
                  : certificado == QStringLiteral("falta") ? p12 + QStringLiteral(".no")
                                                           : QString());
    QTest::mouseClick(ventana.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                      Qt::LeftButton);
    if (aviso.isEmpty()) {
        QVERIFY2(watcher.messages().isEmpty(), qPrintable(watcher.messages().join(u'\n')));
        QVERIFY(!ventana.isVisible());
    } else {
        QTRY_COMPARE(watcher.messages().size(), 1);
        QVERIFY2(watcher.messages().at(0).startsWith(aviso), qPrintable(watcher.messages().at(0)));
        QVERIFY(ventana.isVisible());
    }
    for (const QString& par : despues) {
        const QByteArray clave = par.section(u'=', 0, 0).toLatin1();
        const QString valor = par.section(u'=', 1);
        if (valor.isEmpty())
            QVERIFY2(!sandbox_.Has(clave.constData()), clave.constData());
        else if (valor == QStringLiteral("*"))
            QVERIFY2(!sandbox_.Get(clave.constData()).empty(), clave.constData());
        else
            QCOMPARE(QString::fromStdString(sandbox_.Get(clave.constData())), valor);
    }
    QCOMPARE(avisadas.has_value(), aviso.isEmpty() && activar && originales);
}

void TestDatosVerifactu::declaracionEnSuOrden() {
    verifactu::Productor p;
    p.nombreSistema = "Talvero";
    p.idSistema = "TV";
    p.version = "3.1.0";
    p.nombre = "Distribuciones Ejemplo, S.L.";
    const QString texto = verifactu::TextoDeclaracionResponsable(p);
    QVERIFY(texto.startsWith(
        QStringLiteral("DECLARACIÓN RESPONSABLE DEL SISTEMA INFORMÁTICO DE FACTURACIÓN\n")));
    // The data in the order the Orden gives, a missing one said to be missing.
    const QStringList enOrden{
        QStringLiteral("sistema informático: Talvero"),
        QStringLiteral("sistema: TV"),
        QStringLiteral("Versión: 3.1.0"),
        QStringLiteral("Componentes y funcionalidades:"),
        QStringLiteral("VERI*FACTU: sí"),
        QStringLiteral("obligados tributarios: sí"),
        QStringLiteral("como VERI*FACTU: ninguno"),
        QStringLiteral("productor: Distribuciones Ejemplo, S.L."),
        QStringLiteral("NIF del productor: (sin indicar: lo completa quien distribuye"),
        QStringLiteral("Dirección postal del productor: (sin indicar"),
        QStringLiteral("29.2.j)"),
        QStringLiteral("Real Decreto 1007/2023"),
        QStringLiteral("Orden HAC/1177/2024"),
        QStringLiteral("En ____")};
    qsizetype desde = 0;
    for (const QString& parte : enOrden) {
        const qsizetype en = texto.indexOf(parte, desde);
        QVERIFY2(en >= 0, qPrintable(parte));
        desde = en + parte.size();
    }
}

QTEST_MAIN(TestDatosVerifactu)
#include "test_datos_verifactu.moc"
