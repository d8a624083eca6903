// The host's sound loader: picks the decoder by the file's ending, refuses
// other files, and reports the decoded size to the collector.
#include "audio/media.h"
#include "host/glfw_game.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct Loaded {
    unsigned char* data = nullptr;
    int length = -1, channels = -1, format = -1, hertz = -1;
    long long reported = 0;
};

BBGlfwGame* Host() {
    static BBGlfwGame* host = new BBGlfwGame;
    return host;
}

Loaded Load(const std::string& name, const media::Bytes& file) {
    std::string path = media::TempPath(name);
    media::WriteFile(path, file);
    Loaded out;
    long long before = gc_ext_new_bytes.load();
    out.data = Host()->LoadAudioData(String(path.c_str()), &out.length, &out.channels, &out.format, &out.hertz);
    out.reported = gc_ext_new_bytes.load() - before;
    return out;
}

media::Bytes Wav(int channels, int bits, int frames) {
    media::WavSpec s;
    s.channels = channels;
    s.bits = bits;
    s.frames = frames;
    return media::MakeWav(s);
}

}  // namespace

TEST(AudioLoader, ChoosesTheDecoderByEndingInAnyCase) {
    media::Bytes ogg = media::EncodeOgg(media::Sine(8000, 2, 16000, 500, 0.5), 2, 16000);
    struct Case {
        const char* name;
        const media::Bytes* file;
        int channels, format, hertz;
    };
    media::Bytes wav = Wav(2, 8, 1234);
    for (const Case& c : {Case{"x.wav", &wav, 2, 1, 22050}, Case{"x.WaV", &wav, 2, 1, 22050},
                          Case{"y.ogg", &ogg, 2, 2, 16000}, Case{"y.OGG", &ogg, 2, 2, 16000}}) {
        SCOPED_TRACE(c.name);
        Loaded l = Load(c.name, *c.file);
        ASSERT_NE(l.data, nullptr);
        EXPECT_EQ(l.channels, c.channels);
        EXPECT_EQ(l.format, c.format);
        EXPECT_EQ(l.hertz, c.hertz);
        EXPECT_EQ(l.reported, (long long)l.length * l.channels * l.format);
        std::free(l.data);
    }
}

TEST(AudioLoader, RefusesOtherEndingsMissingFilesAndMismatchedContent) {
    media::Bytes wav = Wav(1, 16, 100);
    media::Bytes ogg = media::EncodeOgg(media::Sine(4000, 1, 16000, 500, 0.5), 1, 16000);
    struct Case {
        const char* name;
        const media::Bytes* file;
    };
    for (const Case& c : {Case{"a.mp3", &wav}, Case{"a.wave", &wav}, Case{"wav", &wav}, Case{"a.wav.txt", &wav},
                          Case{"b.ogg", &wav}, Case{"b.wav", &ogg}}) {
        Loaded l = Load(c.name, *c.file);
        EXPECT_EQ(l.data, nullptr) << c.name;
        EXPECT_EQ(l.reported, 0) << c.name;
    }
    BBGlfwGame* host = Host();
    int length, channels, format, hertz;
    EXPECT_EQ(host->LoadAudioData(String(media::TempPath("absent.wav").c_str()), &length, &channels, &format, &hertz),
              nullptr);
    EXPECT_EQ(host->LoadAudioData(String("quill://nowhere/x.wav"), &length, &channels, &format, &hertz), nullptr);
}
