#pragma once
// The input service. The input plug-in's module reads the keyboard and the
// mouse once per frame and hands every packet, merged by time stamp, to one
// receiver: the game's input manager.
#include <cstdint>

#include "engine/services/CoreBase.h"
#include "engine/services/InputPackets.h"
#include "base/Status.h"
#include "platform/window/WindowTypes.h"

// The receiver of every packet: the game's input manager, whose
// OnMousePacket and OnKeyPacket the pump calls (their results are not looked
// at).
class cCore_Base_InputMGR;

class CoreInput : public CoreBase {
 public:
  CoreInput();
  ~CoreInput() override;

  // The device start, called by the library manager in place of the module
  // base's Init: the window, the program instance and a spare word.
  // Negative on failure.
  virtual CoreStatus Init(platform::HWND window, platform::HINSTANCE instance, void* spare) = 0;
  using CoreBase::Init;
  // The per-frame pump: reads both devices and delivers their packets.
  virtual CoreStatus Update(float frameTime) = 0;
  virtual CoreStatus ReservedA() = 0;
  virtual CoreStatus ReservedB() = 0;
  virtual void Suspend() = 0;
  // Called whenever the window becomes active.
  virtual void Reacquire() = 0;
  // Given once at start-up the address of the table's client rectangle.
  virtual void SetClientRectRef(const platform::RECT* rect) = 0;
  virtual void SetReceiver(cCore_Base_InputMGR* receiver) = 0;
  virtual CoreStatus UnacquireDevices() = 0;
  virtual CoreStatus RestoreDevices() = 0;
};

// The device-manager layer of input modules; the game's service table keeps
// the input module also seen as this class.
class cCore_Base_DeviceManager : public CoreInput {
 public:
  cCore_Base_DeviceManager();
  ~cCore_Base_DeviceManager() override;

  virtual void SetMousePosition(int32_t x, int32_t y) = 0;
  virtual void GetMousePosition(int32_t* x, int32_t* y) = 0;
};
