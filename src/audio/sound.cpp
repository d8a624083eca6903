// c_Sound and the audio module's functions: a thin layer that maps the
// game's data paths and forwards to the device.
#include "audio/sound.h"

#include "host/paths.h"

gxtkAudio* bb_audio_device = nullptr;

c_Sound* c_Sound::m_new(gxtkSample* sample) {
  gc_assign(m_sample, sample);
  return this;
}

c_Sound* c_Sound::m_new2() { return this; }

void c_Sound::mark() {
  Object::mark();
  gc_enqueue(m_sample);
}

namespace {

// The device is a root twice over: as the module's device and as the one
// instance the OpenAL layer keeps for itself.
void MarkAudioRoots() {
  gc_enqueue(bb_audio_device);
  gc_enqueue(gxtkAudio::audio);
}

}  // namespace

int bb_audio_Init() {
  bb_audio_device = nullptr;
  gc_register_roots(MarkAudioRoots);
  return 0;
}

int bb_audio_SetAudioDevice(gxtkAudio* device) {
  gc_assign(bb_audio_device, device);
  return 0;
}

c_Sound* bb_audio_LoadSound(String path) {
  if (!bb_audio_device) return nullptr;
  gxtkSample* sample = bb_audio_device->LoadSample(bb_data_FixDataPath(path));
  if (!sample) return nullptr;
  return (new c_Sound)->m_new(sample);
}

int bb_audio_PlaySound(c_Sound* sound, int channel, int flags) {
  if (bb_audio_device && sound && sound->m_sample) bb_audio_device->PlaySample(sound->m_sample, channel, flags);
  return 0;
}

int bb_audio_StopChannel(int channel) {
  if (bb_audio_device) bb_audio_device->StopChannel(channel);
  return 0;
}

int bb_audio_SetChannelVolume(int channel, float volume) {
  if (bb_audio_device) bb_audio_device->SetVolume(channel, volume);
  return 0;
}

int bb_audio_SetChannelPan(int channel, float pan) {
  if (bb_audio_device) bb_audio_device->SetPan(channel, pan);
  return 0;
}

int bb_audio_SetChannelRate(int channel, float rate) {
  if (bb_audio_device) bb_audio_device->SetRate(channel, rate);
  return 0;
}

int bb_audio_PlayMusic(String path, int flags) {
  if (!bb_audio_device) return -1;
  return bb_audio_device->PlayMusic(bb_data_FixDataPath(path), flags);
}

int bb_audio_StopMusic() {
  if (bb_audio_device) bb_audio_device->StopMusic();
  return 0;
}

int bb_audio_PauseMusic() {
  if (bb_audio_device) bb_audio_device->PauseMusic();
  return 0;
}

int bb_audio_ResumeMusic() {
  if (bb_audio_device) bb_audio_device->ResumeMusic();
  return 0;
}

int bb_audio_SetMusicVolume(float volume) {
  if (bb_audio_device) bb_audio_device->SetMusicVolume(volume);
  return 0;
}
