#include "engine/frame/RenderServiceItem.h"

#include "engine/services/C3DModel.h"
#include "engine/services/Core3D.h"
#include "engine/frame/RenderService.h"

cRenderServiceItem::~cRenderServiceItem() {
  if (owner_) owner_->RemoveItem(this);
}

CoreStatus cRenderServiceItem::SetModel(cModelNode* model) {
  if (!model) return status::Fail;
  model_ = model;
  visible_ = 1;
  return status::Ok;
}

CoreStatus cRenderServiceItem::Render(C3DPass* pass, Core3D* renderer) {
  if (model_ && renderer) DrawNode(pass, renderer, model_, JMatrix::Identity());
  return status::Ok;
}

namespace {

// The model's matrix of that frame, or the identity for no frame or model.
JMatrix FrameMatrix(C3DModel* model, int32_t frame) {
  JMatrix m = JMatrix::Identity();
  if (model && frame != -1 && !model->GetAnchorMatrix(frame, &m)) m = JMatrix::Identity();
  return m;
}

}  // namespace

void cRenderServiceItem::DrawNode(C3DPass* pass, Core3D* renderer, cModelNode* node, const JMatrix& parent) {
  if (!node) return;
  const JMatrix world = JMath_MatrixProduct(node->local, parent);
  if (node->mesh && visible_) renderer->DrawModel(pass, node->mesh, &world);
  // A child is placed at its frame of this node's model, taken relative to
  // the frame this node itself hangs by.
  JMatrix inverseOwn;
  JMath_MatrixInverse(FrameMatrix(node->mesh, node->ownFrame), inverseOwn);
  for (auto& child : node->children) {
    if (!child->mesh) continue;  // skipped with its subtree
    const JMatrix k = FrameMatrix(node->mesh, child->parentFrame);
    const JMatrix childParent = JMath_MatrixProduct(JMath_MatrixProduct(inverseOwn, k), world);
    DrawNode(pass, renderer, child.get(), childParent);
  }
}

bool cRenderServiceItem::SetVisible(bool visible) {
  visible_ = visible ? 1 : 0;
  return visible;
}

bool cRenderServiceItem::IsVisible() { return visible_ != 0; }
