// Euro/peseta conversion: the worked examples, the 128-bit range, sign symmetry, and a
// comparison with long arithmetic on decimal strings over many amounts.
#include "SplitMix.h"
#include "DecimalReference.h"
#include "amounts/moneda.h"

#include <QTest>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using moneda::Currency;

namespace {

constexpr qint64 kMax = std::numeric_limits<qint64>::max();
constexpr qint64 kMin = std::numeric_limits<qint64>::min();

QByteArray Bytes(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }


std::vector<std::int64_t> SweptValues()
{
    std::vector<std::int64_t> values;
    for (std::int64_t x = -50000; x <= 50000; ++x)
        values.push_back(x);
    for (std::int64_t k = 0; k < 5000; ++k) {
        values.push_back(kMin + k);
        values.push_back(kMax - k);
        // Around the old 64-bit product limit of 5.543.358.237,3846 euros.
        values.push_back(55433582373846 - 2500 + k);
    }
    SplitMix rng{31337};
    for (int i = 0; i < 50000; ++i) {
        values.push_back(static_cast<std::int64_t>(rng.Next()));
        values.push_back(static_cast<std::int64_t>(rng.Next() >> (rng.Next() % 64)));
    }
    return values;
}

} // namespace

class TestPesetas : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void referenceSelfCheck();
    void eurosToPesetas_data();
    void eurosToPesetas();
    void pesetasToEuros_data();
    void pesetasToEuros();
    void matchesLongArithmetic();
    void negativeIsSignedPositive();
    void euroTextReadsBack();
    void pesetaTextReadsBack();
};

void TestPesetas::referenceSelfCheck()
{
    // The reference itself against sums done by hand.
    QCOMPARE(reference::Multiply("123", 166386), std::string("20465478"));
    QCOMPARE(reference::Divide("20465478", 1000), std::string("20465"));
    QCOMPARE(reference::MagnitudeDigits(kMin), std::string("9223372036854775808"));
    QCOMPARE(reference::EurosToPesetas(10000), std::string("166"));
    QCOMPARE(reference::PesetasToEuros(10000000), std::string("6,01"));
}

void TestPesetas::eurosToPesetas_data()
{
    QTest::addColumn<qint64>("euros");
    QTest::addColumn<QByteArray>("expected");

    // --- the worked examples
    QTest::newRow("1 euro") << qint64(10000) << QByteArray("166");
    QTest::newRow("6,01 euros") << qint64(60100) << QByteArray("1.000");
    QTest::newRow("10 euros") << qint64(100000) << QByteArray("1.664");
    QTest::newRow("0,01 euros") << qint64(100) << QByteArray("2");
    QTest::newRow("0,02 euros") << qint64(200) << QByteArray("3");
    QTest::newRow("0,03 euros") << qint64(300) << QByteArray("5");
    QTest::newRow("1000 euros") << qint64(10000000) << QByteArray("166.386");
    QTest::newRow("1.234.567,89 euros") << qint64(12345678900) << QByteArray("205.414.813");
    QTest::newRow("0,61 euros rounds up in two steps to 102") << qint64(6100) << QByteArray("102");
    QTest::newRow("-0,02 euros") << qint64(-200) << QByteArray("-3");
    QTest::newRow("-15,10 euros") << qint64(-151000) << QByteArray("-2.512");
    QTest::newRow("-0,0004 euros keeps the sign") << qint64(-4) << QByteArray("-0");
    QTest::newRow("zero") << qint64(0) << QByteArray("0");
    // --- past the 64-bit product
    QTest::newRow("ten thousand million euros") << qint64(100000000000000) << QByteArray("1.663.860.000.000");
    QTest::newRow("at the old product limit") << qint64(55433582373846) << QByteArray("922.337.203.685");
    QTest::newRow("int64 max") << kMax << QByteArray("153.463.997.972.411.873");
    QTest::newRow("int64 min") << kMin << QByteArray("-153.463.997.972.411.873");
}

void TestPesetas::eurosToPesetas()
{
    QFETCH(qint64, euros);
    QFETCH(QByteArray, expected);
    QCOMPARE(Bytes(moneda::EurosToPesetasText(Currency(euros))), expected);
}

void TestPesetas::pesetasToEuros_data()
{
    QTest::addColumn<qint64>("pesetas");
    QTest::addColumn<QByteArray>("expected");

    // --- the worked examples
    QTest::newRow("1000 pesetas") << qint64(10000000) << QByteArray("6,01");
    QTest::newRow("1 peseta") << qint64(10000) << QByteArray("0,01");
    QTest::newRow("83 pesetas") << qint64(830000) << QByteArray("0,50");
    QTest::newRow("84 pesetas") << qint64(840000) << QByteArray("0,50");
    QTest::newRow("100000 pesetas") << qint64(1000000000) << QByteArray("601,01");
    QTest::newRow("166386 pesetas") << qint64(1663860000) << QByteArray("1.000,00");
    QTest::newRow("-1000 pesetas") << qint64(-10000000) << QByteArray("-6,01");
    // --- small and large
    QTest::newRow("-1 ten-thousandth keeps the sign") << qint64(-1) << QByteArray("-0,00");
    QTest::newRow("a hundred million million pesetas")
        << qint64(1000000000000000000) << QByteArray("601.012.104.383,78");
    QTest::newRow("int64 max") << kMax << QByteArray("5.543.358.237.384,62");
    QTest::newRow("int64 min") << kMin << QByteArray("-5.543.358.237.384,62");
}

void TestPesetas::pesetasToEuros()
{
    QFETCH(qint64, pesetas);
    QFETCH(QByteArray, expected);
    QCOMPARE(Bytes(moneda::PesetasToEurosText(Currency(pesetas))), expected);
}

void TestPesetas::matchesLongArithmetic()
{
    for (const std::int64_t v : SweptValues()) {
        const std::string toPesetas = moneda::EurosToPesetasText(Currency(v));
        if (toPesetas != reference::EurosToPesetas(v))
            QFAIL(qPrintable(QStringLiteral("euros %1 gave %2").arg(v).arg(QString::fromStdString(toPesetas))));
        const std::string toEuros = moneda::PesetasToEurosText(Currency(v));
        if (toEuros != reference::PesetasToEuros(v))
            QFAIL(qPrintable(QStringLiteral("pesetas %1 gave %2").arg(v).arg(QString::fromStdString(toEuros))));
    }
}

void TestPesetas::negativeIsSignedPositive()
{
    // Both directions round the magnitude and write the sign of the amount in front, so
    // for x > 0 the text of -x is "-" followed by the text of x, "0" and "0,00" included.
    for (std::int64_t x = 1; x <= 200000; ++x) {
        QCOMPARE(moneda::EurosToPesetasText(Currency(-x)), "-" + moneda::EurosToPesetasText(Currency(x)));
        QCOMPARE(moneda::PesetasToEurosText(Currency(-x)), "-" + moneda::PesetasToEurosText(Currency(x)));
    }
    for (std::int64_t x = kMax; x > kMax - 50000; --x) {
        QCOMPARE(moneda::EurosToPesetasText(Currency(-x)), "-" + moneda::EurosToPesetasText(Currency(x)));
        QCOMPARE(moneda::PesetasToEurosText(Currency(-x)), "-" + moneda::PesetasToEurosText(Currency(x)));
    }
}

void TestPesetas::euroTextReadsBack()
{
    // The euro edit shows PesetasToEurosText read back by ParseAmount: the value it shows.
    for (const std::int64_t v : SweptValues()) {
        const std::string text = moneda::PesetasToEurosText(Currency(v));
        std::int64_t shown = 0;
        QVERIFY(reference::TextToTenThousandths(text, shown));
        QCOMPARE(moneda::ParseAmount(text).value(), shown);
    }
    // 1000 pesetas give 6,01 and 166386 pesetas give 1000 in the plain euro edit.
    QCOMPARE(moneda::FormatPlainEuros(moneda::ParseAmount(moneda::PesetasToEurosText(Currency(10000000)))),
             std::string("6,01"));
    QCOMPARE(moneda::FormatPlainEuros(moneda::ParseAmount(moneda::PesetasToEurosText(Currency(1663860000)))),
             std::string("1000"));
}

void TestPesetas::pesetaTextReadsBack()
{
    QCOMPARE(moneda::ParseAmount("166.386").value(), 1663860000);
    // A peseta text reads back to its whole pesetas whenever that amount fits a Currency.
    for (const std::int64_t v : SweptValues()) {
        const std::string text = moneda::EurosToPesetasText(Currency(v));
        std::int64_t shown = 0;
        if (!reference::TextToTenThousandths(text, shown))
            continue;
        QCOMPARE(moneda::ParseAmount(text).value(), shown);
    }
}

QTEST_APPLESS_MAIN(TestPesetas)
#include "tst_pesetas.moc"
