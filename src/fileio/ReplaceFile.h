#pragma once
// Writing a file all or nothing. The new contents go to a temporary file beside the target; every
// write and the final flush are checked, the file is synced to the disk, and only then is it
// renamed over the target. On any failure the temporary file goes and the target stays byte for
// byte as it was, so a full disk never costs the user a file and never leaves half of one behind.
//
// The temporary file has no name while it is written (where the file system allows that), so a
// process killed meanwhile leaves nothing either.
//
// Standard C++ and POSIX only, so that the renderer need not load Qt; the windows go through
// fileio::qt (qt/DeviceWriter.h), which takes Qt's file names and devices.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace fileio {

struct [[nodiscard]] WriteResult {
  bool written = false;
  std::string reason;  // when not written: why, in the system's words ("No space left on device")
};

// Where the new contents go. Writes are gathered and handed to the system in large pieces; the first
// failure is kept and fails the whole file, so a writer need not check anything.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // False once a write has failed: what follows is dropped, and a writer may stop early.
  virtual bool write(const char* data, std::size_t size) = 0;
};

// Writes the whole contents into `out` and returns an empty string, or returns why it could not
// produce them. A failed write into `out` fails the whole file anyway, with the system's reason.
using ContentWriter = std::function<std::string(ByteSink& out)>;

// Why `target` must not be replaced, or an empty string when it may: a missing file, a regular
// file and a symbolic link to either (written through to the file it names) may be; a directory,
// a device, a FIFO or a socket may not. File names are the bytes the system takes.
std::string refusalFor(const std::string& target);

WriteResult replaceFile(const std::string& target, std::string_view contents);
WriteResult replaceFile(const std::string& target, const ContentWriter& writeContents);

// Removes from `folder` the temporary files that a write cut short by a crash left there.
void removeLeftovers(const std::string& folder);

}  // namespace fileio
