#pragma once
// The GUI service. The GUI plug-in's module draws and drives the widget
// tree; the game reaches it only through this interface. The library manager
// hands it the ADDRESSES of the service table's slots (renderer, input, sound,
// registries, client rectangle), so it always reads their current values.
// The interface itself only refuses to start; every other operation is the
// GUI's.
#include <cstdint>
#include <string>

#include "engine/services/CoreBase.h"
#include "engine/services/InputPackets.h"
#include "base/Status.h"
#include "platform/window/WindowTypes.h"

class Core3D;
class CoreInput;
class SoundMgr;
class CorePhysics;
class cEntity_Manager;
class cAction_Factory;
class LanguageManager;
class cCore_Base_InputSocket;
class C3DPass;
class JVector;
struct CameraView;
class GUIEntity;
class GUIWorld;
class GUIParser;
class GUIInputSocket;

// A pick ray: two points in world space.
struct GUIRay {
  float start[3] = {0.0f, 0.0f, 0.0f};
  float end[3] = {0.0f, 0.0f, 0.0f};
};

// Widget kinds of SpawnWidget.
enum GUIWidgetKind : int32_t {
  GUIKIND_WORLD = 2,
  GUIKIND_SCENE = 3,
  GUIKIND_GROUP = 4,
  GUIKIND_BUTTON = 5,
  GUIKIND_CHECKBOX = 6,
  GUIKIND_STATIC = 7,
  GUIKIND_STATICTEXT = 8,
  GUIKIND_LISTBOX = 9,
  GUIKIND_PROGRESSBAR = 10,
  GUIKIND_SCROLLBAR = 11,
  GUIKIND_SLIDER = 12,
  GUIKIND_SPIN = 13,
  GUIKIND_TEXTBOX = 14,
  GUIKIND_MLTEXTBOX = 15,
  GUIKIND_DROPDOWN = 16,
};

class Panelis : public CoreBase {
 public:
  Panelis();
  ~Panelis() override;

  // The interface alone cannot start.
  bool Init() override;

  // Service references: each stores the address of a table slot.
  virtual void SetRendererRef(Core3D** renderer) = 0;
  virtual Core3D* GetRenderer() = 0;
  virtual void SetReservedRef(void** reserved) = 0;
  virtual void* GetReserved() = 0;
  virtual void SetPhysicsRef(CorePhysics** physics) = 0;
  virtual CorePhysics* GetPhysics() = 0;
  virtual void SetInputRef(CoreInput** input) = 0;
  virtual CoreInput* GetInput() = 0;
  virtual void SetSoundRef(SoundMgr** sound) = 0;
  virtual SoundMgr* GetSound() = 0;
  virtual void SetEntityManagerRef(cEntity_Manager** entityManager) = 0;
  virtual cEntity_Manager* GetEntityManager() = 0;
  virtual void SetActionFactoryRef(cAction_Factory** actionFactory) = 0;
  virtual cAction_Factory* GetActionFactory() = 0;
  virtual void SetWrapperBlockRef(platform::RECT* clientRect) = 0;
  virtual platform::RECT* GetWrapperBlockRef() = 0;
  virtual GUIParser* GetParser() = 0;
  virtual LanguageManager* GetLanguageManager() = 0;
  virtual void SetLanguageManagerRef(LanguageManager** languageManager) = 0;

  // Drawing: the GUI's pass and view, and its camera.
  virtual C3DPass* GetRenderScene() = 0;
  virtual CameraView* GetCamera() = 0;
  virtual void UpdateCamera() = 0;
  virtual void SetCameraPosition(float x, float y, float z) = 0;
  virtual void SetCameraPositionV(JVector position) = 0;
  virtual void SetCameraTarget(float x, float y, float z) = 0;
  virtual void SetCameraTargetV(JVector target) = 0;

  // Loads a GUI description file into the world.
  virtual bool LoadGUIFile(const std::string& path) = 0;
  virtual GUIWorld* GetWorld() = 0;
  virtual void SetWorld(GUIWorld* world) = 0;
  virtual CoreStatus OnMouse(MousePacket* packet) = 0;
  virtual CoreStatus OnKey(KeyboardPacket* packet) = 0;
  // Once per frame: drives the actions of the action factory's update list.
  virtual void Update(float frameTime) = 0;
  virtual void SetHoverEntity(GUIEntity* entity) = 0;
  virtual GUIEntity* GetHoverEntity() = 0;
  virtual void SetFocus(GUIEntity* entity) = 0;
  virtual GUIEntity* GetFocus() = 0;
  // Null before Init.
  virtual GUIInputSocket* GetInputSocket() = 0;
  // The game cursor's socket sees every mouse packet before the GUI.
  virtual void SetCursorSocket(cCore_Base_InputSocket* socket) = 0;
  // By name, ignoring case, below the world; null when absent.
  virtual GUIEntity* FindEntity(const std::string& name) = 0;
  // Negative when no widget was made.
  virtual CoreStatus SpawnWidget(int32_t kind, GUIEntity** entity) = 0;
  virtual CoreStatus DestroyEntity(GUIEntity* entity) = 0;
  virtual CoreStatus DestroyEntityByName(const std::string& name) = 0;
  virtual CoreStatus DestroyWorld() = 0;
  virtual void RegisterKeywords() = 0;
  virtual void PushModalScene(const std::string& name) = 0;
  virtual void PopModalScene(const std::string& name) = 0;
  virtual void SetTextRenderEnabled(uint8_t enabled) = 0;
  virtual uint8_t IsTextRenderEnabled() = 0;
  virtual GUIEntity* PickPerspective(GUIEntity* root, MousePacket* packet) = 0;
  virtual GUIEntity* PickOrthographic(GUIEntity* root, MousePacket* packet) = 0;
  virtual int16_t GetCursorX() = 0;
  virtual int16_t GetCursorY() = 0;
  // Clears hover and focus and hides every tooltip.
  virtual bool ResetInputState() = 0;
  virtual GUIEntity* PickEntity(GUIEntity* entity, const GUIRay& ray) = 0;
  virtual GUIEntity* HitTest2D(GUIEntity* entity, float x, float y) = 0;
  // An exiting widget tells the service, so that no hovered, focused or
  // modal pointer outlives it. Nothing in the interface.
  virtual void ForgetEntity(GUIEntity* entity);

 protected:
  CoreBaseConfigMap options_;
};
