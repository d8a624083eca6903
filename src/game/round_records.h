// Slot numbers of the round's flat float records (players, the round-wide
// record 0 and field objects) and the generator draws the round uses. The
// records stay plain floats so a round allocates nothing; these names keep
// the code readable.
#pragma once

#include "game/my_app.h"

namespace lk_round {

const int kPlayerStride = 100;
const int kObjStride = 10;
const int kComputer = -4;

// Player record slots (records 1..4 of m_Players).
enum {
  kPresent = 0,
  kX = 1,
  kY = 2,
  kHeading = 5,
  kWanted = 6,
  kRespawn = 7,
  kSpawnMark = 8,
  kController = 10,
  kBaseX = 11,
  kBaseY = 12,
  kScore = 15,
  kCooldown = 20,
  kTargetX = 21,
  kTargetY = 22,
  kTargetObj = 23,
  kTargetHold = 24,
  kGems = 25,
  kPower = 41,
  kPowerTime = 42,
};

// Round-wide slots of record 0. Between rounds the menu keeps its up/down
// key repeat in two of them; the game-over overlay writes a long delay into
// kRepeatDelay to hold the dial still.
enum {
  kRepeatCountdown = 20,
  kRepeatDelay = 21,
  kHitSound = 89,
  kCountdown = 95,
  kClock = 98,
  kLives = 99,
};

// Field object slots (m_Objects).
enum {
  kKind = 0,
  kObjX = 1,
  kObjY = 2,
  kVelX = 3,
  kVelY = 4,
  kAngle = 5,
  kSpin = 6,
  kPicOrLife = 7,  // rocks: picture frame; shots: updates left
  kCrossings = 9,
};

// Power states of slot kPower.
enum { kPowerNone = 0, kPowerShield = 1, kPowerTriple = 2 };

// The occupancy grid of the round: cells of 4 by 4 units, kGridCols to a
// row, cell (col, row) at col + kGridCols * row. Rows stop where the
// allocated floats run out: kGridFloats / kGridCols whole rows. Marks are
// only made in the first kGridCols rows, more than any virtual screen (at
// most 960 units, 240 cells, on a side) reaches.
const int kGridCols = 300;
const int kGridFloats = 5000000;
const int kGridRows = kGridFloats / kGridCols;

// Highest object records: rocks, gems and power-ups live below kSpawnTop,
// shots anywhere up to kShotTop, which is also the end of the update pass.
const int kSpawnTop = 300;
const int kShotTop = 400;

// One generator draw scaled to [0, a) and to [a, b).
inline float Rnd(float a) { return a * bb_random_Rnd(); }
inline float Rnd(float a, float b) { return a + (b - a) * bb_random_Rnd(); }

inline float* Player(c_MyApp* app, int p) { return app->m_Players.Data() + kPlayerStride * p; }
inline float* Obj(c_MyApp* app, int record) { return app->m_Objects.Data() + kObjStride * record; }

}  // namespace lk_round
