#include "platform/window/ScriptedInput.h"

#include "base/StringUtil.h"
#include "platform/Clock.h"
#include "platform/DebugOutput.h"
#include "platform/Locale.h"
#include "platform/FileRead.h"
#include "platform/window/KeyCodes.h"
#include "platform/window/Window.h"

namespace platform {
namespace {

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

bool ParseRange(std::string_view text, int32_t lo, int32_t hi, int32_t* out) {
  int32_t v = 0;
  if (!TryParseInt(text, &v) || v < lo || v > hi) return false;
  // TryParseInt saturates; reject texts that only reached the range by it.
  if (text.size() > 12) return false;
  *out = v;
  return true;
}

// A key name, or a key code in hex ("0x1E"); decimal digits are the names
// of the digit keys.
bool ParseKey(std::string_view text, uint8_t* dik) {
  if (uint8_t named = DikFromName(text)) {
    *dik = named;
    return true;
  }
  if (text.size() < 3 || text.size() > 4 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return false;
  int32_t v = 0;
  for (char c : text.substr(2)) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return false;
    v = v * 16 + digit;
  }
  if (v < 1) return false;
  *dik = static_cast<uint8_t>(v);
  return true;
}

// Parses one non-empty, non-comment line; returns the reason on failure.
const char* ParseLine(const std::vector<std::string_view>& f, ScriptedEvent* out) {
  int32_t time = 0;
  if (!ParseRange(f[0], 0, INT32_MAX, &time)) return "bad time";
  out->time = static_cast<uint32_t>(time);
  if (f.size() < 2) return "missing event";
  SystemEvent& e = out->event;
  e.hasTime = true;
  std::string_view verb = f[1];
  if (str::EqualsNoCase(verb, "key")) {
    if (f.size() != 4) return "key needs down/up/repeat and a key";
    e.kind = SystemEventKind::Key;
    if (str::EqualsNoCase(f[2], "down")) {
      e.down = true;
    } else if (str::EqualsNoCase(f[2], "repeat")) {
      e.down = e.repeat = true;
    } else if (!str::EqualsNoCase(f[2], "up")) {
      return "key needs down, up or repeat";
    }
    if (!ParseKey(f[3], &e.dik)) return "unknown key";
  } else if (str::EqualsNoCase(verb, "move")) {
    if (f.size() != 4) return "move needs dx and dy";
    e.kind = SystemEventKind::MouseMove;
    if (!ParseRange(f[2], -32768, 32767, &e.dx) || !ParseRange(f[3], -32768, 32767, &e.dy)) return "bad motion";
  } else if (str::EqualsNoCase(verb, "button")) {
    if (f.size() != 4) return "button needs down/up and a number";
    e.kind = SystemEventKind::MouseButton;
    if (str::EqualsNoCase(f[2], "down")) {
      e.down = true;
    } else if (!str::EqualsNoCase(f[2], "up")) {
      return "button needs down or up";
    }
    if (!ParseRange(f[3], 0, 7, &e.button)) return "button number outside 0..7";
  } else if (str::EqualsNoCase(verb, "wheel")) {
    if (f.size() != 3) return "wheel needs a notch count";
    e.kind = SystemEventKind::MouseWheel;
    int32_t notches = 0;
    if (!ParseRange(f[2], -100, 100, &notches) || notches == 0) return "wheel notches outside -100..100 or 0";
    e.wheel = notches * 120;
  } else if (str::EqualsNoCase(verb, "window")) {
    if (f.size() != 3) return "window needs what happens";
    static constexpr struct {
      const char* name;
      SystemEventKind kind;
    } kWindow[] = {{"activate", SystemEventKind::Activate},
                   {"deactivate", SystemEventKind::Deactivate},
                   {"minimize", SystemEventKind::Minimize},
                   {"restore", SystemEventKind::Restore},
                   {"close", SystemEventKind::Close}};
    bool found = false;
    for (const auto& w : kWindow) {
      if (str::EqualsNoCase(f[2], w.name)) {
        e.kind = w.kind;
        found = true;
      }
    }
    if (!found) return "unknown window event";
  } else {
    return "unknown event";
  }
  return nullptr;
}

// The aim of a "# click <target>: ..." comment, its words single-spaced;
// empty for any other comment.
std::string ClickTarget(std::string_view comment) {
  comment.remove_prefix(1);
  std::vector<std::string_view> words = Fields(comment.substr(0, comment.find(':')));
  if (words.size() < 2 || words[0] != "click") return {};
  std::string target(words[1]);
  for (size_t i = 2; i < words.size(); ++i) target += " " + std::string(words[i]);
  return target;
}

}  // namespace

ScriptedInput::~ScriptedInput() { Stop(); }

CoreStatus ScriptedInput::Parse(std::string_view text, std::string_view name) {
  std::string label(name);
  if (text.size() > kMaxFileSize) {
    DebugPrintf("%s: file too large\n", label.c_str());
    return status::Fail;
  }
  std::vector<ScriptedEvent> events;
  size_t lineNo = 0;
  size_t pos = 0;
  uint32_t lastTime = 0;
  std::string aim;  // the last click comment's target, until a release takes it
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > kMaxLineLength) {
      DebugPrintf("%s line %zu: line too long\n", label.c_str(), lineNo);
      return status::Fail;
    }
    for (char c : line) {
      if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
        DebugPrintf("%s line %zu: control character\n", label.c_str(), lineNo);
        return status::Fail;
      }
    }
    std::string_view trimmed = str::TrimView(line);
    if (trimmed.empty()) continue;
    if (trimmed[0] == '#') {
      if (std::string target = ClickTarget(trimmed); !target.empty()) aim = std::move(target);
      continue;
    }
    ScriptedEvent ev;
    ev.line = lineNo;
    const char* error = ParseLine(Fields(trimmed), &ev);
    if (!error && ev.time < lastTime) error = "time goes backwards";
    if (!error && events.size() >= kMaxEvents) error = "too many events";
    if (error) {
      DebugPrintf("%s line %zu: %s\n", label.c_str(), lineNo, error);
      return status::Fail;
    }
    lastTime = ev.time;
    if (ev.event.kind == SystemEventKind::MouseButton && !ev.event.down && ev.event.button == 0) {
      ev.target = std::move(aim);
      aim.clear();
    }
    events.push_back(std::move(ev));
  }
  events_ = std::move(events);
  name_ = label;
  failure_.clear();
  next_ = 0;
  return status::Ok;
}

CoreStatus ScriptedInput::Load(const std::string& fileName) {
  std::string text;
  FileReadError why;
  if (!ReadFileText(fileName, kMaxFileSize, &text, &why)) {
    DebugPrintf("%s: cannot read the input script: it %s\n", fileName.c_str(), why.text.c_str());
    return status::Fail;
  }
  return Parse(text, fileName);
}

void ScriptedInput::Start(HWND window) {
  window_ = window;
  startTick_ = GetTickCount();
  next_ = 0;
  raisedAny_ = false;
  halted_ = false;
  failure_.clear();
  started_ = true;
  AddSystemEventSource(this);
}

void ScriptedInput::Stop() {
  if (!started_) return;
  started_ = false;
  RemoveSystemEventSource(this);
}

void ScriptedInput::PumpEvents(uint32_t now) {
  if (!started_ || halted_) return;
  uint32_t elapsed = now - startTick_;  // unsigned: survives the tick count wrapping
  while (next_ < events_.size() && events_[next_].time <= elapsed) {
    const ScriptedEvent& due = events_[next_];
    if (check_ && !due.target.empty()) {
      if (raisedAny_ && lastRaised_ == now) return;
      std::string got;
      if (!check_(due.target, &got)) {
        failure_ = name_ + " line " + std::to_string(due.line) + ": the click aimed at " + due.target +
                   " lands on " + (got.empty() ? "nothing" : got);
        DebugPrintf("%s\n", failure_.c_str());
        halted_ = true;
        PostQuitMessage(1);
        return;
      }
    }
    SystemEvent e = due.event;
    e.time = startTick_ + due.time;
    ++next_;
    lastRaised_ = now;
    raisedAny_ = true;
    bool windowEvent = e.kind == SystemEventKind::Activate || e.kind == SystemEventKind::Deactivate ||
                       e.kind == SystemEventKind::Minimize || e.kind == SystemEventKind::Restore ||
                       e.kind == SystemEventKind::Close;
    if (windowEvent) e.window = window_;
    RaiseSystemEvent(e);
  }
}

}  // namespace platform
