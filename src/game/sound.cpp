// Music and sound effects: a numbered bank of effects played over a fixed
// rotation of 24 channels, and one tune at a time on the music channel. The
// player's sound mode and levels are applied when a sound or tune starts.
#include "game/my_app.h"
#include "game/saved_slots.h"

using namespace lk_saved;

namespace {

const int kEffectSlots = 24;  // channels 24..31 stay free; 32 is the music's

bool validSound(int n) { return n >= 0 && n < 100; }

}  // namespace

String c_MyApp::p_SfxFile(int n) {
  String prefix = n < 10 ? String("sfx/00") : (n < 100 ? String("sfx/0") : String("sfx/"));
  return prefix + String(n) + String(".wav");
}

int c_MyApp::p_LoadSFX(int n) {
  if (!validSound(n)) return 0;
  // The replaced effect's buffer goes now (once no channel plays it), not
  // whenever the collector gets to it: every resize reloads the bank.
  if (m_Sounds[n] && m_Sounds[n]->m_sample) m_Sounds[n]->m_sample->Discard();
  gc_assign(m_Sounds[n], (c_Sound*)nullptr);
  if (!bb_audio_device) return 0;  // no audio at all: every effect stays silent
  gc_assign(m_Sounds[n], bb_audio_LoadSound(p_SfxFile(n)));
  return 0;
}

int c_MyApp::p_PlaySFX(int n, float rate, float volume, float pan) {
  if (m_Settings[kSoundMode] != kSoundAll && m_Settings[kSoundMode] != kEffectsOnly) return 0;
  if (!validSound(n) || !m_Sounds[n] || !bb_audio_device) return 0;
  float factor = 1.0f;
  switch (m_Settings[kEffectsLevel]) {
    case 1: factor = 0.75f; break;
    case 2: factor = 0.4f; break;
    case 3: return 0;
    default: break;
  }
  m_SfxSlot = ((m_SfxSlot + 1) % kEffectSlots + kEffectSlots) % kEffectSlots;
  const int channel = m_SfxChannels[m_SfxSlot];
  c_Sound* sound = m_Sounds[n];
  bb_audio_StopChannel(channel);
  if (sound->m_sample) bb_audio_PlaySound(sound, channel, 0);
  bb_audio_SetChannelRate(channel, rate);
  bb_audio_SetChannelVolume(channel, factor * volume);
  bb_audio_SetChannelPan(channel, pan);
  return 0;
}

int c_MyApp::p_PlayTune(String name, int flags) {
  if (bb_Larkspin_HasMusicStream == 0) return 0;
  if (name == String("-1") && m_LastTune.Length() > 0) name = m_LastTune;
  if (name.Length() == 0) return 0;
  m_LastTune = name;
  String path = String("sfx/") + name + String(".ogg");
  if (!bb_audio_device) return 0;
  if (m_MusicOn == 1) {
    bb_audio_StopMusic();
    m_MusicOn = 0;
  }
  if (m_Settings[kSoundMode] != kSoundAll && m_Settings[kSoundMode] != kMusicOnly) return 0;  // remembered, not played
  // A missing tune fails quietly; the pause logic then drives a silent
  // channel, which is harmless.
  bb_audio_PlayMusic(path, flags);
  m_MusicOn = 1;
  const int level = m_Settings[kMusicLevel];
  if (level >= 0 && level <= 3) bb_audio_SetMusicVolume(kMusicVolume[level]);
  return 0;
}

int c_MyApp::p_StopTune() {
  if (bb_audio_device) bb_audio_StopMusic();
  m_MusicOn = 0;
  return 0;
}
