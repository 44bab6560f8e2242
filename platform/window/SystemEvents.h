#pragma once
// System events: what the user and the desktop do to the program's windows
// and devices. The SDL backend raises them from SDL's events; on the headless
// backend tests and the scripted input source raise them directly. Each event
// reaches the input devices at once (key state, buffered records) and becomes
// window messages that the next PeekMessage/GetMessage delivers.
#include <cstdint>

#include "platform/window/WindowTypes.h"

namespace platform {

enum class SystemEventKind {
  Activate,     // the window gets the focus
  Deactivate,   // the window loses the focus
  Minimize,     // the window was minimised
  Restore,      // the window came back from minimised
  Hide,         // the window was hidden by the desktop
  Show,         // ... and shown again
  Close,        // the user asked to close the window (close box, Alt+F4)
  Resize,       // new client size: width, height
  Key,          // key: dik, down, repeat
  MouseMove,    // relative motion: dx, dy (positive right and down)
  MouseButton,  // button 0..7 (0 left, 1 right, 2 middle), down
  MouseWheel,   // wheel: delta in wheel units (120 per notch, positive away from the user)
};

struct SystemEvent {
  SystemEventKind kind = SystemEventKind::Key;
  HWND window = nullptr;  // null: the active window (key and mouse events)
  uint8_t dik = 0;
  bool down = false;
  bool repeat = false;    // key auto-repeat: messages only, never device records
  int32_t dx = 0;
  int32_t dy = 0;
  int32_t button = 0;
  int32_t wheel = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool hasTime = false;   // false: stamped with GetTickCount() when raised
  uint32_t time = 0;
};

void RaiseSystemEvent(const SystemEvent& event);

// Shorthands.
void RaiseWindowEvent(HWND hwnd, SystemEventKind kind);
void RaiseKey(uint8_t dik, bool down, bool repeat = false, HWND hwnd = nullptr);
void RaiseMouseMove(int32_t dx, int32_t dy);
void RaiseMouseButton(int32_t button, bool down);
void RaiseMouseWheel(int32_t delta);

// Whether a key is held, as the system sees it (every key event counts,
// whichever window had the focus).
bool IsKeyDown(uint8_t dik);

// A source of system events polled whenever the layer looks for events
// (PeekMessage, GetMessage, device reads): the scripted input source.
class SystemEventSource {
 public:
  virtual ~SystemEventSource() = default;
  // Raises every event that is due at tick count `now`.
  virtual void PumpEvents(uint32_t now) = 0;
  // True while events remain to come (a blocking GetMessage may wait for them).
  virtual bool HasPendingEvents() const = 0;
};
void AddSystemEventSource(SystemEventSource* source);
void RemoveSystemEventSource(SystemEventSource* source);

// Collects the backend's events and polls the sources. Done by PeekMessage,
// GetMessage and the input devices' reads; callers rarely need it.
void PumpSystemEvents();

}  // namespace platform
