#include "platform/SettingsFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

namespace platform::settings_file {

namespace {

QString Quoted(const QString& path) {
    return QStringLiteral("«") + QDir::toNativeSeparators(path) + QStringLiteral("»");
}

// What a path that exists but is not a regular file is, for the message.
QString KindOf(const QFileInfo& info) {
    if (info.isDir())
        return QStringLiteral("es una carpeta");
    return QStringLiteral("no es un archivo normal");
}

} // namespace

Check Inspect(const QString& path) {
    Check check;
    // QFileInfo follows a symlink to its target; a dangling one stands for a file not yet
    // written.
    const QFileInfo file(path);
    if (file.exists() && !file.isFile()) {
        check.usable = false;
        check.problem = Quoted(path) + QLatin1Char(' ') + KindOf(file) + QLatin1Char('.');
        return check;
    }

    // The lock is never followed: whatever stands there, other than a lock file, is not ours.
    const QString lockPath = path + QStringLiteral(".lock");
    const QFileInfo lock(lockPath);
    if ((lock.exists() || lock.isSymLink()) && (lock.isSymLink() || !lock.isFile())) {
        check.usable = false;
        check.problem =
            QStringLiteral("el archivo de bloqueo ") + Quoted(lockPath) + QLatin1Char(' ') +
            (lock.isSymLink() ? QStringLiteral("es un enlace") : KindOf(lock)) + QLatin1Char('.');
        return check;
    }

    if (file.exists() && file.size() > kMaxBytes) {
        const QString aside =
            path + QStringLiteral(".dañado-") +
            QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
        if (!QFile::rename(path, aside)) {
            check.usable = false;
            check.problem =
                Quoted(path) + QStringLiteral(" es demasiado grande para ser un archivo de ajustes "
                                              "y no se ha podido apartar.");
            return check;
        }
        check.setAside = aside;
    }
    return check;
}

bool WithLock(const QString& path, QString& problem, const std::function<void()>& whileLocked) {
    // No folder yet: nothing to read, no lock to meet; the save creates both.
    if (!QFileInfo(path).absoluteDir().exists()) {
        if (whileLocked)
            whileLocked();
        return true;
    }
    const QString lockPath = path + QStringLiteral(".lock");
    // Nothing at the lock path: QSettings will create its lock at once. Taking one here only
    // to learn that would write, flush to disk and remove a file at every opening and save,
    // a few milliseconds each on a real disk.
    if (!whileLocked && !QFileInfo::exists(lockPath) && !QFileInfo(lockPath).isSymLink())
        return true;
    QLockFile lock(lockPath);
    bool locked = lock.tryLock(0);
    if (!locked && lock.error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString host;
        QString application;
        // A holder writes its name into the lock the moment it creates it; one that names
        // nobody a moment later was not written by a lock that anybody holds.
        if (!lock.getLockInfo(&pid, &host, &application)) {
            QThread::msleep(100);
            if (!lock.getLockInfo(&pid, &host, &application))
                lock.removeStaleLockFile();
        }
        locked = lock.tryLock(kLockWaitMs);
    }
    if (!locked) {
        problem = lock.error() == QLockFile::LockFailedError
                      ? QStringLiteral("otra copia del programa tiene bloqueados los ajustes.")
                      : QStringLiteral("no se puede crear el archivo de bloqueo ") +
                            Quoted(path + QStringLiteral(".lock")) + QLatin1Char('.');
        return false;
    }
    if (whileLocked)
        whileLocked();
    lock.unlock();
    return true;
}

} // namespace platform::settings_file
