// OpenGL for the renderer: the 1.1 fixed-function header plus the two
// tokens from later versions that every driver we run on supports.
#pragma once

#include <GL/gl.h>

#ifndef GL_BGRA
#define GL_BGRA 0x80E1
#endif
#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif
