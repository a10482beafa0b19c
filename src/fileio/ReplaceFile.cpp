#include "ReplaceFile.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <optional>
#include <random>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fileio {
namespace {

// Temporary files are named ".spirelle-XXXXXX.tmp" with six random letters and digits: short
// whatever the target's name, so that a target of the longest name the file system allows still
// has room for its temporary file beside it.
constexpr std::string_view kTemporaryPrefix = ".spirelle-";
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr int kRandomLetters = 6;
constexpr int kNamingAttempts = 100;
constexpr int kMostLinksFollowed = 40;  // as many as the kernel follows before it gives up (ELOOP)
constexpr std::size_t kWriteChunk = 64 * 1024;

std::string systemReason(int error) { return std::strerror(error); }

// The file a target name stands for once symbolic links are followed, and whether it may be
// replaced.
struct Target {
  std::string path;
  std::optional<mode_t> permissions;  // of the existing file, which the new one keeps
  std::string refusal;
};

std::optional<std::string> linkTarget(const std::string& link) {
  char buffer[PATH_MAX];
  const ssize_t length = ::readlink(link.c_str(), buffer, sizeof buffer);
  if (length < 0) return std::nullopt;
  std::string target(buffer, static_cast<std::size_t>(length));
  const std::size_t slash = link.rfind('/');
  if (target.starts_with('/') || slash == std::string::npos) return target;
  return link.substr(0, slash + 1) + target;  // relative to the link's own folder
}

Target inspect(const std::string& name) {
  Target target{name, std::nullopt, {}};
  for (int followed = 0; followed <= kMostLinksFollowed; ++followed) {
    struct stat status {};
    if (::lstat(target.path.c_str(), &status) != 0) {
      if (errno != ENOENT) target.refusal = systemReason(errno);
      return target;  // a missing file is made
    }
    if (!S_ISLNK(status.st_mode)) {
      if (S_ISREG(status.st_mode)) {
        target.permissions = status.st_mode & 07777;
      } else {
        target.refusal = S_ISDIR(status.st_mode) ? systemReason(EISDIR) : "Not a regular file";
      }
      return target;
    }
    std::optional<std::string> next = linkTarget(target.path);
    if (!next) {
      target.refusal = systemReason(errno);
      return target;
    }
    target.path = std::move(*next);
  }
  target.refusal = systemReason(ELOOP);
  return target;
}

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string randomTemporaryName(const std::string& folder) {
  static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  thread_local std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> letter(0, kLetters.size() - 1);
  std::string name = folder + '/';
  name += kTemporaryPrefix;
  for (int i = 0; i < kRandomLetters; ++i) name += kLetters[letter(generator)];
  name += kTemporarySuffix;
  return name;
}

// Whether a name in a folder has the shape of randomTemporaryName()'s: the prefix, any six
// characters (of UTF-8, counted as characters rather than bytes) and the suffix.
bool isTemporaryName(std::string_view name) {
  if (!name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix)) return false;
  if (name.size() < kTemporaryPrefix.size() + kTemporarySuffix.size()) return false;
  const std::string_view middle =
      name.substr(kTemporaryPrefix.size(), name.size() - kTemporaryPrefix.size() - kTemporarySuffix.size());
  int characters = 0;
  for (const char byte : middle) {
    if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) ++characters;
  }
  return characters == kRandomLetters;
}

// Tries fresh random names until `make(name)` succeeds; returns the name, or nothing with errno
// set when a failure other than a taken name stopped it.
template <typename Make>
std::optional<std::string> makeUnderFreeName(const std::string& folder, Make make) {
  for (int attempt = 0; attempt < kNamingAttempts; ++attempt) {
    std::string name = randomTemporaryName(folder);
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
  explicit TemporaryFile(std::string folder) : folder_(std::move(folder)) {}
  ~TemporaryFile() {
    if (descriptor_ >= 0) ::close(descriptor_);
    if (!name_.empty()) ::unlink(name_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  int descriptor() const { return descriptor_; }

  // Returns 0, or the errno of the failure.
  int open() {
    // An unnamed file is named later through /proc; without /proc it could never get a name.
    if (::access("/proc/self/fd", F_OK) == 0) {
      descriptor_ = ::open(folder_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
      if (descriptor_ >= 0) return 0;
    }
    std::optional<std::string> name = makeUnderFreeName(folder_, [this](const std::string& candidate) {
      descriptor_ = ::open(candidate.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
      return descriptor_ >= 0;
    });
    if (!name) return errno;
    name_ = std::move(*name);
    return 0;
  }

  // Syncs the complete file to the disk and renames it over `target`. Returns 0, or the errno of
  // the failure; then the target is as it was.
  int commitAs(const std::string& target) {
    if (::fsync(descriptor_) != 0) return errno;
    if (name_.empty()) {
      if (const int error = giveName()) return error;
    }
    const int closed = ::close(descriptor_);
    descriptor_ = -1;
    if (closed != 0) return errno;
    if (::rename(name_.c_str(), target.c_str()) != 0) return errno;
    name_.clear();  // it is the target now
    syncFolder();
    return 0;
  }

 private:
  int giveName() {
    const std::string self = "/proc/self/fd/" + std::to_string(descriptor_);
    std::optional<std::string> name = makeUnderFreeName(folder_, [&self](const std::string& candidate) {
      return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0;
    });
    if (!name) return errno;
    name_ = std::move(*name);
    return 0;
  }

  // So that the rename itself survives a power cut; the file is complete either way.
  void syncFolder() const {
    const int folder = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return;
    ::fsync(folder);
    ::close(folder);
  }

  std::string folder_;
  std::string name_;  // empty while the file has no name
  int descriptor_ = -1;
};

// The sink on a file descriptor. It hands the encoders' many small writes to the system in large
// pieces and keeps the first failure, so that neither a short write nor a failed last flush can
// pass unnoticed, whatever the encoder makes of it.
class CheckedSink final : public ByteSink {
 public:
  explicit CheckedSink(int descriptor) : descriptor_(descriptor) {}

  bool write(const char* data, std::size_t size) override {
    if (error_ != 0) return false;
    pending_.append(data, size);
    if (pending_.size() >= kWriteChunk) writePending();
    return error_ == 0;
  }

  // Writes what is held back; returns 0, or the errno of the first failed write.
  int finish() {
    writePending();
    return error_;
  }

 private:
  void writePending() {
    const char* data = pending_.data();
    std::size_t left = pending_.size();
    while (left > 0 && error_ == 0) {
      const ssize_t written = ::write(descriptor_, data, left);
      if (written > 0) {
        data += written;
        left -= static_cast<std::size_t>(written);
      } else if (written == 0) {
        error_ = EIO;
      } else if (errno != EINTR) {
        error_ = errno;
      }
    }
    pending_.clear();
  }

  std::string pending_;
  int descriptor_;
  int error_ = 0;
};

WriteResult failure(std::string reason) { return {false, std::move(reason)}; }

}  // namespace

std::string refusalFor(const std::string& target) { return inspect(target).refusal; }

WriteResult replaceFile(const std::string& target, std::string_view contents) {
  return replaceFile(target, [contents](ByteSink& out) {
    out.write(contents.data(), contents.size());
    return std::string();
  });
}

WriteResult replaceFile(const std::string& targetName, const ContentWriter& writeContents) {
  const Target target = inspect(targetName);
  if (!target.refusal.empty()) return failure(target.refusal);
  TemporaryFile file(folderOf(target.path));
  if (const int error = file.open()) return failure(systemReason(error));
  if (target.permissions) ::fchmod(file.descriptor(), *target.permissions);

  CheckedSink sink(file.descriptor());
  std::string problem = writeContents(sink);
  if (const int error = sink.finish()) return failure(systemReason(error));
  if (!problem.empty()) return failure(std::move(problem));
  if (const int error = file.commitAs(target.path)) return failure(systemReason(error));
  return {true, {}};
}

void removeLeftovers(const std::string& folder) {
  DIR* const listing = ::opendir(folder.empty() ? "." : folder.c_str());
  if (listing == nullptr) return;
  const int folderDescriptor = ::dirfd(listing);
  while (const dirent* entry = ::readdir(listing)) {
    if (!isTemporaryName(entry->d_name)) continue;
    // Folders stay, whatever their names; a link is removed unless it names a folder.
    struct stat status {};
    if (::fstatat(folderDescriptor, entry->d_name, &status, 0) == 0 && S_ISDIR(status.st_mode)) continue;
    ::unlinkat(folderDescriptor, entry->d_name, 0);
  }
  ::closedir(listing);
}

}  // namespace fileio
