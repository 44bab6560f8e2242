#include "gui/core/GUIEntity.h"

#include <algorithm>
#include <cmath>

#include "base/StringUtil.h"
#include "engine/entity/ActionFactory.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/C3DBaseShader.h"
#include "engine/services/C3DModel.h"
#include "engine/services/Core3D.h"
#include "engine/services/SoundMgr.h"
#include "gui/core/GUIWorld.h"
#include "gui/core/actions/GUIActions.h"

GUIEntity::GUIEntity(cEntity_Manager* owner) : GUIBase(owner) { SetKind(1); }

GUIEntity::~GUIEntity() { GUIEntity::Exit(); }

CoreStatus GUIEntity::Initialize() { return status::Ok; }

CoreStatus GUIEntity::Exit() {
  if (exited_) return status::Ok;
  exited_ = true;
  if (gui_) gui_->ForgetEntity(this);
  // No animation, repeat, tooltip or drag may keep a pointer to it.
  GUIActionsForget(this);
  RemoveAllChildren();
  if (parent_) parent_->RemoveChild(this);
  model_.Reset();
  shader_.Reset();
  for (auto& shape : shapes_) shape.reset();
  return status::Ok;
}

void GUIEntity::MarkForRemoval() {
  cEntity_Base::MarkForRemoval();
  Exit();
}

Core3D* GUIEntity::Renderer() { return gui_ ? gui_->GetRenderer() : nullptr; }

void GUIEntity::Render(Core3D* renderer, C3DPass* pass) {
  if (!active_ || !visible_) return;
  // Copy: a child's drawing must not be disturbed by changes to the list.
  const std::vector<GUIEntity*> children = children_;
  for (auto it = children.rbegin(); it != children.rend(); ++it) (*it)->Render(renderer, pass);
}

void GUIEntity::DrawBounds(Core3D* renderer, C3DPass* pass) {
  if (!IsLive()) return;
  GUIWorld* world = gui_ ? gui_->GetWorld() : nullptr;
  C3DMesh* mesh = world ? world->GetBoundsMesh(solid_ != 0) : nullptr;
  if (renderer && mesh) {
    // The unit box (0,0,0)..(1,-1,-1) scaled to this box, then M = T(-origin) * world.
    JMatrix m = JMatrix::Identity();
    m.m[0][0] = width_;
    m.m[1][1] = height_;
    m.m[2][2] = depth_;
    JMath_MatrixTranslate(m, -origin_[0], -origin_[1], -origin_[2]);
    JMath_MatrixMultiply(m, m, world_);
    renderer->DrawResource(pass, mesh, &m);
  }
  for (GUIEntity* child : children_) child->DrawBounds(renderer, pass);
}

void GUIEntity::LocalRay(const GUIRay& ray, float p0[3], float p1[3]) {
  JMatrix m = JMatrix::Identity();
  JMath_MatrixTranslation(m, -origin_[0], -origin_[1], -origin_[2]);
  JMath_MatrixMultiply(m, m, world_);
  JMatrix inverse;
  JMath_MatrixInverse(m, inverse);
  TransformPoint(inverse, ray.start, p0);
  TransformPoint(inverse, ray.end, p1);
  p0[1] += height_;
  p1[1] += height_;
}

bool GUIEntity::HitBox(const GUIRay& ray) {
  float p0[3];
  float p1[3];
  LocalRay(ray, p0, p1);
  const float box[3] = {width_, height_, -depth_};
  float hit[3];
  if (SegmentBoxTest(p0, p1, box, hit) == GUIFACE_NONE) return false;
  hitPoint_[0] = width_ != 0.0f ? hit[0] / width_ : 0.0f;
  hitPoint_[1] = height_ != 0.0f ? hit[1] / height_ : 0.0f;
  hitPoint_[2] = hit[2];
  return true;
}

GUIEntity* GUIEntity::PickRay(const GUIRay& ray) {
  if (!IsLive()) return nullptr;
  if (!HitBox(ray)) return nullptr;
  for (GUIEntity* child : children_) {
    if (GUIEntity* hit = child->PickRay(ray)) return hit;
  }
  return solid_ && TestCollisionShape() ? this : nullptr;
}

void GUIEntity::SetModel(C3DModel* model) {
  model_.Set(model);
  if (model) model->SetAnchor(0);
}

void GUIEntity::SetScale(float x, float y, float z, bool update) {
  scale_ = JMatrix::Identity();
  scale_.m[0][0] = x;
  scale_.m[1][1] = y;
  scale_.m[2][2] = z;
  if (update) UpdateTransform();
}

void GUIEntity::ScaleBy(float x, float y, float z, bool update) {
  JMath_MatrixScale(scale_, x, y, z);
  if (update) UpdateTransform();
}

void GUIEntity::SetScaleX(float v, bool update) { SetScale(v, ScaleY(), ScaleZ(), update); }
void GUIEntity::SetScaleY(float v, bool update) { SetScale(ScaleX(), v, ScaleZ(), update); }
void GUIEntity::SetScaleZ(float v, bool update) { SetScale(ScaleX(), ScaleY(), v, update); }

void GUIEntity::SetRotationMatrix(const JMatrix& m, bool update) {
  rotation_ = m;
  if (update) UpdateTransform();
}

void GUIEntity::SetRotation(float x, float y, float z, bool update) {
  JMath_MatrixRotationXYZ(rotation_, x, y, z);
  if (update) UpdateTransform();
}

void GUIEntity::RotateByMatrix(const JMatrix& m, bool update) {
  JMath_MatrixMultiply(rotation_, rotation_, m);
  if (update) UpdateTransform();
}

void GUIEntity::RotateBy(float x, float y, float z, bool update) {
  JMath_MatrixRotateXYZ(rotation_, x, y, z);
  if (update) UpdateTransform();
}

void GUIEntity::SetPosition(float x, float y, float z, bool update) {
  local_.m[3][0] = x;
  local_.m[3][1] = y;
  local_.m[3][2] = z;
  if (update) UpdateTransform();
}

void GUIEntity::SetPositionX(float v, bool update) { SetPosition(v, GetPositionY(), GetPositionZ(), update); }
void GUIEntity::SetPositionY(float v, bool update) { SetPosition(GetPositionX(), v, GetPositionZ(), update); }
void GUIEntity::SetPositionZ(float v, bool update) { SetPosition(GetPositionX(), GetPositionY(), v, update); }

void GUIEntity::MoveBy(float dx, float dy, float dz, bool update) {
  SetPosition(GetPositionX() + dx, GetPositionY() + dy, GetPositionZ() + dz, update);
}

void GUIEntity::SetOrigin(float x, float y, float z, bool update) {
  origin_[0] = x;
  origin_[1] = y;
  origin_[2] = z;
  if (update) UpdateTransform();
}

void GUIEntity::SetOriginX(float v, bool update) { SetOrigin(v, origin_[1], origin_[2], update); }
void GUIEntity::SetOriginY(float v, bool update) { SetOrigin(origin_[0], v, origin_[2], update); }
void GUIEntity::SetOriginZ(float v, bool update) { SetOrigin(origin_[0], origin_[1], v, update); }

void GUIEntity::UpdateTransform() {
  if (parent_) {
    accumulated_ = parent_->accumulated_;
    accumulated_.m[0][0] = accumulated_.m[1][1] = accumulated_.m[2][2] = 1.0f;
  } else {
    accumulated_ = JMatrix::Identity();
  }
  JMath_MatrixMultiply(accumulated_, accumulated_, local_);
  JMath_MatrixTranslation(world_, origin_[0], origin_[1], origin_[2]);
  JMath_MatrixMultiply(world_, world_, scale_);
  if (parent_) JMath_MatrixMultiply(world_, world_, parent_->rotation_);
  JMath_MatrixMultiply(world_, world_, rotation_);
  JMath_MatrixMultiply(world_, world_, accumulated_);
  for (GUIEntity* child : children_) child->UpdateTransform();
}

void GUIEntity::AddChild(GUIEntity* child, bool update) {
  if (!child) return;
  const float z = child->GetPositionZ();
  auto at = std::find_if(children_.begin(), children_.end(),
                         [z](GUIEntity* other) { return other->GetPositionZ() < z; });
  children_.insert(at, child);
  child->SetParent(this);
  if (update) child->UpdateTransform();
}

void GUIEntity::RemoveAllChildren() {
  std::vector<GUIEntity*> children;
  children.swap(children_);
  for (GUIEntity* child : children) {
    child->SetParent(nullptr);
    ChildLeft(child);
  }
}

CoreStatus GUIEntity::RemoveChild(GUIEntity* child) {
  if (!child) return kGUIFail;
  // Same entity means same handle; unregistered entities compare by address.
  auto it = std::find_if(children_.begin(), children_.end(), [child](GUIEntity* other) {
    return other == child || (other->GetHandle() >= 0 && other->GetHandle() == child->GetHandle() &&
                              other->GetOwner() == child->GetOwner());
  });
  if (it == children_.end()) return kGUIFail;
  GUIEntity* removed = *it;
  removed->SetParent(nullptr);
  children_.erase(it);
  ChildLeft(removed);
  return status::Ok;
}

void GUIEntity::DestroyAllChildren() {
  while (!children_.empty()) {
    GUIEntity* first = children_.front();
    // Without a service nothing would take the child out: do it here.
    if (!gui_ || gui_->DestroyEntity(first) != status::Ok || (!children_.empty() && children_.front() == first)) {
      RemoveChild(first);
    }
  }
}

CoreStatus GUIEntity::DestroyChild(GUIEntity* child) {
  auto it = std::find(children_.begin(), children_.end(), child);
  if (!child || it == children_.end()) return kGUIFail;
  if (!gui_) return RemoveChild(child);
  return gui_->DestroyEntity(child);
}

bool GUIEntity::BindAction(const std::string& event, const std::string& actionName, const std::string& params) {
  cAction_Factory* factory = GetActionFactory();
  if (!factory) return false;
  std::string name = actionName;
  cAction_Base* action = factory->GetAction(name);
  if (!action) return false;
  BindEvent(str::ToLower(event), action, params);
  return true;
}

bool GUIEntity::RunPendingMultiAction() {
  if (!IsMultiActionPending()) return false;
  GA_MultiAction* multi = GA_MultiAction::GetInstance();
  if (!multi || !multi->RunNext(this)) SetMultiActionPending(false);
  return true;
}

void GUIEntity::SetMultiActionPending(bool on) { animFlags_ = on ? (animFlags_ | 1) : (animFlags_ & ~1); }
void GUIEntity::SetRotating(bool on) { animFlags_ = on ? (animFlags_ | 2) : (animFlags_ & ~2); }

GUIEntity* GUIEntity::FindChild(const std::string& name) {
  if (str::EqualsNoCase(NameRef(), name)) return this;
  for (GUIEntity* child : children_) {
    if (GUIEntity* found = child->FindChild(name)) return found;
  }
  return nullptr;
}

void GUIEntity::SetUVCoords(float u0, float v0, float u1, float v1) {
  u0_ = u0;
  v0_ = v0;
  u1_ = u1;
  v1_ = v1;
  uvChanged_ = 1;
}

void GUIEntity::SetUV0(float u0, float u1) {
  u0_ = u0;
  u1_ = u1;
  uvChanged_ = 1;
}

void GUIEntity::SetUV1(float v0, float v1) {
  v0_ = v0;
  v1_ = v1;
  uvChanged_ = 1;
}

bool GUIEntity::IsButtonPressed(const MousePacket* packet) {
  if (!packet) return false;
  return (packet->released & 1) ? pressed0_ != 0 : pressed1_ != 0;
}

bool GUIEntity::TestCollisionShape() {
  if (collisionType_ == GUICOLLIDE_BOX) return true;
  const float px = hitPoint_[0] * width_ * ScaleX();
  const float py = hitPoint_[1] * height_ * ScaleY();
  auto inCircle = [px, py](const GUICollisionShape& s) {
    const float dx = px - s.x;
    const float dy = py - s.y;
    return std::sqrt(dx * dx + dy * dy) <= s.radius;
  };
  if (collisionType_ == GUICOLLIDE_ELLIPSE) {
    // Without a shape the whole box counts.
    return shapes_[0] ? inCircle(*shapes_[0]) : true;
  }
  if (collisionType_ != GUICOLLIDE_COMPLEX) return false;
  for (const auto& shape : shapes_) {
    if (!shape) break;
    if (shape->type == 1) {
      if (inCircle(*shape)) return true;
    } else if (shape->type == 0) {
      if (px >= shape->x && px <= shape->x + shape->width && py >= shape->y && py <= shape->y + shape->height)
        return true;
    } else {
      return false;
    }
  }
  return false;
}

GUIEntity* GUIEntity::GetChild(int32_t index) {
  if (index < 0 || index >= GetChildCount()) return nullptr;
  return children_[static_cast<size_t>(index)];
}

int32_t GUIEntity::AddCollisionShape(std::unique_ptr<GUICollisionShape> shape) {
  for (int32_t i = 0; i < kMaxCollisionShapes; ++i) {
    if (!shapes_[static_cast<size_t>(i)]) {
      shapes_[static_cast<size_t>(i)] = std::move(shape);
      return i;
    }
  }
  return kMaxCollisionShapes;
}

namespace {

SoundHandle* MakeSound(Panelis* gui, cEntity_Manager* owner, const std::string& file) {
  if (file.empty() || !gui) return nullptr;
  SoundMgr* sound = gui->GetSound();
  if (!sound) return nullptr;
  const std::string base = owner ? owner->GetResourcePath() : std::string();
  return sound->CreateSound(base + file);
}

}  // namespace

void GUIEntity::SetHoverSound(const std::string& file, bool on) {
  hoverSound_ = MakeSound(gui_, GetManager(), file);
  hoverSoundOn_ = on ? 1 : 0;
}

void GUIEntity::SetClickSound(const std::string& file, bool on) {
  clickSound_ = MakeSound(gui_, GetManager(), file);
  clickSoundOn_ = on ? 1 : 0;
}

SoundHandle* GUIEntity::GetHoverSound() {
  if (!hoverSoundOn_) return nullptr;
  if (hoverSound_) return hoverSound_;
  return parent_ ? parent_->GetHoverSound() : nullptr;
}

SoundHandle* GUIEntity::GetClickSound() {
  if (!clickSoundOn_) return nullptr;
  if (clickSound_) return clickSound_;
  return parent_ ? parent_->GetClickSound() : nullptr;
}
