// The state file "./.quillstate": the game's one persistent string, stored
// as UTF-8 and replaced atomically so that a crash or a full disk halfway
// through a save never costs the records already saved.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/game.h"

namespace {

const char kStatePath[] = "./.quillstate";
const char kTempPrefix[] = ".quillstate.tmp.";

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += size_t(n);
  }
  return true;
}

// A name of our own beside the state file, so the rename stays within one
// directory (and one file system) and concurrent saves never share a file.
std::string TempPath() {
  static std::atomic<unsigned> counter{0};
  return std::string("./") + kTempPrefix + std::to_string(getpid()) + "." +
         std::to_string(counter++);
}

// A process killed in the middle of a save leaves its temporary file behind.
// Those of processes that no longer run are removed; a live one may still be
// saving, so its files stay.
void RemoveAbandonedTemps() {
  DIR* dir = opendir(".");
  if (!dir) return;
  const size_t prefix = sizeof(kTempPrefix) - 1;
  while (dirent* entry = readdir(dir)) {
    if (strncmp(entry->d_name, kTempPrefix, prefix) != 0) continue;
    long pid = strtol(entry->d_name + prefix, nullptr, 10);
    if (pid <= 0 || pid == getpid()) continue;
    if (kill(pid_t(pid), 0) == 0 || errno != ESRCH) continue;
    unlinkat(dirfd(dir), entry->d_name, 0);
  }
  closedir(dir);
}

// Makes the rename itself durable; a failure here loses nothing already
// written, so it is not reported.
void SyncDirectory() {
  int dir = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return;
  fsync(dir);
  close(dir);
}

}  // namespace

// Returns 0 when saved, -1 when no file could be created, -2 when the bytes
// could not all be written and made durable. On any failure the previous
// state file is left exactly as it was.
int BBGame::SaveState(String state) {
  std::string bytes = state.ToUtf8();
  std::string temp = TempPath();
  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return -1;
  bool ok = WriteAll(fd, bytes) && fsync(fd) == 0;
  ok = (close(fd) == 0) && ok;
  if (!ok || rename(temp.c_str(), kStatePath) != 0) {
    unlink(temp.c_str());
    return -2;
  }
  SyncDirectory();
  return 0;
}

String BBGame::LoadState() {
  RemoveAbandonedTemps();
  FILE* file = OpenFile(kStatePath, "rb");
  if (!file) return String();
  String state = String::Load(file);
  fclose(file);
  return state;
}
