// A list of receipts that leave as invoices, through the real program: each row checked as
// its alta would be (an error of its row), the altas recorded and chained across lists, and
// --verificar-registro finding a record changed by hand. With the mode off nothing changes.
#include "EjecutarTalvero.h"
#include "platform/SettingsStore.h"
#include "verifactu/Ajustes.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString kCabecera =
    QStringLiteral("Fecha;Pagador;Pagador (2ª línea);NIF del pagador;Concepto 1;Importe 1;% IVA");

} // namespace

class TestListaFacturas : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void filas_data();
    void filas();
    void cadenaVerificada();

private:
    void Ajustes(bool verifactu);
    QString Lista(const QStringList& filas);
    QStringList Altas();

    std::unique_ptr<QTemporaryDir> dir_;
};

void TestListaFacturas::init() {
    dir_ = std::make_unique<QTemporaryDir>();
}

void TestListaFacturas::Ajustes(bool verifactu) {
    platform::SettingsStore store(
        dir_->filePath(QStringLiteral("ajustes/Quenlaria/%1.conf")
                           .arg(QFileInfo(QStringLiteral(TALVERO_PROGRAMA)).baseName()))
            .toStdString());
    verifactu::Ajustes a;
    a.activo = verifactu;
    a.emisorNif = "12345678Z";
    a.emisorNombre = "TALLERES GIL SL";
    a.servidor = "pruebas";
    verifactu::EscribirAjustes(store, a);
    store.WriteString(platform::kTalveroSection, "TiposIVA", "0;4;10;16;21");
    store.Flush();
}

QString TestListaFacturas::Lista(const QStringList& filas) {
    const QString ruta = dir_->filePath(QStringLiteral("lista.csv"));
    QFile f(ruta);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write((QStringList{kCabecera} + filas).join(u'\n').toUtf8() + '\n');
    return ruta;
}

// Each alta and anulación: number, invoice type, the payer's NIF, ImporteTotal.
QStringList TestListaFacturas::Altas() {
    return FilasDelRegistro(dir_->path(),
                            QStringLiteral("SELECT numero, tipo_factura, destinatario_nif, "
                                           "importe_total FROM registros_facturacion ORDER BY id"),
                            [](const QSqlQuery& q) {
                                return QStringList{q.value(0).toString(), q.value(1).toString(),
                                                   q.value(2).toString(), q.value(3).toString()}
                                    .join(u' ');
                            });
}

void TestListaFacturas::filas_data() {
    QTest::addColumn<bool>("verifactu");
    QTest::addColumn<QStringList>("filas");
    QTest::addColumn<int>("estado");
    QTest::addColumn<QStringList>("altas");
    QTest::addColumn<QString>("error"); // on standard error; empty: none expected

    const QString hoy = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    const auto fila = [&](const char* resto) {
        return hoy + QLatin1Char(';') + QLatin1String(resto);
    };
    QTest::newRow("on: the NIF from its column or the second line; F2 without one")
        << true
        << QStringList{fila("Ana Gil;;00000000T;Alquiler;500,00;21"),
                       fila("Luis Sanz;NIF: 12.345.678-Z;;Alquiler;500,00;21"),
                       fila("Eva Mas;C/ Mayor, 3;;Alquiler;100,00;10")}
        << 0 << QStringList{"1 F1 00000000T 605.00", "2 F1 12345678Z 605.00", "3 F2  110.00"} << "";
    QTest::newRow("on: over 400 € without the payer's NIF")
        << true << QStringList{fila("Eva Mas;C/ Mayor, 3;;Alquiler;500,00;21")} << 2
        << QStringList() << "Fila 2: Un recibo de más de 400,00 €";
    QTest::newRow("on: a percentage the agency no longer admits")
        << true << QStringList{fila("Ana Gil;;00000000T;Alquiler;100,00;16")} << 2 << QStringList()
        << "Fila 2: La AEAT no admite un IVA del 16 %";
    QTest::newRow("on: a wrong NIF in its column")
        << true << QStringList{fila("Ana Gil;;00000000A;Alquiler;100,00;21")} << 2 << QStringList()
        << "Fila 2: NIF del pagador";
    QTest::newRow("off: the same list leaves as always, no record, the column ignored")
        << false << QStringList{fila("Eva Mas;C/ Mayor, 3;00000000A;Alquiler;500,00;16")} << 0
        << QStringList() << "";
}

void TestListaFacturas::filas() {
    QFETCH(bool, verifactu);
    QFETCH(QStringList, filas);
    QFETCH(int, estado);
    QFETCH(QStringList, altas);
    QFETCH(QString, error);
    Ajustes(verifactu);
    const SalidaTalvero s = EjecutarTalvero(
        dir_->path(), {QStringLiteral("--emitir-lista"), Lista(filas), QStringLiteral("--pdf"),
                       dir_->filePath(QStringLiteral("lista.pdf"))});
    QVERIFY2(s.estado == estado, qPrintable(s.errores));
    if (error.isEmpty())
        QCOMPARE(s.errores, QString());
    else
        QVERIFY2(s.errores.contains(error), qPrintable(s.errores));
    QCOMPARE(Altas(), altas);
    QCOMPARE(QFileInfo::exists(dir_->filePath(QStringLiteral("lista.pdf"))), estado == 0);
}

void TestListaFacturas::cadenaVerificada() {
    const QStringList verificar{QStringLiteral("--verificar-registro")};
    QCOMPARE(EjecutarTalvero(dir_->path(), verificar).estado, 2); // no register yet

    Ajustes(true);
    const QString hoy = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    const QString fila = hoy + QStringLiteral(";Ana Gil;;00000000T;Alquiler;100,00;21");
    for (const char* pdf : {"enero.pdf", "febrero.pdf"}) {
        const SalidaTalvero s = EjecutarTalvero(
            dir_->path(), {QStringLiteral("--emitir-lista"), Lista({fila, fila, fila}),
                           QStringLiteral("--pdf"), dir_->filePath(QLatin1String(pdf))});
        QVERIFY2(s.estado == 0, qPrintable(s.errores));
    }
    QCOMPARE(Altas().size(), 6);
    SalidaTalvero s = EjecutarTalvero(dir_->path(), verificar);
    QVERIFY2(s.estado == 0, qPrintable(s.errores));
    QVERIFY(s.salida.contains(QStringLiteral("6 registros")));

    // A number the issuer already used is an error of its row, never a warning.
    const QString repetida = dir_->filePath(QStringLiteral("repetida.csv"));
    {
        QFile f(repetida);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write((QStringLiteral("Número;") + kCabecera + QStringLiteral("\n2;") + fila + u'\n')
                    .toUtf8());
    }
    s = EjecutarTalvero(
        dir_->path(), {QStringLiteral("--emitir-lista"), repetida, QStringLiteral("--comprobar")});
    QCOMPARE(s.estado, 2);
    QVERIFY2(s.errores.contains(QStringLiteral("Fila 2, Número: «2» ya se ha usado")),
             qPrintable(s.errores));
    // Someone changes a record's amount by hand, dropping the trigger that stops the program.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("m"));
        db.setDatabaseName(RegistroDeTalvero(dir_->path()));
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("DROP TRIGGER registros_facturacion_inalterables")));
        QVERIFY(q.exec(QStringLiteral(
            "UPDATE registros_facturacion SET importe_total = '12.10' WHERE id = 4")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("m"));
    s = EjecutarTalvero(dir_->path(), verificar);
    QCOMPARE(s.estado, 1);
    QVERIFY2(s.errores.contains(QStringLiteral("registro de facturación 4 no coincide: emisor "
                                               "12345678Z, número 4")),
             qPrintable(s.errores));
}

QTEST_GUILESS_MAIN(TestListaFacturas)
#include "test_lista_facturas.moc"
