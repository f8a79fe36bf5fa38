// The amount readers: ParseCurrency (strict, with its statuses) and ParseAmount (never
// fails), and the round trips from every writer back through them.
#include "SplitMix.h"
#include "amounts/moneda.h"

#include <QTest>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using moneda::Currency;
using Status = Currency::Status;

namespace {

constexpr qint64 kMax = std::numeric_limits<qint64>::max();
constexpr qint64 kMin = std::numeric_limits<qint64>::min();

// x rounded half away from zero to a whole number of cents (100 ten-thousandths),
// computed on the magnitude in unsigned arithmetic; a result rounded to zero has no sign.
std::int64_t RoundedToCent(std::int64_t x) {
    const std::uint64_t m =
        x < 0 ? 0 - static_cast<std::uint64_t>(x) : static_cast<std::uint64_t>(x);
    const std::uint64_t down = m - m % 100;
    const std::uint64_t r = m % 100 >= 50 ? down + 100 : down;
    return x < 0 ? static_cast<std::int64_t>(0 - r) : static_cast<std::int64_t>(r);
}

// Amounts spread over the whole range: the small ones, both ends, and random ones.
std::vector<std::int64_t> SweptValues() {
    std::vector<std::int64_t> values;
    for (std::int64_t x = -120000; x <= 120000; ++x)
        values.push_back(x);
    for (std::int64_t k = 0; k < 20000; ++k) {
        values.push_back(kMin + k);
        values.push_back(kMax - k);
    }
    SplitMix rng{2024};
    for (int i = 0; i < 100000; ++i) {
        values.push_back(static_cast<std::int64_t>(rng.Next()));
        values.push_back(static_cast<std::int64_t>(rng.Next() >> (rng.Next() % 64)));
    }
    return values;
}

} // namespace

class TestParse : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parseAmount_data();
    void parseAmount();
    void parseCurrency_data();
    void parseCurrency();
    void plainEurosReadBack();
    void eurosReadBackRoundedToCent();
    void groupedWholeNumbersReadBack();
};

void TestParse::parseAmount_data() {
    // clang-format off
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint64>("expected");

    // --- the worked examples
    QTest::newRow("empty text is zero") << QByteArray("") << qint64(0);
    QTest::newRow("1.234,56") << QByteArray("1.234,56") << qint64(12345600);
    QTest::newRow("1.000 is one thousand") << QByteArray("1.000") << qint64(10000000);
    QTest::newRow("abc is zero") << QByteArray("abc") << qint64(0);
    QTest::newRow("6,01") << QByteArray("6,01") << qint64(60100);
    QTest::newRow("12abc is not 12") << QByteArray("12abc") << qint64(0);
    // --- blanks and signs
    QTest::newRow("spaces around") << QByteArray("  42  ") << qint64(420000);
    QTest::newRow("tabs around a negative") << QByteArray("\t-3,5\t") << qint64(-35000);
    QTest::newRow("leading plus") << QByteArray("+7") << qint64(70000);
    QTest::newRow("minus zero is zero") << QByteArray("-0") << qint64(0);
    QTest::newRow("blank between sign and digits") << QByteArray("- 5") << qint64(0);
    QTest::newRow("two signs") << QByteArray("--5") << qint64(0);
    QTest::newRow("plus minus") << QByteArray("+-5") << qint64(0);
    QTest::newRow("trailing sign") << QByteArray("5-") << qint64(0);
    QTest::newRow("blank inside the number") << QByteArray("1 000") << qint64(0);
    QTest::newRow("only blanks") << QByteArray("   ") << qint64(0);
    QTest::newRow("newline is not a blank") << QByteArray("5\n") << qint64(0);
    // --- group separators
    QTest::newRow("1.0 is not a group") << QByteArray("1.0") << qint64(0);
    QTest::newRow("1.2.3 is not grouped") << QByteArray("1.2.3") << qint64(0);
    QTest::newRow("12.50 is not 1.250") << QByteArray("12.50") << qint64(0);
    QTest::newRow("0.99 is not 99") << QByteArray("0.99") << qint64(0);
    QTest::newRow("1.5 is not 15") << QByteArray("1.5") << qint64(0);
    QTest::newRow("-0.5 is not a number") << QByteArray("-0.5") << qint64(0);
    QTest::newRow("group of four after the dot") << QByteArray("1.0000") << qint64(0);
    QTest::newRow("group of two before the comma") << QByteArray("1.00,5") << qint64(0);
    QTest::newRow("short last group") << QByteArray("1.000.00") << qint64(0);
    QTest::newRow("dot then a letter") << QByteArray("1.00a") << qint64(0);
    QTest::newRow("dot then a blank group") << QByteArray("1.000 000") << qint64(0);
    QTest::newRow("1.000,5 is a thousand and a half") << QByteArray("1.000,5") << qint64(10005000);
    QTest::newRow("1.234.567,89") << QByteArray("1.234.567,89") << qint64(12345678900);
    QTest::newRow("-1.000 is minus a thousand") << QByteArray("-1.000") << qint64(-10000000);
    QTest::newRow("blanks around a grouped number") << QByteArray(" 12.345 ") << qint64(123450000);
    QTest::newRow("a grouped number and a lone comma") << QByteArray("1.000,") << qint64(10000000);
    QTest::newRow("1..0 is not a number") << QByteArray("1..0") << qint64(0);
    QTest::newRow(".5 is not a number") << QByteArray(".5") << qint64(0);
    QTest::newRow("5. is not a number") << QByteArray("5.") << qint64(0);
    QTest::newRow("dot before the comma") << QByteArray("5.,3") << qint64(0);
    QTest::newRow("dot among decimals") << QByteArray("1,2.3") << qint64(0);
    QTest::newRow("two commas") << QByteArray("1,2,3") << qint64(0);
    // --- decimal separator
    QTest::newRow(",5 is half") << QByteArray(",5") << qint64(5000);
    QTest::newRow("5, is five") << QByteArray("5,") << qint64(50000);
    QTest::newRow("-,25") << QByteArray("-,25") << qint64(-2500);
    // --- lone signs and separators
    QTest::newRow("lone minus") << QByteArray("-") << qint64(0);
    QTest::newRow("lone plus") << QByteArray("+") << qint64(0);
    QTest::newRow("lone comma") << QByteArray(",") << qint64(0);
    QTest::newRow("lone dot") << QByteArray(".") << qint64(0);
    QTest::newRow("minus comma") << QByteArray("-,") << qint64(0);
    QTest::newRow("euro sign") << QByteArray("5 \xE2\x82\xAC") << qint64(0);
    // --- the fifth decimal rounds, half away from zero
    QTest::newRow("four decimals kept") << QByteArray("0,1234") << qint64(1234);
    QTest::newRow("0,00005 rounds up") << QByteArray("0,00005") << qint64(1);
    QTest::newRow("0,00004 rounds down") << QByteArray("0,00004") << qint64(0);
    QTest::newRow("-0,00005 rounds away from zero") << QByteArray("-0,00005") << qint64(-1);
    QTest::newRow("1,23449 rounds up") << QByteArray("1,23449") << qint64(12345);
    QTest::newRow("digits after the fifth are ignored") << QByteArray("1,234449999") << qint64(12344);
    QTest::newRow("2,99995 carries into the whole") << QByteArray("2,99995") << qint64(30000);
    // --- range
    QTest::newRow("largest amount") << QByteArray("922.337.203.685.477,5807") << kMax;
    QTest::newRow("smallest amount") << QByteArray("-922.337.203.685.477,5808") << kMin;
    QTest::newRow("one past the largest reads zero") << QByteArray("922.337.203.685.477,5808") << qint64(0);
    QTest::newRow("many leading zeros") << QByteArray("0000000000000000000000000001") << qint64(10000);
    // clang-format on
}

void TestParse::parseAmount() {
    QFETCH(QByteArray, text);
    QFETCH(qint64, expected);
    const Currency read = moneda::ParseAmount(
        std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    QCOMPARE(read.value(), expected);
    QCOMPARE(read.status(), Status::Valid);
}

void TestParse::parseCurrency_data() {
    // clang-format off
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint64>("value");
    QTest::addColumn<bool>("valid");

    QTest::newRow("1,5 is valid") << QByteArray("1,5") << qint64(15000) << true;
    QTest::newRow("empty text is not a number") << QByteArray("") << qint64(0) << false;
    QTest::newRow("only blanks are not a number") << QByteArray(" \t ") << qint64(0) << false;
    QTest::newRow("12abc is not a number") << QByteArray("12abc") << qint64(0) << false;
    QTest::newRow("lone minus is not a number") << QByteArray("-") << qint64(0) << false;
    QTest::newRow("lone comma is not a number") << QByteArray(",") << qint64(0) << false;
    QTest::newRow("20 nines are out of range") << QByteArray("99999999999999999999") << kMin << false;
    QTest::newRow("one past max is out of range") << QByteArray("922337203685477,5808") << kMin << false;
    QTest::newRow("min is in range") << QByteArray("-922337203685477,5808") << kMin << true;
    QTest::newRow("one below min is out of range") << QByteArray("-922337203685477,5809") << kMin << false;
    QTest::newRow("rounding up past max is out of range") << QByteArray("922337203685477,58075") << kMin << false;
    QTest::newRow("rounding down stays at max") << QByteArray("922337203685477,58074") << kMax << true;
    QTest::newRow("not a number beats out of range") << QByteArray("99999999999999999999x") << qint64(0) << false;
    // clang-format on
}

void TestParse::parseCurrency() {
    QFETCH(QByteArray, text);
    QFETCH(qint64, value);
    QFETCH(bool, valid);
    const Currency read = moneda::ParseCurrency(
        std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    QCOMPARE(read.value(), value);
    QCOMPARE(read.status(), valid ? Status::Valid : Status::Invalid);
}

void TestParse::plainEurosReadBack() {
    for (const std::int64_t x : SweptValues()) {
        const std::string text = moneda::FormatPlainEuros(Currency(x));
        const Currency read = moneda::ParseCurrency(text);
        if (read != Currency(x))
            QFAIL(qPrintable(QStringLiteral("%1 wrote %2, read back %3")
                                 .arg(x)
                                 .arg(QString::fromStdString(text))
                                 .arg(read.value())));
    }
}

void TestParse::eurosReadBackRoundedToCent() {
    for (const std::int64_t x : SweptValues()) {
        const std::string text = moneda::FormatEuros(Currency(x));
        const Currency read = moneda::ParseAmount(text);
        if (read != Currency(RoundedToCent(x)))
            QFAIL(qPrintable(QStringLiteral("%1 wrote %2, read back %3")
                                 .arg(x)
                                 .arg(QString::fromStdString(text))
                                 .arg(read.value())));
        // The same text through the strict reader must be a valid number, never a failure.
        QVERIFY(moneda::ParseCurrency(text).isValid());
    }
}

// The grouped texts that the program writes for whole numbers (the peseta text, the whole
// part of a euro text) stay readable under the strict group rule.
void TestParse::groupedWholeNumbersReadBack() {
    for (const std::int64_t x : SweptValues()) {
        const std::int64_t whole = x / 10000;
        const std::string grouped = moneda::FormatThousands(whole);
        if (moneda::ParseCurrency(grouped) != Currency(whole * 10000))
            QFAIL(qPrintable(
                QStringLiteral("%1 wrote %2").arg(whole).arg(QString::fromStdString(grouped))));
        const std::string pesetas = moneda::EurosToPesetasText(Currency(x));
        const Currency read = moneda::ParseCurrency(pesetas);
        // Pesetas of the largest euro amounts lie past the amount type: out of range, but
        // still a number in form.
        const bool readable = read.isValid() ? read.value() % 10000 == 0 : read.value() == kMin;
        if (!readable)
            QFAIL(qPrintable(QStringLiteral("%1 euros wrote %2 pesetas")
                                 .arg(x)
                                 .arg(QString::fromStdString(pesetas))));
    }
}

QTEST_APPLESS_MAIN(TestParse)
#include "tst_parse.moc"
