// The OpenAL device, its channels and music. All of it runs on the main
// thread but the opening of the device, which may start early on a worker;
// OpenAL calls made without a working context do nothing, so a machine
// without sound runs the same code silently.
#include "audio/gxtk_audio.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <future>
#include <system_error>

#include "host/game.h"

gxtkAudio* gxtkAudio::audio = nullptr;
int gxtkAudio::session = 0;

namespace {

// AL_STOPPED for a channel without a source, so "has it finished?" questions
// need no special case.
ALint SourceState(ALuint source) {
  ALint state = AL_STOPPED;
  if (source) alGetSourcei(source, AL_SOURCE_STATE, &state);
  return state;
}

ALenum BufferFormat(int channels, int bytesPerSample) {
  if (bytesPerSample == 1 && channels == 1) return AL_FORMAT_MONO8;
  if (bytesPerSample == 1 && channels == 2) return AL_FORMAT_STEREO8;
  if (bytesPerSample == 2 && channels == 1) return AL_FORMAT_MONO16;
  if (bytesPerSample == 2 && channels == 2) return AL_FORMAT_STEREO16;
  return 0;  // OpenAL refuses the data; the sample stays silent
}

struct OpenedDevice {
  ALCdevice* device = nullptr;
  ALCcontext* context = nullptr;
};

// The default device, or failing that one of the generic ones, with a
// context. ALC calls may come from any thread.
OpenedDevice Open() {
  OpenedDevice opened;
  opened.device = alcOpenDevice(nullptr);
  if (!opened.device) opened.device = alcOpenDevice("Generic Hardware");
  if (!opened.device) opened.device = alcOpenDevice("Generic Software");
  if (opened.device) opened.context = alcCreateContext(opened.device, nullptr);
  return opened;
}

// Never destroyed: a device nobody took stays open to the end, as any does.
std::future<OpenedDevice>* openingAhead = nullptr;

}  // namespace

void gxtkAudio::OpenDeviceAhead() {
  if (openingAhead) return;
  try {
    openingAhead = new std::future<OpenedDevice>(std::async(std::launch::async, Open));
  } catch (const std::system_error&) {
    // No thread to be had: the device opens when the audio starts.
  }
}

unsigned int gxtkChannel::AL_Source() {
  if (source) return source;
  alGetError();
  ALuint made = 0;
  alGenSources(1, &made);
  if (alGetError() == AL_NO_ERROR && made) return source = made;

  // Out of sources: borrow one from an idle effect channel. The music
  // channel's source is never taken.
  gxtkAudio* audio = gxtkAudio::audio;
  if (!audio) return 0;
  for (int i = 0; i < gxtkAudio::kMusicChannel; ++i) {
    gxtkChannel& other = audio->channels[i];
    if (&other == this || !other.source || audio->ChannelState(i) != GXTK_CHANNEL_STOPPED) continue;
    source = other.source;
    other.source = 0;
    return source;
  }
  return 0;
}

gxtkAudio::gxtkAudio() {
  gc_assign(audio, this);
  ++session;
  std::memset(channels, 0, sizeof channels);
  OpenDevice();
  alDistanceModel(AL_NONE);  // positions only steer panning
  channels[kMusicChannel].AL_Source();
}

void gxtkAudio::OpenDevice() {
  OpenedDevice opened = openingAhead && openingAhead->valid() ? openingAhead->get() : Open();
  alcDevice = opened.device;
  bbPrint(String("opening openal device"));
  if (!alcDevice) {
    bbPrint(String("OpenAl error: alcOpenDevice failed"));
    return;
  }
  alcContext = opened.context;
  if (!alcContext) {
    bbPrint(String("OpenAl error: alcCreateContext failed"));
    return;
  }
  if (!alcMakeContextCurrent(alcContext)) bbPrint(String("OpenAl error: alcMakeContextCurrent failed"));
}

void gxtkAudio::Close() {
  for (gxtkChannel& ch : channels) {
    if (ch.source) {
      alSourceStop(ch.source);
      alSourcei(ch.source, AL_BUFFER, 0);
      alDeleteSources(1, &ch.source);
    }
  }
  std::memset(channels, 0, sizeof channels);
  FlushDiscarded();
  gxtkDiscardedBuffers().clear();
  if (alcContext) {
    if (alcGetCurrentContext() == alcContext) alcMakeContextCurrent(nullptr);
    alcDestroyContext(alcContext);
  }
  if (alcDevice) alcCloseDevice(alcDevice);
  alcContext = nullptr;
  alcDevice = nullptr;
  ++session;  // every buffer name handed out so far is now meaningless
}

// A sample stays alive while a channel still sounds it, even when the game
// has dropped its last reference.
void gxtkAudio::mark() {
  Object::mark();
  for (gxtkChannel& ch : channels) {
    if (ch.state != GXTK_CHANNEL_STOPPED && SourceState(ch.source) != AL_STOPPED) gc_enqueue(ch.sample);
  }
}

gxtkChannel* gxtkAudio::Channel(int channel) {
  return channel >= 0 && channel < kChannels ? &channels[channel] : nullptr;
}

// Pauses only what is playing; channels the game paused stay as they are, so
// Resume can tell the two apart by the channel state.
int gxtkAudio::Suspend() {
  for (gxtkChannel& ch : channels) {
    if (ch.state == GXTK_CHANNEL_PLAYING && SourceState(ch.source) == AL_PLAYING) alSourcePause(ch.source);
  }
  return 0;
}

int gxtkAudio::Resume() {
  for (gxtkChannel& ch : channels) {
    if (ch.state == GXTK_CHANNEL_PLAYING && SourceState(ch.source) == AL_PAUSED) alSourcePlay(ch.source);
  }
  return 0;
}

gxtkSample* gxtkAudio::LoadSample(String path) {
  FlushDiscarded();
  gxtkSample* sample = new gxtkSample;
  return LoadSample__UNSAFE__(sample, path) ? sample : nullptr;
}

bool gxtkAudio::LoadSample__UNSAFE__(gxtkSample* sample, String path) {
  if (!sample || !BBGame::_game) return false;
  int length = 0, chans = 0, format = 0, hertz = 0;
  unsigned char* data = BBGame::_game->LoadAudioData(path, &length, &chans, &format, &hertz);
  if (!data) return false;

  ALuint buffer = 0;
  alGenBuffers(1, &buffer);
  alBufferData(buffer, BufferFormat(chans, format), data, length * chans * format, hertz);
  std::free(data);
  sample->Discard();  // a reloaded sample gives up its previous sound
  sample->SetBuffer(buffer);
  return true;
}

int gxtkAudio::PlaySample(gxtkSample* sample, int channel, int flags) {
  FlushDiscarded();
  gxtkChannel* ch = Channel(channel);
  if (!ch || !sample) return -1;
  ALuint source = ch->AL_Source();
  if (!source) return -1;
  ALuint buffer = sample->session == session ? sample->buffer : 0;
  alSourceStop(source);
  alSourcei(source, AL_BUFFER, (ALint)buffer);
  alSourcei(source, AL_LOOPING, flags ? AL_TRUE : AL_FALSE);
  alSourcePlay(source);
  gc_assign(ch->sample, sample);
  ch->flags = flags;
  ch->state = GXTK_CHANNEL_PLAYING;
  return 0;
}

int gxtkAudio::StopChannel(int channel) {
  gxtkChannel* ch = Channel(channel);
  if (!ch || ch->state == GXTK_CHANNEL_STOPPED) return 0;
  alSourceStop(ch->source);
  ch->state = GXTK_CHANNEL_STOPPED;
  return 0;
}

int gxtkAudio::PauseChannel(int channel) {
  gxtkChannel* ch = Channel(channel);
  if (!ch || ch->state != GXTK_CHANNEL_PLAYING) return 0;
  if (SourceState(ch->source) != AL_STOPPED) {
    alSourcePause(ch->source);
    ch->state = GXTK_CHANNEL_PAUSED;
  } else {
    ch->state = GXTK_CHANNEL_STOPPED;  // it had already finished
  }
  return 0;
}

int gxtkAudio::ResumeChannel(int channel) {
  gxtkChannel* ch = Channel(channel);
  if (!ch || ch->state != GXTK_CHANNEL_PAUSED) return 0;
  alSourcePlay(ch->source);
  ch->state = GXTK_CHANNEL_PLAYING;
  return 0;
}

int gxtkAudio::ChannelState(int channel) {
  gxtkChannel* ch = Channel(channel);
  if (!ch) return GXTK_CHANNEL_STOPPED;
  if (ch->state == GXTK_CHANNEL_PLAYING && SourceState(ch->source) == AL_STOPPED) ch->state = GXTK_CHANNEL_STOPPED;
  return ch->state;
}

// Volume, pan and rate live on the source: they persist across plays and
// travel with a source that another channel takes over.
int gxtkAudio::SetVolume(int channel, float volume) {
  gxtkChannel* ch = Channel(channel);
  ALuint source = ch ? ch->AL_Source() : 0;
  if (source) alSourcef(source, AL_GAIN, volume);
  return 0;
}

// pan is an angle in radians on a unit circle around the listener: 0 straight
// ahead, negative to the left, positive to the right.
int gxtkAudio::SetPan(int channel, float pan) {
  gxtkChannel* ch = Channel(channel);
  ALuint source = ch ? ch->AL_Source() : 0;
  if (source) alSource3f(source, AL_POSITION, std::sin(pan), 0.0f, -std::cos(pan));
  return 0;
}

int gxtkAudio::SetRate(int channel, float rate) {
  gxtkChannel* ch = Channel(channel);
  ALuint source = ch ? ch->AL_Source() : 0;
  if (source) alSourcef(source, AL_PITCH, rate);
  return 0;
}

int gxtkAudio::PlayMusic(String path, int flags) {
  StopMusic();
  gxtkSample* music = LoadSample(path);
  if (!music) return -1;
  PlaySample(music, kMusicChannel, flags);
  return 0;
}

int gxtkAudio::StopMusic() { return StopChannel(kMusicChannel); }
int gxtkAudio::PauseMusic() { return PauseChannel(kMusicChannel); }
int gxtkAudio::ResumeMusic() { return ResumeChannel(kMusicChannel); }
int gxtkAudio::MusicState() { return ChannelState(kMusicChannel); }
int gxtkAudio::SetMusicVolume(float volume) { return SetVolume(kMusicChannel, volume); }

// A stopped source still holds its buffer, and OpenAL refuses to delete a
// buffer that any source holds: detach buffers from every stopped source
// first (PlaySample always binds afresh, so nothing is lost), then delete
// what OpenAL lets go of and keep the rest for the next flush.
void gxtkAudio::FlushDiscarded() {
  std::vector<unsigned int>& discarded = gxtkDiscardedBuffers();
  if (discarded.empty()) return;
  if (audio) {
    for (gxtkChannel& ch : audio->channels) {
      if (ch.source && SourceState(ch.source) == AL_STOPPED) alSourcei(ch.source, AL_BUFFER, 0);
    }
  }
  std::vector<unsigned int> kept;
  for (unsigned int buffer : discarded) {
    alGetError();
    alDeleteBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR) kept.push_back(buffer);
  }
  discarded.swap(kept);
}
