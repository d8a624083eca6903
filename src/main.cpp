// Process entry. Until the game's application object is wired in, a
// stand-in application keeps the window alive: it clears the screen every
// frame and ends the program when the window's close button is pressed.
#include <GL/gl.h>

#include "host/entry.h"
#include "host/quill_game.h"

namespace {

class StandInApp : public BBGameDelegate {
 public:
  void StartGame() override { BBGame::_game->SetUpdateRate(60); }

  void RenderGame() override {
    glClearColor(0.05f, 0.05f, 0.1f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
  }

  void KeyEvent(int event, int data) override {
    if (event == BBEVENT_KEY_DOWN && data == BBKEY_CLOSE) bbError(String());
  }
};

}  // namespace

int bbInit() { return 0; }

int bbMain() {
  BBGame::_game->SetDelegate(new StandInApp);
  return 0;
}

int main(int argc, char** argv) {
  BBQuillGame::Main(argc, const_cast<const char**>(argv));
  return 0;
}
