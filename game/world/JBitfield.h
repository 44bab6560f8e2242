#pragma once
// A small bit array: bit i lives in 16-bit word i / 16 at position i % 16,
// least significant first. The road manager's cell field is one.
#include <cstdint>
#include <memory>

class JBitfield {
 public:
  JBitfield() = default;
  virtual ~JBitfield() = default;
  JBitfield(const JBitfield&) = delete;
  JBitfield& operator=(const JBitfield&) = delete;

  // Replaces the words by ceil(bits / 16) zeroed ones. Returns 0.
  virtual int32_t Create(uint32_t bits);
  virtual void Clear();
  // True when the bit changed. A bit beyond the words is never set: false.
  virtual bool Set(uint32_t bit, bool on);
  // False for a bit beyond the words.
  virtual bool Test(uint32_t bit);
  virtual uint32_t GetCount();

 private:
  uint32_t WordCount() const { return (bitCount_ + 15) / 16; }

  uint32_t bitCount_ = 0;
  std::unique_ptr<uint16_t[]> words_;
};
