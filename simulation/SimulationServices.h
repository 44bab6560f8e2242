#pragma once
// How the simulation's managers reach the game's service table and the
// neighbours in it: the table of an entity, the engine game manager, the
// game clock, player notices and the slow-down rule.
#include <cstdint>
#include <cstdio>
#include <string>

class cEntity_Base;
class cGameManager;
class cKV9_GlobalWrapper;
class cSimulation_Clock;

// The game's table of the entity's manager, or null.
cKV9_GlobalWrapper* GameTableOf(cEntity_Base* entity);
cGameManager* GameManagerOf(cKV9_GlobalWrapper* table);
// The simulation's clock, or null while there is no simulation.
cSimulation_Clock* GameClockOf(cKV9_GlobalWrapper* table);
// Adds the notice to the PDA and posts it; nothing without a PDA.
void PostNotice(cKV9_GlobalWrapper* table, const std::string& subject, const std::string& body);
// Posts the PDA's standard message `id`; nothing without a PDA.
void PostStandardMessage(cKV9_GlobalWrapper* table, uint32_t id);

// printf-style text of any length for notices and labels.
template <typename... Args>
std::string FormatText(const char* format, Args... args) {
  const int n = std::snprintf(nullptr, 0, format, args...);
  if (n <= 0) return {};
  std::string text(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, args...);
  text.resize(static_cast<size_t>(n));
  return text;
}
