// The three tunes. Melodies are written as scale degrees ("4:2" is degree 4
// for two eighths, "6#" raises a degree, "-" rests); chords, bass lines,
// arpeggios and drums follow each bar's chord.
#include <cstdlib>
#include <sstream>
#include <string>

#include "music.h"

namespace assetgen {

namespace {

const int kMajor[7] = {0, 2, 4, 5, 7, 9, 11};
const int kMinor[7] = {0, 2, 3, 5, 7, 8, 10};

struct Key {
  int root;          // note number of degree 0
  const int* scale;
  float Note(int degree, int sharp = 0) const {
    int octave = degree >= 0 ? degree / 7 : -((-degree + 6) / 7);
    int step = degree - octave * 7;
    return static_cast<float>(root + 12 * octave + scale[step] + sharp);
  }
};

// A bar's chord: degrees of its root, third and fifth (with accidentals).
struct Chord {
  int degrees[3];
  int sharps[3];
  float Tone(const Key& key, int index) const {  // index 0.. climbs through octaves
    return key.Note(degrees[index % 3], sharps[index % 3]) + 12.0f * (index / 3);
  }
};

Chord Triad(int degree) { return {{degree, degree + 2, degree + 4}, {0, 0, 0}}; }
Chord MajorOn(int degree) { return {{degree, degree + 2, degree + 4}, {0, 1, 0}}; }  // raised third

// Reads melody notation into notes from startBeat, `shift` degrees higher;
// returns the beat after it.
double Melody(Track& track, const Key& key, const std::string& text, double startBeat, float velocity = 1.0f,
              int shift = 0) {
  std::istringstream in(text);
  std::string token;
  double beat = startBeat;
  while (in >> token) {
    size_t colon = token.find(':');
    double eighths = std::atof(token.c_str() + colon + 1);
    std::string pitch = token.substr(0, colon);
    if (pitch != "-") {
      int sharp = pitch.back() == '#' ? 1 : 0;
      int degree = std::atoi(pitch.c_str());
      track.notes.push_back({beat, eighths * 0.5 * 0.92, key.Note(degree + shift, sharp), velocity});
    }
    beat += eighths * 0.5;
  }
  return beat;
}

// Sixteen steps per bar: 'x' a full hit, 'o' a soft one.
void Drums(Track& track, const std::string& steps, double barBeat, float midi = 60) {
  for (size_t s = 0; s < steps.size(); ++s)
    if (steps[s] == 'x' || steps[s] == 'o')
      track.notes.push_back({barBeat + s * 0.25, 0.25, midi, steps[s] == 'x' ? 1.0f : 0.55f});
}

// Steps of chord tones, one per `step` beats; -1 rests.
void Arpeggio(Track& track, const Key& key, const Chord& chord, const std::vector<int>& pattern, double barBeat,
              double step, int octave, float velocity) {
  for (size_t i = 0; i < pattern.size(); ++i)
    if (pattern[i] >= 0)
      track.notes.push_back({barBeat + i * step, step * 0.9, chord.Tone(key, pattern[i]) + 12.0f * octave, velocity});
}

Track Make(Instrument instrument, float gain, float pan, float echo = 0.0f) {
  Track t;
  t.instrument = instrument;
  t.gain = gain;
  t.pan = pan;
  t.echo = echo;
  return t;
}

}  // namespace

Song TuneFish() {
  // F major, 120 bpm, 16 bars: melody A A' B A'' over F Dm Bb C.
  Key key{65, kMajor};
  const Chord bars[4] = {Triad(0), Triad(5), Triad(3), Triad(4)};
  const char* a[4] = {"4:1 7:1 9:2 7:1 4:1 2:2", "5:1 7:1 9:2 10:2 9:2", "8:1 7:1 5:2 3:1 5:1 7:2",
                      "6:3 4:1 6:2 8:2"};
  const char* ends[4] = {"6:3 4:1 6:2 8:2", "4:2 6:2 8:1 9:1 8:2", "6:2 8:2 11:4", "6:2 4:2 -:2 4:1 6:1"};
  const char* b[3] = {"9:3 9:1 11:2 9:2", "12:3 11:1 9:2 7:2", "10:3 9:1 7:2 5:2"};
  Track lead = Make(Instrument::Lead, 0.5f, 0.15f, 0.3f), bass = Make(Instrument::Bass, 0.9f, 0.0f),
        pluck = Make(Instrument::Pluck, 0.55f, -0.35f), kick = Make(Instrument::Kick, 0.9f, 0.0f),
        snare = Make(Instrument::Snare, 0.45f, 0.1f), hat = Make(Instrument::Hat, 0.22f, 0.3f),
        bell = Make(Instrument::Bell, 0.18f, -0.2f, 0.4f);
  for (int bar = 0; bar < 16; ++bar) {
    double at = bar * 4.0;
    int section = bar / 4, inBar = bar % 4;
    const Chord& chord = bars[inBar];
    const char* line = inBar == 3 ? ends[section] : section == 2 ? b[inBar] : a[inBar];
    Melody(section == 2 ? bell : lead, key, line, at, section == 2 ? 1.0f : 0.9f);
    if (section == 2) Melody(lead, key, line, at, 0.55f);
    Arpeggio(bass, Key{key.root - 24, kMajor}, chord, {0, -1, 3, 0, -1, 0, 3, -1}, at, 0.5, 0, 1.0f);
    Arpeggio(pluck, key, chord, {0, 1, 2, 1, 3, 2, 1, 2}, at, 0.5, 0, 0.8f);
    Drums(kick, "x.....x.x.......", at);
    Drums(snare, inBar == 3 ? "....x.......x.oo" : "....x.......x...", at);
    Drums(hat, "x.o.x.o.x.o.x.o.", at);
  }
  return {"fish", 120, 64, {lead, bass, pluck, kick, snare, hat, bell}};
}

// One section of the one-player tune: a chord and a melody line per bar,
// and how much of the band plays under it.
struct Section {
  std::vector<Chord> chords;
  std::vector<const char*> lines;
  int shift = 0;        // melody degrees up (7 = an octave)
  bool drums = true;
  bool halfTime = false;
  bool doubled = false;  // the pluck doubles the melody an octave down
  float level = 1.0f;    // the quiet passages are played softer
};

Song TuneCalligraphyB() {
  // A minor, 98 bpm: a piece that lasts a Time Attack round (over two
  // minutes) and then ends. Intro, A, A', a brighter B in the relative
  // major, a breakdown, A an octave up, A' doubled, and a cadence onto a
  // long A minor chord that fades.
  Key key{69, kMinor};
  const Chord am = Triad(0), f = Triad(5), c = Triad(2), g = Triad(6), dm = Triad(3), e = MajorOn(4);
  const std::vector<Chord> verse = {am, f, c, g, am, f, g, e};
  const std::vector<const char*> a = {"4:3 2:1 4:2 7:2", "7:3 5:1 4:4",     "4:2 6:2 7:2 9:2", "8:6 6:2",
                                      "4:3 2:1 4:2 7:2", "9:3 8:1 7:4",     "8:2 7:2 6:2 5:2", "4:4 6#:2 8:2"};
  const std::vector<const char*> a2 = {"11:4 9:2 7:2",    "9:4 7:2 5:2",      "6:4 4:2 2:2",      "1:4 -:2 4:2",
                                       "4:3 2:1 4:2 7:2", "7:3 5:1 4:4",      "6:2 8:2 10:2 8:2", "6#:4 4:2 -:2"};
  const std::vector<const char*> b = {"7:2 9:2 12:4",    "13:3 12:1 10:4",  "9:2 11:2 13:4",   "11:6 -:2",
                                      "10:2 12:2 14:4",  "13:3 12:1 10:2 8:2", "9:2 11:2 9:2 7:2", "8:4 6#:4"};
  std::vector<Section> form = {
      {{am, f, c, g}, {"-:8", "-:8", "4:8", "5:4 6:4"}, 0, false, false, false, 0.45f},
      {verse, a},
      {verse, a2},
      {{f, g, c, am, dm, g, c, e}, b, 0, true, true},
      {{am, f, c, g}, {"4:8", "5:8", "2:4 4:4", "6:4 8:4"}, 0, false, false, false, 0.5f},
      {verse, a, 7},
      {verse, a2, 0, true, false, true},
      {{f, g, dm, e, am}, {"4:3 2:1 4:2 7:2", "6:4 8:4", "5:4 3:4", "4:4 6#:2 8:2", "7:16"}, 0, false},
  };
  const int kRingBars = 3;  // the final chord rings on through these and fades
  Track bell = Make(Instrument::Bell, 0.45f, 0.2f, 0.35f), pad = Make(Instrument::Pad, 0.28f, -0.1f),
        pluck = Make(Instrument::Pluck, 0.45f, -0.4f, 0.2f), bass = Make(Instrument::Bass, 0.75f, 0.0f),
        kick = Make(Instrument::Kick, 0.6f, 0.0f), hat = Make(Instrument::Hat, 0.13f, 0.35f),
        rim = Make(Instrument::Snare, 0.22f, -0.15f);
  int bar = 0;
  for (const Section& section : form) {
    for (size_t i = 0; i < section.chords.size(); ++i, ++bar) {
      double at = bar * 4.0;
      const Chord& chord = section.chords[i];
      bool final = &section == &form.back() && i + 1 == section.chords.size();
      double hold = final ? 4.0 * (kRingBars + 1) - 0.1 : 3.9;
      float v = section.level;
      Melody(bell, key, section.lines[i], at, v, section.shift);
      if (section.doubled) Melody(pluck, key, section.lines[i], at, 0.5f, section.shift - 7);
      for (int k = 0; k < 3; ++k) pad.notes.push_back({at, hold, chord.Tone(key, k) - 12.0f, 0.8f * v});
      if (final) {
        bass.notes.push_back({at, hold, key.Note(-14), 1.0f});
        continue;
      }
      Arpeggio(pluck, key, chord, {0, 1, 2, 3, 4, 3, 2, 1}, at, 0.5, -1, 0.7f * v);
      Arpeggio(bass, Key{key.root - 24, kMinor}, chord, {0, -1, -1, -1, -1, -1, 0, -1}, at, 0.5, 0, v);
      bass.notes.back().beats = 0.9;
      bass.notes[bass.notes.size() - 2].beats = 2.8;
      if (!section.drums) continue;
      Drums(kick, section.halfTime ? "x..............." : "x.......x..o....", at);
      Drums(rim, "........o.......", at);
      Drums(hat, section.halfTime ? "..o.......o....." : "..o...o...o...oo", at);
    }
  }
  return {"Calligraphyb", 98, (bar + kRingBars) * 4, {bell, pad, pluck, bass, kick, hat, rim}, 12};
}

Song TuneCalligraphyC() {
  // D minor, 140 bpm, 20 bars: Dm Bb C A five times, with a breakdown.
  Key key{62, kMinor};
  const Chord bars[4] = {Triad(0), Triad(5), Triad(6), MajorOn(4)};
  const char* verse[8] = {"7:1 7:1 -:1 7:1 9:2 7:1 6:1", "5:1 5:1 -:1 5:1 7:2 9:2", "10:2 9:1 8:1 6:2 8:2",
                          "6#:3 4:1 6#:2 8:2",           "7:1 7:1 -:1 7:1 11:2 9:1 7:1", "9:2 7:1 5:1 7:2 9:2",
                          "10:1 11:1 12:2 10:2 8:2",     "11:6 -:2"};
  const char* breakdown[4] = {"4:2 7:2 9:2 7:2", "5:2 9:2 12:2 9:2", "6:2 10:2 13:2 10:2", "11:4 8:2 6#:2"};
  Track lead = Make(Instrument::Lead, 0.5f, 0.1f, 0.25f), bass = Make(Instrument::Bass, 0.95f, 0.0f),
        stab = Make(Instrument::Pad, 0.3f, -0.3f), kick = Make(Instrument::Kick, 1.0f, 0.0f),
        snare = Make(Instrument::Snare, 0.55f, 0.05f), hat = Make(Instrument::Hat, 0.2f, 0.35f),
        open = Make(Instrument::OpenHat, 0.14f, -0.35f), pluck = Make(Instrument::Pluck, 0.4f, -0.45f);
  for (int bar = 0; bar < 20; ++bar) {
    double at = bar * 4.0;
    int inBar = bar % 4;
    bool isBreak = bar >= 8 && bar < 12;
    const Chord& chord = bars[inBar];
    if (isBreak) Melody(pluck, key, breakdown[inBar], at);
    else Melody(lead, key, verse[(bar < 8 ? bar : bar - 12) % 8], at);
    Arpeggio(bass, Key{key.root - 24, kMinor}, chord, {0, 0, 3, 0, 0, 3, 0, 3}, at, 0.5, 0, 1.0f);
    Arpeggio(stab, key, chord, {-1, 0, -1, -1, -1, 0, -1, -1}, at, 0.5, 0, 0.8f);
    Arpeggio(stab, key, chord, {-1, 1, -1, -1, -1, 1, -1, -1}, at, 0.5, 0, 0.8f);
    Arpeggio(stab, key, chord, {-1, 2, -1, -1, -1, 2, -1, -1}, at, 0.5, 0, 0.8f);
    Drums(kick, isBreak ? "x.......x......." : "x...x...x...x...", at);
    Drums(snare, inBar == 3 ? "....x.......x.xo" : "....x.......x...", at);
    Drums(hat, isBreak ? "..o...o...o...o." : "xoxoxoxoxoxoxoxo", at);
    Drums(open, "..x...x...x...x.", at);
  }
  return {"Calligraphyc", 140, 80, {lead, bass, stab, kick, snare, hat, open, pluck}};
}

}  // namespace assetgen
