#include "game/world/ScenarioRecord.h"

#include <cmath>
#include <cstring>

#include "engine/files/SerializeRecord.h"

namespace {

// Words 3 to 8 of the parameter block are floats.
void PutParams(SaveRecordWriter& w, const TerrainParams& p) {
  w.PutI32(p.width);
  w.PutI32(p.height);
  w.PutI32(p.seed);
  for (float c : p.corners) w.PutF32(c);
  w.PutF32(p.minimum);
  w.PutF32(p.maximum);
  w.PutF32(p.roughness);
  // Word 10 is a function in memory and nothing in a file.
  w.PutU32(0);
}

bool GetParams(SaveRecordReader& r, TerrainParams* p) {
  uint32_t ignored = 0;
  bool ok = r.GetI32(&p->width) && r.GetI32(&p->height) && r.GetI32(&p->seed);
  for (float& c : p->corners) ok = ok && r.GetF32(&c);
  ok = ok && r.GetF32(&p->minimum) && r.GetF32(&p->maximum) && r.GetF32(&p->roughness) && r.GetU32(&ignored);
  p->displacement = nullptr;
  return ok;
}

bool FiniteParams(const TerrainParams& p) {
  for (float c : p.corners)
    if (!std::isfinite(c)) return false;
  return std::isfinite(p.minimum) && std::isfinite(p.maximum) && std::isfinite(p.roughness);
}

bool FiniteWord(uint32_t word) {
  float f;
  std::memcpy(&f, &word, sizeof f);
  return std::isfinite(f);
}

}  // namespace

bool ScenarioRecord::Encode(SerialBlock* bytes, uint32_t* n) const {
  SaveRecordWriter w;
  PutParams(w, params);
  w.PutU8(fixedView);
  for (uint32_t word : homeView) w.PutU32(word);
  w.PutU8(continent);
  w.PutString8(std::string_view(locationName).substr(0, kMaxName));
  w.PutU8(scenarioFile);
  w.PutString16(std::string_view(description).substr(0, kMaxText));
  w.PutString16(std::string_view(winText).substr(0, kMaxText));
  w.PutString16(std::string_view(loseText).substr(0, kMaxText));
  w.PutBytes(trailing.data(), trailing.size());
  return w.Release(bytes, n);
}

bool ScenarioRecord::Decode(const uint8_t* bytes, uint32_t n, std::string* why) {
  auto fail = [why](const char* reason) {
    if (why) *why = reason;
    return false;
  };
  SaveRecordReader r(bytes, n);
  ScenarioRecord out;
  if (!GetParams(r, &out.params)) return fail("the scenario record is shorter than its parameter block");
  if (!FiniteParams(out.params)) return fail("the terrain parameters hold a value that is not a finite number");
  if (!r.GetU8(&out.fixedView)) return fail("the scenario record ends before the camera view");
  for (uint32_t& word : out.homeView) r.GetU32(&word);
  if (!r.Ok()) return fail("the scenario record ends inside the camera view");
  for (uint32_t word : out.homeView)
    if (!FiniteWord(word)) return fail("the camera view holds a value that is not a finite number");
  if (!r.GetU8(&out.continent) || !r.GetString8(&out.locationName))
    return fail("the location name runs past the end of the scenario record");
  if (!r.GetU8(&out.scenarioFile)) return fail("the scenario record ends before its scenario flag");
  if (!r.GetString16(&out.description)) return fail("the description runs past the end of the scenario record");
  if (!r.GetString16(&out.winText)) return fail("the win text runs past the end of the scenario record");
  if (!r.GetString16(&out.loseText)) return fail("the lose text runs past the end of the scenario record");
  out.trailing.assign(r.Current(), r.Current() + r.Remaining());
  *this = std::move(out);
  return true;
}

bool PeekScenarioLocation(const uint8_t* bytes, uint32_t n, uint8_t* continent, std::string* name) {
  SaveRecordReader r(bytes, n);
  if (!r.Skip(89) || !r.GetU8(continent) || !r.GetString8(name)) return false;
  return true;
}
