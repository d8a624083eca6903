// Effects and tunes on the real audio device (OpenAL's null backend): the
// files asked for, the 24-slot rotation, the sound modes and volume levels,
// and the music following the pause.
#include <AL/al.h>

#include <vector>

#include "game_fixture.h"

class Sound : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    static gxtkAudio* shared = new gxtkAudio();
    device = shared;
    bb_audio_SetAudioDevice(device);
    host->provideAudio = true;
    app->m_Settings[5] = 1;
    for (int i = 0; i <= 32; ++i) app->m_SfxChannels[i] = i;
    for (int n : {1, 2, 3, 12}) app->p_LoadSFX(n);
  }
  float Gain(int channel) {
    float gain = -1.0f;
    alGetSourcef(device->channels[channel].source, AL_GAIN, &gain);
    return gain;
  }
  gxtkAudio* device = nullptr;
};

TEST_F(Sound, EffectsRotateThroughTwentyFourChannelsAtTheirLevel) {
  EXPECT_EQ(host->audioRequests[3].substr(host->audioRequests[3].size() - 11), "sfx/012.wav");
  host->provideAudio = false;  // a missing file empties the entry
  app->p_LoadSFX(12);
  for (int n : {-3, 100}) app->p_LoadSFX(n);  // outside the bank: ignored
  EXPECT_EQ(host->audioRequests.size(), 5u);
  for (int n : {12, 150}) app->p_PlaySFX(n, 1, 1, 0);
  EXPECT_EQ(app->m_SfxSlot, 0);

  for (int i = 0; i < 25; ++i) app->p_PlaySFX(i == 0 ? 1 : i == 24 ? 3 : 2, 1.0f, 1.0f, 0.0f);
  EXPECT_EQ(app->m_SfxSlot, 1);  // the 25th took the first one's channel
  EXPECT_EQ(device->channels[1].sample, app->m_Sounds[3]->m_sample);
  EXPECT_EQ(device->channels[0].sample, app->m_Sounds[2]->m_sample);
  EXPECT_EQ(device->channels[24].sample, nullptr);

  const float gains[] = {0.8f, 0.6f, 0.32f, 0.8f};  // a damaged level plays loud
  const int levels[] = {0, 1, 2, 9};
  for (int i = 0; i < 4; ++i) {
    app->m_Settings[6] = levels[i];
    app->p_PlaySFX(1, 1.5f, 0.8f, 0.0f);
    EXPECT_NEAR(Gain(app->m_SfxSlot), gains[i], 1e-5) << levels[i];
  }
  const int slot = app->m_SfxSlot;
  for (int mode : {0, 3, 7, 2}) {  // only all and effects-only play, not level 3
    app->m_Settings[5] = mode;
    app->m_Settings[6] = 3;
    app->p_PlaySFX(1, 1, 1, 0);
    app->m_Settings[6] = 0;
    app->p_PlaySFX(1, 1, 1, 0);
  }
  EXPECT_EQ(app->m_SfxSlot, slot + 1);
}

TEST_F(Sound, TunesFollowTheModeLevelAndPause) {
  host->audioRequests.clear();
  app->m_Settings[7] = 1;
  app->p_PlayTune(String("fish"), 1);
  EXPECT_EQ(device->channels[32].state, GXTK_CHANNEL_PLAYING);
  EXPECT_NEAR(Gain(32), 0.7f, 1e-5);
  app->m_Settings[7] = 2;  // a new level applies at the next start
  app->p_PlayTune(String("-1"), 0);
  EXPECT_NEAR(Gain(32), 0.4f, 1e-5);
  app->m_Settings[5] = 2;  // effects only: remembered, not played
  app->p_PlayTune(String("Calligraphyb"), 1);
  EXPECT_EQ(device->channels[32].state, GXTK_CHANNEL_STOPPED);
  app->m_Settings[5] = 3;  // music only: the remembered tune plays
  app->p_PlayTune(String("-1"), 1);
  const std::vector<std::string> asked = {"sfx/fish.ogg", "sfx/fish.ogg", "sfx/Calligraphyb.ogg"};
  ASSERT_EQ(host->audioRequests.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_NE(host->audioRequests[i].find(asked[i]), std::string::npos);

  app->m_Screen = 3;  // no screen step: only the music rule acts
  for (int paused : {1, 0}) {
    app->m_Paused = paused;
    Update();
    EXPECT_EQ(device->channels[32].state, paused ? GXTK_CHANNEL_PAUSED : GXTK_CHANNEL_PLAYING);
  }
  app->p_StopTune();
  EXPECT_EQ(device->channels[32].state, GXTK_CHANNEL_STOPPED);
}
