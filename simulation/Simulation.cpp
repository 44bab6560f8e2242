#include "simulation/Simulation.h"

#include <cfloat>

#include "base/ByteReader.h"
#include "engine/files/SerializeRecord.h"
#include "engine/frame/GameManager.h"
#include "engine/services/GlobalWrapper.h"
#include "platform/DebugOutput.h"
#include "simulation/AirlineManager.h"
#include "simulation/Calendar.h"
#include "simulation/EventManager.h"
#include "simulation/SimulationServices.h"

namespace {

// Process-wide: a stopped simulation's timeline name is never reused.
int32_t g_timelineNumber = 0;

template <typename T>
T* SpawnChild(cGameManager* gameManager, const char* spawnName) {
  cEntity_Base* made = nullptr;
  if (!gameManager || status::Failed(gameManager->SpawnEntity(spawnName, &made)) || !made) return nullptr;
  T* child = dynamic_cast<T*>(made);
  if (!child) gameManager->DestroyEntity(made);
  return child;
}

}  // namespace

cEntity_Simulation::cEntity_Simulation(cEntity_Manager* manager) : cEntity_Base(manager, kEntityType_Base) {
  clock.SetTable(GameTableOf(this));
}

cEntity_Simulation::~cEntity_Simulation() = default;

cKV9_GlobalWrapper* cEntity_Simulation::Table() { return GameTableOf(this); }

CoreStatus cEntity_Simulation::Init() {
  cKV9_GlobalWrapper* table = Table();
  cGameManager* gameManager = GameManagerOf(table);
  clock.SetTable(table);
  if (!airlineManager_)
    airlineManager_ = SpawnChild<cEntity_AirlineManager>(gameManager, cEntity_AirlineManager::kSpawnName);
  if (!eventManager_) eventManager_ = SpawnChild<cEntity_EventManager>(gameManager, cEntity_EventManager::kSpawnName);
  if (table) {
    table->airlineManager = airlineManager_;
    table->eventManager = eventManager_;
  }
  return airlineManager_ && eventManager_ ? status::Ok : status::Fail;
}

CoreStatus cEntity_Simulation::Start() {
  clock.SetTable(Table());
  timeline_ = g_timelineNumber;
  CoreStatus result = TimeService_AddItemTimeline(this, timeline_, TimeEvent::kByFrames, 1.0f, FLT_MAX, false);
  clock.Start(0, loadedTime_);
  loadedTime_ = false;
  if (airlineManager_) result |= airlineManager_->Start(this, eventManager_);
  return result;
}

CoreStatus cEntity_Simulation::Stop() {
  CoreStatus result = TimeService_RemoveItemTimeline(this, timeline_, 0);
  ++g_timelineNumber;
  if (airlineManager_) result |= airlineManager_->Stop();
  clock.Reset();
  return result;
}

CoreStatus cEntity_Simulation::Exit() {
  cKV9_GlobalWrapper* table = Table();
  if (cGameManager* gameManager = GameManagerOf(table)) {
    if (airlineManager_) gameManager->DestroyEntity(airlineManager_);
    if (eventManager_) gameManager->DestroyEntity(eventManager_);
  }
  if (table) {
    if (table->airlineManager == airlineManager_) table->airlineManager = nullptr;
    if (table->eventManager == eventManager_) table->eventManager = nullptr;
  }
  airlineManager_ = nullptr;
  eventManager_ = nullptr;
  cEntity_Base::Exit();
  return status::Fail;
}

void cEntity_Simulation::OnTimeEvent(TimeEvent* event) {
  if (event) clock.Tick(event->accumulated);
}

bool cEntity_Simulation::Save(SerialBlock* bytes, uint32_t* size) {
  SaveRecordWriter writer;
  for (uint32_t v : {uint32_t{clock.day}, uint32_t{clock.hour}, uint32_t{clock.dayOfYear}, uint32_t{clock.minute},
                     uint32_t{clock.month}, uint32_t{clock.second}, uint32_t{clock.week}, uint32_t{clock.year}}) {
    writer.PutU32(v);
  }
  return writer.Release(bytes, size);
}

bool cEntity_Simulation::Load(const uint8_t* bytes, uint32_t size) {
  if (!bytes) return false;
  auto fail = [](const char* why) {
    platform::OutputDebugString(std::string("[cEntity_Simulation::Load] clock blob refused: ") + why + "\n");
    return false;
  };
  if (size != kBlobSize) return fail("size is not 32 bytes");
  ByteReader in(bytes, size);
  const uint32_t day = in.U32(), hour = in.U32();
  in.U32();  // the day of year follows from the date
  const uint32_t minute = in.U32(), month = in.U32(), second = in.U32(), week = in.U32(), year = in.U32();
  if (year < calendar::kEpochYear || year > 0xFFFF) return fail("year out of range");
  if (month < 1 || month > 12) return fail("month out of range");
  if (day < 1 || day > calendar::DaysInMonth(month, year) || calendar::IsSkippedDay(year, month, day))
    return fail("day out of range");
  if (hour < 1 || hour > 24) return fail("hour out of range");
  if (minute > 59 || second > 59) return fail("minute or second out of range");
  if (week > 53) return fail("week out of range");
  clock.week = static_cast<uint8_t>(week);
  clock.SetDate(static_cast<uint16_t>(year), static_cast<uint8_t>(month), static_cast<uint8_t>(day),
                static_cast<uint8_t>(hour), static_cast<uint8_t>(minute), static_cast<uint8_t>(second));
  loadedTime_ = true;
  return true;
}
