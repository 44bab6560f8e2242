#pragma once
// The engine's frame object. It creates the action manager, registers the
// engine's script commands and keyword languages, runs the start-up script,
// keeps the frame services (time, physics, render, particle and general
// ones) and ticks them once per frame in a fixed order, spawns and destroys
// entities by spawn name for the game, attaches entities to services by
// name, and takes part in input dispatch as a socket with lists of its own.
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "engine/entity/InputSocket.h"
#include "engine/entity/InputSocketManager.h"
#include "base/Status.h"

class cActionManager;
class cBaseService;
class cCore_ConfigManager;
class cCore_GlobalWrapper;
class cEntity_Base;
class cEntity_BaseCamera;
class cEntity_BaseCursor;
class cEntity_Manager;
class cParticleService;
class cRenderService;
class PhysicsService;
class TimeService;

class cGameManager : public cCore_Base_InputSocket, public cCore_Base_InputMGR {
 public:
  explicit cGameManager(cEntity_Manager* entityManager);
  ~cGameManager() override;

  // Mouse and key packets go to this manager's own lists, front to back,
  // until one socket takes them (0); none: 0x80004005.
  CoreStatus OnMouse(MousePacket* packet) override;
  CoreStatus OnKey(KeyboardPacket* packet) override;

  // Action manager, commands, languages, "base.cfg", then the main camera
  // and cursor. 0, or 0x80004005 at the first failing step.
  virtual CoreStatus Init(cCore_ConfigManager* configManager);
  virtual void Shutdown();
  virtual CoreStatus RegisterCommands();
  virtual void CreateActionManager();
  virtual CoreStatus DefineLanguages();
  // Files the service by its type word; a type above 3 is accepted and
  // filed nowhere. Null or a type that does not match the class: 0x80004005.
  virtual CoreStatus AddService(cBaseService* service);
  // One frame: time services (the last one's span becomes the frame time),
  // physics, render, particle (unless paused), then the general services.
  virtual void Update(bool paused);
  virtual CoreStatus SpawnEntity(const std::string& spawnName, cEntity_Base** entity);
  // Takes the names from the front of the list (emptying it) and adds the
  // entity to each named service; unknown names are skipped. 0.
  virtual CoreStatus AttachToServices(std::list<std::string>& serviceNames, cEntity_Base* entity);
  virtual CoreStatus DestroyEntity(cEntity_Base* entity);
  virtual CoreStatus DestroyEntityByName(const std::string& name);

  // The start-up script Init runs ("base.cfg" unless the program points it
  // at its resource directory).
  void SetStartupScript(std::string fileName) { startupScript_ = std::move(fileName); }
  const std::string& GetStartupScript() const { return startupScript_; }

  // A general service: updated after the typed ones, once per frame.
  void AddGeneralService(cBaseService* service);
  // Takes the service off every list (a service that goes away).
  void RemoveService(cBaseService* service);

  float GetFrameTime() const { return frameTime_; }
  cEntity_BaseCamera* GetCamera() const { return camera_; }
  cEntity_BaseCursor* GetCursor() const { return cursor_; }
  cEntity_Manager* GetEntityManager() const { return entityManager_; }
  cActionManager* GetActionManager() const { return actionManager_; }
  cCore_GlobalWrapper* GetTable() const { return table_; }
  cCore_ConfigManager* GetConfigManager() const { return configManager_; }
  const std::vector<TimeService*>& GetTimeServices() const { return timeServices_; }
  const std::vector<PhysicsService*>& GetPhysicsServices() const { return physicsServices_; }
  const std::vector<cRenderService*>& GetRenderServices() const { return renderServices_; }
  const std::vector<cParticleService*>& GetParticleServices() const { return particleServices_; }
  const std::vector<cEntity_Base*>& GetEntities() const { return entities_; }

 protected:
  // A game's CreateActionManager puts its own manager in place of the
  // engine's; the one held before is deleted.
  void SetActionManager(cActionManager* manager);

 private:
  cEntity_BaseCamera* camera_ = nullptr;
  cEntity_BaseCursor* cursor_ = nullptr;
  cEntity_Manager* entityManager_ = nullptr;
  std::vector<cEntity_Base*> entities_;
  std::vector<cBaseService*> generalServices_;
  std::vector<cRenderService*> renderServices_;
  std::vector<PhysicsService*> physicsServices_;
  std::vector<TimeService*> timeServices_;
  std::vector<cParticleService*> particleServices_;
  float frameTime_ = 0.0f;
  cActionManager* actionManager_ = nullptr;
  void* context_ = nullptr;
  cCore_GlobalWrapper* table_ = nullptr;
  cCore_ConfigManager* configManager_ = nullptr;
  std::string startupScript_ = "base.cfg";
};
