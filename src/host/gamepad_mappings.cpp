// The player's own controller mappings. GLFW takes a whole database string
// and quietly drops what it cannot parse (or, worse, wraps a button number
// past 255 onto another button), so every line is checked here first and
// handed over on its own: a bad line is named to the player and the rest
// still apply.
#include "host/gamepad_mappings.h"

#include <GLFW/glfw3.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const char* const kEnvironmentSource = "SDL_GAMECONTROLLERCONFIG";
const size_t kGuidDigits = 32;
const size_t kNameMax = 127;  // GLFW's name buffer, less its terminator
const int kIndexMax = 255;    // GLFW keeps axis, button and hat numbers in a byte
const int kHatMax = 15;

// The elements GLFW maps; other keys (platform, crc, misc1, ...) are left to
// whichever program knows them.
const char* const kElements[] = {
    "a",          "b",           "x",          "y",           "back",       "start",
    "guide",      "leftshoulder", "rightshoulder", "leftstick", "rightstick", "dpup",
    "dpright",    "dpdown",      "dpleft",     "lefttrigger", "righttrigger", "leftx",
    "lefty",      "rightx",      "righty",
};

bool IsElement(const std::string& key) {
  for (const char* element : kElements) {
    if (key == element) return true;
  }
  return false;
}

// Reads a decimal number of at most `max` at `*p`, advancing past it.
bool Number(const char** p, int max) {
  if (!isdigit(static_cast<unsigned char>(**p))) return false;
  long value = 0;
  while (isdigit(static_cast<unsigned char>(**p))) {
    value = value * 10 + (*(*p)++ - '0');
    if (value > max) return false;
  }
  return true;
}

// "+a2", "a0~", "b11", "h0.4": an input half-axis, axis, button or hat bit.
bool IsSource(const std::string& value) {
  const char* p = value.c_str();
  if (*p == '+' || *p == '-') ++p;
  char kind = *p++;
  if (kind == 'a') {
    if (!Number(&p, kIndexMax)) return false;
    if (*p == '~') ++p;
  } else if (kind == 'b') {
    if (!Number(&p, kIndexMax)) return false;
  } else if (kind == 'h') {
    if (!Number(&p, kHatMax) || *p++ != '.') return false;
    const char* bit = p;
    if (!Number(&p, 8) || !strchr("1248", *bit) || p != bit + 1) return false;
  } else {
    return false;
  }
  return *p == '\0';
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    size_t comma = line.find(',', start);
    fields.push_back(line.substr(start, comma - start));
    if (comma == std::string::npos) return fields;
    start = comma + 1;
  }
}

// GLFW reports what it refuses through its error callback only.
bool glfwRefused = false;
void NoteRefusal(int, const char*) { glfwRefused = true; }

bool HandToGlfw(const std::string& line) {
  glfwRefused = false;
  GLFWerrorfun previous = glfwSetErrorCallback(NoteRefusal);
  bool taken = glfwUpdateGamepadMappings(line.c_str()) == GLFW_TRUE && !glfwRefused;
  glfwSetErrorCallback(previous);
  return taken;
}

std::string Trimmed(const std::string& s) {
  size_t begin = s.find_first_not_of(" \t\r");
  if (begin == std::string::npos) return std::string();
  return s.substr(begin, s.find_last_not_of(" \t\r") + 1 - begin);
}

// One line from `in`, holding at most BB_MAPPING_LINE_MAX + 1 bytes (enough
// to tell that it is too long); the rest of a longer line is read past.
// False at the end of the input or of the allowance `*left`.
bool ReadLine(FILE* in, long* left, std::string* line) {
  line->clear();
  int c;
  while (*left > 0 && (c = getc(in)) != EOF) {
    --*left;
    if (c == '\n') return true;
    if (line->size() <= BB_MAPPING_LINE_MAX) line->push_back(char(c));
  }
  return !line->empty();
}

// The config file, opened only if it is a regular file: a pipe or device
// put there would otherwise hang or flood the start-up.
FILE* OpenMappingsFile(const std::string& path, FILE* report) {
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno != ENOENT && errno != ENOTDIR) {
      fprintf(report, "%s: controller mappings not read: %s\n", path.c_str(), strerror(errno));
    }
    return nullptr;
  }
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    fprintf(report, "%s: controller mappings not read: not a regular file\n", path.c_str());
    close(fd);
    return nullptr;
  }
  FILE* file = fdopen(fd, "r");
  if (!file) close(fd);
  return file;
}

// Why a line is not a usable mapping, or empty when it is one.
std::string MappingFault(const std::string& line) {
  if (line.size() > BB_MAPPING_LINE_MAX) return "line too long";
  if (line.find('\0') != std::string::npos) return "not text";
  std::vector<std::string> fields = Fields(line);
  const std::string& guid = fields[0];
  if (guid.size() != kGuidDigits ||
      guid.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
    return "no 32-digit controller GUID at the start";
  }
  if (fields.size() < 3) return "no name and mappings after the GUID";
  if (fields[1].size() > kNameMax) return "name too long";
  bool mapped = false;
  for (size_t i = 2; i < fields.size(); ++i) {
    if (fields[i].empty()) continue;
    size_t colon = fields[i].find(':');
    if (colon == std::string::npos) return "\"" + fields[i] + "\" is no \"element:input\"";
    if (!IsElement(fields[i].substr(0, colon))) continue;
    if (!IsSource(fields[i].substr(colon + 1))) {
      return "\"" + fields[i] + "\" maps to no axis, button or hat";
    }
    mapped = true;
  }
  return mapped ? std::string() : "no element mapped";
}

// The config file's path; empty when no folder for it is known.
std::string MappingsFile() {
  const char* config = getenv("XDG_CONFIG_HOME");
  std::string folder;
  if (config && config[0] == '/') {
    folder = config;
  } else if (const char* home = getenv("HOME"); home && home[0]) {
    folder = std::string(home) + "/.config";
  } else {
    return std::string();
  }
  return folder + "/larkspin/gamecontrollerdb.txt";
}

}  // namespace

int BBApplyGamepadMappings(FILE* in, const std::string& source, FILE* report) {
  long left = BB_MAPPING_SOURCE_MAX;
  int taken = 0;
  std::string line;
  for (int number = 1; ReadLine(in, &left, &line); ++number) {
    line = Trimmed(line);
    if (line.empty() || line[0] == '#') continue;
    std::string fault = MappingFault(line);
    if (fault.empty() && !HandToGlfw(line)) fault = "refused by GLFW";
    if (!fault.empty()) {
      fprintf(report, "%s:%d: controller mapping skipped: %s\n", source.c_str(), number,
              fault.c_str());
    } else {
      ++taken;
    }
  }
  if (left == 0 && getc(in) != EOF) {
    fprintf(report, "%s: controller mappings past the first %ld bytes ignored\n", source.c_str(),
            BB_MAPPING_SOURCE_MAX);
  }
  return taken;
}

void BBLoadGamepadMappings(FILE* report) {
  std::string path = MappingsFile();
  if (FILE* file = path.empty() ? nullptr : OpenMappingsFile(path, report)) {
    BBApplyGamepadMappings(file, path, report);
    fclose(file);
  }
  const char* text = getenv(kEnvironmentSource);
  if (text && text[0]) {
    FILE* lines = fmemopen(const_cast<char*>(text), strlen(text), "r");
    if (lines) {
      BBApplyGamepadMappings(lines, kEnvironmentSource, report);
      fclose(lines);
    }
  }
}
