#include "sound/DXSound.h"

#include "sound/DXSoundError.h"

using namespace platform;

namespace {

bool AddDriver(const SoundGuid* guid, const char* description, const char* module, void* context) {
  auto* list = static_cast<std::vector<DXSoundDriver>*>(context);
  DXSoundDriver driver;
  driver.hasGuid = guid != nullptr;
  if (guid) driver.guid = *guid;
  driver.description = description ? description : "";
  driver.module = module ? module : "";
  list->push_back(std::move(driver));
  return true;
}

}  // namespace

DXSound::DXSound(const SoundGuid* device, HWND window) : window_(window) { Open(device, window); }

DXSound::~DXSound() { Release(); }

void DXSound::Release() {
  if (primary_) primary_->Release();
  primary_ = nullptr;
  if (device_) device_->Release();
  device_ = nullptr;
}

void DXSound::Open(const SoundGuid* device, HWND window) {
  window_ = window;
  if (!devicesListed_) {
    devicesListed_ = true;
    DirectSoundEnumerateA(&AddDriver, &devices_);
  }
  if (!DXSucceeded(DirectSoundCreate8(device, &device_, nullptr))) {
    device_ = nullptr;
    return;
  }
  if (!DXSucceeded(device_->SetCooperativeLevel(window_, DSSCL_PRIORITY))) return;
  DSBUFFERDESC desc;
  desc.flags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D;
  if (!DXSucceeded(device_->CreateSoundBuffer(&desc, &primary_, nullptr))) {
    primary_ = nullptr;
    return;
  }
  SetFormat(sampleRate_, bitsPerSample_, channels_);
  DSCAPS caps;
  DXSucceeded(device_->GetCaps(&caps));
}

void DXSound::Reopen(const DXSoundDriver& driver) {
  Release();
  Open(driver.hasGuid ? &driver.guid : nullptr, nullptr);
}

bool DXSound::SetFormat(int32_t rate, int32_t bits, int32_t channels) {
  if (!primary_ || !device_) return false;
  WAVEFORMATEX format{};
  format.formatTag = WAVE_FORMAT_PCM;
  format.channels = static_cast<uint16_t>(channels);
  format.samplesPerSec = static_cast<uint32_t>(rate);
  format.bitsPerSample = static_cast<uint16_t>(bits);
  format.blockAlign = static_cast<uint16_t>(bits / 8 * channels);
  format.avgBytesPerSec = static_cast<uint32_t>(rate) * static_cast<uint32_t>(bits / 8 * channels);
  if (!DXSucceeded(device_->SetCooperativeLevel(window_, DSSCL_PRIORITY))) return false;
  if (!DXSucceeded(primary_->SetFormat(&format))) return false;
  WAVEFORMATEX granted{};
  if (!DXSucceeded(primary_->GetFormat(&granted, sizeof granted, nullptr))) return false;
  channels_ = granted.channels;
  sampleRate_ = static_cast<int32_t>(granted.samplesPerSec);
  bitsPerSample_ = static_cast<int16_t>(granted.bitsPerSample);
  // Without a window of its own the device drops back to the normal level.
  return DXSucceeded(device_->SetCooperativeLevel(window_, window_ ? DSSCL_PRIORITY : DSSCL_NORMAL));
}
