// Display modes as the host reports them: a size per mode (the desktop host
// leaves the other fields 0) and, for the GLFW layer, the colour depth.
#pragma once

#include "runtime/runtime.h"

class BBDisplayMode : public Object {
 public:
  int width = 0;
  int height = 0;
  int depth = 0;
  int hertz = 0;
  int flags = 0;
};

class BBGlfwVideoMode : public Object {
 public:
  int width = 0;
  int height = 0;
  int redBits = 0;
  int greenBits = 0;
  int blueBits = 0;
};
