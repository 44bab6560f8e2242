#pragma once
// The weather's saved state: 184 bytes, little-endian, in a fixed layout.
#include <cstdint>

#include "engine/math/JVector.h"

struct WeatherBlock {
  static constexpr uint32_t kBytes = 184;

  float temperature = 0.0f;  // degrees Fahrenheit
  float lows[3] = {0, 0, 0};   // yesterday, today, tomorrow
  float highs[3] = {0, 0, 0};
  float cloudThreshold = 0.0f;
  float precipitationThreshold = 0.0f;
  float thunderThreshold = 0.0f;
  float windSpeed = 0.0f;  // miles per hour
  float noise[4] = {0, 0, 0, 0};  // positions: wind, cloud, precipitation, thunder
  uint8_t blizzardFlag = 0;  // a blizzard is coming or blowing
  float lightLevel = 0.0f;
  float lightTarget = 0.0f;
  float lightTime = 0.0f;
  JVector wind;  // metres per second
  float fog = 0.0f;
  float fogTarget = 0.0f;
  float fogTime = 0.0f;
  float crossFade[2] = {0, 0};
  float spare = 0.0f;
  float loopLevel = 0.0f;
  float loopTarget = 0.0f;
  float loopTime = 0.0f;
  float lightColour[3] = {1, 1, 1};
  float ambient[3] = {0, 0, 0};
  float ambientTarget[3] = {0, 0, 0};
  float ambientTime = 0.0f;
  float flashTimer = 0.0f;
  float levelBeforeFlash = 0.0f;
  // The spare byte: 1 while a blizzard this manager started is blowing, so
  // only its end lowers the airport's closure again.
  uint8_t blizzardBlowing = 0;
  uint8_t state = 0;
  uint8_t lastLoopState = 0;
  uint8_t intensity = 0;

  void Encode(uint8_t out[kBytes]) const;
  // Exactly kBytes of finite numbers; anything else is refused and changes
  // nothing.
  bool Decode(const uint8_t* bytes, uint32_t n);
};
