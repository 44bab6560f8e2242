#include "engine/services/Core3D.h"

Core3D::Core3D() = default;

Core3D::~Core3D() { DeleteSettings(); }

const char* Core3D::GetName() { return "[Core3D]"; }
const char* Core3D::GetDescription() { return "Base Rendering Layer"; }
eServiceType Core3D::GetServiceType() { return static_cast<eServiceType>(0); }

void Core3D::DeleteSettings() {
  for (auto& entry : settings_) delete entry.second;
  settings_.clear();
}
