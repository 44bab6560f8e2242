#include "renderer/C3DPassDX8.h"

#include <algorithm>

C3DPassDX8::C3DPassDX8() {
  drawList_.reserve(kInitialDrawListCapacity);
  secondBuffer_.reserve(kInitialSecondBufferCapacity);
}

C3DPassDX8::~C3DPassDX8() { allocator_.Free(); }

int32_t C3DPassDX8::AddLight(uint32_t lightIndex) {
  const auto found = std::find(lights_.begin(), lights_.end(), lightIndex);
  if (found != lights_.end()) return static_cast<int32_t>(found - lights_.begin());
  lights_.push_back(lightIndex);
  return static_cast<int32_t>(lights_.size());
}

void C3DPassDX8::RemoveLight(int32_t position) {
  if (position < 0 || static_cast<size_t>(position) >= lights_.size()) return;
  lights_.erase(lights_.begin() + position);
}

int32_t C3DPassDX8::GetLightCount() { return static_cast<int32_t>(lights_.size()); }

int32_t C3DPassDX8::GetLight(int32_t position) {
  if (position < 0 || static_cast<size_t>(position) >= lights_.size()) return -1;
  return static_cast<int32_t>(lights_[static_cast<size_t>(position)]);
}

bool C3DPassDX8::IsDeviceBacked() { return true; }

bool C3DPassDX8::IsFogEnabled() { return fog_; }
void C3DPassDX8::EnableFog() { fog_ = true; }
void C3DPassDX8::DisableFog() { fog_ = false; }
void C3DPassDX8::SetFogValueA(float value) { fogValueA_ = value; }
float C3DPassDX8::GetFogValueA() { return fogValueA_; }
void C3DPassDX8::SetFogValueB(float value) { fogValueB_ = value; }
float C3DPassDX8::GetFogValueB() { return fogValueB_; }
void C3DPassDX8::SetFogDensity(float density) { fogDensity_ = density; }
float C3DPassDX8::GetFogDensity() { return fogDensity_; }

void C3DPassDX8::SetFogColour(float red, float green, float blue) {
  fogColour_[0] = red;
  fogColour_[1] = green;
  fogColour_[2] = blue;
}

void C3DPassDX8::GetFogColour(float* red, float* green, float* blue) {
  if (red) *red = fogColour_[0];
  if (green) *green = fogColour_[1];
  if (blue) *blue = fogColour_[2];
}

void C3DPassDX8::ResetForFrame() {
  allocator_.Reset();
  drawList_.clear();
  secondBuffer_.clear();
}
