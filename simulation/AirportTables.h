#pragma once
// The airport manager's two data tables: the awards the player can win
// ("Awards\Base.kva") and the named events ("Events\Base.kva"), one record
// per named section, in file order.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "simulation/Contract.h"

class cAward {
 public:
  cAward() = default;
  virtual ~cAward() = default;
  cAward(const cAward&) = delete;
  cAward& operator=(const cAward&) = delete;

  std::string name;
  std::string description;
  uint8_t conditionType = 0;  // 1-6: the statistic the award watches
  float threshold = 0.0f;
  float requiredRating = 0.0f;  // airline satisfaction at least this
  float prize = 0.0f;           // dollars
  uint8_t level = 0;            // years since 1970 before it can be won
  std::string imagePath;        // the table's "image_path", as written
  ContractLogo image;           // the renderer's shader, released with the award
  uint8_t won = 0;
};

class cEvent {
 public:
  virtual ~cEvent() = default;

  std::string name;
  std::string description;
  uint8_t conditionType = 0;
  uint8_t actionType = 0;
  float actionValue = 1.0f;
  float threshold = 0.0f;
  uint8_t triggered = 0;
  uint32_t lastTriggerValue = 0;
  uint32_t retriggerTime = 60;
};

// The readers on text in memory. A text that is not a data table gives an
// empty table (false); sections without a name are skipped.
bool ReadAwardTable(std::string_view text, std::vector<std::unique_ptr<cAward>>* out);
bool ReadEventTable(std::string_view text, std::vector<std::unique_ptr<cEvent>>* out);
