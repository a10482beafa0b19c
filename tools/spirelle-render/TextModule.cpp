#include "TextModule.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

#include "Picture.h"

namespace render {

namespace {

using StartText = spiral::TextDrawer (*)(int* argc, char** argv);
using StopText = void (*)();

std::filesystem::path modulePath() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return program.parent_path() / SPIRELLE_TEXT_MODULE_FROM_PROGRAM;
}

std::string lastLoaderError() {
  const char* reason = ::dlerror();
  return reason ? reason : "unknown reason";
}

}  // namespace

TextModule::TextModule(int& argc, char** argv) {
  const std::filesystem::path path = modulePath();
  handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    error_ = lastLoaderError();
    return;
  }
  const auto start = reinterpret_cast<StartText>(::dlsym(handle_, kStartTextSymbol));
  stop_ = reinterpret_cast<StopText>(::dlsym(handle_, kStopTextSymbol));
  if (!start || !stop_) {
    error_ = path.string() + ": the module lacks its functions";
    return;
  }
  spiral::Picture::setTextDrawer(start(&argc, argv));
}

// The module stays loaded: Qt keeps pointers into it until the process ends.
TextModule::~TextModule() {
  spiral::Picture::setTextDrawer(nullptr);
  if (stop_) stop_();
}

}  // namespace render
