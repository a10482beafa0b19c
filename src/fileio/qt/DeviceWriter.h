#pragma once
// The all-or-nothing writer of ReplaceFile.h for code that holds Qt's file names and writes
// through a QIODevice: the same operations, converted and nothing more. Names go to the system
// as QFile::encodeName gives them; the system's reasons come back through fromLocal8Bit.

#include <functional>

#include <QByteArray>
#include <QString>

class QIODevice;

namespace fileio::qt {

struct [[nodiscard]] WriteResult {
  bool written = false;
  QString reason;  // when not written: why, in the system's words ("No space left on device")
};

// Writes the whole contents into `out` and returns an empty string, or returns why it could not
// produce them. It need not look at what the writes into `out` return: a failed write fails the
// whole file anyway, with the system's reason.
using DeviceWriter = std::function<QString(QIODevice& out)>;

QString refusalFor(const QString& target);
WriteResult replaceFile(const QString& target, const QByteArray& contents);
WriteResult replaceFile(const QString& target, const DeviceWriter& writeContents);
void removeLeftovers(const QString& folder);

}  // namespace fileio::qt
