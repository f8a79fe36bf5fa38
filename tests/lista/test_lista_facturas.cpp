// Lists of invoices through the real program: each row checked as its alta, the altas chained
// across lists, --verificar-registro finding a record changed or deleted by hand; mode off: as
// always.
#include "EjecutarTalvero.h"
#include "lista/Lista.h"
#include "platform/SettingsStore.h"
#include "verifactu/Ajustes.h"
#include "verifactu/CodigoQr.h"

#include <QFile>
#include <QSqlError>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString kCabecera =
    QStringLiteral("Fecha;Pagador;Pagador (2ª línea);NIF del pagador;Concepto 1;Importe 1;% IVA");

// A row dated today, followed by `resto`.
QString Fila(const QString& resto = QStringLiteral("Ana Gil;;00000000T;Alquiler;100,00;21")) {
    return QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")) + u';' + resto;
}

} // namespace

class TestListaFacturas : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void filas_data();
    void filas();
    void cadenaVerificada();
    void cambioAMano_data();
    void cambioAMano();
    void qrDeCadaFila();

private:
    // `activo`: VerifactuActivo as written in the file; empty: as the program writes it.
    void Ajustes(bool verifactu, const QString& activo = {});
    QString Lista(const QStringList& filas, const QString& cabecera = kCabecera);
    QStringList Altas();
    SalidaTalvero Emitir(const QStringList& filas,
                         const QString& pdf = QStringLiteral("lista.pdf"));

    std::unique_ptr<QTemporaryDir> dir_;
};

void TestListaFacturas::init() {
    dir_ = std::make_unique<QTemporaryDir>();
}

void TestListaFacturas::Ajustes(bool verifactu, const QString& activo) {
    platform::SettingsStore store(AjustesDeTalvero(dir_->path()));
    verifactu::Ajustes a;
    a.activo = verifactu;
    a.emisorNif = "12345678Z";
    a.emisorNombre = "TALLERES GIL SL";
    a.servidor = "pruebas";
    verifactu::EscribirAjustes(store, a);
    store.WriteString(platform::kTalveroSection, "TiposIVA", "0;4;10;16;21");
    if (!activo.isEmpty())
        store.WriteString(platform::kTalveroSection, "VerifactuActivo", activo.toStdString());
    store.Flush();
}

QString TestListaFacturas::Lista(const QStringList& filas, const QString& cabecera) {
    const QString ruta = dir_->filePath(QStringLiteral("lista.csv"));
    QFile f(ruta);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write((QStringList{cabecera} + filas).join(u'\n').toUtf8() + '\n');
    return ruta;
}

// Each alta and anulación: number, invoice type, the payer's NIF, ImporteTotal.
QStringList TestListaFacturas::Altas() {
    return FilasDelRegistro(
        dir_->path(),
        QStringLiteral("SELECT numero || ' ' || tipo_factura || ' ' || coalesce(destinatario_nif, "
                       "'') || ' ' || importe_total FROM registros_facturacion ORDER BY id"),
        [](const QSqlQuery& q) { return q.value(0).toString(); });
}

SalidaTalvero TestListaFacturas::Emitir(const QStringList& filas, const QString& pdf) {
    return EjecutarTalvero(dir_->path(),
                           {"--emitir-lista", Lista(filas), "--pdf", dir_->filePath(pdf)});
}

void TestListaFacturas::filas_data() {
    QTest::addColumn<QString>("verifactu"); // VerifactuActivo as written in the file
    QTest::addColumn<QStringList>("filas"); // each after today's date
    QTest::addColumn<QStringList>("altas");
    QTest::addColumn<QString>("error"); // the row's, ending with status 2; empty: none, status 0
    const QString ana = QStringLiteral("Ana Gil;;00000000T;Alquiler;100,00;21");
    QTest::newRow("on: the NIF from its column or the second line; F2 without one")
        << "true"
        << QStringList{"Ana Gil;;00000000T;Alquiler;500,00;21",
                       "Luis Sanz;NIF: 12.345.678-Z;;Alquiler;500,00;21",
                       "Eva Mas;C/ Mayor, 3;;Alquiler;100,00;10"}
        << QStringList{"1 F1 00000000T 605.00", "2 F1 12345678Z 605.00", "3 F2  110.00"} << "";
    QTest::newRow("on: over 400 € without the payer's NIF")
        << "true" << QStringList{"Eva Mas;C/ Mayor, 3;;Alquiler;500,00;21"} << QStringList()
        << "Fila 2: Un recibo de más de 400,00 €";
    QTest::newRow("on: a percentage the agency no longer admits")
        << "true" << QStringList{"Ana Gil;;00000000T;Alquiler;100,00;16"} << QStringList()
        << "Fila 2: La AEAT no admite un IVA del 16 %";
    QTest::newRow("on: a wrong NIF in its column")
        << "true" << QStringList{"Ana Gil;;00000000A;Alquiler;100,00;21"} << QStringList()
        << "Fila 2: NIF del pagador";
    QTest::newRow("on, written by hand as 1")
        << "1" << QStringList{ana} << QStringList{"1 F1 00000000T 121.00"} << "";
    QTest::newRow("off, written by hand as no") << "no" << QStringList{ana} << QStringList() << "";
    QTest::newRow("off: the same list leaves as always, no record, the column ignored")
        << "false" << QStringList{"Eva Mas;C/ Mayor, 3;00000000A;Alquiler;500,00;16"}
        << QStringList() << "";
}

void TestListaFacturas::filas() {
    QFETCH(QString, verifactu);
    QFETCH(QStringList, filas);
    QFETCH(QStringList, altas);
    QFETCH(QString, error);
    Ajustes(verifactu == QStringLiteral("true"), verifactu);
    for (QString& fila : filas)
        fila = Fila(fila);
    const int estado = error.isEmpty() ? 0 : 2;
    const SalidaTalvero s = Emitir(filas);
    QVERIFY2(s.estado == estado, qPrintable(s.errores));
    QVERIFY2(error.isEmpty() ? s.errores.isEmpty() : s.errores.contains(error),
             qPrintable(s.errores));
    QCOMPARE(Altas(), altas);
    QCOMPARE(QFileInfo::exists(dir_->filePath(QStringLiteral("lista.pdf"))), estado == 0);
}

void TestListaFacturas::cadenaVerificada() {
    const QStringList verificar{"--verificar-registro"};
    QCOMPARE(EjecutarTalvero(dir_->path(), verificar).estado, 2); // no register yet

    Ajustes(true);
    const QString fila = Fila();
    for (const char* pdf : {"enero.pdf", "febrero.pdf"}) {
        const SalidaTalvero s = Emitir({fila, fila, fila}, QString::fromLatin1(pdf));
        QVERIFY2(s.estado == 0, qPrintable(s.errores));
    }
    QCOMPARE(Altas().size(), 6);
    SalidaTalvero s = EjecutarTalvero(dir_->path(), verificar);
    QVERIFY2(s.estado == 0, qPrintable(s.errores));
    QVERIFY2(s.salida.contains(QStringLiteral("6 registros de facturación de 1 emisor:")),
             qPrintable(s.salida));

    // A number already used: an error of its row.
    s = EjecutarTalvero(dir_->path(), {"--emitir-lista",
                                       Lista({"2;" + fila}, QStringLiteral("Número;") + kCabecera),
                                       "--comprobar"});
    QCOMPARE(s.estado, 2);
    QVERIFY2(s.errores.contains(QStringLiteral("Fila 2, Número: «2» ya se ha usado")),
             qPrintable(s.errores));
}

void TestListaFacturas::cambioAMano_data() {
    QTest::addColumn<QString>("cambio");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("motivo");
    const QString datos = QStringLiteral("Sus datos se han cambiado después de generarlo.");
    QTest::newRow("Importe, en la huella")
        << "UPDATE registros_facturacion SET importe_total = '12.10' WHERE id = 2" << 2 << datos;
    QTest::newRow("Base, fuera de la huella")
        << "UPDATE registros_facturacion SET base = '1000.00' WHERE id = 2" << 2 << datos;
    QTest::newRow("NIF del destinatario")
        << "UPDATE registros_facturacion SET destinatario_nif = '00000001R' WHERE id = 3" << 3
        << datos;
    QTest::newRow("NIF del destinatario quitado")
        << "UPDATE registros_facturacion SET destinatario_nif = NULL WHERE id = 1" << 1 << datos;
    QTest::newRow("Descripción")
        << "UPDATE registros_facturacion SET descripcion_operacion = 'Venta' WHERE id = 2" << 2
        << datos;
    QTest::newRow("Uno borrado: el siguiente, por su id")
        << "DELETE FROM registros_facturacion WHERE id = 2" << 3 << "no sigue al registro anterior";
}

void TestListaFacturas::cambioAMano() {
    // Changed by hand, past the triggers that stop the program.
    QFETCH(QString, cambio);
    QFETCH(int, id);
    QFETCH(QString, motivo);
    Ajustes(true);
    SalidaTalvero s = Emitir({Fila(), Fila(), Fila()});
    QVERIFY2(s.estado == 0, qPrintable(s.errores));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("m"));
        db.setDatabaseName(RegistroDeTalvero(dir_->path()));
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("DROP TRIGGER registros_facturacion_inalterables")));
        QVERIFY(q.exec(QStringLiteral("DROP TRIGGER registros_facturacion_sin_borrado")));
        QVERIFY2(q.exec(cambio), qPrintable(q.lastError().text()));
        QCOMPARE(q.numRowsAffected(), 1);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("m"));
    s = EjecutarTalvero(dir_->path(), {"--verificar-registro"});
    QCOMPARE(s.estado, 1);
    const QString esperado =
        QStringLiteral("registro de facturación %1 no coincide: emisor 12345678Z, número %1")
            .arg(id);
    QVERIFY2(s.errores.contains(esperado) && s.errores.contains(motivo), qPrintable(s.errores));
    // Named by its id, never its position in the chain.
    QVERIFY2(!s.errores.contains(QStringLiteral("El registro")), qPrintable(s.errores));
}

void TestListaFacturas::qrDeCadaFila() {
    // Each page's QR code: the test host, number, date, ImporteTotal with IVA (not IRPF).
    const registro::Facturacion f{.emisorNif = "12345678Z",
                                  .emisorNombre = "TALLERES GIL SL",
                                  .produccion = false,
                                  .hoy = QDate(2026, 1, 20)};
    const lista::ListaRevisada lista = lista::RevisarLista(
        lista::LeerArchivoCsv(
            Lista({QStringLiteral("15/01/2026;Ana Gil;;00000000T;Alquiler;100,00;21")})),
        CRecibo(), {{"0", "4", "10", "21"}, {"0"}, {"0"}}, {{}, {}, {}}, f);
    QCOMPARE(lista.filas.size(), std::size_t(1));
    QVERIFY2(lista.filas[0].Valida(), qPrintable(lista.filas[0].errores.join(u'\n')));
    const verifactu::MatrizQr esperada = verifactu::CodificarQr(
        "https://prewww2.aeat.es/wlpl/TIKE-CONT/ValidarQR?nif=12345678Z&numserie=1&fecha="
        "15-01-2026&importe=121.00");
    const MarcaQr& qr = lista.filas[0].recibo.m_Qr;
    QCOMPARE(qr.lado, esperada.Lado());
    for (int fila = 0; fila < qr.lado; ++fila)
        for (int columna = 0; columna < qr.lado; ++columna)
            QCOMPARE(qr.oscuros[std::size_t(fila * qr.lado + columna)] != 0,
                     esperada.Oscuro(fila, columna));
}

QTEST_GUILESS_MAIN(TestListaFacturas)
#include "test_lista_facturas.moc"
