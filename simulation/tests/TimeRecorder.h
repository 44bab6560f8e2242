#pragma once
// A time object that logs every event it gets as "name:flag total interval
// delta", into a log it may share with others to show the delivery order.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "simulation/TimeObject.h"

namespace simtest {

inline const char* EventName(uint32_t flag) {
  switch (flag) {
    case kTimeEvent_Tick: return "tick";
    case kTimeEvent_Second: return "second";
    case kTimeEvent_Minute: return "minute";
    case kTimeEvent_Hour: return "hour";
    case kTimeEvent_Day: return "day";
    case kTimeEvent_Week: return "week";
    case kTimeEvent_Month: return "month";
    case kTimeEvent_Year: return "year";
    default: return "?";
  }
}

class TimeRecorder : public cSimulation_TimeObject {
 public:
  TimeRecorder(std::string name, uint32_t mask, std::vector<std::string>* log)
      : cSimulation_TimeObject(mask), name_(std::move(name)), log_(log) {}

  int32_t OnTime(uint32_t total, uint32_t interval, uint32_t flag, float delta) override {
    char line[96];
    std::snprintf(line, sizeof line, "%s:%s %u %u %.2f", name_.c_str(), EventName(flag), total, interval, delta);
    log_->push_back(line);
    if (onTime) onTime(flag);
    return result;
  }

  int32_t result = 0;
  std::function<void(uint32_t)> onTime;

 private:
  std::string name_;
  std::vector<std::string>* log_;
};

// The log's lines that start with `prefix` (names of one recorder or event).
inline std::vector<std::string> Only(const std::vector<std::string>& log, const std::string& needle) {
  std::vector<std::string> out;
  for (const std::string& line : log)
    if (line.find(needle) != std::string::npos) out.push_back(line);
  return out;
}

}  // namespace simtest
