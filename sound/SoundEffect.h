#pragma once
// The seven standard effects as the sound service hands them around: each
// object holds its effect's parameter block (laid out as the output layer
// takes it) and exposes every parameter as text through the effect's
// parameter table. Values are clamped to their range when set.
#include <cstdint>
#include <string>

#include "platform/audio/AudioApi.h"
#include "platform/audio/AudioEffects.h"

// Effect types, the index of a chain's slots and of the service's prototypes.
enum SoundEffectType : int32_t {
  kEffectChorus = 0,
  kEffectCompressor = 1,
  kEffectDistortion = 2,
  kEffectEcho = 3,
  kEffectFlanger = 4,
  kEffectGargle = 5,
  kEffectReverb = 6,
  kSoundEffectTypeCount = 7,
};

class SoundEffect {
 public:
  virtual ~SoundEffect();
  SoundEffect(const SoundEffect&) = delete;
  SoundEffect& operator=(const SoundEffect&) = delete;

  // Hands the parameter block to the buffer's first effect of this class.
  virtual void Apply(int position, platform::IDirectSoundBuffer8* buffer);
  // Kept for the interface's shape: effects take named values through the
  // chain file reader instead.
  virtual void SetNamedParameter(const std::string& key, const std::string& value);
  virtual int GetParameterCount();
  virtual int GetParameterIndex(const std::string& key);
  virtual int GetParameterType(int index);
  virtual void GetParameterKey(int index, std::string& out);
  virtual void GetParameterLabel(int index, std::string& out);
  virtual void GetParameterRange(int index, std::string& minimum, std::string& maximum);
  virtual void GetParameterText(int index, std::string& out);
  virtual void SetParameterText(int index, const std::string& text);

  int32_t GetType() const { return type_; }
  const platform::SoundGuid& GetClassGuid() const { return classGuid_; }
  // The parameter block (null in the base).
  virtual const void* GetBlock() const { return nullptr; }

 protected:
  SoundEffect() = default;
  explicit SoundEffect(int32_t type);
  virtual void* MutableBlock() { return nullptr; }

  int32_t type_ = -1;
  platform::SoundGuid classGuid_{};
};

// A new effect of the type at its built-in defaults; null for a type
// outside 0..6.
SoundEffect* CreateBuiltInEffect(int type);
