// The device: enumeration, creation on the chosen output, buffer creation,
// the mixing loop over all buffers, and the headless outputs' entry points.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "base/StringUtil.h"
#include "platform/Clock.h"
#include "platform/DebugOutput.h"
#include "platform/audio/AudioInternal.h"

namespace platform {
using namespace audio_impl;

namespace {

constexpr size_t kMixBlockFrames = 1024;
// The recording keeps at most this many samples; older ones are dropped.
constexpr size_t kMaxRecordedSamples = size_t{1} << 25;
// A null output never catches up more than this much time at once (a long
// stall in a headless run just skips audio).
constexpr int64_t kMaxCatchUpSeconds = 4;

const SoundGuid kHeadlessDevice = {{0x3d, 0x8a, 0x51, 0xc7, 0x92, 0x0e, 0x4b, 0x6f, 0xa4, 0x17, 0x5c, 0xe0, 0x2b,
                                    0x71, 9, 1}};

std::mutex g_stateMutex;
bool g_kindSet = false;
AudioOutputKind g_kind = AudioOutputKind::Sdl;
std::weak_ptr<DeviceCore> g_current;

AudioOutputKind KindFromEnvironment() {
  const char* env = std::getenv("GAME_AUDIO_OUTPUT");
  if (env && str::EqualsNoCase(env, "null")) return AudioOutputKind::Null;
  if (env && str::EqualsNoCase(env, "recording")) return AudioOutputKind::Recording;
  return AudioOutputKind::Sdl;
}

// A stable identifier for an SDL device name, so a saved device choice
// survives restarts: two 64-bit FNV-1a hashes of the name.
SoundGuid GuidFromName(const std::string& name) {
  SoundGuid g{};
  uint64_t h1 = 14695981039346656037ull, h2 = 1099511628211ull * 31;
  for (unsigned char c : name) {
    h1 = (h1 ^ c) * 1099511628211ull;
    h2 = (h2 ^ c) * 1099511628211ull + 0x9E37;
  }
  std::memcpy(g.bytes, &h1, 8);
  std::memcpy(g.bytes + 8, &h2, 8);
  if (g.IsZero()) g.bytes[0] = 1;
  return g;
}

class DeviceImpl final : public IDirectSound8 {
 public:
  explicit DeviceImpl(std::shared_ptr<DeviceCore> core) : core_(std::move(core)) {}

  CoreStatus QueryInterface(const SoundGuid& iid, void** out) override {
    if (!out) return DSERR_INVALIDPARAM;
    *out = nullptr;
    if (iid != IID_IDirectSound8) return DSERR_NOINTERFACE;
    AddRef();
    *out = static_cast<IDirectSound8*>(this);
    return DS_OK;
  }
  uint32_t AddRef() override { return ++refs_; }
  uint32_t Release() override {
    const uint32_t left = --refs_;
    if (left == 0) {
      core_->Shutdown();
      delete this;
    }
    return left;
  }

  CoreStatus CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer8** out, void* outer) override {
    if (!out) return DSERR_INVALIDPARAM;
    *out = nullptr;
    if (outer) return DSERR_NOAGGREGATION;
    if (!desc || desc->size != kBufferDescSize) return DSERR_INVALIDPARAM;
    auto lock = core_->Enter();
    if (core_->cooperativeLevel == 0) return DSERR_PRIOLEVELNEEDED;
    if (desc->flags & DSBCAPS_PRIMARYBUFFER) {
      if (desc->bufferBytes != 0 || desc->format ||
          (desc->flags & (DSBCAPS_CTRLFX | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPOSITIONNOTIFY)))
        return DSERR_INVALIDPARAM;
      if (core_->primary) {
        core_->primary->flags |= desc->flags;
        core_->primary->AddRef();
      } else {
        core_->primary = new BufferImpl(core_, *desc, true);
      }
      *out = core_->primary;
      return DS_OK;
    }
    if (!desc->format) return DSERR_INVALIDPARAM;
    if (!ValidBufferFormat(*desc->format)) return DSERR_BADFORMAT;
    if (desc->bufferBytes < DSBSIZE_MIN || desc->bufferBytes > DSBSIZE_MAX) return DSERR_INVALIDPARAM;
    if ((desc->flags & DSBCAPS_CTRL3D) && (desc->format->channels != 1 || (desc->flags & DSBCAPS_CTRLPAN)))
      return DSERR_INVALIDPARAM;
    if (desc->flags & DSBCAPS_LOCHARDWARE) return DSERR_UNSUPPORTED;
    auto* buffer = new BufferImpl(core_, *desc, false);
    core_->buffers.push_back(buffer);
    *out = buffer;
    return DS_OK;
  }

  CoreStatus GetCaps(DSCAPS* caps) override {
    if (!caps || caps->size != kDeviceCapsSize) return DSERR_INVALIDPARAM;
    *caps = DSCAPS{};
    caps->flags = DSCAPS_PRIMARYMONO | DSCAPS_PRIMARYSTEREO | DSCAPS_PRIMARY8BIT | DSCAPS_PRIMARY16BIT |
                  DSCAPS_CONTINUOUSRATE | DSCAPS_EMULDRIVER | DSCAPS_SECONDARYMONO | DSCAPS_SECONDARYSTEREO |
                  DSCAPS_SECONDARY8BIT | DSCAPS_SECONDARY16BIT;
    caps->minSecondarySampleRate = DSBFREQUENCY_MIN;
    caps->maxSecondarySampleRate = DSBFREQUENCY_MAX;
    caps->primaryBuffers = 1;
    return DS_OK;
  }

  CoreStatus DuplicateSoundBuffer(IDirectSoundBuffer8* original, IDirectSoundBuffer8** out) override {
    if (!out) return DSERR_INVALIDPARAM;
    *out = nullptr;
    auto* source = dynamic_cast<BufferImpl*>(original);
    if (!source || source->core != core_ || source->isPrimary) return DSERR_INVALIDPARAM;
    auto lock = core_->Enter();
    if (source->flags & DSBCAPS_CTRLFX) return DSERR_INVALIDCALL;
    DSBUFFERDESC desc;
    desc.flags = source->flags;
    desc.bufferBytes = source->bufferBytes;
    desc.format = &source->format;
    auto* buffer = new BufferImpl(core_, desc, false);
    buffer->CopyFrom(*source);
    core_->buffers.push_back(buffer);
    *out = buffer;
    return DS_OK;
  }

  CoreStatus SetCooperativeLevel(void* /*window*/, uint32_t level) override {
    if (level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) return DSERR_INVALIDPARAM;
    auto lock = core_->Enter();
    core_->cooperativeLevel = level;
    return DS_OK;
  }

 private:
  std::shared_ptr<DeviceCore> core_;
  std::atomic<uint32_t> refs_{1};
};

}  // namespace

namespace audio_impl {

bool ValidBufferFormat(const WAVEFORMATEX& f) {
  if (f.formatTag != WAVE_FORMAT_PCM) return false;
  if (f.channels != 1 && f.channels != 2) return false;
  if (f.bitsPerSample != 8 && f.bitsPerSample != 16) return false;
  if (f.samplesPerSec < DSBFREQUENCY_MIN || f.samplesPerSec > DSBFREQUENCY_MAX) return false;
  if (f.blockAlign != f.channels * f.bitsPerSample / 8) return false;
  return f.avgBytesPerSec == f.samplesPerSec * f.blockAlign;
}

DeviceCore::~DeviceCore() { sdl_.reset(); }

std::unique_lock<std::mutex> DeviceCore::Enter() {
  std::unique_lock<std::mutex> lock(mutex);
  if (kind == AudioOutputKind::Null && open) CatchUpLocked();
  return lock;
}

void DeviceCore::CatchUpLocked() {
  int64_t now = 0, frequency = 1;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  if (lastCounter_ < 0 || now < lastCounter_) {
    lastCounter_ = now;
    return;
  }
  const int64_t elapsed = std::min(now - lastCounter_, kMaxCatchUpSeconds * frequency);
  const auto frames = static_cast<size_t>(elapsed * rate / frequency);
  if (frames == 0) return;
  // Advance by exactly the time the mixed frames stand for, so rounding
  // never loses time between calls.
  lastCounter_ = (now - lastCounter_ > elapsed) ? now
                                                : lastCounter_ + static_cast<int64_t>(frames) * frequency / rate;
  RenderLocked(frames);
}

void DeviceCore::MixLocked(int16_t* out, size_t frames) {
  while (frames > 0) {
    const size_t n = std::min(frames, kMixBlockFrames);
    const size_t samples = n * channels;
    accum_.assign(samples, 0.0f);
    for (BufferImpl* b : buffers) b->MixLocked(accum_.data(), n);
    const float master = VolumeToGain(masterVolume);
    if (master != 1.0f)
      for (float& s : accum_) s *= master;
    ConvertMix(accum_.data(), out, samples);
    out += samples;
    frames -= n;
  }
}

size_t DeviceCore::RenderLocked(size_t frames) {
  if (!open) return 0;
  scratch_.resize(std::min(frames, kMixBlockFrames) * channels);
  size_t done = 0;
  while (done < frames) {
    const size_t n = std::min(frames - done, kMixBlockFrames);
    MixLocked(scratch_.data(), n);
    if (kind == AudioOutputKind::Recording)
      recorded.insert(recorded.end(), scratch_.begin(), scratch_.begin() + static_cast<ptrdiff_t>(n * channels));
    done += n;
  }
  if (recorded.size() > kMaxRecordedSamples)
    recorded.erase(recorded.begin(), recorded.begin() + static_cast<ptrdiff_t>(recorded.size() - kMaxRecordedSamples));
  return done;
}

CoreStatus DeviceCore::OpenOutput() {
  if (kind != AudioOutputKind::Sdl) return DS_OK;
  std::string error;
  sdl_ = SdlOutput::Open(this, sdlDeviceName.empty() ? nullptr : sdlDeviceName.c_str(), rate, channels, &error);
  if (!sdl_) {
    DebugPrintf("Audio: cannot open the output device: %s\n", error.c_str());
    return DSERR_NODRIVER;
  }
  return DS_OK;
}

CoreStatus DeviceCore::Reconfigure(uint32_t newRate, uint16_t newChannels, uint16_t newBits) {
  // The same format again keeps the open device: no gap in the sound.
  if (newRate == rate && newChannels == channels && newBits == bits) return DS_OK;
  // The SDL callback takes the mutex, so the device is closed without it.
  sdl_.reset();
  const uint32_t oldRate = rate;
  const uint16_t oldChannels = channels, oldBits = bits;
  {
    std::lock_guard<std::mutex> lock(mutex);
    rate = newRate;
    channels = newChannels;
    bits = newBits;
  }
  if (!open) return DS_OK;
  if (OpenOutput() == DS_OK) return DS_OK;
  {
    std::lock_guard<std::mutex> lock(mutex);
    rate = oldRate;
    channels = oldChannels;
    bits = oldBits;
  }
  OpenOutput();
  return DSERR_BADFORMAT;
}

void DeviceCore::Shutdown() {
  sdl_.reset();
  std::lock_guard<std::mutex> lock(mutex);
  open = false;
}

}  // namespace audio_impl

void SetAudioOutputKind(AudioOutputKind kind) {
  std::lock_guard<std::mutex> lock(g_stateMutex);
  g_kind = kind;
  g_kindSet = true;
}

AudioOutputKind GetAudioOutputKind() {
  std::lock_guard<std::mutex> lock(g_stateMutex);
  if (!g_kindSet) {
    g_kind = KindFromEnvironment();
    g_kindSet = true;
  }
  return g_kind;
}

CoreStatus DirectSoundEnumerateA(DSEnumCallback callback, void* context) {
  if (!callback) return DSERR_INVALIDPARAM;
  const AudioOutputKind kind = GetAudioOutputKind();
  if (kind != AudioOutputKind::Sdl) {
    if (!callback(nullptr, "Primary Sound Driver", "", context)) return DS_OK;
    callback(&kHeadlessDevice, kind == AudioOutputKind::Null ? "Null Audio Output" : "Recording Audio Output",
             kind == AudioOutputKind::Null ? "null" : "recording", context);
    return DS_OK;
  }
  std::vector<std::string> names;
  std::string driver;
  if (!ListSdlDevices(&names, &driver)) return DS_OK;  // no output: nothing to report
  if (!callback(nullptr, "Primary Sound Driver", "", context)) return DS_OK;
  for (const std::string& name : names) {
    const SoundGuid guid = GuidFromName(name);
    if (!callback(&guid, name.c_str(), driver.c_str(), context)) break;
  }
  return DS_OK;
}

CoreStatus DirectSoundCreate8(const SoundGuid* device, IDirectSound8** out, void* outer) {
  if (!out) return DSERR_INVALIDPARAM;
  *out = nullptr;
  if (outer) return DSERR_NOAGGREGATION;
  const AudioOutputKind kind = GetAudioOutputKind();
  auto core = std::make_shared<DeviceCore>(kind);
  if (device && !device->IsZero()) {
    if (kind != AudioOutputKind::Sdl) {
      if (*device != kHeadlessDevice) return DSERR_NODRIVER;
    } else {
      std::vector<std::string> names;
      std::string driver;
      ListSdlDevices(&names, &driver);
      auto it = std::find_if(names.begin(), names.end(),
                             [&](const std::string& n) { return GuidFromName(n) == *device; });
      if (it == names.end()) return DSERR_NODRIVER;
      core->sdlDeviceName = *it;
    }
  }
  const CoreStatus opened = core->OpenOutput();
  if (opened != DS_OK) return opened;
  {
    std::lock_guard<std::mutex> lock(g_stateMutex);
    g_current = core;
  }
  *out = new DeviceImpl(core);
  return DS_OK;
}

size_t RenderAudioFrames(size_t frames) {
  std::shared_ptr<DeviceCore> core;
  {
    std::lock_guard<std::mutex> lock(g_stateMutex);
    core = g_current.lock();
  }
  if (!core) return 0;
  std::lock_guard<std::mutex> lock(core->mutex);
  return core->RenderLocked(frames);
}

std::vector<int16_t> TakeRecordedSamples() {
  std::shared_ptr<DeviceCore> core;
  {
    std::lock_guard<std::mutex> lock(g_stateMutex);
    core = g_current.lock();
  }
  if (!core) return {};
  std::lock_guard<std::mutex> lock(core->mutex);
  std::vector<int16_t> samples;
  samples.swap(core->recorded);
  return samples;
}

void LoseAudioBuffers() {
  std::shared_ptr<DeviceCore> core;
  {
    std::lock_guard<std::mutex> lock(g_stateMutex);
    core = g_current.lock();
  }
  if (!core) return;
  std::lock_guard<std::mutex> lock(core->mutex);
  for (BufferImpl* b : core->buffers) {
    b->lost = true;
    b->playing = false;
  }
}

}  // namespace platform
