// spirelle-render: draws one spiral picture without a window.

#include <QTextStream>

#include "RenderOptions.h"
#include "RenderRun.h"
#include "TextModule.h"

namespace {

QStringList argumentsOf(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  return arguments;
}

}  // namespace

int main(int argc, char** argv) {
  QTextStream out(stdout);
  QTextStream err(stderr);
  render::ParseResult parsed = render::parseRenderArguments(argumentsOf(argc, argv));
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
  if (!text.error().isEmpty()) {
    err << "spirelle-render: cannot draw numerals: " << text.error() << '\n';
    return render::kExitCannotWrite;
  }
  return render::renderSpiral(options, out, err);
}
