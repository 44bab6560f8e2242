#pragma once
// The interface module (service type 5). The library manager gives it the
// client rectangle and the other services as values when it binds it; the
// game loads none.
#include "engine/services/CoreBase.h"
#include "platform/window/WindowTypes.h"

class Core3D;
class CoreInput;
class CorePhysics;
class SoundMgr;
class cEntity_Manager;
class cAction_Factory;

class CoreInterface : public CoreBase {
 public:
  CoreInterface();
  ~CoreInterface() override;

  virtual void SetClientRect(const platform::RECT& rect) = 0;
  virtual void SetGraphics(Core3D* graphics) = 0;
  virtual void SetPhysics(CorePhysics* physics) = 0;
  virtual void SetInput(CoreInput* input) = 0;
  virtual void SetSound(SoundMgr* sound) = 0;
  virtual void SetEntityManager(cEntity_Manager* entityManager) = 0;
  virtual void SetActionFactory(cAction_Factory* actionFactory) = 0;
};
