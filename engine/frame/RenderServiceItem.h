#pragma once
// Mix-in of entities drawn by a render service. The service calls Render
// once per run of its pass; the base walks the item's model tree and queues
// every visible node that has a model, each with its world matrix.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/math/JMatrix.h"
#include "base/Status.h"

class C3DModel;
class C3DPass;
class Core3D;
class cRenderService;

// A node of an item's model tree: a local matrix, the renderer model drawn
// there (or none), and child nodes placed at frames (anchors) of this
// node's model.
struct cModelNode {
  JMatrix local = JMatrix::Identity();
  C3DModel* mesh = nullptr;                         // not owned
  std::vector<std::unique_ptr<cModelNode>> children;
  int32_t parentFrame = -1;  // frame of the parent's model this child hangs at
  int32_t ownFrame = -1;     // frame of this node's own model it is placed by

  cModelNode* AddChild(C3DModel* model, int32_t frameInParent) {
    children.push_back(std::make_unique<cModelNode>());
    children.back()->mesh = model;
    children.back()->parentFrame = frameInParent;
    return children.back().get();
  }
};

class cRenderServiceItem {
 public:
  cRenderServiceItem() = default;
  // Asks the owning service, when attached, to remove the item.
  virtual ~cRenderServiceItem();
  cRenderServiceItem(const cRenderServiceItem&) = delete;
  cRenderServiceItem& operator=(const cRenderServiceItem&) = delete;

  // Null: 0x80004005. Else keeps the tree (not owned) and makes the item
  // visible.
  virtual CoreStatus SetModel(cModelNode* model);
  // Draws the tree from its root with the identity as parent matrix. 0.
  virtual CoreStatus Render(C3DPass* pass, Core3D* renderer);
  virtual void DrawNode(C3DPass* pass, Core3D* renderer, cModelNode* node, const JMatrix& parent);
  virtual bool SetVisible(bool visible);
  virtual bool IsVisible();

  cModelNode* GetModelNode() const { return model_; }
  int32_t GetListIndex() const { return listIndex_; }
  cRenderService* GetRenderOwner() const { return owner_; }

 private:
  friend class cRenderService;

  cModelNode* model_ = nullptr;
  int32_t listIndex_ = 0;
  int32_t visible_ = 0;
  cRenderService* owner_ = nullptr;
};
