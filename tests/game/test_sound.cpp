// Effects and tunes on the real audio device (OpenAL's null backend): the
// files asked for, the 24-slot rotation, the sound modes and volume levels,
// and the music following the pause.
#include <AL/al.h>

#include "game_fixture.h"

class Sound : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    static gxtkAudio* shared = new gxtkAudio();
    bb_audio_SetAudioDevice(device = shared);
    host->provideAudio = true;
    app->m_Settings[5] = 1;
    for (int i = 0; i <= 32; ++i) app->m_SfxChannels[i] = i;
  }
  float Gain(int channel) {
    float gain = -1.0f;
    alGetSourcef(device->channels[channel].source, AL_GAIN, &gain);
    return gain;
  }
  // The host was asked for a file ending in tail.
  bool Asked(int i, const std::string& tail) {
    const std::string& s = host->audioRequests.at(i);
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
  }
  gxtkAudio* device = nullptr;
};

TEST_F(Sound, EffectsRotateThroughTwentyFourChannelsAtTheirLevel) {
  for (int n : {1, 2, 3, 12}) app->p_LoadSFX(n);
  EXPECT_TRUE(Asked(3, "sfx/012.wav"));
  host->provideAudio = false;
  for (int n : {12, -3, 100}) app->p_LoadSFX(n);  // a missing file empties the entry; outside the bank: ignored
  EXPECT_EQ(host->audioRequests.size(), 5u);
  for (int n : {12, 150}) app->p_PlaySFX(n, 1, 1, 0);
  EXPECT_EQ(app->m_SfxSlot, 0);
  for (int i = 0; i < 25; ++i) app->p_PlaySFX(i == 0 ? 1 : i == 24 ? 3 : 2, 1.0f, 1.0f, 0.0f);
  EXPECT_EQ(app->m_SfxSlot, 1);  // the 25th took the first one's channel
  EXPECT_EQ(device->channels[1].sample, app->m_Sounds[3]->m_sample);
  EXPECT_EQ(device->channels[0].sample, app->m_Sounds[2]->m_sample);
  EXPECT_EQ(device->channels[24].sample, nullptr);

  const float gains[][2] = {{0, 0.8f}, {1, 0.6f}, {2, 0.32f}, {9, 0.8f}};  // a damaged level plays loud
  for (auto& g : gains) {
    app->m_Settings[6] = int(g[0]);
    app->p_PlaySFX(1, 1.5f, 0.8f, 0.0f);
    EXPECT_NEAR(Gain(app->m_SfxSlot), g[1], 1e-5) << g[0];
  }
  const int slot = app->m_SfxSlot;
  for (int mode : {0, 3, 7, 2}) {  // only all and effects-only play, and not at level 3
    app->m_Settings[5] = mode;
    for (int level : {3, 0}) app->m_Settings[6] = level, app->p_PlaySFX(1, 1, 1, 0);
  }
  EXPECT_EQ(app->m_SfxSlot, slot + 1);
}

TEST_F(Sound, TunesFollowTheModeLevelAndPause) {
  const int kStopped = GXTK_CHANNEL_STOPPED;
  struct Step {
    int mode, level;
    const char* name;
    float gain;  // -1: not playing
  } steps[] = {{1, 1, "fish", 0.7f}, {1, 2, "-1", 0.4f}, {2, 2, "Calligraphyb", -1}, {3, 2, "-1", 0.4f}};
  for (const Step& s : steps) {  // "-1" replays the remembered tune at the current level
    app->m_Settings[5] = s.mode;
    app->m_Settings[7] = s.level;
    app->p_PlayTune(String(s.name), 1);
    EXPECT_EQ(device->channels[32].state == kStopped, s.gain < 0) << s.name;
    EXPECT_NEAR(s.gain < 0 ? -1.0f : Gain(32), s.gain, 1e-5) << s.name;
  }
  EXPECT_EQ(host->audioRequests.size(), 3u);  // effects only: remembered, not played
  EXPECT_TRUE(Asked(0, "sfx/fish.ogg") && Asked(1, "sfx/fish.ogg") && Asked(2, "sfx/Calligraphyb.ogg"));
  app->m_Screen = 3;  // no screen step: only the music rule acts
  for (int paused : {1, 0}) {
    app->m_Paused = paused;
    Update();
    EXPECT_EQ(device->channels[32].state, paused ? GXTK_CHANNEL_PAUSED : GXTK_CHANNEL_PLAYING);
  }
  app->p_StopTune();
  EXPECT_EQ(device->channels[32].state, kStopped);
}
