// Opens gxtkAudio on OpenAL Soft's wave backend for the device tests.
#include "audio/capture_rig.h"

#include "host/glfw_game.h"

#include <AL/al.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

// OpenAL reads its configuration once, before the first device opens; the
// device loads its files through the one host.
void ConfigureOnce() {
    static bool done = false;
    if (done) return;
    done = true;
    std::string text = "[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\nfrequency = 44100\n"
                       "hrtf = false\ndither = false\noutput-limiter = false\nsources = 4\n[wave]\nfile = " +
                       media::TempPath("capture.wav") + "\n";
    std::string conf = media::TempPath("alsoft.conf");
    media::WriteFile(conf, media::Bytes(text.begin(), text.end()));
    setenv("ALSOFT_CONF", conf.c_str(), 1);
    setenv("ALSOFT_DRIVERS", "wave", 1);
    new BBGlfwGame;
    bb_audio_Init();
}

}  // namespace

CaptureRig::CaptureRig() {
    ConfigureOnce();
    audio_ = new gxtkAudio;
    bb_audio_SetAudioDevice(audio_);
}

CaptureRig::~CaptureRig() {
    if (!finished_) audio_->Close();
}

gxtkSample* CaptureRig::Load(const std::string& name, const media::Bytes& file) {
    media::WriteFile(media::TempPath(name), file);
    return audio_->LoadSample(String(media::TempPath(name).c_str()));
}

media::Capture CaptureRig::Finish() {
    audio_->Close();
    finished_ = true;
    return media::ReadCapture(media::TempPath("capture.wav"));
}

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

double Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

int SourceState(gxtkAudio* audio, int channel) {
    ALint state = 0;
    if (audio->channels[channel].source) alGetSourcei(audio->channels[channel].source, AL_SOURCE_STATE, &state);
    return state;
}
