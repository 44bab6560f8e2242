#pragma once
// Name/value tags of ".stx" textures and their formats. Names are looked up
// ignoring letter case, through an 8-bit hash first.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct STexture2Tag {
  std::string name;
  std::string value;
  uint8_t hash = 0;
};

uint8_t STexture2TagHash(std::string_view name);

// Keeps the last error text of a texture or format, only when asked to.
struct STexture2Errors {
  std::string lastError;
  uint8_t keepErrors = 0;
  // Records `message` when errors are kept; always returns false.
  bool Error(const char* message) {
    if (keepErrors == 1) lastError = message;
    return false;
  }
};

class STexture2TagList {
 public:
  static constexpr size_t kMaxTags = 32767;

  int16_t Count() const { return static_cast<int16_t>(tags_.size()); }
  const std::vector<STexture2Tag>& Tags() const { return tags_; }
  void Clear() { tags_.clear(); }
  // Appends a tag read from a file (duplicates kept as stored).
  void Append(std::string name, std::string value);

  int FindTag(std::string_view name) const;  // index or -1
  std::string GetTagValue(int index) const;  // empty when out of range
  std::string GetTagString(std::string_view name, std::string_view fallback) const;
  int32_t GetTagInt(std::string_view name, int32_t fallback) const;
  // Changes an existing tag or appends one; the tag count afterwards.
  int16_t SetTag(std::string_view name, std::string_view value);
  // Fails with "Tag Index < 0" or "Tag Index >= m_iNumTags".
  bool SetTagValue(int index, std::string_view value, STexture2Errors* errors);

 private:
  std::vector<STexture2Tag> tags_;
};
