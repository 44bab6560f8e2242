#pragma once
// The game's audio manager (spawned as "SPN::KV9:AUDIO:MANAGER"). The game
// program completes it.
#include <cstdint>
#include <string>

#include "engine/entity/EntityBase.h"

class SoundHandle;
class BOInstance;

class cEntity_AudioManager : public cEntity_Base {
 public:
  using cEntity_Base::cEntity_Base;

  // Plays the file once or looping; null when sound is off, there is no
  // sound service or the name is empty.
  virtual SoundHandle* PlaySound(const std::string& fileName, bool loop, uint8_t flag) = 0;
  virtual void StopSound(SoundHandle* handle) = 0;
  virtual void AddObjectSound(cEntity_Base* object, const std::string& fileName, float a, float b) = 0;
  virtual void RemoveObjectSounds(cEntity_Base* object) = 0;
  virtual void AddBuildingSound(BOInstance* building, const std::string& soundName, float a, float b) = 0;
  virtual void RemoveBuildingSounds(BOInstance* building) = 0;
};
