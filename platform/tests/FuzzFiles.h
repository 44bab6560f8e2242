#pragma once
// Files for fuzz targets that exercise a reader's or writer's file path. The
// work directory is made once per process on a memory-backed file system
// where there is one, so the durable writer's flushes cost nothing and the
// target keeps its pace; it is removed when the process ends. Inputs are
// written plainly: they are the target's fixtures, not the project's saves.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/Paths.h"

inline const std::string& FuzzWorkDir() {
  static const std::string dir = [] {
    static std::string made;
    const bool shm = std::filesystem::is_directory("/dev/shm");
    std::string pattern = (shm ? std::string("/dev/shm") : std::filesystem::temp_directory_path().string()) +
                          "/fuzzwork_XXXXXX";
    if (!::mkdtemp(pattern.data())) std::abort();
    made = pattern;
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(made, ignored);
    });
    return made;
  }();
  return dir;
}

inline std::string FuzzFile(const std::string& name) { return FuzzWorkDir() + "/" + name; }

// Writes `data` to `path`, replacing it; aborts when it cannot.
inline void FuzzWriteFile(const std::string& path, const void* data, size_t size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f || (size && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0) std::abort();
  platform::ClearPathCache();
}
