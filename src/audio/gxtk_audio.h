// gxtkAudio: the one OpenAL device with its 33 channels. Channels 0 to 31
// carry sound effects, channel 32 the music. Each channel plays one sample
// at a time on a source made the first time the channel needs one; when
// OpenAL runs out of sources, a channel takes over the source of an idle one.
#pragma once

#include <AL/alc.h>

#include "audio/gxtk_sample.h"
#include "runtime/runtime.h"

// Channel states as the game sees them.
enum { GXTK_CHANNEL_STOPPED = 0, GXTK_CHANNEL_PLAYING = 1, GXTK_CHANNEL_PAUSED = 2 };

struct gxtkChannel {
  unsigned int source;  // OpenAL source; 0 until the channel first needs one
  gxtkSample* sample;   // the sample last started here
  int flags;            // flags it was started with (non-zero: looping)
  int state;            // GXTK_CHANNEL_*

  // The channel's source, made (or taken over) when needed; 0 when none can
  // be had.
  unsigned int AL_Source();
};

class gxtkAudio : public Object {
 public:
  static const int kChannels = 33;
  static const int kMusicChannel = 32;

  ALCdevice* alcDevice = nullptr;
  ALCcontext* alcContext = nullptr;
  gxtkChannel channels[kChannels];

  // The one instance, set by the constructor.
  static gxtkAudio* audio;
  // Counts device openings; buffers from an earlier, closed device are stale.
  static int session;

  // Opens the default device (or the generic ones); failures are printed
  // and the game goes on without sound.
  gxtkAudio();

  void mark() override;

  virtual int Suspend();
  virtual int Resume();
  virtual gxtkSample* LoadSample(String path);
  virtual bool LoadSample__UNSAFE__(gxtkSample* sample, String path);
  virtual int PlaySample(gxtkSample* sample, int channel, int flags);
  virtual int StopChannel(int channel);
  virtual int PauseChannel(int channel);
  virtual int ResumeChannel(int channel);
  virtual int ChannelState(int channel);
  virtual int SetVolume(int channel, float volume);
  virtual int SetPan(int channel, float pan);
  virtual int SetRate(int channel, float rate);
  virtual int PlayMusic(String path, int flags);
  virtual int StopMusic();
  virtual int PauseMusic();
  virtual int ResumeMusic();
  virtual int MusicState();
  virtual int SetMusicVolume(float volume);

  // Starts opening the default device and its context on a worker thread
  // (a sound server can take a while to answer); the next gxtkAudio takes
  // them over instead of opening its own.
  static void OpenDeviceAhead();

  // Deletes discarded buffers that no source holds any more.
  static void FlushDiscarded();

  // Releases the device: sources and pending buffers are deleted and the
  // mixer shuts down, which lets an output such as a capture file be
  // finished. Samples loaded before become silent.
  void Close();

 private:
  void OpenDevice();
  gxtkChannel* Channel(int channel);
};
