// The explorer's two inputs from the user: its option vector and the go-to box. The options give
// a view within its ranges or a usage error, never a crash or an exception; a go-to text centres
// the view on its number exactly when it names one of the spiral's, and otherwise moves nothing.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <variant>
#include <vector>

#include <QApplication>

#include "ExploreOptions.h"
#include "ExploreWindow.h"
#include "FuzzArguments.h"
#include "Rule.h"
#include "SilentDesktop.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

void checkOptions(const uint8_t* data, size_t size) {
  const auto result = explorer::parseExploreArguments(argumentsFrom(data, size));
  if (const auto* error = std::get_if<explorer::UsageError>(&result)) {
    check(!error->message.empty());
    return;
  }
  const auto& options = std::get<explorer::ExploreOptions>(result);
  check(options.start >= 1);
  check(!options.centre || *options.centre >= options.start);
  check(spiral::cellSizeOf(options.boxSize).pixels == options.boxSize);
  check(options.showIf.empty() || std::holds_alternative<rules::Rule>(rules::compileRule(options.showIf)));
}

explorer::ExploreWindow& window() {
  static int argc = 1;
  static char name[] = "fuzz";
  static char* argv[] = {name, nullptr};
  static auto* application = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  static SilentDesktop desktop;
  static auto* w = [] {
    explorer::StoredView view;
    view.start = view.centre = 1000000;
    return new explorer::ExploreWindow(desktop, view, 1);
  }();
  (void)application;
  return *w;
}

// A plain reading of the text: digits only between blanks, a value from the start to 2^64 - 1.
bool namesANumber(const std::string& text, spiral::Number start, spiral::Number& value) {
  const std::string trimmed = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).trimmed().toStdString();
  if (trimmed.empty() || trimmed.find_first_not_of("0123456789") != std::string::npos) return false;
  const std::string digits = trimmed.substr(std::min(trimmed.find_first_not_of('0'), trimmed.size() - 1));
  if (digits.size() > 20 || (digits.size() == 20 && digits > "18446744073709551615")) return false;
  value = std::stoull(digits);
  return value >= start;
}

void checkGoTo(const uint8_t* data, size_t size) {
  explorer::ExploreWindow& w = window();
  const std::string text(reinterpret_cast<const char*>(data), size);
  const spiral::PlanePoint before = w.view().topLeft();
  const bool went = w.goTo(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  spiral::Number value = 0;
  check(went == namesANumber(text, w.view().settings().start, value));
  if (went) {
    check(spiral::numberOfCell(w.view().settings().start, w.view().middleCell()) == value);
  } else {
    check(w.view().topLeft().x == before.x && w.view().topLeft().y == before.y && !w.statusText().isEmpty());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  if (data[0] % 2 == 0) {
    checkOptions(data + 1, size - 1);
  } else {
    checkGoTo(data + 1, size - 1);
  }
  return 0;
}
