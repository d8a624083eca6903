// Controls and computer players: the turn helper, which keyboard keys,
// controller buttons, sticks and pad entries press each logical button for
// each of the four controllers, and steering around what lies ahead.
#include "round_fixture.h"

using namespace lk_round;
using Controls = RoundTest;

namespace {

int Joy(int controller, int button) { return BBKEY_JOY0 + BBKEY_JOY_STRIDE * controller + button; }

}  // namespace

TEST(WhichWay, TurnsTheShortWayRoundInWholeDegrees) {
  const float cases[][5] = {{350, 10, 0, 359, 20}, {10, 350, 0, 359, -19}, {0, 180, 0, 359, -179},
                            {0, 179, 0, 359, 179}, {725, 0, 0, 359, -4},   {11, 2, 1, 12, 4}};
  for (const auto& c : cases) EXPECT_EQ(c_MyApp::m_WhichWayDoIGo(c[0], c[1], int(c[2]), int(c[3])), int(c[4]));
}

TEST_F(Controls, EachButtonHasItsKeysAndItsControllerButton) {
  // Logical button, the controller button that presses it on units 0 to 3,
  // and the keyboard keys that press it for controller -1.
  const int cases[][6] = {{0, 9, 38, 87},     {3, 8, 37, 65},     {5, 10, 39, 68},    {8, 11, 40, 83},
                          {10, 0, 90, 74, 32, 13}, {11, 1, 88, 75, 17}, {12, 2, 67, 76, 16}, {13, 3, 86, 73},
                          {14, 4, 66, 85},    {15, 5, 78, 79}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "button " << c[0]);
    for (int k = 2; k < 6 && c[k]; ++k, KeyUp(c[k - 1]))
      EXPECT_EQ((KeyDown(c[k]), app->p_PlayKey(c[0], 0, -1)) * 10 + app->p_PlayKeyAll(c[0], 0), 11) << c[k];
    for (int unit = 0; unit < 4; ++unit, KeyUp(Joy(unit - 1, c[1])))  // only that unit's; computers read nothing
      EXPECT_EQ((KeyDown(Joy(unit, c[1])), app->p_PlayKey(c[0], 1, unit)) * 10 + app->p_PlayKeyAll(c[0], 1) +
                    app->p_PlayKey(c[0], 1, -4), 11) << unit;
    app->m_Pad[c[0]] = 1;  // a touched pad entry presses it for everyone
    EXPECT_EQ(app->p_PlayKeyAll(c[0], 1), 5);
    app->m_Pad[c[0]] = 0;
  }
}

TEST_F(Controls, BackComesFromTheBackKeysAndButtonsAndTheConsoleHasItsOwn) {
  // Console, key (or minus a pad entry), and back 98 and 99 on unit 0 and 99 on the keyboard as three digits.
  const int cases[][3] = {{0, 27, 111},        {0, 192, 111},      {0, 46, 111},       {0, 8, 111},
                          {0, -16, 111},       {0, -17, 111},      {0, -19, 111},      {0, Joy(0, 6), 110},
                          {0, Joy(0, 7), 110}, {0, Joy(0, 14), 110}, {0, Joy(1, 6), 0}, {1, 27, 110},
                          {1, 192, 0},         {1, -19, 111},      {1, -17, 0},        {1, Joy(0, 6), 110},
                          {1, Joy(0, 7), 10},  {1, Joy(0, 14), 0}};
  for (const auto& c : cases) {
    bb_Larkspin_isOuya = c[0];
    c[1] < 0 ? void(app->m_Pad[-c[1]] = 1) : KeyDown(c[1]);
    EXPECT_EQ(app->p_PlayKey(98, 0, 0) * 100 + app->p_PlayKey(99, 0, 0) * 10 + app->p_PlayKey(99, 0, -1), c[2])
        << "console " << c[0] << " key " << c[1];
    c[1] < 0 ? void(app->m_Pad[-c[1]] = 0) : KeyUp(c[1]);
  }
}

TEST_F(Controls, SticksActAsDirectionsOnlyInPlayBeyondTheDeadZone) {
  c_JoyState* stick = input->m_joyStates[1];
  app->m_Settings[15] = 1;
  stick->m_joyy[0] = -0.5f;
  EXPECT_EQ(app->p_PlayKey(0, 1, 1), 1);
  EXPECT_EQ(app->p_PlayKey(0, 0, 1) + app->p_PlayKey(0, 1, 0) + app->p_PlayKey(8, 1, 1), 0);  // not in menus
  app->m_Settings[15] = 0;  // flipped: the same push is down
  EXPECT_EQ(app->p_PlayKey(8, 1, 1), 1);
  EXPECT_EQ((stick->m_joyx[0] = -0.41f, app->p_PlayKey(3, 1, 1)), 1);  // beyond the dead zone
  EXPECT_EQ((stick->m_joyx[0] = -0.4f, app->p_PlayKey(3, 1, 1)), 0);
}

TEST_F(Controls, ComputerShipsSteerAroundWhatLiesAhead) {
  Start(1);
  // Player 1 at (200, 200) heads for (200, 0), with one object (x, y, kind)
  // on the grid: its own gem is no obstacle, another's is; a rock ahead and
  // to one side pushes it the other way; far ahead, it takes the nearest
  // clear line; on the ship every probe is blocked, so it keeps its line.
  const float cases[][4] = {{0, 0, 0, 0},       {200, 170, 3, 0},  {200, 170, 4, -40}, {210, 175, 1, -20},
                            {190, 175, 1, 20}, {200, 150, 2, 20}, {200, 200, 2, 0}};
  for (const auto& c : cases) {
    std::fill_n(app->m_Grid.Data(), kGridCols * 200, 0.0f);
    app->m_Grid[int(c[0] * 0.25f + 1.0f) + kGridCols * int(c[1] * 0.25f + 1.0f)] = c[2];
    P(1, kX) = P(1, kY) = P(1, kTargetX) = 200.0f;
    P(1, kTargetY) = 0.0f;
    app->p_SteerComputer(1);
    EXPECT_NEAR(std::hypot(app->m_MoveX, app->m_MoveY), 1.0f, 1e-5);
    EXPECT_NEAR(std::atan2(app->m_MoveX, -app->m_MoveY) * LK_RAD_TO_DEG, c[3], 1e-3) << c[0] << ", " << c[1];
  }
}
