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
  void Resize(int w, int h) {  // the window size the framework sees next
    host->width = w, host->height = h;
    bb_app_ValidateDeviceWindow(false);
  }
  void Update() {  // one framework update: poll, the game's update, clear the hits
    input->p_BeginUpdate(), app->p_OnUpdate(), input->p_EndUpdate();
  }
  void Updates(int n) {
    for (int i = 0; i < n; ++i) Update();
  }
  void CreateAndLoad() {  // a created game whose assets have finished loading
    app->p_OnCreate();
    app->p_FitScreen(host->width, host->height);
    Updates(22);
  }
  void KeyDown(int key) { input->p_KeyEvent(1, key); }
  void KeyUp(int key) { input->p_KeyEvent(2, key); }
  void Press(int key) { KeyDown(key), KeyUp(key); }
  int Commands() const { return app->m_DrawCount / LK_CMD_FLOATS; }
  float Cmd(int i, int element) const { return app->m_DrawList[i * LK_CMD_FLOATS + element]; }
  // The characters of the font glyphs drawn centred on row y, in drawing
  // order; spaces are never drawn.
  std::string Row(float y) const {
    std::string out;
    for (int i = 0; i < Commands(); ++i)
      if (int(Cmd(i, 0)) == app->m_FontImg && Cmd(i, 2) == y) out += char(int(Cmd(i, 6)) + 32);
    return out;
  }
};

// A created game sitting in its main menu.
class MenuStage : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    CreateAndLoad();
    Updates(2);  // the loader has finished; the menu is running
  }
  void Hold(int key, int n) {  // held for n updates, then released for one
    KeyDown(key);
    Updates(n);
    KeyUp(key);
    Update();
  }
  void Tap(int key) { Hold(key, 1); }
  void PointerDown(float x, float y) { input->p_MouseEvent(4, 0, x, y); }
};
