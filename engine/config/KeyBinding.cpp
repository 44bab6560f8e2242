#include "engine/config/KeyBinding.h"

#include "engine/config/KeyNames.h"
#include "base/StringUtil.h"

bool ParseKeySpec(std::string_view spec, KeyBinding* binding) {
  std::string_view keyName = spec;
  std::string_view modifierPart;
  const size_t dash = spec.rfind('-');
  if (dash != std::string_view::npos) {
    keyName = spec.substr(dash + 1);
    modifierPart = spec.substr(0, dash);
  }
  binding->scanCode = KeyNameToScanCode(keyName);
  binding->released = 0;

  bool known = true;
  if (dash != std::string_view::npos) {
    for (const std::string& name : str::Split(modifierPart, "-")) {
      if (name.empty()) continue;
      const uint8_t bits = KeyModifierNameToBits(name);
      if (bits == 0) {
        known = false;
        continue;
      }
      binding->modifiers |= bits;
    }
  }
  return known;
}
