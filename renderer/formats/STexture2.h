#pragma once
// The renderer's ".stx" texture container: one picture in one or more pixel
// formats, each with its own MIP chain of colour and alpha planes, plus
// name/value tags on the texture and on each format. A format tagged
// "Externalized" takes its levels from image files beside the ".stx" file and
// generates the ones not supplied.
//
// Load(file, false) reads only the structure; LoadFormat then reads one
// format's planes, seeking straight to them. Every header value, string,
// level record and plane offset is checked against the stream before use; a
// bad stream is refused and the texture keeps what it held.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "renderer/formats/STexture2File.h"
#include "renderer/formats/STexture2Format.h"
#include "renderer/formats/STexture2Tag.h"

struct STexture2Annex {
  std::string name;
  std::vector<uint8_t> entries;  // 8 bytes each, kept as read
  STexture2TagList tags;
};

class STexture2 : public STexture2Errors {
 public:
  static constexpr uint32_t kResolveExternal = 1u;
  static constexpr uint32_t kExternalLoaded = 2u;
  static constexpr int32_t kMaxCount = 32767;

  STexture2() = default;
  ~STexture2() { Clear(); }
  STexture2(const STexture2&) = delete;
  STexture2& operator=(const STexture2&) = delete;

  std::string name;
  std::string sourcePath;
  uint32_t flags = kResolveExternal;
  int16_t m_iNumFormats = 0;
  std::vector<std::unique_ptr<STexture2Format>> formats;
  STexture2TagList tags;
  std::vector<std::unique_ptr<STexture2Annex>> annexes;
  uint16_t width = 0xFFFF;
  uint16_t height = 0xFFFF;
  uint16_t mipLevels = 0;

  bool Load(STexture2File& file, bool loadData);
  // Opens `fileName` through the path resolver and loads it.
  bool Load(const std::string& fileName, bool loadData);
  // Loads one format's planes from `file`, or from sourcePath when null.
  bool LoadFormat(int16_t formatIndex, STexture2File* file);
  STexture2Format* GetFormat(int16_t formatIndex);
  bool ReleaseFormatData(int16_t formatIndex);
  void Clear();

  int FindTag(const std::string& tagName) const { return tags.FindTag(tagName); }
  std::string GetTagValue(int index) const { return tags.GetTagValue(index); }
  std::string GetTagString(const std::string& tagName, const std::string& fallback) const {
    return tags.GetTagString(tagName, fallback);
  }
  int32_t GetTagInt(const std::string& tagName, int32_t fallback) const { return tags.GetTagInt(tagName, fallback); }
  int16_t SetTag(const std::string& tagName, const std::string& value) { return tags.SetTag(tagName, value); }
  bool SetTagValue(int index, const std::string& value) { return tags.SetTagValue(index, value, this); }

  void SetKeepErrors(bool keep) { keepErrors = keep ? 1 : 0; }
  const std::string& GetLastError() const { return lastError; }

  // Level `level` of an externalised format from the image files its tags
  // name, relative to `folder`. Level 0 rebuilds the format's level chain.
  bool LoadExternLevel(int16_t formatIndex, int16_t level, const std::string& folder);

 private:
  bool LoadEmbedded(STexture2Format& format, STexture2File* file);
  bool LoadExternal(int16_t formatIndex, STexture2File* file);
  bool Refuse(const char* message, const std::string& detail);
  void RemoveMismatchedFormats();
};
