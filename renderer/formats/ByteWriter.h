#pragma once
// Little-endian appending into a growing byte buffer: the writers' half of
// ByteReader.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

class ByteWriter {
 public:
  explicit ByteWriter(std::vector<uint8_t>* out) : out_(out) {}

  void U8(uint8_t v) { out_->push_back(v); }
  void U16(uint16_t v) {
    out_->push_back(static_cast<uint8_t>(v));
    out_->push_back(static_cast<uint8_t>(v >> 8));
  }
  void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) out_->push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void F32(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    U32(bits);
  }
  void Bytes(const void* data, size_t count) {
    if (count == 0) return;
    const size_t at = out_->size();
    out_->resize(at + count);
    std::memcpy(out_->data() + at, data, count);
  }
  void Text(std::string_view s) { Bytes(s.data(), s.size()); }
  void Zeros(size_t count) { out_->insert(out_->end(), count, 0); }
  size_t Size() const { return out_->size(); }

 private:
  std::vector<uint8_t>* out_;
};
