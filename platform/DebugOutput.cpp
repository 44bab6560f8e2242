#include "platform/DebugOutput.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace platform {
namespace {
DebugSink& Sink() {
  static DebugSink sink;
  return sink;
}
bool g_stderr = true;
}  // namespace

void OutputDebugString(std::string_view text) {
  if (g_stderr) {
    std::fwrite(text.data(), 1, text.size(), stderr);
  }
  if (Sink()) Sink()(text);
}

void DebugPrintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (n > 0) {
    std::vector<char> buffer(static_cast<size_t>(n) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    OutputDebugString(std::string_view(buffer.data(), static_cast<size_t>(n)));
  }
  va_end(args);
}

DebugSink SetDebugSink(DebugSink sink) {
  DebugSink previous = std::move(Sink());
  Sink() = std::move(sink);
  return previous;
}

void SetDebugStderr(bool enabled) { g_stderr = enabled; }

ScopedDebugCapture::ScopedDebugCapture() {
  previous_ = SetDebugSink([this](std::string_view t) { text_.append(t); });
}

ScopedDebugCapture::~ScopedDebugCapture() { SetDebugSink(std::move(previous_)); }

}  // namespace platform
