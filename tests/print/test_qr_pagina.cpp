// An invoice's QR code on the PDF, the preview and the tests' CUPS queue: read back by zbarimg,
// its size and white margin measured, the form's words (pdftotext) all moved by one amount.
#include "ChoiceDriver.h"
#include "PrintTestSupport.h"

#include "../receipt/SampleRecords.h"

#include "platform/PagePreview.h"
#include "platform/PdfExport.h"
#include "receipt/BloqueQr.h"
#include "receipt/Recibo.h"
#include "salida/ImprimirRecibo.h"
#include "verifactu/CodigoQr.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int DPI = 300;
const QString COLA = QStringLiteral("TalveroPDF");
const QByteArray URL = verifactu::UrlCotejo({"89890001K", "R2026/0001", "15-01-2026"}, "1234.56",
                                            verifactu::Entorno::Pruebas);

CRecibo Factura(bool conQr) {
    CRecibo r = sample::Filled();
    const verifactu::MatrizQr m = verifactu::CodificarQr(URL);
    for (int fila = 0; conQr && fila < m.Lado(); ++fila)
        for (int columna = 0; columna < m.Lado(); ++columna)
            r.m_Qr.oscuros.push_back(m.Oscuro(fila, columna) ? 1 : 0);
    r.m_Qr.lado = conQr ? m.Lado() : 0;
    return r;
}

void Dibujar(page::PageSurface& page, bool conQr) {
    Factura(conQr).Dibujar(page); // a copy: drawing rewrites the percentage texts
}

QByteArray Descifrar(const QImage& imagen) {
    QTemporaryDir carpeta;
    const QString png = carpeta.filePath(QStringLiteral("pagina.png"));
    QProcess p;
    if (imagen.save(png)) {
        p.start(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"), png});
        p.waitForFinished(60000);
    }
    return p.readAllStandardOutput().trimmed();
}

// The code: the second group of rows with dark pixels (the first is "QR tributario:"), the
// bounds of its dark pixels, and whether `margen` pixels all around them are white.
std::pair<QRect, bool> Codigo(const QImage& img, int margen) {
    auto oscuro = [&img](int x, int y) {
        return img.rect().contains(x, y) && qGray(img.pixel(x, y)) < 128;
    };
    QList<std::pair<int, int>> grupos;
    QRect codigo;
    for (int y = 0; y < img.height() && grupos.size() <= 2; ++y)
        for (int x = 0; x < img.width(); ++x)
            if (oscuro(x, y)) {
                if (!grupos.isEmpty() && y - grupos.last().second <= margen)
                    grupos.last().second = y;
                else
                    grupos.append({y, y});
                if (grupos.size() == 2)
                    codigo |= QRect(x, y, 1, 1);
            }
    bool blanco = true;
    for (int y = codigo.top() - margen; y <= codigo.bottom() + margen; ++y)
        for (int x = codigo.left() - margen; x <= codigo.right() + margen; ++x)
            blanco = blanco && (codigo.contains(x, y) || !oscuro(x, y));
    return {codigo, blanco};
}

QPointF Lugar(const QList<printtest::Word>& palabras, const QString& texto) {
    for (const printtest::Word& w : palabras)
        if (w.text == texto)
            return w.box.topLeft();
    return {-1000, -1000};
}

} // namespace

class TestQrPagina : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void elQrSeLeeYElFormularioBaja_data();
    void elQrSeLeeYElFormularioBaja();

private:
    QTemporaryDir carpeta_;
};

void TestQrPagina::elQrSeLeeYElFormularioBaja_data() {
    QTest::addColumn<QString>("salida");
    QTest::newRow("PDF guardado") << "pdf";
    QTest::newRow("vista previa") << "vista";
    QTest::newRow("impresora de pruebas") << "cups";
}

void TestQrPagina::elQrSeLeeYElFormularioBaja() {
    QFETCH(QString, salida);
    if (QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty())
        QSKIP("zbarimg (zbar-tools) is not installed");
    QString pdf, sinQr = carpeta_.filePath(QStringLiteral("sin-qr.pdf"));
    QCOMPARE(platform::WritePdfPage(sinQr, {}, [](page::PageSurface& p) { Dibujar(p, false); }),
             QString());
    QImage imagen;
    if (salida == QStringLiteral("vista")) {
        imagen = platform::RenderPrintableArea(platform::PdfPageLayout(), DPI,
                                               [](page::PageSurface& p) { Dibujar(p, true); });
    } else if (salida == QStringLiteral("pdf")) {
        pdf = carpeta_.filePath(QStringLiteral("con-qr.pdf"));
        QCOMPARE(platform::WritePdfPage(pdf, {}, [](page::PageSurface& p) { Dibujar(p, true); }),
                 QString());
    } else {
        if (printtest::ServerDir().isEmpty() || !printtest::SkipReason().isEmpty())
            QSKIP("the tests' print server is not running");
        const QList<int> antes = printtest::JobIds(COLA);
        {
            ChoiceDriver driver(ChoiceDriver::Press::Accept, COLA);
            salida::ImprimirRecibo(Factura(true));
        }
        const QList<int> despues = printtest::JobIds(COLA);
        QCOMPARE(despues.size(), antes.size() + 1);
        QCOMPARE(printtest::WaitForJobEnd(COLA, despues.last()), QStringLiteral("completed"));
        pdf = printtest::PdfOfJob(despues.last());
    }
    if (!pdf.isEmpty())
        imagen = printtest::Render(pdf, DPI);
    QCOMPARE(Descifrar(imagen), URL);

    const auto [codigo, blanco] = Codigo(imagen, qRound(2 / 25.4 * DPI));
    const double mm = codigo.width() * 25.4 / DPI;
    QVERIFY2(mm >= 30 && mm <= 40 && qAbs(codigo.width() - codigo.height()) <= 2,
             qPrintable(QString::number(mm)));
    QVERIFY2(blanco, "2 mm of white around the code");
    if (pdf.isEmpty())
        return; // a picture has no words to find

    // Every word moves by one amount: the block's height, or any on the printer's own margins.
    const QList<printtest::Word> con = printtest::Words(pdf), sin = printtest::Words(sinQr);
    const QPointF leyenda = Lugar(con, QStringLiteral("VERI*FACTU"));
    std::optional<QPointF> bajada;
    if (salida != QStringLiteral("cups"))
        bajada = QPointF(0, recibo::AltoBloqueQr(Factura(true).m_Qr) / 10.0);
    for (const char* texto :
         {"RECIBO", "LOCALIDAD", "VENCIMIENTO", "DOMICILIO", "COMUNIDAD", "caldera"}) {
        const QPointF a = Lugar(con, QString::fromUtf8(texto)),
                      b = Lugar(sin, QString::fromUtf8(texto));
        QVERIFY2(b.y() > 0 && a.y() > leyenda.y() && leyenda.y() > 0, texto);
        bajada = bajada.value_or(a - b);
        QVERIFY2(qAbs(a.x() - b.x() - bajada->x()) <= 0.1 &&
                     qAbs(a.y() - b.y() - bajada->y()) <= 0.1,
                 texto);
    }
}

QTEST_MAIN(TestQrPagina)
#include "test_qr_pagina.moc"
