#include "engine/files/Serializer.h"

#include <cstring>

#include "platform/DebugOutput.h"
#include "platform/Paths.h"

cSerializer::~cSerializer() {
  if (!file_) return;
  if (mode_ == kModeWrite) {
    Abandon();
  } else {
    std::fclose(file_);
    file_ = nullptr;
  }
}

void cSerializer::Abandon() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (!temp_.empty()) std::remove(temp_.c_str());
  temp_.clear();
  target_.clear();
}

bool cSerializer::Initialize(const std::string& fileName, bool write) {
  if (file_) Close();
  mode_ = write ? kModeWrite : kModeRead;
  writeFailed_ = false;
  fileSize_ = 0;
  if (write) {
    std::string target;
    if (platform::ResolvePathForWrite(fileName, &target)) {
      target_ = target;
      temp_ = target + ".tmp";
      file_ = platform::OpenFile(temp_, "wb");
    }
  } else {
    file_ = platform::OpenFile(fileName, "rb");
    if (file_) {
      // The length bounds every block count read later.
      const bool sized = std::fseek(file_, 0, SEEK_END) == 0 && (fileSize_ = ftello(file_)) >= 0 &&
                         std::fseek(file_, 0, SEEK_SET) == 0;
      if (!sized) {
        std::fclose(file_);
        file_ = nullptr;
      }
    }
  }
  if (!file_) {
    temp_.clear();
    target_.clear();
    platform::DebugPrintf("[cSerializer::Initialize]\tThere was a problem opening file %s for serialization.\n",
                          fileName.c_str());
    return false;
  }
  return true;
}

bool cSerializer::Close() {
  if (!file_) return false;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (mode_ != kModeWrite) return closed;
  bool ok = closed && !writeFailed_ && std::rename(temp_.c_str(), target_.c_str()) == 0;
  if (!ok) std::remove(temp_.c_str());
  platform::ClearPathCache();
  temp_.clear();
  target_.clear();
  return ok;
}

bool cSerializer::WriteBlock(const uint8_t* bytes, uint32_t n) {
  if (!file_ || mode_ != kModeWrite || (n > 0 && !bytes)) return false;
  const uint8_t count[4] = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n >> 16),
                            static_cast<uint8_t>(n >> 24)};
  bool ok = std::fwrite(count, 1, sizeof count, file_) == sizeof count;
  if (ok && n > 0) ok = std::fwrite(bytes, 1, n, file_) == n;
  ok = std::fflush(file_) == 0 && ok;
  if (!ok) writeFailed_ = true;
  return ok;
}

bool cSerializer::ReadBlock(SerialBlock* bytes, uint32_t* n) {
  if (!bytes || !n) return false;
  bytes->reset();
  *n = 0;
  if (!file_ || mode_ != kModeRead) return false;
  uint8_t count[4];
  if (std::fread(count, 1, sizeof count, file_) != sizeof count) {
    std::fseek(file_, 0, SEEK_END);
    return false;
  }
  const uint32_t length = uint32_t(count[0]) | (uint32_t(count[1]) << 8) | (uint32_t(count[2]) << 16) |
                          (uint32_t(count[3]) << 24);
  if (length == 0) return true;
  const int64_t here = ftello(file_);
  const int64_t left = here < 0 ? 0 : fileSize_ - here;
  if (here < 0 || static_cast<int64_t>(length) > left) {
    platform::DebugPrintf("[cSerializer::ReadBlock] A block of %u bytes is longer than the %lld bytes left. Refused.\n",
                          length, static_cast<long long>(left < 0 ? 0 : left));
    std::fseek(file_, 0, SEEK_END);
    return false;
  }
  auto block = std::make_unique<uint8_t[]>(length);
  if (std::fread(block.get(), 1, length, file_) != length) {
    std::fseek(file_, 0, SEEK_END);
    return false;
  }
  *bytes = std::move(block);
  *n = length;
  return true;
}

int64_t cSerializer::GetPosition() const { return file_ ? static_cast<int64_t>(ftello(file_)) : -1; }

bool cSerializer::SetPosition(int64_t position) {
  return file_ && position >= 0 && fseeko(file_, static_cast<off_t>(position), SEEK_SET) == 0;
}
