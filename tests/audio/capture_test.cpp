// gxtkAudio on a real device whose mix is captured: OpenAL Soft's wave
// backend writes what it mixes, in real time, to a WAV file read back after
// the device closes. What the channels do must be heard (or not) at the right
// length, pitch, level and side; and the bookkeeping behind it: lazy sources
// taken over when OpenAL runs out (four here), deferred buffer deletion,
// samples kept alive while they sound.
#include "audio/audio.h"
#include "audio/media.h"
#include "host/glfw_game.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <numeric>
#include <thread>

namespace {

// The captured 16-bit stereo mix as floats, read from the "data" chunk to
// the end of the file, whatever its header says.
struct Capture { int hertz = 0; std::vector<float> left, right; };
Capture ReadCapture(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Capture cap;
    int16_t frame[2];
    size_t data = b.find("data", 12);
    if (b.size() >= 28) std::memcpy(&cap.hertz, &b[24], 4);
    for (size_t p = data + 8; data != b.npos && p + 4 <= b.size(); p += 4) {
        std::memcpy(frame, &b[p], 4);
        cap.left.push_back(frame[0] / 32768.0f), cap.right.push_back(frame[1] / 32768.0f);
    }
    return cap;
}

// Runs of frames louder than 0.02; quieter stretches shorter than 400 frames
// (a sine's zero crossings) do not split a run.
struct Span { size_t begin, end; };
std::vector<Span> Spans(const Capture& cap) {
    std::vector<Span> spans;
    for (size_t i = 0; i < cap.left.size(); ++i) {
        if (std::fabs(cap.left[i]) <= 0.02f && std::fabs(cap.right[i]) <= 0.02f) continue;
        if (!spans.empty() && i - spans.back().end <= 400) spans.back().end = i + 1;
        else spans.push_back({i, i + 1});
    }
    return spans;
}

const int kHz = 44100;

double Seconds(const Span& s) { return double(s.end - s.begin) / kHz; }
Span Inner(const Span& s, double from, double to) { return {s.begin + size_t(from * kHz), s.begin + size_t(to * kHz)}; }
double Pitch(const Capture& cap, const Span& s) {  // from zero crossings
    int crossings = 0;
    for (size_t i = s.begin + 1; i < s.end; ++i) crossings += (cap.left[i - 1] < 0) != (cap.left[i] < 0);
    return crossings / 2.0 / Seconds(s);
}
double Rms(const std::vector<float>& x, const Span& s) {
    return std::sqrt(std::inner_product(&x[s.begin], &x[s.end], &x[s.begin], 0.0) / (s.end - s.begin));
}
media::Bytes Tone(double seconds) { return media::ToneWav(1, 16, 22050, seconds, 441); }

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

ALint SourceInt(ALuint source, ALenum what) { ALint v = -1; return alGetSourcei(source, what, &v), v; }
ALfloat Gain(ALuint source) { ALfloat v = -1; return alGetSourcef(source, AL_GAIN, &v), v; }
bool Pending(unsigned int buffer) { auto& d = gxtkDiscardedBuffers(); return std::count(d.begin(), d.end(), buffer) > 0; }

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

}  // namespace

// Each test opens its own captured device.
class AudioDevice : public testing::Test {
protected:
    // OpenAL reads its configuration once, before the first device opens.
    static void SetUpTestSuite() {
        std::string text = "[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\nfrequency = 44100\n"
                           "hrtf = false\ndither = false\noutput-limiter = false\nsources = 4\n[wave]\nfile = " +
                           media::TempPath("capture.wav") + "\n";
        setenv("ALSOFT_CONF", media::Written("alsoft.conf", media::Bytes(text.begin(), text.end())).c_str(), 1);
        new BBGlfwGame;  // the device loads its files through the one host
        bb_audio_Init();
    }
    void SetUp() override { bb_audio_SetAudioDevice(audio = new gxtkAudio); }
    void TearDown() override { if (!finished) audio->Close(); }
    gxtkSample* Load(const char* name, const media::Bytes& b) { return audio->LoadSample(String(media::Written(name, b).c_str())); }
    Capture Finish() {  // closing the device completes the capture
        audio->Close(), finished = true;
        return ReadCapture(media::TempPath("capture.wav"));
    }
    int State(int channel) { return SourceInt(audio->channels[channel].source, AL_SOURCE_STATE); }
    gxtkAudio* audio = nullptr;
    bool finished = false;
};

TEST_F(AudioDevice, SamplesAreHeardAtTheirLengthPitchLevelAndSide) {
    gxtkSample* mono16 = Load("a.wav", media::ToneWav(1, 16, 22050, 0.3, 441));
    gxtkSample* stereo8 = Load("b.WAV", media::ToneWav(2, 8, 11025, 0.2, 882));
    gxtkSample* ogg = Load("c.ogg", media::ToneOgg(1, 32000, 8000, 660));
    // A PCM depth OpenAL has no format for: loads, but stays silent.
    gxtkSample* silent = Load("deep.wav", media::ToneWav(1, 32, 22050, 0.1, 441));
    ASSERT_TRUE(mono16 && stereo8 && ogg && silent);

    EXPECT_TRUE(audio->PlaySample(silent, 8, 0) == 0 && audio->PlaySample(mono16, 0, 0) == 0 && audio->ChannelState(0) == 1);
    SleepMs(500);
    audio->PauseChannel(0), audio->ResumeChannel(0);
    EXPECT_EQ(audio->ChannelState(0), 0) << "a one-shot that ran out stays stopped";
    audio->PlaySample(stereo8, 5, 0);
    SleepMs(400);
    audio->PlaySample(ogg, 31, 0);
    SleepMs(450);
    bb_audio_SetChannelVolume(0, 0.25f);
    bb_audio_SetChannelRate(0, 2.0f);  // twice as fast: half as long, an octave up
    audio->PlaySample(mono16, 0, 0);
    SleepMs(350);
    for (float pan : {-1.2f, 1.2f, 0.0f}) {
        bb_audio_SetChannelPan(2, pan);  // set before the play: it stays on the source
        audio->PlaySample(mono16, 2, 0);
        SleepMs(450);
    }
    Capture cap = Finish();
    EXPECT_EQ(cap.hertz, kHz);

    std::vector<Span> spans = Spans(cap);
    ASSERT_EQ(spans.size(), 7u);
    const double seconds[] = {0.3, 0.2, 0.25, 0.15}, pitch[] = {441, 882, 660, 882};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(Seconds(spans[i]), seconds[i], 0.03) << i;
        EXPECT_NEAR(Pitch(cap, Inner(spans[i], 0.02, seconds[i] - 0.02)), pitch[i], pitch[i] * 0.015) << i;
    }
    EXPECT_NEAR(Rms(cap.left, spans[3]) / Rms(cap.left, spans[0]), 0.25, 0.03);
    for (int i = 0; i < 3; ++i) {  // negative pan is left, positive right, 0 centred
        double balance = Rms(cap.left, spans[4 + i]) / Rms(cap.right, spans[4 + i]);
        EXPECT_TRUE(i == 0 ? balance > 3 : i == 1 ? balance < 0.3 : std::fabs(balance - 1) < 0.03) << i << ": " << balance;
    }
}

// The game's own pause, the host's suspension and the music, in OpenAL's
// source states: resuming from suspension restarts only what it paused; a
// stopped channel never resumes; music takes its loop flag and its own volume.
TEST_F(AudioDevice, PauseSuspendAndMusicHoldTheSourcesUntilResumed) {
    gxtkSample* loop = Load("loop.wav", Tone(0.2));
    std::string tune = media::Written("tune.OGG", media::ToneOgg(2, 22050, 4410, 441));
    const int music = gxtkAudio::kMusicChannel;
    ASSERT_TRUE(loop);
    for (int loops : {0, 1}) {
        ASSERT_EQ(bb_audio_PlayMusic(String(tune.c_str()), loops), 0);
        EXPECT_EQ(SourceInt(audio->channels[music].source, AL_LOOPING), loops);
    }
    bb_audio_SetMusicVolume(0.25f);
    EXPECT_FLOAT_EQ(Gain(audio->channels[music].source), 0.25f);
    audio->PlaySample(loop, 1, 1);
    audio->PauseChannel(1);
    EXPECT_TRUE(audio->ChannelState(1) == 2 && State(1) == AL_PAUSED);
    audio->Suspend();
    EXPECT_TRUE(State(music) == AL_PAUSED && audio->MusicState() == 1) << "suspension keeps the channel's own state";
    audio->Resume();
    EXPECT_TRUE(State(music) == AL_PLAYING && State(1) == AL_PAUSED) << "the game's pause survives the resume";
    audio->ResumeChannel(1);
    EXPECT_TRUE(State(1) == AL_PLAYING && audio->ChannelState(1) == 1);
    bb_audio_PauseMusic();
    EXPECT_TRUE(audio->MusicState() == 2 && State(music) == AL_PAUSED);
    bb_audio_ResumeMusic();
    EXPECT_TRUE(audio->MusicState() == 1 && State(music) == AL_PLAYING);
    bb_audio_StopMusic(), bb_audio_ResumeMusic();
    EXPECT_TRUE(audio->MusicState() == 0 && State(music) == AL_STOPPED) << "only a paused channel resumes";
    bb_audio_PlayMusic(String(tune.c_str()), 1);
    EXPECT_EQ(bb_audio_PlayMusic(String("no/such/tune.ogg"), 1), -1) << "looked up in the data folder";
    EXPECT_EQ(State(music), AL_STOPPED) << "a tune that cannot be loaded still stops the old one";
}

TEST_F(AudioDevice, SourcesAreMadeLazilyAndTakenOverFromIdleChannels) {
    gxtkSample* tone = Load("t.wav", Tone(0.05));
    gxtkSample* shot = Load("shot.wav", Tone(0.3));
    ASSERT_TRUE(tone && shot);
    for (int i = 0; i < 32; ++i) EXPECT_EQ(audio->channels[i].source, 0u);

    // Three effect sources plus the music's use up all four.
    ASSERT_TRUE(!audio->PlaySample(tone, 0, 1) && !audio->PlaySample(tone, 1, 1) && !audio->PlaySample(shot, 2, 0));
    audio->SetVolume(1, 0.3f);
    EXPECT_TRUE(audio->PlaySample(tone, 3, 0) == -1 && audio->ChannelState(3) == 0) << "no source free";

    unsigned int second = audio->channels[1].source;
    audio->StopChannel(1);
    ASSERT_EQ(audio->PlaySample(tone, 3, 1), 0);
    EXPECT_TRUE(audio->channels[1].source == 0 && audio->channels[3].source == second);
    EXPECT_FLOAT_EQ(Gain(second), 0.3f) << "settings travel with the source";

    audio->PlaySample(shot, 3, 0);  // replaces the loop at once
    EXPECT_TRUE(ALuint(SourceInt(second, AL_BUFFER)) == shot->buffer && !SourceInt(second, AL_LOOPING));
    SleepMs(400);  // the one-shots end: their sources are free to take
    EXPECT_TRUE(audio->PlaySample(tone, 9, 1) == 0 && audio->PlaySample(tone, 10, 1) == 0);
    EXPECT_EQ(audio->channels[2].source | audio->channels[3].source, 0u);
    audio->StopMusic();  // an idle music channel still never lends its source
    EXPECT_TRUE(audio->PlaySample(tone, 11, 0) == -1 && audio->channels[32].source != 0);
}

TEST_F(AudioDevice, BuffersAreDeletedOnceNothingSoundsThem) {
    unsigned int playing, idle;
    {
        gxtkSample* loop = Load("g1.wav", Tone(0.1));
        gxtkSample* unused = Load("g2.wav", Tone(0.1));
        ASSERT_TRUE(loop && unused);
        playing = loop->buffer, idle = unused->buffer;
        audio->PlaySample(loop, 6, 1);
    }
    ASSERT_TRUE(CollectUntil([&] { return Pending(idle); }, 20)) << "an unreferenced sample is collected";
    EXPECT_FALSE(CollectUntil([&] { return Pending(playing); }, 10)) << "the channel keeps its sample alive";
    audio->PlaySample(nullptr, 7, 0);  // flushes
    EXPECT_FALSE(alIsBuffer(idle));
    gxtkSample* other = Load("d2.wav", Tone(0.05));  // unrooted: no collection from here on

    audio->channels[6].sample->Discard();
    EXPECT_TRUE(Pending(playing));
    audio->PlaySample(other, 7, 0);
    EXPECT_TRUE(alIsBuffer(playing) && audio->ChannelState(6) == 1) << "discarding does not cut a playing sound";
    audio->StopChannel(6), audio->PlaySample(other, 7, 0);
    EXPECT_FALSE(alIsBuffer(playing)) << "a stopped channel lets go of the buffer";
    other->Discard();
    other->Discard();
    EXPECT_EQ(gxtkDiscardedBuffers().size(), 1u) << "discarding twice queues the buffer once";
}
