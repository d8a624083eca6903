// With no usable audio backend the device reports the failure once and the
// game runs on silently: loads succeed, plays answer -1, nothing crashes; nor
// does a request for a channel that does not exist.
#include "audio/audio.h"
#include "audio/media.h"
#include "host/glfw_game.h"

#include <gtest/gtest.h>

TEST(AudioWithoutDevice, ReportsTheFailureAndRunsOnSilently) {
    new BBGlfwGame;
    bb_audio_Init();
    EXPECT_EQ(bb_audio_LoadSound(String("x.wav")), nullptr) << "no device set yet";
    EXPECT_EQ(bb_audio_PlayMusic(String("x.ogg"), 0), -1);

    testing::internal::CaptureStdout();
    gxtkAudio* audio = new gxtkAudio;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "opening openal device\nOpenAl error: alcOpenDevice failed\n");
    bb_audio_SetAudioDevice(audio);

    std::string path = media::TempPath("quiet.wav");
    media::WriteFile(path, media::ToneWav(1, 16, 22050, 0.1, 441));
    c_Sound* sound = bb_audio_LoadSound(String(path.c_str()));
    ASSERT_NE(sound, nullptr) << "the file itself loads";
    EXPECT_EQ(bb_audio_LoadSound(String("no/such/sound.wav")), nullptr) << "looked up in the data folder";
    EXPECT_EQ(audio->PlaySample(nullptr, 0, 0), -1);
    bb_audio_PlaySound((new c_Sound)->m_new2(), 13, 0);  // a sound without a sample
    for (int ch : {-1, gxtkAudio::kChannels}) {
        EXPECT_EQ(audio->PlaySample(sound->m_sample, ch, 0), -1);
        EXPECT_EQ(audio->ChannelState(ch), 0);
        bb_audio_StopChannel(ch), audio->PauseChannel(ch), audio->ResumeChannel(ch);
        bb_audio_SetChannelVolume(ch, 1), bb_audio_SetChannelPan(ch, 1), bb_audio_SetChannelRate(ch, 1);
    }
    EXPECT_EQ(audio->PlaySample(sound->m_sample, 0, 1), -1) << "but there is no source to play it";
    bb_audio_PlaySound(sound, 3, 0);
    bb_audio_SetChannelVolume(3, 0.5f);
    bb_audio_SetChannelPan(3, 0.5f);
    EXPECT_EQ(bb_audio_PlayMusic(String(path.c_str()), 1), 0);
    bb_audio_PauseMusic();
    audio->Suspend();
    audio->Resume();
    bb_audio_ResumeMusic();
    for (int ch = 0; ch < gxtkAudio::kChannels; ++ch) EXPECT_EQ(audio->ChannelState(ch), 0) << ch;
}
