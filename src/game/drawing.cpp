// Drawing helpers: the game records 15-float commands during an update and
// the render replays them at device resolution. Also the bitmap-font text
// layout with its button glyphs, the colour palette and the hit tests.
#include "game/my_app.h"

#include <cmath>

namespace {

// Size of image n as recorded by the loader; 0 for numbers outside the bank,
// so a stray image number can never index past the table.
int imgSizeAt(c_MyApp* app, int n, int k) {
  if (n < 0 || n >= 100) return 0;
  return app->m_ImgSize[3 * n + k];
}

// The font is not monospaced: a few letters get their advance nudged.
int spacingAdjust(Char c) {
  switch (c) {
    case 'w': case 'm': return 2;
    case 'W': case 'M': return 1;
    case 'i': case 'f': case 'l': return -3;
    case 'j': case 's': case 'k': case 'r': case 'z': case 't': case 'n': return -1;
    default: return 0;
  }
}

const Char kButtonMark = 0xAC;  // "¬" introduces a controller-button glyph

bool anySlotDown(c_MyApp* app, float x0, float y0, float x1, float y1) {
  for (int i = 0; i < 10; ++i) {
    if (app->m_TouchDown[i] == 0) continue;
    float tx = float(app->m_TouchX[i]), ty = float(app->m_TouchY[i]);
    if (tx > x0 && tx < x1 && ty > y0 && ty < y1) return true;
  }
  return false;
}

}  // namespace

int c_MyApp::p_ResetDraw() {
  m_SizeX = 1.0f;
  m_SizeY = 1.0f;
  m_Rot = 0.0f;
  m_ColR = m_ColG = m_ColB = 255.0f;
  m_Alpha = 1.0f;
  m_Blend = 1;
  return 0;
}

int c_MyApp::p_CLS2D(float r, float g, float b, float a) {
  m_ViewX = 0.0f;
  m_ViewY = 0.0f;
  m_ViewW = bb_Larkspin_jscrw;
  m_ViewH = bb_Larkspin_jscrh;
  if (r > LK_ABSENT) {
    m_ClsR = r;
    m_ClsG = g;
    m_ClsB = b;
    m_ClsA = a;
  }
  p_ResetDraw();
  m_DrawCount = 0;
  return 0;
}

int c_MyApp::p_SetSize(float x, float y) {
  m_SizeX = x;
  m_SizeY = y <= LK_ABSENT ? x : y;
  return 0;
}

int c_MyApp::p_SetRot(float angle) {
  m_Rot = -angle;
  return 0;
}

int c_MyApp::p_Alpha(float a) {
  m_Alpha = a;
  return 0;
}

int c_MyApp::p_SetCol(float r, float g, float b, float a) {
  m_ColR = r;
  m_ColG = g;
  m_ColB = b;
  if (a > LK_ABSENT) m_Alpha = a;
  return 0;
}

int c_MyApp::p_Ink(int index, float brightness) {
  static const float palette[10][3] = {
      {0.3f, 0.3f, 0.3f}, {1.0f, 0.1f, 0.1f}, {1.0f, 0.5f, 0.1f}, {1.0f, 1.0f, 0.1f},
      {0.1f, 1.0f, 0.1f}, {0.1f, 1.0f, 1.0f}, {0.1f, 0.1f, 1.0f}, {0.5f, 0.1f, 1.0f},
      {1.0f, 0.1f, 0.5f}, {1.0f, 1.0f, 1.0f}};
  const float* c = palette[(index >= 1 && index <= 9) ? index : 0];
  float* out[3] = {&m_ColR, &m_ColG, &m_ColB};
  for (int i = 0; i < 3; ++i) {
    float v = c[i] * brightness * 255.0f;
    *out[i] = lk_clamp(v, 0.0f, 255.0f);
  }
  return 0;
}

// Reserves the next command slot and fills what every kind shares; null when
// the frame's list is full (further drawing is dropped without a word).
float* c_MyApp::p_NewCommand(float kind) {
  if (m_DrawCount > LK_DRAWLIST_LAST || m_DrawCount < 0) return nullptr;
  float* c = m_DrawList.Data() + m_DrawCount;
  for (int i = 0; i < LK_CMD_FLOATS; ++i) c[i] = 0.0f;
  c[0] = kind;
  c[7] = m_Alpha;
  c[10] = m_ColR;
  c[11] = m_ColG;
  c[12] = m_ColB;
  c[13] = float(m_Blend);
  m_DrawCount += LK_CMD_FLOATS;
  return c;
}

int c_MyApp::p_DrawImg(int image, float x, float y, float frame) {
  if (float* c = p_NewCommand(float(image))) {
    c[1] = x;
    c[2] = y;
    c[3] = m_Rot;
    c[4] = m_SizeX;
    c[5] = m_SizeY;
    c[6] = frame;
  }
  return 0;
}

static int recordShape(c_MyApp* app, float kind, float a, float b, float c4, float c5) {
  if (float* c = app->p_NewCommand(kind)) {
    c[1] = a;
    c[2] = b;
    c[3] = app->m_Rot;
    c[4] = c4;
    c[5] = c5;
  }
  return 0;
}

int c_MyApp::p_Rect(float x, float y, float w, float h) { return recordShape(this, LK_CMD_RECT, x, y, w, h); }
int c_MyApp::p_Oval(float x, float y, float rx, float ry) { return recordShape(this, LK_CMD_OVAL, x, y, rx, ry); }
int c_MyApp::p_Line(float x1, float y1, float x2, float y2) { return recordShape(this, LK_CMD_LINE, x1, y1, x2, y2); }

int c_MyApp::p_Tri(float x1, float y1, float x2, float y2, float x3, float y3) {
  float* c = p_NewCommand(LK_CMD_TRI);
  if (!c) return 0;
  // The renderer fills one winding only, so the corners are turned round
  // when the middle corner is not the rightmost one.
  bool reverse = x1 > x2 || x3 > x2;
  c[1] = reverse ? x3 : x1;
  c[2] = reverse ? y3 : y1;
  c[3] = x2;
  c[4] = y2;
  c[5] = reverse ? x1 : x3;
  c[6] = reverse ? y1 : y3;
  return 0;
}

// Frame of the button glyph drawn for "¬" + letter, or -1 when the letter
// names no button.
int c_MyApp::p_ButtonGlyph(int letter) {
  static const char letters[] = "JKLIUOQEFWSAD";
  static const int frames[] = {96, 97, 98, 99, 100, 101, 102, 103, 104, 105, 106, 107, 108};
  static const int pressed[] = {109, 109, 109, 109, 110, 110, -1, -1, -1, 104, 104, 104, 104};
  for (int i = 0; letters[i]; ++i) {
    if (letters[i] != letter) continue;
    if (m_InputStyle == 0) return frames[i] + 16;
    if (m_InputStyle == 1 && pressed[i] >= 0 && bb_app_Millisecs() % 500 < 200) return pressed[i];
    return frames[i];
  }
  return -1;
}

int c_MyApp::p_Text(float x, float y, String text, float alignX, float alignY, int style) {
  String t = String(" ") + text;
  const int len = t.Length();
  const int font = m_FontImg + style;
  const float gw = float(imgSizeAt(this, m_FontImg, 0));
  const float gh = float(imgSizeAt(this, m_FontImg, 1));

  // Width of everything but the last character: centring therefore ignores
  // the trailing glyph, which the layout of every screen relies on.
  int w = 0;
  for (int i = 0; i < len - 1; ++i) {
    Char c = t[i];
    if (c == kButtonMark) {
      w = int(float(w) + (2.0f + gw) * m_SizeX);
      ++i;
    } else {
      w = int(float(w) + (float(spacingAdjust(c)) + gw) * m_SizeX);
    }
  }

  const float th = -m_Rot * LK_DEG_TO_RAD;
  const float cs = std::cos(th), sn = std::sin(th);
  const float s90 = std::sin(th - 90.0f * LK_DEG_TO_RAD), c90 = std::cos(th - 90.0f * LK_DEG_TO_RAD);
  const float lineH = gh * m_SizeY;
  const float sx = x + s90 * float(w) * alignX / 2.0f + sn * lineH * (alignY - 1.0f) / 2.0f;
  const float sy = y - c90 * float(w) * alignX / 2.0f - cs * lineH * (alignY - 1.0f) / 2.0f;

  float cx = sx, cy = sy;
  int line = 0;
  auto advance = [&](float units) {
    cx += units * m_SizeX * cs;
    cy += units * m_SizeX * sn;
  };
  for (int i = 0; i < len; ++i) {
    Char c = t[i];
    if (c == kButtonMark && i + 1 < len) {
      Char letter = t[++i];
      int frame = p_ButtonGlyph(letter);
      if (frame >= 0) {
        p_DrawImg(font, cx, cy, float(frame));
        advance(gw + ((letter == 'U' || letter == 'O') ? 6.0f : 4.0f));
      } else {
        int own = int(letter) - 32;
        if (own >= 1 && own <= 127) p_DrawImg(font, cx, cy, float(own));
        advance(gw + 4.0f);
      }
      continue;
    }
    if (c == '\\' && i + 1 < len && t[i + 1] == 'n') {
      ++i;
      ++line;
      cx = sx + gw * m_SizeX * cs - float(line) * lineH * sn;
      cy = sy + float(line) * lineH * cs;
      continue;
    }
    if (c == 0) continue;
    int frame = int(c) - 32;
    if (frame >= 1 && frame <= 127) p_DrawImg(font, cx, cy, float(frame));
    advance(float(spacingAdjust(c)) + gw);
  }
  return 0;
}

String c_MyApp::p_rstr(int value, int width, String pad) {
  if (width <= 0) return String();
  String padded;
  for (int i = 0; i < width; ++i) padded += pad;
  padded += String(value);
  int len = padded.Length();
  return width >= len ? padded : padded.Slice(len - width);
}

int c_MyApp::p_Button(int image, float x, float y, int frame) {
  p_DrawImg(image, x, y, float(frame));
  float hw = float(imgSizeAt(this, image, 0)) * m_ImgScale * m_SizeX / 2.0f;
  float hh = float(imgSizeAt(this, image, 1)) * m_ImgScale * m_SizeY / 2.0f;
  m_ButtonHit = 0;
  if (m_Touching > 0) {
    for (int i = 0; i < 10; ++i) {
      float tx = float(m_TouchX[i]), ty = float(m_TouchY[i]);
      if (tx > x - hw && tx < x + hw && ty > y - hh && ty < y + hh) m_ButtonHit = 1;
    }
  }
  return m_ButtonHit;
}

int c_MyApp::p_Button(float x, float y, int frame) { return p_Button(97, x, y, frame); }

bool c_MyApp::p_Button0(int image, float x, float y, int frame) {
  p_DrawImg(image, x, y, float(frame));
  float hw = float(imgSizeAt(this, image, 0)) * m_ImgScale * m_SizeX / 2.0f;
  float hh = float(imgSizeAt(this, image, 1)) * m_ImgScale * m_SizeY / 2.0f;
  float tx = float(m_TouchX[0]), ty = float(m_TouchY[0]);
  bool inside = tx > x - hw && tx < x + hw && ty > y - hh && ty < y + hh;
  return inside && m_Touching > 0;
}

int c_MyApp::p_Touch(float x, float y, float w, float h) {
  p_Rect(x, y, w, h);
  return anySlotDown(this, x - 6.0f, y - 6.0f, x + w + 12.0f, y + h + 12.0f) ? 1 : 0;
}

int c_MyApp::p_Touch(float y, float w) { return p_Touch(84.0f, y, w, 24.0f); }

int c_MyApp::p_MouseIn(float x, float y, float w, float h) {
  return anySlotDown(this, x, y, x + w, y + h) ? 1 : 0;
}

int c_MyApp::p_MouseIn_Centered(float x, float y, float w, float h) {
  return anySlotDown(this, x - w / 2.0f, y - h / 2.0f, x + w / 2.0f, y + h / 2.0f) ? 1 : 0;
}

int c_MyApp::p_MouseIn_Radius(float x, float y, float w, float h) {
  float r2 = (w / 2.0f) * (w / 2.0f) + (h / 2.0f) * (h / 2.0f);
  for (int i = 0; i < 10; ++i) {
    if (m_TouchDown[i] == 0) continue;
    float dx = float(m_TouchX[i]) - x, dy = float(m_TouchY[i]) - y;
    if (dx * dx + dy * dy <= r2) return 1;
  }
  return 0;
}
