#include "screens/ActionDemolishDialog.h"

#include "base/StringUtil.h"
#include "construction/BuildPlacement.h"
#include "construction/GamePlot.h"
#include "engine/services/GlobalWrapper.h"

namespace {

constexpr CoreStatus kNotHandled = static_cast<CoreStatus>(0x80150003);

}  // namespace

ActionDemolishDialog::ActionDemolishDialog(cCore_GlobalWrapper* table)
    : cAction_Base("DemolishDialog"), table_(dynamic_cast<cKV9_GlobalWrapper*>(table)) {}

CoreStatus ActionDemolishDialog::Execute(cEntity_Base*, uintptr_t, const std::string& params) {
  const std::string word = params.substr(0, params.find_first_of(" |"));
  const bool accept = str::EqualsNoCase(word, "AcceptDemolish");
  if (!accept && !str::EqualsNoCase(word, "CancelDemolish")) return kNotHandled;
  cEntity_GamePlot* plot = table_ ? table_->gamePlot : nullptr;
  if (!plot) return 0;
  if (accept) {
    plot->Placement().AcceptDemolish();
  } else {
    plot->Placement().CancelDemolish();
  }
  return 0;
}
