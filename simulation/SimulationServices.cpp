#include "simulation/SimulationServices.h"

#include "engine/config/ConfigManager.h"
#include "engine/entity/ActionFactory.h"
#include "engine/entity/EntityBase.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/GlobalWrapper.h"
#include "simulation/ActionPDA.h"
#include "simulation/Simulation.h"

cKV9_GlobalWrapper* GameTableOf(cEntity_Base* entity) {
  cEntity_Manager* manager = entity ? entity->GetManager() : nullptr;
  return manager ? dynamic_cast<cKV9_GlobalWrapper*>(manager->GetGlobalWrapper()) : nullptr;
}

cGameManager* GameManagerOf(cKV9_GlobalWrapper* table) {
  return table && table->configManager ? table->configManager->GetGameManager() : nullptr;
}

cSimulation_Clock* GameClockOf(cKV9_GlobalWrapper* table) {
  return table && table->simulation ? &table->simulation->clock : nullptr;
}

void PostNotice(cKV9_GlobalWrapper* table, const std::string& subject, const std::string& body) {
  if (!table || !table->actionFactory) return;
  auto* pda = dynamic_cast<ActionPDA*>(table->actionFactory->GetAction("PDA"));
  if (!pda) return;
  pda->PostMessage(pda->AddMessage(subject, body));
}

void PostStandardMessage(cKV9_GlobalWrapper* table, uint32_t id) {
  if (!table || !table->actionFactory) return;
  if (auto* pda = dynamic_cast<ActionPDA*>(table->actionFactory->GetAction("PDA"))) pda->PostMessage(id);
}
