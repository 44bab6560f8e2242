#pragma once
// The scenario's own save record (the third record of a save file): the
// terrain parameter block, the camera's view, the current location and the
// scenario's three texts, then any bytes of the scenario's own.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/files/SerializedObject.h"
#include "game/world/TerrainParams.h"

struct ScenarioRecord {
  static constexpr size_t kFixedBytes = 98;  // without the name and texts
  static constexpr size_t kMaxName = 255;
  static constexpr size_t kMaxText = 65535;

  TerrainParams params;
  uint8_t fixedView = 0;  // the purchase-land overview
  uint32_t homeView[11] = {};
  uint8_t continent = 0;
  std::string locationName;
  uint8_t scenarioFile = 0;
  std::string description;
  std::string winText;
  std::string loseText;
  std::vector<uint8_t> trailing;

  // Packs the record. A name over 255 bytes and texts over 65535 are cut at
  // those limits, which their length fields hold.
  bool Encode(SerialBlock* bytes, uint32_t* n) const;
  // Unpacks and checks it: every length within the bytes left and every float
  // of the parameter block and the view finite. False (with `why`) otherwise;
  // the record is then left as it was.
  bool Decode(const uint8_t* bytes, uint32_t n, std::string* why);
};

// The continent and the location name from the front of a record, the only
// parts the header check needs. False when the record is too short for them.
bool PeekScenarioLocation(const uint8_t* bytes, uint32_t n, uint8_t* continent, std::string* name);
