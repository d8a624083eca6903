// The shared stage of the game's tests (see game_fixture.h).
#include "game_fixture.h"

FakeHost* GameTest::host = nullptr;

void GameTest::SetUpTestSuite() {
  if (host) return;
  gc_init();
  host = new FakeHost();
  bbInit();
}

void GameTest::SetUp() {
  bb_Larkspin_Init();
  host->millis = host->saves = 0;
  host->state = String();
  host->audioRequests.clear();
  host->provideAudio = false;
  bb_audio_SetAudioDevice(nullptr);
  Resize(640, 480);
  input = (new c_InputDevice())->m_new();
  bb_input_SetInputDevice(input);
  // The framework allows one registered application per process; the tests
  // build a fresh game object each time and drive it directly instead.
  app = new c_MyApp();
}
