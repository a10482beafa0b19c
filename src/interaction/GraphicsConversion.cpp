#include "GraphicsConversion.h"

#include <algorithm>
#include <cstring>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include "DeviceWriter.h"

namespace {

// Copies `text` into `buffer` (kConversionMessageCapacity characters plus NUL at the most) and
// returns the number of characters copied. A cut never splits a UTF-8 sequence.
int32_t writeMessage(const QByteArray& text, char* buffer) {
  qsizetype length = std::min<qsizetype>(text.size(), interaction::kConversionMessageCapacity);
  const auto isContinuationByte = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; };
  if (length < text.size()) {
    while (length > 0 && isContinuationByte(text[length])) --length;
  }
  std::memcpy(buffer, text.constData(), static_cast<size_t>(length));
  buffer[length] = '\0';
  return static_cast<int32_t>(length);
}

// Writes `image` to `target` as PNG, all or nothing: a failed write never leaves a half-written
// target or spoils an existing one. Returns an empty string or the reason of the failure.
QByteArray writePng(const QImage& image, const QString& target) {
  const fileio::qt::WriteResult result = fileio::qt::replaceFile(target, [&image](QIODevice& out) {
    QImageWriter writer(&out, "png");
    return writer.write(image) ? QString() : writer.errorString();
  });
  return result.written ? QByteArray() : "Cannot write the PNG file: " + result.reason.toUtf8();
}

QByteArray convert(const char* source, const char* target) {
  if (source == nullptr || target == nullptr || *source == '\0' || *target == '\0') {
    return "A file name is missing.";
  }
  QImageReader reader(QFile::decodeName(source));
  const QImage image = reader.read();
  if (image.isNull()) {
    return "Cannot read the source image: " + reader.errorString().toUtf8();
  }
  const QByteArray failure = writePng(image, QFile::decodeName(target));
  return failure.isEmpty() ? QByteArray(interaction::kConversionSucceeded) : failure;
}

}  // namespace

extern "C" int32_t convert_graphics_file_3(const char* source, const char* target, char* message) {
  const QByteArray text = convert(source, target);
  return message == nullptr ? static_cast<int32_t>(text.size()) : writeMessage(text, message);
}

namespace interaction {

bool ConvertGraphicsFile(const QString& source, const QString& target, bool deleteSourceOnSuccess,
                         bool deleteTargetOnFailure, QString& message, GraphicsConverter converter) {
  const bool targetExisted = QFile::exists(target);
  char buffer[kConversionMessageCapacity + 1] = {};
  const int32_t returned = converter(QFile::encodeName(source).constData(),
                                     QFile::encodeName(target).constData(), buffer);
  // A converter that reports a length beyond its buffer must not make us read past it.
  const int32_t length = std::clamp<int32_t>(returned, 0, kConversionMessageCapacity);
  message = QString::fromLocal8Bit(buffer, static_cast<qsizetype>(qstrnlen(buffer, length)));

  const bool succeeded = message == QLatin1String(kConversionSucceeded);
  if (succeeded && deleteSourceOnSuccess) {
    QFile::remove(source);
  }
  if (!succeeded && deleteTargetOnFailure && !targetExisted) {
    QFile::remove(target);  // a failed conversion may have left no file; then this does nothing
  }
  return succeeded;
}

}  // namespace interaction
