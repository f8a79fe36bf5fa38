// The form with VERI*FACTU on and records pending in the register, against the stand-in of
// the agency's service: the pending count beside the menus, the certificate's password asked
// once when the background sender first needs it, and a refused record reported once in a
// message that does not block the form.
#include "../envio/DatosEnvio.h"
#include "FormFixture.h"

#include <QInputDialog>
#include <QLabel>
#include <QtTest>

class TestFormVerifactu : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void enviaAlAbrirYAvisaDelRechazo();

private:
    simulador::Certificados certificados_;
};

void TestFormVerifactu::initTestCase() {
    QVERIFY2(certificados_.Crear(), qPrintable(certificados_.Error()));
}

void TestFormVerifactu::enviaAlAbrirYAvisaDelRechazo() {
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.filePath(u"datos"_qs).toLocal8Bit()); // a register of its own
    SettingsSandbox ajustes(u"test_form_verifactu"_qs);
    registro::Registro registro(registro::Registro::RutaPorDefecto());
    QVERIFY2(registro.Abrir(), qPrintable(registro.Error()));
    QVERIFY(datos_envio::Anadir(registro, 2));
    simulador::Servicio servicio(certificados_, dir.filePath(u"diario"_qs));
    QVERIFY2(servicio.Arrancar({u"parcial"_qs}), qPrintable(servicio.Error()));
    {
        platform::SettingsStore store;
        verifactu::EscribirAjustes(
            store, datos_envio::Ajustes(certificados_, servicio.Url(), certificados_.Cliente()));
        QVERIFY(store.Flush());
    }

    // The password, typed into the dialog that asks for it; and what the form showed then.
    int preguntas = 0;
    QString mostrado;
    CTalveroDlg dlg;
    QTimer responder;
    connect(&responder, &QTimer::timeout, this, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* pregunta = qobject_cast<QInputDialog*>(w);
            if (pregunta == nullptr || !pregunta->isVisible())
                continue;
            ++preguntas;
            QCOMPARE(pregunta->textEchoMode(), QLineEdit::Password);
            if (auto* pendientes = dlg.findChild<QLabel*>(u"pendientesVerifactu"_qs))
                mostrado = pendientes->isVisible() ? pendientes->text() : QString();
            pregunta->setTextValue(QString::fromUtf8(simulador::kClave));
            pregunta->accept();
        }
    });
    responder.start(20);
    // Shown, not waited on to be active: the password's question may take the focus first.
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));

    QTRY_VERIFY_WITH_TIMEOUT(dlg.findChild<QMessageBox*>(u"rechazoVerifactu"_qs) != nullptr,
                             20'000);
    QCOMPARE(preguntas, 1);
    QCOMPARE(mostrado, u"2 registros VERI*FACTU pendientes de envío"_qs);
    auto* aviso = dlg.findChild<QMessageBox*>(u"rechazoVerifactu"_qs);
    QVERIFY(!aviso->isModal());
    QVERIFY2(aviso->text().contains(u"el recibo R-2"_qs) && aviso->text().contains(u"1100"_qs),
             qPrintable(aviso->text()));
    // Nothing left pending: the count is gone; the refusal is not reported again.
    QTRY_VERIFY(!dlg.findChild<QLabel*>(u"pendientesVerifactu"_qs)->isVisible());
    QCOMPARE(registro.RechazosSinAvisar().size(), 0u);
    QCOMPARE(datos_envio::Estados(registro), (QStringList{"R-1 aceptado 0", "R-2 rechazado 1100"}));
    aviso->close();
    dlg.reject();
}

QTEST_MAIN(TestFormVerifactu)
#include "test_form_verifactu.moc"
