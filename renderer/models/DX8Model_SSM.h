#pragma once
// A model resource over one loaded SSMObject: one draw item per group with
// a shader instance of its own, one vertex buffer of every group's corners
// at the current key frames (two frames blended while an animation plays),
// one 16-bit index list per group, anchors, bounds and the animation slots.
// Several resources may show one object; each owns its own SSMHandle.
//
// A static model keeps its vertices in a managed device buffer while idle
// and in a dynamic one, refilled at every draw, while an animation runs.
#include <memory>
#include <vector>

#include "renderer/DrawItem.h"
#include "renderer/models/DX8Model.h"

class DX8MaterialShader;
class SSMHandle;
class SSMObject;

class DX8Model_SSM : public DX8Model {
 public:
  // Null when the object cannot be shown: its groups have more corners in
  // all than 16-bit indices reach, or the device refuses a buffer or a lock.
  static DX8Model_SSM* Create(Lumetra* owner, SSMObject* object, uint32_t flags, const std::string& name);

  ~DX8Model_SSM() override;

  void SetAnchor(int32_t index) override;
  int32_t GetAnchor() override { return rootAnchor_; }
  int32_t GetAnchorCount() override;
  std::string GetAnchorName(int32_t index) override;
  bool GetAnchorMatrix(int32_t index, JMatrix* out) override;
  bool GetAnchorTransform(int32_t index, float rotation[4], float position[3], float* scale) override;
  void GetBounds(float minimum[3], float maximum[3], JMatrix* matrix) override;

  uint16_t GetPartCount() override;
  void SetPartVisible(uint16_t index, bool visible) override;
  bool IsPartVisible(uint16_t index) override;
  std::string GetPartName(uint16_t index) override;
  // The group draws with the material (null for anything else); the model
  // holds a reference on it and gives back the one it held.
  void SetShader(uint16_t index, C3DBaseShader* shader) override;
  C3DBaseShader* GetShader(uint16_t index) override;

  int32_t GetAnimationCount() override;
  void PlayAnimation(int32_t index, float unused, float speed, bool loop, bool reverse) override;
  void AdvanceAnimation(int32_t index, float dt) override;
  void StopAnimation(int32_t index) override;
  float GetAnimationLength(int32_t index) override;
  float GetAnimationTime(int32_t index) override;
  void SetAnimationWeight(int32_t index, float weight) override;
  float GetAnimationWeight(int32_t index) override;
  void SetAnimationSpeed(int32_t index, float speed) override;
  float GetAnimationSpeed(int32_t index) override;
  void SetAnimationLoop(int32_t index, bool loop) override;
  bool IsAnimationLooping(int32_t index) override;
  void SetAnimationReverse(int32_t index, bool reverse) override;
  bool IsAnimationReversed(int32_t index) override;
  bool IsAnimationPlaying(uint32_t index) override;
  std::string GetAnimationName(int32_t index) override;
  int32_t FindAnimation(const std::string& name) override;

  uint16_t GetVertexCount() override;
  uint16_t GetFaceCount() override;
  void AddInstance(JMatrix* matrix) override;
  void RemoveInstance(JMatrix* matrix) override;
  void Draw(C3DPass* pass, const JMatrix* world) override;
  void ReleaseDeviceBuffers() override;

  // For tests.
  SSMObject* Object() const { return object_; }
  SSMHandle* Handle() const { return handle_; }
  uint16_t VertexTotal() const { return vertexCount_; }
  const MeshGeometry* GroupGeometry(uint16_t index) const;
  bool HasDynamicBuffer() const { return dynamicBuffer_ != 0; }
  platform::gfx::VertexBuffer* VertexBuffer() const { return vertexBuffer_; }
  const RenderVertex* SystemVertices() const { return systemVertices_.empty() ? nullptr : systemVertices_.data(); }
  int32_t CurrentAnimation() const { return currentAnim_; }

 private:
  struct Record {
    DrawItem item;
    MeshGeometry geometry;
    DX8MaterialShader* shader = nullptr;  // one reference held
    std::vector<uint16_t> indices;
    platform::gfx::IndexBuffer* indexBuffer = nullptr;
  };

  DX8Model_SSM(Lumetra* owner, SSMObject* object, uint32_t flags, std::string name);
  bool Build(uint32_t flags);
  bool BuildIndexLists();
  void FillVertices(RenderVertex* out) const;
  // A new vertex buffer of every corner: managed or dynamic. Every group's
  // geometry is pointed at it (or at nothing when the device refuses).
  bool MakeVertexBuffer(bool dynamic);
  bool RefillBuffer(bool discard);
  bool AnchorTransformAt(int32_t index, int32_t frameA, int32_t frameB, float blend, float q[4], float p[3],
                         float* length) const;
  bool AnchorMatrixAt(int32_t index, int32_t frameA, int32_t frameB, float blend, JMatrix* out) const;

  platform::gfx::VertexBuffer* vertexBuffer_ = nullptr;
  std::vector<std::unique_ptr<Record>> records_;
  SSMObject* object_ = nullptr;
  SSMHandle* handle_ = nullptr;
  uint16_t vertexCount_ = 0;
  std::vector<RenderVertex> systemVertices_;
  int32_t drawnRootAnchor_ = -1, rootAnchor_ = -1;
  int32_t drawnAnim_ = 0, currentAnim_ = -1;
  int32_t drawnFrameB_ = 0, frameB_ = 0;
  int32_t drawnFrameA_ = 0, frameA_ = 0;
  float drawnBlend_ = 0.0f, blend_ = 0.0f;
  uint8_t dynamicBuffer_ = 0;
  uint8_t verticesDirty_ = 0;
  JMatrix drawMatrix_ = JMatrix::Identity();
  JMatrix rootMatrix_ = JMatrix::Identity();
  InstanceList instances_;
};
