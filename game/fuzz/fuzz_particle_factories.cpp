// Feeds arbitrary text to the particle-factory table's reader. Whatever it
// reads must be a usable table: factory names and material names bounded by
// the text, no more factories or materials than the reader's caps, and
// reading the same text again gives the same factories.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/DebugOutput.h"
#include "scene/ParticleFactoryTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::SetDebugStderr(false);
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<ParticleFactoryDef> first;
  uint32_t skipped = 0;
  cParticleFactoryTable::Parse(text, &first, &skipped);
  if (first.size() > cParticleFactoryTable::kMaxFactories) std::abort();
  for (const ParticleFactoryDef& def : first) {
    if (def.params.name.size() > size) std::abort();
    if (def.materialNames.size() > cParticleFactoryTable::kMaxMaterials) std::abort();
    for (const std::string& name : def.materialNames) {
      if (name.size() > size) std::abort();
    }
  }
  std::vector<ParticleFactoryDef> second;
  uint32_t skippedAgain = 0;
  cParticleFactoryTable::Parse(text, &second, &skippedAgain);
  if (second.size() != first.size() || skippedAgain != skipped) std::abort();
  for (size_t i = 0; i < first.size(); ++i) {
    if (second[i].params.name != first[i].params.name || second[i].materialNames != first[i].materialNames) std::abort();
  }
  return 0;
}
