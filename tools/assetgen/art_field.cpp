// The playing field: ships, gems, shots and rocks (bank 1), power-ups
// (bank 2) and sparks (bank 96). Field pictures are only 12 design units,
// so shapes are bold and outlined to read at level 1.
#include <vector>

#include "art.h"

namespace assetgen {

namespace {

const Color kInk = Hex(0x101018, 0.9f);
const Color kWhite = Hex(0xffffff);

// Field pictures fill their 12-unit frames up to this margin, so a ship
// spans ten units and nothing reaches the frame's outermost pixel at level 1.
constexpr float kEdge = 0.95f, kFar = 12.0f - kEdge;

// A left-right symmetric outline from its right half, listed nose to tail;
// points on the centre line are not repeated.
std::vector<Vec2> Mirrored(const std::vector<Vec2>& rightHalf) {
  std::vector<Vec2> pts = rightHalf;
  for (auto it = rightHalf.rbegin(); it != rightHalf.rend(); ++it)
    if (it->x != 6.0f) pts.push_back({12.0f - it->x, it->y});
  return pts;
}

void PaintShip(Pen& pen, int player) {
  // Form comes from shade, not from white: white highlights would wash the
  // player colours towards each other.
  Color body = PlayerColor(player);
  Shape hull = ShipHull(player);
  pen.Fill(hull, Linear({6, 1}, body, {6, 11}, body.Scaled(0.8f)));
  // A darker right half gives the hull a ridge down its middle.
  pen.Fill(Intersect(hull, RoundBox({9, 6}, {3, 6}, 0)), Hex(0x000000, 0.2f));
  pen.Fill(Capsule({6, 4.3f}, {6, 5.6f}, 0.7f), body.Scaled(0.3f));
  pen.Fill(Circle({5.75f, 4.35f}, 0.3f), Hex(0xffffff, 0.9f));
}

// Four cuts: Red a heart, Yellow a trillion, Green an emerald step cut,
// Blue a marquise. The base is the same picture drawn large.
Shape GemOutline(int player) {
  switch (player) {
    case 1:
      return Union(Union(Circle({3.75f, 3.9f}, 2.75f), Circle({8.25f, 3.9f}, 2.75f)),
                   Polygon({{1.23f, 5.0f}, {6, 3}, {10.77f, 5.0f}, {6, 10.9f}}));
    case 2: return Offset(Polygon({{6, 2.2f}, {10.1f, 9.9f}, {1.9f, 9.9f}}), 0.9f);
    case 3:
      return Polygon({{2.6f, 2.8f}, {9.4f, 2.8f}, {11, 4.4f}, {11, 7.6f}, {9.4f, 9.2f}, {2.6f, 9.2f}, {1, 7.6f},
                      {1, 4.4f}});
    default: return Intersect(Circle({8.67f, 6}, 5.67f), Circle({3.33f, 6}, 5.67f));
  }
}

void PaintGem(Pen& pen, int player) {
  Color c = PlayerColor(player);
  Shape outline = GemOutline(player);
  pen.Fill(outline, c);
  // Facets lit from the top left: a smaller copy of the cut is the table,
  // the lower right falls into shade, and a glint sits on the table.
  Shape table = Scaled(outline, {6, 6}, 0.5f);
  pen.Fill(Subtract(Intersect(outline, Polygon({{12, 0}, {12, 12}, {0, 12}})), table), c.Scaled(0.65f));
  pen.Fill(table, c.Scaled(0.88f));
  pen.Fill(Capsule({4.7f, 5.0f}, {5.3f, 5.0f}, 0.4f), Hex(0xffffff, 0.9f));
}

// Shots differ too: Red a solid bolt, Yellow a spindle, Green a string of
// beads, Blue twin rails.
void PaintShot(Pen& pen, int player) {
  Color c = PlayerColor(player);
  Shape shot;
  switch (player) {
    case 1: shot = Capsule({6, 3.2f}, {6, 8.8f}, 1.2f); break;
    case 2: shot = Polygon({{6, 1.8f}, {7.3f, 6}, {6, 10.2f}, {4.7f, 6}}); break;
    case 3: shot = Union(Union(Circle({6, 3.4f}, 1.15f), Circle({6, 6}, 1.15f)), Circle({6, 8.6f}, 1.15f)); break;
    default: shot = Union(Capsule({4.9f, 2.6f}, {4.9f, 9.4f}, 0.6f), Capsule({7.1f, 2.6f}, {7.1f, 9.4f}, 0.6f)); break;
  }
  pen.Glow(shot, c.WithAlpha(0.6f), 1.0f);
  pen.Fill(shot, c);
  pen.Fill(Offset(shot, -0.5f), Mix(c, kWhite, 0.7f));
}

void PaintRock(Pen& pen, int variant) {
  Rng rng(1000 + variant * 7919);
  static const unsigned kTones[] = {0x8a8074, 0x7d858f, 0x94806a, 0x6f7a70, 0x8c7a88};
  Color base = Hex(kTones[variant % 5]);
  Vec2 c = pen.Centre();
  int corners = 8 + rng.Below(4);
  std::vector<Vec2> pts;
  // About eight units across, the contact box of a rock.
  for (int i = 0; i < corners; ++i)
    pts.push_back(Polar(c, rng.Range(3.6f, 4.3f), 360.0f * (i + rng.Range(-0.25f, 0.25f)) / corners));
  Shape rock = Polygon(pts);
  pen.Fill(rock, Linear({2, 2}, Mix(base, kWhite, 0.35f), {10, 10}, base.Scaled(0.55f)));
  int craters = 1 + rng.Below(3);
  for (int k = 0; k < craters; ++k) {
    Vec2 at = Polar(c, rng.Range(0.5f, 2.4f), rng.Range(0, 360));
    float r = rng.Range(0.6f, 1.2f);
    pen.Fill(Intersect(Circle(at, r), rock), base.Scaled(0.45f));
    pen.Fill(Intersect(Arc(at, r, 100, 250, 0.35f), rock), Hex(0xffffff, 0.35f));
  }
}

}  // namespace

// Each player's ship has its own silhouette, so players differ by shape as
// well as colour: Red an arrowhead, Yellow a needle with low wings, Green
// forward-swept wings, Blue a twin-boom frame.
Shape ShipHull(int player) {
  switch (player) {
    case 1: return Polygon(Mirrored({{6, kEdge}, {kFar, 9.3f}, {kFar, kFar}, {6, 8.3f}}));
    case 2:
      return Union(Polygon(Mirrored({{6, kEdge}, {7.2f, 3.6f}, {7.2f, kFar}})),
                   Polygon(Mirrored({{7.2f, 5.8f}, {kFar, 9.2f}, {kFar, 10.7f}, {7.2f, 9.8f}})));
    case 3:
      return Union(Polygon(Mirrored({{6, kEdge}, {7.1f, 3.2f}, {7.1f, 10.2f}, {6, kFar}})),
                   Polygon(Mirrored({{7.1f, 8.0f}, {kFar, 3.6f}, {kFar, 5.6f}, {7.1f, 10.6f}})));
    default:
      return Union(Union(Polygon(Mirrored({{6, kEdge}, {7.3f, 3.8f}, {7.3f, 9.5f}, {6, 10.6f}})),
                         RoundBox({6, 7.0f}, {4.5f, 0.9f}, 0.2f)),
                   Union(RoundBox({2.0f, 7.8f}, {1.05f, 3.2f}, 0.8f), RoundBox({10.0f, 7.8f}, {1.05f, 3.2f}, 0.8f)));
  }
}

Color PlayerColor(int player) {
  // Chosen to stay apart for red-green and blue-yellow colour blindness too:
  // they differ in lightness as well as hue.
  static const unsigned kColors[4] = {0xf0101a, 0xffff00, 0x77e6c4, 0x5175c6};
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
