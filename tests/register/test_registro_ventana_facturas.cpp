// "Recibos emitidos" with invoices, under the offscreen platform: each receipt's VERI*FACTU
// state with the agency's code in its tooltip, the pending count, "Anular…" and what it
// leaves (a chained anulación, a receipt that is not reprinted), "Corregir…" for a refused
// one, and a reprint that carries its alta's QR code.
#include "MuestrasFactura.h"
#include "register/RecibosEmitidos.h"
#include "register/Registro.h"
#include "verifactu/Cadena.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using registro::EstadoEnvio;
using registro::RecibosEmitidos;
using registro::Registro;

namespace {

// Without remittances the state is the eighth column shown.
constexpr int kColumnaFactura = 8;

// Answers the next modal message box with `boton`, and keeps its text.
void Responder(QMessageBox::StandardButton boton, QString* texto) {
    QTimer::singleShot(0, qApp, [boton, texto] {
        if (auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            *texto = caja->text();
            caja->button(boton)->click();
        }
    });
}

} // namespace

class TestRegistroVentanaFacturas : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void estados_data();
    void estados();
    void anularYCorregir();

private:
    // The window on the register, the receipt `numero` selected.
    std::unique_ptr<RecibosEmitidos> Ventana(const QString& numero);

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Registro> reg_;
    QList<CRecibo> copiados_, impresos_;
};

void TestRegistroVentanaFacturas::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    reg_ = std::make_unique<Registro>(dir_->filePath(QStringLiteral("recibos.sqlite")));
    // 1 pending, 2 accepted, 3 accepted with errors, 4 refused; 5 is no invoice.
    const registro::Facturacion f = muestra::Emisor();
    for (const char* numero : {"1", "2", "3", "4"})
        QVERIFY(reg_->AnotarConAlta(muestra::Factura(numero, 10000, "21"), "PDF", f) > 0);
    QVERIFY(reg_->Anotar(muestra::Factura("5", 10000, "21"), QStringLiteral("PDF")));
    QVERIFY(reg_->AnotarEstados({{2, EstadoEnvio::Aceptado, 0, {}},
                                 {3, EstadoEnvio::AceptadoConErrores, 2001, "NIF no censado"},
                                 {4, EstadoEnvio::Rechazado, 1105, "Fecha incorrecta"}},
                                QStringLiteral("CSV1")));
    copiados_.clear();
    impresos_.clear();
}

std::unique_ptr<RecibosEmitidos> TestRegistroVentanaFacturas::Ventana(const QString& numero) {
    registro::AccionesRegistro acciones;
    acciones.copiarAlFormulario = [this](const CRecibo& r) { copiados_ << r; };
    acciones.imprimir = [this](const CRecibo& r) { impresos_ << r; };
    acciones.qrProduccion = false;
    auto v = std::make_unique<RecibosEmitidos>(reg_->Ruta(), acciones);
    v->show();
    auto* tabla = v->findChild<QTableView*>(QStringLiteral("tablaRecibos"));
    for (int fila = 0; fila < tabla->model()->rowCount(); ++fila)
        if (tabla->model()->index(fila, 0).data().toString() == numero)
            tabla->selectRow(fila);
    return v;
}

void TestRegistroVentanaFacturas::estados_data() {
    QTest::addColumn<QString>("numero");
    QTest::addColumn<QString>("estado");
    QTest::addColumn<QString>("ayuda"); // in the tooltip
    QTest::addColumn<bool>("anular");
    QTest::addColumn<bool>("corregir");

    QTest::newRow("pending") << "1"
                             << "Pendiente"
                             << "Pendiente" << true << false;
    QTest::newRow("accepted") << "2"
                              << "Aceptado"
                              << "Aceptado" << true << false;
    QTest::newRow("accepted with errors, shown as a warning")
        << "3"
        << "Aceptado con errores"
        << "Código 2001 de la AEAT: NIF no censado" << true << false;
    QTest::newRow("refused: to correct")
        << "4"
        << "Rechazado"
        << "Código 1105 de la AEAT: Fecha incorrecta" << true << true;
    QTest::newRow("no invoice: nothing") << "5"
                                         << ""
                                         << "" << false << false;
}

void TestRegistroVentanaFacturas::estados() {
    QFETCH(QString, numero);
    QFETCH(QString, estado);
    QFETCH(QString, ayuda);
    QFETCH(bool, anular);
    QFETCH(bool, corregir);
    const auto v = Ventana(numero);
    auto* tabla = v->findChild<QTableView*>(QStringLiteral("tablaRecibos"));
    const QModelIndex celda = tabla->selectionModel()->selectedRows(kColumnaFactura).value(0);
    QCOMPARE(tabla->model()->headerData(kColumnaFactura, Qt::Horizontal).toString(),
             QStringLiteral("VERI*FACTU"));
    QCOMPARE(celda.data().toString(), estado);
    QVERIFY(celda.data(Qt::ToolTipRole).toString().contains(ayuda));
    QCOMPARE(celda.data(Qt::DecorationRole).isNull(), numero != u"3" && numero != u"4");
    QCOMPARE(v->findChild<QLabel*>(QStringLiteral("pendientesVerifactu"))->text(),
             QStringLiteral("1 registro VERI*FACTU pendiente de enviar"));
    QCOMPARE(v->findChild<QAction*>(QStringLiteral("anular"))->isEnabled(), anular);
    QCOMPARE(v->findChild<QAction*>(QStringLiteral("corregir"))->isEnabled(), corregir);
    // A reprint carries the QR code of its alta; a receipt that is no invoice, none.
    v->findChild<QAction*>(QStringLiteral("imprimir"))->trigger();
    QCOMPARE(impresos_.size(), 1);
    QCOMPARE(impresos_[0].m_Qr.Vacia(), estado.isEmpty());
}

void TestRegistroVentanaFacturas::anularYCorregir() {
    auto v = Ventana(QStringLiteral("2"));
    QString pregunta;
    Responder(QMessageBox::Yes, &pregunta);
    v->findChild<QAction*>(QStringLiteral("anular"))->trigger();
    QVERIFY(pregunta.contains(QStringLiteral("¿Anular el recibo 2?")));
    const std::vector<registro::RegistroFacturacion> filas = reg_->RegistrosFacturacion();
    QCOMPARE(filas.size(), std::size_t(5));
    QVERIFY(std::holds_alternative<verifactu::RegistroAnulacion>(filas.back().registro));
    QVERIFY(verifactu::VerificarCadena({filas[0].registro, filas[1].registro, filas[2].registro,
                                        filas[3].registro, filas[4].registro})
                .correcta);

    // Shown cancelled, and never reprinted as valid.
    v = Ventana(QStringLiteral("2"));
    auto* tabla = v->findChild<QTableView*>(QStringLiteral("tablaRecibos"));
    QCOMPARE(tabla->selectionModel()->selectedRows(kColumnaFactura).value(0).data().toString(),
             QStringLiteral("Anulado (pendiente)"));
    QVERIFY(!v->findChild<QAction*>(QStringLiteral("anular"))->isEnabled());
    QString negativa;
    Responder(QMessageBox::Ok, &negativa);
    v->findChild<QAction*>(QStringLiteral("imprimir"))->trigger();
    QVERIFY(negativa.contains(QStringLiteral("está anulado")));
    QCOMPARE(impresos_.size(), 0);

    // The refused one goes back to the form, to leave again with its number.
    v = Ventana(QStringLiteral("4"));
    v->findChild<QAction*>(QStringLiteral("corregir"))->trigger();
    QCOMPARE(copiados_.size(), 1);
    QCOMPARE(copiados_[0].m_Numero, std::string("4"));
    QVERIFY(reg_->AnotarConAlta(copiados_[0], QStringLiteral("PDF"), muestra::Emisor()) > 0);
    const auto registros = reg_->RegistrosFacturacion();
    const auto& nueva = std::get<verifactu::RegistroAlta>(registros.back().registro);
    QVERIFY(nueva.subsanacion);
}

QTEST_MAIN(TestRegistroVentanaFacturas)
#include "test_registro_ventana_facturas.moc"
