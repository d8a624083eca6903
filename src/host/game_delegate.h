// BBGameDelegate: the host's one call-out to the application framework.
// The host knows nothing of the game; every event it produces reaches the
// game through an object of this interface.
#pragma once

#include "runtime/runtime.h"

class BBGameDelegate : public Object {
 public:
  virtual void StartGame() {}
  virtual void SuspendGame() {}
  virtual void ResumeGame() {}
  virtual void UpdateGame() {}
  virtual void RenderGame() {}
  virtual void KeyEvent(int event, int data) { (void)event, (void)data; }
  virtual void MouseEvent(int event, int data, float x, float y) {
    (void)event, (void)data, (void)x, (void)y;
  }
  virtual void TouchEvent(int event, int data, float x, float y) {
    (void)event, (void)data, (void)x, (void)y;
  }
  virtual void MotionEvent(int event, int data, float x, float y, float z) {
    (void)event, (void)data, (void)x, (void)y, (void)z;
  }
  virtual void DiscardGraphics() {}
};
