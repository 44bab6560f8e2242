#pragma once
// The demolition confirmation ("DemolishDialog"): "AcceptDemolish" hands
// the held click back to the building hand, which then demolishes;
// "CancelDemolish" only closes the dialog.
#include <string>

#include "engine/entity/ActionBase.h"

class cCore_GlobalWrapper;
class cKV9_GlobalWrapper;

class ActionDemolishDialog final : public cAction_Base {
 public:
  explicit ActionDemolishDialog(cCore_GlobalWrapper* table);
  // 0 for the two words, 0x80150003 for any other.
  CoreStatus Execute(cEntity_Base* target, uintptr_t source, const std::string& params) override;

 private:
  cKV9_GlobalWrapper* table_ = nullptr;
};
