// The playing field: ships, gems, shots and rocks (bank 1), power-ups
// (bank 2) and sparks (bank 96). Field pictures are only 12 design units,
// so shapes are bold and outlined to read at level 1.
#include <vector>

#include "art.h"

namespace assetgen {

namespace {

const Color kInk = Hex(0x101018, 0.9f);

void PaintShip(Pen& pen, int player) {
  Color body = PlayerColor(player);
  // Everything stays a unit and a half inside the frame so nothing bleeds
  // into the neighbouring frame when the picture is scaled.
  std::vector<Vec2> hull = {{6, 2.1f}, {9.9f, 9.9f}, {6, 8.0f}, {2.1f, 9.9f}};
  pen.Fill(Offset(Polygon(hull), 0.6f), kInk);
  pen.Fill(Polygon(hull), Linear({6, 2}, Mix(body, Hex(0xffffff), 0.5f), {6, 10}, body.Scaled(0.8f)));
  // A slightly darker right half gives the dart a ridge.
  pen.Fill(Polygon({{6, 2.1f}, {9.9f, 9.9f}, {6, 8.0f}}), Hex(0x000000, 0.15f));
  pen.Fill(Capsule({6, 4.9f}, {6, 6.0f}, 0.8f), Hex(0xe8f4ff));
  pen.Fill(Polygon({{5.0f, 8.9f}, {6, 8.3f}, {7.0f, 8.9f}, {6, 10.3f}}), Hex(0xffb030, 0.85f));
}

void PaintGem(Pen& pen, int player) {
  Color c = PlayerColor(player);
  std::vector<Vec2> outline = {{3.8f, 3.7f}, {8.2f, 3.7f}, {9.9f, 5.6f}, {6, 9.9f}, {2.1f, 5.6f}};
  pen.Glow(Polygon(outline), c.WithAlpha(0.4f), 0.7f);
  pen.Fill(Offset(Polygon(outline), 0.5f), kInk);
  pen.Fill(Polygon(outline), c);
  // Facets: a bright table on top, shaded sides below.
  pen.Fill(Polygon({{3.8f, 3.7f}, {8.2f, 3.7f}, {9.9f, 5.6f}, {2.1f, 5.6f}}), Mix(c, Hex(0xffffff), 0.55f));
  pen.Fill(Polygon({{2.1f, 5.6f}, {4.8f, 5.6f}, {6, 9.9f}}), Hex(0xffffff, 0.18f));
  pen.Fill(Polygon({{7.2f, 5.6f}, {9.9f, 5.6f}, {6, 9.9f}}), Hex(0x000000, 0.28f));
  pen.Fill(Capsule({4.6f, 4.6f}, {5.6f, 4.6f}, 0.4f), Hex(0xffffff, 0.9f));
}

void PaintShot(Pen& pen, int player) {
  Color c = PlayerColor(player);
  pen.Glow(Capsule({6, 3.4f}, {6, 8.6f}, 0.9f), c.WithAlpha(0.7f), 1.2f);
  pen.Fill(Capsule({6, 3.2f}, {6, 8.8f}, 1.2f), c);
  pen.Fill(Capsule({6, 3.5f}, {6, 7.4f}, 0.55f), Hex(0xffffff));
}

void PaintRock(Pen& pen, int variant) {
  Rng rng(1000 + variant * 7919);
  static const unsigned kTones[] = {0x8a8074, 0x7d858f, 0x94806a, 0x6f7a70, 0x8c7a88};
  Color base = Hex(kTones[variant % 5]);
  Vec2 c = pen.Centre();
  int corners = 8 + rng.Below(4);
  std::vector<Vec2> pts;
  for (int i = 0; i < corners; ++i)
    pts.push_back(Polar(c, rng.Range(3.5f, 4.6f), 360.0f * (i + rng.Range(-0.25f, 0.25f)) / corners));
  Shape rock = Polygon(pts);
  pen.Fill(Offset(rock, 0.5f), kInk);
  pen.Fill(rock, Linear({2, 2}, Mix(base, Hex(0xffffff), 0.35f), {10, 10}, base.Scaled(0.55f)));
  int craters = 1 + rng.Below(3);
  for (int k = 0; k < craters; ++k) {
    Vec2 at = Polar(c, rng.Range(0.5f, 2.4f), rng.Range(0, 360));
    float r = rng.Range(0.6f, 1.2f);
    pen.Fill(Intersect(Circle(at, r), rock), base.Scaled(0.45f));
    pen.Fill(Intersect(Arc(at, r, 100, 250, 0.35f), rock), Hex(0xffffff, 0.35f));
  }
}

}  // namespace

Color PlayerColor(int player) {
  static const unsigned kColors[4] = {0xff4a3d, 0xffd93a, 0x3fe05a, 0x3f8cff};
  return Hex(kColors[(player - 1) & 3]);
}

void PaintField(Pen& pen, int frame) {
  if (frame < 20 && frame % 5 < 3) {
    int player = frame / 5 + 1;
    switch (frame % 5) {
      case 0: PaintShip(pen, player); break;
      case 1: PaintGem(pen, player); break;
      default: PaintShot(pen, player); break;
    }
    return;
  }
  // The remaining frames are the thirteen rocks, each a different stone.
  static const int kRockFrames[13] = {3, 4, 8, 9, 13, 14, 18, 19, 20, 21, 22, 23, 24};
  for (int i = 0; i < 13; ++i)
    if (kRockFrames[i] == frame) PaintRock(pen, i);
}

void PaintPower(Pen& pen, int frame) {
  if (frame > 2) return;
  static const unsigned kOrb[3] = {0xb052ff, 0xff8a1f, 0x1fd0ff};
  Color orb = Hex(kOrb[frame]);
  Vec2 c = pen.Centre();
  pen.Glow(Circle(c, 4.6f), orb.WithAlpha(0.6f), 1.2f);
  pen.Fill(Circle(c, 5.0f), kInk);
  pen.Fill(Circle(c, 4.4f), Radial({4.6f, 4.4f}, 5.5f, Mix(orb, Hex(0xffffff), 0.5f), orb.Scaled(0.6f)));
  Color mark = Hex(0xffffff);
  if (frame == 0) {  // three shots fanned out
    for (float a : {-32.0f, 0.0f, 32.0f}) {
      Vec2 base = Polar(c, 2.2f, 180.0f);
      Vec2 tip = Polar(base, 5.3f, a), neck = Polar(base, 3.9f, a);
      pen.Fill(Capsule(base, neck, 0.35f), mark);
      pen.Fill(Polygon({tip, Polar(neck, 0.9f, a - 90), Polar(neck, 0.9f, a + 90)}), mark);
    }
  } else if (frame == 1) {  // four ways
    for (float a : {0.0f, 90.0f, 180.0f, 270.0f}) {
      pen.Fill(Capsule(Polar(c, 0.9f, a), Polar(c, 2.6f, a), 0.45f), mark);
      pen.Fill(Polygon({Polar(c, 3.7f, a), Polar(c, 2.3f, a - 28), Polar(c, 2.3f, a + 28)}), mark);
    }
  } else {  // a ring of shots
    for (int k = 0; k < 8; ++k) pen.Fill(Circle(Polar(c, 2.7f, k * 45.0f), 0.6f), mark);
    pen.Fill(Circle(c, 0.7f), mark);
  }
}

void PaintSpark(Pen& pen, int frame) {
  // White so the game's colour tints them; 8 shapes x 4 sizes x 8 turns,
  // each within 1.1 units of the centre so a frame never touches its edge.
  Vec2 c = pen.Centre();
  int kind = frame % 8;
  float size = 0.55f + 0.05f * ((frame / 8) % 4) + 0.02f * (frame / 32);
  float turn = (frame / 32) * 11.25f;
  Color white = Hex(0xffffff);
  // A bright core keeps even the level-1 spark (two pixels square) visible.
  pen.Glow(Circle(c, 0.3f), white.WithAlpha(0.4f), 0.5f);
  pen.Fill(Circle(c, 0.45f), white.WithAlpha(0.8f));
  switch (kind) {
    case 0: pen.Fill(Circle(Polar(c, 0.15f, turn * 4), 0.95f * size), white.WithAlpha(0.85f)); break;
    case 1: pen.Fill(Star(c, 1.3f * size, 0.4f * size, 4, turn), white); break;
    case 2: pen.Fill(RegularPolygon(c, 1.05f * size, 4, turn), white); break;
    case 3:
      pen.Fill(Rotated(Union(Capsule({c.x - 1.0f * size, c.y}, {c.x + 1.0f * size, c.y}, 0.25f),
                             Capsule({c.x, c.y - 1.0f * size}, {c.x, c.y + 1.0f * size}, 0.25f)),
                       c, turn),
               white);
      break;
    case 4: pen.Fill(Arc(c, 0.85f * size, turn * 4, turn * 4 + 290, 0.4f), white); break;
    case 5: pen.Fill(RegularPolygon(c, 1.1f * size, 3, turn), white); break;
    case 6: pen.Fill(Star(c, 1.25f * size, 0.55f * size, 5, turn), white); break;
    default: pen.Fill(Capsule(Polar(c, 1.05f * size, turn), Polar(c, 1.05f * size, turn + 180), 0.3f), white); break;
  }
}

}  // namespace assetgen
