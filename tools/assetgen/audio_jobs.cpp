// Sound jobs write one WAV each; tune jobs render, encode and write one Ogg.
#include "audio_jobs.h"

#include <cstdio>

#include "music.h"
#include "ogg.h"
#include "png.h"
#include "sfx.h"
#include "wav.h"

namespace assetgen {

namespace {

// "sfx/" + the number in at least three digits, as the game names them.
std::string SoundPath(const std::string& dataDir, int n) {
  char name[32];
  std::snprintf(name, sizeof name, "sfx/%03d.wav", n);
  return dataDir + "/" + name;
}

bool Report(bool ok, const std::string& path) {
  if (!ok) std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
  return ok;
}

}  // namespace

std::vector<Job> SoundJobs(const std::string& dataDir) {
  std::vector<Job> jobs;
  for (int n : SoundNumbers()) {
    jobs.push_back({"sound " + std::to_string(n), [n, dataDir] {
                      std::string path = SoundPath(dataDir, n);
                      return Report(WriteFile(path, EncodeWav(MakeSound(n), 1, kSampleRate)), path);
                    }});
  }
  return jobs;
}

std::vector<Job> TuneJobs(const std::string& dataDir) {
  std::vector<Job> jobs;
  int serial = 0x4c53;  // fixed: the stream serial is part of the file's bytes
  for (const char* name : {"fish", "Calligraphyb", "Calligraphyc"}) {
    int thisSerial = serial++;
    std::string tune = name;
    jobs.push_back({"tune " + tune, [tune, thisSerial, dataDir] {
                      for (const Song& song : AllTunes()) {
                        if (song.name != tune) continue;
                        std::vector<uint8_t> ogg = EncodeOgg(RenderSong(song), 2, kSampleRate, 0.25f, thisSerial);
                        std::string path = dataDir + "/sfx/" + tune + ".ogg";
                        return Report(!ogg.empty() && WriteFile(path, ogg), path);
                      }
                      return false;
                    }});
  }
  return jobs;
}

}  // namespace assetgen
