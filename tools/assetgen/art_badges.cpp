// The 64 badge pictures (bank 80): a medal shape, a colour and an emblem,
// combined so no two badges look alike.
#include <vector>

#include "art.h"
#include "pixelfont.h"

namespace assetgen {

namespace {

const unsigned kMetal[8] = {0xf2c14e, 0xc9d2dc, 0xd08a4a, 0x6fd0ff, 0xff6f91, 0x8be07a, 0xb38bff, 0xff9f43};

Shape Medal(Vec2 c, int shape) {
  switch (shape) {
    case 0: return Circle(c, 24);
    case 1: return RegularPolygon(c, 26, 6, 0);
    case 2: return Union(RoundBox({c.x, c.y - 6}, {21, 15}, 4),
                         Polygon({{c.x - 21, c.y}, {c.x + 21, c.y}, {c.x, c.y + 25}}));
    default: return Offset(Star(c, 27, 19, 12, 0), 1);
  }
}

Shape Emblem(Vec2 c, int kind) {
  switch (kind) {
    case 0: return Star(c, 11, 4.5f, 5, 0);
    case 1: return Polygon({{c.x - 6, c.y - 6}, {c.x + 6, c.y - 6}, {c.x + 10, c.y - 1}, {c.x, c.y + 10}, {c.x - 10, c.y - 1}});
    case 2: return Polygon({{c.x, c.y - 11}, {c.x + 8, c.y + 8}, {c.x, c.y + 4}, {c.x - 8, c.y + 8}});
    case 3: return Union(Circle({c.x - 4, c.y - 2}, 5.5f), Union(Circle({c.x + 4, c.y - 2}, 5.5f),
                         Polygon({{c.x - 9.5f, c.y}, {c.x + 9.5f, c.y}, {c.x, c.y + 10}})));
    case 4: return Polygon({{c.x + 2, c.y - 12}, {c.x - 7, c.y + 2}, {c.x - 1, c.y + 2}, {c.x - 3, c.y + 12},
                            {c.x + 7, c.y - 2}, {c.x + 1, c.y - 2}});
    case 5: return Polygon({{c.x - 11, c.y + 7}, {c.x - 11, c.y - 7}, {c.x - 5, c.y}, {c.x, c.y - 10},
                            {c.x + 5, c.y}, {c.x + 11, c.y - 7}, {c.x + 11, c.y + 7}});
    case 6: return Union(Ring(c, 9, 3), Capsule(c, Polar(c, 6, 40), 1.5f));
    case 7: return Union(Ring(c, 9, 2.5f), Union(Capsule({c.x - 12, c.y}, {c.x + 12, c.y}, 1.2f),
                                                  Capsule({c.x, c.y - 12}, {c.x, c.y + 12}, 1.2f)));
    case 8: return Star(c, 12, 6, 8, 0);
    case 9: return RegularPolygon(c, 11, 3, 0);
    case 10: return Union(Circle({c.x, c.y - 4}, 7), RoundBox({c.x, c.y + 7}, {7, 3}, 1));
    case 11: return Union(Union(Circle({c.x - 6, c.y + 3}, 4), Circle({c.x + 6, c.y + 3}, 4)), Circle({c.x, c.y - 5}, 4));
    default: {
      std::string n = std::to_string(kind - 11);  // 1 to 4: ranks
      float w = TextWidth(n, 2.6f);
      return TextShape(n, {c.x - w * 0.5f, c.y - 9}, 2.6f);
    }
  }
}

}  // namespace

void PaintBadge(Pen& pen, int frame) {
  Vec2 c = pen.Centre();
  int shape = frame % 4;
  Color metal = Hex(kMetal[(frame / 4 + frame) % 8]);
  Shape medal = Medal(c, shape);
  pen.Fill(Moved(Offset(medal, 1), {1.2f, 1.6f}), Hex(0x000000, 0.5f), Blend::Over, 1.5f);
  pen.Fill(Offset(medal, 1.2f), Hex(0x14100c));
  pen.Fill(medal, Linear({c.x, 6}, Mix(metal, Hex(0xffffff), 0.5f), {c.x, 58}, metal.Scaled(0.55f)));
  pen.Fill(Offset(medal, -5), Radial({c.x - 6, c.y - 8}, 30, metal.Scaled(0.55f), metal.Scaled(0.3f)));
  pen.Fill(Outline(Offset(medal, -5), 1.2f), Hex(0xffffff, 0.5f));
  Shape emblem = Emblem(c, frame / 4);
  pen.Fill(Moved(emblem, {0.8f, 1}), Hex(0x000000, 0.5f));
  pen.Fill(emblem, Linear({c.x, c.y - 12}, Hex(0xffffff), {c.x, c.y + 12}, Mix(metal, Hex(0xffffff), 0.6f)));
}

}  // namespace assetgen
