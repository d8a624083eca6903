// Assets and loading: the numbered image and sound banks are filled one
// step per update behind a loading screen, at the resolution the device size
// calls for, and refilled the same way whenever the device size changes.
#include "game/my_app.h"

#include <cmath>

namespace {

const int kFlagsMidHandle = 1;

bool validImage(int n) { return n >= 0 && n < 100; }

// Empties slot n. The picture it held gives up its texture and pixel copy at
// once: every resize reloads all sheets, and leaving the old ones to the
// collector let memory climb by hundreds of megabytes. A grabbed image
// shares its source's surface, so only an image that owns one discards it.
void dropImage(c_MyApp* app, int n) {
  c_Image* old = app->m_Images[n];
  if (old && old->m_surface && !old->m_source) old->m_surface->Discard();
  gc_assign(app->m_Images[n], (c_Image*)nullptr);
}

}  // namespace

int c_MyApp::p_ResLevel() {
  const int w = bb_app_DeviceWidth(), h = bb_app_DeviceHeight();
  if (bb_Larkspin_UseHDImages == 0) {
    m_HDLevel = 1;
  } else if (w >= 1231 || h >= 1231) {
    m_HDLevel = 4;
  } else if (w >= 631 || h >= 631) {
    m_HDLevel = 2;
  } else {
    m_HDLevel = 1;
  }
  m_ImgScale = 1.0f / float(m_HDLevel);
  return 0;
}

String c_MyApp::p_ImgFile(String name) {
  if (m_HDLevel == 2) return name + String("-hd.png");
  if (m_HDLevel == 4) return name + String("-hd2.png");
  return name + String(".png");
}

int c_MyApp::p_LoadImg(int n, String name, int w, int h, int frames, int flags) {
  if (!validImage(n)) return 0;
  const int fw = w * m_HDLevel, fh = h * m_HDLevel;
  dropImage(this, n);
  if (bb_graphics_device) gc_assign(m_Images[n], bb_graphics_LoadImage2(p_ImgFile(name), fw, fh, frames, flags));
  // Sizes are kept even when the file is missing, so hit tests still work.
  m_ImgSize[3 * n] = fw;
  m_ImgSize[3 * n + 1] = fh;
  m_ImgSize[3 * n + 2] = frames;
  return 0;
}

int c_MyApp::p_LoadFont(int n, String name, int advance, int lineHeight) {
  if (!validImage(n)) return 0;
  dropImage(this, n);
  if (bb_graphics_device)
    gc_assign(m_Images[n], bb_graphics_LoadImage2(p_ImgFile(name), 16 * m_HDLevel, 16 * m_HDLevel, 128,
                                                  kFlagsMidHandle));
  m_ImgSize[3 * n] = advance;
  m_ImgSize[3 * n + 1] = lineHeight;
  m_ImgSize[3 * n + 2] = 128;
  m_FontImg = n;
  return 0;
}

int c_MyApp::p_ReserveImg(int n, int width, int height) {
  if (!validImage(n)) return 0;
  dropImage(this, n);
  if (bb_graphics_device) gc_assign(m_Images[n], bb_graphics_CreateImage(width, height, 1, kFlagsMidHandle));
  m_ImgSize[3 * n] = width;
  m_ImgSize[3 * n + 1] = height;
  m_ImgSize[3 * n + 2] = 1;
  return 0;
}

int c_MyApp::p_Reload() {
  m_ClsR = m_ClsG = m_ClsB = 0.0f;
  m_ClsA = 1.0f;
  p_ResLevel();
  // Logo and font first: the loading screen needs them before step 1.
  p_LoadImg(93, String("common/FerrowLogo"), 256, 256, 1, kFlagsMidHandle);
  p_LoadFont(90, String("fonts/shadow_editundo"), 7, 10);
  m_FontImg = 90;
  m_LoadStep = 1;
  return 0;
}

int c_MyApp::p_Loader() {
  p_ResLevel();
  auto img = [this](int n, const char* name, int w, int h, int frames) {
    p_LoadImg(n, String(name), w, h, frames, kFlagsMidHandle);
  };
  switch (m_LoadStep) {
    case 1:
      img(97, "common/icons", 32, 32, 16);
      p_LoadSFX(96);
      p_ReserveImg(81, 2048, 2048);
      break;
    case 2: img(95, "common/Buttons", 64, 64, 16); p_LoadSFX(1); break;
    case 3: img(94, "common/dpad", 32, 32, 16); p_LoadSFX(98); break;
    case 4:
      img(93, "common/FerrowLogo", 256, 256, 1);
      if (m_JingleDone == 0) {
        p_PlaySFX(96, 1.0f, 1.0f, 0.0f);
        m_JingleDone = 1;
      }
      break;
    case 5: p_LoadFont(90, String("fonts/shadow_editundo"), 7, 10); p_LoadSFX(99); break;
    case 6: img(99, "menu", 256, 256, 4); img(98, "logo", 256, 128, 1); p_LoadSFX(95); break;
    case 7: img(80, "BadgesA", 64, 64, 64); img(96, "parts", 4, 4, 256); break;
    case 8: img(85, "common/circle", 256, 256, 4); img(86, "common/light", 32, 32, 4); break;
    case 9: img(1, "gfx", 12, 12, 25); break;
    case 10: p_LoadSFX(11); p_LoadSFX(12); break;
    case 11: p_LoadSFX(13); p_LoadSFX(14); break;
    case 12: p_LoadSFX(15); p_LoadSFX(16); break;
    case 13: p_LoadSFX(17); p_LoadSFX(18); break;
    case 14: p_LoadSFX(19); p_LoadSFX(20); break;
    case 15: p_LoadSFX(4); p_LoadSFX(5); break;
    case 16: p_LoadSFX(6); p_LoadSFX(7); break;
    case 17: p_LoadSFX(1); p_LoadSFX(2); break;
    case 18: p_LoadSFX(3); break;
    case 19: p_LoadSFX(8); p_LoadSFX(9); break;
    case 20: img(2, "power", 12, 12, 25); break;
    case 21: img(5, "Icon", 128, 128, 1); break;
    default: m_LoadStep = 0; break;
  }
  if (m_LoadStep > 0) ++m_LoadStep;
  p_WaitStart(1);
  return 0;
}

int c_MyApp::p_WaitStart(int style) {
  m_BgTargetR = m_BgTargetG = m_BgTargetB = 0.0f;
  m_BgR -= m_BgR / 8.0f;
  m_BgG -= m_BgG / 8.0f;
  m_BgB -= m_BgB / 8.0f;
  p_CLS2D(m_BgR, m_BgG, m_BgB, 1.0f);

  const float W = bb_Larkspin_jscrw, H = bb_Larkspin_jscrh;
  const float m = float(lk_trunc(W < H ? W : H));
  m_Spin += 3;
  const float cx = W / 2.0f, cy = H / 2.0f;
  auto ring = [&](float r, float g, float b, float offset, float factor, float radius) {
    for (int k = 0; k <= 10; ++k) {
      const float a = (float(m_Spin) + offset + 4.0f * float(k)) * LK_DEG_TO_RAD;
      p_SetCol(r, g, b, float(k) / 10.0f);
      p_Oval(cx + std::sin(a) * m * factor, cy - std::cos(a) * m * factor, radius, radius);
    }
  };
  if (style == 1) ring(0.0f, 125.0f, 255.0f, 0.0f, 0.45f, 16.0f);
  p_SetCol(255.0f, 255.0f, 255.0f, 1.0f);
  p_SetSize(2.0f);
  p_DrawImg(93, cx, H * 0.48f, 0);
  p_SetSize(1.0f);
  if (style == 1) {
    ring(255.0f, 125.0f, 0.0f, 120.0f, 0.40f, 12.0f);
    ring(255.0f, 125.0f, 0.0f, 240.0f, 0.35f, 8.0f);
  }
  p_SetCol(255.0f, 255.0f, 255.0f, 1.0f);
  p_Text(cx, H - 32.0f, String("Loading..."), 1.0f, 1.0f, 0);
  return 0;
}
