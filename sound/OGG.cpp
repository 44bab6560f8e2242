#include "sound/OGG.h"

#include <cstring>

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include "platform/DebugOutput.h"

namespace {

// The file image and the read position of one decode.
struct MemoryReader {
  const uint8_t* image;
  size_t size;
  size_t position;
};

size_t ReadImage(void* out, size_t size, size_t count, void* source) {
  auto* r = static_cast<MemoryReader*>(source);
  if (size == 0 || count == 0) return 0;
  const size_t left = r->size - r->position;
  const size_t wanted = count > left / size ? left - left % size : size * count;
  std::memcpy(out, r->image + r->position, wanted);
  r->position += wanted;
  return wanted / size;
}

// Positions outside the image are refused rather than remembered.
int SeekImage(void* source, ogg_int64_t offset, int whence) {
  auto* r = static_cast<MemoryReader*>(source);
  ogg_int64_t base = 0;
  switch (whence) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = static_cast<ogg_int64_t>(r->position); break;
    case SEEK_END: base = static_cast<ogg_int64_t>(r->size); break;
    default: return -1;
  }
  const auto size = static_cast<ogg_int64_t>(r->size);
  if (offset < -base || offset > size - base) return -1;
  r->position = static_cast<size_t>(base + offset);
  return 0;
}

long TellImage(void* source) { return static_cast<long>(static_cast<MemoryReader*>(source)->position); }

}  // namespace

bool OGG::Load(const std::string& name) {
  std::vector<uint8_t> bytes;
  if (!ReadFile(name, kMaxFileBytes, &bytes)) {
    Clear();
    return false;
  }
  return LoadFromMemory(bytes.data(), bytes.size(), name);
}

bool OGG::LoadFromMemory(const uint8_t* bytes, size_t size, const std::string& name) {
  Clear();
  auto fail = [&](const char* why) {
    platform::DebugPrintf("OGG: \"%s\": %s\n", name.c_str(), why);
    Clear();
    return false;
  };
  if (!bytes || size == 0) return fail("empty file");
  if (size > kMaxFileBytes) return fail("file too large");

  MemoryReader reader{bytes, size, 0};
  ov_callbacks callbacks{ReadImage, SeekImage, nullptr, TellImage};
  OggVorbis_File file;
  if (ov_open_callbacks(&reader, &file, nullptr, 0, callbacks) < 0) return fail("not an Ogg Vorbis stream");
  // From here on the decoder state is released on every path.
  struct Closer {
    OggVorbis_File* f;
    ~Closer() { ov_clear(f); }
  } closer{&file};

  const vorbis_info* info = ov_info(&file, -1);
  if (!info) return fail("no stream information");
  const int channels = info->channels;
  const long rate = info->rate;
  if (channels != 1 && channels != 2) return fail("channel count not 1 or 2");
  if (rate < static_cast<long>(platform::DSBFREQUENCY_MIN) || rate > static_cast<long>(platform::DSBFREQUENCY_MAX))
    return fail("sample rate out of range");
  const ogg_int64_t samples = ov_pcm_total(&file, -1);
  if (samples <= 0) return fail("length unknown or zero");
  const uint64_t blockAlign = static_cast<uint64_t>(channels) * 2;
  if (static_cast<uint64_t>(samples) > kMaxDataBytes / blockAlign) return fail("decoded sound too large");
  data_.reserve(static_cast<size_t>(samples) * blockAlign);

  char chunk[8192];
  int section = 0;
  int firstSection = -1;
  for (;;) {
    const long got = ov_read(&file, chunk, sizeof chunk, 0, 2, 1, &section);
    if (got == 0) break;
    if (got == OV_HOLE) continue;  // a gap in the data: keep decoding after it
    if (got < 0) return fail("corrupt stream");
    if (firstSection < 0) firstSection = section;
    if (section != firstSection) {
      const vorbis_info* now = ov_info(&file, section);
      if (!now || now->channels != channels || now->rate != rate) return fail("stream format changes");
    }
    if (static_cast<uint64_t>(got) > kMaxDataBytes - data_.size()) return fail("decoded sound too large");
    data_.insert(data_.end(), chunk, chunk + got);
  }
  // The data is sized by what was decoded, in whole frames.
  data_.resize(data_.size() - data_.size() % blockAlign);
  if (data_.empty()) return fail("no samples decoded");

  auto format = std::make_unique<platform::WAVEFORMATEX>();
  format->formatTag = platform::WAVE_FORMAT_PCM;
  format->channels = static_cast<uint16_t>(channels);
  format->samplesPerSec = static_cast<uint32_t>(rate);
  format->bitsPerSample = 16;
  format->blockAlign = static_cast<uint16_t>(blockAlign);
  format->avgBytesPerSec = static_cast<uint32_t>(rate) * static_cast<uint32_t>(blockAlign);
  format->extraSize = 0;
  format_ = std::move(format);
  return true;
}
