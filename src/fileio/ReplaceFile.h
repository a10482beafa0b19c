#pragma once
// Writing a file all or nothing. The new contents go to a temporary file beside the target; every
// write and the final flush are checked, the file is synced to the disk, and only then is it
// renamed over the target. On any failure the temporary file goes and the target stays byte for
// byte as it was, so a full disk never costs the user a file and never leaves half of one behind.
//
// The temporary file has no name while it is written (where the file system allows that), so a
// process killed meanwhile leaves nothing either.

#include <functional>

#include <QByteArray>
#include <QString>

class QIODevice;

namespace fileio {

struct [[nodiscard]] WriteResult {
  bool written = false;
  QString reason;  // when not written: why, in the system's words ("No space left on device")
};

// Writes the whole contents into `out` and returns an empty string, or returns why it could not
// produce them. It need not look at what the writes into `out` return: a failed write fails the
// whole file anyway, with the system's reason.
using ContentWriter = std::function<QString(QIODevice& out)>;

// Why `target` must not be replaced, or an empty string when it may: a missing file, a regular
// file and a symbolic link to either (written through to the file it names) may be; a directory,
// a device, a FIFO or a socket may not.
QString refusalFor(const QString& target);

WriteResult replaceFile(const QString& target, const QByteArray& contents);
WriteResult replaceFile(const QString& target, const ContentWriter& writeContents);

// Removes from `folder` the temporary files that a write cut short by a crash left there.
void removeLeftovers(const QString& folder);

}  // namespace fileio
