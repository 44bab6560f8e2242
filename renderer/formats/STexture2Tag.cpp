#include "renderer/formats/STexture2Tag.h"

#include "base/StringUtil.h"
#include "platform/Locale.h"

uint8_t STexture2TagHash(std::string_view name) {
  uint32_t hash = 0;
  for (size_t i = name.size(); i-- > 0;) {
    const auto c = static_cast<unsigned char>(str::ToLowerChar(name[i]));
    hash ^= ((c - 0x40u) << (i % 6)) & 0xFFu;
  }
  return static_cast<uint8_t>(hash);
}

void STexture2TagList::Append(std::string name, std::string value) {
  STexture2Tag tag;
  tag.hash = STexture2TagHash(name);
  tag.name = std::move(name);
  tag.value = std::move(value);
  tags_.push_back(std::move(tag));
}

int STexture2TagList::FindTag(std::string_view name) const {
  const uint8_t hash = STexture2TagHash(name);
  for (size_t i = 0; i < tags_.size(); ++i)
    if (tags_[i].hash == hash && str::EqualsNoCase(tags_[i].name, name)) return static_cast<int>(i);
  return -1;
}

std::string STexture2TagList::GetTagValue(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= tags_.size()) return {};
  return tags_[static_cast<size_t>(index)].value;
}

std::string STexture2TagList::GetTagString(std::string_view name, std::string_view fallback) const {
  const int i = FindTag(name);
  return i < 0 ? std::string(fallback) : tags_[static_cast<size_t>(i)].value;
}

int32_t STexture2TagList::GetTagInt(std::string_view name, int32_t fallback) const {
  const int i = FindTag(name);
  return i < 0 ? fallback : platform::ParseInt(tags_[static_cast<size_t>(i)].value);
}

int16_t STexture2TagList::SetTag(std::string_view name, std::string_view value) {
  const int i = FindTag(name);
  if (i >= 0) {
    tags_[static_cast<size_t>(i)].value = std::string(value);
  } else if (tags_.size() < kMaxTags) {
    Append(std::string(name), std::string(value));
  }
  return Count();
}

bool STexture2TagList::SetTagValue(int index, std::string_view value, STexture2Errors* errors) {
  if (index < 0) return errors->Error("Tag Index < 0");
  if (static_cast<size_t>(index) >= tags_.size()) return errors->Error("Tag Index >= m_iNumTags");
  tags_[static_cast<size_t>(index)].value = std::string(value);
  return true;
}
