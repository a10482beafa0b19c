// The graphics-conversion layer on any bytes as the bitmap: it must report success exactly when it
// wrote a PNG, keep its message within the buffer, and return the message's length.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "GraphicsConversion.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static QTemporaryDir folder;
  const QString source = folder.filePath(QStringLiteral("input.bmp"));
  const QString target = folder.filePath(QStringLiteral("output.png"));
  QFile::remove(target);
  {
    QFile file(source);
    check(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  char message[interaction::kConversionMessageCapacity + 1 + 16];
  std::memset(message, 'x', sizeof message);
  message[interaction::kConversionMessageCapacity] = '\0';
  const int32_t length = convert_graphics_file_3(QFile::encodeName(source).constData(),
                                                 QFile::encodeName(target).constData(), message);
  for (size_t i = interaction::kConversionMessageCapacity + 1; i < sizeof message; ++i) check(message[i] == 'x');
  check(length >= 0 && length <= interaction::kConversionMessageCapacity);
  check(static_cast<size_t>(length) == std::strlen(message));
  const bool succeeded = std::strcmp(message, interaction::kConversionSucceeded) == 0;
  check(succeeded == QFile::exists(target));
  if (succeeded) check(!QImage(target).isNull());
  return 0;
}
