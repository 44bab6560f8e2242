#pragma once
// A lazily created scratch string shared through one pointer per owner.
// Get creates the holder and its string on first use; Release drops the use
// and, at zero uses, frees both and clears the owner's pointer.
#include <cstdint>
#include <memory>
#include <string>

struct StringHolder {
  std::unique_ptr<std::string> text;
  uint8_t uses = 0;

  static std::string& Get(StringHolder*& owner);
  static void Release(StringHolder*& owner);
};
