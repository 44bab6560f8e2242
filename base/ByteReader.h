#pragma once
// Bounded little-endian reading over a byte span. Every read checks the bytes
// left first; the first short read latches a failure, after which every read
// returns zero and nothing moves. Readers of untrusted files check Ok() at
// section boundaries instead of after every field.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

class ByteReader {
 public:
  ByteReader() = default;
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool Ok() const { return ok_; }
  size_t Position() const { return pos_; }
  size_t Size() const { return size_; }
  size_t Remaining() const { return ok_ ? size_ - pos_ : 0; }
  const uint8_t* Current() const { return data_ + pos_; }
  void Fail() { ok_ = false; }

  // True when `count` more bytes are available; latches the failure otherwise.
  bool Need(size_t count) {
    if (!ok_ || count > size_ - pos_) {
      ok_ = false;
      return false;
    }
    return true;
  }
  bool Skip(size_t count) {
    if (!Need(count)) return false;
    pos_ += count;
    return true;
  }
  bool Seek(size_t position) {
    if (!ok_ || position > size_) {
      ok_ = false;
      return false;
    }
    pos_ = position;
    return true;
  }
  bool Bytes(void* out, size_t count) {
    if (!Need(count)) return false;
    if (count) std::memcpy(out, data_ + pos_, count);
    pos_ += count;
    return true;
  }
  uint8_t U8() {
    if (!Need(1)) return 0;
    return data_[pos_++];
  }
  uint16_t U16() {
    if (!Need(2)) return 0;
    const uint16_t v = static_cast<uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
  }
  int16_t I16() { return static_cast<int16_t>(U16()); }
  uint32_t U32() {
    if (!Need(4)) return 0;
    const uint32_t v = static_cast<uint32_t>(data_[pos_]) | (static_cast<uint32_t>(data_[pos_ + 1]) << 8) |
                       (static_cast<uint32_t>(data_[pos_ + 2]) << 16) |
                       (static_cast<uint32_t>(data_[pos_ + 3]) << 24);
    pos_ += 4;
    return v;
  }
  int32_t I32() { return static_cast<int32_t>(U32()); }
  float F32() {
    const uint32_t bits = U32();
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }
  // `count` raw bytes as a string; fails (and returns empty) when short.
  std::string String(size_t count) {
    if (!Need(count)) return {};
    std::string s(reinterpret_cast<const char*>(data_ + pos_), count);
    pos_ += count;
    return s;
  }

 private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  size_t pos_ = 0;
  bool ok_ = true;
};
