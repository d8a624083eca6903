// The saved state string: its exact text, section-by-section checksums with
// their fallbacks and messages, hostile input, and the record tables.
#include "game_fixture.h"

#include <cstdint>
#include <string>

namespace {

std::string zeros(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "0|";
  return s;
}

// Part i of a state string (split on "|").
std::string part(const std::string& state, int i) {
  size_t at = 0;
  for (int k = 0; k < i; ++k) at = state.find('|', at) + 1;
  return state.substr(at, state.find('|', at) - at);
}

std::string withPart(const std::string& state, int i, const std::string& value) {
  size_t at = 0;
  for (int k = 0; k < i; ++k) at = state.find('|', at) + 1;
  return state.substr(0, at) + value + state.substr(state.find('|', at));
}

}  // namespace

class SavedData : public GameTest {
 protected:
  // Loads text as the saved state and returns what was printed.
  std::string LoadFrom(const std::string& text) {
    host->state = String(text.c_str());
    testing::internal::CaptureStdout();
    app->p_Load();
    return testing::internal::GetCapturedStdout();
  }
  // Fills a game with recognisable data and returns its saved string.
  std::string Sample() {
    c_MyApp* other = new c_MyApp();
    other->m_Settings[5] = 1;
    other->m_Settings[7] = 2;
    other->m_Settings[10] = 100;
    other->m_Settings[11] = 90;
    other->m_Settings[12] = 12;
    other->m_Settings[14] = 1;  // what the desktop corrects it to anyway
    other->m_Settings[15] = 1;
    other->m_Badges[3] = true;
    other->m_Badges[63] = true;
    for (int i = 0; i < 120; ++i) other->m_HiScores[i] = 1000 - 7 * i;
    return other->p_StateString().ToUtf8();
  }
};

TEST_F(SavedData, StringIsExact) {
  app->m_Settings[5] = 1;
  app->m_Settings[24] = -2;
  app->m_Badges[0] = true;
  app->m_Badges[31] = true;  // bit 31: the word is negative
  app->m_Badges[33] = true;
  app->m_HiScores[0] = 100;
  app->m_HiScores[60] = 50;
  app->m_HiScores[61] = 9;
  app->m_HiScores[125] = 7;  // read by no mode, but written in table 6
  std::string expect = "0|0|0|0|0|1|" + zeros(18) + "-2|-43|";
  expect += "-2147483647|2|" + zeros(6) + "-2147483645|";
  expect += "100|50|0|9|" + zeros(16) + "586|";
  for (int t = 1; t <= 5; ++t) expect += zeros(21);
  expect += "50|0|9|0|" + zeros(6) + "0|7|" + zeros(8) + "343|";
  for (int t = 7; t <= 10; ++t) expect += zeros(21);
  EXPECT_EQ(app->p_StateString().ToUtf8(), expect);
  EXPECT_EQ(app->p_StateString().Split(String("|")).Length(), 267);

  app->p_Save();
  EXPECT_EQ(host->state.ToUtf8(), expect);
  EXPECT_EQ(host->saves, 1);
}

TEST_F(SavedData, RoundTripRestoresEverything) {
  const std::string sample = Sample();
  std::string out = LoadFrom(sample);
  EXPECT_EQ(out, "Settings Loaded\nBadges Loaded\nHighscores Loaded\n");
  EXPECT_EQ(app->m_Settings[7], 2);
  EXPECT_EQ(app->m_Settings[10], 100);
  EXPECT_EQ(app->m_Settings[14], 1);
  EXPECT_TRUE(app->m_Badges[3]);
  EXPECT_TRUE(app->m_Badges[63]);
  EXPECT_FALSE(app->m_Badges[62]);
  for (int i = 0; i < 120; ++i) ASSERT_EQ(app->m_HiScores[i], 1000 - 7 * i) << i;
  EXPECT_EQ(app->p_StateString().ToUtf8(), sample);
}

TEST_F(SavedData, EachSectionFallsBackAlone) {
  const std::string sample = Sample();

  std::string out = LoadFrom(withPart(sample, 25, "12345"));
  EXPECT_EQ(out, "Settings Checksum Invalid\nBadges Loaded\nHighscores Loaded\n");
  EXPECT_EQ(app->m_Settings[5], 1);
  EXPECT_EQ(app->m_Settings[7], 0);
  EXPECT_EQ(app->m_Settings[10], 64);  // defaults, then the corrections
  EXPECT_EQ(app->m_Settings[12], 10);
  EXPECT_TRUE(app->m_Badges[63]);
  EXPECT_EQ(app->m_HiScores[5], 1000 - 35);

  app = new c_MyApp();
  out = LoadFrom(withPart(sample, 27, "5"));
  EXPECT_EQ(out, "Settings Loaded\nBadge Checksum Invalid\nHighscores Loaded\n");
  EXPECT_FALSE(app->m_Badges[3]);
  EXPECT_EQ(app->m_Settings[10], 100);
  EXPECT_EQ(app->m_HiScores[5], 1000 - 35);

  // One digit of table 2 changed: only that table is zeroed.
  app = new c_MyApp();
  const int firstOfTable2 = 35 + 2 * 21;
  std::string edited = withPart(sample, firstOfTable2, part(sample, firstOfTable2) + "1");
  out = LoadFrom(edited);
  EXPECT_EQ(out, "Settings Loaded\nBadges Loaded\nHighscores Loaded\n");
  for (int k = 0; k < 10; ++k) {
    EXPECT_EQ(app->m_HiScores[20 + k], 0);
    EXPECT_EQ(app->m_HiScores[80 + k], 0);
  }
  EXPECT_EQ(app->m_HiScores[19], 1000 - 7 * 19);
  EXPECT_EQ(app->m_HiScores[30], 1000 - 7 * 30);
  EXPECT_EQ(app->m_HiScores[119], 1000 - 7 * 119);
}

TEST_F(SavedData, ShortStrings) {
  // First run: nothing saved yet.
  app->m_Settings[5] = 1;
  EXPECT_EQ(LoadFrom(""), "Highscores Loaded\n");
  EXPECT_EQ(app->m_Settings[5], 1);
  EXPECT_EQ(app->m_Settings[11], 64);

  // Exactly 25 parts: there is no checksum, so the settings are refused.
  std::string s25;
  for (int i = 0; i < 25; ++i) s25 += (i ? "|" : "") + std::to_string(i == 7 ? 3 : 0);
  EXPECT_EQ(LoadFrom(s25), "Settings Checksum Invalid\nHighscores Loaded\n");
  EXPECT_EQ(app->m_Settings[7], 0);

  // Fewer than 25 parts: the badges are read from the start.
  app = new c_MyApp();
  app->m_Settings[7] = 2;
  std::string out = LoadFrom("-2147483648|1|0|0|0|0|0|0|-2147483647|");
  EXPECT_EQ(out, "Badges Loaded\nHighscores Loaded\n");
  EXPECT_TRUE(app->m_Badges[31]);
  EXPECT_TRUE(app->m_Badges[32]);
  EXPECT_FALSE(app->m_Badges[0]);
  EXPECT_EQ(app->m_Settings[7], 2);  // untouched
}

TEST_F(SavedData, HostileValuesStayHarmless) {
  std::string s = Sample();
  s = withPart(s, 6, "-7");
  s = withPart(s, 7, "9");
  s = withPart(s, 10, "-5");
  s = withPart(s, 11, "99999999999999999999999999999");  // held at the int limit
  s = withPart(s, 12, "not a number");
  // A checksum that matches the hostile values, wrapping in 32 bits.
  uint32_t sum = 5u * 1u + 6u * uint32_t(-7) + 7u * 9u + 10u * uint32_t(-5) + 11u * 2147483647u + 14u + 15u;
  s = withPart(s, 25, std::to_string(int32_t(sum)));
  s = withPart(s, 35, std::string(200, '9'));
  s = withPart(s, 35 + 3 * 21, "-2147483648");
  for (int i = 0; i < 5000; ++i) s += "77|";  // extra parts are ignored
  EXPECT_EQ(LoadFrom(s), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n");
  EXPECT_EQ(app->m_Settings[6], 0);  // out-of-range levels play at full volume
  EXPECT_EQ(app->m_Settings[7], 0);
  EXPECT_EQ(app->m_Settings[10], 64);
  EXPECT_EQ(app->m_Settings[11], 2147483647);
  EXPECT_EQ(app->m_Settings[12], 10);
  EXPECT_EQ(app->m_HiScores[0], 0);  // table 0 no longer matches its checksum

  // Whatever was read, the game keeps running and saving.
  CreateAndLoad();
  app->m_GameMode = 1;
  app->m_LastScore = 2147483647;
  app->p_LoadMenu();
  app->m_Screen = 10;
  app->m_Paused = 1;
  Updates(3);
  c_MyApp* again = app;
  app = new c_MyApp();
  LoadFrom(again->p_StateString().ToUtf8());
  EXPECT_EQ(app->m_HiScores[0], 2147483647);
}

TEST_F(SavedData, OnePlayerScoresEnterTheTables) {
  app->m_GameMode = 2;
  for (int k = 0; k < 10; ++k) app->m_HiScores[10 + k] = 100 - 10 * k;  // 100 .. 10
  app->m_LastScore = 10;  // equal to the tenth: not a highscore
  app->p_LoadMenu();
  EXPECT_EQ(app->m_HiScores[19], 10);
  EXPECT_EQ(app->m_HiScores[18], 20);
  EXPECT_EQ(app->m_HiScores[70], 10);

  app->m_LastScore = 95;
  app->p_LoadMenu();
  EXPECT_EQ(app->m_HiScores[10], 100);
  EXPECT_EQ(app->m_HiScores[11], 95);
  EXPECT_EQ(app->m_HiScores[12], 90);
  EXPECT_EQ(app->m_HiScores[19], 20);  // the old tenth fell off
  EXPECT_EQ(app->m_HiScores[70], 95);
  EXPECT_EQ(app->m_HiScores[71], 10);
  EXPECT_EQ(app->m_HiScores[0], 0);  // other modes untouched
  EXPECT_EQ(host->saves, 2);
  EXPECT_EQ(host->state, app->p_StateString());
}

TEST_F(SavedData, BattleWinnersAndTheirControllers) {
  app->m_GameMode = 5;
  app->m_HiScores[40] = 3;
  app->m_HiScores[100] = 0;
  app->m_Players[200 + 10] = -1.0f;  // player 2 played on the keyboard
  app->m_Winner = 12;
  app->p_LoadMenu();
  EXPECT_EQ(app->m_HiScores[40], 2);
  EXPECT_EQ(app->m_HiScores[41], 3);
  EXPECT_EQ(app->m_HiScores[100], -1);
  EXPECT_EQ(app->m_HiScores[101], 0);

  // A round that was quit, or a winner that is no player, records nothing.
  for (int winner : {-1, 0, 10, 15, 2000000000}) {
    app->m_Winner = winner;
    app->p_LoadMenu();
    EXPECT_EQ(app->m_HiScores[40], 2);
    EXPECT_EQ(app->m_HiScores[42], 0);
  }
  app->m_GameMode = 99;  // no such mode: nothing to record, still saved
  const int saves = host->saves;
  app->p_LoadMenu();
  EXPECT_EQ(host->saves, saves + 1);
}
