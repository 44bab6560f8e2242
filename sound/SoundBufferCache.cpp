// The buffer cache: buffers of one file are shared. An idle one is handed
// out again, a busy one copied rather than decoded again, and with four
// copies busy a nearer sound takes the farthest one.
#include <limits>
#include <vector>

#include "base/StringUtil.h"
#include "platform/Clock.h"
#include "sound/DX3DSoundBuffer.h"
#include "sound/DX3DSoundListener.h"
#include "sound/DXSound.h"
#include "sound/SoundHandleDX.h"
#include "sound/SoundMgrDX8.h"

namespace {

float SquaredDistance(const JVector& a, float x, float y, float z) {
  const float dx = a.x - x, dy = a.y - y, dz = a.z - z;
  return dx * dx + dy * dy + dz * dz;
}

DXSoundBuffer* NewBuffer(bool want3D) {
  return want3D ? static_cast<DXSoundBuffer*>(new DX3DSoundBuffer()) : new DXSoundBuffer();
}

// Takes a buffer away from the handle that has it and readies it for a new one.
void Reclaim(DXSoundBuffer* buffer) {
  if (buffer->playing) buffer->Stop();
  buffer->pauseState = DXSoundBuffer::kNotPaused;
  if (buffer->owner) buffer->owner->Unlink();
  buffer->owner = nullptr;
  buffer->Rewind();
}

}  // namespace

uint8_t SoundMgrDX8::HashName(const std::string& name) {
  uint32_t hash = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    const int code = static_cast<unsigned char>(str::ToLowerChar(name[i])) - 64;
    hash = (hash ^ (static_cast<uint32_t>(code) << (i % 6))) & 0xFF;
  }
  return static_cast<uint8_t>(hash);
}

DXSoundBuffer* SoundMgrDX8::GetCachedBuffer(const std::string& name, bool want3D, SoundHandleDX* requester) {
  if (!HasDevice()) return nullptr;
  const int32_t hash = HashName(name);
  std::vector<DXSoundBuffer*> busy;
  for (DXSoundBuffer* buffer : bufferCache_) {
    if (buffer->nameHash != hash || buffer->Is3D() != want3D || buffer->fileName != name) continue;
    if (buffer->IsBusy()) {
      busy.push_back(buffer);
      if (busy.size() == kMaxBusyCopies) break;
      continue;
    }
    Reclaim(buffer);
    return buffer;
  }

  if (busy.size() < kMaxBusyCopies) {
    if (busy.empty() && failedNames_.count(name)) return nullptr;
    DXSoundBuffer* buffer = NewBuffer(want3D);
    if (!busy.empty()) {
      if (!buffer->DuplicateFrom(busy.front(), device_->GetDevice())) {
        delete buffer;
        return nullptr;
      }
      buffer->duplicateCount = static_cast<int32_t>(busy.size()) + 1;
      buffer->idleDeadline = platform::GetTickCount() + DXSoundBuffer::kIdleMilliseconds;
    } else {
      if (!buffer->Create(name, device_->GetDevice())) {
        delete buffer;
        failedNames_.insert(name);
        return nullptr;
      }
      buffer->duplicateCount = 0;
    }
    buffer->nameHash = hash;
    bufferCache_.push_back(buffer);
    return buffer;
  }

  if (!requester) return nullptr;
  const JVector at = listener_ ? listener_->GetPosition() : JVector();
  DXSoundBuffer* farthest = nullptr;
  float farthestDistance = -1.0f;
  for (DXSoundBuffer* buffer : busy) {
    const float d = buffer->owner ? SquaredDistance(at, buffer->owner->position.x, buffer->owner->position.y,
                                                    buffer->owner->position.z)
                                  : std::numeric_limits<float>::infinity();
    if (d > farthestDistance) {
      farthest = buffer;
      farthestDistance = d;
    }
  }
  const float mine = SquaredDistance(at, requester->position.x, requester->position.y, requester->position.z);
  if (!farthest || !(mine < farthestDistance)) return nullptr;
  Reclaim(farthest);
  return farthest;
}

void SoundMgrDX8::ReleaseAllBuffers() {
  for (SoundHandle* h : soundHandles_) delete h;
  soundHandles_.clear();
  for (DXSoundBuffer* b : bufferCache_) delete b;
  bufferCache_.clear();
  failedNames_.clear();
}
