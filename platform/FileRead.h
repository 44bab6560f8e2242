#pragma once
// The one way the project reads a file. A name resolves through the path
// resolver; what it names must be a regular file no larger than the reader's
// cap. Directories, pipes, sockets and devices are refused before any byte is
// read, and the open never waits for a pipe's writer. Whole-file reads take
// exactly the size the file had when it was opened: one that shrinks while
// being read is refused, one that grows is read up to that size.
//
// Every failure fills `why` (may be null): what kind of failure, for readers
// that word some of them their own way, and one line saying what was wrong,
// ready to follow the file's name ("<file> is a directory, not a file").
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace platform {

struct FileReadError {
  enum Kind { kNone, kMissing, kNotRegular, kTooLarge, kReadError };
  Kind kind = kNone;
  std::string text;
};

// Opens `name` for reading once it is known to be a regular file of at most
// `maxBytes` bytes; `size` (may be null) gets its length. Null on failure.
FILE* OpenRegularFile(const std::string& name, uint64_t maxBytes, uint64_t* size, FileReadError* why,
                      const std::string& base = "");

// The same checks on a file someone else opened; `left` gets the bytes from
// the current position to the end.
bool CheckRegularFile(FILE* file, uint64_t maxBytes, uint64_t* left, FileReadError* why);

// The whole file, from the resolver's name.
bool ReadFileBytes(const std::string& name, uint64_t maxBytes, std::vector<uint8_t>* bytes, FileReadError* why,
                   const std::string& base = "");
bool ReadFileText(const std::string& name, uint64_t maxBytes, std::string* text, FileReadError* why,
                  const std::string& base = "");

// The rest of an open file, from its current position.
bool ReadOpenFile(FILE* file, uint64_t maxBytes, std::vector<uint8_t>* bytes, FileReadError* why);

}  // namespace platform
