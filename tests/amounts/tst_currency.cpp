// Currency arithmetic: exact sums, differences and products, truncating division, and the
// status rules at the edges of the 64-bit range.
#include "SplitMix.h"
#include "amounts/moneda.h"

#include <QTest>

#include <cmath>
#include <cstdint>
#include <limits>

using moneda::Currency;
using Status = Currency::Status;

Q_DECLARE_METATYPE(Currency)

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

Currency V(std::int64_t v) { return Currency(v); }
Currency I(std::int64_t v) { return Currency::Invalid(v); }
Currency N() { return Currency::Null(); }

char* StatusName(Status s)
{
    switch (s) {
    case Status::Valid: return qstrdup("Valid");
    case Status::Invalid: return qstrdup("Invalid");
    case Status::Null: return qstrdup("Null");
    }
    return qstrdup("?");
}


} // namespace

namespace QTest {
template<> char* toString(const Currency& c)
{
    QByteArray text = QByteArray::number(static_cast<qlonglong>(c.value())) + " ";
    char* status = StatusName(c.status());
    text += status;
    delete[] status;
    return qstrdup(text.constData());
}
} // namespace QTest

class TestCurrency : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void construction();
    void addition_data();
    void addition();
    void subtraction_data();
    void subtraction();
    void multiplication_data();
    void multiplication();
    void division_data();
    void division();
    void sumsMatchWideArithmetic();
    void divisionTruncatesTowardZero();
};

void TestCurrency::construction()
{
    QCOMPARE(Currency().value(), 0);
    QCOMPARE(Currency().status(), Status::Valid);
    QCOMPARE(Currency(0).status(), Status::Valid);
    QCOMPARE(Currency(kMin).value(), kMin);
    QCOMPARE(Currency::Null().status(), Status::Null);
    QCOMPARE(Currency::Null().value(), 0);
    QCOMPARE(Currency::Invalid(42).status(), Status::Invalid);
    QCOMPARE(Currency::Invalid(42).value(), 42);
    QVERIFY(!Currency::Invalid(0).isValid());
    QVERIFY(Currency(0) != Currency::Invalid(0));
}

void TestCurrency::addition_data()
{
    QTest::addColumn<Currency>("a");
    QTest::addColumn<Currency>("b");
    QTest::addColumn<Currency>("expected");

    // --- exact sums
    QTest::newRow("1 + 2") << V(1) << V(2) << V(3);
    QTest::newRow("mixed signs") << V(-150000) << V(60100) << V(-89900);
    QTest::newRow("max + min is -1") << V(kMax) << V(kMin) << V(-1);
    QTest::newRow("min + 0 stays min") << V(kMin) << V(0) << V(kMin);
    QTest::newRow("max - 1 + 1 reaches max") << V(kMax - 1) << V(1) << V(kMax);
    // --- overflow keeps the wrapped value, marked invalid
    QTest::newRow("max + 1 wraps to min, invalid") << V(kMax) << V(1) << I(kMin);
    QTest::newRow("min + -1 wraps to max, invalid") << V(kMin) << V(-1) << I(kMax);
    QTest::newRow("min + min wraps to 0, invalid") << V(kMin) << V(kMin) << I(0);
    // --- status precedence
    QTest::newRow("valid + null is null") << V(5) << N() << N();
    QTest::newRow("null + invalid is null") << N() << I(3) << N();
    QTest::newRow("invalid + valid is invalid 0") << I(7) << V(1) << I(0);
    QTest::newRow("valid + invalid is invalid 0") << V(7) << I(1) << I(0);
}

void TestCurrency::addition()
{
    QFETCH(Currency, a);
    QFETCH(Currency, b);
    QFETCH(Currency, expected);
    QCOMPARE(a + b, expected);
}

void TestCurrency::subtraction_data()
{
    QTest::addColumn<Currency>("a");
    QTest::addColumn<Currency>("b");
    QTest::addColumn<Currency>("expected");

    QTest::newRow("5 - 7") << V(5) << V(7) << V(-2);
    QTest::newRow("-1 - min is max") << V(-1) << V(kMin) << V(kMax);
    QTest::newRow("min - min is 0") << V(kMin) << V(kMin) << V(0);
    QTest::newRow("min - 1 wraps to max, invalid") << V(kMin) << V(1) << I(kMax);
    QTest::newRow("max - -1 wraps to min, invalid") << V(kMax) << V(-1) << I(kMin);
    QTest::newRow("0 - min wraps to min, invalid") << V(0) << V(kMin) << I(kMin);
    QTest::newRow("null - invalid is null") << N() << I(2) << N();
    QTest::newRow("invalid - valid is invalid 0") << I(9) << V(2) << I(0);
    QTest::newRow("valid - null is null") << V(9) << N() << N();
}

void TestCurrency::subtraction()
{
    QFETCH(Currency, a);
    QFETCH(Currency, b);
    QFETCH(Currency, expected);
    QCOMPARE(a - b, expected);
}

void TestCurrency::multiplication_data()
{
    QTest::addColumn<Currency>("a");
    QTest::addColumn<int>("factor");
    QTest::addColumn<Currency>("expected");

    QTest::newRow("1,2345 x 3") << V(12345) << 3 << V(37035);
    QTest::newRow("negative amount") << V(-5) << 7 << V(-35);
    QTest::newRow("negative factor") << V(5) << -7 << V(-35);
    QTest::newRow("zero factor") << V(123456789) << 0 << V(0);
    QTest::newRow("min x 1") << V(kMin) << 1 << V(kMin);
    QTest::newRow("2^62 x -2 is exactly min") << V(std::int64_t{1} << 62) << -2 << V(kMin);
    QTest::newRow("2^32 x int32 min is exactly min") << V(std::int64_t{1} << 32) << std::numeric_limits<int>::min()
                                                      << V(kMin);
    QTest::newRow("max x 2 overflows") << V(kMax) << 2 << I(kMin);
    QTest::newRow("min x -1 overflows") << V(kMin) << -1 << I(kMin);
    QTest::newRow("2^32+1 x int32 min overflows")
        << V((std::int64_t{1} << 32) + 1) << std::numeric_limits<int>::min() << I(kMin);
    QTest::newRow("invalid is returned unchanged") << I(9) << 0 << I(9);
    QTest::newRow("null is returned unchanged") << N() << 5 << N();
}

void TestCurrency::multiplication()
{
    QFETCH(Currency, a);
    QFETCH(int, factor);
    QFETCH(Currency, expected);
    QCOMPARE(a * factor, expected);
}

void TestCurrency::division_data()
{
    QTest::addColumn<Currency>("a");
    QTest::addColumn<int>("divisor");
    QTest::addColumn<Currency>("expected");

    // --- truncation toward zero, the same for both signs
    QTest::newRow("-160000000 / 10000") << V(-160000000) << 10000 << V(-16000);
    QTest::newRow("-15001 / 100") << V(-15001) << 100 << V(-150);
    QTest::newRow("15001 / 100") << V(15001) << 100 << V(150);
    QTest::newRow("7 / -2") << V(7) << -2 << V(-3);
    QTest::newRow("-7 / -2") << V(-7) << -2 << V(3);
    QTest::newRow("-1 / 2 is 0") << V(-1) << 2 << V(0);
    // --- limits
    QTest::newRow("max / -1") << V(kMax) << -1 << V(-kMax);
    QTest::newRow("min / 2") << V(kMin) << 2 << V(-(std::int64_t{1} << 62));
    QTest::newRow("min / -2") << V(kMin) << -2 << V(std::int64_t{1} << 62);
    QTest::newRow("min / -1 does not fit") << V(kMin) << -1 << I(kMin);
    QTest::newRow("by zero") << V(10000) << 0 << I(kMin);
    QTest::newRow("zero by zero") << V(0) << 0 << I(kMin);
    // --- non-valid operands pass through, even a zero divisor
    QTest::newRow("invalid is returned unchanged") << I(5) << 0 << I(5);
    QTest::newRow("null is returned unchanged") << N() << 3 << N();
}

void TestCurrency::division()
{
    QFETCH(Currency, a);
    QFETCH(int, divisor);
    QFETCH(Currency, expected);
    QCOMPARE(a / divisor, expected);
}

void TestCurrency::sumsMatchWideArithmetic()
{
    // Valid exactly when the mathematical sum fits; otherwise the wrapped value.
    SplitMix rng{12345};
    for (int i = 0; i < 200000; ++i) {
        const auto a = static_cast<std::int64_t>(rng.Next());
        // Mix near-boundary and full-range partners.
        const auto b = i % 2 == 0 ? static_cast<std::int64_t>(rng.Next()) : static_cast<std::int64_t>(rng.Next() % 1000) - 500;
        const long double exactSum = static_cast<long double>(a) + static_cast<long double>(b);
        const bool fits = exactSum >= static_cast<long double>(kMin) && exactSum <= static_cast<long double>(kMax);
        const auto wrapped = static_cast<std::int64_t>(static_cast<std::uint64_t>(a) + static_cast<std::uint64_t>(b));
        const Currency sum = Currency(a) + Currency(b);
        QCOMPARE(sum.value(), wrapped);
        QCOMPARE(sum.isValid(), fits);

        const long double exactDiff = static_cast<long double>(a) - static_cast<long double>(b);
        const bool diffFits = exactDiff >= static_cast<long double>(kMin) && exactDiff <= static_cast<long double>(kMax);
        const Currency diff = Currency(a) - Currency(b);
        QCOMPARE(diff.value(), static_cast<std::int64_t>(static_cast<std::uint64_t>(a) - static_cast<std::uint64_t>(b)));
        QCOMPARE(diff.isValid(), diffFits);
    }
}

void TestCurrency::divisionTruncatesTowardZero()
{
    // q × d never exceeds a in magnitude, the remainder is smaller than d, and negating the
    // dividend negates the quotient.
    SplitMix rng{777};
    for (int i = 0; i < 200000; ++i) {
        auto a = static_cast<std::int64_t>(rng.Next() >> (1 + rng.Next() % 63)); // 0 .. 2^63-1
        if (rng.Next() % 2 == 0)
            a = -a;
        auto d = static_cast<std::int32_t>(rng.Next() % 200001) - 100000;
        if (d == 0)
            d = 7;
        const Currency q = Currency(a) / d;
        QVERIFY(q.isValid());
        const long double back = static_cast<long double>(q.value()) * d;
        const long double rest = static_cast<long double>(a) - back;
        QVERIFY2(std::abs(back) <= std::abs(static_cast<long double>(a)), "quotient too large");
        QVERIFY2(std::abs(rest) < std::abs(static_cast<long double>(d)), "remainder too large");
        QVERIFY2(rest == 0 || (rest < 0) == (a < 0), "remainder takes the dividend's sign");
        QCOMPARE((Currency(-a) / d).value(), -q.value());
    }
}

QTEST_APPLESS_MAIN(TestCurrency)
#include "tst_currency.moc"
