// Ogg Vorbis decoding through stb_vorbis (the project's own build of it).
//
// stb_vorbis trusts its input: it skips the Ogg page checksums and takes the
// comment header's lengths at face value, so a damaged or hostile file can
// make it write outside its memory. Before it sees a byte, the stream is
// checked here: every page must be whole, carry a valid CRC and belong to the
// one logical stream, and the identification and comment headers must be
// consistent with their own packet sizes. The decoder then works from memory
// with a fixed arena, which makes it check its working memory up front
// instead of asking the heap or the stack for whatever a header demands.
#include "host/ogg_decoder.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

#include "host/files.h"

namespace {

typedef std::vector<unsigned char> Bytes;

// A tune file larger than this is refused before it is read.
const size_t kMaxFileBytes = size_t(256) * 1024 * 1024;
// Arena sizes tried in turn; ordinary encoder output needs well under the
// first, the second leaves room for unusual but valid setups.
const int kArenaSizes[] = {512 * 1024, 8 * 1024 * 1024};
// Ceiling on decoded output: about 25 minutes of 44.1 kHz stereo.
const size_t kMaxSamples = size_t(128) * 1024 * 1024;
const int kFrameRoom = 4096;
// stb_vorbis's compiled-in channel limit.
const int kMaxChannels = 16;

uint32_t Le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

// The Ogg page checksum: CRC-32, polynomial 0x04c11db7, no reflection, zero
// initial value, computed with the checksum field itself zeroed.
uint32_t PageCrc(const unsigned char* page, size_t size) {
    static uint32_t table[256];
    if (!table[1]) {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t r = i << 24;
            for (int j = 0; j < 8; ++j) r = (r << 1) ^ (r & 0x80000000u ? 0x04c11db7u : 0);
            table[i] = r;
        }
    }
    uint32_t crc = 0;
    for (size_t i = 0; i < size; ++i) {
        unsigned char b = (i >= 22 && i < 26) ? 0 : page[i];
        crc = (crc << 8) ^ table[(crc >> 24) ^ b];
    }
    return crc;
}

// Walks the pages, checking each, and gathers the first three packets (the
// Vorbis headers). A partial page at the very end, as left by an interrupted
// copy, is cut off; anything else out of place rejects the stream.
class PageWalker {
public:
    explicit PageWalker(Bytes* file) : file_(*file) {}

    bool Walk() {
        size_t at = 0;
        while (at < file_.size()) {
            size_t size = 0;
            if (!PageAt(at, &size)) {
                if (at == 0 || !Truncated(at)) return false;
                file_.resize(at);
                break;
            }
            at += size;
        }
        return headers_.size() == 3;
    }

    const Bytes& Header(int i) const { return headers_[i]; }

private:
    // True when the bytes from `at` on are the start of a page cut short.
    bool Truncated(size_t at) const {
        size_t left = file_.size() - at;
        return left < 27 || (std::memcmp(&file_[at], "OggS", 4) == 0 && PageSize(at) > left);
    }

    size_t PageSize(size_t at) const {
        size_t segments = file_[at + 26];
        if (file_.size() - at < 27 + segments) return SIZE_MAX;
        size_t body = 0;
        for (size_t i = 0; i < segments; ++i) body += file_[at + 27 + i];
        return 27 + segments + body;
    }

    bool PageAt(size_t at, size_t* size) {
        const unsigned char* p = &file_[at];
        if (file_.size() - at < 27 || std::memcmp(p, "OggS", 4) != 0 || p[4] != 0) return false;
        *size = PageSize(at);
        if (*size > file_.size() - at || PageCrc(p, *size) != Le32(p + 22)) return false;
        uint32_t serial = Le32(p + 14);
        if (at == 0) serial_ = serial;
        if (serial != serial_) return false;
        CollectHeaders(p + 27, p[26]);
        return true;
    }

    void CollectHeaders(const unsigned char* lacing, int segments) {
        const unsigned char* body = lacing + segments;
        for (int i = 0; i < segments && headers_.size() < 3; ++i) {
            packet_.insert(packet_.end(), body, body + lacing[i]);
            body += lacing[i];
            if (lacing[i] < 255) {
                headers_.push_back(packet_);
                packet_.clear();
            }
        }
    }

    Bytes& file_;
    uint32_t serial_ = 0;
    Bytes packet_;
    std::vector<Bytes> headers_;
};

bool IsHeader(const Bytes& packet, int type) {
    return packet.size() >= 7 && packet[0] == type && std::memcmp(&packet[1], "vorbis", 6) == 0;
}

bool IdentificationOk(const Bytes& p) {
    if (!IsHeader(p, 1) || p.size() < 30 || Le32(&p[7]) != 0) return false;
    int channels = p[11];
    uint32_t rate = Le32(&p[12]);
    int small = p[28] & 15, large = p[28] >> 4;
    return channels >= 1 && channels <= kMaxChannels && rate > 0 && rate <= 0x7fffffffu && small >= 6 &&
           small <= large && large <= 13 && (p[29] & 1);
}

// Vendor string and comments must each fit inside the packet.
bool CommentsOk(const Bytes& p) {
    if (!IsHeader(p, 3)) return false;
    size_t at = 7;
    auto take = [&](size_t n) {
        if (p.size() - at < n) return false;
        at += n;
        return true;
    };
    if (!take(4) || !take(Le32(&p[at - 4]))) return false;
    if (!take(4)) return false;
    uint32_t count = Le32(&p[at - 4]);
    if (count > (p.size() - at) / 4) return false;
    for (uint32_t i = 0; i < count; ++i)
        if (!take(4) || !take(Le32(&p[at - 4]))) return false;
    return take(1) && (p[at - 1] & 1);
}

// An open decoder together with the arena it lives in.
struct OggStream {
    stb_vorbis* vorbis = nullptr;
    char* arena = nullptr;

    ~OggStream() {
        if (vorbis) stb_vorbis_close(vorbis);
        std::free(arena);
    }

    // Retries with a larger arena only when the smaller one was too small.
    bool Open(const Bytes& file) {
        for (int size : kArenaSizes) {
            arena = (char*)std::malloc(size);
            if (!arena) return false;
            stb_vorbis_alloc alloc = {arena, size};
            int error = 0;
            vorbis = stb_vorbis_open_memory(file.data(), (int)file.size(), &error, &alloc);
            if (vorbis) return true;
            std::free(arena);
            arena = nullptr;
            if (error != VORBIS_outofmem) return false;
        }
        return false;
    }
};

// One decoded sample as 16 bits, rounded and clamped. stb_vorbis's own
// 16-bit output uses a float-to-int trick that overflows a signed int on the
// wild values a damaged stream decodes to; this conversion has no such case
// (NaN comes out as silence).
short ToSample(float value) {
    float scaled = std::floor(value * 32768.0f + 0.5f);
    if (!(scaled > -32768.0f)) return scaled != scaled ? 0 : -32768;
    if (scaled > 32767.0f) return 32767;
    return short(scaled);
}

// Decodes every frame into one growing block of interleaved shorts; returns
// the number of frames decoded, or -1 when the output outgrew its ceiling or
// memory.
long DecodeAll(stb_vorbis* vorbis, int channels, short** out) {
    size_t room = size_t(channels) * kFrameRoom;
    size_t used = 0;
    short* data = (short*)std::malloc(room * sizeof(short));
    while (data) {
        float** frame = nullptr;
        int frames = stb_vorbis_get_frame_float(vorbis, nullptr, &frame);
        if (frames <= 0) {
            *out = data;
            return (long)(used / channels);
        }
        while (room - used < size_t(frames) * channels) {
            if (room * 2 > kMaxSamples) {
                std::free(data);
                return -1;
            }
            short* bigger = (short*)std::realloc(data, room * 2 * sizeof(short));
            if (!bigger) break;
            data = bigger;
            room *= 2;
        }
        if (room - used < size_t(frames) * channels) break;
        for (int i = 0; i < frames; ++i)
            for (int c = 0; c < channels; ++c) data[used++] = ToSample(frame[c][i]);
    }
    std::free(data);
    return -1;
}

}  // namespace

unsigned char* LoadOGG(FILE* file, int* length, int* channels, int* format, int* hertz) {
    if (!file) return nullptr;
    Bytes bytes;
    if (!readWhole(file, kMaxFileBytes, &bytes) || bytes.empty()) return nullptr;
    PageWalker pages(&bytes);
    if (!pages.Walk() || !IdentificationOk(pages.Header(0)) || !CommentsOk(pages.Header(1)) ||
        !IsHeader(pages.Header(2), 5))
        return nullptr;

    OggStream stream;
    if (!stream.Open(bytes)) return nullptr;
    stb_vorbis_info info = stb_vorbis_get_info(stream.vorbis);
    if (info.channels <= 0 || info.sample_rate == 0 || info.sample_rate > 0x7fffffffu) return nullptr;

    short* data = nullptr;
    long frames = DecodeAll(stream.vorbis, info.channels, &data);
    if (frames <= 0) {
        std::free(data);
        return nullptr;
    }
    size_t bytesOut = size_t(frames) * info.channels * sizeof(short);
    void* shrunk = std::realloc(data, bytesOut);
    *length = (int)frames;
    *channels = info.channels;
    *format = 2;
    *hertz = (int)info.sample_rate;
    return (unsigned char*)(shrunk ? shrunk : data);
}
