#pragma once
// A model: a named renderer resource made of parts (meshes), with anchors,
// animations and, for editable models, geometry its user fills in.
#include <cstdint>
#include <string>

#include "engine/services/C3DResource.h"

class C3DBaseShader;
class C3DPass;
struct JMatrix;
struct RenderVertex;

class C3DModel : public C3DResource {
 public:
  using C3DResource::C3DResource;

  // Anchors (pivots): the root anchor index, -1 for none.
  virtual void SetAnchor(int32_t index) = 0;
  virtual int32_t GetAnchor() = 0;
  virtual int32_t GetAnchorCount() = 0;
  virtual std::string GetAnchorName(int32_t index) = 0;
  virtual bool GetAnchorMatrix(int32_t index, JMatrix* out) = 0;
  virtual bool GetAnchorTransform(int32_t index, float rotation[4], float position[3], float* scale) = 0;
  virtual void GetBounds(float minimum[3], float maximum[3], JMatrix* matrix) = 0;

  // Parts.
  virtual uint16_t GetPartCount() = 0;
  virtual void SetPartVisible(uint16_t index, bool visible) = 0;
  virtual bool IsPartVisible(uint16_t index) = 0;
  virtual std::string GetPartName(uint16_t index) = 0;
  // The part with that index draws with that shader; an index outside the
  // model's parts does nothing.
  virtual void SetShader(uint16_t index, C3DBaseShader* shader) = 0;
  virtual C3DBaseShader* GetShader(uint16_t index) = 0;

  // Animations.
  virtual int32_t GetAnimationCount() = 0;
  virtual void PlayAnimation(int32_t index, float unused, float speed, bool loop, bool reverse) = 0;
  virtual void AdvanceAnimation(int32_t index, float dt) = 0;
  virtual void StopAnimation(int32_t index) = 0;
  virtual float GetAnimationLength(int32_t index) = 0;
  virtual float GetAnimationTime(int32_t index) = 0;
  virtual void SetAnimationWeight(int32_t index, float weight) = 0;
  virtual float GetAnimationWeight(int32_t index) = 0;
  virtual void SetAnimationSpeed(int32_t index, float speed) = 0;
  virtual float GetAnimationSpeed(int32_t index) = 0;
  virtual void SetAnimationLoop(int32_t index, bool loop) = 0;
  virtual bool IsAnimationLooping(int32_t index) = 0;
  virtual void SetAnimationReverse(int32_t index, bool reverse) = 0;
  virtual bool IsAnimationReversed(int32_t index) = 0;
  virtual bool IsAnimationPlaying(uint32_t index) = 0;
  virtual std::string GetAnimationName(int32_t index) = 0;
  virtual int32_t FindAnimation(const std::string& name) = 0;

  // Geometry and editing.
  virtual uint16_t GetVertexCount() = 0;
  virtual uint16_t GetFaceCount() = 0;
  virtual bool IsEditable() = 0;
  virtual bool BeginEdit() = 0;
  virtual bool EndEdit() = 0;
  virtual bool IsEditing() = 0;
  // The pending arrays stay the caller's; the model reads them in EndEdit.
  virtual void SetVertices(const RenderVertex* vertices, uint16_t count) = 0;
  virtual void SetIndices(const uint16_t* values, const uint16_t* parts, uint32_t count) = 0;
  virtual void SetPartCount(uint16_t count) = 0;
  // Plane edits (four-vertex, non-static models only).
  virtual void SetTextureRect(int32_t set, float uLeft, float uRight, float vTop, float vBottom) = 0;
  virtual void SetTextureExtent(int32_t set, float u, float v) = 0;
  virtual void SetWidth(float width) = 0;
  virtual void SetHeight(float height) = 0;
  virtual void SetStatic() = 0;
  virtual void SetDynamic() = 0;
  virtual bool IsStatic() = 0;
  virtual int32_t Check() = 0;
  // Instance matrices stay the caller's; the model keeps the pointers.
  virtual void AddInstance(JMatrix* matrix) = 0;
  virtual void RemoveInstance(JMatrix* matrix) = 0;
  // Queues the model into the pass with that world matrix.
  virtual void Draw(C3DPass* pass, const JMatrix* world) = 0;
};
