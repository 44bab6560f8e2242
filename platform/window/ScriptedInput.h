#pragma once
// Scripted input for headless runs: a text file of timed key, mouse and
// window events, raised as system events when their time comes.
//
// Format: one event per line; blank lines and lines whose first non-blank
// character is '#' are ignored; fields are separated by blanks or tabs; line
// ends "\r\n" or "\n". Times are milliseconds from the start of the script,
// 0 to 2147483647, and never decrease.
//   <time> key down <key>       a key goes down; <key> is a key name ("A",
//   <time> key up <key>         "7", "ESCAPE", "LSHIFT", "RETURN", any case)
//   <time> key repeat <key>     or a key code in hex, 0x01..0xFF; a repeat
//                               gives window messages only
//   <time> move <dx> <dy>       relative mouse motion, -32768..32767 each
//   <time> button down <n>      mouse button 0..7 (0 left, 1 right, 2 middle)
//   <time> button up <n>
//   <time> wheel <notches>      -100..100, 120 wheel units per notch
//   <time> window <what>        activate, deactivate, minimize, restore, close
// A comment "# click <target>: ..." names what the next release of button 0
// must land on: a widget's name, or "cell <x> <z>" for a plot cell. With a
// click check set, a release off its target stops the script and the
// program (quit code 1), naming the line.
// Example:
//   0    window activate
//   100  key down LSHIFT
//   120  move 15 -4
//   130  button down 1
//   400  wheel -2
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Status.h"
#include "platform/window/SystemEvents.h"

namespace platform {

struct ScriptedEvent {
  uint32_t time = 0;  // milliseconds from the start
  SystemEvent event;
  size_t line = 0;     // the line of the file it came from (1 based)
  std::string target;  // a release of button 0: what it must land on, or empty
};

// True when the pointer is on `target` now; otherwise false with `got`
// naming what it is on.
using ClickCheck = std::function<bool(const std::string& target, std::string* got)>;

class ScriptedInput : public SystemEventSource {
 public:
  static constexpr size_t kMaxLineLength = 1000;
  static constexpr size_t kMaxEvents = 100000;
  static constexpr size_t kMaxFileSize = 4u << 20;

  ScriptedInput() = default;
  ~ScriptedInput() override;
  ScriptedInput(const ScriptedInput&) = delete;
  ScriptedInput& operator=(const ScriptedInput&) = delete;

  // Replaces the events with the text's. A malformed text is refused with a
  // message on the debugger output naming the line, and nothing changes.
  CoreStatus Parse(std::string_view text, std::string_view name = "input script");
  CoreStatus Load(const std::string& fileName);

  // Starts playing: script time 0 is the tick count now; window events go to
  // `window`, key and mouse events to the active window. Registers with the
  // window layer, which polls the script whenever it looks for events.
  void Start(HWND window);
  void Stop();

  // Checks each targeted release before it is raised (none: no checks).
  void SetClickCheck(ClickCheck check) { check_ = std::move(check); }
  // "<file> line <n>: ..." for the click that missed its target; empty while
  // none did.
  const std::string& Failure() const { return failure_; }

  const std::vector<ScriptedEvent>& Events() const { return events_; }
  size_t Played() const { return next_; }
  bool Finished() const { return next_ >= events_.size(); }

  void PumpEvents(uint32_t now) override;
  bool HasPendingEvents() const override { return started_ && !halted_ && !Finished(); }

 private:
  std::vector<ScriptedEvent> events_;
  size_t next_ = 0;
  bool started_ = false;
  uint32_t startTick_ = 0;
  HWND window_ = nullptr;
  std::string name_;
  ClickCheck check_;
  std::string failure_;
  // The pump time of the last event raised: a checked release waits for a
  // later pump, so the frames in between have seen the pointer arrive.
  uint32_t lastRaised_ = 0;
  bool raisedAny_ = false;
  bool halted_ = false;  // a click missed: nothing more is played
};

}  // namespace platform
