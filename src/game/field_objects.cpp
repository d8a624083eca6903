// Field objects: rocks, gems, power-ups and shots in one fixed pool of
// float records, the shuffled bag that decides whose gem a rock releases,
// and the per-update pass that moves, hits, collects, destroys, draws and
// enters every object into the computer players' look-ahead grid.
#include <cmath>

#include "game/round_records.h"

using namespace lk_round;

namespace {

const int kMaxPlayer = 4;

bool isRockOrGem(float kind) { return kind > 0.0f && kind < 10.0f; }
bool isShot(float kind) { return kind > 30.0f && kind < 40.0f; }
bool isPowerUp(float kind) { return kind > 50.0f && kind < 60.0f; }

// Rock pictures are the frames of bank 1 that no player owns.
float rockPicture() {
  float c = std::floor(Rnd(24.99f));
  auto redraw = [&c]() { c = std::floor(Rnd(18.0f, 24.99f)); };
  if (c < 3.0f) redraw();
  if (c >= 5.0f && c <= 7.0f) redraw();
  if (c >= 10.0f && c <= 12.0f) redraw();
  if (c >= 15.0f && c <= 17.0f) redraw();
  return c;
}

void setHeading(float* o, float angle, float speed) {
  o[kVelX] = -std::sin(angle * LK_DEG_TO_RAD) * speed;
  o[kVelY] = -std::cos(angle * LK_DEG_TO_RAD) * speed;
}

void markGrid(c_MyApp* app, const float* o) {
  const int col = lk_trunc(o[kObjX] * 0.25f + 1.0f);
  const int row = lk_trunc(o[kObjY] * 0.25f + 1.0f);
  if (col >= 1 && col < kGridCols && row >= 1 && row < kGridCols) app->m_Grid[col + kGridCols * row] = o[kKind];
}

void fillBag(c_MyApp* app) {
  bool anyone = false;
  for (int p = 1; p <= kMaxPlayer; ++p) anyone = anyone || Player(app, p)[kPresent] == 1.0f;
  app->m_GemNext = -1;
  if (!anyone) {
    // Nobody to deal to: one empty entry rather than an endless refill.
    app->m_GemSlots[0] = 0;
    app->m_GemNext = 0;
  }
  while (anyone && app->m_GemNext < 8) {
    for (int p = 1; p <= kMaxPlayer; ++p) {
      if (Player(app, p)[kPresent] != 1.0f) continue;
      app->m_GemNext += 1;
      app->m_GemSlots[app->m_GemNext] = p;
    }
  }
  app->m_GemLast = app->m_GemNext;
  for (int k = 0; k <= app->m_GemLast; ++k) {
    const int j = lk_trunc(std::floor(Rnd(float(app->m_GemLast) + 0.99f)));
    const int t = app->m_GemSlots[k];
    app->m_GemSlots[k] = app->m_GemSlots[j];
    app->m_GemSlots[j] = t;
  }
  app->m_GemNext = 0;
}

void freeObj(float* o) { o[kKind] = 0.0f; }

// A shot that lands knocks the object along its own line and may break a
// rock into smaller rocks, a gem or a power-up. The shot's life and heading
// come by value: a spent shot's record may already hold a new rock.
void hitObject(c_MyApp* app, float shotLife, float shotAngle, float* o) {
  const float kind = o[kKind];
  if (kind == 1.0f) freeObj(o);
  const int h = lk_trunc(shotAngle);
  o[kAngle] = float(h) + Rnd(16.0f) - 8.0f;
  const int s = lk_trunc(Rnd(10.0f) + 5.0f);
  setHeading(o, o[kAngle], float(s) * (kind < 3.0f ? 0.1f : 0.025f));
  app->m_Players[kHitSound] = 1.0f;
  if (kind >= 3.0f) return;

  const float x = float(lk_trunc(o[kObjX])), y = float(lk_trunc(o[kObjY]));
  app->p_ARock(x, y, float(h), 0);
  // Shots fresh from a power-up never release gems or power-ups.
  const int n = shotLife > 45.0f ? lk_trunc(std::floor(Rnd(20.99f) + 10.0f))
                                 : lk_trunc(std::floor(Rnd(29.99f) + 1.0f));
  if (n > 10) app->p_ARock(x, y, float(h), 0);
  if (n <= 4) {
    const int g = app->p_GetGem();
    app->p_ARock(x, y, float(h), g + 1);
  }
  if (n >= 6 && n <= 8) app->p_APower(x, y, float(h), n - 5);
}

void shotStep(c_MyApp* app, float* shot) {
  const int kind = lk_trunc(shot[kKind]);
  app->m_Rot = shot[kAngle];
  app->m_Alpha = 1.0f;
  shot[kPicOrLife] -= 1.0f;
  const float life = shot[kPicOrLife];
  if (life < 10.0f) app->m_Alpha = life / 10.0f;
  const float sx = shot[kObjX], sy = shot[kObjY], angle = shot[kAngle];
  app->p_DrawImg(1, sx, sy, float((kind - 31) * 5 + 2));
  bool alive = life >= 1.0f;
  if (!alive) freeObj(shot);
  // Ordinary shots stop at their first hit; power-up shots, which start with
  // more life, pass through everything while fresh.
  for (int j = 0; j <= kShotTop && alive; ++j) {
    float* o = Obj(app, j);
    if (!isRockOrGem(o[kKind])) continue;
    if (std::fabs(o[kObjX] - sx) >= 5.0f || std::fabs(o[kObjY] - sy) >= 5.0f) continue;
    if (life < 45.0f) {
      freeObj(shot);
      alive = false;
    }
    hitObject(app, life, angle, o);
  }
}

void destroyShip(c_MyApp* app, float* pl) {
  pl[kRespawn] = 180.0f;
  if (app->m_GameMode == 3) app->m_RoundOver = 1;
  if (app->m_GameMode == 2) {
    app->m_Players[kLives] -= 1.0f;
    if (app->m_Players[kLives] < 0.0f) app->m_RoundOver = 1;
  }
  for (int a = 0; a < 360; a += 18)
    app->p_ThrowParticle(pl[kX], pl[kY], 4, 1, float(a), 3.0f + Rnd(2.0f));
  app->p_PlaySFX(8, 1.0f, 1.0f, 0.0f);
}

// A gem draws its owner while the owner has room for it and it lies no
// farther away than home.
void gemCallsOwner(c_MyApp* app, const float* o, int i) {
  const int g = lk_trunc(o[kKind]) - 2;
  if (g < 1 || g > kMaxPlayer) return;
  float* pl = Player(app, g);
  if (pl[kGems] >= 3.0f) return;
  const bool nearer = std::fabs(pl[kX] - o[kObjX]) <= std::fabs(pl[kX] - pl[kBaseX]) &&
                      std::fabs(pl[kY] - o[kObjY]) <= std::fabs(pl[kY] - pl[kBaseY]);
  if (pl[kGems] > 0.0f && !nearer) return;
  pl[kTargetX] = o[kObjX];
  pl[kTargetY] = o[kObjY];
  pl[kTargetObj] = float(i);
  pl[kTargetHold] = 10.0f;
}

void meetPlayers(c_MyApp* app, float* o, int i) {
  const int kind = lk_trunc(o[kKind]);
  for (int j = 1; j <= kMaxPlayer && o[kKind] != 0.0f; ++j) {
    float* pl = Player(app, j);
    if (pl[kPresent] != 1.0f) continue;
    const bool wander = pl[kTargetHold] < 1.0f && Rnd(360.0f) < 2.0f;
    if ((wander || pl[kTargetObj] == float(i)) && pl[kGems] == 0.0f) {
      pl[kTargetX] = o[kObjX];
      pl[kTargetY] = o[kObjY];
      pl[kTargetObj] = float(i);
      pl[kTargetHold] = 10.0f;
    }
    if (pl[kRespawn] >= 1.0f) continue;
    const float r = kind < 3 ? 4.0f : 7.0f;
    if (std::fabs(pl[kX] - o[kObjX]) >= r || std::fabs(pl[kY] - o[kObjY]) >= r) continue;
    if (kind - 2 == j) {
      if (pl[kGems] < 3.0f) {
        pl[kGems] += 1.0f;
        freeObj(o);
        app->p_PlaySFX(9, 1.0f, 1.0f, 0.0f);
      }
    } else if (lk_trunc(pl[kPower]) != kPowerShield) {
      destroyShip(app, pl);
    }
  }
}

// Wraps an object that drifted off one edge onto the opposite one; small
// rocks run out of crossings, gems vanish at their first.
void wrapEdges(float* o) {
  const float w = bb_Larkspin_jscrw, h = bb_Larkspin_jscrh;
  float* const axis[4] = {&o[kObjX], &o[kObjY], &o[kObjX], &o[kObjY]};
  const float limit[4] = {-16.0f, -16.0f, w + 16.0f, h + 16.0f};
  const float shift[4] = {w + 32.0f, h + 32.0f, -(w + 32.0f), -(h + 32.0f)};
  for (int edge = 0; edge < 4 && o[kKind] != 0.0f; ++edge) {
    const bool crossed = edge < 2 ? *axis[edge] < limit[edge] : *axis[edge] > limit[edge];
    if (!crossed) continue;
    *axis[edge] += shift[edge];
    o[kCrossings] -= 1.0f;
    if ((o[kKind] == 1.0f && o[kCrossings] < 0.0f) || o[kKind] > 2.0f) freeObj(o);
  }
}

void rockStep(c_MyApp* app, float* o, int i) {
  markGrid(app, o);
  const int kind = lk_trunc(o[kKind]);
  if (kind > 2) gemCallsOwner(app, o, i);
  meetPlayers(app, o, i);
  app->m_Rot = o[kAngle];
  app->m_Alpha = kind == 1 ? 0.8f : 1.0f;
  float frame = float(lk_trunc(o[kPicOrLife]));
  if (kind > 2) {
    frame = float((kind - 3) * 5 + 1);
    app->m_Rot = 0.0f;
  }
  if (o[kKind] != 0.0f) app->p_DrawImg(1, o[kObjX], o[kObjY], frame);
  wrapEdges(o);
}

void takePowerUp(c_MyApp* app, float* o, int j) {
  app->p_PlaySFX(9, 1.0f, 1.0f, 0.0f);
  const int kind = lk_trunc(o[kKind]);
  if (kind == 53) {
    for (int a = 0; a < 360; a += 10) app->p_Shot(j, o[kObjX], o[kObjY], float(a), 7.0f, 95.0f);
  } else if (kind == 52) {
    const float speeds[3] = {2.0f, 3.5f, 5.0f};
    for (int a = 0; a < 360; a += 90)
      for (float v : speeds) app->p_Shot(j, o[kObjX], o[kObjY], float(a), v, 75.0f);
  } else if (kind == 51) {
    Player(app, j)[kPower] = float(kPowerTriple);
    Player(app, j)[kPowerTime] = 180.0f;
  }
  freeObj(o);
}

void powerUpStep(c_MyApp* app, float* o) {
  markGrid(app, o);
  for (int j = 1; j <= kMaxPlayer; ++j) {
    const float* pl = Player(app, j);
    if (pl[kPresent] != 1.0f || pl[kRespawn] >= 1.0f) continue;
    if (std::fabs(pl[kX] - o[kObjX]) < 7.0f && std::fabs(pl[kY] - o[kObjY]) < 7.0f) {
      takePowerUp(app, o, j);
      break;
    }
  }
  if (o[kKind] == 0.0f) return;
  app->m_Rot = 0.0f;
  app->m_Alpha = 1.0f;
  app->p_DrawImg(2, o[kObjX], o[kObjY], o[kKind] - 51.0f);
  const float w = bb_Larkspin_jscrw, h = bb_Larkspin_jscrh;
  if (o[kObjX] < -16.0f || o[kObjY] < -16.0f || o[kObjX] > w + 16.0f || o[kObjY] > h + 16.0f)
    freeObj(o);
}

}  // namespace

int c_MyApp::p_FreeObj(int n) {
  if (n > 509) n = 509;
  for (int r = 0; r <= n; ++r)
    if (m_Objects[10 * r] == 0.0f) return 10 * r;
  return -1;
}

int c_MyApp::p_ARock(float x, float y, float angle, int size) {
  const float pic = rockPicture();
  const float r1 = bb_random_Rnd();
  const float r2 = bb_random_Rnd();
  // Gems drift slower than rocks.
  const float speed = size < 2 ? 0.5f + 0.75f * r2 : 0.2f + 0.3f * bb_random_Rnd();
  const int at = p_FreeObj(kSpawnTop);
  if (at < 0) return 0;
  float* o = m_Objects.Data() + at;
  o[kKind] = float(size + 1);
  o[kObjX] = x;
  o[kObjY] = y;
  setHeading(o, angle + 32.0f * r1 - 16.0f, speed);
  o[kAngle] = Rnd(360.0f);
  o[kSpin] = Rnd(16.0f) - 8.0f;
  o[kPicOrLife] = pic;
  o[kCrossings] = size < 0 ? 0.0f : (m_GameMode <= 3 ? 2.0f : 1.0f);
  return 0;
}

int c_MyApp::p_APower(float x, float y, float angle, int type) {
  // Most bursts and rings turn into the commoner triple shot.
  if (type > 1 && Rnd(20.0f) < 15.0f) type = 1;
  const float r1 = bb_random_Rnd();
  const float r2 = bb_random_Rnd();
  const int at = p_FreeObj(kSpawnTop);
  if (at < 0) return 0;
  float* o = m_Objects.Data() + at;
  o[kKind] = float(50 + type);
  o[kObjX] = x;
  o[kObjY] = y;
  setHeading(o, angle + 32.0f * r1 - 16.0f, 0.2f + 0.3f * r2);
  o[kAngle] = Rnd(360.0f);
  o[kSpin] = Rnd(16.0f) - 8.0f;
  o[kCrossings] = 0.0f;
  return 0;
}

int c_MyApp::p_NewBag() {
  fillBag(this);
  return 0;
}

int c_MyApp::p_GetGem() {
  const int g = m_GemSlots[m_GemNext];
  m_GemNext += 1;
  if (m_GemNext > m_GemLast) fillBag(this);
  if (g >= 1 && g <= kMaxPlayer) p_PlaySFX(3 + g, 1.0f, 1.0f, 0.0f);
  return g;
}

int c_MyApp::p_Shot(int player, float x, float y, float heading, float speed, float life) {
  const int at = p_FreeObj(kShotTop);
  if (at < 0) return -1;
  float* o = m_Objects.Data() + at;
  o[kKind] = float(30 + player);
  o[kObjX] = x;
  o[kObjY] = y;
  setHeading(o, heading, speed);
  o[kAngle] = heading;
  o[kSpin] = 0.0f;
  o[kPicOrLife] = life;
  return at;
}

int c_MyApp::p_UpdateObjects() {
  for (int i = 0; i <= kShotTop; ++i) {
    float* o = Obj(this, i);
    if (o[kKind] <= 0.0f) continue;
    o[kObjX] += o[kVelX];
    o[kObjY] += o[kVelY];
    o[kAngle] = std::fmod(o[kAngle] + o[kSpin], 360.0f);
    if (isShot(o[kKind]))
      shotStep(this, o);
    else if (isRockOrGem(o[kKind]))
      rockStep(this, o, i);
    else if (isPowerUp(o[kKind]))
      powerUpStep(this, o);
  }
  return 0;
}
