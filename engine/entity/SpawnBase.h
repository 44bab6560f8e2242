#pragma once
// A named maker of one kind of entity. The entity manager creates entities by
// spawn name through the action factory.
#include <cstdint>
#include <string>

class cEntity_Base;
class cEntity_Manager;

class cSpawn_Base {
 public:
  cSpawn_Base() = default;
  explicit cSpawn_Base(std::string spawnName) : name(std::move(spawnName)) {}
  // Spawns are owned and deleted through this base, so the destructor is
  // virtual: the concrete spawn's own members are released too.
  virtual ~cSpawn_Base() = default;
  cSpawn_Base(const cSpawn_Base&) = delete;
  cSpawn_Base& operator=(const cSpawn_Base&) = delete;

  // A new entity made for `creator`, or null when it cannot be made. The
  // entity manager passes 0, 0, itself and an empty text.
  virtual cEntity_Base* Create(uint32_t a, uint32_t b, cEntity_Manager* creator, const std::string& text) = 0;

  const std::string& GetName() const { return name; }

  std::string name;            // lower-cased in place when filed
  int32_t referenceCount = 0;  // kept by the factory
};
