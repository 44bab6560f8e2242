#include "platform/window/InputDevices.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/DebugOutput.h"
#include "platform/window/SystemEvents.h"
#include "platform/window/WindowInternal.h"

namespace platform {

const DIDATAFORMAT c_dfDIKeyboard{sizeof(DIDATAFORMAT), 24, DIDF_RELAXIS, 256, 256};
const DIDATAFORMAT c_dfDIMouse2{sizeof(DIDATAFORMAT), 24, DIDF_RELAXIS, sizeof(DIMOUSESTATE2), 11};

namespace {

enum class DeviceKind { Keyboard, Mouse };

class InputDevice;

std::vector<InputDevice*>& Devices() {
  static std::vector<InputDevice*> devices;
  return devices;
}

void UpdateRelativeMouse();

class InputDevice final : public IDirectInputDevice8 {
 public:
  explicit InputDevice(DeviceKind kind) : kind_(kind) { Devices().push_back(this); }

  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    ULONG left = --refs_;
    if (left == 0) {
      std::erase(Devices(), this);
      bool wasRelative = acquired_ && IsExclusiveMouse();
      delete this;
      if (wasRelative) UpdateRelativeMouse();
    }
    return left;
  }

  HRESULT SetDataFormat(const DIDATAFORMAT* format) override {
    if (!format) return E_POINTER;
    if (acquired_) return DIERR_ACQUIRED;
    const DIDATAFORMAT* expected = kind_ == DeviceKind::Keyboard ? &c_dfDIKeyboard : &c_dfDIMouse2;
    if (std::memcmp(format, expected, sizeof(DIDATAFORMAT)) != 0) return DIERR_INVALIDPARAM;
    formatSet_ = true;
    return DI_OK;
  }

  HRESULT SetCooperativeLevel(HWND hwnd, uint32_t flags) override {
    if (acquired_) return DIERR_ACQUIRED;
    uint32_t share = flags & (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE);
    uint32_t place = flags & (DISCL_FOREGROUND | DISCL_BACKGROUND);
    if ((flags & ~0x1Fu) || (share != DISCL_EXCLUSIVE && share != DISCL_NONEXCLUSIVE) ||
        (place != DISCL_FOREGROUND && place != DISCL_BACKGROUND)) {
      return DIERR_INVALIDPARAM;
    }
    if (!IsWindow(hwnd)) return DIERR_INVALIDPARAM;
    hwnd_ = hwnd;
    flags_ = flags;
    return DI_OK;
  }

  HRESULT SetProperty(DIPROPID property, const DIPROPHEADER* header) override {
    if (!header) return E_POINTER;
    if (property != DIPROP_BUFFERSIZE || !ValidHeader(*header)) return DIERR_INVALIDPARAM;
    if (acquired_) return DIERR_ACQUIRED;
    uint32_t size = reinterpret_cast<const DIPROPDWORD*>(header)->dwData;
    if (size > kMaxDeviceBufferSize) return DIERR_INVALIDPARAM;
    // The ring is sized here so that recording never allocates.
    ring_.assign(size, DIDEVICEOBJECTDATA{});
    head_ = count_ = 0;
    overflow_ = false;
    return DI_OK;
  }

  HRESULT GetProperty(DIPROPID property, DIPROPHEADER* header) override {
    if (!header) return E_POINTER;
    if (property != DIPROP_BUFFERSIZE || !ValidHeader(*header)) return DIERR_INVALIDPARAM;
    reinterpret_cast<DIPROPDWORD*>(header)->dwData = static_cast<uint32_t>(ring_.size());
    return DI_OK;
  }

  HRESULT Acquire() override {
    if (!formatSet_) return DIERR_INVALIDPARAM;
    if (acquired_) return DI_NOEFFECT;
    if ((flags_ & DISCL_FOREGROUND) && !detail::IsForeground(hwnd_)) return DIERR_OTHERAPPHASPRIO;
    acquired_ = true;
    lost_ = false;
    ClearBuffer();
    accX_ = accY_ = accZ_ = 0;
    if (IsExclusiveMouse()) UpdateRelativeMouse();
    return DI_OK;
  }

  HRESULT Unacquire() override {
    lost_ = false;
    if (!acquired_) return DI_NOEFFECT;
    acquired_ = false;
    ClearBuffer();
    if (IsExclusiveMouse()) UpdateRelativeMouse();
    return DI_OK;
  }

  HRESULT GetDeviceState(uint32_t size, void* data) override {
    if (!data) return E_POINTER;
    if (kind_ == DeviceKind::Keyboard ? size != 256 : size != sizeof(DIMOUSESTATE2)) return DIERR_INVALIDPARAM;
    PumpSystemEvents();
    if (HRESULT hr = CheckAcquired(); hr != DI_OK) return hr;
    if (kind_ == DeviceKind::Keyboard) {
      auto* bytes = static_cast<uint8_t*>(data);
      for (int k = 0; k < 256; ++k) bytes[k] = IsKeyDown(static_cast<uint8_t>(k)) ? 0x80 : 0;
    } else {
      DIMOUSESTATE2 state{accX_, accY_, accZ_, {}};
      for (size_t b = 0; b < 8; ++b) state.rgbButtons[b] = detail::State().buttons[b] ? 0x80 : 0;
      std::memcpy(data, &state, sizeof(state));
      accX_ = accY_ = accZ_ = 0;
    }
    return DI_OK;
  }

  HRESULT GetDeviceData(uint32_t recordSize, DIDEVICEOBJECTDATA* records, uint32_t* count,
                        uint32_t flags) override {
    if (!count) return E_POINTER;
    uint32_t wanted = *count;
    *count = 0;
    if (recordSize != sizeof(DIDEVICEOBJECTDATA) || (flags & ~DIGDD_PEEK)) return DIERR_INVALIDPARAM;
    if (ring_.empty()) return DIERR_NOTBUFFERED;
    PumpSystemEvents();
    if (HRESULT hr = CheckAcquired(); hr != DI_OK) return hr;
    uint32_t taken = std::min(wanted, count_);
    if (records) {
      for (uint32_t i = 0; i < taken; ++i) records[i] = ring_[(head_ + i) % ring_.size()];
    }
    *count = taken;
    HRESULT result = overflow_ ? DI_BUFFEROVERFLOW : DI_OK;
    if (!(flags & DIGDD_PEEK)) {
      head_ = (head_ + taken) % static_cast<uint32_t>(ring_.size());
      count_ -= taken;
      overflow_ = false;
    }
    return result;
  }

  // Hub side.
  void Record(uint32_t offset, uint32_t data, uint32_t time, uint32_t sequence) {
    if (!acquired_ || ring_.empty()) return;
    if (kind_ == DeviceKind::Mouse) {
      // Motion accumulates with wrap-around, as 32-bit counters do; huge
      // deltas must not overflow a signed sum.
      auto add = [data](int32_t& acc) { acc = static_cast<int32_t>(static_cast<uint32_t>(acc) + data); };
      if (offset == DIMOFS_X) add(accX_);
      if (offset == DIMOFS_Y) add(accY_);
      if (offset == DIMOFS_Z) add(accZ_);
    }
    if (count_ == ring_.size()) {
      overflow_ = true;
      return;
    }
    ring_[(head_ + count_) % ring_.size()] = DIDEVICEOBJECTDATA{offset, data, time, sequence, 0};
    ++count_;
  }

  void CheckFocus() {
    if (acquired_ && (flags_ & DISCL_FOREGROUND) && !detail::IsForeground(hwnd_)) {
      acquired_ = false;
      lost_ = true;
      ClearBuffer();
    }
  }

  DeviceKind Kind() const { return kind_; }
  bool IsExclusiveMouse() const { return kind_ == DeviceKind::Mouse && (flags_ & DISCL_EXCLUSIVE); }
  bool Acquired() const { return acquired_; }

 private:
  ~InputDevice() override = default;

  static bool ValidHeader(const DIPROPHEADER& h) {
    return h.dwSize == sizeof(DIPROPDWORD) && h.dwHeaderSize == sizeof(DIPROPHEADER) && h.dwObj == 0 &&
           h.dwHow == DIPH_DEVICE;
  }

  HRESULT CheckAcquired() {
    if (lost_) {
      lost_ = false;
      return DIERR_INPUTLOST;
    }
    return acquired_ ? DI_OK : DIERR_NOTACQUIRED;
  }

  void ClearBuffer() {
    head_ = count_ = 0;
    overflow_ = false;
  }

  DeviceKind kind_;
  ULONG refs_ = 1;
  bool formatSet_ = false;
  HWND hwnd_ = nullptr;
  uint32_t flags_ = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;
  bool acquired_ = false;
  bool lost_ = false;
  bool overflow_ = false;
  std::vector<DIDEVICEOBJECTDATA> ring_;
  uint32_t head_ = 0;
  uint32_t count_ = 0;
  int32_t accX_ = 0, accY_ = 0, accZ_ = 0;
};

void UpdateRelativeMouse() {
  if (detail::State().backend != WindowBackend::Sdl || !detail::State().running) return;
  bool on = std::any_of(Devices().begin(), Devices().end(),
                        [](const InputDevice* d) { return d->IsExclusiveMouse() && d->Acquired(); });
  detail::SdlRelativeMouse(on);
}

class InputObject final : public IDirectInput8 {
 public:
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT CreateDevice(const GUID& guid, IDirectInputDevice8** device, void* outer) override {
    if (!device) return E_POINTER;
    *device = nullptr;
    if (outer) return E_NOINTERFACE;
    if (guid == GUID_SysKeyboard) {
      *device = new InputDevice(DeviceKind::Keyboard);
    } else if (guid == GUID_SysMouse) {
      *device = new InputDevice(DeviceKind::Mouse);
    } else {
      return DIERR_DEVICENOTREG;
    }
    return DI_OK;
  }

 private:
  ~InputObject() override = default;
  ULONG refs_ = 1;
};

}  // namespace

HRESULT DirectInput8Create(HINSTANCE, uint32_t version, const GUID& iid, void** out, void* outer) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer || !(iid == IID_IDirectInput8A)) return E_NOINTERFACE;
  if (version < DIRECTINPUT_VERSION) return DIERR_OLDDIRECTINPUTVERSION;
  if (version > DIRECTINPUT_VERSION) return DIERR_BETADIRECTINPUTVERSION;
  if (!IsWindowSystemRunning()) {
    OutputDebugString("DirectInput8Create: the window layer is not running\n");
    return DIERR_NOTINITIALIZED;
  }
  *out = static_cast<IDirectInput8*>(new InputObject());
  return DI_OK;
}

namespace detail {

void HubKey(uint8_t dik, bool down, uint32_t time, uint32_t sequence) {
  for (InputDevice* d : Devices()) {
    if (d->Kind() == DeviceKind::Keyboard) d->Record(dik, down ? 0x80u : 0u, time, sequence);
  }
}

void HubMouse(uint32_t offset, uint32_t data, uint32_t time, uint32_t sequence) {
  for (InputDevice* d : Devices()) {
    if (d->Kind() == DeviceKind::Mouse) d->Record(offset, data, time, sequence);
  }
}

void HubFocusChanged() {
  for (InputDevice* d : Devices()) d->CheckFocus();
  UpdateRelativeMouse();
}

void HubShutdown() {
  // Devices outlive the layer only as unacquired shells.
  for (InputDevice* d : Devices()) d->Unacquire();
}

}  // namespace detail
}  // namespace platform
