#pragma once
// A little-endian byte appender for building file fixtures field by field
// from the documented layouts, independent of the product's writers.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct Bytes {
  std::vector<uint8_t> b;
  Bytes& u8(uint8_t v) {
    b.push_back(v);
    return *this;
  }
  Bytes& u16(uint16_t v) { return u8(uint8_t(v)).u8(uint8_t(v >> 8)); }
  Bytes& i16(int16_t v) { return u16(uint16_t(v)); }
  Bytes& u32(uint32_t v) { return u16(uint16_t(v)).u16(uint16_t(v >> 16)); }
  Bytes& f32(float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    return u32(v);
  }
  Bytes& raw(const std::string& s) {
    b.insert(b.end(), s.begin(), s.end());
    return *this;
  }
  Bytes& raw(const std::vector<uint8_t>& v) {
    b.insert(b.end(), v.begin(), v.end());
    return *this;
  }
  Bytes& zeros(size_t n) {
    b.insert(b.end(), n, 0);
    return *this;
  }
  // A string as a signed 16-bit length and its bytes.
  Bytes& str16(const std::string& s) { return i16(int16_t(s.size())).raw(s); }
  size_t size() const { return b.size(); }
};
