#include "engine/frame/PhysicsService.h"

#include "engine/services/CorePhysics.h"
#include "engine/entity/Entity3D.h"
#include "engine/math/JMatrix.h"

PhysicsService::PhysicsService(cEntity_Manager* creator) : cBaseService(creator) {
  SetServiceType(eServiceKind_Physics);
}

PhysicsService::~PhysicsService() { items_.clear(); }

CoreStatus PhysicsService::SetPhysics(CorePhysics* module) {
  if (!module) return status::Fail;
  physics_ = module;
  CoreStatus result = physics_->CreateWorld(&worldId_);
  if (status::Failed(result)) return result;
  result = physics_->CreateSpace(&spaceId_);
  if (status::Failed(result)) return result;
  return physics_->AttachSpaceToWorld(spaceId_, worldId_);
}

CoreStatus PhysicsService::AddItem(PhysicsServiceItem* item) {
  if (!item) return status::Fail;
  items_.push_back(item);
  item->owner = this;
  item->worldId = worldId_;
  item->spaceId = spaceId_;
  if (!physics_) return status::Ok;
  physics_->CreateBody(item->body, spaceId_);
  JMatrix transform = JMatrix::Identity();
  if (auto* placed = dynamic_cast<cEntity_Base3D*>(item->entity)) {
    JMatrix rotation;
    JMatrix scale;
    JMatrix translation;
    placed->GetRotationMatrix(rotation.Data());
    placed->GetScaleMatrix(scale.Data());
    placed->GetTranslationMatrix(translation.Data());
    transform = JMath_MatrixProduct(JMath_MatrixProduct(rotation, scale), translation);
  }
  return physics_->SetBodyTransform(item->body, &transform);
}

void PhysicsService::Update(float) {
  if (!enabled_) return;
}
