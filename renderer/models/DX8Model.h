#pragma once
// The renderer's model base: every C3DModel operation with the neutral
// answer a model without anchors, animations or editable geometry gives.
// The default cube, the polymesh and the SSM model override what they have.
#include <cstdint>
#include <string>

#include "engine/services/C3DModel.h"

class Lumetra;

class DX8Model : public C3DModel {
 public:
  DX8Model(Lumetra* owner, uint32_t flags, std::string name);
  ~DX8Model() override;

  // The registry drops the model once nobody holds it.
  void OnUnreferenced() override;

  void SetAnchor(int32_t) override {}
  int32_t GetAnchor() override { return -1; }
  int32_t GetAnchorCount() override { return 0; }
  std::string GetAnchorName(int32_t) override { return ""; }
  bool GetAnchorMatrix(int32_t, JMatrix*) override { return false; }
  bool GetAnchorTransform(int32_t, float[4], float[3], float*) override { return false; }
  void GetBounds(float[3], float[3], JMatrix*) override {}

  uint16_t GetPartCount() override { return 0; }
  void SetPartVisible(uint16_t, bool) override {}
  bool IsPartVisible(uint16_t) override { return false; }
  std::string GetPartName(uint16_t) override { return ""; }
  void SetShader(uint16_t, C3DBaseShader*) override {}
  C3DBaseShader* GetShader(uint16_t) override { return nullptr; }

  // One animation, "Default", that never plays.
  int32_t GetAnimationCount() override { return 1; }
  void PlayAnimation(int32_t, float, float, bool, bool) override {}
  void AdvanceAnimation(int32_t, float) override {}
  void StopAnimation(int32_t) override {}
  float GetAnimationLength(int32_t) override { return 0.0f; }
  float GetAnimationTime(int32_t) override { return 0.0f; }
  void SetAnimationWeight(int32_t, float) override {}
  float GetAnimationWeight(int32_t) override { return 1.0f; }
  void SetAnimationSpeed(int32_t, float) override {}
  float GetAnimationSpeed(int32_t) override { return 1.0f; }
  void SetAnimationLoop(int32_t, bool) override {}
  bool IsAnimationLooping(int32_t) override { return false; }
  void SetAnimationReverse(int32_t, bool) override {}
  bool IsAnimationReversed(int32_t) override { return false; }
  bool IsAnimationPlaying(uint32_t) override { return false; }
  std::string GetAnimationName(int32_t) override { return "Default"; }
  int32_t FindAnimation(const std::string&) override { return 0; }

  uint16_t GetVertexCount() override { return 0; }
  uint16_t GetFaceCount() override { return 0; }
  bool IsEditable() override { return false; }
  bool BeginEdit() override { return false; }
  bool EndEdit() override { return false; }
  bool IsEditing() override { return false; }
  void SetVertices(const RenderVertex*, uint16_t) override {}
  void SetIndices(const uint16_t*, const uint16_t*, uint32_t) override {}
  void SetPartCount(uint16_t) override {}
  void SetTextureRect(int32_t, float, float, float, float) override {}
  void SetTextureExtent(int32_t, float, float) override {}
  void SetWidth(float) override {}
  void SetHeight(float) override {}
  // Static geometry lives in device buffers, built when the model builds it.
  void SetStatic() override { static_ = 1; }
  void SetDynamic() override { static_ = 0; }
  bool IsStatic() override { return static_ != 0; }
  int32_t Check() override { return 0; }
  void AddInstance(JMatrix*) override {}
  void RemoveInstance(JMatrix*) override {}
  void Draw(C3DPass*, const JMatrix*) override {}

  // The device is about to be reset: buffers in the device's own pool go
  // now and are made again when next drawn. Nothing in the base.
  virtual void ReleaseDeviceBuffers() {}

  Lumetra* GetRenderer() const { return renderer_; }

 protected:
  Lumetra* renderer_;
  uint8_t static_ = 0;
};
