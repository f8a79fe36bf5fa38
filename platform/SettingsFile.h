// What stands at the settings file's path, looked at before QSettings opens it. QSettings
// opens whatever is there: a FIFO hangs the start, a symlink to a device gets the device
// replaced at the save, a directory at its lock path hangs the close, and a lock file with
// bad content holds it for half a minute. These checks run first and turn every such case
// into a store that is not used, with the reason in Spanish.
#pragma once

#include <QString>

#include <functional>

namespace platform::settings_file {

// Larger than any settings file the program writes by a wide margin.
inline constexpr qint64 kMaxBytes = 1 << 20;

struct Check {
    bool usable = true;
    QString problem;  // why the store cannot be used, a Spanish sentence; empty when usable
    QString setAside; // where an oversized file was moved to; empty when nothing was moved
};

// Looks at the file (following a symlink to its target) and at its lock path. A regular
// file or nothing is usable; an oversized regular file is renamed to
// "<file>.dañado-<yyyyMMdd-hhmmss>" so that the store starts empty.
Check Inspect(const QString& path);

// How long the store waits for another copy of the program to finish its save.
inline constexpr int kLockWaitMs = 3000;

// Learns that QSettings will be able to take the store's lock right after: at once when
// nothing stands at the lock path, else by taking the lock for a moment, with a bounded
// wait. A lock file whose content names no holder was not written by
// a lock that anybody holds, and is removed. Runs `whileLocked` while holding the lock.
// Returns false, with the reason in `problem`, when the lock cannot be had.
bool WithLock(const QString& path, QString& problem, const std::function<void()>& whileLocked);

} // namespace platform::settings_file
