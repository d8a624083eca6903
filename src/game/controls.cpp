// Player controls: one question, "is logical button b pressed on controller
// c?", answered from the keyboard, the game controllers and the virtual pad.
// Also the turn helper every ship uses and the computer players' steering,
// which looks ahead over the round's occupancy grid.
#include <cmath>

#include "game/round_records.h"
#include "game/saved_slots.h"

namespace {

// Logical buttons; each is also the index of its virtual pad entry.
enum { kUp = 0, kLeft = 3, kRight = 5, kDown = 8, kBack2 = 98, kBack = 99 };
// Extra pad entries that count as back on every controller.
const int kPadBackEntries[] = {16, 17, 19};
const int kPadConsoleBack = 19;

const float kStickDeadZone = 0.4f;
enum Stick { kNoStick, kStickX, kStickY };

// One logical button: the keyboard keys that press it for controller -1,
// and the controller button and (mode 1 only) the left stick direction
// that press it for controllers 0 to 3. Unused keys are 0.
struct ButtonMap {
  int button;
  int keys[4];
  int joy;
  Stick stick;
  float sign;  // the stick presses when sign * axis is beyond the dead zone
};

const ButtonMap kButtonMaps[] = {
    {kUp, {BBKEY_UP, BBKEY_W}, BBJOY_UP, kStickY, -1.0f},
    {kLeft, {BBKEY_LEFT, BBKEY_A}, BBJOY_LEFT, kStickX, -1.0f},
    {kRight, {BBKEY_RIGHT, BBKEY_D}, BBJOY_RIGHT, kStickX, 1.0f},
    {kDown, {BBKEY_DOWN, BBKEY_S}, BBJOY_DOWN, kStickY, 1.0f},
    {10, {BBKEY_Z, BBKEY_J, BBKEY_SPACE, BBKEY_ENTER}, BBJOY_A, kNoStick, 0.0f},
    {11, {BBKEY_X, BBKEY_K, BBKEY_CONTROL}, BBJOY_B, kNoStick, 0.0f},
    {12, {BBKEY_C, BBKEY_L, BBKEY_SHIFT}, BBJOY_X, kNoStick, 0.0f},
    {13, {BBKEY_V, BBKEY_I}, BBJOY_Y, kNoStick, 0.0f},
    {14, {BBKEY_B, BBKEY_U}, BBJOY_LB, kNoStick, 0.0f},
    {15, {BBKEY_N, BBKEY_O}, BBJOY_RB, kNoStick, 0.0f},
};

const ButtonMap* findMap(int button) {
  for (const ButtonMap& m : kButtonMaps)
    if (m.button == button) return &m;
  return nullptr;
}

bool anyKeyDown(std::initializer_list<int> keys) {
  for (int k : keys)
    if (k != 0 && bb_input_KeyDown(k)) return true;
  return false;
}

bool keyboardBack() { return anyKeyDown({BBKEY_ESCAPE, BBKEY_TILDE, BBKEY_DELETE, BBKEY_BACKSPACE}); }

bool joyDown(int controller, int joy) {
  return bb_input_KeyDown(BBKEY_JOY0 + BBKEY_JOY_STRIDE * controller + joy);
}

}  // namespace

bool c_MyApp::p_PadBack() {
  for (int e : kPadBackEntries)
    if (m_Pad[e] != 0) return true;
  return false;
}

int c_MyApp::p_BackKey(int button, int controller) {
  if (controller == -1) {
    if (button != kBack) return 0;
    if (bb_Larkspin_isOuya == 1) return m_Pad[kPadConsoleBack] != 0;
    return keyboardBack() || p_PadBack();
  }
  if (bb_Larkspin_isOuya == 0)
    return keyboardBack() || joyDown(controller, BBJOY_BACK) || joyDown(controller, BBJOY_START) ||
           joyDown(controller, BBJOY_MENU) || p_PadBack();
  if (bb_Larkspin_isOuya == 1)
    return bb_input_KeyDown(BBKEY_ESCAPE) || m_Pad[kPadConsoleBack] != 0 ||
           joyDown(controller, BBJOY_BACK) || (button == kBack && joyDown(controller, BBJOY_START));
  return 0;
}

int c_MyApp::p_PlayKey(int button, int mode, int controller) {
  if (controller < -1 || controller > 3) return 0;
  if (button == kBack || button == kBack2) return p_BackKey(button, controller);
  const ButtonMap* map = findMap(button);
  if (!map) return 0;
  if (m_Pad[button] != 0) return 1;
  if (controller == -1) {
    const int* k = map->keys;
    return anyKeyDown({k[0], k[1], k[2], k[3]});
  }
  if (joyDown(controller, map->joy)) return 1;
  if (mode != 1 || map->stick == kNoStick) return 0;
  const float axis = map->stick == kStickX ? p_StickX(0, controller) : p_StickY(0, controller);
  return map->sign * axis > kStickDeadZone;
}

int c_MyApp::p_PlayKeyAll(int button, int mode) {
  int sum = 0;
  for (int c = -1; c <= 3; ++c) sum += p_PlayKey(button, mode, c);
  return sum;
}

float c_MyApp::p_StickX(int stick, int controller) {
  if (controller < 0 || controller > 3 || stick < 0 || stick > 1) return 0.0f;
  return bb_input_JoyX(stick, controller);
}

float c_MyApp::p_StickY(int stick, int controller) {
  if (controller < 0 || controller > 3 || stick < 0 || stick > 1) return 0.0f;
  float y = bb_input_JoyY(stick, controller);
  return m_Settings[lk_saved::kLeftStickY + stick] == 0 ? -y : y;
}

int c_MyApp::m_WhichWayDoIGo(float from, float to, int lo, int hi) {
  const int r = hi - lo;
  const float n = float(r + 1);
  float a = std::fmod(from, n);
  if (a < 0.0f) a += n;
  float b = std::fmod(to, n);
  if (b < 0.0f) b += n;
  float d = std::fmod(b - a, n);
  if (d < 0.0f) d += n;
  const float v = float(lo) + d;
  return v <= float(lo + r / 2) ? lk_trunc(v) : lk_trunc(v - float(r));
}

namespace {

// True when a probe point lies on a grid cell held by anything but the
// player's own gems. Points off the field never block.
bool obstacleAt(const float* grid, int px, int py, int ownGem) {
  const int col = px / 4 + 1, row = py / 4 + 1;
  if (col < 1 || row < 1) return false;
  if (float(col) >= bb_Larkspin_jscrw / 4.0f || float(row) >= bb_Larkspin_jscrh / 4.0f) return false;
  using lk_round::kGridCols;
  // Beyond the grid nothing was entered.
  if (col >= kGridCols || row >= lk_round::kGridRows) return false;
  const float cell = grid[col + kGridCols * row];
  return cell > 0.0f && cell != float(ownGem);
}

// The 7 by 7 points 4 units apart around one probe centre.
bool areaBlocked(const float* grid, int cx, int cy, int ownGem) {
  for (int u = 0; u <= 24; u += 4)
    for (int v = 0; v <= 24; v += 4)
      if (obstacleAt(grid, cx - 12 + u, cy - 12 + v, ownGem)) return true;
  return false;
}

// Walks six probe areas along one direction. A block within the first three
// (behind the ship, on it, or just ahead) is close enough to steer away from.
// Returns whether the whole line is clear.
bool probeLine(const float* grid, float x, float y, float angle, float step, int ownGem,
               bool* nearBlock) {
  const float s = std::sin(angle * LK_DEG_TO_RAD), c = std::cos(angle * LK_DEG_TO_RAD);
  for (int j = -1; j <= 4; ++j) {
    const int cx = lk_trunc(x + step * float(j) * s);
    const int cy = lk_trunc(y - step * float(j) * c);
    if (areaBlocked(grid, cx, cy, ownGem)) {
      *nearBlock = j <= 1;
      return false;
    }
  }
  *nearBlock = false;
  return true;
}

}  // namespace

int c_MyApp::p_SteerComputer(int player) {
  using namespace lk_round;
  const float* pl = Player(this, player);
  const float x = pl[kX], y = pl[kY];
  const float* grid = m_Grid.Data();
  float a = std::atan2(pl[kTargetX] - x, y - pl[kTargetY]) * LK_RAD_TO_DEG;
  int clearSide = -100, blockSide = -100;
  const int ownGem = player + 2;
  for (int i = -4; i <= 0; ++i) {
    bool nearBlock = false;
    if (probeLine(grid, x, y, a + 20.0f * float(i), 32.0f, ownGem, &nearBlock)) clearSide = i;
    if (nearBlock) blockSide = i;
    if (probeLine(grid, x, y, a - 20.0f * float(i), 12.0f, ownGem, &nearBlock)) clearSide = -i;
    if (nearBlock) blockSide = i;
  }
  if (clearSide >= -99) a += 20.0f * float(clearSide);
  if (blockSide >= -99) a -= 20.0f * float(blockSide);
  m_MoveX = std::sin(a * LK_DEG_TO_RAD);
  m_MoveY = -std::cos(a * LK_DEG_TO_RAD);
  return 0;
}
