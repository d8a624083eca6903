// Channel bookkeeping on a real device: lazy sources and take-over when
// OpenAL runs out (the rig allows four sources), deferred buffer deletion,
// samples kept alive by the collector while they sound, and the audio
// module's functions including their failure answers.
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

// Runs whole collector cycles, each followed by allocations so the garbage
// found is destroyed (the collector destroys lazily, on later allocations),
// until `done` holds or the rounds run out.
template <class Done>
bool CollectUntil(Done done, int rounds) {
    for (int i = 0; i < rounds; ++i) {
        if (done()) return true;
        gc_ext_malloced(int(gc_cycle_bytes) + 1);
        gc_step(nullptr);
        for (int k = 0; k < 5000; ++k) new Object;
    }
    return done();
}

}  // namespace

TEST(AudioChannels, SourcesAreMadeLazilyAndTakenOverFromIdleChannels) {
    CaptureRig rig;
    gxtkAudio* audio = rig.audio();
    gxtkSample* tone = rig.Load("t.wav", ToneWav(1, 16, 22050, 0.2, 441));
    ASSERT_TRUE(tone);
    EXPECT_NE(audio->channels[32].source, 0u) << "the music channel gets its source at once";
    for (int i = 0; i < 32; ++i) EXPECT_EQ(audio->channels[i].source, 0u);

    // Three effect sources plus the music's use up the four.
    for (int ch : {0, 1, 2}) ASSERT_EQ(audio->PlaySample(tone, ch, 1), 0);
    audio->SetVolume(1, 0.3f);
    unsigned int second = audio->channels[1].source;
    EXPECT_EQ(audio->PlaySample(tone, 3, 0), -1) << "no source free";
    EXPECT_EQ(audio->channels[3].source, 0u);
    EXPECT_EQ(audio->ChannelState(3), 0);
    audio->SetVolume(3, 0.9f);  // lost: no source to carry it

    audio->StopChannel(1);
    ASSERT_EQ(audio->PlaySample(tone, 3, 0), 0);
    EXPECT_EQ(audio->channels[1].source, 0u);
    EXPECT_EQ(audio->channels[3].source, second);
    ALfloat gain = 0;
    alGetSourcef(second, AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.3f) << "settings travel with the source";

    // An idle music channel still never lends its source.
    audio->StopChannel(0);
    audio->StopMusic();
    EXPECT_EQ(audio->PlaySample(tone, 9, 0), 0) << "takes channel 0's source";
    EXPECT_EQ(audio->channels[0].source, 0u);
    EXPECT_EQ(audio->PlaySample(tone, 10, 0), -1);
    EXPECT_NE(audio->channels[32].source, 0u);

    // A channel with nothing playing (its sound ended) can be taken over.
    audio->PlaySample(tone, 9, 0);
    rig.Finish();
}

TEST(AudioChannels, OneShotsThatEndedFreeTheirSourceForOthers) {
    CaptureRig rig;
    gxtkAudio* audio = rig.audio();
    gxtkSample* blip = rig.Load("blip.wav", ToneWav(1, 16, 22050, 0.05, 441));
    ASSERT_TRUE(blip);
    for (int ch : {0, 1, 2}) ASSERT_EQ(audio->PlaySample(blip, ch, 0), 0);
    SleepMs(300);
    EXPECT_EQ(audio->channels[0].state, 1) << "nobody asked yet";
    EXPECT_EQ(audio->PlaySample(blip, 20, 0), 0) << "a finished channel lends its source";
    EXPECT_EQ(audio->channels[0].source, 0u);
    EXPECT_EQ(audio->ChannelState(0), 0);
    rig.Finish();
}

TEST(AudioChannels, DiscardedBuffersAreDeletedOnceNoSourceHoldsThem) {
    CaptureRig rig;
    gxtkAudio* audio = rig.audio();
    gxtkSample* loop = rig.Load("d1.wav", ToneWav(1, 16, 22050, 0.2, 441));
    gxtkSample* other = rig.Load("d2.wav", ToneWav(1, 16, 22050, 0.05, 441));
    ASSERT_TRUE(loop && other);
    unsigned int buffer = loop->buffer;
    ASSERT_TRUE(alIsBuffer(buffer));

    audio->PlaySample(loop, 0, 1);
    loop->Discard();
    EXPECT_EQ(loop->buffer, 0u);
    EXPECT_TRUE(Pending(buffer));
    audio->PlaySample(other, 1, 0);  // flushes: the loop still holds the buffer
    EXPECT_TRUE(alIsBuffer(buffer));
    EXPECT_TRUE(Pending(buffer));
    EXPECT_EQ(audio->ChannelState(0), 1) << "discarding does not cut a playing sound";

    audio->StopChannel(0);
    audio->PlaySample(other, 1, 0);
    EXPECT_FALSE(alIsBuffer(buffer)) << "a stopped channel lets go of the buffer";
    EXPECT_FALSE(Pending(buffer));
    EXPECT_TRUE(gxtkDiscardedBuffers().empty());
    EXPECT_EQ(other->Discard(), 0);
    EXPECT_EQ(other->Discard(), 0) << "discarding twice queues the buffer once";
    EXPECT_EQ(gxtkDiscardedBuffers().size(), 1u);
    rig.Finish();
}

TEST(AudioChannels, APlayingSampleOutlivesItsLastReference) {
    CaptureRig rig;
    gxtkAudio* audio = rig.audio();
    unsigned int playing, idle;
    {
        gxtkSample* loop = rig.Load("g1.wav", ToneWav(1, 16, 22050, 0.1, 441));
        gxtkSample* unused = rig.Load("g2.wav", ToneWav(1, 16, 22050, 0.1, 441));
        ASSERT_TRUE(loop && unused);
        playing = loop->buffer;
        idle = unused->buffer;
        audio->PlaySample(loop, 6, 1);
    }
    ASSERT_TRUE(CollectUntil([&] { return Pending(idle); }, 20)) << "an unreferenced sample is collected";
    CollectUntil([&] { return Pending(playing); }, 10);
    EXPECT_FALSE(Pending(playing)) << "the channel keeps its sample alive";
    audio->PlaySample(nullptr, 7, 0);  // flushes
    EXPECT_FALSE(alIsBuffer(idle));
    EXPECT_EQ(audio->ChannelState(6), 1);

    audio->StopChannel(6);
    EXPECT_TRUE(CollectUntil([&] { return Pending(playing); }, 20)) << "once stopped, nothing holds it";
    audio->PlaySample(nullptr, 7, 0);
    EXPECT_FALSE(alIsBuffer(playing));
    rig.Finish();
}

TEST(AudioChannels, BadRequestsAreRefusedQuietly) {
    CaptureRig rig;
    gxtkAudio* audio = rig.audio();
    gxtkSample* tone = rig.Load("bad.wav", ToneWav(1, 16, 22050, 0.05, 441));
    ASSERT_TRUE(tone);
    EXPECT_EQ(audio->LoadSample(String(media::TempPath("nothing.wav").c_str())), nullptr);
    EXPECT_EQ(rig.Load("tone.mp3", ToneWav(1, 16, 22050, 0.05, 441)), nullptr) << "unknown ending";
    EXPECT_EQ(rig.Load("junk.wav", media::Bytes(100, 0x41)), nullptr);
    EXPECT_EQ(rig.Load("junk.ogg", media::Bytes(100, 0x41)), nullptr);
    for (int ch : {-1, 33, 1000}) {
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
    media::WavSpec deep;
    deep.bits = 32;
    gxtkSample* silent = rig.Load("deep.wav", media::MakeWav(deep));
    ASSERT_NE(silent, nullptr);
    EXPECT_EQ(audio->PlaySample(silent, 0, 0), 0);
    SleepMs(200);
    media::Capture cap = rig.Finish();
    EXPECT_TRUE(media::LoudSpans(cap.left, cap.right, 0.02f, 400).empty());
}

TEST(AudioModule, ForwardsToTheDeviceAndMapsDataPaths) {
    CaptureRig rig;
    std::string path = media::TempPath("module.wav");
    media::WriteFile(path, ToneWav(1, 16, 22050, 0.2, 441));

    EXPECT_EQ(bb_audio_device, rig.audio());
    c_Sound* sound = bb_audio_LoadSound(String(path.c_str()));
    ASSERT_NE(sound, nullptr);
    ASSERT_NE(sound->m_sample, nullptr);
    EXPECT_EQ(bb_audio_LoadSound(String("no/such/sound.wav")), nullptr) << "looked up in the data folder";

    bb_audio_PlaySound(sound, 12, 1);
    EXPECT_EQ(rig.audio()->ChannelState(12), 1);
    bb_audio_SetChannelVolume(12, 0.5f);
    bb_audio_SetChannelPan(12, -0.5f);
    bb_audio_SetChannelRate(12, 1.5f);
    ALuint source = rig.audio()->channels[12].source;
    ALfloat gain, pitch, x, y, z;
    alGetSourcef(source, AL_GAIN, &gain);
    alGetSourcef(source, AL_PITCH, &pitch);
    alGetSource3f(source, AL_POSITION, &x, &y, &z);
    EXPECT_FLOAT_EQ(gain, 0.5f);
    EXPECT_FLOAT_EQ(pitch, 1.5f);
    EXPECT_NEAR(x, std::sin(-0.5f), 1e-5);
    bb_audio_StopChannel(12);
    EXPECT_EQ(rig.audio()->ChannelState(12), 0);

    // Empty sounds and null sounds play nothing.
    bb_audio_PlaySound((new c_Sound)->m_new2(), 13, 0);
    bb_audio_PlaySound(nullptr, 13, 0);
    EXPECT_EQ(rig.audio()->channels[13].source, 0u);

    EXPECT_EQ(bb_audio_PlayMusic(String("no/such/tune.ogg"), 1), -1);
    EXPECT_EQ(bb_audio_PlayMusic(String(path.c_str()), 1), 0);
    bb_audio_SetMusicVolume(0.25f);
    alGetSourcef(rig.audio()->channels[32].source, AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.25f);
    bb_audio_PauseMusic();
    EXPECT_EQ(rig.audio()->MusicState(), 2);
    bb_audio_ResumeMusic();
    EXPECT_EQ(rig.audio()->MusicState(), 1);
    bb_audio_StopMusic();
    EXPECT_EQ(rig.audio()->MusicState(), 0);
    rig.Finish();
}
