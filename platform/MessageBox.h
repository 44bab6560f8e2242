#pragma once
// Message boxes. Without a window layer the text goes to stderr and the
// default answer comes back at once, so a headless run or a test never blocks.
// The window layer installs a handler that shows a real box.
#include <functional>
#include <string>

namespace platform {

enum MessageBoxFlags : unsigned {
  MB_OK = 0x0,
  MB_OKCANCEL = 0x1,
  MB_YESNO = 0x4,
  MB_ICONERROR = 0x10,
  MB_ICONWARNING = 0x30,
  MB_ICONINFORMATION = 0x40,
};

enum MessageBoxResult : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

using MessageBoxHandler = std::function<int(const std::string& text, const std::string& caption, unsigned flags)>;

int MessageBox(const std::string& text, const std::string& caption, unsigned flags = MB_OK);
// Installs a handler and returns the previous one (empty: stderr).
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
// True while a handler shows the boxes (a display is in use); false when
// they go to the debug channel (standard error).
bool MessageBoxesShown();

}  // namespace platform
