// Replays the recorded display list on the render device, scaled from
// virtual units to device pixels. Runs inside the framework's render call.
#include "game/my_app.h"

int c_MyApp::p_Replay(float s, float ox, float oy) {
  const int end = m_DrawCount < LK_DRAWLIST_FLOATS ? m_DrawCount : LK_DRAWLIST_FLOATS;
  const float* list = m_DrawList.Data();
  // Every blend switch sends the renderer's batch, so only real changes go
  // through; otherwise each command would become a draw call of its own.
  int blend = -1;
  for (int at = 0; at + LK_CMD_FLOATS <= end; at += LK_CMD_FLOATS) {
    const float* c = list + at;
    bb_graphics_SetAlpha(c[7]);
    bb_graphics_SetColor(c[10], c[11], c[12]);
    const int b = c[13] == 3.0f ? 1 : 0;
    if (b != blend) {
      bb_graphics_SetBlend(b);
      blend = b;
    }
    const float kind = c[0];
    if (kind == LK_CMD_RECT) {
      bb_graphics_DrawRect(c[1] * s + ox, c[2] * s + oy, c[4] * s, c[5] * s);
    } else if (kind == LK_CMD_OVAL) {
      bb_graphics_DrawEllipse(c[1] * s + ox, c[2] * s + oy, c[4] * s, c[5] * s);
    } else if (kind == LK_CMD_LINE) {
      bb_graphics_DrawLine(c[1] * s + ox, c[2] * s + oy, c[4] * s + ox, c[5] * s + oy);
    } else if (kind == LK_CMD_TRI) {
      for (int i = 0; i < 6; i += 2) {
        m_TriVerts[i] = c[1 + i] * s + ox;
        m_TriVerts[i + 1] = c[2 + i] * s + oy;
      }
      bb_graphics_DrawPoly(m_TriVerts);
    } else if (kind > -1.0f) {
      const int n = lk_trunc(kind);
      c_Image* img = n < 100 ? m_Images[n] : nullptr;
      const int frame = lk_trunc(c[6]);
      // A frame the picture does not have (a short or replaced file) draws
      // nothing instead of stopping the game.
      if (img && frame >= 0 && frame < img->m_frames.Length()) {
        bb_graphics_DrawImage2(img, c[1] * s + ox, c[2] * s + oy, c[3], c[4] * s * m_ImgScale,
                               c[5] * s * m_ImgScale, frame);
      }
    }
  }
  return 0;
}
