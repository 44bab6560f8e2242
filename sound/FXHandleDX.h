#pragma once
// An effect chain: at most one effect of each of the seven types, applied in
// type order to the buffers of the handles it is attached to. Chains are
// saved to and read from object-definition files:
//
//   OBJECT FXHandle
//   {
//       OBJECT Echo
//       {
//           WetDryMix "50.000000"
//           ...
//       }
//   }
#include <string>

#include "engine/services/SoundMgr.h"
#include "sound/SoundEffect.h"

class ObjectDef;
class ObjectDefList;
class SoundMgrDX8;

class FXHandleDX : public FXHandle {
 public:
  FXHandleDX() = default;
  ~FXHandleDX() override;
  FXHandleDX(const FXHandleDX&) = delete;
  FXHandleDX& operator=(const FXHandleDX&) = delete;

  SoundEffect* GetEffect(int type) const;
  bool IsEmpty() const;
  int EffectCount() const;

  // Writes the chain's file through the object-definition writer.
  bool Save(const std::string& fileName, SoundMgrDX8& service);
  // Reads a chain file and adds its effects to this chain. False when the
  // file cannot be read or holds no chain description.
  bool Load(const std::string& fileName, SoundMgrDX8& service);
  // Adds the effects described by the "FXHandle" objects among `objects`;
  // false when there is none.
  bool LoadFromObjects(const ObjectDefList& objects, SoundMgrDX8& service);
  // The chain as the object the file holds (caller owns it).
  ObjectDef* ToObject(SoundMgrDX8& service) const;

  SoundEffect* effects[kSoundEffectTypeCount] = {};  // owned; index = type
  bool structureChanged = false;
  bool parametersChanged = false;
};
