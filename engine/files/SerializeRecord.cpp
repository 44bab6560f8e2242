#include "engine/files/SerializeRecord.h"

#include <cstring>
#include <limits>

void SaveRecordWriter::PutU8(uint8_t v) { bytes_.push_back(v); }

void SaveRecordWriter::PutU16(uint16_t v) {
  bytes_.push_back(static_cast<uint8_t>(v));
  bytes_.push_back(static_cast<uint8_t>(v >> 8));
}

void SaveRecordWriter::PutU32(uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<uint8_t>(v >> shift));
}

void SaveRecordWriter::PutI32(int32_t v) { PutU32(static_cast<uint32_t>(v)); }

void SaveRecordWriter::PutF32(float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  PutU32(bits);
}

void SaveRecordWriter::PutBytes(const void* bytes, size_t n) {
  if (n == 0 || !bytes) return;
  const auto* p = static_cast<const uint8_t*>(bytes);
  bytes_.insert(bytes_.end(), p, p + n);
}

bool SaveRecordWriter::PutString8(std::string_view s) {
  if (s.size() > std::numeric_limits<uint8_t>::max()) return false;
  PutU8(static_cast<uint8_t>(s.size()));
  PutBytes(s.data(), s.size());
  return true;
}

bool SaveRecordWriter::PutString16(std::string_view s) {
  if (s.size() > std::numeric_limits<uint16_t>::max()) return false;
  PutU16(static_cast<uint16_t>(s.size()));
  PutBytes(s.data(), s.size());
  return true;
}

bool SaveRecordWriter::Release(SerialBlock* bytes, uint32_t* n) {
  if (!bytes || !n) return false;
  if (bytes_.size() > std::numeric_limits<uint32_t>::max()) return false;
  *n = static_cast<uint32_t>(bytes_.size());
  if (bytes_.empty()) {
    bytes->reset();
  } else {
    *bytes = std::make_unique<uint8_t[]>(bytes_.size());
    std::memcpy(bytes->get(), bytes_.data(), bytes_.size());
  }
  bytes_.clear();
  return true;
}

SaveRecordReader::SaveRecordReader(const uint8_t* bytes, uint32_t n)
    : bytes_(bytes), size_(bytes ? n : 0), ok_(bytes != nullptr || n == 0) {}

bool SaveRecordReader::Take(size_t n, const uint8_t** at) {
  if (!ok_ || n > size_ - pos_) {
    ok_ = false;
    return false;
  }
  *at = bytes_ + pos_;
  pos_ += n;
  return true;
}

bool SaveRecordReader::GetU8(uint8_t* v) {
  const uint8_t* p;
  if (!Take(1, &p)) return false;
  *v = p[0];
  return true;
}

bool SaveRecordReader::GetU16(uint16_t* v) {
  const uint8_t* p;
  if (!Take(2, &p)) return false;
  *v = static_cast<uint16_t>(p[0] | (p[1] << 8));
  return true;
}

bool SaveRecordReader::GetU32(uint32_t* v) {
  const uint8_t* p;
  if (!Take(4, &p)) return false;
  *v = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
  return true;
}

bool SaveRecordReader::GetI32(int32_t* v) {
  uint32_t u;
  if (!GetU32(&u)) return false;
  *v = static_cast<int32_t>(u);
  return true;
}

bool SaveRecordReader::GetF32(float* v) {
  uint32_t u;
  if (!GetU32(&u)) return false;
  std::memcpy(v, &u, sizeof u);
  return true;
}

bool SaveRecordReader::GetBytes(void* out, size_t n) {
  const uint8_t* p;
  if (!Take(n, &p)) return false;
  if (n) std::memcpy(out, p, n);
  return true;
}

bool SaveRecordReader::GetString8(std::string* s) {
  // Length and text are checked together so a failed read consumes nothing
  // a later caller could mistake for data.
  if (!ok_ || Remaining() < 1 || bytes_[pos_] > Remaining() - 1) {
    ok_ = false;
    return false;
  }
  const size_t n = bytes_[pos_];
  s->assign(reinterpret_cast<const char*>(bytes_ + pos_ + 1), n);
  pos_ += 1 + n;
  return true;
}

bool SaveRecordReader::GetString16(std::string* s) {
  if (!ok_ || Remaining() < 2) {
    ok_ = false;
    return false;
  }
  const size_t n = size_t(bytes_[pos_]) | (size_t(bytes_[pos_ + 1]) << 8);
  if (n > Remaining() - 2) {
    ok_ = false;
    return false;
  }
  s->assign(reinterpret_cast<const char*>(bytes_ + pos_ + 2), n);
  pos_ += 2 + n;
  return true;
}

bool SaveRecordReader::Skip(size_t n) {
  const uint8_t* p;
  return Take(n, &p);
}
