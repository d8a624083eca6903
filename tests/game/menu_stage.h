// A created game sitting in its main menu, with helpers that hold keys and
// the pointer over whole updates and read back the text a frame drew.
#pragma once

#include "game_fixture.h"

class MenuStage : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    CreateAndLoad();
    Updates(2);  // the loader has finished; the menu is running
  }
  // A key held for one update, then released for one.
  void Tap(int key) {
    KeyDown(key);
    Update();
    KeyUp(key);
    Update();
  }
  void PointerDown(float x, float y) { input->p_MouseEvent(4, 0, x, y); }
  void PointerUp() { input->p_MouseEvent(5, 0, 0.0f, 0.0f); }
  // The characters of the font glyphs drawn with their centres on row y,
  // in drawing order; spaces are never drawn.
  std::string Row(float y) const {
    std::string out;
    for (int i = 0; i < Commands(); ++i)
      if (int(Cmd(i, 0)) == app->m_FontImg && Cmd(i, 2) == y) out += char(int(Cmd(i, 6)) + 32);
    return out;
  }
};
