// A picture sheet: a grid of equal frames laid out row by row, the way the
// game's loader cuts it, painted once per resolution level.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "canvas.h"

namespace assetgen {

struct SheetLayout {
  std::string name;      // file base name under the data folder
  int frameW = 0;        // design units
  int frameH = 0;
  int frames = 0;
  int columns = 0;       // frames per row
  std::function<void(Pen&, int)> paint;
  bool multiLevel = true;  // false: one file at level 1 only (the default font)
  int padX = 0;            // transparent pixels left and right of each frame's art

  int Rows() const { return (frames + columns - 1) / columns; }
  int PixelWidth(int level) const { return columns * (frameW + 2 * padX) * level; }
  int PixelHeight(int level) const { return Rows() * frameH * level; }
};

// Levels a sheet is written at and the file name for each.
std::vector<int> LevelsOf(const SheetLayout& sheet);
std::string FileName(const SheetLayout& sheet, int level);

Canvas RenderSheet(const SheetLayout& sheet, int level);

// Every sheet the game loads.
const std::vector<SheetLayout>& AllSheets();

}  // namespace assetgen
