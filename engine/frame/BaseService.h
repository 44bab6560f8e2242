#pragma once
// The common base of the engine's frame services: an entity that a script
// creates by spawn name, names, configures and files with the engine game
// manager, which sorts services by their type word and updates each once
// per frame.
#include <cstdint>
#include <string>

#include "engine/entity/EntityBase.h"

class cEntity_Manager;
class cGameManager;
class ObjectDef;

enum eServiceKind : int32_t {
  eServiceKind_Render = 0,
  eServiceKind_Physics = 1,
  eServiceKind_Time = 2,
  eServiceKind_Particle = 3,
};

class cBaseService : public cEntity_Base {
 public:
  explicit cBaseService(cEntity_Manager* creator);
  // Leaves the game manager it is filed with, so no frame reaches it later.
  ~cBaseService() override;

  // Reads "Default" ("true" in any case sets the default flag), then the
  // entity base's Init with the same definition.
  bool Init(ObjectDef* definition) override;
  // The per-frame work, with the frame time in seconds; nothing here.
  void Update(float seconds) override;

  int32_t GetServiceType() const { return typeWord_; }
  bool IsDefault() const { return defaultFlag_; }
  bool GetUpdateMark() const { return updateMark_; }
  void SetUpdateMark(bool mark) { updateMark_ = mark; }
  cGameManager* GetFiledWith() const { return filedWith_; }
  void SetFiledWith(cGameManager* manager) { filedWith_ = manager; }

 protected:
  void SetServiceType(int32_t type) { typeWord_ = type; }

 private:
  bool updateMark_ = false;
  int32_t typeWord_ = -1;
  bool defaultFlag_ = false;
  cGameManager* filedWith_ = nullptr;
};
