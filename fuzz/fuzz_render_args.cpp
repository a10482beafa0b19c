// The renderer's argument parser on any argument list: it must answer with options or a usage
// error, never crash, and every option it accepts must lie in its documented range.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <variant>

#include <QStringList>

#include "RenderOptions.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

// The arguments are the input split at NUL bytes.
QStringList argumentsFrom(const uint8_t* data, size_t size) {
  QStringList arguments;
  QByteArray current;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      arguments << QString::fromUtf8(current);
      current.clear();
    } else {
      current.append(static_cast<char>(data[i]));
    }
  }
  arguments << QString::fromUtf8(current);
  return arguments;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QStringList arguments = argumentsFrom(data, size);
  const render::ParseResult result = render::parseRenderArguments(arguments);
  if (const auto* error = std::get_if<render::UsageError>(&result)) {
    check(!error->message.isEmpty());
    return 0;
  }
  const auto& options = std::get<render::RenderOptions>(result);
  if (options.help) return 0;
  check(options.size >= 16 && options.size <= 16384);
  const int cell = options.draw.boxSize;
  check(cell == 1 || cell == 3 || cell == 5 || cell == 7 || cell == 15 || cell == 21 || cell == 35 || cell == 75);
  check(options.draw.start >= 0 && options.draw.start <= spiral::kMaxNumber + 1);
  check(options.frames >= 1 && options.frames <= 10000 && options.delayMs >= 20 && options.delayMs <= 10000);
  check(!options.animate || options.outFile.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive));
  return 0;
}
