// A round on the windowless stage: start a mode, reach into the player and
// object records by slot, read back what the round drew, and replay the
// framework's generator to know which draws come next.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "game/round_records.h"
#include "game_fixture.h"

// The framework's generator, stepped on its own so a test can say which
// values the next draws will produce.
struct Lcg {
  unsigned seed;
  explicit Lcg(int s) : seed(unsigned(s)) {}
  float Next() {
    seed = seed * 1664525u + 1013904223u;
    return float((seed >> 8) & 0xFFFFFFu) / 16777216.0f;
  }
};

class RoundTest : public GameTest {
 protected:
  float W() const { return bb_Larkspin_jscrw; }
  float H() const { return bb_Larkspin_jscrh; }

  // A fresh round of the given mode with a known seed.
  void Start(int mode, int millis = 4242) {
    host->millis = millis;
    app->m_GameMode = mode;
    app->m_FontImg = 90;
    app->m_ImgSize[270] = 7;  // glyph advance and line height of the font
    app->m_ImgSize[271] = 10;
    app->p_LoadGame();
  }
  // Empties the field: no rocks, gems, power-ups or shots.
  void ClearField() {
    for (int i = 0; i < 5100; ++i) app->m_Objects[i] = 0.0f;
  }
  float& P(int player, int slot) { return app->m_Players[100 * player + slot]; }
  float& O(int record, int slot) { return app->m_Objects[10 * record + slot]; }

  // Puts an object of a kind at rest at a position.
  void Place(int record, float kind, float x, float y) {
    for (int s = 0; s < 10; ++s) O(record, s) = 0.0f;
    O(record, 0) = kind;
    O(record, 1) = x;
    O(record, 2) = y;
    O(record, 9) = 2.0f;
  }
  // Makes player p a human on the keyboard, parked at a position, out of
  // any shield.
  void Human(int p, float x, float y) {
    P(p, lk_round::kController) = -1.0f;
    P(p, lk_round::kX) = x;
    P(p, lk_round::kY) = y;
    P(p, lk_round::kPower) = 0.0f;
  }
  int CountKind(float lo, float hi) {
    int n = 0;
    for (int r = 0; r < 510; ++r)
      if (O(r, 0) > lo && O(r, 0) < hi) ++n;
    return n;
  }
  // The characters drawn with the font this frame, in order.
  std::string Texts() const {
    std::string s;
    for (int i = 0; i < Commands(); ++i)
      if (Cmd(i, 0) == 90.0f) s += char(int(Cmd(i, 6)) + 32);
    return s;
  }
  static std::string Packed(const std::string& text) {
    std::string packed;
    for (char c : text)
      if (c != ' ') packed += c;
    return packed;
  }
  // Whether a text was drawn this frame (spaces draw nothing).
  bool Drew(const std::string& text) const { return Texts().find(Packed(text)) != std::string::npos; }
  // Scale of the first glyph of a text drawn this frame, 0 when not drawn.
  float TextScale(const std::string& text) const {
    std::vector<float> scales;
    for (int i = 0; i < Commands(); ++i)
      if (Cmd(i, 0) == 90.0f) scales.push_back(Cmd(i, 4));
    size_t at = Texts().find(Packed(text));
    return at == std::string::npos ? 0.0f : scales[at];
  }
  int ImagesDrawn(int image, float frame) const {
    int n = 0;
    for (int i = 0; i < Commands(); ++i)
      if (Cmd(i, 0) == float(image) && Cmd(i, 6) == frame) ++n;
    return n;
  }
};
