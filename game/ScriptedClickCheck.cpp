#include "game/ScriptedClickCheck.h"

#include <sstream>
#include <string>

#include "construction/GamePlot.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/Panelis.h"
#include "gui/core/GUIEntity.h"

namespace {

bool OnCell(cKV9_GlobalWrapper* table, const std::string& target, std::string* got) {
  std::istringstream words(target.substr(5));
  int32_t x = 0;
  int32_t z = 0;
  std::string rest;
  if (!(words >> x >> z) || (words >> rest)) {
    *got = "no cell (the aim needs \"cell <x> <z>\")";
    return false;
  }
  // A pointer over a widget clicks the widget, not the land.
  if (GUIEntity* hover = table->gui ? table->gui->GetHoverEntity() : nullptr) {
    *got = hover->GetName();
    return false;
  }
  int32_t cx = 0;
  int32_t cz = 0;
  if (!table->gamePlot || !table->gamePlot->PickCell(&cx, &cz)) {
    *got = "no plot cell";
    return false;
  }
  *got = "cell " + std::to_string(cx) + " " + std::to_string(cz);
  return cx == x && cz == z;
}

}  // namespace

platform::ClickCheck ScriptedClickCheck(cKV9_GlobalWrapper* table) {
  return [table](const std::string& target, std::string* got) {
    if (target.rfind("cell ", 0) == 0) return OnCell(table, target, got);
    GUIEntity* hover = table->gui ? table->gui->GetHoverEntity() : nullptr;
    *got = hover ? hover->GetName() : "nothing";
    for (GUIEntity* e = hover; e; e = e->GetParent()) {
      if (e->GetName() == target) return true;
    }
    return false;
  };
}
