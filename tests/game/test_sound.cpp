// Effects and tunes on the real audio device (OpenAL's null backend): the
// files asked for, the 24-slot rotation, the sound modes and volume levels,
// and the music following the pause.
#include <AL/al.h>

#include "game_fixture.h"

TEST_F(GameTest, SoundRotatesFollowsItsModesAndLevelsAndPausesWithTheRound) {
  static gxtkAudio* device = new gxtkAudio();
  bb_audio_SetAudioDevice(device);
  host->provideAudio = true;
  app->m_Settings[5] = 1;
  for (int i = 0; i <= 32; ++i) app->m_SfxChannels[i] = i;
  auto gain = [](int channel) {
    float g = -1.0f;
    alGetSourcef(device->channels[channel].source, AL_GAIN, &g);
    return g;
  };
  for (int n : {1, 2, 3, 12}) app->p_LoadSFX(n);
  host->provideAudio = false;
  for (int n : {12, -3, 100}) app->p_LoadSFX(n);  // a missing file empties the entry; outside the bank: ignored
  EXPECT_EQ(host->audioRequests.size(), 5u);
  EXPECT_EQ(host->audioRequests[3].substr(host->audioRequests[3].size() - 11), "sfx/012.wav");
  for (int n : {12, 150}) app->p_PlaySFX(n, 1, 1, 0);  // missing, and outside the bank: nothing plays
  for (int i = 0; i < 25; ++i) app->p_PlaySFX(i == 0 ? 1 : i == 24 ? 3 : 2, 1, 1, 0);
  EXPECT_EQ(app->m_SfxSlot, 1);  // the 25th took the first one's channel
  EXPECT_EQ(device->channels[1].sample, app->m_Sounds[3]->m_sample);
  EXPECT_EQ(device->channels[0].sample, app->m_Sounds[2]->m_sample);
  EXPECT_EQ(device->channels[24].sample, nullptr);
  // Mode 1 plays all, 2 effects only, 3 music only; level 3 is silent and a
  // damaged level plays loud.
  const float effects[][3] = {{1, 0, 0.8f}, {1, 1, 0.6f}, {2, 2, 0.32f}, {1, 9, 0.8f}, {0, 0, -1}, {3, 0, -1}, {1, 3, -1}};
  for (auto& e : effects) {
    app->m_Settings[5] = int(e[0]), app->m_Settings[6] = int(e[1]);
    const int slot = app->m_SfxSlot;
    app->p_PlaySFX(1, 1.5f, 0.8f, 0.0f);
    EXPECT_NEAR(app->m_SfxSlot == slot ? -1.0f : gain(app->m_SfxSlot), e[2], 1e-5) << e[0] << " " << e[1];
  }
  host->provideAudio = true;
  app->m_Settings[5] = 2, app->m_Settings[7] = 1;
  app->p_PlayTune(String("fish"), 1);  // effects only: remembered, not played
  EXPECT_EQ(host->audioRequests.size(), 5u);
  app->m_Settings[5] = 3;
  app->p_PlayTune(String("-1"), 1);  // music only: the remembered tune, at its level
  EXPECT_EQ(host->audioRequests.back().substr(host->audioRequests.back().size() - 12), "sfx/fish.ogg");
  EXPECT_NEAR(gain(32), 0.7f, 1e-5);
  app->m_Screen = 3;                          // no screen step: only the music rule acts
  for (int paused : {1, 0}) {
    app->m_Paused = paused;
    Update();
    EXPECT_EQ(device->channels[32].state, paused ? GXTK_CHANNEL_PAUSED : GXTK_CHANNEL_PLAYING);
  }
}
