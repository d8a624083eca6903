// Controls and computer players: the turn helper, which keyboard keys,
// controller buttons, sticks and pad entries press each logical button for
// each of the four controllers, and steering around what lies ahead.
#include <array>

#include "round_fixture.h"

using namespace lk_round;
using Controls = RoundTest;

namespace {

int Joy(int controller, int button) { return BBKEY_JOY0 + BBKEY_JOY_STRIDE * controller + button; }

}  // namespace

TEST(WhichWay, TurnsTheShortWayRoundInWholeDegrees) {
  struct Case {
    float from, to;
    int lo, hi, want;
  } cases[] = {{350, 10, 0, 359, 20}, {10, 350, 0, 359, -19}, {0, 180, 0, 359, -179}, {0, 179, 0, 359, 179},
               {-45, 45, 0, 359, 90}, {725, 0, 0, 359, -4},  {11, 2, 1, 12, 4},       {2, 11, 1, 12, -1}};
  for (const Case& c : cases)
    EXPECT_EQ(c_MyApp::m_WhichWayDoIGo(c.from, c.to, c.lo, c.hi), c.want) << c.from << " -> " << c.to;
}

TEST_F(Controls, EachButtonHasItsKeysAndItsControllerButton) {
  struct Case {
    int button;
    std::array<int, 4> keys;  // keyboard, controller -1
    int joy;                  // the same button on controllers 0 to 3
  } cases[] = {{0, {38, 87}, 9},          {3, {37, 65}, 8},        {5, {39, 68}, 10},      {8, {40, 83}, 11},
               {10, {90, 74, 32, 13}, 0}, {11, {88, 75, 17}, 1},   {12, {67, 76, 16}, 2},  {13, {86, 73}, 3},
               {14, {66, 85}, 4},         {15, {78, 79}, 5},       {98, {}, 6},            {98, {}, 7},
               {98, {}, 14},              {99, {27, 192, 46, 8}, 6}, {99, {}, 7},          {99, {}, 14}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "button " << c.button << " joy " << c.joy);
    for (int key : c.keys) {
      if (key == 0) continue;
      KeyDown(key);
      EXPECT_EQ(app->p_PlayKey(c.button, 0, -1), 1) << key;
      // Back keys also work as back on every controller; the rest are the keyboard's own.
      EXPECT_EQ(app->p_PlayKeyAll(c.button, 0), c.button == 99 ? 5 : 1) << key;
      KeyUp(key);
    }
    for (int unit = 0; unit < 4; ++unit) {
      KeyDown(Joy(unit, c.joy));
      EXPECT_EQ(app->p_PlayKey(c.button, 0, unit), 1) << unit;
      EXPECT_EQ(app->p_PlayKeyAll(c.button, 0), 1) << unit;  // only that controller's
      EXPECT_EQ(app->p_PlayKey(c.button, 1, -4), 0);        // computer ships read nothing
      KeyUp(Joy(unit, c.joy));
    }
    // A touched pad entry presses the button on every controller.
    if (c.button > 15) continue;
    app->m_Pad[c.button] = 1;
    EXPECT_EQ(app->p_PlayKeyAll(c.button, 1), 5);
    app->m_Pad[c.button] = 0;
  }
}

TEST_F(Controls, TheConsoleBacksOnlyFromItsOwnButtons) {
  bb_Larkspin_isOuya = 1;
  struct Case {
    int key, pad;
    int want98, want99, wantKeyboard;  // controller 0 and the keyboard's back
  } cases[] = {{27, 0, 1, 1, 0},         {192, 0, 0, 0, 0},       {0, 19, 1, 1, 1}, {0, 17, 0, 0, 0},
               {Joy(0, 6), 0, 1, 1, 0}, {Joy(0, 7), 0, 0, 1, 0}, {Joy(0, 14), 0, 0, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "key " << c.key << " pad " << c.pad);
    if (c.key) KeyDown(c.key);
    app->m_Pad[c.pad] = c.pad != 0;
    EXPECT_EQ(app->p_PlayKey(98, 0, 0), c.want98);
    EXPECT_EQ(app->p_PlayKey(99, 0, 0), c.want99);
    EXPECT_EQ(app->p_PlayKey(99, 0, -1), c.wantKeyboard);
    if (c.key) KeyUp(c.key);
    app->m_Pad[c.pad] = 0;
  }
}

TEST_F(Controls, SticksActAsDirectionsOnlyInPlayBeyondTheDeadZone) {
  c_JoyState* stick = input->m_joyStates[1];
  app->m_Settings[15] = 1;
  stick->m_joyy[0] = -0.5f;
  EXPECT_EQ(app->p_PlayKey(0, 1, 1), 1);
  EXPECT_EQ(app->p_PlayKey(8, 1, 1), 0);
  EXPECT_EQ(app->p_PlayKey(0, 0, 1), 0);  // menus read buttons only
  EXPECT_EQ(app->p_PlayKey(0, 1, 0), 0);  // another unit's stick
  app->m_Settings[15] = 0;                // flipped: the same push is down
  EXPECT_EQ(app->p_PlayKey(8, 1, 1), 1);
  stick->m_joyx[0] = -0.41f;
  EXPECT_EQ(app->p_PlayKey(3, 1, 1), 1);
  stick->m_joyx[0] = -0.4f;
  EXPECT_EQ(app->p_PlayKey(3, 1, 1), 0);
}

TEST_F(Controls, ComputerShipsSteerAroundWhatLiesAhead) {
  Start(1);
  // Player 1 at (200, 200) heading for (200, 0), straight up, with one
  // object on the grid; the chosen direction in degrees.
  struct Case {
    float x, y, kind, want;
  } cases[] = {
      {0, 0, 0, 0},        // an open field
      {200, 170, 3, 0},    // its own gem is no obstacle
      {200, 170, 4, -40},  // another player's is
      {210, 175, 1, -20},  // a rock ahead and to one side pushes it the other way
      {190, 175, 1, 20},
      {200, 150, 2, 20},  // far ahead: the nearest clear line is to the right
      {200, 200, 2, 0},   // on the ship: every probe is blocked, so it keeps its line
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.y << " kind " << c.kind);
    for (int i = 0; i < kGridCols * 200; ++i) app->m_Grid[i] = 0.0f;
    app->m_Grid[int(c.x * 0.25f + 1.0f) + kGridCols * int(c.y * 0.25f + 1.0f)] = c.kind;
    P(1, kX) = P(1, kY) = P(1, kTargetX) = 200.0f;
    P(1, kTargetY) = 0.0f;
    app->p_SteerComputer(1);
    EXPECT_NEAR(std::hypot(app->m_MoveX, app->m_MoveY), 1.0f, 1e-5);
    EXPECT_NEAR(std::atan2(app->m_MoveX, -app->m_MoveY) * LK_RAD_TO_DEG, c.want, 1e-3);
  }
}
