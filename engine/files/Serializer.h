#pragma once
// The save file: a sequence of length-prefixed byte blocks. Each block is a
// 4-byte unsigned count, least significant byte first, then exactly that
// many bytes; blocks follow each other with nothing between or after them.
// One serializer opens one file, is used in one direction and is closed.
#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/files/SerializedObject.h"

class cSerializer {
 public:
  static constexpr int kModeRead = 0;
  static constexpr int kModeWrite = 1;

  cSerializer() = default;
  // Closes a file still open. A write that was never closed is abandoned:
  // the file it was replacing is left as it was.
  virtual ~cSerializer();
  cSerializer(const cSerializer&) = delete;
  cSerializer& operator=(const cSerializer&) = delete;

  // Opens the file, for writing when `write` is true, else for reading.
  // Writing goes to a temporary sibling that Close renames over the target,
  // so an interrupted save never leaves a truncated file behind.
  virtual bool Initialize(const std::string& fileName, bool write);
  // False when no file is open, or when a write failed (the target is then
  // left untouched).
  virtual bool Close();
  virtual bool WriteBlock(const uint8_t* bytes, uint32_t n);
  // Hands out a block the caller owns (null when n is 0). A count larger
  // than the bytes left in the file is refused without allocating. On any
  // failure the outputs are null and 0 and the stream is left at its end.
  virtual bool ReadBlock(SerialBlock* bytes, uint32_t* n);

  // Position in the file, for readers that look ahead and come back.
  int64_t GetPosition() const;
  bool SetPosition(int64_t position);

  bool IsOpen() const { return file_ != nullptr; }
  int Mode() const { return mode_; }

 private:
  void Abandon();

  FILE* file_ = nullptr;
  int mode_ = kModeRead;
  int64_t fileSize_ = 0;     // reading: the file's length in bytes
  bool writeFailed_ = false;
  std::string target_;       // writing: the real file name
  std::string temp_;         // writing: where the bytes go until Close
};
