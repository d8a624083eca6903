// Opens gxtkAudio on OpenAL Soft's wave backend for the device tests.
#include "audio/capture_rig.h"

#include <AL/al.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

std::string CapturePath() { return media::TempPath("capture.wav"); }

// One host for the whole process: the device loads its files through it.
BBGlfwGame* Host() {
    static BBGlfwGame* host = new BBGlfwGame;
    return host;
}

}  // namespace

void CaptureRig::Configure() {
    static bool done = false;
    if (done) return;
    done = true;
    std::string conf = media::TempPath("alsoft.conf");
    std::string text =
        "[general]\n"
        "drivers = wave\n"
        "channels = stereo\n"
        "sample-type = int16\n"
        "frequency = 44100\n"
        "hrtf = false\n"
        "dither = false\n"
        "output-limiter = false\n"
        "sources = 4\n"
        "[wave]\n"
        "file = " +
        CapturePath() + "\n";
    media::WriteFile(conf, media::Bytes(text.begin(), text.end()));
    setenv("ALSOFT_CONF", conf.c_str(), 1);
    setenv("ALSOFT_DRIVERS", "wave", 1);
    bb_audio_Init();
}

CaptureRig::CaptureRig() {
    Configure();
    Host();
    audio_ = new gxtkAudio;
    bb_audio_SetAudioDevice(audio_);
}

CaptureRig::~CaptureRig() {
    if (!finished_) audio_->Close();
}

gxtkSample* CaptureRig::Load(const std::string& name, const media::Bytes& file) {
    std::string path = media::TempPath(name);
    media::WriteFile(path, file);
    return audio_->LoadSample(String(path.c_str()));
}

media::Capture CaptureRig::Finish() {
    audio_->Close();
    finished_ = true;
    return media::ReadCapture(CapturePath());
}

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

int SourceState(gxtkAudio* audio, int channel) {
    ALint state = 0;
    ALuint source = audio->channels[channel].source;
    if (source) alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

media::Bytes ToneWav(int channels, int bits, int hertz, double seconds, double tone, double amp) {
    media::WavSpec s;
    s.channels = channels;
    s.bits = bits;
    s.hertz = hertz;
    s.frames = int(seconds * hertz);
    s.tone = tone;
    s.amp = amp;
    return media::MakeWav(s);
}
