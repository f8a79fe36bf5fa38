// The QR code of a receipt: the checking address of the tax agency's own example, the
// percent-encoding of its values, and the modules read back by a real decoder (zbarimg,
// from zbar-tools) from a picture drawn of them.
#include "verifactu/CodigoQr.h"

#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtTest>

using namespace verifactu;

namespace {

// The modules drawn as black squares of `paso` pixels, with the four-module quiet zone
// the symbol's standard asks of a reader.
QImage Dibujar(const MatrizQr& m, int paso) {
    const int margen = 4 * paso;
    QImage imagen(m.Lado() * paso + 2 * margen, m.Lado() * paso + 2 * margen,
                  QImage::Format_Grayscale8);
    imagen.fill(Qt::white);
    QPainter p(&imagen);
    for (int fila = 0; fila < m.Lado(); ++fila)
        for (int columna = 0; columna < m.Lado(); ++columna)
            if (m.Oscuro(fila, columna))
                p.fillRect(margen + columna * paso, margen + fila * paso, paso, paso, Qt::black);
    return imagen;
}

} // namespace

class TestVerifactuQr : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void url_data();
    void url();
    void seLeeDeVuelta_data();
    void seLeeDeVuelta();
};

void TestVerifactuQr::url_data() {
    // clang-format off
    QTest::addColumn<QString>("numSerie");
    QTest::addColumn<QString>("fecha");
    QTest::addColumn<QString>("importe");
    QTest::addColumn<bool>("produccion");
    QTest::addColumn<QString>("url");
    QTest::newRow("Ejemplo de la AEAT, entorno de pruebas") << "12345678-G33" << "01-09-2024" << "241.4" << false
        << "https://prewww2.aeat.es/wlpl/TIKE-CONT/ValidarQR?nif=89890001K&numserie=12345678-G33&fecha=01-09-2024&importe=241.4";
    QTest::newRow("El mismo, entorno real") << "12345678-G33" << "01-09-2024" << "241.4" << true
        << "https://www2.agenciatributaria.gob.es/wlpl/TIKE-CONT/ValidarQR?nif=89890001K&numserie=12345678-G33&fecha=01-09-2024&importe=241.4";
    // & is 0x26, / is 0x2F, a space 0x20, Ñ the UTF-8 bytes C3 91
    QTest::newRow("Serie con &, / , espacio y eñe") << "12345678&G33/A Ñ" << "01-09-2024" << "241.40" << false
        << "https://prewww2.aeat.es/wlpl/TIKE-CONT/ValidarQR?nif=89890001K&numserie=12345678%26G33%2FA%20%C3%91&fecha=01-09-2024&importe=241.40";
    // clang-format on
}

void TestVerifactuQr::url() {
    QFETCH(QString, numSerie);
    QFETCH(QString, fecha);
    QFETCH(QString, importe);
    QFETCH(bool, produccion);
    QFETCH(QString, url);
    const IdFactura factura{"89890001K", numSerie.toStdString(), fecha.toStdString()};
    QCOMPARE(QString::fromUtf8(UrlCotejo(factura, importe.toStdString(),
                                         produccion ? Entorno::Produccion : Entorno::Pruebas)),
             url);
}

void TestVerifactuQr::seLeeDeVuelta_data() {
    QTest::addColumn<QByteArray>("texto");
    QTest::newRow("Dirección del ejemplo de la AEAT")
        << QByteArray("https://prewww2.aeat.es/wlpl/TIKE-CONT/ValidarQR?nif=89890001K&numserie="
                      "12345678-G33&fecha=01-09-2024&importe=241.4");
    QTest::newRow("Serie larga de 60 caracteres")
        << QByteArray("https://www2.agenciatributaria.gob.es/wlpl/TIKE-CONT/ValidarQR?nif="
                      "89890001K&numserie=") +
               QByteArray(60, 'A') + QByteArray("&fecha=15-01-2026&importe=123456789012.34");
}

void TestVerifactuQr::seLeeDeVuelta() {
    QFETCH(QByteArray, texto);
    const MatrizQr matriz = CodificarQr(texto);
    // A symbol of version v has 17 + 4v modules a side.
    QVERIFY(matriz.Lado() >= 21);
    QCOMPARE((matriz.Lado() - 17) % 4, 0);
    const QString zbarimg = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
    if (zbarimg.isEmpty())
        QSKIP("zbarimg (zbar-tools) is not installed");
    QTemporaryDir carpeta;
    const QString png = carpeta.filePath(QStringLiteral("qr.png"));
    QVERIFY(Dibujar(matriz, 4).save(png));
    QProcess p;
    p.start(zbarimg, {QStringLiteral("--raw"), QStringLiteral("-q"), png});
    QVERIFY(p.waitForFinished());
    QCOMPARE(p.readAllStandardOutput().trimmed(), texto);
}

QTEST_GUILESS_MAIN(TestVerifactuQr)
#include "test_verifactu_qr.moc"
