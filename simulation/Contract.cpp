#include "simulation/Contract.h"

#include "engine/services/Core3D.h"

const char* BuildingClassNoun(uint8_t classCode, bool plural) {
  static const char* const kNouns[][2] = {
      {"object", "objects"},
      {"building", "buildings"},
      {"amenity", "amenities"},
      {"parking facility", "parking facilities"},
      {"road", "roads"},
      {"terminal", "terminals"},
      {"administrative building", "administrative buildings"},
      {"storage building", "storage buildings"},
      {"runway", "runways"},
      {"emergency building", "emergency buildings"},
      {"security building", "security buildings"},
      {"service building", "service buildings"},
      {"organizational building", "organizational buildings"},
  };
  if (classCode >= sizeof kNouns / sizeof kNouns[0]) return "";
  return kNouns[classCode][plural ? 1 : 0];
}

void ContractLogo::Set(Core3D* renderer, C3DBaseShader* shader) {
  if (shader_ && renderer_) renderer_->ReleaseResource(shader_);
  renderer_ = renderer;
  shader_ = shader;
}
