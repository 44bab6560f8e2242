#include "simulation/EventManager.h"

#include <cmath>
#include <cstdio>

#include "base/ByteReader.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "construction/GamePlot.h"
#include "engine/config/ConfigManager.h"
#include "engine/entity/EntityManager.h"
#include "engine/files/SerializeRecord.h"
#include "engine/frame/BaseCamera.h"
#include "engine/frame/GameManager.h"
#include "engine/math/Noise.h"
#include "engine/services/GlobalWrapper.h"
#include "platform/DebugOutput.h"
#include "platform/Random.h"
#include "scene/AudioManager.h"
#include "scene/ParticleFactoryManager.h"
#include "scene/SceneCamera.h"
#include "simulation/AirportManager.h"
#include "simulation/Calendar.h"
#include "simulation/DecimalValue.h"
#include "simulation/GameScenario.h"
#include "simulation/Simulation.h"
#include "simulation/SimulationServices.h"
#include "simulation/SimulationWidgets.h"
#include "simulation/StatManager.h"
#include "simulation/WeatherManager.h"

namespace {

constexpr uint32_t kEventBytes = 16;
constexpr uint32_t kConditionBytes = 20;
constexpr float kPausedStep = 0.02f;

std::string Numbered(const char* format, uint32_t n) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, n);
  return buffer;
}

}  // namespace

cEntity_EventManager::cEntity_EventManager(cEntity_Manager* manager)
    : cEntity_Base(manager, kEntityType_Base), cSimulation_TimeObject(kTimeEvent_Tick | kTimeEvent_Week) {}

cEntity_EventManager::~cEntity_EventManager() { Clear(); }

cKV9_GlobalWrapper* cEntity_EventManager::Table() { return GameTableOf(this); }

CoreStatus cEntity_EventManager::Init() {
  cEntity_Manager* manager = GetManager();
  helpFile_.Load(kHelpFile, manager ? manager->GetResourcePath() : std::string());
  return status::Ok;
}

CoreStatus cEntity_EventManager::Start() {
  cKV9_GlobalWrapper* table = Table();
  if (cSimulation_Clock* clock = GameClockOf(table)) clock->RegisterTimeObject(this);
  autoslow.Read(table ? table->configManager : nullptr);
  helpActive = 0;
  return status::Ok;
}

CoreStatus cEntity_EventManager::Stop() {
  if (cSimulation_Clock* clock = GameClockOf(Table())) clock->UnregisterTimeObject(this);
  Clear();
  return status::Ok;
}

void cEntity_EventManager::Clear() {
  win_.clear();
  lose_.clear();
  queue_.clear();
}

int32_t cEntity_EventManager::OnTime(uint32_t, uint32_t, uint32_t eventFlag, float gameDelta) {
  cKV9_GlobalWrapper* table = Table();
  cSimulation_Clock* clock = GameClockOf(table);
  const float s = clock ? clock->speed : 0.0f;
  if (eventFlag == kTimeEvent_Tick) {
    const float step = s > 0.0f ? gameDelta / s : kPausedStep;
    helpTimer -= step;
    if (helpTimer <= 0.0f && helpActive && !helpWaiting && HelperCharacterOn()) {
      ++helpIndex;
      if (!ShowHelpMessage()) {
        if (SimulationWidgets* widgets = GetSimulationWidgets()) widgets->ShowScene("scnHelp", false);
        helpActive = 0;
      }
    }
    if (soundTimer > 0.0f) {
      soundTimer -= step;
      if (soundTimer < 0.0f) {
        soundTimer = 0.0f;
        if (table && table->audioManager && helpSound) table->audioManager->StopSound(helpSound);
        helpSound = nullptr;
      }
    }
  }
  if (s > 0.0f) {
    const EndGameResult result = CheckEndGame();
    if (result != EndGameResult::None) {
      if (table && table->scenario) {
        if (result == EndGameResult::Win) {
          table->scenario->ShowWinScreen();
        } else {
          table->scenario->ShowLoseScreen();
        }
      }
      if (clock && clock->speed != 0.0f) clock->Pause();
    }
    // The date fields agree with each other only at the tick: during the
    // year change's week event the year is already new while the day of
    // year is still the old one, which would make a whole year's events due.
    if (eventFlag == kTimeEvent_Tick) ProcessDueEvents();
  }
  return 0;
}

void cEntity_EventManager::ScheduleEvent(const EventRecord& event) {
  EventRecord record = event;
  record.hour = calendar::HourOfDay(record.hour);
  const uint64_t key = EventTimeKey(record);
  // Before the first queued event at or after its time.
  queue_.emplace_hint(queue_.lower_bound(key), key, record);
}

std::vector<EventRecord> cEntity_EventManager::GetQueue() const {
  std::vector<EventRecord> events;
  events.reserve(queue_.size());
  for (const auto& entry : queue_) events.push_back(entry.second);
  return events;
}

void cEntity_EventManager::RemoveFlightEvents(uint32_t flightId, bool cargo) {
  const uint32_t kind = cargo ? kEvent_CargoFlight : kEvent_PassengerFlight;
  std::erase_if(queue_, [&](const auto& entry) { return entry.second.kind == kind && entry.second.payload == flightId; });
}

void cEntity_EventManager::AddEndGame(const EndGame& record) {
  (record.lose ? lose_ : win_).push_back(record);
}

bool cEntity_EventManager::ConditionHolds(const EndGame& condition) {
  cKV9_GlobalWrapper* table = Table();
  cEntity_StatManager* stats = table ? table->statManager : nullptr;
  const float threshold = condition.value;
  auto statFloat = [&](float StatBlock::*field) { return stats && stats->block.*field >= threshold; };
  // Money is kept in double precision: it meets the threshold as written
  // ("1234.56"), not the float nearest it, which lies above 1234.56.
  auto statDouble = [&](double value) { return value >= DecimalValue(threshold); };
  auto statCount = [&](uint32_t StatBlock::*field) {
    return stats && static_cast<double>(stats->block.*field) >= static_cast<double>(threshold);
  };
  switch (condition.criterion) {
    case kCriterion_Safety:
      return statFloat(&StatBlock::safetyRating);
    case kCriterion_Security:
      return statFloat(&StatBlock::securityRating);
    case kCriterion_Satisfaction:
      return statFloat(&StatBlock::satisfactionRating);
    case kCriterion_Building: {
      int64_t count = 0;
      for (cBuildableObject* type : condition.types) {
        if (type) count += type->GetOperatingInstanceCount();
      }
      return count >= static_cast<int64_t>(threshold);
    }
    case kCriterion_Contracts:
      return statCount(&StatBlock::contractsSigned);
    case kCriterion_Passengers:
      return statCount(&StatBlock::passengers);
    case kCriterion_Planes:
      return statCount(&StatBlock::flights);
    case kCriterion_Budget:
      return stats && statDouble(stats->block.cash);
    case kCriterion_TicketSales:
      return stats && statDouble(stats->block.ticketSales);
    case kCriterion_Rent:
      return stats && statDouble(stats->block.amenityIncome);
    case kCriterion_Earnings:
      return stats && statDouble(stats->block.income - stats->block.expenses);
    case kCriterion_TechLevel: {
      // Only the building manager's 16 flags exist; another threshold never holds.
      if (!(threshold >= 0.0f && threshold < static_cast<float>(kTechnologyFlagCount))) return false;
      cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
      return buildings && buildings->GetTechFlag(static_cast<uint32_t>(threshold));
    }
    default:
      return true;
  }
}

EndGameResult cEntity_EventManager::CheckEndGame() {
  if (win_.empty() && lose_.empty()) return EndGameResult::None;
  for (const EndGame& condition : lose_) {
    if (!ConditionHolds(condition)) return EndGameResult::Lose;
  }
  // Lose conditions that all hold are no victory by themselves.
  if (win_.empty()) return EndGameResult::None;
  for (const EndGame& condition : win_) {
    if (!ConditionHolds(condition)) return EndGameResult::None;
  }
  return EndGameResult::Win;
}

void cEntity_EventManager::ProcessDueEvents() {
  cSimulation_Clock* clock = GameClockOf(Table());
  if (!clock) return;
  const uint64_t now = EventTimeKey(clock->year, clock->dayOfYear, clock->hour, clock->minute, clock->second);
  while (!queue_.empty() && queue_.begin()->first <= now) {
    const EventRecord event = queue_.begin()->second;
    queue_.erase(queue_.begin());
    Dispatch(event);
  }
}

void cEntity_EventManager::Dispatch(const EventRecord& event) {
  cKV9_GlobalWrapper* table = Table();
  cSimulation_Clock* clock = GameClockOf(table);
  auto normalSpeed = [&] {
    if (clock) clock->SetSpeed(1);
  };
  switch (event.kind) {
    case kEvent_Blizzard:
      normalSpeed();
      if (table && table->weatherManager) table->weatherManager->StartBlizzard(0);
      break;
    case kEvent_Hurricane:
    case kEvent_Drought:
      normalSpeed();
      break;
    case kEvent_Tornado:
      normalSpeed();
      StartTornado();
      break;
    case kEvent_Sandstorm:
      normalSpeed();
      StartSandstorm();
      break;
    case kEvent_Earthquake:
      normalSpeed();
      StartEarthquake();
      break;
    case kEvent_EarthquakeDamage:
      if (table && table->buildingManager)
        table->buildingManager->ApplyEarthquakeDamage(static_cast<int32_t>(event.payload));
      break;
    case kEvent_EndGame:
      if (table && table->scenario) table->scenario->ShowLoseScreen();
      if (clock) clock->Pause();
      break;
    case kEvent_PassengerFlight:
    case kEvent_CargoFlight:
      if (table && table->airportManager) table->airportManager->FlightArrival(event.payload);
      break;
    default:
      // The companion kind and unknown kinds do nothing.
      break;
  }
}

void cEntity_EventManager::StartTornado() {
  cKV9_GlobalWrapper* table = Table();
  const float x = static_cast<float>(platform::Rand() % 256 - 128);
  const float y = table && table->gamePlot ? table->gamePlot->GetGroundHeight() : 0.0f;
  const float z = static_cast<float>(platform::Rand() % 256 - 128);
  if (table && table->particleFactoryManager)
    table->particleFactoryManager->StartEffect(kParticleEffect_Tornado, JVector(x, y, z), JVector(0.0f, 1.0f, 0.0f));
  PostNotice(table, "Tornado!", "A tornado has touched down!");
}

void cEntity_EventManager::StartEarthquake() {
  cKV9_GlobalWrapper* table = Table();
  cSimulation_Clock* clock = GameClockOf(table);
  if (!clock || clock->speed <= 0.0f) return;
  const float m = Noise_RandomFloatInRange(0.0f, 10.0f);
  const float k = Noise_RandomFloatInRange(0.0f, m);
  if (cGameManager* gameManager = GameManagerOf(table)) {
    if (auto* camera = dynamic_cast<SceneCamera*>(gameManager->GetCamera()))
      camera->StartShake(static_cast<int32_t>(m), 2.0f * m);
  }
  if (!helpSound && table && table->audioManager) {
    helpSound = table->audioManager->PlaySound("Sounds\\DIS_equake.wav", true, 1);
    soundTimer = 2.0f * m;
  }
  EventRecord damage;
  damage.kind = kEvent_EarthquakeDamage;
  damage.minute = clock->minute;
  damage.hour = clock->hour;
  damage.dayOfYear = clock->dayOfYear;
  damage.year = clock->year;
  damage.payload = static_cast<uint32_t>(m);
  for (uint32_t i = 0; static_cast<float>(i) < k; ++i) {
    damage.second = static_cast<uint8_t>(clock->second + i);
    ScheduleEvent(damage);
  }
  char body[64];
  std::snprintf(body, sizeof body, "A %.1f earthquake has struck!", m);
  PostNotice(table, "Earthquake!", body);
}

void cEntity_EventManager::StartSandstorm() {
  cKV9_GlobalWrapper* table = Table();
  if (table && table->particleFactoryManager) table->particleFactoryManager->StartSandstorm();
}

bool cEntity_EventManager::HelperCharacterOn() {
  cKV9_GlobalWrapper* table = Table();
  bool on = true;
  if (table && table->configManager) table->configManager->GetBool("App", "HelperCharacter", on);
  return on;
}

bool cEntity_EventManager::ShowHelpMessage() {
  std::string text;
  if (cObjectDef* all = helpFile_.FindObject("DefinedHelpMessages")) {
    if (cObjectDef* topic = all->FindChild(Numbered("HelpMess%i", helpTopic))) {
      if (const char* value = topic->GetString(Numbered("text%i", helpIndex))) {
        text = value;
        helpTimer = topic->GetFloat("time");
        helpWaiting = topic->GetInt(Numbered("wait%i", helpIndex)) > 0 ? 1 : 0;
      }
    }
  }
  if (text.empty()) return false;
  if (SimulationWidgets* widgets = GetSimulationWidgets()) {
    widgets->ShowScene("scnHelp", true);
    widgets->SetMultiLineText("scnHelp", "mlHelpText", text);
  }
  return true;
}

void cEntity_EventManager::StartHelpTopic(uint32_t topic) {
  helpActive = 0;
  if (!HelperCharacterOn()) return;
  helpActive = 1;
  helpIndex = 1;
  helpTopic = topic;
  ShowHelpMessage();
}

void cEntity_EventManager::ShowNextHelpMessage() {
  if (!HelperCharacterOn() || !helpActive) return;
  ++helpIndex;
  ShowHelpMessage();
}

void cEntity_EventManager::ClearHelpWait(uint32_t set, uint32_t topic, uint32_t message) {
  if (set != helpSet || topic != helpTopic || message != helpIndex) return;
  helpWaiting = 0;
  helpTimer = 0.0f;
}

bool cEntity_EventManager::Save(SerialBlock* bytes, uint32_t* size) {
  *size = 0;
  bytes->reset();
  // Conditions are saved with or without queued events, so a loaded game
  // keeps its scenario's goals.
  if (queue_.empty() && win_.empty() && lose_.empty()) return false;
  SaveRecordWriter out;
  out.PutU32(static_cast<uint32_t>(queue_.size()));
  for (const auto& [key, e] : queue_) {
    out.PutU32(e.kind);
    out.PutU8(e.second);
    out.PutU8(e.minute);
    out.PutU8(e.hour);
    out.PutU8(0);
    out.PutU16(e.dayOfYear);
    out.PutU16(e.year);
    out.PutU32(e.payload);
  }
  for (const std::vector<EndGame>* list : {&win_, &lose_}) {
    out.PutU32(static_cast<uint32_t>(list->size()));
    for (const EndGame& c : *list) {
      cBuildableObject* first = nullptr;
      if (c.criterion == kCriterion_Building) {
        for (cBuildableObject* type : c.types) {
          if (type) {
            first = type;
            break;
          }
        }
      }
      out.PutF32(c.value);
      out.PutI32(c.criterion);
      out.PutU8(first ? first->GetClass() : 0);
      out.PutU8(0);
      out.PutU16(first ? first->GetId() : 0);
      out.PutU32(c.kept);
      out.PutU8(c.lose);
      out.PutU8(0);
      out.PutU16(0);
    }
  }
  return out.Release(bytes, size);
}

bool cEntity_EventManager::LoadFromBlob(const uint8_t* bytes, uint32_t size) {
  if (!bytes) return false;
  auto fail = [](const char* why) {
    platform::OutputDebugString(std::string("[cEntity_EventManager::Load] event blob refused: ") + why + "\n");
    return false;
  };
  ByteReader in(bytes, size);
  const uint32_t events = in.U32();
  if (!in.Ok() || events > in.Remaining() / kEventBytes) return fail("event count exceeds the bytes left");
  std::vector<EventRecord> loaded(events);
  for (EventRecord& e : loaded) {
    e.kind = in.U32();
    e.second = in.U8();
    e.minute = in.U8();
    const uint8_t hour = in.U8();
    in.U8();
    e.dayOfYear = in.U16();
    e.year = in.U16();
    e.payload = in.U32();
    if (hour > 24 || e.minute > 59) return fail("event time out of range");
    if (e.dayOfYear < 1 || e.dayOfYear > 366 || e.year < calendar::kEpochYear) return fail("event date out of range");
    e.hour = calendar::HourOfDay(hour);
  }
  struct LoadedCondition {
    EndGame record;
    uint8_t classCode = 0;
    uint16_t id = 0;
  };
  std::vector<LoadedCondition> conditions;
  for (int list = 0; list < 2; ++list) {
    const uint32_t count = in.U32();
    if (!in.Ok() || count > in.Remaining() / kConditionBytes) return fail("condition count exceeds the bytes left");
    for (uint32_t i = 0; i < count; ++i) {
      LoadedCondition c;
      c.record.value = in.F32();
      c.record.criterion = in.I32();
      c.classCode = in.U8();
      in.U8();
      c.id = in.U16();
      c.record.kept = in.U32();
      c.record.lose = in.U8();
      in.Skip(3);
      if (!std::isfinite(c.record.value)) return fail("condition threshold is not a number");
      if (c.record.lose != list) return fail("condition lose flag does not match its list");
      if (c.classCode >= kBuildingClassCount) return fail("condition building class out of range");
      conditions.push_back(c);
    }
  }
  if (!in.Ok()) return fail("truncated");
  if (in.Remaining() != 0) return fail("bytes left over after the lose conditions");

  // Scheduled last to first: among events of equal time the one scheduled
  // last runs first, so this keeps the saved order of ties.
  for (auto it = loaded.rbegin(); it != loaded.rend(); ++it) ScheduleEvent(*it);
  cKV9_GlobalWrapper* table = Table();
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  for (LoadedCondition& c : conditions) {
    if (c.record.criterion == kCriterion_Building && buildings) {
      for (uint8_t level = 0; level < kBuildingLevelCount; ++level)
        c.record.types[level] = buildings->GetBuildingType(c.classCode, c.id, level);
    }
    AddEndGame(c.record);
  }
  return true;
}
