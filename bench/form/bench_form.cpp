// What the user waits for in the form: one keystroke in a euro edit until the peseta edit
// and all nine result edits are written (everything happens before the key event
// returns), against the same keystroke in a bare dialog whose edit writes ten others; the
// same keystroke until the open preview shows it; and building and opening the form.
#include "form/TalveroDlg.h"
#include "platform/PreviewWindow.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// Alternately a digit and a backspace, so that the amount keeps its size.
void TypeOrErase(QLineEdit* edit, bool& typeDigit) {
    QTest::keyClick(edit, typeDigit ? Qt::Key_7 : Qt::Key_Backspace);
    typeDigit = !typeDigit;
}

void KeystrokeInEuroEdit(benchmark::State& state) {
    CTalveroDlg dlg;
    dlg.show();
    auto* euros = dlg.findChild<QLineEdit*>(QStringLiteral("1007"));
    auto* total = dlg.findChild<QLineEdit*>(QStringLiteral("1028"));
    // The form follows a keystroke only in the edit that has the focus of the active window.
    dlg.activateWindow();
    if (!QTest::qWaitForWindowActive(&dlg))
        state.SkipWithError("the form did not become active");
    euros->setFocus();
    euros->selectAll(); // the edit opens with "0,00"
    QTest::keyClicks(euros, QStringLiteral("1234,5"));
    bool typeDigit = true;
    for (auto _ : state) {
        TypeOrErase(euros, typeDigit);
        benchmark::DoNotOptimize(total->text().size());
    }
    // Each keystroke must have reached the results: one more changes the total.
    const QString before = total->text();
    TypeOrErase(euros, typeDigit);
    if (total->text() == before)
        state.SkipWithError("the total does not follow the keystrokes");
}
BENCHMARK(KeystrokeInEuroEdit);

// The floor: a bare dialog with as many edits as the form, where a keystroke in one edit
// reads its number and writes ten results (the peseta edit and nine) with Qt's own locale.
void KeystrokeBareDialog(benchmark::State& state) {
    QDialog dialog;
    QFont font; // the form's own: its edits shape their texts with it
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPointSize(8);
    dialog.setFont(font);
    std::vector<QLineEdit*> edits;
    for (int i = 0; i < 34; ++i) {
        edits.push_back(new QLineEdit(&dialog));
        edits.back()->setGeometry(5 + (i % 4) * 160, 5 + (i / 4) * 24, 150, 22);
    }
    QLineEdit* euros = edits.front();
    const QLocale spanish(QLocale::Spanish, QLocale::Spain);
    QObject::connect(euros, &QLineEdit::textChanged, &dialog, [&](const QString& text) {
        const qlonglong cents = spanish.toLongLong(QString(text).remove(u','));
        for (int i = 1; i <= 10; ++i)
            edits[std::size_t(i)]->setText(spanish.toString(cents * i));
    });
    dialog.show();
    dialog.activateWindow();
    if (!QTest::qWaitForWindowActive(&dialog))
        state.SkipWithError("the dialog did not become active");
    euros->setFocus();
    QTest::keyClicks(euros, QStringLiteral("1234,5"));
    bool typeDigit = true;
    for (auto _ : state) {
        TypeOrErase(euros, typeDigit);
        benchmark::DoNotOptimize(edits[10]->text().size());
    }
    const QString before = edits[10]->text();
    TypeOrErase(euros, typeDigit);
    if (edits[10]->text() == before)
        state.SkipWithError("the results do not follow the keystrokes");
}
BENCHMARK(KeystrokeBareDialog);

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
    euros->selectAll(); // the edit opens with "0,00"
    QTest::keyClicks(euros, QStringLiteral("1234,5"));
    QCoreApplication::processEvents();
    bool typeDigit = true;
    for (auto _ : state) {
        TypeOrErase(euros, typeDigit);
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
