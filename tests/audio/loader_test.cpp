// The host's sound loader: picks the decoder by the file's ending in any
// letter case, refuses other files, and reports the decoded size to the
// collector.
#include "audio/media.h"
#include "host/glfw_game.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <cstdlib>

namespace {

struct Loaded {
    unsigned char* data = nullptr;
    int length = 0, channels = 0, format = 0, hertz = 0;
    long long reported = 0;
};

Loaded Load(const std::string& path) {
    static BBGlfwGame* host = new BBGlfwGame;
    Loaded out;
    long long before = gc_ext_new_bytes.load();
    out.data = host->LoadAudioData(String(path.c_str()), &out.length, &out.channels, &out.format, &out.hertz);
    out.reported = gc_ext_new_bytes.load() - before;
    return out;
}

Loaded LoadAs(const std::string& name, const media::Bytes& file) {
    media::WriteFile(media::TempPath(name), file);
    return Load(media::TempPath(name));
}

}  // namespace

TEST(AudioLoader, ChoosesTheDecoderByEndingInAnyCase) {
    media::Bytes wav = media::ToneWav(2, 8, 22050, 0.05, 441);
    media::Bytes ogg = media::ToneOgg(2, 16000, 8000, 500);
    for (const char* name : {"x.wav", "x.WaV", "y.ogg", "y.OGG"}) {
        bool isWav = std::tolower(name[2]) == 'w';
        Loaded l = LoadAs(name, isWav ? wav : ogg);
        ASSERT_NE(l.data, nullptr) << name;
        EXPECT_EQ(l.format, isWav ? 1 : 2) << name;
        EXPECT_EQ(l.hertz, isWav ? 22050 : 16000) << name;
        EXPECT_EQ(l.reported, (long long)l.length * l.channels * l.format) << name;
        std::free(l.data);
    }
}

TEST(AudioLoader, RefusesOtherEndingsMissingFilesAndMismatchedContent) {
    media::Bytes wav = media::ToneWav(1, 16, 22050, 0.01, 441);
    media::Bytes ogg = media::ToneOgg(1, 16000, 4000, 500);
    for (const char* name : {"a.mp3", "a.wave", "wav", "a.wav.txt", "b.ogg", "c.wav"}) {
        Loaded l = LoadAs(name, name[0] == 'c' ? ogg : wav);
        EXPECT_EQ(l.data, nullptr) << name;
        EXPECT_EQ(l.reported, 0) << name;
    }
    EXPECT_EQ(Load(media::TempPath("absent.wav")).data, nullptr);
    EXPECT_EQ(Load("quill://nowhere/x.wav").data, nullptr);
}

// The game's own effects and tunes, when the asset generator has made them,
// must all be loadable as something OpenAL can play.
TEST(AudioLoader, GeneratedGameSoundsAllDecode) {
    const char* build = std::getenv("LARKSPIN_BINARY_DIR");
    std::filesystem::path dir = std::filesystem::path(build ? build : ".") / "data" / "sfx";
    if (!std::filesystem::is_directory(dir)) GTEST_SKIP() << "no generated sounds in " << dir;
    int seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::string ext = entry.path().extension().string();
        if (ext != ".wav" && ext != ".ogg") continue;
        ++seen;
        Loaded l = Load(entry.path().string());
        ASSERT_NE(l.data, nullptr) << entry.path();
        EXPECT_TRUE(l.channels >= 1 && l.channels <= 2 && l.format >= 1 && l.format <= 2 && l.length > 0)
            << entry.path();
        std::free(l.data);
    }
    EXPECT_GT(seen, 0);
}
