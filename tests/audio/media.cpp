// Builds the test media in code so the repository holds no binary assets.
#include "audio/media.h"

#include "assetgen/ogg.h"

#include <ogg/ogg.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace media {
namespace {

const double kTwoPi = 6.283185307179586;

void Put(Bytes& out, uint32_t v, int bytes) { for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i))); }
void PutTag(Bytes& out, const char* tag) { out.insert(out.end(), tag, tag + std::strlen(tag)); }

}  // namespace

Bytes WavSamples(const WavShape& s) {
    Bytes out;
    for (int i = 0; i < s.frames * s.channels; ++i) {
        double v = 0.5 * std::sin(kTwoPi * s.tone * (i / s.channels) / s.hertz);
        Put(out, s.bits == 8 ? uint32_t(128 + std::lround(v * 127)) : uint32_t(std::lround(v * 32767)), s.bits / 8);
    }
    return out;
}

Bytes MakeWav(const WavShape& s) {
    Bytes data = WavSamples(s), out;
    PutTag(out, "RIFF");
    Put(out, uint32_t(36 + s.extraFmtBytes + (s.listChunk ? 12 : 0) + data.size()), 4);
    PutTag(out, "WAVEfmt ");
    const uint32_t fmt[] = {16u + s.extraFmtBytes, 1, uint32_t(s.channels), uint32_t(s.hertz),
                            uint32_t(s.hertz * s.channels * s.bits / 8), uint32_t(s.channels * s.bits / 8), uint32_t(s.bits)};
    const int width[] = {4, 2, 2, 4, 4, 2, 2};
    for (int i = 0; i < 7; ++i) Put(out, fmt[i], width[i]);
    out.insert(out.end(), s.extraFmtBytes, 0xEE);
    if (s.listChunk) out.insert(out.end(), {'L', 'I', 'S', 'T', 4, 0, 0, 0, 'I', 'N', 'F', 'O'});
    PutTag(out, "data");
    Put(out, uint32_t(data.size()), 4);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

Bytes ToneWav(int channels, int bits, int hertz, double seconds, double tone) {
    WavShape s;
    s.channels = channels, s.bits = bits, s.hertz = hertz, s.frames = int(seconds * hertz), s.tone = tone;
    return MakeWav(s);
}

Bytes ToneOgg(int channels, int hertz, int frames, double tone) {
    std::vector<float> samples;
    for (int i = 0; i < frames * channels; ++i) samples.push_back(float(0.5 * std::sin(kTwoPi * tone * (i / channels) / hertz)));
    return assetgen::EncodeOgg(samples, channels, hertz, 0.4f, 1234);
}

size_t OggPageSize(const Bytes& b, size_t at) {
    if (at + 27 > b.size() || std::memcmp(&b[at], "OggS", 4) != 0 || at + 27 + b[at + 26] > b.size()) return 0;
    size_t size = 27 + b[at + 26];
    for (size_t i = 0; i < b[at + 26]; ++i) size += b[at + 27 + i];
    return at + size <= b.size() ? size : 0;
}

void FixOggChecksums(Bytes& ogg) {
    for (size_t at = 0, size; (size = OggPageSize(ogg, at)) != 0; at += size) {
        long header = 27 + ogg[at + 26];
        ogg_page page = {&ogg[at], header, &ogg[at] + header, long(size) - header};
        ogg_page_checksum_set(&page);
    }
}

size_t OggAudioStart(const Bytes& ogg) {
    size_t at = 0, size, packets = 0;
    for (; packets < 3 && (size = OggPageSize(ogg, at)) != 0; at += size)
        for (size_t i = 0; i < ogg[at + 26]; ++i) packets += ogg[at + 27 + i] < 255;
    return at;
}

// The folder is made on first use and removed, with all in it, at exit.
std::string TempPath(const std::string& name) {
    static char dir[] = "/tmp/larkspin-audio-XXXXXX";
    static const bool made = mkdtemp(dir) && std::atexit([] { std::filesystem::remove_all(dir); }) == 0;
    return std::string(made ? dir : "/nonexistent") + "/" + name;
}

std::string Written(const std::string& name, const Bytes& data) {
    std::string path = TempPath(name);
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        if (!data.empty()) std::fwrite(data.data(), 1, data.size(), f);
        std::fclose(f);
    }
    return path;
}

}  // namespace media
