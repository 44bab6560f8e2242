#include "platform/MessageBox.h"

#include "platform/DebugOutput.h"

namespace platform {
namespace {
MessageBoxHandler& Handler() {
  static MessageBoxHandler handler;
  return handler;
}
}  // namespace

int MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  if (Handler()) return Handler()(text, caption, flags);
  // The debug channel is standard error: the text is said there once.
  OutputDebugString("[MessageBox] " + caption + ": " + text + "\n");
  if ((flags & 0xF) == MB_YESNO) return IDYES;
  return IDOK;
}

bool MessageBoxesShown() { return static_cast<bool>(Handler()); }

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  MessageBoxHandler previous = std::move(Handler());
  Handler() = std::move(handler);
  return previous;
}

}  // namespace platform
