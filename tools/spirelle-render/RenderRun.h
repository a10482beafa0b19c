#pragma once
// One run of spirelle-render: draw the picture, write it when asked, report on it.

#include <ostream>
#include <string>

#include "DrawPass.h"
#include "RenderOptions.h"

namespace render {

inline constexpr int kExitDone = 0;
inline constexpr int kExitCannotWrite = 1;  // the picture could not be made or written
inline constexpr int kExitRefused = 2;
inline constexpr int kExitUsage = 64;  // EX_USAGE

// The message of a refused picture in English or German (UTF-8): in the window's range the window's
// own, anywhere below 2^64 one that names the largest start of the picture.
std::string refusalMessage(const spiral::DrawSettings& draw, const spiral::DrawOutcome& outcome, Language language);

// Draws the spiral the options ask for. A refusal goes to `err` and writes no file; otherwise the
// picture is written (when asked) and the facts go to `out`. Returns the exit status.
// Numerals are drawn only while a text drawer is installed (see TextModule.h).
int renderSpiral(const RenderOptions& options, std::ostream& out, std::ostream& err);

}  // namespace render
