// CapitalizeFirst and the stored-link reader ObtenerEnlace, with the scrambling tool's
// encoder for round trips.
#include "amounts/moneda.h"
#include "tools/LinkScrambler.h"

#include <QTest>

#include <string>

namespace {

QByteArray Bytes(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }
std::string_view View(const QByteArray& b) { return {b.constData(), static_cast<std::size_t>(b.size())}; }

bool OnlyDigits(const std::string& s)
{
    for (const char c : s) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

} // namespace

class TestTexto : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void capitalizeFirst_data();
    void capitalizeFirst();
    void obtenerEnlace_data();
    void obtenerEnlace();
    void storedLinksRoundTrip_data();
    void storedLinksRoundTrip();
    void everyPrintableCharacterRoundTrips();
    void unstorableLinkIsRefused();
    void anyBytesGiveOneCharacterPerGroup();
};

void TestTexto::capitalizeFirst_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("empty stays empty") << QByteArray("") << QByteArray("");
    QTest::newRow("one letter") << QByteArray("a") << QByteArray("A");
    QTest::newRow("z") << QByteArray("z") << QByteArray("Z");
    QTest::newRow("a word") << QByteArray("madrid") << QByteArray("Madrid");
    QTest::newRow("only the first letter") << QByteArray("la coruña") << QByteArray("La coruña");
    QTest::newRow("already capital") << QByteArray("Madrid") << QByteArray("Madrid");
    QTest::newRow("accented letter stays") << QByteArray("\xC3\xA1vila") << QByteArray("\xC3\xA1vila");
    QTest::newRow("enye stays") << QByteArray("\xC3\xB1u") << QByteArray("\xC3\xB1u");
    QTest::newRow("digit first") << QByteArray("1abc") << QByteArray("1abc");
    QTest::newRow("blank first") << QByteArray(" a") << QByteArray(" a");
    QTest::newRow("brace after z") << QByteArray("{x") << QByteArray("{x");
    QTest::newRow("backquote before a") << QByteArray("`x") << QByteArray("`x");
    QTest::newRow("invalid UTF-8") << QByteArray("\xFF" "a") << QByteArray("\xFF" "a");
    QTest::newRow("NUL inside") << QByteArray("a\0b", 3) << QByteArray("A\0b", 3);
    QTest::newRow("NUL first") << QByteArray("\0a", 2) << QByteArray("\0a", 2);
}

void TestTexto::capitalizeFirst()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);
    QCOMPARE(Bytes(moneda::CapitalizeFirst(View(text))), expected);
}

void TestTexto::obtenerEnlace_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("expected");

    // Group 0, selector 3: key digit 0 (permutation position 3), digits 3 and 3:
    // '3' + 10 x '3' - 0 - 496 = 51 + 510 - 496 = 65 = 'A'.
    QTest::newRow("one group") << QByteArray("333") << QByteArray("A");
    // Group 1, selector 0: position (0 + 1) gives key 3, taken away in odd groups so the
    // term is -3: '1' + 10 x '3' + 3 - 496 = 49 + 510 + 3 - 496 = 66 = 'B'.
    QTest::newRow("two groups, the second with a negative key") << QByteArray("333013") << QByteArray("AB");
    QTest::newRow("empty") << QByteArray("") << QByteArray("");
    QTest::newRow("incomplete group is ignored") << QByteArray("33301") << QByteArray("A");
    QTest::newRow("shorter than a group") << QByteArray("33") << QByteArray("");
    // 'A' selects (65 - 48) mod 10 = 7 -> key 2; '#' is 35: 35 + 350 - 2 - 496 = -113,
    // which is 143 modulo 256.
    QTest::newRow("non-digit characters still give a byte") << QByteArray("A##") << QByteArray("\x8F");
}

void TestTexto::obtenerEnlace()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, expected);
    QCOMPARE(Bytes(moneda::ObtenerEnlace(View(stored))), expected);
}

void TestTexto::storedLinksRoundTrip_data()
{
    QTest::addColumn<QByteArray>("link");

    QTest::newRow("web") << QByteArray("https://www.quenlaria.es/");
    QTest::newRow("mail") << QByteArray("mailto:info@quenlaria.es");
    QTest::newRow("query and fragment") << QByteArray("https://quenlaria.es/a?b=1&c=%20#d");
    QTest::newRow("empty") << QByteArray("");
}

void TestTexto::storedLinksRoundTrip()
{
    QFETCH(QByteArray, link);
    const auto stored = talvero_tools::ScrambleLink(View(link));
    QVERIFY(stored.has_value());
    QCOMPARE(stored->size(), 3 * static_cast<std::size_t>(link.size()));
    QVERIFY2(OnlyDigits(*stored), stored->c_str());
    // Not stored as plain text: the link does not appear in its stored form.
    if (!link.isEmpty())
        QVERIFY(stored->find(link.toStdString()) == std::string::npos);
    QCOMPARE(Bytes(moneda::ObtenerEnlace(*stored)), link);
}

void TestTexto::everyPrintableCharacterRoundTrips()
{
    // Each printable character at every group position modulo 10 and in both key signs.
    std::string link;
    for (int round = 0; round < 20; ++round) {
        for (int c = 32; c <= 126; ++c)
            link += static_cast<char>(c);
    }
    const auto stored = talvero_tools::ScrambleLink(link);
    QVERIFY(stored.has_value());
    QVERIFY(OnlyDigits(*stored));
    QCOMPARE(moneda::ObtenerEnlace(*stored), link);
}

void TestTexto::unstorableLinkIsRefused()
{
    QVERIFY(!talvero_tools::ScrambleLink(std::string_view("a\nb")).has_value());
    QVERIFY(!talvero_tools::ScrambleLink(std::string_view("\0", 1)).has_value());
    QVERIFY(!talvero_tools::ScrambleLink("\xFF").has_value());
}

void TestTexto::anyBytesGiveOneCharacterPerGroup()
{
    // Every byte value in every place of a group, in both group parities.
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; b += 5) {
            std::string stored = "000";
            stored += static_cast<char>(a);
            stored += static_cast<char>(b);
            stored += static_cast<char>(255 - a);
            stored += static_cast<char>(b ^ a);
            QCOMPARE(moneda::ObtenerEnlace(stored).size(), std::size_t{2});
        }
    }
}

QTEST_APPLESS_MAIN(TestTexto)
#include "tst_texto.moc"
