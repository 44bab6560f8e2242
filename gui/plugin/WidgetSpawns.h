#pragma once
// The widget factories: one static factory per widget kind and the world,
// each recording itself as the factory of its kind while it lives. The
// spawn package hands them out by index; the entity manager creates widgets
// through them by spawn name.
#include <cstdint>
#include <new>
#include <string>

#include "engine/entity/SpawnBase.h"

class cEntity_Manager;

// The factory of a widget kind (2 to 16), or null.
cSpawn_Base* WidgetSpawnOfKind(int32_t kind);
// The factory of a spawn-pack index (0 to 14), or null.
cSpawn_Base* WidgetSpawnOfPackIndex(uint32_t index);

// A factory of one widget class, kept in the table of kinds.
template <typename T>
class WidgetSpawn : public cSpawn_Base {
 public:
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override {
    return new (std::nothrow) T(creator);
  }

 protected:
  WidgetSpawn(const char* spawnName, int32_t kind);
  ~WidgetSpawn() override;

 private:
  int32_t kind_;
};
