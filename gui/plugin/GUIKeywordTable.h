#pragma once
// The keyword bindings the GUI service registers, in registration order.
#include <cstddef>

struct GUIKeywordBinding {
  const char* language;
  const char* keyword;  // null: the language is made empty
  const char* command;
};

// 110 bindings and one entry that makes the empty "GUIGroup".
inline constexpr size_t kGUIKeywordBindingCount = 111;
extern const GUIKeywordBinding kGUIKeywordBindings[kGUIKeywordBindingCount];
