// The settings store and the form's saved-settings table against real INI files.
#include "form/SavedSettings.h"
#include "platform/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using platform::SettingsStore;
constexpr const char* kSection = platform::kTalveroSection;

namespace {

QString WriteFile(const QTemporaryDir& dir, const QByteArray& content) {
    const QString path = dir.filePath(QStringLiteral("talvero.conf"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    f.write(content);
    return path;
}

ReceiptFields ReadAllAtOpening(const SettingsStore& store) {
    ReceiptFields f;
    saved_settings::ReadOpeningFirstGroup(store, f);
    saved_settings::ReadOpeningSecondGroup(store, f);
    return f;
}

} // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // --- the store's four operations
    void absentKeysGiveEmptyOrDefault();
    void stringsAndIntegersRoundTrip();
    void integerReadsRejectWhatIsNotAnInteger_data();
    void integerReadsRejectWhatIsNotAnInteger();
    void handWrittenCommaValuesReadWhole();
    void unchangedValuesLeaveTheFileAlone_data();
    void unchangedValuesLeaveTheFileAlone();
    void nativeStoreFollowsOrganizationAndApplication();

    // --- the form's table: opening, clear-all, close
    void emptyStoreGivesTheOpeningDefaults();
    void emptyValuesCountAsAbsentWhereThereIsADefault();
    void clearAllAppliesNoDueDateDefault();
    void closeWritesEveryKeyInItsForm();
    void amountsComeBackFromTheirText();

    // --- damaged and unwritable files
    void damagedFilesOpenWithDefaults_data();
    void damagedFilesOpenWithDefaults();
    void unwritableLocationIsNotFatal();
};

void TestSettingsStore::absentKeysGiveEmptyOrDefault() {
    QTemporaryDir dir;
    SettingsStore store(dir.filePath("none.conf").toStdString());
    QCOMPARE(store.GetString(kSection, "Localidad"), std::string());
    QCOMPARE(store.GetInt(kSection, "Banner Publicidad 001", 999), 999);
}

void TestSettingsStore::stringsAndIntegersRoundTrip() {
    QTemporaryDir dir;
    const std::string path = dir.filePath("t.conf").toStdString();
    {
        SettingsStore store(path);
        store.WriteString(kSection, "Localidad", "Málaga");
        store.WriteString(kSection, "RE_STRING", "1,75");
        store.WriteString(kSection, "Concepto1", "@Variant(no) \"entre comillas\" ; = #");
        store.WriteInt(kSection, "Banner Publicidad 001", 2);
        store.Flush();
    }
    SettingsStore again(path);
    QCOMPARE(again.GetString(kSection, "Localidad"), std::string("Málaga"));
    QCOMPARE(again.GetString(kSection, "RE_STRING"), std::string("1,75"));
    QCOMPARE(again.GetString(kSection, "Concepto1"),
             std::string("@Variant(no) \"entre comillas\" ; = #"));
    QCOMPARE(again.GetInt(kSection, "Banner Publicidad 001", 999), 2);
    QCOMPARE(again.GetString(kSection, "Banner Publicidad 001"), std::string("2"));
}

void TestSettingsStore::integerReadsRejectWhatIsNotAnInteger_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("expected");
    QTest::newRow("plain") << QByteArray("7") << 7;
    QTest::newRow("negative") << QByteArray("-3") << -3;
    QTest::newRow("blanks around") << QByteArray("  4 ") << 4;
    QTest::newRow("letters") << QByteArray("dos") << 999;
    QTest::newRow("empty") << QByteArray("") << 999;
    QTest::newRow("past 32 bits") << QByteArray("99999999999") << 999;
    QTest::newRow("decimal") << QByteArray("2.5") << 999;
    QTest::newRow("list") << QByteArray("1,2") << 999;
}

void TestSettingsStore::integerReadsRejectWhatIsNotAnInteger() {
    QFETCH(QByteArray, line);
    QFETCH(int, expected);
    QTemporaryDir dir;
    const QString path =
        WriteFile(dir, "[Aplicacion%20Talvero]\nBanner%20Publicidad%20001=" + line + "\n");
    SettingsStore store(path.toStdString());
    QCOMPARE(store.GetInt(kSection, "Banner Publicidad 001", 999), expected);
}

void TestSettingsStore::handWrittenCommaValuesReadWhole() {
    QTemporaryDir dir;
    const QString path =
        WriteFile(dir, "[Aplicacion%20Talvero]\nRE_STRING=1,75\nImporte1=1.234,56\n");
    SettingsStore store(path.toStdString());
    QCOMPARE(store.GetString(kSection, "RE_STRING"), std::string("1,75"));
    ReceiptFields f = ReadAllAtOpening(store);
    QCOMPARE(f.m_Re, std::string("1,75"));
    QCOMPARE(f.m_Importe1, moneda::Currency(12345600));
}

void TestSettingsStore::unchangedValuesLeaveTheFileAlone_data() {
    // The file is written by hand, spaced as QSettings never writes it: any save shows.
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value"); // a QString to WriteString, an int to WriteInt
    QTest::addColumn<bool>("rewritten");
    QTest::newRow("same text") << "Localidad" << QVariant("Málaga") << false;
    QTest::newRow("other text") << "Localidad" << QVariant("Cádiz") << true;
    QTest::newRow("text only in case") << "Localidad" << QVariant("MÁLAGA") << true;
    QTest::newRow("same number") << "Banner Publicidad 001" << QVariant(2) << false;
    QTest::newRow("new key") << "Pagador1" << QVariant("") << true;
    QTest::newRow("read as a list") << "RE_STRING" << QVariant("1,75") << true;
    QTest::newRow("removed") << "Localidad" << QVariant() << true;
}

void TestSettingsStore::unchangedValuesLeaveTheFileAlone() {
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QFETCH(bool, rewritten);
    QTemporaryDir dir;
    const QByteArray handWritten = "[Aplicacion%20Talvero]\nLocalidad = M\xc3\xa1laga\n"
                                   "Banner%20Publicidad%20001 = 2\nRE_STRING = 1,75\n";
    const QString path = WriteFile(dir, handWritten);
    {
        SettingsStore store(path.toStdString());
        const std::string k = key.toStdString();
        if (!value.isValid())
            store.Remove(kSection, k);
        else if (value.typeId() == QMetaType::Int)
            store.WriteInt(kSection, k, value.toInt());
        else
            store.WriteString(kSection, k, value.toString().toStdString());
        QVERIFY(store.Flush());
    }
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll() != handWritten, rewritten);
    QVERIFY(!QFileInfo::exists(path + QStringLiteral(".lock")));
}

void TestSettingsStore::nativeStoreFollowsOrganizationAndApplication() {
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    QCoreApplication::setOrganizationName(QStringLiteral("Quenlaria"));
    QCoreApplication::setApplicationName(QStringLiteral("talvero-test-store"));
    {
        SettingsStore store;
        store.WriteString(kSection, "Numero", "A-17");
        store.Flush();
    }
#ifndef Q_OS_WIN
    const QString file = dir.filePath(QStringLiteral("Quenlaria/talvero-test-store.conf"));
    QVERIFY2(QFileInfo::exists(file), qPrintable(file));
    QSettings raw(file, QSettings::IniFormat);
    QCOMPARE(raw.value(QStringLiteral("Aplicacion Talvero/Numero")).toString(),
             QStringLiteral("A-17"));
#endif
    SettingsStore again;
    QCOMPARE(again.GetString(kSection, "Numero"), std::string("A-17"));
}

void TestSettingsStore::emptyStoreGivesTheOpeningDefaults() {
    QTemporaryDir dir;
    SettingsStore store(dir.filePath("empty.conf").toStdString());
    const ReceiptFields f = ReadAllAtOpening(store);
    QCOMPARE(f.m_Vencimiento, std::string("A LA VISTA"));
    QCOMPARE(f.m_Iva, std::string("0"));
    QCOMPARE(f.m_Re, std::string("0"));
    QCOMPARE(f.m_Irpf, std::string("0"));
    QCOMPARE(f.m_Color, std::string("AZUL"));
    QCOMPARE(f.m_Relleno, std::string("SOLID"));
    QCOMPARE(f.m_Banner, 2);
    QCOMPARE(f.m_Numero, std::string());
    QCOMPARE(f.m_Cobrador1, std::string());
    QCOMPARE(f.m_Importe3, moneda::Currency());
}

void TestSettingsStore::emptyValuesCountAsAbsentWhereThereIsADefault() {
    QTemporaryDir dir;
    const QString path = WriteFile(dir, "[Aplicacion%20Talvero]\n"
                                        "Vencimiento=\nIVA_STRING=\nIPRF_STRING=\nRE_STRING=\n"
                                        "Color=\nPluma=\nBanner%20Publicidad%20001=\n"
                                        "Localidad=\n");
    SettingsStore store(path.toStdString());
    const ReceiptFields f = ReadAllAtOpening(store);
    QCOMPARE(f.m_Vencimiento, std::string("A LA VISTA"));
    QCOMPARE(f.m_Iva, std::string("0"));
    QCOMPARE(f.m_Irpf, std::string("0"));
    QCOMPARE(f.m_Re, std::string("0"));
    QCOMPARE(f.m_Color, std::string("AZUL"));
    QCOMPARE(f.m_Relleno, std::string("SOLID"));
    QCOMPARE(f.m_Banner, 2);
    QCOMPARE(f.m_Localidad, std::string());
}

void TestSettingsStore::clearAllAppliesNoDueDateDefault() {
    QTemporaryDir dir;
    const QString path = WriteFile(dir, "[Aplicacion%20Talvero]\nColor=VERDE\nPluma=LINEAS\n"
                                        "Cobrador1=Ferretería Ruiz\nIVA_STRING=16\n");
    SettingsStore store(path.toStdString());
    ReceiptFields f;
    f.m_Numero = "untouched";
    saved_settings::ReadForClearAll(store, f);
    QCOMPARE(f.m_Vencimiento, std::string());
    QCOMPARE(f.m_Color, std::string("VERDE"));
    QCOMPARE(f.m_Relleno, std::string("LINEAS"));
    QCOMPARE(f.m_Cobrador1, std::string("Ferretería Ruiz"));
    QCOMPARE(f.m_Iva, std::string("16"));
    QCOMPARE(f.m_Re, std::string("0"));
    QCOMPARE(f.m_Irpf, std::string("0"));
    QCOMPARE(f.m_Numero, std::string("untouched"));
}

void TestSettingsStore::closeWritesEveryKeyInItsForm() {
    QTemporaryDir dir;
    const QString path = dir.filePath("close.conf");
    ReceiptFields f;
    f.m_Banner = 2;
    f.m_Cobrador1 = "Cobrador";
    f.m_Localidad = "Sevilla";
    f.m_Vencimiento = "A LA VISTA";
    f.m_Iva = "16";
    f.m_Re = "1,75";
    f.m_Irpf = "15";
    f.m_Concepto5 = "Quinto";
    f.m_Importe1 = moneda::Currency(12345600);
    f.m_Importe2 = moneda::Currency(-151000);
    f.m_Color = "MARRÓN";
    f.m_Relleno = "SOLIDO";
    {
        SettingsStore store(path.toStdString());
        saved_settings::WriteAtClose(store, f);
        store.Flush();
    }
    QSettings raw(path, QSettings::IniFormat);
    raw.beginGroup(QStringLiteral("Aplicacion Talvero"));
    const QStringList expectedKeys = {"Banner Publicidad 001",
                                      "Cobrador1",
                                      "Cobrador2",
                                      "Localidad",
                                      "Vencimiento",
                                      "Numero",
                                      "Pagador1",
                                      "Pagador2",
                                      "IVA_STRING",
                                      "IPRF_STRING",
                                      "RE_STRING",
                                      "Concepto1",
                                      "Concepto2",
                                      "Concepto3",
                                      "Concepto4",
                                      "Concepto5",
                                      "Direccion",
                                      "Importe1",
                                      "Importe2",
                                      "Importe3",
                                      "Importe4",
                                      "Importe5",
                                      "Color",
                                      "Pluma"};
    QStringList keys = raw.childKeys();
    keys.sort();
    QStringList sortedExpected = expectedKeys;
    sortedExpected.sort();
    QCOMPARE(keys, sortedExpected);
    QCOMPARE(raw.value("Banner Publicidad 001").toInt(), 2);
    QCOMPARE(raw.value("Importe1").toString(), QStringLiteral("1.234,56"));
    QCOMPARE(raw.value("Importe2").toString(), QStringLiteral("-15,10"));
    QCOMPARE(raw.value("Importe3").toString(), QStringLiteral("0,00"));
    QCOMPARE(raw.value("RE_STRING").toString(), QStringLiteral("1,75"));
    QCOMPARE(raw.value("IPRF_STRING").toString(), QStringLiteral("15"));
    QCOMPARE(raw.value("Color").toString(), QStringLiteral("MARRÓN"));
    QCOMPARE(raw.value("Pluma").toString(), QStringLiteral("SOLIDO"));
    QCOMPARE(raw.value("Localidad").toString(), QStringLiteral("Sevilla"));
    QCOMPARE(raw.value("Numero").toString(), QString());
}

void TestSettingsStore::amountsComeBackFromTheirText() {
    QTemporaryDir dir;
    const std::string path = dir.filePath("amounts.conf").toStdString();
    ReceiptFields out;
    out.m_Importe1 = moneda::Currency(12345600);
    out.m_Importe2 = moneda::Currency(-151000);
    out.m_Importe3 = moneda::Currency(99950); // 9,995 is written as 10,00
    out.m_Importe4 = moneda::Currency(1);     // below half a cent: 0,00
    {
        SettingsStore store(path);
        saved_settings::WriteAtClose(store, out);
        store.Flush();
    }
    SettingsStore store(path);
    const ReceiptFields in = ReadAllAtOpening(store);
    QCOMPARE(in.m_Importe1, moneda::Currency(12345600));
    QCOMPARE(in.m_Importe2, moneda::Currency(-151000));
    QCOMPARE(in.m_Importe3, moneda::Currency(100000));
    QCOMPARE(in.m_Importe4, moneda::Currency(0));
    QCOMPARE(in.m_Importe5, moneda::Currency(0));
}

void TestSettingsStore::damagedFilesOpenWithDefaults_data() {
    QTest::addColumn<QByteArray>("content");
    QByteArray noise(4096, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919 + 13) % 256);
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("binary noise") << noise;
    QTest::newRow("truncated mid-line") << QByteArray("[Aplicacion%20Talvero]\nColor=AZ");
    QTest::newRow("unterminated section") << QByteArray("[Aplicacion%20Talv\nIVA_STRING=16\n");
    QTest::newRow("unknown values")
        << QByteArray("[Aplicacion%20Talvero]\nColor=FUCSIA\nIVA_STRING=99\nPluma=?\n"
                      "Importe1=doce euros\nImporte2=1e400\nImporte3=99999999999999999999\n"
                      "Banner%20Publicidad%20001=-7x\n");
    QTest::newRow("variant garbage")
        << QByteArray("[Aplicacion%20Talvero]\nColor=@Variant(\\0\\0\\0\\x7f)\n"
                      "Importe1=@ByteArray(\\xff)\nNumero=@Rect(1 2)\n");
    QTest::newRow("one huge line")
        << (QByteArray("[Aplicacion%20Talvero]\nConcepto1=") + QByteArray(1 << 20, 'x') + "\n");
}

void TestSettingsStore::damagedFilesOpenWithDefaults() {
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = WriteFile(dir, content);
    SettingsStore store(path.toStdString());
    const ReceiptFields f = ReadAllAtOpening(store);
    // Whatever cannot be read takes its default; amounts that do not read are zero.
    QVERIFY(!f.m_Vencimiento.empty());
    QVERIFY(!f.m_Iva.empty());
    QVERIFY(!f.m_Color.empty());
    QVERIFY(!f.m_Relleno.empty());
    for (const moneda::Currency& c : {f.m_Importe1, f.m_Importe2, f.m_Importe3})
        QCOMPARE(c.status(), moneda::Currency::Status::Valid);
    QCOMPARE(f.m_Importe1, moneda::Currency(0));
    QCOMPARE(f.m_Importe2, moneda::Currency(0));
    QCOMPARE(f.m_Importe3, moneda::Currency(0));
}

void TestSettingsStore::unwritableLocationIsNotFatal() {
    // A settings path below a regular file can never be created, for root too.
    QTemporaryDir dir;
    QFile blocker(dir.filePath("blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const std::string path = dir.filePath("blocker/talvero.conf").toStdString();
    {
        SettingsStore store(path);
        saved_settings::WriteAtClose(store, ReceiptFields{});
        store.Flush();
    }
    SettingsStore again(path);
    const ReceiptFields f = ReadAllAtOpening(again);
    QCOMPARE(f.m_Color, std::string("AZUL"));
    QCOMPARE(f.m_Vencimiento, std::string("A LA VISTA"));
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "test_settings_store.moc"
