#include "renderer/formats/STexture2File.h"

#include <cstring>

#include "platform/DebugOutput.h"
#include "platform/FileRead.h"
#include "platform/Paths.h"

bool STexture2File::Open(const std::string& name) {
  Close();
  std::string real;
  if (!platform::ResolvePath(name, &real)) return false;
  // Read in pieces as needed, so the cap only bounds the offsets trusted.
  constexpr uint64_t kMaxTextureFileBytes = uint64_t{1} << 30;
  platform::FileReadError why;
  uint64_t size = 0;
  file_ = platform::OpenRegularFile(real, kMaxTextureFileBytes, &size, &why);
  if (!file_) {
    platform::DebugPrintf("texture file \"%s\" %s\n", name.c_str(), why.text.c_str());
    return false;
  }
  size_ = size;
  position_ = 0;
  path_ = real;
  return true;
}

void STexture2File::SetMemory(std::vector<uint8_t> bytes, std::string path) {
  Close();
  bytes_ = std::move(bytes);
  size_ = bytes_.size();
  path_ = std::move(path);
  memory_ = true;
}

void STexture2File::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  memory_ = false;
  bytes_.clear();
  size_ = 0;
  position_ = 0;
}

bool STexture2File::ReadAt(uint64_t offset, void* out, size_t count) {
  if (offset > size_ || count > size_ - offset) return false;
  if (count == 0) return true;
  if (memory_) {
    std::memcpy(out, bytes_.data() + offset, count);
    return true;
  }
  if (!file_) return false;
  if (position_ != offset && std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return false;
  const size_t got = std::fread(out, 1, count, file_);
  position_ = offset + got;
  return got == count;
}

bool STexture2Cursor::Bytes(void* out, size_t count) {
  if (!ok_ || !file_->ReadAt(pos_, out, count)) return ok_ = false;
  pos_ += count;
  return true;
}

uint16_t STexture2Cursor::U16() {
  uint8_t b[2] = {0, 0};
  if (!Bytes(b, 2)) return 0;
  return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

uint32_t STexture2Cursor::U32() {
  uint8_t b[4] = {0, 0, 0, 0};
  if (!Bytes(b, 4)) return 0;
  return uint32_t{b[0]} | (uint32_t{b[1]} << 8) | (uint32_t{b[2]} << 16) | (uint32_t{b[3]} << 24);
}

std::string STexture2Cursor::String(uint64_t count) {
  if (!ok_ || count > Remaining()) {
    ok_ = false;
    return {};
  }
  std::string s(static_cast<size_t>(count), '\0');
  if (count && !Bytes(s.data(), s.size())) return {};
  return s;
}

bool STexture2Cursor::Skip(uint64_t count) {
  if (!ok_ || count > Remaining()) return ok_ = false;
  pos_ += count;
  return true;
}
