// The WAV and Ogg Vorbis decoders on valid files of every supported shape and
// on truncated, oversized and hostile input, and the host's loader that picks
// one by the file's ending. The largest heap request made while decoding is
// recorded, so a lying header cannot hide a huge allocation.
#include "audio/media.h"
#include "host/glfw_game.h"
#include "host/ogg_decoder.h"
#include "host/wav_decoder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>

using media::Bytes;

// The executable is linked with --wrap=malloc/realloc, so every request from
// the statically linked decoders passes through here: the largest one made
// while armed is kept.
extern "C" void* __real_malloc(size_t size);
extern "C" void* __real_realloc(void* ptr, size_t size);
static std::atomic<bool> g_armed{false};
static std::atomic<size_t> g_largest{0};

static void Note(size_t size) {
    size_t seen = g_largest.load();
    while (g_armed.load() && size > seen && !g_largest.compare_exchange_weak(seen, size)) {
    }
}
extern "C" void* __wrap_malloc(size_t size) { return Note(size), __real_malloc(size); }
extern "C" void* __wrap_realloc(void* ptr, size_t size) { return Note(size), __real_realloc(ptr, size); }

namespace {

typedef unsigned char* (*Decoder)(FILE*, int*, int*, int*, int*);

struct Decoded {
    bool ok = false;
    int length = -1, channels = -1, format = -1, hertz = -1;
    Bytes data;
    size_t largestAlloc = 0;
};

Decoded Decode(Decoder decoder, const Bytes& file) {
    std::string path = media::TempPath("decode.bin");
    media::WriteFile(path, file);
    Decoded out;
    FILE* f = std::fopen(path.c_str(), "rb");
    g_largest = 0;
    g_armed = true;
    unsigned char* data = decoder(f, &out.length, &out.channels, &out.format, &out.hertz);
    g_armed = false;
    out.largestAlloc = g_largest.load();
    std::fclose(f);
    if (data) {
        out.ok = true;
        out.data.assign(data, data + size_t(out.length) * out.channels * out.format);
        std::free(data);
    }
    return out;
}

// What a decoder may ask for on damaged input: about the file's size plus
// the Ogg decoder's fixed arena and first output block.
size_t AllocationBound(const Bytes& file) { return file.size() * 2 + 9 * 1024 * 1024; }

void Patch32(Bytes& b, size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); }

// The comment header opens the page after the identification's own.
size_t CommentAt(const Bytes& ogg) {
    size_t second = media::OggPageSize(ogg, 0);
    return second + 27 + ogg[second + 26];
}

size_t FindTag(const Bytes& b, const char* tag) {
    for (size_t i = 12; i + 4 <= b.size(); ++i)
        if (std::memcmp(&b[i], tag, 4) == 0) return i;
    return 0;
}

}  // namespace

TEST(WavDecoder, DecodesEveryPcmShapeExactly) {
    struct Case {
        int channels, bits, hertz, frames, extra;
        bool list;
    } cases[] = {
        {1, 8, 11025, 1000, 0, false}, {2, 8, 22050, 777, 0, true}, {1, 16, 8000, 300, 2, false},
        {2, 16, 44100, 44100, 0, false} /* 176400 bytes: one second */, {1, 8, 16000, 513, 6, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.channels << "ch " << c.bits << "bit extra=" << c.extra);
        media::WavShape s;
        s.channels = c.channels, s.bits = c.bits, s.hertz = c.hertz, s.frames = c.frames;
        s.extraFmtBytes = c.extra;
        s.listChunk = c.list;
        Decoded d = Decode(LoadWAV, media::MakeWav(s));
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.length, c.frames);
        EXPECT_EQ(d.channels, c.channels);
        EXPECT_EQ(d.format, c.bits / 8);
        EXPECT_EQ(d.hertz, c.hertz);
        EXPECT_EQ(d.data, media::WavSamples(s));
    }
    // Any PCM depth decodes; 24-bit frames of 3 bytes give the frame count.
    Bytes deep = media::ToneWav(1, 16, 22050, 0.03, 441);
    deep[34] = 24;
    Decoded d = Decode(LoadWAV, deep);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.format, 3);
    EXPECT_EQ(d.length, int(deep.size() - 44) / 3);
}

TEST(WavDecoder, RefusesWhatIsNotAReadablePcmWav) {
    Bytes good = media::ToneWav(1, 16, 22050, 0.01, 441);
    ASSERT_TRUE(Decode(LoadWAV, good).ok);
    auto broken = [&](size_t at, const char* bytes, size_t n) {
        Bytes b = good;
        std::memcpy(&b[at], bytes, n);
        return b;
    };
    Bytes listFirst = good;  // "fmt " must be the first chunk
    const char list[] = "LIST\4\0\0\0INFO";
    listFirst.insert(listFirst.begin() + 12, list, list + 12);
    const Bytes bad[] = {
        broken(0, "RIFX", 4),      broken(8, "AVI ", 4),     broken(20, "\3", 1) /* float */,
        broken(22, "\0", 1) /* no channels */, broken(34, "\4", 1) /* 4-bit */, broken(24, "\0\0\0\0", 4) /* 0 Hz */,
        broken(16, "\16", 1) /* fmt shorter than its fields */, broken(36, "junk", 4) /* no data chunk */,
        listFirst,
    };
    for (size_t i = 0; i < sizeof bad / sizeof bad[0]; ++i) EXPECT_FALSE(Decode(LoadWAV, bad[i]).ok) << i;
}

TEST(WavDecoder, TruncatedOrOversizedFilesFailWithoutLargeAllocations) {
    media::WavShape s;
    s.channels = 2, s.frames = 40, s.extraFmtBytes = 2, s.listChunk = true;
    Bytes good = media::MakeWav(s);
    for (size_t n = 0; n < good.size(); ++n) {
        Decoded d = Decode(LoadWAV, Bytes(good.begin(), good.begin() + n));
        EXPECT_FALSE(d.ok) << "prefix " << n;
        EXPECT_LE(d.largestAlloc, good.size()) << "prefix " << n;
    }

    size_t data = FindTag(good, "data");
    std::vector<std::pair<size_t, uint32_t>> lies = {
        {data + 4, 0xFFFFFFF0u},                             // data larger than any file
        {data + 4, uint32_t(good.size() - data - 8 + 1)},    // one byte more than is there
        {FindTag(good, "LIST") + 4, 0x7FFFFFFFu},           // a chunk to skip that is not there
        {16, 0xFFFFFF00u},                                   // "fmt " extra bytes
    };
    for (auto& lie : lies) {
        Bytes bad = good;
        Patch32(bad, lie.first, lie.second);
        Decoded d = Decode(LoadWAV, bad);
        EXPECT_FALSE(d.ok) << lie.first;
        EXPECT_LE(d.largestAlloc, bad.size()) << lie.first;
    }
}

TEST(OggDecoder, DecodesMonoAndStereoToneAtItsRate) {
    for (int channels : {1, 2}) {
        int hertz = channels == 1 ? 22050 : 44100, frames = 30000;
        Decoded d = Decode(LoadOGG, media::ToneOgg(channels, hertz, frames, 441));
        ASSERT_TRUE(d.ok) << channels;
        EXPECT_EQ(d.channels, channels);
        EXPECT_EQ(d.format, 2);
        EXPECT_EQ(d.hertz, hertz);
        EXPECT_NEAR(d.length, frames, 2048);
        std::vector<float> last;  // the last channel of every frame
        for (int i = 0; i < d.length; ++i) {
            size_t at = (size_t(i) * channels + channels - 1) * 2;
            last.push_back(int16_t(d.data[at] | d.data[at + 1] << 8) / 32768.0f);
        }
        EXPECT_NEAR(media::ZeroCrossingHz(last, 0, last.size(), hertz), 441.0, 10.0);
        EXPECT_NEAR(std::sqrt(media::Energy(last, 0, last.size()) / last.size()), 0.5 / std::sqrt(2.0), 0.05);
    }
}

TEST(OggDecoder, GarbageAndTruncationStopCleanly) {
    std::mt19937 rng(11);
    Bytes junk(4096);
    for (auto& b : junk) b = uint8_t(rng());
    EXPECT_FALSE(Decode(LoadOGG, junk).ok);
    EXPECT_FALSE(Decode(LoadOGG, Bytes()).ok);
    EXPECT_FALSE(Decode(LoadOGG, media::ToneWav(1, 16, 22050, 0.1, 441)).ok);

    Bytes file = media::ToneOgg(2, 22050, 22050 * 6, 441);
    Decoded whole = Decode(LoadOGG, file);
    ASSERT_TRUE(whole.ok);
    int partial = 0;
    for (size_t n = 0; n < file.size(); n += file.size() / 23 + 1) {
        Decoded d = Decode(LoadOGG, Bytes(file.begin(), file.begin() + n));
        EXPECT_LE(d.largestAlloc, AllocationBound(file));
        EXPECT_TRUE(n >= media::OggAudioStart(file) || !d.ok) << "headers cut at " << n;
        if (!d.ok) continue;
        ++partial;
        EXPECT_LE(d.length, whole.length);
    }
    EXPECT_GT(partial, 0) << "the complete pages of a cut file still play";

    // A last page of bare header (no segments) ending exactly at the end of
    // the file is a whole page, not a cut one.
    Bytes empty = file;
    const uint8_t page[27] = {'O', 'g', 'g', 'S', 0, 4, 255, 255, 255, 255, 255, 255, 255, 255, 0xD2, 4};
    empty.insert(empty.end(), page, page + 27);
    media::FixOggChecksums(empty);
    Decoded d = Decode(LoadOGG, empty);
    ASSERT_TRUE(d.ok) << "a stream ending in an empty page is refused";
    EXPECT_EQ(d.length, whole.length);
}

TEST(OggDecoder, DamagedStreamsNeverCrashOrBalloon) {
    Bytes file = media::ToneOgg(2, 22050, 11025, 441);
    size_t audio = media::OggAudioStart(file), comment = CommentAt(file);
    std::mt19937 rng(99);
    int decoded = 0;
    for (int round = 0; round < 400; ++round) {
        Bytes bad = file;
        for (int i = 1 + int(rng() % 6); i > 0; --i) {
            // Mostly inside the comment and setup headers, where a decoder
            // has to trust lengths and counts read from the file.
            size_t at = round % 4 ? comment + rng() % (audio - comment) : rng() % bad.size();
            bad[at] = uint8_t(rng());
        }
        // Odd rounds keep valid page checksums so the damage reaches the
        // Vorbis decoder; even rounds must be caught by the checksums.
        if (round % 2) media::FixOggChecksums(bad);
        Decoded d = Decode(LoadOGG, bad);
        EXPECT_LE(d.largestAlloc, AllocationBound(file)) << round;
        if (!d.ok) continue;
        ++decoded;
        EXPECT_TRUE(d.channels >= 1 && d.channels <= 16 && d.hertz > 0 && d.format == 2) << round;
    }
    EXPECT_GT(decoded, 0) << "some damage (e.g. in comment text) leaves a playable stream";
}

TEST(OggDecoder, CommentLengthsBeyondTheirPacketAreRefused) {
    Bytes file = media::ToneOgg(1, 22050, 4000, 441);
    size_t comment = CommentAt(file);
    ASSERT_EQ(file[comment], 3);
    uint32_t vendor = uint32_t(file[comment + 7] | file[comment + 8] << 8);
    std::vector<std::pair<size_t, uint32_t>> lies = {
        {comment + 7, 0xFFFFFFFFu}, {comment + 7, 5000u}, {comment + 11 + vendor, 0x40000000u}};
    for (auto& lie : lies) {
        Bytes bad = file;
        Patch32(bad, lie.first, lie.second);
        media::FixOggChecksums(bad);
        Decoded d = Decode(LoadOGG, bad);
        EXPECT_FALSE(d.ok) << lie.second;
        EXPECT_LE(d.largestAlloc, AllocationBound(file));
    }
}

namespace {

struct Loaded {
    unsigned char* data = nullptr;
    int length = 0, channels = 0, format = 0, hertz = 0;
    long long reported = 0;
};

Loaded LoadAs(const std::string& name, const Bytes& file) {
    static BBGlfwGame* host = new BBGlfwGame;
    if (!file.empty()) media::WriteFile(media::TempPath(name), file);
    std::string path = name.find(':') == std::string::npos ? media::TempPath(name) : name;
    Loaded out;
    long long before = gc_ext_new_bytes.load();
    out.data = host->LoadAudioData(String(path.c_str()), &out.length, &out.channels, &out.format, &out.hertz);
    out.reported = gc_ext_new_bytes.load() - before;
    return out;
}

}  // namespace

// The ending picks the decoder in any letter case; the decoded size is
// reported to the collector, and nothing for a refused file.
TEST(AudioLoader, ChoosesTheDecoderByEnding) {
    Bytes wav = media::ToneWav(2, 8, 22050, 0.05, 441), ogg = media::ToneOgg(2, 16000, 8000, 500);
    const struct {
        const char* name;
        const Bytes* file;
        int format;  // 0: refused
    } cases[] = {{"x.wav", &wav, 1}, {"x.WaV", &wav, 1}, {"y.ogg", &ogg, 2}, {"y.OGG", &ogg, 2},
                 {"a.mp3", &wav, 0}, {"a.wave", &wav, 0}, {"wav", &wav, 0}, {"a.wav.txt", &wav, 0},
                 {"b.ogg", &wav, 0}, {"c.wav", &ogg, 0}, {"absent.wav", nullptr, 0}, {"quill://nowhere/x.wav", nullptr, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Loaded l = LoadAs(c.name, c.file ? *c.file : Bytes());
        EXPECT_EQ(l.data != nullptr, c.format != 0);
        EXPECT_EQ(l.data ? l.format : 0, c.format);
        EXPECT_EQ(l.reported, l.data ? (long long)l.length * l.channels * l.format : 0);
        if (c.format) {
            EXPECT_EQ(l.hertz, c.format == 1 ? 22050 : 16000);
        }
        std::free(l.data);
    }
}
