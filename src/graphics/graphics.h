// The drawing API the game and the framework call: module globals and the
// bb_graphics_* functions over the renderer, the context and images.
#pragma once

#include "graphics/context.h"
#include "graphics/image.h"
#include "graphics/renderer.h"
#include "graphics/surface.h"
#include "runtime/runtime.h"

// The renderer, set once at start; used for loading and creating images.
extern gxtkGraphics* bb_graphics_device;
// The renderer while a frame is being rendered, else null.
extern gxtkGraphics* bb_graphics_renderDevice;
// The one drawing context.
extern c_GraphicsContext* bb_graphics_context;

// Module start-up: creates the context and registers the module's roots with
// the collector. Safe to call more than once.
int bb_graphics_Init();

int bb_graphics_SetGraphicsDevice(gxtkGraphics* device);
int bb_graphics_BeginRender();
int bb_graphics_EndRender();

// State. Colour, alpha, blend and scissor go straight to the render device;
// the matrix is sent with the next draw.
int bb_graphics_SetColor(float r, float g, float b);
int bb_graphics_SetAlpha(float alpha);
int bb_graphics_SetBlend(int blend);
int bb_graphics_SetScissor(float x, float y, float width, float height);
int bb_graphics_SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
int bb_graphics_SetMatrix2(Array<float> m);
int bb_graphics_Transform(float ix, float iy, float jx, float jy, float tx, float ty);
int bb_graphics_Transform2(Array<float> m);
int bb_graphics_Translate(float x, float y);
int bb_graphics_Scale(float x, float y);
int bb_graphics_Rotate(float angle);
int bb_graphics_PushMatrix();
int bb_graphics_PopMatrix();
int bb_graphics_SetFont(c_Image* font, int firstChar);

// Drawing.
int bb_graphics_Cls(float r, float g, float b);
int bb_graphics_DrawPoint(float x, float y);
int bb_graphics_DrawRect(float x, float y, float w, float h);
int bb_graphics_DrawLine(float x1, float y1, float x2, float y2);
int bb_graphics_DrawEllipse(float x, float y, float xr, float yr);
int bb_graphics_DrawPoly(Array<float> verts);
int bb_graphics_DrawPoly2(Array<float> verts, c_Image* image, int frame);
int bb_graphics_DrawImage(c_Image* image, float x, float y, int frame);
int bb_graphics_DrawImage2(c_Image* image, float x, float y, float rotation,
                           float scaleX, float scaleY, int frame);

// Images; loaders return null when the file cannot be read.
c_Image* bb_graphics_LoadImage(String path, int frameCount, int flags);
c_Image* bb_graphics_LoadImage2(String path, int frameWidth, int frameHeight,
                                int frameCount, int flags);
c_Image* bb_graphics_CreateImage(int width, int height, int frameCount, int flags);
