// Reading the ".stx" stream:
//   header (40 bytes): "STEX", version 1, revision 0, format count, width,
//     height, level count, name length, tag count, annex count (u32 each);
//   the name; the texture tags (u16-counted name and value); the annexes
//   (name, u16 entry count, u16 tag count, 8-byte entries, tags); the formats
//   (name, 22 u32 header values, 1024-byte palette, u16-counted tags, one
//   36-byte record per level); plane data anywhere, at the records' offsets.
#include "renderer/formats/STexture2.h"

#include <cstring>
#include <tuple>

#include "platform/DebugOutput.h"

namespace {

constexpr uint32_t kMax16 = 32767;
// Names, tags and format names longer than this lie outside the format.
constexpr uint32_t kMaxString = 8191;

struct Parse {
  STexture2Cursor c;
  std::string why;
  explicit Parse(STexture2File* f) : c(f) {}

  bool Fail(const char* reason) {
    if (why.empty()) why = reason;
    return false;
  }
  bool Short() { return c.Ok() || Fail("stream ends inside its structure"); }

  bool String16(std::string* out) {
    const uint16_t n = c.U16();
    if (n > kMaxString) return Fail("string longer than 8191 bytes");
    *out = c.String(n);
    return Short();
  }
  bool Tags(STexture2TagList* list, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
      std::string tagName;
      std::string value;
      if (!String16(&tagName) || !String16(&value)) return false;
      list->Append(std::move(tagName), std::move(value));
    }
    return true;
  }
  // A 32-bit value held in 16 bits: above 32767 is outside the format.
  bool Small(uint32_t v, int16_t* out, const char* what) {
    if (v > kMax16) return Fail(what);
    *out = static_cast<int16_t>(v);
    return true;
  }
};

bool ParseFormat(Parse& p, uint64_t streamSize, uint8_t keepErrors, STexture2Format* f) {
  f->keepErrors = keepErrors;
  if (!p.String16(&f->name)) return false;
  uint32_t h[22];
  for (uint32_t& v : h) v = p.c.U32();
  if (!p.Short()) return false;
  if (!p.Small(h[0], &f->width, "format width out of range") ||
      !p.Small(h[1], &f->height, "format height out of range") ||
      !p.Small(h[2], &f->bitsPerPixel, "bits per pixel out of range") ||
      !p.Small(h[4], &f->bytesPerPixel, "bytes per pixel out of range") ||
      !p.Small(h[5], &f->m_iMIPDepth, "level count out of range") ||
      !p.Small(h[20], &f->firstIndex, "palette range out of range") ||
      !p.Small(h[21], &f->lastIndex, "palette range out of range"))
    return false;
  f->uninterpreted = static_cast<int16_t>(h[3]);
  f->noAlpha = h[6] != 0;
  STexture2Channel* channels[4] = {&f->blue, &f->green, &f->red, &f->alpha};
  for (int i = 0; i < 4; ++i) {
    channels[i]->bits = static_cast<uint8_t>(h[7 + i]);
    channels[i]->shift = static_cast<uint8_t>(h[11 + i]);
    channels[i]->mask = static_cast<uint8_t>(h[15 + i]);
  }
  f->colourKey = h[19];
  std::string reason;
  if (!f->ValidateHeader(&reason)) return p.Fail("invalid format header");
  if (!p.c.Bytes(f->palette, sizeof f->palette)) return p.Short();
  const uint16_t tagCount = p.c.U16();
  if (!p.Short()) return false;
  if (tagCount > kMax16) return p.Fail("too many format tags");
  if (!p.Tags(&f->tags, tagCount)) return false;
  // Each record is 36 bytes: refuse a count the stream cannot hold before
  // allocating for it.
  if (uint64_t{uint16_t(f->m_iMIPDepth)} * 36 > p.c.Remaining()) return p.Fail("stream ends inside the level records");
  for (int i = 0; i < f->m_iMIPDepth; ++i) {
    auto l = std::make_unique<STexture2Level>();
    uint32_t r[9];
    for (uint32_t& v : r) v = p.c.U32();
    if (!p.Short()) return false;
    if (!p.Small(r[0], &l->width, "level width out of range") || !p.Small(r[1], &l->height, "level height out of range") ||
        !p.Small(r[2], &l->pitch, "level pitch out of range"))
      return false;
    l->genRGB = r[3] != 0;
    l->genAlpha = r[4] != 0;
    l->lockRGB = r[5] != 0;
    l->lockAlpha = r[6] != 0;
    l->rgbOffset = static_cast<int32_t>(r[7]);
    l->alphaOffset = static_cast<int32_t>(r[8]);
    if (!f->ValidateLevel(*l, streamSize, &reason)) return p.Fail("invalid level record");
    f->levels.push_back(std::move(l));
  }
  return true;
}

}  // namespace

bool STexture2::Refuse(const char* message, const std::string& detail) {
  platform::DebugPrintf("STX texture \"%s\" refused: %s\n", sourcePath.c_str(), detail.c_str());
  return Error(message);
}

void STexture2::Clear() {
  formats.clear();
  m_iNumFormats = 0;
  tags.Clear();
  annexes.clear();
}

bool STexture2::Load(const std::string& fileName, bool loadData) {
  STexture2File file;
  if (!file.Open(fileName)) {
    platform::DebugPrintf("STX texture: cannot open \"%s\"\n", fileName.c_str());
    return Error("Unable to load from data source");
  }
  return Load(file, loadData);
}

bool STexture2::Load(STexture2File& file, bool loadData) {
  sourcePath = file.Path();
  Parse p(&file);
  uint8_t magic[4] = {0, 0, 0, 0};
  p.c.Bytes(magic, 4);
  if (!p.c.Ok() || std::memcmp(magic, "STEX", 4) != 0)
    return Refuse("Filename is not an STexture2 stream", "not an STEX stream");
  uint32_t h[9];
  for (uint32_t& v : h) v = p.c.U32();
  if (!p.c.Ok()) return Refuse("Filename is not an STexture2 stream", "header is truncated");
  if (h[0] != 1) return Refuse("Filename is not supported STexture2 version", "unsupported version");
  if (h[1] != 0) return Refuse("Filename is not supported STexture2 revision", "unsupported revision");
  const uint32_t formatCount = h[2], tagCount = h[7], annexCount = h[8], nameLength = h[6];
  if (formatCount > kMax16 || tagCount > kMax16 || annexCount > kMax16 || h[3] > kMax16 || h[4] > kMax16 ||
      h[5] > kMax16 || nameLength > kMaxString)
    return Refuse("Filename is not an STexture2 stream", "header value out of range");

  STexture2 fresh;
  fresh.sourcePath = sourcePath;
  fresh.flags = flags;
  fresh.keepErrors = keepErrors;
  fresh.width = static_cast<uint16_t>(h[3]);
  fresh.height = static_cast<uint16_t>(h[4]);
  fresh.mipLevels = static_cast<uint16_t>(h[5]);
  std::string rawName = p.c.String(nameLength);
  if (!p.Short()) return Refuse("Filename is not an STexture2 stream", p.why);
  fresh.name = rawName.substr(0, rawName.find('\0'));
  if (!p.Tags(&fresh.tags, tagCount)) return Refuse("Filename is not an STexture2 stream", p.why);
  for (uint32_t i = 0; i < annexCount; ++i) {
    auto annex = std::make_unique<STexture2Annex>();
    if (!p.String16(&annex->name)) return Refuse("Filename is not an STexture2 stream", p.why);
    const uint16_t entries = p.c.U16();
    const uint16_t annexTags = p.c.U16();
    if (!p.Short() || size_t{entries} * 8 > p.c.Remaining())
      return Refuse("Filename is not an STexture2 stream", "stream ends inside an annex");
    annex->entries.resize(size_t{entries} * 8);
    if (!p.c.Bytes(annex->entries.data(), annex->entries.size()) || annexTags > kMax16 ||
        !p.Tags(&annex->tags, annexTags))
      return Refuse("Filename is not an STexture2 stream", "bad annex");
    fresh.annexes.push_back(std::move(annex));
  }
  for (uint32_t i = 0; i < formatCount; ++i) {
    auto format = std::make_unique<STexture2Format>();
    if (!ParseFormat(p, file.Size(), keepErrors, format.get()))
      return Refuse("Filename is not an STexture2 stream", p.why);
    fresh.formats.push_back(std::move(format));
  }
  fresh.m_iNumFormats = static_cast<int16_t>(fresh.formats.size());

  if (loadData) {
    for (int16_t i = 0; i < fresh.m_iNumFormats; ++i) {
      if (!fresh.LoadFormat(i, &file)) {
        lastError = fresh.lastError;
        platform::DebugPrintf("STX texture \"%s\": format %d did not load\n", sourcePath.c_str(), i);
        return false;
      }
    }
    fresh.RemoveMismatchedFormats();
  }

  Clear();
  name = std::move(fresh.name);
  flags = fresh.flags;
  formats = std::move(fresh.formats);
  m_iNumFormats = static_cast<int16_t>(formats.size());
  tags = std::move(fresh.tags);
  annexes = std::move(fresh.annexes);
  width = fresh.width;
  height = fresh.height;
  mipLevels = fresh.mipLevels;
  return true;
}

// Every format of one texture shows one picture: a loaded format whose
// level 0 or level count differs from the first format's is dropped. The
// list closes up over a removed format, so the next one is checked at the
// same position.
void STexture2::RemoveMismatchedFormats() {
  if (formats.empty()) return;
  auto shape = [](const STexture2Format& f) {
    const STexture2Level* l0 = f.levels.empty() ? nullptr : f.levels.front().get();
    return std::make_tuple(l0 ? l0->width : int16_t(-1), l0 ? l0->height : int16_t(-1), f.m_iMIPDepth);
  };
  const auto reference = shape(*formats.front());
  for (size_t i = 1; i < formats.size();) {
    if (shape(*formats[i]) != reference) {
      platform::DebugPrintf("STX texture \"%s\": format \"%s\" differs in size from the first; dropped\n",
                            sourcePath.c_str(), formats[i]->name.c_str());
      formats.erase(formats.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
  m_iNumFormats = static_cast<int16_t>(formats.size());
  const STexture2Format& first = *formats.front();
  if (!first.levels.empty()) {
    width = static_cast<uint16_t>(first.levels.front()->width);
    height = static_cast<uint16_t>(first.levels.front()->height);
  }
  mipLevels = static_cast<uint16_t>(first.m_iMIPDepth);
}

STexture2Format* STexture2::GetFormat(int16_t formatIndex) {
  if (formatIndex < 0) {
    Error("Format Index < 0");
    return nullptr;
  }
  if (formatIndex >= m_iNumFormats || static_cast<size_t>(formatIndex) >= formats.size()) {
    Error("Format Index >= m_iNumFormats");
    return nullptr;
  }
  return formats[static_cast<size_t>(formatIndex)].get();
}

bool STexture2::ReleaseFormatData(int16_t formatIndex) {
  STexture2Format* f = GetFormat(formatIndex);
  if (!f) return false;
  f->ReleaseData();
  return true;
}

bool STexture2::LoadFormat(int16_t formatIndex, STexture2File* file) {
  STexture2Format* f = GetFormat(formatIndex);
  if (!f) return false;
  if (f->FindTag("Externalized") >= 0 && (flags & kResolveExternal)) return LoadExternal(formatIndex, file);
  return LoadEmbedded(*f, file);
}

bool STexture2::LoadEmbedded(STexture2Format& f, STexture2File* file) {
  STexture2File own;
  if (!file) {
    if (!own.Open(sourcePath)) return Error("Unable to load from data source");
    file = &own;
  }
  f.ReleaseData();
  for (auto& l : f.levels) {
    if (l->width <= 0 || l->height <= 0 || l->pitch <= 0) continue;
    std::string reason;
    // The planes may come from another stream than the structure did.
    if (!f.ValidateLevel(*l, file->Size(), &reason)) {
      f.ReleaseData();
      platform::DebugPrintf("STX texture \"%s\": %s\n", file->Path().c_str(), reason.c_str());
      return Error("Unable to load from data source");
    }
    bool ok = true;
    if (l->rgbOffset > 0) {
      l->rgb.resize(size_t(l->pitch) * size_t(l->height));
      ok = file->ReadAt(uint64_t(l->rgbOffset), l->rgb.data(), l->rgb.size());
    }
    if (ok && l->alphaOffset > 0 && f.HasAlpha()) {
      l->alpha.resize(size_t(l->width) * size_t(l->height));
      ok = file->ReadAt(uint64_t(l->alphaOffset), l->alpha.data(), l->alpha.size());
    }
    if (!ok) {
      f.ReleaseData();
      return Error("Unable to load from data source");
    }
  }
  return true;
}
