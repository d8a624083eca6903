// The big pictures: the title logo (bank 98), menu art (bank 99), the game
// icon (bank 5) and the studio mark of the loading screen (bank 93).
#include <string>
#include <vector>

#include "art.h"

namespace assetgen {

namespace {

// Letters of the title drawn as strokes in a box 100 units tall from the
// cap line (0) to the base line (100); descenders reach 130.
struct Letter {
  char ch;
  float advance;
};

Shape LetterShape(char ch, Vec2 o, float k, float w) {
  auto P = [o, k](float x, float y) { return Vec2(o.x + x * k, o.y + y * k); };
  auto Seg = [&](float x0, float y0, float x1, float y1) { return Capsule(P(x0, y0), P(x1, y1), w); };
  auto Bow = [&](float cx, float cy, float r, float a0, float a1) { return Arc(P(cx, cy), r * k, a0, a1, w * 2); };
  switch (ch) {
    case 'L': return Union(Seg(0, 0, 0, 100), Seg(0, 100, 48, 100));
    case 'a': return Union(Ring(P(30, 69), 31 * k, w * 2), Seg(61, 40, 61, 100));
    case 'r': return Union(Seg(0, 40, 0, 100), Bow(30, 70, 30, 270, 400));
    case 'k': return Union(Seg(0, 0, 0, 100), Union(Seg(44, 40, 2, 78), Seg(18, 66, 46, 100)));
    case 's': return Union(Bow(24, 54, 15, 180, 420), Bow(24, 84, 15, 0, 240));
    case 'p': return Union(Seg(0, 40, 0, 132), Ring(P(30, 69), 31 * k, w * 2));
    case 'i': return Union(Seg(0, 40, 0, 100), Circle(P(0, 14), w * 1.25f));
    default: return Union(Seg(0, 40, 0, 100), Union(Bow(28, 68, 28, 270, 450), Seg(56, 68, 56, 100)));  // n
  }
}

float Advance(char ch) {
  switch (ch) {
    case 'L': return 48; case 'a': return 61; case 'r': return 48; case 'k': return 46;
    case 's': return 42; case 'p': return 61; case 'i': return 0; default: return 56;
  }
}

Shape Word(const std::string& word, Vec2 at, float k, float w, float gap) {
  Shape all = LetterShape(word[0], at, k, w);
  float x = at.x + (Advance(word[0]) + gap) * k;
  for (size_t i = 1; i < word.size(); ++i) {
    all = Union(all, LetterShape(word[i], {x, at.y}, k, w));
    x += (Advance(word[i]) + gap) * k;
  }
  return all;
}

float WordWidth(const std::string& word, float gap) {
  float x = 0;
  for (char ch : word) x += Advance(ch) + gap;
  return x - gap;
}

// Four petals in the ship colours, each a lens between two circles, set
// at a slant like the blades of a pinwheel.
void FourColourPetals(Pen& pen, Vec2 c, float length, float twist) {
  float offset = 0.228f * length, radius = 0.478f * length;
  for (int p = 0; p < 4; ++p) {
    float a = p * 90.0f + 45.0f;
    Vec2 mid = Polar(c, 0.57f * length, a);
    Shape petal = Intersect(Circle(Polar(mid, offset, a - 90), radius), Circle(Polar(mid, offset, a + 90), radius));
    petal = Rotated(petal, Polar(c, 0.15f * length, a), twist);
    Vec2 tip = Polar(c, length, a + twist * 0.5f);
    Color col = PlayerColor(p + 1);
    pen.Fill(Offset(petal, length * 0.04f), Hex(0x0c0818, 0.85f));
    pen.Fill(petal, Linear(c, Mix(col, Hex(0xffffff), 0.55f), tip, col.Scaled(0.8f)));
    pen.Fill(Capsule(Polar(c, 0.3f * length, a + twist * 0.3f), Polar(c, 0.75f * length, a + twist * 0.6f), length * 0.025f),
             Hex(0xffffff, 0.45f));
  }
}

}  // namespace

void PaintTitle(Pen& pen, int) {
  // The menu turns the game icon just right of this picture's centre, so on
  // a 4:3 screen the word keeps to the left 200 units to stay clear of it.
  const std::string word = "Larkspin";
  float gap = 20, width = 196, k = width / WordWidth(word, gap), w = 8.0f * k;
  Vec2 at{10, 64 - 60 * k};
  Shape letters = Word(word, at, k, w, gap);
  pen.Glow(letters, Hex(0x6a4cff, 0.55f), 9, Blend::Over);
  pen.Fill(Moved(Offset(letters, 3.2f), {2, 3}), Hex(0x000000, 0.6f));
  pen.Fill(Offset(letters, 3.2f), Hex(0x120a30));
  pen.Fill(letters, Linear({0, 28}, Hex(0xe8e0ff), {0, 78}, Hex(0x7a5cff)));
  pen.Fill(Moved(Offset(letters, -w * 0.45f), {-0.6f, -0.8f}), Hex(0xffffff, 0.45f));
  // The ship colours as four small gems under the word.
  for (int p = 0; p < 4; ++p) {
    Vec2 c{10 + width * 0.5f + (p - 1.5f) * 16.0f, 106};
    Shape gem = RegularPolygon(c, 4.5f, 4, 0);
    pen.Fill(Offset(gem, 1), Hex(0x0c0818));
    pen.Fill(gem, Linear({c.x, c.y - 4}, Mix(PlayerColor(p + 1), Hex(0xffffff), 0.5f), {c.x, c.y + 4}, PlayerColor(p + 1)));
  }
}

void PaintGameIcon(Pen& pen, int) {
  Vec2 c = pen.Centre();
  pen.Fill(Circle(c, 62), Hex(0x000000, 0.35f), Blend::Over, 3);
  pen.Fill(Circle(c, 58), Radial({50, 44}, 80, Hex(0x2c2a66), Hex(0x0a0a1e)));
  pen.Fill(Ring(c, 57, 3), Hex(0xb8a8ff));
  for (int k = 0; k < 16; ++k) pen.Fill(Circle(Polar(c, 50, k * 22.5f), k % 4 ? 1.2f : 2.2f), Hex(0xffffff, 0.7f));
  FourColourPetals(pen, c, 44, 24);
  pen.Fill(Circle(c, 10), Hex(0x0c0818));
  pen.Fill(Circle(c, 8.5f), Radial({61, 60}, 10, Hex(0xffffff), Hex(0xffc84a)));
  pen.Fill(Star(c, 6, 2.5f, 4, 45), Hex(0xffffff, 0.8f));
}

void PaintStudioLogo(Pen& pen, int) {
  // Drawn twice as large on the loading screen, inside the spinner rings:
  // the mark stays within a radius of about 70 units.
  Vec2 c = pen.Centre();
  pen.Glow(Circle(c, 52), Hex(0x0080ff, 0.25f), 18, Blend::Over);
  pen.Fill(Circle(c, 54), Radial({116, 108}, 60, Hex(0x1c2238), Hex(0x080a14)));
  pen.Fill(Ring(c, 54, 4), Hex(0xff7d00));
  pen.Fill(Ring(c, 46, 1.5f), Hex(0x0080ff, 0.8f));
  // Three chevrons in flight: the arrow-bird mark.
  for (int i = 0; i < 3; ++i) {
    float y = 104 + i * 17.0f, span = 30 - i * 6.0f;
    Shape chevron = Polygon({{128, y - 14}, {128 + span, y + 10}, {128 + span - 9, y + 12},
                             {128, y - 1}, {128 - span + 9, y + 12}, {128 - span, y + 10}});
    Color col = i == 0 ? Hex(0xffffff) : i == 1 ? Hex(0xffb060) : Hex(0xff7d00);
    pen.Fill(Offset(chevron, 1.2f), Hex(0x000000, 0.6f));
    pen.Fill(chevron, col);
  }
}

void PaintMenuArt(Pen& pen, int frame) {
  Vec2 c = pen.Centre();
  Rng rng(77 + frame);
  switch (frame) {
    case 0: {  // a ringed planet
      pen.Fill(Circle(c, 70), Radial({100, 96}, 110, Hex(0x8a7aff), Hex(0x1a1048)));
      pen.Fill(Intersect(Circle(c, 70), Circle({150, 150}, 70)), Hex(0x000000, 0.35f));
      for (int k = 0; k < 4; ++k)
        pen.Fill(Intersect(Circle(c, 70), Ring({128, 40.0f + k * 10}, 120, 4)), Hex(0xffffff, 0.08f));
      break;
    }
    case 1:  // a nebula of soft clouds
      for (int k = 0; k < 14; ++k) {
        Vec2 at{rng.Range(60, 196), rng.Range(60, 196)};
        Color col = Mix(Hex(0x4060ff), Hex(0xff50a0), rng.Unit());
        pen.Glow(Circle(at, rng.Range(8, 20)), col.WithAlpha(0.25f), rng.Range(30, 50), Blend::Over);
      }
      for (int k = 0; k < 40; ++k) pen.Fill(Circle({rng.Range(16, 240), rng.Range(16, 240)}, rng.Range(0.6f, 1.6f)), Hex(0xffffff));
      break;
    case 2:  // the four ships in formation
      for (int p = 0; p < 4; ++p) {
        Vec2 at{64 + p * 42.0f, 150 - (p % 2) * 40.0f - p * 8.0f};
        std::vector<Vec2> hull = {{at.x, at.y - 26}, {at.x + 20, at.y + 22}, {at.x, at.y + 12}, {at.x - 20, at.y + 22}};
        pen.Glow(Capsule({at.x, at.y + 18}, {at.x, at.y + 60}, 3), Hex(0xffb030, 0.5f), 8, Blend::Over);
        pen.Fill(Offset(Polygon(hull), 2), Hex(0x0a0a14));
        pen.Fill(Polygon(hull), Linear({at.x, at.y - 26}, Mix(PlayerColor(p + 1), Hex(0xffffff), 0.4f),
                                       {at.x, at.y + 20}, PlayerColor(p + 1).Scaled(0.7f)));
      }
      break;
    default:  // a drifting rock field
      for (int k = 0; k < 9; ++k) {
        Vec2 at{rng.Range(40, 216), rng.Range(40, 216)};
        float r = rng.Range(10, 30);
        std::vector<Vec2> pts;
        for (int i = 0; i < 10; ++i) pts.push_back(Polar(at, r * rng.Range(0.75f, 1.1f), i * 36.0f));
        pen.Fill(Offset(Polygon(pts), 2), Hex(0x0a0a10));
        pen.Fill(Polygon(pts), Linear({at.x - r, at.y - r}, Hex(0xb0a898), {at.x + r, at.y + r}, Hex(0x4a4440)));
      }
      break;
  }
}

}  // namespace assetgen
