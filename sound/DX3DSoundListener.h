#pragma once
// The 3D listener of the primary buffer. Without a listener interface (the
// query failed) the setters only store their vectors.
#include "engine/math/JVector.h"
#include "platform/audio/AudioApi.h"

class DX3DSoundListener {
 public:
  DX3DSoundListener(platform::IDirectSound8* device, platform::IDirectSoundBuffer8* primary);
  ~DX3DSoundListener();
  DX3DSoundListener(const DX3DSoundListener&) = delete;
  DX3DSoundListener& operator=(const DX3DSoundListener&) = delete;

  void SetPosition(JVector position, bool immediate);
  void SetVelocity(JVector velocity, bool immediate);
  // Points the listener along `front` with its top as upright as possible.
  void SetOrientation(JVector front, bool immediate);

  const JVector& GetPosition() const { return position_; }
  const JVector& GetFront() const { return front_; }
  const JVector& GetVelocity() const { return velocity_; }
  bool HasMoved() const { return moved_; }
  void SetMoved(bool moved) { moved_ = moved; }
  bool HasInterface() const { return listener_ != nullptr; }

  // The top vector for a unit-length front: world up with its part along the front taken
  // out, normalised. A front along the up axis (or of zero length) has no
  // such part left; the top then lies along z, away from where the front
  // points vertically.
  static JVector TopFor(const JVector& front);

 private:
  platform::IDirectSound3DListener8* listener_ = nullptr;
  platform::IDirectSoundBuffer8* primary_ = nullptr;  // not owned
  JVector position_;
  JVector front_{0.0f, 0.0f, 1.0f};
  JVector velocity_;
  // Set when the position or the front changes; the service clears it after
  // each distance pass, so sounds standing still are placed again only then.
  bool moved_ = false;
};
