// Effects and tunes on the real audio device (OpenAL's null backend):
// missing files, the 24-slot rotation, the sound modes and volume levels,
// and the music following the pause.
#include "game_fixture.h"

#include <AL/al.h>

namespace {

gxtkAudio* device = nullptr;

bool endsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

class Sound : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    if (!device) device = new gxtkAudio();
    bb_audio_SetAudioDevice(device);
    host->provideAudio = true;
    app->m_Settings[5] = 1;
    for (int i = 0; i <= 32; ++i) app->m_SfxChannels[i] = i;
    for (int n : {1, 2, 3}) app->p_LoadSFX(n);
    host->audioRequests.clear();
  }
  float Gain(int channel) {
    float gain = -1.0f;
    alGetSourcef(device->channels[channel].source, AL_GAIN, &gain);
    return gain;
  }
  gxtkSample* SampleOf(int n) { return app->m_Sounds[n]->m_sample; }
};

TEST_F(Sound, EffectFileNamesHaveThreeDigits) {
  app->p_LoadSFX(12);
  ASSERT_EQ(host->audioRequests.size(), 1u);
  EXPECT_TRUE(endsWith(host->audioRequests[0], "sfx/012.wav")) << host->audioRequests[0];
  ASSERT_NE(app->m_Sounds[12], nullptr);

  host->provideAudio = false;  // a missing file empties the entry
  app->p_LoadSFX(12);
  EXPECT_EQ(app->m_Sounds[12], nullptr);
  app->p_PlaySFX(12, 1, 1, 0);
  EXPECT_EQ(app->m_SfxSlot, 0);
  app->p_LoadSFX(-3);  // outside the bank: ignored
  app->p_LoadSFX(100);
  EXPECT_EQ(host->audioRequests.size(), 2u);
}

TEST_F(Sound, TwentyFifthEffectTakesTheFirstOnesChannel) {
  app->p_PlaySFX(1, 1.0f, 1.0f, 0.0f);
  EXPECT_EQ(app->m_SfxSlot, 1);
  EXPECT_EQ(device->channels[1].sample, SampleOf(1));
  for (int i = 0; i < 23; ++i) app->p_PlaySFX(2, 1.0f, 1.0f, 0.0f);
  EXPECT_EQ(app->m_SfxSlot, 0);
  EXPECT_EQ(device->channels[0].sample, SampleOf(2));
  EXPECT_EQ(device->channels[1].sample, SampleOf(1));  // still the first
  app->p_PlaySFX(3, 1.0f, 1.0f, 0.0f);
  EXPECT_EQ(app->m_SfxSlot, 1);
  EXPECT_EQ(device->channels[1].sample, SampleOf(3));
  for (int c = 24; c <= 32; ++c) EXPECT_EQ(device->channels[c].sample, nullptr) << c;
}

TEST_F(Sound, LevelsAndModes) {
  struct Case {
    int level;
    float gain;
  } cases[] = {{0, 0.8f}, {1, 0.6f}, {2, 0.32f}, {9, 0.8f}};
  for (const Case& c : cases) {
    app->m_Settings[6] = c.level;
    app->p_PlaySFX(1, 1.5f, 0.8f, 0.0f);
    EXPECT_NEAR(Gain(app->m_SfxSlot), c.gain, 1e-5) << "level " << c.level;
  }
  float pitch = 0.0f;
  alGetSourcef(device->channels[app->m_SfxSlot].source, AL_PITCH, &pitch);
  EXPECT_FLOAT_EQ(pitch, 1.5f);

  const int slot = app->m_SfxSlot;
  app->m_Settings[6] = 3;  // silent: nothing starts and the rotation stays
  app->p_PlaySFX(1, 1, 1, 0);
  EXPECT_EQ(app->m_SfxSlot, slot);
  app->m_Settings[6] = 0;
  for (int mode : {0, 3, 7}) {
    app->m_Settings[5] = mode;
    app->p_PlaySFX(1, 1, 1, 0);
    EXPECT_EQ(app->m_SfxSlot, slot) << "mode " << mode;
  }
  app->m_Settings[5] = 2;  // effects only
  app->p_PlaySFX(1, 1, 1, 0);
  EXPECT_EQ(app->m_SfxSlot, slot + 1);
  app->p_PlaySFX(150, 1, 1, 0);  // no such sound
  EXPECT_EQ(app->m_SfxSlot, slot + 1);
}

TEST_F(Sound, TunesStartWithTheMusicLevel) {
  app->m_Settings[7] = 1;
  app->p_PlayTune(String("fish"), 1);
  ASSERT_EQ(host->audioRequests.size(), 1u);
  EXPECT_TRUE(endsWith(host->audioRequests[0], "sfx/fish.ogg"));
  EXPECT_EQ(app->m_MusicOn, 1);
  EXPECT_EQ(device->channels[32].state, GXTK_CHANNEL_PLAYING);
  EXPECT_NE(device->channels[32].flags, 0);
  EXPECT_NEAR(Gain(32), 0.7f, 1e-5);

  app->m_Settings[7] = 2;  // a new level applies at the next start
  app->p_PlayTune(String("-1"), 0);
  ASSERT_EQ(host->audioRequests.size(), 2u);
  EXPECT_TRUE(endsWith(host->audioRequests[1], "sfx/fish.ogg"));
  EXPECT_NEAR(Gain(32), 0.4f, 1e-5);

  app->m_Settings[5] = 2;  // effects only: remembered, not played
  app->p_PlayTune(String("Calligraphyb"), 1);
  EXPECT_EQ(host->audioRequests.size(), 2u);
  EXPECT_EQ(app->m_MusicOn, 0);
  EXPECT_EQ(app->m_LastTune, String("Calligraphyb"));
  EXPECT_EQ(device->channels[32].state, GXTK_CHANNEL_STOPPED);
  app->m_Settings[5] = 3;  // music only: the remembered tune plays
  app->p_PlayTune(String("-1"), 1);
  EXPECT_TRUE(endsWith(host->audioRequests.back(), "sfx/Calligraphyb.ogg"));

  app->p_StopTune();
  EXPECT_EQ(app->m_MusicOn, 0);
  EXPECT_EQ(device->channels[32].state, GXTK_CHANNEL_STOPPED);
  bb_Larkspin_HasMusicStream = 0;
  app->p_PlayTune(String("fish"), 1);
  EXPECT_EQ(app->m_MusicOn, 0);
}

TEST_F(Sound, MusicPausesWithTheRound) {
  CreateAndLoad();
  app->p_PlayTune(String("fish"), 1);
  app->m_Screen = 3;  // no screen step: only the music rule acts
  app->m_Paused = 1;
  Update();
  EXPECT_EQ(device->channels[32].state, GXTK_CHANNEL_PAUSED);
  app->m_Paused = 0;
  Update();
  EXPECT_EQ(device->channels[32].state, GXTK_CHANNEL_PLAYING);
}
