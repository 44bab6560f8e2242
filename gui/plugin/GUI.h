#pragma once
// The GUI service: the one object through which the game reaches the
// interface. It owns the input socket and the description-file parser and
// points at the world, the hovered and focused widgets and the modal scenes,
// all of which belong to the entity manager.
#include <memory>
#include <string>
#include <vector>

#include "engine/services/Panelis.h"
#include "gui/core/GUIParser.h"

class GUIScene;

class GUI : public Panelis {
 public:
  GUI();
  ~GUI() override;

  bool Init() override;
  void Shutdown() override {}
  void LoadConfig() override {}
  uint32_t GetConfig(CoreBaseConfigMap** options) override {
    if (options) *options = nullptr;
    return 0;
  }
  bool ApplyConfig() override { return true; }
  void ClearConfig() override {}
  const char* GetName() override { return "[Panelis]"; }
  const char* GetDescription() override { return "The new interface engine class"; }
  eServiceType GetServiceType() override { return eService_GUI; }

  void SetRendererRef(Core3D** renderer) override { renderer_ = renderer; }
  Core3D* GetRenderer() override { return renderer_ ? *renderer_ : nullptr; }
  void SetReservedRef(void** reserved) override { reserved_ = reserved; }
  void* GetReserved() override { return reserved_ ? *reserved_ : nullptr; }
  void SetPhysicsRef(CorePhysics** physics) override { physics_ = physics; }
  CorePhysics* GetPhysics() override { return physics_ ? *physics_ : nullptr; }
  void SetInputRef(CoreInput** input) override { input_ = input; }
  CoreInput* GetInput() override { return input_ ? *input_ : nullptr; }
  void SetSoundRef(SoundMgr** sound) override { sound_ = sound; }
  SoundMgr* GetSound() override { return sound_ ? *sound_ : nullptr; }
  void SetEntityManagerRef(cEntity_Manager** manager) override { entityManager_ = manager; }
  cEntity_Manager* GetEntityManager() override { return entityManager_ ? *entityManager_ : nullptr; }
  void SetActionFactoryRef(cAction_Factory** factory) override { actionFactory_ = factory; }
  cAction_Factory* GetActionFactory() override { return actionFactory_ ? *actionFactory_ : nullptr; }
  void SetWrapperBlockRef(platform::RECT* clientRect) override { clientRect_ = clientRect; }
  platform::RECT* GetWrapperBlockRef() override { return clientRect_; }
  GUIParser* GetParser() override { return &parser_; }
  LanguageManager* GetLanguageManager() override { return languages_ ? *languages_ : nullptr; }
  void SetLanguageManagerRef(LanguageManager** languages) override { languages_ = languages; }

  C3DPass* GetRenderScene() override { return pass_; }
  CameraView* GetCamera() override { return view_; }
  void UpdateCamera() override;
  void SetCameraPosition(float x, float y, float z) override;
  void SetCameraPositionV(JVector position) override;
  void SetCameraTarget(float x, float y, float z) override;
  void SetCameraTargetV(JVector target) override;

  bool LoadGUIFile(const std::string& path) override;
  GUIWorld* GetWorld() override { return world_; }
  void SetWorld(GUIWorld* world) override;
  CoreStatus OnMouse(MousePacket* packet) override;
  CoreStatus OnKey(KeyboardPacket* packet) override;
  void Update(float frameTime) override;
  void SetHoverEntity(GUIEntity* entity) override { hover_ = entity; }
  GUIEntity* GetHoverEntity() override { return hover_; }
  void SetFocus(GUIEntity* entity) override;
  GUIEntity* GetFocus() override { return focus_; }
  GUIInputSocket* GetInputSocket() override { return socket_.get(); }
  void SetCursorSocket(cCore_Base_InputSocket* socket) override;
  GUIEntity* FindEntity(const std::string& name) override;
  CoreStatus SpawnWidget(int32_t kind, GUIEntity** entity) override;
  CoreStatus DestroyEntity(GUIEntity* entity) override;
  CoreStatus DestroyEntityByName(const std::string& name) override;
  CoreStatus DestroyWorld() override;
  void RegisterKeywords() override;
  void PushModalScene(const std::string& name) override;
  void PopModalScene(const std::string& name) override;
  void SetTextRenderEnabled(uint8_t enabled) override { textRender_ = enabled; }
  uint8_t IsTextRenderEnabled() override { return textRender_; }
  GUIEntity* PickPerspective(GUIEntity* root, MousePacket* packet) override;
  GUIEntity* PickOrthographic(GUIEntity* root, MousePacket* packet) override;
  int16_t GetCursorX() override { return cursorX_; }
  int16_t GetCursorY() override { return cursorY_; }
  bool ResetInputState() override;
  GUIEntity* PickEntity(GUIEntity* entity, const GUIRay& ray) override;
  GUIEntity* HitTest2D(GUIEntity* entity, float x, float y) override;
  void ForgetEntity(GUIEntity* entity) override;

  // The modal scenes, the top first.
  const std::vector<GUIScene*>& GetModalScenes() const { return modal_; }
  float GetUnitsPerPixelX() const { return unitsPerPixel_[0]; }
  float GetUnitsPerPixelY() const { return unitsPerPixel_[1]; }
  float GetViewWidth() const { return viewSize_[0]; }
  float GetViewHeight() const { return viewSize_[1]; }

 private:
  using PickOperation = GUIEntity* (GUI::*)(GUIEntity*, MousePacket*);
  // Sends a message with the world as the sender.
  bool Send(GUIEntity* entity, uint32_t code, uintptr_t parameter);
  void SendToCursor(uint32_t code);
  float ViewportWidth() const;
  float ViewportHeight() const;

  PickOperation pick_ = &GUI::PickPerspective;
  Core3D** renderer_ = nullptr;
  void** reserved_ = nullptr;
  CorePhysics** physics_ = nullptr;
  CoreInput** input_ = nullptr;
  SoundMgr** sound_ = nullptr;
  cEntity_Manager** entityManager_ = nullptr;
  cAction_Factory** actionFactory_ = nullptr;
  platform::RECT* clientRect_ = nullptr;
  C3DPass* pass_ = nullptr;
  CameraView* view_ = nullptr;
  float eye_[3] = {0.0f, 0.0f, 10.0f};
  float target_[3] = {0.0f, 0.0f, 0.0f};
  float up_[3] = {0.0f, 1.0f, 0.0f};
  float unitsPerPixel_[2] = {0.0f, 0.0f};
  float viewSize_[2] = {0.0f, 0.0f};
  std::unique_ptr<GUIInputSocket> socket_;
  LanguageManager** languages_ = nullptr;
  GUIParser parser_;
  GUIWorld* world_ = nullptr;
  GUIEntity* hover_ = nullptr;
  GUIEntity* focus_ = nullptr;
  std::vector<GUIScene*> modal_;
  uint8_t textRender_ = 1;
  int16_t cursorX_ = 0;
  int16_t cursorY_ = 0;
};
