#pragma once
// Turns a saved bitmap into a PNG file. The program saves the picture as a bitmap first and has this
// layer convert it; the C entry point keeps the calling convention of a graphics library (8-bit file
// names, a message buffer, the message length as the result), and ConvertGraphicsFile wraps it in Qt
// types.

#include <cstdint>

#include <QString>

extern "C" {

// Reads the image file `source` (any format Qt's image readers know, a bitmap in practice) and writes
// it to `target` as a PNG file. Both names are NUL-terminated 8-bit strings in the local file-name
// encoding. Writes "No Error" into `message` on success and a short reason otherwise; `message` must
// hold kConversionMessageCapacity characters plus the closing NUL, and nothing beyond that is ever
// written. Returns the length of the message. An existing target is replaced only once the new PNG
// has been written completely; a failure leaves it as it was.
int32_t convert_graphics_file_3(const char* source, const char* target, char* message);
}

namespace interaction {

inline constexpr int kConversionMessageCapacity = 255;
inline constexpr char kConversionSucceeded[] = "No Error";

// Anything with the calling convention of convert_graphics_file_3; tests hand in failing ones.
using GraphicsConverter = int32_t (*)(const char* source, const char* target, char* message);

// Converts `source` into `target` with `converter` and returns true when it reported "No Error".
// `message` receives the converter's message. On success the source is deleted when
// `deleteSourceOnSuccess` is set; on failure a target the failed call left behind is deleted when
// `deleteTargetOnFailure` is set. A target that existed before the call is never deleted: it is the
// user's file, not a remnant of the conversion.
bool ConvertGraphicsFile(const QString& source, const QString& target, bool deleteSourceOnSuccess,
                         bool deleteTargetOnFailure, QString& message,
                         GraphicsConverter converter = convert_graphics_file_3);

}  // namespace interaction
