#include "platform/FileRead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Paths.h"

namespace platform {
namespace {

bool Say(FileReadError* why, FileReadError::Kind kind, std::string text) {
  if (why) {
    why->kind = kind;
    why->text = std::move(text);
  }
  return false;
}

const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISFIFO(mode)) return "a pipe";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

// Checks an open descriptor; `left` gets the bytes after `position`.
bool CheckDescriptor(int fd, int64_t position, uint64_t maxBytes, uint64_t* left, FileReadError* why) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    Say(why, FileReadError::kReadError, std::string("cannot be examined: ") + std::strerror(errno));
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    Say(why, FileReadError::kNotRegular, std::string("is ") + KindOf(st.st_mode) + ", not a file; not read");
    return false;
  }
  const uint64_t size = st.st_size < 0 ? 0 : static_cast<uint64_t>(st.st_size);
  const uint64_t rest = position < 0 || static_cast<uint64_t>(position) > size ? 0 : size - static_cast<uint64_t>(position);
  if (rest > maxBytes) {
    Say(why, FileReadError::kTooLarge, "is " + std::to_string(rest) + " bytes, larger than the " + std::to_string(maxBytes) +
                 " this reader takes; not read");
    return false;
  }
  if (left) *left = rest;
  return true;
}

// Reads exactly `count` bytes into `out`.
template <typename Buffer>
bool ReadExactly(FILE* file, uint64_t count, Buffer* out, FileReadError* why) {
  out->resize(static_cast<size_t>(count));
  const size_t got = count == 0 ? 0 : std::fread(out->data(), 1, out->size(), file);
  if (got == out->size()) return true;
  const bool error = std::ferror(file) != 0;
  Say(why, FileReadError::kReadError, error ? std::string("read error: ") + std::strerror(errno)
                 : "ended after " + std::to_string(got) + " of its " + std::to_string(count) + " bytes (shrank while read)");
  out->clear();
  return false;
}

template <typename Buffer>
bool ReadNamed(const std::string& name, uint64_t maxBytes, Buffer* out, FileReadError* why, const std::string& base) {
  if (!out) return false;
  out->clear();
  uint64_t size = 0;
  FILE* file = OpenRegularFile(name, maxBytes, &size, why, base);
  if (!file) return false;
  const bool ok = ReadExactly(file, size, out, why);
  std::fclose(file);
  return ok;
}

}  // namespace

FILE* OpenRegularFile(const std::string& name, uint64_t maxBytes, uint64_t* size, FileReadError* why,
                      const std::string& base) {
  std::string real;
  if (!ResolvePath(name, &real, base)) {
    Say(why, FileReadError::kMissing, "does not exist");
    return nullptr;
  }
  // Non-blocking, so that opening a pipe with no writer returns at once; the
  // flag is dropped again once the file is known to be regular.
  const int fd = ::open(real.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    Say(why, errno == ENOENT ? FileReadError::kMissing : FileReadError::kReadError, std::string("cannot be opened: ") + std::strerror(errno));
    return nullptr;
  }
  uint64_t length = 0;
  if (!CheckDescriptor(fd, 0, maxBytes, &length, why)) {
    ::close(fd);
    return nullptr;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    Say(why, errno == ENOENT ? FileReadError::kMissing : FileReadError::kReadError, std::string("cannot be opened: ") + std::strerror(errno));
    ::close(fd);
    return nullptr;
  }
  FILE* file = ::fdopen(fd, "rb");
  if (!file) {
    Say(why, errno == ENOENT ? FileReadError::kMissing : FileReadError::kReadError, std::string("cannot be opened: ") + std::strerror(errno));
    ::close(fd);
    return nullptr;
  }
  if (size) *size = length;
  return file;
}

bool CheckRegularFile(FILE* file, uint64_t maxBytes, uint64_t* left, FileReadError* why) {
  if (!file) {
    Say(why, FileReadError::kMissing, "is not open");
    return false;
  }
  const int fd = ::fileno(file);
  if (fd < 0) {
    Say(why, FileReadError::kReadError, "has no descriptor; not read");
    return false;
  }
  struct stat st {};
  // The position only means something for a regular file; asking a pipe for
  // it fails, and the kind check below says why it is refused.
  const int64_t position = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? ::ftello(file) : 0;
  return CheckDescriptor(fd, position, maxBytes, left, why);
}

bool ReadFileBytes(const std::string& name, uint64_t maxBytes, std::vector<uint8_t>* bytes, FileReadError* why,
                   const std::string& base) {
  return ReadNamed(name, maxBytes, bytes, why, base);
}

bool ReadFileText(const std::string& name, uint64_t maxBytes, std::string* text, FileReadError* why,
                  const std::string& base) {
  return ReadNamed(name, maxBytes, text, why, base);
}

bool ReadOpenFile(FILE* file, uint64_t maxBytes, std::vector<uint8_t>* bytes, FileReadError* why) {
  if (!bytes) return false;
  bytes->clear();
  uint64_t left = 0;
  if (!CheckRegularFile(file, maxBytes, &left, why)) return false;
  return ReadExactly(file, left, bytes, why);
}

}  // namespace platform
