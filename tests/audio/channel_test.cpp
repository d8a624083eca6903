// Channel bookkeeping on a real device: lazy sources and take-over when
// OpenAL runs out (the rig allows four), deferred buffer deletion, samples
// kept alive by the collector while they sound, and the audio module.
#include "audio/capture_rig.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

bool Pending(unsigned int buffer) {
    const std::vector<unsigned int>& d = gxtkDiscardedBuffers();
    return std::find(d.begin(), d.end(), buffer) != d.end();
}

// Whole collector cycles, each followed by allocations so that the garbage
// found is destroyed (destruction is lazy), until `done` or the rounds end.
template <class Done>
bool CollectUntil(Done done, int rounds) {
    for (int i = 0; i < rounds && !done(); ++i) {
        gc_ext_malloced(int(gc_cycle_bytes) + 1);
        gc_step(nullptr);
        for (int k = 0; k < 5000; ++k) new Object;
    }
    return done();
}

media::Bytes Tone(double seconds) { return media::ToneWav(1, 16, 22050, seconds, 441); }

}  // namespace

// Each test opens its own captured device.
class AudioChannels : public testing::Test {
protected:
    CaptureRig rig;
    gxtkAudio* audio = rig.audio();
};

TEST_F(AudioChannels, SourcesAreMadeLazilyAndTakenOverFromIdleChannels) {
    gxtkSample* tone = rig.Load("t.wav", Tone(0.05));
    gxtkSample* shot = rig.Load("shot.wav", Tone(0.3));
    ASSERT_TRUE(tone && shot);
    EXPECT_NE(audio->channels[32].source, 0u) << "the music channel gets its source at once";
    for (int i = 0; i < 32; ++i) EXPECT_EQ(audio->channels[i].source, 0u);

    // Three effect sources plus the music's use up all four.
    ASSERT_EQ(audio->PlaySample(tone, 0, 1), 0);
    ASSERT_EQ(audio->PlaySample(tone, 1, 1), 0);
    ASSERT_EQ(audio->PlaySample(shot, 2, 0), 0);
    audio->SetVolume(1, 0.3f);
    EXPECT_EQ(audio->PlaySample(tone, 3, 0), -1) << "no source free";
    EXPECT_EQ(audio->ChannelState(3), 0);

    unsigned int second = audio->channels[1].source;
    audio->StopChannel(1);
    ASSERT_EQ(audio->PlaySample(tone, 3, 1), 0);
    EXPECT_EQ(audio->channels[1].source, 0u);
    EXPECT_EQ(audio->channels[3].source, second);
    ALfloat gain = 0;
    alGetSourcef(second, AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.3f) << "settings travel with the source";

    SleepMs(500);  // channel 2's one-shot ends: its source is free to take
    EXPECT_EQ(audio->PlaySample(tone, 9, 1), 0);
    EXPECT_EQ(audio->channels[2].source, 0u);
    EXPECT_EQ(audio->ChannelState(2), 0);
    audio->StopMusic();  // an idle music channel still never lends its source
    EXPECT_EQ(audio->PlaySample(tone, 10, 0), -1);
    EXPECT_NE(audio->channels[32].source, 0u);
}

TEST_F(AudioChannels, DiscardedBuffersAreDeletedOnceNoSourceHoldsThem) {
    gxtkSample* loop = rig.Load("d1.wav", Tone(0.2));
    gxtkSample* other = rig.Load("d2.wav", Tone(0.05));
    ASSERT_TRUE(loop && other);
    unsigned int buffer = loop->buffer;

    audio->PlaySample(loop, 0, 1);
    loop->Discard();
    EXPECT_EQ(loop->buffer, 0u);
    audio->PlaySample(other, 1, 0);  // flushes, but the loop still holds it
    EXPECT_TRUE(alIsBuffer(buffer));
    EXPECT_TRUE(Pending(buffer));
    EXPECT_EQ(audio->ChannelState(0), 1) << "discarding does not cut a playing sound";

    audio->StopChannel(0);
    audio->PlaySample(other, 1, 0);
    EXPECT_FALSE(alIsBuffer(buffer)) << "a stopped channel lets go of the buffer";
    EXPECT_TRUE(gxtkDiscardedBuffers().empty());
    other->Discard();
    other->Discard();
    EXPECT_EQ(gxtkDiscardedBuffers().size(), 1u) << "discarding twice queues the buffer once";
}

TEST_F(AudioChannels, APlayingSampleOutlivesItsLastReference) {
    unsigned int playing, idle;
    {
        gxtkSample* loop = rig.Load("g1.wav", Tone(0.1));
        gxtkSample* unused = rig.Load("g2.wav", Tone(0.1));
        ASSERT_TRUE(loop && unused);
        playing = loop->buffer;
        idle = unused->buffer;
        audio->PlaySample(loop, 6, 1);
    }
    ASSERT_TRUE(CollectUntil([&] { return Pending(idle); }, 20)) << "an unreferenced sample is collected";
    EXPECT_FALSE(CollectUntil([&] { return Pending(playing); }, 10)) << "the channel keeps its sample alive";
    audio->PlaySample(nullptr, 7, 0);  // flushes
    EXPECT_FALSE(alIsBuffer(idle));

    audio->StopChannel(6);
    EXPECT_TRUE(CollectUntil([&] { return Pending(playing); }, 20)) << "once stopped, nothing holds it";
    audio->PlaySample(nullptr, 7, 0);
    EXPECT_FALSE(alIsBuffer(playing));
}

TEST_F(AudioChannels, BadRequestsAreRefusedQuietly) {
    gxtkSample* tone = rig.Load("bad.wav", Tone(0.05));
    ASSERT_TRUE(tone);
    EXPECT_EQ(audio->LoadSample(String(media::TempPath("nothing.wav").c_str())), nullptr);
    EXPECT_EQ(rig.Load("tone.mp3", Tone(0.05)), nullptr) << "unknown ending";
    EXPECT_EQ(rig.Load("junk.ogg", media::Bytes(100, 0x41)), nullptr);
    for (int ch : {-1, 33}) {
        EXPECT_EQ(audio->PlaySample(tone, ch, 0), -1);
        EXPECT_EQ(audio->ChannelState(ch), 0);
        audio->StopChannel(ch);
        audio->PauseChannel(ch);
        audio->ResumeChannel(ch);
        audio->SetVolume(ch, 1);
        audio->SetPan(ch, 1);
        audio->SetRate(ch, 1);
    }
    EXPECT_EQ(audio->PlaySample(nullptr, 0, 0), -1);

    // A PCM depth OpenAL has no format for loads, but stays silent.
    media::WavShape deep;
    deep.bits = 32;
    gxtkSample* silent = rig.Load("deep.wav", media::MakeWav(deep));
    ASSERT_NE(silent, nullptr);
    EXPECT_EQ(audio->PlaySample(silent, 0, 0), 0);
    SleepMs(200);
    EXPECT_TRUE(media::LoudSpans(rig.Finish(), 0.02f, 400).empty());
}

TEST_F(AudioChannels, TheModuleForwardsToTheDeviceAndMapsDataPaths) {
    std::string path = media::TempPath("module.wav");
    media::WriteFile(path, Tone(0.2));

    c_Sound* sound = bb_audio_LoadSound(String(path.c_str()));
    ASSERT_TRUE(sound && sound->m_sample);
    EXPECT_EQ(bb_audio_LoadSound(String("no/such/sound.wav")), nullptr) << "looked up in the data folder";
    bb_audio_PlaySound(sound, 12, 1);
    EXPECT_EQ(audio->ChannelState(12), 1);
    bb_audio_SetChannelVolume(12, 0.5f);
    bb_audio_SetChannelPan(12, -0.5f);
    bb_audio_SetChannelRate(12, 1.5f);
    ALfloat gain, pitch, x, y, z;
    alGetSourcef(audio->channels[12].source, AL_GAIN, &gain);
    alGetSourcef(audio->channels[12].source, AL_PITCH, &pitch);
    alGetSource3f(audio->channels[12].source, AL_POSITION, &x, &y, &z);
    EXPECT_FLOAT_EQ(gain, 0.5f);
    EXPECT_FLOAT_EQ(pitch, 1.5f);
    EXPECT_NEAR(x, std::sin(-0.5f), 1e-5);
    bb_audio_StopChannel(12);
    EXPECT_EQ(audio->ChannelState(12), 0);
    bb_audio_PlaySound((new c_Sound)->m_new2(), 13, 0);
    EXPECT_EQ(audio->channels[13].source, 0u) << "an empty sound plays nothing";

    EXPECT_EQ(bb_audio_PlayMusic(String("no/such/tune.ogg"), 1), -1);
    EXPECT_EQ(bb_audio_PlayMusic(String(path.c_str()), 1), 0);
    bb_audio_SetMusicVolume(0.25f);
    alGetSourcef(audio->channels[32].source, AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.25f);
    bb_audio_PauseMusic();
    EXPECT_EQ(audio->MusicState(), 2);
    bb_audio_ResumeMusic();
    EXPECT_EQ(audio->MusicState(), 1);
    bb_audio_StopMusic();
    EXPECT_EQ(audio->MusicState(), 0);
}
