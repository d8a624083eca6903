// Sheet layout and the catalogue of every picture file the game reads.
#include "sheet.h"

#include "art.h"

namespace assetgen {

std::vector<int> LevelsOf(const SheetLayout& sheet) {
  if (!sheet.multiLevel) return {1};
  return {1, 2, 4};
}

std::string FileName(const SheetLayout& sheet, int level) {
  const char* suffix = level == 4 ? "-hd2" : level == 2 ? "-hd" : "";
  return sheet.name + suffix + ".png";
}

Canvas RenderSheet(const SheetLayout& sheet, int level) {
  Canvas canvas(sheet.PixelWidth(level), sheet.PixelHeight(level));
  int cellW = (sheet.frameW + 2 * sheet.padX) * level;
  int cellH = sheet.frameH * level;
  for (int f = 0; f < sheet.frames; ++f) {
    int x = (f % sheet.columns) * cellW + sheet.padX * level;
    int y = (f / sheet.columns) * cellH;
    Pen pen(canvas, x, y, static_cast<float>(sheet.frameW), static_cast<float>(sheet.frameH),
            static_cast<float>(level));
    sheet.paint(pen, f);
  }
  return canvas;
}

const std::vector<SheetLayout>& AllSheets() {
  // Column counts keep every level-4 sheet within 2048 pixels across.
  static const std::vector<SheetLayout> sheets = {
      {"gfx", 12, 12, 25, 5, PaintField},
      {"power", 12, 12, 25, 5, PaintPower},
      {"Icon", 128, 128, 1, 1, PaintGameIcon},
      {"BadgesA", 64, 64, 64, 8, PaintBadge},
      {"common/circle", 256, 256, 4, 2, PaintCircle},
      {"common/light", 32, 32, 4, 4, PaintLight},
      {"fonts/shadow_editundo", 16, 16, 128, 16, PaintFontCell},
      {"common/FerrowLogo", 256, 256, 1, 1, PaintStudioLogo},
      {"common/dpad", 32, 32, 16, 4, PaintPad},
      {"common/Buttons", 64, 64, 16, 4, PaintButton},
      {"parts", 4, 4, 256, 16, PaintSpark},
      {"common/icons", 32, 32, 16, 4, PaintIcon},
      {"logo", 256, 128, 1, 1, PaintTitle},
      {"menu", 256, 256, 4, 2, PaintMenuArt},
      {"kiln_font", 7, 13, 96, 96, PaintDefaultFontCell, false, 1},
  };
  return sheets;
}

}  // namespace assetgen
