#include "game/world/WeatherBlock.h"

#include <cmath>
#include <cstring>

#include "base/ByteReader.h"
#include "engine/files/SerializeRecord.h"

void WeatherBlock::Encode(uint8_t out[kBytes]) const {
  SaveRecordWriter w;
  w.PutF32(temperature);
  for (float v : lows) w.PutF32(v);
  for (float v : highs) w.PutF32(v);
  w.PutF32(cloudThreshold);
  w.PutF32(precipitationThreshold);
  w.PutF32(thunderThreshold);
  w.PutF32(windSpeed);
  for (float v : noise) w.PutF32(v);
  w.PutU8(blizzardFlag);
  w.PutBytes("\0\0\0", 3);
  w.PutF32(lightLevel);
  w.PutF32(lightTarget);
  w.PutF32(lightTime);
  w.PutU32(0);  // the vector's header word
  w.PutF32(wind.x);
  w.PutF32(wind.y);
  w.PutF32(wind.z);
  w.PutF32(wind.w);
  w.PutF32(fog);
  w.PutF32(fogTarget);
  w.PutF32(fogTime);
  w.PutF32(crossFade[0]);
  w.PutF32(crossFade[1]);
  w.PutF32(spare);
  w.PutF32(loopLevel);
  w.PutF32(loopTarget);
  w.PutF32(loopTime);
  for (float v : lightColour) w.PutF32(v);
  for (float v : ambient) w.PutF32(v);
  for (float v : ambientTarget) w.PutF32(v);
  w.PutF32(ambientTime);
  w.PutF32(flashTimer);
  w.PutF32(levelBeforeFlash);
  w.PutU8(blizzardBlowing);
  w.PutU8(state);
  w.PutU8(lastLoopState);
  w.PutU8(intensity);
  std::memcpy(out, w.Data(), kBytes);
}

bool WeatherBlock::Decode(const uint8_t* bytes, uint32_t n) {
  if (!bytes || n != kBytes) return false;
  // Every float word must be a finite number; words 60 (the flag and its
  // padding), 76 (the vector's header) and 180 (the four bytes) are not floats.
  for (uint32_t at = 0; at < 180; at += 4) {
    if (at == 60 || at == 76) continue;
    float v;
    std::memcpy(&v, bytes + at, sizeof v);
    if (!std::isfinite(v)) return false;
  }
  ByteReader r(bytes, n);
  WeatherBlock b;
  b.temperature = r.F32();
  for (float& v : b.lows) v = r.F32();
  for (float& v : b.highs) v = r.F32();
  b.cloudThreshold = r.F32();
  b.precipitationThreshold = r.F32();
  b.thunderThreshold = r.F32();
  b.windSpeed = r.F32();
  for (float& v : b.noise) v = r.F32();
  b.blizzardFlag = r.U8();
  r.Skip(3);
  b.lightLevel = r.F32();
  b.lightTarget = r.F32();
  b.lightTime = r.F32();
  r.Skip(4);
  b.wind.x = r.F32();
  b.wind.y = r.F32();
  b.wind.z = r.F32();
  b.wind.w = r.F32();
  b.fog = r.F32();
  b.fogTarget = r.F32();
  b.fogTime = r.F32();
  b.crossFade[0] = r.F32();
  b.crossFade[1] = r.F32();
  b.spare = r.F32();
  b.loopLevel = r.F32();
  b.loopTarget = r.F32();
  b.loopTime = r.F32();
  for (float& v : b.lightColour) v = r.F32();
  for (float& v : b.ambient) v = r.F32();
  for (float& v : b.ambientTarget) v = r.F32();
  b.ambientTime = r.F32();
  b.flashTimer = r.F32();
  b.levelBeforeFlash = r.F32();
  b.blizzardBlowing = r.U8();
  b.state = r.U8();
  b.lastLoopState = r.U8();
  b.intensity = r.U8();
  if (!r.Ok() || r.Remaining() != 0) return false;
  *this = b;
  return true;
}
