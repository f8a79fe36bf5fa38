// ParseInteger and the small right-to-left calculator ParseDecimal.
#include "amounts/moneda.h"

#include <QTest>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

namespace {

// The calculator exactly as its rules read, one recursive call per character. Used only
// on short texts, as the reference that the library's loop must match bit for bit.
double Pow10(int k)
{
    double p = 1.0;
    for (int i = 0; i < k; ++i)
        p = p * 10.0;
    return p;
}

double RecursiveReference(std::string_view s, double acc, int dec)
{
    const double scaled = dec > 0 ? acc / Pow10(dec - 1) : acc;
    if (s.empty())
        return scaled;
    const char c = s.front();
    const std::string_view rest = s.substr(1);
    if (c >= '0' && c <= '9')
        return RecursiveReference(rest, acc * 10 + (c - '0'), dec != 0 ? dec + 1 : 0);
    switch (c) {
    case ',': return acc + RecursiveReference(rest, 0.0, 1);
    case '.': return RecursiveReference(rest, acc, 0);
    case '+': return scaled + RecursiveReference(rest, 0.0, 0);
    case '-': return scaled - RecursiveReference(rest, 0.0, 0);
    case '*': return RecursiveReference(rest, 0.0, 0) * scaled;
    case '/': return scaled / RecursiveReference(rest, 0.0, 0);
    default: return RecursiveReference(rest, acc, dec);
    }
}

bool SameDouble(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

class TestCalculator : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parseInteger_data();
    void parseInteger();
    void parseDecimal_data();
    void parseDecimal();
    void parseDecimalWithState_data();
    void parseDecimalWithState();
    void parseDecimalDivisionByZero();
    void parseDecimalMatchesRecursiveRules();
};

void TestCalculator::parseInteger_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("expected");

    // --- the worked examples
    QTest::newRow("16") << QByteArray("16") << 16;
    QTest::newRow("1.500 skips the dot") << QByteArray("1.500") << 1500;
    QTest::newRow("12,9 stops at the comma") << QByteArray("12,9") << 12;
    QTest::newRow("-5") << QByteArray("-5") << -5;
    QTest::newRow("5- ignores the trailing minus") << QByteArray("5-") << 5;
    QTest::newRow("a1b2 keeps the digits") << QByteArray("a1b2") << 12;
    QTest::newRow("empty is 0") << QByteArray("") << 0;
    // --- the sign counts only as the first character
    QTest::newRow("blank then minus is positive") << QByteArray(" -5") << 5;
    QTest::newRow("two minus signs") << QByteArray("--5") << -5;
    QTest::newRow("lone minus") << QByteArray("-") << 0;
    QTest::newRow("leading comma") << QByteArray(",5") << 0;
    QTest::newRow("only the first comma matters") << QByteArray("1,2,3") << 1;
    // --- past 32 bits the magnitude saturates
    QTest::newRow("int32 max") << QByteArray("2147483647") << INT_MAX;
    QTest::newRow("one past int32 max saturates") << QByteArray("2147483648") << INT_MAX;
    QTest::newRow("int32 min") << QByteArray("-2147483648") << INT_MIN;
    QTest::newRow("one below int32 min saturates") << QByteArray("-2147483649") << INT_MIN;
    QTest::newRow("twenty nines saturate") << QByteArray("99999999999999999999") << INT_MAX;
    QTest::newRow("twenty nines negative saturate") << QByteArray("-99999999999999999999") << INT_MIN;
}

void TestCalculator::parseInteger()
{
    QFETCH(QByteArray, text);
    QFETCH(int, expected);
    QCOMPARE(moneda::ParseInteger(std::string_view(text.constData(), static_cast<std::size_t>(text.size()))), expected);
}

void TestCalculator::parseDecimal_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("expected");

    // --- the worked examples and the RE list
    QTest::newRow("0,5") << QByteArray("0,5") << 0.5;
    QTest::newRow("1,75") << QByteArray("1,75") << 1.75;
    QTest::newRow("4") << QByteArray("4") << 4.0;
    QTest::newRow("0") << QByteArray("0") << 0.0;
    QTest::newRow("1") << QByteArray("1") << 1.0;
    QTest::newRow("empty is 0") << QByteArray("") << 0.0;
    QTest::newRow("1.000,5") << QByteArray("1.000,5") << 1000.5;
    // --- right to left, no precedence
    QTest::newRow("2-3-1 is 2-(3-1)") << QByteArray("2-3-1") << 0.0;
    QTest::newRow("2*3+1 is 2*(3+1)") << QByteArray("2*3+1") << 8.0;
    QTest::newRow("-2 negates") << QByteArray("-2") << -2.0;
    QTest::newRow("6/3") << QByteArray("6/3") << 2.0;
    QTest::newRow("8/2/2 is 8/(2/2)") << QByteArray("8/2/2") << 8.0;
    QTest::newRow("comma binds looser than the star: 2,5*2") << QByteArray("2,5*2") << 3.0;
    QTest::newRow("a second comma adds the decimals unscaled: 1,5,2") << QByteArray("1,5,2") << 6.2;
    QTest::newRow("dot restarts the decimals count: 1,5.5") << QByteArray("1,5.5") << 56.0;
    QTest::newRow("trailing operator reads an empty rest: 3+") << QByteArray("3+") << 3.0;
    QTest::newRow("other characters are skipped") << QByteArray("1x,7%5") << 1.75;
}

void TestCalculator::parseDecimal()
{
    QFETCH(QByteArray, text);
    QFETCH(double, expected);
    QCOMPARE(moneda::ParseDecimal(std::string_view(text.constData(), static_cast<std::size_t>(text.size()))), expected);
}

void TestCalculator::parseDecimalWithState_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("acc");
    QTest::addColumn<int>("dec");
    QTest::addColumn<double>("expected");

    QTest::newRow("running value with two decimals counted") << QByteArray("") << 15.0 << 3 << 0.15;
    QTest::newRow("a digit continues the decimals") << QByteArray("5") << 1.0 << 2 << 0.15;
    QTest::newRow("a negative count means no decimals") << QByteArray("") << 7.0 << -3 << 7.0;
    QTest::newRow("a negative count rises toward zero") << QByteArray("12") << 0.0 << -1 << 12.0;
    // 5 / 10^INT_MAX: the power is infinite, the count does not overflow.
    QTest::newRow("largest count") << QByteArray("5") << 0.0 << INT_MAX << 0.0;
}

void TestCalculator::parseDecimalWithState()
{
    QFETCH(QByteArray, text);
    QFETCH(double, acc);
    QFETCH(int, dec);
    QFETCH(double, expected);
    QCOMPARE(moneda::ParseDecimal(std::string_view(text.constData(), static_cast<std::size_t>(text.size())), acc, dec),
             expected);
}

void TestCalculator::parseDecimalDivisionByZero()
{
    // IEEE results: a signed infinity, or NaN for 0/0.
    const double positive = moneda::ParseDecimal("1/0");
    QVERIFY(std::isinf(positive) && positive > 0);
    const double negative = moneda::ParseDecimal("-1/0");
    QVERIFY(std::isinf(negative) && negative < 0);
    QVERIFY(std::isnan(moneda::ParseDecimal("0/0")));
    QVERIFY(std::isinf(moneda::ParseDecimal(std::string(400, '9'))));
}

void TestCalculator::parseDecimalMatchesRecursiveRules()
{
    std::mt19937 rng(99);
    const std::string alphabet = "0123456789,.+-*/x0123456789";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<std::size_t> length(0, 24);
    for (int i = 0; i < 100000; ++i) {
        std::string text;
        const std::size_t n = length(rng);
        for (std::size_t k = 0; k < n; ++k)
            text += alphabet[pick(rng)];
        const double expected = RecursiveReference(text, 0.0, 0);
        const double actual = moneda::ParseDecimal(text);
        QVERIFY2(SameDouble(actual, expected), text.c_str());
    }
}

QTEST_APPLESS_MAIN(TestCalculator)
#include "tst_calculator.moc"
