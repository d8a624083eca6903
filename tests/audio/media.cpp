// Builds the test media in code so the repository holds no binary assets, and
// reads back what OpenAL Soft's wave backend mixed.
#include "audio/media.h"

#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace media {

void PutTag(Bytes& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

void PutU16(Bytes& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void PutU32(Bytes& out, uint32_t v) {
    PutU16(out, v & 0xffff);
    PutU16(out, v >> 16);
}

Bytes WavSamples(const WavSpec& s) {
    Bytes out;
    const double kTwoPi = 6.283185307179586;
    for (int i = 0; i < s.frames; ++i) {
        double v = s.amp * std::sin(kTwoPi * s.tone * i / s.hertz);
        for (int c = 0; c < s.channels; ++c) {
            if (s.bits == 8) {
                out.push_back(uint8_t(128 + std::lround(v * 127)));
            } else {
                PutU16(out, uint16_t(int16_t(std::lround(v * 32767))));
            }
        }
    }
    return out;
}

Bytes MakeWav(const WavSpec& s) {
    Bytes data = WavSamples(s);
    Bytes out;
    PutTag(out, "RIFF");
    PutU32(out, 0);  // patched below
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutU32(out, 16 + s.extraFmtBytes);
    PutU16(out, 1);
    PutU16(out, s.channels);
    PutU32(out, s.hertz);
    PutU32(out, s.hertz * s.channels * s.bits / 8);
    PutU16(out, s.channels * s.bits / 8);
    PutU16(out, s.bits);
    for (int i = 0; i < s.extraFmtBytes; ++i) out.push_back(0xEE);
    if (s.listChunk) {
        PutTag(out, "LIST");
        PutU32(out, 12);
        PutTag(out, "INFO");
        PutTag(out, "ISFT");
        PutU32(out, 0);
    }
    PutTag(out, "data");
    PutU32(out, uint32_t(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    uint32_t riff = uint32_t(out.size() - 8);
    for (int i = 0; i < 4; ++i) out[4 + i] = uint8_t(riff >> (8 * i));
    return out;
}

std::vector<float> Sine(int frames, int channels, int hertz, double tone, double amp) {
    std::vector<float> out;
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) out.push_back(float(amp * std::sin(6.283185307179586 * tone * i / hertz)));
    return out;
}

namespace {

void AppendPage(Bytes& out, const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

Bytes EncodeOgg(const std::vector<float>& interleaved, int channels, int hertz) {
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, hertz, 0.4f) != 0) return {};
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 1234);

    Bytes out;
    ogg_packet header, comment, code;
    vorbis_analysis_headerout(&vd, &vc, &header, &comment, &code);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comment);
    ogg_stream_packetin(&os, &code);
    ogg_page page;
    while (ogg_stream_flush(&os, &page)) AppendPage(out, page);

    int frames = int(interleaved.size()) / channels;
    const int kChunk = 1024;
    for (int at = 0;; at += kChunk) {
        int n = frames - at < kChunk ? frames - at : kChunk;
        if (n < 0) n = 0;
        if (n > 0) {
            float** buf = vorbis_analysis_buffer(&vd, n);
            for (int i = 0; i < n; ++i)
                for (int c = 0; c < channels; ++c) buf[c][i] = interleaved[size_t(at + i) * channels + c];
        }
        vorbis_analysis_wrote(&vd, n);  // n == 0 marks the end of the stream
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                while (ogg_stream_pageout(&os, &page)) AppendPage(out, page);
            }
        }
        if (n <= 0) break;
    }
    while (ogg_stream_flush(&os, &page)) AppendPage(out, page);

    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

namespace {

uint32_t OggCrc(const uint8_t* page, size_t size) {
    uint32_t crc = 0;
    for (size_t i = 0; i < size; ++i) {
        uint8_t b = (i >= 22 && i < 26) ? 0 : page[i];
        crc ^= uint32_t(b) << 24;
        for (int k = 0; k < 8; ++k) crc = (crc << 1) ^ (crc & 0x80000000u ? 0x04c11db7u : 0);
    }
    return crc;
}

// Size of the page at `at`, or 0 when no whole page starts there.
size_t OggPageSize(const Bytes& b, size_t at) {
    if (at + 27 > b.size() || std::memcmp(&b[at], "OggS", 4) != 0) return 0;
    size_t segments = b[at + 26];
    if (at + 27 + segments > b.size()) return 0;
    size_t size = 27 + segments;
    for (size_t i = 0; i < segments; ++i) size += b[at + 27 + i];
    return at + size <= b.size() ? size : 0;
}

}  // namespace

void FixOggChecksums(Bytes& ogg) {
    size_t at = 0, size;
    while ((size = OggPageSize(ogg, at)) != 0) {
        uint32_t crc = OggCrc(&ogg[at], size);
        for (int i = 0; i < 4; ++i) ogg[at + 22 + i] = uint8_t(crc >> (8 * i));
        at += size;
    }
}

// EncodeOgg flushes the identification header on a page of its own and the
// comment and setup headers on the next.
size_t OggAudioStart(const Bytes& ogg) {
    size_t first = OggPageSize(ogg, 0);
    return first + OggPageSize(ogg, first);
}

std::string TempPath(const std::string& name) {
    static std::string dir;
    if (dir.empty()) {
        char templ[] = "/tmp/larkspin-audio-XXXXXX";
        const char* made = mkdtemp(templ);
        dir = made ? made : "/tmp";
    }
    return dir + "/" + name;
}

void WriteFile(const std::string& path, const Bytes& data) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    if (!data.empty()) std::fwrite(data.data(), 1, data.size(), f);
    std::fclose(f);
}

Bytes ReadFile(const std::string& path) {
    Bytes out;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
    std::fclose(f);
    return out;
}

namespace {

uint32_t U16At(const Bytes& b, size_t at) { return b[at] | b[at + 1] << 8; }
uint32_t U32At(const Bytes& b, size_t at) { return U16At(b, at) | U16At(b, at + 2) << 16; }

float SampleAt(const Bytes& b, size_t at, int bits, bool isFloat) {
    if (isFloat) {
        uint32_t u = U32At(b, at);
        float f;
        std::memcpy(&f, &u, 4);
        return f;
    }
    if (bits == 16) return float(int16_t(U16At(b, at))) / 32768.0f;
    if (bits == 32) return float(int32_t(U32At(b, at)) / 2147483648.0);
    return (float(b[at]) - 128.0f) / 128.0f;
}

}  // namespace

// The backend rewrites the header sizes only when the device closes; a file
// whose data size was never patched is read to its end.
Capture ReadCapture(const std::string& path) {
    Capture cap;
    Bytes b = ReadFile(path);
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0) return cap;
    size_t at = 12;
    int bits = 0, tag = 0;
    while (at + 8 <= b.size()) {
        uint32_t size = U32At(b, at + 4);
        if (std::memcmp(&b[at], "fmt ", 4) == 0 && at + 24 <= b.size()) {
            tag = int(U16At(b, at + 8));
            cap.channels = int(U16At(b, at + 10));
            cap.hertz = int(U32At(b, at + 12));
            bits = int(U16At(b, at + 22));
            if (tag == 0xFFFE && at + 34 <= b.size()) tag = int(U16At(b, at + 32));
        } else if (std::memcmp(&b[at], "data", 4) == 0) {
            size_t begin = at + 8;
            size_t end = (size == 0 || begin + size > b.size()) ? b.size() : begin + size;
            int step = bits / 8;
            if (cap.channels < 1 || step < 1) return cap;
            bool isFloat = tag == 3;
            for (size_t p = begin; p + size_t(step) * cap.channels <= end; p += size_t(step) * cap.channels) {
                cap.left.push_back(SampleAt(b, p, bits, isFloat));
                cap.right.push_back(SampleAt(b, p + (cap.channels > 1 ? step : 0), bits, isFloat));
            }
            cap.ok = true;
            return cap;
        }
        at += 8 + size;
    }
    return cap;
}

std::vector<Span> LoudSpans(const std::vector<float>& left, const std::vector<float>& right, float threshold,
                            size_t minGap) {
    std::vector<Span> spans;
    size_t n = left.size() < right.size() ? left.size() : right.size();
    for (size_t i = 0; i < n; ++i) {
        if (std::fabs(left[i]) <= threshold && std::fabs(right[i]) <= threshold) continue;
        if (!spans.empty() && i - spans.back().end <= minGap) {
            spans.back().end = i + 1;
        } else {
            spans.push_back({i, i + 1});
        }
    }
    return spans;
}

double Energy(const std::vector<float>& x, size_t begin, size_t end) {
    double sum = 0;
    for (size_t i = begin; i < end && i < x.size(); ++i) sum += double(x[i]) * x[i];
    return sum;
}

double ZeroCrossingHz(const std::vector<float>& x, size_t begin, size_t end, int hertz) {
    int crossings = 0;
    for (size_t i = begin + 1; i < end && i < x.size(); ++i)
        if ((x[i - 1] < 0) != (x[i] < 0)) ++crossings;
    double seconds = double(end - begin) / hertz;
    return seconds > 0 ? crossings / 2.0 / seconds : 0;
}

}  // namespace media
