// A round on the windowless stage: start a mode, reach into the player and
// object records by slot, and read back what the round drew.
#pragma once

#include <algorithm>
#include <cmath>
#include <string>

#include "game/round_records.h"
#include "game_fixture.h"

class RoundTest : public GameTest {
 protected:
  float W() const { return bb_Larkspin_jscrw; }
  float H() const { return bb_Larkspin_jscrh; }
  // A fresh round of the given mode with a known seed and the font's glyph
  // size, its field emptied when asked.
  void Start(int mode, bool empty = false, int millis = 4242) {
    host->millis = millis;
    app->m_GameMode = mode;
    app->m_FontImg = 90, app->m_ImgSize[270] = 7, app->m_ImgSize[271] = 10;
    app->p_LoadGame();
    if (empty) ClearField();
  }
  void ClearField() { std::fill_n(app->m_Objects.Data(), 5100, 0.0f); }
  float& P(int player, int slot) { return app->m_Players[100 * player + slot]; }
  float& O(int record, int slot) { return app->m_Objects[10 * record + slot]; }
  // An object of a kind at rest at a position, with two edge crossings left.
  void Place(int record, float kind, float x, float y) {
    const float o[10] = {kind, x, y, 0, 0, 0, 0, 0, 0, 2};
    std::copy_n(o, 10, &O(record, 0));
  }
  // Player p as a human on the keyboard, parked at a position, unshielded.
  void Human(int p, float x, float y) {
    using namespace lk_round;
    P(p, kController) = -1.0f, P(p, kX) = x, P(p, kY) = y, P(p, kPower) = 0.0f;
  }
  int CountKind(float lo, float hi) {
    int n = 0;
    for (int r = 0; r < 510; ++r) n += O(r, 0) > lo && O(r, 0) < hi;
    return n;
  }
  // Whether a text was drawn with the font this frame (spaces draw nothing).
  bool Drew(std::string text) const {
    std::string drawn;
    for (int i = 0; i < Commands(); ++i)
      if (Cmd(i, 0) == 90.0f) drawn += char(int(Cmd(i, 6)) + 32);
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return drawn.find(text) != std::string::npos;
  }
  int ImagesDrawn(int image, float frame) const {
    int n = 0;
    for (int i = 0; i < Commands(); ++i) n += Cmd(i, 0) == float(image) && Cmd(i, 6) == frame;
    return n;
  }
};
