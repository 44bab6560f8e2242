#pragma once
// State shared by the parts of the window layer (not for use outside it).
#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/NativeWindow.h"
#include "platform/window/SystemEvents.h"
#include "platform/window/Window.h"

namespace platform {

struct CursorShape {
  int32_t id;
};

struct Window {
  std::string className;
  WNDPROC proc = nullptr;
  HCURSOR classCursor = nullptr;
  std::string title;
  uint32_t style = 0;
  RECT rect;  // outer rectangle in desktop pixels
  NativeWindow native;
  intptr_t userData = 0;
  bool visible = false;
  bool minimised = false;
  bool hidden = false;  // hidden by the desktop (not by ShowWindow)
  POINT minTrack{1, 1};
  POINT maxTrack{1 << 15, 1 << 15};
};

namespace detail {

struct ClassRecord {
  std::string name;
  WNDPROC proc = nullptr;
  HCURSOR cursor = nullptr;
  uint32_t style = 0;
  HINSTANCE instance = nullptr;
};

struct PendingMessage {
  HWND hwnd;
  uint32_t message;
  WPARAM wParam;
  LPARAM lParam;
};

struct HotKey {
  HWND hwnd;
  int32_t id;
  uint32_t modifiers;
  uint32_t vk;
};

// A first-in first-out list over one vector: once it has grown to the
// largest size a run needs it never allocates again, because emptying it
// keeps the storage (a deque would allocate and free blocks as it drains).
template <typename T>
class Fifo {
 public:
  bool empty() const { return head_ == items_.size(); }
  size_t size() const { return items_.size() - head_; }
  void push_back(const T& v) { items_.push_back(v); }
  T& front() { return items_[head_]; }
  void pop_front() {
    if (++head_ == items_.size()) clear();
  }
  void clear() {
    items_.clear();
    head_ = 0;
  }
  auto begin() { return items_.begin() + static_cast<std::ptrdiff_t>(head_); }
  auto end() { return items_.end(); }
  void erase(typename std::vector<T>::iterator it) {
    items_.erase(it);
    if (empty()) clear();
  }
  template <typename Pred>
  void erase_if(Pred pred) {
    items_.erase(std::remove_if(begin(), end(), pred), end());
    if (empty()) clear();
  }

 private:
  std::vector<T> items_;
  size_t head_ = 0;
};

inline constexpr int32_t kFrame = 4;     // SM_CXFRAME / SM_CYFRAME
inline constexpr int32_t kCaption = 19;  // SM_CYCAPTION
inline constexpr size_t kQueueLimit = 10000;

struct WindowState {
  bool running = false;
  WindowBackend backend = WindowBackend::Headless;
  std::vector<ClassRecord> classes;
  std::vector<std::unique_ptr<Window>> windows;
  Fifo<MSG> queue;
  Fifo<PendingMessage> pending;  // system notices waiting for the next pump
  bool quitPosted = false;
  int32_t quitCode = 0;
  HWND active = nullptr;
  std::array<bool, 256> keys{};
  std::array<bool, 8> buttons{};
  RECT workArea{0, 0, 1280, 1024};
  HCURSOR cursor = nullptr;
  int32_t showCount = 0;
  std::vector<HotKey> hotKeys;
  std::vector<SystemEventSource*> sources;
  uint32_t sequence = 0;
  bool pumping = false;
};

WindowState& State();
Window* FindWindow(HWND hwnd);  // null when not a live window
// True when input devices bound to the window count as in the foreground.
bool IsForeground(HWND hwnd);
uint32_t NextSequence();
HCURSOR ArrowCursor();
void ApplyCursor();

// SDL backend.
bool SdlStart();
void SdlStop();
bool SdlCreate(Window* w);
void SdlDestroy(Window* w);
void SdlShow(Window* w, int32_t command);
void SdlPlace(Window* w);
void SdlPump();
void SdlWait(int milliseconds);
void SdlShowCursor(bool visible);
void SdlRelativeMouse(bool on);
bool SdlWorkArea(RECT* area);
void SdlTrackLimits(Window* w);

// Input devices.
void HubKey(uint8_t dik, bool down, uint32_t time, uint32_t sequence);
void HubMouse(uint32_t offset, uint32_t data, uint32_t time, uint32_t sequence);
void HubFocusChanged();
void HubShutdown();

// Window-state changes shared by the system events and the window calls.
enum class Delivery { Defer, Send };
void ApplyActivate(Window* w, Delivery d);
void ApplyDeactivate(Window* w, Delivery d);
void ApplyMinimize(Window* w, Delivery d);
void ApplyRestore(Window* w, Delivery d);
void Deliver(Delivery d, HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam);
void DeliverPending();

}  // namespace detail
}  // namespace platform
