// gxtkAudio on a real OpenAL device whose mix is captured to a file: what the
// channels do must be audible (or silent) in the output, at the right length,
// pitch and side.
#include "audio/capture_rig.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <cmath>

using media::Capture;
using media::Span;

namespace {

const int kHz = CaptureRig::kOutputHertz;
const float kLoud = 0.02f;
const size_t kJoin = 400;  // samples near a zero crossing are not a gap

std::vector<Span> Spans(const Capture& cap) { return media::LoudSpans(cap.left, cap.right, kLoud, kJoin); }

double Seconds(const Span& s) { return double(s.end - s.begin) / kHz; }

// Frequency of the middle of a span, away from its edges.
double Pitch(const Capture& cap, const Span& s) {
    size_t margin = (s.end - s.begin) / 10;
    return media::ZeroCrossingHz(cap.left, s.begin + margin, s.end - margin, kHz);
}

std::string Describe(const std::vector<Span>& spans) {
    std::string out;
    for (const Span& s : spans)
        out += "[" + std::to_string(double(s.begin) / kHz) + "s, " + std::to_string(double(s.end) / kHz) + "s] ";
    return out;
}

}  // namespace

TEST(AudioDevice, SamplesAreHeardForTheirLengthAtTheirPitch) {
    CaptureRig rig;
    gxtkAudio* audio = rig.audio();
    gxtkSample* mono16 = rig.Load("a.wav", ToneWav(1, 16, 22050, 0.4, 441));
    gxtkSample* stereo8 = rig.Load("b.WAV", ToneWav(2, 8, 11025, 0.3, 882));
    gxtkSample* ogg = rig.Load("c.ogg", media::EncodeOgg(media::Sine(int(0.5 * 32000), 1, 32000, 660, 0.5), 1, 32000));
    ASSERT_TRUE(mono16 && stereo8 && ogg);

    SleepMs(100);
    EXPECT_EQ(audio->PlaySample(mono16, 0, 0), 0);
    EXPECT_EQ(audio->ChannelState(0), 1);
    SleepMs(650);
    EXPECT_EQ(audio->ChannelState(0), 0) << "a finished one-shot reads as stopped";
    EXPECT_EQ(audio->PlaySample(stereo8, 5, 0), 0);
    SleepMs(550);
    EXPECT_EQ(audio->PlaySample(ogg, 31, 0), 0);
    SleepMs(750);
    Capture cap = rig.Finish();
    ASSERT_TRUE(cap.ok);
    EXPECT_EQ(cap.hertz, kHz);

    std::vector<Span> spans = Spans(cap);
    ASSERT_EQ(spans.size(), 3u) << Describe(spans);
    EXPECT_NEAR(Seconds(spans[0]), 0.4, 0.01);
    EXPECT_NEAR(Seconds(spans[1]), 0.3, 0.01);
    EXPECT_NEAR(Seconds(spans[2]), 0.5, 0.03);
    EXPECT_NEAR(Pitch(cap, spans[0]), 441, 6);
    EXPECT_NEAR(Pitch(cap, spans[1]), 882, 10);
    EXPECT_NEAR(Pitch(cap, spans[2]), 660, 8);
}

TEST(AudioDevice, PanMovesTheSoundLeftOrRight) {
    CaptureRig rig;
    gxtkAudio* audio = rig.audio();
    gxtkSample* tone = rig.Load("pan.wav", ToneWav(1, 16, 22050, 0.3, 441));
    ASSERT_TRUE(tone);

    audio->SetPan(2, 0.0f);
    ALfloat x, y, z;
    alGetSource3f(audio->channels[2].source, AL_POSITION, &x, &y, &z);
    EXPECT_NEAR(x, 0.0f, 1e-6);
    EXPECT_NEAR(z, -1.0f, 1e-6);
    audio->SetPan(2, 1.0f);
    alGetSource3f(audio->channels[2].source, AL_POSITION, &x, &y, &z);
    EXPECT_NEAR(x, 0.841f, 1e-3);
    EXPECT_NEAR(y, 0.0f, 1e-6);
    EXPECT_NEAR(z, -0.540f, 1e-3);

    const float pans[] = {-1.2f, 1.2f, 0.0f};
    for (float pan : pans) {
        audio->SetPan(2, pan);  // set before the play: it stays on the source
        audio->PlaySample(tone, 2, 0);
        SleepMs(500);
    }
    Capture cap = rig.Finish();
    std::vector<Span> spans = Spans(cap);
    ASSERT_EQ(spans.size(), 3u) << Describe(spans);
    double l0 = media::Energy(cap.left, spans[0].begin, spans[0].end);
    double r0 = media::Energy(cap.right, spans[0].begin, spans[0].end);
    double l1 = media::Energy(cap.left, spans[1].begin, spans[1].end);
    double r1 = media::Energy(cap.right, spans[1].begin, spans[1].end);
    double l2 = media::Energy(cap.left, spans[2].begin, spans[2].end);
    double r2 = media::Energy(cap.right, spans[2].begin, spans[2].end);
    EXPECT_GT(l0, 10 * r0) << "negative pan is left";
    EXPECT_GT(r1, 10 * l1) << "positive pan is right";
    EXPECT_NEAR(l2 / r2, 1.0, 0.05) << "pan 0 is centred";
}

TEST(AudioDevice, VolumeAndRateShapeWhatIsHeard) {
    CaptureRig rig;
    gxtkAudio* audio = rig.audio();
    gxtkSample* tone = rig.Load("vol.wav", ToneWav(1, 16, 22050, 0.4, 441));
    ASSERT_TRUE(tone);
    audio->PlaySample(tone, 1, 0);
    SleepMs(600);
    audio->SetVolume(1, 0.25f);
    audio->SetRate(1, 2.0f);  // twice as fast: half as long, an octave up
    audio->PlaySample(tone, 1, 0);
    SleepMs(500);
    Capture cap = rig.Finish();
    std::vector<Span> spans = Spans(cap);
    ASSERT_EQ(spans.size(), 2u) << Describe(spans);
    EXPECT_NEAR(Seconds(spans[1]), 0.2, 0.01);
    EXPECT_NEAR(Pitch(cap, spans[1]), 882, 12);
    double rms0 = std::sqrt(media::Energy(cap.left, spans[0].begin, spans[0].end) / (spans[0].end - spans[0].begin));
    double rms1 = std::sqrt(media::Energy(cap.left, spans[1].begin, spans[1].end) / (spans[1].end - spans[1].begin));
    EXPECT_NEAR(rms1 / rms0, 0.25, 0.03);
}

TEST(AudioDevice, StopSilencesAndReplayRestartsWithTheNewSample) {
    CaptureRig rig;
    gxtkAudio* audio = rig.audio();
    gxtkSample* low = rig.Load("low.wav", ToneWav(1, 16, 22050, 0.25, 441));
    gxtkSample* high = rig.Load("high.wav", ToneWav(1, 16, 22050, 0.25, 1102.5));
    ASSERT_TRUE(low && high);

    audio->PlaySample(low, 4, 1);  // looping
    SleepMs(400);
    EXPECT_EQ(audio->ChannelState(4), 1) << "a looping sample keeps playing";
    audio->StopChannel(4);
    EXPECT_EQ(audio->ChannelState(4), 0);
    SleepMs(400);
    audio->PlaySample(low, 4, 1);
    SleepMs(300);
    audio->PlaySample(high, 4, 0);  // cuts the loop off at once
    SleepMs(500);
    EXPECT_EQ(audio->ChannelState(4), 0);
    Capture cap = rig.Finish();

    std::vector<Span> spans = Spans(cap);
    ASSERT_EQ(spans.size(), 2u) << Describe(spans);
    EXPECT_NEAR(Seconds(spans[0]), 0.4, 0.1);
    EXPECT_NEAR(Seconds(spans[1]), 0.3 + 0.25, 0.1);
    // The tail of the second span is the new sample only, played once.
    Span tail = {spans[1].end - size_t(0.2 * kHz), spans[1].end};
    EXPECT_NEAR(Pitch(cap, tail), 1102.5, 15);
    EXPECT_GT(cap.left.size() - spans[1].end, size_t(0.15 * kHz)) << "silence after the one-shot ended";
}

TEST(AudioDevice, PauseAndResumeFollowTheChannelStates) {
    CaptureRig rig;
    gxtkAudio* audio = rig.audio();
    gxtkSample* loop = rig.Load("loop.wav", ToneWav(1, 16, 22050, 0.1, 441));
    gxtkSample* blip = rig.Load("blip.wav", ToneWav(1, 16, 22050, 0.05, 441));
    ASSERT_TRUE(loop && blip);

    // Pausing a one-shot that already ended leaves it stopped, not paused,
    // and resuming it does nothing.
    audio->PlaySample(blip, 7, 0);
    SleepMs(200);
    audio->PauseChannel(7);
    EXPECT_EQ(audio->ChannelState(7), 0);
    audio->ResumeChannel(7);
    EXPECT_EQ(audio->ChannelState(7), 0);
    SleepMs(300);

    audio->PlaySample(loop, 0, 1);
    SleepMs(300);
    audio->PauseChannel(0);
    EXPECT_EQ(audio->ChannelState(0), 2);
    EXPECT_EQ(SourceState(audio, 0), AL_PAUSED);
    SleepMs(400);
    EXPECT_EQ(audio->ChannelState(0), 2);
    audio->ResumeChannel(0);
    EXPECT_EQ(audio->ChannelState(0), 1);
    SleepMs(300);
    audio->StopChannel(0);
    audio->ResumeChannel(0);  // only a paused channel resumes
    EXPECT_EQ(audio->ChannelState(0), 0);
    SleepMs(300);
    Capture cap = rig.Finish();

    std::vector<Span> spans = Spans(cap);
    ASSERT_EQ(spans.size(), 3u) << Describe(spans);
    EXPECT_NEAR(Seconds(spans[0]), 0.05, 0.005);
    EXPECT_NEAR(Seconds(spans[1]), 0.3, 0.1);
    EXPECT_NEAR(double(spans[2].begin - spans[1].end) / kHz, 0.4, 0.1) << "silent while paused";
    EXPECT_NEAR(Seconds(spans[2]), 0.3, 0.1);
}

TEST(AudioDevice, ResumeRestartsOnlyWhatSuspendPaused) {
    CaptureRig rig;
    gxtkAudio* audio = rig.audio();
    gxtkSample* low = rig.Load("s-low.wav", ToneWav(1, 16, 22050, 0.2, 441, 0.4));
    gxtkSample* high = rig.Load("s-high.wav", ToneWav(1, 16, 22050, 0.2, 1764, 0.4));
    ASSERT_TRUE(low && high);

    audio->PlaySample(low, 0, 1);
    audio->PlaySample(high, 1, 1);
    SleepMs(300);
    audio->PauseChannel(1);  // the game's own pause
    SleepMs(300);
    audio->Suspend();
    EXPECT_EQ(SourceState(audio, 0), AL_PAUSED);
    EXPECT_EQ(audio->ChannelState(0), 1) << "suspension keeps the channel's own state";
    EXPECT_EQ(audio->ChannelState(1), 2);
    SleepMs(400);
    audio->Resume();
    EXPECT_EQ(SourceState(audio, 0), AL_PLAYING);
    EXPECT_EQ(SourceState(audio, 1), AL_PAUSED) << "the game's pause survives the resume";
    EXPECT_EQ(audio->ChannelState(1), 2);
    SleepMs(400);
    audio->StopChannel(0);
    audio->StopChannel(1);
    SleepMs(200);
    Capture cap = rig.Finish();

    std::vector<Span> spans = Spans(cap);
    ASSERT_EQ(spans.size(), 2u) << Describe(spans);
    EXPECT_NEAR(Seconds(spans[0]), 0.6, 0.1);
    EXPECT_NEAR(double(spans[1].begin - spans[0].end) / kHz, 0.4, 0.1) << "silent while suspended";
    EXPECT_NEAR(Seconds(spans[1]), 0.4, 0.1);
    // Both tones at first, then the low one alone, before and after.
    Span both = {spans[0].begin + size_t(0.05 * kHz), spans[0].begin + size_t(0.25 * kHz)};
    Span alone = {spans[0].end - size_t(0.25 * kHz), spans[0].end - size_t(0.05 * kHz)};
    Span after = {spans[1].begin + size_t(0.05 * kHz), spans[1].end - size_t(0.05 * kHz)};
    EXPECT_GT(Pitch(cap, both), 1000);
    EXPECT_NEAR(Pitch(cap, alone), 441, 10);
    EXPECT_NEAR(Pitch(cap, after), 441, 10);
}

TEST(AudioDevice, MusicPlaysOnItsOwnChannelAndEnds) {
    CaptureRig rig;
    gxtkAudio* audio = rig.audio();
    std::string tune = media::TempPath("tune.OGG");
    media::WriteFile(tune, media::EncodeOgg(media::Sine(int(0.4 * 22050), 2, 22050, 441, 0.5), 2, 22050));

    EXPECT_EQ(audio->PlayMusic(String(media::TempPath("missing.ogg").c_str()), 1), -1);
    EXPECT_EQ(audio->MusicState(), 0);
    EXPECT_EQ(audio->PlayMusic(String(tune.c_str()), 0), 0);
    EXPECT_EQ(audio->MusicState(), 1);
    EXPECT_EQ(audio->channels[32].state, 1);
    audio->SetMusicVolume(0.5f);
    audio->PauseMusic();
    EXPECT_EQ(audio->MusicState(), 2);
    SleepMs(300);
    audio->ResumeMusic();
    SleepMs(700);
    EXPECT_EQ(audio->MusicState(), 0) << "a tune that ran out is stopped";
    EXPECT_EQ(audio->PlayMusic(String(tune.c_str()), 1), 0);
    SleepMs(1000);
    EXPECT_EQ(audio->MusicState(), 1) << "looping music keeps going";
    audio->StopMusic();
    EXPECT_EQ(audio->MusicState(), 0);
    SleepMs(200);
    Capture cap = rig.Finish();

    std::vector<Span> spans = Spans(cap);
    ASSERT_EQ(spans.size(), 2u) << Describe(spans);
    EXPECT_NEAR(Seconds(spans[0]), 0.4, 0.03);
    EXPECT_NEAR(Seconds(spans[1]), 1.0, 0.1);
    EXPECT_NEAR(Pitch(cap, spans[0]), 441, 8);
}
