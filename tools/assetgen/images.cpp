// Sheet jobs write all levels of one sheet; preview jobs lay a sheet's
// level-1 frames out on a checkerboard with each frame's number beneath.
#include "images.h"

#include <algorithm>
#include <cstdio>

#include "colour.h"
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

// Players' field pictures (ship, gem, shot for each) and a rock, on the
// game's black, one row per kind of colour vision under its name: the sheet
// to judge whether colour-blind players can still tell the players apart.
bool WriteVisionSheet(const std::string& dir) {
  const int kZoom = 6, kCell = 12 * kZoom, kGap = 8, kLabel = 20;
  const int kFrames[] = {0, 1, 2, 5, 6, 7, 10, 11, 12, 15, 16, 17, 3};
  const int count = static_cast<int>(sizeof kFrames / sizeof kFrames[0]);
  const SheetLayout* field = nullptr;
  for (const SheetLayout& sheet : AllSheets())
    if (sheet.name == "gfx") field = &sheet;
  if (!field) return false;
  Canvas art = RenderSheet(*field, kZoom);
  int rows = static_cast<int>(sizeof kVisions / sizeof kVisions[0]);
  Canvas out(kGap + count * (kCell + kGap), rows * (kLabel + kCell + kGap) + kGap);
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) out.At(x, y)[3] = 1.0f;
  for (int row = 0; row < rows; ++row) {
    Vision vision = kVisions[row];
    int oy = kGap + row * (kLabel + kCell + kGap);
    Pen label(out, kGap, oy, static_cast<float>(out.Width() - kGap), static_cast<float>(kLabel), 1.0f);
    label.Fill(TextShape(VisionName(vision), {0, 0}, 2.0f), Hex(0xc0c0c0));
    oy += kLabel;
    for (int i = 0; i < count; ++i) {
      int sx = (kFrames[i] % field->columns) * kCell, sy = (kFrames[i] / field->columns) * kCell;
      int ox = kGap + i * (kCell + kGap);
      for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
          // Premultiplied over black is the colour seen; simulate it in linear light.
          const float* s = art.At(sx + x, sy + y);
          Color seen = Simulate(vision, {SrgbToLinear(s[0]), SrgbToLinear(s[1]), SrgbToLinear(s[2])});
          float* d = out.At(ox + x, oy + y);
          d[0] = LinearToSrgb(seen.r);
          d[1] = LinearToSrgb(seen.g);
          d[2] = LinearToSrgb(seen.b);
        }
    }
  }
  return WriteCanvas(out, dir + "/field-vision.png");
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
  jobs.push_back({"field-vision", [previewDir] { return WriteVisionSheet(previewDir); }});
  return jobs;
}

}  // namespace assetgen
