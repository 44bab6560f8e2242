// The save-game file: split into its records and its scenario record decoded,
// or refused. A decoded scenario record encodes to bytes that decode to the
// same record.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "game/world/SaveGameFile.h"
#include "game/world/ScenarioRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SaveFileImage image;
  if (!image.Parse(std::vector<uint8_t>(data, data + size), nullptr)) return 0;
  if (!IsSaveHeader(image.Record(kSaveRecordHeader), image.RecordSize(kSaveRecordHeader))) std::abort();
  ScenarioRecord record;
  if (!record.Decode(image.Record(kSaveRecordScenario), image.RecordSize(kSaveRecordScenario), nullptr)) return 0;
  SerialBlock bytes;
  uint32_t n = 0;
  if (!record.Encode(&bytes, &n)) std::abort();
  ScenarioRecord again;
  if (!again.Decode(bytes.get(), n, nullptr)) std::abort();
  if (again.locationName != record.locationName || again.loseText != record.loseText ||
      again.trailing != record.trailing || again.params.seed != record.params.seed)
    std::abort();
  return 0;
}
