// The module spirelle-render loads for numerals: Qt Gui, its fonts and the text drawer.

#include <memory>

#include <QGuiApplication>

#include "TextModule.h"
#include "TextPixels.h"

namespace {

std::unique_ptr<QGuiApplication> application;
QtMessageHandler qtDefaultHandler = nullptr;

// Headless machines seldom set XDG_RUNTIME_DIR, and Qt warns about that while it starts. The
// renderer never uses that directory, so this one warning is dropped; every other message passes.
void dropRuntimeDirWarning(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
  qtDefaultHandler(type, context, message);
}

}  // namespace

extern "C" Q_DECL_EXPORT spiral::TextDrawer spirelle_start_text(int* argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qtDefaultHandler = qInstallMessageHandler(dropRuntimeDirWarning);
  application = std::make_unique<QGuiApplication>(*argc, argv);
  return &spiral::textPixels;
}

extern "C" Q_DECL_EXPORT void spirelle_stop_text() {
  application.reset();
  qInstallMessageHandler(qtDefaultHandler);
}
