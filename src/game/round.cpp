// Round play: setting up a round for the chosen mode, and the round's
// update, which moves, steers, fires and draws every ship, runs the field
// objects and particles, the battle countdown and the end of the round. Also
// the generator helpers every part of the round draws from.
#include <cmath>

#include "game/round_records.h"

using namespace lk_round;

namespace {

const int kMaxPlayer = 4;
const int kTrailPoints = 41;

bool present(c_MyApp* app, int p) { return Player(app, p)[kPresent] > 0.0f; }

// Player p's base: its own corner of a w by h field.
void baseCorner(int p, float w, float h, float* x, float* y) {
  const float pos[kMaxPlayer + 1][2] = {{0, 0}, {96, 64}, {w - 96, h - 64}, {96, h - 64}, {w - 96, 64}};
  *x = pos[p][0];
  *y = pos[p][1];
}

// Players start in their corners facing the middle of the field.
void placePlayers(c_MyApp* app, float w, float h) {
  const float facing[kMaxPlayer + 1] = {0, 225, 45, -45, 135};
  for (int p = 1; p <= kMaxPlayer; ++p) {
    float* pl = Player(app, p);
    pl[kPresent] = 1.0f;
    baseCorner(p, w, h, &pl[kBaseX], &pl[kBaseY]);
    pl[kX] = pl[kBaseX];
    pl[kY] = pl[kBaseY];
    pl[kController] = float(kComputer);
    pl[kWanted] = facing[p];
  }
}

// The field is the virtual screen, which changes shape with the window. A
// base keeps to its corner, so its player can still reach it and bank; a
// ship waiting at its base (out of play, or parked there since the start)
// goes with it. Everything else stays where it is.
void followCorners(c_MyApp* app) {
  for (int p = 1; p <= kMaxPlayer; ++p) {
    float* pl = Player(app, p);
    float x, y;
    baseCorner(p, bb_Larkspin_jscrw, bb_Larkspin_jscrh, &x, &y);
    if (x == pl[kBaseX] && y == pl[kBaseY]) continue;
    const bool waiting = pl[kRespawn] > 0.0f || (pl[kX] == pl[kBaseX] && pl[kY] == pl[kBaseY]);
    pl[kBaseX] = x;
    pl[kBaseY] = y;
    if (waiting) {
      pl[kX] = x;
      pl[kY] = y;
    }
  }
}

// Any controller pressing a join button takes over the lowest-numbered
// computer ship, unless it already flies one.
void joinStep(c_MyApp* app) {
  for (int c = -1; c <= 3; ++c) {
    int lowest = 0;
    bool taken = false;
    for (int p = 1; p <= kMaxPlayer; ++p) {
      const int ctl = lk_trunc(Player(app, p)[kController]);
      if (ctl == kComputer && lowest == 0) lowest = p;
      if (ctl == c) taken = true;
    }
    const bool pressed =
        app->p_PlayKey(10, 1, c) || app->p_PlayKey(11, 1, c) || app->p_PlayKey(12, 1, c);
    if (pressed && !taken && lowest > 0) Player(app, lowest)[kController] = float(c);
  }
}

void drawBases(c_MyApp* app) {
  app->p_ResetDraw();
  for (int p = 1; p <= kMaxPlayer; ++p) {
    if (!present(app, p)) continue;
    const float* pl = Player(app, p);
    const float wait = pl[kRespawn];
    // The base blinks while its ship is about to come back.
    const bool lit = wait > 0.0f && wait < 60.0f && std::fmod(wait, 20.0f) < 10.0f;
    const float bx = pl[kBaseX], by = pl[kBaseY];
    const float sizes[3] = {3.0f, 2.6f, 2.2f};
    const float litAlpha[3] = {0.8f, 0.9f, 1.0f}, dimAlpha[3] = {0.2f, 0.3f, 0.4f};
    for (int k = 0; k < 3; ++k) {
      app->p_SetSize(sizes[k]);
      app->p_Alpha(lit ? litAlpha[k] : dimAlpha[k]);
      app->p_DrawImg(1, bx, by, float(p * 5 - 4));
    }
    app->p_SetSize(2.0f);
    app->p_Alpha(0.5f);
    app->p_Text(bx, by + 16.0f, String(lk_trunc(pl[kScore])), 1.0f, 1.0f, 0);
    if (lk_trunc(pl[kController]) == kComputer) {
      app->p_SetSize(1.0f);
      app->p_Text(bx, by - 16.0f, String("AI"), 1.0f, 1.0f, 0);
    }
  }
}

// The ship's last 41 positions; carried gems ride at points 10, 20 and 30.
void trailStep(c_MyApp* app, int p) {
  float* tx = app->m_Trail.Data() + 200 * p;
  float* ty = tx + 100;
  const float* pl = Player(app, p);
  for (int i = kTrailPoints - 1; i >= 1; --i) {
    tx[i] = tx[i - 1];
    ty[i] = ty[i - 1];
    if ((i == 10 || i == 20 || i == 30) && pl[kGems] > float(i / 10 - 1))
      app->p_DrawImg(1, tx[i], ty[i], float(p * 5 - 4));
  }
  tx[0] = pl[kX];
  ty[0] = pl[kY];
}

void readMovement(c_MyApp* app, float* pl, int c) {
  app->m_MoveX = float(app->p_PlayKey(5, 1, c) - app->p_PlayKey(3, 1, c));
  app->m_MoveY = float(app->p_PlayKey(8, 1, c) - app->p_PlayKey(0, 1, c));
  // The held target lapses when its hold runs out.
  if (pl[kTargetHold] > 0.0f) pl[kTargetHold] -= 1.0f;
  if (pl[kTargetHold] < 1.0f) {
    pl[kTargetHold] = 0.0f;
    pl[kTargetObj] = -100.0f;
  }
  // A stick only adds speed once a direction counts as pressed, so a
  // resting stick's drift never moves the ship.
  if (c >= 0 && c <= 3 &&
      (std::fabs(app->m_MoveX) > 0.3f || std::fabs(app->m_MoveY) > 0.3f)) {
    app->m_MoveX += app->p_StickX(0, c);
    app->m_MoveY += app->p_StickY(0, c);
  }
  if (pl[kRespawn] > 0.0f) {
    app->m_MoveX = app->m_MoveY = 0.0f;
    pl[kGems] = 0.0f;
  }
}

// One gem per five updates, each player in its own phase of m_Frame. A
// finished round banks nothing more, so its winner and score stay as they
// were when it ended.
void bankStep(c_MyApp* app, float* pl, int p) {
  if (app->m_RoundOver != 0 || pl[kGems] <= 0.0f || app->m_Frame != p) return;
  if (std::fabs(pl[kX] - pl[kBaseX]) >= 14.0f || std::fabs(pl[kY] - pl[kBaseY]) >= 14.0f) return;
  pl[kGems] -= 1.0f;
  pl[kScore] += 1.0f;
  const int score = lk_trunc(pl[kScore]);
  const bool battle = app->m_GameMode > 3;
  if (battle && score >= 1 && score <= 10)
    app->p_PlaySFX(10 + score, 1.0f, 1.0f, 0.0f);
  else
    app->p_PlaySFX(9, 1.0f, 1.0f, 0.0f);
  if (battle && score > 9) {
    app->m_RoundOver = 1;
    app->m_Winner = 10 + p;
  }
}

void turnAndMove(c_MyApp* app, float* pl) {
  const float mx = app->m_MoveX, my = app->m_MoveY;
  if (std::fabs(mx) > 0.25f || std::fabs(my) > 0.25f) {
    pl[kWanted] = std::atan2(-mx, -my) * LK_RAD_TO_DEG;
    const int t = lk_clamp(c_MyApp::m_WhichWayDoIGo(pl[kHeading], pl[kWanted], 0, 359), -9, 9);
    pl[kHeading] += float(t);
    if (std::fabs(pl[kHeading] - pl[kWanted]) < 3.0f) pl[kHeading] = pl[kWanted];
  }
  const float w = bb_Larkspin_jscrw, h = bb_Larkspin_jscrh;
  pl[kX] = std::fmin(std::fmax(pl[kX] + mx, 8.0f), w - 8.0f);
  pl[kY] = std::fmin(std::fmax(pl[kY] + my, 8.0f), h - 8.0f);
}

int playerColour(int p) {
  static const int ink[kMaxPlayer + 1] = {9, 1, 3, 4, 6};
  return ink[p];
}

void respawnStep(c_MyApp* app, float* pl, int p) {
  pl[kRespawn] -= 1.0f;
  if (pl[kRespawn] > 0.0f) {
    pl[kX] = pl[kBaseX];
    pl[kY] = pl[kBaseY];
    pl[kSpawnMark] = 0.0f;
    pl[kPower] = float(kPowerShield);
    pl[kPowerTime] = 180.0f;
  }
  if (pl[kRespawn] < 2.0f) {
    if (pl[kRespawn] > 0.0f) {
      for (int a = 0; a < 360; a += 36)
        app->p_ThrowParticle(pl[kX], pl[kY], 4, playerColour(p), float(a), 1.0f + Rnd(1.0f));
    }
    pl[kRespawn] = 0.0f;
  }
}

void fireStep(c_MyApp* app, float* pl, int p, int c, float countdown) {
  pl[kCooldown] -= 1.0f;
  const bool request = c == kComputer ? Rnd(10.0f) < 1.0f : app->p_PlayKey(10, 1, c) != 0;
  if (!request) {
    pl[kCooldown] = 0.0f;  // the next press fires at once
    return;
  }
  if (pl[kCooldown] >= 0.0f || pl[kRespawn] >= 1.0f || app->m_RoundOver != 0 || countdown >= 1.0f)
    return;
  const float h = pl[kHeading];
  const int shots = lk_trunc(pl[kPower]) == kPowerTriple ? 3 : 1;
  const float spread[3] = {0.0f, -10.0f, 10.0f};
  for (int k = 0; k < shots; ++k)
    if (app->p_Shot(p, pl[kX], pl[kY], h + spread[k], 5.0f, 45.0f) >= 0) pl[kCooldown] = 6.0f;
}

void targetUpkeep(c_MyApp* app, float* pl) {
  const float w = bb_Larkspin_jscrw, h = bb_Larkspin_jscrh;
  const bool reached =
      std::fabs(pl[kX] - pl[kTargetX]) < 4.0f && std::fabs(pl[kY] - pl[kTargetY]) < 4.0f;
  if (reached || Rnd(600.0f) < 2.0f) {
    pl[kTargetX] = float(app->p_Rand(16.0f, w - 16.0f));
    pl[kTargetY] = float(app->p_Rand(16.0f, h - 16.0f));
  }
  if (pl[kGems] > 0.0f) {
    pl[kTargetX] = pl[kBaseX];
    pl[kTargetY] = pl[kBaseY];
  }
}

void drawShip(c_MyApp* app, float* pl, int p) {
  app->m_Rot = pl[kHeading];
  if (pl[kRespawn] < 1.0f) {
    pl[kPowerTime] -= 1.0f;
    if (pl[kPowerTime] < 0.0f) pl[kPower] = float(kPowerNone);
    app->p_DrawImg(1, pl[kX], pl[kY], float(p * 5 - 5));
    if (lk_trunc(pl[kPower]) == kPowerShield) {
      app->p_Alpha(0.3f);
      app->p_Oval(pl[kX], pl[kY], 9.0f, 9.0f);
    }
  }
  app->p_Alpha(1.0f);
  app->p_SetSize(1.0f);
}

void playerStep(c_MyApp* app, int p) {
  trailStep(app, p);
  if (!present(app, p)) return;
  float* pl = Player(app, p);
  const float countdown = app->m_Players[kCountdown];
  const int c = lk_trunc(pl[kController]);
  readMovement(app, pl, c);
  bankStep(app, pl, p);
  if (c == kComputer) app->p_SteerComputer(p);
  if (app->m_RoundOver != 0 || countdown > 0.0f) app->m_MoveX = app->m_MoveY = 0.0f;
  turnAndMove(app, pl);
  respawnStep(app, pl, p);
  fireStep(app, pl, p, c, countdown);
  targetUpkeep(app, pl);
  drawShip(app, pl, p);
}

// Only the visible cells are cleared; marks are never made outside them.
void clearGrid(c_MyApp* app) {
  const int cols = lk_clamp(lk_trunc(bb_Larkspin_jscrw / 4.0f + 2.0f), -1, kGridCols - 1);
  const int rows = lk_clamp(lk_trunc(bb_Larkspin_jscrh / 4.0f + 2.0f), -1, kGridRows - 1);
  float* grid = app->m_Grid.Data();
  for (int r = 0; r <= rows; ++r)
    for (int c = 0; c <= cols; ++c) grid[c + kGridCols * r] = 0.0f;
}

void countdownStep(c_MyApp* app) {
  float& cd = app->m_Players[kCountdown];
  if (cd <= 0.0f) return;
  cd -= 1.0f;
  for (int p = 1; p <= kMaxPlayer; ++p) {
    Player(app, p)[kPower] = float(kPowerShield);
    Player(app, p)[kPowerTime] = 60.0f;
  }
  const float cx = bb_Larkspin_jscrw / 2.0f, cy = bb_Larkspin_jscrh / 2.0f;
  app->p_ResetDraw();
  app->p_SetSize(2.0f);
  if (cd > 0.0f && cd < 360.0f) app->p_Text(cx, cy + 32.0f, String("Tap to Join"), 1.0f, 1.0f, 0);
  if (cd > 240.0f && cd < 360.0f) app->p_Text(cx, cy, String("Prepare for Battle"), 1.0f, 1.0f, 0);
  app->p_SetSize(4.0f);
  const char* big = nullptr;
  if (cd > 180.0f && cd < 240.0f) big = "3";
  if (cd > 120.0f && cd < 180.0f) big = "2";
  if (cd > 60.0f && cd < 120.0f) big = "1";
  if (cd > 0.0f && cd < 60.0f) big = "FIGHT";
  if (big) app->p_Text(cx, cy, String(big), 1.0f, 1.0f, 0);
  if (cd < 1.0f) cd = 0.0f;
}

// However many rocks were hit, one sound per update.
void rockHitSound(c_MyApp* app) {
  float& request = app->m_Players[kHitSound];
  if (request <= 0.0f) return;
  request = 0.0f;
  const float rate = 0.6f + Rnd(0.9f);
  const int id = app->p_Rand(1.0f, 3.0f);
  app->p_PlaySFX(id, rate, 1.0f, 0.0f);
}

}  // namespace

int c_MyApp::p_LoadGame() {
  const float w = bb_Larkspin_jscrw, h = bb_Larkspin_jscrh;
  p_PlayTune(String("fish"), 1);
  float* objects = m_Objects.Data();
  for (int i = 0; i < m_Objects.Length(); ++i) objects[i] = 0.0f;
  float* grid = m_Grid.Data();
  for (int i = 0; i < m_Grid.Length(); ++i) grid[i] = 0.0f;
  p_ResetStars(100);
  m_ParticleMax = 250;
  p_ResetParticles(250);
  for (int i = 0; i < 500; ++i) m_Players[i] = 0.0f;

  m_Paused = 0;
  m_LastScore = 0;
  m_RoundOver = 0;
  m_Winner = 0;
  m_OverTime = 0;
  m_OverRecordable = 0;

  placePlayers(this, w, h);
  for (int k = 0; k < 7; ++k) {
    const float angle = Rnd(360.0f);
    p_ARock(w / 2.0f, h / 2.0f, angle, 1);
  }
  m_Players[kCountdown] = 300.0f;
  if (m_GameMode == 1) m_Players[kClock] = 7259.0f;
  if (m_GameMode == 2) m_Players[kLives] = 3.0f;

  if (m_GameMode <= 3) {
    p_PlayTune(String("Calligraphyb"), m_GameMode == 1 ? 0 : 1);
    for (int p = 2; p <= kMaxPlayer; ++p) Player(this, p)[kPresent] = 0.0f;
    m_Players[kCountdown] = 0.0f;
  } else {
    p_PlayTune(String("Calligraphyc"), 1);
    for (int p = m_GameMode - 1; p <= kMaxPlayer; ++p) Player(this, p)[kPresent] = 0.0f;
  }
  p_NewBag();
  m_Screen = 10;
  return 0;
}

int c_MyApp::p_Game() {
  p_DoBG(0, 0, 0, -123.0f);
  followCorners(this);
  joinStep(this);
  drawBases(this);
  p_ResetDraw();
  for (int p = 1; p <= kMaxPlayer; ++p) playerStep(this, p);
  clearGrid(this);
  p_UpdateObjects();
  countdownStep(this);
  m_Frame = (m_Frame + 1) % 5;
  p_DoParticles(1.0f);
  if (m_GameMode < 4) m_LastScore = lk_trunc(Player(this, 1)[kScore]);
  rockHitSound(this);
  if (m_RoundOver != 0) p_StopTune();
  p_ScoreDisplay();
  return 0;
}

int c_MyApp::p_Rand(float a, float b) {
  return lk_trunc(std::floor(a + (b + 0.99f - a) * bb_random_Rnd()));
}

int c_MyApp::p_SeedRnd(int s) {
  bb_random_Seed = s == -37171650 ? bb_app_Millisecs() : s;
  for (int i = 0; i < 21; ++i) bb_random_Rnd();
  return 0;
}
