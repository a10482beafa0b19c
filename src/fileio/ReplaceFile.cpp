#include "ReplaceFile.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QRandomGenerator>

namespace fileio {
namespace {

// Temporary files are named ".spirelle-XXXXXX.tmp" with six random letters and digits: short
// whatever the target's name, so that a target of the longest name the file system allows still
// has room for its temporary file beside it.
constexpr char kTemporaryPrefix[] = ".spirelle-";
constexpr char kTemporarySuffix[] = ".tmp";
constexpr int kRandomLetters = 6;
constexpr int kNamingAttempts = 100;
constexpr int kMostLinksFollowed = 40;  // as many as the kernel follows before it gives up (ELOOP)
constexpr qsizetype kWriteChunk = 64 * 1024;

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// The file a target name stands for once symbolic links are followed, and whether it may be
// replaced.
struct Target {
  QByteArray path;
  std::optional<mode_t> permissions;  // of the existing file, which the new one keeps
  QString refusal;
};

std::optional<QByteArray> linkTarget(const QByteArray& link) {
  char buffer[PATH_MAX];
  const ssize_t length = ::readlink(link.constData(), buffer, sizeof buffer);
  if (length < 0) return std::nullopt;
  const QByteArray target(buffer, length);
  const qsizetype slash = link.lastIndexOf('/');
  if (target.startsWith('/') || slash < 0) return target;
  return link.left(slash + 1) + target;  // relative to the link's own folder
}

Target inspect(const QString& name) {
  Target target{QFile::encodeName(name), std::nullopt, {}};
  for (int followed = 0; followed <= kMostLinksFollowed; ++followed) {
    struct stat status {};
    if (::lstat(target.path.constData(), &status) != 0) {
      if (errno != ENOENT) target.refusal = systemReason(errno);
      return target;  // a missing file is made
    }
    if (!S_ISLNK(status.st_mode)) {
      if (S_ISREG(status.st_mode)) {
        target.permissions = status.st_mode & 07777;
      } else {
        target.refusal = S_ISDIR(status.st_mode) ? systemReason(EISDIR) : QStringLiteral("Not a regular file");
      }
      return target;
    }
    const std::optional<QByteArray> next = linkTarget(target.path);
    if (!next) {
      target.refusal = systemReason(errno);
      return target;
    }
    target.path = *next;
  }
  target.refusal = systemReason(ELOOP);
  return target;
}

QByteArray folderOf(const QByteArray& path) {
  const qsizetype slash = path.lastIndexOf('/');
  if (slash < 0) return ".";
  return slash == 0 ? QByteArray("/") : path.left(slash);
}

QByteArray randomTemporaryName(const QByteArray& folder) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  QByteArray name = folder + '/' + kTemporaryPrefix;
  for (int i = 0; i < kRandomLetters; ++i) {
    name += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters - 1))];
  }
  return name + kTemporarySuffix;
}

// Tries fresh random names until `make(name)` succeeds; returns the name, or nothing with errno
// set when a failure other than a taken name stopped it.
template <typename Make>
std::optional<QByteArray> makeUnderFreeName(const QByteArray& folder, Make make) {
  for (int attempt = 0; attempt < kNamingAttempts; ++attempt) {
    QByteArray name = randomTemporaryName(folder);
    if (make(name)) return name;
    if (errno != EEXIST) return std::nullopt;
  }
  return std::nullopt;  // errno is still EEXIST
}

// The new contents on their way to the target. Unnamed while they are written, where the file
// system can give such a file a name later; otherwise under a temporary name. Until committed,
// whatever it made is removed when it goes.
class TemporaryFile {
 public:
  explicit TemporaryFile(QByteArray folder) : folder_(std::move(folder)) {}
  ~TemporaryFile() {
    if (descriptor_ >= 0) ::close(descriptor_);
    if (!name_.isEmpty()) ::unlink(name_.constData());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  int descriptor() const { return descriptor_; }

  // Returns 0, or the errno of the failure.
  int open() {
    // An unnamed file is named later through /proc; without /proc it could never get a name.
    if (::access("/proc/self/fd", F_OK) == 0) {
      descriptor_ = ::open(folder_.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
      if (descriptor_ >= 0) return 0;
    }
    const std::optional<QByteArray> name = makeUnderFreeName(folder_, [this](const QByteArray& candidate) {
      descriptor_ = ::open(candidate.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
      return descriptor_ >= 0;
    });
    if (!name) return errno;
    name_ = *name;
    return 0;
  }

  // Syncs the complete file to the disk and renames it over `target`. Returns 0, or the errno of
  // the failure; then the target is as it was.
  int commitAs(const QByteArray& target) {
    if (::fsync(descriptor_) != 0) return errno;
    if (name_.isEmpty()) {
      if (const int error = giveName()) return error;
    }
    const int closed = ::close(descriptor_);
    descriptor_ = -1;
    if (closed != 0) return errno;
    if (::rename(name_.constData(), target.constData()) != 0) return errno;
    name_.clear();  // it is the target now
    syncFolder();
    return 0;
  }

 private:
  int giveName() {
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(descriptor_);
    const std::optional<QByteArray> name = makeUnderFreeName(folder_, [&self](const QByteArray& candidate) {
      return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, candidate.constData(), AT_SYMLINK_FOLLOW) == 0;
    });
    if (!name) return errno;
    name_ = *name;
    return 0;
  }

  // So that the rename itself survives a power cut; the file is complete either way.
  void syncFolder() const {
    const int folder = ::open(folder_.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return;
    ::fsync(folder);
    ::close(folder);
  }

  QByteArray folder_;
  QByteArray name_;  // empty while the file has no name
  int descriptor_ = -1;
};

// A write-only device on a file descriptor. It hands the encoders' many small writes to the
// system in large pieces and keeps the first failure, so that neither a short write nor a failed
// last flush can pass unnoticed, whatever the encoder makes of the write's result.
class CheckedDevice final : public QIODevice {
 public:
  explicit CheckedDevice(int descriptor) : descriptor_(descriptor) {
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
  }
  bool isSequential() const override { return true; }

  // Writes what is held back; returns 0, or the errno of the first failed write.
  int finish() {
    writePending();
    return error_;
  }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    if (error_ != 0) return -1;
    pending_.append(data, size);
    if (pending_.size() >= kWriteChunk) writePending();
    return error_ == 0 ? size : -1;
  }

 private:
  void writePending() {
    const char* data = pending_.constData();
    qsizetype left = pending_.size();
    while (left > 0 && error_ == 0) {
      const ssize_t written = ::write(descriptor_, data, static_cast<size_t>(left));
      if (written > 0) {
        data += written;
        left -= written;
      } else if (written == 0) {
        error_ = EIO;
      } else if (errno != EINTR) {
        error_ = errno;
      }
    }
    pending_.clear();
  }

  QByteArray pending_;
  int descriptor_;
  int error_ = 0;
};

WriteResult failure(QString reason) { return {false, std::move(reason)}; }

}  // namespace

QString refusalFor(const QString& target) { return inspect(target).refusal; }

WriteResult replaceFile(const QString& target, const QByteArray& contents) {
  return replaceFile(target, [&contents](QIODevice& out) {
    out.write(contents);
    return QString();
  });
}

WriteResult replaceFile(const QString& targetName, const ContentWriter& writeContents) {
  const Target target = inspect(targetName);
  if (!target.refusal.isEmpty()) return failure(target.refusal);
  TemporaryFile file(folderOf(target.path));
  if (const int error = file.open()) return failure(systemReason(error));
  if (target.permissions) ::fchmod(file.descriptor(), *target.permissions);

  CheckedDevice device(file.descriptor());
  const QString problem = writeContents(device);
  if (const int error = device.finish()) return failure(systemReason(error));
  if (!problem.isEmpty()) return failure(problem);
  if (const int error = file.commitAs(target.path)) return failure(systemReason(error));
  return {true, {}};
}

void removeLeftovers(const QString& folder) {
  const QDir dir(folder);
  const QString pattern = QLatin1String(kTemporaryPrefix) + QString(kRandomLetters, u'?') +
                          QLatin1String(kTemporarySuffix);
  for (const QString& name : dir.entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System)) {
    QFile::remove(dir.filePath(name));
  }
}

}  // namespace fileio
