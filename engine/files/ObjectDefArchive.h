#pragma once
// The binary archive that ObjectDef and ObjectDefList serialize through: a
// byte buffer written in storing mode or read back in loading mode, with the
// framework's encodings for strings (a length prefix of 1, 3 or 7 bytes) and
// element counts (2 or 6 bytes). Every read is checked against the bytes
// left; the first failure puts the archive in an error state and every later
// read fails too.
#include <cstdint>
#include <string>
#include <vector>

#include "base/Status.h"

class ObjectDefArchive {
 public:
  // An archive that stores into an empty buffer.
  ObjectDefArchive();
  // An archive that loads from `bytes` (copied).
  explicit ObjectDefArchive(std::vector<uint8_t> bytes);

  bool IsStoring() const { return storing_; }
  bool IsLoading() const { return !storing_; }
  bool Failed() const { return failed_; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  size_t BytesLeft() const { return bytes_.size() - pos_; }

  void WriteUInt32(uint32_t v);
  void WriteString(const std::string& s);
  void WriteCount(uint32_t n);

  bool ReadUInt32(uint32_t* v);
  bool ReadString(std::string* s);
  bool ReadCount(uint32_t* n);

  // Marks the archive failed (a reader found a count it cannot honour).
  void Fail() { failed_ = true; }

 private:
  bool ReadBytes(void* out, size_t n);
  void WriteBytes(const void* data, size_t n);

  std::vector<uint8_t> bytes_;
  size_t pos_ = 0;
  bool storing_;
  bool failed_ = false;
};
