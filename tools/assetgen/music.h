// Tunes as notes on tracks, rendered either to a stereo loop whose end runs
// seamlessly into its start, or to a piece that ends by fading out.
#pragma once

#include <string>
#include <vector>

#include "synth.h"

namespace assetgen {

enum class Instrument { Lead, Pluck, Bass, Pad, Bell, Kick, Snare, Hat, OpenHat };

struct Note {
  double beat = 0;    // start
  double beats = 1;   // length
  float midi = 60;
  float velocity = 1;
};

struct Track {
  Instrument instrument = Instrument::Lead;
  float gain = 1.0f;
  float pan = 0.0f;   // -1 left .. 1 right
  float echo = 0.0f;  // level of a dotted-eighth echo on the other side
  std::vector<Note> notes;
};

struct Song {
  std::string name;
  int bpm = 120;   // kSampleRate * 60 must divide by it, so beats are whole samples
  int beats = 64;
  std::vector<Track> tracks;
  // 0: a loop. Otherwise the piece ends: it fades to silence over its last
  // fadeBeats, and nothing rings on into its start.
  int fadeBeats = 0;
  int SamplesPerBeat() const { return kSampleRate * 60 / bpm; }
  int Frames() const { return beats * SamplesPerBeat(); }
};

// One note of an instrument, with its release tail; mono.
Samples RenderVoice(Instrument instrument, float midi, float seconds, float velocity, unsigned seed);
// Interleaved stereo, exactly Frames() frames. In a loop, sound that rings
// past the end wraps round to the start, so looping the result has no seam.
Samples RenderSong(const Song& song);

// The three tunes the game plays.
Song TuneFish();          // the round start: bright and bouncy
Song TuneCalligraphyB();  // one-player rounds: calm and focused
Song TuneCalligraphyC();  // battles: driving
std::vector<Song> AllTunes();

}  // namespace assetgen
