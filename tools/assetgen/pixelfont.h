// The game's bitmap letters (codes 32 to 127), kept as little pictures of
// set and clear pixels, turned into shapes so they stay sharp at any level.
#pragma once

#include <string>
#include <vector>

#include "shape.h"

namespace assetgen {

struct GlyphBitmap {
  int width = 0;   // columns in use (1 to 7)
  int height = 9;  // rows 0..6 sit on the line, 7..8 are descenders
  std::vector<unsigned char> bits;
  bool Set(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < height && bits[y * width + x];
  }
};

// The bitmap of a character code; codes outside 32..127 give an empty one.
const GlyphBitmap& Glyph(int code);
// The glyph as a shape: its top-left pixel corner at topLeft, each pixel unit wide.
Shape GlyphShape(int code, Vec2 topLeft, float unit);
// A line of text starting at topLeft; glyphs advance by their width plus gap.
Shape TextShape(const std::string& text, Vec2 topLeft, float unit, float gap = 1.0f);
float TextWidth(const std::string& text, float unit, float gap = 1.0f);

}  // namespace assetgen
