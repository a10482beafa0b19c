// spirelle-render: draws one spiral picture without a window.

#include <memory>

#include <QGuiApplication>
#include <QTextStream>

#include "RenderOptions.h"
#include "RenderRun.h"

namespace {

QtMessageHandler qtDefaultHandler = nullptr;

// Headless machines seldom set XDG_RUNTIME_DIR, and Qt warns about that while it starts. The
// renderer never uses that directory, so this one warning is dropped; every other message passes.
void dropRuntimeDirWarning(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
  qtDefaultHandler(type, context, message);
}

// Text needs Qt's font machinery and so a QGuiApplication. Starting one costs several
// milliseconds, so the renderer starts it only when it will write numerals.
std::unique_ptr<QGuiApplication> startApplicationForText(int& argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qtDefaultHandler = qInstallMessageHandler(dropRuntimeDirWarning);
  return std::make_unique<QGuiApplication>(argc, argv);
}

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
  std::unique_ptr<QGuiApplication> application;
  if (options.draw.numerals) application = startApplicationForText(argc, argv);
  return render::renderSpiral(options, out, err);
}
