// A file or folder made unwritable for a test's lifetime: by its mode bits, and for an
// administrator, whom mode bits do not stop, by the file system's immutable flag.
#pragma once

#include <QFile>
#include <QString>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <utility>

class Unwritable {
public:
    explicit Unwritable(QString path) : path_(std::move(path)) {
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                         QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
        if (geteuid() == 0) {
            immutable_ = SetImmutable(true);
        }
    }
    ~Unwritable() {
        if (immutable_) {
            SetImmutable(false);
        }
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // Whether writing is really refused (an administrator on a file system without the flag
    // is not stopped).
    bool Holds() const { return geteuid() != 0 || immutable_; }

private:
    bool SetImmutable(bool on) const {
        const int fd = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_NONBLOCK);
        if (fd < 0) {
            return false;
        }
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return ok;
    }
    QString path_;
    bool immutable_ = false;
};
