// Opening links reaches the desktop with the right address. The desktop is intercepted
// with URL handlers for every scheme a test link uses, so nothing is ever launched.
#include "platform/Links.h"
#include "resources/links/Enlaces.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QList>
#include <QTest>
#include <QUrl>

namespace {

// Every scheme that any row below could produce; a scheme without a handler would go to
// the real desktop.
const QStringList kSchemes = {"https", "http", "mailto", "file", "ftp", "javascript", "data"};

} // namespace

class Desktop : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public Q_SLOTS:
    void Open(const QUrl& url) { opened.append(url); }
};

class TestOpenLink : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void linkReachesDesktop_data();
    void linkReachesDesktop();
    void webButtonOpensTheWebSite();
    void mailButtonOpensTheMailAddress();
    void bannerOpensTheSameTargetAsTheWebButton();

private:
    Desktop desktop;
};

void TestOpenLink::initTestCase()
{
    for (const QString& scheme : kSchemes)
        QDesktopServices::setUrlHandler(scheme, &desktop, "Open");
}

void TestOpenLink::init()
{
    desktop.opened.clear();
}

void TestOpenLink::cleanupTestCase()
{
    for (const QString& scheme : kSchemes)
        QDesktopServices::unsetUrlHandler(scheme);
}

void TestOpenLink::linkReachesDesktop_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("opened"); // empty: nothing reaches the desktop

    // web and mail links go through unchanged
    QTest::newRow("https link") << "https://www.example.es/" << "https://www.example.es/";
    QTest::newRow("http link") << "http://example.es/ofertas" << "http://example.es/ofertas";
    QTest::newRow("mail link") << "mailto:info@example.es" << "mailto:info@example.es";
    QTest::newRow("upper-case scheme") << "HTTPS://example.es/" << "https://example.es/";

    // anything else opens nothing
    QTest::newRow("empty link") << "" << "";
    QTest::newRow("plain words") << "no es un enlace" << "";
    QTest::newRow("host without scheme") << "www.example.es" << "";
    QTest::newRow("space inside host") << "https://www.exa mple.es/" << "";
    QTest::newRow("local file") << "file:///etc/passwd" << "";
    QTest::newRow("ftp link") << "ftp://example.es/" << "";
    QTest::newRow("script link") << "javascript:alert(1)" << "";
    QTest::newRow("data link") << "data:text/html,hola" << "";
}

void TestOpenLink::linkReachesDesktop()
{
    QFETCH(QString, link);
    QFETCH(QString, opened);

    platform::OpenLink(link.toStdString());

    if (opened.isEmpty()) {
        QCOMPARE(desktop.opened, QList<QUrl>());
    } else {
        QCOMPARE(desktop.opened.size(), 1);
        QCOMPARE(desktop.opened.first().toString(), opened);
    }
}

void TestOpenLink::webButtonOpensTheWebSite()
{
    platform::OpenLink(enlaces::Web());
    QCOMPARE(desktop.opened, QList<QUrl>{QUrl(QStringLiteral("https://www.quenlaria.es/"))});
}

void TestOpenLink::mailButtonOpensTheMailAddress()
{
    platform::OpenLink(enlaces::Correo());
    QCOMPARE(desktop.opened, QList<QUrl>{QUrl(QStringLiteral("mailto:info@quenlaria.es"))});
}

void TestOpenLink::bannerOpensTheSameTargetAsTheWebButton()
{
    platform::OpenLink(enlaces::Banner());
    platform::OpenLink(enlaces::Web());
    QCOMPARE(desktop.opened.size(), 2);
    QCOMPARE(desktop.opened.at(0), desktop.opened.at(1));
}

QTEST_MAIN(TestOpenLink)
#include "test_open_link.moc"
