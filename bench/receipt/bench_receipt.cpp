// How long one receipt page takes to draw: into a PDF, as the print job does, and into a
// 600-dpi image; each against its floor, the same primitives drawn with plain QPainter calls
// (bench/run.sh prints the ratios of neighbouring runs).
#include "PlainPage.h"
#include "platform/QtPageSurface.h"
#include "receipt/Recibo.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

#include <string>

namespace {

// A full receipt: five concept lines and all three taxes, so every text of the page is drawn.
CRecibo Sample() {
    CRecibo r;
    r.m_Numero = "2004/117";
    r.m_Localidad = "ZARAGOZA";
    r.m_Vencimiento = "A LA VISTA";
    r.m_Fecha = moneda::Fecha(2004, 3, 5, 1, 1, 1);
    r.m_Concepto1 = "Reparación de la caldera";
    r.m_Concepto2 = "Piezas & material";
    r.m_Concepto3 = "Desplazamiento";
    r.m_Concepto4 = "Mano de obra, 3 horas";
    r.m_Concepto5 = "Revisión anual";
    r.m_Importe1 = moneda::Currency(1200000);
    r.m_Importe2 = moneda::Currency(345600);
    r.m_Importe3 = moneda::Currency(150000);
    r.m_Importe4 = moneda::Currency(900000);
    r.m_Importe5 = moneda::Currency(600000);
    r.m_Iva = "16";
    r.m_Re = std::string(
        "4"); // a temporary: GCC 12 misreads assigning a one-letter literal (-Wrestrict)
    r.m_Irpf = "15";
    r.m_ImporteIva = moneda::Currency(511296);
    r.m_ImporteRe = moneda::Currency(127824);
    r.m_ImporteIrpf = moneda::Currency(-479340);
    r.m_Direccion = "C/ Mayor, 12, 3º B - 50001 ZARAGOZA";
    r.m_Pagador1 = "COMUNIDAD DE PROPIETARIOS";
    r.m_Pagador2 = "C/ MAYOR, 12";
    r.m_Cobrador1 = "JUAN PÉREZ GARCÍA";
    r.m_Cobrador2 = "NIF 12345678-Z";
    return r;
}

// A 600-dpi A4 page into a PDF in memory, drawn by `paint`.
template <typename Paint> qsizetype PdfPage(const Paint& paint) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(600);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter(&writer);
    paint(painter);
    painter.end();
    return buffer.data().size();
}

// The receipt and a little more, 200 x 90 mm at 600 dpi.
QImage Image600() {
    QImage image(4724, 2126, QImage::Format_RGB32);
    image.setDotsPerMeterX(23622);
    image.setDotsPerMeterY(23622);
    return image;
}

// What the receipt draws on `device`, recorded once.
PlainPage Recorded(const QPaintDevice& device) {
    const CRecibo sample = Sample();
    return PlainPage::Record(device, [&sample](page::PageSurface& page) {
        CRecibo record = sample;
        record.Dibujar(page);
    });
}

void BM_DibujarPdf(benchmark::State& state) {
    const CRecibo sample = Sample();
    for (auto _ : state) {
        benchmark::DoNotOptimize(PdfPage([&sample](QPainter& painter) {
            platform::QtPageSurface page(painter);
            CRecibo record = sample; // a record serves one drawing
            record.Dibujar(page);
        }));
    }
}
BENCHMARK(BM_DibujarPdf)->Unit(benchmark::kMillisecond);

void BM_PdfPlainQt(benchmark::State& state) {
    QPdfWriter device(QStringLiteral("/dev/null")); // only its size, for the recording
    device.setResolution(600);
    device.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    const PlainPage plain = Recorded(device);
    for (auto _ : state)
        benchmark::DoNotOptimize(PdfPage([&plain](QPainter& painter) { plain.Paint(painter); }));
    state.counters["primitives"] = plain.Primitives();
}
BENCHMARK(BM_PdfPlainQt)->Unit(benchmark::kMillisecond);

void BM_DibujarImage600(benchmark::State& state) {
    QImage image = Image600();
    const CRecibo sample = Sample();
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        platform::QtPageSurface page(painter);
        CRecibo record = sample;
        record.Dibujar(page);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_DibujarImage600)->Unit(benchmark::kMillisecond);

void BM_Image600PlainQt(benchmark::State& state) {
    QImage image = Image600();
    const PlainPage plain = Recorded(image);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        plain.Paint(painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["primitives"] = plain.Primitives();
}
BENCHMARK(BM_Image600PlainQt)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv); // fonts need the application
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
