#pragma once
// Message boxes raised during a test, captured instead of printed.
#include <string>
#include <vector>

#include "platform/MessageBox.h"

namespace buildtest {

struct BoxRecorder {
  BoxRecorder() {
    previous = platform::SetMessageBoxHandler([this](const std::string& text, const std::string& caption, unsigned) {
      boxes.push_back(caption + ": " + text);
      return static_cast<int>(platform::IDOK);
    });
  }
  ~BoxRecorder() { platform::SetMessageBoxHandler(previous); }
  BoxRecorder(const BoxRecorder&) = delete;
  BoxRecorder& operator=(const BoxRecorder&) = delete;
  platform::MessageBoxHandler previous;
  std::vector<std::string> boxes;
};

}  // namespace buildtest
