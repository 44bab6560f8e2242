#pragma once
// The save file: a sequence of length-prefixed byte blocks. Each block is a
// 4-byte unsigned count, least significant byte first, then exactly that
// many bytes; blocks follow each other with nothing between or after them.
// One serializer opens one file, is used in one direction and is closed.
#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/files/SerializedObject.h"
#include "platform/DurableSave.h"

class cSerializer {
 public:
  static constexpr int kModeRead = 0;
  static constexpr int kModeWrite = 1;
  // The largest save read. Blocks are read one at a time, so this only
  // bounds what a block count may claim.
  static constexpr uint64_t kMaxFileBytes = uint64_t{1} << 30;

  cSerializer() = default;
  // Closes a file still open. A write that was never closed is abandoned:
  // the file it was replacing is left as it was.
  virtual ~cSerializer();
  cSerializer(const cSerializer&) = delete;
  cSerializer& operator=(const cSerializer&) = delete;

  // Opens the file, for writing when `write` is true, else for reading.
  // Writing goes to a new temporary file beside the target that Close
  // flushes to disk and renames over it, so an interrupted save never leaves
  // a truncated file behind. Reading refuses what is not a regular file.
  virtual bool Initialize(const std::string& fileName, bool write);
  // False when no file is open, or when a write failed (the target is then
  // left untouched).
  virtual bool Close();
  virtual bool WriteBlock(const uint8_t* bytes, uint32_t n);
  // Hands out a block the caller owns (null when n is 0). A count larger
  // than the bytes left in the file is refused without allocating. On any
  // failure the outputs are null and 0, and reading stops there: the end of
  // the file, a block cut short, or a read error (ReadFailed tells which).
  virtual bool ReadBlock(SerialBlock* bytes, uint32_t* n);
  // True once reading failed for a reason other than the file ending.
  bool ReadFailed() const { return readFailed_; }

  // Position in the file, for readers that look ahead and come back
  // (writing: the bytes written so far, and no moving back).
  int64_t GetPosition() const;
  bool SetPosition(int64_t position);

  bool IsOpen() const { return file_ != nullptr || save_.IsOpen(); }
  int Mode() const { return mode_; }

 private:
  bool StopReading();

  FILE* file_ = nullptr;          // reading
  platform::DurableFile save_;    // writing
  int mode_ = kModeRead;
  int64_t fileSize_ = 0;     // reading: the file's length in bytes
  int64_t written_ = 0;      // writing: bytes written so far
  bool stopped_ = false;     // reading: a block could not be read whole
  bool readFailed_ = false;  // reading: ... because of a read error
  bool writeFailed_ = false;
};
