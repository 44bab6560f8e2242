#pragma once
// The game's mouse pointer as a model in the world: a model entity that
// follows the mouse by standing on the pick ray of its own camera, and is
// drawn by a render service as one of its items.
#include <cstdint>
#include <string>

#include "engine/entity/EntityModel.h"
#include "engine/entity/InputSocket.h"
#include "engine/frame/RenderServiceItem.h"
#include "engine/entity/SpawnBase.h"

class Core3D;
class cEntity_BaseCamera;

class cEntity_BaseCursor : public cEntity_BaseModel, public cCore_Base_InputSocket, public cRenderServiceItem {
 public:
  static constexpr const char* kSpawnName = "SPN::BASE:CURSOR";

  explicit cEntity_BaseCursor(cEntity_Manager* manager);
  ~cEntity_BaseCursor() override;

  // Binds the cursor to the camera named by SetCameraName (when such an
  // entity exists it must be a camera), loads its models with the renderer
  // and makes the current model its drawn model. 0, or 0x80004005.
  virtual CoreStatus BindCamera(Core3D* renderer, uint32_t word);
  // Keeps the camera and makes its view orthographic, so the pick ray runs
  // straight through the pointer.
  virtual void SetCamera(cEntity_BaseCamera* camera);
  virtual void Hide();
  virtual void Show();
  virtual void SetCameraName(const std::string& name);

  // Places the cursor on its camera's pick ray through the pointer;
  // 0x80004005 without a camera.
  CoreStatus OnMouse(MousePacket* packet) override;
  // Draws the current model where the entity stands (its world matrix:
  // scale, rotation and the place under the pointer).
  CoreStatus Render(C3DPass* pass, Core3D* renderer) override;
  // The cursor takes its keys from nobody.
  CoreStatus RegisterKeyHandlers(cGM_ConfigManager*) override { return status::Ok; }
  CoreStatus ReloadKeyHandlers(cGM_ConfigManager*) override { return status::Ok; }
  CoreStatus UnregisterKeyHandlers(cGM_ConfigManager*) override { return status::Ok; }

  cEntity_BaseCamera* GetCamera() const { return camera_; }
  const std::string& GetCameraName() const { return cameraName_; }
  bool IsHidden() const { return hidden_ != 0; }

 private:
  cEntity_BaseCamera* camera_ = nullptr;
  uint8_t hidden_ = 0;
  uint32_t word_ = 0;
  std::string cameraName_;
  cModelNode node_;  // the drawn model as a one-node tree
};

class SpawnBaseCursor : public cSpawn_Base {
 public:
  SpawnBaseCursor() : cSpawn_Base(cEntity_BaseCursor::kSpawnName) {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override {
    return new cEntity_BaseCursor(creator);
  }
};
