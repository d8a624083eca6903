// The WAV and Ogg Vorbis decoders on valid files of every supported shape and
// on truncated, oversized and garbage input, with the largest heap request
// watched so a lying header cannot turn into a huge allocation.
#include "audio/alloc_probe.h"
#include "audio/media.h"
#include "host/ogg_decoder.h"
#include "host/wav_decoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

using media::Bytes;

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
    if (!f) return out;
    alloc_probe::Arm();
    unsigned char* data = decoder(f, &out.length, &out.channels, &out.format, &out.hertz);
    out.largestAlloc = alloc_probe::Disarm();
    std::fclose(f);
    if (data) {
        out.ok = true;
        out.data.assign(data, data + size_t(out.length) * out.channels * out.format);
        std::free(data);
    }
    return out;
}

// Bytes a decoder may ask for on damaged input: a little over the file plus
// the Ogg decoder's fixed arena and first output block.
size_t AllocationBound(const Bytes& file) { return file.size() * 2 + 9 * 1024 * 1024; }

media::WavSpec Spec(int channels, int bits, int hertz, int frames) {
    media::WavSpec s;
    s.channels = channels;
    s.bits = bits;
    s.hertz = hertz;
    s.frames = frames;
    return s;
}

// Rewrites the 32-bit little-endian field at `at`.
void Patch32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

size_t FindTag(const Bytes& b, const char* tag) {
    for (size_t i = 12; i + 4 <= b.size(); ++i)
        if (std::memcmp(&b[i], tag, 4) == 0) return i;
    return std::string::npos;
}

}  // namespace

TEST(WavDecoder, DecodesEveryPcmShapeExactly) {
    struct Case {
        int channels, bits, hertz, frames, extra;
        bool list;
    } cases[] = {
        {1, 8, 11025, 1000, 0, false}, {2, 8, 22050, 777, 0, false},  {1, 16, 22050, 2205, 0, false},
        {2, 16, 44100, 441, 0, false}, {1, 16, 8000, 300, 2, false},  {2, 16, 44100, 100, 0, true},
        {1, 8, 16000, 513, 6, true},   {2, 24, 48000, 64, 0, false},
    };
    for (const Case& c : cases) {
        media::WavSpec s = Spec(c.channels, c.bits, c.hertz, c.frames);
        s.extraFmtBytes = c.extra;
        s.listChunk = c.list;
        SCOPED_TRACE(testing::Message() << c.channels << "ch " << c.bits << "bit extra=" << c.extra
                                        << " list=" << c.list);
        if (c.bits == 24) {
            // Any PCM depth decodes; 24-bit samples are written by hand here.
            Bytes file = media::MakeWav(Spec(c.channels, 16, c.hertz, c.frames * 3 / 2));
            Patch32(file, 24, uint32_t(c.hertz));
            file[34] = 24;
            Decoded d = Decode(LoadWAV, file);
            ASSERT_TRUE(d.ok);
            EXPECT_EQ(d.format, 3);
            EXPECT_EQ(d.length, c.frames);
            continue;
        }
        Decoded d = Decode(LoadWAV, media::MakeWav(s));
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.length, c.frames);
        EXPECT_EQ(d.channels, c.channels);
        EXPECT_EQ(d.format, c.bits / 8);
        EXPECT_EQ(d.hertz, c.hertz);
        EXPECT_EQ(d.data, media::WavSamples(s));
    }
}

TEST(WavDecoder, OneSecondOfCdAudio) {
    Decoded d = Decode(LoadWAV, media::MakeWav(Spec(2, 16, 44100, 44100)));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.data.size(), 176400u);
    EXPECT_EQ(d.length, 44100);
}

TEST(WavDecoder, RefusesFilesThatAreNotPcmWav) {
    Bytes good = media::MakeWav(Spec(1, 16, 22050, 50));
    ASSERT_TRUE(Decode(LoadWAV, good).ok);

    Bytes notRiff = good;
    std::memcpy(&notRiff[0], "RIFX", 4);
    Bytes notWave = good;
    std::memcpy(&notWave[8], "AVI ", 4);
    Bytes notPcm = good;
    notPcm[20] = 3;  // IEEE float
    Bytes noChannels = good;
    noChannels[22] = 0;
    Bytes fourBitSamples = good;
    fourBitSamples[34] = 4;
    Bytes zeroRate = good;
    Patch32(zeroRate, 24, 0);
    Bytes shortFmt = good;
    Patch32(shortFmt, 16, 14);

    // "fmt " must be the first chunk.
    media::WavSpec listed = Spec(1, 16, 22050, 50);
    Bytes listFirst;
    media::PutTag(listFirst, "RIFF");
    media::PutU32(listFirst, 0);
    media::PutTag(listFirst, "WAVE");
    media::PutTag(listFirst, "LIST");
    media::PutU32(listFirst, 4);
    media::PutTag(listFirst, "INFO");
    Bytes rest = media::MakeWav(listed);
    listFirst.insert(listFirst.end(), rest.begin() + 12, rest.end());

    Bytes noData = good;
    std::memcpy(&noData[FindTag(noData, "data")], "junk", 4);

    for (const Bytes* bad : {&notRiff, &notWave, &notPcm, &noChannels, &fourBitSamples, &zeroRate, &shortFmt,
                             &listFirst, &noData}) {
        Decoded d = Decode(LoadWAV, *bad);
        EXPECT_FALSE(d.ok) << "case " << (bad - &notRiff);
    }
}

TEST(WavDecoder, EveryTruncationFailsCleanly) {
    media::WavSpec s = Spec(2, 16, 22050, 40);
    s.listChunk = true;
    s.extraFmtBytes = 2;
    Bytes good = media::MakeWav(s);
    ASSERT_TRUE(Decode(LoadWAV, good).ok);
    for (size_t n = 0; n < good.size(); ++n) {
        Decoded d = Decode(LoadWAV, Bytes(good.begin(), good.begin() + n));
        EXPECT_FALSE(d.ok) << "prefix " << n;
        EXPECT_LE(d.largestAlloc, good.size()) << "prefix " << n;
    }
}

TEST(WavDecoder, SizesBeyondTheFileAreRefusedWithoutAllocating) {
    Bytes good = media::MakeWav(Spec(1, 16, 22050, 100));
    size_t data = FindTag(good, "data");

    Bytes hugeData = good;
    Patch32(hugeData, data + 4, 0xFFFFFFF0u);
    Bytes dataOneTooLong = good;
    Patch32(dataOneTooLong, data + 4, uint32_t(good.size() - data - 8 + 1));

    media::WavSpec listed = Spec(1, 16, 22050, 100);
    listed.listChunk = true;
    Bytes hugeList = media::MakeWav(listed);
    Patch32(hugeList, FindTag(hugeList, "LIST") + 4, 0x7FFFFFFFu);
    Bytes hugeFmt = good;
    Patch32(hugeFmt, 16, 0xFFFFFF00u);

    for (const Bytes* bad : {&hugeData, &dataOneTooLong, &hugeList, &hugeFmt}) {
        Decoded d = Decode(LoadWAV, *bad);
        EXPECT_FALSE(d.ok) << "case " << (bad - &hugeData);
        EXPECT_LE(d.largestAlloc, bad->size()) << "case " << (bad - &hugeData);
    }
}

TEST(WavDecoder, RandomGarbageNeverDecodes) {
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        Bytes junk(rng() % 512);
        for (auto& b : junk) b = uint8_t(rng());
        if (round % 2 == 0 && junk.size() >= 12) {
            // Plausible header, garbage after it.
            std::memcpy(&junk[0], "RIFF", 4);
            std::memcpy(&junk[8], "WAVE", 4);
        }
        Decoded d = Decode(LoadWAV, junk);
        EXPECT_LE(d.largestAlloc, junk.size() + 1);
        if (d.ok) {
            EXPECT_LE(d.data.size(), junk.size());
        }
    }
}

namespace {

Bytes ToneOgg(int channels, int hertz, int frames) {
    return media::EncodeOgg(media::Sine(frames, channels, hertz, 441.0, 0.5), channels, hertz);
}

}  // namespace

TEST(OggDecoder, DecodesMonoAndStereoToneAtItsRate) {
    struct Case {
        int channels, hertz, frames;
    } cases[] = {{1, 22050, 22050}, {2, 44100, 30000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.channels);
        Bytes file = ToneOgg(c.channels, c.hertz, c.frames);
        ASSERT_GT(file.size(), 100u);
        Decoded d = Decode(LoadOGG, file);
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.channels, c.channels);
        EXPECT_EQ(d.format, 2);
        EXPECT_EQ(d.hertz, c.hertz);
        EXPECT_NEAR(d.length, c.frames, 2048);
        std::vector<float> first;
        for (int i = 0; i < d.length; ++i) {
            int16_t v = int16_t(d.data[size_t(i) * c.channels * 2] | d.data[size_t(i) * c.channels * 2 + 1] << 8);
            first.push_back(v / 32768.0f);
        }
        EXPECT_NEAR(media::ZeroCrossingHz(first, 0, first.size(), c.hertz), 441.0, 15.0);
        EXPECT_NEAR(std::sqrt(media::Energy(first, 0, first.size()) / first.size()), 0.5 / std::sqrt(2.0), 0.05);
    }
}

TEST(OggDecoder, GarbageAndHeaderDamageGiveNull) {
    std::mt19937 rng(11);
    Bytes junk(4096);
    for (auto& b : junk) b = uint8_t(rng());
    EXPECT_FALSE(Decode(LoadOGG, junk).ok);
    EXPECT_FALSE(Decode(LoadOGG, Bytes()).ok);
    EXPECT_FALSE(Decode(LoadOGG, media::MakeWav(Spec(1, 16, 22050, 500))).ok);

    Bytes file = ToneOgg(1, 22050, 4000);
    // Cut inside the header pages: nothing can be decoded.
    for (size_t n : {size_t(4), size_t(27), size_t(60), size_t(200)}) {
        Decoded d = Decode(LoadOGG, Bytes(file.begin(), file.begin() + n));
        EXPECT_FALSE(d.ok) << n;
        EXPECT_LE(d.largestAlloc, AllocationBound(file));
    }
}

TEST(OggDecoder, TruncatedStreamsStopCleanlyWithBoundedOutput) {
    Bytes file = ToneOgg(2, 22050, 22050 * 6);
    Decoded whole = Decode(LoadOGG, file);
    ASSERT_TRUE(whole.ok);
    int truncatedDecodes = 0;
    for (size_t n = file.size() / 2; n < file.size(); n += file.size() / 16) {
        Decoded d = Decode(LoadOGG, Bytes(file.begin(), file.begin() + n));
        EXPECT_LE(d.largestAlloc, AllocationBound(file));
        if (!d.ok) continue;
        ++truncatedDecodes;
        EXPECT_EQ(d.channels, 2);
        EXPECT_LE(d.length, whole.length);
    }
    // Cutting the second half of a file still leaves its first half playable.
    EXPECT_GT(truncatedDecodes, 0);
}

TEST(OggDecoder, MutatedStreamsNeverCrashOrBalloon) {
    Bytes file = ToneOgg(2, 22050, 11025);
    std::mt19937 rng(2024);
    for (int round = 0; round < 300; ++round) {
        Bytes bad = file;
        int flips = 1 + int(rng() % 8);
        for (int i = 0; i < flips; ++i) bad[rng() % bad.size()] = uint8_t(rng());
        Decoded d = Decode(LoadOGG, bad);
        EXPECT_LE(d.largestAlloc, AllocationBound(file)) << "round " << round;
        if (d.ok) {
            EXPECT_GT(d.channels, 0);
            EXPECT_GT(d.hertz, 0);
            EXPECT_EQ(d.format, 2);
        }
    }
}

TEST(OggDecoder, HostileHeadersWithValidChecksumsNeverCrash) {
    Bytes file = ToneOgg(2, 22050, 11025);
    size_t audio = media::OggAudioStart(file);
    ASSERT_GT(audio, 58u);
    std::mt19937 rng(99);
    int decoded = 0;
    for (int round = 0; round < 600; ++round) {
        Bytes bad = file;
        int flips = 1 + int(rng() % 6);
        for (int i = 0; i < flips; ++i) {
            // Mostly inside the comment and setup headers, where a decoder
            // has to trust lengths and counts read from the file.
            size_t at = round % 4 ? 58 + rng() % (audio - 58) : rng() % bad.size();
            bad[at] = uint8_t(rng());
        }
        media::FixOggChecksums(bad);
        Decoded d = Decode(LoadOGG, bad);
        EXPECT_LE(d.largestAlloc, AllocationBound(file)) << "round " << round;
        if (d.ok) {
            ++decoded;
            EXPECT_LE(d.channels, 16);
            EXPECT_GT(d.hertz, 0);
        }
    }
    // Some damage leaves the stream decodable (e.g. inside comment text).
    EXPECT_GT(decoded, 0);
}

TEST(OggDecoder, CommentLengthsBeyondTheirPacketAreRefused) {
    Bytes file = ToneOgg(1, 22050, 4000);
    size_t comment = 58 + 27 + file[58 + 26];  // body of the second page
    ASSERT_EQ(file[comment], 3);
    for (uint32_t vendorLength : {0xFFFFFFFFu, 0x7FFFFFF0u, 5000u}) {
        Bytes bad = file;
        Patch32(bad, comment + 7, vendorLength);
        media::FixOggChecksums(bad);
        Decoded d = Decode(LoadOGG, bad);
        EXPECT_FALSE(d.ok) << vendorLength;
        EXPECT_LE(d.largestAlloc, AllocationBound(file));
    }
    Bytes manyComments = file;
    uint32_t vendor = uint32_t(file[comment + 7] | file[comment + 8] << 8);
    Patch32(manyComments, comment + 11 + vendor, 0x40000000u);
    media::FixOggChecksums(manyComments);
    EXPECT_FALSE(Decode(LoadOGG, manyComments).ok);
}
