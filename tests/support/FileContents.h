#pragma once
// Reading and writing a whole file in one call, and the system's words for a failure, for tests
// that prepare and check files.

#include <cstring>

#include <QByteArray>
#include <QFile>
#include <QString>

// The file's bytes; empty when it cannot be read.
inline QByteArray contentsOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The system's words for the errno `error` ("No space left on device"), in the current locale.
inline QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }
