#include "engine/files/ObjectDefArchive.h"

#include <cstring>

ObjectDefArchive::ObjectDefArchive() : storing_(true) {}

ObjectDefArchive::ObjectDefArchive(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)), storing_(false) {}

void ObjectDefArchive::WriteBytes(const void* data, size_t n) {
  const auto* p = static_cast<const uint8_t*>(data);
  bytes_.insert(bytes_.end(), p, p + n);
}

bool ObjectDefArchive::ReadBytes(void* out, size_t n) {
  if (failed_ || n > BytesLeft()) {
    failed_ = true;
    return false;
  }
  std::memcpy(out, bytes_.data() + pos_, n);
  pos_ += n;
  return true;
}

// Little-endian on disk, whatever the host.
void ObjectDefArchive::WriteUInt32(uint32_t v) {
  const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
  WriteBytes(b, 4);
}

bool ObjectDefArchive::ReadUInt32(uint32_t* v) {
  uint8_t b[4];
  if (!ReadBytes(b, 4)) return false;
  *v = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
  return true;
}

void ObjectDefArchive::WriteString(const std::string& s) {
  const size_t n = s.size();
  if (n < 0xFF) {
    const uint8_t b = uint8_t(n);
    WriteBytes(&b, 1);
  } else if (n < 0xFFFE) {
    const uint8_t b[3] = {0xFF, uint8_t(n), uint8_t(n >> 8)};
    WriteBytes(b, 3);
  } else {
    const uint8_t b[3] = {0xFF, 0xFF, 0xFF};
    WriteBytes(b, 3);
    WriteUInt32(uint32_t(n));
  }
  WriteBytes(s.data(), n);
}

bool ObjectDefArchive::ReadString(std::string* s) {
  uint8_t b = 0;
  if (!ReadBytes(&b, 1)) return false;
  uint32_t n = b;
  if (b == 0xFF) {
    uint8_t w[2];
    if (!ReadBytes(w, 2)) return false;
    n = uint32_t(w[0]) | uint32_t(w[1]) << 8;
    if (n == 0xFFFE) {  // the wide-character marker: this archive holds bytes only
      failed_ = true;
      return false;
    }
    if (n == 0xFFFF && !ReadUInt32(&n)) return false;
  }
  if (n > BytesLeft()) {
    failed_ = true;
    return false;
  }
  s->assign(reinterpret_cast<const char*>(bytes_.data() + pos_), n);
  pos_ += n;
  return true;
}

void ObjectDefArchive::WriteCount(uint32_t n) {
  if (n < 0xFFFF) {
    const uint8_t b[2] = {uint8_t(n), uint8_t(n >> 8)};
    WriteBytes(b, 2);
  } else {
    const uint8_t b[2] = {0xFF, 0xFF};
    WriteBytes(b, 2);
    WriteUInt32(n);
  }
}

bool ObjectDefArchive::ReadCount(uint32_t* n) {
  uint8_t b[2];
  if (!ReadBytes(b, 2)) return false;
  *n = uint32_t(b[0]) | uint32_t(b[1]) << 8;
  if (*n == 0xFFFF) return ReadUInt32(n);
  return true;
}
