#pragma once
// The debugger output channel: diagnostics and start-up traces. Text goes to
// stderr (unless muted) and to an optional sink that tests read.
#include <functional>
#include <string>
#include <string_view>

namespace platform {

using DebugSink = std::function<void(std::string_view)>;

void OutputDebugString(std::string_view text);
// printf-style convenience; the text is formatted in the "C" locale.
void DebugPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Installs a sink and returns the previous one (empty for none).
DebugSink SetDebugSink(DebugSink sink);
// Stops copying the channel to stderr (tests that expect many diagnostics).
void SetDebugStderr(bool enabled);

// Captures the channel while alive; restores the previous sink on exit.
class ScopedDebugCapture {
 public:
  ScopedDebugCapture();
  ~ScopedDebugCapture();
  ScopedDebugCapture(const ScopedDebugCapture&) = delete;
  ScopedDebugCapture& operator=(const ScopedDebugCapture&) = delete;
  const std::string& Text() const { return text_; }
  bool Contains(std::string_view needle) const { return text_.find(needle) != std::string::npos; }
  void Clear() { text_.clear(); }

 private:
  std::string text_;
  DebugSink previous_;
};

}  // namespace platform
