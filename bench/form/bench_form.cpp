// What the user waits for in the form: one keystroke in a euro edit until the peseta edit
// and all nine result edits are written (everything happens before the key event
// returns), the same keystroke until the open preview shows it, and building and opening
// the form.
#include "form/TalveroDlg.h"
#include "platform/PreviewWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <benchmark/benchmark.h>

namespace {

void KeystrokeInEuroEdit(benchmark::State& state) {
    CTalveroDlg dlg;
    dlg.show();
    auto* euros = dlg.findChild<QLineEdit*>(QStringLiteral("1007"));
    auto* total = dlg.findChild<QLineEdit*>(QStringLiteral("1028"));
    euros->setFocus();
    QTest::keyClicks(euros, QStringLiteral("1234,5"));
    bool typeDigit = true;
    for (auto _ : state) {
        // Alternately a digit and a backspace, so the amount stays the same size.
        if (typeDigit)
            QTest::keyClick(euros, Qt::Key_7);
        else
            QTest::keyClick(euros, Qt::Key_Backspace);
        typeDigit = !typeDigit;
        benchmark::DoNotOptimize(total->text().size());
    }
    if (total->text().isEmpty())
        state.SkipWithError("the total was not written");
}
BENCHMARK(KeystrokeInEuroEdit);

// With the preview window open at its usual size: one keystroke in a euro edit until the
// preview's page has been drawn again and painted.
void PreviewRedrawAfterKeystroke(benchmark::State& state) {
    CTalveroDlg dlg;
    dlg.show();
    dlg.OnVistaPrevia();
    auto* preview = dlg.findChild<platform::PreviewWindow*>();
    auto* euros = dlg.findChild<QLineEdit*>(QStringLiteral("1007"));
    dlg.activateWindow();
    euros->setFocus();
    QTest::keyClicks(euros, QStringLiteral("1234,5"));
    QCoreApplication::processEvents();
    bool typeDigit = true;
    for (auto _ : state) {
        if (typeDigit)
            QTest::keyClick(euros, Qt::Key_7);
        else
            QTest::keyClick(euros, Qt::Key_Backspace);
        typeDigit = !typeDigit;
        QCoreApplication::processEvents(); // the scheduled redraw
        preview->Preview().repaint();      // and the frame that shows it
    }
    if (preview->Preview().PrintableAreaImage().isNull())
        state.SkipWithError("the preview drew nothing");
}
BENCHMARK(PreviewRedrawAfterKeystroke)->Unit(benchmark::kMillisecond);

void ConstructAndOpenForm(benchmark::State& state) {
    for (auto _ : state) {
        CTalveroDlg dlg;
        dlg.show(); // the opening: settings, first exchanges, toggle, banner, amounts
        benchmark::DoNotOptimize(dlg.m_VerPesetas);
        dlg.hide();
    }
}
BENCHMARK(ConstructAndOpenForm)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // A throw-away settings store: the opening reads it.
    QTemporaryDir settings;
    QCoreApplication::setOrganizationName(QStringLiteral("Quenlaria"));
    QCoreApplication::setApplicationName(QStringLiteral("talvero-bench-form"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
