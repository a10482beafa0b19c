// spirelle-render: draws one spiral picture without a window.

#include <iostream>
#include <string>
#include <vector>

#include "RenderOptions.h"
#include "RenderRun.h"
#include "TextModule.h"

int main(int argc, char** argv) {
  std::ostream& out = std::cout;
  std::ostream& err = std::cerr;
  render::ParseResult parsed = render::parseRenderArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (const auto* error = std::get_if<render::UsageError>(&parsed)) {
    err << "spirelle-render: " << error->message << "\n\n" << render::usageText();
    return render::kExitUsage;
  }
  const auto& options = std::get<render::RenderOptions>(parsed);
  if (options.help) {
    out << render::usageText();
    return render::kExitDone;
  }
  if (options.version) {
    out << render::versionText();
    return render::kExitDone;
  }
  if (!options.draw.writesNumerals()) return render::renderSpiral(options, out, err);
  const render::TextModule text(argc, argv);
  if (!text.error().empty()) {
    err << "spirelle-render: cannot draw numerals: " << text.error() << '\n';
    return render::kExitCannotWrite;
  }
  return render::renderSpiral(options, out, err);
}
