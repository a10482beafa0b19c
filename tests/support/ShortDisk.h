#pragma once
// A disk that runs out, for the full-disk tests, in one of two ways: a small tmpfs of its own that
// is filled to leave a given number of bytes free, or a limit on the size of any file written
// (writes past it fail instead of ending the process). The tmpfs is mounted in a mount namespace
// of this process (and of the programs it starts), so nobody else sees it and it goes when the
// process ends; mounting needs root, and where it is not possible available() is false.

#include <sched.h>
#include <sys/resource.h>
#include <sys/mount.h>
#include <sys/statvfs.h>

#include <QtCore>

#include <csignal>

#include "FileContents.h"

class ShortDisk {
 public:
  enum class Kind { FreeSpace, FileSizeLimit };
  static constexpr qint64 kPage = 4096;  // tmpfs hands out space in whole pages

  ShortDisk(Kind kind, qint64 diskBytes) : kind_(kind) {
    if (kind_ == Kind::FileSizeLimit) return;
    const QByteArray options = "size=" + QByteArray::number(diskBytes);
    mounted_ = mountsArePrivate() &&
               ::mount("tmpfs", folderName().constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) == 0;
  }
  ~ShortDisk() { if (mounted_) ::umount2(folderName().constData(), MNT_DETACH); }

  bool available() const { return kind_ == Kind::FileSizeLimit || mounted_; }
  QString filePath(const QString& name) const { return folder_.filePath(name); }

  // Every name in the folder, hidden ones too; the filler is gone once runWith() has returned.
  QStringList names() const { return namesIn(folder_.path()); }

  // Runs `write` with `bytes` free (rounded down to whole pages) or with no file allowed to grow
  // beyond `bytes`. False when the disk could not be made that short.
  template <typename Write>
  bool runWith(qint64 bytes, Write write) {
    if (kind_ == Kind::FileSizeLimit) {
      rlimit saved{};
      getrlimit(RLIMIT_FSIZE, &saved);
      const rlimit limited{static_cast<rlim_t>(bytes), saved.rlim_max};
      const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
      setrlimit(RLIMIT_FSIZE, &limited);
      write();
      setrlimit(RLIMIT_FSIZE, &saved);
      std::signal(SIGXFSZ, oldHandler);
      return true;
    }
    const bool filled = leaveFree(bytes / kPage * kPage);
    if (filled) write();
    QFile::remove(filePath(kFiller));
    return filled;
  }

 private:
  static constexpr char kFiller[] = "filler";

  QByteArray folderName() const { return QFile::encodeName(folder_.path()); }

  qint64 freeBytes() const {
    struct statvfs disk {};
    if (::statvfs(folderName().constData(), &disk) != 0) return -1;
    return qint64(disk.f_bavail) * qint64(disk.f_frsize);
  }

  bool leaveFree(qint64 bytes) {
    const qint64 toFill = freeBytes() - bytes;
    if (toFill < 0) return false;
    QFile filler(filePath(kFiller));
    return filler.open(QIODevice::WriteOnly) && filler.write(QByteArray(toFill, 'f')) == toFill &&
           filler.flush() && freeBytes() == bytes;
  }

  static bool mountsArePrivate() {
    static const bool isPrivate =
        ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return isPrivate;
  }

  QTemporaryDir folder_;
  Kind kind_;
  bool mounted_ = false;
};
