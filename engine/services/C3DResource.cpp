#include "engine/services/C3DResource.h"

#include <utility>

C3DResource::C3DResource(Core3D* owner, uint32_t flags, std::string name)
    : name_(std::move(name)), nameHash_(HashResourceName(name_)), flags_(flags), owner_(owner) {}

C3DResource::~C3DResource() = default;

std::string C3DResource::GetName() { return name_; }
uint32_t C3DResource::GetFlags() { return flags_; }
void C3DResource::AddRef() { ++refCount_; }

void C3DResource::Release() {
  // A count already at zero stays there: a second release of a dead
  // reference must not wrap around to 65535 and keep the object alive.
  if (refCount_ == 0) return;
  if (--refCount_ == 0) OnUnreferenced();
}

uint16_t C3DResource::GetRefCount() { return refCount_; }
void C3DResource::OnUnreferenced() {}

uint16_t C3DResource::HashResourceName(const std::string& name) {
  uint16_t h = 0;
  for (char ch : name) {
    const int c = static_cast<int8_t>(static_cast<unsigned char>(ch));
    h = static_cast<uint16_t>(h * 9 + c);
  }
  return h;
}
