// Counters of the work that actually reaches OpenGL. One set covers the
// frame in progress (reset by the renderer's BeginRender, so after EndRender
// it describes the last frame) and one set runs from start-up. Tests check
// batching with them and benchmarks report draw calls and vertex rates.
#pragma once

// Why a pending batch was sent to OpenGL.
enum gxtkFlushCause {
  gxtkFlushKind = 0,   // a primitive of another kind arrived
  gxtkFlushTexture,    // a primitive with another texture arrived
  gxtkFlushFull,       // the next primitive would not fit into the batch
  gxtkFlushBlend,      // SetBlend
  gxtkFlushScissor,    // SetScissor
  gxtkFlushRead,       // ReadPixels
  gxtkFlushEnd,        // EndRender
  gxtkFlushCall,       // an explicit Flush()
  gxtkFlushCauseCount
};

struct gxtkRenderStats {
  int drawCalls = 0;         // glDrawArrays + glDrawElements
  int indexedDrawCalls = 0;  // of those, glDrawElements (quad batches)
  long long vertices = 0;    // vertices handed to those calls
  int flushes = 0;           // batches sent, whatever the cause
  int flushesBy[gxtkFlushCauseCount] = {};
  int droppedVertices = 0;   // queued vertices thrown away by Cls
  int texturesMade = 0;      // textures defined by Bind (first use or new context)
  int textureUploads = 0;    // glTexSubImage2D calls
};

const gxtkRenderStats& gxtkFrameStats();
const gxtkRenderStats& gxtkTotalStats();
void gxtkResetFrameStats();

// Called by the renderer and surfaces next to the OpenGL call they count.
void gxtkCountDraw(int vertices, bool indexed);
void gxtkCountFlush(gxtkFlushCause cause);
void gxtkCountDropped(int vertices);
void gxtkCountTextureMade();
void gxtkCountTextureUpload();
