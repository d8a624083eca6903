// The saved state string: its exact text, each section checked and falling
// back alone (the one place this is checked below the end-to-end runs), the
// count of damaged sections that makes the host keep the player's bytes,
// hostile values, and the records a finished round writes.
#include <vector>

#include "game_fixture.h"

static std::string zeros(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "0|";
  return s;
}

class SavedData : public GameTest {
 protected:
  // Parses text into a fresh game; returns what was printed, sets damaged.
  std::string LoadFrom(const std::string& text) {
    app = new c_MyApp();
    testing::internal::CaptureStdout();
    damaged = app->p_ParseState(String(text.c_str()));
    return testing::internal::GetCapturedStdout();
  }
  int damaged = -1;
};

TEST_F(SavedData, StringIsExactAndRoundTrips) {
  app->m_Settings[5] = 1;
  app->m_Settings[24] = -2;
  app->m_Badges[0] = app->m_Badges[31] = app->m_Badges[33] = true;  // bit 31: a negative word
  app->m_HiScores[0] = 100;
  app->m_HiScores[60] = 50, app->m_HiScores[61] = 9;
  app->m_HiScores[125] = 7;  // read by no mode, but written in table 6
  std::string expect = "0|0|0|0|0|1|" + zeros(18) + "-2|-43|-2147483647|2|" + zeros(6) + "-2147483645|";
  expect += "100|50|0|9|" + zeros(16) + "586|" + zeros(5 * 21);
  expect += "50|0|9|0|" + zeros(6) + "0|7|" + zeros(8) + "343|" + zeros(4 * 21);
  app->p_Save();
  EXPECT_EQ(host->state.ToUtf8(), expect);
  EXPECT_EQ(host->saves, 1);

  for (int i = 0; i < 120; ++i) app->m_HiScores[i] = 1000 - 7 * i;
  app->m_HiScores[125] = 0;  // written in table 6, but read back by no mode
  const int kept[][2] = {{10, 100}, {11, 90}, {12, 12}, {14, 1}};  // values no correction moves
  for (auto& k : kept) app->m_Settings[k[0]] = k[1];
  const std::string sample = app->p_StateString().ToUtf8();
  EXPECT_EQ(LoadFrom(sample), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n");
  EXPECT_EQ(damaged, 0);
  EXPECT_EQ(app->p_StateString().ToUtf8(), sample);

  struct Case {
    int part;
    const char* value;
    const char* printed;
    int settings10, badge33, score29, score80;
  } cases[] = {
      {25, "12345", "Settings Checksum Invalid\nBadges Loaded\nHighscores Loaded\n", 64, 1, 797, 440},
      {27, "5", "Settings Loaded\nBadge Checksum Invalid\nHighscores Loaded\n", 100, 0, 797, 440},
      {77, "1", "Settings Loaded\nBadges Loaded\nHighscores Loaded\n", 100, 1, 0, 0},  // table 2
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.part);
    size_t at = 0;  // the start of part c.part, which is replaced
    for (int k = 0; k < c.part; ++k) at = sample.find('|', at) + 1;
    EXPECT_EQ(LoadFrom(sample.substr(0, at) + c.value + sample.substr(sample.find('|', at))), c.printed);
    EXPECT_EQ(damaged, 1);
    const int seen[] = {app->m_Settings[10], app->m_Badges[33], app->m_HiScores[29], app->m_HiScores[80]};
    EXPECT_EQ(std::vector<int>(seen, seen + 4), std::vector<int>({c.settings10, c.badge33, c.score29, c.score80}));
    EXPECT_EQ(app->m_HiScores[30], 790);
  }
}

TEST_F(SavedData, ShortAndHostileStrings) {
  EXPECT_EQ(LoadFrom(""), "Highscores Loaded\n");  // first run
  EXPECT_EQ(app->m_Settings[11], 64);
  // Exactly 25 parts: no checksum, so the settings are refused.
  EXPECT_EQ(LoadFrom("0|0|0|0|0|0|0|3|" + zeros(16) + "0"), "Settings Checksum Invalid\nHighscores Loaded\n");
  EXPECT_EQ(app->m_Settings[7], 0);
  // Fewer than 25 parts: the badges are read from the start.
  EXPECT_EQ(LoadFrom("-2147483648|1|0|0|0|0|0|0|-2147483647|"), "Badges Loaded\nHighscores Loaded\n");
  EXPECT_TRUE(app->m_Badges[31] && app->m_Badges[32] && !app->m_Badges[0]);

  std::string s = "0|0|0|0|0|1|-7|9|0|0|-5|99999999999999999999|not a number|" + zeros(12);
  s += "2147483613|" + zeros(9) + std::string(200, '9') + "|" + zeros(20 + 10 * 21) + std::string(3000, '|');
  EXPECT_EQ(LoadFrom(s), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n");
  EXPECT_EQ(damaged, 1);  // table 0 no longer matches its checksum
  // Out-of-range levels play at full volume; a huge number is held at the limit.
  const int settings[][2] = {{6, 0}, {7, 0}, {10, 64}, {11, 2147483647}, {12, 10}};
  for (auto& v : settings) EXPECT_EQ(app->m_Settings[v[0]], v[1]) << v[0];
  EXPECT_EQ(app->m_HiScores[0], 0);
}

// One-player scores are checked where a round ends (the pause menu's quit
// and the game-over overlay); a battle records its winner and controller.
TEST_F(SavedData, BattleWinnersAndTheirControllers) {
  app->m_GameMode = 5;
  app->m_HiScores[40] = 3;
  app->m_Players[200 + 10] = -1.0f;  // player 2 played on the keyboard
  for (int winner : {12, -1, 0, 10, 15, 2000000000}) app->m_Winner = winner, app->p_LoadMenu();  // only 11..14 are players
  const int battle[][2] = {{40, 2}, {41, 3}, {42, 0}, {100, -1}, {101, 0}};
  for (auto& b : battle) EXPECT_EQ(app->m_HiScores[b[0]], b[1]) << b[0];
  EXPECT_EQ(host->saves, 6);
  EXPECT_EQ(host->state, app->p_StateString());
}
