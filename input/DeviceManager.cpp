#include "input/DeviceManager.h"

#include <new>

#include "platform/DebugOutput.h"

cDX8_DeviceManager::cDX8_DeviceManager() = default;

cDX8_DeviceManager::~cDX8_DeviceManager() {
  devices_.clear();
  mouse_.reset();
  keyboard_.reset();
  if (input_) input_->Release();
}

uint32_t cDX8_DeviceManager::GetConfig(CoreBaseConfigMap**) { return 0; }

CoreStatus cDX8_DeviceManager::Init(platform::HWND window, platform::HINSTANCE instance, void*) {
  if (input_) {
    platform::OutputDebugString("Input: the devices are already started\n");
    return platform::E_FAIL;
  }
  void* object = nullptr;
  if (platform::DirectInput8Create(instance, platform::DIRECTINPUT_VERSION, platform::IID_IDirectInput8A, &object,
                                   nullptr) < 0) {
    platform::OutputDebugString("Input: the input object cannot be created\n");
    return platform::E_FAIL;
  }
  input_ = static_cast<platform::IDirectInput8*>(object);
  mouse_ = std::make_unique<cDX8_MouseDevice>(window);
  keyboard_ = std::make_unique<cDX8_KeyboardDevice>(window);
  HRESULT hr = mouse_->Create(input_) | keyboard_->Create(input_);
  if (hr >= 0) {
    devices_.push_back(mouse_.get());
    devices_.push_back(keyboard_.get());
    enabled_ = true;
  } else {
    platform::OutputDebugString("Input: the mouse or the keyboard cannot be created\n");
  }
  return hr;
}

CoreStatus cDX8_DeviceManager::Update(float) {
  // Without the devices a start would have made there is nothing to read
  // and nothing to restore.
  if (!HaveDevices()) return platform::E_FAIL;
  if (!mouse_->HasDevice() || !keyboard_->HasDevice()) RestoreDevices();
  if (!enabled_ || !receiver_) return platform::E_FAIL;

  mouseCount_ = mouse_->ReadBufferedData(&mousePackets_);
  keyCount_ = keyboard_->ReadBufferedData(&keyPackets_);

  // Both arrays are in arrival order; merge them by time stamp, a tie going
  // to the mouse. The tick count wraps, so stamps are compared by their
  // signed difference.
  uint32_t m = 0;
  uint32_t k = 0;
  while (m < mouseCount_ || k < keyCount_) {
    bool mouseFirst = k >= keyCount_ ||
                      (m < mouseCount_ &&
                       static_cast<int32_t>(mousePackets_[m].timeStamp - keyPackets_[k].timeStamp) <= 0);
    if (mouseFirst) {
      receiver_->OnMousePacket(&mousePackets_[m++]);
    } else {
      receiver_->OnKeyPacket(&keyPackets_[k++]);
    }
  }
  return platform::DI_OK;
}

CoreStatus cDX8_DeviceManager::UnacquireDevices() {
  if (!HaveDevices()) return platform::E_FAIL;
  return mouse_->Unacquire() | keyboard_->Unacquire();
}

CoreStatus cDX8_DeviceManager::RestoreDevices() {
  if (!HaveDevices() || !input_) return platform::E_FAIL;
  HRESULT hr = mouse_->HasDevice() ? mouse_->Acquire() : mouse_->Create(input_);
  hr |= keyboard_->HasDevice() ? keyboard_->Acquire() : keyboard_->Create(input_);
  return hr;
}

void cDX8_DeviceManager::SetMousePosition(int32_t x, int32_t y) {
  if (mouse_) mouse_->SetPosition(static_cast<int16_t>(x), static_cast<int16_t>(y));
}

void cDX8_DeviceManager::GetMousePosition(int32_t* x, int32_t* y) {
  if (mouse_) mouse_->GetPosition(x, y);
}

platform::HRESULT cDX8_DeviceManager::FindDevice(const void*, cCore_Base_BaseDevice**) { return platform::E_FAIL; }

platform::HRESULT cDX8_DeviceManager::GetDeviceGUID(cCore_Base_BaseDevice* device, platform::GUID* guid) {
  if (!device || !guid) return platform::E_FAIL;
  for (cCore_Base_BaseDevice* d : devices_) {
    if (d == device) {
      d->GetGUID(guid);
      return platform::DI_OK;
    }
  }
  return platform::E_FAIL;
}
