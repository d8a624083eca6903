// Saved settings, badges and record tables: one "|"-separated string of
// decimal numbers with a checksum per section, so a damaged or edited
// section falls back to its defaults without taking the others with it.
#include "game/my_app.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

const int kSettings = 25;
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
  for (int i = 0; i < kSettings; ++i) sum = wrapAdd(sum, wrapMul(i, s[i]));
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
  for (int k = 0; k < 10; ++k) {
    sum = wrapAdd(sum, wrapMul(hi[10 * t + k], k + 4));
    sum = wrapAdd(sum, wrapMul(hi[10 * t + 60 + k], t + k + 3));
  }
  return sum;
}

}  // namespace

String c_MyApp::p_StateString() {
  String out;
  auto put = [&out](int v) { out += String(v) + String("|"); };
  for (int i = 0; i < kSettings; ++i) put(m_Settings[i]);
  put(settingsChecksum(m_Settings));
  int32_t badgeSum = 0;
  for (int g = 0; g < kBadgeWords; ++g) {
    int w = badgeWord(m_Badges, g);
    put(w);
    badgeSum = wrapAdd(badgeSum, w);
  }
  put(badgeSum);
  for (int t = 0; t < kTablesWritten; ++t) {
    for (int k = 0; k < 10; ++k) {
      put(m_HiScores[10 * t + k]);
      put(m_HiScores[10 * t + 60 + k]);
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

int c_MyApp::p_ParseState(String state) {
  Array<String> parts = state.Split(String("|"));
  const int n = parts.Length();
  if (bb_Larkspin_DebugMode == 1) bbPrint(state);

  int damaged = 0;  // sections that failed their checksum
  int badgeStart = 0;
  if (n >= kSettings) {
    for (int i = 0; i < kSettings; ++i) m_Settings[i] = readNumber(parts[i]);
    // With exactly 25 parts there is no checksum to compare: that fails.
    bool valid = n > kSettings && settingsChecksum(m_Settings) == readNumber(parts[kSettings]);
    if (valid) {
      bbPrint(String("Settings Loaded"));
    } else {
      bbPrint(String("Settings Checksum Invalid"));
      ++damaged;
      for (int i = 0; i < kSettings; ++i) m_Settings[i] = 0;
      m_Settings[5] = 1;
    }
    badgeStart = kSettings + 1;
  }

  if (m_Settings[10] < 64) m_Settings[10] = 64;
  if (m_Settings[11] < 64) m_Settings[11] = 64;
  if (m_Settings[12] < 8) m_Settings[12] = 10;
  if (m_Settings[14] < 1) m_Settings[14] = 64;
  // Levels outside the four the options box offers read as full volume,
  // as the box itself treats them.
  for (int i = 6; i <= 7; ++i)
    if (m_Settings[i] < 0 || m_Settings[i] > 3) m_Settings[i] = 0;
  if (bb_Larkspin_isOuya == 1) {
    if (m_Settings[14] > 96) m_Settings[14] = 96;  // the pause menu's range
    bb_Larkspin_overscan = float(m_Settings[14]);
  } else {
    m_Settings[14] = 1;
    bb_Larkspin_overscan = 0.0f;
  }

  const int badgeSum = badgeStart + kBadgeWords;
  if (n > badgeSum) {
    int32_t sum = 0;
    for (int g = 0; g < kBadgeWords; ++g) {
      uint32_t word = uint32_t(readNumber(parts[badgeStart + g]));
      for (int k = 0; k < 32; ++k) m_Badges[32 * g + k] = ((word >> k) & 1u) != 0;
      sum = wrapAdd(sum, int32_t(word));
    }
    if (sum == readNumber(parts[badgeSum])) {
      bbPrint(String("Badges Loaded"));
    } else {
      bbPrint(String("Badge Checksum Invalid"));
      ++damaged;
      for (int i = 0; i < 256; ++i) m_Badges[i] = false;
    }
  }

  int start = badgeStart + kBadgeWords + 1;
  for (int t = 0; t < kTablesRead && start + kTableParts - 1 < n; ++t, start += kTableParts) {
    for (int k = 0; k < 10; ++k) {
      m_HiScores[10 * t + k] = readNumber(parts[start + 2 * k]);
      m_HiScores[10 * t + 60 + k] = readNumber(parts[start + 2 * k + 1]);
    }
    if (tableChecksum(m_HiScores, t) != readNumber(parts[start + kTableParts - 1])) {
      ++damaged;
      for (int k = 0; k < 10; ++k) m_HiScores[10 * t + k] = m_HiScores[10 * t + 60 + k] = 0;
    }
  }
  bbPrint(String("Highscores Loaded"));
  return damaged;
}

int c_MyApp::p_LoadMenu() {
  // A one-player score counts however the round ended; a battle quit from
  // the pause menu (winner -1) has no winner to record.
  if (m_GameMode >= 1 && m_GameMode <= 6) {
    const int b = 10 * (m_GameMode - 1);
    auto pushFront = [this](int first, int from, int value) {
      for (int i = first + 9; i > from; --i) m_HiScores[i] = m_HiScores[i - 1];
      m_HiScores[from] = value;
    };
    if (m_GameMode <= 3) {
      const int score = m_LastScore;
      for (int k = 0; k < 10; ++k) {
        if (score > m_HiScores[b + k]) {
          pushFront(b, b + k, score);
          break;
        }
      }
      pushFront(b + 60, b + 60, score);
    } else if (m_Winner > 10 && m_Winner <= 14) {
      // Only the four real players have a record to read the controller
      // from; any other winner value records nothing.
      const int player = m_Winner - 10;
      pushFront(b, b, player);
      pushFront(b + 60, b + 60, lk_trunc(m_Players[100 * player + 10]));
    }
  }
  p_Save();
  return 0;
}
