#pragma once
// The command line of spirelle-render: what it asks for, and how the arguments are read.

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "DrawPass.h"
#include "Tick.h"
#include "Tiles.h"

namespace render {

enum class Language { English, German };

struct RenderOptions {
  spiral::DrawSettings draw = defaultDrawSettings();
  int size = spiral::kPictureSize;  // the picture is size x size pixels
  Language language = Language::English;
  std::string outFile;             // empty: no picture is written
  std::optional<spiral::Direction> animate;  // set: an animated GIF of Spiral In or Spiral Out
  int frames = 60;                 // the most frames an animation holds
  bool primeSteps = false;         // each step of the animation goes on to the next prime
  int delayMs = 250;               // how long each frame of the animation stays
  std::optional<spiral::Number> inspect;  // set: report this number's cell and the rays through it
  int lines = 0;                   // report the rays with the most primes, this many; 0: none
  bool markLines = false;          // draw the rays of `lines` over the picture
  std::optional<spiral::Number> centre;  // set: the picture is centred on this number's cell
  int cellsPerPixel = 1;           // above 1, with 1-pixel cells: a density level
  bool json = false;
  bool help = false;
  bool version = false;

  // Whether the picture is drawn in tiles: centred on another number than the start, or at a
  // density level.
  bool drawsTiles() const { return centre.has_value() || cellsPerPixel > 1; }
  // The tiles' view and the plane rectangle of the picture: the centre's cell (the start's when
  // no centre is given) in the middle, where the draw pass puts the start's.
  spiral::ViewSettings view() const;
  spiral::PlaneRect pictureRect() const;

  // The window's defaults, except that the renderer writes no numerals unless asked to and draws
  // anywhere below 2^64.
  static spiral::DrawSettings defaultDrawSettings();
};

// Why the arguments could not be read; the message names the offending option or argument.
struct UsageError {
  std::string message;
};

using ParseResult = std::variant<RenderOptions, UsageError>;

// Reads the arguments that follow the program name. Never throws and never exits.
// Arguments are taken as the bytes they are (UTF-8 on any usual system).
ParseResult parseRenderArguments(const std::vector<std::string>& arguments);

// The name --animate gives the direction: "in" or "out".
const char* directionName(spiral::Direction direction);

// The usage text that --help prints and that follows every usage error.
std::string usageText();

// What --version prints: the program, the package and its version.
std::string versionText();

}  // namespace render
