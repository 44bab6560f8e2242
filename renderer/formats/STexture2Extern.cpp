// Externalised formats: a format tagged "Externalized" takes its levels from
// image files named by its tags ("ExternRGBMIP-<n>", "ExternAlphaMIP-<n>"),
// relative to the folder of the ".stx" file. Level 0 fixes the size and the
// level chain; levels not supplied are generated (texture tags "UpFilter",
// "DownFilter"). When level 0 cannot be read, the embedded planes are used.
#include <memory>

#include "platform/DebugOutput.h"
#include "renderer/formats/RendererImage.h"
#include "renderer/formats/STexture2.h"

namespace {

constexpr const char* kNoFile = "BadExtern!";

std::string LevelTag(const char* prefix, int16_t level) { return std::string(prefix) + static_cast<char>('0' + level); }

std::unique_ptr<TexTransport> LoadImage(const std::string& folder, const std::string& fileName) {
  if (fileName == kNoFile) return nullptr;
  return std::unique_ptr<TexTransport>(renderer::TexTransport_LoadImageFile(folder + fileName, 0));
}

std::string FolderOf(const std::string& path) {
  size_t end = path.size();
  while (end > 0 && path[end - 1] != '/' && path[end - 1] != '\\') --end;
  return path.substr(0, end);
}

void FlagsFromTags(STexture2Format& f, int16_t level) {
  STexture2Level& l = *f.levels[static_cast<size_t>(level)];
  l.genAlpha = f.GetTagInt(LevelTag("GenAlphaMIP-", level), 0) != 0;
  l.genRGB = f.GetTagInt(LevelTag("GenRGBMIP-", level), 0) != 0;
  l.lockAlpha = f.GetTagInt(LevelTag("LockAlphaMIP-", level), 0) != 0;
  l.lockRGB = f.GetTagInt(LevelTag("LockRGBMIP-", level), 0) != 0;
}

// Level `level` from its colour image and, when the names differ, its alpha image.
bool FillLevel(STexture2Format& f, int16_t level, TexTransport* colour, TexTransport* alpha) {
  if (f.noAlpha) return f.SetRGBFromImage(level, colour);
  if (!alpha) return f.SetRGBAFromImage(level, colour);
  return f.SetRGBFromImage(level, colour) && f.SetAlphaFromImage(level, alpha);
}

}  // namespace

bool STexture2::LoadExternLevel(int16_t formatIndex, int16_t level, const std::string& folder) {
  STexture2Format* f = GetFormat(formatIndex);
  if (!f || level < 0) return false;
  if (level > 0 && level >= f->m_iMIPDepth) return false;
  const std::string rgbName = f->GetTagString(LevelTag("ExternRGBMIP-", level), kNoFile);
  const std::string alphaName = f->GetTagString(LevelTag("ExternAlphaMIP-", level), kNoFile);
  std::unique_ptr<TexTransport> colour = LoadImage(folder, rgbName);
  if (!colour) return false;
  std::unique_ptr<TexTransport> alpha;
  if (f->HasAlpha() && rgbName != alphaName) {
    alpha = LoadImage(folder, alphaName);
    if (!alpha) return false;
  }

  if (level > 0) {
    const int32_t w = f->width >> level;
    const int32_t h = f->height >> level;
    if (colour->width != w || colour->height != h || (alpha && (alpha->width != w || alpha->height != h)))
      return false;
    if (!FillLevel(*f, level, colour.get(), alpha.get())) return false;
    FlagsFromTags(*f, level);
    return true;
  }

  // Level 0 rebuilds the chain; the old one comes back if the image does not fit.
  if (colour->width > 32767 || colour->height > 32767 ||
      int64_t{colour->width} * colour->height > STexture2Format::kMaxLevelPixels)
    return false;
  auto savedLevels = std::move(f->levels);
  const int16_t savedWidth = f->width, savedHeight = f->height, savedDepth = f->m_iMIPDepth;
  f->levels.clear();
  f->width = static_cast<int16_t>(colour->width);
  f->height = static_cast<int16_t>(colour->height);
  const int32_t wanted = GetTagInt("MIPLevels", 10);
  int32_t count = 1;
  for (int32_t w = f->width, h = f->height; count < wanted; ++count) {
    w /= 2;
    h /= 2;
    if (w < 4 || h < 4) break;
  }
  for (int32_t k = 0; k < count; ++k) {
    auto l = std::make_unique<STexture2Level>();
    l->width = static_cast<int16_t>(f->width >> k);
    l->height = static_cast<int16_t>(f->height >> k);
    l->pitch = static_cast<int16_t>(l->width * f->bytesPerPixel);
    l->rgb.assign(size_t(l->pitch) * size_t(l->height), 0);
    if (f->HasAlpha()) l->alpha.assign(size_t(l->width) * size_t(l->height), 0);
    f->levels.push_back(std::move(l));
  }
  f->m_iMIPDepth = static_cast<int16_t>(count);
  if (!FillLevel(*f, 0, colour.get(), alpha.get())) {
    f->levels = std::move(savedLevels);
    f->width = savedWidth;
    f->height = savedHeight;
    f->m_iMIPDepth = savedDepth;
    return false;
  }
  FlagsFromTags(*f, 0);
  width = static_cast<uint16_t>(f->width);
  height = static_cast<uint16_t>(f->height);
  mipLevels = static_cast<uint16_t>(f->m_iMIPDepth);
  return true;
}

bool STexture2::LoadExternal(int16_t formatIndex, STexture2File* file) {
  ReleaseFormatData(formatIndex);
  const std::string folder = file ? FolderOf(file->Path()) : std::string();
  if (!LoadExternLevel(formatIndex, 0, folder)) {
    platform::DebugPrintf("STX texture \"%s\": external level 0 unreadable; using the embedded planes\n",
                          sourcePath.c_str());
    flags &= ~kResolveExternal;
    const bool loaded = LoadFormat(formatIndex, file);
    flags |= kResolveExternal;
    return loaded;
  }
  flags |= kExternalLoaded;
  STexture2Format* f = formats[static_cast<size_t>(formatIndex)].get();
  for (int16_t n = 1; n < f->m_iMIPDepth; ++n) LoadExternLevel(formatIndex, n, folder);
  const std::string up = GetTagString("UpFilter", "Catrom");
  const std::string down = GetTagString("DownFilter", "Catrom");
  f->GenerateRGBMIPs(up, down);
  f->GenerateAlphaMIPs(up, down);
  return true;
}
