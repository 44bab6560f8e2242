#pragma once
// A node of the GUI tree: state flags, the box and its transform chain, the
// ordered children, ray picking with collision shapes, drawing of the
// subtree, event bindings, texture coordinates and hover and click sounds.
// The widget kinds derive from it; the game reaches widgets through these
// operations.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/math/JMatrix.h"
#include "engine/math/JVector.h"
#include "engine/services/C3DBaseShader.h"
#include "engine/services/C3DModel.h"
#include "engine/services/InputPackets.h"
#include "engine/services/Panelis.h"
#include "gui/core/GUIBase.h"
#include "gui/core/GUIGeometry.h"
#include "gui/core/ResourceRef.h"

class C3DPass;
class Core3D;
class SoundHandle;

// Pivot (anchor) codes of an entity box.
enum GUIPivot : uint8_t { GUIPIVOT_UL = 0, GUIPIVOT_UR = 1, GUIPIVOT_LR = 2, GUIPIVOT_LL = 3, GUIPIVOT_CC = 4 };

// Collision types.
enum GUICollision : uint8_t { GUICOLLIDE_BOX = 0, GUICOLLIDE_ELLIPSE = 1, GUICOLLIDE_COMPLEX = 128 };

inline constexpr int kMaxCollisionShapes = 16;
inline constexpr CoreStatus kGUIFail = status::Fail;

// The pointer-sized word by which an entity names itself as a sender.
inline uintptr_t EntityWord(cEntity_Base* entity) { return reinterpret_cast<uintptr_t>(entity); }

class GUIEntity : public GUIBase {
 public:
  explicit GUIEntity(cEntity_Manager* owner);
  ~GUIEntity() override;

  // Completes the entity once its definition is read. Nothing for a plain
  // node: the parser that opened a block is the one that ends it.
  CoreStatus Initialize() override;
  // Leaves the tree, tells the service, gives back model and shader and
  // frees the shapes. Runs once; later calls do nothing.
  CoreStatus Exit() override;
  // Marks for removal and exits at once.
  void MarkForRemoval() override;

  virtual uint8_t* IsActivePtr() { return &active_; }
  virtual uint8_t* IsEnabledPtr() { return &enabled_; }
  virtual uint8_t* IsVisiblePtr() { return &visible_; }
  virtual uint8_t* IsSolidPtr() { return &solid_; }
  virtual void SetActive(uint8_t on) { active_ = on; }
  virtual void SetEnabled(uint8_t on) { enabled_ = on; }
  virtual void SetVisible(uint8_t on) { visible_ = on; }
  virtual void SetSolid(uint8_t on) { solid_ = on; }

  // Draws the subtree: children from the last to the first.
  virtual void Render(Core3D* renderer, C3DPass* pass);
  // Draws the box edges of every active, visible and enabled entity.
  virtual void DrawBounds(Core3D* renderer, C3DPass* pass);
  // The solid entity the ray hits first, depth first; null for none.
  virtual GUIEntity* PickRay(const GUIRay& ray);

  virtual void SetGUI(Panelis* gui) { gui_ = gui; }
  // Holds the model (a reference of its own) and sets it up with anchor 0.
  virtual void SetModel(C3DModel* model);
  virtual C3DModel* GetModel() { return model_.Get(); }
  virtual void SetShader(C3DBaseShader* shader) { shader_.Set(shader); }
  virtual C3DBaseShader* GetShader() { return shader_.Get(); }
  virtual void SetWidth(float w) { width_ = w; }
  virtual void SetHeight(float h) { height_ = h; }
  virtual void SetDepth(float d) { depth_ = d; }
  virtual float* GetWidthPtr() { return &width_; }
  virtual float* GetHeightPtr() { return &height_; }
  virtual float* GetDepthPtr() { return &depth_; }

  virtual void SetScale(float x, float y, float z, bool update);
  virtual void SetScaleV(JVector v) { SetScale(v.x, v.y, v.z, true); }
  virtual void SetScaleUniform(float s) { SetScale(s, s, s, true); }
  virtual void ScaleBy(float x, float y, float z, bool update);
  virtual void ScaleByV(JVector v) { ScaleBy(v.x, v.y, v.z, true); }
  virtual void ScaleByUniform(float s) { ScaleBy(s, s, s, true); }
  virtual float* GetScaleXPtr() { return &scale_.m[0][0]; }
  virtual float* GetScaleYPtr() { return &scale_.m[1][1]; }
  virtual float* GetScaleZPtr() { return &scale_.m[2][2]; }

  virtual void SetRotationMatrix(const JMatrix& m, bool update);
  virtual void SetRotation(float x, float y, float z, bool update);
  virtual void SetRotationV(JVector v) { SetRotation(v.x, v.y, v.z, true); }
  virtual void GetRotationMatrix(JMatrix* out) { *out = rotation_; }
  virtual void GetRotationMatrixCopy(JMatrix* out) { *out = rotation_; }
  virtual void RotateByMatrix(const JMatrix& m, bool update);
  virtual void RotateBy(float x, float y, float z, bool update);
  virtual void RotateByV(JVector v) { RotateBy(v.x, v.y, v.z, true); }

  virtual void SetPosition(float x, float y, float z, bool update);
  virtual void SetPositionV(JVector v) { SetPosition(v.x, v.y, v.z, true); }
  virtual void SetPositionX(float v, bool update);
  virtual void SetPositionY(float v, bool update);
  virtual void SetPositionZ(float v, bool update);
  virtual void MoveBy(float dx, float dy, float dz, bool update);
  virtual void MoveByV(JVector v) { MoveBy(v.x, v.y, v.z, true); }
  virtual float GetPositionX() { return local_.m[3][0]; }
  virtual float GetPositionY() { return local_.m[3][1]; }
  virtual float GetPositionZ() { return local_.m[3][2]; }

  virtual void SetOrigin(float x, float y, float z, bool update);
  virtual void SetOriginV(JVector v) { SetOrigin(v.x, v.y, v.z, true); }
  virtual void SetOriginX(float v, bool update);
  virtual void SetOriginY(float v, bool update);
  virtual void SetOriginZ(float v, bool update);
  virtual float GetOriginX() { return origin_[0]; }
  virtual float GetOriginY() { return origin_[1]; }
  virtual float GetOriginZ() { return origin_[2]; }
  virtual const float* GetOrigin() { return origin_; }

  virtual void GetLocalMatrix(JMatrix* out) { *out = local_; }
  virtual JMatrix* GetLocalMatrixPtr() { return &local_; }
  virtual void GetWorldMatrix(JMatrix* out) { *out = world_; }
  virtual JMatrix* GetWorldMatrixPtr() { return &world_; }
  virtual void GetTranslationMatrix(JMatrix* out) { *out = accumulated_; }
  virtual JMatrix* GetTranslationMatrixPtr() { return &accumulated_; }
  // Rebuilds accumulated and world matrices here and below.
  virtual void UpdateTransform();

  virtual void SetParent(GUIEntity* parent) { parent_ = parent; }
  virtual GUIEntity* GetParent() { return parent_; }
  // Inserts by descending z of the children's positions (after equals).
  virtual void AddChild(GUIEntity* child, bool update);
  virtual void RemoveAllChildren();
  virtual CoreStatus RemoveChild(GUIEntity* child);
  virtual void DestroyAllChildren();
  virtual CoreStatus DestroyChild(GUIEntity* child);

  // Binds the event word to the named action of the action factory; false
  // (nothing bound) for an unknown action.
  virtual bool BindAction(const std::string& event, const std::string& actionName, const std::string& params);
  virtual bool RunPendingMultiAction();
  virtual void SetMultiActionPending(bool on);
  virtual bool IsMultiActionPending() { return (animFlags_ & 1) != 0; }
  // This entity or the first below it with the name (ignoring case).
  virtual GUIEntity* FindChild(const std::string& name);

  virtual void SetUVCoords(float u0, float v0, float u1, float v1);
  virtual void SetUV0(float u0, float u1);
  virtual void GetUV0(float out[2]) {
    out[0] = u0_;
    out[1] = u1_;
  }
  virtual void SetUV1(float v0, float v1);
  virtual void GetUV1(float out[2]) {
    out[0] = v0_;
    out[1] = v1_;
  }
  // Whether the button released in the packet went down over this entity.
  virtual bool IsButtonPressed(const MousePacket* packet);
  virtual float GetHitPointX() { return hitPoint_[0]; }
  virtual float GetHitPointY() { return hitPoint_[1]; }
  virtual float* GetHitPointPtr() { return hitPoint_; }
  virtual void SetHitPoint(float x, float y) {
    hitPoint_[0] = x;
    hitPoint_[1] = y;
  }
  virtual bool TestCollisionShape();
  virtual int32_t GetChildCount() { return static_cast<int32_t>(children_.size()); }
  // Null outside 0 .. count - 1.
  virtual GUIEntity* GetChild(int32_t index);
  virtual void SetCollisionType(uint8_t type) { collisionType_ = type; }
  virtual uint8_t GetCollisionType() { return collisionType_; }
  // Takes the shape; answers its slot, or 16 (shape dropped) when all are taken.
  virtual int32_t AddCollisionShape(std::unique_ptr<GUICollisionShape> shape);
  virtual void SetPivot(uint8_t pivot) { pivot_ = pivot; }
  virtual Panelis* GetGUI() { return gui_; }
  virtual void SetScaleX(float v, bool update);
  virtual void SetScaleY(float v, bool update);
  virtual void SetScaleZ(float v, bool update);
  virtual void SetRotating(bool on);
  virtual bool IsRotating() { return (animFlags_ & 2) != 0; }
  // A file relative to the owner's resource path, made by the sound
  // service; `on` switches the sound for this entity.
  virtual void SetHoverSound(const std::string& file, bool on);
  // Null when switched off; else the own sound, else the parent's.
  virtual SoundHandle* GetHoverSound();
  virtual void SetClickSound(const std::string& file, bool on);
  virtual SoundHandle* GetClickSound();

  // Plain readers for the widget code.
  bool IsLive() const { return active_ && visible_ && enabled_; }
  bool IsActive() const { return active_ != 0; }
  bool IsEnabled() const { return enabled_ != 0; }
  bool IsVisible() const { return visible_ != 0; }
  bool IsSolid() const { return solid_ != 0; }
  float GetWidth() const { return width_; }
  float GetHeight() const { return height_; }
  float GetDepth() const { return depth_; }
  float ScaleX() const { return scale_.m[0][0]; }
  float ScaleY() const { return scale_.m[1][1]; }
  float ScaleZ() const { return scale_.m[2][2]; }
  uint8_t GetPivot() const { return pivot_; }
  bool HasExited() const { return exited_; }
  const JMatrix* GetRotationMatrixPtrConst() const { return &rotation_; }
  const std::vector<GUIEntity*>& Children() const { return children_; }
  // The ray brought into this box's frame, y from the bottom edge.
  void LocalRay(const GUIRay& ray, float p0[3], float p1[3]);
  // Segment-box test of the local ray; stores the hit point as fractions of
  // the box (x from the left, y from the bottom). False for a miss.
  bool HitBox(const GUIRay& ray);
  // The renderer of the service, or null.
  Core3D* Renderer();

 protected:
  // A child left this entity's list; compound widgets forget the pointers
  // they keep to their parts here.
  virtual void ChildLeft(GUIEntity* child) { (void)child; }

  uint8_t pressed0_ = 0;
  uint8_t pressed1_ = 0;
  uint8_t active_ = 1;
  uint8_t enabled_ = 1;
  uint8_t visible_ = 1;
  uint8_t solid_ = 1;
  JMatrix rotation_ = JMatrix::Identity();
  JMatrix scale_ = JMatrix::Identity();
  JMatrix local_ = JMatrix::Identity();
  JMatrix accumulated_ = JMatrix::Identity();
  JMatrix world_ = JMatrix::Identity();
  float width_ = 1.0f;
  float height_ = 1.0f;
  float depth_ = 0.01f;
  uint8_t pivot_ = GUIPIVOT_LL;
  uint8_t collisionType_ = GUICOLLIDE_BOX;
  std::array<std::unique_ptr<GUICollisionShape>, kMaxCollisionShapes> shapes_;
  float origin_[3] = {0.0f, 0.0f, 0.0f};
  float hitPoint_[3] = {0.0f, 0.0f, 0.0f};
  Panelis* gui_ = nullptr;
  ResourceRef<C3DModel> model_;
  ResourceRef<C3DBaseShader> shader_;
  float u0_ = 0.0f;
  float u1_ = 1.0f;
  float v0_ = 0.0f;
  float v1_ = 1.0f;
  uint8_t uvChanged_ = 0;
  uint8_t animFlags_ = 0;  // bit 0 multi-action pending, bit 1 rotating
  std::vector<GUIEntity*> children_;
  GUIEntity* parent_ = nullptr;
  uint8_t clickSoundOn_ = 1;
  uint8_t hoverSoundOn_ = 1;
  SoundHandle* hoverSound_ = nullptr;
  SoundHandle* clickSound_ = nullptr;

 private:
  bool exited_ = false;
};
