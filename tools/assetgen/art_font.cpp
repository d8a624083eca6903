// Fonts: the game font's 16 x 16 cells (text with a drop shadow, then the
// controller and keyboard button glyphs the text markup draws) and the
// framework's default font strip.
#include <string>

#include "art.h"
#include "pixelfont.h"

namespace assetgen {

namespace {

const Color kShadow = Hex(0x000000, 0.75f);

// Letters each button glyph stands for, in frame order from 96.
const char kButtonKeys[] = "JKLIUOQEFWSAD";

void TextGlyph(Pen& pen, int code) {
  const GlyphBitmap& g = Glyph(code);
  // Glyphs stand on whole pixels so level 1 stays a crisp pixel font.
  Vec2 at{static_cast<float>(8 - (g.width + 1) / 2), 4};
  pen.Fill(GlyphShape(code, {at.x + 1, at.y + 1}, 1), kShadow);
  pen.Fill(GlyphShape(code, at, 1), Hex(0xffffff));
}

void Label(Pen& pen, const std::string& text, Vec2 centre, Color c) {
  float w = TextWidth(text, 1);
  pen.Fill(TextShape(text, {std::floor(centre.x - w * 0.5f + 0.5f), centre.y - 3.5f}, 1), c);
}

void FaceButton(Pen& pen, const char* letter, unsigned colour, bool pressed) {
  Vec2 c{8, pressed ? 8.5f : 8};
  pen.Fill(Circle({8.6f, 8.8f}, 6.2f), kShadow);
  pen.Fill(Circle(c, 6.2f), Hex(0x101014));
  pen.Fill(Circle(c, 5.4f), Radial({6.5f, 6}, 7, Mix(Hex(colour), Hex(0xffffff), pressed ? 0.0f : 0.35f),
                                   Hex(colour).Scaled(pressed ? 0.5f : 0.8f)));
  if (letter) Label(pen, letter, {8, c.y}, Hex(0xffffff));
}

void Shoulder(Pen& pen, const char* label, bool pressed) {
  Vec2 c{8, pressed ? 8.5f : 8};
  pen.Fill(RoundBox({8.6f, 8.8f}, {7.4f, 4.8f}, 2.5f), kShadow);
  pen.Fill(RoundBox(c, {7.4f, 4.8f}, 2.5f), Hex(0x101014));
  pen.Fill(RoundBox(c, {6.6f, 4.0f}, 2.0f), Linear({8, 4}, Hex(pressed ? 0x505660 : 0xb8c0cc), {8, 12}, Hex(0x404650)));
  if (label) Label(pen, label, {8, c.y}, Hex(0xffffff));
}

void Pill(Pen& pen, bool pointsRight) {
  pen.Fill(RoundBox({8.6f, 8.8f}, {6.5f, 3.8f}, 3.5f), kShadow);
  pen.Fill(RoundBox({8, 8}, {6.5f, 3.8f}, 3.5f), Hex(0x101014));
  pen.Fill(RoundBox({8, 8}, {5.7f, 3.0f}, 2.8f), Hex(0x8a92a0));
  float s = pointsRight ? 1.0f : -1.0f;
  pen.Fill(Polygon({{8 - 2 * s, 6}, {8 + 2.5f * s, 8}, {8 - 2 * s, 10}}), Hex(0xffffff));
}

// The direction pad; lit is 0 for none, else 1 up, 2 down, 3 left, 4 right.
void DirectionPad(Pen& pen, int lit) {
  Shape cross = Union(RoundBox({8, 8}, {2.6f, 6.6f}, 1), RoundBox({8, 8}, {6.6f, 2.6f}, 1));
  pen.Fill(Moved(cross, {0.7f, 0.8f}), kShadow);
  pen.Fill(Offset(cross, 0.8f), Hex(0x101014));
  pen.Fill(cross, Hex(0x5a606c));
  const Vec2 arm[5] = {{8, 8}, {8, 3.8f}, {8, 12.2f}, {3.8f, 8}, {12.2f, 8}};
  if (lit > 0) pen.Fill(RoundBox(arm[lit], {2.0f, 2.0f}, 0.6f), Hex(0xffffff));
  pen.Fill(Circle({8, 8}, 1.2f), Hex(0x2a2e36));
}

void KeyCap(Pen& pen, char letter, bool wide, bool pressed) {
  Vec2 half{wide ? 7.0f : 5.6f, 5.6f};
  float lift = pressed ? 0.0f : 1.2f;
  pen.Fill(RoundBox({8.6f, 8.8f}, half, 1.8f), kShadow);
  pen.Fill(RoundBox({8, 8}, half, 1.8f), Hex(0x50545e));
  pen.Fill(RoundBox({8, 8 - lift * 0.5f}, {half.x - 0.8f, half.y - 0.8f - lift * 0.5f}, 1.3f),
           Linear({8, 3}, Hex(0xf4f6fa), {8, 12}, Hex(0xc4c8d2)));
  Label(pen, std::string(1, letter), {8, 8 - lift * 0.5f}, Hex(0x20222a));
}

void ControllerGlyph(Pen& pen, int index) {
  switch (index) {
    case 0: FaceButton(pen, "A", 0x3ec84a, false); break;
    case 1: FaceButton(pen, "B", 0xe8402e, false); break;
    case 2: FaceButton(pen, "X", 0x3a7cf0, false); break;
    case 3: FaceButton(pen, "Y", 0xf2c21e, false); break;
    case 4: Shoulder(pen, "LB", false); break;
    case 5: Shoulder(pen, "RB", false); break;
    case 6: Pill(pen, false); break;
    case 7: Pill(pen, true); break;
    case 8: DirectionPad(pen, 0); break;
    case 9: DirectionPad(pen, 1); break;
    case 10: DirectionPad(pen, 2); break;
    case 11: DirectionPad(pen, 3); break;
    case 12: DirectionPad(pen, 4); break;
    case 13: FaceButton(pen, nullptr, 0x70747e, true); break;  // a face button pressed in
    case 14: Shoulder(pen, nullptr, true); break;
    default: break;
  }
}

void KeyboardGlyph(Pen& pen, int index) {
  if (index < 13) KeyCap(pen, kButtonKeys[index], index == 4 || index == 5, false);
  else if (index == 13) KeyCap(pen, ' ', false, true);
  else if (index == 14) KeyCap(pen, ' ', true, true);
}

}  // namespace

void PaintFontCell(Pen& pen, int frame) {
  if (frame < 96) TextGlyph(pen, frame + 32);
  else if (frame < 112) ControllerGlyph(pen, frame - 96);
  else KeyboardGlyph(pen, frame - 112);
}

void PaintDefaultFontCell(Pen& pen, int frame) {
  int code = frame + 32;
  const GlyphBitmap& g = Glyph(code);
  float left = static_cast<float>((7 - g.width) / 2);
  pen.Fill(GlyphShape(code, {left, 2}, 1), Hex(0xffffff));
}

}  // namespace assetgen
