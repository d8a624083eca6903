// The host's sound loader: opens a sound file through the host's path mapping
// and decodes it whole by its extension (.wav or .ogg, any letter case).
#include "host/glfw_game.h"
#include "host/ogg_decoder.h"
#include "host/wav_decoder.h"

unsigned char* BBGlfwGame::LoadAudioData(String path, int* length, int* channels, int* format,
                                         int* hertz) {
    FILE* file = OpenFile(path, String("rb"));
    if (!file) return nullptr;

    String lower = path.ToLower();
    unsigned char* data = nullptr;
    if (lower.EndsWith(String(".wav"))) {
        data = LoadWAV(file, length, channels, format, hertz);
    } else if (lower.EndsWith(String(".ogg"))) {
        data = LoadOGG(file, length, channels, format, hertz);
    }
    std::fclose(file);

    // The decoded block lives outside the collector until the audio device
    // hands it to OpenAL; let the collector's pacing account for it.
    if (data) gc_ext_malloced(*length * *channels * *format);
    return data;
}
