#pragma once
// The input service: owns the input object, the mouse and the keyboard, and
// once a frame reads both and hands every new packet to the receiver,
// merged by time stamp.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/services/CoreInput.h"
#include "engine/entity/InputSocketManager.h"
#include "input/KeyboardDevice.h"
#include "input/MouseDevice.h"

class cDX8_DeviceManager : public cCore_Base_DeviceManager {
 public:
  using HRESULT = platform::HRESULT;

  cDX8_DeviceManager();
  ~cDX8_DeviceManager() override;

  // The module base: nothing to configure.
  bool Init() override { return true; }
  void Shutdown() override {}
  void LoadConfig() override {}
  uint32_t GetConfig(CoreBaseConfigMap** options) override;
  bool ApplyConfig() override { return true; }
  void ClearConfig() override {}
  const char* GetName() override { return "[Input]"; }
  const char* GetDescription() override { return "The Input Library"; }
  eServiceType GetServiceType() override { return eService_Input; }

  // The input service.
  CoreStatus Init(platform::HWND window, platform::HINSTANCE instance, void* spare) override;
  CoreStatus Update(float frameTime) override;
  CoreStatus ReservedA() override { return platform::DI_OK; }
  CoreStatus ReservedB() override { return platform::DI_OK; }
  void Suspend() override {}
  // Devices acquire again by themselves on the first read after the window
  // is back in front, so activation needs nothing here.
  void Reacquire() override {}
  void SetClientRectRef(const platform::RECT*) override {}
  void SetReceiver(cCore_Base_InputMGR* receiver) override { receiver_ = receiver; }
  CoreStatus UnacquireDevices() override;
  CoreStatus RestoreDevices() override;
  void SetMousePosition(int32_t x, int32_t y) override;
  void GetMousePosition(int32_t* x, int32_t* y) override;

  // Further operations of this manager.
  virtual HRESULT ReservedC() { return platform::DI_OK; }
  virtual HRESULT ReservedD() { return platform::DI_OK; }
  virtual HRESULT ReservedE(void*) { return platform::DI_OK; }
  virtual HRESULT ReservedF(void*) { return platform::DI_OK; }
  virtual HRESULT ReservedG(void*) { return platform::DI_OK; }
  // Looking devices up is not offered: fails whatever it is given.
  virtual HRESULT FindDevice(const void* what, cCore_Base_BaseDevice** found);
  // The identifier of one of this manager's devices.
  virtual HRESULT GetDeviceGUID(cCore_Base_BaseDevice* device, platform::GUID* guid);

  bool IsEnabled() const { return enabled_; }
  cDX8_MouseDevice* GetMouse() { return mouse_.get(); }
  cDX8_KeyboardDevice* GetKeyboard() { return keyboard_.get(); }

 private:
  bool HaveDevices() const { return mouse_ && keyboard_; }

  platform::IDirectInput8* input_ = nullptr;
  cCore_Base_InputMGR* receiver_ = nullptr;
  std::unique_ptr<cDX8_MouseDevice> mouse_;
  std::unique_ptr<cDX8_KeyboardDevice> keyboard_;
  std::vector<cCore_Base_BaseDevice*> devices_;  // creation order, not owning
  MousePacket* mousePackets_ = nullptr;
  uint32_t mouseCount_ = 0;
  KeyboardPacket* keyPackets_ = nullptr;
  uint32_t keyCount_ = 0;
  bool enabled_ = false;
};
