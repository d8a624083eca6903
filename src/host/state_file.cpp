// The state file "./.quillstate": the game's one persistent string, stored
// as UTF-8 and replaced atomically so that a crash or a full disk halfway
// through a save never costs the records already saved. A state file that
// cannot be used is moved aside, never saved over, and a link to the state
// file is written through, so a save linked into a synced folder stays there.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/game.h"

namespace {

const char kStatePath[] = "./.quillstate";
const char kTempPrefix[] = ".quillstate.tmp.";
const char kAsideSuffix[] = ".bad";
// The game writes a few kilobytes; anything far beyond is not its state, and
// reading it must not cost memory that grows with the file.
const size_t kStateLimit = 64 * 1024;
const int kMaxLinkHops = 40;

std::string Folder(const std::string& path) {
  size_t cut = path.rfind('/');
  if (cut == std::string::npos) return ".";
  return cut == 0 ? "/" : path.substr(0, cut);
}

// The file saves go to: the state file itself or, when it is a symbolic
// link (possibly to another link), the file the links lead to. Whether that
// file exists yet does not matter.
std::string StateTarget() {
  std::string path = kStatePath;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    char target[PATH_MAX];
    ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
    if (n <= 0) break;
    target[n] = '\0';
    path = target[0] == '/' ? std::string(target) : Folder(path) + "/" + target;
  }
  return path;
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = ENOSPC;
    if (n <= 0) return false;
    done += size_t(n);
  }
  return true;
}

// A name of our own beside the file it replaces, so the rename stays within
// one directory (and one file system) and concurrent saves never share a file.
std::string TempPath(const std::string& folder) {
  static std::atomic<unsigned> counter{0};
  return folder + "/" + kTempPrefix + std::to_string(getpid()) + "." +
         std::to_string(counter++);
}

// A process killed in the middle of a save leaves its temporary file behind.
// Those of processes that no longer run are removed; a live one may still be
// saving, so its files stay.
void RemoveAbandonedTemps(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
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
void SyncDirectory(const std::string& folder) {
  int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return;
  fsync(dir);
  close(dir);
}

// Removes the temporary file of a failed save, keeping the failure's errno.
int Abandon(const std::string& temp, int result) {
  int error = errno;
  unlink(temp.c_str());
  errno = error;
  return result;
}

// Replaces path with bytes: temporary file, fsync, rename. 0 when done, -1
// when no file could be created or put in place, -2 when the bytes could not
// all be written and made durable; errno tells why. The old file stays whole
// on any failure.
int ReplaceFile(const std::string& path, const std::string& bytes) {
  const std::string folder = Folder(path);
  const std::string temp = TempPath(folder);
  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return -1;
  bool ok = WriteAll(fd, bytes) && fsync(fd) == 0;
  if (!ok) {
    int error = errno;
    close(fd);
    errno = error;
    return Abandon(temp, -2);
  }
  if (close(fd) != 0) return Abandon(temp, -2);
  if (rename(temp.c_str(), path.c_str()) != 0) return Abandon(temp, -1);
  SyncDirectory(folder);
  return 0;
}

enum class Found { kNothing, kState, kUnusable };

// Reads the state file at path into bytes, never more than the limit. A
// missing file, or something that is no regular file (a folder, a pipe), is
// nothing to load; why a file is unusable goes to reason.
Found ReadState(const std::string& path, std::string* bytes, std::string* reason) {
  const std::string cannotRead = "cannot read " + path + ": ";
  const std::string tooLarge = path + " is larger than " + std::to_string(kStateLimit) + " bytes";
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return Found::kNothing;
    return *reason = cannotRead + strerror(errno), Found::kUnusable;
  }
  if (!S_ISREG(info.st_mode)) return Found::kNothing;
  if (size_t(info.st_size) > kStateLimit) return *reason = tooLarge, Found::kUnusable;
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return *reason = cannotRead + strerror(errno), Found::kUnusable;
  bytes->resize(kStateLimit + 1);  // one more byte tells a file that grew past the limit
  size_t got = 0;
  ssize_t n;
  while (got < bytes->size() && (n = read(fd, &(*bytes)[got], bytes->size() - got)) != 0) {
    if (n > 0) {
      got += size_t(n);
    } else if (errno != EINTR) {
      *reason = cannotRead + strerror(errno);
      close(fd);
      return Found::kUnusable;
    }
  }
  close(fd);
  bytes->resize(got);
  bytes->shrink_to_fit();
  if (got > kStateLimit) return *reason = tooLarge, Found::kUnusable;
  return Found::kState;
}

String Decode(std::string& bytes) {
  if (bytes.empty()) return String();
  FILE* memory = fmemopen(&bytes[0], bytes.size(), "rb");
  if (!memory) return String();
  String state = String::Load(memory);
  fclose(memory);
  return state;
}

}  // namespace

// While an unusable state file is still in place nothing is saved: the save
// would replace the player's file. errno tells why a save failed.
int BBGame::SaveState(String state) {
  const std::string target = StateTarget();
  if (!_unusableState.empty() && !SetAsideUnusableState(target)) return -1;
  return ReplaceFile(target, state.ToUtf8());
}

String BBGame::LoadState() {
  const std::string target = StateTarget();
  RemoveAbandonedTemps(Folder(target));
  _loadedState.clear();
  _unusableState.clear();
  switch (ReadState(target, &_loadedState, &_unusableState)) {
    case Found::kNothing:
      return String();
    case Found::kUnusable:
      _loadedState.clear();
      if (!SetAsideUnusableState(target)) {
        fprintf(stderr, "larkspin: %s; cannot move it to %s%s either (%s), so it is left "
                "alone and nothing is saved over it\n",
                _unusableState.c_str(), target.c_str(), kAsideSuffix, strerror(errno));
      }
      return String();
    case Found::kState:
      break;
  }
  return Decode(_loadedState);
}

// Moves the unusable file to its ".bad" name (replacing an older one) so
// that the next save starts afresh without destroying it.
bool BBGame::SetAsideUnusableState(const std::string& target) {
  const std::string aside = target + kAsideSuffix;
  if (rename(target.c_str(), aside.c_str()) == 0) {
    SyncDirectory(Folder(target));
    fprintf(stderr, "larkspin: %s; moved it to %s and started with defaults\n",
            _unusableState.c_str(), aside.c_str());
  } else if (errno != ENOENT) {  // gone meanwhile: nothing left to protect
    return false;
  }
  _unusableState.clear();
  return true;
}

// The game found a damaged section in what it loaded and falls back to
// defaults for it; the player's bytes are kept beside the state file.
int BBGame::KeepStateCopy() {
  if (_loadedState.empty()) return -1;
  const std::string target = StateTarget();
  const std::string aside = target + kAsideSuffix;
  int result = ReplaceFile(aside, _loadedState);
  if (result == 0) {
    fprintf(stderr, "larkspin: %s failed its checksum; kept a copy of it in %s\n",
            target.c_str(), aside.c_str());
  } else {
    fprintf(stderr, "larkspin: %s failed its checksum and cannot be copied to %s: %s\n",
            target.c_str(), aside.c_str(), strerror(errno));
  }
  _loadedState.clear();
  return result;
}
