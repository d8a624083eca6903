// The framework's audio module: c_Sound and the bb_audio_* functions the game
// calls. Everything acts on one device, bb_audio_device.
#pragma once

#include "audio/gxtk_audio.h"
#include "runtime/runtime.h"

class c_Sound : public Object {
 public:
  gxtkSample* m_sample = nullptr;

  c_Sound* m_new(gxtkSample* sample);
  c_Sound* m_new2();
  void mark() override;
};

extern gxtkAudio* bb_audio_device;

// The module initialiser's share for audio: resets the module globals and
// registers their root marker with the collector.
int bb_audio_Init();

int bb_audio_SetAudioDevice(gxtkAudio* device);
c_Sound* bb_audio_LoadSound(String path);
int bb_audio_PlaySound(c_Sound* sound, int channel, int flags);
int bb_audio_StopChannel(int channel);
int bb_audio_SetChannelVolume(int channel, float volume);
int bb_audio_SetChannelPan(int channel, float pan);
int bb_audio_SetChannelRate(int channel, float rate);
int bb_audio_PlayMusic(String path, int flags);
int bb_audio_StopMusic();
int bb_audio_PauseMusic();
int bb_audio_ResumeMusic();
int bb_audio_SetMusicVolume(float volume);
