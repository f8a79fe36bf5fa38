// The distributor's links as the program reads them back, and the captions shown for them.
#include "resources/links/Direccion.h"
#include "resources/links/Enlaces.h"

#include <QTest>

#include <string>

namespace {

// Qt Test prints QStrings when a comparison fails, not std::strings.
QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

} // namespace

class TestEnlaces : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // --- the stored links read back
    void webLinkReadsBack();
    void mailLinkReadsBack();
    void bannerOpensTheWebSite();
    void companyKeyReadsBack();

    // --- captions
    void captionsAreTheBareAddresses();
    void captionOfLink_data();
    void captionOfLink();
};

// --- the stored links read back ---------------------------------------------------------

void TestEnlaces::webLinkReadsBack()
{
    QCOMPARE(Q(enlaces::Web()), QStringLiteral("https://www.quenlaria.es/"));
}

void TestEnlaces::mailLinkReadsBack()
{
    QCOMPARE(Q(enlaces::Correo()), QStringLiteral("mailto:info@quenlaria.es"));
}

void TestEnlaces::bannerOpensTheWebSite()
{
    QCOMPARE(Q(enlaces::Banner()), QStringLiteral("https://www.quenlaria.es/"));
    QCOMPARE(Q(enlaces::Banner()), Q(enlaces::Web()));
}

void TestEnlaces::companyKeyReadsBack()
{
    QCOMPARE(Q(enlaces::Empresa()), QStringLiteral("Quenlaria"));
}

// --- captions ---------------------------------------------------------------------------

void TestEnlaces::captionsAreTheBareAddresses()
{
    QCOMPARE(Q(enlaces::DireccionWeb()), QStringLiteral("www.quenlaria.es"));
    QCOMPARE(Q(enlaces::DireccionCorreo()), QStringLiteral("info@quenlaria.es"));
}

void TestEnlaces::captionOfLink_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("caption");

    // web links
    QTest::newRow("https link loses scheme and slash")
        << "https://www.example.es/" << "www.example.es";
    QTest::newRow("http link loses scheme") << "http://example.es" << "example.es";
    QTest::newRow("upper-case scheme is still a scheme") << "HTTPS://example.es/" << "example.es";
    QTest::newRow("path keeps inner slashes") << "https://example.es/a/b/" << "example.es/a/b";
    QTest::newRow("several trailing slashes all go") << "https://example.es///" << "example.es";
    QTest::newRow("scheme alone leaves nothing") << "https://" << "";

    // mail links
    QTest::newRow("mailto prefix goes") << "mailto:info@example.es" << "info@example.es";
    QTest::newRow("mailto in capitals goes") << "MAILTO:info@example.es" << "info@example.es";
    QTest::newRow("mail query part goes")
        << "mailto:info@example.es?subject=Hola" << "info@example.es";
    QTest::newRow("mailto alone leaves nothing") << "mailto:" << "";

    // neither
    QTest::newRow("empty link gives empty caption") << "" << "";
    QTest::newRow("bare host stays") << "www.example.es" << "www.example.es";
    QTest::newRow("bare slash goes") << "/" << "";
    QTest::newRow("short text shorter than mailto stays") << "mail" << "mail";
}

void TestEnlaces::captionOfLink()
{
    QFETCH(QString, link);
    QFETCH(QString, caption);
    QCOMPARE(Q(enlaces::DireccionDeEnlace(link.toStdString())), caption);
}

QTEST_APPLESS_MAIN(TestEnlaces)
#include "test_enlaces.moc"
