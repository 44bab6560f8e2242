#include "game/world/JBitfield.h"

#include <algorithm>
#include <new>

int32_t JBitfield::Create(uint32_t bits) {
  words_.reset();
  bitCount_ = 0;
  const uint32_t words = static_cast<uint32_t>((uint64_t{bits} + 15) / 16);
  if (words) {
    words_.reset(new (std::nothrow) uint16_t[words]);
    if (!words_) return 0;
    std::fill_n(words_.get(), words, uint16_t{0});
  }
  bitCount_ = bits;
  return 0;
}

void JBitfield::Clear() {
  if (words_) std::fill_n(words_.get(), WordCount(), uint16_t{0});
}

bool JBitfield::Set(uint32_t bit, bool on) {
  if (!words_ || bit / 16 >= WordCount()) return false;
  uint16_t& word = words_[bit / 16];
  const uint16_t mask = static_cast<uint16_t>(1u << (bit % 16));
  const bool isSet = (word & mask) != 0;
  if (on == isSet) return false;
  word = static_cast<uint16_t>(on ? (word | mask) : (word & ~mask));
  return true;
}

bool JBitfield::Test(uint32_t bit) {
  if (!words_ || bit / 16 >= WordCount()) return false;
  return (words_[bit / 16] >> (bit % 16)) & 1u;
}

uint32_t JBitfield::GetCount() { return bitCount_; }
