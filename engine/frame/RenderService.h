#pragma once
// Ties a set of entities to one render pass of the renderer: creates the
// pass, orders it among the renderer's passes, gives it a view (its own, or
// a camera's), installs itself as the pass's callback object and, each time
// the renderer runs the pass, clears what it was asked to clear, sets the
// ambient light and draws every registered item.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/frame/BaseService.h"
#include "engine/services/C3DPass.h"
#include "engine/math/JVector.h"
#include "engine/entity/SpawnBase.h"
#include "base/Status.h"
#include "platform/window/WindowTypes.h"

class C3DBaseShader;
class Core3D;
class cEntity_BaseCamera;
class cRenderServiceItem;
struct CameraView;

class cRenderService : public C3DEntity, public cBaseService {
 public:
  static constexpr const char* kSpawnName = "SPN::GM:SERVICE:RENDER";
  // A parent of this name puts the service's pass at the end of the list.
  static constexpr const char* kRootParent = "CORE3DROOT";
  static constexpr const char* kLineShader = ".\\Debug\\AntiAliasedLine.jsd";

  explicit cRenderService(cEntity_Manager* creator);
  // Detaches every item; the pass and the view stay with the renderer.
  ~cRenderService() override;

  // Pass callbacks.
  void OnPassBegin(C3DPass* pass) override;    // frame clears
  void OnPassPrepare(C3DPass* pass) override;  // pass clears, joins the pass, ambient light
  void Render(C3DPass* pass) override;         // draws every item in list order

  // Creates and places the pass and the view (see the .cpp). 0x80004005
  // without a renderer or when no pass could be made.
  virtual CoreStatus Initialise(Core3D* renderer);
  virtual void SetViewport(const platform::RECT* viewport);
  virtual void ApplyViewport();
  virtual CoreStatus AddItem(cRenderServiceItem* item);
  virtual CoreStatus RemoveItem(cRenderServiceItem* item);
  // Records the frame time; drawing happens when the renderer runs the pass.
  void Update(float seconds) override;

  // The camera's view when a camera is set, else the own view.
  CameraView* GetView();
  C3DPass* GetRenderPass() const { return pass_; }
  void SetCamera(cEntity_BaseCamera* camera);
  cEntity_BaseCamera* GetCamera() const { return camera_; }
  Core3D* GetRenderer() const { return renderer_; }

  // Settings made by the script block's properties.
  void SetParentName(std::string name) { parentName_ = std::move(name); }
  void SetCameraName(std::string name) { cameraName_ = std::move(name); }
  const std::string& GetParentName() const { return parentName_; }
  const std::string& GetCameraName() const { return cameraName_; }
  void SetCameraPosition(JVector v) { camPos_ = v; }
  void SetCameraTarget(JVector v) { camTarget_ = v; }
  void SetCameraUp(JVector v) { camUp_ = v; }
  void SetAmbientLight(JVector v) { ambient_ = v; }
  JVector GetCameraPosition() const { return camPos_; }
  JVector GetCameraTarget() const { return camTarget_; }
  JVector GetCameraUp() const { return camUp_; }
  JVector GetAmbientLight() const { return ambient_; }
  void SetOrthographic(bool on) { orthographic_ = on; }
  void SetFrameClear(bool on) { frameClear_ = on; }
  void SetFrameDepthClear(bool on) { frameDepthClear_ = on; }
  void SetPassClear(bool on) { passClear_ = on; }
  void SetPassDepthClear(bool on) { passDepthClear_ = on; }
  bool IsOrthographic() const { return orthographic_; }
  bool GetFrameClear() const { return frameClear_; }
  bool GetFrameDepthClear() const { return frameDepthClear_; }
  bool GetPassClear() const { return passClear_; }
  bool GetPassDepthClear() const { return passDepthClear_; }
  void SetActive(bool on) { active_ = on; }
  bool IsActive() const { return active_; }
  float GetFrameTime() const { return frameTime_; }
  int32_t GetItemCount() const { return static_cast<int32_t>(items_.size()); }
  cRenderServiceItem* GetItem(int32_t i) const {
    return i >= 0 && i < GetItemCount() ? items_[static_cast<size_t>(i)] : nullptr;
  }

 private:
  C3DPass* pass_ = nullptr;
  Core3D* renderer_ = nullptr;
  CameraView* ownView_ = nullptr;
  std::vector<cRenderServiceItem*> items_;
  std::string cameraName_;
  std::string parentName_;
  C3DBaseShader* lineShader_ = nullptr;
  cEntity_BaseCamera* camera_ = nullptr;
  float frameTime_ = 0.0f;
  JVector camPos_{0.0f, 0.0f, 8.0f};
  JVector camTarget_{0.0f, 0.0f, 0.0f};
  JVector camUp_{0.0f, 1.0f, 0.0f};
  JVector ambient_{0.9f, 0.9f, 0.9f};
  const platform::RECT* viewport_ = nullptr;
  bool orthographic_ = false;
  bool frameClear_ = false;
  bool frameDepthClear_ = false;
  bool passClear_ = false;
  bool passDepthClear_ = false;
  bool active_ = true;
};

class SpawnRenderService : public cSpawn_Base {
 public:
  SpawnRenderService() : cSpawn_Base(cRenderService::kSpawnName) {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override {
    return new cRenderService(creator);
  }
};
