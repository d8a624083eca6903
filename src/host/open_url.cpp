// Opening a web address in the user's browser through xdg-open, without
// making the game wait for the browser or leaving zombie processes behind.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "host/glfw_game.h"

namespace {

// The address goes to xdg-open as one argument, never through a shell; one
// that starts with "-" would be read as an option, so it is refused.
bool Acceptable(const std::string& url) {
  if (url.empty() || url[0] == '-') return false;
  return url.find('\0') == std::string::npos;
}

// The grandchild runs the opener; the child exits at once so the game can
// reap it immediately and the opener is adopted by init.
void Launch(const std::string& url) {
  pid_t child = fork();
  if (child < 0) return;
  if (child == 0) {
    if (fork() == 0) {
      // The game's standard input belongs to its debugger protocol.
      int devnull = open("/dev/null", O_RDWR);
      if (devnull >= 0) {
        dup2(devnull, STDIN_FILENO);
        dup2(devnull, STDOUT_FILENO);
      }
      execlp("xdg-open", "xdg-open", url.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    _exit(0);
  }
  while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace

// Each code unit's low byte, as the address is handed to the system.
void BBGlfwGame::OpenUrl(String url) {
  std::string bytes;
  bytes.reserve(url.Length());
  for (int i = 0; i < url.Length(); ++i) bytes += char(url[i] & 0xFF);
  if (Acceptable(bytes)) Launch(bytes);
}
