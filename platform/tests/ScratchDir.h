#pragma once
// A fresh directory for one test's files, removed with everything in it when
// the test ends. Creating it and writing into it forget the path resolver's
// cached listings, so a file just written is found by any case.
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "platform/Paths.h"

class ScratchDir {
 public:
  ScratchDir() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("gametest-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
    platform::ClearPathCache();
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& Root() const { return path_; }
  std::string File(std::string_view name) const { return (path_ / name).string(); }

  // Writes `bytes` to `name` (a path below the directory; missing folders
  // are made) and returns the full path.
  std::string Write(std::string_view name, std::string_view bytes) const {
    const std::string file = File(name);
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    platform::ClearPathCache();
    return file;
  }

  std::string Write(std::string_view name, const std::vector<uint8_t>& bytes) const {
    return Write(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }

  std::string Read(std::string_view name) const {
    std::ifstream in(File(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path path_;
};
