#pragma once
// Window layouts are drawn up in twips (1/1440 inch); on screen they are laid out at 96 logical
// pixels per inch, 15 twips to the pixel.

#include <QRect>

namespace platform {

inline constexpr int kTwipsPerPixel = 15;

// A length or position in twips in pixels, rounded to the nearest pixel, halves away from zero (a
// control may start a little above or left of its container).
constexpr int twipsToPixels(int twips) {
  constexpr int half = kTwipsPerPixel / 2;
  return twips >= 0 ? (twips + half) / kTwipsPerPixel : -((-twips + half) / kTwipsPerPixel);
}

// A control's place and size given as left, top, width and height in twips.
constexpr QRect twipsRect(int left, int top, int width, int height) {
  return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

}  // namespace platform
