// The campaign screen's readers on any bytes: the first byte picks the
// reader (campaign file, scenario file, or a scenario list whose events and
// end conditions are read as the screen reads them), the rest is the text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/files/DataFile.h"
#include "screens/CampaignData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (data[0] % 3) {
    case 0: {
      const campaign::CampaignFile file = campaign::ParseCampaignText(text);
      for (const std::string& name : file.scenarios) (void)campaign::IsPlainName(name);
      break;
    }
    case 1:
      (void)campaign::ParseScenarioText(text);
      break;
    default: {
      CDataFile table;
      if (!table.LoadFromMemory(text)) break;
      for (int n = 0; n < campaign::kMaxEntries; ++n) {
        const std::string section = "scenario" + std::to_string(n);
        if (!table.FindSection(section)) break;
        (void)campaign::IsPlainName(table.GetString("savegame", section));
        for (int e = 0; e < campaign::kMaxEntries && table.FindKey("event" + std::to_string(e), section); ++e) {
          EventRecord event;
          (void)campaign::ReadEvent(table, section, "event" + std::to_string(e), &event);
        }
        for (int c = 0; c < campaign::kMaxEntries && table.FindKey("criteria" + std::to_string(c), section); ++c) {
          EndGame record;
          std::string building;
          (void)campaign::ReadCriteria(table, section, "criteria" + std::to_string(c), &record, &building);
        }
      }
      break;
    }
  }
  return 0;
}
