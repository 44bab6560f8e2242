#pragma once
// A keyword language that a description file defines: also a GUI entity, so
// that it can be the parser's current entity while its block is read. Its
// entity part stays in the tree, inactive; the language manager owns it.
#include "engine/config/CoreLanguage.h"
#include "gui/core/GUIEntity.h"

class GUILanguage : public CoreLanguage, public GUIEntity {
 public:
  explicit GUILanguage(cEntity_Manager* owner) : GUIEntity(owner) {}
  ~GUILanguage() override = default;
};
