#include "platform/DurableSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "platform/Paths.h"

namespace platform {
namespace {

constexpr size_t kBufferBytes = 64 * 1024;
// Names tried before giving up: each is taken only if it does not exist.
constexpr int kNameAttempts = 64;

std::string ErrnoText(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

// A name part that differs between processes, calls and attempts.
std::string UniquePart() {
  static std::atomic<uint64_t> counter{0};
  const uint64_t n = counter.fetch_add(1);
  const uint64_t t = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  uint64_t mix = (t ^ (n * 0x9E3779B97F4A7C15ull)) + static_cast<uint64_t>(::getpid()) * 0xBF58476D1CE4E5B9ull;
  static const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::string out;
  for (int i = 0; i < 8; ++i, mix /= 36) out += kDigits[mix % 36];
  return out;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

DurableFile::~DurableFile() { Abandon(); }

bool DurableFile::Begin(const std::string& name, std::string* why, const std::string& base) {
  Abandon();
  auto fail = [why](std::string text) {
    if (why) *why = std::move(text);
    return false;
  };
  std::string target;
  if (!ResolvePathForWrite(name, &target, base)) return fail("its folder does not exist");
  struct stat st {};
  mode_t mode = 0666;
  if (::stat(target.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) return fail("exists and is not a regular file; not replaced");
    // The new file keeps the permissions of the one it replaces.
    mode = st.st_mode & 07777;
  }
  // The temporary is opened by its exact name, created here and only here.
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string temp = target + "." + UniquePart() + ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return fail(ErrnoText("cannot create a temporary file beside it"));
    }
    if (mode != 0666) (void)::fchmod(fd, mode);
    fd_ = fd;
    failed_ = false;
    error_.clear();
    target_ = target;
    temp_ = temp;
    buffer_.clear();
    buffer_.reserve(kBufferBytes);
    return true;
  }
  return fail("no free temporary name beside it");
}

bool DurableFile::Flush() {
  if (failed_ || fd_ < 0) return false;
  if (!buffer_.empty() && !WriteAll(fd_, buffer_.data(), buffer_.size())) {
    failed_ = true;
    error_ = ErrnoText("write failed");
  }
  buffer_.clear();
  return !failed_;
}

bool DurableFile::Write(const void* data, size_t size) {
  if (fd_ < 0 || failed_) return false;
  if (size == 0) return true;
  if (!data) {
    failed_ = true;
    error_ = "nothing to write from";
    return false;
  }
  const auto* bytes = static_cast<const uint8_t*>(data);
  if (buffer_.size() + size > kBufferBytes && !Flush()) return false;
  if (size >= kBufferBytes) {
    if (!WriteAll(fd_, bytes, size)) {
      failed_ = true;
      error_ = ErrnoText("write failed");
      return false;
    }
    return true;
  }
  buffer_.insert(buffer_.end(), bytes, bytes + size);
  return true;
}

bool DurableFile::Commit(std::string* why) {
  auto fail = [this, why](std::string text) {
    if (why) *why = std::move(text);
    Abandon();
    return false;
  };
  if (fd_ < 0) return fail("was not opened for writing");
  if (!Flush()) return fail(error_);
  if (::fsync(fd_) != 0) return fail(ErrnoText("cannot flush to disk"));
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return fail(ErrnoText("cannot close"));
  if (std::rename(temp_.c_str(), target_.c_str()) != 0) return fail(ErrnoText("cannot replace it"));
  temp_.clear();
  ClearPathCache();
  // The rename lives in the folder: without flushing it a power loss could
  // bring back the old name, or neither. Filesystems that cannot flush a
  // folder say EINVAL; there is nothing more to do on those.
  bool folderFlushed = true;
  const int dir = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0 || (::fsync(dir) != 0 && errno != EINVAL)) folderFlushed = false;
  const std::string folderError = folderFlushed ? std::string() : ErrnoText("written, but its folder cannot be flushed");
  if (dir >= 0) ::close(dir);
  target_.clear();
  if (!folderFlushed) {
    if (why) *why = folderError;
    return false;
  }
  return true;
}

void DurableFile::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
  target_.clear();
  buffer_.clear();
  failed_ = false;
}

bool SaveFileDurably(const std::string& name, const void* data, size_t size, std::string* why,
                     const std::string& base) {
  DurableFile file;
  if (!file.Begin(name, why, base)) return false;
  // A failed write makes Commit refuse, with the reason.
  file.Write(data, size);
  return file.Commit(why);
}

}  // namespace platform
