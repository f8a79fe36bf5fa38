// The text writers: grouped thousands, digits, zero padding, euro text and plain euro text.
#include "amounts/moneda.h"

#include <QTest>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <limits>
#include <string>

using moneda::Currency;

namespace {

constexpr qint64 kMax = std::numeric_limits<qint64>::max();
constexpr qint64 kMin = std::numeric_limits<qint64>::min();

QByteArray Bytes(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

} // namespace

class TestFormat : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void formatThousands_data();
    void formatThousands();
    void formatDigits_data();
    void formatDigits();
    void padZeros_data();
    void padZeros();
    void formatEuros_data();
    void formatEuros();
    void formatEurosIgnoresStatus();
    void formatPlainEuros_data();
    void formatPlainEuros();
    void negativeTextsAreSignedPositiveTexts();
    void thousandsGroupsAreThreeDigits();
};

void TestFormat::formatThousands_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QByteArray>("expected");

    // --- the worked examples
    QTest::newRow("1234567") << qint64(1234567) << QByteArray("1.234.567");
    QTest::newRow("2003") << qint64(2003) << QByteArray("2.003");
    QTest::newRow("-1000") << qint64(-1000) << QByteArray("-1.000");
    QTest::newRow("999") << qint64(999) << QByteArray("999");
    QTest::newRow("0") << qint64(0) << QByteArray("0");
    QTest::newRow("1000") << qint64(1000) << QByteArray("1.000");
    // --- more digits
    QTest::newRow("-1") << qint64(-1) << QByteArray("-1");
    QTest::newRow("100") << qint64(100) << QByteArray("100");
    QTest::newRow("1000000") << qint64(1000000) << QByteArray("1.000.000");
    QTest::newRow("-999999") << qint64(-999999) << QByteArray("-999.999");
    QTest::newRow("sixteen digits keep grouping") << qint64(1234567890123456) << QByteArray("1.234.567.890.123.456");
    QTest::newRow("int64 max") << kMax << QByteArray("9.223.372.036.854.775.807");
    QTest::newRow("int64 min") << kMin << QByteArray("-9.223.372.036.854.775.808");
    QTest::newRow("int32 min widened") << qint64(INT_MIN) << QByteArray("-2.147.483.648");
}

void TestFormat::formatThousands()
{
    QFETCH(qint64, value);
    QFETCH(QByteArray, expected);
    QCOMPARE(Bytes(moneda::FormatThousands(value)), expected);
}

void TestFormat::formatDigits_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("42") << 42 << QByteArray("42");
    QTest::newRow("0") << 0 << QByteArray("0");
    QTest::newRow("7") << 7 << QByteArray("7");
    QTest::newRow("no separators") << 1234567 << QByteArray("1234567");
    QTest::newRow("int32 max") << INT_MAX << QByteArray("2147483647");
    QTest::newRow("negative keeps its sign") << -5 << QByteArray("-5");
    QTest::newRow("int32 min") << INT_MIN << QByteArray("-2147483648");
}

void TestFormat::formatDigits()
{
    QFETCH(int, value);
    QFETCH(QByteArray, expected);
    QCOMPARE(Bytes(moneda::FormatDigits(value)), expected);
}

void TestFormat::padZeros_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("n");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("5 to 2") << QByteArray("5") << 2 << QByteArray("05");
    QTest::newRow("42 to 2") << QByteArray("42") << 2 << QByteArray("42");
    QTest::newRow("longer text keeps its last characters") << QByteArray("123") << 2 << QByteArray("23");
    QTest::newRow("empty text to 2") << QByteArray("") << 2 << QByteArray("00");
    QTest::newRow("count 0") << QByteArray("7") << 0 << QByteArray("");
    QTest::newRow("negative count") << QByteArray("7") << -1 << QByteArray("");
    QTest::newRow("the whole run") << QByteArray("7") << 47 << QByteArray(46, '0') + "7";
    QTest::newRow("one past the run") << QByteArray("7") << 48 << QByteArray(46, '0') + "7";
    QTest::newRow("past the run stops at the run") << QByteArray("7") << 1000 << QByteArray(46, '0') + "7";
    QTest::newRow("int max count") << QByteArray("ab") << INT_MAX << QByteArray(46, '0') + "ab";
}

void TestFormat::padZeros()
{
    QFETCH(QByteArray, text);
    QFETCH(int, n);
    QFETCH(QByteArray, expected);
    QCOMPARE(Bytes(moneda::PadZeros(std::string_view(text.constData(), static_cast<std::size_t>(text.size())), n)), expected);
}

void TestFormat::formatEuros_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QByteArray>("expected");

    // --- the worked examples
    QTest::newRow("12345600") << qint64(12345600) << QByteArray("1.234,56");
    QTest::newRow("0") << qint64(0) << QByteArray("0,00");
    QTest::newRow("half a cent rounds up") << qint64(50) << QByteArray("0,01");
    QTest::newRow("49 rounds down") << qint64(49) << QByteArray("0,00");
    QTest::newRow("99950 carries into the euros") << qint64(99950) << QByteArray("10,00");
    QTest::newRow("-151000") << qint64(-151000) << QByteArray("-15,10");
    QTest::newRow("-40 keeps the sign of the value") << qint64(-40) << QByteArray("-0,00");
    // --- more
    QTest::newRow("-50 rounds away from zero") << qint64(-50) << QByteArray("-0,01");
    QTest::newRow("9950 is one euro") << qint64(9950) << QByteArray("1,00");
    QTest::newRow("9949") << qint64(9949) << QByteArray("0,99");
    QTest::newRow("one thousand") << qint64(10000000) << QByteArray("1.000,00");
    QTest::newRow("int64 max") << kMax << QByteArray("922.337.203.685.477,58");
    QTest::newRow("int64 min") << kMin << QByteArray("-922.337.203.685.477,58");
    QTest::newRow("int64 max - 7 rounds up to ,58") << kMax - 7 << QByteArray("922.337.203.685.477,58");
    QTest::newRow("largest ,4949 rounds down") << qint64(9223372036854774949) << QByteArray("922.337.203.685.477,49");
}

void TestFormat::formatEuros()
{
    QFETCH(qint64, value);
    QFETCH(QByteArray, expected);
    QCOMPARE(Bytes(moneda::FormatEuros(Currency(value))), expected);
}

void TestFormat::formatEurosIgnoresStatus()
{
    QCOMPARE(Bytes(moneda::FormatEuros(Currency::Invalid(12345600))), QByteArray("1.234,56"));
    QCOMPARE(Bytes(moneda::FormatEuros(Currency::Null())), QByteArray("0,00"));
    QCOMPARE(Bytes(moneda::FormatPlainEuros(Currency::Invalid(125000))), QByteArray("12,5"));
}

void TestFormat::formatPlainEuros_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QByteArray>("expected");

    // --- the worked examples
    QTest::newRow("60100") << qint64(60100) << QByteArray("6,01");
    QTest::newRow("125000") << qint64(125000) << QByteArray("12,5");
    QTest::newRow("60000 has no comma") << qint64(60000) << QByteArray("6");
    QTest::newRow("12345600 has no group separator") << qint64(12345600) << QByteArray("1234,56");
    // --- all four decimals when present
    QTest::newRow("5 ten-thousandths") << qint64(5) << QByteArray("0,0005");
    QTest::newRow("-5 ten-thousandths") << qint64(-5) << QByteArray("-0,0005");
    QTest::newRow("1230") << qint64(1230) << QByteArray("0,123");
    QTest::newRow("10001") << qint64(10001) << QByteArray("1,0001");
    QTest::newRow("0") << qint64(0) << QByteArray("0");
    QTest::newRow("-125000") << qint64(-125000) << QByteArray("-12,5");
    QTest::newRow("one thousand") << qint64(10000000) << QByteArray("1000");
    QTest::newRow("int64 max") << kMax << QByteArray("922337203685477,5807");
    QTest::newRow("int64 min") << kMin << QByteArray("-922337203685477,5808");
}

void TestFormat::formatPlainEuros()
{
    QFETCH(qint64, value);
    QFETCH(QByteArray, expected);
    QCOMPARE(Bytes(moneda::FormatPlainEuros(Currency(value))), expected);
}

void TestFormat::negativeTextsAreSignedPositiveTexts()
{
    // The writers round the magnitude and put the sign of the value in front, so for every
    // x > 0 the text of -x is "-" and the text of x, even when that text is all zeros.
    for (std::int64_t x = 1; x <= 300000; ++x) {
        QCOMPARE(moneda::FormatEuros(Currency(-x)), "-" + moneda::FormatEuros(Currency(x)));
        QCOMPARE(moneda::FormatPlainEuros(Currency(-x)), "-" + moneda::FormatPlainEuros(Currency(x)));
        QCOMPARE(moneda::FormatThousands(-x), "-" + moneda::FormatThousands(x));
    }
    for (std::int64_t x = kMax - 100000; x < kMax; ++x)
        QCOMPARE(moneda::FormatEuros(Currency(-x)), "-" + moneda::FormatEuros(Currency(x)));
}

void TestFormat::thousandsGroupsAreThreeDigits()
{
    // Removing the dots gives the plain digits, and the dots stand every three from the right.
    for (const std::int64_t x : {std::int64_t{1}, std::int64_t{12}, std::int64_t{123456789012345678}, std::int64_t{kMax}, std::int64_t{kMin + 1}}) {
        for (std::int64_t step = 0; step < 2000; ++step) {
            const std::int64_t v = x > 0 ? x - step * 9973 : x + step * 9973;
            const std::string text = moneda::FormatThousands(v);
            std::string digits;
            for (std::size_t i = 0; i < text.size(); ++i) {
                if (text[i] == '.') {
                    QCOMPARE((text.size() - i - 1) % 4, std::size_t{3});
                } else if (text[i] != '-') {
                    digits += text[i];
                }
            }
            QCOMPARE(Bytes(digits), QByteArray::number(static_cast<qint64>(v)).replace("-", ""));
            QCOMPARE(static_cast<std::size_t>(std::count(text.begin(), text.end(), '.')), (digits.size() - 1) / 3);
        }
    }
}

QTEST_APPLESS_MAIN(TestFormat)
#include "tst_format.moc"
