#pragma once
// The window is laid out in twips (1/1440 inch) at 15 twips per pixel, that is at 96 pixels per inch.

namespace app {

inline constexpr int kTwipsPerPixel = 15;

// Rounded to the nearest pixel, halves away from zero.
constexpr int twipsToPixels(int twips) {
  constexpr int half = kTwipsPerPixel / 2;
  return twips >= 0 ? (twips + half) / kTwipsPerPixel : -((-twips + half) / kTwipsPerPixel);
}

}  // namespace app
