// Key translation: GLFW 3 key numbers to the framework's key codes, and the
// characters that non-printing keys produce when pressed.
//
// GLFW 3 numbers keys by their place on a US keyboard; the framework's
// codes for letters, digits and punctuation name what the key is labelled
// with. So printable keys are read through the active layout first.
#include <GLFW/glfw3.h>

#include "host/glfw_game.h"

namespace {

struct KeyRange {
  int first, last;  // GLFW keys
  int code;         // framework code of `first`; the range counts up from it
};

// Every key the framework knows, by meaning. Keys not listed (alt, super,
// menu, caps/num/scroll lock, F13 and up, keypad enter and equals, the two
// "world" keys) are not reported.
const KeyRange kKeys[] = {
    {GLFW_KEY_SPACE, GLFW_KEY_SPACE, 32},
    {GLFW_KEY_APOSTROPHE, GLFW_KEY_APOSTROPHE, 222},  // also double quote
    {GLFW_KEY_COMMA, GLFW_KEY_COMMA, 188},
    {GLFW_KEY_MINUS, GLFW_KEY_MINUS, 189},
    {GLFW_KEY_PERIOD, GLFW_KEY_PERIOD, 190},
    {GLFW_KEY_SLASH, GLFW_KEY_SLASH, 191},
    {GLFW_KEY_0, GLFW_KEY_9, 48},
    {GLFW_KEY_SEMICOLON, GLFW_KEY_SEMICOLON, 186},
    {GLFW_KEY_EQUAL, GLFW_KEY_EQUAL, 187},
    {GLFW_KEY_A, GLFW_KEY_Z, 65},
    {GLFW_KEY_LEFT_BRACKET, GLFW_KEY_LEFT_BRACKET, 219},
    {GLFW_KEY_BACKSLASH, GLFW_KEY_BACKSLASH, 220},
    {GLFW_KEY_RIGHT_BRACKET, GLFW_KEY_RIGHT_BRACKET, 221},
    {GLFW_KEY_GRAVE_ACCENT, GLFW_KEY_GRAVE_ACCENT, 192},  // also tilde
    {GLFW_KEY_ESCAPE, GLFW_KEY_ESCAPE, 27},
    {GLFW_KEY_ENTER, GLFW_KEY_ENTER, 13},
    {GLFW_KEY_TAB, GLFW_KEY_TAB, 9},
    {GLFW_KEY_BACKSPACE, GLFW_KEY_BACKSPACE, 8},
    {GLFW_KEY_INSERT, GLFW_KEY_INSERT, 45},
    {GLFW_KEY_DELETE, GLFW_KEY_DELETE, 46},
    {GLFW_KEY_RIGHT, GLFW_KEY_RIGHT, 39},
    {GLFW_KEY_LEFT, GLFW_KEY_LEFT, 37},
    {GLFW_KEY_DOWN, GLFW_KEY_DOWN, 40},
    {GLFW_KEY_UP, GLFW_KEY_UP, 38},
    {GLFW_KEY_PAGE_UP, GLFW_KEY_PAGE_UP, 33},
    {GLFW_KEY_PAGE_DOWN, GLFW_KEY_PAGE_DOWN, 34},
    {GLFW_KEY_HOME, GLFW_KEY_HOME, 36},
    {GLFW_KEY_END, GLFW_KEY_END, 35},
    {GLFW_KEY_F1, GLFW_KEY_F12, 112},
    {GLFW_KEY_KP_0, GLFW_KEY_KP_9, 96},
    {GLFW_KEY_KP_DECIMAL, GLFW_KEY_KP_DECIMAL, 110},
    {GLFW_KEY_KP_DIVIDE, GLFW_KEY_KP_DIVIDE, 111},
    {GLFW_KEY_KP_MULTIPLY, GLFW_KEY_KP_MULTIPLY, 106},
    {GLFW_KEY_KP_SUBTRACT, GLFW_KEY_KP_SUBTRACT, 109},
    {GLFW_KEY_KP_ADD, GLFW_KEY_KP_ADD, 107},
    {GLFW_KEY_LEFT_SHIFT, GLFW_KEY_LEFT_SHIFT, 16},
    {GLFW_KEY_RIGHT_SHIFT, GLFW_KEY_RIGHT_SHIFT, 16},
    {GLFW_KEY_LEFT_CONTROL, GLFW_KEY_LEFT_CONTROL, 17},
    {GLFW_KEY_RIGHT_CONTROL, GLFW_KEY_RIGHT_CONTROL, 17},
};

// The framework code of a printable character; 0 for characters that have
// none (the key then counts by its place).
int CharCode(char c) {
  if (c >= 'a' && c <= 'z') return c - 'a' + 65;
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
  static const char kPunct[] = "'\",-./;=[\\]`~";
  static const int kCodes[] = {222, 222, 188, 189, 190, 191, 186, 187, 219, 220, 221, 192, 192};
  for (int i = 0; kPunct[i]; ++i) {
    if (kPunct[i] == c) return kCodes[i];
  }
  return 0;
}

}  // namespace

int BBGlfwGame::KeyCode(int glfwKey) {
  if (glfwKey > GLFW_KEY_SPACE && glfwKey <= GLFW_KEY_WORLD_2) {
    const char* name = glfwGetKeyName(glfwKey, 0);
    int code = (name && name[0] && !name[1]) ? CharCode(name[0]) : 0;
    if (code != 0) return code;
  }
  return TransKey(glfwKey);
}

int BBGlfwGame::TransKey(int glfwKey) {
  for (const KeyRange& r : kKeys) {
    if (glfwKey >= r.first && glfwKey <= r.last) return r.code + (glfwKey - r.first);
  }
  return 0;
}

int BBGlfwGame::KeyToChar(int code) {
  switch (code) {
    case 8:
    case 9:
    case 13:
    case 27:
      return code;
    case 46:
      return 127;
    case 33:
    case 34:
    case 35:
    case 36:
    case 37:
    case 38:
    case 39:
    case 40:
    case 45:
      return code | 0x10000;
  }
  return 0;
}
