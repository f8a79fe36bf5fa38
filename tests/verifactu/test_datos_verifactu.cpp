// "VERI*FACTU" driven as a user would, on a real settings file; the producer's statement
// with its data in order.
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

namespace {
template <class W> W* Hijo(const QObject& ventana, const char* nombre) {
    return ventana.findChild<W*>(QLatin1String(nombre));
}
} // namespace

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
    const bool sinProductor = verifactu::ProductorDeLaCompilacion().nif.empty();
    QCOMPARE(Hijo<QComboBox>(ventana, "entorno")->findText(QStringLiteral("AEAT (producción)")) < 0,
             sinProductor);
    QCOMPARE(Hijo<QLabel>(ventana, "sinProductor") != nullptr, sinProductor);

    Hijo<QCheckBox>(ventana, "activo")->setChecked(activar);
    const bool originales = !antes.join(u' ').contains(QStringLiteral("Tipos"));
    QCOMPARE(Hijo<QCheckBox>(ventana, "tiposVigentes")->isVisible(), activar && originales);
    auto* baja = Hijo<QLabel>(ventana, "avisoBaja");
    const bool estabaActivo = antes.contains(QStringLiteral("VerifactuActivo=true"));
    QCOMPARE(baja->isVisible(), estabaActivo && !activar);
    if (baja->isVisible())
        QVERIFY(baja->text().contains(
            QStringLiteral("1 de enero de %1").arg(QDate::currentDate().year() + 1)));

    Hijo<QLineEdit>(ventana, "emisorNif")->setText(nif);
    Hijo<QLineEdit>(ventana, "emisorNombre")->setText(QStringLiteral("Talleres del Ebro, S.L."));
    Hijo<QLineEdit>(ventana, "certificado")
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
    const QString texto =
        verifactu::TextoDeclaracionResponsable({.nombre = "Distribuciones Ejemplo, S.L.",
                                                .nombreSistema = "Talvero",
                                                .idSistema = "TV",
                                                .version = "3.1.0"});
    QVERIFY(texto.startsWith(
        QStringLiteral("DECLARACIÓN RESPONSABLE DEL SISTEMA INFORMÁTICO DE FACTURACIÓN\n")));
    // The data in the order the Orden gives, a missing one said to be missing.
    qsizetype desde = 0;
    for (const char* parte :
         {"sistema informático: Talvero", "sistema: TV", "Versión: 3.1.0",
          "Componentes y funcionalidades:", "VERI*FACTU: sí", "obligados tributarios: sí",
          "como VERI*FACTU: ninguno", "productor: Distribuciones Ejemplo, S.L.",
          "NIF del productor: (sin indicar: lo completa quien distribuye",
          "Dirección postal del productor: (sin indicar", "29.2.j)", "Real Decreto 1007/2023",
          "Orden HAC/1177/2024", "En ____"}) {
        const QString buscada = QString::fromUtf8(parte);
        desde = texto.indexOf(buscada, desde);
        QVERIFY2(desde >= 0, parte);
        desde += buscada.size();
    }
}

QTEST_MAIN(TestDatosVerifactu)
#include "test_datos_verifactu.moc"
