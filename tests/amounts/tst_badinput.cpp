// Hostile input for every function that takes text: empty, a megabyte long, invalid
// UTF-8, NUL bytes, only signs and separators. Each has a defined result.
#include "amounts/moneda.h"

#include <QTest>

#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

using moneda::Currency;

Q_DECLARE_METATYPE(std::string)

namespace {

constexpr std::size_t kMegabyte = 1 << 20;
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

std::string Repeat(std::string_view piece, std::size_t total) {
    std::string s;
    s.reserve(total);
    while (s.size() + piece.size() <= total)
        s.append(piece);
    return s;
}

} // namespace

class TestBadInput : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyReaderSurvives_data();
    void everyReaderSurvives();
    void megabyteNumbers();
    void megabyteCalculations();
    void megabyteTexts();
};

void TestBadInput::everyReaderSurvives_data() {
    // clang-format off
    QTest::addColumn<std::string>("text");

    QTest::newRow("empty") << std::string();
    QTest::newRow("NUL") << std::string("\0", 1);
    QTest::newRow("digits around NUL") << std::string("1\0" "2", 3);
    QTest::newRow("invalid UTF-8") << std::string("\xFF\xFE\xC3");
    QTest::newRow("high bytes and digits") << std::string("\x80" "5\xE2\x82\xAC");
    QTest::newRow("only signs") << std::string("+-+-+-");
    QTest::newRow("only separators") << std::string(".,.,.,");
    QTest::newRow("operators only") << std::string("*/*/+-");
    QTest::newRow("megabyte of minus") << std::string(kMegabyte, '-');
    QTest::newRow("megabyte of commas") << std::string(kMegabyte, ',');
    QTest::newRow("megabyte of dots") << std::string(kMegabyte, '.');
    QTest::newRow("megabyte of slashes") << std::string(kMegabyte, '/');
    QTest::newRow("megabyte of 0xFF") << std::string(kMegabyte, '\xFF');
    QTest::newRow("megabyte of NUL") << std::string(kMegabyte, '\0');
    // clang-format on
}

void TestBadInput::everyReaderSurvives() {
    QFETCH(std::string, text);
    // None of these is an amount.
    QCOMPARE(moneda::ParseAmount(text), Currency(0));
    QCOMPARE(moneda::ParseCurrency(text), Currency::Invalid(0));
    QCOMPARE(moneda::MesANumero(text), 0);
    (void)moneda::ParseInteger(text);
    (void)moneda::ParseDecimal(text);
    QCOMPARE(moneda::ObtenerEnlace(text).size(), text.size() / 3);
    QCOMPARE(moneda::CapitalizeFirst(text).size(), text.size());
    QCOMPARE(moneda::PadZeros(text, 2).size(), std::size_t{2});
}

void TestBadInput::megabyteNumbers() {
    const std::string nines(kMegabyte, '9');
    QCOMPARE(moneda::ParseCurrency(nines), Currency::Invalid(kMin));
    QCOMPARE(moneda::ParseAmount(nines), Currency(0));
    QCOMPARE(moneda::ParseCurrency("-" + nines), Currency::Invalid(kMin));
    QCOMPARE(moneda::ParseCurrency(nines + "x"), Currency::Invalid(0));
    QCOMPARE(moneda::ParseInteger(nines), INT_MAX);
    QCOMPARE(moneda::ParseInteger("-" + nines), INT_MIN);

    // Leading zeros do not count toward the range, decimals past the fifth are only checked.
    QCOMPARE(moneda::ParseCurrency(std::string(kMegabyte, '0') + "7"), Currency(70000));
    QCOMPARE(moneda::ParseCurrency("3," + std::string(kMegabyte, '9')), Currency(40000));
    QCOMPARE(moneda::ParseCurrency("3," + std::string(kMegabyte, '0') + "5"), Currency(30000));
    QCOMPARE(moneda::ParseCurrency(Repeat("1.", kMegabyte) + "1"), Currency::Invalid(0));
    QCOMPARE(moneda::ParseCurrency("1" + Repeat(".111", kMegabyte)), Currency::Invalid(kMin));
    QCOMPARE(moneda::ParseCurrency("0" + Repeat(".000", kMegabyte) + ".001"), Currency(10000));
    QCOMPARE(
        moneda::ParseCurrency(std::string(kMegabyte, ' ') + "1" + std::string(kMegabyte, '\t')),
        Currency(10000));
}

void TestBadInput::megabyteCalculations() {
    // Half a million "1+" pairs: 1 + (1 + (... + 0)) = 524288, far past any recursion depth.
    QCOMPARE(moneda::ParseDecimal(Repeat("1+", kMegabyte)), 524288.0);
    // Alternating signs: 1 - (1 - (1 - ...)) over an even count of ones ending in "-" is 0.
    QCOMPARE(moneda::ParseDecimal(Repeat("1-", kMegabyte)), 0.0);
    // A megabyte of digits overflows the double; a megabyte of decimals underflows to 0.
    QVERIFY(std::isinf(moneda::ParseDecimal(std::string(kMegabyte, '9'))));
    QCOMPARE(moneda::ParseDecimal("," + std::string(kMegabyte, '0') + "1"), 0.0);
    // 0 / (0 / (... / 0)) is NaN.
    QVERIFY(std::isnan(moneda::ParseDecimal(std::string(kMegabyte, '/'))));
}

void TestBadInput::megabyteTexts() {
    const std::string text = "a" + std::string(kMegabyte, 'b');
    const std::string capital = moneda::CapitalizeFirst(text);
    QCOMPARE(capital.front(), 'A');
    QCOMPARE(capital.size(), text.size());
    QCOMPARE(moneda::MesANumero(std::string(kMegabyte, 'E')), 0);
    QCOMPARE(moneda::ObtenerEnlace(std::string(kMegabyte, '5')).size(), kMegabyte / 3);
    QCOMPARE(moneda::PadZeros(text, 3), std::string("bbb"));
}

QTEST_APPLESS_MAIN(TestBadInput)
#include "tst_badinput.moc"
