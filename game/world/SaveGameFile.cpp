#include "game/world/SaveGameFile.h"

#include <cstring>

#include "base/ByteReader.h"

void MakeSaveHeader(uint8_t out[kSaveHeaderBytes]) {
  const uint8_t header[kSaveHeaderBytes] = {'K', 'V', '9', 'S', 2, 1};
  std::memcpy(out, header, kSaveHeaderBytes);
}

bool IsSaveHeader(const uint8_t* bytes, uint32_t n) {
  uint8_t header[kSaveHeaderBytes];
  MakeSaveHeader(header);
  return bytes && n == kSaveHeaderBytes && std::memcmp(bytes, header, kSaveHeaderBytes) == 0;
}

bool IsSafeSaveName(const std::string& name) {
  if (name.empty() || name == "." || name.find("..") != std::string::npos) return false;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || c == ':' || u < 0x20 || u == 0x7F) return false;
  }
  return true;
}

bool SaveFileImage::Parse(std::vector<uint8_t> bytes, std::string* why) {
  auto fail = [why](std::string reason) {
    if (why) *why = std::move(reason);
    return false;
  };
  ByteReader r(bytes.data(), bytes.size());
  size_t offsets[kSaveRecordCount] = {};
  uint32_t sizes[kSaveRecordCount] = {};
  for (int i = 0; i < kSaveRecordCount; ++i) {
    if (r.Remaining() == 0) return fail("the file ends after " + std::to_string(i) + " of its 15 records");
    const uint32_t count = r.U32();
    if (!r.Ok()) return fail("the file ends inside the count of record " + std::to_string(i + 1));
    if (count > r.Remaining())
      return fail("record " + std::to_string(i + 1) + " claims " + std::to_string(count) + " bytes but " +
                  std::to_string(r.Remaining()) + " are left");
    offsets[i] = r.Position();
    sizes[i] = count;
    r.Skip(count);
  }
  if (r.Remaining() != 0) return fail(std::to_string(r.Remaining()) + " bytes follow the last record");
  if (!IsSaveHeader(bytes.data() + offsets[0], sizes[0])) return fail("the header is not a save header of version 2.1");
  bytes_ = std::move(bytes);
  std::memcpy(offsets_, offsets, sizeof offsets);
  std::memcpy(sizes_, sizes, sizeof sizes);
  return true;
}

const uint8_t* SaveFileImage::Record(int number) const {
  if (number < 1 || number > kSaveRecordCount || sizes_[number - 1] == 0) return nullptr;
  return bytes_.data() + offsets_[number - 1];
}

uint32_t SaveFileImage::RecordSize(int number) const {
  if (number < 1 || number > kSaveRecordCount) return 0;
  return sizes_[number - 1];
}
