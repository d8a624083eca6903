// Test media made in code (PCM WAVs with optional oddities; Ogg Vorbis tones
// from the asset generator's encoder) and analysis of a captured mix.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace media {

typedef std::vector<uint8_t> Bytes;

// A sine tone of `tone` Hz at `amp` of full scale on every channel.
struct WavShape {
    int channels = 1, bits = 16, hertz = 22050, frames = 2205;
    double tone = 440.0, amp = 0.5;
    int extraFmtBytes = 0;   // appended to the 16-byte "fmt " body
    bool listChunk = false;  // a "LIST" chunk between "fmt " and "data"
};
Bytes MakeWav(const WavShape& shape);
Bytes WavSamples(const WavShape& shape);  // the "data" chunk's content
Bytes ToneWav(int channels, int bits, int hertz, double seconds, double tone, double amp = 0.5);
Bytes ToneOgg(int channels, int hertz, int frames, double tone);

// Whole pages only: the size of the page at `at`, or 0.
size_t OggPageSize(const Bytes& ogg, size_t at);
// Recomputes every page checksum, so damage made by a test reaches the
// Vorbis decoder instead of the container check.
void FixOggChecksums(Bytes& ogg);
size_t OggAudioStart(const Bytes& ogg);  // just past the page ending the headers

std::string TempPath(const std::string& name);
void WriteFile(const std::string& path, const Bytes& data);

// The captured 16-bit stereo mix, as floats.
struct Capture {
    int hertz = 0;
    std::vector<float> left, right;
};
Capture ReadCapture(const std::string& path);

// Runs of frames louder than `threshold`; quieter stretches shorter than
// `join` frames (a sine's zero crossings) do not split a run.
struct Span {
    size_t begin, end;
};
std::vector<Span> LoudSpans(const Capture& cap, float threshold, size_t join);
double Energy(const std::vector<float>& x, size_t begin, size_t end);
double ZeroCrossingHz(const std::vector<float>& x, size_t begin, size_t end, int hertz);

}  // namespace media
