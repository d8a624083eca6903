// gxtkAudio on a real device whose mix is captured: what the channels do must
// be audible (or silent) in the output, at the right length, pitch and side.
// Expected durations come from the wall clock between calls, since the wave
// backend mixes in real time and sleeps may overrun on a busy machine.
#include "audio/capture_rig.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <cmath>

using media::Capture;
using media::Span;

namespace {

const int kHz = CaptureRig::kHertz;
// A change is heard from the mixer's next update: edges move by about that.
const double kEdge = 0.06;

std::vector<Span> Spans(const Capture& cap) { return media::LoudSpans(cap, 0.02f, 400); }
double Seconds(const Span& s) { return double(s.end - s.begin) / kHz; }
double Gap(const Span& a, const Span& b) { return double(b.begin - a.end) / kHz; }
Span Inner(const Span& s, double from, double to) { return {s.begin + size_t(from * kHz), s.begin + size_t(to * kHz)}; }
double Pitch(const Capture& cap, const Span& s) { return media::ZeroCrossingHz(cap.left, s.begin, s.end, kHz); }
double Rms(const std::vector<float>& x, const Span& s) { return std::sqrt(media::Energy(x, s.begin, s.end) / (s.end - s.begin)); }

std::string Describe(const std::vector<Span>& spans) {
    std::string out;
    for (const Span& s : spans) out += std::to_string(double(s.begin) / kHz) + "+" + std::to_string(Seconds(s)) + "s ";
    return out;
}

}  // namespace

// Each test opens its own captured device.
class AudioDevice : public testing::Test {
protected:
    CaptureRig rig;
    gxtkAudio* audio = rig.audio();
};

TEST_F(AudioDevice, SamplesAreHeardAtTheirLengthPitchAndLevel) {
    gxtkSample* mono16 = rig.Load("a.wav", media::ToneWav(1, 16, 22050, 0.4, 441));
    gxtkSample* stereo8 = rig.Load("b.WAV", media::ToneWav(2, 8, 11025, 0.3, 882));
    gxtkSample* ogg = rig.Load("c.ogg", media::ToneOgg(1, 32000, 16000, 660));
    ASSERT_TRUE(mono16 && stereo8 && ogg);

    EXPECT_EQ(audio->PlaySample(mono16, 0, 0), 0);
    EXPECT_EQ(audio->ChannelState(0), 1);
    SleepMs(650);
    EXPECT_EQ(audio->ChannelState(0), 0) << "a one-shot that ran out reads as stopped";
    audio->PlaySample(stereo8, 5, 0);
    SleepMs(550);
    audio->PlaySample(ogg, 31, 0);
    SleepMs(750);
    audio->SetVolume(0, 0.25f);
    audio->SetRate(0, 2.0f);  // twice as fast: half as long, an octave up
    audio->PlaySample(mono16, 0, 0);
    SleepMs(450);
    Capture cap = rig.Finish();
    EXPECT_EQ(cap.hertz, kHz);

    std::vector<Span> spans = Spans(cap);
    ASSERT_EQ(spans.size(), 4u) << Describe(spans);
    const double seconds[] = {0.4, 0.3, 0.5, 0.2}, pitch[] = {441, 882, 660, 882};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(Seconds(spans[i]), seconds[i], 0.03) << i;
        EXPECT_NEAR(Pitch(cap, Inner(spans[i], 0.02, seconds[i] - 0.02)), pitch[i], pitch[i] * 0.015) << i;
    }
    EXPECT_NEAR(Rms(cap.left, spans[3]) / Rms(cap.left, spans[0]), 0.25, 0.03);
}

TEST_F(AudioDevice, PanMovesTheSoundLeftOrRight) {
    gxtkSample* tone = rig.Load("pan.wav", media::ToneWav(1, 16, 22050, 0.3, 441));
    ASSERT_TRUE(tone);
    ALfloat x, y, z;
    audio->SetPan(2, 1.0f);
    alGetSource3f(audio->channels[2].source, AL_POSITION, &x, &y, &z);
    EXPECT_NEAR(x, 0.841f, 1e-3);
    EXPECT_EQ(y, 0.0f);
    EXPECT_NEAR(z, -0.540f, 1e-3);

    for (float pan : {-1.2f, 1.2f, 0.0f}) {
        audio->SetPan(2, pan);  // set before the play: it stays on the source
        audio->PlaySample(tone, 2, 0);
        SleepMs(500);
    }
    Capture cap = rig.Finish();
    std::vector<Span> spans = Spans(cap);
    ASSERT_EQ(spans.size(), 3u) << Describe(spans);
    double balance[3];
    for (int i = 0; i < 3; ++i)
        balance[i] = media::Energy(cap.left, spans[i].begin, spans[i].end) /
                     media::Energy(cap.right, spans[i].begin, spans[i].end);
    EXPECT_GT(balance[0], 10) << "negative pan is left";
    EXPECT_LT(balance[1], 0.1) << "positive pan is right";
    EXPECT_NEAR(balance[2], 1.0, 0.05) << "pan 0 is centred";
}

TEST_F(AudioDevice, StopSilencesAndReplayRestartsWithTheNewSample) {
    gxtkSample* low = rig.Load("low.wav", media::ToneWav(1, 16, 22050, 0.25, 441));
    gxtkSample* high = rig.Load("high.wav", media::ToneWav(1, 16, 22050, 0.25, 1102.5));
    ASSERT_TRUE(low && high);

    double t0 = Now();
    audio->PlaySample(low, 4, 1);  // looping
    SleepMs(400);
    EXPECT_EQ(audio->ChannelState(4), 1) << "a looping sample keeps playing";
    double t1 = Now();
    audio->StopChannel(4);
    EXPECT_EQ(audio->ChannelState(4), 0);
    SleepMs(400);
    double t2 = Now();
    audio->PlaySample(low, 4, 1);
    SleepMs(300);
    double t3 = Now();
    audio->PlaySample(high, 4, 0);  // cuts the loop off at once
    SleepMs(500);
    Capture cap = rig.Finish();

    std::vector<Span> spans = Spans(cap);
    ASSERT_EQ(spans.size(), 2u) << Describe(spans);
    EXPECT_NEAR(Seconds(spans[0]), t1 - t0, kEdge);
    EXPECT_NEAR(Seconds(spans[1]), t3 - t2 + 0.25, kEdge);
    Span tail = {spans[1].end - size_t(0.2 * kHz), spans[1].end};
    EXPECT_NEAR(Pitch(cap, tail), 1102.5, 15) << "the new sample alone, once";
}

TEST_F(AudioDevice, PauseAndResumeFollowTheChannelStates) {
    gxtkSample* loop = rig.Load("loop.wav", media::ToneWav(1, 16, 22050, 0.1, 441));
    gxtkSample* blip = rig.Load("blip.wav", media::ToneWav(1, 16, 22050, 0.05, 441));
    ASSERT_TRUE(loop && blip);

    // Pausing a one-shot that already ended leaves it stopped, not paused.
    audio->PlaySample(blip, 7, 0);
    SleepMs(200);
    audio->PauseChannel(7);
    audio->ResumeChannel(7);
    EXPECT_EQ(audio->ChannelState(7), 0);
    SleepMs(300);

    double t0 = Now();
    audio->PlaySample(loop, 0, 1);
    SleepMs(300);
    double t1 = Now();
    audio->PauseChannel(0);
    EXPECT_EQ(SourceState(audio, 0), AL_PAUSED);
    SleepMs(400);
    EXPECT_EQ(audio->ChannelState(0), 2);
    double t2 = Now();
    audio->ResumeChannel(0);
    EXPECT_EQ(audio->ChannelState(0), 1);
    SleepMs(300);
    double t3 = Now();
    audio->StopChannel(0);
    audio->ResumeChannel(0);  // only a paused channel resumes
    EXPECT_EQ(audio->ChannelState(0), 0);
    SleepMs(300);
    Capture cap = rig.Finish();

    std::vector<Span> spans = Spans(cap);
    ASSERT_EQ(spans.size(), 3u) << Describe(spans);
    EXPECT_NEAR(Seconds(spans[0]), 0.05, 0.005);
    EXPECT_NEAR(Seconds(spans[1]), t1 - t0, kEdge);
    EXPECT_NEAR(Gap(spans[1], spans[2]), t2 - t1, kEdge) << "silent while paused";
    EXPECT_NEAR(Seconds(spans[2]), t3 - t2, kEdge);
}

TEST_F(AudioDevice, ResumeRestartsOnlyWhatSuspendPaused) {
    gxtkSample* low = rig.Load("s-low.wav", media::ToneWav(1, 16, 22050, 0.2, 441, 0.4));
    gxtkSample* high = rig.Load("s-high.wav", media::ToneWav(1, 16, 22050, 0.2, 1764, 0.4));
    ASSERT_TRUE(low && high);

    double t0 = Now();
    audio->PlaySample(low, 0, 1);
    audio->PlaySample(high, 1, 1);
    SleepMs(300);
    double tp = Now();
    audio->PauseChannel(1);  // the game's own pause
    SleepMs(300);
    double t1 = Now();
    audio->Suspend();
    EXPECT_EQ(SourceState(audio, 0), AL_PAUSED);
    EXPECT_EQ(audio->ChannelState(0), 1) << "suspension keeps the channel's own state";
    SleepMs(400);
    double t2 = Now();
    audio->Resume();
    EXPECT_EQ(SourceState(audio, 0), AL_PLAYING);
    EXPECT_EQ(SourceState(audio, 1), AL_PAUSED) << "the game's pause survives the resume";
    EXPECT_EQ(audio->ChannelState(1), 2);
    SleepMs(400);
    double t3 = Now();
    audio->StopChannel(0);
    SleepMs(200);
    Capture cap = rig.Finish();

    std::vector<Span> spans = Spans(cap);
    ASSERT_EQ(spans.size(), 2u) << Describe(spans);
    EXPECT_NEAR(Seconds(spans[0]), t1 - t0, kEdge);
    EXPECT_NEAR(Gap(spans[0], spans[1]), t2 - t1, kEdge) << "silent while suspended";
    EXPECT_NEAR(Seconds(spans[1]), t3 - t2, kEdge);
    // Both tones until the game's pause, the low one alone after it.
    EXPECT_GT(Pitch(cap, Inner(spans[0], kEdge, tp - t0 - kEdge)), 1000);
    EXPECT_NEAR(Pitch(cap, Inner(spans[0], tp - t0 + kEdge, t1 - t0 - kEdge)), 441, 10);
    EXPECT_NEAR(Pitch(cap, Inner(spans[1], kEdge, t3 - t2 - kEdge)), 441, 10);
}

TEST_F(AudioDevice, MusicPlaysOnItsOwnChannelAndEnds) {
    std::string tune = media::TempPath("tune.OGG");
    media::WriteFile(tune, media::ToneOgg(2, 22050, 8820, 441));

    EXPECT_EQ(audio->PlayMusic(String(media::TempPath("missing.ogg").c_str()), 1), -1);
    EXPECT_EQ(audio->PlayMusic(String(tune.c_str()), 0), 0);
    EXPECT_EQ(audio->channels[32].state, 1);
    audio->PauseMusic();
    EXPECT_EQ(audio->MusicState(), 2);
    SleepMs(300);
    audio->ResumeMusic();
    SleepMs(700);
    EXPECT_EQ(audio->MusicState(), 0) << "a tune that ran out is stopped";
    double t0 = Now();
    audio->PlayMusic(String(tune.c_str()), 1);
    SleepMs(1000);
    EXPECT_EQ(audio->MusicState(), 1) << "looping music keeps going";
    double t1 = Now();
    audio->StopMusic();
    EXPECT_EQ(audio->MusicState(), 0);
    SleepMs(200);
    Capture cap = rig.Finish();

    std::vector<Span> spans = Spans(cap);
    ASSERT_EQ(spans.size(), 2u) << Describe(spans);
    EXPECT_NEAR(Seconds(spans[0]), 0.4, 0.03);
    EXPECT_NEAR(Seconds(spans[1]), t1 - t0, kEdge);
}
