#pragma once
// A sound buffer with a 3D interface: the output layer places it relative
// to the listener. 3D buffers hold mono sounds.
#include "sound/DXSoundBuffer.h"

class DX3DSoundBuffer : public DXSoundBuffer {
 public:
  DX3DSoundBuffer();
  ~DX3DSoundBuffer() override;

  bool DuplicateFrom(DXSoundBuffer* source, platform::IDirectSound8* device) override;
  bool Create(const std::string& name, platform::IDirectSound8* device) override;
  void SetMinDistance(float distance, bool immediate) override;
  void SetMaxDistance(float distance, bool immediate) override;
  bool Is3D() const override { return true; }
  bool Update(DX3DSoundListener* listener) override;
  bool Load(const std::string& name) override;
  void ReleaseOutputBuffer() override;

  void SetPosition(float x, float y, float z, bool immediate);
  platform::IDirectSound3DBuffer8* Get3DInterface() const { return buffer3d_; }

 protected:
  uint32_t FlagsFor(bool fx) const override {
    return fx ? (k3DFlags | platform::DSBCAPS_CTRLFX) : k3DFlags;
  }
  void OnBufferReplaced() override;

 private:
  bool Acquire3D();
  void Release3D();

  float minDistance3d_ = 1.0f;
  float maxDistance3d_ = 100.0f;
  platform::IDirectSound3DBuffer8* buffer3d_ = nullptr;
  bool hasPosition_ = false;
  JVector position3d_;
};
