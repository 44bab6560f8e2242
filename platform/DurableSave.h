#pragma once
// The one way the project writes a file. The bytes go to a new temporary
// file beside the target, under a name of its own that is created
// exclusively (never an existing file, whatever its case); the temporary is
// flushed to disk, renamed over the target, and then the folder is flushed
// so the rename itself survives a power loss. On any failure the temporary is
// removed and the target is left as it was.
//
// The target's folders resolve like every other name (any case); a target
// that does not exist yet keeps the case given.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class DurableFile {
 public:
  DurableFile() = default;
  // A file neither committed nor abandoned is abandoned.
  ~DurableFile();
  DurableFile(const DurableFile&) = delete;
  DurableFile& operator=(const DurableFile&) = delete;

  // Creates the temporary for `name`. False (with `why`) when the folder is
  // missing, the target is not a regular file, or nothing can be created.
  bool Begin(const std::string& name, std::string* why, const std::string& base = "");
  // Appends bytes. After a failed write every later one fails too, and
  // Commit refuses.
  bool Write(const void* data, size_t size);
  // Flushes, renames over the target and flushes the folder. False (with
  // `why`) when any step failed; the target then holds its old bytes unless
  // only the folder flush failed after the rename.
  bool Commit(std::string* why);
  // Removes the temporary; the target is untouched.
  void Abandon();

  bool IsOpen() const { return fd_ >= 0; }
  // The real path of the target and of the temporary (empty when closed).
  const std::string& TargetPath() const { return target_; }
  const std::string& TempPath() const { return temp_; }

 private:
  bool Flush();

  int fd_ = -1;
  bool failed_ = false;
  std::string error_;
  std::string target_;
  std::string temp_;
  std::vector<uint8_t> buffer_;
};

// Begin, Write and Commit in one call.
bool SaveFileDurably(const std::string& name, const void* data, size_t size, std::string* why,
                     const std::string& base = "");

}  // namespace platform
