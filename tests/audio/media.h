// Test media made in code: PCM WAV files with optional oddities, Ogg Vorbis
// streams encoded with libvorbis, and a reader for the captured output of
// OpenAL Soft's wave backend.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace media {

typedef std::vector<uint8_t> Bytes;

// Description of a PCM WAV to generate: a sine tone of `tone` Hz at `amp`
// (0..1 of full scale) on every channel.
struct WavSpec {
    int channels = 1;
    int bits = 16;
    int hertz = 22050;
    int frames = 2205;
    double tone = 440.0;
    double amp = 0.5;
    int extraFmtBytes = 0;   // bytes appended to the 16-byte "fmt " body
    bool listChunk = false;  // a "LIST" chunk between "fmt " and "data"
};

Bytes MakeWav(const WavSpec& spec);
// The PCM data block MakeWav puts in its "data" chunk.
Bytes WavSamples(const WavSpec& spec);

// Encodes interleaved float samples (-1..1) as Ogg Vorbis.
Bytes EncodeOgg(const std::vector<float>& interleaved, int channels, int hertz);
// Recomputes every page checksum, so damage made by a test reaches the
// Vorbis decoder instead of being caught by the container check.
void FixOggChecksums(Bytes& ogg);
// Offset of the first audio page (just past the three header packets'
// pages) of a stream written by EncodeOgg.
size_t OggAudioStart(const Bytes& ogg);
std::vector<float> Sine(int frames, int channels, int hertz, double tone, double amp);

// Little-endian writers used to build damaged files by hand.
void PutTag(Bytes& out, const char* tag);
void PutU16(Bytes& out, uint32_t v);
void PutU32(Bytes& out, uint32_t v);

std::string TempPath(const std::string& name);
void WriteFile(const std::string& path, const Bytes& data);
Bytes ReadFile(const std::string& path);

// Output captured by the wave backend, as float frames.
struct Capture {
    int channels = 0;
    int hertz = 0;
    std::vector<float> left, right;
    bool ok = false;
};
Capture ReadCapture(const std::string& path);

// A run of frames louder than the silence threshold.
struct Span {
    size_t begin, end;
};
std::vector<Span> LoudSpans(const std::vector<float>& left, const std::vector<float>& right, float threshold,
                            size_t minGap);
double Energy(const std::vector<float>& x, size_t begin, size_t end);
// Tone frequency estimated from zero crossings.
double ZeroCrossingHz(const std::vector<float>& x, size_t begin, size_t end, int hertz);

}  // namespace media
