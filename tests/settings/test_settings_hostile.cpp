// The settings store against what an unlucky machine leaves at its path: a FIFO, a symlink
// to a device, a directory, a directory or garbage at the lock path, a lock held by another
// copy, a file far too large, and temporary files of saves that were killed.
#include "platform/SettingsStore.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/types.h>

using platform::SettingsStore;

namespace {

constexpr char kSection[] = "Aplicacion Talvero";

void WriteFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    f.write(content);
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void SetAge(const QString& path, int seconds) {
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite))
        qFatal("cannot open %s", qPrintable(path));
    const QDateTime then = QDateTime::currentDateTime().addSecs(-seconds);
    f.setFileTime(then, QFileDevice::FileModificationTime);
}

} // namespace

class TestSettingsHostile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    // --- what stands at the path
    void somethingOtherThanAFileIsNotOpened_data();
    void somethingOtherThanAFileIsNotOpened();
    void symlinkToDevNullLeavesTheDeviceAlone();
    void symlinkToAFileIsFollowed();
    void regularFileStillWorks();

    // --- the lock
    void directoryAtTheLockPath();
    void garbageLockFileDoesNotHoldTheStore();
    void lockHeldByAnotherCopyIsWaitedForBriefly();

    // --- oversized files and killed saves
    void oversizedFileIsSetAside();
    void fileAtTheBoundIsRead();
    void filesNextToTheSettingsAreNeverRemoved();

private:
    QString path() const { return dir_->filePath(QStringLiteral("talvero.conf")); }
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestSettingsHostile::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

// --- what stands at the path ---------------------------------------------------------------

void TestSettingsHostile::somethingOtherThanAFileIsNotOpened_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a FIFO") << "fifo"
                            << "no es un archivo normal";
    QTest::newRow("a directory") << "dir"
                                 << "es una carpeta";
    QTest::newRow("a symlink to a FIFO") << "link-fifo"
                                         << "no es un archivo normal";
    QTest::newRow("a symlink to a directory") << "link-dir"
                                              << "es una carpeta";
}

void TestSettingsHostile::somethingOtherThanAFileIsNotOpened() {
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QString target =
        kind.startsWith(QLatin1String("link-")) ? dir_->filePath(QStringLiteral("target")) : path();
    if (kind.endsWith(QLatin1String("fifo")))
        QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
    else
        QVERIFY(QDir().mkdir(target));
    if (target != path())
        QVERIFY(QFile::link(target, path()));

    SettingsStore store(path().toStdString()); // a FIFO opened would never return
    QVERIFY(!store.Usable());
    QCOMPARE(store.GetString(kSection, "Color"), std::string());
    QCOMPARE(store.GetInt(kSection, "Banner", 2), 2);
    store.WriteString(kSection, "Color", "ROJO");
    QVERIFY(!store.Flush());
    const QString problem = QString::fromStdString(store.Problem());
    QVERIFY2(problem.contains(reason), qPrintable(problem));
    QVERIFY2(problem.contains(path()), qPrintable(problem));
    // What stood there still stands there.
    const QFileInfo after(target);
    QVERIFY(after.exists() && !after.isFile());
    QCOMPARE(after.isDir(), kind.endsWith(QLatin1String("dir")));
}

void TestSettingsHostile::symlinkToDevNullLeavesTheDeviceAlone() {
    QVERIFY(QFile::link(QStringLiteral("/dev/null"), path()));
    {
        SettingsStore store(path().toStdString());
        QVERIFY(!store.Usable());
        store.WriteString(kSection, "Color", "ROJO");
        QVERIFY(!store.Flush());
    }
    const QFileInfo link(path());
    QVERIFY(link.isSymLink());
    QCOMPARE(link.symLinkTarget(), QStringLiteral("/dev/null"));
    struct stat st {};
    QCOMPARE(::stat("/dev/null", &st), 0);
    QVERIFY(S_ISCHR(st.st_mode));
}

void TestSettingsHostile::symlinkToAFileIsFollowed() {
    const QString target = dir_->filePath(QStringLiteral("real.conf"));
    WriteFile(target, "[Aplicacion%20Talvero]\nColor=VERDE\n");
    QVERIFY(QFile::link(target, path()));
    SettingsStore store(path().toStdString());
    QVERIFY(store.Usable());
    QCOMPARE(store.GetString(kSection, "Color"), std::string("VERDE"));
}

void TestSettingsHostile::regularFileStillWorks() {
    WriteFile(path(), "[Aplicacion%20Talvero]\nColor=GRIS\n");
    {
        SettingsStore store(path().toStdString());
        QVERIFY(store.Usable());
        QCOMPARE(store.GetString(kSection, "Color"), std::string("GRIS"));
        store.WriteString(kSection, "Color", "ROJO");
        QVERIFY(store.Flush());
        QCOMPARE(store.Problem(), std::string());
        QCOMPARE(store.OpeningNotice(), std::string());
    }
    QCOMPARE(SettingsStore(path().toStdString()).GetString(kSection, "Color"), std::string("ROJO"));
}

// --- the lock -------------------------------------------------------------------------------

void TestSettingsHostile::directoryAtTheLockPath() {
    WriteFile(path(), "[Aplicacion%20Talvero]\nColor=GRIS\n");
    QVERIFY(QDir().mkdir(path() + QStringLiteral(".lock")));
    SettingsStore store(path().toStdString()); // QSettings would wait for it forever
    QVERIFY(!store.Usable());
    QVERIFY(!store.Flush());
    const QString problem = QString::fromStdString(store.Problem());
    QVERIFY2(problem.contains(QStringLiteral("bloqueo")), qPrintable(problem));
    QVERIFY2(problem.contains(QStringLiteral("es una carpeta")), qPrintable(problem));
    QCOMPARE(ReadFile(path()), QByteArray("[Aplicacion%20Talvero]\nColor=GRIS\n"));
}

void TestSettingsHostile::garbageLockFileDoesNotHoldTheStore() {
    WriteFile(path(), "[Aplicacion%20Talvero]\nColor=GRIS\n");
    WriteFile(path() + QStringLiteral(".lock"), "\xff\xfe garbage, no holder\n\n\n");
    QElapsedTimer clock;
    clock.start();
    {
        SettingsStore store(path().toStdString());
        QVERIFY(store.Usable());
        QCOMPARE(store.GetString(kSection, "Color"), std::string("GRIS"));
        store.WriteString(kSection, "Color", "ROJO");
        QVERIFY(store.Flush());
    }
    // Such a lock counts as held until it is half a minute old; it must not count at all.
    QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(SettingsStore(path().toStdString()).GetString(kSection, "Color"), std::string("ROJO"));
}

void TestSettingsHostile::lockHeldByAnotherCopyIsWaitedForBriefly() {
    WriteFile(path(), "[Aplicacion%20Talvero]\nColor=GRIS\n");
    QLockFile other(path() + QStringLiteral(".lock"));
    QVERIFY(other.tryLock(0));
    {
        SettingsStore store(path().toStdString());
        QVERIFY(!store.Usable());
        QVERIFY(!store.Flush());
        const QString problem = QString::fromStdString(store.Problem());
        QVERIFY2(problem.contains(QStringLiteral("bloqueados")), qPrintable(problem));
    }
    other.unlock();
    SettingsStore store(path().toStdString());
    QVERIFY(store.Usable());
    QCOMPARE(store.GetString(kSection, "Color"), std::string("GRIS"));
}

// --- oversized files and killed saves -------------------------------------------------------

void TestSettingsHostile::oversizedFileIsSetAside() {
    const QByteArray huge =
        QByteArray("[Aplicacion%20Talvero]\nColor=ROJO\nConcepto1=") + QByteArray(2 << 20, 'x');
    WriteFile(path(), huge);
    {
        SettingsStore store(path().toStdString());
        QVERIFY(store.Usable());
        QCOMPARE(store.GetString(kSection, "Color"), std::string()); // the defaults
        const QString notice = QString::fromStdString(store.OpeningNotice());
        QVERIFY2(notice.contains(QStringLiteral("dañados")), qPrintable(notice));
        QVERIFY(!QFileInfo::exists(path()));

        const QStringList aside = QDir(dir_->path()).entryList(QDir::Files);
        QCOMPARE(aside.size(), 1);
        const QRegularExpression name(
            QStringLiteral("^talvero\\.conf\\.dañado-[0-9]{8}-[0-9]{6}$"));
        QVERIFY2(name.match(aside.first()).hasMatch(), qPrintable(aside.first()));
        QVERIFY2(notice.contains(aside.first()), qPrintable(notice));
        QCOMPARE(ReadFile(dir_->filePath(aside.first())), huge);

        store.WriteString(kSection, "Color", "AZUL");
        QVERIFY(store.Flush());
    }
    QVERIFY(QFileInfo(path()).size() < 1000);
    SettingsStore again(path().toStdString());
    QCOMPARE(again.GetString(kSection, "Color"), std::string("AZUL"));
    QCOMPARE(again.OpeningNotice(), std::string()); // told once
}

void TestSettingsHostile::fileAtTheBoundIsRead() {
    const QByteArray head("[Aplicacion%20Talvero]\nColor=ROJO\nConcepto1=");
    WriteFile(path(), head + QByteArray((1 << 20) - head.size() - 1, 'x') + "\n");
    QCOMPARE(QFileInfo(path()).size(), qint64(1 << 20));
    SettingsStore store(path().toStdString());
    QCOMPARE(store.GetString(kSection, "Color"), std::string("ROJO"));
    QCOMPARE(store.OpeningNotice(), std::string());
}

void TestSettingsHostile::filesNextToTheSettingsAreNeverRemoved() {
    WriteFile(path(), "[Aplicacion%20Talvero]\nColor=GRIS\n");
    // The user's own copies look like the leftovers of a killed save: all of them stay.
    const QStringList kept = {
        QStringLiteral("talvero.conf.backup"),     QStringLiteral("talvero.conf.202401"),
        QStringLiteral("talvero.conf.Ab12Cd"),     QStringLiteral("talvero.conf.Ab12Cde"),
        QStringLiteral("talvero.conf.Ab12Cd.bak"), QStringLiteral("talvero.conf.dañado-1"),
    };
    for (const QString& name : kept) {
        WriteFile(dir_->filePath(name), name.toUtf8());
        SetAge(dir_->filePath(name), 3600);
    }
    QVERIFY(QFile::link(dir_->filePath(QStringLiteral("talvero.conf.backup")),
                        dir_->filePath(QStringLiteral("talvero.conf.Link12"))));

    {
        SettingsStore store(path().toStdString());
        store.WriteString(kSection, "Color", "ROJO");
        QVERIFY(store.Flush());
    }
    for (const QString& name : kept)
        QCOMPARE(ReadFile(dir_->filePath(name)), name.toUtf8());
    QVERIFY(QFileInfo(dir_->filePath(QStringLiteral("talvero.conf.Link12"))).isSymLink());
}

QTEST_GUILESS_MAIN(TestSettingsHostile)
#include "test_settings_hostile.moc"
