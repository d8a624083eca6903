// Slot numbers of the saved settings and of the record tables. Both are
// kept as plain int arrays so the state string can write them by position;
// these names say what each position holds.
#pragma once

namespace lk_saved {

const int kSettingCount = 25;

// Settings read outside the options box; the other slots are unused.
enum Setting {
  kSoundMode = 5,     // one of SoundMode
  kEffectsLevel = 6,  // 0 full, 1 75 %, 2 40 %, 3 silent
  kMusicLevel = 7,    // 0 full, 1 70 %, 2 40 %, 3 silent
  kPadX = 10,         // on-screen pad: centre x,
  kPadLift = 11,      // its distance from the bottom,
  kPadSize = 12,      // and its size in tenths
  kOverscan = 14,     // console border in pixels
  kLeftStickY = 15,   // 1 normal, 0 flipped; the right stick follows
  kRightStickY = 16,
};

enum SoundMode { kSoundOff = 0, kSoundAll = 1, kEffectsOnly = 2, kMusicOnly = 3 };

// Music volume of each level of kMusicLevel.
const float kMusicVolume[4] = {1.0f, 0.7f, 0.4f, 0.0f};

// Record tables: mode m (1..6) has two lists of ten, the first at
// FirstList(m) and the second kSecondList further on.
const int kRecordCount = 300;
const int kListLength = 10;
const int kSecondList = 60;
inline int FirstList(int mode) { return kListLength * (mode - 1); }

}  // namespace lk_saved
