#pragma once
// The game clock: turns each frame's real time times the game speed into game
// seconds, keeps the calendar date and time of day, and delivers tick,
// second, minute, hour, day, week, month and year events to the registered
// time objects in registration order. It also keeps the in-game time and
// date texts, the speed control with its pause, and the ten-minute autosave.
#include <cstdint>
#include <string>
#include <vector>

class cKV9_GlobalWrapper;
class cSimulation_TimeObject;
struct StringHolder;

class cSimulation_Clock {
 public:
  static constexpr uint16_t kMaxSpeed = 50000;
  static constexpr float kAutosaveInterval = 600.0f;

  cSimulation_Clock();
  ~cSimulation_Clock();
  cSimulation_Clock(const cSimulation_Clock&) = delete;
  cSimulation_Clock& operator=(const cSimulation_Clock&) = delete;

  void SetTable(cKV9_GlobalWrapper* table) { table_ = table; }

  // 0, or 0x80004005 when the object is already registered (also while its
  // removal is pending).
  int32_t RegisterTimeObject(cSimulation_TimeObject* object);
  // Queues the object's removal for the next tick (once); 0x80004005 when it
  // is not registered.
  int32_t UnregisterTimeObject(cSimulation_TimeObject* object);
  bool IsRegistered(const cSimulation_TimeObject* object) const;

  // 0xFFFF counts as 0; above 50,000 is refused (false).
  bool SetSpeed(uint16_t speed);
  void Pause();
  void Resume();

  uint32_t DaysInMonth(uint32_t month) const;
  void FormatDate(std::string& out) const;
  void SecondsToDateText(uint32_t seconds, std::string& out) const;
  void SecondsToNumericDate(uint32_t seconds, std::string& out) const;
  // "MM/DD/YYYY" <-> "Month D, YYYY"; an empty text leaves out untouched.
  void ConvertDateText(const std::string& text, std::string& out) const;
  void GetShortDateText(std::string& out);
  void RecomputeSeconds();

  // A new game starts at 12:00 of the current date; keepTimeOfDay (a game
  // just loaded) keeps the loaded hour.
  void Start(uint32_t seconds, bool keepTimeOfDay = false);
  void Reset();
  // One frame of realSeconds.
  void Tick(float realSeconds);

  // Sets the date fields; the day of year and total seconds follow from them.
  void SetDate(uint16_t year, uint8_t month, uint8_t day, uint8_t hour, uint8_t minute, uint8_t second);

  const std::string& GetTimeText() const;
  const std::string& GetDateText() const;
  const std::vector<cSimulation_TimeObject*>& GetTimeObjects() const { return objects_; }

  uint32_t totalSeconds = 0;
  uint32_t frameSeconds = 0;
  float realTime = 0.0f;
  float lastFrameTime = 0.0f;
  float speed = 1.0f;
  float fraction = 0.0f;
  float autosaveThreshold = kAutosaveInterval;
  float savedSpeed = 0.0f;
  std::string startDateText;
  uint8_t second = 0;
  uint8_t minute = 0;
  uint8_t hour = 12;  // 1-24; 24 is the first hour of a day
  uint8_t day = 1;
  uint16_t dayOfYear = 1;
  uint8_t weekday = 0;
  uint8_t week = 0;
  uint8_t month = 1;
  uint16_t year = 1970;
  uint16_t startYear = 1970;
  uint8_t keyPause = 0;

 private:
  // Delivers one event to every registrant whose mask has the bit.
  void Deliver(uint32_t flag, uint32_t total, uint32_t interval, float gameDelta);
  void SecondStep(uint32_t total);
  void MinuteStep(uint32_t total);
  void HourStep(uint32_t total);
  void DayStep(uint32_t total);
  void WeekStep(uint32_t total);
  void MonthStep(uint32_t total);
  void YearStep(uint32_t total);
  void ApplyRemovals();
  void RecomputeWantedEvents();
  void Autosave();
  void RefreshTexts();
  void BindTexts();

  cKV9_GlobalWrapper* table_ = nullptr;
  std::vector<cSimulation_TimeObject*> objects_;
  std::vector<uint32_t> removals_;
  // The bits some registrant wants: an event nobody wants skips its walk.
  uint32_t wantedEvents_ = 0;
  StringHolder* timeText_ = nullptr;
  StringHolder* dateText_ = nullptr;
};
