// Output format, output device choice and the listener.
#include <string>

#include "sound/DX3DSoundListener.h"
#include "sound/DXSound.h"
#include "sound/DXSoundBuffer.h"
#include "sound/FXHandleDX.h"
#include "sound/SoundMgrDX8.h"

bool SoundMgrDX8::SetOutputFormat(int32_t rate, int32_t bits, int32_t channels) {
  if (!device_) return false;
  if (rate == -1) rate = device_->GetSampleRate();
  if (channels == -1) channels = device_->GetChannelCount();
  const bool ok = device_->SetFormat(rate, bits, channels);
  sampleRate_ = device_->GetSampleRate();
  bitsPerSample_ = device_->GetBitsPerSample();
  channels_ = device_->GetChannelCount();
  SetOption("snd_dx8_sample_rate", std::to_string(sampleRate_));
  SetOption("snd_dx8_bits_per_sample", std::to_string(bitsPerSample_));
  SetOption("snd_dx8_channels", std::to_string(channels_));
  return ok;
}

int32_t SoundMgrDX8::GetDeviceCount() {
  const auto* list = device_ ? device_->GetDeviceList() : nullptr;
  return list ? static_cast<int32_t>(list->size()) : 0;
}

void SoundMgrDX8::GetDeviceName(std::string& name, int32_t index) {
  const auto* list = device_ ? device_->GetDeviceList() : nullptr;
  if (!list || index < 0 || static_cast<size_t>(index) >= list->size()) {
    name.clear();
    return;
  }
  name = (*list)[static_cast<size_t>(index)].description;
}

bool SoundMgrDX8::SelectDevice(int32_t index) {
  const auto* list = device_ ? device_->GetDeviceList() : nullptr;
  if (!list || index < 0 || static_cast<size_t>(index) >= list->size()) return false;
  const DXSoundDriver driver = (*list)[static_cast<size_t>(index)];

  delete listener_;
  listener_ = nullptr;
  for (DXSoundBuffer* buffer : bufferCache_) buffer->ReleaseOutputBuffer();
  deviceGuid_ = driver.hasGuid ? driver.guid : platform::SoundGuid{};
  device_->Reopen(driver);
  listener_ = new DX3DSoundListener(device_->GetDevice(), device_->GetPrimary());
  // A file that failed on the old device may load on the new one.
  failedNames_.clear();
  for (DXSoundBuffer* buffer : bufferCache_) {
    const std::string name = buffer->fileName;
    buffer->Create(name, device_->GetDevice());
  }
  // New output buffers carry no effects yet: the next full update sets them.
  for (FXHandleDX* chain : chains_) chain->structureChanged = true;
  if (driver.hasGuid) SetOption("snd_dx8_device_guid", FormatGuidText(driver.guid));
  return true;
}

void SoundMgrDX8::SetListenerPosition(JVector position) {
  if (listener_) listener_->SetPosition(position, true);
}

void SoundMgrDX8::SetListenerOrientation(JVector front) {
  if (listener_) listener_->SetOrientation(front, true);
}

void SoundMgrDX8::SetListenerVelocity(JVector velocity) {
  if (listener_) listener_->SetVelocity(velocity, true);
}
