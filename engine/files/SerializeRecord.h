#pragma once
// Packing and unpacking the contents of one save block. Every integer is
// little-endian with the width stated, floats are their 32-bit IEEE bits,
// strings carry a 1- or 2-byte length and no terminator.
//
// The reader checks every read against the bytes left: a read past the end
// fails, leaves its output untouched, and makes every later read fail too,
// so a decoder can read a whole record and check Ok() once at the end.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/files/SerializedObject.h"

class SaveRecordWriter {
 public:
  void PutU8(uint8_t v);
  void PutU16(uint16_t v);
  void PutU32(uint32_t v);
  void PutI32(int32_t v);
  void PutF32(float v);
  void PutBytes(const void* bytes, size_t n);
  // False (and nothing written) when the text is too long for its length field.
  bool PutString8(std::string_view s);
  bool PutString16(std::string_view s);

  size_t Size() const { return bytes_.size(); }
  const uint8_t* Data() const { return bytes_.data(); }
  // Hands the bytes out as one block the caller owns (null when empty) and
  // starts over. False when the record outgrew a block's 32-bit count.
  bool Release(SerialBlock* bytes, uint32_t* n);

 private:
  std::vector<uint8_t> bytes_;
};

class SaveRecordReader {
 public:
  SaveRecordReader(const uint8_t* bytes, uint32_t n);

  bool GetU8(uint8_t* v);
  bool GetU16(uint16_t* v);
  bool GetU32(uint32_t* v);
  bool GetI32(int32_t* v);
  bool GetF32(float* v);
  bool GetBytes(void* out, size_t n);
  bool GetString8(std::string* s);
  bool GetString16(std::string* s);
  bool Skip(size_t n);

  size_t Remaining() const { return ok_ ? size_ - pos_ : 0; }
  size_t Position() const { return pos_; }
  const uint8_t* Current() const { return bytes_ + pos_; }
  bool Ok() const { return ok_; }

 private:
  bool Take(size_t n, const uint8_t** at);

  const uint8_t* bytes_;
  size_t size_;
  size_t pos_ = 0;
  bool ok_ = true;
};
