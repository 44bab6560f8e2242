#pragma once
// What the game asked of one sound or music: the file, looping, volume,
// distances, position or source object and effect chain. The handle borrows
// a buffer from the cache while it has one; the service owns the handle.
#include <string>

#include "engine/services/SoundMgr.h"

class DXSoundBuffer;
class FXHandleDX;

class SoundHandleDX : public SoundHandle {
 public:
  SoundHandleDX() = default;
  // Gives the buffer back to the cache, stopped, and forgets the chain.
  ~SoundHandleDX() override;
  SoundHandleDX(const SoundHandleDX&) = delete;
  SoundHandleDX& operator=(const SoundHandleDX&) = delete;

  // Links handle and buffer both ways (either may be null).
  void Link(DXSoundBuffer* newBuffer);
  // Drops the link to the buffer, leaving the buffer without an owner.
  void Unlink();

  std::string fileName;
  DXSoundBuffer* buffer = nullptr;  // borrowed from the cache
  const void* source = nullptr;     // game object, not owned
  bool is3D = false;
  bool nonPositional = false;
  bool keepPlaying = false;
  bool loop = false;
  FXHandleDX* chain = nullptr;  // owned by the service's chain list
  float frequencyScale = 1.0f;
  float minDistance = 1.0f;
  float maxDistance = 100.0f;
  float volume = 1.0f;
  bool releaseWhenStopped = false;
};
