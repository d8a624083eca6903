// The frame and running counters of OpenGL work. Everything that draws runs
// on the thread owning the GL context, so plain integers suffice.
#include "graphics/render_stats.h"

namespace {
gxtkRenderStats frameStats;
gxtkRenderStats totalStats;

template <class F>
void Both(F f) {
  f(frameStats);
  f(totalStats);
}
}  // namespace

const gxtkRenderStats& gxtkFrameStats() { return frameStats; }
const gxtkRenderStats& gxtkTotalStats() { return totalStats; }
void gxtkResetFrameStats() { frameStats = gxtkRenderStats(); }

void gxtkCountDraw(int vertices, bool indexed) {
  Both([&](gxtkRenderStats& s) {
    ++s.drawCalls;
    if (indexed) ++s.indexedDrawCalls;
    s.vertices += vertices;
  });
}

void gxtkCountFlush(gxtkFlushCause cause) {
  Both([&](gxtkRenderStats& s) {
    ++s.flushes;
    ++s.flushesBy[cause];
  });
}

void gxtkCountDropped(int vertices) {
  Both([&](gxtkRenderStats& s) { s.droppedVertices += vertices; });
}

void gxtkCountTextureMade() {
  Both([](gxtkRenderStats& s) { ++s.texturesMade; });
}

void gxtkCountTextureUpload() {
  Both([](gxtkRenderStats& s) { ++s.textureUploads; });
}
