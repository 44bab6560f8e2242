#pragma once
// The abstract root of every node of the GUI tree: an entity of the entity
// manager with the GUI's type word. Only GUIEntity and its kinds are made.
#include "engine/entity/EntityBase.h"

class GUIBase : public cEntity_Base {
 protected:
  explicit GUIBase(cEntity_Manager* owner) : cEntity_Base(owner, kEntityType_Base) {}
};
