// Where the form's links lead (intercepted: nothing is launched), and the form opening on
// a settings file that is damaged, then leaving a clean one behind.
#include "FormFixture.h"

#include "resources/links/Enlaces.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QUrl>

namespace {

// Receives the links that the program hands to the desktop.
class LinkCatcher : public QObject {
    Q_OBJECT
public:
    LinkCatcher() {
        for (const char* scheme : {"http", "https", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
    }
    ~LinkCatcher() override {
        for (const char* scheme : {"http", "https", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QList<QUrl> opened;

public Q_SLOTS:
    void Open(const QUrl& url) { opened << url; }
};

QString SettingsFile() {
    return QSettings().fileName();
}

} // namespace

class TestFormLinksAndDamage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { sandbox_.Clear(); }
    void bannerOpensTheWebSiteOfTheAboutBox();
    void damagedSettingsOpenWithDefaultsAndCloseClean_data();
    void damagedSettingsOpenWithDefaultsAndCloseClean();

private:
    SettingsSandbox sandbox_{QStringLiteral("talvero-test-links-damage")};
};

void TestFormLinksAndDamage::bannerOpensTheWebSiteOfTheAboutBox() {
    LinkCatcher catcher;
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    QTest::mouseClick(Button(dlg, 1008), Qt::LeftButton);
    QCOMPARE(catcher.opened.size(), 1);
    const QUrl banner = catcher.opened.takeFirst();
    QCOMPARE(banner.scheme(), QStringLiteral("https"));
    QCOMPARE(banner, QUrl(QString::fromStdString(enlaces::Web())));

    // The about box: its two link buttons, then "Aceptar"; the form is left as it was.
    const QString placeBefore = Text(dlg, 1004);
    bool driven = false;
    QTimer::singleShot(0, &dlg, [&driven] {
        auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (about == nullptr)
            return;
        for (const char* id : {"1031", "1030"})
            if (auto* b = about->findChild<QPushButton*>(QString::fromLatin1(id)))
                b->click();
        driven = true;
        about->accept();
    });
    QTest::keyClick(&dlg, Qt::Key_F1);
    QVERIFY(driven);
    QCOMPARE(catcher.opened.size(), 2);
    QCOMPARE(catcher.opened.at(0), banner);
    QCOMPARE(catcher.opened.at(1).scheme(), QStringLiteral("mailto"));
    QCOMPARE(catcher.opened.at(1), QUrl(QString::fromStdString(enlaces::Correo())));
    QVERIFY(dlg.isVisible());
    QCOMPARE(Text(dlg, 1004), placeBefore);
}

void TestFormLinksAndDamage::damagedSettingsOpenWithDefaultsAndCloseClean_data() {
    QTest::addColumn<QByteArray>("content");
    QByteArray noise(2048, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 131 + 7) % 256);
    QTest::newRow("binary noise") << noise;
    QTest::newRow("truncated") << QByteArray("[Aplicacion%20Talvero]\nIVA_STRING=1");
    QTest::newRow("unknown and oversized values")
        << (QByteArray("[Aplicacion%20Talvero]\nColor=FUCSIA\nPluma=RAYAS\nIVA_STRING=99\n"
                       "RE_STRING=x\nIPRF_STRING=-\nImporte1=mucho\nImporte2=1e999\n"
                       "Importe3=99999999999999999999999\nBanner%20Publicidad%20001=9999999999\n"
                       "Concepto1=") +
            QByteArray(100000, 'c') + "\n");
}

void TestFormLinksAndDamage::damagedSettingsOpenWithDefaultsAndCloseClean() {
    QFETCH(QByteArray, content);
    {
        QVERIFY(QDir().mkpath(QFileInfo(SettingsFile()).path()));
        QFile f(SettingsFile());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }
    {
        CTalveroDlg dlg;
        QVERIFY(Open(dlg));
        // Unreadable amounts count as zero; the total says so.
        QCOMPARE(Text(dlg, 1007), QStringLiteral("0,00"));
        QCOMPARE(Text(dlg, 1028), QStringLiteral("0,00"));
        QCOMPARE(dlg.m_Banner, 2);
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QVERIFY(!dlg.isVisible());
    }
    // Closing wrote a store that the next start reads back whole.
    QCOMPARE(sandbox_.GetInt("Banner Publicidad 001", 999), 2);
    QCOMPARE(sandbox_.Get("Importe1"), std::string("0,00"));
    const std::string iva = sandbox_.Get("IVA_STRING");
    QVERIFY2(iva == "0" || iva == "16" || iva.empty(),
             iva.c_str()); // "1" of the truncated line selects 16
    QVERIFY(sandbox_.Get("Concepto1").size() <= 40);
    CTalveroDlg again;
    QVERIFY(Open(again));
    QCOMPARE(Text(again, 1028), QStringLiteral("0,00"));
    QVERIFY(!Text(again, 1045).isEmpty()); // a colour is chosen again
}

QTEST_MAIN(TestFormLinksAndDamage)
#include "test_form_links_and_damage.moc"
