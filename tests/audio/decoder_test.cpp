// The WAV and Ogg Vorbis decoders on valid files of every supported shape and
// on truncated, lying and damaged input, and the host's loader that picks one
// by the file's ending. The largest heap request made while decoding is
// recorded, so a lying header cannot hide a huge allocation. Last, the audio
// module with no usable backend (this program's OpenAL has none): the device
// reports the failure once and the game runs on silently.
#include "audio/audio.h"
#include "audio/media.h"
#include "host/glfw_game.h"
#include "host/ogg_decoder.h"
#include "host/wav_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <random>

using media::Bytes;

// Linked with --wrap=malloc/realloc: every request from the statically
// linked decoders passes through here, and the largest made while armed is kept.
extern "C" void* __real_malloc(size_t size);
extern "C" void* __real_realloc(void* ptr, size_t size);
static std::atomic<bool> g_armed{false};
static std::atomic<size_t> g_largest{0};
static void Note(size_t size) {
    size_t seen = g_largest.load();
    while (g_armed.load() && size > seen && !g_largest.compare_exchange_weak(seen, size)) continue;
}
extern "C" void* __wrap_malloc(size_t size) { return Note(size), __real_malloc(size); }
extern "C" void* __wrap_realloc(void* ptr, size_t size) { return Note(size), __real_realloc(ptr, size); }

namespace {

// A decoder's answer and the largest heap request it made.
struct Decoded { bool ok = false; int length = -1, channels = -1, format = -1, hertz = -1; Bytes data; size_t largest = 0; };

Decoded Decode(unsigned char* (*decoder)(FILE*, int*, int*, int*, int*), const Bytes& file) {
    Decoded out;
    FILE* f = std::fopen(media::Written("decode.bin", file).c_str(), "rb");
    g_largest = 0, g_armed = true;
    unsigned char* data = decoder(f, &out.length, &out.channels, &out.format, &out.hertz);
    g_armed = false, out.largest = g_largest.load();
    std::fclose(f);
    if ((out.ok = data != nullptr)) out.data.assign(data, data + size_t(out.length) * out.channels * out.format);
    std::free(data);
    return out;
}

// What a decoder may ask for on damaged input: about the file's size plus
// the Ogg decoder's fixed arena and first output block.
size_t Bound(const Bytes& file) { return file.size() * 2 + 9 * 1024 * 1024; }

BBGlfwGame* Host() { static BBGlfwGame* host = new BBGlfwGame; return host; }

Bytes Patched(Bytes b, size_t at, uint32_t v, size_t n = 4) { return std::memcpy(&b[at], &v, n), b; }

}  // namespace

TEST(WavDecoder, DecodesEveryPcmShapeExactlyAndRefusesTheRest) {
    const int shapes[][5] = {{1, 8, 11025, 1000, 0}, {2, 8, 22050, 777, 1}, {1, 16, 8000, 300, 2},
                             {2, 16, 44100, 44100, 0}, {1, 8, 16000, 513, 7}};  // extra fmt bytes; odd: a LIST chunk
    for (const int* c : shapes) {
        SCOPED_TRACE(testing::Message() << c[0] << "ch " << c[1] << "bit " << c[4]);
        media::WavShape s;
        s.channels = c[0], s.bits = c[1], s.hertz = c[2], s.frames = c[3], s.extraFmtBytes = c[4] & 6, s.listChunk = c[4] & 1;
        Decoded d = Decode(LoadWAV, media::MakeWav(s));
        EXPECT_TRUE(d.ok && d.length == c[3] && d.channels == c[0] && d.format == c[1] / 8 && d.hertz == c[2]);
        EXPECT_EQ(d.data, media::WavSamples(s));
    }
    Bytes good = media::ToneWav(1, 16, 22050, 0.03, 441);
    Decoded deep = Decode(LoadWAV, Patched(good, 34, 24, 1));  // any PCM depth: frames of 3 bytes
    EXPECT_TRUE(deep.ok && deep.format == 3 && deep.length == int(good.size() - 44) / 3);

    Bytes listFirst = good;  // "fmt " must be the first chunk
    listFirst.insert(listFirst.begin() + 12, {'L', 'I', 'S', 'T', 4, 0, 0, 0, 'I', 'N', 'F', 'O'});
    const Bytes bad[] = {Patched(good, 0, 0x58464952), Patched(good, 8, 0x20495641) /* AVI */,
                         Patched(good, 20, 3, 1) /* float */, Patched(good, 22, 0, 1) /* no channels */,
                         Patched(good, 34, 4, 1) /* 4-bit */, Patched(good, 24, 0) /* 0 Hz */,
                         Patched(good, 16, 14, 1) /* fmt shorter than its fields */,
                         Patched(good, 36, 0x6b6e756a) /* no data chunk */, listFirst};
    for (const Bytes& b : bad) EXPECT_FALSE(Decode(LoadWAV, b).ok) << &b - bad;
}

TEST(WavDecoder, TruncatedOrLyingFilesFailWithoutLargeAllocations) {
    media::WavShape s;
    s.channels = 2, s.frames = 40, s.extraFmtBytes = 2, s.listChunk = true;
    Bytes good = media::MakeWav(s);
    std::vector<Bytes> bad;
    for (size_t n = 0; n < good.size(); ++n) bad.emplace_back(good.begin(), good.begin() + n);
    const size_t data = good.size() - 8 - media::WavSamples(s).size();
    for (uint32_t size : {0xFFFFFFF0u, uint32_t(good.size() - data - 7)}) bad.push_back(Patched(good, data + 4, size));
    bad.push_back(Patched(good, 42, 0x7FFFFFFFu));  // a LIST chunk to skip that is not there
    bad.push_back(Patched(good, 16, 0xFFFFFF00u));  // "fmt " extra bytes
    for (const Bytes& b : bad) {
        Decoded d = Decode(LoadWAV, b);
        EXPECT_TRUE(!d.ok && d.largest <= good.size()) << &b - &bad[0] << ": " << d.largest;
    }
}

// Lossy, but every sample lands near the tone that was encoded.
TEST(OggDecoder, DecodesMonoAndStereoToneAtItsRate) {
    for (int channels : {1, 2}) {
        int hertz = 22050 * channels, frames = 30000;
        Decoded d = Decode(LoadOGG, media::ToneOgg(channels, hertz, frames, 441));
        ASSERT_TRUE(d.ok && d.channels == channels && d.format == 2 && d.hertz == hertz && std::abs(d.length - frames) <= 2048)
            << channels << ": " << d.length;
        double worst = 0;
        for (int i = 0; i < std::min(d.length, frames) * channels; ++i) {
            double v = int16_t(d.data[2 * i] | d.data[2 * i + 1] << 8) / 32768.0;
            worst = std::max(worst, std::fabs(v - 0.5 * std::sin(6.283185307179586 * 441 * (i / channels) / hertz)));
        }
        EXPECT_LT(worst, 0.05) << channels;
    }
}

// Garbage, a WAV, lengths in the comment header beyond its packet (checksums
// kept valid, so the damage reaches the header checks), cut files and
// randomly damaged headers.
TEST(OggDecoder, GarbageLiesAndTruncationStopCleanly) {
    Bytes junk(4096), file = media::ToneOgg(2, 22050, 22050 * 6, 441);
    std::mt19937 rng(11);
    for (auto& b : junk) b = uint8_t(rng());
    size_t comment = media::OggPageSize(file, 0) + 27 + file[media::OggPageSize(file, 0) + 26];
    ASSERT_EQ(file[comment], 3);
    uint32_t vendor = uint32_t(file[comment + 7] | file[comment + 8] << 8);
    std::vector<Bytes> bad = {Patched(file, comment + 7, 0xFFFFFFFFu), Patched(file, comment + 7, 5000u),
                              Patched(file, comment + 11 + vendor, 0x40000000u), junk, Bytes(),
                              media::ToneWav(1, 16, 22050, 0.1, 441)};
    for (Bytes& b : bad) {
        if (&b - &bad[0] < 3) media::FixOggChecksums(b);
        Decoded d = Decode(LoadOGG, b);
        EXPECT_TRUE(!d.ok && d.largest <= Bound(file)) << &b - &bad[0] << ": " << d.largest;
    }

    Decoded whole = Decode(LoadOGG, file);
    int partial = 0;
    for (size_t n = 0; n < file.size(); n += file.size() / 23 + 1) {
        Decoded d = Decode(LoadOGG, Bytes(file.begin(), file.begin() + n));
        EXPECT_TRUE(d.largest <= Bound(file) && (!d.ok || (n >= media::OggAudioStart(file) && d.length <= whole.length)))
            << "cut at " << n;
        partial += d.ok;
    }
    EXPECT_GT(partial, 0) << "the complete pages of a cut file still play";

    // A last page of bare header (no segments) ending exactly at the end of
    // the file is a whole page, not a cut one.
    const uint8_t page[27] = {'O', 'g', 'g', 'S', 0, 4, 255, 255, 255, 255, 255, 255, 255, 255, 0xD2, 4};
    file.insert(file.end(), page, page + 27);
    media::FixOggChecksums(file);
    Decoded d = Decode(LoadOGG, file);
    EXPECT_TRUE(d.ok && d.length == whole.length) << "a stream ending in an empty page";

    // Bytes damaged mostly in the comment and setup headers, where the decoder
    // trusts lengths and counts; odd rounds keep the checksums valid so the
    // damage reaches the Vorbis decoder. Refused or decoded, never a balloon.
    Bytes small = media::ToneOgg(2, 22050, 11025, 441);
    for (int round = 0; round < 400; ++round) {
        Bytes b = small;
        for (int i = 1 + int(rng() % 6); i > 0; --i)
            b[round % 4 ? 58 + rng() % (media::OggAudioStart(small) - 58) : rng() % b.size()] = uint8_t(rng());
        if (round % 2) media::FixOggChecksums(b);
        EXPECT_LE(Decode(LoadOGG, b).largest, Bound(small)) << round;
    }
}

// The ending picks the decoder in any letter case; the decoded size is
// reported to the collector.
TEST(AudioLoader, ChoosesTheDecoderByEnding) {
    Bytes wav = media::ToneWav(2, 8, 22050, 0.05, 441), ogg = media::ToneOgg(2, 16000, 8000, 500);
    const struct { const char* name; const Bytes* file; int hertz; } cases[] = {  // hertz 0: refused
        {"x.WaV", &wav, 22050}, {"y.OGG", &ogg, 16000}, {"a.wave", &wav, 0}, {"wav", &wav, 0},
        {"a.wav.txt", &wav, 0}, {"b.ogg", &wav, 0},     {"c.wav", &ogg, 0},  {"absent.wav", nullptr, 0}};
    for (const auto& c : cases) {
        if (c.file) media::Written(c.name, *c.file);
        int length = 0, channels = 0, format = 0, hertz = 0;
        long long before = gc_ext_new_bytes.load();
        unsigned char* data = Host()->LoadAudioData(String(media::TempPath(c.name).c_str()), &length, &channels, &format, &hertz);
        EXPECT_EQ(data ? hertz : 0, c.hertz) << c.name;
        EXPECT_EQ(gc_ext_new_bytes.load() - before, data ? (long long)length * channels * format : 0) << c.name;
        std::free(data);
    }
}

TEST(AudioWithoutDevice, ReportsTheFailureAndRunsOnSilently) {
    Host(), bb_audio_Init();
    EXPECT_EQ(bb_audio_LoadSound(String("x.wav")), nullptr) << "no device set yet";
    EXPECT_EQ(bb_audio_PlayMusic(String("x.ogg"), 0), -1);

    testing::internal::CaptureStdout();
    gxtkAudio* audio = new gxtkAudio;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "opening openal device\nOpenAl error: alcOpenDevice failed\n");
    bb_audio_SetAudioDevice(audio);

    std::string path = media::Written("quiet.wav", media::ToneWav(1, 16, 22050, 0.1, 441));
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
    bb_audio_SetChannelVolume(3, 0.5f), bb_audio_SetChannelPan(3, 0.5f);
    EXPECT_EQ(bb_audio_PlayMusic(String(path.c_str()), 1), 0);
    bb_audio_PauseMusic(), audio->Suspend(), audio->Resume(), bb_audio_ResumeMusic();
    for (int ch = 0; ch < gxtkAudio::kChannels; ++ch) EXPECT_EQ(audio->ChannelState(ch), 0) << ch;
}
