// Controls and computer players: the turn helper, logical buttons from the
// keyboard, controllers, sticks and the virtual pad, and the look-ahead
// steering around what lies on the grid.
#include <array>

#include "round_fixture.h"

using namespace lk_round;
using Controls = RoundTest;

TEST(WhichWay, TurnsTheShortWayRoundInWholeDegrees) {
  struct Case {
    float from, to;
    int lo, hi, want;
  } cases[] = {
      {350, 10, 0, 359, 20},   {10, 350, 0, 359, -19}, {0, 180, 0, 359, -179},
      {0, 179, 0, 359, 179},   {0, 0, 0, 359, 0},      {-45, 45, 0, 359, 90},
      {725, 0, 0, 359, -4},    {90, -90.5f, 0, 359, -179}, {0, 12.7f, 0, 359, 12},
      {11, 2, 1, 12, 4},       {2, 11, 1, 12, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c_MyApp::m_WhichWayDoIGo(c.from, c.to, c.lo, c.hi), c.want)
        << c.from << " -> " << c.to << " in " << c.lo << ".." << c.hi;
}

TEST_F(Controls, ComputerShipsReadNoInput) {
  for (int key : {38, 37, 39, 40, 90, 88, 67, 27}) KeyDown(key);
  for (int i = 0; i < 20; ++i) app->m_Pad[i] = 1;
  for (int b = 0; b <= 99; ++b) EXPECT_EQ(app->p_PlayKey(b, 1, -4), 0) << b;
}

TEST_F(Controls, KeyboardControllersAndPadAnswerTheirButtons) {
  struct Case {
    int key, button, controller, mode;
  } pressed[] = {
      {87, 0, -1, 0},  {65, 3, -1, 0},   {68, 5, -1, 0},   {83, 8, -1, 0},
      {32, 10, -1, 0}, {13, 10, -1, 0},  {17, 11, -1, 0},  {16, 12, -1, 0},
      {73, 13, -1, 0}, {85, 14, -1, 0},  {79, 15, -1, 0},  {192, 99, -1, 0},
      {8, 99, -1, 0},  {256 + 9, 0, 0, 0}, {256 + 32 + 8, 3, 1, 0}, {256 + 64 + 10, 5, 2, 0},
      {256 + 96 + 11, 8, 3, 0}, {256 + 0, 10, 0, 0}, {256 + 1, 11, 0, 0}, {256 + 32 + 2, 12, 1, 0},
      {256 + 3, 13, 0, 0}, {256 + 4, 14, 0, 0}, {256 + 5, 15, 0, 0},
      {256 + 6, 98, 0, 0}, {256 + 32 + 7, 99, 1, 0}, {256 + 14, 98, 0, 0},
  };
  for (const Case& c : pressed) {
    SCOPED_TRACE(testing::Message() << "key " << c.key << " button " << c.button);
    EXPECT_EQ(app->p_PlayKey(c.button, c.mode, c.controller), 0);
    KeyDown(c.key);
    EXPECT_EQ(app->p_PlayKey(c.button, c.mode, c.controller), 1);
    // A controller's own button is not another controller's.
    if (c.controller >= 0 && c.button < 98) {
      EXPECT_EQ(app->p_PlayKey(c.button, c.mode, (c.controller + 1) % 4), 0);
    }
    KeyUp(c.key);
  }
  // The keyboard never presses 98, and the keyboard's keys are not a
  // controller's, except for back.
  KeyDown(27);
  EXPECT_EQ(app->p_PlayKey(98, 0, -1), 0);
  EXPECT_EQ(app->p_PlayKey(99, 0, -1), 1);
  for (int c = 0; c < 4; ++c) {
    EXPECT_EQ(app->p_PlayKey(98, 0, c), 1);
    EXPECT_EQ(app->p_PlayKey(99, 0, c), 1);
  }
  EXPECT_EQ(app->p_PlayKeyAll(99, 0), 5);
  KeyUp(27);
  KeyDown(90);
  EXPECT_EQ(app->p_PlayKeyAll(10, 0), 1);
  EXPECT_EQ(app->p_PlayKey(10, 0, 0), 0);
  KeyUp(90);
  // A touched pad entry counts for every controller.
  app->m_Pad[5] = 1;
  EXPECT_EQ(app->p_PlayKeyAll(5, 1), 5);
  app->m_Pad[5] = 0;
  app->m_Pad[17] = 1;
  EXPECT_EQ(app->p_PlayKey(98, 0, 2), 1);
  EXPECT_EQ(app->p_PlayKey(99, 0, -1), 1);
}

TEST_F(Controls, SticksActAsDirectionsOnlyInModeOne) {
  c_JoyState* stick = input->m_joyStates[1];
  app->m_Settings[15] = 1;
  stick->m_joyy[0] = -0.5f;
  EXPECT_EQ(app->p_PlayKey(0, 1, 1), 1);
  EXPECT_EQ(app->p_PlayKey(8, 1, 1), 0);
  EXPECT_EQ(app->p_PlayKey(0, 0, 1), 0);  // menus read buttons only
  EXPECT_EQ(app->p_PlayKey(0, 1, 0), 0);  // another unit's stick
  app->m_Settings[15] = 0;  // flipped: the same push is down
  EXPECT_EQ(app->p_PlayKey(0, 1, 1), 0);
  EXPECT_EQ(app->p_PlayKey(8, 1, 1), 1);
  EXPECT_FLOAT_EQ(app->p_StickY(0, 1), 0.5f);
  stick->m_joyx[0] = -0.41f;
  EXPECT_EQ(app->p_PlayKey(3, 1, 1), 1);
  stick->m_joyx[0] = -0.4f;
  EXPECT_EQ(app->p_PlayKey(3, 1, 1), 0);
  // The right stick has its own setting; the keyboard has no sticks.
  stick->m_joyy[1] = 0.25f;
  app->m_Settings[16] = 1;
  EXPECT_FLOAT_EQ(app->p_StickY(1, 1), 0.25f);
  app->m_Settings[16] = 0;
  EXPECT_FLOAT_EQ(app->p_StickY(1, 1), -0.25f);
  EXPECT_EQ(app->p_StickX(0, -1), 0.0f);
  EXPECT_EQ(app->p_StickY(0, -4), 0.0f);
}

class Steering : public RoundTest {
 protected:
  // Player 1 at (200, 200) heading for (200, 0), straight up, with the
  // given objects on the grid; returns the chosen direction in degrees.
  float Steer(std::initializer_list<std::array<float, 3>> objects) {
    Start(1);
    for (int i = 0; i < kGridCols * 200; ++i) app->m_Grid[i] = 0.0f;
    for (const auto& o : objects)
      app->m_Grid[int(o[0] * 0.25f + 1.0f) + kGridCols * int(o[1] * 0.25f + 1.0f)] = o[2];
    P(1, kX) = 200.0f;
    P(1, kY) = 200.0f;
    P(1, kTargetX) = 200.0f;
    P(1, kTargetY) = 0.0f;
    app->p_SteerComputer(1);
    EXPECT_NEAR(std::hypot(app->m_MoveX, app->m_MoveY), 1.0f, 1e-5);
    return std::atan2(app->m_MoveX, -app->m_MoveY) * LK_RAD_TO_DEG;
  }
};

TEST_F(Steering, HeadsStraightForTheTargetOnAnOpenField) {
  EXPECT_NEAR(Steer({}), 0.0f, 1e-4);
  // Its own gem is no obstacle, another player's is.
  EXPECT_NEAR(Steer({{200, 170, 3}}), 0.0f, 1e-4);
  EXPECT_NEAR(Steer({{200, 170, 4}}), -40.0f, 1e-3);
}

TEST_F(Steering, TurnsAwayFromRocksAhead) {
  // Worked through the probes by hand: a rock ahead and to one side pushes
  // the ship twenty degrees the other way.
  EXPECT_NEAR(Steer({{210, 175, 1}}), -20.0f, 1e-3);
  EXPECT_NEAR(Steer({{190, 175, 1}}), 20.0f, 1e-3);
  // Dead ahead but 50 units off: only the far probes see it, and the
  // nearest clear line is twenty degrees right.
  EXPECT_NEAR(Steer({{200, 150, 2}}), 20.0f, 1e-3);
  // On the ship: every probe is blocked at once, so it keeps its line.
  EXPECT_NEAR(Steer({{200, 200, 2}}), 0.0f, 1e-4);
}
