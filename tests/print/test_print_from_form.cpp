// A receipt printed as a user prints it: the real form filled by typing, "&Imprimir", the
// printer choice confirmed on the default queue of the tests' own CUPS server, and the PDF
// that the queue wrote read back.
#include "ChoiceDriver.h"
#include "FormFixture.h"
#include "PrintTestSupport.h"

#include "register/RecibosEmitidos.h"
#include "register/Registro.h"

#include <QAction>
#include <QFile>
#include <QMessageBox>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <memory>

namespace {

const QString QUEUE = QStringLiteral("TalveroPDF");
const QString JOB_NAME = QStringLiteral("Talvero: Imprimiento Recibo");

// The highest word on the page with this text.
const printtest::Word* Highest(const QList<printtest::Word>& words, const QString& text) {
    const printtest::Word* best = nullptr;
    for (const printtest::Word& w : words)
        if (w.text == text && (best == nullptr || w.box.top() < best->box.top()))
            best = &w;
    return best;
}

// The rows of the program's register, newest last: id and destination.
QList<QPair<qint64, QString>> RegisterRows() {
    registro::Registro store(registro::Registro::RutaPorDefecto());
    QList<QPair<qint64, QString>> rows;
    if (!store.Abrir())
        return rows;
    QSqlQuery q(store.Base());
    q.exec(QStringLiteral("SELECT id, destino FROM recibos ORDER BY id"));
    while (q.next())
        rows.append({q.value(0).toLongLong(), q.value(1).toString()});
    return rows;
}

// Words with their places, to compare two printed pages.
QStringList Placed(const QList<printtest::Word>& words) {
    QStringList placed;
    for (const printtest::Word& w : words)
        placed << QStringLiteral("%1@%2,%3")
                      .arg(w.text)
                      .arg(w.box.left(), 0, 'f', 1)
                      .arg(w.box.bottom(), 0, 'f', 1);
    return placed;
}

} // namespace

class TestPrintFromForm : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void filledFormPrintsOneReceiptPage();
    void cancelledChoicePrintsNothingAndRewritesTheForm();
    void printedReceiptIsRecordedReprintedAndCopied();
    void jobTakenLateIsRecordedAndToldOnce();
    void todaysRatesPrintAsChosenAndCopyBack();

private:
    void Fill(CTalveroDlg& dlg);
    QList<int> Jobs() const { return printtest::JobIds(QUEUE); }

    SettingsSandbox settings_{QStringLiteral("talvero-test-print-form")};
};

void TestPrintFromForm::initTestCase() {
    if (const QString por = printtest::WhyNoServer(); !por.isEmpty())
        QSKIP(qPrintable(por));
}

void TestPrintFromForm::Fill(CTalveroDlg& dlg) {
    TypeInto(dlg, 1003, QStringLiteral("17"));
    TypeInto(dlg, 1004, QStringLiteral("zaragoza"));
    TypeInto(dlg, 1013, QStringLiteral("5"));
    Choose(dlg, 1029, QStringLiteral("MARZO"));
    TypeInto(dlg, 1030, QStringLiteral("2004"));
    TypeInto(dlg, 1006, QStringLiteral("Reparación"));
    TypeInto(dlg, 1007, QStringLiteral("100"));
    TypeInto(dlg, 1020, QStringLiteral("Piezas"));
    TypeInto(dlg, 1021, QStringLiteral("50,5"));
    Choose(dlg, 1036, QStringLiteral("16"));
    Choose(dlg, 1039, QStringLiteral("15"));
    TypeInto(dlg, 1000, QStringLiteral("C/ Mayor 12"));
    TypeInto(dlg, 1001, QStringLiteral("comunidad"));
    TypeInto(dlg, 1011, QStringLiteral("juan"));
    Choose(dlg, 1045, QStringLiteral("GRIS"));
    Choose(dlg, 1046, QStringLiteral("SOLIDO"));
}

void TestPrintFromForm::filledFormPrintsOneReceiptPage() {
    settings_.Clear();
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    Fill(dlg);
    // 150,50 + 16 % IVA 24,08 - 15 % IRPF 22,575 = 152,005, shown rounded.
    QCOMPARE(Text(dlg, 1028), QStringLiteral("152,01"));

    const QList<int> before = Jobs();
    {
        ChoiceDriver driver(ChoiceDriver::Press::Accept);
        QTest::mouseClick(Button(dlg, 1), Qt::LeftButton);
        QCOMPARE(driver.choicesSeen, 1);
        QCOMPARE(driver.startPrinter, QUEUE);
        QVERIFY2(driver.otherModals.isEmpty(), qPrintable(driver.otherModals.join(", ")));
    }
    QVERIFY(dlg.isVisible());

    int job = -1;
    for (int id : Jobs())
        if (!before.contains(id))
            job = id;
    QVERIFY2(job > 0, "the print made a job on the default queue");
    QCOMPARE(printtest::WaitForJobEnd(QUEUE, job), QStringLiteral("completed"));
    QCOMPARE(printtest::JobAttributes(QUEUE, job).value(QStringLiteral("job-name")), JOB_NAME);
    const QString pdf = printtest::PdfOfJob(job);
    QVERIFY2(!pdf.isEmpty(), "the queue wrote the PDF");
    QCOMPARE(printtest::PageCount(pdf), 1);

    const QList<printtest::Word> words = printtest::Words(pdf);
    QStringList texts;
    for (const printtest::Word& w : words)
        texts << w.text;
    // The place is printed with its capital; the date in words; the labels and amounts.
    for (const char* expected :
         {"Zaragoza", "MARZO", "2.004", "Reparación", "Piezas", "100,00", "50,50", "+16%", "24,08",
          "+15%", "IRPF", "-22,58", "TOTAL", "Comunidad", "Juan", "C/", "Mayor"})
        QVERIFY2(texts.contains(QString::fromUtf8(expected)),
                 qPrintable(QStringLiteral("missing %1 in %2")
                                .arg(QString::fromUtf8(expected), texts.join(' '))));
    // The renderer adds the printed amounts itself (unrounded taxes as the form held them
    // after reading back the displayed values): 150,50 + 24,08 - 22,58 = 152,00.
    QCOMPARE(texts.count(QStringLiteral("152,00")), 2);

    // The receipt total stands right-aligned in the amount box, x 140,0..175,0 mm.
    const printtest::Word* total = Highest(words, QStringLiteral("152,00"));
    QVERIFY(total != nullptr);
    QVERIFY2(qAbs(total->box.right() - 175.0) < 0.5 && total->box.top() < 11.0,
             qPrintable(QStringLiteral("%1, %2").arg(total->box.right()).arg(total->box.top())));

    // GRIS solid: the frame beside the boxes is filled with the outline's grey.
    const QImage page = printtest::Render(pdf, 150);
    const auto px = [](double mm) { return int(mm / 25.4 * 150.0); };
    QCOMPARE(page.pixelColor(px(10), px(60)), QColor(200, 200, 200));

    // The form was rewritten from its members after the print: the place shows its capital.
    QCOMPARE(Text(dlg, 1004), QStringLiteral("Zaragoza"));
}

void TestPrintFromForm::cancelledChoicePrintsNothingAndRewritesTheForm() {
    settings_.Clear();
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    Fill(dlg);
    const QList<int> before = Jobs();
    const int pdfsBefore = printtest::PdfCount();
    const auto rowsBefore = RegisterRows();
    {
        ChoiceDriver driver(ChoiceDriver::Press::Cancel);
        QTest::mouseClick(Button(dlg, 1), Qt::LeftButton);
        QCOMPARE(driver.choicesSeen, 1);
        QVERIFY(driver.otherModals.isEmpty());
    }
    QVERIFY(dlg.isVisible());
    QCOMPARE(Jobs(), before);
    QCOMPARE(printtest::PdfCount(), pdfsBefore);
    QCOMPARE(RegisterRows(), rowsBefore); // nothing left the program, nothing recorded
    QCOMPARE(Text(dlg, 1004), QStringLiteral("Zaragoza"));
    QCOMPARE(Text(dlg, 1001), QStringLiteral("Comunidad"));
    QCOMPARE(Text(dlg, 1003), QStringLiteral("17"));
    QCOMPARE(Text(dlg, 1028), QStringLiteral("152,01"));
}

void TestPrintFromForm::printedReceiptIsRecordedReprintedAndCopied() {
    settings_.Clear();
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    Fill(dlg);
    const auto rowsBefore = RegisterRows();
    QList<int> before = Jobs();
    {
        ChoiceDriver driver(ChoiceDriver::Press::Accept);
        QTest::mouseClick(Button(dlg, 1), Qt::LeftButton);
        QCOMPARE(driver.choicesSeen, 1);
    }
    // One row, the printer's name as its destination, the record as it was printed.
    const auto rows = RegisterRows();
    QCOMPARE(rows.size(), rowsBefore.size() + 1);
    QCOMPARE(rows.last().second, QUEUE);
    {
        registro::Registro store(registro::Registro::RutaPorDefecto());
        QVERIFY(store.Abrir());
        const std::optional<CRecibo> stored = store.Cargar(rows.last().first);
        QVERIFY(stored.has_value());
        QCOMPARE(stored->m_Numero, std::string("17"));
        QCOMPARE(stored->m_Localidad, std::string("Zaragoza"));
        QCOMPARE(stored->m_Iva, std::string("16")); // as filled, not as drawn
        QCOMPARE(stored->m_Importe2, moneda::Currency(505000));
    }
    int first = -1;
    for (int id : Jobs())
        if (!before.contains(id))
            first = id;
    QVERIFY(first > 0);
    QCOMPARE(printtest::WaitForJobEnd(QUEUE, first), QStringLiteral("completed"));
    const QStringList original = Placed(printtest::Words(printtest::PdfOfJob(first)));
    QVERIFY(!original.isEmpty());

    // The form changes, then the receipt is reprinted from the register: the same page.
    QTest::mouseClick(Button(dlg, 1019), Qt::LeftButton); // "&Borrar Todo"
    TypeInto(dlg, 1003, QStringLiteral("18"));
    dlg.OnRecibosEmitidos();
    auto* window = dlg.findChild<registro::RecibosEmitidos*>(QStringLiteral("recibosEmitidos"));
    QVERIFY(window != nullptr);
    auto* table = window->findChild<QTableView*>(QStringLiteral("tablaRecibos"));
    QTRY_VERIFY(table->model()->rowCount() > 0);
    table->selectRow(0); // newest first
    before = Jobs();
    {
        ChoiceDriver driver(ChoiceDriver::Press::Accept);
        window->findChild<QAction*>(QStringLiteral("imprimir"))->trigger();
        QCOMPARE(driver.choicesSeen, 1);
    }
    int reprint = -1;
    for (int id : Jobs())
        if (!before.contains(id))
            reprint = id;
    QVERIFY2(reprint > 0, "the reprint made a job");
    QCOMPARE(printtest::WaitForJobEnd(QUEUE, reprint), QStringLiteral("completed"));
    QCOMPARE(Placed(printtest::Words(printtest::PdfOfJob(reprint))), original);
    QCOMPARE(RegisterRows().size(), rows.size() + 1); // the reprint is a row of its own
    QCOMPARE(Text(dlg, 1003), QStringLiteral("18"));  // and the form was left alone

    // "Copiar al formulario" brings the old receipt back into the form, recomputed.
    table->selectRow(0);
    window->findChild<QAction*>(QStringLiteral("copiarAlFormulario"))->trigger();
    QCOMPARE(Text(dlg, 1003), QStringLiteral("17"));
    QCOMPARE(Text(dlg, 1004), QStringLiteral("Zaragoza"));
    QCOMPARE(Text(dlg, 1021), QStringLiteral("50,50"));
    QCOMPARE(Text(dlg, 1036), QStringLiteral("16"));
    QCOMPARE(Text(dlg, 1045), QStringLiteral("GRIS"));
    QCOMPARE(Text(dlg, 1046), QStringLiteral("SOLIDO"));
    QCOMPARE(Text(dlg, 1028), QStringLiteral("152,01"));
}

void TestPrintFromForm::jobTakenLateIsRecordedAndToldOnce() {
    QFile pidFile(printtest::ServerDir() + QStringLiteral("/cupsd.pid"));
    const pid_t server =
        pidFile.open(QIODevice::ReadOnly) ? pid_t(pidFile.readAll().trimmed().toInt()) : 0;
    if (server <= 0 || ::kill(server, 0) != 0)
        QSKIP("the tests' print server cannot be paused by this user");
    // Whatever happens, the server runs again for the tests that follow.
    const std::unique_ptr<const pid_t, void (*)(const pid_t*)> despertar(
        &server, [](const pid_t* pid) { ::kill(*pid, SIGCONT); });

    settings_.Clear();
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    Fill(dlg);
    const auto rowsBefore = RegisterRows();
    const QList<int> before = Jobs();
    {
        ChoiceDriver driver(ChoiceDriver::Press::Accept);
        // The server pauses as the job is handed over, for longer than the program waits.
        driver.BeforeAccept([&] {
            ::kill(server, SIGSTOP);
            QTimer::singleShot(7000, &dlg, [&] { ::kill(server, SIGCONT); });
        });
        QTest::mouseClick(Button(dlg, 1), Qt::LeftButton);
        QCOMPARE(driver.messages.size(), 1);
        QVERIFY2(driver.messages.first().contains(QStringLiteral("no responde")),
                 qPrintable(driver.messages.first()));
    }
    QCOMPARE(RegisterRows(), rowsBefore); // told it did not print: nothing recorded yet

    const auto aviso = [&] {
        return dlg.findChild<QMessageBox*>(QStringLiteral("impresoFinalmente"));
    };
    QTRY_VERIFY_WITH_TIMEOUT(aviso() != nullptr, 20000);
    QCOMPARE(aviso()->text(),
             QStringLiteral("El recibo 17 se imprimió finalmente en «TalveroPDF» y "
                            "se ha anotado en el registro."));
    const auto rows = RegisterRows();
    QCOMPARE(rows.size(), rowsBefore.size() + 1);
    QCOMPARE(rows.last().second, QUEUE);
    QList<int> nuevos;
    for (int id : Jobs())
        if (!before.contains(id))
            nuevos << id;
    QCOMPARE(nuevos.size(), 1); // what the register holds is what the server printed
    QCOMPARE(printtest::WaitForJobEnd(QUEUE, nuevos.first()), QStringLiteral("completed"));
}

void TestPrintFromForm::todaysRatesPrintAsChosenAndCopyBack() {
    settings_.Clear();
    settings_.Put("TiposIVA", "0;4;10;21");
    settings_.Put("TiposRE", "0;0,5;1,4;1,75;5,2");
    settings_.Put("TiposIRPF", "0;1;2;7;15;19");
    const auto rowsBefore = RegisterRows();
    const QList<int> before = Jobs();
    {
        CTalveroDlg dlg;
        QVERIFY(Open(dlg));
        TypeInto(dlg, 1007, QStringLiteral("1000"));
        Choose(dlg, 1036, QStringLiteral("21"));
        Choose(dlg, 1038, QStringLiteral("5,2"));
        Choose(dlg, 1039, QStringLiteral("19"));
        ChoiceDriver driver(ChoiceDriver::Press::Accept);
        QTest::mouseClick(Button(dlg, 1), Qt::LeftButton);
        QCOMPARE(driver.choicesSeen, 1);
    }
    int job = -1;
    for (int id : Jobs())
        if (!before.contains(id))
            job = id;
    QVERIFY(job > 0);
    QCOMPARE(printtest::WaitForJobEnd(QUEUE, job), QStringLiteral("completed"));
    const QList<printtest::Word> words = printtest::Words(printtest::PdfOfJob(job));

    // The tax lines of the concept block, in this order, each label at 37 mm and its amount
    // ending at 175 mm on the same line: 1.000 + 210 + 52 - 190 = 1.072.
    const char* const lines[][2] = {{"+21%", "210,00"}, {"+5,2%", "52,00"}, {"+19%", "-190,00"}};
    double above = 0;
    for (const auto& [label, amount] : lines) {
        const printtest::Word* l = Highest(words, QString::fromUtf8(label));
        const printtest::Word* a = Highest(words, QString::fromUtf8(amount));
        QVERIFY2(l && a, label);
        QVERIFY2(qAbs(l->box.left() - 37.0) < 0.5 && qAbs(a->box.right() - 175.0) < 0.5, label);
        QVERIFY2(qAbs(l->box.bottom() - a->box.bottom()) < 0.5 && l->box.top() > above, label);
        above = l->box.top();
    }
    int totals = 0;
    for (const printtest::Word& w : words)
        totals += w.text == QStringLiteral("1.072,00") ? 1 : 0;
    QCOMPARE(totals, 2);

    // The register keeps the texts as chosen; copied back into a form whose lists are the
    // original ones, each percentage is added to its list and the total is the same.
    const auto rows = RegisterRows();
    QCOMPARE(rows.size(), rowsBefore.size() + 1);
    settings_.Clear();
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    dlg.OnRecibosEmitidos();
    auto* window = dlg.findChild<registro::RecibosEmitidos*>(QStringLiteral("recibosEmitidos"));
    auto* table = window->findChild<QTableView*>(QStringLiteral("tablaRecibos"));
    QTRY_VERIFY(table->model()->rowCount() > 0);
    table->selectRow(0);
    window->findChild<QAction*>(QStringLiteral("copiarAlFormulario"))->trigger();
    QCOMPARE(Text(dlg, 1036) + ' ' + Text(dlg, 1038) + ' ' + Text(dlg, 1039),
             QStringLiteral("21 5,2 19"));
    QCOMPARE(List(dlg, 1038)->count(), 6);
    QCOMPARE(Text(dlg, 1028), QStringLiteral("1.072,00"));
}

QTEST_MAIN(TestPrintFromForm)
#include "test_print_from_form.moc"
