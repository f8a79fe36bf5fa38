// "Guardar como PDF" without its file dialog: the command's steps on a filled form (recompute,
// read the form, fill the record, write the PDF whole and rename it into place, show the form
// again) until the file is closed, against the same page drawn into a bare QPdfWriter on a
// plain file. The difference is what saving adds to drawing: the page layout of the default
// printer, PDF/A, metadata, the temporary file and the form's exchanges.
#include "form/LlenarRecibo.h"
#include "form/ReciboPdf.h"
#include "form/TalveroDlg.h"
#include "platform/PdfExport.h"
#include "platform/QtPageSurface.h"
#include "receipt/Recibo.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <benchmark/benchmark.h>

namespace {

QTemporaryDir* g_out = nullptr;

void Fill(CTalveroDlg& dlg) {
    const auto type = [&dlg](const char* id, const QString& text) {
        auto* edit = dlg.findChild<QLineEdit*>(QString::fromLatin1(id));
        edit->setFocus();
        edit->setText(text); // its change notification runs as for typing
    };
    type("1003", QStringLiteral("17"));
    type("1004", QStringLiteral("Zaragoza"));
    type("1006", QStringLiteral("Reparación de la caldera"));
    type("1007", QStringLiteral("120"));
    type("1020", QStringLiteral("Piezas & material"));
    type("1021", QStringLiteral("34,56"));
    type("1000", QStringLiteral("C/ Mayor, 12"));
    type("1001", QStringLiteral("Comunidad de propietarios"));
    type("1011", QStringLiteral("Juan Pérez García"));
}

void GuardarComoPdf(benchmark::State& state) {
    CTalveroDlg dlg;
    dlg.show();
    Fill(dlg);
    const QString path = g_out->filePath(QStringLiteral("Recibo 17.pdf"));
    for (auto _ : state) {
        // OnGuardarPdf with the file name already chosen.
        dlg.Recalculate();
        dlg.CollectAmounts();
        dlg.UpdateData(true);
        CRecibo rec;
        LlenarRecibo(dlg, rec);
        const QString error = EscribirReciboPdf(rec, path);
        dlg.UpdateData(false);
        dlg.RefreshBanner();
        if (!error.isEmpty()) {
            state.SkipWithError(qPrintable(error));
            break;
        }
    }
    state.counters["bytes"] = double(QFile(path).size());
}
BENCHMARK(GuardarComoPdf)->Unit(benchmark::kMillisecond);

void BareQPdfWriter(benchmark::State& state) {
    CTalveroDlg dlg;
    dlg.show();
    Fill(dlg);
    dlg.UpdateData(true);
    CRecibo sample;
    LlenarRecibo(dlg, sample);
    const QPageLayout layout = platform::PdfPageLayout();
    const QString path = g_out->filePath(QStringLiteral("bare.pdf"));
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            state.SkipWithError("the file cannot be written");
            break;
        }
        QPdfWriter writer(&file);
        writer.setResolution(platform::kPdfResolution);
        writer.setPageLayout(layout);
        QPainter painter(&writer);
        platform::QtPageSurface page(painter);
        CRecibo record = sample; // a record serves one drawing
        record.Dibujar(page);
        painter.end();
        file.close();
    }
    state.counters["bytes"] = double(QFile(path).size());
}
BENCHMARK(BareQPdfWriter)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QTemporaryDir settings;
    QTemporaryDir out;
    g_out = &out;
    QCoreApplication::setOrganizationName(QStringLiteral("Quenlaria"));
    QCoreApplication::setApplicationName(QStringLiteral("talvero-bench-pdf"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
