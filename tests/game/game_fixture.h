// A windowless stage for the game: the fake host, the real input device and
// a fresh game object per test, updated the way the framework's delegate
// updates it, with the text a frame drew read back from its display list.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "game/my_app.h"
#include "support/fake_host.h"

class GameTest : public ::testing::Test {
 protected:
  static FakeHost* host;
  c_MyApp* app = nullptr;
  c_InputDevice* input = nullptr;

  static void SetUpTestSuite();
  void SetUp() override;

  // Sets the window size as the framework sees it at the next update.
  void Resize(int w, int h);
  // One framework update: poll, the game's update, clear the hits.
  void Update();
  void Updates(int n) {
    for (int i = 0; i < n; ++i) Update();
  }
  // A created game whose assets have finished loading (22 updates).
  void CreateAndLoad();

  void KeyDown(int key) { input->p_KeyEvent(1, key); }
  void KeyUp(int key) { input->p_KeyEvent(2, key); }
  void Press(int key) {
    KeyDown(key);
    KeyUp(key);
  }

  int Commands() const { return app->m_DrawCount / LK_CMD_FLOATS; }
  float Cmd(int i, int element) const { return app->m_DrawList[i * LK_CMD_FLOATS + element]; }
  // The characters of the font glyphs drawn with their centres on row y,
  // in drawing order; spaces are never drawn.
  std::string Row(float y) const;
};

// A created game sitting in its main menu.
class MenuStage : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    CreateAndLoad();
    Updates(2);  // the loader has finished; the menu is running
  }
  // A key held for n updates, then released for one.
  void Hold(int key, int n) {
    KeyDown(key);
    Updates(n);
    KeyUp(key);
    Update();
  }
  void Tap(int key) { Hold(key, 1); }
  void PointerDown(float x, float y) { input->p_MouseEvent(4, 0, x, y); }
  void PointerUp() { input->p_MouseEvent(5, 0, 0.0f, 0.0f); }
};
