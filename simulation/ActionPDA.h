#pragma once
// The PDA screen's action ("PDA"): the store of player notices. The screens
// issue completes it.
#include <cstdint>
#include <string>

#include "engine/entity/ActionBase.h"

class ActionPDA : public cAction_Base {
 public:
  ActionPDA() : cAction_Base("PDA") {}

  // Stores {subject, body} under the next free id and returns the id.
  virtual uint32_t AddMessage(const std::string& subject, const std::string& body) = 0;
  // Puts the stored message at the front of the posted list, unread.
  virtual void PostMessage(uint32_t id) = 0;
};
