// An invoice's QR code on every way a receipt leaves: the PDF file, the preview's picture and
// a page printed through the tests' own CUPS queue. Each is read back with a real decoder
// (zbarimg, from zbar-tools); the code's printed size and its white margin are measured on
// the pixels, and the form's words are found with pdftotext, moved down by one same amount.
#include "ChoiceDriver.h"
#include "PrintTestSupport.h"

#include "../receipt/SampleRecords.h"

#include "platform/PagePreview.h"
#include "platform/PdfExport.h"
#include "receipt/BloqueQr.h"
#include "receipt/Recibo.h"
#include "salida/ImprimirRecibo.h"
#include "verifactu/CodigoQr.h"

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

constexpr int DPI = 300;
constexpr double MM_POR_PIXEL = 25.4 / DPI;

const QByteArray URL = verifactu::UrlCotejo({"89890001K", "R2026/0001", "15-01-2026"}, "1234.56",
                                            verifactu::Entorno::Pruebas);

CRecibo Factura(bool conQr) {
    CRecibo r = sample::Filled();
    if (conQr) {
        const verifactu::MatrizQr m = verifactu::CodificarQr(URL);
        r.m_Qr.lado = m.Lado();
        for (int fila = 0; fila < m.Lado(); ++fila)
            for (int columna = 0; columna < m.Lado(); ++columna)
                r.m_Qr.oscuros.push_back(m.Oscuro(fila, columna) ? 1 : 0);
    }
    return r;
}

// The module's PDF path: the page of platform/PdfExport, drawn from a copy of the record.
QString GuardarPdf(const CRecibo& rec, const QString& ruta) {
    const QString error =
        platform::WritePdfPage(ruta, QStringLiteral("Recibo"), [&rec](page::PageSurface& page) {
            CRecibo copia = rec;
            copia.Dibujar(page);
        });
    return error.isEmpty() ? ruta : QString();
}

QByteArray Descifrar(const QImage& imagen) {
    QTemporaryDir carpeta;
    const QString png = carpeta.filePath(QStringLiteral("pagina.png"));
    if (!imagen.save(png))
        return {};
    QProcess p;
    p.start(QStandardPaths::findExecutable(QStringLiteral("zbarimg")),
            {QStringLiteral("--raw"), QStringLiteral("-q"), png});
    p.waitForFinished(60000);
    return p.readAllStandardOutput().trimmed();
}

bool Oscuro(const QImage& imagen, int x, int y) {
    return qGray(imagen.pixel(x, y)) < 128;
}

// The code on a page: the second group of rows with dark pixels from the top (the first is
// "QR tributario:"; groups closer than `margen` are one), the dark pixels' bounds in it, and
// whether a ring of `margen` pixels around them is all white.
struct Medida {
    QRect codigo;
    bool margenBlanco = false;
};
Medida Medir(const QImage& imagen, int margen) {
    QList<std::pair<int, int>> grupos;
    for (int y = 0; y < imagen.height() && grupos.size() <= 2; ++y) {
        bool oscura = false;
        for (int x = 0; x < imagen.width() && !oscura; ++x)
            oscura = Oscuro(imagen, x, y);
        if (!oscura)
            continue;
        if (!grupos.isEmpty() && y - grupos.last().second <= margen)
            grupos.last().second = y;
        else
            grupos.append({y, y});
    }
    Medida m;
    if (grupos.size() < 2)
        return m;
    for (int y = grupos[1].first; y <= grupos[1].second; ++y)
        for (int x = 0; x < imagen.width(); ++x)
            if (Oscuro(imagen, x, y))
                m.codigo |= QRect(x, y, 1, 1);
    const QRect anillo = m.codigo.adjusted(-margen, -margen, margen, margen);
    m.margenBlanco = imagen.rect().contains(anillo);
    for (int y = anillo.top(); m.margenBlanco && y <= anillo.bottom(); ++y)
        for (int x = anillo.left(); x <= anillo.right(); ++x)
            if (!m.codigo.contains(x, y) && Oscuro(imagen, x, y)) {
                m.margenBlanco = false;
                break;
            }
    return m;
}

const printtest::Word* Palabra(const QList<printtest::Word>& palabras, const QString& texto) {
    for (const printtest::Word& w : palabras)
        if (w.text == texto)
            return &w;
    return nullptr;
}

} // namespace

class TestQrPagina : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void elQrSeLeeYElFormularioBaja_data();
    void elQrSeLeeYElFormularioBaja();

private:
    QTemporaryDir carpeta_;
    QString conQr_, sinQr_;
};

void TestQrPagina::initTestCase() {
    if (QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty())
        QSKIP("zbarimg (zbar-tools) is not installed");
    conQr_ = GuardarPdf(Factura(true), carpeta_.filePath(QStringLiteral("con-qr.pdf")));
    sinQr_ = GuardarPdf(Factura(false), carpeta_.filePath(QStringLiteral("sin-qr.pdf")));
    QVERIFY(!conQr_.isEmpty() && !sinQr_.isEmpty());
}

void TestQrPagina::elQrSeLeeYElFormularioBaja_data() {
    QTest::addColumn<QString>("pdf");         // the page as a file; empty for the preview
    QTest::addColumn<bool>("mismosMargenes"); // as the PDF without the code
    QTest::newRow("PDF guardado") << conQr_ << true;
    QTest::newRow("vista previa") << QString() << true;
    QTest::newRow("impresora de pruebas") << QStringLiteral("cups") << false;
}

void TestQrPagina::elQrSeLeeYElFormularioBaja() {
    QFETCH(QString, pdf);
    QFETCH(bool, mismosMargenes);
    QImage imagen;
    if (pdf.isEmpty()) {
        imagen = platform::RenderPrintableArea(platform::PdfPageLayout(), DPI,
                                               [](page::PageSurface& page) {
                                                   CRecibo copia = Factura(true);
                                                   copia.Dibujar(page);
                                               });
    } else {
        if (pdf == QStringLiteral("cups")) {
            if (printtest::ServerDir().isEmpty() || !printtest::SkipReason().isEmpty())
                QSKIP("the tests' print server is not running");
            const QList<int> antes = printtest::JobIds(QStringLiteral("TalveroPDF"));
            {
                ChoiceDriver driver(ChoiceDriver::Press::Accept, QStringLiteral("TalveroPDF"));
                salida::ImprimirRecibo(Factura(true));
            }
            int trabajo = -1;
            for (int id : printtest::JobIds(QStringLiteral("TalveroPDF")))
                if (!antes.contains(id))
                    trabajo = id;
            QVERIFY(trabajo > 0);
            QCOMPARE(printtest::WaitForJobEnd(QStringLiteral("TalveroPDF"), trabajo),
                     QStringLiteral("completed"));
            pdf = printtest::PdfOfJob(trabajo);
        }
        imagen = printtest::Render(pdf, DPI);
    }
    QVERIFY(!imagen.isNull());
    QCOMPARE(Descifrar(imagen), URL);

    // The code's printed size, and the white around it.
    const MarcaQr marca = Factura(true).m_Qr;
    const page::Rect previsto = recibo::RectanguloQr(marca);
    const int margen = int(2.0 / MM_POR_PIXEL);
    const Medida m = Medir(imagen, margen);
    QVERIFY2(m.codigo.width() * MM_POR_PIXEL >= 30 && m.codigo.width() * MM_POR_PIXEL <= 40,
             qPrintable(QString::number(m.codigo.width() * MM_POR_PIXEL)));
    QVERIFY(qAbs(m.codigo.width() - m.codigo.height()) <= 2);
    QVERIFY2(qAbs(m.codigo.width() * MM_POR_PIXEL - (previsto.right - previsto.left) / 10.0) <= 0.2,
             "the code is printed at the size the page gives it");
    QVERIFY2(m.margenBlanco, "2 mm of white around the code");
    if (pdf.isEmpty())
        return; // the preview has no words to find

    // Every word of the form moves by one same amount: the block's height, on the same
    // paper and margins (the printer's page has margins of its own).
    const QList<printtest::Word> con = printtest::Words(pdf);
    const QList<printtest::Word> sin = printtest::Words(sinQr_);
    const printtest::Word* leyenda = Palabra(con, QStringLiteral("VERI*FACTU"));
    QVERIFY(leyenda != nullptr && Palabra(con, QStringLiteral("tributario:")) != nullptr);
    std::optional<QPointF> bajada;
    if (mismosMargenes)
        bajada = QPointF(0, recibo::AltoBloqueQr(marca) / 10.0);
    for (const QString& texto :
         {QStringLiteral("RECIBO"), QStringLiteral("LOCALIDAD"), QStringLiteral("VENCIMIENTO"),
          QStringLiteral("DOMICILIO"), QStringLiteral("COMUNIDAD"), QStringLiteral("caldera")}) {
        const printtest::Word* a = Palabra(con, texto);
        const printtest::Word* b = Palabra(sin, texto);
        QVERIFY2(a != nullptr && b != nullptr, qPrintable(texto));
        const QPointF movida = a->box.topLeft() - b->box.topLeft();
        if (!bajada)
            bajada = movida;
        QVERIFY2(qAbs(movida.x() - bajada->x()) <= 0.1 && qAbs(movida.y() - bajada->y()) <= 0.1,
                 qPrintable(texto));
        QVERIFY(a->box.top() > leyenda->box.bottom());
    }
}

QTEST_MAIN(TestQrPagina)
#include "test_qr_pagina.moc"
