// The menu bar and the preview window as a user meets them: every shortcut reaches its
// command, no mnemonic is taken twice, and the preview follows what is typed without
// touching the form's members or showing a validation message.
#include "FormFixture.h"
#include "ModalWatcher.h"

#include "platform/PreviewWindow.h"
#include "receipt/Recibo.h"
#include "resources/templates/Recursos.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

using namespace res;

namespace {

// The letter after the "&" of a caption, in capitals; none for a caption without one.
QChar Mnemonic(const QString& caption) {
    const int at = caption.indexOf(u'&');
    return at >= 0 && at + 1 < caption.size() ? caption.at(at + 1).toUpper() : QChar();
}

platform::PreviewWindow* PreviewOf(CTalveroDlg& dlg) {
    return dlg.findChild<platform::PreviewWindow*>();
}

} // namespace

class TestFormMenuPreview : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { dlg_.reset(); }

    void menusHoldTheirCommands_data();
    void menusHoldTheirCommands();
    void mnemonicsAreNotTakenTwice();
    void shortcutsReachTheirCommands_data();
    void shortcutsReachTheirCommands();
    void quitWritesTheSettingsLikeCancel();
    void controlsKeepTheirPlacesBelowTheMenuBar();

    void previewFollowsTyping();
    void previewLeavesMembersAndMessagesAlone();
    void previewReadsTheControlsAsPrintWould();
    void previewEscapeCloses();

private:
    SettingsSandbox sandbox_{QStringLiteral("talvero-test-menu")};
    std::unique_ptr<CTalveroDlg> dlg_;
};

void TestFormMenuPreview::init() {
    sandbox_.Clear();
    dlg_ = std::make_unique<CTalveroDlg>();
    QVERIFY(Open(*dlg_));
}

void TestFormMenuPreview::menusHoldTheirCommands_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QKeySequence>("keys");
    // clang-format off
    QTest::newRow("preview")  << "&Archivo" << "&Vista previa…"      << QKeySequence("Ctrl+Shift+P");
    QTest::newRow("print")    << "&Archivo" << "&Imprimir…"          << QKeySequence("Ctrl+P");
    QTest::newRow("pdf")      << "&Archivo" << "Guardar como &PDF…"  << QKeySequence("Ctrl+Shift+S");
    QTest::newRow("quit")     << "&Archivo" << "&Salir"              << QKeySequence("Ctrl+Q");
    QTest::newRow("about")    << "A&yuda"   << "&Acerca de Talvero…" << QKeySequence("F1");
    QTest::newRow("verifactu")   << "&Recibos" << "&VERI*FACTU…"             << QKeySequence();
    QTest::newRow("declaration") << "A&yuda"   << "&Declaración responsable…" << QKeySequence();
    // clang-format on
}

void TestFormMenuPreview::menusHoldTheirCommands() {
    QFETCH(QString, menu);
    QFETCH(QString, entry);
    QFETCH(QKeySequence, keys);
    QAction* found = nullptr;
    for (QAction* top : dlg_->MenuBar()->actions()) {
        if (top->text() != menu || top->menu() == nullptr)
            continue;
        for (QAction* a : top->menu()->actions()) {
            if (a->text() == entry)
                found = a;
        }
    }
    QVERIFY2(found != nullptr, qPrintable(menu + " / " + entry));
    QCOMPARE(found->shortcut(), keys);
}

void TestFormMenuPreview::mnemonicsAreNotTakenTwice() {
    // Alt+letter at the top of the window: the menus and the form's own buttons.
    QList<QChar> taken;
    for (QAction* top : dlg_->MenuBar()->actions())
        taken << Mnemonic(top->text());
    for (int id : {IDOK, IDC_BORRAR_TODO, IDCANCEL})
        taken << Mnemonic(Button(*dlg_, id)->text());
    for (QChar c : taken) {
        QVERIFY(!c.isNull());
        QCOMPARE(taken.count(c), 1);
    }
    // Within the file menu too.
    QList<QChar> entries;
    for (QAction* top : dlg_->MenuBar()->actions()) {
        for (QAction* a : top->menu()->actions()) {
            if (!a->isSeparator())
                entries << Mnemonic(a->text());
        }
        for (QChar c : entries)
            QCOMPARE(entries.count(c), 1);
        entries.clear();
    }
}

void TestFormMenuPreview::shortcutsReachTheirCommands_data() {
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("opens");
    // clang-format off
    QTest::newRow("Ctrl+P prints")        << QKeySequence("Ctrl+P") << "platform::PrintDialog";
    QTest::newRow("F1 shows the about box") << QKeySequence("F1")   << "CAboutDlg";
    // clang-format on
}

void TestFormMenuPreview::shortcutsReachTheirCommands() {
    QFETCH(QKeySequence, keys);
    QFETCH(QString, opens);
    ModalWatcher watcher;
    QTest::keySequence(QApplication::focusWidget(), keys);
    QTRY_COMPARE(watcher.kinds(), QStringList{opens});
    QVERIFY(dlg_->isVisible());
}

void TestFormMenuPreview::quitWritesTheSettingsLikeCancel() {
    TypeInto(*dlg_, IDC_LOCALIDAD, QStringLiteral("Teruel"));
    QTest::keySequence(QApplication::focusWidget(), QKeySequence("Ctrl+Q"));
    QTRY_VERIFY(!dlg_->isVisible());
    QCOMPARE(dlg_->result(), int(QDialog::Rejected));
    QCOMPARE(sandbox_.Get("Localidad"), std::string("Teruel"));
}

void TestFormMenuPreview::controlsKeepTheirPlacesBelowTheMenuBar() {
    const int bar = dlg_->MenuBar()->height();
    QVERIFY(bar > 0);
    // Euro edit 1007 sits at (322, 80) of the client area, which starts below the bar.
    QCOMPARE(Edit(*dlg_, IDC_EUROS1)->mapTo(dlg_.get(), QPoint(0, 0)), QPoint(322, 80 + bar));
    QCOMPARE(dlg_->ClientArea()->geometry(), QRect(0, bar, 634, 400));
    // The peseta toggle moves the concept edits in client pixels, as before.
    QTest::mouseClick(Button(*dlg_, IDC_VER_PESETAS), Qt::LeftButton);
    QCOMPARE(Edit(*dlg_, IDC_CONCEPTO1)->geometry(), QRect(7, 80, 255, 23));
}

void TestFormMenuPreview::previewFollowsTyping() {
    QTest::keySequence(QApplication::focusWidget(), QKeySequence("Ctrl+Shift+P"));
    platform::PreviewWindow* preview = PreviewOf(*dlg_);
    QVERIFY(preview != nullptr);
    QVERIFY(preview->isVisible());
    QCOMPARE(preview->Preview().objectName(), QStringLiteral("vistaPrevia"));
    const QImage before = preview->Preview().PrintableAreaImage();
    QVERIFY(!before.isNull());

    dlg_->activateWindow();
    TypeInto(*dlg_, IDC_EUROS1, QStringLiteral("98765"));
    // Drawn again before the next frame: one turn of the event loop.
    QCoreApplication::processEvents();
    const QImage after = preview->Preview().PrintableAreaImage();
    QVERIFY(after != before);
    QCOMPARE(after, platform::RenderPrintableArea(
                        preview->Preview().Layout(), preview->Preview().Scale() * 25.4,
                        [rec = dlg_->ReciboDeLosControles()](page::PageSurface& page) mutable {
                            rec.Dibujar(page);
                        }));
}

void TestFormMenuPreview::previewLeavesMembersAndMessagesAlone() {
    ModalWatcher watcher;
    dlg_->OnVistaPrevia();
    dlg_->activateWindow();
    const std::int32_t day = dlg_->m_Dia;
    const std::string place = dlg_->m_Localidad;
    // Texts that the save exchange would reject, and one it would capitalise.
    TypeInto(*dlg_, IDC_DIA, QStringLiteral("99"));
    TypeInto(*dlg_, IDC_EUROS5, QStringLiteral("abc"));
    TypeInto(*dlg_, IDC_LOCALIDAD, QStringLiteral("huesca"));
    QCoreApplication::processEvents();
    QTest::qWait(50);
    QCOMPARE(watcher.messages(), QStringList{});
    QCOMPARE(dlg_->m_Dia, day);
    QCOMPARE(dlg_->m_Localidad, place);
    QCOMPARE(Text(*dlg_, IDC_LOCALIDAD), QStringLiteral("huesca")); // no control rewritten
}

void TestFormMenuPreview::previewReadsTheControlsAsPrintWould() {
    TypeInto(*dlg_, IDC_NUMERO, QStringLiteral("000123"));
    TypeInto(*dlg_, IDC_LOCALIDAD, QStringLiteral("huesca"));
    TypeInto(*dlg_, IDC_DIA, QStringLiteral("7"));
    TypeInto(*dlg_, IDC_EUROS1, QStringLiteral("100"));
    Choose(*dlg_, IDC_IVA, QStringLiteral("16"));
    const CRecibo rec = dlg_->ReciboDeLosControles();
    QCOMPARE(rec.m_Numero, std::string("000123"));
    QCOMPARE(rec.m_Localidad, std::string("Huesca")); // capitalised as printing does
    QCOMPARE(rec.m_Fecha.Dia(), 7);
    QCOMPARE(rec.m_Importe1, moneda::Currency(1000000));
    QCOMPARE(rec.m_ImporteIva, moneda::Currency(160000));
}

void TestFormMenuPreview::previewEscapeCloses() {
    dlg_->OnVistaPrevia();
    platform::PreviewWindow* preview = PreviewOf(*dlg_);
    QVERIFY(preview != nullptr);
    preview->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(preview));
    QTest::keyClick(preview, Qt::Key_Escape);
    QTRY_VERIFY(!preview->isVisible());
    QTRY_VERIFY(PreviewOf(*dlg_) == nullptr); // closed and deleted
    QVERIFY(dlg_->isVisible());
}

QTEST_MAIN(TestFormMenuPreview)
#include "test_form_menu_preview.moc"
