#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace tivora::test {

// A small file system of its own that a test fills to the last byte: a tmpfs mounted in a
// private mount namespace of this thread, so nothing outside the test sees it. Needs root (or
// CAP_SYS_ADMIN); isValid() says why not.
class FullDisk final {
public:
    explicit FullDisk(const char* size = "64k") {
        if (!folder_.isValid()) {
            why_ = QStringLiteral("no temporary folder");
            return;
        }
        static const int shared = [] {
            if (::unshare(CLONE_NEWNS) != 0) {
                return errno;
            }
            // Mounts made here stay in this namespace.
            return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 ? 0 : errno;
        }();
        if (shared != 0) {
            why_ = QStringLiteral("no private mount namespace: ") +
                   QString::fromLocal8Bit(std::strerror(shared));
            return;
        }
        const QByteArray options = QByteArray("size=") + size + ",mode=0755";
        if (::mount("tivora-full-disk", QFile::encodeName(folder_.path()).constData(), "tmpfs", 0,
                    options.constData()) != 0) {
            why_ = QStringLiteral("no tmpfs: ") + QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        mounted_ = true;
    }
    ~FullDisk() {
        if (mounted_) {
            ::umount2(QFile::encodeName(folder_.path()).constData(), MNT_DETACH);
        }
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    [[nodiscard]] bool isValid() const { return mounted_; }
    [[nodiscard]] const QString& why() const { return why_; }
    [[nodiscard]] QString filePath(const QString& name) const { return folder_.filePath(name); }

    // Takes every free block; true once a write failed for want of space.
    bool fill() {
        const int fd = ::open(QFile::encodeName(filePath(QStringLiteral(".filler"))).constData(),
                              O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (fd < 0) {
            return false;
        }
        const QByteArray block(512, 'f');
        int error = 0;
        for (;;) {
            if (::write(fd, block.constData(), block.size()) < 0) {
                error = errno;
                break;
            }
        }
        ::close(fd);
        return error == ENOSPC;
    }

private:
    QTemporaryDir folder_;
    QString why_;
    bool mounted_ = false;
};

}  // namespace tivora::test
