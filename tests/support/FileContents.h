#pragma once
// Reading and writing a whole file in one call, the names in a folder and the system's words for a
// failure, for tests that prepare and check files.

#include <cstring>

#include <QtCore>

// The file's bytes; empty when it cannot be read.
inline QByteArray contentsOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Every name in the folder, hidden ones too.
inline QStringList namesIn(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// The system's words for the errno `error` ("No space left on device"), in the current locale.
inline QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }
