// A GUI library for the library manager's tests: the GUI module, a command
// package and an action package. FAKE_GUI_INIT=0 makes the GUI's start fail.
#include "FakeDescriptor.h"
#include "FakeSupport.h"
#include "engine/entity/ActionBase.h"
#include "engine/services/CorePack.h"
#include "engine/services/Core_OCPack.h"
#include "engine/math/JVector.h"
#include "engine/services/Panelis.h"

namespace {

class FakeGui final : public fake::NoSettings<Panelis> {
 public:
  ~FakeGui() override { fake::Log("gui destroyed"); }
  bool Init() override {
    fake::Log("gui Init");
    return fake::Enabled("FAKE_GUI_INIT");
  }
  void Shutdown() override { fake::Log("gui Shutdown"); }
  const char* GetName() override { return "[FakeGui]"; }
  const char* GetDescription() override { return "test GUI"; }
  eServiceType GetServiceType() override { return eService_GUI; }

  void SetRendererRef(Core3D** ref) override {
    fake::Log("gui SetRendererRef");
    renderer_ = ref;
  }
  Core3D* GetRenderer() override { return renderer_ ? *renderer_ : nullptr; }
  void SetReservedRef(void**) override {}
  void* GetReserved() override { return nullptr; }
  void SetPhysicsRef(CorePhysics** ref) override {
    fake::Log("gui SetPhysicsRef");
    physics_ = ref;
  }
  CorePhysics* GetPhysics() override { return physics_ ? *physics_ : nullptr; }
  void SetInputRef(CoreInput** ref) override {
    fake::Log("gui SetInputRef");
    input_ = ref;
  }
  CoreInput* GetInput() override { return input_ ? *input_ : nullptr; }
  void SetSoundRef(SoundMgr** ref) override {
    fake::Log("gui SetSoundRef");
    sound_ = ref;
  }
  SoundMgr* GetSound() override { return sound_ ? *sound_ : nullptr; }
  void SetEntityManagerRef(cEntity_Manager** ref) override {
    fake::Log("gui SetEntityManagerRef");
    entityManager_ = ref;
  }
  cEntity_Manager* GetEntityManager() override { return entityManager_ ? *entityManager_ : nullptr; }
  void SetActionFactoryRef(cAction_Factory** ref) override {
    fake::Log("gui SetActionFactoryRef");
    actionFactory_ = ref;
  }
  cAction_Factory* GetActionFactory() override { return actionFactory_ ? *actionFactory_ : nullptr; }
  void SetWrapperBlockRef(platform::RECT* rect) override {
    fake::Log("gui SetWrapperBlockRef");
    rect_ = rect;
  }
  platform::RECT* GetWrapperBlockRef() override { return rect_; }
  GUIParser* GetParser() override { return nullptr; }
  LanguageManager* GetLanguageManager() override { return languages_ ? *languages_ : nullptr; }
  void SetLanguageManagerRef(LanguageManager** ref) override {
    fake::Log("gui SetLanguageManagerRef");
    languages_ = ref;
  }
  C3DPass* GetRenderScene() override { return nullptr; }
  CameraView* GetCamera() override { return nullptr; }
  void UpdateCamera() override {}
  void SetCameraPosition(float, float, float) override {}
  void SetCameraPositionV(JVector) override {}
  void SetCameraTarget(float, float, float) override {}
  void SetCameraTargetV(JVector) override {}
  bool LoadGUIFile(const std::string&) override { return false; }
  GUIWorld* GetWorld() override { return nullptr; }
  void SetWorld(GUIWorld*) override {}
  CoreStatus OnMouse(MousePacket*) override { return status::Fail; }
  CoreStatus OnKey(KeyboardPacket*) override { return status::Fail; }
  void Update(float) override {}
  void SetHoverEntity(GUIEntity*) override {}
  GUIEntity* GetHoverEntity() override { return nullptr; }
  void SetFocus(GUIEntity*) override {}
  GUIEntity* GetFocus() override { return nullptr; }
  GUIInputSocket* GetInputSocket() override { return nullptr; }
  void SetCursorSocket(cCore_Base_InputSocket*) override {}
  GUIEntity* FindEntity(const std::string&) override { return nullptr; }
  CoreStatus SpawnWidget(int32_t, GUIEntity** entity) override {
    if (entity) *entity = nullptr;
    return status::Fail;
  }
  CoreStatus DestroyEntity(GUIEntity*) override { return status::Fail; }
  CoreStatus DestroyEntityByName(const std::string&) override { return status::Fail; }
  CoreStatus DestroyWorld() override { return status::Fail; }
  void RegisterKeywords() override {}
  void PushModalScene(const std::string&) override {}
  void PopModalScene(const std::string&) override {}
  void SetTextRenderEnabled(uint8_t) override {}
  uint8_t IsTextRenderEnabled() override { return 1; }
  GUIEntity* PickPerspective(GUIEntity*, MousePacket*) override { return nullptr; }
  GUIEntity* PickOrthographic(GUIEntity*, MousePacket*) override { return nullptr; }
  int16_t GetCursorX() override { return 0; }
  int16_t GetCursorY() override { return 0; }
  bool ResetInputState() override { return true; }
  GUIEntity* PickEntity(GUIEntity*, const GUIRay&) override { return nullptr; }
  GUIEntity* HitTest2D(GUIEntity*, float, float) override { return nullptr; }

 private:
  Core3D** renderer_ = nullptr;
  CorePhysics** physics_ = nullptr;
  CoreInput** input_ = nullptr;
  SoundMgr** sound_ = nullptr;
  cEntity_Manager** entityManager_ = nullptr;
  cAction_Factory** actionFactory_ = nullptr;
  platform::RECT* rect_ = nullptr;
  LanguageManager** languages_ = nullptr;
};

class FakeAction final : public cAction_Base {
 public:
  FakeAction(const char* name, bool wantsUpdates) : cAction_Base(name) { updated = wantsUpdates ? 1 : 0; }
  CoreStatus Execute(cEntity_Base*, uintptr_t, const std::string&) override { return status::Ok; }
};

class FakeActionPack final : public CorePack<cAction_Base> {
 public:
  ~FakeActionPack() override { fake::Log("actions destroyed"); }
  cAction_Base* CreateItem(uint32_t index) override {
    switch (index) {
      case 0: return new FakeAction("FakeActionOne", false);
      case 1: return new FakeAction("FakeActionTwo", true);
      case 2: return new FakeAction("fakeactionone", false);  // a duplicate the factory refuses
      default: return nullptr;
    }
  }
};

CoreStatus FakeCommand(CStringArray&, CoreParser*) { return status::Ok; }

class FakeCommandPack final : public Core_OCPack {
 public:
  FakeCommandPack() { (*GetCommandMap())["FakeCommand"] = &FakeCommand; }
  ~FakeCommandPack() override { fake::Log("commands destroyed"); }
};

fake::Descriptor<FakeGui> g_gui("FakeGui", 2.0f, eService_GUI);
fake::Descriptor<FakeCommandPack> g_commands("FakeCommands", 1.0f, eService_OCPack);
fake::Descriptor<FakeActionPack> g_actions("FakeActions", 1.0f, eService_ActionPack);
CoreBaseDescriptor* g_descriptors[] = {&g_gui, &g_commands, &g_actions};

}  // namespace

FAKE_PLUGIN_EXPORTS(g_descriptors, 3)
