#pragma once
// "CreditsMenu": the credits screen. While "scnCredits" is shown it turns
// its three pages on a timer, writes the team lines of the first page, and
// now and then shows a rare variant: the alternate-art page it builds
// itself, or the alternative line in place of the team lines.
#include <cstdint>

#include "engine/entity/ActionBase.h"
#include "engine/entity/Singleton.h"

class cCore_GlobalWrapper;
class cKV9_GlobalWrapper;

class ActionCreditsMenu : public cAction_Base, public Singleton<ActionCreditsMenu> {
 public:
  explicit ActionCreditsMenu(cCore_GlobalWrapper* table);

  CoreStatus Execute(cEntity_Base* sender, uintptr_t code, const std::string& params) override;
  // Page 0 for 6 s, stopped; builds the alternate-art page when the GUI
  // has "scnCredits" and the page is missing.
  void Reset() override;
  // The page cycle; `seconds` is the frame time.
  void Update(float seconds) override;

  int32_t page = 0;
  float timer = 6.0f;
  bool running = false;

 private:
  void BuildAltArtPage();
  void WriteTeamLines(class GUIEntity* credits, int32_t draw);

  cCore_GlobalWrapper* table_ = nullptr;
};
