#pragma once
// A fresh directory for one test's files, removed with everything in it when
// the test ends.
#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

class ConfigScratchDir {
 public:
  ConfigScratchDir() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("cfgtest-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ConfigScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ConfigScratchDir(const ConfigScratchDir&) = delete;
  ConfigScratchDir& operator=(const ConfigScratchDir&) = delete;

  std::string File(std::string_view name) const { return (path_ / name).string(); }

  std::string Write(std::string_view name, std::string_view bytes) const {
    const std::string file = File(name);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
  }

  std::string Read(std::string_view name) const {
    std::ifstream in(File(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path path_;
};
