#pragma once
// The weather manager (spawned as "SPN::KV9:WEATHERMANAGER"), as the
// simulation reaches it. The game's own is cKV9_WeatherManager
// (KV9WeatherManager.h); tests fake this interface.
#include <cstdint>

#include "engine/entity/EntityBase.h"

class cEntity_WeatherManager : public cEntity_Base {
 public:
  using cEntity_Base::cEntity_Base;

  // Starts blizzard weather; quiet 0 posts no weather notice of its own.
  virtual void StartBlizzard(uint8_t quiet) = 0;
  // The current flight delay in minutes (0 in good weather).
  virtual uint32_t GetFlightDelay() = 0;
};
