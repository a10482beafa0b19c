// The renderer's argument parser on any argument list: it must answer with options or a usage
// error, never crash nor let an exception of its parser out, every usage error must name the option
// or the argument at fault first, and every option it accepts must lie in its documented range and
// fit the others.

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <variant>
#include <vector>

#include "FuzzArguments.h"
#include "RenderOptions.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> arguments = argumentsFrom(data, size);
  const render::ParseResult result = render::parseRenderArguments(arguments);
  if (const auto* error = std::get_if<render::UsageError>(&result)) {
    check(error->message.starts_with("--") || error->message.starts_with("unknown option or argument '"));
    return 0;
  }
  const auto& options = std::get<render::RenderOptions>(result);
  if (options.help || options.version) return 0;
  check(options.size >= 16 && options.size <= 16384);
  const int cell = options.draw.boxSize;
  check(cell == 1 || cell == 3 || cell == 5 || cell == 7 || cell == 15 || cell == 21 || cell == 35 || cell == 75);
  check(options.draw.range.largest == spiral::kWholeRange.largest && !options.draw.range.classLimits);
  check(options.frames >= 1 && options.frames <= 10000 && options.delayMs >= 20 && options.delayMs <= 10000);
  std::string ending = options.outFile.substr(options.outFile.size() - std::min<size_t>(4, options.outFile.size()));
  for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  check(!options.animate || ending == ".gif");
  // The lens: a number of the picture (unless the picture is refused), a list of 1 to 1000 rays that
  // the marks need, neither with an animation, and the shown cells recorded just when it looks.
  check(options.lines >= 0 && options.lines <= 1000 && (!options.markLines || options.lines > 0));
  check(!options.animate || (!options.inspect && options.lines == 0));
  check(options.draw.recordShown == (options.inspect || options.lines > 0));
  // An own rule stands instead of a class and gives the class row it draws with; a quadratic lies
  // within its limits and marks one picture.
  check((options.draw.ownRule != nullptr) == !options.showIf.empty());
  check(!options.draw.ownRule || options.draw.numberClass == spiral::classDrawnLike(*options.draw.ownRule));
  check(!options.markQuadratic || (options.markQuadratic->withinLimits() && !options.animate));
  const spiral::DrawOutcome picture = spiral::validateRequest(options.draw, options.size, options.size);
  check(!options.inspect || picture.refusal != spiral::Refusal::None ||
        (*options.inspect >= picture.startNumber && *options.inspect <= picture.endNumber));
  return 0;
}
