// "quill://" path mapping relative to the executable's directory.
#include "host/paths.h"

#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "host/glfw_game.h"

String bb_data_FixDataPath(String path) {
  int scheme = path.Find(":/");
  if (scheme != -1 && path.Find("/") == scheme + 1) return path;
  if (path.StartsWith("./") || path.StartsWith("/")) return path;
  return String("quill://data/") + path;
}

// /proc/self/exe names the program however deep its directory lies; the
// buffer grows until the whole path fits.
String BBExecutableDir() {
  std::vector<char> buf(512);
  ssize_t n;
  while ((n = readlink("/proc/self/exe", buf.data(), buf.size())) == ssize_t(buf.size())) {
    buf.resize(buf.size() * 2);
  }
  if (n <= 0) abort();
  String exe = String::FromUtf8(buf.data(), int(n));
  int slash = exe.FindLast("/");
  if (slash == -1) abort();
  return exe.Slice(0, slash);
}

String BBGlfwGame::PathToFilePath(String path) {
  if (_baseDir.Length() == 0) _baseDir = BBExecutableDir();
  if (!path.StartsWith("quill:")) return path;
  if (path.StartsWith("quill://data/")) return _baseDir + "/data/" + path.Slice(13);
  if (path.StartsWith("quill://internal/")) {
    if (_internalDir.Length() == 0) _internalDir = _baseDir + "/internal";
    return _internalDir + "/" + path.Slice(17);
  }
  if (path.StartsWith("quill://external/")) return _baseDir + "/external/" + path.Slice(17);
  return String();
}
