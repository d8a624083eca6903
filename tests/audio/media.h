// Test media made in code: PCM WAVs with optional oddities, and Ogg Vorbis
// tones from the asset generator's encoder. Files go to a folder of the test
// program's own, removed when it exits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace media {

typedef std::vector<uint8_t> Bytes;

// A sine tone of `tone` Hz at half of full scale on every channel.
struct WavShape {
    int channels = 1, bits = 16, hertz = 22050, frames = 2205;
    double tone = 440.0;
    int extraFmtBytes = 0;   // appended to the 16-byte "fmt " body
    bool listChunk = false;  // a "LIST" chunk between "fmt " and "data"
};
Bytes MakeWav(const WavShape& shape);
Bytes WavSamples(const WavShape& shape);  // the "data" chunk's content
Bytes ToneWav(int channels, int bits, int hertz, double seconds, double tone);
Bytes ToneOgg(int channels, int hertz, int frames, double tone);

size_t OggPageSize(const Bytes& ogg, size_t at);  // of the whole page at `at`, or 0
void FixOggChecksums(Bytes& ogg);  // so damage made by a test gets past the container check
size_t OggAudioStart(const Bytes& ogg);  // just past the page ending the headers

std::string TempPath(const std::string& name);
std::string Written(const std::string& name, const Bytes& data);  // the file's TempPath

}  // namespace media
