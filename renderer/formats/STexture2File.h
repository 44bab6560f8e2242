#pragma once
// A ".stx" byte source: an open file (through the project's path resolver)
// or bytes already in memory. Reads are positioned and bounded by the size,
// so the loader can read the structure first and seek straight to planes.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class STexture2File {
 public:
  STexture2File() = default;
  ~STexture2File() { Close(); }
  STexture2File(const STexture2File&) = delete;
  STexture2File& operator=(const STexture2File&) = delete;

  // Opens `name` (any case, '\' or '/') for binary reading.
  bool Open(const std::string& name);
  // Serves `bytes` as if read from `path` (which externalised levels and
  // later format loads use as the stream's location).
  void SetMemory(std::vector<uint8_t> bytes, std::string path);
  void Close();

  bool IsOpen() const { return file_ != nullptr || memory_; }
  const std::string& Path() const { return path_; }
  uint64_t Size() const { return size_; }
  // All `count` bytes at `offset`, or false (nothing partial is promised).
  bool ReadAt(uint64_t offset, void* out, size_t count);

 private:
  FILE* file_ = nullptr;
  bool memory_ = false;
  std::vector<uint8_t> bytes_;
  std::string path_;
  uint64_t size_ = 0;
  uint64_t position_ = 0;  // of file_, to skip needless seeks
};

// Sequential little-endian reads over an STexture2File; the first short read
// latches a failure.
class STexture2Cursor {
 public:
  explicit STexture2Cursor(STexture2File* file, uint64_t position = 0) : file_(file), pos_(position) {}
  bool Ok() const { return ok_; }
  uint64_t Remaining() const { return ok_ && pos_ <= file_->Size() ? file_->Size() - pos_ : 0; }
  bool Bytes(void* out, size_t count);
  uint16_t U16();
  uint32_t U32();
  // `count` bytes as a string; refuses counts past the end before allocating.
  std::string String(uint64_t count);
  bool Skip(uint64_t count);

 private:
  STexture2File* file_;
  uint64_t pos_;
  bool ok_ = true;
};
