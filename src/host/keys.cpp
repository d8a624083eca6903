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
    {GLFW_KEY_SPACE, GLFW_KEY_SPACE, BBKEY_SPACE},
    {GLFW_KEY_APOSTROPHE, GLFW_KEY_APOSTROPHE, BBKEY_QUOTES},  // also double quote
    {GLFW_KEY_COMMA, GLFW_KEY_COMMA, BBKEY_COMMA},
    {GLFW_KEY_MINUS, GLFW_KEY_MINUS, BBKEY_MINUS},
    {GLFW_KEY_PERIOD, GLFW_KEY_PERIOD, BBKEY_PERIOD},
    {GLFW_KEY_SLASH, GLFW_KEY_SLASH, BBKEY_SLASH},
    {GLFW_KEY_0, GLFW_KEY_9, BBKEY_0},
    {GLFW_KEY_SEMICOLON, GLFW_KEY_SEMICOLON, BBKEY_SEMICOLON},
    {GLFW_KEY_EQUAL, GLFW_KEY_EQUAL, BBKEY_EQUALS},
    {GLFW_KEY_A, GLFW_KEY_Z, BBKEY_A},
    {GLFW_KEY_LEFT_BRACKET, GLFW_KEY_LEFT_BRACKET, BBKEY_OPENBRACKET},
    {GLFW_KEY_BACKSLASH, GLFW_KEY_BACKSLASH, BBKEY_BACKSLASH},
    {GLFW_KEY_RIGHT_BRACKET, GLFW_KEY_RIGHT_BRACKET, BBKEY_CLOSEBRACKET},
    {GLFW_KEY_GRAVE_ACCENT, GLFW_KEY_GRAVE_ACCENT, BBKEY_TILDE},  // also tilde
    {GLFW_KEY_ESCAPE, GLFW_KEY_ESCAPE, BBKEY_ESCAPE},
    {GLFW_KEY_ENTER, GLFW_KEY_ENTER, BBKEY_ENTER},
    {GLFW_KEY_TAB, GLFW_KEY_TAB, BBKEY_TAB},
    {GLFW_KEY_BACKSPACE, GLFW_KEY_BACKSPACE, BBKEY_BACKSPACE},
    {GLFW_KEY_INSERT, GLFW_KEY_INSERT, BBKEY_INSERT},
    {GLFW_KEY_DELETE, GLFW_KEY_DELETE, BBKEY_DELETE},
    {GLFW_KEY_RIGHT, GLFW_KEY_RIGHT, BBKEY_RIGHT},
    {GLFW_KEY_LEFT, GLFW_KEY_LEFT, BBKEY_LEFT},
    {GLFW_KEY_DOWN, GLFW_KEY_DOWN, BBKEY_DOWN},
    {GLFW_KEY_UP, GLFW_KEY_UP, BBKEY_UP},
    {GLFW_KEY_PAGE_UP, GLFW_KEY_PAGE_UP, BBKEY_PAGEUP},
    {GLFW_KEY_PAGE_DOWN, GLFW_KEY_PAGE_DOWN, BBKEY_PAGEDOWN},
    {GLFW_KEY_HOME, GLFW_KEY_HOME, BBKEY_HOME},
    {GLFW_KEY_END, GLFW_KEY_END, BBKEY_END},
    {GLFW_KEY_F1, GLFW_KEY_F12, BBKEY_F1},
    {GLFW_KEY_KP_0, GLFW_KEY_KP_9, BBKEY_NUMPAD0},
    {GLFW_KEY_KP_DECIMAL, GLFW_KEY_KP_DECIMAL, BBKEY_NUMDECIMAL},
    {GLFW_KEY_KP_DIVIDE, GLFW_KEY_KP_DIVIDE, BBKEY_NUMDIVIDE},
    {GLFW_KEY_KP_MULTIPLY, GLFW_KEY_KP_MULTIPLY, BBKEY_NUMMULTIPLY},
    {GLFW_KEY_KP_SUBTRACT, GLFW_KEY_KP_SUBTRACT, BBKEY_NUMSUBTRACT},
    {GLFW_KEY_KP_ADD, GLFW_KEY_KP_ADD, BBKEY_NUMADD},
    {GLFW_KEY_LEFT_SHIFT, GLFW_KEY_LEFT_SHIFT, BBKEY_SHIFT},
    {GLFW_KEY_RIGHT_SHIFT, GLFW_KEY_RIGHT_SHIFT, BBKEY_SHIFT},
    {GLFW_KEY_LEFT_CONTROL, GLFW_KEY_LEFT_CONTROL, BBKEY_CONTROL},
    {GLFW_KEY_RIGHT_CONTROL, GLFW_KEY_RIGHT_CONTROL, BBKEY_CONTROL},
};

// The framework code of a printable character; 0 for characters that have
// none (the key then counts by its place).
int CharCode(char c) {
  if (c >= 'a' && c <= 'z') return c - 'a' + BBKEY_A;
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
  static const char kPunct[] = "'\",-./;=[\\]`~";
  static const int kCodes[] = {BBKEY_QUOTES,      BBKEY_QUOTES,    BBKEY_COMMA,        BBKEY_MINUS,
                               BBKEY_PERIOD,      BBKEY_SLASH,     BBKEY_SEMICOLON,    BBKEY_EQUALS,
                               BBKEY_OPENBRACKET, BBKEY_BACKSLASH, BBKEY_CLOSEBRACKET, BBKEY_TILDE,
                               BBKEY_TILDE};
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
    case BBKEY_BACKSPACE:
    case BBKEY_TAB:
    case BBKEY_ENTER:
    case BBKEY_ESCAPE:
      return code;
    case BBKEY_DELETE:
      return 127;
    case BBKEY_PAGEUP:
    case BBKEY_PAGEDOWN:
    case BBKEY_END:
    case BBKEY_HOME:
    case BBKEY_LEFT:
    case BBKEY_UP:
    case BBKEY_RIGHT:
    case BBKEY_DOWN:
    case BBKEY_INSERT:
      return code | 0x10000;
  }
  return 0;
}
