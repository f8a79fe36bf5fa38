// The dialog layer on a small dialog of its own: building from a template, controls by id,
// the notification table, the data exchange and its failures, keyboard and system menu.
#include "ModalWatcher.h"

#include "platform/DataExchange.h"
#include "platform/Dialog.h"
#include "platform/DialogControls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QtTest>

#include <limits>
#include <optional>

using namespace platform;

namespace {

constexpr int kNombre = 101;  // text, at most 8 characters
constexpr int kDia = 102;     // integer 1..31, digits only
constexpr int kIva = 103;     // sorted list, at most 2 characters
constexpr int kFijo = 104;    // read-only, centred, limited to 5 by the template
constexpr int kMes = 105;     // list in capitals
constexpr int kImporte = 106; // currency
constexpr int kSinTab = 107;  // an edit reached with the mouse only
constexpr int kImagen = 108;  // picture button
constexpr int kOtro = 109;    // an edit after the currency, to see where a save stops

constexpr ControlTemplate kControls[] = {
    {kNombre, ControlKind::Edit, "", {10, 10, 60, 14}, kTabStop},
    {kDia, ControlKind::Edit, "", {10, 30, 40, 14}, kTabStop | kDigitsOnly | kAlignRight},
    {kSinTab, ControlKind::Edit, "", {80, 30, 40, 14}, kNoFlags},
    {kIva, ControlKind::DropList, "", {10, 50, 48, 60}, kTabStop | kSorted | kAlignRight},
    {kFijo, ControlKind::Edit, "fijo", {80, 10, 40, 14}, kReadOnly | kAlignCenter, 5},
    {kMes, ControlKind::DropList, "", {80, 50, 48, 60}, kTabStop | kUppercase},
    {kImporte, ControlKind::Edit, "", {130, 10, 40, 14}, kTabStop | kAlignRight},
    {kOtro, ControlKind::Edit, "", {130, 30, 40, 14}, kTabStop},
    {1, ControlKind::Button, "&Aceptar", {130, 70, 50, 14}, kTabStop | kDefaultButton},
    {2, ControlKind::Button, "&Cancelar", {130, 86, 50, 14}, kTabStop},
    {kImagen, ControlKind::Button, "Imagen", {10, 70, 60, 30}, kPicture},
    {0, ControlKind::Label, "Etiqueta", {80, 70, 30, 8}, kNoFlags},
    {0, ControlKind::Frame, "Marco", {4, 4, 180, 100}, kNoFlags},
};

constexpr std::string_view kIvas[] = {"0", "4", "7", "16"};
constexpr std::string_view kMeses[] = {"enero", "febrero", "marzo"};
constexpr ListContents kLists[] = {{kIva, kIvas}, {kMes, kMeses}};

constexpr DialogTemplate kTemplate{7, "Prueba", 200, 110, "MS Sans Serif", 8, kControls, kLists};

class TestDialog : public Dialog {
public:
    TestDialog();

    // Members bound by the exchange.
    std::string nombre = "Ana";
    std::int32_t dia = 5;
    std::string iva = "1";
    std::string mes;
    moneda::Currency importe{12345600};
    std::string otro = "antes";

    int initRuns = 0;
    int okRuns = 0;
    int cancelRuns = 0;
    int nombreChanged = 0;
    int ivaChanged = 0;
    int diaFocusLost = 0;
    int imagenClicked = 0;
    int commandRuns = 0;
    std::string nombreSeenByHandler; // the edit's text as the change handler saw it

    void OnNombre() {
        ++nombreChanged;
        nombreSeenByHandler = ItemText(kNombre);
    }
    void OnIva() { ++ivaChanged; }
    void OnDiaFocus() { ++diaFocusLost; }
    void OnImagen() { ++imagenClicked; }
    void OnCommand() { ++commandRuns; }

    using Dialog::AppendSystemMenuItem;

protected:
    bool OnInitDialog() override {
        ++initRuns;
        return Dialog::OnInitDialog();
    }
    void DoDataExchange(DataExchange& dx) override {
        dx.Text(kNombre, nombre, 8);
        dx.Integer(kDia, dia, 1, 31);
        dx.ListText(kIva, iva, 2);
        dx.ListText(kMes, mes);
        dx.CurrencyText(kImporte, importe);
        dx.Text(kOtro, otro);
    }
    void OnOK() override { ++okRuns; }
    void OnCancel() override {
        ++cancelRuns;
        Dialog::OnCancel();
    }

private:
    static const NotifyRow<TestDialog> kRows[];
};

const NotifyRow<TestDialog> TestDialog::kRows[] = {
    {Notify::TextChanged, kNombre, &TestDialog::OnNombre},
    {Notify::SelectionChanged, kIva, &TestDialog::OnIva},
    {Notify::FocusLost, kDia, &TestDialog::OnDiaFocus},
    {Notify::Clicked, kImagen, &TestDialog::OnImagen},
    {Notify::SystemCommand, 0x0010, &TestDialog::OnCommand},
};

TestDialog::TestDialog() : Dialog(kTemplate) {
    Route(kRows);
}

QLineEdit* EditOf(Dialog& d, int id) {
    return d.findChild<QLineEdit*>(QString::number(id));
}
QComboBox* ListOf(Dialog& d, int id) {
    return d.findChild<QComboBox*>(QString::number(id));
}

QStringList Entries(QComboBox* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->itemText(i);
    return entries;
}

void Open(Dialog& d) {
    d.show();
    d.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&d));
}

} // namespace

class TestDialogLayer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // --- Building from the template ----------------------------------------------------
    void dialogUnitsBecomePixels_data();
    void dialogUnitsBecomePixels();
    void dialogSizeAndTitle();
    void templateFaceWhenInstalled_data();
    void templateFaceWhenInstalled();
    void controlsCarryTheirIdAsObjectName();
    void flagsBecomeWidgetBehaviour();
    void sortedListKeepsTextOrderAndCapitalsListShowsCapitals();
    void listsStartWithoutSelection();
    void tabOrderIsTemplateOrderAmongTabStops();

    // --- Control operations --------------------------------------------------------------
    void selectListPrefix_data();
    void selectListPrefix();
    void userSelectionNotifiesButLayerSelectionDoesNot();
    void textChangeIsDeliveredBeforeSetTextReturns();
    void focusLostAndClickReachTheirHandlers();
    void focusedItemIdFollowsTheFocus();
    void moveItemPlacesShowsAndRaises();
    void pictureButtonHidesCaptionOnlyWhileItHasAPicture();
    void messageBoxHasExclamationIconAndTitle();

    // --- Opening, keyboard, system menu -------------------------------------------------
    void openingRunsOnceWithLoadAndFocusesFirstTabStop();
    void enterInAnEditClosesNothingEscapeCancels();
    void acceptRunsOnOK();
    void systemCommandsAreRoutedByTheirTable();

    // --- Data exchange -------------------------------------------------------------------
    void loadWritesEveryKind();
    void saveReadsEveryKind();
    void integerSave_data();
    void integerSave();
    void tooLongTextFailsAfterTakingIt();
    void tooLongListTextFails();
    void currencySaveFailures_data();
    void currencySaveFailures();
    void loadOfInvalidCurrencyKeepsTheText();
    void lengthLimitAppliesFromTheFirstExchange();
};

// --- Building from the template --------------------------------------------------------

void TestDialogLayer::dialogUnitsBecomePixels_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QRect>("pixels");
    // x: units × 1.5 rounded down; y: units × 1.625 rounded to nearest; sizes are the
    // differences of the mapped edges.
    // {10, 10, 60, 14}: x 15, y 16.25 -> 16, right 70 -> 105, bottom 24 -> 39.
    QTest::newRow("edit at 10,10 size 60x14") << kNombre << QRect(15, 16, 90, 23);
    // {10, 30, 40, 14}: y 48.75 -> 49, bottom 44 -> 71.5 -> 72.
    QTest::newRow("edit at 10,30 size 40x14") << kDia << QRect(15, 49, 60, 23);
    // {130, 70, 50, 14}: x 195, y 113.75 -> 114, right 180 -> 270, bottom 84 -> 136.5 -> 137.
    QTest::newRow("button at 130,70 size 50x14") << 1 << QRect(195, 114, 75, 23);
    // {10, 70, 60, 30}: bottom 100 -> 162.5 -> 163.
    QTest::newRow("picture button at 10,70 size 60x30") << kImagen << QRect(15, 114, 90, 49);
}

void TestDialogLayer::dialogUnitsBecomePixels() {
    QFETCH(int, id);
    QFETCH(QRect, pixels);
    TestDialog d;
    QCOMPARE(d.Item(id)->geometry(), pixels);
}

void TestDialogLayer::dialogSizeAndTitle() {
    TestDialog d;
    // 200 x 110 units: 300 x 178.75 -> 179 pixels.
    QCOMPARE(d.size(), QSize(300, 179));
    QCOMPARE(d.windowTitle(), QStringLiteral("Prueba"));
    QCOMPARE(d.TemplateId(), 7);
    QCOMPARE(d.font().pointSize(), 8);
}

void TestDialogLayer::templateFaceWhenInstalled_data() {
    // The font gets one family, the first installed: the face, Liberation Sans, DejaVu Sans
    // (the tests' machine has the last two).
    QTest::addColumn<QByteArray>("face");
    QTest::addColumn<QStringList>("families");
    const QStringList liberation{QStringLiteral("Liberation Sans")};
    QTest::newRow("installed") << QByteArray("DejaVu Sans") << QStringList{"DejaVu Sans"};
    QTest::newRow("installed, other case")
        << QByteArray("dejavu sans") << QStringList{"dejavu sans"};
    QTest::newRow("not installed") << QByteArray("MS Sans Serif") << liberation;
    QTest::newRow("no face") << QByteArray() << liberation;
}

void TestDialogLayer::templateFaceWhenInstalled() {
    QFETCH(QByteArray, face);
    QFETCH(QStringList, families);
    DialogTemplate t = kTemplate;
    t.fontFace = std::string_view(face.constData(), std::size_t(face.size()));
    const Dialog d(t);
    QCOMPARE(d.font().families(), families);
}

void TestDialogLayer::controlsCarryTheirIdAsObjectName() {
    TestDialog d;
    for (int id : {kNombre, kDia, kIva, kFijo, kMes, kImporte, kSinTab, kImagen, kOtro, 1, 2}) {
        QWidget* w = d.findChild<QWidget*>(QString::number(id));
        QVERIFY2(w, qPrintable(QString::number(id)));
        QCOMPARE(w, d.Item(id));
    }
    QVERIFY(!d.Item(999));
    QCOMPARE(d.ItemText(999), std::string());
    d.SetItemText(999, "nada"); // ignored, no crash
    // Controls without an id have no name.
    QCOMPARE(d.findChild<QLabel*>()->objectName(), QString());
    QCOMPARE(d.findChild<QGroupBox*>()->objectName(), QString());
    QCOMPARE(d.findChild<QGroupBox*>()->title(), QStringLiteral("Marco"));
}

void TestDialogLayer::flagsBecomeWidgetBehaviour() {
    TestDialog d;
    QLineEdit* dia = EditOf(d, kDia);
    QCOMPARE(dia->alignment(), Qt::AlignRight | Qt::AlignVCenter);
    QVERIFY(qobject_cast<const QRegularExpressionValidator*>(dia->validator()));
    QVERIFY(!dia->isReadOnly());

    QLineEdit* fijo = EditOf(d, kFijo);
    QVERIFY(fijo->isReadOnly());
    QCOMPARE(fijo->alignment(), Qt::AlignHCenter | Qt::AlignVCenter);
    QCOMPARE(fijo->maxLength(), 5);
    QCOMPARE(fijo->text(), QStringLiteral("fijo"));
    QCOMPARE(fijo->focusPolicy(), Qt::ClickFocus);

    QCOMPARE(EditOf(d, kNombre)->focusPolicy(), Qt::StrongFocus);
    QVERIFY(!EditOf(d, kNombre)->validator());

    auto* aceptar = d.findChild<QPushButton*>(QStringLiteral("1"));
    QVERIFY(aceptar->isDefault());
    QVERIFY(!aceptar->autoDefault());
    QCOMPARE(aceptar->text(), QStringLiteral("&Aceptar"));
    QVERIFY(!d.findChild<QPushButton*>(QStringLiteral("2"))->isDefault());
    QVERIFY(qobject_cast<PictureButton*>(d.Item(kImagen)));
    QVERIFY(!qobject_cast<PictureButton*>(d.Item(1)));
    QCOMPARE(d.findChild<QLabel*>()->focusPolicy(), Qt::NoFocus);
}

void TestDialogLayer::sortedListKeepsTextOrderAndCapitalsListShowsCapitals() {
    TestDialog d;
    QCOMPARE(Entries(ListOf(d, kIva)), QStringList({"0", "16", "4", "7"}));
    QCOMPARE(Entries(ListOf(d, kMes)), QStringList({"ENERO", "FEBRERO", "MARZO"}));
    QVERIFY(!ListOf(d, kIva)->isEditable());
}

void TestDialogLayer::listsStartWithoutSelection() {
    TestDialog d;
    QCOMPARE(ListOf(d, kIva)->currentIndex(), -1);
    QCOMPARE(d.ListSelectedText(kIva), std::string());
    QCOMPARE(d.ItemText(kMes), std::string());
}

void TestDialogLayer::tabOrderIsTemplateOrderAmongTabStops() {
    TestDialog d;
    Open(d);
    QCOMPARE(d.FocusedItemId(), kNombre);
    const int expected[] = {kDia, kIva, kMes, kImporte, kOtro, 1, 2, kNombre};
    for (int id : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(d.FocusedItemId(), id);
    }
}

// --- Control operations ------------------------------------------------------------------

void TestDialogLayer::selectListPrefix_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<bool>("matched");
    QTest::addColumn<QString>("after");
    QTest::newRow("1 selects 16, first in shown order") << ""
                                                        << "1" << true << "16";
    QTest::newRow("exact entry") << ""
                                 << "7" << true << "7";
    QTest::newRow("no entry begins with it: stays empty") << ""
                                                          << "9" << false << "";
    QTest::newRow("no entry begins with it: stays 4") << "4"
                                                      << "9" << false << "4";
    QTest::newRow("empty prefix leaves the selection") << "4"
                                                       << "" << false << "4";
    QTest::newRow("longer than every entry") << "0"
                                             << "160" << false << "0";
}

void TestDialogLayer::selectListPrefix() {
    QFETCH(QString, before);
    QFETCH(QString, prefix);
    QFETCH(bool, matched);
    QFETCH(QString, after);
    TestDialog d;
    if (!before.isEmpty())
        QVERIFY(d.SelectListPrefix(kIva, before.toStdString()));
    QCOMPARE(d.SelectListPrefix(kIva, prefix.toStdString()), matched);
    QCOMPARE(QString::fromStdString(d.ListSelectedText(kIva)), after);
}

void TestDialogLayer::userSelectionNotifiesButLayerSelectionDoesNot() {
    TestDialog d;
    QVERIFY(d.SelectListPrefix(kMes, "feb")); // ignoring case
    QCOMPARE(d.ListSelectedText(kMes), std::string("FEBRERO"));
    QVERIFY(d.SelectListPrefix(kIva, "4"));
    QCOMPARE(d.ivaChanged, 0);
    ListOf(d, kIva)->setCurrentIndex(1);
    QCOMPARE(d.ivaChanged, 1);
    QCOMPARE(d.ListSelectedText(kIva), std::string("16"));
}

void TestDialogLayer::textChangeIsDeliveredBeforeSetTextReturns() {
    TestDialog d;
    d.SetItemText(kNombre, "Luis");
    QCOMPARE(d.nombreChanged, 1);
    QCOMPARE(d.nombreSeenByHandler, std::string("Luis"));
    QCOMPARE(d.ItemText(kNombre), std::string("Luis"));
    d.SetItemText(kNombre, "Lucía");
    QCOMPARE(d.nombreChanged, 2);
    QCOMPARE(d.ItemText(kNombre), std::string("Lucía"));
}

void TestDialogLayer::focusLostAndClickReachTheirHandlers() {
    TestDialog d;
    Open(d);
    d.FocusItem(kDia, false);
    QCOMPARE(d.diaFocusLost, 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(d.diaFocusLost, 1);
    QTest::mouseClick(d.Item(kImagen), Qt::LeftButton);
    QCOMPARE(d.imagenClicked, 1);
}

void TestDialogLayer::focusedItemIdFollowsTheFocus() {
    TestDialog d;
    Open(d);
    d.FocusItem(kSinTab, false);
    QCOMPARE(d.FocusedItemId(), kSinTab);
    d.FocusItem(2, false);
    QCOMPARE(d.FocusedItemId(), 2);
    EditOf(d, kImporte)->setText(QStringLiteral("12,5"));
    d.FocusItem(kImporte, true);
    QCOMPARE(d.FocusedItemId(), kImporte);
    QCOMPARE(EditOf(d, kImporte)->selectedText(), QStringLiteral("12,5"));
}

void TestDialogLayer::moveItemPlacesShowsAndRaises() {
    TestDialog d;
    Open(d);
    d.ShowItem(kSinTab, false);
    QVERIFY(!d.Item(kSinTab)->isVisible());
    d.MoveItem(kSinTab, 3, 4, 50, 20);
    QCOMPARE(d.Item(kSinTab)->geometry(), QRect(3, 4, 50, 20));
    QVERIFY(d.Item(kSinTab)->isVisible());
    // On top: the last of the client area's children in stacking order.
    QCOMPARE(d.Item(kSinTab)->parentWidget(), d.ClientArea());
    QCOMPARE(d.ClientArea()->children().last(), d.Item(kSinTab));
}

void TestDialogLayer::pictureButtonHidesCaptionOnlyWhileItHasAPicture() {
    TestDialog d;
    auto* button = qobject_cast<PictureButton*>(d.Item(kImagen));
    QPixmap picture(20, 10);
    picture.fill(Qt::red);
    d.SetButtonPicture(kImagen, &picture);
    QVERIFY(button->HasPicture());
    QCOMPARE(button->iconSize(), QSize(20, 10));
    QCOMPARE(button->text(), QStringLiteral("Imagen"));
    const QPixmap empty;
    d.SetButtonPicture(kImagen, &empty);
    QVERIFY(!button->HasPicture());
    d.SetButtonPicture(kImagen, &picture);
    d.SetButtonPicture(kImagen, nullptr);
    QVERIFY(!button->HasPicture());
}

void TestDialogLayer::messageBoxHasExclamationIconAndTitle() {
    TestDialog d;
    Open(d);
    ModalWatcher watcher;
    d.MessageBoxExclamation("Introduzca una moneda.");
    QCOMPARE(watcher.seen().size(), 1);
    QCOMPARE(watcher.seen().first().icon, QMessageBox::Warning);
    QCOMPARE(watcher.seen().first().title, QStringLiteral("Talvero"));
    QCOMPARE(watcher.seen().first().text, QStringLiteral("Introduzca una moneda."));
}

// --- Opening, keyboard, system menu ----------------------------------------------------

void TestDialogLayer::openingRunsOnceWithLoadAndFocusesFirstTabStop() {
    TestDialog d;
    QCOMPARE(d.initRuns, 0);
    QCOMPARE(EditOf(d, kNombre)->text(), QString());
    Open(d);
    QCOMPARE(d.initRuns, 1);
    QCOMPARE(EditOf(d, kNombre)->text(), QStringLiteral("Ana")); // the first load exchange
    QCOMPARE(d.FocusedItemId(), kNombre);
    d.hide();
    d.show();
    QCOMPARE(d.initRuns, 1);
}

void TestDialogLayer::enterInAnEditClosesNothingEscapeCancels() {
    TestDialog d;
    Open(d);
    d.FocusItem(kNombre, false);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(d.isVisible());
    QCOMPARE(d.okRuns, 0);
    QCOMPARE(d.cancelRuns, 0);
    // Enter on a focused button clicks that button.
    d.FocusItem(1, false);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(d.okRuns, 0); // button 1 is routed nowhere in this table
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(d.cancelRuns, 1);
    QVERIFY(!d.isVisible());
    QCOMPARE(d.result(), int(QDialog::Rejected));
}

void TestDialogLayer::acceptRunsOnOK() {
    TestDialog d;
    Open(d);
    d.accept();
    QCOMPARE(d.okRuns, 1);
    QVERIFY(d.isVisible()); // this dialog's OnOK does not end it
    d.close();              // the close box
    QCOMPARE(d.cancelRuns, 1);
    QVERIFY(!d.isVisible());
}

void TestDialogLayer::systemCommandsAreRoutedByTheirTable() {
    TestDialog d;
    d.AppendSystemMenuItem(0x0010, "Acerca de Prueba");
    Open(d);
    QVERIFY(d.RunSystemCommand(0x0010));
    QVERIFY(d.RunSystemCommand(0x0013));  // the low four bits do not count
    QVERIFY(!d.RunSystemCommand(0xF060)); // close: not in the table
    QCOMPARE(d.commandRuns, 2);
#ifndef Q_OS_WIN
    // Where the system menu cannot be extended: the dialog's context menu and F1.
    QCOMPARE(d.contextMenuPolicy(), Qt::ActionsContextMenu);
    QCOMPARE(d.actions().size(), 1);
    QCOMPARE(d.actions().first()->text(), QStringLiteral("Acerca de Prueba"));
    d.FocusItem(kNombre, false);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    QCOMPARE(d.commandRuns, 3);
#endif
}

// --- Data exchange -----------------------------------------------------------------------

void TestDialogLayer::loadWritesEveryKind() {
    TestDialog d;
    d.mes = "MARZO";
    QVERIFY(d.UpdateData(false));
    QCOMPARE(EditOf(d, kNombre)->text(), QStringLiteral("Ana"));
    QCOMPARE(EditOf(d, kDia)->text(), QStringLiteral("5"));
    QCOMPARE(d.ListSelectedText(kIva), std::string("16")); // "1" selects "16"
    QCOMPARE(d.ListSelectedText(kMes), std::string("MARZO"));
    QCOMPARE(EditOf(d, kImporte)->text(), QStringLiteral("1234,56")); // plain euros
    QCOMPARE(EditOf(d, kOtro)->text(), QStringLiteral("antes"));
    // Out of range on load: written without complaint.
    d.dia = 99;
    ModalWatcher watcher;
    QVERIFY(d.UpdateData(false));
    QCOMPARE(EditOf(d, kDia)->text(), QStringLiteral("99"));
    QVERIFY(watcher.seen().isEmpty());
}

void TestDialogLayer::saveReadsEveryKind() {
    TestDialog d;
    Open(d);
    EditOf(d, kNombre)->setText(QStringLiteral("Lucía"));
    EditOf(d, kDia)->setText(QStringLiteral("31"));
    ListOf(d, kIva)->setCurrentIndex(3); // "7"
    ListOf(d, kMes)->setCurrentIndex(0);
    EditOf(d, kImporte)->setText(QStringLiteral("1.000,5"));
    EditOf(d, kOtro)->setText(QStringLiteral("después"));
    ModalWatcher watcher;
    QVERIFY(d.UpdateData(true));
    QVERIFY(watcher.seen().isEmpty());
    QCOMPARE(d.nombre, std::string("Lucía"));
    QCOMPARE(d.dia, 31);
    QCOMPARE(d.iva, std::string("7"));
    QCOMPARE(d.mes, std::string("ENERO"));
    QCOMPARE(d.importe, moneda::Currency(10005000));
    QCOMPARE(d.otro, std::string("después"));
}

void TestDialogLayer::integerSave_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::addColumn<int>("member");      // the member afterwards (it was 5)

    const QString notInteger = QStringLiteral("Introduzca un número entero.");
    const QString range = QStringLiteral("Introduzca un número entero entre 1 y 31.");
    QTest::newRow("1 is the lower bound") << "1"
                                          << "" << 1;
    QTest::newRow("31 is the upper bound") << "31"
                                           << "" << 31;
    QTest::newRow("blanks and a plus sign") << " +12 "
                                            << "" << 12;
    QTest::newRow("leading zeros") << "007"
                                   << "" << 7;
    QTest::newRow("empty: not an integer, member kept") << "" << notInteger << 5;
    QTest::newRow("blanks only") << "   " << notInteger << 5;
    QTest::newRow("letters after digits") << "12a" << notInteger << 5;
    QTest::newRow("a decimal comma") << "12,5" << notInteger << 5;
    QTest::newRow("a sign alone") << "-" << notInteger << 5;
    QTest::newRow("blank between sign and digits") << "- 3" << notInteger << 5;
    QTest::newRow("beyond 32 bits") << "2147483648" << notInteger << 5;
    QTest::newRow("far beyond 32 bits") << "99999999999999999999999" << notInteger << 5;
    QTest::newRow("32-bit maximum: taken, out of range")
        << "2147483647" << range << std::numeric_limits<int>::max();
    QTest::newRow("32-bit minimum: taken, out of range")
        << "-2147483648" << range << std::numeric_limits<int>::min();
    QTest::newRow("0 below the range: taken") << "0" << range << 0;
    QTest::newRow("99 above the range: taken") << "99" << range << 99;
    QTest::newRow("negative: taken") << "-3" << range << -3;
}

void TestDialogLayer::integerSave() {
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(int, member);
    TestDialog d;
    Open(d);
    EditOf(d, kDia)->setText(text);
    EditOf(d, kOtro)->setText(QStringLiteral("nuevo"));
    d.FocusItem(kNombre, false);
    ModalWatcher watcher;
    const bool ok = d.UpdateData(true);
    QCOMPARE(d.dia, member);
    if (message.isEmpty()) {
        QVERIFY(ok);
        QVERIFY(watcher.seen().isEmpty());
        QCOMPARE(d.otro, std::string("nuevo"));
        return;
    }
    QVERIFY(!ok);
    QCOMPARE(watcher.messages(), QStringList{message});
    QCOMPARE(watcher.seen().first().icon, QMessageBox::Warning);
    // The focus is on the failing edit, its text selected; later steps did not run.
    QCOMPARE(d.FocusedItemId(), kDia);
    QCOMPARE(EditOf(d, kDia)->selectedText(), text);
    QCOMPARE(d.nombre, std::string("Ana")); // the step before ran (same text)
    QCOMPARE(d.iva, std::string("1"));
    QCOMPARE(d.otro, std::string("antes"));
}

void TestDialogLayer::tooLongTextFailsAfterTakingIt() {
    TestDialog d; // not opened: no load has limited the edit yet
    EditOf(d, kNombre)->setText(QStringLiteral("123456789"));
    EditOf(d, kDia)->setText(QStringLiteral("20"));
    EditOf(d, kImporte)->setText(QStringLiteral("1"));
    ModalWatcher watcher;
    QVERIFY(!d.UpdateData(true));
    QCOMPARE(watcher.messages(), QStringList{"No introduzca más de 8 caracteres."});
    QCOMPARE(d.nombre, std::string("123456789"));
    QCOMPARE(d.dia, 5);
    // Exactly at the limit, counted in characters, not bytes.
    EditOf(d, kNombre)->setText(QStringLiteral("ñññññññ€"));
    watcher.clear();
    QVERIFY(d.UpdateData(true));
    QVERIFY(watcher.seen().isEmpty());
    QCOMPARE(d.nombre, std::string("ñññññññ€"));
}

void TestDialogLayer::tooLongListTextFails() {
    TestDialog d;
    Open(d);
    EditOf(d, kDia)->setText(QStringLiteral("3"));
    ListOf(d, kIva)->setCurrentIndex(1); // "16": fits in 2
    ListOf(d, kMes)->setCurrentIndex(0);
    ModalWatcher watcher;
    QVERIFY(d.UpdateData(true));
    QCOMPARE(d.iva, std::string("16"));
    ListOf(d, kIva)->addItem(QStringLiteral("100"));
    ListOf(d, kIva)->setCurrentIndex(ListOf(d, kIva)->count() - 1);
    ListOf(d, kMes)->setCurrentIndex(2);
    QVERIFY(!d.UpdateData(true));
    QCOMPARE(watcher.messages(), QStringList{"No introduzca más de 2 caracteres."});
    QCOMPARE(d.iva, std::string("100"));
    QCOMPARE(d.mes, std::string("ENERO")); // from the save before; this one stopped
    QCOMPARE(d.FocusedItemId(), kIva);
}

void TestDialogLayer::currencySaveFailures_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("value");
    QTest::newRow("euro text with groups") << "1.234,56" << true << qint64(12345600);
    QTest::newRow("plain euros") << "6,01" << true << qint64(60100);
    QTest::newRow("negative") << "-15,1" << true << qint64(-151000);
    QTest::newRow("empty: not a number") << "" << false << qint64(0);
    QTest::newRow("letters: not a number") << "abc" << false << qint64(0);
    QTest::newRow("number then letters") << "12abc" << false << qint64(0);
    QTest::newRow("too large: most negative")
        << "99999999999999999999" << false << std::numeric_limits<qint64>::min();
}

void TestDialogLayer::currencySaveFailures() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(qint64, value);
    TestDialog d;
    Open(d);
    EditOf(d, kImporte)->setText(text);
    EditOf(d, kOtro)->setText(QStringLiteral("nuevo"));
    ModalWatcher watcher;
    QCOMPARE(d.UpdateData(true), valid);
    QCOMPARE(d.importe.isValid(), valid);
    QCOMPARE(d.importe.value(), value);
    if (valid) {
        QVERIFY(watcher.seen().isEmpty());
        QCOMPARE(d.otro, std::string("nuevo"));
    } else {
        QCOMPARE(watcher.messages(), QStringList{"Introduzca una moneda."});
        QCOMPARE(d.FocusedItemId(), kImporte);
        QCOMPARE(d.otro, std::string("antes"));
    }
}

void TestDialogLayer::loadOfInvalidCurrencyKeepsTheText() {
    TestDialog d;
    Open(d);
    EditOf(d, kImporte)->setText(QStringLiteral("99999999999999999999"));
    ModalWatcher watcher;
    QVERIFY(!d.UpdateData(true));
    QVERIFY(d.UpdateData(false));
    QCOMPARE(EditOf(d, kImporte)->text(), QStringLiteral("99999999999999999999"));
    d.importe = moneda::Currency(125000);
    QVERIFY(d.UpdateData(false));
    QCOMPARE(EditOf(d, kImporte)->text(), QStringLiteral("12,5"));
}

void TestDialogLayer::lengthLimitAppliesFromTheFirstExchange() {
    TestDialog d;
    QCOMPARE(EditOf(d, kNombre)->maxLength(), 32767); // Qt's own default
    Open(d);                                          // the first load sets the limit
    QCOMPARE(EditOf(d, kNombre)->maxLength(), 8);
    d.FocusItem(kNombre, true);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("abcdefghijkl"));
    QCOMPARE(EditOf(d, kNombre)->text(), QStringLiteral("abcdefgh"));
    // Digits-only: letters typed are refused.
    d.FocusItem(kDia, true);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("1x2-"));
    QCOMPARE(EditOf(d, kDia)->text(), QStringLiteral("12"));
}

QTEST_MAIN(TestDialogLayer)
#include "test_dialog_layer.moc"
