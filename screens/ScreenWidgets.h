#pragma once
// Typed widget lookup for the screen actions. Screens keep no widget
// pointers: every step looks its widget up by name and checks its class. A
// widget that is missing or of another kind makes the step that needs it do
// nothing; the lookup says so in one debug line.
#include <string>

#include "engine/services/Panelis.h"
#include "gui/core/GUIEntity.h"

namespace screens {

void ReportMissingWidget(const char* screen, const std::string& name, bool wrongKind);

// Below the GUI world.
template <typename T>
T* FindWidget(Panelis* gui, const std::string& name, const char* screen) {
  GUIEntity* found = gui ? gui->FindEntity(name) : nullptr;
  T* typed = dynamic_cast<T*>(found);
  if (!typed) ReportMissingWidget(screen, name, found != nullptr);
  return typed;
}

// `parent` itself or its first descendant of that name.
template <typename T>
T* FindChildWidget(GUIEntity* parent, const std::string& name, const char* screen) {
  GUIEntity* found = parent ? parent->FindChild(name) : nullptr;
  T* typed = dynamic_cast<T*>(found);
  if (!typed) ReportMissingWidget(screen, name, found != nullptr);
  return typed;
}

// Widget messages that show and hide a widget and fire its "show" or "hide"
// event; 34 and 35 enable and disable it.
inline constexpr uint32_t kMsgShow = 30;
inline constexpr uint32_t kMsgHide = 31;
inline constexpr uint32_t kMsgEnable = 34;
inline constexpr uint32_t kMsgDisable = 35;

}  // namespace screens
