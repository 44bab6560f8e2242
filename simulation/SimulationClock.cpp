#include "simulation/SimulationClock.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/StringUtil.h"
#include "engine/config/ConfigManager.h"
#include "engine/files/StringHolder.h"
#include "engine/frame/BaseCursor.h"
#include "engine/frame/GameManager.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/SoundMgr.h"
#include "simulation/Calendar.h"
#include "simulation/GameScenario.h"
#include "simulation/SimulationServices.h"
#include "simulation/SimulationWidgets.h"
#include "simulation/TimeObject.h"

namespace {

constexpr int32_t kFail = static_cast<int32_t>(0x80004005u);

}  // namespace

cSimulation_Clock::cSimulation_Clock() = default;

cSimulation_Clock::~cSimulation_Clock() {
  StringHolder::Release(timeText_);
  StringHolder::Release(dateText_);
}

int32_t cSimulation_Clock::RegisterTimeObject(cSimulation_TimeObject* object) {
  if (!object || IsRegistered(object)) return kFail;
  objects_.push_back(object);
  wantedEvents_ |= object->eventMask;
  return 0;
}

// The list is searched from the back: an object is listed at most once, and
// the short-lived ones (airplanes, vehicles) joined last, behind the
// managers.
int32_t cSimulation_Clock::UnregisterTimeObject(cSimulation_TimeObject* object) {
  const auto it = std::find(objects_.rbegin(), objects_.rend(), object);
  if (it == objects_.rend()) return kFail;
  const uint32_t index = static_cast<uint32_t>(objects_.rend() - it - 1);
  if (std::find(removals_.begin(), removals_.end(), index) == removals_.end()) removals_.push_back(index);
  return 0;
}

bool cSimulation_Clock::IsRegistered(const cSimulation_TimeObject* object) const {
  return std::find(objects_.rbegin(), objects_.rend(), object) != objects_.rend();
}

bool cSimulation_Clock::SetSpeed(uint16_t value) {
  if (value == 0xFFFF) value = 0;
  if (value > kMaxSpeed) return false;
  SoundMgr* sound = table_ ? table_->sound : nullptr;
  if (sound) {
    if (speed == 0.0f && value != 0) {
      sound->PauseAllMusic(false);
      sound->PauseAllSounds(false);
    } else if (speed != 0.0f && value == 0) {
      sound->PauseAllSounds(true);
    }
  }
  speed = static_cast<float>(value);
  if (SimulationWidgets* widgets = GetSimulationWidgets()) widgets->SetSliderValue("sldGameSpeed", value);
  return true;
}

void cSimulation_Clock::Pause() {
  if (speed == 0.0f) return;
  savedSpeed = speed;
  SetSpeed(0);
}

void cSimulation_Clock::Resume() { SetSpeed(static_cast<uint16_t>(savedSpeed)); }

uint32_t cSimulation_Clock::DaysInMonth(uint32_t m) const { return calendar::DaysInMonth(m, year); }

void cSimulation_Clock::FormatDate(std::string& out) const { out = FormatText("%02d/%02d/%d", month, day, year); }

void cSimulation_Clock::SecondsToDateText(uint32_t seconds, std::string& out) const {
  const calendar::Date d = calendar::SecondsToDate(seconds);
  out = FormatText("%s %d, %d", calendar::MonthName(d.month), d.day, d.year);
}

void cSimulation_Clock::SecondsToNumericDate(uint32_t seconds, std::string& out) const {
  const calendar::Date d = calendar::SecondsToDate(seconds);
  out = FormatText("%02d/%02d/%04d", d.month, d.day, d.year);
}

void cSimulation_Clock::ConvertDateText(const std::string& text, std::string& out) const {
  if (text.empty()) return;
  auto split = [&](const char* separators) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : text) {
      if (std::strchr(separators, c)) {
        if (!part.empty()) parts.push_back(part);
        part.clear();
      } else {
        part += c;
      }
    }
    if (!part.empty()) parts.push_back(part);
    parts.resize(3);
    return parts;
  };
  if (text.find('/') != std::string::npos) {
    const std::vector<std::string> parts = split("/");
    const uint32_t m = static_cast<uint32_t>(std::atoi(parts[0].c_str()));
    out = FormatText("%s %d, %s", calendar::MonthName(m), std::atoi(parts[1].c_str()), parts[2].c_str());
    return;
  }
  const std::vector<std::string> parts = split(" ,");
  int m = 13;
  for (int i = 1; i <= 12; ++i) {
    if (str::EqualsNoCase(parts[0], calendar::MonthName(static_cast<uint32_t>(i)))) {
      m = i;
      break;
    }
  }
  out = FormatText("%02d/%02d/%04d", m, std::atoi(parts[1].c_str()), std::atoi(parts[2].c_str()));
}

void cSimulation_Clock::GetShortDateText(std::string& out) {
  RefreshTexts();
  out = FormatText("%s%02d-%04d", calendar::ShortMonthName(month), day, year);
}

void cSimulation_Clock::RecomputeSeconds() {
  totalSeconds = calendar::DateToSeconds(year, month, day, calendar::HourOfDay(hour), minute, second);
}

void cSimulation_Clock::SetDate(uint16_t y, uint8_t mo, uint8_t d, uint8_t h, uint8_t mi, uint8_t s) {
  year = y;
  month = mo;
  day = d;
  hour = h;
  minute = mi;
  second = s;
  dayOfYear = calendar::DayOfYear(y, mo, d);
  RecomputeSeconds();
}

void cSimulation_Clock::Start(uint32_t seconds, bool keepTimeOfDay) {
  totalSeconds = seconds;
  frameSeconds = 0;
  fraction = 0.0f;
  realTime = 0.0f;
  const calendar::Date start = calendar::SecondsToDate(seconds);
  startYear = start.year;
  startDateText = FormatText("%s %d, %d", calendar::MonthName(start.month), start.day, start.year);
  if (!keepTimeOfDay) hour = 12;
  RefreshTexts();
  BindTexts();
  StringHolder::Get(dateText_) = FormatText("%02d/%02d/%d", month, day, year);
  keyPause = 0;
  autosaveThreshold = kAutosaveInterval;
  for (uint32_t i = 0; i < seconds; ++i) SecondStep(totalSeconds);
  RecomputeSeconds();
}

void cSimulation_Clock::Reset() {
  year = 1970;
  month = 1;
  day = 1;
  hour = 1;
  minute = 0;
  second = 0;
  weekday = 0;
  week = 0;
  dayOfYear = 1;
  objects_.clear();
  removals_.clear();
  wantedEvents_ = 0;
}

void cSimulation_Clock::Tick(float realSeconds) {
  ApplyRemovals();
  realTime += realSeconds;
  lastFrameTime = realSeconds;
  fraction += realSeconds * speed;
  frameSeconds = static_cast<uint32_t>(fraction);
  if (speed > 0.0f) fraction -= static_cast<float>(frameSeconds);
  if (realTime > autosaveThreshold) Autosave();
  const uint32_t frameStart = totalSeconds;
  for (uint32_t i = 0; i < frameSeconds; ++i) SecondStep(frameStart);
  totalSeconds += frameSeconds;
  const uint32_t interval = static_cast<uint32_t>(static_cast<float>(static_cast<uint32_t>(realSeconds)) * speed);
  Deliver(kTimeEvent_Tick, totalSeconds, interval, realSeconds * speed);
  RefreshTexts();
}

void cSimulation_Clock::ApplyRemovals() {
  if (removals_.empty()) return;
  // The queued positions (each once, all taken from the list as it stands)
  // leave in one pass; the others keep their order.
  std::sort(removals_.begin(), removals_.end());
  size_t kept = 0;
  size_t next = 0;
  for (size_t i = 0; i < objects_.size(); ++i) {
    if (next < removals_.size() && removals_[next] == i) {
      ++next;
      continue;
    }
    objects_[kept++] = objects_[i];
  }
  objects_.resize(kept);
  removals_.clear();
  RecomputeWantedEvents();
}

void cSimulation_Clock::RecomputeWantedEvents() {
  wantedEvents_ = 0;
  for (const cSimulation_TimeObject* object : objects_) wantedEvents_ |= object->eventMask;
}

void cSimulation_Clock::Deliver(uint32_t flag, uint32_t total, uint32_t interval, float gameDelta) {
  if (!(wantedEvents_ & flag)) return;
  const uint16_t count = static_cast<uint16_t>(objects_.size());
  for (uint16_t i = 0; i < count && i < objects_.size(); ++i) {
    cSimulation_TimeObject* object = objects_[i];
    if (!(object->eventMask & flag)) continue;
    if (object->OnTime(total, interval, flag, gameDelta) < 0) break;
  }
}

void cSimulation_Clock::SecondStep(uint32_t total) {
  ++second;
  Deliver(kTimeEvent_Second, total, 1, 0.0f);
  if (second == 60) {
    MinuteStep(total);
    second = 0;
  }
}

void cSimulation_Clock::MinuteStep(uint32_t total) {
  ++minute;
  Deliver(kTimeEvent_Minute, total, 60, 0.0f);
  if (minute == 60) {
    HourStep(total);
    minute = 0;
  }
}

void cSimulation_Clock::HourStep(uint32_t total) {
  ++hour;
  if (hour == 24) {
    DayStep(total);
    dayOfYear = (month == 1 && day == 1) ? 1 : static_cast<uint16_t>(dayOfYear + 1);
  }
  if (hour == 25) hour = 1;
  Deliver(kTimeEvent_Hour, total, 3600, 0.0f);
}

void cSimulation_Clock::DayStep(uint32_t total) {
  ++day;
  if (calendar::IsSkippedDay(year, month, day)) ++day;
  if (day > calendar::DaysInMonth(month, year)) {
    MonthStep(total);
    day = 1;
  }
  if (++weekday == 7) {
    WeekStep(total);
    weekday = 0;
  }
  Deliver(kTimeEvent_Day, total, 3600, 0.0f);
}

void cSimulation_Clock::WeekStep(uint32_t total) {
  ++week;
  Deliver(kTimeEvent_Week, total, 3600, 0.0f);
}

void cSimulation_Clock::MonthStep(uint32_t total) {
  if (++month == 13) month = 1;
  Deliver(kTimeEvent_Month, total, 3600, 0.0f);
  if (month == 1) YearStep(total);
}

void cSimulation_Clock::YearStep(uint32_t total) {
  ++year;
  week = 0;
  // By position over the entries counted at the start: an object may
  // register another from inside its handler.
  const size_t count = objects_.size();
  for (size_t i = 0; i < count; ++i) {
    cSimulation_TimeObject* object = objects_[i];
    if ((object->eventMask & kTimeEvent_Year) && object->OnTime(total, 0, kTimeEvent_Year, 0.0f) < 0) break;
    if ((object->eventMask & kTimeEvent_Week) && object->OnTime(total, 3600, kTimeEvent_Week, 0.0f) < 0) break;
  }
}

void cSimulation_Clock::Autosave() {
  autosaveThreshold = realTime + kAutosaveInterval;
  if (!table_) return;
  std::string setting;
  if (table_->configManager && table_->configManager->GetString("App", "Autosave", setting) &&
      str::EqualsNoCase(setting, "false")) {
    return;
  }
  cGameManager* gameManager = table_->configManager ? table_->configManager->GetGameManager() : nullptr;
  cEntity_BaseCursor* cursor = gameManager ? gameManager->GetCursor() : nullptr;
  Core3D* renderer = table_->graphics;
  uint8_t* picture = nullptr;
  uint32_t pictureSize = 0;
  if (cursor) cursor->Hide();
  if (renderer) {
    renderer->RenderFrame();
    renderer->CaptureScreen(&picture, &pictureSize);
  }
  if (cursor) cursor->Show();
  if (renderer) renderer->RenderFrame();
  if (table_->scenario) {
    table_->scenario->SetScenarioBlob(picture, picture ? pictureSize : 0);
    table_->scenario->SaveGame("autosave.kv9");
  }
  delete[] picture;
}

void cSimulation_Clock::RefreshTexts() {
  std::string& time = StringHolder::Get(timeText_);
  if (speed == 0.0f) {
    time = "PAUSED";
  } else {
    const int dial = hour > 12 ? hour - 12 : hour;
    const bool pm = hour >= 12 && hour <= 23;
    time = FormatText("%02d:%02d:%02d %s", dial, minute, second, pm ? "pm" : "am");
  }
  SecondsToDateText(totalSeconds, StringHolder::Get(dateText_));
}

void cSimulation_Clock::BindTexts() {
  SimulationWidgets* widgets = GetSimulationWidgets();
  if (!widgets) return;
  StringHolder::Get(timeText_);
  StringHolder::Get(dateText_);
  widgets->BindText("sttIGTime", timeText_);
  widgets->BindText("sttIGDate", dateText_);
}

const std::string& cSimulation_Clock::GetTimeText() const {
  static const std::string empty;
  return timeText_ && timeText_->text ? *timeText_->text : empty;
}

const std::string& cSimulation_Clock::GetDateText() const {
  static const std::string empty;
  return dateText_ && dateText_->text ? *dateText_->text : empty;
}
