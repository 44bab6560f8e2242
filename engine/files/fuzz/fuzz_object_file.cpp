// The older object file: token reader plus statement interpreter.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/files/ObjectFile.h"
#include "engine/files/TokenReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> tokens;
  ReadTextTokens(std::string_view(reinterpret_cast<const char*>(data), size), &tokens);
  ObjectFile file;
  file.LoadTokens(tokens);
  // Walk what was built; every parent link must point at the holder.
  std::vector<const cObjectDef*> pending;
  for (const auto& object : file.GetObjects()) {
    if (object->GetParent() != nullptr) __builtin_trap();
    pending.push_back(object.get());
  }
  while (!pending.empty()) {
    const cObjectDef* def = pending.back();
    pending.pop_back();
    for (const auto& value : def->GetValues()) {
      (void)def->GetInt(value.key);
      (void)def->GetFloat(value.key);
    }
    for (const auto& child : def->GetChildren()) {
      if (child->GetParent() != def) __builtin_trap();
      if (def->FindChild(child->GetName()) == nullptr) __builtin_trap();
      pending.push_back(child.get());
    }
  }
  return 0;
}
