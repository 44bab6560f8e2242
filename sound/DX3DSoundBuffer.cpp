#include "sound/DX3DSoundBuffer.h"

#include "sound/DXSoundError.h"

using namespace platform;

namespace {
uint32_t ApplyMode(bool immediate) { return immediate ? DS3D_IMMEDIATE : DS3D_DEFERRED; }
}  // namespace

DX3DSoundBuffer::DX3DSoundBuffer() {
  flags = k3DFlags;
  description.flags = flags;
}

DX3DSoundBuffer::~DX3DSoundBuffer() { Release3D(); }

void DX3DSoundBuffer::Release3D() {
  if (buffer3d_) buffer3d_->Release();
  buffer3d_ = nullptr;
}

void DX3DSoundBuffer::ReleaseOutputBuffer() {
  Release3D();
  DXSoundBuffer::ReleaseOutputBuffer();
}

bool DX3DSoundBuffer::Acquire3D() {
  Release3D();
  if (!buffer) return false;
  void* out = nullptr;
  if (!DXSucceeded(buffer->QueryInterface(IID_IDirectSound3DBuffer, &out)) || !out) return false;
  buffer3d_ = static_cast<IDirectSound3DBuffer8*>(out);
  return true;
}

bool DX3DSoundBuffer::Load(const std::string& name) {
  if (!DXSoundBuffer::Load(name)) return false;
  if (!Acquire3D()) return false;
  SetMinDistance(minDistance3d_, true);
  SetMaxDistance(maxDistance3d_, true);
  return true;
}

bool DX3DSoundBuffer::Create(const std::string& name, IDirectSound8* dev) {
  device = dev;
  if (name.empty()) return false;
  const bool loaded = Load(name);
  if (buffer3d_) DXSucceeded(buffer3d_->SetMode(DS3DMODE_NORMAL, DS3D_IMMEDIATE));
  return loaded;
}

bool DX3DSoundBuffer::DuplicateFrom(DXSoundBuffer* src, IDirectSound8* dev) {
  device = dev;
  if (!src || src->fileName.empty()) return false;
  fxCapable = false;
  flags = k3DFlags;
  const bool loaded = Load(src->fileName);
  if (loaded && src->fxCapable) SetFXCapable(true);
  return loaded;
}

void DX3DSoundBuffer::SetMinDistance(float distance, bool immediate) {
  minDistance3d_ = distance;
  minDistance = distance;
  if (buffer3d_) DXSucceeded(buffer3d_->SetMinDistance(distance, ApplyMode(immediate)));
}

void DX3DSoundBuffer::SetMaxDistance(float distance, bool immediate) {
  maxDistance3d_ = distance;
  maxDistance = distance;
  if (buffer3d_) DXSucceeded(buffer3d_->SetMaxDistance(distance, ApplyMode(immediate)));
}

void DX3DSoundBuffer::SetPosition(float x, float y, float z, bool immediate) {
  position3d_ = JVector(x, y, z);
  hasPosition_ = true;
  if (buffer3d_) DXSucceeded(buffer3d_->SetPosition(x, y, z, ApplyMode(immediate)));
}

bool DX3DSoundBuffer::Update(DX3DSoundListener* listener) {
  DXSoundBuffer::Update(listener);
  // The plain pass keeps the position up to date; the 3D interface places
  // the sound from it.
  if (listener && !nonPositional && !callerFlag && !markedForRelease &&
      (!hasPosition_ || position3d_.x != position.x || position3d_.y != position.y || position3d_.z != position.z))
    SetPosition(position.x, position.y, position.z, true);
  return true;
}

void DX3DSoundBuffer::OnBufferReplaced() {
  // The new output buffer keeps the 3D control: place it as the old one was.
  if (!Acquire3D()) return;
  DXSucceeded(buffer3d_->SetMode(DS3DMODE_NORMAL, DS3D_IMMEDIATE));
  SetMinDistance(minDistance3d_, true);
  SetMaxDistance(maxDistance3d_, true);
  if (hasPosition_) SetPosition(position3d_.x, position3d_.y, position3d_.z, true);
}
