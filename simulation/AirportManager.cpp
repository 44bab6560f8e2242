#include "simulation/AirportManager.h"

#include <algorithm>

#include "base/StringUtil.h"
#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "engine/entity/ActionBase.h"
#include "engine/entity/ActionFactory.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"
#include "platform/DebugOutput.h"
#include "platform/FileRead.h"
#include "simulation/AirportBlob.h"
#include "simulation/AirportSite.h"
#include "simulation/Calendar.h"
#include "simulation/ContractManager.h"
#include "simulation/PdaArchive.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationServices.h"
#include "simulation/StatManager.h"

namespace {

constexpr uint64_t kMaxTableBytes = 16ull * 1024 * 1024;

constexpr float kFeePrices[cEntity_AirportManager::kFeeItemCount] = {50,  100, 150, 200, 250, 50, 100, 150, 200,
                                                                     250, 300, 3,   2,   250, 50, 2,  100, 100};

PdaArchive* ArchiveOf(cKV9_GlobalWrapper* table) {
  if (!table || !table->actionFactory) return nullptr;
  return dynamic_cast<PdaArchive*>(table->actionFactory->GetAction("PDA"));
}

}  // namespace

cEntity_AirportManager::cEntity_AirportManager(cEntity_Manager* manager, uint32_t type)
    : cEntity_Base(manager, type), cSimulation_TimeObject(kTimeEvent_Minute | kTimeEvent_Hour | kTimeEvent_Day) {
  SetFeePrices();
}

cEntity_AirportManager::~cEntity_AirportManager() = default;

cKV9_GlobalWrapper* cEntity_AirportManager::Table() { return GameTableOf(this); }

std::string cEntity_AirportManager::ResourcePath() {
  cEntity_Manager* manager = GetManager();
  return manager ? manager->GetResourcePath() : std::string();
}

void cEntity_AirportManager::SetFeePrices() { std::copy(std::begin(kFeePrices), std::end(kFeePrices), feePrices); }

void cEntity_AirportManager::ClearTraffic() {
  closure = 0;
  traffic = 0;
  std::fill(std::begin(history), std::end(history), 0u);
}

CoreStatus cEntity_AirportManager::Init() {
  const std::string base = ResourcePath();
  auto read = [&](const char* name) {
    std::string text;
    platform::FileReadError why;
    if (!platform::ReadFileText(name, kMaxTableBytes, &text, &why, base)) {
      platform::DebugPrintf("[cEntity_AirportManager::Init] %s: %s\n", name, why.text.c_str());
      text.clear();
    }
    return text;
  };
  ReadAwardTable(read(kAwardTable));
  ReadEventTable(read(kEventTable));
  return status::Ok;
}

void cEntity_AirportManager::ReadAwardTable(std::string_view text) {
  ::ReadAwardTable(text, &awards);
  LoadAwardImages();
}

void cEntity_AirportManager::ReadEventTable(std::string_view text) { ::ReadEventTable(text, &events); }

void cEntity_AirportManager::LoadAwardImages() {
  cKV9_GlobalWrapper* table = Table();
  Core3D* renderer = table ? table->graphics : nullptr;
  if (!renderer) return;
  const std::string base = ResourcePath();
  for (auto& award : awards) award->image.Set(renderer, renderer->CreateShader(8, base + award->imagePath));
}

CoreStatus cEntity_AirportManager::Start() {
  SetFeePrices();
  cKV9_GlobalWrapper* table = Table();
  if (!registered_) {
    if (cSimulation_Clock* clock = GameClockOf(table)) {
      clock->RegisterTimeObject(this);
      registered_ = true;
    }
  }
  ClearTraffic();
  if (GetBlobSize() == 0) return status::Ok;
  if (!ApplyBlob(GetBlob(), GetBlobSize()))
    platform::DebugPrintf("[cEntity_AirportManager::Start] save blob refused; nothing restored\n");
  FreeBlob();
  if (table && table->buildingManager && site_) {
    for (BOInstance* runway : site_->Runways()) LinkStoragesToRunway(runway);
  }
  return status::Ok;
}

CoreStatus cEntity_AirportManager::Stop() {
  if (registered_) {
    if (cSimulation_Clock* clock = GameClockOf(Table())) clock->UnregisterTimeObject(this);
    registered_ = false;
  }
  for (auto& bank : passengerBanks) bank.clear();
  for (auto& bank : cargoBanks) bank.clear();
  for (BOInstance* storage : dropoffStorages) CancelStorageLinks(storage);
  dropoffStorages.clear();
  storages.clear();
  coldStorages.clear();
  return status::Ok;
}

CoreStatus cEntity_AirportManager::Exit() {
  awards.clear();
  events.clear();
  return cEntity_Base::Exit();
}

int32_t cEntity_AirportManager::OnTime(uint32_t, uint32_t, uint32_t eventFlag, float) {
  cKV9_GlobalWrapper* table = Table();
  if (eventFlag == kTimeEvent_Day) {
    UpdateTraffic();
  } else if (eventFlag == kTimeEvent_Hour) {
    cEntity_ContractManager* contracts = table ? table->contractManager : nullptr;
    if (contracts && contracts->running && !contracts->IsAirportFunctional()) {
      contracts->NotifyNotFunctional();
      return 0;
    }
    cSimulation_Clock* clock = GameClockOf(table);
    const uint8_t hour = clock ? calendar::HourOfDay(clock->hour) : 0;
    if (hour >= 5 && hour <= 19 && hour % 2 == 1) {
      SchedulePassengerBank((hour - 5) / 2);
      ScheduleCargoBank((hour - 5) / 2);
    }
  }
  return 0;
}

// Save and load.

bool cEntity_AirportManager::Save(SerialBlock* bytes, uint32_t* size) {
  AirportBlob blob;
  if (PdaArchive* pda = ArchiveOf(Table())) {
    for (const PdaArchive::Entry& entry : pda->PostedEntries()) {
      AirportBlob::Entry saved{entry.id, entry.read};
      if (entry.id >= AirportBlob::kFirstSavedId) {
        AirportBlob::Message message;
        pda->GetMessage(entry.id, &message.subject, &message.body);
        saved.id = AirportBlob::kFirstSavedId + static_cast<uint32_t>(blob.messages.size());
        blob.messages.push_back(std::move(message));
      }
      blob.entries.push_back(saved);
    }
  }
  for (const auto& award : awards) {
    if (award->won) blob.wonAwards.push_back(award->name);
  }
  for (const auto& event : events) {
    if (event->triggered) blob.events.push_back({event->name, event->lastTriggerValue});
  }
  blob.closure = closure;
  blob.traffic = traffic;
  std::copy(std::begin(history), std::end(history), blob.history);
  const std::vector<uint8_t> out = blob.Serialize();
  *size = static_cast<uint32_t>(out.size());
  bytes->reset(new uint8_t[out.size()]);
  std::copy(out.begin(), out.end(), bytes->get());
  return true;
}

bool cEntity_AirportManager::ApplyBlob(const uint8_t* bytes, uint32_t size) {
  AirportBlob blob;
  const char* why = "";
  if (!AirportBlob::Parse(bytes, size, &blob, &why)) {
    platform::DebugPrintf("[cEntity_AirportManager] save blob of %u bytes is %s; refused\n", size, why);
    return false;
  }
  ApplyLoaded(blob);
  return true;
}

void cEntity_AirportManager::ApplyLoaded(const AirportBlob& blob) {
  if (PdaArchive* pda = ArchiveOf(Table())) {
    std::vector<uint32_t> ids;
    for (const AirportBlob::Message& m : blob.messages) ids.push_back(pda->StoreMessage(m.subject, m.body));
    std::vector<PdaArchive::Entry> posted;
    for (const AirportBlob::Entry& e : blob.entries) {
      const uint32_t id = e.id >= AirportBlob::kFirstSavedId ? ids[e.id - AirportBlob::kFirstSavedId] : e.id;
      posted.push_back({id, e.read});
    }
    pda->RestorePosted(posted);
  }
  // Names not in the tables are skipped.
  for (const std::string& name : blob.wonAwards) {
    if (cAward* award = FindAward(name)) award->won = 1;
  }
  for (const AirportBlob::TriggeredEvent& saved : blob.events) {
    for (auto& event : events) {
      if (str::EqualsNoCase(event->name, saved.name)) {
        event->triggered = 1;
        event->lastTriggerValue = saved.lastTriggerValue;
        break;
      }
    }
  }
  closure = blob.closure;
  traffic = blob.traffic;
  std::copy(std::begin(blob.history), std::end(blob.history), history);
}

// Awards.

cAward* cEntity_AirportManager::FindAward(const std::string& name) {
  for (auto& award : awards) {
    if (str::EqualsNoCase(award->name, name)) return award.get();
  }
  return nullptr;
}

void cEntity_AirportManager::ListWonAwards(std::vector<std::string>& names) {
  for (auto& award : awards) {
    if (award->won) names.push_back(award->name);
  }
}

void cEntity_AirportManager::CheckAward(uint8_t conditionType, float value) {
  cKV9_GlobalWrapper* table = Table();
  cSimulation_Clock* clock = GameClockOf(table);
  cEntity_StatManager* stats = table ? table->statManager : nullptr;
  if (!clock || !stats) return;
  const int32_t years = static_cast<int32_t>(clock->year) - static_cast<int32_t>(clock->startYear);
  const float rating = stats->block.airlineSatisfaction;
  for (auto& award : awards) {
    if (award->won || award->conditionType != conditionType || award->level > years) continue;
    if (rating < award->requiredRating || value < award->threshold) continue;
    award->won = 1;
    PostNotice(table, "You've won an award!", FormatText("You have won the %s award!", award->name.c_str()));
    stats->AddFunds(award->prize);
  }
}

// Administration places.

bool cEntity_AirportManager::HasAdminCapacityFor(BOInstance* building) {
  if (!site_ || !building || !building->GetType()) return false;
  const uint8_t level = building->GetType()->GetLevel();
  for (BOInstance* admin : site_->AdminBuildings()) {
    if (site_->FreeAdminPlaces(admin) > 0 && admin->GetType() && admin->GetType()->GetLevel() >= level) return true;
  }
  return false;
}

bool cEntity_AirportManager::AssignToAdmin(BOInstance* building) {
  if (!site_ || !building || !building->GetType()) return false;
  const uint8_t level = building->GetType()->GetLevel();
  BOInstance* chosen = nullptr;
  for (BOInstance* admin : site_->AdminBuildings()) {
    cBuildableObject* type = admin->GetType();
    if (!type || site_->FreeAdminPlaces(admin) <= 0 || type->GetLevel() < level) continue;
    if (!chosen || type->GetLevel() < chosen->GetType()->GetLevel()) chosen = admin;
  }
  if (!chosen) return false;
  site_->AddAdministered(chosen, site_->IdentityWord(building));
  return true;
}

void cEntity_AirportManager::ReleaseFromAdmin(BOInstance* building) {
  if (!site_ || !building) return;
  const uint32_t word = site_->IdentityWord(building);
  for (BOInstance* admin : site_->AdminBuildings()) {
    if (site_->TakeQueuedType(admin, word)) return;
  }
}
