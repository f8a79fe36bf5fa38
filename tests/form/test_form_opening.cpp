// The receipt form as it is built and as it opens: every control of template 102, the
// lists, the opening defaults and the saved values, the Tab order, the peseta column
// toggle, the banner and the about box.
#include "FormFixture.h"
#include "ModalWatcher.h"

#include "form/AboutDlg.h"
#include "platform/DialogControls.h"
#include "resources/links/Enlaces.h"

#include <QAction>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QRegularExpressionValidator>
#include <QtTest>

#include <cmath>

namespace {

// Dialog units to pixels as the form's own pixel positions have them: 1.5 pixels per
// horizontal unit rounded down, 1.625 per vertical unit rounded to nearest.
int Px(int x) {
    return int(std::floor(x * 1.5));
}
int Py(int y) {
    return int(std::lround(y * 1.625));
}
QRect Pixels(int x, int y, int cx, int cy) {
    return QRect(Px(x), Py(y), Px(x + cx) - Px(x), Py(y + cy) - Py(y));
}

const char* const kMonths[] = {"ENERO",      "FEBRERO", "MARZO",     "ABRIL",
                               "MAYO",       "JUNIO",   "JULIO",     "AGOSTO",
                               "SEPTIEMBRE", "OCTUBRE", "NOVIEMBRE", "DICIEMBRE"};

const int kPesetaColumn[] = {1009, 1014, 1032, 1033, 1043, 1034, 1035, 1040, 1037};

struct ConceptRow {
    int concepto;
    int euros;
    int y;
};
const ConceptRow kRows[] = {
    {1006, 1007, 80}, {1020, 1021, 102}, {1022, 1023, 125}, {1024, 1025, 148}, {1041, 1042, 171},
};

QStringList Entries(QComboBox* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->itemText(i);
    return entries;
}

// Everything the user can see in the form's edits and lists.
QStringList Snapshot(CTalveroDlg& dlg) {
    QStringList all;
    for (QLineEdit* e : dlg.findChildren<QLineEdit*>())
        all << e->objectName() + QLatin1Char('=') + e->text();
    for (QComboBox* l : dlg.findChildren<QComboBox*>())
        all << l->objectName() + QLatin1Char('=') + l->currentText();
    return all;
}

QString WithoutMnemonic(QString text) {
    return text.remove(QLatin1Char('&'));
}

} // namespace

class TestFormOpening : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { sandbox_.Clear(); }

    // --- Template 102 ----------------------------------------------------------------
    void templateControls_data();
    void templateControls();
    void everyControlIsThereWithItsCaption();
    void formSizeAndTitle();
    void listContents_data();
    void listContents();
    void captionsAreNotClipped();

    // --- Opening ---------------------------------------------------------------------
    void emptyStoreOpensWithDefaults();
    void savedValuesAreLoaded();
    void emptyStoredValuesTakeTheirDefaults();
    void unmatchedStoredColourLeavesTheListEmpty();
    void tabOrderIsTheTemplateOrder();

    // --- Peseta column, banner, about box -----------------------------------------------
    void pesetaToggleMovesAndCaptions();
    void bannerShowsPicture129();
    void aboutBoxFromF1AndContextMenuLeavesTheFormUnchanged();
    void aboutBoxShowsTheLinksAndCloses();

private:
    SettingsSandbox sandbox_{QStringLiteral("talvero-test-form-opening")};
};

// --- Template 102 ------------------------------------------------------------------------

void TestFormOpening::templateControls_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("units");
    QTest::addColumn<bool>("tab");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("align"); // edits: left, right, center
    QTest::addColumn<bool>("digits");

    auto edit = [](const char* name, int id, QRect r, bool tab, bool ro, const char* align,
                   bool digits = false) {
        QTest::newRow(name) << id << "edit"
                            << "" << r << tab << ro << align << digits;
    };
    auto list = [](const char* name, int id, QRect r, bool tab) {
        QTest::newRow(name) << id << "list"
                            << "" << r << tab << false << "" << false;
    };
    auto button = [](const char* name, int id, const char* caption, QRect r, bool tab) {
        QTest::newRow(name) << id << "button" << caption << r << tab << false << "" << false;
    };
    edit("1006 concept line 1", 1006, {5, 49, 170, 14}, true, false, "left");
    edit("1007 euro amount 1", 1007, {215, 49, 40, 14}, true, false, "right");
    edit("1020 concept line 2", 1020, {5, 63, 170, 14}, true, false, "left");
    edit("1021 euro amount 2", 1021, {215, 63, 40, 14}, true, false, "right");
    edit("1022 concept line 3", 1022, {5, 77, 170, 14}, true, false, "left");
    edit("1023 euro amount 3", 1023, {215, 77, 40, 14}, true, false, "right");
    edit("1024 concept line 4", 1024, {5, 91, 170, 14}, true, false, "left");
    edit("1025 euro amount 4", 1025, {215, 91, 40, 14}, true, false, "right");
    edit("1041 concept line 5", 1041, {5, 105, 169, 14}, true, false, "left");
    edit("1042 euro amount 5", 1042, {215, 105, 40, 14}, true, false, "right");
    list("1036 IVA list", 1036, {125, 120, 48, 119}, true);
    list("1038 RE list", 1038, {125, 134, 48, 99}, true);
    list("1039 IRPF list", 1039, {125, 148, 48, 91}, true);
    edit("1000 address", 1000, {41, 180, 289, 15}, true, false, "left");
    edit("1001 payer line 1", 1001, {15, 206, 150, 14}, true, false, "left");
    edit("1010 payer line 2", 1010, {15, 221, 150, 14}, true, false, "left");
    edit("1011 collector line 1", 1011, {178, 206, 150, 14}, false, false, "left");
    edit("1012 collector line 2", 1012, {178, 221, 150, 14}, false, false, "left");
    edit("1003 receipt number", 1003, {6, 17, 42, 12}, false, false, "left");
    edit("1004 place", 1004, {49, 17, 105, 12}, false, false, "center");
    edit("1013 day", 1013, {268, 16, 16, 13}, false, false, "left", true);
    list("1029 month list", 1029, {285, 16, 62, 139}, false);
    edit("1030 year", 1030, {346, 16, 28, 13}, false, false, "left", true);
    button("1 print", 1, "&Imprimir", {342, 210, 68, 10}, true);
    button("1019 clear all", 1019, "&Borrar Todo", {342, 220, 68, 10}, true);
    button("2 cancel", 2, "&Cancelar", {342, 230, 68, 10}, true);
    edit("1026 IVA euros", 1026, {215, 119, 40, 14}, false, true, "right");
    edit("1027 RE euros", 1027, {215, 133, 40, 14}, false, true, "right");
    button("1008 banner", 1008, "Publicidad", {259, 35, 160, 143}, true);
    edit("1005 receipt amount", 1005, {377, 16, 40, 14}, false, true, "right");
    edit("1028 total euros", 1028, {215, 163, 40, 14}, false, true, "right");
    edit("1031 IRPF euros", 1031, {215, 147, 40, 14}, false, true, "right");
    edit("1009 peseta amount 1", 1009, {175, 49, 40, 14}, false, false, "right");
    edit("1014 peseta amount 2", 1014, {175, 63, 40, 14}, false, false, "right");
    edit("1032 peseta amount 3", 1032, {175, 77, 40, 14}, false, false, "right");
    edit("1033 peseta amount 4", 1033, {175, 91, 40, 14}, false, false, "right");
    edit("1043 peseta amount 5", 1043, {175, 105, 40, 14}, false, false, "right");
    edit("1034 IVA pesetas", 1034, {175, 119, 40, 14}, false, true, "right");
    edit("1035 RE pesetas", 1035, {175, 133, 40, 14}, false, true, "right");
    edit("1037 total pesetas", 1037, {175, 163, 40, 14}, false, true, "right");
    edit("1040 IRPF pesetas", 1040, {175, 147, 40, 14}, false, true, "right");
    button("1044 peseta toggle", 1044, "", {174, 35, 43, 12}, false);
    list("1045 colour list", 1045, {363, 179, 48, 57}, false);
    list("1046 fill list", 1046, {363, 194, 48, 42}, false);
    edit("1015 due date", 1015, {157, 17, 108, 12}, false, false, "center");
}

void TestFormOpening::templateControls() {
    QFETCH(int, id);
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(QRect, units);
    QFETCH(bool, tab);
    QFETCH(bool, readOnly);
    QFETCH(QString, align);
    QFETCH(bool, digits);

    CTalveroDlg dlg; // built, not opened: the template's own positions
    QWidget* w = dlg.findChild<QWidget*>(QString::number(id));
    QVERIFY(w);
    QCOMPARE(w->parentWidget(), dlg.ClientArea()); // pixels of the client area
    QCOMPARE(w->focusPolicy(), tab ? Qt::StrongFocus : Qt::ClickFocus);
    const QRect pixels = Pixels(units.x(), units.y(), units.width(), units.height());
    if (kind == QLatin1String("edit")) {
        auto* edit = qobject_cast<QLineEdit*>(w);
        QVERIFY(edit);
        QCOMPARE(edit->geometry(), pixels);
        QCOMPARE(edit->isReadOnly(), readOnly);
        QVERIFY(edit->hasFrame());
        const Qt::Alignment expected = align == QLatin1String("right")    ? Qt::AlignRight
                                       : align == QLatin1String("center") ? Qt::AlignHCenter
                                                                          : Qt::AlignLeft;
        QCOMPARE(edit->alignment() & Qt::AlignHorizontal_Mask, expected);
        QCOMPARE(edit->validator() != nullptr, digits);
    } else if (kind == QLatin1String("list")) {
        auto* list = qobject_cast<QComboBox*>(w);
        QVERIFY(list);
        QVERIFY(!list->isEditable());
        QCOMPARE(list->geometry().topLeft(), pixels.topLeft());
        QCOMPARE(list->width(), pixels.width());
    } else {
        auto* button = qobject_cast<QPushButton*>(w);
        QVERIFY(button);
        QCOMPARE(button->geometry(), pixels);
        if (!caption.isEmpty())
            QCOMPARE(button->text(), caption);
    }
}

void TestFormOpening::everyControlIsThereWithItsCaption() {
    CTalveroDlg dlg;
    QCOMPARE(dlg.ClientArea()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(), 64);

    QStringList labels;
    for (QLabel* l : dlg.ClientArea()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        labels << l->text();
    labels.sort();
    QStringList expectedLabels = {"Dirección", "Concepto", "€",     "IVA",    "RE",
                                  "IRPF ",     "Total",    "Color", "Relleno"};
    expectedLabels.sort();
    QCOMPARE(labels, expectedLabels);

    QStringList frames;
    for (QGroupBox* f : dlg.ClientArea()->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly))
        frames << f->title();
    frames.sort();
    QStringList expectedFrames = {"",       "",          "",      "Cobrador", "Pagador",
                                  "Número", "Localidad", "Fecha", "Importe",  "Vencimiento"};
    expectedFrames.sort();
    QCOMPARE(frames, expectedFrames);
}

void TestFormOpening::formSizeAndTitle() {
    CTalveroDlg dlg;
    QCOMPARE(dlg.ClientArea()->size(), QSize(634, 400)); // 423 x 246 units
    // The window grows by the menu bar alone, which sits above the client area.
    QCOMPARE(dlg.ClientArea()->pos(), QPoint(0, dlg.MenuBar()->height()));
    QCOMPARE(dlg.size(), QSize(634, 400 + dlg.MenuBar()->height()));
    QCOMPARE(dlg.MenuBar()->geometry(), QRect(0, 0, 634, dlg.MenuBar()->height()));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Talvero    Gratuito    Cortesia de ") +
                                    QString::fromStdString(enlaces::DireccionWeb()));
    QVERIFY(!enlaces::DireccionWeb().empty());
    QCOMPARE(dlg.font().pointSize(), 8);
    QVERIFY(dlg.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(dlg.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!dlg.m_hIcon.isNull());
}

void TestFormOpening::listContents_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("1036 IVA, sorted as text") << 1036 << QStringList{"0", "16", "4", "7"};
    QTest::newRow("1038 RE, sorted as text") << 1038 << QStringList{"0", "0,5", "1", "1,75", "4"};
    QTest::newRow("1039 IRPF, sorted as text") << 1039 << QStringList{"0", "15", "18"};
    QTest::newRow("1029 months, in capitals")
        << 1029
        << QStringList{"ENERO", "FEBRERO", "MARZO",      "ABRIL",   "MAYO",      "JUNIO",
                       "JULIO", "AGOSTO",  "SEPTIEMBRE", "OCTUBRE", "NOVIEMBRE", "DICIEMBRE"};
    QTest::newRow("1045 colours") << 1045 << QStringList{"AZUL", "GRIS", "MARRÓN", "VERDE"};
    QTest::newRow("1046 fills") << 1046 << QStringList{"LINEAS", "SOLIDO"};
}

void TestFormOpening::listContents() {
    QFETCH(int, id);
    QFETCH(QStringList, entries);
    CTalveroDlg dlg;
    QCOMPARE(Entries(List(dlg, id)), entries);
}

void TestFormOpening::captionsAreNotClipped() {
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    for (QLabel* l : dlg.ClientArea()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->width(),
                 qPrintable(l->text()));
        QVERIFY2(l->fontMetrics().height() <= l->height(), qPrintable(l->text()));
    }
    for (QGroupBox* f : dlg.ClientArea()->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly))
        QVERIFY2(f->fontMetrics().horizontalAdvance(f->title()) + 12 <= f->width(),
                 qPrintable(f->title()));
    for (QPushButton* b :
         dlg.ClientArea()->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
        QVERIFY2(b->fontMetrics().horizontalAdvance(WithoutMnemonic(b->text())) + 8 <= b->width(),
                 qPrintable(b->text()));
        QVERIFY2(b->fontMetrics().height() <= b->height(), qPrintable(b->text()));
    }
    for (QComboBox* l : dlg.ClientArea()->findChildren<QComboBox*>(Qt::FindDirectChildrenOnly)) {
        // The text beside the drop-down arrow, which takes about a list's height.
        for (const QString& entry : Entries(l))
            QVERIFY2(l->fontMetrics().horizontalAdvance(entry) + l->height() <= l->width(),
                     qPrintable(entry));
    }
    for (QLineEdit* e : dlg.ClientArea()->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly))
        QVERIFY2(e->fontMetrics().height() + 4 <= e->height(), qPrintable(e->objectName()));
}

// --- Opening -------------------------------------------------------------------------------

void TestFormOpening::emptyStoreOpensWithDefaults() {
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    const QDate today = QDate::currentDate();
    QCOMPARE(Text(dlg, 1015), QStringLiteral("A LA VISTA"));
    QCOMPARE(Text(dlg, 1036), QStringLiteral("0"));
    QCOMPARE(Text(dlg, 1038), QStringLiteral("0"));
    QCOMPARE(Text(dlg, 1039), QStringLiteral("0"));
    QCOMPARE(Text(dlg, 1045), QStringLiteral("AZUL"));
    QCOMPARE(Text(dlg, 1046), QStringLiteral("SOLIDO"));
    QCOMPARE(Text(dlg, 1013), QString::number(today.day()));
    QCOMPARE(Text(dlg, 1029), QString::fromLatin1(kMonths[today.month() - 1]));
    QCOMPARE(Text(dlg, 1030), QString::number(today.year()));
    for (int id : {1003, 1004, 1001, 1010, 1011, 1012, 1000, 1006, 1020, 1022, 1024, 1041})
        QCOMPARE(Text(dlg, id), QString());
    for (int id : {1007, 1021, 1023, 1025, 1042, 1026, 1027, 1031, 1028, 1005})
        QCOMPARE(Text(dlg, id), QStringLiteral("0,00"));
    for (int id : kPesetaColumn)
        QCOMPARE(Text(dlg, id), QStringLiteral("0"));
    // Peseta column hidden, its button offering to show it.
    for (int id : kPesetaColumn)
        QVERIFY(!Edit(dlg, id)->isVisible());
    QCOMPARE(dlg.m_VerPesetas, 0);
    QCOMPARE(Button(dlg, 1044)->text(), QStringLiteral("Ver Pts"));
    QCOMPARE(dlg.m_Banner, 2);
    QCOMPARE(dlg.FocusedItemId(), 1006);
    QCOMPARE(QApplication::focusWidget(), Edit(dlg, 1006));
}

void TestFormOpening::savedValuesAreLoaded() {
    sandbox_.Put("Cobrador1", "ana pérez");
    sandbox_.Put("Cobrador2", "C/ Mayor 1");
    sandbox_.Put("Localidad", "madrid");
    sandbox_.Put("Vencimiento", "30 DIAS");
    sandbox_.Put("Numero", "A-17");
    sandbox_.Put("Pagador1", "ávila sl");
    sandbox_.Put("Pagador2", "Calle Sol");
    sandbox_.PutInt("Banner Publicidad 001", 7);
    sandbox_.Put("IVA_STRING", "1");
    sandbox_.Put("IPRF_STRING", "15");
    sandbox_.Put("RE_STRING", "1");
    sandbox_.Put("Concepto1", "Alquiler");
    sandbox_.Put("Concepto5", "Luz");
    sandbox_.Put("Direccion", "Plaza 3");
    sandbox_.Put("Importe1", "1.234,56");
    sandbox_.Put("Importe2", "abc");
    sandbox_.Put("Importe5", "6,01");
    sandbox_.Put("Color", "MARRÓN");
    sandbox_.Put("Pluma", "SOLID");

    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    QCOMPARE(Text(dlg, 1011), QStringLiteral("Ana pérez")); // capital first letter
    QCOMPARE(Text(dlg, 1012), QStringLiteral("C/ Mayor 1"));
    QCOMPARE(Text(dlg, 1004), QStringLiteral("Madrid"));
    QCOMPARE(Text(dlg, 1015), QStringLiteral("30 DIAS"));
    QCOMPARE(Text(dlg, 1003), QStringLiteral("A-17"));
    QCOMPARE(Text(dlg, 1001), QStringLiteral("ávila sl")); // accented letters stay
    QCOMPARE(Text(dlg, 1010), QStringLiteral("Calle Sol"));
    QCOMPARE(dlg.m_Banner, 2);
    QCOMPARE(Text(dlg, 1036), QStringLiteral("16")); // "1" selects the first entry shown
    QCOMPARE(Text(dlg, 1039), QStringLiteral("15"));
    QCOMPARE(Text(dlg, 1038), QStringLiteral("1"));
    QCOMPARE(Text(dlg, 1006), QStringLiteral("Alquiler"));
    QCOMPARE(Text(dlg, 1041), QStringLiteral("Luz"));
    QCOMPARE(Text(dlg, 1000), QStringLiteral("Plaza 3"));
    QCOMPARE(Text(dlg, 1045), QStringLiteral("MARRÓN"));
    QCOMPARE(Text(dlg, 1046), QStringLiteral("SOLIDO")); // "SOLID" selects "SOLIDO"
    QCOMPARE(Text(dlg, 1007), QStringLiteral("1.234,56"));
    QCOMPARE(Text(dlg, 1009), QStringLiteral("205.414")); // 1.234,56 € × 166,386
    QCOMPARE(Text(dlg, 1021), QStringLiteral("0,00"));    // an unreadable amount reads as 0
    QCOMPARE(Text(dlg, 1042), QStringLiteral("6,01"));
    QCOMPARE(Text(dlg, 1043), QStringLiteral("1.000"));
    // Base 1.240,57 with IVA 16 %, RE 1 %, IRPF 15 %:
    //   IVA 198,4912 -> 198,49; RE 12,4057 -> 12,41; IRPF -186,0855 -> -186,09;
    //   total 1.265,3814 -> 1.265,38.
    QCOMPARE(Text(dlg, 1026), QStringLiteral("198,49"));
    QCOMPARE(Text(dlg, 1027), QStringLiteral("12,41"));
    QCOMPARE(Text(dlg, 1031), QStringLiteral("-186,09"));
    QCOMPARE(Text(dlg, 1028), QStringLiteral("1.265,38"));
    QCOMPARE(Text(dlg, 1005), QStringLiteral("1.265,38"));
    QCOMPARE(dlg.m_Localidad, std::string("Madrid"));
}

void TestFormOpening::emptyStoredValuesTakeTheirDefaults() {
    for (const char* key :
         {"Vencimiento", "IVA_STRING", "IPRF_STRING", "RE_STRING", "Color", "Pluma"})
        sandbox_.Put(key, "");
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    QCOMPARE(Text(dlg, 1015), QStringLiteral("A LA VISTA"));
    QCOMPARE(Text(dlg, 1036), QStringLiteral("0"));
    QCOMPARE(Text(dlg, 1038), QStringLiteral("0"));
    QCOMPARE(Text(dlg, 1039), QStringLiteral("0"));
    QCOMPARE(Text(dlg, 1045), QStringLiteral("AZUL"));
    QCOMPARE(Text(dlg, 1046), QStringLiteral("SOLIDO"));
}

void TestFormOpening::unmatchedStoredColourLeavesTheListEmpty() {
    sandbox_.Put("Color", "ROJO");
    sandbox_.Put("IVA_STRING", "21");
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    QCOMPARE(List(dlg, 1045)->currentIndex(), -1);
    QCOMPARE(List(dlg, 1036)->currentIndex(), -1);
    // No IVA selected counts as 0 %.
    TypeInto(dlg, 1007, QStringLiteral("100"));
    QCOMPARE(Text(dlg, 1026), QStringLiteral("0,00"));
    QCOMPARE(Text(dlg, 1028), QStringLiteral("100,00"));
}

void TestFormOpening::tabOrderIsTheTemplateOrder() {
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    const int order[] = {1007, 1020, 1021, 1022, 1023, 1024, 1025, 1041, 1042, 1036,
                         1038, 1039, 1000, 1001, 1010, 1,    1019, 2,    1008, 1006};
    for (int pass = 0; pass < 2; ++pass) {
        QCOMPARE(dlg.FocusedItemId(), 1006);
        for (int id : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(dlg.FocusedItemId(), id);
        }
        // With the peseta column shown its edits are still reached with the mouse only.
        QTest::mouseClick(Button(dlg, 1044), Qt::LeftButton);
        dlg.FocusItem(1006, false);
    }
}

// --- Peseta column, banner, about box ------------------------------------------------------

void TestFormOpening::pesetaToggleMovesAndCaptions() {
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    for (int click = 0; click <= 2; ++click) {
        const bool shown = click == 1;
        QCOMPARE(dlg.m_VerPesetas, shown ? 1 : 0);
        QCOMPARE(Button(dlg, 1044)->text(),
                 shown ? QStringLiteral("Ocultar Pts") : QStringLiteral("Ver Pts"));
        const int width = shown ? 255 : 315;
        for (const ConceptRow& row : kRows) {
            QCOMPARE(Edit(dlg, row.concepto)->geometry(), QRect(7, row.y, width, 23));
            QCOMPARE(Edit(dlg, row.euros)->geometry(), QRect(322, row.y, 62, 23));
            QVERIFY(Edit(dlg, row.concepto)->isVisible());
            QVERIFY(Edit(dlg, row.euros)->isVisible());
        }
        for (int id : kPesetaColumn)
            QCOMPARE(Edit(dlg, id)->isVisible(), shown);
        QVERIFY(Button(dlg, 1044)->isVisible());
        QVERIFY(dlg.m_hBanner);
        QTest::mouseClick(Button(dlg, 1044), Qt::LeftButton);
    }
}

void TestFormOpening::bannerShowsPicture129() {
    sandbox_.PutInt("Banner Publicidad 001", 4);
    CTalveroDlg dlg;
    QVERIFY(!dlg.m_BotonBanner);
    QVERIFY(Open(dlg));
    QCOMPARE(dlg.m_BotonBanner, Button(dlg, 1008));
    QCOMPARE(dlg.m_Banner, 2);
    QVERIFY(dlg.m_pBannerBitmap);
    QCOMPARE(dlg.m_hBanner, dlg.m_pBannerBitmap.get());
    QCOMPARE(dlg.m_hBanner->size(), QSize(230, 200));
    QCOMPARE(dlg.m_hBanner->toImage().convertToFormat(QImage::Format_ARGB32),
             QImage(QStringLiteral(":/pictures/129.png")).convertToFormat(QImage::Format_ARGB32));
    auto* banner = qobject_cast<platform::PictureButton*>(Button(dlg, 1008));
    QVERIFY(banner);
    QVERIFY(banner->HasPicture());
    QCOMPARE(banner->text(), QStringLiteral("Publicidad")); // kept, not drawn
    QTest::mouseClick(Button(dlg, 1019), Qt::LeftButton);   // clear-all refreshes it
    QVERIFY(banner->HasPicture());
    QCOMPARE(dlg.m_Banner, 2);
}

void TestFormOpening::aboutBoxFromF1AndContextMenuLeavesTheFormUnchanged() {
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    TypeInto(dlg, 1007, QStringLiteral("12"));
    const QStringList before = Snapshot(dlg);

    ModalWatcher watcher;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    QCOMPARE(watcher.seen().size(), 1);
    QCOMPARE(watcher.seen().at(0).className, QStringLiteral("CAboutDlg"));
    QCOMPARE(watcher.seen().at(0).title, QStringLiteral("Acerca de Talvero"));

    QCOMPARE(dlg.contextMenuPolicy(), Qt::ActionsContextMenu);
    QCOMPARE(dlg.actions().size(), 1);
    QCOMPARE(dlg.actions().at(0)->text(), QStringLiteral("Acerca de Talvero"));
    dlg.actions().at(0)->trigger();
    QCOMPARE(watcher.seen().size(), 2);
    QCOMPARE(watcher.seen().at(1).className, QStringLiteral("CAboutDlg"));

    QVERIFY(dlg.RunSystemCommand(0x0010));
    QCOMPARE(watcher.seen().size(), 3);

    QCOMPARE(Snapshot(dlg), before);
    QVERIFY(dlg.isVisible());
}

void TestFormOpening::aboutBoxShowsTheLinksAndCloses() {
    for (bool escape : {false, true}) {
        CAboutDlg about;
        about.show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QCOMPARE(about.windowTitle(), QStringLiteral("Acerca de Talvero"));
        QCOMPARE(about.size(), QSize(370, 114)); // 247 x 70 units
        QCOMPARE(about.findChild<QPushButton*>(QStringLiteral("1030"))->text(),
                 QString::fromStdString(enlaces::DireccionCorreo()));
        QCOMPARE(about.findChild<QPushButton*>(QStringLiteral("1031"))->text(),
                 QString::fromStdString(enlaces::DireccionWeb()));
        QStringList labels;
        for (QLabel* l : about.findChildren<QLabel*>())
            labels << l->text();
        QVERIFY(labels.contains(QStringLiteral("Talvero Versión 2.3")));
        QVERIFY(labels.contains(QStringLiteral("Software gratuito con publicidad")));
        auto* aceptar = about.findChild<QPushButton*>(QStringLiteral("1"));
        QCOMPARE(aceptar->text(), QStringLiteral("Aceptar"));
        if (escape) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QCOMPARE(about.result(), int(QDialog::Rejected));
        } else {
            QTest::mouseClick(aceptar, Qt::LeftButton);
            QCOMPARE(about.result(), int(QDialog::Accepted));
        }
        QVERIFY(!about.isVisible());
    }
}

QTEST_MAIN(TestFormOpening)
#include "test_form_opening.moc"
