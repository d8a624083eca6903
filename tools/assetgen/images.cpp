// Sheet jobs write all levels of one sheet; preview jobs lay a sheet's
// level-1 frames out on a checkerboard with each frame's number beneath.
#include "images.h"

#include <algorithm>
#include <cstdio>

#include "png.h"
#include "pixelfont.h"
#include "sheet.h"

namespace assetgen {

namespace {

bool WriteCanvas(const Canvas& canvas, const std::string& path) {
  std::vector<uint8_t> png = EncodePng(canvas.ToRgba8(), canvas.Width(), canvas.Height());
  if (png.empty() || !WriteFile(path, png)) {
    std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

bool WriteSheet(const SheetLayout& sheet, const std::string& dataDir) {
  for (int level : LevelsOf(sheet))
    if (!WriteCanvas(RenderSheet(sheet, level), dataDir + "/" + FileName(sheet, level))) return false;
  return true;
}

void Checker(Canvas& out, int x0, int y0, int w, int h) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float v = ((x / 8 + y / 8) % 2) ? 0.32f : 0.24f;
      float* d = out.At(x0 + x, y0 + y);
      d[0] = d[1] = d[2] = v;
      d[3] = 1;
    }
}

// Copies a frame, magnified by a whole factor, over the checkerboard.
void Blit(const Canvas& src, int sx, int sy, int w, int h, Canvas& out, int ox, int oy, int zoom) {
  for (int y = 0; y < h * zoom; ++y)
    for (int x = 0; x < w * zoom; ++x) {
      const float* s = src.At(sx + x / zoom, sy + y / zoom);
      float* d = out.At(ox + x, oy + y);
      for (int k = 0; k < 4; ++k) d[k] = s[k] + d[k] * (1.0f - s[3]);
    }
}

bool WritePreview(const SheetLayout& sheet, const std::string& dir) {
  Canvas art = RenderSheet(sheet, 1);
  int fw = sheet.frameW + 2 * sheet.padX, fh = sheet.frameH;
  int zoom = std::max(1, 48 / std::max(fw, fh));
  int cellW = std::max(fw * zoom, 40) + 8, cellH = fh * zoom + 20;
  int cols = std::max(1, std::min(sheet.frames, 1024 / cellW));
  if (!sheet.multiLevel) cols = 16;
  int rows = (sheet.frames + cols - 1) / cols;
  Canvas out(cols * cellW, rows * cellH);
  for (int f = 0; f < sheet.frames; ++f) {
    int ox = (f % cols) * cellW + 4, oy = (f / cols) * cellH + 4;
    Checker(out, ox, oy, fw * zoom, fh * zoom);
    int col = sheet.multiLevel ? f % sheet.columns : f;
    int row = sheet.multiLevel ? f / sheet.columns : 0;
    Blit(art, col * fw, row * fh, fw, fh, out, ox, oy, zoom);
    Pen label(out, ox, oy + fh * zoom + 3, static_cast<float>(cellW - 8), 12.0f, 1.0f);
    label.Fill(TextShape(std::to_string(f), {0, 0}, 1.0f), Hex(0xffffff));
  }
  std::string flat = sheet.name;
  std::replace(flat.begin(), flat.end(), '/', '_');
  return WriteCanvas(out, dir + "/" + flat + ".png");
}

}  // namespace

std::vector<Job> ImageJobs(const std::string& dataDir) {
  std::vector<Job> jobs;
  for (const SheetLayout& sheet : AllSheets())
    jobs.push_back({sheet.name, [&sheet, dataDir] { return WriteSheet(sheet, dataDir); }});
  return jobs;
}

std::vector<Job> PreviewJobs(const std::string& previewDir) {
  std::vector<Job> jobs;
  for (const SheetLayout& sheet : AllSheets())
    jobs.push_back({sheet.name, [&sheet, previewDir] { return WritePreview(sheet, previewDir); }});
  return jobs;
}

}  // namespace assetgen
