#pragma once
// The event manager ("SPN::KV9:SIMULATION:EVENTMANAGER"): a time-ordered
// queue of dated events (weather, disasters, the scenario's end, flight
// arrivals), the scenario's win and lose conditions checked while the clock
// runs, the help character's messages from "help.dat", the player's
// Autoslow switches, and the tornado, earthquake and sandstorm starters.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/entity/EntityBase.h"
#include "engine/files/ObjectFile.h"
#include "engine/files/SerializedObject.h"
#include "simulation/EndGame.h"
#include "simulation/EventRecord.h"
#include "simulation/SlowDown.h"
#include "simulation/TimeObject.h"

class SoundHandle;
class cKV9_GlobalWrapper;

enum class EndGameResult { None, Win, Lose };

class cEntity_EventManager : public cEntity_Base, public cSimulation_TimeObject, public cSerialized_Object {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:SIMULATION:EVENTMANAGER";
  static constexpr const char* kHelpFile = "help.dat";

  explicit cEntity_EventManager(cEntity_Manager* manager);
  ~cEntity_EventManager() override;

  // Loads "help.dat" from the resource path; 0.
  virtual CoreStatus Init();
  using cEntity_Base::Init;
  // Registers with the clock, reads the Autoslow switches; 0.
  virtual CoreStatus Start();
  // Leaves the clock; frees the queue and the conditions; 0.
  virtual CoreStatus Stop();
  int32_t OnTime(uint32_t totalSeconds, uint32_t interval, uint32_t eventFlag, float gameDelta) override;

  // Takes the event into the queue, before the first queued event at or
  // after its time. A clock hour of 24 is stored as 0.
  void ScheduleEvent(const EventRecord& event);
  // Frees every queued flight event (kind 8, or 9 for a cargo airline) of
  // that flight.
  void RemoveFlightEvents(uint32_t flightId, bool cargo);
  void AddEndGame(const EndGame& record);
  EndGameResult CheckEndGame();
  bool ConditionHolds(const EndGame& condition);

  void StartHelpTopic(uint32_t topic);
  void ShowNextHelpMessage();
  void ClearHelpWait(uint32_t helpSet, uint32_t topic, uint32_t message);

  void StartTornado();
  void StartEarthquake();
  void StartSandstorm();

  bool Save(SerialBlock* bytes, uint32_t* size) override;
  // Adds the blob's events and conditions; false, changing nothing, without
  // a blob or for one that does not check out.
  bool LoadFromBlob(const uint8_t* bytes, uint32_t size) override;

  // The queued events, earliest first.
  std::vector<EventRecord> GetQueue() const;
  const std::vector<EndGame>& GetWinConditions() const { return win_; }
  const std::vector<EndGame>& GetLoseConditions() const { return lose_; }
  const ObjectFile& GetHelpFile() const { return helpFile_; }

  AutoslowFlags autoslow;
  SoundHandle* helpSound = nullptr;
  uint32_t helpSet = 1;
  uint32_t helpTopic = 1;
  uint32_t helpIndex = 0;
  float helpTimer = 0.0f;
  uint8_t helpActive = 0;
  float soundTimer = 0.0f;
  uint8_t helpWaiting = 0;

 private:
  cKV9_GlobalWrapper* Table();
  bool HelperCharacterOn();
  // Looks the current message up and shows it; true when it had text.
  bool ShowHelpMessage();
  void ProcessDueEvents();
  void Dispatch(const EventRecord& event);
  void Clear();

  ObjectFile helpFile_;
  // Keyed by EventTimeKey; among equal keys in queue order.
  std::multimap<uint64_t, EventRecord> queue_;
  std::vector<EndGame> win_;
  std::vector<EndGame> lose_;
};
