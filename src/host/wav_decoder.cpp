// RIFF/WAVE reader for the sound effects. Only uncompressed PCM is accepted;
// every size read from the file is checked against what the file can still
// hold before anything is allocated, because asset files may be truncated or
// damaged and a bad header must not turn into a multi-gigabyte allocation.
#include "host/wav_decoder.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// Refuse data blocks beyond this even when the file claims to hold them; a
// sound effect or tune decoded whole never legitimately comes near it.
const uint32_t kMaxDataBytes = 1u << 30;
// Reads from a source whose size is unknown grow the block in steps of at
// most this much, so the allocation follows the bytes actually present.
const size_t kReadStep = 1u << 20;

// Tracks how many bytes the file can still deliver (-1: unknown, e.g. a pipe).
struct WavReader {
    FILE* file;
    long end;

    explicit WavReader(FILE* f) : file(f), end(-1) {
        long here = std::ftell(f);
        if (here < 0 || std::fseek(f, 0, SEEK_END) != 0) return;
        long last = std::ftell(f);
        if (std::fseek(f, here, SEEK_SET) != 0) {
            end = -2;  // position lost: every later read fails
            return;
        }
        end = last;
    }

    // Bytes left before the end of the file, or -1 when that is unknown.
    long long Remaining() const {
        if (end < 0) return -1;
        long here = std::ftell(file);
        if (here < 0 || here > end) return 0;
        return (long long)end - here;
    }

    bool Fits(uint32_t n) const {
        long long left = Remaining();
        return left < 0 || (long long)n <= left;
    }

    bool Read(void* dst, size_t n) { return end != -2 && std::fread(dst, 1, n, file) == n; }

    bool U16(uint32_t* v) {
        unsigned char b[2];
        if (!Read(b, 2)) return false;
        *v = (uint32_t)b[0] | (uint32_t)b[1] << 8;
        return true;
    }

    bool U32(uint32_t* v) {
        unsigned char b[4];
        if (!Read(b, 4)) return false;
        *v = (uint32_t)b[0] | (uint32_t)b[1] << 8 | (uint32_t)b[2] << 16 | (uint32_t)b[3] << 24;
        return true;
    }

    bool Tag(char tag[4]) { return Read(tag, 4); }

    // Drops n bytes; fails when the file cannot hold them.
    bool Skip(uint32_t n) {
        if (!Fits(n)) return false;
        if (end >= 0) return std::fseek(file, (long)n, SEEK_CUR) == 0;
        unsigned char scratch[4096];
        while (n > 0) {
            size_t step = n < sizeof scratch ? n : sizeof scratch;
            if (!Read(scratch, step)) return false;
            n -= (uint32_t)step;
        }
        return true;
    }

    // Reads an n-byte block. The block grows with the data actually read, so
    // a size the file cannot back is never allocated up front.
    unsigned char* Block(uint32_t n) {
        if (n > kMaxDataBytes || !Fits(n)) return nullptr;
        size_t cap = Remaining() >= 0 ? n : (n < kReadStep ? n : kReadStep);
        unsigned char* data = (unsigned char*)std::malloc(cap ? cap : 1);
        size_t got = 0;
        while (data && got < n) {
            if (got == cap) {
                size_t grown = cap + kReadStep < n ? cap + kReadStep : n;
                unsigned char* bigger = (unsigned char*)std::realloc(data, grown);
                if (!bigger) break;
                data = bigger;
                cap = grown;
            }
            if (!Read(data + got, cap - got)) break;
            got = cap;
        }
        if (got == n) return data;
        std::free(data);
        return nullptr;
    }
};

struct WavFormat {
    uint32_t channels = 0;
    uint32_t hertz = 0;
    uint32_t bytesPerSample = 0;
};

bool ReadHeader(WavReader& in) {
    char tag[4];
    uint32_t riffSize;
    return in.Tag(tag) && std::memcmp(tag, "RIFF", 4) == 0 && in.U32(&riffSize) && in.Tag(tag) &&
           std::memcmp(tag, "WAVE", 4) == 0;
}

// The "fmt " chunk must come first and describe integer PCM.
bool ReadFormat(WavReader& in, WavFormat* fmt) {
    char tag[4];
    uint32_t size, formatTag, byteRate, blockAlign, bits;
    if (!in.Tag(tag) || std::memcmp(tag, "fmt ", 4) != 0 || !in.U32(&size) || size < 16) return false;
    if (!in.U16(&formatTag) || formatTag != 1) return false;
    if (!in.U16(&fmt->channels) || !in.U32(&fmt->hertz) || !in.U32(&byteRate) || !in.U16(&blockAlign) ||
        !in.U16(&bits))
        return false;
    fmt->bytesPerSample = bits / 8;
    // A frame of zero bytes would make the frame count a division by zero.
    if (fmt->channels == 0 || fmt->bytesPerSample == 0 || fmt->hertz == 0 || fmt->hertz > 0x7fffffff)
        return false;
    return in.Skip(size - 16);
}

// Walks the chunks after "fmt " until "data"; other chunks are skipped whole.
unsigned char* ReadData(WavReader& in, uint32_t* bytes) {
    char tag[4];
    uint32_t size;
    while (in.Tag(tag) && in.U32(&size)) {
        if (std::memcmp(tag, "data", 4) == 0) {
            *bytes = size;
            return in.Block(size);
        }
        if (!in.Skip(size)) return nullptr;
    }
    return nullptr;
}

}  // namespace

unsigned char* LoadWAV(FILE* file, int* length, int* channels, int* format, int* hertz) {
    if (!file) return nullptr;
    WavReader in(file);
    WavFormat fmt;
    uint32_t bytes = 0;
    if (!ReadHeader(in) || !ReadFormat(in, &fmt)) return nullptr;
    unsigned char* data = ReadData(in, &bytes);
    if (!data) return nullptr;
    *length = (int)(bytes / (fmt.channels * fmt.bytesPerSample));
    *channels = (int)fmt.channels;
    *format = (int)fmt.bytesPerSample;
    *hertz = (int)fmt.hertz;
    return data;
}
