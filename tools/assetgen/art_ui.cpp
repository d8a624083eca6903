// Interface pictures: the on-screen pad (bank 94), the mode icons, cog and
// toolchain badge (bank 95) and the small icons (bank 97). Icons are white
// with a soft shadow because the game tints them when it draws.
#include <vector>

#include "art.h"
#include "pixelfont.h"

namespace assetgen {

namespace {

const Color kWhite = Hex(0xffffff);
const Color kShade = Hex(0x000000, 0.55f);

void WhiteIcon(Pen& pen, const Shape& s) {
  pen.Fill(Moved(s, {0.8f, 1.0f}), kShade, Blend::Over, 0.8f);
  pen.Fill(s, kWhite);
}

Shape Arrow(Vec2 c, float size, float degrees) {
  std::vector<Vec2> pts = {{0, -1.0f}, {0.9f, 0.05f}, {0.35f, 0.05f}, {0.35f, 0.9f},
                           {-0.35f, 0.9f}, {-0.35f, 0.05f}, {-0.9f, 0.05f}};
  for (Vec2& p : pts) p = c + p * size;
  return Rotated(Polygon(pts), c, degrees);
}

Shape ShipOutline(Vec2 c, float size, float degrees) {
  std::vector<Vec2> pts = {{0, -1.0f}, {0.8f, 0.75f}, {0, 0.35f}, {-0.8f, 0.75f}};
  for (Vec2& p : pts) p = c + p * size;
  return Rotated(Polygon(pts), c, degrees);
}

// The player's own ship, as on the field, centred on c and about 1.75 x
// size from nose to tail.
void ColourShip(Pen& pen, Vec2 c, float size, float degrees, int player) {
  Shape s = Rotated(Moved(Scaled(ShipHull(player), {6, 6}, size * 0.175f), c - Vec2(6, 6)), c, degrees);
  pen.Fill(Offset(s, size * 0.12f), Hex(0x0a0a14, 0.9f));
  pen.Fill(s, Mix(PlayerColor(player), kWhite, 0.15f));
}

Shape Heart(Vec2 c, float r) {
  Shape lobes = Union(Circle({c.x - r * 0.5f, c.y - r * 0.25f}, r * 0.55f),
                      Circle({c.x + r * 0.5f, c.y - r * 0.25f}, r * 0.55f));
  return Union(lobes, Polygon({{c.x - r * 1.02f, c.y - r * 0.1f}, {c.x + r * 1.02f, c.y - r * 0.1f},
                               {c.x, c.y + r * 1.0f}}));
}

// The disc behind each mode icon on the dial.
void ModeDisc(Pen& pen, Color rim) {
  Vec2 c = pen.Centre();
  pen.Fill(Circle(c, 30), Hex(0x000000, 0.35f), Blend::Over, 2.0f);
  pen.Fill(Circle(c, 28), Radial({26, 22}, 34, Hex(0x2a3350), Hex(0x0c1020)));
  pen.Fill(Ring(c, 27, 2.5f), rim);
  pen.Fill(Arc(c, 23.5f, 290, 350, 1.5f), Hex(0xffffff, 0.35f));
}

void Stopwatch(Pen& pen) {
  Vec2 c{32, 34};
  pen.Fill(RoundBox({32, 12.5f}, {4, 2.5f}, 1), Hex(0xffc84a));
  pen.Fill(Capsule({41, 17}, {44, 14}, 1.6f), Hex(0xffc84a));
  pen.Fill(Circle(c, 15), Hex(0xffc84a));
  pen.Fill(Circle(c, 12.5f), Hex(0xfff6dc));
  for (int k = 0; k < 12; ++k) pen.Fill(Capsule(Polar(c, 10, k * 30.0f), Polar(c, 11.3f, k * 30.0f), 0.5f), Hex(0x503c1e));
  pen.Fill(Capsule(c, Polar(c, 9, 60), 1.1f), Hex(0xe03020));
  pen.Fill(Capsule(c, Polar(c, 6, 0), 1.1f), Hex(0x503c1e));
  pen.Fill(Circle(c, 1.8f), Hex(0x503c1e));
}

void Hearts(Pen& pen) {
  const Vec2 at[3] = {{21, 27}, {43, 27}, {32, 43}};
  for (const Vec2& c : at) {
    pen.Fill(Offset(Heart(c, 8), 1.2f), Hex(0x200008));
    pen.Fill(Heart(c, 8), Linear({c.x, c.y - 8}, Hex(0xff7a8a), {c.x, c.y + 8}, Hex(0xd0142c)));
    pen.Fill(Circle({c.x - 4, c.y - 3.5f}, 1.6f), Hex(0xffffff, 0.7f));
  }
}

void Shield(Pen& pen) {
  Shape shield = Union(RoundBox({32, 22}, {15, 9}, 3),
                       Polygon({{17, 24}, {47, 24}, {45, 36}, {32, 50}, {19, 36}}));
  pen.Fill(Offset(shield, 1.5f), Hex(0x061410));
  pen.Fill(shield, Linear({32, 13}, Hex(0x7cf0a8), {32, 50}, Hex(0x148a4a)));
  pen.Fill(Outline(Offset(shield, -3), 1.2f), Hex(0xffffff, 0.4f));
  ColourShip(pen, {32, 31}, 9, 0, 1);
}

void Battle(Pen& pen, int players) {
  Vec2 c{32, 32};
  if (players == 2) {
    ColourShip(pen, {19, 32}, 10, 90, 1);
    ColourShip(pen, {45, 32}, 10, 270, 2);
  } else {
    float step = 360.0f / players;
    for (int p = 0; p < players; ++p) {
      float a = p * step + (players == 3 ? 0 : 45);
      ColourShip(pen, Polar(c, 15, a), 8.5f, a + 180, p + 1);
    }
  }
  pen.Fill(Star(c, 5, 2, 4, 45), Hex(0xfff3b0));
}

void CogLayer(Pen& pen, int layer) {
  Vec2 c = pen.Centre();
  if (layer == 0) {  // the large outer cog
    Shape cog = Subtract(Gear(c, 25, 30, 16, 0), Circle(c, 20));
    pen.Fill(Offset(cog, 1), Hex(0x0a0c12, 0.8f));
    pen.Fill(cog, Radial(c, 30, Hex(0xdfe6f0), Hex(0x8894a8)));
  } else if (layer == 1) {  // the middle cog, turning the other way
    Shape cog = Subtract(Gear(c, 15.5f, 19.5f, 10, 18), Circle(c, 11));
    pen.Fill(Offset(cog, 1), Hex(0x0a0c12, 0.8f));
    pen.Fill(cog, Radial(c, 20, Hex(0xffe7a0), Hex(0xc08a28)));
  } else {  // the hub
    Shape hub = Subtract(Gear(c, 7.5f, 10, 6, 0), Circle(c, 3));
    pen.Fill(Offset(hub, 1), Hex(0x0a0c12, 0.8f));
    pen.Fill(hub, Radial(c, 10, Hex(0xffffff), Hex(0xa8b4c8)));
  }
}

void ToolchainBadge(Pen& pen) {
  Vec2 c = pen.Centre();
  pen.Fill(Offset(RegularPolygon(c, 27, 6, 0), 1.5f), Hex(0x061020));
  pen.Fill(RegularPolygon(c, 27, 6, 0), Linear({32, 5}, Hex(0x3b8fd6), {32, 59}, Hex(0x0b3f78)));
  pen.Fill(Polygon({Polar(c, 27, 60), Polar(c, 27, 120), Polar(c, 27, 180), c}), Hex(0x000000, 0.22f));
  std::string text = "C++";
  float w = TextWidth(text, 2.4f);
  pen.Fill(TextShape(text, {32 - w * 0.5f, 17}, 2.4f), kWhite);
  float w2 = TextWidth("17", 1.6f);
  pen.Fill(TextShape("17", {32 - w2 * 0.5f, 37}, 1.6f), Hex(0xcfe6ff));
}

}  // namespace

void PaintPad(Pen& pen, int frame) {
  Vec2 c = pen.Centre();
  auto plate = [&](const Shape& s) {
    pen.Fill(Offset(s, 1), Hex(0x000000, 0.5f));
    pen.Fill(s, Linear({16, 2}, Hex(0x5c6478, 0.9f), {16, 30}, Hex(0x262a36, 0.9f)));
    pen.Fill(Outline(s, 1), Hex(0xffffff, 0.35f));
  };
  switch (frame) {
    case 0:  // fire
      pen.Fill(Circle(c, 14), Hex(0x000000, 0.5f));
      pen.Fill(Circle(c, 13), Radial({13, 11}, 16, Hex(0xff8a5c), Hex(0xb01c10)));
      pen.Fill(Ring(c, 12.5f, 1.2f), Hex(0xffffff, 0.5f));
      pen.Fill(Star(c, 7, 2.6f, 4, 0), Hex(0xffffff, 0.9f));
      break;
    case 1: case 4: case 6: case 9: {
      float angle = frame == 1 ? 0 : frame == 6 ? 90 : frame == 9 ? 180 : 270;
      plate(RoundBox(c, {13, 13}, 4));
      pen.Fill(Arrow(c, 8, angle), Hex(0xffffff, 0.9f));
      break;
    }
    case 5:  // the centre of the pad
      plate(RoundBox(c, {13, 13}, 4));
      pen.Fill(Circle(c, 5), Hex(0x000000, 0.35f));
      pen.Fill(Ring(c, 5, 1.2f), Hex(0xffffff, 0.4f));
      break;
    default:
      break;
  }
}

void PaintButton(Pen& pen, int frame) {
  switch (frame) {
    case 0: ModeDisc(pen, Hex(0xffc84a)); Stopwatch(pen); break;
    case 1: ModeDisc(pen, Hex(0xff5a6e)); Hearts(pen); break;
    case 2: ModeDisc(pen, Hex(0x5ae69a)); Shield(pen); break;
    case 4: ModeDisc(pen, Hex(0x7ab0ff)); Battle(pen, 2); break;
    case 5: ModeDisc(pen, Hex(0x7ab0ff)); Battle(pen, 3); break;
    case 6: ModeDisc(pen, Hex(0x7ab0ff)); Battle(pen, 4); break;
    case 8: case 9: case 10: CogLayer(pen, frame - 8); break;
    case 12: ToolchainBadge(pen); break;
    default: break;
  }
}

void PaintIcon(Pen& pen, int frame) {
  Vec2 c = pen.Centre();
  switch (frame) {
    case 0:  // pause
      WhiteIcon(pen, Union(Ring(c, 12, 2), Union(RoundBox({12.5f, 16}, {2, 6}, 1), RoundBox({19.5f, 16}, {2, 6}, 1))));
      break;
    case 1:  // exit
      WhiteIcon(pen, Union(Ring(c, 12, 2), Union(Capsule({11.5f, 11.5f}, {20.5f, 20.5f}, 1.6f),
                                                   Capsule({20.5f, 11.5f}, {11.5f, 20.5f}, 1.6f))));
      break;
    case 2:  // home
      WhiteIcon(pen, Union(Polygon({{16, 5}, {28, 16}, {4, 16}}), RoundBox({16, 20.5f}, {8, 6.5f}, 1)));
      pen.Fill(RoundBox({16, 23}, {2.2f, 4}, 0.5f), Hex(0x000000), Blend::Erase);
      break;
    case 3:  // play
      WhiteIcon(pen, Union(Ring(c, 12, 2), Offset(Polygon({{12.5f, 9.5f}, {23, 16}, {12.5f, 22.5f}}), 0.6f)));
      break;
    case 4:  // options
      WhiteIcon(pen, Subtract(Gear(c, 9, 12.5f, 8, 0), Circle(c, 4)));
      break;
    case 5:  // sound
      WhiteIcon(pen, Union(Polygon({{5, 12}, {10, 12}, {16, 6}, {16, 26}, {10, 20}, {5, 20}}),
                           Union(Arc({16, 16}, 5, 45, 135, 1.8f), Arc({16, 16}, 9.5f, 40, 140, 1.8f))));
      break;
    case 6:  // selection marker: four corner brackets
      for (int k = 0; k < 4; ++k) {
        float sx = k % 2 ? 1.0f : -1.0f, sy = k / 2 ? 1.0f : -1.0f;
        Vec2 corner{16 + sx * 12.5f, 16 + sy * 12.5f};
        WhiteIcon(pen, Union(Capsule(corner, {corner.x - sx * 6, corner.y}, 1.1f),
                             Capsule(corner, {corner.x, corner.y - sy * 6}, 1.1f)));
      }
      break;
    case 7:  // tilt reset: a level with its bubble
      WhiteIcon(pen, Union(Outline(RoundBox(c, {13, 5}, 5), 1.8f),
                           Union(Circle(c, 2.6f), Union(Capsule({16, 5}, {16, 9}, 1), Capsule({16, 23}, {16, 27}, 1)))));
      break;
    case 8:  // music
      WhiteIcon(pen, Union(Union(Circle({10, 23}, 3.6f), Circle({22, 21}, 3.6f)),
                           Union(Capsule({13, 23}, {13, 7}, 1.1f), Union(Capsule({25, 21}, {25, 5}, 1.1f),
                                                                         Capsule({13, 7.5f}, {25, 5.5f}, 1.6f)))));
      break;
    case 9:  // star
      WhiteIcon(pen, Offset(Star({16, 17}, 12, 5, 5, 0), 0.5f));
      break;
    case 10:  // trophy
      WhiteIcon(pen, Union(Union(Polygon({{8, 6}, {24, 6}, {22, 15}, {16, 19}, {10, 15}}), RoundBox({16, 22}, {1.5f, 3}, 0)),
                           Union(RoundBox({16, 26}, {6, 1.8f}, 0.8f), Union(Ring({8, 10}, 3.5f, 1.6f), Ring({24, 10}, 3.5f, 1.6f)))));
      break;
    case 11:  // a life: a small ship
      pen.Fill(Offset(ShipOutline(c, 12, 0), 1.3f), Hex(0x000000, 0.6f));
      pen.Fill(ShipOutline(c, 12, 0), Linear({16, 4}, kWhite, {16, 26}, Hex(0xc8d2e0)));
      break;
    case 12:  // tick
      WhiteIcon(pen, Union(Capsule({7, 17}, {13, 23}, 2), Capsule({13, 23}, {25, 9}, 2)));
      break;
    case 13: case 14:  // back and forward
      WhiteIcon(pen, Arrow(c, 11, frame == 13 ? 270 : 90));
      break;
    case 15:  // help
      WhiteIcon(pen, Union(Ring(c, 12, 2), TextShape("?", {11, 8.5f}, 2.0f, 0) ));
      break;
    default:
      break;
  }
}

}  // namespace assetgen
