// Player controls: one question, "is logical button b pressed on controller
// c?", answered from the keyboard, the game controllers and the virtual pad.
// Also the turn helper every ship uses and the computer players' steering,
// which looks ahead over the round's occupancy grid.
#include <cmath>

#include "game/round_records.h"
#include "game/saved_slots.h"

namespace {

bool anyKeyDown(std::initializer_list<int> keys) {
  for (int k : keys)
    if (bb_input_KeyDown(k)) return true;
  return false;
}

bool keyboardBack() { return anyKeyDown({27, 192, 46, 8}); }

}  // namespace

int c_MyApp::p_PlayKey(int button, int mode, int controller) {
  auto pad = [this](int e) { return m_Pad[e] != 0; };
  if (controller == -1) {
    switch (button) {
      case 0: return anyKeyDown({38, 87}) || pad(0);
      case 3: return anyKeyDown({37, 65}) || pad(3);
      case 5: return anyKeyDown({39, 68}) || pad(5);
      case 8: return anyKeyDown({40, 83}) || pad(8);
      case 10: return anyKeyDown({90, 74, 32, 13}) || pad(10);
      case 11: return anyKeyDown({88, 75, 17}) || pad(11);
      case 12: return anyKeyDown({67, 76, 16}) || pad(12);
      case 13: return anyKeyDown({86, 73}) || pad(13);
      case 14: return anyKeyDown({66, 85}) || pad(14);
      case 15: return anyKeyDown({78, 79}) || pad(15);
      case 99:
        if (bb_Larkspin_isOuya == 1) return pad(19);
        return keyboardBack() || pad(16) || pad(17) || pad(19);
      default: return 0;
    }
  }
  if (controller < 0 || controller > 3) return 0;
  const int base = 256 + 32 * controller;
  auto btn = [base](int n) { return bb_input_KeyDown(base + n); };
  const bool stick = mode == 1;
  switch (button) {
    case 0: return btn(9) || (stick && p_StickY(0, controller) < -0.4f) || pad(0);
    case 3: return btn(8) || (stick && p_StickX(0, controller) < -0.4f) || pad(3);
    case 5: return btn(10) || (stick && p_StickX(0, controller) > 0.4f) || pad(5);
    case 8: return btn(11) || (stick && p_StickY(0, controller) > 0.4f) || pad(8);
    case 10: return btn(0) || pad(10);
    case 11: return btn(1) || pad(11);
    case 12: return btn(2) || pad(12);
    case 13: return btn(3) || pad(13);
    case 14: return btn(4) || pad(14);
    case 15: return btn(5) || pad(15);
    case 98:
    case 99:
      if (bb_Larkspin_isOuya == 0)
        return keyboardBack() || btn(6) || btn(7) || btn(14) || pad(16) || pad(17) || pad(19);
      if (bb_Larkspin_isOuya == 1)
        return bb_input_KeyDown(27) || pad(19) || btn(6) || (button == 99 && btn(7));
      return 0;
    default: return 0;
  }
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
  if (col >= 300 || row >= 16666) return false;  // beyond the grid: nothing was entered there
  const float cell = grid[col + 300 * row];
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
  const float s = std::sin(angle * lk_round::kDegToRad), c = std::cos(angle * lk_round::kDegToRad);
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
  float a = std::atan2(pl[kTargetX] - x, y - pl[kTargetY]) * kRadToDeg;
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
  m_MoveX = std::sin(a * kDegToRad);
  m_MoveY = -std::cos(a * kDegToRad);
  return 0;
}
