#pragma once
// The buffered input devices: each wraps one device of the input layer that
// queues its events with time stamps; once a frame the device takes every
// queued event, turns it into a packet of its own kind and hands out its
// packet array. The arrays are sized once, when the buffer size is applied,
// so reading a frame never allocates.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/window/InputDevices.h"
#include "platform/window/WindowTypes.h"

// Root of the devices: the identifier of the system device it reads.
class cCore_Base_BaseDevice {
 public:
  explicit cCore_Base_BaseDevice(const platform::GUID& guid) : guid_(guid) {}
  virtual ~cCore_Base_BaseDevice() = default;
  cCore_Base_BaseDevice(const cCore_Base_BaseDevice&) = delete;
  cCore_Base_BaseDevice& operator=(const cCore_Base_BaseDevice&) = delete;

  // Copies the identifier into `out` and returns `out`.
  virtual platform::GUID* GetGUID(platform::GUID* out) {
    *out = guid_;
    return out;
  }

 private:
  platform::GUID guid_;
};

// The shared mechanics of a buffered device whose packets are of type T.
template <typename T>
class cDX8_BaseDevice : public cCore_Base_BaseDevice {
 public:
  using HRESULT = platform::HRESULT;
  static constexpr int32_t kMinBufferSize = 1;
  static constexpr int32_t kMaxBufferSize = 128;

  cDX8_BaseDevice(platform::HWND window, std::string name, const platform::GUID& guid)
      : cCore_Base_BaseDevice(guid), name_(std::move(name)), window_(window) {}
  ~cDX8_BaseDevice() override { ReleaseDevice(); }

  // Makes the system device and acquires it.
  virtual HRESULT Create(platform::IDirectInput8* input) = 0;
  // Turns the events of the last read into packets.
  virtual HRESULT ConvertBufferedData() = 0;
  // Resets what the device derives from its events.
  virtual HRESULT ResetState() = 0;

  virtual HRESULT CreateDevice(platform::IDirectInput8* input, const platform::GUID& guid,
                               const platform::DIDATAFORMAT* format, uint32_t flags);
  virtual HRESULT SetProperties() { return SetBufferSize(); }
  virtual HRESULT SetBufferSize();
  // Takes the queued events; on success points *packets at the packet array
  // and returns how many packets it holds. 0 and *packets untouched otherwise.
  virtual uint32_t ReadBufferedData(T** packets);
  virtual bool HasDevice() { return device_ != nullptr; }
  // Discards the queued events and resets the derived state (only while
  // acquired).
  virtual HRESULT Flush();
  // Back to the constructed, empty state.
  virtual HRESULT Clear();
  virtual HRESULT SetAcquired(bool acquire) { return acquire ? Acquire() : Unacquire(); }
  virtual HRESULT Acquire();
  virtual HRESULT Unacquire();

  const std::string& GetName() const { return name_; }
  platform::HWND GetWindow() const { return window_; }
  int32_t GetBufferSize() const { return bufferSize_; }
  uint32_t GetEventCount() const { return eventCount_; }
  bool IsAcquired() const { return acquired_; }

 protected:
  void ReleaseDevice() {
    if (device_) device_->Release();
    device_ = nullptr;
  }

  std::string name_;
  platform::HWND window_;
  platform::IDirectInputDevice8* device_ = nullptr;
  std::unique_ptr<T[]> packets_;
  std::unique_ptr<platform::DIDEVICEOBJECTDATA[]> events_;
  int32_t bufferSize_ = 0;
  uint32_t eventCount_ = 0;
  bool acquired_ = false;
};

template <typename T>
platform::HRESULT cDX8_BaseDevice<T>::CreateDevice(platform::IDirectInput8* input, const platform::GUID& guid,
                                                   const platform::DIDATAFORMAT* format, uint32_t flags) {
  if (!input || bufferSize_ == 0) return platform::DI_OK;
  // A device made again (after its system device went away) starts afresh.
  ReleaseDevice();
  acquired_ = false;
  if (input->CreateDevice(guid, &device_, nullptr) < 0) {
    device_ = nullptr;
    return platform::E_FAIL;
  }
  if (device_->SetDataFormat(format) < 0 || device_->SetCooperativeLevel(window_, flags) < 0) {
    ReleaseDevice();
    return platform::E_FAIL;
  }
  return SetProperties();
}

template <typename T>
platform::HRESULT cDX8_BaseDevice<T>::SetBufferSize() {
  if (!device_ || bufferSize_ < kMinBufferSize || bufferSize_ > kMaxBufferSize) return platform::DI_OK;
  platform::DIPROPDWORD property{};
  property.diph.dwSize = sizeof(platform::DIPROPDWORD);
  property.diph.dwHeaderSize = sizeof(platform::DIPROPHEADER);
  property.diph.dwObj = 0;
  property.diph.dwHow = platform::DIPH_DEVICE;
  property.dwData = static_cast<uint32_t>(bufferSize_);
  if (device_->SetProperty(platform::DIPROP_BUFFERSIZE, &property.diph) < 0) return platform::E_FAIL;
  size_t size = static_cast<size_t>(bufferSize_);
  packets_ = std::make_unique<T[]>(size);
  events_ = std::make_unique<platform::DIDEVICEOBJECTDATA[]>(size);
  eventCount_ = 0;
  return platform::DI_OK;
}

template <typename T>
uint32_t cDX8_BaseDevice<T>::ReadBufferedData(T** packets) {
  if (!device_ || !acquired_ || !events_) return 0;
  uint32_t count = static_cast<uint32_t>(bufferSize_);
  HRESULT hr = device_->GetDeviceData(sizeof(platform::DIDEVICEOBJECTDATA), events_.get(), &count, 0);
  if (hr >= 0) {
    // An overflowed read still hands out what it did return; the lost
    // events are gone either way.
    eventCount_ = count <= static_cast<uint32_t>(bufferSize_) ? count : static_cast<uint32_t>(bufferSize_);
    ConvertBufferedData();
    *packets = packets_.get();
    return eventCount_;
  }
  eventCount_ = 0;
  if (hr == platform::DIERR_INPUTLOST || hr == platform::DIERR_NOTACQUIRED) SetAcquired(true);
  return 0;
}

template <typename T>
platform::HRESULT cDX8_BaseDevice<T>::Flush() {
  if (!device_ || !acquired_) return platform::E_FAIL;
  uint32_t everything = platform::INFINITE;
  device_->GetDeviceData(sizeof(platform::DIDEVICEOBJECTDATA), nullptr, &everything, 0);
  return ResetState();
}

template <typename T>
platform::HRESULT cDX8_BaseDevice<T>::Clear() {
  ReleaseDevice();
  bufferSize_ = 0;
  eventCount_ = 0;
  acquired_ = false;
  packets_.reset();
  events_.reset();
  return platform::DI_OK;
}

template <typename T>
platform::HRESULT cDX8_BaseDevice<T>::Acquire() {
  if (!device_) return platform::E_FAIL;
  HRESULT hr = device_->Acquire();
  if (hr < 0) return hr;
  // Only a re-acquire (the flag still set after a lost read) has stale
  // events and state to drop.
  Flush();
  acquired_ = true;
  return hr;
}

template <typename T>
platform::HRESULT cDX8_BaseDevice<T>::Unacquire() {
  if (!device_) return platform::E_FAIL;
  HRESULT hr = Flush() | device_->Unacquire();
  if (hr >= 0) acquired_ = false;
  return hr;
}
