#include "engine/files/Serializer.h"

#include <cerrno>
#include <cstring>

#include "platform/DebugOutput.h"
#include "platform/FileRead.h"

cSerializer::~cSerializer() {
  // An unclosed write is abandoned by the durable file's own destructor.
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

bool cSerializer::Initialize(const std::string& fileName, bool write) {
  if (IsOpen()) Close();
  mode_ = write ? kModeWrite : kModeRead;
  writeFailed_ = false;
  stopped_ = false;
  readFailed_ = false;
  fileSize_ = 0;
  written_ = 0;
  bool opened = false;
  std::string why;
  if (write) {
    opened = save_.Begin(fileName, &why);
  } else {
    uint64_t size = 0;
    platform::FileReadError error;
    file_ = platform::OpenRegularFile(fileName, kMaxFileBytes, &size, &error);
    // The length bounds every block count read later.
    fileSize_ = static_cast<int64_t>(size);
    opened = file_ != nullptr;
    why = error.text;
  }
  if (!opened) {
    platform::DebugPrintf("[cSerializer::Initialize]\tThere was a problem opening file %s for serialization.\n",
                          fileName.c_str());
    platform::DebugPrintf("[cSerializer::Initialize] %s: %s\n", fileName.c_str(), why.c_str());
    return false;
  }
  return true;
}

bool cSerializer::Close() {
  if (mode_ == kModeWrite) {
    if (!save_.IsOpen()) return false;
    if (writeFailed_) {
      save_.Abandon();
      return false;
    }
    std::string why;
    if (!save_.Commit(&why)) {
      platform::DebugPrintf("[cSerializer::Close] the save is not written: %s\n", why.c_str());
      return false;
    }
    return true;
  }
  if (!file_) return false;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return closed;
}

bool cSerializer::WriteBlock(const uint8_t* bytes, uint32_t n) {
  if (!save_.IsOpen() || mode_ != kModeWrite || (n > 0 && !bytes)) return false;
  const uint8_t count[4] = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n >> 16),
                            static_cast<uint8_t>(n >> 24)};
  const bool ok = save_.Write(count, sizeof count) && save_.Write(bytes, n);
  if (!ok) {
    writeFailed_ = true;
    return false;
  }
  written_ += static_cast<int64_t>(sizeof count) + n;
  return true;
}

bool cSerializer::StopReading() {
  stopped_ = true;
  if (std::ferror(file_)) {
    readFailed_ = true;
    platform::DebugPrintf("[cSerializer::ReadBlock] read error: %s. Reading stops.\n", std::strerror(errno));
  }
  return false;
}

bool cSerializer::ReadBlock(SerialBlock* bytes, uint32_t* n) {
  if (!bytes || !n) return false;
  bytes->reset();
  *n = 0;
  if (!file_ || mode_ != kModeRead || stopped_) return false;
  uint8_t count[4];
  const size_t got = std::fread(count, 1, sizeof count, file_);
  if (got != sizeof count) {
    if (got > 0)
      platform::DebugPrintf("[cSerializer::ReadBlock] The file ends inside a block count. Reading stops.\n");
    return StopReading();
  }
  const uint32_t length = uint32_t(count[0]) | (uint32_t(count[1]) << 8) | (uint32_t(count[2]) << 16) |
                          (uint32_t(count[3]) << 24);
  if (length == 0) return true;
  const int64_t here = ftello(file_);
  const int64_t left = here < 0 ? 0 : fileSize_ - here;
  if (here < 0 || static_cast<int64_t>(length) > left) {
    platform::DebugPrintf("[cSerializer::ReadBlock] A block of %u bytes is longer than the %lld bytes left. Refused.\n",
                          length, static_cast<long long>(left < 0 ? 0 : left));
    return StopReading();
  }
  auto block = std::make_unique<uint8_t[]>(length);
  if (std::fread(block.get(), 1, length, file_) != length) {
    if (!std::ferror(file_))
      platform::DebugPrintf("[cSerializer::ReadBlock] The file ended inside a block (cut while read?). Reading stops.\n");
    return StopReading();
  }
  *bytes = std::move(block);
  *n = length;
  return true;
}

int64_t cSerializer::GetPosition() const {
  if (mode_ == kModeWrite) return save_.IsOpen() ? written_ : -1;
  return file_ ? static_cast<int64_t>(ftello(file_)) : -1;
}

bool cSerializer::SetPosition(int64_t position) {
  // Reading may start again from a block boundary it knows; a read error
  // stays.
  if (!file_ || mode_ != kModeRead || readFailed_ || position < 0 || position > fileSize_) return false;
  if (fseeko(file_, static_cast<off_t>(position), SEEK_SET) != 0) return false;
  stopped_ = false;
  return true;
}
