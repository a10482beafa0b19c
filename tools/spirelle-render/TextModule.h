#pragma once
// The renderer's text: Qt's fonts live in Qt Gui, whose libraries cost more to load than a small
// picture takes to draw. The text drawing is therefore a module of its own, loaded only for a
// picture that carries numerals.

#include <string>

namespace render {

// The two functions the module exports.
inline constexpr char kStartTextSymbol[] = "spirelle_start_text";
inline constexpr char kStopTextSymbol[] = "spirelle_stop_text";

// Loads the module, starts Qt Gui and installs the text drawer for the pictures; stops Qt Gui
// again when it goes. The module is looked for where the installation puts it relative to the
// running program, which is also where the build tree keeps it.
class TextModule {
 public:
  TextModule(int& argc, char** argv);
  ~TextModule();
  TextModule(const TextModule&) = delete;
  TextModule& operator=(const TextModule&) = delete;

  // Empty when the text drawer is installed; otherwise why not.
  const std::string& error() const { return error_; }

 private:
  void* handle_ = nullptr;
  void (*stop_)() = nullptr;
  std::string error_;
};

}  // namespace render
