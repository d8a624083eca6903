// Saved settings, badges and record tables: one "|"-separated string of
// decimal numbers with a checksum per section, so a damaged or edited
// section falls back to its defaults without taking the others with it.
#include "game/round_records.h"
#include "game/saved_slots.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace lk_saved;

namespace {

const int kBadgeWords = 8;
const int kTablesWritten = 11;
const int kTablesRead = 6;
const int kTableParts = 21;

// Sums are kept in 32 bits and wrap, whatever the values: a hostile state
// string must not be able to provoke signed overflow.
int32_t wrapAdd(int32_t a, int64_t b) { return int32_t(uint32_t(a) + uint32_t(uint64_t(b))); }
int32_t wrapMul(int32_t a, int32_t b) { return int32_t(uint32_t(a) * uint32_t(b)); }

// The C library's decimal conversion of at most the first 63 characters;
// text that is not a number reads as 0 and numbers beyond 32 bits are held
// at the nearest representable value.
int readNumber(const String& part) {
  std::string text = part.Slice(0, 63).ToUtf8();
  errno = 0;
  long long v = std::strtoll(text.c_str(), nullptr, 10);
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return int(v);
}

int settingsChecksum(Array<int>& s) {
  int32_t sum = 0;
  for (int i = 0; i < kSettingCount; ++i) sum = wrapAdd(sum, wrapMul(i, s[i]));
  return sum;
}

int badgeWord(Array<bool>& badges, int g) {
  uint32_t word = 0;
  for (int k = 0; k < 32; ++k)
    if (badges[32 * g + k]) word |= uint32_t(1) << k;
  return int32_t(word);
}

// Table t pairs elements 10t + k with 10t + 60 + k; tables 6 to 10 are
// written for compatibility with older readers and are never read back.
int tableChecksum(Array<int>& hi, int t) {
  int32_t sum = 0;
  for (int k = 0; k < kListLength; ++k) {
    sum = wrapAdd(sum, wrapMul(hi[kListLength * t + k], k + 4));
    sum = wrapAdd(sum, wrapMul(hi[kListLength * t + kSecondList + k], t + k + 3));
  }
  return sum;
}

}  // namespace

String c_MyApp::p_StateString() {
  String out;
  auto put = [&out](int v) { out += String(v) + String("|"); };
  for (int i = 0; i < kSettingCount; ++i) put(m_Settings[i]);
  put(settingsChecksum(m_Settings));
  int32_t badgeSum = 0;
  for (int g = 0; g < kBadgeWords; ++g) {
    int w = badgeWord(m_Badges, g);
    put(w);
    badgeSum = wrapAdd(badgeSum, w);
  }
  put(badgeSum);
  for (int t = 0; t < kTablesWritten; ++t) {
    for (int k = 0; k < kListLength; ++k) {
      put(m_HiScores[kListLength * t + k]);
      put(m_HiScores[kListLength * t + kSecondList + k]);
    }
    put(tableChecksum(m_HiScores, t));
  }
  return out;
}

int c_MyApp::p_Save() {
  String state = p_StateString();
  bb_app_SaveState(state);
  if (bb_Larkspin_DebugMode == 1) bbPrint(state);
  return 0;
}

// A damaged section falls back to its defaults; the player's bytes are
// kept beside the state file all the same.
int c_MyApp::p_Load() {
  if (p_ParseState(bb_app_LoadState()) > 0) bb_app_KeepStateCopy();
  return 0;
}

// Settings come first when there are at least 25 parts; returns where the
// badge section starts (part 0 when the settings are missing).
int c_MyApp::p_ParseSettings(Array<String>& parts, int& damaged) {
  const int n = parts.Length();
  if (n < kSettingCount) return 0;
  for (int i = 0; i < kSettingCount; ++i) m_Settings[i] = readNumber(parts[i]);
  // With exactly 25 parts there is no checksum to compare: that fails.
  bool valid = n > kSettingCount && settingsChecksum(m_Settings) == readNumber(parts[kSettingCount]);
  if (valid) {
    bbPrint(String("Settings Loaded"));
  } else {
    bbPrint(String("Settings Checksum Invalid"));
    ++damaged;
    for (int i = 0; i < kSettingCount; ++i) m_Settings[i] = 0;
    m_Settings[kSoundMode] = kSoundAll;
  }
  return kSettingCount + 1;
}

// Whatever was read (or kept), settings outside what the game can use are
// brought back into range.
int c_MyApp::p_CorrectSettings() {
  if (m_Settings[kPadX] < 64) m_Settings[kPadX] = 64;
  if (m_Settings[kPadLift] < 64) m_Settings[kPadLift] = 64;
  if (m_Settings[kPadSize] < 8) m_Settings[kPadSize] = 10;
  if (m_Settings[kOverscan] < 1) m_Settings[kOverscan] = 64;
  // Levels outside the four the options box offers read as full volume,
  // as the box itself treats them.
  for (int i : {kEffectsLevel, kMusicLevel})
    if (m_Settings[i] < 0 || m_Settings[i] > 3) m_Settings[i] = 0;
  if (bb_Larkspin_isOuya == 1) {
    if (m_Settings[kOverscan] > 96) m_Settings[kOverscan] = 96;  // the pause menu's range
    bb_Larkspin_overscan = float(m_Settings[kOverscan]);
  } else {
    m_Settings[kOverscan] = 1;
    bb_Larkspin_overscan = 0.0f;
  }
  return 0;
}

int c_MyApp::p_ParseBadges(Array<String>& parts, int start) {
  const int sumAt = start + kBadgeWords;
  if (parts.Length() <= sumAt) return 0;
  int32_t sum = 0;
  for (int g = 0; g < kBadgeWords; ++g) {
    uint32_t word = uint32_t(readNumber(parts[start + g]));
    for (int k = 0; k < 32; ++k) m_Badges[32 * g + k] = ((word >> k) & 1u) != 0;
    sum = wrapAdd(sum, int32_t(word));
  }
  if (sum == readNumber(parts[sumAt])) {
    bbPrint(String("Badges Loaded"));
  } else {
    bbPrint(String("Badge Checksum Invalid"));
    for (int i = 0; i < 256; ++i) m_Badges[i] = false;
    return 1;
  }
  return 0;
}

// Each table that is there whole is read and checked on its own; a table
// whose checksum fails is cleared alone.
int c_MyApp::p_ParseRecords(Array<String>& parts, int start) {
  const int n = parts.Length();
  int damaged = 0;
  for (int t = 0; t < kTablesRead && start + kTableParts - 1 < n; ++t, start += kTableParts) {
    for (int k = 0; k < kListLength; ++k) {
      m_HiScores[kListLength * t + k] = readNumber(parts[start + 2 * k]);
      m_HiScores[kListLength * t + kSecondList + k] = readNumber(parts[start + 2 * k + 1]);
    }
    if (tableChecksum(m_HiScores, t) != readNumber(parts[start + kTableParts - 1])) {
      ++damaged;
      for (int k = 0; k < kListLength; ++k)
        m_HiScores[kListLength * t + k] = m_HiScores[kListLength * t + kSecondList + k] = 0;
    }
  }
  bbPrint(String("Highscores Loaded"));
  return damaged;
}

int c_MyApp::p_ParseState(String state) {
  Array<String> parts = state.Split(String("|"));
  if (bb_Larkspin_DebugMode == 1) bbPrint(state);
  int damaged = 0;  // sections that failed their checksum
  const int badgeStart = p_ParseSettings(parts, damaged);
  p_CorrectSettings();
  damaged += p_ParseBadges(parts, badgeStart);
  damaged += p_ParseRecords(parts, badgeStart + kBadgeWords + 1);
  return damaged;
}

int c_MyApp::p_LoadMenu() {
  // A one-player score counts however the round ended; a battle quit from
  // the pause menu (winner -1) has no winner to record.
  if (m_GameMode >= 1 && m_GameMode <= 6) {
    const int b = FirstList(m_GameMode);
    auto pushFront = [this](int first, int from, int value) {
      for (int i = first + kListLength - 1; i > from; --i) m_HiScores[i] = m_HiScores[i - 1];
      m_HiScores[from] = value;
    };
    if (m_GameMode <= 3) {
      const int score = m_LastScore;
      for (int k = 0; k < kListLength; ++k) {
        if (score > m_HiScores[b + k]) {
          pushFront(b, b + k, score);
          break;
        }
      }
      pushFront(b + kSecondList, b + kSecondList, score);
    } else if (m_Winner > 10 && m_Winner <= 14) {
      // Only the four real players have a record to read the controller
      // from; any other winner value records nothing.
      const int player = m_Winner - 10;
      pushFront(b, b, player);
      pushFront(b + kSecondList, b + kSecondList, lk_trunc(lk_round::Player(this, player)[lk_round::kController]));
    }
  }
  p_Save();
  return 0;
}
